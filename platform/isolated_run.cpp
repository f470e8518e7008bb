#include "platform/isolated_run.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

namespace platform {

IsolatedResult RunIsolated(const std::function<bool()>& work, int timeoutMs) {
  const pid_t child = ::fork();
  if (child < 0) return IsolatedResult::CouldNotRun;
  if (child == 0) {
    // A crash here is an expected answer, not a fault to study: no core file of the whole
    // program (slow to write, left in the working folder) for each damaged input.
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    bool ok = false;
    try {
      ok = work();
    } catch (...) {
      ok = false;
    }
    ::_exit(ok ? 0 : 1);
  }

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  int status = 0;
  while (true) {
    const pid_t done = ::waitpid(child, &status, WNOHANG);
    if (done == child) break;
    if (done < 0 && errno != EINTR) return IsolatedResult::CouldNotRun;
    if (std::chrono::steady_clock::now() >= deadline) {
      ::kill(child, SIGKILL);
      while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
      }
      return IsolatedResult::TimedOut;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  if (WIFEXITED(status)) {
    switch (WEXITSTATUS(status)) {
      case 0: return IsolatedResult::Passed;
      case 1: return IsolatedResult::Failed;
      default: return IsolatedResult::Crashed;
    }
  }
  return IsolatedResult::Crashed;
}

}  // namespace platform
