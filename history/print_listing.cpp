#include "history/print_listing.h"

#include <algorithm>

namespace history {
namespace {

// The date and the time begin every band.
constexpr size_t kRepeatedColumns = 2;

}  // namespace

size_t ListingLayout::RowPages() const {
  const auto perPage = static_cast<size_t>(rowsPerPage);
  return std::max<size_t>(1, (rows.size() + perPage - 1) / perPage);
}

std::vector<size_t> ListingLayout::RowsOfPage(size_t page) const {
  const size_t first = page / bands.size() * static_cast<size_t>(rowsPerPage);
  const size_t end = std::min(rows.size(), first + static_cast<size_t>(rowsPerPage));
  if (first >= end) return {};
  return {rows.begin() + static_cast<std::ptrdiff_t>(first), rows.begin() + static_cast<std::ptrdiff_t>(end)};
}

std::optional<ListingLayout> LayOutListing(int width, int height, const std::vector<int>& columnWidths,
                                           std::vector<size_t> rows) {
  ListingLayout layout;
  layout.width = width;
  layout.height = height;
  const int usable = height - ListingLayout::kTopMargin - ListingLayout::kBottomMargin;
  layout.rowsPerPage = usable / ListingLayout::kRowHeight - ListingLayout::kHeaderRows;
  if (width <= 0 || usable <= 0 || layout.rowsPerPage < 1 || columnWidths.empty()) return std::nullopt;
  layout.rows = std::move(rows);

  const size_t repeated = std::min(kRepeatedColumns, columnWidths.size());
  layout.left.assign(columnWidths.size(), 0);
  int repeatedWidth = 0;
  for (size_t c = 0; c < repeated; ++c) {
    layout.left[c] = repeatedWidth;
    repeatedWidth += std::max(columnWidths[c], 0);
  }
  std::vector<size_t> band;
  int x = repeatedWidth;
  for (size_t c = repeated; c < columnWidths.size(); ++c) {
    const int w = std::max(columnWidths[c], 0);
    // A band holds at least one column of its own, however wide.
    if (!band.empty() && x + w > width) {
      layout.bands.push_back(std::move(band));
      band.clear();
      x = repeatedWidth;
    }
    layout.left[c] = x;
    x += w;
    band.push_back(c);
  }
  if (!band.empty() || layout.bands.empty()) layout.bands.push_back(std::move(band));
  for (std::vector<size_t>& b : layout.bands)
    for (size_t c = repeated; c-- > 0;) b.insert(b.begin(), c);
  return layout;
}

}  // namespace history
