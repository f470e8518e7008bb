#include "platform/isolated_run.h"

#include <gtest/gtest.h>

#include <csignal>
#include <thread>

namespace {

using platform::IsolatedResult;
using platform::RunIsolated;

// Long enough that no busy machine makes a quick child miss it; only the hang waits for it.
constexpr int kGenerousMs = 60000;

TEST(RunIsolated, TellsTheWorksAnswerACrashAndAHangApart) {
  EXPECT_EQ(RunIsolated([] { return true; }, kGenerousMs), IsolatedResult::Passed);
  EXPECT_EQ(RunIsolated([] { return false; }, kGenerousMs), IsolatedResult::Failed);
  EXPECT_EQ(RunIsolated([]() -> bool { throw 1; }, kGenerousMs), IsolatedResult::Failed);
  EXPECT_EQ(RunIsolated([] { std::raise(SIGSEGV); return true; }, kGenerousMs), IsolatedResult::Crashed);
  EXPECT_EQ(RunIsolated([] { for (;;) std::this_thread::sleep_for(std::chrono::seconds(1)); return true; }, 100),
            IsolatedResult::TimedOut);
}

TEST(RunIsolated, TheChildsChangesStayInTheChild) {
  int counter = 0;
  EXPECT_EQ(RunIsolated([&] { counter = 42; return true; }, kGenerousMs), IsolatedResult::Passed);
  EXPECT_EQ(counter, 0);
}

}  // namespace
