#include "export/vantrix3_clipboard.h"

#include "export/common_text.h"

namespace vantrix {

std::string LinesText(const TStrings& lines) {
  std::string text;
  for (const std::string& line : lines) text.append(line).append("\r\n");
  return text;
}

TVantrix3Clipboard::TVantrix3Clipboard() : Separator(GetListSeparator()) {}

void TVantrix3Clipboard::SetExportType(TVantrixClipboardExportType type) {
  exportType_ = type;
  AutoCalcColWidth = type == etFixed;
}

void TVantrix3Clipboard::BeginExport() {
  TVantrix3Memory::BeginExport();
  AutoCalcColWidth = exportType_ == etFixed;
  if (!Title.empty()) GetWriter()->WriteLn(Title);
  // The header's text already ends in a line break; the line adds one more, which leaves an
  // empty line between the header and the table.
  const std::string header = LinesText(Header);
  if (!header.empty()) GetWriter()->WriteLn(header);
}

void TVantrix3Clipboard::AppendCell(int column, const std::string& text, std::string& out) const {
  if (exportType_ == etFixed) {
    out.append(TVantrixWriter::PadL(text, ' ', Columns()[column].Width));
  } else {
    // Pasted into a sheet, a cell holding the separator, a quote or a line break would split
    // into more cells or rows: such a cell is quoted as CSV quotes it.
    AppendSeparatedField(text, Separator, '"', false, out);
    out.push_back(Separator);
  }
}

std::string TVantrix3Clipboard::GetColCaption(int index) {
  std::string out;
  AppendCell(index, TVantrix3Memory::GetColCaption(index), out);
  return out;
}

// Only the separated layout ends its cells with a character to take off again; a fixed row
// would lose the last character of its last value.
std::string TVantrix3Clipboard::GetCaptionRow() {
  std::string row = TVantrix3Memory::GetCaptionRow();
  if (exportType_ == etSeparated && !row.empty()) row.pop_back();
  return row;
}

void TVantrix3Clipboard::WriteCaptionRow() { GetWriter()->WriteLn(GetCaptionRow()); }

std::string TVantrix3Clipboard::GetDataRow(bool) {
  line_.clear();
  for (int i = 0; i < Row().Count(); ++i) {
    Row()[i].GetExportedValue(true, cell_);
    AppendCell(i, cell_, line_);
  }
  if (exportType_ == etSeparated && !line_.empty()) line_.pop_back();
  return line_;
}

void TVantrix3Clipboard::WriteDataRow() { GetWriter()->WriteLn(GetDataRow(true)); }

void TVantrix3Clipboard::EndExport() {
  const std::string footer = LinesText(Footer);
  if (!footer.empty()) GetWriter()->WriteLn(footer);
  TVantrix3Memory::EndExport();
}

}  // namespace vantrix
