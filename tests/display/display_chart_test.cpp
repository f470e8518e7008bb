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

DisplayConfig ChartConfig(std::vector<int32_t> channelIndexes, double periodSeconds = 120) {
  DisplayConfig c = DisplayConfig::NewWindowDefaults();
  ChartSettings s = c.Chart();
  s.visiblePeriod = periodSeconds * kSecond;
  s.ref1Value = 80;
  s.ref2Value = -20;
  c.SetChart(s);
  for (int32_t index : channelIndexes) {
    c.chartChannels.emplace_back();
    c.chartChannels.back().channelIndex = index;
  }
  return c;
}

std::vector<double> Values(QCPGraph* g) {
  std::vector<double> v;
  for (auto it = g->data()->constBegin(); it != g->data()->constEnd(); ++it) v.push_back(it->value);
  return v;
}

double FirstTime(QCPGraph* g) { return chart_time::DateTimeFromKey(g->data()->constBegin()->key); }

class ChartTest : public testing::Test {
 protected:
  static void Feed(DisplayChart& chart, const DisplayConfig& c, std::vector<float> values,
                   std::vector<double> times) {
    chart.Update(values, times, c, -99);
  }
  QWidget panel_;
};

TEST_F(ChartTest, KeepsOnlyOnePeriodAndDropsPointsFromBeforeAClockSetBack) {
  DisplayConfig c = ChartConfig({1}, 120);
  DisplayChart chart(c, &panel_);
  QCPGraph* g = chart.Series().at(0);
  for (int s = 0; s <= 180; s += 30) Feed(chart, c, {0, float(s), 0, 0, 0}, {kT0 + s * kSecond});
  // 180 s is the newest point: 60 s and later are inside the two minutes.
  EXPECT_EQ(Values(g), (std::vector<double>{60, 90, 120, 150, 180}));

  // The wall clock is set back one hour: nothing from the later hour may stay.
  Feed(chart, c, {0, -5, 0, 0, 0}, {kT0 - 3600 * kSecond});
  Feed(chart, c, {0, -4, 0, 0, 0}, {kT0 - 3599 * kSecond});
  EXPECT_EQ(Values(g), (std::vector<double>{-5, -4}));
}

TEST_F(ChartTest, ChannelsWithoutReadingOrOutsideTheRun) {
  // Device 0 has read, device 1 has not; one channel names no value, one lies past the buffer.
  DisplayConfig c = ChartConfig({6, kNoChannel, 1, 12});
  DisplayChart chart(c, &panel_);
  Feed(chart, c, {0, 21.5f, 0, 0, 0, 0, 7, 0, 0, 0}, {kT0, 0.0});
  const auto& s = chart.Series();
  EXPECT_TRUE(s[0]->data()->isEmpty());
  EXPECT_EQ(Values(s[1]), std::vector<double>{-99});
  EXPECT_NEAR(FirstTime(s[1]), kT0, 1e-9);  // against the first device's time
  EXPECT_EQ(Values(s[2]), std::vector<double>{21.5});
  EXPECT_EQ(Values(s[3]), std::vector<double>{-99});
  // The time axis ends at the first channel with a reading and spans the period.
  EXPECT_NEAR(chart.Plot()->xAxis->range().upper, chart_time::KeyFromDateTime(kT0), 1e-3);
  EXPECT_NEAR(chart.Plot()->xAxis->range().size(), 120, 1e-3);
}

TEST_F(ChartTest, ReferenceLinesOnePointPerTimeAndOutOfTheLegend) {
  for (bool withChannels : {true, false}) {
    SCOPED_TRACE(withChannels);
    DisplayConfig c = ChartConfig(withChannels ? std::vector<int32_t>{1, 2} : std::vector<int32_t>{});
    ChartSettings s = c.Chart();
    s.ref1On = s.ref2On = true;
    c.SetChart(s);
    DisplayChart chart(c, &panel_);
    EXPECT_EQ(chart.Plot()->legend->itemCount(), withChannels ? 2 : 0);
    Feed(chart, c, {0, 1, 2, 0, 0}, {kT0});
    Feed(chart, c, {0, 1, 2, 0, 0}, {kT0});  // the same reading handed over again
    Feed(chart, c, {0, 1, 2, 0, 0}, {kT0 + kSecond});
    EXPECT_EQ(Values(chart.ReferenceSeries(0)), (std::vector<double>{80, 80}));
    EXPECT_EQ(Values(chart.ReferenceSeries(1)), (std::vector<double>{-20, -20}));
    for (QCPGraph* g : chart.Series()) EXPECT_EQ(g->data()->size(), 3);  // every hand-over
  }
}

TEST_F(ChartTest, AdjustTimeSpanWidensOnlyShortPeriods) {
  struct Case { double periodSeconds; int intervalMs; double expectSeconds; bool changed; };
  const Case cases[] = {{1, 1000, 2, true},    {120, 1000, 120, false}, {0, 250, 1.25, true},
                        {60, 60000, 61, true}, {61, 60000, 61, false},  {1, -5, 1, false}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.periodSeconds);
    DisplayConfig c = ChartConfig({}, k.periodSeconds);
    DisplayChart chart(c, &panel_);
    EXPECT_EQ(chart.AdjustTimeSpan(k.intervalMs), k.changed);
    EXPECT_NEAR(chart.VisiblePeriod() / kSecond, k.expectSeconds, 1e-6);
  }
}

TEST_F(ChartTest, SeriesTitlesInOrderAndPointsCleared) {
  DisplayConfig c = ChartConfig({1, 2});
  c.chartChannels[0].name = " first ";
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

}  // namespace
