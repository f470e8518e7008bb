#pragma once
// Both charts' axes keep their labels apart however small the window: each axis asks for as
// many ticks as labels fit along it, and takes the smallest step that reads well (1, 2, 2.5 or
// 5 times a power of ten for values; whole seconds, minutes, hours or days for a time of day)
// that gives no more. The history's time axis brings its own steps and asks the same question.
#include <QString>
#include <QStringList>
#include <qcustomplot.h>
#include <utility>

namespace ui {

// How many steps between ticks fit on an axis `axisPixels` long with labels `labelPixels` long
// (along the axis) and some room between them; at least 1.
int TickStepsThatFit(int axisPixels, int labelPixels);

// The smallest step that reads well and cuts `range` into at most maxSteps steps.
double ReadableValueStep(double range, int maxSteps);
// The same for a span of seconds labelled as a time of day: never below a second (the labels
// show whole seconds).
double ReadableTimeStep(double seconds, int maxSteps);

// A tick label's size as the axis draws it, in its tick label font; a label of several lines
// is as wide as its widest line and as high as all of them.
QRect TickLabelRect(const QCPAxis* axis, const QString& label);

// How many steps between ticks fit on `axis` as it was last laid out, for labels as large as
// the largest of `labels`.
int TickStepsOnAxis(const QCPAxis* axis, const QStringList& labels);

// A plot makes its ticks before it lays its axes out, so after a resize they would stay spaced
// for the size before until something replots. From this call on the plot lays itself out
// once more whenever its axis rectangle came out of a layout with another size than the one
// its ticks were made for.
void RespaceTicksOnResize(QCustomPlot* plot);

// A ticker that asks its axis how long it is and how large its labels are. The axis owns its
// ticker, so the ticker never outlives it.
template <class Base, double (*Step)(double, int)>
class ReadableTicker : public Base {
 public:
  ReadableTicker(QCPAxis* axis, QString widest) : axis_(axis), widest_(std::move(widest)) {}

 protected:
  double getTickStep(const QCPRange& range) override { return Step(range.size(), TickStepsOnAxis(axis_, {widest_})); }

 private:
  QCPAxis* axis_;
  QString widest_;
};

using ReadableValueTicker = ReadableTicker<QCPAxisTicker, ReadableValueStep>;
using ReadableTimeTicker = ReadableTicker<QCPAxisTickerDateTime, ReadableTimeStep>;

}  // namespace ui
