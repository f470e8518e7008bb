#pragma once
// Sheet names as spreadsheet programs take them: none of ":", "\", "/", "?", "*", "[", "]"
// (each becomes "_"), no apostrophe at either end, at most 31 characters, never empty, and no
// two sheets of a workbook with names equal but for case.
#include <string_view>
#include <vector>

#include "export/xls/xls_utils.h"

namespace vantrix {

inline constexpr size_t kMaxSheetNameLength = 31;

// The title made acceptable and distinct from the names taken; an empty title becomes
// "Sheet<number>"; a taken one gets " (2)", " (3)"... (the title cut to make room).
WideString MakeSheetName(std::u16string_view title, const std::vector<WideString>& taken, int number);

// The title of the sheet that continues a sheet the rows no longer fit on: the title with its
// part number, " (2)" for the first continuation.
WideString ContinuationTitle(std::u16string_view title, int part);

}  // namespace vantrix
