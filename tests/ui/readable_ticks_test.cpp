// The tick spacing both charts share: steps that read well, labels measured as the axis draws
// them, and ticks spaced anew when the plot is resized.
#include <gtest/gtest.h>

#include <QApplication>
#include <limits>

#include "support/tick_label_checks.h"
#include "ui/readable_ticks.h"

namespace {

using namespace ui;

// The steps the axes take: the smallest that reads well and keeps the ticks within bounds.
TEST(ReadableTicks, StepsReadWellAndKeepTheirBound) {
  struct Case { double range; int maxSteps; double value, time; };
  const Case cases[] = {
      {100, 5, 20, 30},     {100, 4, 25, 30},      {100, 3, 50, 60},       {5, 2, 2.5, 5},
      {1, 10, 0.1, 1},      {0.3, 1, 0.5, 1},      {120, 0, 200, 120},     {86400, 6, 20000, 21600},
      {7 * 86400.0, 2, 5e5, 5 * 86400.0},           {-1, 3, 1, 1},          {0, 3, 1, 1},
      {std::numeric_limits<double>::quiet_NaN(), 3, 1, 1},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << k.range << " in " << k.maxSteps);
    EXPECT_DOUBLE_EQ(ReadableValueStep(k.range, k.maxSteps), k.value);
    EXPECT_DOUBLE_EQ(ReadableTimeStep(k.range, k.maxSteps), k.time);
  }
  // Labels 50 pixels long: one step per 62 pixels, never none. A date over a time on the axis
  // of a window 400 pixels wide gets four steps.
  EXPECT_EQ(TickStepsThatFit(300, 50), 4);
  EXPECT_EQ(TickStepsThatFit(360, 70), 4);
  EXPECT_EQ(TickStepsThatFit(10, 50), 1);
  EXPECT_EQ(TickStepsThatFit(300, 0), 33);
}

// A label of a date over a time is as wide as its wider line and as high as both; the widest
// of several labels sets the spacing.
TEST(ReadableTicks, LabelsOfSeveralLinesMeasureAsDrawn) {
  QCustomPlot plot;
  plot.resize(1000, 1000);
  plot.replot();
  const QString date = QStringLiteral("05/12/2026"), time = QStringLiteral("08:00:05");
  const QString both = date + QLatin1Char('\n') + time;
  const QRect one = TickLabelRect(plot.xAxis, date), two = TickLabelRect(plot.xAxis, both);
  EXPECT_EQ(two.width(), one.width());
  EXPECT_GE(two.height(), 2 * one.height() - 2);
  EXPECT_EQ(TickStepsOnAxis(plot.xAxis, {both}), TickStepsOnAxis(plot.xAxis, {date}));
  EXPECT_GT(TickStepsOnAxis(plot.xAxis, {time}), TickStepsOnAxis(plot.xAxis, {date}));
  EXPECT_EQ(TickStepsOnAxis(plot.xAxis, {time, both}), TickStepsOnAxis(plot.xAxis, {both}));
  EXPECT_LT(TickStepsOnAxis(plot.yAxis, {both}), TickStepsOnAxis(plot.yAxis, {date}));
}

// Shrunk from a wide window to a narrow one, a plot's labels are spaced for the narrow one at
// once, with no other replot to come. They were spaced for the wide one until the next.
TEST(ReadableTicks, ResizedPlotSpacesItsTicksForItsNewSize) {
  QCustomPlot plot;
  plot.xAxis->setTicker(QSharedPointer<ReadableValueTicker>::create(plot.xAxis, QStringLiteral("0000000")));
  plot.xAxis->setRange(0, 1e6);
  RespaceTicksOnResize(&plot);
  plot.resize(1000, 300);
  plot.show();
  QApplication::processEvents();
  EXPECT_GE(testsupport::TickLabelsShown(*plot.xAxis), 5);
  for (const int width : {200, 340, 120, 1000, 400}) {
    SCOPED_TRACE(width);
    plot.resize(width, 300);
    EXPECT_EQ(testsupport::TickLabelsRunTogether(*plot.xAxis), std::vector<std::string>{});
    EXPECT_GE(testsupport::TickLabelsShown(*plot.xAxis), width >= 340 ? 2 : 1);
  }
}

}  // namespace
