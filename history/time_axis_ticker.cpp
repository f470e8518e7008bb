#include "history/time_axis_ticker.h"

#include <QDateTime>
#include <QTimeZone>
#include <algorithm>
#include <cmath>

#include "history/cell_texts.h"

namespace history {

namespace {

// Steps under a second, in milliseconds: whole milliseconds that read well.
constexpr double kSubSecondSteps[] = {1, 2, 5, 10, 20, 50, 100, 200, 500};

}  // namespace

TimeAxisTicker::TimeAxisTicker(const QLocale& locale)
    : locale_(locale), dateFormat_(locale.dateFormat(QLocale::ShortFormat)), timeFormat_(TimeFormatWithoutZone(locale)) {
  setTimeZone(QTimeZone::utc());
}

double TimeAxisTicker::getTickStep(const QCPRange& range) {
  double step = QCPAxisTickerDateTime::getTickStep(range);
  if (step < 1) {
    // Never finer than a millisecond, the file's own resolution.
    const double ms = step * 1000;
    step = 1;
    for (const double candidate : kSubSecondSteps)
      if (candidate >= ms - 1e-9) {
        step = candidate / 1000;
        break;
      }
  } else if (step == 2.5) {
    step = 2;  // whole seconds label without milliseconds
  }
  step_ = step;
  return step;
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
