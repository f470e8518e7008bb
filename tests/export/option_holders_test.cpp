// The option holders and the option objects they are built from: defaults the dialog shows
// first, copies that keep every value and refuse other classes, page geometry in dots, the
// style files, and the text measures of the PDF writer.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "export/pdf_font.h"
#include "export/pdf_options.h"
#include "export/rtf_style.h"
#include "export/vantrix3_options.h"
#include "export_fixtures.h"
#include "platform/ini_file.h"

namespace {

using namespace vantrix;

TEST(OptionHolders, DefaultsAreWhatTheDialogShowsFirst) {
  TVantrixRTFOptions rtf(nullptr);
  EXPECT_TRUE(rtf.CaptionStyle.Font.HasStyle(fsBold));
  EXPECT_EQ(rtf.CaptionStyle.Alignment, talCenter);
  EXPECT_EQ(rtf.DataStyle.Font.name, "Arial");
  EXPECT_EQ(rtf.DataStyle.Font.color, 0u);
  EXPECT_EQ(rtf.StripStyles.Owner(), &rtf);

  TVantrixHTMLTableOptions table(nullptr);
  EXPECT_EQ(table.HeadersRowBgColor, 255u);
  EXPECT_EQ(table.TableBgColor, 15497728u);
  EXPECT_EQ(table.OddRowBgColor, 13527808u);
  TVantrixHTMLPageOptions page(nullptr);
  EXPECT_EQ(page.LinkColor, 8253289u);
  EXPECT_EQ(page.ALinkColor, 65280u);
  EXPECT_EQ(page.TextFont.color, 0xFFFFFFu);
  EXPECT_EQ(page.DefaultOptions, DefaultOptionsOf({doFontSize}));

  TVantrixPDFOptions pdf(nullptr);
  EXPECT_EQ(pdf.CaptionFont.Name, "CaptionFont");
  EXPECT_EQ(pdf.FooterFont.Name, "FooterFont");
  EXPECT_EQ(pdf.PageOptions.Format(), pfA4);
  EXPECT_EQ(TVantrixSQLOptions(nullptr).CommitStatement, "COMMIT WORK;");
  EXPECT_EQ(TVantrixAccessOptions(nullptr).TableName, "EXPORT_TABLE");
  EXPECT_EQ(TVantrixHTMLMultiFileOptions(nullptr).PriorLinkTitle, "Prior");
}

TEST(OptionHolders, AssignCopiesEveryValueAndOwnedObjects) {
  TVantrixRTFOptions from(nullptr), to(nullptr);
  from.CaptionAligns = {"Id=Right"};
  from.DataStyle.Font.color = 0x0000FF;
  from.StripStyles.Add().BackgroundColor = 0x00FF00;
  from.StripStyles.Add();
  from.StripType = stRow;
  from.PageOrientation = poLandscape;
  to.Assign(from);
  EXPECT_EQ(to.CaptionAligns, from.CaptionAligns);
  EXPECT_EQ(to.DataStyle, from.DataStyle);
  ASSERT_EQ(to.StripStyles.Count(), 2);
  EXPECT_EQ(to.StripStyles[0].BackgroundColor, 0x00FF00u);
  EXPECT_NE(&to.StripStyles[0], &from.StripStyles[0]);
  EXPECT_EQ(to.StripStyles.Owner(), &to);  // the copy stays the holder's own list
  EXPECT_EQ(to.StripType, stRow);
  EXPECT_EQ(to.PageOrientation, poLandscape);

  TVantrixPDFOptions pdfFrom(nullptr), pdfTo(nullptr);
  pdfFrom.PageOptions.SetOrientation(poLandscape);
  pdfFrom.DataFont.FontSize = 7;
  pdfFrom.RowSpacing = 1.5;
  pdfTo.Assign(pdfFrom);
  EXPECT_EQ(pdfTo.PageOptions, pdfFrom.PageOptions);
  EXPECT_EQ(pdfTo.DataFont.FontSize, 7);
  EXPECT_EQ(pdfTo.RowSpacing, 1.5);

  TVantrixAccessOptions access(nullptr), accessTo(nullptr);
  access.Password = "secret";
  access.TableName = "T";
  access.CreateTable = false;
  accessTo.Assign(access);
  EXPECT_EQ(accessTo.Password, "");
  EXPECT_EQ(accessTo.TableName, "T");
  EXPECT_FALSE(accessTo.CreateTable);
}

TEST(OptionHolders, AssignFromAnotherClassRaisesAndChangesNothing) {
  TVantrixSQLOptions sql(nullptr);
  TVantrixXMLOptions xml(nullptr);
  xml.Encoding = "UTF-8";
  try {
    xml.Assign(sql);
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "Cannot assign a TVantrixSQLOptions to a TVantrixXMLOptions");
  }
  EXPECT_EQ(xml.Encoding, "UTF-8");
  TVantrixTXTOptions txt(nullptr);
  EXPECT_THROW(TVantrixCSVOptions(nullptr).Assign(txt), EConvertError);
}

