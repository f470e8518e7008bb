#include "ui/chart_legend.h"

#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>


namespace ui {

namespace {

constexpr int kSampleWidth = 22;
constexpr int kWidestEntry = 360;
// The legend takes at most this part of its page's height.
constexpr int kPageDivisor = 4;

// Every entry fills its cell of the grid, so a title is cut only where the cell ends.
class GridCellDelegate : public QStyledItemDelegate {
 public:
  explicit GridCellDelegate(QListView* view) : QStyledItemDelegate(view), view_(view) {}
  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override { return view_->gridSize(); }

 private:
  QListView* view_;
};

}  // namespace

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

ChartLegendView::ChartLegendView(QWidget* parent) : QListView(parent) {
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
  setGridSize(QSize(kWidestEntry, fontMetrics().height() + 6));
  setItemDelegate(new GridCellDelegate(this));
}

void ChartLegendView::SizeEntries(const QStringList& titles, bool withReadout) {
  const QFontMetrics metrics = fontMetrics();
  // Titles past the cap are cut anyway: stop measuring once one reaches it.
  const int room = (withReadout ? metrics.horizontalAdvance(QStringLiteral(": -00000.000")) : 0) + kSampleWidth + 24;
  int widest = 0;
  for (const QString& title : titles) {
    if (title.isEmpty()) continue;
    widest = std::max(widest, metrics.horizontalAdvance(title));
    if (widest + room >= kWidestEntry) break;
  }
  setGridSize(QSize(std::min(widest + room, kWidestEntry), std::max(metrics.height(), 12) + 6));
}

int ChartLegendView::HeightFor(int width, int maxHeight) const {
  const int entries = model() != nullptr ? model()->rowCount() : 0;
  if (entries == 0) return 0;
  const QSize grid = gridSize();
  const int margins = 2 * frameWidth() + 2;
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

int ChartLegendView::FitToPage(int width, int pageHeight) {
  // A page lower than one row gives the row what it has.
  const int height = std::min(HeightFor(width, pageHeight / kPageDivisor), std::max(0, pageHeight));
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
