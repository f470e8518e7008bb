// The rich-text exporter: the document front, cell geometry from the width of "X", the font
// and colour tables as the body discovers them, styles by event and by strip, and texts that
// no reader can mistake for syntax.
#include <gtest/gtest.h>

#include "document_fixtures.h"
#include "export/vantrix3_rtf.h"
#include "platform/ini_file.h"

namespace {

using namespace vantrix;
using exporttest::TextSource;

// A small tokenizer: groups must balance and never close below zero, control words are
// letters with an optional number, symbols one character, \'hh two hex digits.
bool GroupsBalance(const std::string& rtf, std::string& why) {
  int depth = 0;
  for (size_t i = 0; i < rtf.size(); ++i) {
    const char c = rtf[i];
    if (c == '{') {
      ++depth;
    } else if (c == '}') {
      if (--depth < 0) return why = "closed below zero at " + std::to_string(i), false;
      if (depth == 0 && i + 1 != rtf.size()) return why = "text after the document at " + std::to_string(i), false;
    } else if (c == '\\') {
      if (++i >= rtf.size()) return why = "backslash at the end", false;
      if (rtf[i] == '\'') {
        if (i + 2 >= rtf.size() || !isxdigit(static_cast<unsigned char>(rtf[i + 1])) ||
            !isxdigit(static_cast<unsigned char>(rtf[i + 2])))
          return why = "bad hex escape at " + std::to_string(i), false;
        i += 2;
      }
    } else if (static_cast<unsigned char>(c) > 127) {
      return why = "raw byte above 127 at " + std::to_string(i), false;
    }
  }
  return depth == 0 ? true : (why = "unclosed groups: " + std::to_string(depth), false);
}

class RtfExport : public ::testing::Test {
 protected:
  RtfExport() { rtf_.SetTextMeasure(&measure_); }
  std::string Run(TextSource& source) { return exporttest::Export(rtf_, source); }

