#include "tools/export_table/typed_table.h"

#include <iterator>

#include "export/datetime_picture.h"
#include "export/float_picture.h"
#include "platform/datetime.h"

namespace exporttable {
namespace {

struct ColumnSpec {
  const char* name;
  const char* caption;
  vantrix::TVantrixColType type;
};

constexpr ColumnSpec kColumns[] = {
    {"Texto", "Texto", vantrix::ectString},         {"Inteiro", "Inteiro", vantrix::ectInteger},
    {"Real", "Real \xB0" "C", vantrix::ectFloat},    {"Data", "Data", vantrix::ectDate},
    {"Hora", "Hora", vantrix::ectTime},             {"DataHora", "Data e hora", vantrix::ectDateTime},
    {"Ok", "Ok", vantrix::ectBoolean},
};

TDateTime Moment(int y, int m, int d, int h, int n, int s) {
  TDateTime value = 0;
  platform::TryEncodeDateTime(y, m, d, h, n, s, 0, value);
  return value;
}

}  // namespace

TypedTable::TypedTable(const vantrix::FormatSettings& s) {
  auto date = [&](int y, int m, int d) { return vantrix::FormatDateTime("ddddd", Moment(y, m, d, 0, 0, 0), s); };
  auto time = [&](int h, int n, int sec) { return vantrix::FormatDateTime("hh:nn:ss", Moment(1899, 12, 30, h, n, sec), s); };
  auto stamp = [&](int y, int m, int d, int h, int n) {
    return vantrix::FormatDateTime("ddddd hh:nn:ss", Moment(y, m, d, h, n, 0), s);
  };
  auto real = [&](double v) { return vantrix::FloatToStr(v, s); };
  std::string longText;
  while (longText.size() < 300) longText += "Leitura longa \xE0 temperatura de 25 \xB0" "C; ";
  cells_ = {
      {"Temperatura \xB0" "C", "1", real(3.5), date(1900, 2, 28), time(12, 30, 15), stamp(2024, 5, 17, 8, 15), "true"},
      {"a\xE7\xE3o", "-42", real(-0.25), date(1900, 3, 1), time(0, 0, 1), stamp(1999, 12, 31, 23, 59), "false"},
      {"", "123456789", real(1e10), date(2024, 5, 17), "", "", "TRUE"},
      {kNullText, kNullText, "n/d", "sem data", time(23, 59, 59), stamp(2026, 12, 7, 14, 0), ""},
      {longText, "7", real(2.5), date(2026, 12, 7), time(6, 0, 0), stamp(1900, 3, 1, 12, 0), "False"},
  };
  for (const ColumnSpec& spec : kColumns) {
    vantrix::TVantrixCustomColumn* column = source_.Columns().Add();
    column->SetColumnName(spec.name);
    column->SetCaption(spec.caption);
    column->SetColumnType(spec.type);
  }
  source_.OnGetNextRecord = [this](vantrix::TVantrixCustomSource&, int recNo, bool& eof) { eof = recNo >= Rows(); };
  source_.OnGetColumnText = [this](vantrix::TVantrixCustomSource&, int recNo, const vantrix::TVantrixCustomColumn& column,
                                   std::string& text) { text = Cell(recNo, column.Index()); };
}

const std::string& TypedTable::Cell(int record, int column) const {
  static const std::string empty;
  if (record < 1 || record > Rows() || column < 0 || column >= static_cast<int>(std::size(kColumns))) return empty;
  return cells_[static_cast<size_t>(record - 1)][static_cast<size_t>(column)];
}

}  // namespace exporttable
