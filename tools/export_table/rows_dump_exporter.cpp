#include "tools/export_table/rows_dump_exporter.h"

#include <string>

namespace exporttable {
namespace {

const char* AlignName(vantrix::TVantrixColAlign align) {
  switch (align) {
    case vantrix::ecaCenter: return "center";
    case vantrix::ecaRight: return "right";
    default: return "left";
  }
}

// A text in quotes, with control characters, quotes and backslashes escaped so that a line
// stays one line.
std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(c);
    } else if (u < 0x20) {
      static const char kHex[] = "0123456789ABCDEF";
      out += "\\x";
      out.push_back(kHex[u >> 4]);
      out.push_back(kHex[u & 15]);
    } else {
      out.push_back(c);
    }
  }
  return out + "\"";
}

}  // namespace

void RowsDumpExporter::BeginExport() {
  TVantrix3FormatText::BeginExport();
  GetWriter()->WriteLn("columns " + std::to_string(Columns().Count()));
  for (int i = 0; i < Columns().Count(); ++i) {
    const vantrix::TVantrixColumn& c = Columns()[i];
    GetWriter()->WriteLn("  " + std::to_string(i) + ": name " + Quoted(c.Name) + " caption " + Quoted(c.Caption) +
                         " type " + vantrix::VantrixColTypeAsString(c.ColType) + " width " + std::to_string(c.Width) +
                         " align " + AlignName(c.Align) + " format " + Quoted(c.Format) + " sql " + Quoted(c.SQLType) +
                         " length " + std::to_string(c.Length));
  }
}

void RowsDumpExporter::WriteCaptionRow() {
  std::string line = "captions";
  for (int i = 0; i < Columns().Count(); ++i) line += " " + Quoted(GetColCaption(i));
  GetWriter()->WriteLn(line);
}

void RowsDumpExporter::WriteDataRow() {
  GetWriter()->WriteLn("record " + std::to_string(RecordCounter()));
  std::string formatted;
  for (int i = 0; i < Row().Count(); ++i) {
    const vantrix::TVantrixCol& cell = Row()[i];
    cell.GetExportedValue(true, formatted);
    GetWriter()->WriteLn("  " + cell.Name() + ": " + Quoted(cell.Value()) + " -> " + Quoted(formatted));
  }
}

void RowsDumpExporter::EndExport() {
  GetWriter()->WriteLn(Aborted() ? "aborted" : "end");
  TVantrix3FormatText::EndExport();
}

}  // namespace exporttable
