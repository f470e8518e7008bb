// The reading thread: its rest after each cycle, and a stop that never waits out a rest.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "instrument/reading_schedule.h"
#include "instrument/reading_thread.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

TEST(ReadingSchedule, RestAfterEachCycle) {
  struct Case { const char* name; int64_t period, cycle; std::vector<uint32_t> sleeps; };
  std::vector<uint32_t> longest(58, 1000);  // one-second slices, then the last two seconds halved
  longest.insert(longest.end(), {999, 1000});
  const Case cases[] = {
      {"short period, instant cycle", 1000, 0, {999}},
      {"rest of exactly 1000 is halved", 1101, 100, {500, 500}},
      {"long period sliced", 5000, 200, {1000, 1000, 1000, 899, 900}},
      {"rest of 2000 is not sliced", 2101, 100, {1000, 1000}},
      {"rest of 2001 gets one slice", 2102, 100, {1000, 500, 501}},
      {"cycle longer than the period", 250, 300, {1}},
      {"rest of 0", 251, 250, {1}},
      {"largest interval", 60000, 0, longest},
  };
  for (const Case& c : cases) EXPECT_EQ(reading::RestAfterCycle(c.period, c.cycle), c.sleeps) << c.name;
}

TEST(ReadingThreadRun, CyclesEveryPeriodFromStartAndAStopEndsARestAtOnce) {
  for (int32_t period : {250, 60000}) {
    SCOPED_TRACE(period);
    std::atomic<int> cycles{0};
    ReadingThread thread([&] { ++cycles; });
    thread.SetPeriod(period);
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(cycles, 0);  // made suspended
    thread.Start();
    std::this_thread::sleep_for(period == 250 ? 600ms : 50ms);  // then well inside a rest
    const auto start = Clock::now();
    thread.Terminate();
    thread.WaitFor();
    EXPECT_LT(Clock::now() - start, 50ms);
    EXPECT_GE(cycles, period == 250 ? 2 : 1);
    EXPECT_LE(cycles, period == 250 ? 4 : 1);
  }
}

TEST(ReadingThreadRun, AStopDuringACycleEndsAfterItAndDestructionNeverWaits) {
  // A cycle in progress runs to its end, and no other follows.
  std::atomic<bool> inCycle{false};
  std::atomic<int> cycles{0};
  ReadingThread thread([&] {
    inCycle = true;
    std::this_thread::sleep_for(100ms);
    ++cycles;
  });
  thread.SetPeriod(250);
  thread.Start();
  while (!inCycle) std::this_thread::sleep_for(1ms);
  thread.Terminate();
  thread.WaitFor();
  EXPECT_EQ(cycles, 1);
  // Destroyed while resting, or never started: no wait either.
  const auto start = Clock::now();
  {
    ReadingThread never([] {});
    ReadingThread running([] {});
    running.SetPeriod(60000);
    running.Start();
  }
  EXPECT_LT(Clock::now() - start, 50ms);
}

}  // namespace

TEST(ReadingThreadRun, ACycleThatThrowsEndsTheLoopNotTheProgram) {
  std::atomic<int> cycles{0};
  ReadingThread thread([&] {
    ++cycles;
    throw std::runtime_error("port gone");
  });
  thread.SetPeriod(250);
  thread.Start();
  thread.WaitFor();
  EXPECT_EQ(cycles, 1);
  EXPECT_TRUE(thread.Terminated());
  ASSERT_TRUE(thread.FatalException());
  EXPECT_THROW(std::rethrow_exception(thread.FatalException()), std::runtime_error);
}
