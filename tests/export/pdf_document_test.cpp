// The PDF writer's file structure: objects where the cross-reference table says they are,
// streams whose lengths are right, strings escaped once, colours only when they change, and
// only font encodings a reader knows.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <sstream>
#include <vector>

#include "document_fixtures.h"
#include "export/library_strings.h"
#include "export/pdf_document.h"

namespace {

using namespace vantrix;

// Every "n 0 obj" of the file where the xref entry n points, the size one more than the
// objects, startxref at the table.
void ExpectConsistentXref(const std::string& pdf) {
  const size_t xref = pdf.rfind("xref\r0 ");
  ASSERT_NE(xref, std::string::npos);
  const int size = std::stoi(pdf.substr(xref + 7));
  const size_t entries = pdf.find("\r", xref + 7) + 1;
  EXPECT_EQ(pdf.substr(entries, 20), "0000000000 65535 f \r");
  for (int n = 1; n < size; ++n) {
    const std::string entry = pdf.substr(entries + 20 * static_cast<size_t>(n), 20);
    ASSERT_EQ(entry.substr(10), " 00000 n \r") << n;
    const size_t offset = std::stoul(entry.substr(0, 10));
    EXPECT_EQ(pdf.substr(offset, std::to_string(n).size() + 6), std::to_string(n) + " 0 obj") << n;
  }
  EXPECT_NE(pdf.find("/Size " + std::to_string(size) + "\r"), std::string::npos);
  EXPECT_NE(pdf.find("startxref\r" + std::to_string(xref) + "\r%%EOF"), std::string::npos);
  EXPECT_EQ(pdf.substr(pdf.size() - 5), "%%EOF");
}

TEST(PdfDocument, NoPageStillMakesAWholeFile) {
  MemoryOutputStream out;
  TPDFDocument doc(out);
  doc.BeginDoc();
  doc.EndDoc();
  const std::string& pdf = out.Bytes();
  EXPECT_EQ(pdf.substr(0, 9), "%PDF-1.3\r");
  EXPECT_NE(pdf.find("<< /Type /Pages\r/Count 0\r/Kids []\r>>"), std::string::npos);
  ExpectConsistentXref(pdf);
}

TEST(PdfDocument, PagesStreamsAndObjectsInTheirOrder) {
  MemoryOutputStream out;
  TPDFDocument doc(out);
  doc.BeginDoc();
  TPDFFont font;
  font.Name = "DataFont";
  doc.AddFont(font);
  TPDFFont unused;
  unused.Name = "Unused";
  unused.FontEncoding = poStandardEncoding;
  doc.AddFont(unused);
  EXPECT_THROW(doc.AddFont(font), EVantrixError);
  doc.SetFont(font);
  doc.NewPage();
  doc.StringOut(10, 20, "", 0);
  doc.NewPage();
  doc.StringOut(10, 20, "a(b)\\c)", 0);
  doc.EndDoc();
  const std::string& pdf = out.Bytes();
  ExpectConsistentXref(pdf);
  // Two pages: contents 1 and 3, lengths 2 and 4, outlines 5, fonts 6 and 7, resources 8,
  // tree 9, pages 10 and 11, catalog 12.
  EXPECT_NE(pdf.find("1 0 obj\r<< /Length 2 0 R >>\rstream\r\nBT\r/DataFont 10 Tf\r10 20 Td () Tj\rET\rendstream"),
            std::string::npos);
  const std::string text = "BT\r/DataFont 10 Tf\r10 20 Td (a\\(b\\)\\\\c\\)) Tj\rET\r";
  EXPECT_NE(pdf.find("stream\r\n" + text + "endstream\rendobj\r4 0 obj\r" + std::to_string(text.size()) + " \rendobj"),
            std::string::npos);
  EXPECT_NE(pdf.find("/Kids [10 0 R 11 0 R ]"), std::string::npos);
  EXPECT_NE(pdf.find("10 0 obj\r<< /Type /Page\r/Parent 9 0 R\r/Resources 8 0 R\r/MediaBox [0 0 612 792]\r"
                     "/TrimBox [50 50 562 742]\r/Contents 1 0 R\r>>"),
            std::string::npos);
  EXPECT_NE(pdf.find("12 0 obj\r<< /Type /Catalog \r/Pages 9 0 R \r/Outlines 5 0 R \r>>"), std::string::npos);
  EXPECT_NE(pdf.find("/Root 12 0 R"), std::string::npos);
  EXPECT_NE(pdf.find("<< /Font <</DataFont 6 0 R /Unused 7 0 R  >> /ProcSet [ /PDF /Text ] >>"), std::string::npos);
  // The font that keeps its own encoding names none.
  EXPECT_NE(pdf.find("/BaseFont /Helvetica\r/Encoding /WinAnsiEncoding\r/FirstChar 0"), std::string::npos);
  // Helvetica's widths: codes 0 to 31 are written as "?" and a blank (tab, LF, CR) and are
  // declared as wide as those.
  EXPECT_NE(pdf.find("/Name /Unused\r/BaseFont /Helvetica\r/FirstChar 0\r/LastChar 255\r/Widths [556 556 556 556 556 "
                     "556 556 556 556 278 278 556 556 278 556 "),
            std::string::npos);
  EXPECT_EQ(exporttest::Count(pdf, "/Encoding"), 1u);
}

// Every font declares the encoding it is measured in and, as its widths, what it is measured
// in: PDFDocEncoding as WinAnsiEncoding, the symbol fonts in their own whatever was chosen.
TEST(PdfDocument, EachFontDeclaresItsEncodingAndTheWidthsItIsMeasuredIn) {
  MemoryOutputStream out;
  TPDFDocument doc(out);
  doc.BeginDoc();
  std::vector<TPDFFont> fonts;
  for (int name = poHelvetica; name <= poZapfDingbats; ++name)
    for (int encoding = poStandardEncoding; encoding <= poPDFDocEncoding; ++encoding) {
      TPDFFont font;
      font.Name = "F" + std::to_string(name) + "_" + std::to_string(encoding);
      font.BaseFont = static_cast<TPDFFontName>(name);
      font.FontEncoding = static_cast<TPDFFontEncoding>(encoding);
      doc.AddFont(font);
      fonts.push_back(font);
    }
  doc.EndDoc();
  const std::string& pdf = out.Bytes();
  EXPECT_EQ(pdf.find("PDFDocEncoding"), std::string::npos);
  static const std::regex object(
      R"(/Name /(\w+)\r/BaseFont /([\w-]+)\r(?:/Encoding /(\w+)\r)?/FirstChar 0\r/LastChar 255\r/Widths \[([\d ]*)\])");
  size_t seen = 0;
  std::map<std::string, std::vector<int>> declared;
  for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), object); it != std::sregex_iterator(); ++it, ++seen) {
    ASSERT_LT(seen, fonts.size());
    const TPDFFont& font = fonts[seen];
    EXPECT_EQ((*it)[1].str(), font.Name);
    EXPECT_EQ((*it)[2].str(), PDFFontPostScriptName(font.BaseFont));
    const bool symbolic = font.BaseFont == poSymbol || font.BaseFont == poZapfDingbats;
    const std::string expected = symbolic || font.FontEncoding == poStandardEncoding ? ""
                                 : font.FontEncoding == poMacRomanEncoding             ? "MacRomanEncoding"
                                                                                       : "WinAnsiEncoding";
    EXPECT_EQ((*it)[3].str(), expected) << font.Name;
    std::istringstream numbers((*it)[4].str());
    std::vector<int>& widths = declared[font.Name];
    for (int width = 0; numbers >> width;) widths.push_back(width);
    EXPECT_TRUE(std::equal(widths.begin(), widths.end(), PDFFontWidths(font).begin(), PDFFontWidths(font).end()))
        << font.Name;
  }
  EXPECT_EQ(seen, fonts.size());
  // Not one table for all: Courier is 600 wide everywhere in every style, the others are not,
  // and an encoding puts other glyphs at the same codes.
  const auto widths = [&](TPDFFontName name, TPDFFontEncoding encoding) {
    return declared["F" + std::to_string(name) + "_" + std::to_string(encoding)];
  };
  for (const TPDFFontName courier : {poCourier, poCourierBold, poCourierOblique, poCourierBoldOblique})
    for (const TPDFFontEncoding encoding : {poStandardEncoding, poWinAnsiEncoding, poMacRomanEncoding})
      EXPECT_EQ(widths(courier, encoding), std::vector<int>(256, 600));
  EXPECT_NE(widths(poHelvetica, poWinAnsiEncoding), widths(poTimesRoman, poWinAnsiEncoding));
  EXPECT_NE(widths(poHelvetica, poWinAnsiEncoding), widths(poHelveticaBold, poWinAnsiEncoding));
  EXPECT_NE(widths(poHelvetica, poWinAnsiEncoding), widths(poHelvetica, poStandardEncoding));
  EXPECT_NE(widths(poHelvetica, poWinAnsiEncoding), widths(poHelvetica, poMacRomanEncoding));
  EXPECT_EQ(widths(poHelvetica, poWinAnsiEncoding), widths(poHelvetica, poPDFDocEncoding));
  EXPECT_EQ(widths(poSymbol, poWinAnsiEncoding), widths(poSymbol, poStandardEncoding));
}

