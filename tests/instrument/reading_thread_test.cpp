// The reading thread: its rest after each cycle, and a stop that never waits out a rest.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "instrument/reading_schedule.h"
#include "instrument/reading_thread.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// `slices` one-second slices, then the two halves.
std::vector<uint32_t> Sliced(size_t slices, uint32_t half1, uint32_t half2) {
  std::vector<uint32_t> sleeps(slices, 1000);
  sleeps.push_back(half1);
  sleeps.push_back(half2);
  return sleeps;
}

TEST(ReadingSchedule, RestAfterEachCycle) {
  struct Case {
    const char* name;
    int64_t period, cycle;
    std::vector<uint32_t> sleeps;
  };
  const Case cases[] = {
      {"short period, instant cycle", 1000, 0, {999}},
      {"rest of exactly 1000 is halved", 1101, 100, {500, 500}},
      {"long period sliced", 5000, 200, {1000, 1000, 1000, 899, 900}},
      {"rest of 2000 is not sliced", 2101, 100, {1000, 1000}},
      {"rest of 2001 gets one slice", 2102, 100, {1000, 500, 501}},
      {"cycle longer than the period", 250, 300, {1}},
      {"cycle of exactly the period", 250, 250, {1}},
      {"rest of 0", 251, 250, {1}},
      {"largest interval", 60000, 0, Sliced(58, 999, 1000)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(reading::RestAfterCycle(c.period, c.cycle), c.sleeps);
  }
}

TEST(ReadingThreadRun, CallsTheCycleEveryPeriodUntilStopped) {
  std::atomic<int> cycles{0};
  ReadingThread thread([&] { ++cycles; });
  EXPECT_EQ(thread.Period(), 500);
  thread.SetPeriod(250);
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(cycles, 0);  // made suspended
  thread.Start();
  std::this_thread::sleep_for(600ms);
  thread.Terminate();
  thread.WaitFor();
  EXPECT_GE(cycles, 2);
  EXPECT_LE(cycles, 4);
}

TEST(ReadingThreadRun, StopEndsAnyRestAtOnce) {
  for (int32_t period : {1000, 5000, 60000}) {
    SCOPED_TRACE(period);
    std::atomic<int> cycles{0};
    ReadingThread thread([&] { ++cycles; });
    thread.SetPeriod(period);
    thread.Start();
    while (cycles == 0) std::this_thread::sleep_for(1ms);
    std::this_thread::sleep_for(20ms);  // well inside the rest
    const auto start = Clock::now();
    thread.Terminate();
    thread.WaitFor();
    EXPECT_LT(Clock::now() - start, 50ms);
    EXPECT_EQ(cycles, 1);
  }
}

TEST(ReadingThreadRun, StopDuringACycleEndsAfterIt) {
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
  EXPECT_EQ(cycles, 1);  // the cycle in progress ran to its end, and no other followed
}

TEST(ReadingThreadRun, DestroyedWithoutStartOrStop) {
  { ReadingThread never([] {}); }
  const auto start = Clock::now();
  {
    ReadingThread running([] {});
    running.SetPeriod(60000);
    running.Start();
  }
  EXPECT_LT(Clock::now() - start, 50ms);
}

}  // namespace
