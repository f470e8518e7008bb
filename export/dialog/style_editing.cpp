#include "export/dialog/style_editing.h"

#include <QTreeWidget>

#include "export/dialog/list_items.h"
#include "export/xls/xls_link_note.h"

namespace vantrix {

void EditFontStyleXLS(TxlsFont& font, TxlsFontStyle style, bool on) { font.Style.Set(style, on); }

void RTFItemEditFontStyle(QTreeWidgetItem* item, TFontStyle style, bool on) {
  if (item == nullptr) return;
  if (auto* rtf = ItemObjectAs<TrtfStyle>(item)) EditFontStyle(rtf->Font, style, on);
}

void RTFItemSetAlignment(QTreeWidgetItem* item, TrtfTextAlignment alignment) {
  if (item == nullptr) return;
  if (auto* rtf = ItemObjectAs<TrtfStyle>(item)) rtf->Alignment = alignment;
}

namespace {

TxlsFormat* ItemFormat(QTreeWidgetItem* item) {
  if (item == nullptr) return nullptr;
  return dynamic_cast<TxlsFormat*>(ItemObjectAs<TxlsCustomItem>(item));
}

}  // namespace

void XLSItemEditFontStyle(QTreeWidgetItem* item, TxlsFontStyle style, bool on) {
  if (TxlsFormat* f = ItemFormat(item)) EditFontStyleXLS(f->Font, style, on);
}

void XLSItemSetUnderline(QTreeWidgetItem* item, TxlsFontUnderline underline) {
  if (TxlsFormat* f = ItemFormat(item)) f->Font.Underline = underline;
}

void XLSItemSetHorAlignment(QTreeWidgetItem* item, TxlsHorizontalAlignment alignment) {
  if (TxlsFormat* f = ItemFormat(item)) f->Alignment.Horizontal = alignment;
}

void XLSItemSetVertAlignment(QTreeWidgetItem* item, TxlsVerticalAlignment alignment) {
  if (TxlsFormat* f = ItemFormat(item)) f->Alignment.Vertical = alignment;
}

TxlsFont* XLSCustomItemFont(TxlsCustomItem* item) {
  if (item == nullptr) return nullptr;
  switch (item->GetItemType()) {
    case itFormat:
    case itFieldFormat: return &static_cast<TxlsFormat*>(item)->Font;
    case itNoteFormat: return &static_cast<TxlsNoteFormat*>(item)->Font;
    case itHyperlink: return &static_cast<TxlsHyperlink*>(item)->Format.Font;
    case itNote: return &static_cast<TxlsNote*>(item)->Format.Font;
    default: return nullptr;
  }
}

TxlsAlignment* XLSCustomItemAlignment(TxlsCustomItem* item) {
  if (item == nullptr) return nullptr;
  switch (item->GetItemType()) {
    case itFormat:
    case itFieldFormat: return &static_cast<TxlsFormat*>(item)->Alignment;
    case itNoteFormat: return &static_cast<TxlsNoteFormat*>(item)->Alignment;
    case itHyperlink: return &static_cast<TxlsHyperlink*>(item)->Format.Alignment;
    case itNote: return &static_cast<TxlsNote*>(item)->Format.Alignment;
    default: return nullptr;
  }
}

void XLSCustomFormatEditFontStyle(TxlsCustomItem* item, TxlsFontStyle style, bool on) {
  if (TxlsFont* font = XLSCustomItemFont(item)) EditFontStyleXLS(*font, style, on);
}

void XLSCustomItemSetUnderline(TxlsCustomItem* item, TxlsFontUnderline underline) {
  if (TxlsFont* font = XLSCustomItemFont(item)) font->Underline = underline;
}

void XLSCustomItemSetHorAlignment(TxlsCustomItem* item, TxlsHorizontalAlignment alignment) {
  if (TxlsAlignment* a = XLSCustomItemAlignment(item)) a->Horizontal = alignment;
}

void XLSCustomItemSetVertAlignment(TxlsCustomItem* item, TxlsVerticalAlignment alignment) {
  if (TxlsAlignment* a = XLSCustomItemAlignment(item)) a->Vertical = alignment;
}

uint32_t ColorByXLSColor(TxlsColor color) { return XLSColorValue(color); }

TxlsColor ColorToXLSColor(uint32_t color) {
  for (int i = clrBlack; i <= clrWhite; ++i)
    if (XLSColorValue(static_cast<TxlsColor>(i)) == color) return static_cast<TxlsColor>(i);
  return clrBlack;
}

void IncLeftAndTop(QWidget* control) {
  if (control != nullptr) control->move(control->x() + 1, control->y() + 1);
}

void DecLeftAndTop(QWidget* control) {
  if (control != nullptr) control->move(control->x() - 1, control->y() - 1);
}

namespace {

struct ItemContent {
  QString caption;
  int image;
  void* object;
};

ItemContent ContentOf(const QTreeWidgetItem* item) { return {item->text(0), ItemImage(item), ItemObject(item)}; }

void PutContent(QTreeWidgetItem* item, const ItemContent& content) {
  item->setText(0, content.caption);
  SetItemImage(item, content.image);
  SetItemObject(item, content.object);
}

}  // namespace

void SetListItemIndex(QTreeWidgetItem* item, int newIndex) {
  if (item == nullptr || newIndex < 0) return;
  QTreeWidget* list = item->treeWidget();
  if (list == nullptr) return;
  const int oldIndex = list->indexOfTopLevelItem(item);
  if (oldIndex < 0 || oldIndex == newIndex || newIndex >= list->topLevelItemCount()) return;
  const ItemContent moved = ContentOf(item);
  const int step = newIndex < oldIndex ? -1 : 1;
  for (int i = oldIndex; i != newIndex; i += step)
    PutContent(list->topLevelItem(i), ContentOf(list->topLevelItem(i + step)));
  PutContent(list->topLevelItem(newIndex), moved);
}

void SetListOrder(QTreeWidget* list, const std::vector<int>& order) {
  std::vector<ItemContent> contents;
  contents.reserve(order.size());
  for (size_t p = 0; p < order.size(); ++p) contents.push_back(ContentOf(list->topLevelItem(static_cast<int>(p))));
  for (size_t p = 0; p < order.size(); ++p)
    if (order[p] != static_cast<int>(p)) PutContent(list->topLevelItem(static_cast<int>(p)), contents[static_cast<size_t>(order[p])]);
}

QTreeWidgetItem* MoveListItem(QTreeWidgetItem* item, QTreeWidget* target, bool deleteSource, int index) {
  if (item == nullptr || target == nullptr) return nullptr;
  QTreeWidget* source = item->treeWidget();
  auto* added = new QTreeWidgetItem;
  added->setText(0, item->text(0));
  SetItemObject(added, ItemObject(item));
  if (index >= 0 && index <= target->topLevelItemCount())
    target->insertTopLevelItem(index, added);
  else
    target->addTopLevelItem(added);
  if (source == nullptr) return added;
  const int oldIndex = source->indexOfTopLevelItem(item);
  if (deleteSource) delete item;
  const int count = source->topLevelItemCount();
  if (count == 0) return added;
  const int select = oldIndex >= 0 && oldIndex < count ? oldIndex : count - 1;
  QTreeWidgetItem* next = source->topLevelItem(select);
  source->setCurrentItem(next);
  next->setSelected(true);
  return added;
}

}  // namespace vantrix
