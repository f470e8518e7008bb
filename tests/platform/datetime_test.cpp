#include "platform/datetime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string>

namespace {

using namespace platform;

TDateTime Date(int y, int m, int d) {
  TDateTime t = -1e9;
  EXPECT_TRUE(TryEncodeDate(y, m, d, t)) << y << "-" << m << "-" << d;
  return t;
}

std::string Text(TDateTime t) {
  DateParts d;
  TimeParts tm;
  DecodeDateTime(t, d, tm);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03d", d.year, d.month, d.day, tm.hour, tm.minute,
                tm.second, tm.millisecond);
  return buf;
}

TEST(DateTime, KnownDayNumbers) {
  struct Case { int y, m, d; double days; };
  const Case cases[] = {
      {1899, 12, 30, 0},      {1899, 12, 29, -1},   {1900, 1, 1, 2},       {1900, 3, 1, 61},
      {1970, 1, 1, 25569},    {2000, 2, 29, 36585}, {2000, 3, 1, 36586},   {2024, 12, 31, 45657},
      {1, 1, 1, -693593},     {9999, 12, 31, 2958465},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Date(c.y, c.m, c.d), c.days) << c.y << "-" << c.m << "-" << c.d;
    DateParts back;
    DecodeDate(c.days, back);
    EXPECT_EQ(back.year * 10000 + back.month * 100 + back.day, c.y * 10000 + c.m * 100 + c.d);
  }
}

TEST(DateTime, EveryDayOfTheCalendarRoundTrips) {
  DateParts prev{0, 12, 31};
  for (int n = -693593; n <= 2958465; ++n) {
    DateParts d;
    DecodeDate(n, d);
    // Consecutive day numbers are consecutive calendar days.
    bool nextDay = d.day == prev.day + 1 && d.month == prev.month && d.year == prev.year;
    bool nextMonth = d.day == 1 && prev.day == DaysInMonth(prev.year, prev.month) &&
                     ((d.month == prev.month + 1 && d.year == prev.year) ||
                      (d.month == 1 && prev.month == 12 && d.year == prev.year + 1));
    ASSERT_TRUE(nextDay || nextMonth) << n;
    TDateTime t;
    ASSERT_TRUE(TryEncodeDate(d.year, d.month, d.day, t));
    ASSERT_EQ(t, n);
    prev = d;
  }
}

TEST(DateTime, ImpossibleDatesAndTimesAreRefused) {
  const int dates[][3] = {{2023, 2, 29}, {1900, 2, 29}, {2100, 2, 29}, {2023, 4, 31}, {2023, 13, 1},
                          {2023, 0, 1},  {2023, 1, 0},  {0, 1, 1},     {10000, 1, 1}, {-5, 1, 1}};
  for (const auto& d : dates) {
    TDateTime t = 123.0;
    EXPECT_FALSE(TryEncodeDate(d[0], d[1], d[2], t)) << d[0] << "-" << d[1] << "-" << d[2];
    EXPECT_EQ(t, 123.0);
  }
  const int times[][4] = {{24, 0, 0, 0}, {0, 60, 0, 0}, {0, 0, 60, 0}, {0, 0, 0, 1000}, {-1, 0, 0, 0}, {0, 0, 0, -1}};
  for (const auto& x : times) {
    TDateTime t = 123.0;
    EXPECT_FALSE(TryEncodeTime(x[0], x[1], x[2], x[3], t));
    EXPECT_EQ(t, 123.0);
  }
  TDateTime t;
  EXPECT_TRUE(TryEncodeDate(2000, 2, 29, t));
  EXPECT_TRUE(TryEncodeDate(2024, 2, 29, t));
  EXPECT_TRUE(TryEncodeTime(23, 59, 59, 999, t));
}

