// The PDF exporter's layout: where the table starts, where pages break, which cells get a
// background, right-aligned text against its edge, wide tables kept on the page, and the
// colours a new page starts with.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>

#include "document_fixtures.h"
#include "export/library_strings.h"
#include "export/model_source.h"
#include "export/vantrix3_pdf.h"
#include "support/allocation_meter.h"

namespace {

using namespace vantrix;
using exporttest::TextSource;

struct Text {
  int x, y;
  std::string text;
};

// Every text drawn, in order.
std::vector<Text> Texts(const std::string& pdf) {
  std::vector<Text> out;
  static const std::regex op(R"((-?\d+) (-?\d+) Td \(((?:[^\\)]|\\.)*)\) Tj)");
  for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), op); it != std::sregex_iterator(); ++it)
    out.push_back({std::stoi((*it)[1]), std::stoi((*it)[2]), (*it)[3]});
  return out;
}

const Text* Find(const std::vector<Text>& texts, const std::string& text) {
  for (const Text& t : texts)
    if (t.text == text) return &t;
  return nullptr;
}

TEST(PdfExport, DefaultPageAndTheTableStartingAtTheTopMargin) {
  TextSource source({"A", "B"}, {{"x", "y"}});
  TVantrix3PDF pdf;
  const std::string out = exporttest::Export(pdf, source);
  EXPECT_NE(out.find("/MediaBox [0 0 594 841]\r/TrimBox [85 57 552 784]"), std::string::npos);
  // The first rule at the top of the trim box, then the caption baseline 15 below.
  EXPECT_NE(out.find("stream\r\n0.000000 0.000000 0.000000 RG\r1.0 w \r85.0 784.0 m \r"), std::string::npos);
  const auto texts = Texts(out);
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0].y, 769);
  EXPECT_EQ(texts[0].x, 85 + CharsToPoints(10, 1.5));
  EXPECT_EQ(texts[2].y, 749);  // caption 20 points high, then the row's baseline 15 below
  EXPECT_NE(out.find("<< /Font <</DataFont 4 0 R /CaptionFont 5 0 R /HeaderFont 6 0 R /FooterFont 7 0 R  >>"),
            std::string::npos);
}

TEST(PdfExport, PagesBreakWhenTheNextRowNoLongerFits) {
  // Rows are 20 points high: after the caption (784 to 764) 35 rows fit above 57.
  TextSource fits({"A"}, exporttest::NumberedRows(35, 1));
  TVantrix3PDF pdf;
  std::string out = exporttest::Export(pdf, fits);
  EXPECT_NE(out.find("/Count 1\r"), std::string::npos);
  EXPECT_EQ(pdf.CurrentY(), 64);

  TextSource breaks({"A"}, exporttest::NumberedRows(36, 1));
  pdf.Options().DataFont.FontColor = 0x0000FF;
  out = exporttest::Export(pdf, breaks);
  EXPECT_NE(out.find("/Count 2\r"), std::string::npos);
  const auto texts = Texts(out);
  ASSERT_NE(Find(texts, "r35c0"), nullptr);
  ASSERT_NE(Find(texts, "r34c0"), nullptr);
  EXPECT_EQ(Find(texts, "r35c0")->y, 769);
  EXPECT_EQ(Find(texts, "r34c0")->y, 69);
  // The new page starts with both colours, then the rule at its top.
  const size_t page2 = out.find("stream\r\n", out.find("r34c0"));
  EXPECT_EQ(out.substr(page2 + 8, 63),
            "1.000000 0.000000 0.000000 rg\r0.000000 0.000000 0.000000 RG\r1.0");
}

TEST(PdfExport, BackgroundRectanglesOnlyForCellsThatAreNotWhite) {
  TextSource source({"A", "B", "C"}, {{"white", "black", "red"}});
  TVantrix3PDF pdf;
  pdf.OnGetCellParams = [](TVantrix3&, int, int col, const std::string&, TVantrixColAlign&, TVantrixFont& font,
                           uint32_t& background) {
    if (col == 1) background = 0;
    if (col == 2) {
      background = 0x00FFFF;
      font.color = 0x0000FF;
    }
  };
  const std::string out = exporttest::Export(pdf, source);
  EXPECT_EQ(exporttest::Count(out, " re f\r"), 2u);
  EXPECT_NE(out.find("1.000000 1.000000 0.000000 rg\r"), std::string::npos);  // yellow box
  EXPECT_NE(out.find("1.000000 0.000000 0.000000 rg\rBT"), std::string::npos);  // red text
}

