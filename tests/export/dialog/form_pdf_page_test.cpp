// The dialog form's PDF page: units switched with the margins rounded to what is shown,
// orientation turned and turned back, a typed size making a user page, decimal marks of the
// locale, the font list with its sample, a page without room refused, and PDF files run
// from the form with the page sizes chosen on it.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <gtest/gtest.h>

#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/model_source.h"
#include "export/vantrix3_pdf.h"
#include "dialog_form_fixture.h"
#include "fake_dialog_services.h"
#include "tests/export/export_fixtures.h"

using namespace vantrix;
using testsupport::FakeDialogServices;

namespace {

class FormPDFPage : public dialogtest::DialogFormTest {
 protected:
  FormPDFPage() {
    dialog.ShowFile = true;  // the progress window closes itself; the shell is a recorder
    for (const char* name : {"Station", "Temperature"}) source.Columns().Add()->SetColumnName(name);
    source.OnGetNextRecord = [](TVantrixCustomSource&, int recNo, bool& eof) { eof = recNo >= 5; };
    source.OnGetColumnValue = [](TVantrixCustomSource&, int recNo, const TVantrixCustomColumn& c, QVariant& v) {
      v = c.Index() == 0 ? QVariant(QString("S%1").arg(recNo)) : QVariant(recNo + 0.25);
    };
  }
  ~FormPDFPage() override { QLocale::setDefault(QLocale::c()); }

  std::string Text(const char* edit) const { return form->Control<QLineEdit>(edit)->text().toStdString(); }

  // As the user does it: pick the entry of a combo box, or type into an edit and leave it.
  void Pick(const char* combo, int index) {
    auto* box = form->Control<QComboBox>(combo);
    box->setCurrentIndex(index);
    emit box->activated(index);
  }
  void Type(const char* edit, const QString& text) {
    auto* e = form->Control<QLineEdit>(edit);
    e->setText(text);
    emit e->textEdited(text);
    emit e->editingFinished();
  }

  std::string SixShown() const {
    std::string out;
    for (const char* e : {"edPDFPageWidth", "edPDFPageHeight", "edPDFPageMarginLeft", "edPDFPageMarginRight",
                          "edPDFPageMarginTop", "edPDFPageMarginBottom"})
      out += (out.empty() ? "" : " ") + Text(e);
    return out;
  }

  const TVantrixPDFPageOptions& Page() const { return form->PDFExp().Options().PageOptions; }

  exporttest::TempFolder folder;
};

QString PageSize(const std::string& path) {
  QProcess p;
  p.start("pdfinfo", {QString::fromStdString(path)});
  if (!p.waitForFinished(60000) || p.exitCode() != 0) return "FAILED";
  for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n'))
    if (line.startsWith("Page size:")) return line.mid(10).trimmed();
  return {};
}

}  // namespace

TEST_F(FormPDFPage, UnitsRoundTheMarginsToWhatIsShownAndKeepThePageSize) {
  Open();
  EXPECT_EQ(SixShown(), "8.26 11.69 1.18 0.58 0.79 0.79");
  Pick("cbPDFPageUnits", unMillimeter);
  EXPECT_EQ(SixShown(), "210 297 30 15 20 20");
  // The margins are now whole millimetres in dots; the A4 sheet keeps its exact size.
  EXPECT_EQ(Page().MarginLeftDots(), MMToDot(30));
  EXPECT_EQ(Page().MarginRightDots(), MMToDot(15));
  EXPECT_EQ(Page().WidthDots(), InchToDot(8.27));
  EXPECT_EQ(Page().Format(), pfA4);
  Pick("cbPDFPageUnits", unInch);
  // Back in inches two places show again; 15 mm is a little more than the 0.58 before.
  EXPECT_EQ(SixShown(), "8.26 11.69 1.18 0.60 0.79 0.79");
  Pick("cbPDFPageUnits", unDot);
  EXPECT_EQ(Text("edPDFPageWidth"), "595");
  EXPECT_EQ(Page().Units(), unDot);
}

TEST_F(FormPDFPage, TurningThePageTwiceRestoresSizeAndMargins) {
  Open();
  Type("edPDFPageMarginLeft", "1");
  Type("edPDFPageMarginRight", "0.5");
  Type("edPDFPageMarginTop", "0.25");
  Type("edPDFPageMarginBottom", "0.75");
  const std::string portrait = SixShown();
  EXPECT_EQ(portrait, "8.26 11.69 1.00 0.50 0.25 0.75");
  Pick("cbPDFPageOrientation", poLandscape);
  // The sheet turns a quarter to the left: the bottom margin comes to the left side.
  EXPECT_EQ(SixShown(), "11.69 8.26 0.75 0.25 1.00 0.50");
  Pick("cbPDFPageOrientation", poLandscape);  // no change, no second turn
  EXPECT_EQ(Text("edPDFPageWidth"), "11.69");
  Pick("cbPDFPageOrientation", poPortrait);
  EXPECT_EQ(SixShown(), portrait);
  EXPECT_EQ(Page().WidthDots(), InchToDot(8.27));
}

