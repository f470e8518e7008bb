#pragma once
// Names of the chart's series and of the chart, from the header rows (code page 1252).
#include <string>

#include "history/history_data.h"

namespace history {

// Value column c (table column c + 2). With two or more device names in the header the
// title is "device / value", the device being the nearest name at or left of the column;
// with one device or none, the value name alone.
std::string SeriesTitle(const HistoryData& data, size_t valueColumn);

// The device names of the header, in order, joined with ", ".
std::string ChartTitle(const HistoryData& data);

}  // namespace history
