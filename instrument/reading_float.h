#pragma once
// A reading row holds 32-bit floats. A number beyond their range (or no number at all, such
// as the product of a counter and a damaged factor) would land there as an infinity or a NaN,
// which every later step (charts, files, triggers) takes for a real reading.
#include <cmath>
#include <limits>
#include <optional>

namespace device {

// The value as a float of the row; nothing when it is not finite or beyond the float range.
inline std::optional<float> ToReadingFloat(double value) {
  if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max()) return std::nullopt;
  return static_cast<float>(value);
}

}  // namespace device
