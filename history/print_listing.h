#pragma once
// The printed listing of a history table, laid out in tenths of a millimetre: the title and
// a rule at the top of each page, a rule and "Page: n of m" at the bottom, the device-name and
// value-name rows at the top of every page, then the page's block of rows. Columns wider than
// the page go on in further pages of the same rows, each beginning again with the date and
// the time. Pure arithmetic, so the pagination is tested without a printer.
#include <cstddef>
#include <optional>
#include <vector>

namespace history {

struct ListingLayout {
  static constexpr int kTopMargin = 100;
  static constexpr int kBottomMargin = 120;
  static constexpr int kRowHeight = 36;
  static constexpr int kHeaderRows = 2;
  static constexpr int kTitleHeight = 48;
  static constexpr int kTitleTop = 20;
  static constexpr int kRuleWidth = 5;
  static constexpr int kFooterAboveBottom = 90;
  static constexpr int kFirstRowTop = 110;

  int width = 0, height = 0;
  int rowsPerPage = 0;
  // The table rows printed below the two header rows, in order.
  std::vector<size_t> rows;
  // The table columns of each band of columns, and where each column begins in its band.
  std::vector<std::vector<size_t>> bands;
  std::vector<int> left;

  // Pages of rows (at least one: the header rows print alone when no row is left); each
  // is printed once per band.
  size_t RowPages() const;
  size_t PageCount() const { return RowPages() * bands.size(); }
  // The rows of page p (counted from 0) and its band.
  std::vector<size_t> RowsOfPage(size_t page) const;
  const std::vector<size_t>& BandOfPage(size_t page) const { return bands[page % bands.size()]; }
};

// The layout of a page of that size for the columns' widths (tenths of a millimetre) and the
// rows to print below the header; nothing when the page has no room for the two header rows
// and one row.
std::optional<ListingLayout> LayOutListing(int width, int height, const std::vector<int>& columnWidths,
                                           std::vector<size_t> rows);

}  // namespace history
