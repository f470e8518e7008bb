// Printing a history viewer into PDF files through the print service, read back by pdftotext,
// qpdf and pdftoppm: the table as a listing of pages (all rows or the selection, every column,
// the page count in every footer), the chart page as one picture, and the listing's layout.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QItemSelectionModel>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QTabWidget>
#include <QTableView>

#include "hist_form_fixture.h"
#include "history/history_text.h"
#include "history/print_listing.h"
#include "qcustomplot.h"
#include "ui/print_service.h"

namespace {

using history::LayOutListing;
using history::ListingLayout;
using history_test::Header;
using history_test::Line;

TEST(ListingLayout, RowsPerPageAndBandsOfColumns) {
  // Room for the two header rows and exactly one row, and a millimetre less.
  const int smallest = ListingLayout::kTopMargin + ListingLayout::kBottomMargin + 3 * ListingLayout::kRowHeight;
  ASSERT_TRUE(LayOutListing(2000, smallest, {100, 100, 100}, {2, 3, 4}));
  EXPECT_EQ(LayOutListing(2000, smallest, {100, 100, 100}, {2, 3, 4})->PageCount(), 3u);
  EXPECT_FALSE(LayOutListing(2000, smallest - 1, {100, 100, 100}, {2}));
  EXPECT_FALSE(LayOutListing(0, 3000, {100, 100, 100}, {2}));
  EXPECT_FALSE(LayOutListing(2000, -500, {100, 100, 100}, {2}));

  // Columns past the page width go to further bands, each beginning with the date and time;
  // a column wider than the page still gets a band of its own.
  const auto layout = LayOutListing(700, 3000, {100, 100, 300, 300, 200, 900}, {});
  ASSERT_TRUE(layout);
  const std::vector<std::vector<size_t>> bands = {{0, 1, 2}, {0, 1, 3, 4}, {0, 1, 5}};
  EXPECT_EQ(layout->bands, bands);
  EXPECT_EQ(layout->left, (std::vector<int>{0, 100, 200, 200, 500, 200}));
  // No row left below the header rows: one page per band with the header rows alone.
  EXPECT_EQ(layout->PageCount(), 3u);
  EXPECT_TRUE(layout->RowsOfPage(2).empty());

  std::vector<size_t> rows;
  for (size_t r = 2; r < 2 + 25; ++r) rows.push_back(r);
  const auto pages = LayOutListing(700, ListingLayout::kTopMargin + ListingLayout::kBottomMargin + 12 * 36,
                                   {100, 100, 300, 300}, rows);
  ASSERT_TRUE(pages);
  EXPECT_EQ(pages->rowsPerPage, 10);
  EXPECT_EQ(pages->PageCount(), 6u);  // 3 blocks of rows, each in 2 bands
  EXPECT_EQ(pages->RowsOfPage(1), pages->RowsOfPage(0));
  EXPECT_EQ(pages->RowsOfPage(4), (std::vector<size_t>{22, 23, 24, 25, 26}));
  EXPECT_EQ(pages->BandOfPage(5), (std::vector<size_t>{0, 1, 3}));
}

// The PDF service, answering the dialog with "selection".
class SelectionPrinter : public ui::PrintService {
 public:
  explicit SelectionPrinter(const QString& file) : pdf_(file) {}
  std::optional<ui::PrintJob> Prepare(QWidget* parent, const ui::PrintDialogSetup& setup) override {
    std::optional<ui::PrintJob> job = pdf_.Prepare(parent, setup);
    if (job) job->selectionOnly = true;
    return job;
  }
  void TellNotPrinted(QWidget* parent, const ui::PrintJob& job) override { pdf_.TellNotPrinted(parent, job); }

 private:
  ui::PdfFilePrintService pdf_;
};

// A PDF printer with a page of the given size in millimetres.
class SmallPagePrinter : public ui::PrintService {
 public:
  SmallPagePrinter(const QString& file, QSizeF size) : file_(file), size_(size) {}
  std::optional<ui::PrintJob> Prepare(QWidget*, const ui::PrintDialogSetup&) override {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setPageSize(QPageSize(size_, QPageSize::Millimeter));
    printer_->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    printer_->setOutputFileName(file_);
    return ui::PrintJob{printer_.get(), false};
  }
  void TellNotPrinted(QWidget*, const ui::PrintJob&) override { ADD_FAILURE() << "nothing should be printed"; }