// The user's locale is read once per process, and any test before this one may have read it:
// the ";" locale is checked in a process started afresh (not a fork, which would inherit what
// was read), with the locale set before anything reads it.
TEST(OptionHolders, CsvCommaIsTheListSeparatorOfTheUsersLocale) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        setenv("LC_ALL", "pt_BR.UTF-8", 1);
        setenv("LANG", "pt_BR.UTF-8", 1);
        _exit(static_cast<unsigned char>(TVantrixCSVOptions(nullptr).Comma));
      },
      testing::ExitedWithCode(';'), "");
}

TEST(PdfPageOptions, DefaultBoxesAreA4InsideTheMargins) {
  TVantrixPDFPageOptions page;
  EXPECT_EQ(page.GetMediaBox(), (TPDFBox{0, 0, 594, 841}));
  EXPECT_EQ(page.GetTrimBox(), (TPDFBox{85, 57, 552, 784}));
  EXPECT_DOUBLE_EQ(page.MarginLeft(), 1.18);
  page.SetUnits(unMillimeter);
  EXPECT_DOUBLE_EQ(page.MarginLeft(), 30);  // 85 dots, whole millimetres
  page.SetMarginLeft(25);
  EXPECT_EQ(page.MarginLeftDots(), 71);
}

TEST(PdfPageOptions, LandscapeAndBackRestoresSizeAndMargins) {
  TVantrixPDFPageOptions page;
  page.SetMarginRight(0.5);  // four different margins
  const TVantrixPDFPageOptions portrait = page;
  page.SetOrientation(poLandscape);
  EXPECT_EQ(page.GetMediaBox(), (TPDFBox{0, 0, 841, 594}));
  // The page turns: the bottom margin is now on the left, the left one on top.
  EXPECT_EQ(page.MarginLeftDots(), portrait.MarginBottomDots());
  EXPECT_EQ(page.MarginTopDots(), portrait.MarginLeftDots());
  EXPECT_EQ(page.MarginRightDots(), portrait.MarginTopDots());
  EXPECT_EQ(page.MarginBottomDots(), portrait.MarginRightDots());
  page.SetOrientation(poLandscape);  // no change, no turn
  EXPECT_EQ(page.MarginLeftDots(), portrait.MarginBottomDots());
  page.SetOrientation(poPortrait);
  EXPECT_EQ(page, portrait);
}

TEST(PdfPageOptions, OwnSizeMeansUserFormatAndAFormatRestoresItsPortraitSize) {
  TVantrixPDFPageOptions page;
  page.SetWidth(5);
  EXPECT_EQ(page.Format(), pfUser);
  EXPECT_EQ(page.WidthDots(), 360);
  page.SetOrientation(poLandscape);
  page.SetFormat(pfLetter);
  EXPECT_EQ(page.WidthDots(), 612);
  EXPECT_EQ(page.HeightDots(), 792);
  page.SetFormat(pfUser);
  EXPECT_EQ(page.WidthDots(), 612);
}

TEST(PdfMeasures, TextIsMeasuredInItsOwnFontsWidthsRoundedHalvesToEven) {
  TPDFFont times;
  times.BaseFont = poTimesRoman;
  times.FontSize = 1;
  EXPECT_EQ(TextWidth("o", times), 0);  // 0.5
  times.FontSize = 3;
  EXPECT_EQ(TextWidth("o", times), 2);  // 1.5
  EXPECT_EQ(TextWidth("", times), 0);
  TPDFFont helvetica;
  EXPECT_EQ(TextWidth("W\xB0", helvetica), 13);  // 9.44 + 4.00
  // An accented letter is as wide as its letter; the degree sign is no blank.
  EXPECT_EQ(TextUnits("t\xE9rmico", helvetica), TextUnits("termico", helvetica));
  EXPECT_EQ(TextUnits("M\xE9" "dia m\xE1" "xima", helvetica), TextUnits("Media maxima", helvetica));
  EXPECT_EQ(TextUnits("\xB0", helvetica), 400);
  // Bytes written as another are measured as that one.
  EXPECT_EQ(TextUnits("\x01\x81\t", helvetica), TextUnits("?? ", helvetica));
  // Every character of Courier is as wide as any other, whatever its style.
  TPDFFont courier;
  courier.FontSize = 10;
  for (const TPDFFontName name : {poCourier, poCourierBold, poCourierOblique, poCourierBoldOblique}) {
    courier.BaseFont = name;
    EXPECT_EQ(TextWidth("C\xE2" "mara i WW \xB0" "C", courier), 84) << name;
  }
  // The columns' average character stays what the widths users gave are counted in.
  EXPECT_EQ(CharsToPoints(10, 13), 63);  // 62.96
  EXPECT_EQ(CharsToPoints(10, 1.5), 7);  // 7.27
  EXPECT_EQ(CharsToHoldUnits(4843), 11);  // 9.9993 characters and half of one
  EXPECT_EQ(PDFFontPostScriptName(poTimesBoldItalic), "Times-BoldItalic");
  EXPECT_EQ(PDFFontEncodingName(poPDFDocEncoding), "PDFDocEncoding");
}

