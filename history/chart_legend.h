#pragma once
// The history chart's legend: one entry per value column (its line and its title, and the
// value under the cursor while the mouse is over the chart). A list view below the plot
// rather than the chart's own legend: it lays out and paints only the entries in view, and
// scrolls, so tens of thousands of columns neither slow the chart down nor push it away.
#include <QAbstractListModel>
#include <QListView>
#include <QStringList>
#include <functional>

namespace history {

class ColumnLines;

class ChartLegendModel : public QAbstractListModel {
  Q_OBJECT

 public:
  // The text to add after a column's title, such as ": 12.500"; empty for none.
  using ReadoutText = std::function<QString(size_t column)>;

  explicit ChartLegendModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}

  void Reset(QStringList titles, const ColumnLines* lines);
  // Texts are asked for only as entries are painted.
  void SetReadout(ReadoutText readout);
  // The lines' pens changed.
  void RefreshAll();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

 private:
  QStringList titles_;
  const ColumnLines* lines_ = nullptr;
  ReadoutText readout_;
};

class ChartLegendView : public QListView {
  Q_OBJECT

 public:
  explicit ChartLegendView(QWidget* parent = nullptr);

  // Entry width from the widest title plus room for a read-out, capped.
  void SizeEntries(const QStringList& titles);
  // The height for the entries at the view's width, at most maxHeight (at least one row).
  int HeightFor(int width, int maxHeight) const;
  int RowHeight() const { return gridSize().height(); }
};

}  // namespace history
