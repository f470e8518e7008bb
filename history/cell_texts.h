#pragma once
// The texts of the viewer's cells and read-outs in the user's locale: the short date, the
// long time without any time-zone name and with the milliseconds after the seconds, and
// values with the local decimal mark.
#include <QLocale>
#include <QString>

#include "history/history_data.h"

namespace history {

// The locale's long time format without its time-zone part: a file holds local wall time
// with no zone, so none is shown.
QString TimeFormatWithoutZone(const QLocale& locale);

class CellTexts {
 public:
  CellTexts(const HistoryData& data, const QLocale& locale = QLocale());

  // Cell of the whole table: rows 0..2 the header rows, then data rows and the empty rows
  // between recording runs; column 0 the date, 1 the time, then the values.
  QString Cell(size_t tableRow, size_t column) const;

  QString DateText(TDateTime t) const;
  // "10:20:30.045", or "10:20:30.045 PM" where the locale has a suffix.
  QString TimeText(TDateTime t) const;
  QString DateTimeText(TDateTime t) const { return DateText(t) + QLatin1Char(' ') + TimeText(t); }
  // A number with three decimals and the local decimal mark.
  QString ReadoutValue(double value) const;
  QString ValueText(size_t dataRow, size_t valueColumn) const;

  const QLocale& Locale() const { return locale_; }

 private:
  const HistoryData& data_;
  QLocale locale_;
  QString timeFormat_;
  QString decimalPoint_;
};

}  // namespace history
