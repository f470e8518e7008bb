#include "ui/chart_legend.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>

namespace ui {

namespace {

constexpr int kSampleWidth = 22;
constexpr int kWidestEntry = 360;
// The legend takes at most this part of its page's height.
constexpr int kPageDivisor = 4;
// More entries than this never fit a legend's room whole: they take equal cells and scroll,
// and are not measured one by one.
constexpr int kMostMeasuredEntries = 64;
// Between one measured entry and the next.
constexpr int kEntryGap = 8;
// The smallest legend font: this many points, and at least three quarters of the window's.
constexpr double kSmallestPoints = 7.0;
constexpr int kSmallestPixels = 9;

// The window's font first, then smaller ones down to the legend's smallest.
std::vector<QFont> LegendFonts(const QFont& base) {
  std::vector<QFont> fonts{base};
  QFont font = base;
  if (base.pointSizeF() > 0) {
    const double smallest = std::max(kSmallestPoints, base.pointSizeF() * 0.75);
    for (double points = base.pointSizeF() - 0.5; points >= smallest; points -= 0.5) {
      font.setPointSizeF(points);
      fonts.push_back(font);
    }
  } else if (base.pixelSize() > 0) {
    const int smallest = std::max(kSmallestPixels, base.pixelSize() * 3 / 4);
    for (int pixels = base.pixelSize() - 1; pixels >= smallest; --pixels) {
      font.setPixelSize(pixels);
      fonts.push_back(font);
    }
  }
  return fonts;
}

}  // namespace

// The entry's cell as the view gives it: its measured size, or the grid's equal cell; a title
// is cut only where the cell ends.
class LegendEntryDelegate : public QStyledItemDelegate {
 public:
  explicit LegendEntryDelegate(ChartLegendView* view) : QStyledItemDelegate(view), view_(view) {}
  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const override {
    return view_->CellSize(index);
  }
  // What the style needs to draw the entry's line sample and `text` whole.
  QSize Measure(QStyleOptionViewItem option, const QModelIndex& index, const QString& text) const {
    initStyleOption(&option, index);
    option.text = text;
    // Room for the line's sample also while an entry has none.
    option.features |= QStyleOptionViewItem::HasDecoration;
    const QWidget* widget = option.widget;
    const QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    return style->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), widget);
  }

 private:
  ChartLegendView* view_;
};

void ChartLegendModel::Reset(QStringList titles, EntryPen pen) {
  beginResetModel();
  titles_ = std::move(titles);
  pen_ = std::move(pen);
  readout_ = nullptr;
  endResetModel();
}

void ChartLegendModel::SetReadout(ReadoutText readout) {
  readout_ = std::move(readout);
  RefreshAll();
}

void ChartLegendModel::RefreshAll() {
  if (!titles_.isEmpty()) emit dataChanged(index(0), index(static_cast<int>(titles_.size()) - 1));
}

int ChartLegendModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(titles_.size());
}

QVariant ChartLegendModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= titles_.size()) return {};
  const size_t entry = static_cast<size_t>(index.row());
  switch (role) {
    case Qt::DisplayRole:
      return readout_ ? titles_.at(index.row()) + readout_(entry) : titles_.at(index.row());
    case Qt::ToolTipRole:
    case kTitleRole:
      return titles_.at(index.row());
    case Qt::DecorationRole: {
      if (!pen_) return {};
      QPen pen = pen_(entry);
      if (pen.style() == Qt::NoPen) return {};
      // A short piece of the entry's line.
      pen.setWidth(std::clamp(pen.width(), 1, 6));
      QPixmap sample(kSampleWidth, 12);
      sample.fill(Qt::transparent);
      QPainter painter(&sample);
      painter.setPen(pen);
      painter.drawLine(1, 6, kSampleWidth - 2, 6);
      return sample;
    }
    default:
      return {};
  }
}

ChartLegendView::ChartLegendView(QWidget* parent) : QListView(parent), fonts_(LegendFonts(font())) {
  setFlow(QListView::LeftToRight);
  setWrapping(true);
  setResizeMode(QListView::Adjust);
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::NoSelection);
  setFocusPolicy(Qt::NoFocus);
  setFrameShape(QFrame::NoFrame);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  setIconSize(QSize(kSampleWidth, 12));
  setTextElideMode(Qt::ElideRight);
  SetBackground(Qt::white);
  equalCell_ = QSize(kWidestEntry, fontMetrics().height() + 6);
  setGridSize(equalCell_);
  delegate_ = new LegendEntryDelegate(this);
  setItemDelegate(delegate_);
}

void ChartLegendView::SizeEntries(const QStringList& titles, bool withReadout) {
  const QFontMetrics metrics(fonts_.front());
  readoutRoom_ = withReadout ? QStringLiteral(": -00000.000") : QString();
  measuredTitles_.clear();
  // Titles past the cap are cut anyway: stop measuring once one reaches it.
  const int room = metrics.horizontalAdvance(readoutRoom_) + kSampleWidth + 24;
  int widest = 0;
  for (const QString& title : titles) {
    if (title.isEmpty()) continue;
    widest = std::max(widest, metrics.horizontalAdvance(title));
    if (widest + room >= kWidestEntry) break;
  }
  equalCell_ = QSize(std::min(widest + room, kWidestEntry), std::max(metrics.height(), 12) + 6);
  if (!measured_) setGridSize(equalCell_);
}

