#pragma once
// Reading numbers, dates and times from text in the forms of the settings' locale, as the
// original framework's StrToInt, StrToFloat and StrToDateTime read them, never through the C
// library's locale. Text is code page 1252.
//
// Integers: blanks around, an optional sign, decimal digits, within the type's range.
// Floats: blanks around, an optional sign, digits with at most one decimal separator of the
// settings (no grouping), an optional exponent ("e" or "E", sign, digits); no "inf" or "nan".
// Dates: the fields of the short date picture in its order: numbers for days and months (or
// a month name, short or long, where the picture names the month), the date separator
// where the picture has "/", its literal text (blanks are free); a year of one or two
// digits is 2000-2049 below 50 and 1950-1999 from 50. Times: hour and minute, optional
// seconds and milliseconds (after the decimal separator or "."), separated by the time
// separator, then an optional am/pm (the settings' texts, or "am"/"pm"/"a"/"p").
// A date-time is a date, a time, or a date, blanks and a time.
#include <cstdint>
#include <string_view>

#include "platform/datetime.h"

namespace vantrix {

struct FormatSettings;

bool TryStrToInt(std::string_view text, int32_t& value);
bool TryStrToInt64(std::string_view text, int64_t& value);
bool TryStrToFloat(std::string_view text, const FormatSettings& settings, double& value);
bool TryStrToDate(std::string_view text, const FormatSettings& settings, TDateTime& value);
bool TryStrToTime(std::string_view text, const FormatSettings& settings, TDateTime& value);
bool TryStrToDateTime(std::string_view text, const FormatSettings& settings, TDateTime& value);

}  // namespace vantrix
