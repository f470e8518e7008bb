#pragma once
// The export engine's display pictures as the number formats of a workbook. The pictures of
// numbers read as the spreadsheet's (digits, grouping, sections, exponents); those of dates and
// times do not: minutes are "n" there and "m" here, the locale's date and time pictures are
// one letter, milliseconds are "z". A date column written with its picture as it stands would
// show month or weekday names where the minutes belong, so the date-time pictures are turned
// into the spreadsheet's codes.
#include <string_view>

#include "export/xls/xls_utils.h"

namespace vantrix {

struct FormatSettings;

// A date-time picture as a number format: its fields in the spreadsheet's codes, the locale's
// date and time separators where it has "/" and ":", its literal texts quoted. An empty
// picture gives "General".
WideString DateTimePictureToNumberFormat(std::string_view picture, const FormatSettings& settings);

// A number picture as a number format: the same, but for literal texts in single quotes, which
// the spreadsheet takes in double quotes. An empty picture gives "General".
WideString NumberPictureToNumberFormat(std::string_view picture);

}  // namespace vantrix
