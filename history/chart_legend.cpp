#include "history/chart_legend.h"

#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>

#include "history/column_lines.h"

namespace history {

namespace {

constexpr int kSampleWidth = 22;
constexpr int kWidestEntry = 360;

// Every entry fills its cell of the grid, so a title is cut only where the cell ends.
class GridCellDelegate : public QStyledItemDelegate {
 public:
  explicit GridCellDelegate(QListView* view) : QStyledItemDelegate(view), view_(view) {}
  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override { return view_->gridSize(); }

 private:
  QListView* view_;
};

}  // namespace

void ChartLegendModel::Reset(QStringList titles, const ColumnLines* lines) {
  beginResetModel();
  titles_ = std::move(titles);
  lines_ = lines;
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
  const size_t column = static_cast<size_t>(index.row());
  switch (role) {
    case Qt::DisplayRole:
      return readout_ ? titles_.at(index.row()) + readout_(column) : titles_.at(index.row());
    case Qt::ToolTipRole:
      return titles_.at(index.row());
    case Qt::DecorationRole: {
      if (lines_ == nullptr || column >= lines_->ColumnCount()) return {};
      // A short piece of the column's line.
      QPen pen = lines_->ColumnPen(column);
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
  QPalette colours = palette();
  colours.setColor(QPalette::Base, Qt::white);
  setPalette(colours);
  setGridSize(QSize(kWidestEntry, fontMetrics().height() + 6));
  setItemDelegate(new GridCellDelegate(this));
}

void ChartLegendView::SizeEntries(const QStringList& titles) {
  const QFontMetrics metrics = fontMetrics();
  // Titles past the cap are cut anyway: stop measuring once one reaches it.
  const int room = metrics.horizontalAdvance(QStringLiteral(": -00000.000")) + kSampleWidth + 24;
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

}  // namespace history
