#pragma once
// Case-insensitive comparison of code page 1252 text, as the original framework's text
// comparisons did it: ASCII, the accented Latin-1 letters and the few letters of 0x80..0x9F
// that have a case pair.
#include <string>
#include <string_view>

namespace platform {

constexpr unsigned char Cp1252FoldCase(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 0x20);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 0x20);
  if (c == 0x8A || c == 0x8C || c == 0x8E) return static_cast<unsigned char>(c + 0x10);  // Š Œ Ž
  if (c == 0x9F) return 0xFF;                                                              // Ÿ
  return c;
}

constexpr unsigned char Cp1252UpperCase(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 0x20);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
  if (c == 0x9A || c == 0x9C || c == 0x9E) return static_cast<unsigned char>(c - 0x10);  // š œ ž
  if (c == 0xFF) return 0x9F;                                                              // ÿ
  return c;
}

// The text with every letter folded: two texts equal but for case have the same key (for
// indexes of names looked up without regard to case).
inline std::string Cp1252Folded(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(Cp1252FoldCase(static_cast<unsigned char>(c)));
  return out;
}

constexpr bool Cp1252SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Cp1252FoldCase(static_cast<unsigned char>(a[i])) != Cp1252FoldCase(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// <0, 0 or >0 as a sorts before, with or after b, case ignored.
constexpr int Cp1252CompareText(std::string_view a, std::string_view b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const int x = Cp1252FoldCase(static_cast<unsigned char>(a[i]));
    const int y = Cp1252FoldCase(static_cast<unsigned char>(b[i]));
    if (x != y) return x - y;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace platform
