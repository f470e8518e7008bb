#include "export/vantrix3_ascii.h"

#include <algorithm>

#include "export/common_text.h"
#include "export/ini_helpers.h"
#include "export/machine_number.h"
#include "platform/ini_file.h"

namespace vantrix {
namespace {

// DIF and SYLK keep one item per line: a line break inside a text would end it early.
void AppendOneLine(const std::string& text, std::string& out) {
  for (char c : text) out.push_back(c == '\r' || c == '\n' ? ' ' : c);
}

void AppendPadded(const std::string& text, TVantrixColAlign align, int width, std::string& out) {
  const size_t n = width < 0 ? 0 : static_cast<size_t>(width);
  if (text.size() >= n) {
    out.append(text, 0, n);
    return;
  }
  const size_t blanks = n - text.size();
  const size_t before = align == ecaRight ? blanks : align == ecaCenter ? blanks / 2 : 0;
  out.append(before, ' ');
  out.append(text);
  out.append(blanks - before, ' ');
}

}  // namespace

TVantrix3ASCII::TVantrix3ASCII() : CSVComma(GetListSeparator()) { AutoCalcColWidth = true; }

void TVantrix3ASCII::SetExportType(TVantrixASCIIType type) {
  if (type == exportType_) return;
  exportType_ = type;
  if (type == etTXT) AutoCalcColWidth = true;
}

void TVantrix3ASCII::BeginExport() {
  TVantrix3FormatText::BeginExport();
  AutoCalcColWidth = AutoCalcColWidth && exportType_ == etTXT;
  TVantrixWriter& writer = *GetWriter();
  switch (exportType_) {
    case etTXT:
      if (!Title.empty()) {
        writer.WriteLn(Title);
        writer.CharLine('-', 80);
        writer.EmptyLine();
      }
      for (const std::string& line : Header) writer.WriteLn(line);
      break;
    case etCSV:
      for (const std::string& line : Header) writer.WriteLn(line);
      break;
    case etDIF: {
      tupleCount_ = 0;
      writer.WriteLn("TABLE");
      writer.WriteLn("0,1");
      line_ = "\"";
      AppendOneLine(Title, line_);
      writer.WriteLn(line_ + "\"");
      writer.WriteLn("VECTORS");
      writer.WriteLn("0," + std::to_string(Columns().Count()));
      writer.WriteLn("\"\"");
      writer.WriteLn("TUPLES");
      CountDifTuples();
      if (Aborted()) return;
      writer.WriteLn("0," + std::to_string(tupleCount_));
      writer.WriteLn("\"\"");
      writer.WriteLn("DATA");
      writer.WriteLn("0,0");
      // Every header item has its string line; readers drop the table without this one.
      writer.WriteLn("\"\"");
      break;
    }
    case etSYLK:
      writer.WriteLn("ID;PVASCIIEXPORT");
      break;
  }
}

// The DIF header names the number of rows before the first one: a pass over the records
// the run will export counts them, and the source goes back to where it stood.
void TVantrix3ASCII::CountDifTuples() {
  const int bookmark = GetBookmark();
  First();
  Skip(RunSkipRecCount());
  SetRecordCounter(0);
  const int limit = RunExportRecCount();
  while (!EndOfFile() && !(limit != 0 && RecordCounter() >= limit)) {
    if (Aborted() && !CanContinue()) {
      FreeBookmark(bookmark);
      return;
    }
    if (CurrentRecordOnly) {
      SetRecordCounter(1);
      break;
    }
    Next();
    RecordFetched();
    Yield();
  }
  tupleCount_ = RecordCounter();
  GoToBookmark(bookmark);
  FreeBookmark(bookmark);
}

void TVantrix3ASCII::RecordFetched() {
  if (OnFetchedRecord) OnFetchedRecord(*this, RecordCounter());
}

void TVantrix3ASCII::AppendCell(int column, const std::string& text, bool caption, bool numeric,
                                std::string& out) const {
  switch (exportType_) {
    case etTXT: {
      const TVantrixColumn& c = Columns()[column];
      AppendPadded(text, c.Align, c.Width, out);
      if (TXTSpacing > 0) out.append(static_cast<size_t>(std::min(TXTSpacing, kMaxTXTSpacing)), ' ');
      break;
    }
    case etCSV:
      AppendSeparatedField(text, CSVComma, CSVQuote, CSVQuoteStrings, out);
      out.push_back(CSVComma);
      break;
    case etDIF:
      if (column == 0) out.append("-1,0\r\nBOT\r\n");
      if (numeric && !caption) {
        out.append("0,").append(text).append("\r\nV\r\n");
      } else {
        out.append("1,0\r\n\"");
        AppendOneLine(text, out);
        out.append("\"\r\n");
      }
      break;
    case etSYLK: {
      // Empty cells are left out: the sheet has nothing there either.
      if (text.empty()) break;
      const int row = caption ? 1 : RecordCounter() + (AllowCaptions ? 2 : 1);
      out.append("C;X").append(std::to_string(column + 1)).append(";Y").append(std::to_string(row)).append(";K");
      if (numeric && !caption) {
        out.append(text);
      } else {
        out.push_back('"');
        for (char c : text) {
          if (c == ';') out.push_back(';');
          out.push_back(c == '\r' || c == '\n' ? ' ' : c);
        }
        out.push_back('"');
      }
      out.append("\r\n");
      break;
    }
  }
}

std::string TVantrix3ASCII::GetColCaption(int index) {
  std::string out;
  AppendCell(index, TVantrix3FormatText::GetColCaption(index), true, false, out);
  return out;
}

std::string TVantrix3ASCII::GetCaptionRow() {
  std::string row = TVantrix3FormatText::GetCaptionRow();
  if (exportType_ == etCSV && !row.empty()) row.pop_back();
  return row;
}

void TVantrix3ASCII::WriteCaptionRow() {
  const std::string row = GetCaptionRow();
  if (row.empty()) return;
  if (exportType_ == etTXT || exportType_ == etCSV) GetWriter()->WriteLn(row);
  else GetWriter()->Write(row);
}

std::string TVantrix3ASCII::DataRow() {
  line_.clear();
  const bool machine = exportType_ == etDIF || exportType_ == etSYLK;
  for (int i = 0; i < Row().Count(); ++i) {
    const TVantrixCol& cell = Row()[i];
    const TVantrixColumn& column = Columns()[cell.ColumnIndex()];
    // DIF and SYLK numbers are the values themselves.
    if (machine && column.IsNumeric && MachineNumberText(cell.Value(), Formats().Settings(), number_)) {
      AppendCell(i, number_, false, true, line_);
      continue;
    }
    // A text has no picture and this format changes no character: the value is the cell's
    // exported text as it stands (most of a history table's cells come this way).
    if (!column.AllowFormat && !Columns().GetColumnIsNull(cell.ColumnIndex())) {
      AppendCell(i, cell.Value(), false, false, line_);
      continue;
    }
    cell.GetExportedValue(true, cell_);
    if (machine && column.IsNumeric) {
      // A numeric cell that holds no number is what the other layouts write for it: an
      // integer's 0 is the number 0 here too; a text no picture could read stays as it is.
      if (MachineNumberText(cell_, Formats().Settings(), number_)) {
        AppendCell(i, number_, false, true, line_);
        continue;
      }
      if (cell_.empty()) cell_ = cell.Value();
    }
    AppendCell(i, cell_, false, false, line_);
  }
  if (exportType_ == etCSV && !line_.empty()) line_.pop_back();
  return line_;
}

std::string TVantrix3ASCII::GetDataRow(bool) { return DataRow(); }

void TVantrix3ASCII::WriteDataRow() {
  DataRow();
  if (exportType_ == etTXT || exportType_ == etCSV) line_.append("\r\n");
  GetWriter()->Write(line_);
}

void TVantrix3ASCII::EndExport() {
  TVantrixWriter& writer = *GetWriter();
  switch (exportType_) {
    case etTXT:
      for (const std::string& line : Footer) writer.WriteLn(line);
      break;
    case etCSV:
      for (const std::string& line : Footer) writer.WriteLn(line + CSVComma);
      break;
    case etDIF:
      writer.WriteLn("-1,0");
      writer.WriteLn("EOD");
      break;
    case etSYLK:
      writer.WriteLn("E");
      break;
  }
  TVantrix3FormatText::EndExport();
}

void TVantrix3ASCII::SaveProperties(platform::IniFile& ini) const {
  TVantrix3FormatText::SaveProperties(ini);
  ini.WriteInteger("ASCII", "ExportType", exportType_);
  ini.WriteString("ASCII", "Comma", Char2Str(CSVComma));
  ini.WriteString("ASCII", "Quote", Char2Str(CSVQuote));
  ini.WriteBool("ASCII", "QuoteStrings", CSVQuoteStrings);
  ini.WriteInteger("ASCII", "Spacing", TXTSpacing);
  ini.WriteBool("ASCII", "AutoCalcColWidth", AutoCalcColWidth);
  WriteListSection(ini, "ALIGN", "line", ColumnsAlign);
  WriteListSection(ini, "WIDTH", "line", ColumnsWidth);
}

void TVantrix3ASCII::LoadProperties(const platform::IniFile& ini) {
  TVantrix3FormatText::LoadProperties(ini);
  const int type = ini.ReadInteger("ASCII", "ExportType", exportType_);
  if (type >= etTXT && type <= etSYLK) SetExportType(static_cast<TVantrixASCIIType>(type));
  CSVComma = Str2Char(ini.ReadString("ASCII", "Comma", Char2Str(CSVComma)));
  CSVQuote = Str2Char(ini.ReadString("ASCII", "Quote", Char2Str(CSVQuote)));
  CSVQuoteStrings = ini.ReadBool("ASCII", "QuoteStrings", CSVQuoteStrings);
  TXTSpacing = std::clamp(ini.ReadInteger("ASCII", "Spacing", TXTSpacing), 0, kMaxTXTSpacing);
  AutoCalcColWidth = ini.ReadBool("ASCII", "AutoCalcColWidth", AutoCalcColWidth);
  // "line0=Canal=R" loads as the line "Canal=R", so what was saved loads back as it was.
  ColumnsAlign = ReadNameValueListSection(ini, "ALIGN");
  ColumnsWidth = ReadNameValueListSection(ini, "WIDTH");
}

}  // namespace vantrix
