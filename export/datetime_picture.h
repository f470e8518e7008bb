#pragma once
// The date-time pictures of the original framework (letters in either case):
//   d dd ddd dddd   day, two-digit day, short and long day name; ddddd, dddddd the short and
//                   long date pictures of the settings
//   m mm mmm mmmm   month, two-digit month, short and long month name (m and mm right
//                   after an hour are minutes)
//   yy yyyy         two- and four-digit year
//   h hh n nn s ss  hour, minute, second (one or two digits); z zzz milliseconds
//   t tt            the short and long time pictures; c the short date and long time
//                   pictures (the time left out at midnight)
//   am/pm a/p       12-hour clock, written in the picture's letter case; ampm the
//                   settings' own texts
//   / :             the settings' date and time separators
//   "text" 'text'   literal text; any other character stands as it is
#include <string>
#include <string_view>
#include <vector>

#include "platform/datetime.h"

namespace vantrix {

struct FormatSettings;

void FormatDateTimeTo(std::string& out, std::string_view picture, TDateTime value, const FormatSettings& settings);
std::string FormatDateTime(std::string_view picture, TDateTime value, const FormatSettings& settings);

// The short date and long time pictures; the time left out when it is midnight.
std::string DateTimeToStr(TDateTime value, const FormatSettings& settings);

// Moments that between them give a picture each of its widest texts: every month name and
// every day name, two-digit days, hours (morning and afternoon on either clock), minutes,
// seconds and milliseconds. A column of dates is as wide as the widest of them formatted.
const std::vector<TDateTime>& DateTimeWidthSamples();

}  // namespace vantrix
