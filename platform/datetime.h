#pragma once
// TDateTime: days since 1899-12-30 as a double, the time of day as the fraction.
// Every time stamp of a reading has this type; it is written into files, so the arithmetic
// must match the original exactly (negative values count days back, the fraction is always
// the time of day taken as its absolute value).
#include <cstdint>

using TDateTime = double;

namespace platform {

struct DateParts { int year = 1899, month = 12, day = 30; };
struct TimeParts { int hour = 0, minute = 0, second = 0, millisecond = 0; };

constexpr double kMsPerDay = 86400000.0;

// False (and nothing written) for an impossible date or time (month 13, 31 April, 29 February
// of a common year, hour 24, ...).
bool TryEncodeDate(int year, int month, int day, TDateTime& out);
bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& out);
// Both at once; false (and nothing written) when either part is impossible.
bool TryEncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond,
                       TDateTime& out);
// A whole-day date and a time of day (0 <= time < 1) joined the way the type counts: for a
// negative date the time is subtracted, so -1 with 06:00 gives -1.25.
TDateTime ComposeDateTime(TDateTime date, TDateTime time);

// All three decoders round the time of day to the nearest millisecond, as the original did;
// 23:59:59.9996 is 00:00:00.000 of the next calendar day (never hour 24), for dates before
// 1899-12-30 too. A value outside years 1..9999 (or not finite) decodes to a date of 0-0-0
// and a time of 00:00:00.000.
void DecodeDate(TDateTime t, DateParts& out);
void DecodeTime(TDateTime t, TimeParts& out);
void DecodeDateTime(TDateTime t, DateParts& date, TimeParts& time);
bool IsLeapYear(int year);
int DaysInMonth(int year, int month);  // 0 for a month outside 1..12

// Wall clock conversions. Local time follows the TZ of the process. A leap second (:60)
// reads as :59.
TDateTime FromUnixMsLocal(int64_t unixMs);
TDateTime FromUnixMsUtc(int64_t unixMs);

// An injectable wall clock (local time), so tests never depend on the real date.
class WallClock {
 public:
  virtual ~WallClock() = default;
  virtual TDateTime Now() const = 0;
  static const WallClock& System();
};

}  // namespace platform