 private:
  QString file_;
  QSizeF size_;
  std::unique_ptr<QPrinter> printer_;
};

class PrintTest : public HistFormTest {
 protected:
  QString Pdf() const { return dir_.filePath(QStringLiteral("printed.pdf")); }
  // The printed file's text, page by page.
  QStringList PdfPages() {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), Pdf(), QStringLiteral("-")});
    EXPECT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_TRUE(process.readAllStandardError().isEmpty());
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(QChar('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    return pages;
  }
  void ShowTable() { form_.PageControl()->setCurrentIndex(1); }
  std::string Rows(int count, int values = 2) {
    std::string text;
    for (int i = 0; i < count; ++i) {
      std::vector<std::string> v;
      for (int k = 0; k < values; ++k) v.push_back(std::to_string(i * 10 + k) + ".5");
      text += Line(5, 10 + i / 3600, i / 60 % 60, i % 60, 0, v);
    }
    return text;
  }

  ui::PdfFilePrintService printer_{Pdf()};
};

TEST_F(PrintTest, EveryPageCarriesTheHeaderRowsAndItsNumberOfAll) {
  ASSERT_TRUE(Open(Header() + Rows(5)));
  form_.SetPrintService(&printer_);
  ShowTable();
  form_.PrintHistory();
  EXPECT_TRUE(printer_.LastSetup().offerSelection);
  const QStringList one = PdfPages();
  ASSERT_EQ(one.size(), 1);
  // Enough rows for two full pages and part of a third.
  const auto layout = [&] {
    QPrinter probe(QPrinter::HighResolution);
    probe.setPageSize(QPageSize(QPageSize::A4));
    const QRect r = probe.pageLayout().paintRectPixels(probe.resolution());
    return LayOutListing(static_cast<int>(r.width() * 254.0 / probe.logicalDpiX()),
                         static_cast<int>(r.height() * 254.0 / probe.logicalDpiY()), {210, 240, 210, 210}, {});
  }();
  ASSERT_TRUE(layout);
  const int perPage = layout->rowsPerPage;
  ASSERT_TRUE(Open(Header() + Rows(2 * perPage + 5)));
  ShowTable();  // a file opened shows its chart
  form_.PrintHistory();
  const QStringList pages = PdfPages();
  ASSERT_EQ(pages.size(), 3);
  for (int p = 0; p < 3; ++p) {
    EXPECT_TRUE(pages[p].contains(QStringLiteral("Page: %1 of 3").arg(p + 1))) << pages[p].toStdString();
    EXPECT_TRUE(pages[p].contains(form_.windowTitle()));
    EXPECT_TRUE(pages[p].contains(QStringLiteral("Sonda A")));
    EXPECT_TRUE(pages[p].contains(QStringLiteral("Canal 2")));
  }
  // The units row starts the first page; the last data row ends the third.
  EXPECT_TRUE(pages[0].contains(QStringLiteral("°C")));
  EXPECT_FALSE(pages[1].contains(QStringLiteral("°C")));
  EXPECT_TRUE(pages[2].contains(form_.CellText(form_.Data().TableRowCount() - 1, 3)));
}

