#pragma once
// The history chart's time axis: the local wall-clock time of the file (the chart key read
// as UTC), labelled with the date and the time, and with the milliseconds whenever the
// ticks are less than a whole second apart, so that no two ticks carry the same label.
// Given its axis, it takes as many ticks as labels fit along the axis, so that labels never
// run into one another however narrow the window; where a single label fits and no tick of
// that step falls where its label shows, one tick at the roundest time near the middle does.
#include <QLocale>
#include <QString>

#include "qcustomplot.h"

namespace history {

class TimeAxisTicker : public QCPAxisTickerDateTime {
 public:
  // Without an axis, about tickCount() ticks. The axis owns its ticker, so the ticker never
  // outlives it.
  explicit TimeAxisTicker(const QLocale& locale = QLocale(), const QCPAxis* axis = nullptr);

  // The label of a tick, given the step between ticks (seconds).
  QString LabelFor(double key, double step) const;
  // The smallest step that reads well and is at least `least` seconds: whole milliseconds
  // under a second, never 2.5 s, then whole seconds, minutes, hours, days, weeks, months, years.
  static double StepOfAtLeast(double least);

 protected:
  double getTickStep(const QCPRange& range) override;
  QVector<double> createTickVector(double tickStep, const QCPRange& range) override;
  QString getTickLabel(double tick, const QLocale& locale, QChar formatChar, int precision) override;

 private:
  // How many steps the range may take with labels as for `step`.
  int MaxSteps(const QCPRange& range, double step) const;
  // Whether the label of a tick at `key`, labelled as for `step`, shows whole on the axis.
  bool LabelShowsWhole(double key, double step, const QCPRange& range) const;

  QLocale locale_;
  QString dateFormat_;
  QString timeFormat_;
  const QCPAxis* axis_;
  double step_ = 1;
};

}  // namespace history
