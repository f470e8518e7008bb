// The reading thread: its rest after each cycle, a stop that never waits out a rest, and the
// higher priority it asks for.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <thread>

#include "instrument/reading_schedule.h"
#include "instrument/reading_thread.h"
#include "tests/support/fake_scheduling_calls.h"

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

// Waits for `done` without a bound tighter than a hung test needs.
template <typename Done>
bool Eventually(Done done) {
  const auto deadline = Clock::now() + 10s;
  while (!done()) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

TEST(ReadingThreadRun, CyclesEveryPeriodFromStartAndAStopEndsARestAtOnce) {
  // Made suspended; then a cycle at once, and the next ones a period apart at the soonest.
  std::atomic<int> cycles{0};
  {
    ReadingThread thread([&] { ++cycles; });
    thread.SetPeriod(250);
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(cycles, 0);
    const auto start = Clock::now();
    thread.Start();
    ASSERT_TRUE(Eventually([&] { return cycles >= 3; }));
    EXPECT_GE(Clock::now() - start, 2 * 248ms);  // rests of 249 ms, less a cycle's rounding
  }
  // A stop in the middle of a rest of a minute ends it at once; the rest is slept in slices
  // of a second, and a stop that waited for the slice to end would take up to that second.
  cycles = 0;
  ReadingThread thread([&] { ++cycles; });
  thread.SetPeriod(60000);
  thread.Start();
  ASSERT_TRUE(Eventually([&] { return cycles == 1; }));
  std::this_thread::sleep_for(50ms);  // well inside the rest
  const auto start = Clock::now();
  thread.Terminate();
  thread.WaitFor();
  EXPECT_LT(Clock::now() - start, 500ms);
  EXPECT_EQ(cycles, 1);
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
  ASSERT_TRUE(Eventually([&] { return inCycle.load(); }));
  thread.Terminate();
  thread.WaitFor();
  EXPECT_EQ(cycles, 1);
  // Destroyed while resting, or never started: no wait either (a rest of a minute would
  // otherwise end after its first slice of a second).
  std::atomic<bool> resting{false};
  auto never = std::make_unique<ReadingThread>([] {});
  auto running = std::make_unique<ReadingThread>([&] { resting = true; });
  running->SetPeriod(60000);
  running->Start();
  ASSERT_TRUE(Eventually([&] { return resting.load(); }));
  const auto start = Clock::now();
  never.reset();
  running.reset();
  EXPECT_LT(Clock::now() - start, 500ms);
}

TEST(ReadingThreadRun, AsksForAHigherPriorityOnItsOwnThreadAndReadsOnWhenRefused) {
  // Granted: the thread asks once, before its first cycle, from the thread the cycles run on.
  testsupport::FakeSchedulingCalls granting;
  granting.privileged = true;
  std::atomic<int> cycles{0};
  std::thread::id cycleThread;
  std::atomic<size_t> requestsAtFirstCycle{99};
  {
    ReadingThread thread(
        [&] {
          if (cycles == 0) {
            cycleThread = std::this_thread::get_id();
            requestsAtFirstCycle = granting.Requests().size();
          }
          ++cycles;
        },
        platform::MonotonicClock::System(), granting);
    thread.SetPeriod(250);
    EXPECT_FALSE(thread.Priority().raised);
    thread.Start();
    ASSERT_TRUE(Eventually([&] { return cycles >= 2; }));
    thread.Terminate();
    thread.WaitFor();
    EXPECT_TRUE(thread.Priority().raised);
    EXPECT_EQ(thread.Priority().nice, -ReadingThread::kPrioritySteps);
  }
  const auto asked = granting.Requests();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(requestsAtFirstCycle, 1u);
  EXPECT_EQ(asked[0].nice, -ReadingThread::kPrioritySteps);
  EXPECT_EQ(asked[0].thread, cycleThread);
  EXPECT_NE(asked[0].thread, std::this_thread::get_id());

  // Refused (the usual user's limit): asked, refused, and the readings go on as before.
  testsupport::FakeSchedulingCalls refusing;
  cycles = 0;
  ReadingThread thread([&] { ++cycles; }, platform::MonotonicClock::System(), refusing);
  thread.SetPeriod(250);
  thread.Start();
  ASSERT_TRUE(Eventually([&] { return cycles >= 2; }));
  thread.Terminate();
  thread.WaitFor();
  ASSERT_EQ(refusing.Requests().size(), 1u);
  EXPECT_FALSE(refusing.Requests()[0].granted);
  EXPECT_FALSE(thread.Priority().raised);
  EXPECT_EQ(thread.Priority().nice, 0);
  EXPECT_FALSE(thread.FatalException());
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
