// Raising a thread's priority: the whole step where the system grants it, as far as the
// user's limit allows where it does not, and a quiet refusal; the real calls act on the
// calling thread alone.
#include <gtest/gtest.h>

#include <cerrno>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <thread>
#include <vector>

#include "platform/thread_priority.h"
#include "tests/support/fake_scheduling_calls.h"

namespace {

struct Case {
  const char* name;
  std::optional<int> startNice;
  int lowestAllowed;
  bool privileged;
  std::vector<int> asked;  // the nice values asked for, in order
  bool raised;
  int nice;
};

TEST(ThreadPriority, TakesTheWholeStepOrWhatTheLimitAllowsOrStaysQuietly) {
  const Case cases[] = {
      {"privileged: the whole step", 0, 19, true, {-5}, true, -5},
      {"limit allows the whole step", 0, -10, false, {-5}, true, -5},
      {"limit allows part of it", 0, -2, false, {-5, -2}, true, -2},
      {"the usual limit allows nothing", 0, 19, false, {-5}, false, 0},
      {"limit allows nothing below the present value", 3, 3, false, {-2}, false, 3},
      {"a lowered program keeps its own scale", 10, 19, false, {5}, false, 10},
      {"the step stops at the highest priority", -18, -20, false, {-20}, true, -20},
      {"already at the highest priority: nothing asked", -20, -20, true, {}, false, -20},
      {"the priority cannot be read: nothing asked", std::nullopt, -20, true, {}, false, 0},
  };
  for (const Case& c : cases) {
    testsupport::FakeSchedulingCalls calls;
    calls.startNice = c.startNice;
    calls.lowestAllowed = c.lowestAllowed;
    calls.privileged = c.privileged;
    const platform::PriorityOutcome got = platform::RaiseCurrentThreadPriority(5, calls);
    std::vector<int> asked;
    for (const auto& r : calls.Requests()) asked.push_back(r.nice);
    EXPECT_EQ(asked, c.asked) << c.name;
    EXPECT_EQ(got.raised, c.raised) << c.name;
    EXPECT_EQ(got.nice, c.nice) << c.name;
  }
  // No steps asked: nothing asked.
  testsupport::FakeSchedulingCalls calls;
  calls.privileged = true;
  EXPECT_FALSE(platform::RaiseCurrentThreadPriority(0, calls).raised);
  EXPECT_TRUE(calls.Requests().empty());
}

int NiceOf(long tid) {
  errno = 0;
  const int nice = getpriority(PRIO_PROCESS, static_cast<id_t>(tid));
  EXPECT_EQ(errno, 0);
  return nice;
}

TEST(ThreadPriority, TheRealCallsActOnTheCallingThreadAlone) {
  // Whatever this machine's limits grant (all when the tests run privileged, often nothing
  // otherwise), the outcome is what the thread runs at, and the rest of the process keeps
  // its priority.
  const long mainThread = syscall(SYS_gettid);
  const int before = NiceOf(mainThread);
  platform::PriorityOutcome outcome;
  int threadNice = 99;
  std::thread worker([&] {
    const int start = NiceOf(syscall(SYS_gettid));
    outcome = platform::RaiseCurrentThreadPriority(5);
    threadNice = NiceOf(syscall(SYS_gettid));
    EXPECT_EQ(outcome.raised, threadNice < start);
  });
  worker.join();
  EXPECT_EQ(outcome.nice, threadNice);
  EXPECT_EQ(NiceOf(mainThread), before);
  const int lowest = platform::SchedulingCalls::System().LowestAllowedNice();
  EXPECT_GE(lowest, -20);
  EXPECT_LE(lowest, 19);
}

}  // namespace
