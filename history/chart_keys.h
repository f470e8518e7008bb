#pragma once
// The chart's x axis counts seconds from 1970-01-01 00:00 of the same wall time as the file's
// time stamps (which carry no time zone), so the date axis shows them unchanged in UTC.
#include "platform/datetime.h"

namespace history {

inline constexpr double kUnixEpochAsDateTime = 25569.0;  // 1970-01-01
inline constexpr double kSecondsPerDay = 86400.0;

inline double ChartKey(TDateTime t) { return (t - kUnixEpochAsDateTime) * kSecondsPerDay; }
inline TDateTime TimeOfChartKey(double key) { return key / kSecondsPerDay + kUnixEpochAsDateTime; }

}  // namespace history
