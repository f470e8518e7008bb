#include "export/pdf_column_pages.h"

#include <algorithm>
#include <climits>

#include "export/pdf_font.h"

namespace vantrix {

int PDFColumnPoints(int size, double chars, int rule, int cap) {
  rule = std::max(rule, 0);
  cap = std::max(cap, 0);
  if (!(chars > 0) || size <= 0) return std::min(rule, cap);
  // Well past any page: no need to count it in points that an int can't hold.
  if (static_cast<double>(size) * chars >= 1e9) return cap;
  const long long points = static_cast<long long>(CharsToPoints(size, chars)) + rule;
  return static_cast<int>(std::min<long long>(points, cap));
}

namespace {

class Columns {
 public:
  explicit Columns(const TPDFColumnLayoutInput& input)
      : input_(input), room_(std::max(0LL, static_cast<long long>(input.right) - input.left)) {}

  long long Room() const { return room_; }
  size_t Count() const { return input_.widths.size(); }

  // A column's room at the size, at most `cap`.
  int Points(size_t column, int size, long long cap) const {
    return PDFColumnPoints(size, input_.widths[column] + input_.spacing, input_.rule,
                           static_cast<int>(std::min<long long>(cap, INT_MAX)));
  }

  bool Fits(int size) const {
    long long x = 0;
    for (size_t c = 0; c < Count() && x <= room_; ++c) x += Points(c, size, room_ + 1);
    return x <= room_;
  }

  // The largest size from `smallest` up to `largest` at which every column fits; `smallest`
  // when none does. A column never gets narrower at a larger size, so the sizes that fit
  // come first.
  int LargestFitting(int smallest, int largest) const {
    if (!Fits(smallest)) return smallest;
    while (smallest < largest) {
      const int middle = smallest + (largest - smallest + 1) / 2;
      if (Fits(middle)) smallest = middle;
      else largest = middle - 1;
    }
    return smallest;
  }

 private:
  const TPDFColumnLayoutInput& input_;
  long long room_;
};

// The columns from the left, as many as each page holds; the repeated ones again at the left
// of every page after the first, unless they would take more than half of it.
std::vector<TPDFColumnPage> Pages(const Columns& columns, const TPDFColumnLayoutInput& input, int size) {
  const long long room = columns.Room();
  std::vector<int> width(columns.Count());
  for (size_t c = 0; c < width.size(); ++c) width[c] = columns.Points(c, size, room);
  size_t repeated = static_cast<size_t>(std::clamp<long long>(input.repeated, 0, static_cast<long long>(width.size())));
  long long repeatedWidth = 0;
  for (size_t c = 0; c < repeated; ++c) repeatedWidth += width[c];
  if (repeatedWidth * 2 > room) repeated = 0;

  std::vector<TPDFColumnPage> pages;
  size_t next = 0;
  while (next < width.size() || pages.empty()) {
    TPDFColumnPage& page = pages.emplace_back();
    long long x = input.left;
    page.edges.push_back(input.left);
    const auto add = [&](size_t column, long long points) {
      page.columns.push_back(static_cast<int>(column));
      x += points;
      page.edges.push_back(static_cast<int>(x));
    };
    if (pages.size() > 1)
      for (size_t c = 0; c < repeated; ++c) add(c, width[c]);
    bool own = false;  // a column this page is the first to show, beside the repeated ones
    for (; next < width.size(); ++next) {
      const long long free = input.left + room - x;
      if (width[next] > free) {
        if (own) break;
        add(next++, std::max(0LL, free));  // wider than the page on its own: narrowed to it
        break;
      }
      add(next, width[next]);
      own = own || next >= repeated;
    }
  }
  return pages;
}

}  // namespace

TPDFColumnLayout LayOutPDFColumns(const TPDFColumnLayoutInput& input) {
  const Columns columns(input);
  TPDFColumnLayout layout;
  layout.dataSize = input.dataSize;
  layout.captionSize = input.captionSize;
  if (!columns.Fits(input.dataSize)) {
    const int smallest = std::min(input.dataSize, kPDFSmallestShrunkSize);
    if (smallest < input.dataSize) {
      layout.dataSize = columns.LargestFitting(smallest, input.dataSize - 1);
      layout.captionSize = std::min(input.captionSize, layout.dataSize);
    }
  }
  layout.pages = Pages(columns, input, layout.dataSize);
  return layout;
}

}  // namespace vantrix
