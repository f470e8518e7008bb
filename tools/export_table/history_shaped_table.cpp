#include "tools/export_table/history_shaped_table.h"

#include <cstdio>
#include <iterator>

namespace exporttable {
namespace {

constexpr const char* kCaptions[] = {" ", " ", "Tervana 10", " ", " ", "Kestravon 11", " ", " "};
constexpr const char* kNames[] = {"Data", "Hora", "Canal 1", "Canal 2", "Ambiente", "Temperatura", "Umidade", "Contador"};
constexpr const char* kUnits[] = {"", "", "\xB0" "C", "\xB0" "C", "\xB0" "C", "\xB0" "C", "%UR", ""};
constexpr int kWidths[] = {10, 12, 10, 10, 10, 11, 10, 10};

}  // namespace

HistoryShapedTable::HistoryShapedTable(int readings) : readings_(readings) {
  for (size_t i = 0; i < std::size(kCaptions); ++i) {
    vantrix::TVantrixCustomColumn* column = source_.Columns().Add();
    column->SetColumnName("Col" + std::to_string(i));
    column->SetCaption(kCaptions[i]);
    column->SetWidth(kWidths[i]);
    column->SetColumnType(vantrix::ectString);
  }
  source_.OnGetNextRecord = [this](vantrix::TVantrixCustomSource&, int recNo, bool& eof) { eof = recNo >= Records(); };
  source_.OnGetColumnText = [this](vantrix::TVantrixCustomSource&, int recNo, const vantrix::TVantrixCustomColumn& column,
                                   std::string& text) { text = Cell(recNo, column.Index()); };
}

std::string HistoryShapedTable::Cell(int record, int column) const {
  if (column < 0 || column >= static_cast<int>(std::size(kNames))) return std::string();
  if (record == 1) return kNames[column];
  if (record == 2) return kUnits[column];
  const long long n = record - 3;  // one reading a second from 07/12/2026 14:00:00
  const long long seconds = 14 * 3600 + n;
  char text[32];
  switch (column) {
    case 0: std::snprintf(text, sizeof text, "%02lld/12/2026", 7 + seconds / 86400 % 20); break;
    case 1:
      std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld.%03lld", seconds / 3600 % 24, seconds / 60 % 60,
                    seconds % 60, n * 125 % 1000);
      break;
    case 7: std::snprintf(text, sizeof text, "%lld", n * 3); break;
    default: {
      const long long centi = (n * 37 + column * 1013) % 9000 - 2000;  // -20.00 to 69.99
      std::snprintf(text, sizeof text, "%s%lld.%02lld", centi < 0 ? "-" : "", (centi < 0 ? -centi : centi) / 100,
                    (centi < 0 ? -centi : centi) % 100);
    }
  }
  return text;
}

}  // namespace exporttable
