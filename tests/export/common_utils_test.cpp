// The library's small shared functions: units and page formats, character notation, number
// and file-name texts, type inference, colour texts and font persistence.
#include <gtest/gtest.h>

#include "export/col_types.h"
#include "export/common_text.h"
#include "export/ini_helpers.h"
#include "export/page_units.h"
#include "export_fixtures.h"
#include "platform/color_text.h"
#include "platform/ini_file.h"

namespace {

using namespace vantrix;
using exporttest::BrSettings;
using exporttest::CSettings;

TEST(Units, ConvertWithHalvesToEven) {
  EXPECT_DOUBLE_EQ(Dot2Units(unInch, 100), 1.39);
  EXPECT_DOUBLE_EQ(Dot2Units(unMillimeter, 100), 35);
  EXPECT_DOUBLE_EQ(Dot2Units(unDot, 100), 100);
  EXPECT_EQ(Units2Dot(unDot, 2.5), 2);
  EXPECT_EQ(Units2Dot(unDot, 3.5), 4);
  EXPECT_EQ(Units2Dot(unDot, -2.5), -2);
  EXPECT_EQ(InchToDot(1.0 / 144), 0);  // half a dot
  EXPECT_EQ(InchToDot(3.0 / 144), 2);  // one and a half dots
  EXPECT_EQ(MMToDot(25.4), 72);
  EXPECT_EQ(Units2Dot(unInch, 8.27), 595);
  EXPECT_DOUBLE_EQ(RoundFraction(0.125, 2), 0.12);
  EXPECT_EQ(Units2Dot(unDot, 1e300), INT32_MAX);  // clamped, not wrapped
  EXPECT_EQ(GetPageFormatString(pfB5_JIS), "B5(JIS)");
  EXPECT_DOUBLE_EQ(GetPageFormatInchWidth(pfUS_Std_Fanfold), 14.88);
  EXPECT_DOUBLE_EQ(GetPageFormatInchHeight(pfA3), 16.54);
  EXPECT_EQ(GetPageFormatString(static_cast<TVantrixPageFormat>(42)), "");
  EXPECT_DOUBLE_EQ(GetPageFormatInchHeight(static_cast<TVantrixPageFormat>(42)), 11.69);
}

TEST(CommonText, CharacterNotationBothWays) {
  EXPECT_EQ(Char2Str(' '), "#32");
  EXPECT_EQ(Char2Str('\t'), "#9");
  EXPECT_EQ(Char2Str(';'), ";");
  EXPECT_EQ(Char2Str('\x7F'), "\x7F");
  EXPECT_EQ(Char2Str('\xB0'), "#176");
  EXPECT_EQ(Str2Char("#59"), ';');
  EXPECT_EQ(Str2Char("#176"), '\xB0');
  EXPECT_EQ(Str2Char("ab"), '\0');
  EXPECT_EQ(Str2Char(""), '\0');
  EXPECT_EQ(Str2Char("#"), '#');
  EXPECT_EQ(Str2Char("#x"), '\0');
  EXPECT_EQ(Str2Char("#256"), '\0');
  for (int c = 0; c < 256; ++c) EXPECT_EQ(Str2Char(Char2Str(static_cast<char>(c))), static_cast<char>(c)) << c;
}

TEST(CommonText, NumbersReplaceAndFileNames) {
  EXPECT_DOUBLE_EQ(StrToDblDef("1.5", 0), 1.5);
  EXPECT_DOUBLE_EQ(StrToDblDef("-2e3", 0), -2000);
  EXPECT_DOUBLE_EQ(StrToDblDef("1,5", 7), 7);
  EXPECT_DOUBLE_EQ(StrToDblDef(" 1", 7), 7);
  EXPECT_DOUBLE_EQ(StrToDblDef("inf", 7), 7);
  EXPECT_DOUBLE_EQ(StrToDblDef("--1", 7), 7);
  EXPECT_DOUBLE_EQ(StrToDblDef("", 7), 7);

  EXPECT_EQ(Replace("Abc abC", "bc", "x"), "Ax ax");
  EXPECT_EQ(Replace("aaa", "a", "aa"), "aaaaaa");  // replaced text is not scanned again
  EXPECT_EQ(Replace("x", "", "y"), "x");
  EXPECT_EQ(Replace("\xC9t\xE9", "\xE9", "e"), "ete");  // accented letters ignore case too

  EXPECT_EQ(AddNumberToFileName("out.htm", 3, 2), "out03.htm");
  EXPECT_EQ(AddNumberToFileName("out", 3, 2), "out03");
  EXPECT_EQ(AddNumberToFileName("out.htm", 3, -1), "out3.htm");
  EXPECT_EQ(AddNumberToFileName("out.htm", 123, 2), "out123.htm");
  EXPECT_EQ(AddNumberToFileName("/srv/site.htm/page.htm", 7, 3), "/srv/site.htm/page007.htm");
  EXPECT_EQ(AddNumberToFileName("/srv/site.htm/page", 7, 0), "/srv/site.htm/page7");
  EXPECT_EQ(AddNumberToFileName("a.b.htm", -4, 3), "a.b-004.htm");
}

TEST(CommonText, TypeOfATextByLocale) {
  const struct {
    bool brazil;
    const char* text;
    TVantrixColType type;
  } cases[] = {
      {false, "12", ectInteger},     {false, "1.5", ectFloat},         {false, "TRUE", ectBoolean},
      {false, "False", ectBoolean},  {false, "5 Mar 2024", ectDate},   {false, "14:07", ectTime},
      {false, "5 Mar 2024 14:07", ectDateTime}, {false, "", ectString}, {false, "abc", ectString},
      {false, "99999999999", ectFloat}, {true, "1,5", ectFloat},       {true, "1.5", ectString},
      {true, "05/03/2024", ectDate},  {true, "05/03/2024 10:00", ectDateTime},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CalcStringType(c.text, "true", "false", c.brazil ? BrSettings() : CSettings()), c.type) << c.text;
}

TEST(ColorText, IdentifiersAndHexBothWays) {
  EXPECT_EQ(platform::ColorToString(0x000000), "clBlack");
  EXPECT_EQ(platform::ColorToString(0xC0C0C0), "clSilver");
  EXPECT_EQ(platform::ColorToString(0x8000000F), "clBtnFace");
  EXPECT_EQ(platform::ColorToString(0x1FFFFFFF), "clNone");
  EXPECT_EQ(platform::ColorToString(0x00123456), "$00123456");
  EXPECT_EQ(platform::ColorToString(0x80000040), "$80000040");
  const struct {
    const char* text;
    bool ok;
    uint32_t color;
  } reads[] = {
      {"clwhite", true, 0xFFFFFF}, {"clLtGray", true, 0xC0C0C0}, {"clWindowText", true, 0x80000008},
      {"$00FF0000", true, 0xFF0000}, {"-16777201", true, 0xFF00000F}, {"255", true, 255},
      {"0x10", true, 16}, {"clPink", false, 0}, {"$1FFFFFFFF", false, 0}, {"", false, 0}, {"12a", false, 0},
  };
  for (const auto& r : reads) {
    uint32_t color = 7;
    EXPECT_EQ(platform::TryStringToColor(r.text, color), r.ok) << r.text;
    EXPECT_EQ(color, r.ok ? r.color : 7u) << r.text;
  }
}

TEST(IniHelpers, FontsListsAndSectionsOnTheIniFile) {
  exporttest::TempFolder folder;
  platform::IniFile ini(folder / "fonts.ini");
  TVantrixFont font;
  font.name = "Courier New";
  font.size = 12;
  font.color = 0x8000000F;
  font.charset = 238;
  EditFontStyle(font, fsBold, true);
  EditFontStyle(font, fsStrikeOut, true);
  SaveFontToIniFile(font, ini, "FONT");
  EXPECT_EQ(exporttest::ReadFile(folder / "fonts.ini"),
            "[FONT]\r\nFontName=Courier New\r\nFontBold=1\r\nFontItalic=0\r\nFontUnderline=0\r\nFontStrikeOut=1\r\n"
            "FontSize=12\r\nFontColor=clBtnFace\r\nFontCharset=238\r\n");
  TVantrixFont back;
  LoadFontFromIniFile(back, TVantrixFont{}, ini, "FONT");
  EXPECT_EQ(back, font);

  // Missing or unreadable keys take the default font's values.
  ini.WriteString("BAD", "FontColor", "clPink");
  ini.WriteString("BAD", "FontSize", "big");
  TVantrixFont defaults;
  defaults.color = 0xFF;
  EditFontStyle(defaults, fsItalic, true);
  TVantrixFont loaded = font;
  LoadFontFromIniFile(loaded, defaults, ini, "BAD");
  EXPECT_EQ(loaded, defaults);

  ini.WriteString("EMPTY", "k", "v");
  ini.DeleteKey("EMPTY", "k");
  EXPECT_FALSE(IniFileSectionExists(ini, "EMPTY"));  // a bare header
  EXPECT_TRUE(IniFileValueExists(ini, "font", "FONTSIZE"));
  WriteListSection(ini, "LIST", "line", {"a=b=c", "", "x"});
  EXPECT_EQ(ReadListSection(ini, "LIST"), (std::vector<std::string>{"a=b=c", "", "x"}));
  ClearIniFile(ini);
  EXPECT_EQ(exporttest::ReadFile(folder / "fonts.ini"), "");
}

}  // namespace
