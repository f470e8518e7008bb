#pragma once
// A small table of every kind of value a spreadsheet must keep apart, for the spreadsheet
// read-back checks: texts with "°C" and "ação" and a long one, integers, floats and a text
// that is no number, the dates 28 February and 1 March 1900 (the days around the spreadsheet's
// 29 February that never was) and one of today, a time alone, date-times, Booleans in either
// case, empty cells and the null text. Cells are texts in the settings' forms, as a viewer's
// table hands them over.
#include <string>
#include <vector>

#include "export/custom_source.h"
#include "export/format_settings.h"

namespace exporttable {

class TypedTable {
 public:
  // The text standing for a null value in this table.
  static constexpr const char* kNullText = "(nulo)";

  explicit TypedTable(const vantrix::FormatSettings& settings);
  vantrix::TVantrixCustomSource& Source() { return source_; }
  int Rows() const { return static_cast<int>(cells_.size()); }
  // Records from 1, code page 1252.
  const std::string& Cell(int record, int column) const;

 private:
  std::vector<std::vector<std::string>> cells_;
  vantrix::TVantrixCustomSource source_;
};

}  // namespace exporttable
