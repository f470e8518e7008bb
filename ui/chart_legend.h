#pragma once
// A chart's legend below its plot: one entry per line (a short piece of the line and its title,
// and in the history viewer the value under the cursor). A list view rather than the chart's
// own legend: it lays out and paints only the entries in view and scrolls, so however many
// lines there are, the legend takes a bounded part of the window and the plot stays readable,
// and tens of thousands of entries do not slow the chart down.
#include <QAbstractListModel>
#include <QColor>
#include <QListView>
#include <QPen>
#include <QStringList>
#include <functional>

namespace ui {

class ChartLegendModel : public QAbstractListModel {
  Q_OBJECT

 public:
  // The text to add after an entry's title, such as ": 12.500"; empty for none.
  using ReadoutText = std::function<QString(size_t entry)>;
  // The pen of an entry's line; Qt::NoPen shows no line.
  using EntryPen = std::function<QPen(size_t entry)>;

  explicit ChartLegendModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}

  // Every entry anew; forgets the read-out.
  void Reset(QStringList titles, EntryPen pen);
  // Texts are asked for only as entries are painted.
  void SetReadout(ReadoutText readout);
  // The lines' pens changed.
  void RefreshAll();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

 private:
  QStringList titles_;
  EntryPen pen_;
  ReadoutText readout_;
};

class ChartLegendView : public QListView {
  Q_OBJECT

 public:
  explicit ChartLegendView(QWidget* parent = nullptr);

  // Entry width from the widest title, plus room for a read-out where one is shown, capped.
  void SizeEntries(const QStringList& titles, bool withReadout = true);
  // The height for the entries at the view's width, at most maxHeight (at least one row).
  int HeightFor(int width, int maxHeight) const;
  // As high as the entries need at `width`, but never more than a quarter of `pageHeight`
  // (one row at the least, unless the page is lower), so a small or tiled window keeps its
  // plot; hidden without entries. The height it took.
  int FitToPage(int width, int pageHeight);
  int RowHeight() const { return gridSize().height(); }
  // The entries on this colour, their titles in black or white, whichever reads on it.
  void SetBackground(const QColor& colour);
};

}  // namespace ui
