#include "export/dialog/field_list_drops.h"

#include <QDropEvent>
#include <QTreeWidget>

#include "export/dialog/style_lists.h"
#include "export/dialog/vantrix3_dialog_form.h"

namespace vantrix {

namespace {

QTreeWidgetItem* SelectedOf(QTreeWidget* list) {
  if (list == nullptr) return nullptr;
  if (QTreeWidgetItem* current = list->currentItem(); current != nullptr && current->isSelected()) return current;
  const QList<QTreeWidgetItem*> selected = list->selectedItems();
  return selected.isEmpty() ? nullptr : selected.first();
}

// Makes the current item of a list the one that is dragged, for the move buttons' handlers.
bool MakeCurrent(QTreeWidget* list) {
  QTreeWidgetItem* item = SelectedOf(list);
  if (item == nullptr) return false;
  list->setCurrentItem(item);
  return true;
}

class DropFilter : public QObject {
 public:
  DropFilter(TVantrix3DialogF& form, QTreeWidget* list, bool available)
      : QObject(list), form_(form), list_(list), available_(available) {}

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    switch (e->type()) {
      case QEvent::DragEnter:
      case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(e);
        if (FieldsListDragOver(drag->source())) {
          drag->setDropAction(Qt::MoveAction);
          drag->accept();
        } else {
          drag->ignore();
        }
        return true;
      }
      case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(e);
        if (available_)
          lstAvailableFieldsDragDrop(form_, drop->source(), list_->itemAt(drop->position().toPoint()));
        else
          lstExportedFieldsDragDrop(form_, drop->source());
        // The lists were changed here: the view must not move anything itself.
        drop->setDropAction(Qt::IgnoreAction);
        drop->accept();
        return true;
      }
      default:
        return false;
    }
  }

 private:
  TVantrix3DialogF& form_;
  QTreeWidget* list_;
  bool available_;
};

}  // namespace

bool FieldsListDragOver(const QObject* source) { return qobject_cast<const QTreeWidget*>(source) != nullptr; }

void lstAvailableFieldsDragDrop(TVantrix3DialogF& form, QObject* source, QTreeWidgetItem* target) {
  auto* available = form.Control<QTreeWidget>("lstAvailableFields");
  auto* exported = form.Control<QTreeWidget>("lstExportedFields");
  if (source == available) {
    QTreeWidgetItem* item = SelectedOf(available);
    if (item == nullptr || target == nullptr || target == item || target->treeWidget() != available) return;
    const int at = available->indexOfTopLevelItem(target);
    available->takeTopLevelItem(available->indexOfTopLevelItem(item));
    available->insertTopLevelItem(at, item);
    available->setCurrentItem(item);
  } else if (source == exported) {
    if (!MakeCurrent(exported)) return;
    form.bDelOneExportedFieldClick();
  }
}

void lstExportedFieldsDragDrop(TVantrix3DialogF& form, QObject* source) {
  auto* available = form.Control<QTreeWidget>("lstAvailableFields");
  auto* exported = form.Control<QTreeWidget>("lstExportedFields");
  if (source == available) {
    if (!MakeCurrent(available)) return;
    form.bAddOneExportedFieldClick();
  } else if (source == exported) {
    // Within the exported list the dragged field goes last.
    QTreeWidgetItem* item = SelectedOf(exported);
    if (item == nullptr) return;
    exported->takeTopLevelItem(exported->indexOfTopLevelItem(item));
    exported->addTopLevelItem(item);
    exported->setCurrentItem(item);
    CorrectXLSFieldsList(form);
  }
}

void ConnectFieldListDrops(TVantrix3DialogF& form) {
  for (auto [name, available] : {std::pair{"lstAvailableFields", true}, std::pair{"lstExportedFields", false}}) {
    auto* list = form.Control<QTreeWidget>(name);
    if (list == nullptr) continue;
    list->setDragEnabled(true);
    list->setDragDropMode(QAbstractItemView::DragDrop);
    list->viewport()->setAcceptDrops(true);
    list->viewport()->installEventFilter(new DropFilter(form, list, available));
  }
}

}  // namespace vantrix
