#pragma once
// Text from files and instruments is Windows code page 1252, kept as 8-bit bytes in the core.
// These convert at the boundary to UTF-8 (and so to QString at the window boundary).
#include <string>
#include <string_view>

namespace platform {

// Every byte maps; the five bytes that code page 1252 leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) map to the C1 control characters of the same value, so nothing is lost.
std::string Cp1252ToUtf8(std::string_view cp1252);

// A character with no code page 1252 form becomes '?'; malformed UTF-8 bytes become '?' too.
// Each maximal ill-formed subsequence (a stray continuation byte, a lead byte whose
// continuation stops short, an overlong form, a surrogate, a code point above U+10FFFF)
// gives one '?'.
std::string Utf8ToCp1252(std::string_view utf8);

// True when the text is well-formed UTF-8 (plain ASCII included).
bool IsValidUtf8(std::string_view text);

// NUL and the five bytes code page 1252 leaves undefined stand for no character. Kept through
// a trip to UTF-8 (above), but a file for another program must not carry them: a NUL ends a
// string, and a reader decoding the code page refuses the other five.
constexpr bool IsCp1252NonCharacter(unsigned char byte) {
  return byte == 0 || byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}
// Each such byte becomes '?', as a character with no code page 1252 form does.
void ReplaceCp1252NonCharacters(std::string& text);

// Text from outside the core whose encoding is not known (a file name as the file system
// spells it, text from sysfs, a command line): well-formed UTF-8 is converted, anything else is
// taken as code page 1252 already. Used to show such text in messages and pages.
std::string ExternalTextToCp1252(std::string_view text);

}  // namespace platform
