#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "history/axis_scale.h"
#include "history/history_parser.h"
#include "history/point_search.h"
#include "history/series_titles.h"

using history::AxisRange;
using history::ScaleValueAxis;
using history::ValueRange;

namespace {

AxisRange AxisOf(std::initializer_list<float> values) {
  ValueRange range;
  for (float v : values) range.Add(v);
  return ScaleValueAxis(range);
}

history::HistoryData Parse(const std::string& text) {
  history::HistoryData data;
  EXPECT_EQ(history::HistoryParser::Parse(text, data), history::ReadStatus::Ok);
  return data;
}

}  // namespace

TEST(ValueAxis, KnownRanges) {
  struct Case {
    std::vector<float> values;
    double min, max;
  };
  const Case cases[] = {
      {{10, 10, 10}, 7, 13},          // 8..12, then 7.79..12.2
      {{0, 100}, -6, 105},            // 105 exactly stays; -5.25 goes down
      {{-50000, 50000}, -36465, 36300},  // cut at +-33000 first
      {{-10}, -13, -6},               // -12.21 down, -7.8 up
      {{40000, 50000}, 32997, 33003},  // all beyond the cut: still an axis, not an inverted one
      {{}, -3, 3},                    // no value: a range around 0, never inverted
      {{NAN, NAN}, -3, 3},
  };
  for (const Case& c : cases) {
    ValueRange range;
    for (float v : c.values) range.Add(v);
    const AxisRange axis = ScaleValueAxis(range);
    EXPECT_EQ(axis.min, c.min) << c.values.size();
    EXPECT_EQ(axis.max, c.max) << c.values.size();
  }
}

// Whatever the values, every one of them (cut to +-33000) lies on the axis.
TEST(ValueAxis, EveryValueStaysOnTheAxis) {
  std::mt19937 random(7);
  std::uniform_real_distribution<float> centre(-40000, 40000), spread(0, 20);
  for (int i = 0; i < 20000; ++i) {
    const float a = centre(random), b = a + spread(random);
    const AxisRange axis = AxisOf({a, b});
    EXPECT_LE(axis.min, std::clamp(a, -33000.0f, 33000.0f)) << a << " " << b;
    EXPECT_GE(axis.max, std::clamp(b, -33000.0f, 33000.0f)) << a << " " << b;
    EXPECT_LT(axis.min, axis.max);
  }
  const AxisRange low = AxisOf({-3.1f, 2.0f});
  EXPECT_LE(low.min, -3.1);
}

TEST(PointSearch, FindsTheIntervalHoldingTheTime) {
  const std::vector<double> keys = {1, 2, 3, 4, 6};
  auto at = [&](size_t i) { return keys[i]; };
  for (double x : {1.0, 1.5, 2.0, 2.5, 3.99, 4.0, 5.0, 6.0}) {
    const long i = history::FindPointIndex(at, keys.size(), x);
    ASSERT_GE(i, 0) << x;
    ASSERT_LT(i + 1, static_cast<long>(keys.size())) << x;
    EXPECT_LE(keys[i], x);
    EXPECT_GE(keys[i + 1], x);
  }
  EXPECT_EQ(history::FindPointIndex(at, 1, 1.0), 0);
  EXPECT_EQ(history::FindPointIndex(at, 0, 1.0), -1);
  EXPECT_EQ(history::FindPointIndex(at, keys.size(), NAN), -1);
}

// Out of order keys (a clock set back) or a time beyond the series end in an index inside it.
TEST(PointSearch, StaysInsideUnorderedSeries) {
  std::mt19937 random(3);
  std::uniform_real_distribution<double> key(0, 100);
  for (int n = 1; n < 60; ++n) {
    std::vector<double> keys(n);
    for (double& k : keys) k = key(random);
    auto at = [&](size_t i) { return keys.at(i); };
    for (double x : {-5.0, 0.0, 50.0, 99.0, 150.0}) {
      const long index = history::FindPointIndex(at, keys.size(), x);
      EXPECT_GE(index, 0);
      EXPECT_LT(index, n);
    }
  }
}

TEST(SeriesTitles, FollowTheDeviceNames) {
  struct Case {
    const char* name;
    std::string header;
    std::vector<std::string> titles;
    std::string chartTitle;
  };
  const Case cases[] = {
      {"one device", " , , Sonda A, \n , , Canal 1, Canal 2\n , , C, %\n", {"Canal 1", "Canal 2"}, "Sonda A"},
      {"two devices",
       " , , Sonda A, , Forno, \n , , Canal 1, Canal 2, Ambiente, Canal 1\n , \n",
       {"Sonda A / Canal 1", "Sonda A / Canal 2", "Forno / Ambiente", "Forno / Canal 1"},
       "Sonda A, Forno"},
      {"a value left of every device name",
       " , , , Sonda A, Forno\n , , Canal 3, Canal 1, Canal 2\n , \n",
       {"Canal 3", "Sonda A / Canal 1", "Forno / Canal 2"},
       "Sonda A, Forno"},
      {"no device names", " , \n , , Canal 1\n , \n", {"Canal 1"}, ""},
  };
  for (const Case& c : cases) {
    const history::HistoryData data = Parse(c.header);
    ASSERT_EQ(data.ValueColumnCount(), c.titles.size()) << c.name;
    for (size_t i = 0; i < c.titles.size(); ++i) EXPECT_EQ(history::SeriesTitle(data, i), c.titles[i]) << c.name;
    EXPECT_EQ(history::ChartTitle(data), c.chartTitle) << c.name;
  }
}
