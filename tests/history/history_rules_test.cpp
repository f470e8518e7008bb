#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "support/allocation_meter.h"
#include "history/axis_scale.h"
#include "history/history_parser.h"
#include "history/point_search.h"
#include "history/run_lanes.h"
#include "history/series_titles.h"

using history::AxisRange;
using history::ScaleValueAxis;
using history::ValueRange;

namespace {

AxisRange AxisOf(const std::vector<float>& values) {
  ValueRange range;
  for (float v : values) range.Add(v);
  return ScaleValueAxis(range);
}

}  // namespace

TEST(ValueAxis, KnownRangesAreNeverInverted) {
  const struct { std::vector<float> values; double min, max; } cases[] = {
      {{10, 10, 10}, 7, 13},              // 8..12, then 7.79..12.2
      {{0, 100}, -6, 105},                // 105 exactly stays; -5.25 goes down
      {{-50000, 50000}, -36465, 36300},   // cut at +-33000 first
      {{-10}, -13, -6},                   // -12.21 down, -7.8 up
      {{40000, 50000}, 32997, 33003},     // all beyond the cut: still an axis
      {{}, -3, 3},                        // no value: a range around 0
      {{NAN, NAN}, -3, 3},
  };
  for (const auto& c : cases) {
    const AxisRange axis = AxisOf(c.values);
    EXPECT_EQ(axis.min, c.min) << c.values.size();
    EXPECT_EQ(axis.max, c.max) << c.values.size();
  }
}

// The interval holding the time in an ordered series; in one whose time stamps go back (a
// clock set back) still an index inside the series.
TEST(PointSearch, FindsTheIntervalAndStaysInsideTheSeries) {
  const std::vector<double> keys = {1, 2, 3, 4, 6};
  auto at = [&](size_t i) { return keys.at(i); };
  for (double x : {1.0, 1.5, 2.0, 2.5, 3.99, 4.0, 5.0, 6.0}) {
    const long i = history::FindPointIndex(at, keys.size(), x);
    ASSERT_TRUE(i >= 0 && i + 1 < 5) << x;
    EXPECT_TRUE(keys[i] <= x && x <= keys[i + 1]) << x;
  }
  EXPECT_EQ(history::FindPointIndex(at, 1, 1.0), 0);
  EXPECT_EQ(history::FindPointIndex(at, 0, 1.0), -1);
  EXPECT_EQ(history::FindPointIndex(at, keys.size(), NAN), -1);
  std::vector<double> unordered;
  auto unorderedAt = [&](size_t i) { return unordered.at(i); };
  std::mt19937 random(3);
  std::uniform_real_distribution<double> key(0, 100);
  for (int n = 1; n < 60; ++n) {
    unordered.push_back(key(random));
    for (double x : {-5.0, 0.0, 50.0, 99.0, 150.0})
      ASSERT_LT(static_cast<size_t>(history::FindPointIndex(unorderedAt, unordered.size(), x)), unordered.size()) << n;
  }
}

TEST(SeriesTitles, FollowTheDeviceNames) {
  const struct { std::string header; std::vector<std::string> titles; std::string chartTitle; } cases[] = {
      {" , , Sonda A, \n , , Canal 1, Canal 2\n , , C, %\n", {"Canal 1", "Canal 2"}, "Sonda A"},
      {" , , Sonda A, , Forno, \n , , Canal 1, Canal 2, Ambiente, Canal 1\n , \n",
       {"Sonda A / Canal 1", "Sonda A / Canal 2", "Forno / Ambiente", "Forno / Canal 1"}, "Sonda A, Forno"},
      // A value left of every device name keeps its name alone.
      {" , , , Sonda A, Forno\n , , Canal 3, Canal 1, Canal 2\n , \n",
       {"Canal 3", "Sonda A / Canal 1", "Forno / Canal 2"}, "Sonda A, Forno"},
      {" , \n , , Canal 1\n , \n", {"Canal 1"}, ""},
      // A device named over the time column names the values left of every other.
      {" , Sonda A, , Forno, Estufa\n , , Canal 1, Canal 2, Canal 3\n , \n",
       {"Sonda A / Canal 1", "Forno / Canal 2", "Estufa / Canal 3"}, "Forno, Estufa"},
  };
  for (const auto& c : cases) {
    history::HistoryData data;
    ASSERT_EQ(history::HistoryParser::Parse(c.header, data), history::ReadStatus::Ok);
    ASSERT_EQ(data.ValueColumnCount(), c.titles.size()) << c.header;
    EXPECT_EQ(history::SeriesTitles(data), c.titles) << c.header;
    EXPECT_EQ(history::ChartTitle(data), c.chartTitle) << c.header;
  }
}

