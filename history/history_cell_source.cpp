#include "history/history_cell_source.h"


#include "platform/qt_text.h"

namespace history {

void SplitMilliseconds(std::string_view time, std::string& withoutMs, std::string& ms) {
  ms.clear();
  const size_t point = time.rfind('.');
  if (point == std::string_view::npos) {
    withoutMs.assign(time);
    return;
  }
  size_t end = point + 1;
  while (end < time.size() && end < point + 4 && time[end] >= '0' && time[end] <= '9') ++end;
  ms.assign(time.substr(point + 1, end - point - 1));
  withoutMs.assign(time.substr(0, point));
  withoutMs.append(time.substr(end));
}

HistoryCellSource::HistoryCellSource(const HistoryData& data, const CellTexts& texts) : data_(data), texts_(texts) {
  const std::string point = platform::ToCp1252(texts.Locale().decimalPoint());
  // A decimal mark code page 1252 has no single byte for is written as ".".
  decimalPoint_ = point.size() == 1 && point[0] != '?' ? point[0] : '.';
}

void HistoryCellSource::SetOptions(const MillisecondOptions& options) {
  options_ = options;
  if (options_.withoutMilliseconds) options_.ownColumn = false;
  if (options_.separator == '\0') options_.separator = '.';
}

size_t HistoryCellSource::ColumnCount() const { return data_.ColumnCount() + (options_.ownColumn ? 1 : 0); }

const std::string& HistoryCellSource::DateText() {
  const long day = static_cast<long>(date_.year) * 400 + date_.month * 32 + date_.day;
  if (day != lastDay_) {
    dateText_ = platform::ToCp1252(texts_.DateText(data_.Times()[lastRef_.index]));
    lastDay_ = day;
  }
  return dateText_;
}

const std::string& HistoryCellSource::TimeText() {
  if (timeMade_) return rowTime_;
  const int second = time_.hour * 3600 + time_.minute * 60 + time_.second;
  auto [entry, added] = seconds_.try_emplace(second);
  SecondText& text = entry->second;
  if (added) {
    // The viewer's text of the whole second; its milliseconds stand where ".000" is.
    TDateTime whole = 0;
    platform::TryEncodeTime(time_.hour, time_.minute, time_.second, 0, whole);
    const std::string shown = platform::ToCp1252(texts_.TimeText(whole));
    const size_t at = shown.rfind(".000");
    text.before = shown.substr(0, at);
    text.after = at == std::string::npos ? std::string() : shown.substr(at + 4);
  }
  const int ms = time_.millisecond;
  const char digits[4] = {'.', static_cast<char>('0' + ms / 100), static_cast<char>('0' + ms / 10 % 10),
                          static_cast<char>('0' + ms % 10)};
  rowTime_.assign(text.before).append(digits, 4).append(text.after);
  timeMade_ = true;
  return rowTime_;
}

void HistoryCellSource::TableCell(size_t tableRow, size_t tableColumn, std::string& out) {
  out.clear();
  if (tableColumn >= data_.ColumnCount()) return;
  if (tableRow != lastRow_) {
    lastRef_ = data_.LocateTableRow(tableRow);
    lastRow_ = tableRow;
    timeMade_ = false;
    if (lastRef_.kind == TableRowRef::Kind::Data) platform::DecodeDateTime(data_.Times()[lastRef_.index], date_, time_);
  }
  switch (lastRef_.kind) {
    case TableRowRef::Kind::Header:
      out.assign(data_.HeaderCell(static_cast<int>(lastRef_.index), tableColumn));
      return;
    case TableRowRef::Kind::RunBreak:
      return;
    case TableRowRef::Kind::Data:
      break;
  }
  if (tableColumn == HistoryData::kDateColumn) out = DateText();
  else if (tableColumn == HistoryData::kTimeColumn) out = TimeText();
  else data_.ValueText(lastRef_.index, tableColumn - HistoryData::kFirstValueColumn, decimalPoint_, out);
}

void HistoryCellSource::Text(size_t tableRow, size_t column, std::string& out) {
  const bool own = options_.ownColumn;
  if (column == HistoryData::kTimeColumn || (own && column == HistoryData::kTimeColumn + 1)) {
    TableCell(tableRow, HistoryData::kTimeColumn, timeCell_);
    if (own || options_.withoutMilliseconds) {
      SplitMilliseconds(timeCell_, withoutMs_, ms_);
      out = column == HistoryData::kTimeColumn ? withoutMs_ : ms_;
    } else {
      out = timeCell_;
      const size_t point = out.rfind('.');
      if (options_.separator != '.' && tableRow >= static_cast<size_t>(HistoryData::kHeaderRows) &&
          point != std::string::npos)
        out[point] = options_.separator;
    }
    return;
  }
  TableCell(tableRow, own && column > HistoryData::kTimeColumn ? column - 1 : column, out);
}

std::string HistoryCellSource::Caption(size_t column) const {
  // With a milliseconds column every device name moves one column right, the date's place
  // stays empty.
  if (options_.ownColumn && column == 0) return {};
  const size_t tableColumn = options_.ownColumn ? column - 1 : column;
  if (tableColumn >= data_.ColumnCount()) return {};
  return std::string(data_.HeaderCell(0, tableColumn));
}

int HistoryCellSource::DateLength() const {
  TDateTime sample = 0;
  platform::TryEncodeDate(2005, 12, 25, sample);
  return static_cast<int>(platform::ToCp1252(texts_.DateText(sample)).size());
}

int HistoryCellSource::TimeLength() const {
  TDateTime sample = 0;
  platform::TryEncodeTime(10, 20, 30, 0, sample);
  std::string withoutMs, ms;
  SplitMilliseconds(platform::ToCp1252(texts_.TimeText(sample)), withoutMs, ms);
  return static_cast<int>(withoutMs.size());
}

}  // namespace history
