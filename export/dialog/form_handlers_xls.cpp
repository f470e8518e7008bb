// The spreadsheet strip-style list's tool buttons: add, delete, move up and down, save to and
// load from a style file. The list holds the styles in the order the rows take them.
#include <QToolButton>
#include <QTreeWidget>
#include <exception>

#include "export/dialog/dialog_services.h"
#include "export/dialog/form_file_dialogs.h"
#include "export/dialog/list_items.h"
#include "export/dialog/strip_style_buttons.h"
#include "export/dialog/style_lists.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/library_strings.h"
#include "export/xls/xls_format.h"
#include "platform/qt_text.h"

namespace vantrix {

void SelectOnly(QTreeWidget* list, QTreeWidgetItem* item) {
  list->clearSelection();
  if (item == nullptr) {
    list->setCurrentItem(nullptr, 0, QItemSelectionModel::Clear);
    return;
  }
  list->setCurrentItem(item);
  item->setSelected(true);
}

void TVantrix3DialogF::tbtAddXLSStyleClick() {
  auto* list = Control<QTreeWidget>("lstXLSStyles");
  const QString caption =
      platform::FromCp1252(VantrixLoadStr(34252)) + QString::number(list->topLevelItemCount() + 1);
  TxlsCustomItem* style = AdoptXLSItem(std::make_unique<TxlsFieldFormat>());
  SelectOnly(list, AddListItem(list, caption, 2, style));
  list->setFocus();
  XLSShowStyleButtons(*this);
}

// Every selected style goes; the one at the first deleted place (or the new last one) is
// chosen next, and none when the list is left empty.
void DeleteSelectedStripStyles(TVantrix3DialogF& form, QTreeWidget* list, TStripStyleStep renumber,
                               TStripStyleStep showButtons) {
  const QList<QTreeWidgetItem*> selected = list->selectedItems();
  if (selected.isEmpty()) return;
  int first = list->topLevelItemCount();
  list->setUpdatesEnabled(false);
  for (int i = list->topLevelItemCount() - 1; i >= 0; --i) {
    if (!list->topLevelItem(i)->isSelected()) continue;
    first = std::min(first, i);
    delete list->takeTopLevelItem(i);
  }
  list->setUpdatesEnabled(true);
  const int last = list->topLevelItemCount() - 1;
  SelectOnly(list, last < 0 ? nullptr : list->topLevelItem(std::min(first, last)));
  renumber(form);
  list->setFocus();
  showButtons(form);
  form.ReleaseUnusedStyles();
}

// The selected style and its neighbour trade places: their styles and marks swap and the
// selection follows the moved style.
void MoveStripStyle(TVantrix3DialogF& form, QTreeWidget* list, int step, TStripStyleStep showButtons) {
  QTreeWidgetItem* item = list->currentItem();
  if (item == nullptr || !item->isSelected()) return;
  const int from = list->indexOfTopLevelItem(item);
  const int to = from + step;
  if (to < 0 || to >= list->topLevelItemCount()) return;
  QTreeWidgetItem* other = list->topLevelItem(to);
  void* object = ItemObject(item);
  SetItemObject(item, ItemObject(other));
  SetItemObject(other, object);
  const QVariant mark = item->data(0, Qt::CheckStateRole);
  item->setData(0, Qt::CheckStateRole, other->data(0, Qt::CheckStateRole));
  other->setData(0, Qt::CheckStateRole, mark);
  SelectOnly(list, other);
  showButtons(form);
}

void TVantrix3DialogF::tbtDelXLSStyleClick() {
  DeleteSelectedStripStyles(*this, Control<QTreeWidget>("lstXLSStyles"), XLSRenumStyles, XLSShowStyleButtons);
}

void TVantrix3DialogF::MoveXLSStyle(int step) {
  MoveStripStyle(*this, Control<QTreeWidget>("lstXLSStyles"), step, XLSShowStyleButtons);
}

void SaveStripStyles(TVantrix3DialogF& form, const char* dialogName,
                     bool (*save)(TVantrix3DialogF&, const std::string&, std::string*)) {
  DialogServices& services = form.GetDialog().Services();
  const std::optional<QString> file = services.SaveFile(&form, FormFileDialog(dialogName));
  std::string reason;
  if (!file || save(form, FileSystemName(*file), &reason)) return;
  form.ShowErrorText(QStringLiteral("Cannot write the file \"%1\"").arg(*file) +
                     (reason.empty() ? QString() : QStringLiteral(": ") + QString::fromLocal8Bit(reason)));
}

void LoadStripStyles(TVantrix3DialogF& form, const char* dialogName,
                     void (*load)(TVantrix3DialogF&, const std::string&)) {
  const std::optional<QString> file = form.GetDialog().Services().OpenFile(&form, FormFileDialog(dialogName));
  if (!file) return;
  try {
    load(form, FileSystemName(*file));
  } catch (const std::exception& e) {
    form.ShowErrorText(platform::FromCp1252(e.what()));  // the styles in the list stay
    return;
  }
  form.ReleaseUnusedStyles();
}

void TVantrix3DialogF::tbtSaveXLSStyleClick() { SaveStripStyles(*this, "sdXLSStyle", XLSSaveStyle); }

// A file without styles leaves the list empty with nothing selected that would bring the
// buttons in line.
void TVantrix3DialogF::tbtLoadXLSStyleClick() {
  LoadStripStyles(*this, "odXLSStyle", XLSLoadStyle);
  XLSShowStyleButtons(*this);
}

void TVantrix3DialogF::ConnectXLSStyleButtons() {
  const struct {
    const char* button;
    void (TVantrix3DialogF::*handler)();
  } buttons[] = {
      {"tbtAddXLSStyle", &TVantrix3DialogF::tbtAddXLSStyleClick},
      {"tbtDelXLSStyle", &TVantrix3DialogF::tbtDelXLSStyleClick},
      {"tbtSaveXLSStyle", &TVantrix3DialogF::tbtSaveXLSStyleClick},
      {"tbtLoadXLSStyle", &TVantrix3DialogF::tbtLoadXLSStyleClick},
  };
  for (const auto& b : buttons) connect(Control<QToolButton>(b.button), &QToolButton::clicked, this, b.handler);
  connect(Control<QToolButton>("tbtUpXLSStyle"), &QToolButton::clicked, this, [this] { MoveXLSStyle(-1); });
  connect(Control<QToolButton>("tbtDownXLSStyle"), &QToolButton::clicked, this, [this] { MoveXLSStyle(1); });
}

}  // namespace vantrix
