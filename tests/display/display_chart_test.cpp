// The chart element offscreen: what each hand-over leaves in its series and on its axes.
#include <gtest/gtest.h>

#include <QWidget>
#include <qcustomplot.h>
#include <vector>

#include "display/chart_time.h"
#include "display/display_chart.h"

namespace {

constexpr double kSecond = 1.0 / 86400.0;
constexpr double kT0 = 45000.5;  // a day in 2023, noon

ChartChannelEntry Channel(int32_t index, const char* name = "c") {
  ChartChannelEntry e;
  e.channelIndex = index;
  e.name = name;
  return e;
}

DisplayConfig ChartConfig(std::vector<ChartChannelEntry> channels, double periodSeconds = 120) {
  DisplayConfig c = DisplayConfig::NewWindowDefaults();
  ChartSettings s = c.Chart();
  s.visiblePeriod = periodSeconds * kSecond;
  c.SetChart(s);
  c.chartChannels = std::move(channels);
  return c;
}

std::vector<double> Keys(QCPGraph* g) {
  std::vector<double> keys;
  for (auto it = g->data()->constBegin(); it != g->data()->constEnd(); ++it) {
    keys.push_back(chart_time::DateTimeFromKey(it->key));
  }
  return keys;
}

std::vector<double> Values(QCPGraph* g) {
  std::vector<double> v;
  for (auto it = g->data()->constBegin(); it != g->data()->constEnd(); ++it) v.push_back(it->value);
  return v;
}

class ChartTest : public testing::Test {
 protected:
  void Feed(DisplayChart& chart, const DisplayConfig& c, std::vector<float> values,
            std::vector<double> times, float error = -1) {
    chart.Update(values, times, c, error);
  }
  QWidget panel_;
};

TEST_F(ChartTest, KeepsOnlyOnePeriodAndDropsPointsFromBeforeAClockSetBack) {
  DisplayConfig c = ChartConfig({Channel(1)}, 120);
  DisplayChart chart(c, &panel_);
  QCPGraph* g = chart.Series().at(0);
  for (int s = 0; s <= 180; s += 30) Feed(chart, c, {0, float(s), 0, 0, 0}, {kT0 + s * kSecond});
  // 180 s is the newest point: 60 s and later are inside the two minutes.
  ASSERT_EQ(Keys(g).size(), 5u);
  EXPECT_NEAR(Keys(g).front(), kT0 + 60 * kSecond, 1e-9);
  EXPECT_EQ(Values(g).back(), 180);

  // The wall clock is set back one hour: nothing from the later hour may stay.
  Feed(chart, c, {0, -5, 0, 0, 0}, {kT0 - 3600 * kSecond});
  EXPECT_EQ(Values(g), std::vector<double>{-5});
  Feed(chart, c, {0, -4, 0, 0, 0}, {kT0 - 3599 * kSecond});
  EXPECT_EQ(Values(g), (std::vector<double>{-5, -4}));
}

TEST_F(ChartTest, ChannelsWithoutReadingOrOutsideTheRun) {
  // Device 0 has read, device 1 has not; one channel names no value, one lies past the buffer.
  DisplayConfig c = ChartConfig({Channel(6), Channel(kNoChannel), Channel(1), Channel(12)});
  DisplayChart chart(c, &panel_);
  Feed(chart, c, {0, 21.5f, 0, 0, 0, 0, 7, 0, 0, 0}, {kT0, 0.0}, -99);
  const auto& s = chart.Series();
  EXPECT_TRUE(s[0]->data()->isEmpty());  // device 1 has no reading yet
  EXPECT_EQ(Values(s[1]), std::vector<double>{-99});
  EXPECT_NEAR(Keys(s[1]).at(0), kT0, 1e-9);  // against the first device's time
  EXPECT_EQ(Values(s[2]), std::vector<double>{21.5});
  EXPECT_EQ(Values(s[3]), std::vector<double>{-99});
  // The time axis ends at the first channel with a reading.
  EXPECT_NEAR(chart.Plot()->xAxis->range().upper, chart_time::KeyFromDateTime(kT0), 1e-3);
  EXPECT_NEAR(chart.Plot()->xAxis->range().size(), 120, 1e-3);
}

TEST_F(ChartTest, ReferenceLinesOnePointPerTimeAndOutOfTheLegend) {
  DisplayConfig c = ChartConfig({Channel(1, "A"), Channel(2, "B")});
  ChartSettings s = c.Chart();
  s.ref1On = true;
  s.ref1Value = 80;
  s.ref2On = true;
  s.ref2Value = -20;
  c.SetChart(s);
  DisplayChart chart(c, &panel_);
  ASSERT_NE(chart.ReferenceSeries(0), nullptr);
  EXPECT_EQ(chart.Plot()->legend->itemCount(), 2);
  EXPECT_FALSE(chart.Plot()->legend->hasItemWithPlottable(chart.ReferenceSeries(0)));

  Feed(chart, c, {0, 1, 2, 0, 0}, {kT0});
  Feed(chart, c, {0, 1, 2, 0, 0}, {kT0});  // the same reading handed over again
  Feed(chart, c, {0, 1, 2, 0, 0}, {kT0 + kSecond});
  EXPECT_EQ(Values(chart.ReferenceSeries(0)), (std::vector<double>{80, 80}));
  EXPECT_EQ(Values(chart.ReferenceSeries(1)), (std::vector<double>{-20, -20}));
  EXPECT_EQ(chart.Series()[0]->data()->size(), 3);  // channels take every hand-over
}

TEST_F(ChartTest, ReferenceLinesFollowTheFirstDeviceWithoutChannels) {
  DisplayConfig c = ChartConfig({});
  ChartSettings s = c.Chart();
  s.ref1On = true;
  c.SetChart(s);
  DisplayChart chart(c, &panel_);
  Feed(chart, c, {0, 0, 0, 0, 0}, {kT0});
  Feed(chart, c, {0, 0, 0, 0, 0}, {kT0 + 2 * kSecond});
  EXPECT_EQ(Keys(chart.ReferenceSeries(0)).size(), 2u);
  EXPECT_EQ(chart.ReferenceSeries(1), nullptr);
}

TEST_F(ChartTest, AdjustTimeSpanWidensOnlyShortPeriods) {
  struct Case { double periodSeconds; int intervalMs; double expectSeconds; bool changed; };
  const Case cases[] = {{1, 1000, 2, true},     {120, 1000, 120, false}, {0, 250, 1.25, true},
                        {60, 60000, 61, true},  {61, 60000, 61, false}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.periodSeconds);
    DisplayConfig c = ChartConfig({}, k.periodSeconds);
    DisplayChart chart(c, &panel_);
    EXPECT_EQ(chart.AdjustTimeSpan(k.intervalMs), k.changed);
    EXPECT_NEAR(chart.VisiblePeriod() / kSecond, k.expectSeconds, 1e-6);
  }
}

