#include "platform/clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

TEST(Clock, CountsRealMillisecondsAndNeverGoesBack) {
  const platform::MonotonicClock& clock = platform::MonotonicClock::System();
  uint64_t start = platform::MonotonicMs();
  uint64_t programStart = platform::ProgramClockMs();
  uint64_t last = start;
  for (int i = 0; i < 100000; ++i) {
    uint64_t now = clock.NowMs();
    ASSERT_GE(now, last);
    last = now;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_GE(platform::MonotonicMs() - start, 30u);
  EXPECT_LT(platform::MonotonicMs() - start, 5000u);
  EXPECT_GE(platform::ProgramClockMs() - programStart, 30u);
}

TEST(Clock, TickCountIsTheMonotonicCountCutTo32Bits) {
  uint64_t before = platform::MonotonicMs();
  uint32_t ticks = platform::TickCountMs();
  uint64_t after = platform::MonotonicMs();
  // Unsigned 32-bit differences stay right across the wrap.
  EXPECT_LE(static_cast<uint32_t>(ticks - static_cast<uint32_t>(before)), static_cast<uint32_t>(after - before));
}

TEST(Clock, ProgramClockStartsAtProgramStart) {
  // The test binary has only just started: far less than the machine's uptime-based count.
  EXPECT_LT(platform::ProgramClockMs(), 60000u);
  EXPECT_LE(platform::ProgramClockMs(), platform::MonotonicMs());
}

}  // namespace
