#include "tools/export_table/generated_table.h"

#include <cstdio>

#include "export/datetime_picture.h"
#include "export/float_picture.h"
#include "platform/datetime.h"

namespace exporttable {
namespace {

using vantrix::TVantrixColType;

constexpr int kPoolSize = 1024;

struct ColumnSpec {
  const char* name;
  const char* caption;
  TVantrixColType type;
};

// Ten columns of every kind of value.
constexpr ColumnSpec kColumns[] = {
    {"Id", "Id", vantrix::ectInteger},          {"Reading", "Leitura \xB0" "C", vantrix::ectFloat},
    {"Amount", "Valor", vantrix::ectCurrency},  {"Day", "Data", vantrix::ectDate},
    {"Clock", "Hora", vantrix::ectTime},        {"Stamp", "Data e hora", vantrix::ectDateTime},
    {"Ok", "Ok", vantrix::ectBoolean},          {"Label", "R\xF3tulo", vantrix::ectString},
    {"Note", "Nota; \"livre\"", vantrix::ectString}, {"Counter", "Contador", vantrix::ectBigint},
};

const char* const kAwkward[] = {
    "25 \xB0" "C", "a;b;c", "say \"hi\"", "<&>", "{braces}", "back\\slash", "(parens)", "1,234.5", "",
    "tab\there", "'single'", "caf\xE9 cr\xE8me", "  padded  ", "100%", "#hash", "line=value",
};

std::string Text(TVantrixColType type, int i, const vantrix::FormatSettings& s) {
  // A pseudo-random but fixed walk, so the same table comes out every time.
  const unsigned mix = static_cast<unsigned>(i) * 2654435761u;
  TDateTime moment = 0;
  platform::TryEncodeDateTime(2020 + static_cast<int>(mix % 7), 1 + static_cast<int>(mix % 12),
                              1 + static_cast<int>(mix % 28), static_cast<int>(mix % 24), static_cast<int>(mix % 60),
                              static_cast<int>((mix >> 8) % 60), 0, moment);
  // Now and then a number is missing, as a sensor that didn't answer leaves it.
  const bool numeric = type == vantrix::ectInteger || type == vantrix::ectBigint || type == vantrix::ectFloat ||
                       type == vantrix::ectCurrency;
  if (numeric && i % 97 == 13) return {};
  switch (type) {
    case vantrix::ectInteger: return std::to_string(static_cast<int>(mix % 2000000) - 1000000);
    case vantrix::ectBigint: return std::to_string(static_cast<long long>(mix) * 1000003LL);
    case vantrix::ectFloat: return vantrix::FloatToStr((static_cast<int>(mix % 200000) - 100000) / 137.0, s);
    case vantrix::ectCurrency: return vantrix::FormatFloat("0.00", (mix % 10000000) / 100.0, s);
    case vantrix::ectDate: return vantrix::FormatDateTime("ddddd", moment, s);
    case vantrix::ectTime: return vantrix::FormatDateTime("tt", moment, s);
    case vantrix::ectDateTime: return vantrix::FormatDateTime("ddddd tt", moment, s);
    case vantrix::ectBoolean: return mix % 3 == 0 ? "false" : "true";
    default: return kAwkward[mix % std::size(kAwkward)];
  }
}

}  // namespace

GeneratedTable::GeneratedTable(int rows, const vantrix::FormatSettings& settings) : rows_(rows) {
  for (const ColumnSpec& spec : kColumns) {
    vantrix::TVantrixCustomColumn* column = source_.Columns().Add();
    column->SetColumnName(spec.name);
    column->SetCaption(spec.caption);
    column->SetColumnType(spec.type);
    // Long enough for every text of the pools, so a fixed-length format (dBase) holds them.
    column->SetSize(40);
    std::vector<QByteArray> pool;
    pool.reserve(kPoolSize);
    for (int i = 0; i < kPoolSize; ++i) {
      // The notes column is free text of any length, the others values.
      const std::string text = spec.type == vantrix::ectString && spec.name[0] == 'N'
                                   ? "note " + std::to_string(i) + ": " + kAwkward[i % std::size(kAwkward)]
                                   : Text(spec.type, i + static_cast<int>(pools_.size()) * 7919, settings);
      pool.emplace_back(text.data(), static_cast<qsizetype>(text.size()));
    }
    pools_.push_back(std::move(pool));
  }
  source_.OnGetNextRecord = [this](vantrix::TVantrixCustomSource&, int recNo, bool& eof) { eof = recNo >= rows_; };
  AnswerWithVariants(false);
}

void GeneratedTable::AnswerWithVariants(bool variants) {
  source_.OnGetColumnText = nullptr;
  source_.OnGetColumnValue = [this](vantrix::TVantrixCustomSource&, int recNo, const vantrix::TVantrixCustomColumn& column,
                                    QVariant& value) { value = Cell(recNo, column.Index()); };
  if (variants) return;
  source_.OnGetColumnText = [this](vantrix::TVantrixCustomSource&, int recNo, const vantrix::TVantrixCustomColumn& column,
                                   std::string& text) {
    const QByteArray& cell = Cell(recNo, column.Index());
    text.assign(cell.constData(), static_cast<size_t>(cell.size()));
  };
}

const QByteArray& GeneratedTable::Cell(int record, int column) const {
  return pools_[static_cast<size_t>(column)][static_cast<size_t>(record) % kPoolSize];
}

}  // namespace exporttable
