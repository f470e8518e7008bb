#pragma once
// Names of the chart's series and of the chart, from the header rows (code page 1252).
#include <string>
#include <vector>

#include "history/history_data.h"

namespace history {

// One title per value column (table column c + 2). With two or more device names in the
// header the title is "device / value", the device being the nearest name at or left of the
// column; with one device or none, the value name alone. One pass over the header.
std::vector<std::string> SeriesTitles(const HistoryData& data);

// The device names of the header, in order, joined with ", ".
std::string ChartTitle(const HistoryData& data);

}  // namespace history
