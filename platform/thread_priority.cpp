#include "platform/thread_priority.h"

#include <cerrno>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>

namespace platform {
namespace {

constexpr int kHighestNice = -20;
constexpr int kLowestNice = 19;

// On Linux a thread id given to the process-priority calls names that thread alone.
id_t CurrentThreadId() { return static_cast<id_t>(::syscall(SYS_gettid)); }

class SystemSchedulingCalls final : public SchedulingCalls {
 public:
  bool GetNice(int& nice) const override {
    errno = 0;  // -1 is a nice value as well as the error return
    const int value = ::getpriority(PRIO_PROCESS, CurrentThreadId());
    if (value == -1 && errno != 0) return false;
    nice = value;
    return true;
  }
  bool SetNice(int nice) const override { return ::setpriority(PRIO_PROCESS, CurrentThreadId(), nice) == 0; }
  int LowestAllowedNice() const override {
    // The limit is kept as 20 - nice, so 0 (the usual default) allows nothing below 20.
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_NICE, &limit) != 0) return kLowestNice;
    if (limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur >= 40) return kHighestNice;
    return std::min(kLowestNice, 20 - static_cast<int>(limit.rlim_cur));
  }
};

}  // namespace

const SchedulingCalls& SchedulingCalls::System() {
  static const SystemSchedulingCalls calls;
  return calls;
}

PriorityOutcome RaiseCurrentThreadPriority(int steps, const SchedulingCalls& calls) {
  PriorityOutcome outcome;
  int current = 0;
  if (!calls.GetNice(current)) return outcome;
  outcome.nice = current;
  const int wanted = std::max(kHighestNice, current - std::max(0, steps));
  if (wanted >= current) return outcome;
  // The whole step first: a privileged program (or one given the capability) may take it
  // whatever the limit says. Then as far as the limit allows, when that is still a step.
  int target = wanted;
  if (!calls.SetNice(target)) {
    target = std::max(wanted, calls.LowestAllowedNice());
    if (target >= current || !calls.SetNice(target)) return outcome;
  }
  outcome.raised = true;
  outcome.nice = target;
  return outcome;
}

}  // namespace platform
