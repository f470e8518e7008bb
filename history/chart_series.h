#pragma once
// The chart's points of a history file: each value column's lanes (see ColumnLines), the
// time span and lane of each recording run, and the range of the values.
#include <vector>

#include "history/axis_scale.h"
#include "history/column_lines.h"
#include "history/history_data.h"
#include "history/run_lanes.h"

namespace history {

struct ChartSeries {
  std::vector<std::vector<ColumnLines::Lane>> lanes;  // [value column][lane]
  std::vector<RunSpan> runSpans;                      // chart keys
  RunLanes runLanes;
  ValueRange range;
};

// Values that didn't convert are no points (the line joins their neighbours). Each lane is
// sized from a count of its points first, so memory follows the values read.
ChartSeries BuildChartSeries(const HistoryData& data);

}  // namespace history
