// How a PDF table's columns go across the page: made smaller down to a size still read, on
// column pages beyond that (every column once, the repeated ones again at the left of each
// later page), a column wider than the page narrowed to it, whatever numbers a file gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "export/pdf_column_pages.h"
#include "export/pdf_font.h"

namespace {

using namespace vantrix;

// An A4 portrait page inside the PDF options' default margins: 467 points across.
TPDFColumnLayoutInput Table(std::vector<int> widths, double spacing = 3) {
  TPDFColumnLayoutInput input;
  input.widths = std::move(widths);
  input.spacing = spacing;
  input.rule = 1;
  input.left = 85;
  input.right = 552;
  return input;
}

// Every page inside the margins, its edges one per column and one more, rising; the columns
// after the repeated ones shown once each, in order, over the pages.
void ExpectWholeTable(const TPDFColumnLayout& layout, const TPDFColumnLayoutInput& input, int repeated) {
  std::vector<int> shown;
  for (size_t p = 0; p < layout.pages.size(); ++p) {
    const TPDFColumnPage& page = layout.pages[p];
    ASSERT_EQ(page.edges.size(), page.columns.size() + 1) << p;
    EXPECT_EQ(page.edges.front(), input.left) << p;
    EXPECT_LE(page.edges.back(), input.right) << p;
    EXPECT_TRUE(std::is_sorted(page.edges.begin(), page.edges.end())) << p;
    size_t own = 0;
    if (p > 0) {
      for (; own < static_cast<size_t>(repeated); ++own) EXPECT_EQ(page.columns.at(own), static_cast<int>(own)) << p;
    }
    shown.insert(shown.end(), page.columns.begin() + static_cast<long>(own), page.columns.end());
  }
  std::vector<int> all(input.widths.size());
  for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int>(i);
  EXPECT_EQ(shown, all);
}

TEST(PdfColumnPages, AWiderTableTakesTheLargestSizeThatFitsAndNoLessThanSix) {
  // Ten columns of 15 characters: 10 x (7.3 points a size + the rule) fit at 6, not at 7.
  const TPDFColumnLayoutInput input = Table(std::vector<int>(10, 12));
  const TPDFColumnLayout layout = LayOutPDFColumns(input);
  EXPECT_EQ(layout.dataSize, 6);
  EXPECT_EQ(layout.captionSize, 6);
  ASSERT_EQ(layout.pages.size(), 1u);
  EXPECT_EQ(layout.pages[0].edges.back(), 85 + 10 * (CharsToPoints(6, 15) + 1));

  // Half as many fit at a larger size, found among sizes up to the largest a user may set.
  TPDFColumnLayoutInput half = Table(std::vector<int>(5, 12));
  half.dataSize = 1000;
  half.captionSize = 8;
  const TPDFColumnLayout larger = LayOutPDFColumns(half);
  EXPECT_EQ(larger.dataSize, 12);
  EXPECT_LE(5 * (CharsToPoints(12, 15) + 1), 467);
  EXPECT_GT(5 * (CharsToPoints(13, 15) + 1), 467);
  EXPECT_EQ(larger.captionSize, 8);  // a caption smaller than the data keeps its size
}

TEST(PdfColumnPages, RepeatedColumnsBeginEveryLaterPageUnlessTheyTakeHalfOfIt) {
  TPDFColumnLayoutInput input = Table({12, 14, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10}, 1);
  input.repeated = 2;
  const TPDFColumnLayout layout = LayOutPDFColumns(input);
  EXPECT_EQ(layout.dataSize, 6);
  ASSERT_GT(layout.pages.size(), 1u);
  ExpectWholeTable(layout, input, 2);
  // The repeated columns are as wide on every page.
  for (const TPDFColumnPage& page : layout.pages)
    EXPECT_EQ(std::vector<int>(page.edges.begin(), page.edges.begin() + 3),
              std::vector<int>(layout.pages[0].edges.begin(), layout.pages[0].edges.begin() + 3));

  input.widths[0] = 60;
  input.widths[1] = 60;
  const TPDFColumnLayout wide = LayOutPDFColumns(input);
  ExpectWholeTable(wide, input, 0);
  EXPECT_NE(wide.pages[1].columns.front(), 0);
}

TEST(PdfColumnPages, AColumnWiderThanThePageIsNarrowedToIt) {
  // Alone on its page it takes the page; after the repeated columns, what they leave.
  TPDFColumnLayoutInput input = Table({8, 3, 400, 5}, 1);
  const TPDFColumnLayout alone = LayOutPDFColumns(input);
  EXPECT_EQ(alone.dataSize, 6);
  ASSERT_EQ(alone.pages.size(), 3u);
  EXPECT_EQ(alone.pages[1].columns, std::vector<int>{2});
  EXPECT_EQ(alone.pages[1].edges, (std::vector<int>{85, 552}));
  ExpectWholeTable(alone, input, 0);

  input.repeated = 2;
  const TPDFColumnLayout after = LayOutPDFColumns(input);
  ASSERT_EQ(after.pages.size(), 2u);
  EXPECT_EQ(after.pages[0].columns, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(after.pages[0].edges.back(), 552);
  EXPECT_EQ(after.pages[1].columns, (std::vector<int>{0, 1, 3}));
  ExpectWholeTable(after, input, 2);
}

TEST(PdfColumnPages, NumbersFromAFileNeitherOverflowNorHang) {
  // Widths and sizes of any size, no columns, a rule wider than the page, no room at all.
  TPDFColumnLayoutInput input = Table({INT_MAX, 1, INT_MAX, -5});
  input.dataSize = INT_MAX;
  input.captionSize = INT_MAX;
  const TPDFColumnLayout huge = LayOutPDFColumns(input);
  EXPECT_EQ(huge.dataSize, 6);
  ExpectWholeTable(huge, input, 0);

  const TPDFColumnLayout none = LayOutPDFColumns(Table({}));
  ASSERT_EQ(none.pages.size(), 1u);
  EXPECT_EQ(none.pages[0].edges, std::vector<int>{85});

  TPDFColumnLayoutInput thick = Table({1, 1, 1});
  thick.rule = 1000;
  const TPDFColumnLayout ruled = LayOutPDFColumns(thick);
  ASSERT_EQ(ruled.pages.size(), 3u);
  ExpectWholeTable(ruled, thick, 0);

  TPDFColumnLayoutInput shut = Table({5, 5});
  shut.right = shut.left;
  shut.repeated = 1;
  ExpectWholeTable(LayOutPDFColumns(shut), shut, 1);

  EXPECT_EQ(PDFColumnPoints(10, 1e300, 1, 500), 500);
  EXPECT_EQ(PDFColumnPoints(10, -3, 2, 500), 2);
  EXPECT_EQ(PDFColumnPoints(0, 10, 2, 500), 2);
}

}  // namespace
