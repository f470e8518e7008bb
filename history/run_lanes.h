#pragma once
// Recording runs shared out among chart lanes: in one lane the runs follow one another in
// time, so a single key-sorted line holds them all with a break between two runs. A run
// that overlaps the runs of every lane so far (a clock set back between two recordings)
// opens a new lane, so that sorting by time never mixes the points of two runs.
#include <cstddef>
#include <utility>
#include <vector>

namespace history {

// Earliest and latest time (chart key) of a run; an empty run has first > last.
using RunSpan = std::pair<double, double>;

struct RunLanes {
  std::vector<size_t> laneOfRun;
  // A key strictly between the run and the one before it in its lane, where the line
  // breaks; NaN for a run that opens its lane (and for an empty run).
  std::vector<double> breakBefore;
  size_t laneCount = 0;
};

// Time-ordered runs all share lane 0; the cost is n log(lanes).
RunLanes AssignRunLanes(const std::vector<RunSpan>& spans);

}  // namespace history
