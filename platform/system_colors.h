#pragma once
// The desktop's system colours as fixed RGB values (a classic light theme), so that a colour
// value 0x80000000 + n means the same pixels on every machine, in windows and in files alike.
#include <cstdint>

namespace platform {

inline constexpr uint32_t kSystemColorBase = 0x80000000;
inline constexpr bool IsSystemColor(uint32_t color) { return (color & 0xFF000000u) == kSystemColorBase; }

// 0xRRGGBB of system colour n; mid grey for an unknown one.
uint32_t SystemColorRgb(unsigned index);

// A colour value as a plain 0x00BBGGRR: a system colour resolved, any other's low 24 bits.
uint32_t PlainColor(uint32_t color);

}  // namespace platform
