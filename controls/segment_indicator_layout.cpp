#include "controls/segment_indicator_layout.h"

#include <algorithm>
#include <cstdint>

namespace controls {

namespace {

bool IsDot(char c) { return c == '.' || c == ','; }

// One walk over a text. Each dot becomes the decimal point of the character before it; a dot at
// the start or after another dot takes a cell of its own. The walk hands every finished cell to
// the sink, which answers whether there is room for more.
class CellWalk {
 public:
  template <typename Sink>
  bool Step(char ch, bool last, Sink&& sink) {
    const bool first = first_;
    first_ = false;
    if (first && IsDot(ch)) return sink(pending_, true);
    if (IsDot(pending_)) {
      pending_ = ch;
      if (last || IsDot(ch)) return sink(pending_, false);
      return true;
    }
    const char before = pending_;
    if (IsDot(ch)) {
      pending_ = ',';
      return sink(before, true);
    }
    pending_ = ch;
    if (!sink(before, false)) return false;
    if (last) return sink(pending_, false);
    return true;
  }

  // State after walking a run of blanks that is followed by more text.
  void AfterBlanks() {
    first_ = false;
    pending_ = ' ';
  }

 private:
  char pending_ = '.';
  bool first_ = true;
};

}  // namespace

SegmentCell SegmentTextLayout::Cell(int n) const {
  if (n < 1 || n > signNumber || n <= leadingBlanks) return {};
  const auto index = static_cast<size_t>(n - leadingBlanks - 1);
  return index < cells.size() ? cells[index] : SegmentCell{};
}

SegmentTextLayout LayoutSegmentText(const std::string& text, int signNumber, TIAIndicatorKind kind) {
  SegmentTextLayout layout;
  if (signNumber < 1) return layout;
  layout.signNumber = signNumber;
  const int64_t n = signNumber;
  const int64_t length = static_cast<int64_t>(text.size());

  if (kind == ik5x7matrix) {
    layout.leadingBlanks = static_cast<int>(std::max<int64_t>(0, n - length));
    const auto shown = static_cast<size_t>(std::min(length, n));
    for (size_t i = 0; i < shown; ++i) layout.cells.push_back({text[i], false});
    return layout;
  }

  // Counting pass: how many cells the text takes, stopping once they are full.
  int64_t c = 1;
  {
    CellWalk walk;
    auto count = [&](char, bool) { return ++c <= n; };
    for (int64_t i = 0; i < length && c <= n; ++i)
      if (!walk.Step(text[i], i == length - 1, count)) break;
  }

  // The shown text is the given one behind a run of blanks (one more when it starts with a dot)
  // that right-aligns it. The walk over that run gives one blank cell per blank but the last,
  // which is still pending when the text starts; without text every blank is a cell.
  const int64_t blanks = (length > 0 && IsDot(text[0]) ? 1 : 0) + std::max<int64_t>(0, n - c + 1);
  CellWalk walk;
  int64_t emitted = 0;
  if (blanks > 0) {
    emitted = std::min(length == 0 ? blanks : blanks - 1, n);
    walk.AfterBlanks();
  }
  layout.leadingBlanks = static_cast<int>(emitted);
  auto emit = [&](char ch, bool point) {
    if (emitted >= n) return false;
    layout.cells.push_back({ch, point});
    return ++emitted < n;
  };
  for (int64_t i = 0; i < length && emitted < n; ++i)
    if (!walk.Step(text[i], i == length - 1, emit)) break;
  return layout;
}

}  // namespace controls
