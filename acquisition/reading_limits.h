#pragma once
// The limits of the reading and history intervals, wherever an interval comes from (the
// settings dialog, the environment file, the command line of the headless tool). An interval
// outside them would read the instruments too often or stall the history schedule.
#include <algorithm>
#include <cstdint>

namespace acquisition {

inline constexpr int32_t kMinReadIntervalMs = 250;
inline constexpr int32_t kMaxReadIntervalMs = 60000;
inline constexpr int32_t kDefaultReadIntervalMs = 1000;
inline constexpr int32_t kMinLogIntervalSlowMs = 250;
inline constexpr int32_t kMinLogIntervalFastMs = 10;
inline constexpr int32_t kMaxLogIntervalMs = 3600000;
inline constexpr int32_t kDefaultLogIntervalMs = 1000;

inline int32_t ClampReadInterval(int64_t ms) {
  return static_cast<int32_t>(std::clamp<int64_t>(ms, kMinReadIntervalMs, kMaxReadIntervalMs));
}
inline int32_t MinLogInterval(bool fast) { return fast ? kMinLogIntervalFastMs : kMinLogIntervalSlowMs; }
inline int32_t ClampLogInterval(int64_t ms, bool fast) {
  return static_cast<int32_t>(std::clamp<int64_t>(ms, MinLogInterval(fast), kMaxLogIntervalMs));
}

}  // namespace acquisition
