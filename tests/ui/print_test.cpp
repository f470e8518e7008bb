// The fit of a window's picture to the printed page, and the print dialog as the print
// service prepares it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <QWidget>
#include <climits>

#include "support/fake_user_interaction.h"
#include "ui/print_fit.h"
#include "ui/print_service.h"
#include "ui/window_picture_print.h"

namespace {

using ui::FitPrintedPicture;
using ui::PrintExtent;
using ui::PrintResolution;

TEST(PrintFit, PrintsAsLargeAsOnScreenAndShrinksInProportionToThePage) {
  const struct {
    const char* what;
    PrintExtent picture;
    PrintResolution screen, printer;
    PrintExtent page, printed;
  } cases[] = {
      {"640 px at 96 dpi on a 300-dpi printer", {640, 480}, {96, 96}, {300, 300}, {2400, 3300}, {2000, 1500}},
      {"too wide: fitted to the width", {1000, 300}, {96, 96}, {300, 300}, {2400, 3300}, {2400, 720}},
      {"too tall: fitted to the height", {1000, 2000}, {96, 96}, {300, 300}, {2400, 3300}, {1650, 3300}},
      {"too tall, then still too wide", {1000, 2000}, {96, 96}, {300, 300}, {1000, 3300}, {1000, 2000}},
      {"resolutions that differ across and down", {100, 100}, {96, 96}, {600, 300}, {5000, 5000}, {625, 313}},
      {"halves round away from zero", {1, 1}, {2, 2}, {3, 3}, {10, 10}, {2, 2}},
      {"a resolution of 0 scales nothing", {640, 480}, {0, 0}, {300, 300}, {2400, 3300}, {640, 480}},
      {"an empty page", {640, 480}, {96, 96}, {300, 300}, {0, 3300}, {0, 0}},
      {"sides far beyond an int in dots", {INT_MAX, INT_MAX}, {1, 1}, {INT_MAX, INT_MAX}, {5000, 7000}, {5000, 5000}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const PrintExtent printed = FitPrintedPicture(c.picture, c.screen, c.printer, c.page);
    EXPECT_EQ(printed.width, c.printed.width);
    EXPECT_EQ(printed.height, c.printed.height);
  }
}

TEST(PrintService, TheDialogNeverOffersAFileAndForgetsTheFileOfAnEarlierPrint) {
  testsupport::FakeUserInteraction user;
  ui::QtPrintService service(user, [] { return QStringList{QStringLiteral("Laser")}; });
  struct Seen {
    bool toFile, pageRange, selection;
    QString outputFile;
    QPrinter::PrintRange range;
  };
  std::vector<Seen> seen;
  user.onModal = [&](QDialog* dialog) {
    auto* print = qobject_cast<QPrintDialog*>(dialog);
    ASSERT_NE(print, nullptr);
    seen.push_back({print->testOption(QAbstractPrintDialog::PrintToFile),
                    print->testOption(QAbstractPrintDialog::PrintPageRange),
                    print->testOption(QAbstractPrintDialog::PrintSelection), print->printer()->outputFileName(),
                    print->printer()->printRange()});
    // What a user's earlier choices would have left in the printer.
    print->printer()->setOutputFileName(QStringLiteral("/tmp/earlier.pdf"));
    print->printer()->setPrintRange(QPrinter::Selection);
  };
  user.modalResults = {QDialog::Accepted, QDialog::Rejected, QDialog::Accepted};

  const auto first = service.Prepare(nullptr, {});
  ASSERT_TRUE(first.has_value());
  EXPECT_NE(first->printer, nullptr);
  EXPECT_FALSE(service.Prepare(nullptr, {true}).has_value());
  const auto third = service.Prepare(nullptr, {true});
  ASSERT_TRUE(third.has_value());
  EXPECT_TRUE(third->selectionOnly);
  EXPECT_EQ(third->printer, first->printer);  // one printer, kept between prints

  ASSERT_EQ(seen.size(), 3u);
  for (size_t i = 0; i < seen.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_FALSE(seen[i].toFile);
    EXPECT_FALSE(seen[i].pageRange);
    EXPECT_EQ(seen[i].selection, i > 0);
    EXPECT_TRUE(seen[i].outputFile.isEmpty());
    EXPECT_EQ(seen[i].range, QPrinter::AllPages);
  }
}

// With no printer installed the dialog would list none and print nowhere on "Print": the user
// is told instead, and the dialog shows again once a printer is there.
TEST(PrintService, WithNoPrinterInstalledTheUserIsToldAndNoDialogShows) {
  testsupport::FakeUserInteraction user;
  QStringList installed;
  ui::QtPrintService service(user, [&] { return installed; });
  EXPECT_FALSE(service.Prepare(nullptr, {}).has_value());
  EXPECT_EQ(user.log, QStringList{QStringLiteral("message|") + ui::NoPrinterText()});

  installed = {QStringLiteral("Laser")};
  user.log.clear();
  user.modalResults = {QDialog::Accepted};
  EXPECT_TRUE(service.Prepare(nullptr, {}).has_value());
  EXPECT_EQ(user.log, QStringList{QStringLiteral("modal|PrintDialog")});
}

// A confirmed print whose printer does not start is told, once, with the printer's name (here
// a file in a folder that does not exist), and the wait cursor goes; the next print that can
// be made is made and says nothing.
TEST(PrintWindowPicture, APrinterThatDoesNotPrintIsTold) {
  QTemporaryDir dir;
  testsupport::FakeUserInteraction user;
  const QString nowhere = dir.filePath(QStringLiteral("missing/print.pdf"));
  ui::PdfFilePrintService service(nowhere, &user);
  QWidget window;
  window.resize(200, 100);
  ui::PrintWindowPicture(&window, service);
  EXPECT_EQ(service.NotPrintedCount(), 1);
  ASSERT_EQ(user.messages.size(), 1);
  EXPECT_TRUE(user.messages[0].startsWith(QStringLiteral("Não foi possível imprimir"))) << user.messages[0].toStdString();
  EXPECT_TRUE(user.messages[0].contains(nowhere));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  service.SetFileName(dir.filePath(QStringLiteral("print.pdf")));
  ui::PrintWindowPicture(&window, service);
  EXPECT_EQ(service.NotPrintedCount(), 1);
  EXPECT_EQ(user.messages.size(), 1);
  EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("print.pdf"))));

  // Cancelled: nothing printed and nothing to tell.
  service.SetConfirm(false);
  ui::PrintWindowPicture(&window, service);
  EXPECT_EQ(user.messages.size(), 1);
}

}  // namespace
