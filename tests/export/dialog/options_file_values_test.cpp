// The export dialog's options file, value by value: every option of the form set, saved and
// loaded by a fresh form comes back as set; enumerations and numbers out of their range in a
// hand-edited file keep the dialog's values or are bounded; widths and alignments the file does
// not name, or cannot give, stay.
#include <QComboBox>
#include <QTableWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "export/dialog/form_options.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/page_units.h"
#include "export/pdf_font.h"
#include "export/rtf_style.h"
#include "export/vantrix3_pdf.h"
#include "export/xls/xls_format.h"
#include "options_file_fixture.h"

using namespace vantrix;
using optionstest::OptionsFile;

namespace {

// Which format's file holds an option of the form: its own section's, or every file (empty).
// The file does not hold the options file's own name.
std::string FormatOfOption(const std::string& name) {
  for (const char* prefix : {"XLS", "RTF", "HTML", "XML", "SQL", "TXT", "CSV"})
    if (name.rfind(prefix, 0) == 0) return prefix;
  for (const char* format : {"IntegerFmt", "FloatFmt", "DateFmt", "TimeFmt", "DateTimeFmt", "CurrencyFmt",
                             "BooleanTrue", "BooleanFalse", "NullString"})
    if (name == format) return "FORMATS";
  return name == "OptionsFileName" ? "-" : "";
}

bool HoldsOption(TAllowedExport t, const std::string& name) {
  const std::string format = FormatOfOption(name);
  if (format.empty()) return true;
  if (format == "FORMATS") return t != aeDBF;
  const std::pair<const char*, std::vector<TAllowedExport>> sections[] = {
      {"XLS", {aeXLS}}, {"RTF", {aeRTF, aeWord}}, {"HTML", {aeHTML}}, {"XML", {aeXML}},
      {"SQL", {aeSQL}}, {"TXT", {aeTXT}},         {"CSV", {aeCSV}}};
  for (const auto& [section, formats] : sections)
    if (format == section) return std::find(formats.begin(), formats.end(), t) != formats.end();
  return false;
}

// Calls check(name, value in a, in b, in c) for every option of the form's working copy.
template <class Check>
void ForEveryOption(const TDialogFormOptions& a, const TDialogFormOptions& b, const TDialogFormOptions& c,
                    Check check) {
#define CHECK_OPTION(name, ...) check(#name, a.name, b.name, c.name);
  VANTRIX_FORM_TEXT_OPTIONS(CHECK_OPTION)
  VANTRIX_FORM_FILE_OPTIONS(CHECK_OPTION)
  VANTRIX_FORM_FLAG_OPTIONS(CHECK_OPTION)
  VANTRIX_FORM_NUMBER_OPTIONS(CHECK_OPTION)
  VANTRIX_FORM_CHOICE_OPTIONS(CHECK_OPTION)
  VANTRIX_FORM_COLOR_OPTIONS(CHECK_OPTION)
  CHECK_OPTION(FileName) CHECK_OPTION(OptionsFileName) CHECK_OPTION(NullString) CHECK_OPTION(HTMLFontName)
  CHECK_OPTION(XMLEncoding) CHECK_OPTION(ExportRecCount) CHECK_OPTION(AllowCaptions) CHECK_OPTION(HTMLUsingCSS)
  CHECK_OPTION(CSVComma) CHECK_OPTION(CSVQuote)
#undef CHECK_OPTION
}

}  // namespace

