#include "platform/clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

// All three clocks follow real time (a sleep costs no CPU time, so a clock that counted CPU
// time would stand still), and the program clock starts with the program. The upper bounds
// come from a clock read around the readings, not from a guess at how long a sleep takes,
// so a busy machine that keeps the test waiting cannot fail it.
TEST(Clock, CountsRealMillisecondsFromTheirOrigins) {
  using std::chrono::steady_clock;
  const auto outerStart = steady_clock::now();
  const uint64_t start = platform::MonotonicMs(), programStart = platform::ProgramClockMs();
  const uint32_t tickStart = platform::TickCountMs();
  EXPECT_LT(programStart, 60000u);  // the test binary has only just started
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  const uint64_t monotonic = platform::MonotonicClock::System().NowMs() - start;
  const uint64_t program = platform::ProgramClockMs() - programStart;
  // The unsigned 32-bit difference stays right across the wrap.
  const uint32_t ticks = static_cast<uint32_t>(platform::TickCountMs() - tickStart);
  const auto outer = std::chrono::duration_cast<std::chrono::milliseconds>(steady_clock::now() - outerStart);
  // Two readings cut to whole milliseconds may differ by one more than the time between them.
  const uint64_t atMost = static_cast<uint64_t>(outer.count()) + 1;
  EXPECT_GE(monotonic, 30u);
  EXPECT_LE(monotonic, atMost);
  EXPECT_GE(program, 30u);
  EXPECT_LE(program, atMost);
  EXPECT_GE(ticks, 30u);
  EXPECT_LE(ticks, atMost);
}

}  // namespace
