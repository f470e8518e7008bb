#include "history/run_lanes.h"

#include <functional>
#include <limits>
#include <queue>

namespace history {

RunLanes AssignRunLanes(const std::vector<RunSpan>& spans) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  RunLanes result;
  result.laneOfRun.assign(spans.size(), 0);
  result.breakBefore.assign(spans.size(), kNaN);
  // The lane that ends earliest is the one a later run can most likely follow.
  using LaneEnd = std::pair<double, size_t>;  // latest key so far, lane
  std::priority_queue<LaneEnd, std::vector<LaneEnd>, std::greater<>> ends;
  for (size_t r = 0; r < spans.size(); ++r) {
    const auto [first, last] = spans[r];
    if (first > last) continue;
    if (!ends.empty()) {
      const auto [end, lane] = ends.top();
      // The break point must fall strictly between the two runs' keys.
      const double between = end + (first - end) / 2;
      if (end < between && between < first) {
        ends.pop();
        result.laneOfRun[r] = lane;
        result.breakBefore[r] = between;
        ends.push({last, lane});
        continue;
      }
    }
    result.laneOfRun[r] = result.laneCount;
    ends.push({last, result.laneCount++});
  }
  return result;
}

}  // namespace history
