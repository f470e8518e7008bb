#include "controls/redraw_rate.h"

namespace draw {

std::optional<int> RedrawsPerSecond(uint32_t startTickMs, uint32_t endTickMs) {
  int64_t end = endTickMs;
  if (endTickMs < startTickMs) end += int64_t{1} << 32;  // the tick count wrapped
  const int64_t elapsed = end - startTickMs;
  if (elapsed <= 0) return std::nullopt;
  return static_cast<int>(1000 / elapsed);
}

}  // namespace draw