// A device name is repeated in the title of every column under it: a long one is cut there
// (the table keeps it whole), so 60 KB of header with one device name of 30,000 bytes over
// 30,000 columns gives titles of a few megabytes, not of 900.
TEST(SeriesTitles, LongNamesAreCutSoTitlesStaySmall) {
  const size_t columns = 30000;
  const std::string longName(columns, 'A');
  history::HistoryData data;
  ASSERT_EQ(history::HistoryParser::Parse(" , , B, " + longName + "\n , , " + longName + std::string(columns - 1, ',') +
                                              "\n , \n01/01/2026, 00:00:00.000, 1\n",
                                          data),
            history::ReadStatus::Ok);
  ASSERT_EQ(data.ValueColumnCount(), columns);
  allocation_meter::Restart();
  const std::vector<std::string> titles = history::SeriesTitles(data);
  const std::string chartTitle = history::ChartTitle(data);
  EXPECT_LT(allocation_meter::PeakSinceRestart(), columns * 128);

  const std::string cut = std::string(history::kLongestTitleName - 1, 'A') + "\x85";
  ASSERT_EQ(titles.size(), columns);
  EXPECT_EQ(titles[0], "B / " + cut);
  EXPECT_EQ(titles[1], cut + " / ");
  EXPECT_EQ(titles[columns - 1], cut + " / ");
  EXPECT_EQ(chartTitle, "B, " + cut);
  EXPECT_EQ(data.HeaderCell(0, 3), longName);
  EXPECT_EQ(data.HeaderCell(1, 2), longName);
  // A name of exactly the longest length stays whole.
  EXPECT_EQ(history::TitleName(std::string(history::kLongestTitleName, 'x')), std::string(history::kLongestTitleName, 'x'));
}

// Runs in time order share one lane with a break strictly between each two; a run that
// overlaps every lane opens a new one; an empty run takes no place.
TEST(RunLanes, OverlappingRunsNeverShareALane) {
  const double inf = INFINITY;
  const std::vector<history::RunSpan> spans = {
      {10, 20}, {30, 40}, {inf, -inf},
      {35, 50},    // a clock set back: overlaps lane 0
      {38, 60},    // overlaps lanes 0 and 1
      {55, 70},    // after the lane that ends first (lane 0, at 40)
      {100, 100},  // one line: after lane 1, which now ends first (at 50)
  };
  const history::RunLanes lanes = history::AssignRunLanes(spans);
  EXPECT_EQ(lanes.laneCount, 3u);
  EXPECT_EQ(lanes.laneOfRun, (std::vector<size_t>{0, 0, 0, 1, 2, 0, 1}));
  const double breaks[] = {NAN, 25, NAN, NAN, NAN, 47.5, 75};
  for (size_t r = 0; r < spans.size(); ++r) {
    if (std::isnan(breaks[r]))
      EXPECT_TRUE(std::isnan(lanes.breakBefore[r])) << r;
    else
      EXPECT_EQ(lanes.breakBefore[r], breaks[r]) << r;
  }
  // Runs that touch (the next starts at the same millisecond) can't have a break between.
  EXPECT_EQ(history::AssignRunLanes({{10, 20}, {20, 30}}).laneCount, 2u);
}