TEST_F(ChartTest, SeriesTitlesInOrderAndPointsCleared) {
  DisplayConfig c = ChartConfig({Channel(1, " first "), Channel(2, "second")});
  DisplayChart chart(c, &panel_);
  EXPECT_EQ(chart.Series()[0]->name(), "first");
  Feed(chart, c, {0, 1, 2, 0, 0}, {kT0});

  chart.SetSeriesTitles("Estufa / Canal 1 / \xB0" "C~#~ Sala ~#~");
  EXPECT_EQ(chart.Series()[0]->name(), QString::fromUtf8("Estufa / Canal 1 / °C"));
  EXPECT_EQ(chart.Series()[1]->name(), "Sala");
  EXPECT_TRUE(chart.Series()[0]->data()->isEmpty());

  chart.SetSeriesTitles("A~#~B");  // no final marker: the last title stays
  EXPECT_EQ(chart.Series()[0]->name(), "A");
  EXPECT_EQ(chart.Series()[1]->name(), "Sala");
}

TEST_F(ChartTest, PanningIsVerticalAndThePlotAreaIsTheAxisRect) {
  DisplayConfig c = ChartConfig({Channel(1)});
  panel_.resize(340, 250);
  DisplayChart chart(c, &panel_);
  chart.Plot()->replot();
  EXPECT_EQ(chart.Plot()->axisRect()->rangeDrag(), Qt::Vertical);
  const QRect area = chart.Plot()->axisRect()->rect();
  EXPECT_TRUE(chart.IsInPlotArea(area.center()));
  EXPECT_TRUE(chart.IsInPlotArea(area.topLeft()));
  EXPECT_FALSE(chart.IsInPlotArea(QPoint(1, 1)));
  EXPECT_FALSE(chart.IsInPlotArea(area.bottomRight() + QPoint(1, 1)));
}

}  // namespace
