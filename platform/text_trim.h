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

}  // namespace platform
