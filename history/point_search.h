#pragma once
// The point of a series under a cursor time.
#include <cstddef>

namespace history {

// Bisects keys (ascending) for an index i with key(i) <= x <= key(i + 1); count 1 gives 0.
// The caller checks first that x lies within the series. Time stamps that go back (a clock
// set back during a recording) give some nearby index, never one outside the series.
// Returns -1 for an empty series or a NaN x.
template <class KeyAt>
long FindPointIndex(const KeyAt& keyAt, size_t count, double x) {
  if (count == 0 || x != x) return -1;
  size_t lo = 0, hi = count - 1;
  while (hi > lo) {
    const size_t mid = lo + (hi - lo) / 2;
    const double a = keyAt(mid);
    const double b = keyAt(mid + 1);
    if (a <= x && x <= b) return static_cast<long>(mid);
    if (a < x)
      lo = mid + 1;
    else
      hi = mid;
  }
  return static_cast<long>(lo);
}

}  // namespace history
