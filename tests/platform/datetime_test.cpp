#include "platform/datetime.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string>

namespace {

using namespace platform;

std::string Text(TDateTime t) {
  DateParts d;
  TimeParts tm;
  DecodeDateTime(t, d, tm);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03d", d.year, d.month, d.day, tm.hour, tm.minute,
                tm.second, tm.millisecond);
  return buf;
}

TEST(DateTime, KnownDayNumbersAndEveryDayOfTheCalendarRoundTrips) {
  struct Case { int y, m, d; double days; };
  const Case cases[] = {
      {1899, 12, 30, 0},   {1899, 12, 29, -1},   {1900, 3, 1, 61},        {1970, 1, 1, 25569},
      {2000, 2, 29, 36585}, {2024, 12, 31, 45657}, {1, 1, 1, -693593}, {9999, 12, 31, 2958465},
  };
  for (const Case& c : cases) {
    TDateTime t = -1e9;
    EXPECT_TRUE(TryEncodeDate(c.y, c.m, c.d, t));
    EXPECT_EQ(t, c.days) << c.y << "-" << c.m << "-" << c.d;
  }
  // Decoding every day number and encoding the date again gives the same number; with the
  // anchors above this pins the decoder to the calendar (leap centuries, cycle ends).
  for (int n = -693593; n <= 2958465; ++n) {
    DateParts d;
    DecodeDate(n, d);
    TDateTime t;
    ASSERT_TRUE(TryEncodeDate(d.year, d.month, d.day, t)) << n;
    ASSERT_EQ(t, n);
  }
}

TEST(DateTime, ImpossibleDatesAndTimesAreRefusedAndNothingWritten) {
  const int dates[][3] = {{2023, 2, 29}, {1900, 2, 29}, {2100, 2, 29}, {2023, 4, 31}, {2023, 13, 1},
                          {2023, 0, 1},  {2023, 1, 0},  {0, 1, 1},     {10000, 1, 1}};
  const int times[][4] = {{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}, {-1, 0, 0, 0}, {0, 0, 0, -1}};
  TDateTime t = 123.0;
  for (const auto& d : dates) EXPECT_FALSE(TryEncodeDate(d[0], d[1], d[2], t)) << d[0] << "-" << d[1] << "-" << d[2];
  for (const auto& x : times) EXPECT_FALSE(TryEncodeTime(x[0], x[1], x[2], x[3], t)) << x[0] << ":" << x[1];
  EXPECT_FALSE(TryEncodeDateTime(2023, 2, 29, 10, 0, 0, 0, t));
  EXPECT_EQ(t, 123.0);
}

// Before 1899-12-30 the integral part counts days back and the fraction is still the time
// of day; rounding to the millisecond may carry into the next calendar day, never hour 24.
TEST(DateTime, DecodedTexts) {
  TDateTime t = 0;
  ASSERT_TRUE(TryEncodeDateTime(1899, 12, 29, 6, 0, 0, 0, t));
  EXPECT_EQ(t, -1.25);
  ASSERT_TRUE(TryEncodeDateTime(1850, 7, 14, 13, 45, 30, 250, t));
  EXPECT_EQ(Text(t), "1850-07-14 13:45:30.250");
  const double ms = 1.0 / kMsPerDay;
  const double feb28 = 45350;  // 2024-02-28
  const struct { double t; const char* text; } cases[] = {
      {-1.25, "1899-12-29 06:00:00.000"},
      {-0.5, "1899-12-30 12:00:00.000"},
      {-2.75, "1899-12-28 18:00:00.000"},
      {feb28 + 0.5 + 0.4 * ms, "2024-02-28 12:00:00.000"},
      {feb28 + 0.5 + 0.6 * ms, "2024-02-28 12:00:00.001"},
      {feb28 + 1 - 0.4 * ms, "2024-02-29 00:00:00.000"},
      {-1 - (1 - 0.4 * ms), "1899-12-30 00:00:00.000"},
      {-(1 - 0.4 * ms), "1899-12-31 00:00:00.000"},
      // Outside years 1..9999 or not a number: all zero.
      {-693594, "0000-00-00 00:00:00.000"}, {2958466, "0000-00-00 00:00:00.000"},
      {1e300, "0000-00-00 00:00:00.000"},   {NAN, "0000-00-00 00:00:00.000"},
      {INFINITY, "0000-00-00 00:00:00.000"},
  };
  for (const auto& c : cases) EXPECT_EQ(Text(c.t), c.text) << c.t;
}

TEST(DateTime, UnixMillisecondsInUtcAndInTheLocalZone) {
  EXPECT_EQ(Text(FromUnixMsUtc(-1)), "1969-12-31 23:59:59.999");
  EXPECT_EQ(Text(FromUnixMsUtc(1718454896789)), "2024-06-15 12:34:56.789");
  EXPECT_EQ(Text(FromUnixMsUtc(-2209161600000 - 3600000)), "1899-12-29 23:00:00.000");

  const char* saved = std::getenv("TZ");
  const std::string savedTz = saved ? saved : "";
  setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
  tzset();
  EXPECT_EQ(Text(FromUnixMsLocal(1718454896789)), "2024-06-15 14:34:56.789");  // summer time
  EXPECT_EQ(Text(FromUnixMsLocal(1736944496001)), "2025-01-15 13:34:56.001");  // winter time
  EXPECT_EQ(Text(FromUnixMsLocal(-1)), "1970-01-01 00:59:59.999");
  // The real clock reads between two readings of the system's clock taken around it, however
  // long a busy machine keeps the test waiting between them.
  const auto unixMs = [] {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
  };
  const int64_t before = unixMs();
  const TDateTime now = WallClock::System().Now();
  const int64_t after = unixMs();
  EXPECT_GE(now, FromUnixMsLocal(before));
  EXPECT_LE(now, FromUnixMsLocal(after + 1));
  if (saved) setenv("TZ", savedTz.c_str(), 1); else unsetenv("TZ");
  tzset();
}

}  // namespace
