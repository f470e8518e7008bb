#include "history/axis_scale.h"

#include <algorithm>

namespace history {

AxisRange ScaleValueAxis(const ValueRange& range) {
  float max = range.Empty() ? 0.0f : range.Max();
  float min = range.Empty() ? 0.0f : range.Min();
  // Both extremes into the band, so values all beyond one end still give max >= min.
  max = std::clamp(max, -33000.0f, 33000.0f);
  min = std::clamp(min, -33000.0f, 33000.0f);
  if (max - min < 5.0f) {
    max += 2.0f;
    min -= 2.0f;
  }
  max += (max - min) * 0.05f;
  min -= (max - min) * 0.05f;
  AxisRange axis;
  // Up for the maximum (a fraction adds one, then is dropped); down for the minimum, so a
  // negative minimum such as -3.4 gives -4 and the lowest points stay on the chart.
  axis.max = std::trunc(max) != max ? std::trunc(max + 1.0f) : max;
  axis.min = std::floor(min);
  return axis;
}

}  // namespace history
