// Every cell of a PDF table stays between the rules of its column, as a reader lays it out:
// in the widths the fonts declare, not in a count of characters. Texts that fit are moved
// inside their cell, texts that don't are cut at the right rule and marked; the width pass
// sizes columns by the same widths; and the widths a user gave stay theirs.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <sstream>

#include "document_fixtures.h"
#include "export/datetime_picture.h"
#include "export/vantrix3_pdf.h"
#include "platform/datetime.h"

namespace {

using namespace vantrix;
using exporttest::TextSource;

struct Drawn {
  int x, y, size;
  std::string text;  // unescaped
  double right;      // where a reader ends it: in the widths its font declares
};

// The widths every font of the file declares, by its resource name.
std::map<std::string, std::vector<int>> DeclaredWidths(const std::string& pdf) {
  std::map<std::string, std::vector<int>> fonts;
  static const std::regex font(
      R"(/Name /(\w+)\r/BaseFont /[\w-]+\r(?:/Encoding /\w+\r)?/FirstChar 0\r/LastChar 255\r/Widths \[([\d ]*)\])");
  for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), font); it != std::sregex_iterator(); ++it) {
    std::istringstream numbers((*it)[2].str());
    std::vector<int>& widths = fonts[(*it)[1]];
    for (int width = 0; numbers >> width;) widths.push_back(width);
  }
  return fonts;
}

// Every text drawn with the size it was drawn in, in order.
std::vector<Drawn> Drawings(const std::string& pdf) {
  const auto fonts = DeclaredWidths(pdf);
  std::vector<Drawn> out;
  static const std::regex op(R"(/(\w+) (\d+) Tf\r(-?\d+) (-?\d+) Td \(((?:[^\\)]|\\.)*)\) Tj)");
  for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), op); it != std::sregex_iterator(); ++it) {
    const std::string escaped = (*it)[5];
    std::string text;
    for (size_t i = 0; i < escaped.size(); ++i) text.push_back(escaped[i] == '\\' ? escaped[++i] : escaped[i]);
    const std::vector<int>& widths = fonts.at((*it)[1]);
    EXPECT_EQ(widths.size(), 256u);
    long long units = 0;
    for (const char c : text) units += widths.at(static_cast<unsigned char>(c));
    const int x = std::stoi((*it)[3]), size = std::stoi((*it)[2]);
    out.push_back({x, std::stoi((*it)[4]), size, text, x + static_cast<double>(units) * size / 1000});
  }
  return out;
}

// The texts of one row (one baseline), left to right, each checked to lie between the rules
// of the column it starts in, clear of their ink.
std::vector<std::string> RowBetweenRules(const std::vector<Drawn>& drawn, int y, const std::vector<int>& edges,
                                         double ink = 0.5) {
  std::vector<std::string> row;
  for (const Drawn& d : drawn) {
    if (d.y != y) continue;
    size_t column = 0;
    while (column + 2 < edges.size() && d.x >= edges[column + 1]) ++column;
    EXPECT_GE(d.x, edges[column] + ink) << d.text;
    if (!d.text.empty()) {
      EXPECT_LE(d.right, edges[column + 1] - ink) << d.text << " crosses the rule at " << edges[column + 1];
    }
    row.push_back(d.text);
  }
  return row;
}

TEST(PdfCellFit, TextsStayBetweenTheirRulesWhateverTheirAlignment) {
  // Ten characters each, but "W" is more than three times as wide as "i" and digits are wider
  // than the average character the columns are counted in.
  TextSource source({"Name", "Amount", "Middle", "Last"},
                    {{"WWWWWWWWWW", "1234567890", "Temperatura \xE7\xE3o", "iiiiiiiiii"},
                     {"Umidade", "-98765.4321", "ok", "x"}});
  TVantrix3PDF pdf;
  pdf.ColumnsWidth = {"c0=10", "c1=10", "c2=10", "c3=10"};
  pdf.ColumnsAlign = {"c1=Right", "c2=Center"};
  const auto drawn = Drawings(exporttest::Export(pdf, source));
  const std::vector<int>& edges = pdf.ColumnEdges();
  // The user's widths stay theirs: their characters and the spacing, and the rule's point.
  ASSERT_EQ(edges.size(), 5u);
  for (size_t i = 0; i + 1 < edges.size(); ++i) EXPECT_EQ(edges[i + 1] - edges[i], CharsToPoints(10, 13) + 1) << i;

  const int first = drawn.front().y, row1 = first - 20, row2 = row1 - 20;
  EXPECT_EQ(RowBetweenRules(drawn, first, edges), (std::vector<std::string>{"Name", "Amount", "Middle", "Last"}));
  // W's are cut at the rule and marked; the number, a little wider than the space between
  // the paddings, keeps every digit; the centred text does not fit and is cut.
  const auto texts = RowBetweenRules(drawn, row1, edges);
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0], "WWWWW...");
  EXPECT_EQ(texts[1], "1234567890");
  EXPECT_EQ(texts[2], "Temperatur...");
  EXPECT_EQ(texts[3], "iiiiiiiiii");
  EXPECT_EQ(RowBetweenRules(drawn, row2, edges), (std::vector<std::string>{"Umidade", "-98765.4321", "ok", "x"}));

  // A text that fits keeps its place: left at the padding, right-aligned against it.
  const int indent = CharsToPoints(10, 1.5);
  for (const Drawn& d : drawn) {
    if (d.text == "Umidade") {
      EXPECT_EQ(d.x, edges[0] + indent);
    } else if (d.text == "x") {
      EXPECT_EQ(d.x, edges[3] + indent);
    }
  }
}

