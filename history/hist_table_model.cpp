#include "history/hist_table_model.h"

#include "platform/qt_text.h"

namespace history {

int HistTableModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return static_cast<int>(data_.TableRowCount() - HistoryData::kHeaderRows);
}

int HistTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(data_.ColumnCount());
}

QVariant HistTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) return {};
  const QString text = texts_.Cell(TableRow(index.row()), static_cast<size_t>(index.column()));
  if (role == Qt::ToolTipRole && text.isEmpty()) return {};
  return text;
}

QVariant HistTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || static_cast<size_t>(section) >= data_.ColumnCount())
    return QAbstractTableModel::headerData(section, orientation, role);
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
  QStringList lines;
  for (int r = 0; r < HistoryData::kHeaderRows; ++r)
    lines << platform::FromCp1252(data_.HeaderCell(r, static_cast<size_t>(section)));
  return lines.join(QLatin1Char('\n'));
}

}  // namespace history