// Every option of the form set to a value it does not have by default, saved, and loaded by a
// fresh form: each comes back as it was set. The byte comparison of two saves cannot see an
// option saved but never read (the fresh form's default is saved again, and equals the file
// when the file held the default), nor one saved from the wrong place and read back into it.
TEST_F(OptionsFile, EveryOptionSetComesBackFromTheFile) {
  for (int f = 0; f < kAllowedExportCount; ++f) {
    const auto t = static_cast<TAllowedExport>(f);
    SCOPED_TRACE(t);
    Open();
    Choose(t);
    const TDialogFormOptions defaults = form->Options();
    int n = 0;
#define SET_TEXT(name, ...) form->Set##name("v" #name);
#define SET_FLAG(name, ...) form->Set##name(!defaults.name);
#define SET_NUMBER(name, ...) form->Set##name(defaults.name + 1 + n++ % 5);
#define SET_CHOICE(name, ...) form->Set##name((defaults.name + 1) % 2);
#define SET_COLOR(name) form->Set##name(defaults.name ^ (0x010203u * static_cast<uint32_t>(++n)));
    VANTRIX_FORM_TEXT_OPTIONS(SET_TEXT)
    VANTRIX_FORM_FILE_OPTIONS(SET_TEXT)
    VANTRIX_FORM_FLAG_OPTIONS(SET_FLAG)
    VANTRIX_FORM_NUMBER_OPTIONS(SET_NUMBER)
    VANTRIX_FORM_CHOICE_OPTIONS(SET_CHOICE)
    VANTRIX_FORM_COLOR_OPTIONS(SET_COLOR)
#undef SET_TEXT
#undef SET_FLAG
#undef SET_NUMBER
#undef SET_CHOICE
#undef SET_COLOR
    form->SetHTMLUseMultiFileExport(true);  // a count is kept only with it
    form->SetSQLStatementTerm("#");
    form->SetFileName("/tmp/out/every.dat");
    form->SetNullString("(null)");
    form->SetHTMLFontName("Verdana");
    form->SetXMLEncoding("ISO-8859-1");
    form->SetExportRecCount(defaults.ExportRecCount + 7);
    form->SetAllowCaptions(!defaults.AllowCaptions);
    form->SetHTMLUsingCSS(1 - defaults.HTMLUsingCSS);
    form->SetCSVComma(';');
    form->SetCSVQuote('\'');
    // The PDF page: a user page whose four margins differ, in millimetres, landscape.
    TPDFOptions& pdf = form->PDFExp().Options();
    pdf.ColSpacing = 2.5;
    pdf.RowSpacing = 1.5;
    pdf.GridLineWidth = 3;
    pdf.PageOptions.SetUnits(unDot);
    pdf.PageOptions.SetFormat(pfUser);
    pdf.PageOptions.SetWidth(900);
    pdf.PageOptions.SetHeight(700);
    pdf.PageOptions.SetMarginLeft(11);
    pdf.PageOptions.SetMarginRight(22);
    pdf.PageOptions.SetMarginTop(33);
    pdf.PageOptions.SetMarginBottom(44);
    pdf.PageOptions.SetOrientation(poLandscape);
    pdf.PageOptions.SetUnits(unMillimeter);
    ASSERT_EQ(std::set<int>({pdf.PageOptions.MarginLeftDots(), pdf.PageOptions.MarginRightDots(),
                             pdf.PageOptions.MarginTopDots(), pdf.PageOptions.MarginBottomDots()}).size(), 4u);
    TPDFFont* fonts[] = {&pdf.HeaderFont, &pdf.CaptionFont, &pdf.DataFont, &pdf.FooterFont};
    for (int i = 0; i < 4; ++i) {
      fonts[i]->BaseFont = static_cast<TPDFFontName>(i + 2);
      fonts[i]->FontEncoding = static_cast<TPDFFontEncoding>(i);
      fonts[i]->FontSize = 11 + i;
      fonts[i]->FontColor = 0x102030u * static_cast<uint32_t>(i + 1);
    }
    // The captions grid: a caption, an alignment and a width of each its own.
    auto* grid = form->Control<QTableWidget>("sgrCaptions");
    const auto* aligns = form->Control<QComboBox>("cbxColumnAlign");
    QStringList cells;
    for (int row = 1; row < grid->rowCount(); ++row) {
      for (int column = 1; column < grid->columnCount(); ++column) {
        const bool width = (t == aeXLS ? 2 : 3) == column;
        grid->item(row, column)->setText(column == 1 ? QString("Caption %1").arg(row)
                                          : width     ? QString::number(10 + row)
                                                      : aligns->itemText(row % 3));
        cells << grid->item(row, column)->text();
      }
    }
    const TDialogFormOptions set = form->Options();
    const TPDFOptions setPDF = pdf;
    const std::string file = Path("every.cfg");
    form->SaveExportOptions(file);

    Open();
    form->LoadExportOptions(file);
    const TDialogFormOptions loaded = form->Options();
    ForEveryOption(set, loaded, defaults, [&](const char* name, const auto& value, const auto& back, const auto& def) {
      if (!HoldsOption(t, name)) return;
      EXPECT_NE(value, def) << name << " was not changed: the test would not see it lost";
      EXPECT_EQ(back, value) << name;
    });
    if (t == aePDF) {
      const TPDFOptions& back = form->PDFExp().Options();
      EXPECT_EQ(back.ColSpacing, setPDF.ColSpacing);
      EXPECT_EQ(back.RowSpacing, setPDF.RowSpacing);
      EXPECT_EQ(back.GridLineWidth, setPDF.GridLineWidth);
      EXPECT_EQ(back.PageOptions.Format(), pfUser);
      EXPECT_EQ(back.PageOptions.Units(), unMillimeter);
      EXPECT_EQ(back.PageOptions.Orientation(), poLandscape);
      EXPECT_EQ(back.PageOptions.WidthDots(), setPDF.PageOptions.WidthDots());
      EXPECT_EQ(back.PageOptions.HeightDots(), setPDF.PageOptions.HeightDots());
      const TVantrixPDFPageOptions& page = setPDF.PageOptions;
      EXPECT_EQ(back.PageOptions.MarginLeftDots(), page.MarginLeftDots());
      EXPECT_EQ(back.PageOptions.MarginRightDots(), page.MarginRightDots());
      EXPECT_EQ(back.PageOptions.MarginTopDots(), page.MarginTopDots());
      EXPECT_EQ(back.PageOptions.MarginBottomDots(), page.MarginBottomDots());
      EXPECT_EQ(back.HeaderFont, setPDF.HeaderFont);
      EXPECT_EQ(back.CaptionFont, setPDF.CaptionFont);
      EXPECT_EQ(back.DataFont, setPDF.DataFont);
      EXPECT_EQ(back.FooterFont, setPDF.FooterFont);
    }
    grid = form->Control<QTableWidget>("sgrCaptions");
    QStringList cellsBack;
    for (int row = 1; row < grid->rowCount(); ++row)
      for (int column = 1; column < grid->columnCount(); ++column) cellsBack << grid->item(row, column)->text();
    // Formats without a captions page keep the grid the fresh form built.
    if (t != aeXML && t != aeDBF && t != aeSQL) {
      EXPECT_EQ(cellsBack, cells);
    }
  }
}

