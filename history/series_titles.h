#pragma once
// Names of the chart's series and of the chart, from the header rows (code page 1252).
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "history/history_data.h"

namespace history {

// A header name longer than this is cut in a title, ending in an ellipsis: a legend entry
// shows no more anyway, and a device name is repeated in the title of every column under it,
// so a long one would otherwise cost its length once per column. The table keeps it whole.
inline constexpr size_t kLongestTitleName = 40;

// The name as a title shows it: whole up to kLongestTitleName bytes, else cut to that many
// with the last one an ellipsis.
std::string TitleName(std::string_view name);

// One title per value column (table column c + 2). With two or more device names in the
// header the title is "device / value", the device being the nearest name at or left of the
// column; with one device or none, the value name alone. One pass over the header; each
// title holds at most 2 * kLongestTitleName + 3 bytes.
std::vector<std::string> SeriesTitles(const HistoryData& data);

// The device names of the header, in order, joined with ", ".
std::string ChartTitle(const HistoryData& data);

}  // namespace history
