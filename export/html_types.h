#pragma once
// Choices of the HTML exporter that its option holders share.
#include <bitset>
#include <initializer_list>

namespace vantrix {

// The style sheet inside each page, or in a file of its own that the pages link.
enum TUsingCSS { usInternal, usExternal };

// Settings left to the browser: no font-family, or no font-size declarations.
enum TDefaultOption { doFontName, doFontSize };
using TDefaultOptions = std::bitset<2>;

inline TDefaultOptions DefaultOptionsOf(std::initializer_list<TDefaultOption> options) {
  TDefaultOptions set;
  for (const TDefaultOption option : options) set.set(option);
  return set;
}

}  // namespace vantrix