// A cell's background fills its row from the rule below up to where the stroke of the rule
// above begins, so that rule is drawn whole.
TEST(PdfExport, ABackgroundEndsHalfALineBelowTheRuleAbove) {
  TextSource source({"A"}, {{"x"}});
  TVantrix3PDF pdf;
  pdf.Options().GridLineWidth = 4;
  pdf.OnGetCellParams = [](TVantrix3&, int, int, const std::string&, TVantrixColAlign&, TVantrixFont&,
                           uint32_t& background) { background = 0x00FFFF; };
  const std::string out = exporttest::Export(pdf, source);
  std::smatch box;
  ASSERT_TRUE(std::regex_search(out, box, std::regex(R"((-?[\d.]+) (-?[\d.]+) ([\d.]+) ([\d.]+) re f)")));
  // The row's baseline is 749 (as with a line of 1): its rules are at 764 and 744.
  EXPECT_DOUBLE_EQ(std::stod(box[2]), 744);
  EXPECT_DOUBLE_EQ(std::stod(box[2]) + std::stod(box[4]), 764 - 4 / 2.0);
  EXPECT_NE(out.find("85.0 764.0 m "), std::string::npos);
}

// Boolean columns are centred by default: values of any width share the column's middle.
TEST(PdfExport, CentredCellsShareTheMiddleOfTheirColumn) {
  TextSource source({"Ok"}, {{"true"}, {"false"}}, 10, {ectBoolean});
  TVantrix3PDF pdf;
  const auto texts = Texts(exporttest::Export(pdf, source));
  const double middle = pdf.ColumnEdges()[0] + CharsToPoints(10, 1.5) + CharsToPoints(10, 10) / 2.0;
  for (const std::string value : {"true", "false"}) {
    const Text* text = Find(texts, value);
    ASSERT_NE(text, nullptr) << value;
    EXPECT_NEAR(text->x + TextWidth(value, pdf.Options().DataFont) / 2.0, middle, 1.0) << value;
  }
}

TEST(PdfExport, RightAlignedTextEndsAtItsEdgeMeasuredUnescaped) {
  TextSource source({"N"}, {{"(1)\\"}, {"22"}});
  TVantrix3PDF pdf;
  pdf.ColumnsAlign = {"c0=Right"};
  const std::string out = exporttest::Export(pdf, source);
  const auto texts = Texts(out);
  const int edge = pdf.ColumnEdges()[1] - CharsToPoints(10, 1.5);
  ASSERT_NE(Find(texts, "\\(1\\)\\\\"), nullptr);
  EXPECT_EQ(Find(texts, "\\(1\\)\\\\")->x, edge - TextWidth("(1)\\", pdf.Options().DataFont));
  EXPECT_EQ(Find(texts, "22")->x, edge - TextWidth("22", pdf.Options().DataFont));
}

// Every size a text is set in, by the font's resource name.
std::vector<std::pair<std::string, int>> Sizes(const std::string& pdf) {
  std::vector<std::pair<std::string, int>> out;
  static const std::regex op(R"(/(\w+) (-?\d+) Tf)");
  for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), op); it != std::sregex_iterator(); ++it)
    out.emplace_back((*it)[1], std::stoi((*it)[2]));
  return out;
}

// The content of every page, in page order.
std::vector<std::string> PageContents(const std::string& pdf) {
  std::vector<std::string> out;
  for (size_t at = pdf.find("stream\r\n"); at != std::string::npos; at = pdf.find("stream\r\n", at)) {
    const size_t end = pdf.find("endstream", at);
    out.push_back(pdf.substr(at + 8, end - at - 8));
    at = end + 9;
  }
  return out;
}

TEST(PdfExport, AWideTableIsSetSmallerButNeverBelowSixPoints) {
  // Ten columns fit at 6 points; at a size of the user's own below that nothing is changed.
  TextSource source(exporttest::NumberedCaptions(10), exporttest::NumberedRows(3, 10), 12);
  TVantrix3PDF pdf;
  std::string out = exporttest::Export(pdf, source);
  EXPECT_EQ(pdf.RunDataFontSize(), 6);
  EXPECT_EQ(pdf.RunCaptionFontSize(), 6);
  EXPECT_EQ(pdf.ColumnPages().size(), 1u);
  EXPECT_NE(out.find("/Count 1\r"), std::string::npos);
  for (const auto& [font, size] : Sizes(out)) EXPECT_EQ(size, 6) << font;

  TextSource wide(exporttest::NumberedCaptions(40), exporttest::NumberedRows(3, 40), 12);
  pdf.Options().DataFont.FontSize = 5;
  pdf.Options().CaptionFont.FontSize = 4;
  out = exporttest::Export(pdf, wide);
  EXPECT_EQ(pdf.RunDataFontSize(), 5);
  EXPECT_EQ(pdf.RunCaptionFontSize(), 4);
  EXPECT_NE(out.find("/DataFont 5 Tf"), std::string::npos);
  EXPECT_NE(out.find("/CaptionFont 4 Tf"), std::string::npos);

  TextSource narrow({"A"}, {{"x"}});  // a table that fits keeps its sizes
  pdf.Options().DataFont.FontSize = 10;
  exporttest::Export(pdf, narrow);
  EXPECT_EQ(pdf.RunDataFontSize(), 10);
}