TEST(PdfCellFit, CaptionsThickRulesControlBytesAndCellsTooNarrowForTheMark) {
  // Control bytes are written as "?", twice as wide as the table has them: measured as written.
  // A thick rule takes room of its own beside the column's characters, which keep theirs.
  TextSource source({"A caption much wider than its column", "B"},
                    {{"abcdef", "\xC1\xC9\xCD\xD3\xDA\xC7"}, {"x" + std::string(7, '\x01') + "x", ""}});
  TVantrix3PDF pdf;
  pdf.Options().GridLineWidth = 6;
  pdf.Options().ColSpacing = 0;
  pdf.ColumnsWidth = {"c0=8", "c1=1"};
  const auto drawn = Drawings(exporttest::Export(pdf, source));
  const std::vector<int>& edges = pdf.ColumnEdges();
  const int first = drawn.front().y;
  const auto captions = RowBetweenRules(drawn, first, edges, 3);
  ASSERT_EQ(captions.size(), 2u);
  EXPECT_EQ(edges[1] - edges[0], CharsToPoints(10, 8) + 6);
  EXPECT_EQ(captions[0], "A capti...");
  // One character's room holds neither the mark nor a capital: nothing is drawn over the rule.
  const auto cells = RowBetweenRules(drawn, first - 20, edges, 3);
  ASSERT_EQ(cells.size(), 2u);
  EXPECT_EQ(cells[1], "");
  EXPECT_EQ(RowBetweenRules(drawn, first - 40, edges, 3)[0], "x????...");
}

TEST(PdfCellFit, TheWidthPassSizesColumnsByTheFontsWidths) {
  TextSource source({"W", "i", "Number"}, {{"WWWWWWWWWWWWWWWWWWW", "iiiiiiiiiiiiiiiiiii", "2,226,110,462,311,352"},
                                          {"Temperatura \xE7\xE3o", "i", "1"}},
                    1);
  TVantrix3PDF pdf;
  pdf.AutoCalcColWidth = true;
  pdf.ColumnsAlign = {"c2=Right"};
  const auto drawn = Drawings(exporttest::Export(pdf, source));
  const std::vector<int>& edges = pdf.ColumnEdges();
  ASSERT_EQ(edges.size(), 4u);
  // As many characters, but W's need a column three times as wide as i's.
  EXPECT_GT(edges[1] - edges[0], 3 * (edges[2] - edges[1] - CharsToPoints(10, 3)));
  // Nothing had to be cut, and the columns were laid out with the widths the pass found.
  const int first = drawn.front().y;
  for (const int y : {first - 20, first - 40})
    for (const std::string& text : RowBetweenRules(drawn, y, edges)) EXPECT_FALSE(text.ends_with("...")) << text;
  EXPECT_EQ(RowBetweenRules(drawn, first - 20, edges)[2], "2,226,110,462,311,352");

  // A caption in a larger font than the data's takes more of the data font's characters.
  TextSource captions({"Wide caption"}, {{"x"}}, 1);
  TVantrix3PDF big;
  big.AutoCalcColWidth = true;
  big.Options().CaptionFont.FontSize = 20;
  const auto bigDrawn = Drawings(exporttest::Export(big, captions));
  EXPECT_EQ(RowBetweenRules(bigDrawn, bigDrawn.front().y, big.ColumnEdges()), std::vector<std::string>{"Wide caption"});
}

// A date or a time is never cut, whatever width its column was given: the column holds the
// widest text its picture makes (the longest day and month names, two-digit hours, the
// afternoon on a 12-hour clock), while a text column of the same width is cut.
TEST(PdfCellFit, DatesAndTimesAreNeverCut) {
  TextSource source({"Quando", "Hora", "Dia", "Nota"},
                    {{"5 Mar 2024 14:07", "9:05", "5 Mar 2024", "MMMMMMMMMMMM"},
                     {"25 Sep 2024 20:20", "21:59", "25 Sep 2024", "x"}},
                    3, {ectDateTime, ectTime, ectDate, ectString});
  TVantrix3PDF pdf;
  pdf.Options().ColSpacing = 0;  // no room beside the text to hide a column too narrow
  pdf.UserFormats = {"c0=dddd, d mmmm yyyy hh:nn:ss", "c1=h:nn:ss am/pm", "c2=ddd d mmm"};
  const auto drawn = Drawings(exporttest::Export(pdf, source));
  const std::vector<int>& edges = pdf.ColumnEdges();
  const int first = drawn.front().y;
  EXPECT_EQ(RowBetweenRules(drawn, first - 20, edges),
            (std::vector<std::string>{"Tuesday, 5 March 2024 14:07:00", "9:05:00 am", "Tue 5 Mar", "..."}));
  EXPECT_EQ(RowBetweenRules(drawn, first - 40, edges),
            (std::vector<std::string>{"Wednesday, 25 September 2024 20:20:00", "9:59:00 pm", "Wed 25 Sep", "x"}));
}

