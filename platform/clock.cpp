#include "platform/clock.h"

#include <chrono>

namespace platform {
namespace {

using Steady = std::chrono::steady_clock;

// Taken on first use, which the initialiser below makes happen during static
// initialisation, before main; so it stands for the program start whatever the order in
// which other files' static objects read the clock.
const Steady::time_point& ProgramStart() {
  static const Steady::time_point start = Steady::now();
  return start;
}
[[maybe_unused]] const Steady::time_point& g_captureStart = ProgramStart();

class SystemMonotonicClock final : public MonotonicClock {
 public:
  uint64_t NowMs() const override { return MonotonicMs(); }
};

}  // namespace

uint64_t MonotonicMs() {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now().time_since_epoch()).count());
}

uint32_t TickCountMs() { return static_cast<uint32_t>(MonotonicMs()); }

uint64_t ProgramClockMs() {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now() - ProgramStart()).count());
}

const MonotonicClock& MonotonicClock::System() {
  static const SystemMonotonicClock clock;
  return clock;
}

}  // namespace platform