TEST_F(PrintTest, AHeaderOnlyTablePrintsOnePageAndASelectionStartsBelowTheHeader) {
  ASSERT_TRUE(Open(Header()));
  form_.SetPrintService(&printer_);
  ShowTable();
  form_.PrintHistory();
  QStringList pages = PdfPages();
  ASSERT_EQ(pages.size(), 1);
  EXPECT_TRUE(pages[0].contains(QStringLiteral("Page: 1 of 1")));
  EXPECT_TRUE(pages[0].contains(QStringLiteral("Canal 1")));
  EXPECT_TRUE(pages[0].contains(QStringLiteral("°C")));

  ASSERT_TRUE(Open(Header() + Rows(10)));
  SelectionPrinter selection(Pdf());
  form_.SetPrintService(&selection);
  ShowTable();
  // Rows 0 to 4 selected: the device and value names print once, as header rows.
  QTableView* grid = form_.Grid();
  grid->selectionModel()->select(QItemSelection(grid->model()->index(0, 0), grid->model()->index(4, 0)),
                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
  form_.PrintHistory();
  pages = PdfPages();
  ASSERT_EQ(pages.size(), 1);
  EXPECT_EQ(pages[0].count(QStringLiteral("Sonda A")), 1);
  EXPECT_EQ(pages[0].count(QStringLiteral("Canal 1")), 1);
  EXPECT_TRUE(pages[0].contains(QStringLiteral("°C")));
  EXPECT_TRUE(pages[0].contains(form_.CellText(4, 2)));
  EXPECT_FALSE(pages[0].contains(form_.CellText(5, 2)));
}

TEST_F(PrintTest, ColumnsPastThePageWidthContinueOnFurtherPages) {
  std::string header = " , , Sonda com um nome bem comprido, ";
  std::string names = " , ";
  std::string units = " , ";
  for (int c = 0; c < 15; ++c) {
    header += c == 0 ? "" : ", ";
    names += ", Canal " + std::to_string(c + 1);
    units += ", %";
  }
  ASSERT_TRUE(Open(header + "\n" + names + "\n" + units + "\n" + Rows(4, 15)));
  ASSERT_EQ(form_.Data().ColumnCount(), 17u);
  form_.SetPrintService(&printer_);
  ShowTable();
  form_.PrintHistory();
  const QStringList pages = PdfPages();
  ASSERT_GE(pages.size(), 2);
  const QString all = pages.join(QChar('\n'));
  for (size_t r = 0; r < form_.Data().TableRowCount(); ++r)
    for (size_t c = 0; c < 17; ++c) {
      const QString cell = form_.CellText(r, c);
      if (!cell.isEmpty()) {
        EXPECT_TRUE(all.contains(cell)) << r << "," << c << " " << cell.toStdString();
      }
    }
  for (int p = 0; p < pages.size(); ++p) {
    EXPECT_TRUE(pages[p].contains(QStringLiteral("Page: %1 of %2").arg(p + 1).arg(pages.size())));
    // Every page begins with the date and the time.
    EXPECT_TRUE(pages[p].contains(form_.CellText(3, 0)));
    EXPECT_TRUE(pages[p].contains(form_.CellText(3, 1)));
  }
}

TEST_F(PrintTest, APageWithoutRoomOrACancelledDialogPrintsNothing) {
  ASSERT_TRUE(Open(Header() + Rows(3)));
  ShowTable();
  SmallPagePrinter tiny(Pdf(), QSizeF(100, 30));
  form_.SetPrintService(&tiny);
  form_.PrintHistory();
  EXPECT_FALSE(QFile::exists(Pdf()));
  EXPECT_EQ(ui_.log, QStringList{QStringLiteral("error|Tervana|A página é pequena demais para a listagem: não cabem "
                                                "as duas linhas de título e uma linha da tabela. Nada foi impresso.")});

  printer_.SetConfirm(false);
  form_.SetPrintService(&printer_);
  form_.PrintHistory();
  EXPECT_FALSE(QFile::exists(Pdf()));
  EXPECT_EQ(printer_.DialogCount(), 1);
  EXPECT_EQ(printer_.NotPrintedCount(), 0);

  // A printer that would not start is told of, not passed over in silence.
  printer_.SetConfirm(true);
  printer_.SetFileName(dir_.filePath(QStringLiteral("no/such/folder.pdf")));
  form_.PrintHistory();
  EXPECT_EQ(printer_.NotPrintedCount(), 1);
}

TEST_F(PrintTest, TheChartPagePrintsOnePageWithTheChartInWhite) {
  ASSERT_TRUE(Open(Header() + Rows(40)));
  form_.SetPrintService(&printer_);
  form_.resize(800, 600);
  form_.show();
  form_.PageControl()->setCurrentIndex(0);
  form_.SetChartColor(QColor(200, 200, 100));
  QPen pen = form_.ColumnPen(0);
  pen.setColor(QColor(0, 200, 255));
  pen.setWidth(4);
  form_.SetColumnPen(0, pen);
  form_.PrintHistory();
  EXPECT_FALSE(printer_.LastSetup().offerSelection);
  // The chart is back as it was.
  EXPECT_EQ(form_.ChartColor(), QColor(200, 200, 100));
  EXPECT_EQ(form_.Chart()->plotLayout()->margins(), QMargins());

  QProcess render;
  const QString png = dir_.filePath(QStringLiteral("page"));
  render.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-png"), Pdf(), png});
  ASSERT_TRUE(render.waitForFinished(60000));
  EXPECT_TRUE(QFile::exists(png + QStringLiteral("-1.png")));
  EXPECT_FALSE(QFile::exists(png + QStringLiteral("-2.png")));
  const QImage image(png + QStringLiteral("-1.png"));
  int line = 0, chartColour = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.blue() > 200 && c.red() < 60 && c.green() > 150) ++line;
      if (c == QColor(200, 200, 100)) ++chartColour;
    }
  EXPECT_GT(line, 20);
  EXPECT_EQ(chartColour, 0);
}

}  // namespace
