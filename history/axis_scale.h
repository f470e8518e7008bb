#pragma once
// The value axis of the history chart: the values' range with some room, in whole numbers.
#include <cmath>

namespace history {

// Running extremes in 32-bit floats, as the chart plots the values.
class ValueRange {
 public:
  void Add(float value) {
    if (std::isnan(value)) return;
    if (value > max_) max_ = value;
    if (value < min_) min_ = value;
    any_ = true;
  }
  bool Empty() const { return !any_; }
  float Max() const { return max_; }
  float Min() const { return min_; }

 private:
  float max_ = -200000.0f;
  float min_ = 200000.0f;
  bool any_ = false;
};

struct AxisRange {
  double min = 0;
  double max = 0;
};

// Extremes beyond +-33000 are cut there (error values must not flatten the chart); a range
// under 5 is widened by 2 each way; 5 % room is added above, then below; the maximum is
// rounded up and the minimum down to whole numbers. With no value at all the axis is the
// one of a range around 0.
AxisRange ScaleValueAxis(const ValueRange& range);

}  // namespace history
