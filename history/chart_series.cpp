#include "history/chart_series.h"

#include <limits>

#include "platform/chart_time.h"

namespace history {

namespace {

constexpr size_t kNone = std::numeric_limits<size_t>::max();

// Per column and lane while the points are gathered.
struct LaneBuild {
  QVector<QCPGraphData> points;
  qsizetype count = 0;
  size_t lastRun = kNone;
};

}  // namespace

ChartSeries BuildChartSeries(const HistoryData& data) {
  ChartSeries series;
  const auto& runs = data.Runs();
  const auto& times = data.Times();
  std::vector<double> keys(times.size());
  std::vector<bool> runSorted(runs.size(), true);
  series.runSpans.reserve(runs.size());
  for (size_t r = 0; r < runs.size(); ++r) {
    RunSpan span(std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity());
    for (size_t i = runs[r].firstRow; i < runs[r].firstRow + runs[r].rowCount; ++i) {
      keys[i] = chart_time::KeyFromDateTime(times[i]);
      if (i > runs[r].firstRow && keys[i] < keys[i - 1]) runSorted[r] = false;
      span = {std::min(span.first, keys[i]), std::max(span.second, keys[i])};
    }
    series.runSpans.push_back(span);
  }
  series.runLanes = AssignRunLanes(series.runSpans);
  std::vector<bool> laneSorted(series.runLanes.laneCount, true);
  for (size_t r = 0; r < runs.size(); ++r)
    if (!runSorted[r]) laneSorted[series.runLanes.laneOfRun[r]] = false;

  // Twice over every value: first to count each lane's points, then to place them.
  std::vector<std::vector<LaneBuild>> build(data.ValueColumnCount());
  const auto walk = [&](auto&& onPoint, auto&& onBreak) {
    for (size_t r = 0; r < runs.size(); ++r) {
      const size_t lane = series.runLanes.laneOfRun[r];
      for (size_t row = runs[r].firstRow; row < runs[r].firstRow + runs[r].rowCount; ++row) {
        const double* values = data.RowValues(row);
        const size_t count = data.RowValueCount(row);
        for (size_t c = 0; c < count; ++c) {
          if (values[c] != values[c]) continue;
          std::vector<LaneBuild>& lanes = build[c];
          if (lanes.size() <= lane) lanes.resize(lane + 1);
          LaneBuild& target = lanes[lane];
          if (target.lastRun != r) {
            if (target.lastRun != kNone) onBreak(target, series.runLanes.breakBefore[r]);
            target.lastRun = r;
          }
          onPoint(target, keys[row], values[c]);
        }
      }
    }
  };
  walk([&](LaneBuild& lane, double, double value) {
         ++lane.count;
         series.range.Add(static_cast<float>(value));
       },
       [](LaneBuild& lane, double) { ++lane.count; });
  for (auto& lanes : build)
    for (LaneBuild& lane : lanes) {
      lane.points.reserve(lane.count);
      lane.lastRun = kNone;
    }
  // The chart plots 32-bit floats, as the values were measured.
  walk([](LaneBuild& lane, double key, double value) { lane.points.append(QCPGraphData(key, static_cast<float>(value))); },
       [](LaneBuild& lane, double key) { lane.points.append(QCPGraphData(key, std::numeric_limits<double>::quiet_NaN())); });

  series.lanes.resize(build.size());
  for (size_t c = 0; c < build.size(); ++c) {
    series.lanes[c].reserve(build[c].size());
    for (size_t lane = 0; lane < build[c].size(); ++lane) {
      auto container = ColumnLines::Lane::create();
      container->set(build[c][lane].points, laneSorted[lane]);
      build[c][lane].points = {};
      series.lanes[c].push_back(std::move(container));
    }
  }
  return series;
}

}  // namespace history
