#pragma once
// The number formats every workbook knows without a FORMAT record (ids 0-49), and the test
// of whether a format shows dates or times.
#include <string_view>

namespace vantrix {

// The standard text of built-in format id 0-49 (ids 23-36, reserved, read as "General");
// an empty text for any other id.
std::u16string_view BuiltInFormat(int id);

// A number format shows dates or times when one of y, m, d, h, s (either case) stands
// outside double quotes and brackets and is not escaped ("\d", "_d", "*d"): "[Red]0.00" and
// "0 \"days\"" are numbers, "[h]:mm" and "DD/MM/YYYY" are times and dates.
bool IsDateTimeFormat(std::u16string_view format);

}  // namespace vantrix