// Numbers a file holds out of their range: an enumeration's last value is taken and the one
// after it keeps the dialog's value; counts, sizes and spacings are bounded.
TEST_F(OptionsFile, EnumerationsAndNumbersOutOfRange) {
  Open();
  struct Enumeration {
    const char* section;
    const char* key;
    int exportType;
    int last;
    std::function<int(TVantrix3DialogF&)> value;
  };
  const auto pdf = [](TVantrix3DialogF& f) -> const TPDFOptions& { return f.PDFExp().Options(); };
  const Enumeration enumerations[] = {
      {"GENERAL", "ExportType", -1, aeClipboard, [](TVantrix3DialogF& f) { return int{f.GetExportType()}; }},
      {"XLS", "StripType", aeXLS, ssRow, [](TVantrix3DialogF& f) { return f.Options().XLSStripType; }},
      {"RTF", "PageOrientation", aeRTF, poLandscape,
       [](TVantrix3DialogF& f) { return f.Options().RTFPageOrientation; }},
      {"RTF", "StripType", aeRTF, stRow, [](TVantrix3DialogF& f) { return f.Options().RTFStripType; }},
      {"HTML", "CSS", aeHTML, usExternal, [](TVantrix3DialogF& f) { return f.Options().HTMLUsingCSS; }},
      {"PDF", "PageFormat", aePDF, pfUser, [&](TVantrix3DialogF& f) { return int{pdf(f).PageOptions.Format()}; }},
      {"PDF", "PageUnits", aePDF, unDot, [&](TVantrix3DialogF& f) { return int{pdf(f).PageOptions.Units()}; }},
      {"PDF", "PageOrientation", aePDF, poLandscape,
       [&](TVantrix3DialogF& f) { return int{pdf(f).PageOptions.Orientation()}; }},
      {"PDF_OPTION_DATA", "FontName", aePDF, poZapfDingbats,
       [&](TVantrix3DialogF& f) { return int{pdf(f).DataFont.BaseFont}; }},
      {"PDF_OPTION_HEADER", "FontEncoding", aePDF, poPDFDocEncoding,
       [&](TVantrix3DialogF& f) { return int{pdf(f).HeaderFont.FontEncoding}; }},
  };
  for (const Enumeration& e : enumerations) {
    SCOPED_TRACE(std::string(e.section) + "." + e.key);
    for (const int value : {e.last, e.last + 1}) {
      std::string text = "[GENERAL]\n";
      if (e.exportType >= 0) text += "ExportType=" + std::to_string(e.exportType) + "\n";
      if (std::string(e.section) != "GENERAL") text += std::string("[") + e.section + "]\n";
      text += std::string(e.key) + "=" + std::to_string(value) + "\n";
      Write(Path("enum.cfg"), text.c_str());
      Open();
      const int before = e.value(*form);
      form->LoadExportOptions(Path("enum.cfg"));
      if (value == e.last) {
        EXPECT_EQ(e.value(*form), e.last);
      } else {
        EXPECT_EQ(e.value(*form), e.exportType >= 0 ? before : int{aeXLS});
      }
    }
  }

  const struct {
    const char* text;
    int spacing;
  } spacings[] = {{"255", 255}, {"256", 255}, {"2147483647", 255}, {"-1", 0}, {"-0x80000001", 1}};
  for (const auto& s : spacings) {
    SCOPED_TRACE(s.text);
    Write(Path("txt.cfg"), ("[GENERAL]\nExportType=7\n[TXT]\nSpacing=" + std::string(s.text) + "\n").c_str());
    Open();
    form->SetTXTSpacing(1);
    dialog.TXTOptions.ColSpacing = 1;
    form->LoadExportOptions(Path("txt.cfg"));
    EXPECT_EQ(form->Options().TXTSpacing, s.spacing);
  }
}