// 20 columns at 6 points take two pages across, 80 rows two pages down: each page of rows is
// followed by the page of its other columns, the same rows at the same heights; the captions
// head the first of each; every cell is drawn once and its event fires once.
TEST(PdfExport, WhatStillDoesNotFitGoesOnColumnPagesAfterEachPageOfRows) {
  TextSource source(exporttest::NumberedCaptions(20), exporttest::NumberedRows(80, 20), 12);
  TVantrix3PDF pdf;
  pdf.Footer = {"The end"};
  int events = 0;
  pdf.OnGetCellParams = [&events](TVantrix3&, int, int col, const std::string&, TVantrixColAlign&, TVantrixFont&,
                                  uint32_t& background) {
    ++events;
    if (col == 15) background = 0x00FFFF;
  };
  const std::string out = exporttest::Export(pdf, source);
  EXPECT_EQ(events, 80 * 20);
  EXPECT_EQ(pdf.RunDataFontSize(), 6);
  ASSERT_EQ(pdf.ColumnPages().size(), 2u);
  const std::vector<std::string> pages = PageContents(out);
  ASSERT_EQ(pages.size(), 4u);
  const TPDFBox trim = pdf.Options().PageOptions.GetTrimBox();
  std::map<std::string, int> seen;
  std::vector<std::vector<int>> heights(pages.size());
  for (size_t p = 0; p < pages.size(); ++p) {
    // Every page starts with both colours, as the first does.
    if (p > 0) {
      EXPECT_EQ(pages[p].rfind("0.000000 0.000000 0.000000 rg\r0.000000 0.000000 0.000000 RG\r", 0), 0u) << p;
    }
    for (const Text& t : Texts(pages[p])) {
      ++seen[t.text];
      if (t.text.starts_with("r")) heights[p].push_back(t.y);
      if (t.text != "The end") {
        const int column = std::stoi(t.text.substr(t.text.starts_with("Col") ? 3 : t.text.find('c') + 1));
        EXPECT_EQ(p % 2, column < 10 ? 0u : 1u) << t.text << " on page " << p;
      }
      TPDFFont run = pdf.Options().DataFont;
      run.FontSize = 6;
      EXPECT_LE(t.x + TextWidth(t.text, run), trim.Right) << t.text;
    }
  }
  for (int r = 0; r < 80; ++r)
    for (int c = 0; c < 20; ++c) EXPECT_EQ(seen["r" + std::to_string(r) + "c" + std::to_string(c)], 1) << r << " " << c;
  for (int c = 0; c < 20; ++c) EXPECT_EQ(seen["Col" + std::to_string(c)], 1) << c;
  EXPECT_EQ(seen["The end"], 1);
  EXPECT_NE(pages[3].find("The end"), std::string::npos);  // below the table on the last page
  // The captions head the first page of rows across; the second has none.
  const std::vector<Text> firstAcross = Texts(pages[0]), secondAcross = Texts(pages[1]);
  const Text *col0 = Find(firstAcross, "Col0"), *col10 = Find(secondAcross, "Col10");
  ASSERT_NE(col0, nullptr);
  ASSERT_NE(col10, nullptr);
  EXPECT_EQ(col0->y, col10->y);
  EXPECT_EQ(pages[2].find("Col"), std::string::npos);
  std::set<int> first(heights[0].begin(), heights[0].end()), second(heights[2].begin(), heights[2].end());
  EXPECT_EQ(std::set<int>(heights[1].begin(), heights[1].end()), first);
  EXPECT_EQ(std::set<int>(heights[3].begin(), heights[3].end()), second);
  EXPECT_EQ(heights[0].size() + heights[2].size(), 80u * 10);
  // Column 15's backgrounds only where it is drawn, and its rows' rules and edges on its pages.
  EXPECT_EQ(exporttest::Count(pages[0], " re f\r") + exporttest::Count(pages[2], " re f\r"), 0u);
  EXPECT_EQ(exporttest::Count(pages[1], " re f\r") + exporttest::Count(pages[3], " re f\r"), 80u);
  const std::string right = std::to_string(pdf.ColumnPages()[1].edges.back()) + ".0 ";
  EXPECT_EQ(exporttest::Count(pages[1], right), exporttest::Count(pages[0], std::to_string(pdf.ColumnEdges().back()) + ".0 "));
}

