#include "history/cell_texts.h"

#include <QDate>
#include <QRegularExpression>
#include <QTime>
#include <charconv>

#include "platform/qt_text.h"

namespace history {

// The zone is "t" to "tttt" with the blanks around it.
QString TimeFormatWithoutZone(const QLocale& locale) {
  QString format = locale.timeFormat(QLocale::LongFormat);
  static const QRegularExpression zone(QStringLiteral("\\s*t+\\s*"));
  format.replace(zone, QStringLiteral(" "));
  return format.trimmed();
}

CellTexts::CellTexts(const HistoryData& data, const QLocale& locale)
    : data_(data), locale_(locale), timeFormat_(TimeFormatWithoutZone(locale)), decimalPoint_(locale.decimalPoint()) {}

QString CellTexts::DateText(TDateTime t) const {
  platform::DateParts date;
  platform::TimeParts time;
  platform::DecodeDateTime(t, date, time);
  return locale_.toString(QDate(date.year, date.month, date.day), QLocale::ShortFormat);
}

QString CellTexts::TimeText(TDateTime t) const {
  platform::DateParts date;
  platform::TimeParts time;
  platform::DecodeDateTime(t, date, time);
  QString text = locale_.toString(QTime(time.hour, time.minute, time.second), timeFormat_);
  qsizetype lastDigit = text.size();
  while (lastDigit > 0 && !text.at(lastDigit - 1).isDigit()) --lastDigit;
  text.insert(lastDigit, QStringLiteral(".%1").arg(time.millisecond, 3, 10, QLatin1Char('0')));
  return text;
}

QString CellTexts::ReadoutValue(double value) const {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
  QString text = QString::fromLatin1(buffer, result.ptr - buffer);
  return text.replace(QLatin1Char('.'), decimalPoint_);
}

QString CellTexts::ValueText(size_t dataRow, size_t valueColumn) const {
  QString text = platform::FromCp1252(data_.ValueText(dataRow, valueColumn, '.'));
  const qsizetype point = text.indexOf(QLatin1Char('.'));
  if (point >= 0) text.replace(point, 1, decimalPoint_);
  return text;
}

QString CellTexts::Cell(size_t tableRow, size_t column) const {
  if (column >= data_.ColumnCount()) return {};
  const TableRowRef row = data_.LocateTableRow(tableRow);
  switch (row.kind) {
    case TableRowRef::Kind::Header:
      return platform::FromCp1252(data_.HeaderCell(static_cast<int>(row.index), column));
    case TableRowRef::Kind::RunBreak:
      return {};
    case TableRowRef::Kind::Data:
      break;
  }
  if (column == HistoryData::kDateColumn) return DateText(data_.Times()[row.index]);
  if (column == HistoryData::kTimeColumn) return TimeText(data_.Times()[row.index]);
  return ValueText(row.index, column - HistoryData::kFirstValueColumn);
}

}  // namespace history
