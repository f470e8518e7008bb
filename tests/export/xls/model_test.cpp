// The formatting model: colour texts, font and format equality, the default test, option-file
// text of formats (golden), strip styles loaded by prefix in file order, the run's lists, and
// the spreadsheet option holder.
#include <gtest/gtest.h>

#include "export/export_fixtures.h"
#include "export/xls/xls_format_lists.h"
#include "export/xls/xls_options.h"
#include "platform/ini_file.h"

namespace {

using namespace vantrix;
using exporttest::ReadFile;
using exporttest::TempFolder;
using exporttest::WriteFile;

TEST(Model, ColourTextsReadBackAsTheFirstPaletteColourOfTheirValue) {
  EXPECT_EQ(XLSClr2Str(clrBlack), "clBlack");
  EXPECT_EQ(XLSClr2Str(clrBrown), "$00003399");
  EXPECT_EQ(Str2XLSClr(XLSClr2Str(clrColor2)), clrPlum);
  EXPECT_EQ(Str2XLSClr(XLSClr2Str(clrColor1)), clrColor1);
  EXPECT_EQ(Str2XLSClr(XLSClr2Str(clrColor16)), clrBlue);
  for (int c = 0; c < kXLSColorCount; ++c) {
    const auto color = static_cast<TxlsColor>(c);
    EXPECT_EQ(XLSColorValue(Str2XLSClr(XLSClr2Str(color))), XLSColorValue(color)) << c;
  }
  EXPECT_EQ(Str2XLSClr("$00123456"), clrBlack);  // not a palette colour
  EXPECT_EQ(Str2XLSClr("clred"), clrRed);
  EXPECT_EQ(Str2XLSClr("16711680"), clrBlue);
  EXPECT_THROW(Str2XLSClr("reddish"), EVantrixError);
  EXPECT_EQ(Str2XLSClrDef("reddish", clrWhite), clrWhite);
}

TEST(Model, FontNamesCompareExactlyButAreStoredOnlyWhenNotArial) {
  TxlsFont lower, upper;
  upper.Name = u"Arial";
  EXPECT_FALSE(upper.IsEqual(&lower));
  EXPECT_FALSE(upper.IsName());
  EXPECT_FALSE(lower.IsName());
  upper.Name = u"Tahoma";
  EXPECT_TRUE(upper.IsName());
  EXPECT_FALSE(lower.IsEqual(nullptr));

  TxlsFormat format;
  format.Font.Name = u"Arial";
  EXPECT_FALSE(format.IsDefault()) << "the default test takes the name exactly";
}

TEST(Model, DefaultTestIgnoresRotationAndBorderColoursButEqualityDoesNot) {
  TxlsFormat fresh, rotated;
  EXPECT_TRUE(fresh.IsDefault());
  rotated.Rotation = 90;
  EXPECT_TRUE(rotated.IsDefault());
  EXPECT_FALSE(rotated.IsEqual(&fresh));
  rotated.SetDefault();
  EXPECT_EQ(rotated.Rotation, 90) << "SetDefault keeps the rotation";
  EXPECT_TRUE(rotated.IsDefault());

  TxlsFormat colouredBorder;
  colouredBorder.Borders.Left.Color = clrRed;
  EXPECT_TRUE(colouredBorder.IsDefault());
  colouredBorder.Borders.DiagUp.Style = bstThin;
  EXPECT_FALSE(colouredBorder.IsDefault());

  TxlsFormat whiteForeground;
  whiteForeground.Fill.Foreground = clrWhite;
  EXPECT_FALSE(whiteForeground.IsDefault()) << "black is the default foreground";
  for (auto change : {+[](TxlsFormat& f) { f.Wrap = true; }, +[](TxlsFormat& f) { f.Font.Charset = 0; },
                      +[](TxlsFormat& f) { f.Alignment.Vertical = valTop; },
                      +[](TxlsFormat& f) { f.Fill.Pattern = ptSolid; }}) {
    TxlsFormat f;
    change(f);
    EXPECT_FALSE(f.IsDefault());
  }

  TxlsFormat caption;
  caption.Rotation = 5;
  SetDefaultXLSCaption(caption);
  EXPECT_TRUE(caption.Font.Style.Has(xfsBold));
  EXPECT_FALSE(caption.IsDefault());
}

TEST(Model, FieldFormatsCopyTheirOwnFieldsOnlyFromFieldFormats) {
  TxlsFieldFormats fields(nullptr);
  TxlsFieldFormat& a = fields.Add();
  a.FieldName = "Temperatura";
  a.Aggregate = aggMax;
  a.Width = 12;
  a.Font.Size = 14;
  TxlsFieldFormat& b = fields.Add();
  b.Assign(a);
  EXPECT_EQ(b.FieldName, "Temperatura");
  EXPECT_EQ(b.Aggregate, aggMax);
  EXPECT_TRUE(b.IsEqual(&a));
  TxlsFormat plain;
  b.Assign(plain);
  EXPECT_EQ(b.Font.Size, 10);
  EXPECT_EQ(b.Aggregate, aggMax) << "a plain format has no aggregate to give";
  EXPECT_EQ(fields.IndexByName("TEMPERATURA"), 0);
  EXPECT_EQ(fields.IndexByName("Umidade"), -1);
  EXPECT_EQ(b.GetDisplayName(), "Temperatura");
  b.SetDefault();
  EXPECT_EQ(b.GetDisplayName(), "TxlsFieldFormat");
}

struct ComponentOwner : TxlsItemsOwner {
  bool IsExporterComponent() const override { return true; }
};

TEST(Model, StripStylesOfAnExporterAreNamedByTheirPosition) {
  ComponentOwner component;
  TxlsFormats strips(&component);
  strips.Add();
  EXPECT_EQ(strips.Add().GetDisplayName(), "StripStyle_1");
  TxlsFormats loose(nullptr);
  EXPECT_EQ(loose.Add().GetDisplayName(), "TxlsFormat");
  EXPECT_EQ(TxlsFormat().GetDisplayName(), "TxlsFormat");
}

TEST(Model, FontExchangeWithWindowFontsGoesThroughThePalette) {
  QFont qfont("DejaVu Sans");
  qfont.setPointSize(13);
  qfont.setBold(true);
  qfont.setUnderline(true);
  TxlsFont font;
  font.Script = fscSuperscript;
  font.Assign(qfont, 0x663399);
  EXPECT_EQ(font.Size, 13);
  EXPECT_TRUE(font.Style.Has(xfsBold));
  EXPECT_FALSE(font.Style.Has(xfsItalic));
  EXPECT_EQ(font.Underline, fulSingle);
  EXPECT_EQ(font.Script, fscNone);
  EXPECT_EQ(font.Color, clrPlum);
  EXPECT_EQ(font.Name, u"DejaVu Sans");
  font.Assign(qfont, 0x123456);
  EXPECT_EQ(font.Color, clrBlack);

  font.Color = clrTeal;
  font.Style = {xfsItalic, xfsStrikeOut};
  QFont back;
  uint32_t color = 0;
  font.AssignTo(back, color);
  EXPECT_EQ(color, 0x808000u);
  EXPECT_TRUE(back.italic() && back.strikeOut() && back.underline() && !back.bold());
  EXPECT_EQ(back.pointSize(), 13);

  TVantrixFont engine;
  SetDefaultXLSFont(engine);
  EXPECT_EQ(engine.name, "arial");
  EXPECT_EQ(engine.size, 10);
  EXPECT_EQ(engine.color, 0u);
  EXPECT_EQ(engine.styles, 0);
  font.AssignTo(engine);
  TxlsFont again;
  again.Assign(engine);
  EXPECT_TRUE(again.IsEqual(&font));
}

constexpr const char* kFormatGolden =
    "[Fmt]\r\nFontName=Verdana\r\nFontSize=12\r\nFontColor=clRed\r\nFontBold=1\r\nFontItalic=0\r\nFontStrikeOut=1\r\n"
    "FontUnderline=2\r\nHorAlignment=3\r\nVertAlignment=1\r\nBorderTop=1\r\nBorderTopColor=clBlue\r\n"
    "BorderBottom=6\r\nBorderBottomColor=$00003399\r\nBorderLeft=0\r\nBorderLeftColor=clBlack\r\nBorderRight=13\r\n"
    "BorderRightColor=clWhite\r\nFillPattern=1\r\nFillBackground=clYellow\r\nFillForeground=clBlack\r\n"
    "[Field]\r\nFontName=arial\r\nFontSize=10\r\nFontColor=clBlack\r\nFontBold=0\r\nFontItalic=0\r\n"
    "FontStrikeOut=0\r\nFontUnderline=0\r\nHorAlignment=0\r\nVertAlignment=2\r\nBorderTop=0\r\n"
    "BorderTopColor=clBlack\r\nBorderBottom=0\r\nBorderBottomColor=clBlack\r\nBorderLeft=0\r\n"
    "BorderLeftColor=clBlack\r\nBorderRight=0\r\nBorderRightColor=clBlack\r\nFillPattern=0\r\n"
    "FillBackground=clWhite\r\nFillForeground=clBlack\r\nAggregate=2\r\n"
    "[Note]\r\nFontName=Tahoma\r\nFontSize=8\r\nFontColor=clBlack\r\nFontBold=1\r\nFontItalic=0\r\n"
    "FontStrikeOut=0\r\nFontUnderline=0\r\nHorAlignment=1\r\nVertAlignment=0\r\nBackgroundColor=255\r\n"
    "ForegroundColor=14811135\r\nFillType=1\r\nTransparency=40\r\nOrientation=3\r\nGradient=5\r\n";

TEST(Model, FormatsInOptionFilesAsGoldenTextAndBack) {
  TempFolder folder;
  const std::string path = folder / "options.cfg";
  TxlsFormat format;
  format.Font.Name = u"Verdana";
  format.Font.Size = 12;
  format.Font.Color = clrRed;
  format.Font.Style = {xfsBold, xfsStrikeOut};
  format.Font.Underline = fulDouble;
  format.Alignment = {halRight, valCenter};
  format.Borders.Top = {bstThin, clrBlue};
  format.Borders.Bottom = {bstDouble, clrBrown};
  format.Borders.Right = {bstSlantedDashDot, clrWhite};
  format.Fill = {clrYellow, ptSolid, clrBlack};
  TxlsFieldFormat field;
  field.Aggregate = aggAvg;
  TxlsNoteFormat note;
  note.BackgroundColor = 0xFF;
  note.FillType = nftGradient;
  note.Transparency = 40;
  note.Orientation = xlrClockWise;
  note.Gradient = ngrFromCenter;
  {
    platform::IniFile ini(path);
    platform::IniFile::UpdateScope scope(ini);
    format.SaveToIniFile(ini, "Fmt");
    field.SaveToIniFile(ini, "Field");
    note.SaveToIniFile(ini, "Note");
  }
  EXPECT_EQ(ReadFile(path), kFormatGolden);

  const platform::IniFile ini(path);
  TxlsFormat format2;
  format2.LoadFromIniFile(ini, "Fmt");
  EXPECT_TRUE(format2.IsEqual(&format));
  TxlsFieldFormat field2;
  field2.LoadFromIniFile(ini, "Field");
  EXPECT_EQ(field2.Aggregate, aggAvg);
  TxlsNoteFormat note2;
  note2.LoadFromIniFile(ini, "Note");
  EXPECT_TRUE(note2.IsEqual(&note));
  TxlsNoteFormat missing;
  missing.Font.Size = 30;
  missing.LoadFromIniFile(ini, "Nowhere");
  const TxlsNoteFormat defaults;
  EXPECT_TRUE(missing.IsEqual(&defaults));
}

TEST(Model, ABadValueReadsAsItsKeysDefaultAndTheRestStillLoads) {
  TempFolder folder;
  const std::string path = folder / "options.cfg";
  WriteFile(path,
            "[F]\r\nFontColor=crimson\r\nFontSize=14\r\nBorderTop=99\r\nBorderTopColor=clRed\r\n"
            "FillBackground=#ff0000\r\nFillPattern=1\r\nHorAlignment=-1\r\n");
  TxlsFormat format;
  format.LoadFromIniFile(platform::IniFile(path), "F");
  EXPECT_EQ(format.Font.Color, clrBlack);
  EXPECT_EQ(format.Font.Size, 14);
  EXPECT_EQ(format.Borders.Top.Style, bstNone);
  EXPECT_EQ(format.Borders.Top.Color, clrRed);
  EXPECT_EQ(format.Fill.Background, clrWhite);
  EXPECT_EQ(format.Fill.Pattern, ptSolid);
  EXPECT_EQ(format.Alignment.Horizontal, halGeneral);
}

TEST(Model, StripStylesLoadEverySectionOfTheirPrefixInFileOrder) {
  TempFolder folder;
  const std::string path = folder / "options.cfg";
  WriteFile(path,
            "[XLS_STRIP_STYLE_0]\r\nFontSize=11\r\n[XLS_HEADER]\r\nFontSize=99\r\n[XLS_STRIP_STYLE_1]\r\nFontSize=12\r\n"
            "[xls_strip_style_7]\r\nFontSize=13\r\n[XLS_STRIP_STYLE_1_OLD]\r\nFontSize=14\r\n[XLS_STRIP]\r\nFontSize=1\r\n");
  ComponentOwner component;
  TxlsFormats strips(&component);
  strips.Add().Font.Size = 50;
  strips.LoadFromIniFile(platform::IniFile(path), "XLS_STRIP_STYLE_");
  ASSERT_EQ(strips.Count(), 4u);
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(strips[i].Font.Size, static_cast<int>(11 + i));

  const std::string saved = folder / "saved.cfg";
  {
    platform::IniFile ini(saved);
    strips.SaveToIniFile(ini, "S");
  }
  TxlsFormats again(nullptr);
  again.LoadFromIniFile(platform::IniFile(saved), "S");
  EXPECT_TRUE(again.IsEqual(strips));
  again[3].Font.Size = 1;
  EXPECT_FALSE(again.IsEqual(strips));
}

TEST(Model, RunListsAnswerTheFirstMatchByValue) {
  TxlsFontList fonts;
  auto font = std::make_unique<TxlsFont>();
  font->Size = 12;
  font->FontIndex = 5;
  TxlsFont* first = fonts.Add(std::move(font));
  auto twin = std::make_unique<TxlsFont>(*first);
  twin->FontIndex = 6;
  fonts.Add(std::move(twin));
  TxlsFont probe;
  probe.Size = 12;
  EXPECT_EQ(fonts.FontIndexByFont(probe), 5);
  EXPECT_EQ(fonts.ListIndexByFont(probe), 0);
  probe.Name = u"Arial";
  EXPECT_EQ(fonts.FontIndexByFont(probe), -1);
  TxlsFont changed = *first;
  changed.Size = 20;
  fonts.Put(0, changed);
  EXPECT_EQ(fonts.ListIndexByFont(changed), 0);
  EXPECT_EQ(first->Size, 20) << "Put copies into the entry others refer to";

  TxlsTextFormatList formats;
  auto text = std::make_unique<TxlsTextFormat>();
  text->FormatText = u"0.00";
  text->FormatIndex = 50;
  TxlsTextFormat* twoDecimals = formats.Add(std::move(text));
  EXPECT_EQ(formats.FormatIndexByString(u"0.00"), 50);
  EXPECT_EQ(formats.FormatIndexByString(u"0.000"), -1);

  TxlsXFormatList xfs;
  auto xf = std::make_unique<TxlsXFormat>(first, twoDecimals);
  xf->XFIndex = 16;
  xf->Fill.Pattern = ptSolid;
  TxlsXFormat* registered = xfs.Add(std::move(xf));
  TxlsFont sameFont = *first;
  TxlsTextFormat sameText = *twoDecimals;
  TxlsXFormat lookalike(&sameFont, &sameText);
  lookalike.Fill.Pattern = ptSolid;
  EXPECT_EQ(xfs.FormatIndexByFormat(lookalike), 16);
  lookalike.TextFormat = nullptr;
  EXPECT_EQ(xfs.FormatIndexByFormat(lookalike), -1);
  EXPECT_EQ(xfs.FormatByFormatIndex(16), registered);
  EXPECT_EQ(xfs.ListIndexByFormatIndex(17), -1);

  TxlsXFormatFieldList fields;
  fields.Add(std::make_unique<TxlsXFormatField>(TxlsXFormatField{0, "Temperatura", registered}));
  fields.Add(std::make_unique<TxlsXFormatField>(TxlsXFormatField{1, "Umidade", nullptr}));
  EXPECT_EQ(fields.FormatIndexByFieldName(0, "TEMPERATURA"), 16);
  EXPECT_EQ(fields.FormatIndexByFieldName(1, "Temperatura"), kDefaultCellXF);
  EXPECT_EQ(fields.FormatIndexByFieldName(1, "Umidade"), kDefaultCellXF);
  EXPECT_EQ(fields.ListIndexByFieldName(1, "Umidade"), -1);

  TxlsXFormatColRowList strips;
  strips.Add(std::make_unique<TxlsXFormatColRow>(TxlsXFormatColRow{2, 1003, registered}));
  EXPECT_EQ(strips.XFIndexByNumber(2, 1003), 16);
  EXPECT_EQ(strips.XFIndexByNumber(2, 3), kDefaultCellXF);
  EXPECT_EQ(strips.IndexByXF(16), 0);
  EXPECT_EQ(strips.IndexByXF(15), -1);

  TxlsFormat loaded;
  loaded.LoadFromTxlsXFormat(*registered);
  EXPECT_EQ(loaded.Font.Size, 20);
  EXPECT_EQ(loaded.Fill.Pattern, ptSolid);
}

TEST(Model, SpreadsheetHolderDefaultsAndCopies) {
  TVantrixXLSOptions options(nullptr);
  EXPECT_EQ(options.SheetTitle(), "Sheet 1");
  EXPECT_EQ(options.PageFooter, "Page &P of &N");
  EXPECT_TRUE(options.CaptionFormat.Font.Style.Has(xfsBold));
  EXPECT_TRUE(options.DataFormat.IsDefault());
  EXPECT_EQ(options.HyperlinkFormat.Font.Color, clrBlue);
  EXPECT_EQ(options.HyperlinkFormat.Font.Underline, fulSingle);
  options.SetSheetTitle("");
  EXPECT_EQ(options.SheetTitle(), "Sheet1");

  options.HyperlinkFormat.Font.Size = 9;
  EXPECT_EQ(options.Hyperlinks.Add().Format.Font.Size, 9) << "new hyperlinks start with the holder's format";
  options.Notes.Add().Lines = {"nota"};
  options.StripStyles.Add().Fill.Pattern = ptChess;
  options.Pictures.Add().SetName("Logo");
  options.StripType = ssRow;
  options.SetSheetTitle("Leituras");

  TVantrixXLSOptions copy(nullptr);
  copy.Assign(options);
  EXPECT_EQ(copy.SheetTitle(), "Leituras");
  EXPECT_EQ(copy.StripType, ssRow);
  EXPECT_EQ(copy.Hyperlinks.Count(), 1u);
  EXPECT_EQ(copy.Notes[0].Lines, TStrings{"nota"});
  EXPECT_TRUE(copy.StripStyles.IsEqual(options.StripStyles));
  EXPECT_EQ(copy.Pictures[0].Name(), "Logo");
  EXPECT_EQ(copy.HyperlinkFormat.Font.Size, 9);

  TVantrixCSVOptions csv(nullptr);
  EXPECT_THROW(copy.Assign(csv), EConvertError);
}

}  // namespace
