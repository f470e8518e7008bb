#include "history/time_axis_ticker.h"

#include <QDateTime>
#include <QTimeZone>
#include <algorithm>
#include <cmath>

#include "history/cell_texts.h"
#include "ui/readable_ticks.h"

namespace history {

namespace {

// Steps under a second, in milliseconds: whole milliseconds that read well.
constexpr double kSubSecondSteps[] = {1, 2, 5, 10, 20, 50, 100, 200, 500};

constexpr double kDay = 86400;
constexpr double kMonth = 30.4375 * kDay;  // on average, leap years included
constexpr double kYear = 12 * kMonth;

// Steps from a second to a year, in seconds: 2 s rather than 2.5 s, so that whole seconds
// label without milliseconds.
constexpr double kSteps[] = {
    1,      2,          5,          10,         15,        30,     // seconds
    60,     150,        300,        600,        900,       1800,   // minutes
    3600,   7200,       10800,      21600,      43200,             // hours
    kDay,   2 * kDay,   5 * kDay,   7 * kDay,   14 * kDay,         // days
    kMonth, 2 * kMonth, 3 * kMonth, 6 * kMonth, kYear};            // months

// A lone tick falls on a multiple of a step of whole days at most: a month's step is no
// whole count of days, and its multiples fall at any time of day.
constexpr double kLongestLoneTickStep = 14 * kDay;

// A hair of tolerance: a step that divides the range exactly is not pushed to the next one.
bool AtLeast(double step, double least) { return step >= least * (1 - 1e-9); }

}  // namespace

TimeAxisTicker::TimeAxisTicker(const QLocale& locale, const QCPAxis* axis)
    : locale_(locale),
      dateFormat_(locale.dateFormat(QLocale::ShortFormat)),
      timeFormat_(TimeFormatWithoutZone(locale)),
      axis_(axis) {
  setTimeZone(QTimeZone::utc());
}

double TimeAxisTicker::StepOfAtLeast(double least) {
  if (!std::isfinite(least) || least <= 0) return kSubSecondSteps[0] / 1000;
  // Never finer than a millisecond, the file's own resolution.
  if (least < 1) {
    for (const double ms : kSubSecondSteps)
      if (AtLeast(ms / 1000, least)) return ms / 1000;
    return 1;
  }
  for (const double step : kSteps)
    if (AtLeast(step, least)) return step;
  // Over a year between ticks: whole years that read well.
  return ui::ReadableValueStep(least / kYear, 1) * kYear;
}

int TimeAxisTicker::MaxSteps(const QCPRange& range, double step) const {
  if (axis_ == nullptr) return tickCount();
  return ui::TickStepsOnAxis(axis_, {LabelFor(range.lower, step), LabelFor(range.upper, step)});
}

double TimeAxisTicker::getTickStep(const QCPRange& range) {
  const double span = range.size();
  double step = StepOfAtLeast(span / MaxSteps(range, 1));
  // Under a second the labels grow by their milliseconds, and fewer may fit.
  if (step < 1) step = StepOfAtLeast(span / MaxSteps(range, step));
  // Day and month steps fall on the same time of day and the same day of the month.
  mDateStrategy = step > kMonth - 1 ? dsUniformDayInMonth : step > kDay - 1 ? dsUniformTimeInDay : dsNone;
  step_ = step;
  return step;
}

bool TimeAxisTicker::LabelShowsWhole(double key, double step, const QCPRange& range) const {
  if (!range.contains(key)) return false;
  if (axis_ == nullptr) return true;
  const int axisPixels = axis_->axisRect()->width();
  if (axisPixels <= 0) return false;
  const double halfLabel = ui::TickLabelRect(axis_, LabelFor(key, step)).width() / 2.0 * range.size() / axisPixels;
  return key - halfLabel >= range.lower && key + halfLabel <= range.upper;
}

QVector<double> TimeAxisTicker::createTickVector(double tickStep, const QCPRange& range) {
  QVector<double> ticks = QCPAxisTickerDateTime::createTickVector(tickStep, range);
  for (const double tick : ticks)
    if (LabelShowsWhole(tick, step_, range)) return ticks;
  // A step as long as the range (a narrow axis has room for one label) may put no tick where
  // its label shows: one tick then, the multiple of the longest step that lands near enough
  // the middle for its label to show whole.
  const double middle = range.center();
  const double longest = std::min(step_, kLongestLoneTickStep);
  const auto lone = [&](double step) {
    const double tick = std::round(middle / step) * step;
    if (step > longest || !LabelShowsWhole(tick, step, range)) return QVector<double>{};
    step_ = step;
    return QVector<double>{tick};
  };
  for (auto step = std::rbegin(kSteps); step != std::rend(kSteps); ++step)
    if (QVector<double> tick = lone(*step); !tick.isEmpty()) return tick;
  for (auto ms = std::rbegin(kSubSecondSteps); ms != std::rend(kSubSecondSteps); ++ms)
    if (QVector<double> tick = lone(*ms / 1000); !tick.isEmpty()) return tick;
  return ticks;
}

QString TimeAxisTicker::getTickLabel(double tick, const QLocale&, QChar, int) { return LabelFor(tick, step_); }

QString TimeAxisTicker::LabelFor(double key, double step) const {
  const qint64 ms = std::llround(key * 1000);
  const QDateTime at = QDateTime::fromMSecsSinceEpoch(ms, QTimeZone::utc());
  QString time = locale_.toString(at.time(), timeFormat_);
  if (std::llround(step * 1000) % 1000 != 0) {
    // The milliseconds right after the seconds, before any AM/PM suffix.
    qsizetype lastDigit = time.size();
    while (lastDigit > 0 && !time.at(lastDigit - 1).isDigit()) --lastDigit;
    time.insert(lastDigit, QStringLiteral(".%1").arg(((ms % 1000) + 1000) % 1000, 3, 10, QLatin1Char('0')));
  }
  return locale_.toString(at.date(), dateFormat_) + QLatin1Char('\n') + time;
}

}  // namespace history
