// Printing a history viewer: the chart page as the window shows it, on one page, or the table
// as a listing of pages through the program's printer and print dialog.
#include <QFont>
#include <QItemSelectionModel>
#include <QPainter>
#include <QPrinter>
#include <QTabWidget>
#include <QTableView>
#include <algorithm>
#include <set>

#include "history/cell_texts.h"
#include "history/hist_form.h"
#include "history/hist_texts.h"
#include "history/print_listing.h"
#include "qcustomplot.h"
#include "ui/print_service.h"
#include "ui/user_interaction.h"
#include "ui/wait_cursor.h"
#include "ui/window_picture_print.h"

namespace history {
namespace {

// A grid column's width in pixels times this is its width in the listing (tenths of a mm).
constexpr int kTenthsPerGridPixel = 3;
constexpr int kChartPrintMargin = 2;
constexpr double kTenthsPerInch = 254.0;

// The program's printer, with the chart made ready for paper once the user confirmed the
// dialog: white around and behind the plot, narrow margins. The chart is put back as it was
// when this goes.
class ChartPrintLook : public ui::PrintService {
 public:
  ChartPrintLook(ui::PrintService& printer, THistForm& viewer) : printer_(printer), viewer_(viewer) {}
  ~ChartPrintLook() override {
    if (!applied_) return;
    viewer_.SetChartColor(color_);
    viewer_.SetChartBackColor(backColor_);
    viewer_.Chart()->plotLayout()->setMargins(margins_);
    viewer_.Chart()->replot();
  }
  std::optional<ui::PrintJob> Prepare(QWidget* parent, const ui::PrintDialogSetup& setup) override {
    std::optional<ui::PrintJob> job = printer_.Prepare(parent, setup);
    if (!job || applied_) return job;
    applied_ = true;
    color_ = viewer_.ChartColor();
    backColor_ = viewer_.ChartBackColor();
    margins_ = viewer_.Chart()->plotLayout()->margins();
    viewer_.Chart()->plotLayout()->setMargins(
        QMargins(kChartPrintMargin, kChartPrintMargin, kChartPrintMargin, kChartPrintMargin));
    viewer_.SetChartColor(Qt::white);
    viewer_.SetChartBackColor(Qt::white);
    return job;
  }
  void TellNotPrinted(QWidget* parent, const ui::PrintJob& job) override { printer_.TellNotPrinted(parent, job); }

 private:
  ui::PrintService& printer_;
  THistForm& viewer_;
  bool applied_ = false;
  QColor color_, backColor_;
  QMargins margins_;
};

QFont ListingFont(int height) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(height);
  return font;
}

}  // namespace

void THistForm::SetPrintService(ui::PrintService* service) { printService_ = service; }

ui::PrintService& THistForm::PrintServiceInUse() {
  if (printService_ != nullptr) return *printService_;
  if (!ownPrintService_) ownPrintService_ = std::make_unique<ui::QtPrintService>(ui_);
  return *ownPrintService_;
}

void THistForm::PrintHistory() {
  ui::WaitCursor wait;
  if (pageControl_->currentWidget() == chartTabSheet_) {
    ChartPrintLook look(PrintServiceInUse(), *this);
    ui::PrintWindowPicture(this, look);
    return;
  }
  ui::PrintDialogSetup setup;
  setup.offerSelection = true;
  ui::PrintService& service = PrintServiceInUse();
  const std::optional<ui::PrintJob> job = service.Prepare(this, setup);
  if (!job || job->printer == nullptr) return;
  if (!PrintTable(*job->printer, job->selectionOnly, wait)) {
    wait.Restore();
    service.TellNotPrinted(this, *job);
  }
}

std::vector<size_t> THistForm::RowsToPrint(bool selectionOnly) const {
  std::vector<size_t> rows;
  const size_t first = static_cast<size_t>(ListingLayout::kHeaderRows);
  if (!selectionOnly) {
    for (size_t r = first; r < data_.TableRowCount(); ++r) rows.push_back(r);
    return rows;
  }
  std::set<size_t> selected;
  if (const QItemSelectionModel* selection = grid_->selectionModel())
    for (const QModelIndex& index : selection->selectedIndexes())
      if (index.row() >= 0 && static_cast<size_t>(index.row()) >= first) selected.insert(static_cast<size_t>(index.row()));
  return {selected.begin(), selected.end()};
}

bool THistForm::PrintTable(QPrinter& printer, bool selectionOnly, ui::WaitCursor& wait) {
  if (!texts_) return true;
  const QRect printable = printer.pageLayout().paintRectPixels(printer.resolution());
  const int dpiX = printer.logicalDpiX(), dpiY = printer.logicalDpiY();
  std::vector<int> widths;
  for (size_t c = 0; c < data_.ColumnCount(); ++c)
    widths.push_back(grid_->columnWidth(static_cast<int>(c)) * kTenthsPerGridPixel);
  std::optional<ListingLayout> layout;
  if (dpiX > 0 && dpiY > 0)
    layout = LayOutListing(static_cast<int>(printable.width() * kTenthsPerInch / dpiX),
                           static_cast<int>(printable.height() * kTenthsPerInch / dpiY), widths,
                           RowsToPrint(selectionOnly));
  if (!layout) {
    wait.Restore();
    ShowError(QString::fromUtf8(dpiX > 0 && dpiY > 0 ? kPageTooSmallText : kNoPrinterResolutionText));
    return true;
  }
  printer.setDocName(windowTitle());
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  painter.scale(dpiX / kTenthsPerInch, dpiY / kTenthsPerInch);
  const int W = layout->width, H = layout->height;
  const QString pageText = QStringLiteral("Page: %1 of %2");
  for (size_t page = 0; page < layout->PageCount(); ++page) {
    if (page > 0) printer.newPage();
    painter.setFont(ListingFont(ListingLayout::kTitleHeight));
    painter.drawText(QRect(0, ListingLayout::kTitleTop, W, ListingLayout::kTitleHeight * 2),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, windowTitle());
    painter.setPen(QPen(Qt::black, ListingLayout::kRuleWidth));
    painter.drawLine(0, ListingLayout::kTopMargin, W, ListingLayout::kTopMargin);
    painter.drawLine(0, H - ListingLayout::kBottomMargin, W, H - ListingLayout::kBottomMargin);
    painter.setFont(ListingFont(ListingLayout::kRowHeight));
    painter.drawText(QRect(0, H - ListingLayout::kFooterAboveBottom, W, ListingLayout::kRowHeight * 2),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine,
                     pageText.arg(page + 1).arg(layout->PageCount()));
    std::vector<size_t> rows = {0, 1};
    const std::vector<size_t> block = layout->RowsOfPage(page);
    rows.insert(rows.end(), block.begin(), block.end());
    int y = ListingLayout::kFirstRowTop;
    for (const size_t row : rows) {
      if (row < data_.TableRowCount())
        for (const size_t column : layout->BandOfPage(page))
          painter.drawText(QPoint(layout->left[column], y + painter.fontMetrics().ascent()),
                           texts_->Cell(row, column));
      y += ListingLayout::kRowHeight;
    }
  }
  return painter.end();
}

}  // namespace history
