// Printing into PDF files, checked with poppler's pdfinfo and pdfimages: print-all gives one
// page with one picture of the main window and its children, a display window prints its own
// picture, both at the screen's size on paper unless the page is smaller, never distorted.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QRegularExpression>

#include "environment_fixture.h"

namespace {

struct PdfImage {
  int width = 0, height = 0, xPpi = 0, yPpi = 0;
};

QString Run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(60000) || process.exitCode() != 0) {
    ADD_FAILURE() << program.toStdString() << " failed: " << process.readAllStandardError().toStdString();
    return {};
  }
  return QString::fromUtf8(process.readAllStandardOutput());
}

int Pages(const QString& pdf) {
  const auto match = QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption)
                         .match(Run(QStringLiteral("pdfinfo"), {pdf}));
  return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// The images of a PDF file as pdfimages lists them.
std::vector<PdfImage> Images(const QString& pdf) {
  std::vector<PdfImage> images;
  const QStringList lines = Run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}).split('\n');
  // page num type width height color comp bpc enc interp object ID x-ppi y-ppi size ratio
  for (int i = 2; i < lines.size(); ++i) {
    const QStringList f = lines[i].simplified().split(' ');
    if (f.size() < 14) continue;
    images.push_back({f[3].toInt(), f[4].toInt(), f[12].toInt(), f[13].toInt()});
  }
  return images;
}

class PrintTest : public envtest::ProgramTest {
 protected:
  QString Pdf() { return File("print.pdf"); }
};

TEST_F(PrintTest, PrintAllGivesOnePageWithThePictureOfTheMainWindowScaledToThePage) {
  AddDisplay(envtest::Chart({"um", "dois"}), {10, 10, 320, 240});
  AddDisplay(envtest::OfKind(DisplayKind::LedDigits, 10), {340, 10, 250, 180});
  View().resize(1400, 900);  // wider than an A4 page at the screen's size
  const QSize window = View().grab().size();
  View().ImprimirtudoClick();

  EXPECT_EQ(printer_->DialogCount(), 1);
  EXPECT_FALSE(printer_->LastSetup().offerSelection);
  EXPECT_EQ(Pages(Pdf()), 1);
  const auto images = Images(Pdf());
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(QSize(images[0].width, images[0].height), window);
  EXPECT_EQ(images[0].xPpi, images[0].yPpi);
  // Made smaller than on screen, to at most the A4 page's width (8.27 inches).
  EXPECT_GT(images[0].xPpi, View().logicalDpiX());
  EXPECT_LE(double(images[0].width) / images[0].xPpi, 8.28);
}

TEST_F(PrintTest, ADisplayWindowPrintsItsOwnPictureAtTheScreensSize) {
  AddDisplay(envtest::OfKind(DisplayKind::LedDigits, 10), {0, 0, 250, 180});
  TDisplayForm* form = AddDisplay(envtest::Chart({"um"}), {20, 20, 320, 240});
  ASSERT_EQ(View().ActiveChild(), form);
  View().ImprimirClick();

  EXPECT_EQ(Pages(Pdf()), 1);
  const auto images = Images(Pdf());
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(QSize(images[0].width, images[0].height), form->size());
  EXPECT_EQ(images[0].xPpi, form->logicalDpiX());
  EXPECT_EQ(images[0].yPpi, form->logicalDpiY());
}

TEST_F(PrintTest, CancelOrNoWindowPrintsNothing) {
  View().ImprimirClick();  // no child window: not even the dialog
  EXPECT_EQ(printer_->DialogCount(), 0);
  AddDisplay(envtest::OfKind(DisplayKind::LedDigits, 10), {0, 0, 250, 180});
  printer_->SetConfirm(false);
  View().ImprimirtudoClick();
  View().ImprimirClick();
  EXPECT_EQ(printer_->DialogCount(), 2);
  EXPECT_FALSE(QFile::exists(Pdf()));
}

// Every print command of the program, the display window's own among them, tells the user
// when there is no printer to print on and when the printer does not print; none shows the
// dialog for nothing or ends without a word.
TEST_F(PrintTest, EveryPrintCommandTellsWhyNothingWasPrinted) {
  auto commands = [this](TDisplayForm* form) {
    View().ImprimirClick();
    View().ImprimirtudoClick();
    form->findChild<QAction*>(QStringLiteral("Imprimir"))->trigger();
  };
  TDisplayForm* form = AddDisplay(envtest::Chart({"um", "dois", "tr\xEAs"}), {20, 20, 320, 240});
  ASSERT_EQ(View().ActiveChild(), form);
  printer_->SetFileName(File("missing/print.pdf"));
  commands(form);
  EXPECT_EQ(printer_->DialogCount(), 3);
  EXPECT_EQ(user_.messages, QStringList(3, ui::NotPrintedText(*printer_->Prepare(nullptr, {})->printer)));

  // The program as it runs with no printer installed.
  user_.messages.clear();
  user_.log.clear();
  forms_.reset();
  printer_ = nullptr;
  forms_ = app::CreateProgramForms(user_, help_, std::make_unique<ui::QtPrintService>(user_, [] { return QStringList(); }));
  View().show();
  form = AddDisplay(envtest::Chart({"um"}), {20, 20, 320, 240});
  commands(form);
  EXPECT_EQ(user_.messages, QStringList(3, ui::NoPrinterText()));
  EXPECT_FALSE(user_.log.join('\n').contains(QStringLiteral("modal|")));
}

}  // namespace