  FixedTextMeasure measure_{8};
  TVantrix3RTF rtf_;
};

TEST_F(RtfExport, FrontTablesPaperAndTheRowDefinition) {
  TextSource source({"A", "B"}, {{"x", "y"}}, 10);
  const std::string out = Run(source);
  const std::string front =
            "{\\rtf1\\ansi\\deff0\\deftab720\r\n"
            "{\\fonttbl{\\f0\\fnil Arial;}{\\f1\\fnil Arial;}}\r\n"
            "{\\colortbl\\red0\\green0\\blue0;\\red255\\green255\\blue255;}\r\n"
            "\\f0\\fs20\r\n\\paperw11906\r\n\\paperh16838\r\n\\par\r\n";
  EXPECT_EQ(out.substr(0, front.size()), front);
  // 36 + 8 × 10 × 15 + 10, then 1210 more per column.
  EXPECT_NE(out.find("\\trowd\\trql\\trgaph0\\trleft36\r\n\\clbrdrl\\brdrth \\clbrdrr\\brdrth \\clbrdrt\\brdrth "
                     "\\clbrdrb\\brdrth\r\n\\cellx1246\r\n"),
            std::string::npos);
  EXPECT_NE(out.find("\\cellx2456\r\n"), std::string::npos);
  // The caption cell in bold and centred, the data cell left with the font part's blank.
  EXPECT_NE(out.find("\\pard\\intbl\\li30\\ri30\\cbpat1\\qc{\\f0\\fs20\\cf0\\b A}\\cell"), std::string::npos);
  EXPECT_NE(out.find("\\pard\\intbl\\li30\\ri30\\cbpat1\\ql{\\f0\\fs20\\cf0 x}\\cell"), std::string::npos);
  EXPECT_EQ(out.substr(out.size() - 8), "\\pard\r\n}");
  EXPECT_EQ(out.find("{\\ql"), std::string::npos);  // no header group without header lines
  std::string why;
  EXPECT_TRUE(GroupsBalance(out, why)) << why;
}

TEST_F(RtfExport, ARedDataFontTakesTheNextColourIndex) {
  TextSource source({"A"}, {{"x"}});
  rtf_.Options().DataStyle.Font.color = 0x0000FF;
  rtf_.AllowCaptions = false;
  std::string out = Run(source);
  EXPECT_NE(out.find("{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red255\\green255\\blue255;}"),
            std::string::npos);
  EXPECT_NE(out.find("\\cbpat2\\ql{\\f0\\fs20\\cf1 x}\\cell"), std::string::npos);

  rtf_.AllowCaptions = true;  // the caption's white background comes first
  out = Run(source);
  EXPECT_NE(out.find("{\\colortbl\\red0\\green0\\blue0;\\red255\\green255\\blue255;\\red255\\green0\\blue0;}"),
            std::string::npos);
  EXPECT_NE(out.find("\\cf2 x}\\cell"), std::string::npos);
}

TEST_F(RtfExport, AFontFirstUsedInTheBodyJoinsTheFontTable) {
  TextSource source({"A"}, {{"x"}, {"y"}});
  rtf_.OnGetDataStyle = [](TVantrix3&, int row, int, TrtfStyle& style) {
    if (row == 1) style.Font.name = "Courier New";
    style.Font.size = 9;
  };
  const std::string out = Run(source);
  EXPECT_NE(out.find("{\\fonttbl{\\f0\\fnil Arial;}{\\f1\\fnil Arial;}{\\f2\\fnil Courier New;}}"), std::string::npos);
  EXPECT_NE(out.find("{\\f0\\fs18\\cf0 x}"), std::string::npos);
  EXPECT_NE(out.find("{\\f2\\fs18\\cf0 y}"), std::string::npos);
}

TEST_F(RtfExport, StripStylesAlternateByRowOrByColumn) {
  TextSource source({"A", "B"}, exporttest::NumberedRows(3, 2));
  rtf_.AllowCaptions = false;
  rtf_.Options().StripStyles.Add().BackgroundColor = 0x00FFFF;  // yellow: colour 1
  rtf_.Options().StripStyles.Add().BackgroundColor = 0xFF0000;  // blue: colour 2
  rtf_.Options().StripType = stRow;
  // The first row and the first column take the first style: yellow is the first colour found.
  const std::string table = "{\\colortbl\\red0\\green0\\blue0;\\red255\\green255\\blue0;\\red0\\green0\\blue255;}";
  std::string out = Run(source);
  EXPECT_NE(out.find(table), std::string::npos);
  EXPECT_NE(out.find("\\cbpat1\\ql{\\f0\\fs20\\cf0 r0c1}"), std::string::npos);
  EXPECT_NE(out.find("\\cbpat2\\ql{\\f0\\fs20\\cf0 r1c0}"), std::string::npos);
  EXPECT_NE(out.find("\\cbpat1\\ql{\\f0\\fs20\\cf0 r2c1}"), std::string::npos);
  rtf_.Options().StripType = stCol;
  out = Run(source);
  EXPECT_NE(out.find(table), std::string::npos);
  EXPECT_NE(out.find("\\cbpat1\\ql{\\f0\\fs20\\cf0 r1c0}"), std::string::npos);
  EXPECT_NE(out.find("\\cbpat2\\ql{\\f0\\fs20\\cf0 r1c1}"), std::string::npos);
}

// A style file may give any size: half points of 2^30 points overflow, and no reader draws a
// font of no size or of thousands of points.
TEST_F(RtfExport, FontSizesAreHeldToWhatAReaderDraws) {
  exporttest::TempFolder folder;
  exporttest::WriteFile(folder / "s.rst", "[DATA]\nFontSize=1073741824\n[CAPTION]\nFontSize=-7\n");
  const platform::IniFile ini(folder / "s.rst");
  rtf_.Options().DataStyle.LoadFromIniFile(ini, "DATA");
  rtf_.Options().CaptionStyle.LoadFromIniFile(ini, "CAPTION");
  EXPECT_EQ(rtf_.Options().DataStyle.Font.size, kMaxFontPoints);
  EXPECT_EQ(rtf_.Options().CaptionStyle.Font.size, kMinFontPoints);
  TextSource source({"A"}, {{"x"}});
  std::string out = Run(source);
  EXPECT_NE(out.find("{\\f0\\fs3276\\cf0 x}"), std::string::npos);
  EXPECT_NE(out.find("{\\f0\\fs2\\cf0 A}"), std::string::npos);
  // Set in code, the same.
  rtf_.Options().DataStyle.Font.size = 2147483647;
  out = Run(source);
  EXPECT_NE(out.find("{\\f0\\fs3276\\cf0 x}"), std::string::npos);
}

TEST_F(RtfExport, EveryTextIsEscapedSoTheGroupsStayBalanced) {
  TextSource source({"{Caption}"}, {{"a}b{c\\d"}, {"25 \xB0" "C a\xE7\xE3o"}, {"two\r\nlines\nthree"}, {"12.5"}});
  rtf_.Header = {"Header {one}"};
  rtf_.Footer = {"Footer \\ }"};
  rtf_.Options().HeaderStyle.AllowHighlight = true;
  rtf_.Options().HeaderStyle.HighlightColor = 0x00FF00;
  const std::string out = Run(source);
  std::string why;
  EXPECT_TRUE(GroupsBalance(out, why)) << why;
  EXPECT_NE(out.find("\\b \\{Caption\\}}\\cell"), std::string::npos);
  EXPECT_NE(out.find(" a\\}b\\{c\\\\d}\\cell"), std::string::npos);
  EXPECT_NE(out.find(" 25 \\'b0C a\\'e7\\'e3o}\\cell"), std::string::npos);
  EXPECT_NE(out.find(" two \\par lines \\par three}\\cell"), std::string::npos);
  EXPECT_NE(out.find("\\cf0 12.5}\\cell"), std::string::npos);
  // The header group: alignment and background, then each line highlighted.
  EXPECT_NE(out.find("\\paperh16838\r\n{\\ql\\cbpat1 \r\n{\\highlight2\\f0\\fs20\\cf0 Header \\{one\\}}\r\n\\par\r\n}\r\n"),
            std::string::npos);
  EXPECT_NE(out.find("\\pard\r\n\\par\r\n{\\ql\\cbpat1 \r\n{\\f0\\fs20\\cf0 Footer \\\\ \\}}\r\n\\par\r\n}\r\n}"),
            std::string::npos);
}

TEST_F(RtfExport, LandscapePaperAndCaptionAlignmentsByColumn) {
  TextSource source({"A", "B", "C"}, {{"1", "2", "3"}});
  rtf_.Options().PageOrientation = poLandscape;
  rtf_.Options().CaptionAligns = {"c0=right", "c1=", "c2=left"};
  const std::string out = Run(source);
  EXPECT_NE(out.find("\\landscape\r\n\\paperw16838\r\n\\paperh11906\r\n"), std::string::npos);
  EXPECT_NE(out.find("\\qr{\\f0\\fs20\\cf0\\b A}"), std::string::npos);
  EXPECT_NE(out.find("\\qc{\\f0\\fs20\\cf0\\b B}"), std::string::npos);  // empty: the style's own
  EXPECT_NE(out.find("\\ql{\\f0\\fs20\\cf0\\b C}"), std::string::npos);
}

TEST_F(RtfExport, AnAbortStillEndsTheDocumentOnceAndNothingOutsideARun) {
  rtf_.Abort();  // outside a run: nothing happens
  TextSource source({"A"}, exporttest::NumberedRows(10, 1));
  rtf_.Footer = {"end"};
  rtf_.OnExportedRecord = [](TVantrix3& sender, int n) {
    if (n == 2) sender.Abort();
  };
  const std::string out = Run(source);
  EXPECT_EQ(exporttest::Count(out, "\\row"), 4u);  // captions and three records
  EXPECT_EQ(exporttest::Count(out, "end}"), 1u);
  std::string why;
  EXPECT_TRUE(GroupsBalance(out, why)) << why;
}

}  // namespace
