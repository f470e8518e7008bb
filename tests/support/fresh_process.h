#pragma once
// Work whose answer depends on the state of the process it runs in runs in a new run of this
// test binary, started for the current case alone, so no earlier case of the same run can
// change it. A cap on the address space is such work: a thread that an earlier case started
// and ended leaves its malloc arena behind, and when the cap refuses a new mapping, malloc grows
// that arena inside the space it already holds, which the cap does not count; a reader that
// must be refused then reads. A fork of this process would inherit the arena.
//
// GoogleTest's "threadsafe" death test starts the new run: it repeats the case up to this check,
// then runs `work` in a fork of its own (a crash or a hang is an answer too, after `timeoutMs`),
// runs `cleanup` and ends. Neither the case's destructors nor its TearDown run in that run, so
// `cleanup` removes what the case made there before the check.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "platform/isolated_run.h"

namespace testsupport {

inline const char* Answer(platform::IsolatedResult result) {
  switch (result) {
    case platform::IsolatedResult::Passed: return "passed";
    case platform::IsolatedResult::Failed: return "returned false or threw";
    case platform::IsolatedResult::Crashed: return "crashed";
    case platform::IsolatedResult::TimedOut: return "timed out";
    case platform::IsolatedResult::CouldNotRun: break;
  }
  return "could not be run";
}

inline void ExpectPassesInFreshProcess(const std::function<bool()>& work, int timeoutMs,
                                       const std::function<void()>& cleanup = {}) {
  const std::string style = GTEST_FLAG_GET(death_test_style);
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        const platform::IsolatedResult result = platform::RunIsolated(work, timeoutMs);
        if (cleanup) cleanup();
        std::fprintf(stderr, "the work %s\n", Answer(result));
        std::_Exit(result == platform::IsolatedResult::Passed ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
  GTEST_FLAG_SET(death_test_style, style);
}

}  // namespace testsupport
