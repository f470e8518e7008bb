#pragma once
// Small text rules shared by the display element and window. Texts are code page 1252 bytes.
#include <string>
#include <string_view>
#include <vector>

// The marker that ends each piece of a run of chart series titles.
inline constexpr std::string_view kSeriesTitleEnd = "~#~";

// The pieces of "title~#~title~#~...": each piece trimmed, in order. Text after the last
// marker is not a piece (it ends no title).
std::vector<std::string> SplitSeriesTitles(std::string_view titles);
