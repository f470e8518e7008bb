#pragma once
// How a PDF table's columns go across the page: the size its fonts are set in, and the pages
// each row is drawn on. A table keeps its sizes when it fits between the margins; a wider one
// takes the largest whole size at which it fits, but never less than kPDFSmallestShrunkSize
// (a size the user chose smaller stays theirs). What is still too wide at that size goes on
// column pages: the columns that did not fit, on following pages, with the leading columns
// that repeat (the date and time of a recording) again at the left of each. A column wider
// than the printable width on its own is narrowed to it, and its texts are cut there.
//
// Pure layout: widths in average characters in, font sizes and rule positions in points out.
#include <vector>

namespace vantrix {

// The smallest size a table's fonts are made to fit the page in.
inline constexpr int kPDFSmallestShrunkSize = 6;

struct TPDFColumnLayoutInput {
  std::vector<int> widths;  // of each column, in average characters
  double spacing = 0;       // between two columns' texts, in average characters
  int rule = 0;             // the width of a column rule in points, whatever the size
  int left = 0, right = 0;  // where the table may start and end, in points
  int dataSize = 10, captionSize = 10;
  int repeated = 0;  // leading columns drawn again on every column page
};

struct TPDFColumnPage {
  std::vector<int> columns;  // the columns drawn, left to right
  std::vector<int> edges;    // each one's left rule, then the last one's right rule
};

struct TPDFColumnLayout {
  int dataSize = 10, captionSize = 10;
  std::vector<TPDFColumnPage> pages;  // at least one; several only for a table still too wide
};

// The room a column takes at a size: its characters and the spacing, rounded to whole points
// as CharsToPoints rounds, and its rule, which does not grow or shrink with the text; at most
// `cap` points (a width read from a file may be any number).
int PDFColumnPoints(int size, double chars, int rule, int cap);

TPDFColumnLayout LayOutPDFColumns(const TPDFColumnLayoutInput& input);

}  // namespace vantrix