TEST_F(FormPDFPage, ATypedSizeMakesAUserPageAndAFormatBringsItsPortraitSize) {
  Open();
  Type("edPDFPageWidth", "5");
  EXPECT_EQ(Page().Format(), pfUser);
  EXPECT_EQ(form->Control<QComboBox>("cbPDFPageFormat")->currentIndex(), pfUser);
  EXPECT_EQ(Page().WidthDots(), 360);
  // Typing the width it already has still makes it a user page.
  Pick("cbPDFPageFormat", pfA4);
  Type("edPDFPageHeight", "11.69");
  EXPECT_EQ(Page().Format(), pfUser);
  // Text that is no number keeps the value; an emptied edit shows it again.
  Type("edPDFPageWidth", "");
  EXPECT_EQ(Text("edPDFPageWidth"), "8.26");
  Pick("cbPDFPageOrientation", poLandscape);
  Pick("cbPDFPageFormat", pfLetter);
  EXPECT_EQ(Text("edPDFPageWidth"), "8.50");
  EXPECT_EQ(Text("edPDFPageHeight"), "11.00");
}

TEST_F(FormPDFPage, LengthsAndSpacingsTakeEitherDecimalMark) {
  QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
  Open();
  EXPECT_EQ(Text("edPDFPageWidth"), "8,26");
  EXPECT_EQ(Text("edPDFColSpacing"), "3,0");
  Type("edPDFPageMarginLeft", "1,5");
  EXPECT_EQ(Page().MarginLeftDots(), 108);
  Type("edPDFPageMarginLeft", "0.5");
  EXPECT_EQ(Page().MarginLeftDots(), 36);
  EXPECT_EQ(Text("edPDFPageMarginLeft"), "0,50");
  // A half-typed spacing is stored but not rewritten under the caret.
  Type("edPDFColSpacing", "2,");
  EXPECT_EQ(form->PDFExp().Options().ColSpacing, 2.0);
  EXPECT_EQ(Text("edPDFColSpacing"), "2,");
  // An emptied spacing falls back to the dialog's own and shows it; emptied again (no
  // change) it stays empty for the next digit.
  Type("edPDFColSpacing", "");
  EXPECT_EQ(form->PDFExp().Options().ColSpacing, 3.0);
  EXPECT_EQ(Text("edPDFColSpacing"), "3,0");
  Type("edPDFColSpacing", "");
  EXPECT_EQ(Text("edPDFColSpacing"), "");
  Type("edPDFRowSpacing", "1.25");
  EXPECT_EQ(form->PDFExp().Options().RowSpacing, 1.25);
  // Both marks are let in, nothing else.
  const QValidator* v = form->Control<QLineEdit>("edPDFPageWidth")->validator();
  ASSERT_NE(v, nullptr);
  for (QString ok : {"8,27", "8.27", ""}) {
    int pos = 0;
    EXPECT_EQ(v->validate(ok, pos), QValidator::Acceptable) << ok.toStdString();
  }
  for (QString bad : {"8,2,7", "-1", "1e3"}) {
    int pos = 0;
    EXPECT_EQ(v->validate(bad, pos), QValidator::Invalid) << bad.toStdString();
  }
}

