#pragma once
// A sheet's background picture as its BITMAP record holds it: 24-bit pixels, the bottom row
// first, each row blue-green-red and padded to a multiple of four bytes.
#include <cstdint>
#include <string>
#include <vector>

namespace vantrix {

class TxlsGraphic;

struct TxlsBitmapPixels {
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t> Rows;

  static size_t Stride(int width) { return (static_cast<size_t>(width) * 3 + 3) & ~size_t{3}; }
};

// The graphic's picture: bytes given with their size are taken as such rows when they have
// exactly their length, else decoded as a picture file; without bytes, the named file is read
// (any picture type but the vector ones). Transparent pixels show white. False without a
// picture; false with the reason in problem when there is one that cannot be used.
bool BackgroundPixels(const TxlsGraphic& graphic, TxlsBitmapPixels& out, std::string& problem);

}  // namespace vantrix
