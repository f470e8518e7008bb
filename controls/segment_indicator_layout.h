#pragma once
// Placing a text into the character cells of the segment indicator: right-aligned, a decimal
// point or comma joining the cell of the character before it (segment kinds), or one character
// per cell (matrix kind).
#include <string>
#include <vector>

#include "controls/segment_indicator_types.h"

namespace controls {

struct SegmentCell {
  char character = ' ';
  bool pointLit = false;
};

// The cells 1..signNumber of a text: blank cells first, then the cells made from the text. The
// blank run is kept as a count so that a huge cell count costs nothing.
struct SegmentTextLayout {
  int signNumber = 0;
  int leadingBlanks = 0;
  std::vector<SegmentCell> cells;  // cells leadingBlanks + 1 onwards

  // Cell n, 1-based; cells outside 1..signNumber are blank.
  SegmentCell Cell(int n) const;
};

// text: code page 1252 bytes. A signNumber below 1 gives no cells.
SegmentTextLayout LayoutSegmentText(const std::string& text, int signNumber, TIAIndicatorKind kind);

}  // namespace controls
