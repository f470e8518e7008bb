#include "display/readable_ticks.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kDay = 86400;

// Steps of a time of day, in seconds, up to a day.
constexpr double kTimeSteps[] = {1,    2,    5,    10,   15,    30,    60,    120,   300,  600,
                                 900,  1800, 3600, 7200, 10800, 21600, 43200, kDay};

// The axis's length in pixels along its direction.
int AxisPixels(const QCPAxis* axis) {
  const QRect r = axis->axisRect()->rect();
  return axis->orientation() == Qt::Horizontal ? r.width() : r.height();
}

// A label's length along its axis: its width on a horizontal axis, its height on a vertical one.
int LabelPixels(const QCPAxis* axis, const QString& widest) {
  const QFontMetrics metrics(axis->tickLabelFont());
  return axis->orientation() == Qt::Horizontal ? metrics.horizontalAdvance(widest) : metrics.height();
}

}  // namespace

int TickStepsThatFit(int axisPixels, int labelPixels) {
  const int room = std::max(1, labelPixels) + std::max(8, labelPixels / 2);
  return std::max(1, axisPixels / room);
}

double ReadableValueStep(double range, int maxSteps) {
  if (!std::isfinite(range) || range <= 0) return 1;
  const double least = range / std::max(1, maxSteps);
  const double magnitude = std::pow(10.0, std::floor(std::log10(least)));
  for (double mantissa : {1.0, 2.0, 2.5, 5.0, 10.0}) {
    // A hair of tolerance: a step that divides the range exactly is not pushed to the next one.
    if (mantissa * magnitude >= least * (1 - 1e-9)) return mantissa * magnitude;
  }
  return 10 * magnitude;
}

double ReadableTimeStep(double seconds, int maxSteps) {
  if (!std::isfinite(seconds) || seconds <= 0) return 1;
  const double least = seconds / std::max(1, maxSteps);
  for (double step : kTimeSteps) {
    if (step >= least * (1 - 1e-9)) return step;
  }
  // Longer than a day between ticks: whole days that read well.
  return std::max(2.0, ReadableValueStep(least / kDay, 1)) * kDay;
}

int TickStepsOnAxis(const QCPAxis* axis, const QString& widest) {
  return TickStepsThatFit(AxisPixels(axis), LabelPixels(axis, widest));
}
