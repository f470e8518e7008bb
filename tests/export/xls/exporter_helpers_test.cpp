// The spreadsheet exporter's small rules: date-time pictures as number formats, sheet names,
// day numbers, and the page texts' bodies.
#include <gtest/gtest.h>

#include "export/export_fixtures.h"
#include "export/xls/xls_cell_writer.h"
#include "export/xls/xls_number_format.h"
#include "export/xls/xls_sheet_name.h"
#include "export/xls/xls_sheet_writer.h"

namespace {

using namespace vantrix;

TEST(NumberFormats, DateTimePicturesInTheSpreadsheetsCodes) {
  FormatSettings s = exporttest::CSettings();
  s.shortDateFormat = "dd/mm/yyyy";
  s.longDateFormat = "dddd, d 'de' mmmm 'de' yyyy";
  s.shortTimeFormat = "hh:nn";
  s.longTimeFormat = "hh:nn:ss";
  s.dateSeparator = '.';
  s.timeSeparator = ':';
  const std::pair<const char*, const char16_t*> cases[] = {
      {"hh:nn:ss", u"hh:mm:ss"},                        // minutes are "m" there
      {"dd/mm/yyyy hh:nn", u"dd.mm.yyyy hh:mm"},         // the locale's date separator
      {"ddddd t", u"dd.mm.yyyy hh:mm"},                  // the locale's pictures
      {"dddddd", u"dddd, d \"de\" mmmm \"de\" yyyy"},
      {"d 'h' m", u"d \\h m"},
      {"c", u"dd.mm.yyyy hh:mm:ss"},
      {"hh:nn:ss.zzz", u"hh:mm:ss.000"},
      {"h:nn am/pm", u"h:mm AM/PM"},
      {"yy-mmm", u"yy-mmm"},
      {"\"week\" d", u"\"week\" d"},
      {"", u"General"},
  };
  for (const auto& [picture, expected] : cases)
    EXPECT_EQ(DateTimePictureToNumberFormat(picture, s), expected) << picture;
}

TEST(NumberFormats, NumberPicturesAsTheyStandButForSingleQuotes) {
  EXPECT_EQ(NumberPictureToNumberFormat("#,###,##0.00"), u"#,###,##0.00");
  EXPECT_EQ(NumberPictureToNumberFormat("0.0 'kg';-0.0"), u"0.0 \"kg\";-0.0");
  EXPECT_EQ(NumberPictureToNumberFormat("'R$' 0.00"), u"\"R$\" 0.00");
  EXPECT_EQ(NumberPictureToNumberFormat(""), u"General");
}

TEST(SheetNames, CleanedCutUniqueAndNeverEmpty) {
  EXPECT_EQ(MakeSheetName(u"a:b\\c/d?e*f[g]h", {}, 1), u"a_b_c_d_e_f_g_h");
  EXPECT_EQ(MakeSheetName(u"'quoted'", {}, 1), u"quoted");
  EXPECT_EQ(MakeSheetName(u"   ", {}, 4), u"Sheet4");
  EXPECT_EQ(MakeSheetName(std::u16string(40, u'x'), {}, 1), std::u16string(31, u'x'));
  EXPECT_EQ(MakeSheetName(u"Dados", {u"DADOS"}, 1), u"Dados (2)");
  EXPECT_EQ(MakeSheetName(u"Dados", {u"dados", u"Dados (2)"}, 1), u"Dados (3)");
  // A taken name of full length is cut to make room for its number.
  EXPECT_EQ(MakeSheetName(std::u16string(31, u'x'), {std::u16string(31, u'x')}, 1), std::u16string(27, u'x') + u" (2)");
  // Never half a surrogate pair.
  const std::u16string emoji = std::u16string(30, u'x') + u"\U0001F600";
  EXPECT_EQ(MakeSheetName(emoji, {}, 1), std::u16string(30, u'x'));
  EXPECT_EQ(ContinuationTitle(u"Leituras", 2), u"Leituras (2)");
}

TEST(DaySerials, TheSpreadsheetsDayNumbers) {
  double serial = 0;
  EXPECT_TRUE(DateTimeToSerial(60, serial));
  EXPECT_EQ(serial, 59);  // 28 February 1900
  EXPECT_TRUE(DateTimeToSerial(61, serial));
  EXPECT_EQ(serial, 61);  // 1 March 1900, after the day the spreadsheet counts that never was
  EXPECT_TRUE(DateTimeToSerial(45000.25, serial));
  EXPECT_EQ(serial, 45000.25);
  EXPECT_FALSE(DateTimeToSerial(1.0, serial));
  EXPECT_FALSE(DateTimeToSerial(0.5, serial));
  EXPECT_FALSE(DateTimeToSerial(-3, serial));
  EXPECT_FALSE(DateTimeToSerial(std::numeric_limits<double>::quiet_NaN(), serial));
}

TEST(PageTexts, CountAndBodyAgree) {
  EXPECT_TRUE(CatchwordBody(u"").empty());
  EXPECT_EQ(CatchwordBody(u"&P \u00E7"), (std::vector<uint8_t>{4, 0, 0, '&', 'P', ' ', 0xE7}));
  const std::vector<uint8_t> wide = CatchwordBody(u"\u03A9");
  EXPECT_EQ(wide, (std::vector<uint8_t>{1, 0, 1, 0xA9, 0x03}));
  // 254 characters and a pair that the 255th would cut in two: the pair goes whole, and what
  // is left is Latin-1.
  const std::vector<uint8_t> cut = CatchwordBody(std::u16string(254, u'a') + u"\U0001F600b");
  EXPECT_EQ(cut[0], 254);
  EXPECT_EQ(cut[2], 0);
  EXPECT_EQ(cut.size(), 3u + 254);
}

}  // namespace