// A byte shows the glyph the declared encoding puts at its code, and is as wide as that glyph.
TEST(PdfMeasures, WidthsFollowTheEncodingAReaderIsTold) {
  TPDFFont font;
  EXPECT_EQ(PDFDeclaredEncoding(font), poWinAnsiEncoding);
  font.FontEncoding = poPDFDocEncoding;
  EXPECT_EQ(PDFDeclaredEncoding(font), poWinAnsiEncoding);
  EXPECT_EQ(TextUnits("\xE1", font), 556);  // aacute
  font.FontEncoding = poStandardEncoding;
  EXPECT_EQ(TextUnits("\xE1", font), 1000);  // AE, at that code in the font's own
  // Empty there: what the byte is in code page 1252 (agrave), not nothing.
  EXPECT_EQ(TextUnits("\xE0", font), 556);
  font.FontEncoding = poMacRomanEncoding;
  EXPECT_EQ(PDFDeclaredEncoding(font), poMacRomanEncoding);
  EXPECT_EQ(TextUnits("\xE1", font), 278);  // periodcentered
  // The symbol fonts keep their own encoding whatever was chosen.
  for (const TPDFFontEncoding encoding :
       {poStandardEncoding, poWinAnsiEncoding, poMacRomanEncoding, poPDFDocEncoding}) {
    TPDFFont symbol;
    symbol.BaseFont = poSymbol;
    symbol.FontEncoding = encoding;
    EXPECT_EQ(PDFDeclaredEncoding(symbol), poStandardEncoding);
    EXPECT_EQ(TextUnits("a", symbol), 631);  // alpha
    symbol.BaseFont = poZapfDingbats;
    EXPECT_EQ(PDFDeclaredEncoding(symbol), poStandardEncoding);
    EXPECT_EQ(TextUnits("a", symbol), 789);  // a60
  }
  // Values out of range read as Helvetica and WinAnsiEncoding, as their names do.
  TPDFFont odd;
  odd.BaseFont = static_cast<TPDFFontName>(200);
  odd.FontEncoding = static_cast<TPDFFontEncoding>(9);
  EXPECT_EQ(PDFDeclaredEncoding(odd), poWinAnsiEncoding);
  EXPECT_EQ(PDFFontWidths(odd), PDFFontWidths(TPDFFont{}));
}

TEST(RtfStyles, StyleFilesRoundTripAndLoadByPrefixInFileOrder) {
  exporttest::TempFolder folder;
  platform::IniFile ini(folder / "styles.rst");
  TrtfStyles styles;
  TrtfStyle& first = styles.Add();
  first.Font.name = "Courier New";
  first.Font.color = 0x80000008;  // a system colour survives as an integer
  EditFontStyle(first.Font, fsItalic, true);
  first.AllowHighlight = true;
  first.Alignment = talFill;
  SetDefaultRTFCaption(styles.Add());
  styles.SaveToIniFile(ini, "Strip");
  ini.WriteString("Other", "FontName", "Times");

  TrtfStyles loaded;
  loaded.Add();
  loaded.LoadFromIniFile(platform::IniFile(folder / "styles.rst"), "STRIP");
  ASSERT_EQ(loaded.Count(), 2);
  EXPECT_EQ(loaded[0], first);
  EXPECT_EQ(loaded[1], styles[1]);
  EXPECT_TRUE(loaded[1].Font.HasStyle(fsBold));

  // Keys that are missing take the defaults, not what the style held.
  platform::IniFile partial(folder / "partial.rst");
  partial.WriteInteger("S", "FontSize", 14);
  partial.WriteInteger("S", "Alignment", 9);
  TrtfStyle style = first;
  style.LoadFromIniFile(partial, "S");
  EXPECT_EQ(style.Font.size, 14);
  EXPECT_EQ(style.Font.name, "Arial");
  EXPECT_EQ(style.Alignment, talLeft);
}

}  // namespace
