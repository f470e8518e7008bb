#pragma once
// A thread's scheduling priority, as its nice value (-20, the highest, to 19). A thread that
// answers instruments on time asks for a few steps above the program's priority; an ordinary
// user may only lower a nice value as far as the user's limit (RLIMIT_NICE, "nice" in
// /etc/security/limits.conf) allows, so the request takes what is allowed and, where nothing
// is, leaves the thread at the priority it had, without a word. Real-time scheduling is not
// asked for: a thread stuck in a loop at such a priority could freeze the desktop.
#include <cstdint>

namespace platform {

// The operating-system calls on the calling thread's nice value, behind an interface so that
// tests see the requests and can refuse them.
class SchedulingCalls {
 public:
  virtual ~SchedulingCalls() = default;
  // The calling thread's nice value; false when it cannot be read.
  virtual bool GetNice(int& nice) const = 0;
  // Gives the calling thread (only it, not the whole process) this nice value; false when the
  // system refuses.
  virtual bool SetNice(int nice) const = 0;
  // The lowest nice value the user's limit allows without privileges (19 when it allows none
  // below the default, -20 when it allows all).
  virtual int LowestAllowedNice() const = 0;
  // The real calls.
  static const SchedulingCalls& System();
};

// What a request got: the nice value the thread runs at, and whether it is above the one it had.
struct PriorityOutcome {
  bool raised = false;
  int nice = 0;
};

// Asks for the calling thread to run `steps` nice steps above its present priority (never above
// -20), or as far towards it as the user's limit allows, and reports what it got. Never fails
// loudly: a refusal leaves the thread as it was.
PriorityOutcome RaiseCurrentThreadPriority(int steps, const SchedulingCalls& calls = SchedulingCalls::System());

}  // namespace platform
