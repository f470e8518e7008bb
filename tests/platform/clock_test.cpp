#include "platform/clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

// All three clocks follow real time (a sleep costs no CPU time, so a clock that counted CPU
// time would stand still), and the program clock starts with the program.
TEST(Clock, CountsRealMillisecondsFromTheirOrigins) {
  const uint64_t start = platform::MonotonicMs(), programStart = platform::ProgramClockMs();
  const uint32_t tickStart = platform::TickCountMs();
  EXPECT_LT(programStart, 60000u);  // the test binary has only just started
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_GE(platform::MonotonicClock::System().NowMs() - start, 30u);
  EXPECT_LT(platform::MonotonicMs() - start, 5000u);
  EXPECT_GE(platform::ProgramClockMs() - programStart, 30u);
  // The unsigned 32-bit difference stays right across the wrap.
  const uint32_t ticks = static_cast<uint32_t>(platform::TickCountMs() - tickStart);
  EXPECT_GE(ticks, 30u);
  EXPECT_LT(ticks, 5000u);
}

}  // namespace
