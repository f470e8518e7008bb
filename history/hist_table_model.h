#pragma once
// The table page's model: the cells are made when the view asks for them, so a file of
// a million lines needs no text or widget per cell. The three header rows (device names,
// value names, units) are the column headers, which stay in view while the rows scroll.
#include <QAbstractTableModel>

#include "history/cell_texts.h"
#include "history/history_data.h"

namespace history {

class HistTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  HistTableModel(const HistoryData& data, const CellTexts& texts, QObject* parent = nullptr)
      : QAbstractTableModel(parent), data_(data), texts_(texts) {}

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  // Row of the whole table (header rows included) shown at a model row.
  static size_t TableRow(int modelRow) { return static_cast<size_t>(modelRow) + HistoryData::kHeaderRows; }

 private:
  const HistoryData& data_;
  const CellTexts& texts_;
};

}  // namespace history