TEST(PdfDocument, ColoursOnlyWhenTheyChangeAndWidthBeforeThePath) {
  MemoryOutputStream out;
  TPDFDocument doc(out);
  doc.BeginDoc();
  doc.Font.Name = "F";
  doc.NewPage();
  const size_t start = out.Bytes().size();
  doc.StringOut(1, 2, "x", 0);           // black is current
  doc.FillRect(1, 2, 3.25, 4, 0x0000FF);  // red
  doc.StringOut(1, 2, "y", 0x0000FF);
  doc.LineWidth = 0.5;
  doc.Line(1, 2, 3, 4.44, 0);
  doc.Line(1, 2, 3, 4, 0x808080);
  EXPECT_EQ(doc.ChangeFillColor(0x0000FF), 0x0000FFu);  // written all the same
  EXPECT_EQ(out.Bytes().substr(start),
            "BT\r/F 10 Tf\r1 2 Td (x) Tj\rET\r"
            "1.000000 0.000000 0.000000 rg\r1.0 2.0 3.2 4.0 re f\r"
            "BT\r/F 10 Tf\r1 2 Td (y) Tj\rET\r"
            "0.5 w \r1.0 2.0 m \r3.0 4.4 l \rS\r"
            "0.501961 0.501961 0.501961 RG\r0.5 w \r1.0 2.0 m \r3.0 4.0 l \rS\r"
            "1.000000 0.000000 0.000000 rg\r");
}

TEST(PdfDocument, TextIsCodePage1252WithUndefinedBytesAsQuestionMarks) {
  std::string out;
  AppendPDFString(out, "25 \xB0" "C a\xE7\xE3o \x81\x9D\x01 two\r\nlines");
  EXPECT_EQ(out, "25 \xB0" "C a\xE7\xE3o ??? two  lines");
}

TEST(PdfDocument, TextOutSpacesLinesByTheFontSize) {
  MemoryOutputStream out;
  TPDFDocument doc(out);
  doc.BeginDoc();
  doc.Font.Name = "F";
  doc.Font.FontSize = 9;
  doc.LineSpacing = 1.5;
  doc.NewPage();
  doc.TextOut(5, 100, {"a", "b", "c"});
  EXPECT_NE(out.Bytes().find("5 100 Td (a)"), std::string::npos);
  EXPECT_NE(out.Bytes().find("5 86 Td (b)"), std::string::npos);  // 13.5 rounds to 14
  EXPECT_NE(out.Bytes().find("5 73 Td (c)"), std::string::npos);  // 27
}

}  // namespace
