#include "platform/datetime.h"

#include <time.h>

#include <array>
#include <chrono>
#include <cmath>

namespace platform {
namespace {

constexpr int64_t kMsPerDayInt = 86400000;
// Day number (0001-01-01 = 1) of 1899-12-30, the zero of TDateTime.
constexpr int64_t kDateDelta = 693594;
// Day number of 9999-12-31.
constexpr int64_t kMaxDayNumber = 3652059;
// 1970-01-01 as a TDateTime.
constexpr int64_t kUnixEpochDays = 25569;

constexpr std::array<int, 12> kMonthDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// The value split into a day number and the time of day rounded to whole milliseconds;
// false when it lies outside years 1..9999. The integral part counts the days and the time
// is the absolute fraction, so for negative values too a time that rounds up to 24:00 is
// the first instant of the next calendar day.
bool ToTimeStamp(TDateTime t, int64_t& dayNumber, int64_t& msOfDay) {
  if (!std::isfinite(t) || std::fabs(t) > static_cast<double>(kMaxDayNumber)) return false;
  double days = std::trunc(t);
  // Round half to even, like the original's rounding of the scaled value.
  msOfDay = static_cast<int64_t>(std::nearbyint(std::fabs(t - days) * kMsPerDay));
  dayNumber = kDateDelta + static_cast<int64_t>(days);
  if (msOfDay >= kMsPerDayInt) {
    msOfDay -= kMsPerDayInt;
    ++dayNumber;
  }
  return dayNumber >= 1 && dayNumber <= kMaxDayNumber;
}

void DayNumberToDate(int64_t dayNumber, DateParts& out) {
  constexpr int64_t kD400 = 146097, kD100 = 36524, kD4 = 1461;
  int64_t d = dayNumber - 1;
  int64_t year = 1 + 400 * (d / kD400);
  d %= kD400;
  int64_t centuries = d / kD100;
  if (centuries == 4) centuries = 3;  // the last day of a 400-year cycle
  d -= centuries * kD100;
  year += 100 * centuries + 4 * (d / kD4);
  d %= kD4;
  int64_t years = d / 365;
  if (years == 4) years = 3;  // the last day of a leap year
  d -= years * 365;
  year += years;
  int month = 1;
  while (d >= DaysInMonth(static_cast<int>(year), month)) d -= DaysInMonth(static_cast<int>(year), month++);
  out.year = static_cast<int>(year);
  out.month = month;
  out.day = static_cast<int>(d) + 1;
}

void MsToTime(int64_t msOfDay, TimeParts& out) {
  out.hour = static_cast<int>(msOfDay / 3600000);
  out.minute = static_cast<int>(msOfDay / 60000 % 60);
  out.second = static_cast<int>(msOfDay / 1000 % 60);
  out.millisecond = static_cast<int>(msOfDay % 1000);
}

TDateTime FromDaysAndMs(int64_t daysFromZero, int64_t msOfDay) {
  return ComposeDateTime(static_cast<double>(daysFromZero), static_cast<double>(msOfDay) / kMsPerDay);
}

class SystemWallClock final : public WallClock {
 public:
  TDateTime Now() const override {
    auto now = std::chrono::system_clock::now().time_since_epoch();
    return FromUnixMsLocal(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
  }
};

}  // namespace

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kMonthDays[month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& out) {
  if (year < 1 || year > 9999 || day < 1 || day > DaysInMonth(year, month)) return false;
  int64_t y = year - 1;
  int64_t days = y * 365 + y / 4 - y / 100 + y / 400 + day;
  for (int m = 1; m < month; ++m) days += DaysInMonth(year, m);
  out = static_cast<double>(days - kDateDelta);
  return true;
}

bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& out) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
      millisecond > 999)
    return false;
  int64_t ms = ((hour * 60 + minute) * 60 + second) * int64_t{1000} + millisecond;
  out = static_cast<double>(ms) / kMsPerDay;
  return true;
}

bool TryEncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond,
                       TDateTime& out) {
  TDateTime date, time;
  if (!TryEncodeDate(year, month, day, date) || !TryEncodeTime(hour, minute, second, millisecond, time))
    return false;
  out = ComposeDateTime(date, time);
  return true;
}

TDateTime ComposeDateTime(TDateTime date, TDateTime time) { return date < 0 ? date - time : date + time; }

void DecodeDate(TDateTime t, DateParts& out) {
  TimeParts unused;
  DecodeDateTime(t, out, unused);
}

void DecodeTime(TDateTime t, TimeParts& out) {
  DateParts unused;
  DecodeDateTime(t, unused, out);
}

void DecodeDateTime(TDateTime t, DateParts& date, TimeParts& time) {
  int64_t dayNumber = 0, msOfDay = 0;
  if (!ToTimeStamp(t, dayNumber, msOfDay)) {
    date = DateParts{0, 0, 0};
    time = TimeParts{};
    return;
  }
  DayNumberToDate(dayNumber, date);
  MsToTime(msOfDay, time);
}

TDateTime FromUnixMsUtc(int64_t unixMs) {
  return FromDaysAndMs(FloorDiv(unixMs, kMsPerDayInt) + kUnixEpochDays,
                       unixMs - FloorDiv(unixMs, kMsPerDayInt) * kMsPerDayInt);
}

TDateTime FromUnixMsLocal(int64_t unixMs) {
  time_t seconds = static_cast<time_t>(FloorDiv(unixMs, 1000));
  int ms = static_cast<int>(unixMs - FloorDiv(unixMs, 1000) * 1000);
  struct tm local{};
  TDateTime out;
  if (!localtime_r(&seconds, &local) ||
      !TryEncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                         local.tm_sec > 59 ? 59 : local.tm_sec, ms, out))
    return FromUnixMsUtc(unixMs);
  return out;
}

const WallClock& WallClock::System() {
  static const SystemWallClock clock;
  return clock;
}

}  // namespace platform