// What is typed stays within what a page can take (the exporter's point arithmetic overflows
// with a row spacing of 1e12): sides and margins up to 200 inches, spacings and grid lines up
// to 100, fonts up to 1000 points, in whatever unit the page is shown.
TEST_F(FormPDFPage, TypedValuesStayWithinWhatAPageTakes) {
  Open();
  Type("edPDFPageWidth", "99999");
  EXPECT_EQ(Page().WidthDots(), 14400);
  EXPECT_EQ(Text("edPDFPageWidth"), "200.00");
  Type("edPDFPageMarginTop", "250");
  EXPECT_EQ(Page().MarginTopDots(), 14400);
  Pick("cbPDFPageUnits", unMillimeter);
  Type("edPDFPageHeight", "123456789");
  EXPECT_EQ(Page().HeightDots(), 14400);
  EXPECT_EQ(Text("edPDFPageHeight"), "5080");
  Type("edPDFPageMarginBottom", "5080");
  EXPECT_EQ(Page().MarginBottomDots(), 14400);
  Pick("cbPDFPageUnits", unDot);
  Type("edPDFPageWidth", "20000");
  EXPECT_EQ(Page().WidthDots(), 14400);
  // Within the bounds nothing changes: 100 is still a spacing of its own.
  Type("edPDFRowSpacing", "100");
  EXPECT_EQ(form->PDFExp().Options().RowSpacing, 100.0);
  Type("edPDFRowSpacing", "1000000000000");
  EXPECT_EQ(form->PDFExp().Options().RowSpacing, 100.0);
  EXPECT_EQ(Text("edPDFRowSpacing"), "100.0");
  Type("edPDFColSpacing", "250");
  EXPECT_EQ(form->PDFExp().Options().ColSpacing, 100.0);
  Type("edPDFGridLineWidth", "500");
  EXPECT_EQ(form->PDFExp().Options().GridLineWidth, 100);
  Type("edPDFGridLineWidth", "900");
  EXPECT_EQ(Text("edPDFGridLineWidth"), "100");
  Type("edPDFFontSize", "99999999999");
  EXPECT_EQ(form->PDFExp().Options().HeaderFont.FontSize, 1000);
  EXPECT_EQ(Text("edPDFFontSize"), "1000");
}

// The page's lengths are taken when their edit is left; Enter takes them there and then and
// starts no export through the dialog's default button.
TEST_F(FormPDFPage, EnterInALengthTakesItWithoutStartingAnExport) {
  dialog.FileName = folder / "out.pdf";
  Open();
  Choose(aePDF);
  ShowActive();
  form->Control<QTabWidget>("Pages")->setCurrentWidget(form->Control<QWidget>("tshPDF"));
  form->Control<QTabWidget>("pcPDF")->setCurrentWidget(form->Control<QWidget>("tshPDFPageOptions"));
  ASSERT_TRUE(form->Control<QWidget>("bStart")->isEnabled());
  const struct {
    const char* edit;
    const char* typed;
    int (TVantrixPDFPageOptions::*dots)() const;
  } lengths[] = {
      {"edPDFPageWidth", "7", &TVantrixPDFPageOptions::WidthDots},
      {"edPDFPageHeight", "9", &TVantrixPDFPageOptions::HeightDots},
      {"edPDFPageMarginLeft", "0.5", &TVantrixPDFPageOptions::MarginLeftDots},
      {"edPDFPageMarginRight", "0.25", &TVantrixPDFPageOptions::MarginRightDots},
      {"edPDFPageMarginTop", "1", &TVantrixPDFPageOptions::MarginTopDots},
      {"edPDFPageMarginBottom", "2", &TVantrixPDFPageOptions::MarginBottomDots},
  };
  for (const auto& l : lengths) {
    SCOPED_TRACE(l.edit);
    auto* edit = form->Control<QLineEdit>(l.edit);
    TypeAndEnter(edit, l.typed);
    EXPECT_EQ((Page().*l.dots)(), InchToDot(QString(l.typed).toDouble()));
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
  }
  EXPECT_EQ(Page().Format(), pfUser);
}