int ChartLegendView::Margins() const { return 2 * frameWidth() + 2; }

int ChartLegendView::RowHeight() const {
  return measured_ && !entrySizes_.empty() ? entrySizes_.front().height() : equalCell_.height();
}

QSize ChartLegendView::CellSize(const QModelIndex& index) const {
  const size_t row = static_cast<size_t>(std::max(0, index.row()));
  return measured_ && row < entrySizes_.size() ? entrySizes_[row] : equalCell_;
}

const std::vector<QSize>& ChartLegendView::EntrySizes(size_t which) {
  const int entries = model()->rowCount();
  QStringList titles;
  for (int row = 0; row < entries; ++row) {
    const QModelIndex index = model()->index(row, 0);
    const QVariant title = index.data(ChartLegendModel::kTitleRole);
    titles.append(title.isValid() ? title.toString() : index.data().toString());
  }
  if (titles != measuredTitles_ || sizesByFont_.size() != fonts_.size()) {
    measuredTitles_ = titles;
    sizesByFont_.assign(fonts_.size(), {});
  }
  std::vector<QSize>& sizes = sizesByFont_[which];
  if (sizes.empty()) {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.font = fonts_[which];
    option.fontMetrics = QFontMetrics(option.font);
    for (int row = 0; row < entries; ++row) {
      const QSize size = delegate_->Measure(option, model()->index(row, 0), titles.at(row) + readoutRoom_);
      sizes.emplace_back(size.width() + kEntryGap, size.height());
    }
  }
  return sizes;
}

int ChartLegendView::HeightFor(int width, int maxHeight) const {
  const int entries = model() != nullptr ? model()->rowCount() : 0;
  if (entries == 0) return 0;
  const QSize grid = equalCell_;
  const int margins = Margins();
  const int maxRows = std::max(1, (maxHeight - margins) / grid.height());
  int perRow = std::max(1, (width - margins) / grid.width());
  int rows = (entries + perRow - 1) / perRow;
  if (rows > maxRows) {
    // The scroll bar takes some of the width.
    perRow = std::max(1, (width - margins - verticalScrollBar()->sizeHint().width()) / grid.width());
    rows = (entries + perRow - 1) / perRow;
  }
  return std::min(rows, maxRows) * grid.height() + margins;
}

int ChartLegendView::MeasureToFit(int width, int maxHeight) {
  const int entries = model() != nullptr ? model()->rowCount() : 0;
  if (entries == 0 || entries > kMostMeasuredEntries) return 0;
  // Without a scroll bar the entries have the whole width; they flow as the list view lays
  // them out: to the next row when the next entry would reach the last pixel column.
  const int room = width - 2 * frameWidth() - 1;
  for (size_t which = 0; which < fonts_.size(); ++which) {
    std::vector<QSize> sizes = EntrySizes(which);
    int rows = 1;
    int x = 0;
    int rowHeight = 0;
    bool fits = true;
    for (const QSize& size : sizes) {
      fits = fits && size.width() <= room;
      if (x + size.width() > room) {
        ++rows;
        x = 0;
      }
      x += size.width();
      rowHeight = std::max(rowHeight, size.height());
    }
    const int height = rows * rowHeight + Margins();
    if (!fits || height > maxHeight) continue;
    for (QSize& size : sizes) size.setHeight(rowHeight);
    if (!measured_ || sizes != entrySizes_ || font() != fonts_[which]) {
      measured_ = true;
      entrySizes_ = std::move(sizes);
      setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
      setUniformItemSizes(false);
      setGridSize(QSize());
      setFont(fonts_[which]);
      scheduleDelayedItemsLayout();
    }
    return height;
  }
  return 0;
}

void ChartLegendView::UseEqualCells() {
  if (!measured_) return;
  measured_ = false;
  entrySizes_.clear();
  setFont(fonts_.front());
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setUniformItemSizes(true);
  setGridSize(equalCell_);
  scheduleDelayedItemsLayout();
}

int ChartLegendView::FitToPage(int width, int pageHeight) {
  const int maxHeight = pageHeight / kPageDivisor;
  int height = MeasureToFit(width, maxHeight);
  if (height == 0) {
    UseEqualCells();
    // A page lower than one row gives the row what it has.
    height = std::min(HeightFor(width, maxHeight), std::max(0, pageHeight));
  }
  setFixedHeight(height);
  setVisible(height > 0);
  return height;
}

void ChartLegendView::SetBackground(const QColor& colour) {
  QPalette colours = palette();
  colours.setColor(QPalette::Base, colour);
  colours.setColor(QPalette::Text, colour.lightnessF() < 0.5 ? Qt::white : Qt::black);
  setPalette(colours);
}

}  // namespace ui
