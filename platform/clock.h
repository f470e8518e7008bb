#pragma once
// Monotonic time. The original counted with the system tick count and with the C runtime's
// clock(), which on Windows is wall time since start but on Linux is CPU time; both become
// a monotonic millisecond count here.
#include <cstdint>

namespace platform {

// Milliseconds on a monotonic clock, from an arbitrary origin. Never goes back.
uint64_t MonotonicMs();

// Like the system tick count: the monotonic milliseconds cut to 32 bits (wraps after 49.7 days).
uint32_t TickCountMs();

// Milliseconds since the program started (what the original read from clock()).
uint64_t ProgramClockMs();

// An injectable source of monotonic milliseconds, so timing code can be tested on a fake clock.
class MonotonicClock {
 public:
  virtual ~MonotonicClock() = default;
  virtual uint64_t NowMs() const = 0;
  // The process-wide real clock.
  static const MonotonicClock& System();
};

}  // namespace platform
