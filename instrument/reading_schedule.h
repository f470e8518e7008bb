#pragma once
// The reading thread's rest after each reading cycle. Pure.
#include <cstdint>
#include <vector>

namespace reading {

// The sleeps, in order, after a cycle that took `cycleMs` of a `periodMs` period. The rest is
// r = period - 1 - cycle: under 1000 ms one sleep of r (at least 1 ms, so a cycle that takes
// the whole period or longer is followed by 1 ms and never skipped); otherwise one-second
// slices while more than 2000 ms remain, then the last one to two seconds in two halves.
std::vector<uint32_t> RestAfterCycle(int64_t periodMs, int64_t cycleMs);

}  // namespace reading
