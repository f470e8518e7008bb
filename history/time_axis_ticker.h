#pragma once
// The history chart's time axis: the local wall-clock time of the file (the chart key read
// as UTC), labelled with the date and the time, and with the milliseconds whenever the
// ticks are less than a whole second apart, so that no two ticks carry the same label.
#include <QLocale>
#include <QString>

#include "qcustomplot.h"

namespace history {

class TimeAxisTicker : public QCPAxisTickerDateTime {
 public:
  explicit TimeAxisTicker(const QLocale& locale = QLocale());

  // The label of a tick, given the step between ticks (seconds).
  QString LabelFor(double key, double step) const;

 protected:
  double getTickStep(const QCPRange& range) override;
  QString getTickLabel(double tick, const QLocale& locale, QChar formatChar, int precision) override;

 private:
  QLocale locale_;
  QString dateFormat_;
  QString timeFormat_;
  double step_ = 1;
};

}  // namespace history
