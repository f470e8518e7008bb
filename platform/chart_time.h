#pragma once
// Chart keys: the chart's date-time axis counts seconds since 1970-01-01 and labels them as
// UTC, while readings carry a TDateTime of local time (days since 1899-12-30). Mapping the
// local TDateTime straight onto that scale makes the axis show the local wall-clock time.
#include "platform/datetime.h"

namespace chart_time {

inline constexpr double kUnixEpochAsDateTime = 25569.0;  // 1970-01-01
inline constexpr double kSecondsPerDay = 86400.0;

inline double KeyFromDateTime(TDateTime t) { return (t - kUnixEpochAsDateTime) * kSecondsPerDay; }
inline TDateTime DateTimeFromKey(double key) { return key / kSecondsPerDay + kUnixEpochAsDateTime; }
inline double SecondsFromDays(double days) { return days * kSecondsPerDay; }

}  // namespace chart_time