// The cells of the column pages wait for their page of rows to end, and no longer: what a run
// holds does not grow with the rows, however many pages they take (20 times as many rows here).
TEST(PdfExport, ColumnPagesHoldNoMoreThanAPageOfRows) {
  const auto peak = [](int rows) {
    TextSource source(exporttest::NumberedCaptions(30), exporttest::NumberedRows(rows, 30), 12);
    TVantrix3PDF pdf;
    pdf.Formats().SetSettings(exporttest::CSettings());
    pdf.Formats().ResetFormats();
    pdf.SetExportSource(esCustom);
    pdf.SetCustomSource(&source);
    DiscardOutputStream out;
    allocation_meter::Restart();
    pdf.ExportToStream(out);
    EXPECT_EQ(pdf.ColumnPages().size(), 3u);
    return allocation_meter::PeakSinceRestart();
  };
  const size_t few = peak(500), many = peak(10000);
  // Beside the page, the document keeps a few numbers for each of its pages.
  EXPECT_LT(many, 2 * few) << few << " bytes for 500 rows";
}

TEST(PdfExport, AnEmptyTableWithoutCaptionsDrawsNoRules) {
  exporttest::TableModel model({"A"}, {});
  TVantrixModelSource source(&model);
  TVantrix3PDF pdf;
  pdf.AllowCaptions = false;
  pdf.SetExportSource(esDataSet);
  pdf.SetDataSet(&source);
  MemoryOutputStream out;
  pdf.ExportToStream(out);
  EXPECT_EQ(exporttest::Count(out.Bytes(), " l \rS\r"), 0u);
  EXPECT_NE(out.Bytes().find("/Count 1\r"), std::string::npos);
}

TEST(PdfExport, FooterLinesBreakPagesWithBothColoursAgain) {
  TextSource source({"A"}, exporttest::NumberedRows(35, 1));
  TVantrix3PDF pdf;
  pdf.Footer = {"end (of) table"};
  pdf.Options().FooterFont.FontColor = 0x00FF00;
  const std::string out = exporttest::Export(pdf, source);
  EXPECT_NE(out.find("/Count 2\r"), std::string::npos);
  const auto texts = Texts(out);
  ASSERT_NE(Find(texts, "end \\(of\\) table"), nullptr);
  EXPECT_EQ(Find(texts, "end \\(of\\) table")->y, 769);
  EXPECT_NE(out.find("stream\r\n0.000000 1.000000 0.000000 rg\r0.000000 0.000000 0.000000 RG\rBT\r/FooterFont"),
            std::string::npos);
}

TEST(PdfExport, HeaderLinesComeFirstAndMoveTheTableDown) {
  TextSource source({"A"}, {{"x"}});
  TVantrix3PDF pdf;
  pdf.Header = {"Tervana", "Leituras"};
  const auto texts = Texts(exporttest::Export(pdf, source));
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0].y, 769);
  EXPECT_EQ(texts[1].y, 754);
  EXPECT_EQ(texts[2].y, 754 - 5 - 15);  // half a line of space, then the caption
}

}  // namespace

// A reader puts a page of its own in place of one smaller than a few points, and a page whose
// margins meet has nowhere to draw: neither is written, whatever road the options came by.
TEST(PdfExport, PagesTooSmallToPrintOnAreRefusedBeforeAnythingIsWritten) {
  TextSource source({"A"}, {{"x"}});
  TVantrix3PDF pdf;
  TVantrixPDFPageOptions& page = pdf.Options().PageOptions;
  page.SetUnits(unDot);
  page.SetMarginLeft(0);
  page.SetMarginRight(0);
  page.SetMarginTop(0);
  page.SetMarginBottom(0);
  const auto refused = [&](int width, int height) {
    page.SetWidth(width);
    page.SetHeight(height);
    source.ClearEof();
    pdf.SetExportSource(esCustom);
    pdf.SetCustomSource(&source);
    MemoryOutputStream out;
    try {
      pdf.ExportToStream(out);
    } catch (const EVantrixError& e) {
      EXPECT_EQ(out.Bytes(), "") << width << " x " << height;
      return std::string(e.what());
    }
    return std::string();
  };
  EXPECT_EQ(refused(1, 1),
            "The PDF page of 1 x 1 points is too small to print on (the smallest page is 4 x 4 points).");
  EXPECT_NE(refused(595, 3).find("too small"), std::string::npos);
  EXPECT_NE(refused(0, 842).find("too small"), std::string::npos);
  EXPECT_NE(refused(-10, -10).find("too small"), std::string::npos);
  EXPECT_EQ(refused(4, 4), "");
  EXPECT_EQ(page.GetMediaBox(), (TPDFBox{0, 0, 3, 3}));

  page.SetWidth(595);
  page.SetMarginLeft(300);
  page.SetMarginRight(295);
  EXPECT_EQ(refused(595, 842), "The PDF page has no room to print inside its margins (0 x 842 points).");
}
