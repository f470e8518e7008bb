#pragma once
// The dialog's list views are tree widgets without branches: one top-level item per entry,
// its caption in column 0, the sub-items in the further columns, an image index and an
// attached object (a spreadsheet format or item, an RTF style) kept in item roles. The
// attached object is a plain pointer: the list that holds it decides who frees it.
#include <QHash>
#include <QString>
#include <QTreeWidgetItem>
#include <functional>

class QPlainTextEdit;
class QPoint;
class QTableWidget;
class QTreeWidget;
class QWidget;

namespace vantrix {

class TxlsCustomItem;

inline constexpr int kItemImageRole = Qt::UserRole + 0x5701;
inline constexpr int kItemObjectRole = Qt::UserRole + 0x5702;

int ItemImage(const QTreeWidgetItem* item);
// Stores the index and shows the image list's picture for it.
void SetItemImage(QTreeWidgetItem* item, int imageIndex);
void* ItemObject(const QTreeWidgetItem* item);
void SetItemObject(QTreeWidgetItem* item, void* object);
template <class T>
T* ItemObjectAs(const QTreeWidgetItem* item) {
  return static_cast<T*>(ItemObject(item));
}
// A new top-level item at the end of the list (or at index when it is within the list).
QTreeWidgetItem* AddListItem(QTreeWidget* list, const QString& caption, int imageIndex, void* object,
                             int index = -1);

// The pictures of the dialog's image lists: 0 available field, 1 exported field, 2 user entry
// (format, style), 3 fixed element, 6..11 the kinds of the spreadsheet extensions tree.
QIcon DialogListImage(int index);

// (column, line) of the caret end of the selection in a memo.
QPoint GetMemoCaretPos(const QPlainTextEdit* memo);

// Calls proc for every selected item (every item when all), from the last to the first when
// backwards, with the list's painting held until the walk is done.
void ForAllListViewItems(QTreeWidget* list, bool backwards, bool all, const std::function<void(QTreeWidgetItem*)>& proc);
// The same with each item's attached spreadsheet item; items without one are skipped.
void ForAllListViewCustomItems(QTreeWidget* list, bool backwards, bool all,
                               const std::function<void(TxlsCustomItem*)>& proc);

// Width of a text in pixels in the control's font.
int GetControlTextWidth(const QWidget* control, const QString& text);

// Positions of entries (list items, grid rows) by their caption, compared without regard to
// case, the first position of each caption kept: names read from a file are looked up one
// by one, and a walk through the whole list for each would grow with the square of them.
class CaptionIndex {
 public:
  CaptionIndex() = default;
  explicit CaptionIndex(const QTreeWidget* list);  // the list's top-level items by caption
  void Add(const QString& caption, int position);
  int Find(const QString& caption) const;  // -1 when no entry has the caption

 private:
  QHash<QString, int> positions_;
};

// The list's top-level item of that caption (without regard to case), or null.
QTreeWidgetItem* FindListItem(const QTreeWidget* list, const CaptionIndex& index, const QString& caption);

// Sets a cell of a grid (the captions grid) to the text with a new cell item. Once the grid's
// column count has changed, its old cells keep positions that are no longer theirs, and a
// text set on such a cell is looked for through the whole grid: cell by cell, filling a grid
// would grow with the square of its rows.
void SetGridCell(QTableWidget* grid, int row, int column, const QString& text);

}  // namespace vantrix
