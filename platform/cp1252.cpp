#include "platform/cp1252.h"

#include <array>
#include <cstdint>

namespace platform {
namespace {

// Code points of bytes 0x80..0x9F. The five undefined bytes keep the C1 control of the same
// value so that any byte string survives a trip through UTF-8.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

char32_t ByteToCodePoint(unsigned char b) {
  return (b >= 0x80 && b <= 0x9F) ? kHighControls[b - 0x80] : static_cast<char32_t>(b);
}

// The byte for a code point, or '?' when code page 1252 has no such character.
char CodePointToByte(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (size_t i = 0; i < kHighControls.size(); ++i)
    if (kHighControls[i] == cp) return static_cast<char>(0x80 + i);
  return '?';
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {  // every code point of the table is below U+10000
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Decodes one UTF-8 sequence at text[pos]. Returns the number of bytes consumed (at least 1)
// and sets ok to false for an ill-formed sequence, which then spans the bytes that could
// still have belonged to a valid one.
size_t DecodeOne(std::string_view text, size_t pos, char32_t& cp, bool& ok) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = byte(pos);
  ok = false;
  if (lead < 0x80) {
    cp = lead;
    ok = true;
    return 1;
  }
  size_t length;
  unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    cp = lead & 0x0F;
    if (lead == 0xE0) lo = 0xA0;  // overlong
    if (lead == 0xED) hi = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    cp = lead & 0x07;
    if (lead == 0xF0) lo = 0x90;  // overlong
    if (lead == 0xF4) hi = 0x8F;  // above U+10FFFF
  } else {
    return 1;
  }
  size_t i = 1;
  for (; i < length; ++i) {
    if (pos + i >= text.size()) return i;
    unsigned char b = byte(pos + i);
    unsigned char min = i == 1 ? lo : 0x80, max = i == 1 ? hi : 0xBF;
    if (b < min || b > max) return i;
    cp = (cp << 6) | (b & 0x3F);
  }
  ok = true;
  return length;
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view cp1252) {
  std::string out;
  out.reserve(cp1252.size() + cp1252.size() / 4);
  for (char c : cp1252) AppendUtf8(out, ByteToCodePoint(static_cast<unsigned char>(c)));
  return out;
}

std::string Utf8ToCp1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t pos = 0; pos < utf8.size();) {
    char32_t cp = 0;
    bool ok = false;
    pos += DecodeOne(utf8, pos, cp, ok);
    out.push_back(ok ? CodePointToByte(cp) : '?');
  }
  return out;
}

bool IsValidUtf8(std::string_view text) {
  for (size_t pos = 0; pos < text.size();) {
    char32_t cp = 0;
    bool ok = false;
    pos += DecodeOne(text, pos, cp, ok);
    if (!ok) return false;
  }
  return true;
}

void ReplaceCp1252NonCharacters(std::string& text) {
  // Every cell of an export passes here: a table lookup per byte, no branch for the bytes kept.
  static constexpr auto kReplaced = [] {
    std::array<char, 256> table{};
    for (int b = 0; b < 256; ++b)
      table[static_cast<size_t>(b)] = IsCp1252NonCharacter(static_cast<unsigned char>(b)) ? '?' : static_cast<char>(b);
    return table;
  }();
  for (char& c : text) c = kReplaced[static_cast<unsigned char>(c)];
}

std::string ExternalTextToCp1252(std::string_view text) {
  return IsValidUtf8(text) ? Utf8ToCp1252(text) : std::string(text);
}

}  // namespace platform
