#pragma once
// A chart's legend below its plot: one entry per line (a short piece of the line and its title,
// and in the history viewer the value under the cursor). A list view rather than the chart's
// own legend: it lays out and paints only the entries in view and scrolls, so however many
// lines there are, the legend takes a bounded part of the window and the plot stays readable,
// and tens of thousands of entries do not slow the chart down.
//
// A handful of entries is laid out by their measured widths, each as wide as its title needs,
// in a smaller font where the window's own does not fit them: a name that has to be scrolled
// to is a line nobody can tell. Only where even the smallest font does not fit them all do
// the entries take equal cells and the rest a scroll away.
#include <QAbstractListModel>
#include <QColor>
#include <QFont>
#include <QListView>
#include <QPen>
#include <QStringList>
#include <functional>
#include <vector>

namespace ui {

class ChartLegendModel : public QAbstractListModel {
  Q_OBJECT

 public:
  // An entry's title alone, without the read-out.
  static constexpr int kTitleRole = Qt::UserRole;

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

class LegendEntryDelegate;

class ChartLegendView : public QListView {
  Q_OBJECT

 public:
  explicit ChartLegendView(QWidget* parent = nullptr);

  // The equal cells' width, from the widest title plus room for a read-out where one is shown,
  // capped; measured entries keep the same room for the read-out.
  void SizeEntries(const QStringList& titles, bool withReadout = true);
  // In equal cells: the height for the entries at the view's width, at most maxHeight (at
  // least one row).
  int HeightFor(int width, int maxHeight) const;
  // As high as the entries need at `width`, but never more than a quarter of `pageHeight`
  // (one row at the least, unless the page is lower), so a small or tiled window keeps its
  // plot; hidden without entries. Every entry shows whole when a font no smaller than the
  // legend allows fits them all in that room. The height it took.
  int FitToPage(int width, int pageHeight);
  int RowHeight() const;
  // True while every entry shows whole, each as wide as it needs (no scrolling).
  bool EntriesMeasured() const { return measured_; }
  // The entries on this colour, their titles in black or white, whichever reads on it.
  void SetBackground(const QColor& colour);

 private:
  friend class LegendEntryDelegate;

  // The delegate's size for an entry: its measured size, or the equal cell.
  QSize CellSize(const QModelIndex& index) const;
  // The entries' sizes in the candidate font `which`, each showing its title and the read-out
  // room whole; measured once per set of titles.
  const std::vector<QSize>& EntrySizes(size_t which);
  // Lays the entries out by their measured widths in the largest font that fits them all in
  // `width` x `maxHeight`; the height taken, or 0 when none fits.
  int MeasureToFit(int width, int maxHeight);
  void UseEqualCells();
  int Margins() const;

  LegendEntryDelegate* delegate_ = nullptr;
  std::vector<QFont> fonts_;  // the window's font, then smaller ones
  QSize equalCell_;
  QString readoutRoom_;
  bool measured_ = false;
  std::vector<QSize> entrySizes_;  // while measured
  // Sizes per candidate font for the titles below; an empty list is not measured yet.
  QStringList measuredTitles_;
  std::vector<std::vector<QSize>> sizesByFont_;
};

}  // namespace ui
