#include "export/dialog/list_items.h"

#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTextBlock>
#include <QTreeWidget>

namespace vantrix {

int ItemImage(const QTreeWidgetItem* item) {
  const QVariant v = item->data(0, kItemImageRole);
  return v.isValid() ? v.toInt() : -1;
}

void SetItemImage(QTreeWidgetItem* item, int imageIndex) {
  item->setData(0, kItemImageRole, imageIndex);
  item->setIcon(0, DialogListImage(imageIndex));
}

void* ItemObject(const QTreeWidgetItem* item) {
  return reinterpret_cast<void*>(item->data(0, kItemObjectRole).value<quintptr>());
}

void SetItemObject(QTreeWidgetItem* item, void* object) {
  item->setData(0, kItemObjectRole, QVariant::fromValue(reinterpret_cast<quintptr>(object)));
}

QTreeWidgetItem* AddListItem(QTreeWidget* list, const QString& caption, int imageIndex, void* object, int index) {
  auto* item = new QTreeWidgetItem;
  item->setText(0, caption);
  SetItemImage(item, imageIndex);
  SetItemObject(item, object);
  if (index >= 0 && index < list->topLevelItemCount())
    list->insertTopLevelItem(index, item);
  else
    list->addTopLevelItem(item);
  return item;
}

QIcon DialogListImage(int index) {
  if (index < 0) return {};
  // Painted once: a list of thousands of items (a loaded options file's) sets one per item.
  const QString key = QStringLiteral("tervana-dialog-list-image-%1").arg(index);
  QPixmap pixmap;
  if (QPixmapCache::find(key, &pixmap)) return QIcon(pixmap);
  // Small marks told apart by colour and shape; the lists only need them to differ.
  static const QColor kColors[] = {Qt::gray,        QColor(0, 128, 0), QColor(0, 0, 160), QColor(128, 0, 0),
                                   Qt::darkYellow,  Qt::darkCyan,      QColor(0, 0, 255), QColor(255, 200, 0),
                                   QColor(160, 0, 160), QColor(0, 160, 160), QColor(96, 96, 96), QColor(200, 80, 0)};
  pixmap = QPixmap(16, 16);
  pixmap.fill(Qt::transparent);
  {
    QPainter p(&pixmap);
    const QColor color = kColors[index % 12];
    p.setPen(color.darker());
    p.setBrush(color);
    if (index == 0 || index == 1)
      p.drawRect(3, 5, 10, 6);
    else if (index == 2 || index == 3)
      p.drawEllipse(3, 3, 10, 10);
    else
      p.drawRect(2, 2, 11, 11);
  }
  QPixmapCache::insert(key, pixmap);
  return QIcon(pixmap);
}

QPoint GetMemoCaretPos(const QPlainTextEdit* memo) {
  const QTextCursor cursor = memo->textCursor();
  const QTextBlock block = memo->document()->findBlock(cursor.position());
  return QPoint(cursor.position() - block.position(), block.blockNumber());
}

void ForAllListViewItems(QTreeWidget* list, bool backwards, bool all,
                         const std::function<void(QTreeWidgetItem*)>& proc) {
  if (list == nullptr) return;
  const bool painting = list->updatesEnabled();
  list->setUpdatesEnabled(false);
  const int count = list->topLevelItemCount();
  for (int k = 0; k < count; ++k) {
    QTreeWidgetItem* item = list->topLevelItem(backwards ? count - 1 - k : k);
    if (item != nullptr && (all || item->isSelected())) proc(item);
  }
  list->setUpdatesEnabled(painting);
}

void ForAllListViewCustomItems(QTreeWidget* list, bool backwards, bool all,
                               const std::function<void(TxlsCustomItem*)>& proc) {
  ForAllListViewItems(list, backwards, all, [&](QTreeWidgetItem* item) {
    if (auto* custom = ItemObjectAs<TxlsCustomItem>(item)) proc(custom);
  });
}

int GetControlTextWidth(const QWidget* control, const QString& text) {
  if (control == nullptr || text.isEmpty()) return 0;
  return control->fontMetrics().horizontalAdvance(text);
}

CaptionIndex::CaptionIndex(const QTreeWidget* list) {
  for (int i = 0; list != nullptr && i < list->topLevelItemCount(); ++i) Add(list->topLevelItem(i)->text(0), i);
}

void CaptionIndex::Add(const QString& caption, int position) {
  QString key = caption.toCaseFolded();
  if (!positions_.contains(key)) positions_.insert(std::move(key), position);
}

int CaptionIndex::Find(const QString& caption) const { return positions_.value(caption.toCaseFolded(), -1); }

QTreeWidgetItem* FindListItem(const QTreeWidget* list, const CaptionIndex& index, const QString& caption) {
  const int at = index.Find(caption);
  return list != nullptr && at >= 0 ? list->topLevelItem(at) : nullptr;
}

void SetGridCell(QTableWidget* grid, int row, int column, const QString& text) {
  grid->setItem(row, column, new QTableWidgetItem(text));
}

}  // namespace vantrix
