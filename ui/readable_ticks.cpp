#include "ui/readable_ticks.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>

namespace ui {

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

// The axis rectangles' sizes, to tell whether a layout changed them.
QList<QRect> AxisRects(const QCustomPlot* plot) {
  QList<QRect> rects;
  for (const QCPAxisRect* r : plot->axisRects()) rects.append(r->rect());
  return rects;
}

}  // namespace

int TickStepsThatFit(int axisPixels, int labelPixels) {
  // A quarter of a label between labels keeps them apart; more would leave a narrow window
  // with a single label.
  const int room = std::max(1, labelPixels) + std::max(8, labelPixels / 4);
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

QRect TickLabelRect(const QCPAxis* axis, const QString& label) {
  // Measured as the axis measures a label before drawing it.
  return QFontMetrics(axis->tickLabelFont()).boundingRect(0, 0, 0, 0, Qt::TextDontClip | Qt::AlignHCenter, label);
}

int TickStepsOnAxis(const QCPAxis* axis, const QStringList& labels) {
  // A label's length along its axis: its width on a horizontal axis, its height on a vertical one.
  int labelPixels = 0;
  for (const QString& label : labels) {
    const QSize size = TickLabelRect(axis, label).size();
    labelPixels = std::max(labelPixels, axis->orientation() == Qt::Horizontal ? size.width() : size.height());
  }
  return TickStepsThatFit(AxisPixels(axis), labelPixels);
}

void RespaceTicksOnResize(QCustomPlot* plot) {
  QObject::connect(plot, &QCustomPlot::afterLayout, plot, [plot, ticksMadeFor = QList<QRect>()]() mutable {
    // At most twice: ticks spaced anew may change the margins, and so the rectangle, once more.
    for (int pass = 0; pass < 2 && AxisRects(plot) != ticksMadeFor; ++pass) {
      ticksMadeFor = AxisRects(plot);
      for (auto phase : {QCPLayoutElement::upPreparation, QCPLayoutElement::upMargins, QCPLayoutElement::upLayout})
        plot->plotLayout()->update(phase);
    }
    // What the next layout will make its ticks for.
    ticksMadeFor = AxisRects(plot);
  });
}

}  // namespace ui