TEST_F(FormPDFPage, TheFontListEditsTheExportersFontsAndShowsASample) {
  dialog.PDFOptions.DataFont.FontSize = 14;
  Open();
  auto* list = form->Control<QTreeWidget>("lvPDFFonts");
  ASSERT_EQ(list->topLevelItemCount(), 4);
  EXPECT_EQ(list->currentItem(), list->topLevelItem(0));
  list->setCurrentItem(list->topLevelItem(2));
  EXPECT_EQ(Text("edPDFFontSize"), "14");

  auto* names = form->Control<QComboBox>("cbPDFFontName");
  auto* sample = form->Control<QLabel>("paPDFSample");
  Pick("cbPDFFontName", names->findText("Helvetica-BoldOblique"));
  EXPECT_TRUE(sample->font().bold());
  EXPECT_TRUE(sample->font().italic());
  EXPECT_EQ(sample->font().family(), "Arial");
  EXPECT_EQ(form->PDFExp().Options().DataFont.BaseFont, poHelveticaBoldOblique);
  Pick("cbPDFFontName", names->findText("Courier"));
  EXPECT_FALSE(sample->font().bold());
  EXPECT_FALSE(sample->font().italic());
  EXPECT_EQ(sample->font().family(), "Courier New");
  Pick("cbPDFFontName", names->findText("Times-Italic"));
  EXPECT_EQ(sample->font().family(), "Times New Roman");
  EXPECT_TRUE(sample->font().italic());

  // Sizes: 0 is raised to 1, an emptied edit counts as 10.
  Type("edPDFFontSize", "0");
  EXPECT_EQ(form->PDFExp().Options().DataFont.FontSize, 1);
  Type("edPDFFontSize", "");
  EXPECT_EQ(form->PDFExp().Options().DataFont.FontSize, 10);
  EXPECT_EQ(sample->font().pointSize(), 10);

  // A cancelled colour changes nothing; a chosen one reaches the font and the sample.
  form->Control<QPushButton>("sbPDFFontColor")->click();
  EXPECT_EQ(form->PDFExp().Options().DataFont.FontColor, 0u);
  services.colors.push_back(0x0000FF);
  form->Control<QPushButton>("sbPDFFontColor")->click();
  EXPECT_EQ(form->PDFExp().Options().DataFont.FontColor, 0x0000FFu);
  EXPECT_EQ(sample->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  // The other fonts were left alone.
  EXPECT_EQ(form->PDFExp().Options().HeaderFont, dialog.PDFOptions.HeaderFont);
}

TEST_F(FormPDFPage, PagesSetOnTheFormReachTheFile) {
  Open();
  form->SetExportType(aePDF);
  form->rgExportTypeClick();
  const auto run = [&](const char* name) {
    const std::string path = folder / name;
    form->SetFileName(path);
    form->bStartClick();
    return path;
  };
  Pick("cbPDFPageFormat", pfA4);
  Pick("cbPDFPageOrientation", poLandscape);
  EXPECT_EQ(PageSize(run("a4.pdf")), "841 x 594 pts (A4)");
  // A user page typed in millimetres: 200 x 100 mm are 567 x 283 points.
  Pick("cbPDFPageOrientation", poPortrait);
  Pick("cbPDFPageUnits", unMillimeter);
  Type("edPDFPageWidth", "200");
  Type("edPDFPageHeight", "100");
  Type("edPDFPageMarginTop", "10");
  Type("edPDFPageMarginBottom", "10");
  EXPECT_EQ(PageSize(run("user.pdf")), "566 x 282 pts");
  EXPECT_EQ(PageSize(run("again.pdf")), "566 x 282 pts");
}

TEST_F(FormPDFPage, APageWithoutRoomInsideItsMarginsIsRefusedBeforeTheRun) {
  Open();
  form->SetExportType(aePDF);
  form->rgExportTypeClick();
  const std::string path = folder / "none.pdf";
  form->SetFileName(path);
  form->ShowButtons();
  Type("edPDFPageMarginLeft", "4.5");
  Type("edPDFPageMarginRight", "4");
  EXPECT_TRUE(form->PDFPageProblem().find("no room") != std::string::npos);
  form->Control<QPushButton>("bStart")->click();
  ASSERT_FALSE(services.log.isEmpty());
  EXPECT_TRUE(services.log.last().startsWith("message|")) << services.log.last().toStdString();
  EXPECT_FALSE(std::filesystem::exists(path));
  // Once there is room again, the run goes.
  Type("edPDFPageMarginRight", "3");
  EXPECT_EQ(form->PDFPageProblem(), "");
  form->Control<QPushButton>("bStart")->click();
  EXPECT_TRUE(std::filesystem::exists(path));
}

// A page of a dot or two would be written with a box a reader replaces by a page of its own.
TEST_F(FormPDFPage, APageTooSmallToPrintOnIsRefusedBeforeTheRun) {
  Open();
  form->SetExportType(aePDF);
  form->rgExportTypeClick();
  const std::string path = folder / "dot.pdf";
  form->SetFileName(path);
  form->ShowButtons();
  Pick("cbPDFPageUnits", unDot);
  for (const char* margin :
       {"edPDFPageMarginLeft", "edPDFPageMarginRight", "edPDFPageMarginTop", "edPDFPageMarginBottom"})
    Type(margin, "0");
  Type("edPDFPageWidth", "1");
  Type("edPDFPageHeight", "1");
  EXPECT_TRUE(form->PDFPageProblem().find("too small") != std::string::npos) << form->PDFPageProblem();
  form->Control<QPushButton>("bStart")->click();
  ASSERT_FALSE(services.log.isEmpty());
  EXPECT_TRUE(services.log.last().startsWith("message|")) << services.log.last().toStdString();
  EXPECT_TRUE(services.log.last().contains("too small")) << services.log.last().toStdString();
  EXPECT_FALSE(std::filesystem::exists(path));
  Type("edPDFPageWidth", "4");
  Type("edPDFPageHeight", "4");
  form->Control<QPushButton>("bStart")->click();
  EXPECT_EQ(PageSize(path), "3 x 3 pts");
}
