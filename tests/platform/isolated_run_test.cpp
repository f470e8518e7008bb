#include "platform/isolated_run.h"

#include <gtest/gtest.h>

#include <csignal>
#include <thread>

namespace {

using platform::IsolatedResult;
using platform::RunIsolated;

TEST(RunIsolated, TellsTheWorksAnswerACrashAndAHangApart) {
  EXPECT_EQ(RunIsolated([] { return true; }, 5000), IsolatedResult::Passed);
  EXPECT_EQ(RunIsolated([] { return false; }, 5000), IsolatedResult::Failed);
  EXPECT_EQ(RunIsolated([]() -> bool { throw 1; }, 5000), IsolatedResult::Failed);
  EXPECT_EQ(RunIsolated([] { std::raise(SIGSEGV); return true; }, 5000), IsolatedResult::Crashed);
  EXPECT_EQ(RunIsolated([] { for (;;) std::this_thread::sleep_for(std::chrono::seconds(1)); return true; }, 100),
            IsolatedResult::TimedOut);
}

TEST(RunIsolated, TheChildsChangesStayInTheChild) {
  int counter = 0;
  EXPECT_EQ(RunIsolated([&] { counter = 42; return true; }, 5000), IsolatedResult::Passed);
  EXPECT_EQ(counter, 0);
}

}  // namespace
