#pragma once
// Runs a piece of work in a child process, so that a crash inside a library we can't fix
// (a decoder fed a damaged file) costs the answer, not the running program.
#include <functional>

namespace platform {

enum class IsolatedResult {
  Passed,       // the work returned true
  Failed,       // the work returned false
  Crashed,      // the child died on a signal or exited abnormally
  TimedOut,     // the child was still running at the deadline and was killed
  CouldNotRun,  // no child could be made
};

// The child is a fork of this process: it runs `work`, then leaves with _exit, running no
// exit handlers, so nothing of the parent's state (files, windows) is touched by its end.
IsolatedResult RunIsolated(const std::function<bool()>& work, int timeoutMs);

}  // namespace platform
