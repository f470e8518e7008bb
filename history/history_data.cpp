#include "history/history_data.h"

#include <charconv>
#include <cmath>

namespace history {

std::string_view HistoryData::HeaderCell(int row, size_t column) const {
  if (row < 0 || row >= kHeaderRows || column >= header_[row].ends.size()) return {};
  const HeaderRow& header = header_[row];
  const size_t begin = column == 0 ? 0 : header.ends[column - 1];
  return std::string_view(header.text).substr(begin, header.ends[column] - begin);
}

std::string HistoryData::ValueText(size_t dataRow, size_t valueColumn, char decimalSeparator) const {
  std::string text;
  ValueText(dataRow, valueColumn, decimalSeparator, text);
  return text;
}

void HistoryData::ValueText(size_t dataRow, size_t valueColumn, char decimalSeparator, std::string& out) const {
  out.clear();
  const double value = Value(dataRow, valueColumn);
  if (std::isnan(value)) return;
  const size_t at = rowStart_[dataRow] + valueColumn;
  const int8_t decimals = decimals_[at];
  if (decimals == kRawText) {
    out = rawTexts_.at(at);
  } else {
    // Only texts of at most 15 digits get here, which a double reprints exactly.
    char buffer[40];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    out.assign(buffer, result.ptr);
  }
  const size_t point = out.find('.');
  if (point != std::string::npos) out[point] = decimalSeparator;
}

size_t HistoryData::RunOfRow(size_t dataRow) const {
  // The last run that starts at or before the row; empty runs share their start with the next.
  size_t lo = 0, hi = runs_.size();
  while (hi - lo > 1) {
    const size_t mid = lo + (hi - lo) / 2;
    if (runs_[mid].firstRow <= dataRow) lo = mid; else hi = mid;
  }
  return lo;
}

size_t HistoryData::TableRowCount() const {
  if (runs_.empty()) return kHeaderRows;
  return kHeaderRows + times_.size() + runs_.size() - 1;
}

TableRowRef HistoryData::LocateTableRow(size_t tableRow) const {
  if (tableRow < static_cast<size_t>(kHeaderRows)) return {TableRowRef::Kind::Header, tableRow};
  if (tableRow >= TableRowCount()) return {TableRowRef::Kind::RunBreak, runs_.size()};
  const size_t r = tableRow - kHeaderRows;
  // Run i's data begins at r = firstRow + i; its break row sits just before that.
  size_t lo = 0, hi = runs_.size();
  while (hi - lo > 1) {
    const size_t mid = lo + (hi - lo) / 2;
    if (runs_[mid].firstRow + mid <= r + 1) lo = mid; else hi = mid;
  }
  const size_t start = runs_[lo].firstRow + lo;
  if (lo > 0 && r + 1 == start) return {TableRowRef::Kind::RunBreak, lo};
  return {TableRowRef::Kind::Data, runs_[lo].firstRow + (r - start)};
}

}  // namespace history
