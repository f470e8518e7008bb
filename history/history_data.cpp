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

namespace {

constexpr double kPowersOfTen[16] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                     1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

}  // namespace

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
  } else if (decimals <= 15 && std::fabs(value) < 1e15 / kPowersOfTen[decimals]) {
    // Only texts of at most 15 digits get here, which a double reprints exactly: scaled by
    // the power of ten of its decimals it is that whole number of digits, to well within a
    // half (an export of a large file reprints every value, and this is several times
    // quicker than the general printing below).
    const long long whole = std::llround(std::fabs(value) * kPowersOfTen[decimals]);
    char buffer[40];
    char* end = buffer + sizeof buffer;
    char* p = end;
    unsigned long long digits = static_cast<unsigned long long>(whole);
    for (int d = 0; d < decimals; ++d, digits /= 10) *--p = static_cast<char>('0' + digits % 10);
    if (decimals > 0) *--p = '.';
    do {
      *--p = static_cast<char>('0' + digits % 10);
      digits /= 10;
    } while (digits != 0);
    if (std::signbit(value)) *--p = '-';
    out.assign(p, end);
  } else {
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
