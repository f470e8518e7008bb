#pragma once
// Looking up one value of a hand-over: the value buffer holds five floats per device, the
// time array one TDateTime per device. An index that is "no channel", or that lies outside
// either buffer (a stale index from another run), reads as the error value.
#include <cstddef>
#include <cstdint>
#include <span>

#include "display/display_kind.h"

struct ChannelReading {
  float value = 0;
  double time = 0;        // 0.0: the device has no reading yet
  bool fromDevice = false;  // false: the error value stands in
};

inline bool ChannelInReadings(int32_t index, std::span<const float> values,
                              std::span<const double> times) {
  if (index < 0 || index == kNoChannel) return false;
  size_t i = static_cast<size_t>(index);
  return i < values.size() && i / kValuesPerDevice < times.size();
}

// For a channel outside the buffers the time is the first device's, as the error value is
// shown against it.
inline ChannelReading ReadChannel(int32_t index, std::span<const float> values,
                                  std::span<const double> times, float errorValue) {
  if (!ChannelInReadings(index, values, times)) {
    return {errorValue, times.empty() ? 0.0 : times[0], false};
  }
  size_t i = static_cast<size_t>(index);
  return {values[i], times[i / kValuesPerDevice], true};
}
