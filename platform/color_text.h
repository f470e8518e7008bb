#pragma once
// Colours as option files of the original store them in text: the framework's colour
// identifiers ("clBlack" ... "clWhite", the system colours such as "clBtnFace", "clNone",
// "clDefault"), or "$" followed by eight hexadecimal digits. A colour value is 0x00BBGGRR for
// a plain colour, 0x80000000 + n for system colour n.
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// The identifier when the value has one, else "$" and eight upper-case hexadecimal digits.
std::string ColorToString(uint32_t color);

// An identifier (case ignored), or a number: decimal with an optional sign, or hexadecimal
// after "$" or "0x" (32 bits). False, and color untouched, for anything else.
bool TryStringToColor(std::string_view text, uint32_t& color);

}  // namespace platform