// A width or alignment section that names some columns leaves the others as they were (a
// width of 0 would leave a column out of a text file, and every column became left-aligned);
// a width the file holds that is no width (a text, nothing, a negative number, one beyond any
// integer) leaves its column's width too.
TEST_F(OptionsFile, WidthsAndAlignmentsTheFileDoesNotNameOrCannotGiveStay) {
  for (int c = 0; c < 3; ++c) source.Columns().GetItem(c)->SetWidth(21 + c);
  Open();
  auto* grid = form->Control<QTableWidget>("sgrCaptions");
  Write(Path("one.cfg"), "[GENERAL]\nExportType=7\n[WIDTH]\nhumidity=9\nNoSuchColumn=4\n");
  form->LoadExportOptions(Path("one.cfg"));
  EXPECT_EQ(grid->item(1, 3)->text(), "21");
  EXPECT_EQ(grid->item(2, 3)->text(), "22");
  EXPECT_EQ(grid->item(3, 3)->text(), "9");
  Write(Path("xls.cfg"), "[GENERAL]\nExportType=0\n[WIDTH]\nTime=5\n");
  form->LoadExportOptions(Path("xls.cfg"));
  EXPECT_EQ(grid->item(1, 2)->text(), "5");
  EXPECT_EQ(grid->item(3, 2)->text(), "23");

  for (const char* width : {"abc", "", "-4", "99999999999"}) {
    SCOPED_TRACE(width);
    Open();
    grid = form->Control<QTableWidget>("sgrCaptions");
    Write(Path("bad.cfg"), (std::string("[GENERAL]\nExportType=7\n[WIDTH]\nTime=") + width + "\nHumidity=40000\n").c_str());
    form->LoadExportOptions(Path("bad.cfg"));
    EXPECT_EQ(grid->item(1, 3)->text(), "21");
    EXPECT_EQ(grid->item(3, 3)->text(), "32767");  // the widest the grid takes
  }

  Open();
  grid = form->Control<QTableWidget>("sgrCaptions");
  Choose(aeTXT);
  const QString timeAlign = grid->item(1, 2)->text(), numberAlign = grid->item(2, 2)->text();
  ASSERT_NE(timeAlign, numberAlign);  // text left, numbers right
  Write(Path("align.cfg"), "[GENERAL]\nExportType=7\n[ALIGN]\ntemperature=Center\n");
  form->LoadExportOptions(Path("align.cfg"));
  EXPECT_EQ(grid->item(1, 2)->text(), timeAlign);
  EXPECT_EQ(grid->item(3, 2)->text(), numberAlign);
  const QString center = grid->item(2, 2)->text();
  EXPECT_NE(center, timeAlign);
  EXPECT_NE(center, numberAlign);
  // What the grid now holds is what a run exports.
  form->SaveExportOptions(Path("again.cfg"));
  EXPECT_TRUE(Bytes(Path("again.cfg")).contains("[ALIGN]\r\nTime=Left\r\nTemperature=Center\r\nHumidity=Right\r\n"))
      << Bytes(Path("again.cfg")).toStdString();
}
