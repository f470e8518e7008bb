#include "instrument/reading_schedule.h"

namespace reading {

std::vector<uint32_t> RestAfterCycle(int64_t periodMs, int64_t cycleMs) {
  int64_t rest = periodMs - 1 - cycleMs;
  if (rest < 1000) return {static_cast<uint32_t>(rest < 1 ? 1 : rest)};
  std::vector<uint32_t> sleeps;
  while (rest > 2000) {
    rest -= 1000;
    sleeps.push_back(1000);
  }
  sleeps.push_back(static_cast<uint32_t>(rest / 2));
  sleeps.push_back(static_cast<uint32_t>(rest - rest / 2));
  return sleeps;
}

}  // namespace reading
