#include "export/xls/workbook_dump.h"

#include <cstdio>

#include "export/xls/workbook_reader.h"

namespace vantrix {

namespace {

void AppendJson(std::string& out, std::u16string_view text) {
  out += '"';
  for (const char16_t c : text) {
    switch (c) {
      case u'"': out += "\\\""; break;
      case u'\\': out += "\\\\"; break;
      case u'\n': out += "\\n"; break;
      case u'\r': out += "\\r"; break;
      case u'\t': out += "\\t"; break;
      case u'\b': out += "\\b"; break;
      case u'\f': out += "\\f"; break;
      default:
        if (c < 0x20 || c > 0x7E) {
          char code[8];
          std::snprintf(code, sizeof code, "\\u%04x", static_cast<unsigned>(c));
          out += code;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  out += '"';
}

void AppendNumber(std::string& out, double v) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", v);
  out += text;
}

void AppendValue(std::string& out, const TxlsVariant& value, bool date) {
  if (const double* d = std::get_if<double>(&value)) {
    out += date ? "date\t" : "number\t";
    AppendNumber(out, *d);
  } else if (const bool* b = std::get_if<bool>(&value)) {
    out += *b ? "bool\t1" : "bool\t0";
  } else if (const TxlsErrorValue* e = std::get_if<TxlsErrorValue>(&value)) {
    out += "error\t" + ErrCodeToString(e->Code);
  } else if (const WideString* text = std::get_if<WideString>(&value)) {
    out += "text\t";
    AppendJson(out, *text);
  } else {
    out += "blank\t";
  }
}

}  // namespace

std::string DumpCells(const TxlsWorkbook& workbook) {
  std::string out;
  const TxlsGlobals& globals = workbook.Globals();
  for (size_t s = 0; s < workbook.WorkSheetCount(); ++s) {
    const TxlsWorkSheet& sheet = workbook.WorkSheet(s);
    out += "sheet\t";
    AppendJson(out, sheet.GetName());
    out += '\n';
    for (int r = 0; r < sheet.GetRowCount(); ++r) {
      const TxlsRow* row = sheet.Row(r);
      if (row == nullptr) continue;
      for (size_t i = 0; i < row->Count(); ++i) {
        const TbiffCell& cell = *(*row)[i];
        out += "cell\t" + std::to_string(cell.Row()) + "\t" + std::to_string(cell.Col()) + "\t";
        AppendValue(out, cell.GetAsVariant(), globals.IsDateXF(cell.XFIndex()));
        out += '\n';
      }
    }
  }
  return out;
}

}  // namespace vantrix