TEST(DateTime, NegativeValuesCountDaysBackWithTheTimeAsAbsoluteFraction) {
  TDateTime t;
  ASSERT_TRUE(TryEncodeDateTime(1899, 12, 29, 6, 0, 0, 0, t));
  EXPECT_EQ(t, -1.25);
  EXPECT_EQ(Text(-1.25), "1899-12-29 06:00:00.000");
  EXPECT_EQ(Text(-0.5), "1899-12-30 12:00:00.000");
  EXPECT_EQ(Text(0.5), "1899-12-30 12:00:00.000");
  EXPECT_EQ(Text(-2.75), "1899-12-28 18:00:00.000");
  ASSERT_TRUE(TryEncodeDateTime(1850, 7, 14, 13, 45, 30, 250, t));
  EXPECT_LT(t, 0);
  EXPECT_EQ(Text(t), "1850-07-14 13:45:30.250");
}

TEST(DateTime, MillisecondRoundingCarriesIntoTheNextDay) {
  const double ms = 1.0 / kMsPerDay;
  const double day = Date(2024, 2, 28);
  EXPECT_EQ(Text(day + 0.5 + 0.4 * ms), "2024-02-28 12:00:00.000");
  EXPECT_EQ(Text(day + 0.5 + 0.6 * ms), "2024-02-28 12:00:00.001");
  EXPECT_EQ(Text(day + 1 - 0.4 * ms), "2024-02-29 00:00:00.000");
  EXPECT_EQ(Text(Date(2024, 12, 31) + 1 - 0.4 * ms), "2025-01-01 00:00:00.000");
  EXPECT_EQ(Text(-1 - (1 - 0.4 * ms)), "1899-12-30 00:00:00.000");
  EXPECT_EQ(Text(-(1 - 0.4 * ms)), "1899-12-31 00:00:00.000");
  TimeParts tp;
  DecodeTime(day + 1 - 0.4 * ms, tp);
  EXPECT_EQ(tp.hour, 0);
  // Every millisecond of a day, written and decoded again, comes back exactly.
  for (int i = 0; i < 86400000; i += 997) {
    TDateTime t;
    ASSERT_TRUE(TryEncodeDateTime(2024, 6, 15, i / 3600000, i / 60000 % 60, i / 1000 % 60, i % 1000, t));
    DecodeTime(t, tp);
    ASSERT_EQ(((tp.hour * 60 + tp.minute) * 60 + tp.second) * 1000 + tp.millisecond, i);
  }
}

TEST(DateTime, ValuesOutsideTheCalendarDecodeToZero) {
  for (double t : {-693594.0, 2958466.0, 1e300, double{NAN}, double{INFINITY}}) {
    DateParts d;
    TimeParts tm;
    tm.hour = 7;
    DecodeDateTime(t, d, tm);
    EXPECT_EQ(d.year + d.month + d.day + tm.hour, 0) << t;
  }
}

TEST(DateTime, UnixMillisecondsInUtcAndInTheLocalZone) {
  EXPECT_EQ(FromUnixMsUtc(0), 25569.0);
  EXPECT_EQ(Text(FromUnixMsUtc(-1)), "1969-12-31 23:59:59.999");
  EXPECT_EQ(Text(FromUnixMsUtc(1718454896789)), "2024-06-15 12:34:56.789");
  EXPECT_EQ(Text(FromUnixMsUtc(-2209161600000 - 3600000)), "1899-12-29 23:00:00.000");

  const char* saved = std::getenv("TZ");
  std::string savedTz = saved ? saved : "";
  setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
  tzset();
  EXPECT_EQ(Text(FromUnixMsLocal(1718454896789)), "2024-06-15 14:34:56.789");  // summer time
  EXPECT_EQ(Text(FromUnixMsLocal(1736944496001)), "2025-01-15 13:34:56.001");  // winter time
  EXPECT_EQ(Text(FromUnixMsLocal(-1)), "1970-01-01 00:59:59.999");
  if (saved) setenv("TZ", savedTz.c_str(), 1); else unsetenv("TZ");
  tzset();

  const WallClock& clock = WallClock::System();
  double before = FromUnixMsLocal(static_cast<int64_t>(std::time(nullptr)) * 1000);
  EXPECT_NEAR(clock.Now(), before, 5.0 / 86400);
}

}  // namespace