// The widest text of a picture fills its column to the last unit, with no spacing beside it
// to hide a column a character short: every day of a leap year, late in the morning and late
// in the evening, in the longest names and two-digit hours, in a proportional font and a
// fixed one; not one of them is cut.
TEST(PdfCellFit, EveryDayOfAYearFitsItsDateColumn) {
  const std::vector<std::string> pictures = {"h:nn:ss am/pm", "mmmm", "ddd d mmm", "dddd d mmmm"};
  std::vector<std::vector<std::string>> rows;
  std::vector<std::vector<std::string>> expected(pictures.size());
  for (int day = 1; day <= 366; ++day) {
    for (const int hour : {11, 23}) {
      TDateTime moment = 0;
      ASSERT_TRUE(platform::TryEncodeDateTime(2024, 1, 1, hour, 59, 59, 0, moment));
      moment += day - 1;
      const std::string text = FormatDateTime("d mmm yyyy hh:nn:ss", moment, exporttest::CSettings());
      rows.push_back(std::vector<std::string>(pictures.size(), text));
      for (size_t c = 0; c < pictures.size(); ++c)
        expected[c].push_back(FormatDateTime(pictures[c], moment, exporttest::CSettings()));
    }
  }
  ASSERT_EQ(rows.size(), 732u);
  EXPECT_EQ(expected[0][1], "11:59:59 pm");
  EXPECT_EQ(expected[3][2 * 268], "Wednesday 25 September");
  for (const TPDFFontName font : {poHelvetica, poCourier}) {
    SCOPED_TRACE(font == poCourier ? "Courier" : "Helvetica");
    TextSource source({"A", "B", "C", "D"}, rows, 1, std::vector<TVantrixColType>(pictures.size(), ectDateTime));
    TVantrix3PDF pdf;
    pdf.Options().ColSpacing = 0;
    pdf.Options().DataFont.BaseFont = font;
    for (size_t c = 0; c < pictures.size(); ++c) pdf.UserFormats.push_back("c" + std::to_string(c) + "=" + pictures[c]);
    const auto drawn = Drawings(exporttest::Export(pdf, source));
    const std::vector<int>& edges = pdf.ColumnEdges();
    ASSERT_EQ(edges.size(), pictures.size() + 1);
    std::vector<std::vector<std::string>> columns(pictures.size());
    for (const Drawn& d : drawn) {
      if (d.text.size() == 1) continue;  // a caption
      size_t c = 0;
      while (c + 2 < edges.size() && d.x >= edges[c + 1]) ++c;
      EXPECT_LE(d.right, edges[c + 1] - 0.5) << d.text << " crosses the rule at " << edges[c + 1];
      columns[c].push_back(d.text);
    }
    EXPECT_EQ(columns, expected);
  }
}

// Each font is measured in its own widths: in Courier ten W's are as wide as ten i's and fit
// where ten of Helvetica's would not; captions in Times are measured as Times.
TEST(PdfCellFit, EachFontIsMeasuredInItsOwnWidths) {
  TextSource source({"Grandeza t\xE9rmica m\xE1xima", "N"},
                    {{"WWWWWWWWWW", "1"}, {"iiiiiiiiii", "2"}, {std::string(13, 'M'), "3"}});
  TVantrix3PDF pdf;
  pdf.Options().DataFont.BaseFont = poCourier;
  pdf.Options().CaptionFont.BaseFont = poTimesRoman;
  pdf.ColumnsWidth = {"c0=12", "c1=3"};
  const auto drawn = Drawings(exporttest::Export(pdf, source));
  const std::vector<int>& edges = pdf.ColumnEdges();
  const int first = drawn.front().y;
  EXPECT_EQ(RowBetweenRules(drawn, first, edges)[0], "Grandeza t\xE9rmi...");  // "tér..." in Helvetica
  EXPECT_EQ(RowBetweenRules(drawn, first - 20, edges)[0], "WWWWWWWWWW");
  EXPECT_EQ(RowBetweenRules(drawn, first - 40, edges)[0], "iiiiiiiiii");
  const std::string cut = RowBetweenRules(drawn, first - 60, edges)[0];
  EXPECT_TRUE(cut.starts_with("MMMMMMMM") && cut.ends_with("...")) << cut;
}

}  // namespace
