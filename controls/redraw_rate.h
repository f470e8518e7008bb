#pragma once
// Redraws per second from the start and end of one redraw on a millisecond tick count that
// wraps at 32 bits. No value when the redraw took no measurable time.
#include <cstdint>
#include <optional>

namespace draw {

std::optional<int> RedrawsPerSecond(uint32_t startTickMs, uint32_t endTickMs);

}  // namespace draw
