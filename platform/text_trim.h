#pragma once
// Trimming as the original framework's Trim did it: every byte up to and including the space
// (control characters too) counts as blank at either end. Code page 1252 text, byte by byte.
#include <string>
#include <string_view>

namespace platform {

inline std::string TrimBlanks(std::string_view text) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  size_t first = 0;
  size_t last = text.size();
  while (first < last && blank(text[first])) ++first;
  while (last > first && blank(text[last - 1])) --last;
  return std::string(text.substr(first, last - first));
}

// The same on the text itself, without a copy (a cell of every exported record goes through it).
inline void TrimBlanksInPlace(std::string& text) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  size_t last = text.size();
  while (last > 0 && blank(text[last - 1])) --last;
  text.resize(last);
  size_t first = 0;
  while (first < text.size() && blank(text[first])) ++first;
  if (first > 0) text.erase(0, first);
}

}  // namespace platform
