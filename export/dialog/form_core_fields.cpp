// The dialog form's field lists, captions grid and user formats.
#include <QComboBox>
#include <QHash>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <algorithm>
#include <iterator>
#include <vector>

#include "export/dialog/dialog_services.h"
#include "export/dialog/form_rules.h"
#include "export/dialog/list_items.h"
#include "export/dialog/style_lists.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/format_settings.h"
#include "export/library_strings.h"
#include "platform/qt_text.h"

namespace vantrix {

namespace {

int FieldIndex(const QTreeWidgetItem* item) { return item->data(0, kFieldIndexRole).toInt(); }

QString Str(int id) { return platform::FromCp1252(VantrixLoadStr(id)); }

bool IsFormattedType(TVantrixColType type) {
  switch (type) {
    case ectInteger: case ectBigint: case ectFloat: case ectCurrency: case ectDate: case ectTime: case ectDateTime:
      return true;
    default:
      return false;
  }
}

void SelectFirst(QTreeWidget* list) {
  if (list->topLevelItemCount() == 0) return;
  list->setCurrentItem(list->topLevelItem(0));
}

}  // namespace

QStringList UserFormatSuggestions(TVantrixColType type, const FormatSettings& s) {
  const auto q = [](const std::string& text) { return platform::FromCp1252(text); };
  const QString sd = q(s.shortDateFormat), ld = q(s.longDateFormat), st = q(s.shortTimeFormat),
                lt = q(s.longTimeFormat);
  switch (type) {
    case ectInteger:
    case ectBigint:
      return {"#,###,##0", "0"};
    case ectFloat:
      return {"#,###,##0.00", "#,###,##0.000", "#,###,##0.0000", "0.00"};
    case ectCurrency: {
      const QString symbol = q(s.currencyString);
      switch (s.currencyFormat) {
        case 1: return {"00.00" + symbol};
        case 2: return {symbol + " 00.00"};
        case 3: return {"00.00 " + symbol};
        default: return {symbol + "00.00"};
      }
    }
    case ectDate:
      return {sd, ld};
    case ectTime:
      return {st, lt};
    case ectDateTime:
      return {sd, ld, sd + " " + st, sd + " " + lt, ld + " " + st, ld + " " + lt, st, lt};
    default:
      return {};
  }
}

void TVantrix3DialogF::FillFields() {
  auto* available = Control<QTreeWidget>("lstAvailableFields");
  auto* formatFields = Control<QComboBox>("cbxFormatFields");
  auto* userFormats = Control<QTreeWidget>("lstUserFormats");
  auto* grid = Control<QTableWidget>("sgrCaptions");
  const QSignalBlocker b1(available), b2(formatFields), b3(userFormats), b4(grid);
  available->setUpdatesEnabled(false);
  available->clear();
  Control<QTreeWidget>("lstExportedFields")->clear();
  formatFields->clear();
  for (const char* name : {"cbXLSChartCategoryLabelColumn", "cbXLSSeriesColumn"})
    if (auto* combo = Control<QComboBox>(name)) combo->clear();
  grid->setRowCount(2);
  const TVantrixColumns& columns = dialog_.Columns();
  for (int i = 0; i < columns.Count(); ++i) {
    const TVantrixColumn& column = columns[i];
    const QString name = platform::FromCp1252(column.Name);
    for (const char* combo : {"cbXLSChartCategoryLabelColumn", "cbXLSSeriesColumn"})
      if (auto* c = Control<QComboBox>(combo)) c->addItem(name);
    QTreeWidgetItem* item = AddListItem(available, name, 0, nullptr);
    item->setData(0, kFieldIndexRole, i);
    if (IsFormattedType(column.ColType)) formatFields->addItem(name, static_cast<int>(column.ColType));
    if (column.AllowFormat && !column.GetIsDefaultFormat()) {
      QTreeWidgetItem* format = AddListItem(userFormats, name, 2, nullptr);
      format->setText(1, QStringLiteral("="));
      format->setText(2, platform::FromCp1252(column.Format));
    }
    SetGridCell(grid, i + 1, 0, name);
    SetGridCell(grid, i + 1, 1, platform::FromCp1252(column.Caption));
    grid->setRowCount(grid->rowCount() + 1);
  }
  if (grid->rowCount() > 2) grid->setRowCount(grid->rowCount() - 1);
  available->setUpdatesEnabled(true);
  SelectFirst(available);
  FillStyleLists();
  ShowFormatButtons();
}

void TVantrix3DialogF::MakeStringGrid() {
  const TAllowedExport t = GetExportType();
  auto* grid = Control<QTableWidget>("sgrCaptions");
  const QSignalBlocker block(grid);
  QString caption;
  QList<int> widths;
  switch (t) {
    case aeXLS:
      widths = {181, 181, 78};
      caption = Str(34110) + " & " + Str(34111);
      break;
    case aeHTML:
      widths = {181, 181, 78};
      caption = Str(34110) + " & " + Str(34112);
      break;
    case aeWord: case aeRTF: case aePDF: case aeTXT:
      widths = {150, 150, 78, 60};
      caption = Str(34110) + " & " + Str(34111) + " & " + Str(34112);
      break;
    default:
      widths = {220, 220};
      caption = Str(34110);
      break;
  }
  grid->setColumnCount(static_cast<int>(widths.size()));
  for (int c = 0; c < widths.size(); ++c) grid->setColumnWidth(c, widths[c]);
  auto* pages = Control<QTabWidget>("Pages");
  // A tab shows "&&" as one "&".
  pages->setTabText(pages->indexOf(Control<QWidget>("tshCaptions")), QString(caption).replace("&", "&&"));
  const bool align = t == aeWord || t == aeRTF || t == aeHTML || t == aePDF || t == aeTXT;
  const bool width = t == aeXLS || t == aeWord || t == aeRTF || t == aePDF || t == aeTXT;
  const int widthColumn = t == aeXLS ? 2 : 3;
  const QString alignText[] = {Str(34113), Str(34115), Str(34114)};
  // Each column's first row of its name, found through an index: a walk through the rows for
  // each column would grow with the square of the fields.
  CaptionIndex rows;
  for (int row = 1; row < grid->rowCount(); ++row)
    if (const QTableWidgetItem* cell = grid->item(row, 0)) rows.Add(cell->text(), row);
  const TVantrixColumns& columns = dialog_.Columns();
  for (int i = 0; i < columns.Count(); ++i) {
    const int row = rows.Find(platform::FromCp1252(columns[i].Name));
    if (row < 1) continue;
    if (align) SetGridCell(grid, row, 2, alignText[std::clamp(static_cast<int>(columns[i].Align), 0, 2)]);
    if (width) SetGridCell(grid, row, widthColumn, QString::number(columns[i].Width));
  }
}

// Only rows the string grid has and columns it has are read: a caption row or a field number
// past the grid's end would read outside it.
void TVantrix3DialogF::LoadStringGridCaption() {
  const TVantrixModelSource* source = dialog_.StringGrid();
  const int row = opt_.CaptionRow;
  if (source == nullptr || source->Model() == nullptr || row < 0 || row >= source->RowCount()) return;
  auto* grid = Control<QTableWidget>("sgrCaptions");
  const QAbstractItemModel* model = source->Model();
  for (int r = 1; r < grid->rowCount(); ++r) {
    const QTableWidgetItem* cell = grid->item(r, 0);
    if (cell == nullptr) continue;
    bool ok = false;
    const int n = cell->text().toInt(&ok);
    if (!ok || n < 0 || n >= source->ColumnCount()) continue;
    SetGridCell(grid, r, 1, model->index(row, n).data(Qt::DisplayRole).toString());
  }
}

// --- field lists --------------------------------------------------------------------------

int TVantrix3DialogF::GetIndexOfNewAvailableFields(QTreeWidgetItem* item) const {
  const auto* available = Control<QTreeWidget>("lstAvailableFields");
  const int own = FieldIndex(item);
  int at = 0;
  for (int i = 0; i < available->topLevelItemCount(); ++i)
    if (FieldIndex(available->topLevelItem(i)) <= own) at = i + 1;
  return at;
}

namespace {

QTreeWidgetItem* MoveField(QTreeWidget* from, QTreeWidgetItem* item, QTreeWidget* to, int at, int image) {
  QTreeWidgetItem* taken = from->takeTopLevelItem(from->indexOfTopLevelItem(item));
  to->insertTopLevelItem(std::clamp(at, 0, to->topLevelItemCount()), taken);
  SetItemImage(taken, image);
  return taken;
}

}  // namespace

void TVantrix3DialogF::bAddOneExportedFieldClick() {
  auto* available = Control<QTreeWidget>("lstAvailableFields");
  auto* exported = Control<QTreeWidget>("lstExportedFields");
  QTreeWidgetItem* item = available->currentItem();
  if (item == nullptr) return;
  const int at = available->indexOfTopLevelItem(item);
  exported->setCurrentItem(MoveField(available, item, exported, exported->topLevelItemCount(), 1));
  if (available->topLevelItemCount() > 0)
    available->setCurrentItem(available->topLevelItem(std::min(at, available->topLevelItemCount() - 1)));
  CorrectXLSFieldsList(*this);
}

void TVantrix3DialogF::bAddAllExportedFieldClick() {
  auto* available = Control<QTreeWidget>("lstAvailableFields");
  auto* exported = Control<QTreeWidget>("lstExportedFields");
  // All at once, in their order, before the fields exported already: one at a time, each
  // would shift the whole list.
  const QList<QTreeWidgetItem*> moved = available->invisibleRootItem()->takeChildren();
  for (QTreeWidgetItem* item : moved) SetItemImage(item, 1);
  exported->insertTopLevelItems(0, moved);
  SelectFirst(exported);
  CorrectXLSFieldsList(*this);
}

void TVantrix3DialogF::bDelOneExportedFieldClick() {
  auto* available = Control<QTreeWidget>("lstAvailableFields");
  auto* exported = Control<QTreeWidget>("lstExportedFields");
  QTreeWidgetItem* item = exported->currentItem();
  if (item == nullptr) return;
  const int at = exported->indexOfTopLevelItem(item);
  available->setCurrentItem(MoveField(exported, item, available, GetIndexOfNewAvailableFields(item), 0));
  if (exported->topLevelItemCount() > 0)
    exported->setCurrentItem(exported->topLevelItem(std::min(at, exported->topLevelItemCount() - 1)));
  CorrectXLSFieldsList(*this);
}

// Each field goes back after the last available one whose number is not above its own. With
// the available list in field order (unless fields were dragged within it) that is the two
// lists merged by field number, done at once; otherwise field by field.
void TVantrix3DialogF::bDelAllExportedFieldClick() {
  auto* available = Control<QTreeWidget>("lstAvailableFields");
  auto* exported = Control<QTreeWidget>("lstExportedFields");
  QList<QTreeWidgetItem*> back = exported->invisibleRootItem()->takeChildren();
  for (QTreeWidgetItem* item : back) SetItemImage(item, 0);
  const auto byNumber = [](const QTreeWidgetItem* a, const QTreeWidgetItem* b) { return FieldIndex(a) < FieldIndex(b); };
  QList<QTreeWidgetItem*> kept;
  for (int i = 0; i < available->topLevelItemCount(); ++i) kept << available->topLevelItem(i);
  if (std::is_sorted(kept.begin(), kept.end(), byNumber)) {
    std::stable_sort(back.begin(), back.end(), byNumber);
    QList<QTreeWidgetItem*> merged;
    merged.reserve(kept.size() + back.size());
    std::merge(kept.begin(), kept.end(), back.begin(), back.end(), std::back_inserter(merged), byNumber);
    available->invisibleRootItem()->takeChildren();
    available->addTopLevelItems(merged);
  } else {
    for (QTreeWidgetItem* item : back) available->insertTopLevelItem(GetIndexOfNewAvailableFields(item), item);
  }
  SelectFirst(available);
  CorrectXLSFieldsList(*this);
}

void TVantrix3DialogF::ExportFieldsNamed(const QStringList& names) {
  auto* available = Control<QTreeWidget>("lstAvailableFields");
  auto* exported = Control<QTreeWidget>("lstExportedFields");
  QHash<QString, QList<int>> named;  // positions in list order, without regard to case
  const int count = available->topLevelItemCount();
  for (int i = 0; i < count; ++i) named[available->topLevelItem(i)->text(0).toCaseFolded()] << i;
  std::vector<bool> moved(static_cast<size_t>(count));
  QList<QTreeWidgetItem*> chosen;
  int last = -1;
  for (const QString& name : names) {
    const auto found = named.find(name.toCaseFolded());
    if (found == named.end() || found->isEmpty()) continue;
    last = found->takeFirst();
    moved[static_cast<size_t>(last)] = true;
    chosen << available->topLevelItem(last);
  }
  if (chosen.isEmpty()) return;
  // As the add button leaves them: the last field moved current in the exported list, and in
  // the available list the field that took its place (or the last one).
  QList<QTreeWidgetItem*> rest;
  int lastAt = 0;
  for (int i = 0; i < count; ++i) {
    if (moved[static_cast<size_t>(i)]) continue;
    if (i < last) ++lastAt;
    rest << available->topLevelItem(i);
  }
  available->invisibleRootItem()->takeChildren();
  available->addTopLevelItems(rest);
  for (QTreeWidgetItem* item : chosen) SetItemImage(item, 1);
  exported->addTopLevelItems(chosen);
  exported->setCurrentItem(chosen.last());
  if (!rest.isEmpty()) available->setCurrentItem(rest[std::min(lastAt, static_cast<int>(rest.size()) - 1)]);
  CorrectXLSFieldsList(*this);
}

// --- user formats -------------------------------------------------------------------------

void TVantrix3DialogF::cbxFormatFieldsChange() {
  auto* fields = Control<QComboBox>("cbxFormatFields");
  auto* suggestions = Control<QComboBox>("cbxUserFormats");
  const QSignalBlocker block(suggestions);
  suggestions->clear();
  if (fields->currentIndex() < 0) return;
  const auto type = static_cast<TVantrixColType>(fields->currentData().toInt());
  suggestions->addItems(UserFormatSuggestions(type, dialog_.Formats().Settings()));
  if (suggestions->count() > 0) suggestions->setCurrentIndex(0);
}

void TVantrix3DialogF::bAddUserFormatClick() {
  const QString field = Control<QComboBox>("cbxFormatFields")->currentText();
  const QString format = Control<QComboBox>("cbxUserFormats")->currentText();
  if (format.isEmpty() || field.isEmpty()) return;
  auto* list = Control<QTreeWidget>("lstUserFormats");
  for (int i = list->topLevelItemCount() - 1; i >= 0; --i)
    if (list->topLevelItem(i)->text(0).compare(field, Qt::CaseInsensitive) == 0) delete list->takeTopLevelItem(i);
  QTreeWidgetItem* item = AddListItem(list, field, 2, nullptr);
  item->setText(1, QStringLiteral("="));
  item->setText(2, format);
  list->setCurrentItem(item);
  ShowFormatButtons();
}

namespace {

// The entry the user chose: the current item only while it is selected (a deselected row
// stays current in the list).
QTreeWidgetItem* ChosenItem(const QTreeWidget* list) {
  QTreeWidgetItem* item = list->currentItem();
  return item != nullptr && item->isSelected() ? item : nullptr;
}

}  // namespace

// Editing and deleting need a chosen entry; without one they do nothing.
void TVantrix3DialogF::bEditUserFormatClick() {
  QTreeWidgetItem* item = ChosenItem(Control<QTreeWidget>("lstUserFormats"));
  if (item == nullptr) return;
  const std::optional<QString> answer = dialog_.Services().InputBox(this, Str(34021), Str(34022), item->text(2));
  if (answer && *answer != item->text(2)) item->setText(2, *answer);
}

void TVantrix3DialogF::bDeleteUserFormatClick() {
  auto* list = Control<QTreeWidget>("lstUserFormats");
  QTreeWidgetItem* item = ChosenItem(list);
  if (item == nullptr) return;
  delete list->takeTopLevelItem(list->indexOfTopLevelItem(item));
  SelectFirst(list);
  ShowFormatButtons();
}

void TVantrix3DialogF::bClearUserFormatsClick() {
  Control<QTreeWidget>("lstUserFormats")->clear();
  ShowFormatButtons();
}

void TVantrix3DialogF::ShowFormatButtons() {
  const bool any = Control<QTreeWidget>("lstUserFormats")->topLevelItemCount() > 0;
  for (const char* name : {"bEditUserFormat", "bDeleteUserFormat", "bClearUserFormats"})
    Control<QWidget>(name)->setEnabled(any);
}

}  // namespace vantrix
