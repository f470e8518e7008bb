#include "export/dialog/style_lists.h"

#include <QHash>
#include <QSet>
#include <QSignalBlocker>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>

#include "export/dialog/dialog_services.h"
#include "export/dialog/list_items.h"
#include "export/dialog/style_editing.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/ini_helpers.h"
#include "export/library_strings.h"
#include "export/rtf_style.h"
#include "export/xls/xls_format.h"
#include "export/xls/xls_options.h"
#include "platform/ini_file.h"
#include "platform/qt_text.h"

namespace vantrix {

namespace {

constexpr char kXLSStylePrefix[] = "XLS_STYLE_";
constexpr char kRTFStylePrefix[] = "RTF_STRIP_STYLE_";

QString ItemCaption() { return platform::FromCp1252(VantrixLoadStr(34252)); }

bool StartsWithNoCase(const std::string& text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         QString::fromLatin1(text.data(), static_cast<qsizetype>(prefix.size()))
                 .compare(QLatin1String(prefix.data(), static_cast<qsizetype>(prefix.size())), Qt::CaseInsensitive) == 0;
}

template <class Copy>
void CopyXLS(QTreeWidgetItem* current, QTreeWidgetItem* item, Copy copy) {
  if (item == current) return;
  TxlsFormat* from = XLSItemFormat(current);
  TxlsFormat* to = XLSItemFormat(item);
  if (from != nullptr && to != nullptr) copy(*from, *to);
}

template <class Copy>
void CopyRTF(QTreeWidgetItem* current, QTreeWidgetItem* item, Copy copy) {
  if (item == current) return;
  TrtfStyle* from = RTFItemStyle(current);
  TrtfStyle* to = RTFItemStyle(item);
  if (from != nullptr && to != nullptr) copy(*from, *to);
}

void ShowStyleButtons(TVantrix3DialogF& form, const char* listName, std::initializer_list<const char*> buttons) {
  auto* list = form.Control<QTreeWidget>(listName);
  if (list == nullptr) return;
  QTreeWidgetItem* selected = list->currentItem() != nullptr && list->currentItem()->isSelected()
                                  ? list->currentItem()
                                  : (list->selectedItems().isEmpty() ? nullptr : list->selectedItems().first());
  const int count = list->topLevelItemCount();
  const int index = selected != nullptr ? list->indexOfTopLevelItem(selected) : -1;
  const bool states[] = {selected != nullptr, selected != nullptr && count > 1 && index > 0,
                         selected != nullptr && count > 1 && index < count - 1, count > 0};
  int i = 0;
  for (const char* name : buttons) {
    if (auto* b = form.Control<QToolButton>(name)) b->setEnabled(states[i]);
    ++i;
  }
}

// Empties the list and adds one item per section of the file with the prefix; make gives the
// object each item carries, loaded from its section. A file that cannot be read (a UTF-16 one
// among them) raises and leaves the list as it was, instead of emptying it.
void LoadStyleList(QTreeWidget* list, const std::string& fileName, std::string_view prefix,
                   const std::function<void*(const platform::IniFile&, const std::string&)>& make) {
  platform::IniFile file(fileName);
  CheckIniFileReadable(file);
  // Read as it is now: outside a scope every read looks again whether the file changed.
  const platform::IniFile::UpdateScope asReadNow(file);
  const platform::IniFile& ini = file;
  {
    const QSignalBlocker block(list);
    list->setUpdatesEnabled(false);
    list->clear();
    for (const std::string& section : ini.ReadSections()) {
      if (!StartsWithNoCase(section, prefix)) continue;
      AddListItem(list, ItemCaption() + platform::FromCp1252(section.substr(prefix.size())), 2, make(ini, section));
    }
    list->setUpdatesEnabled(true);
  }
  if (list->topLevelItemCount() == 0) return;
  list->setFocus();
  list->setCurrentItem(list->topLevelItem(0));
}

}  // namespace

bool IsCaptionElement(const QTreeWidgetItem* item) {
  return item != nullptr && item->text(0).compare(QStringLiteral("CAPTION"), Qt::CaseInsensitive) == 0;
}

bool IsHyperlinkElement(const QTreeWidgetItem* item) {
  constexpr int kHyperlinkElement = 4;
  const QTreeWidget* list = item != nullptr ? item->treeWidget() : nullptr;
  return list != nullptr && list->objectName() == QLatin1String("lstXLSOptions") &&
         list->topLevelItem(kHyperlinkElement) == item;
}

TxlsFormat* XLSItemFormat(const QTreeWidgetItem* item) {
  return item != nullptr ? dynamic_cast<TxlsFormat*>(ItemObjectAs<TxlsCustomItem>(item)) : nullptr;
}

TrtfStyle* RTFItemStyle(const QTreeWidgetItem* item) {
  return item != nullptr ? ItemObjectAs<TrtfStyle>(item) : nullptr;
}

int XLSFontSizeFromText(const QString& text, int whenNoNumber) {
  bool ok = false;
  const qlonglong size = text.trimmed().toLongLong(&ok);
  return static_cast<int>(std::clamp<qlonglong>(ok ? size : whenNoNumber, 1, TxlsFont::kMaxSize));
}

#define VANTRIX_XLS_COPIER(name, body)                                                   \
  void XLSUpdateItem##name(QTreeWidgetItem* current, QTreeWidgetItem* item) {            \
    CopyXLS(current, item, [](const TxlsFormat& from, TxlsFormat& to) { body; });        \
  }
VANTRIX_XLS_COPIER(Font, to.Font.Name = from.Font.Name)
VANTRIX_XLS_COPIER(FontSize, to.Font.Size = std::clamp(from.Font.Size, 1, TxlsFont::kMaxSize))
VANTRIX_XLS_COPIER(FontColor, to.Font.Color = from.Font.Color)
VANTRIX_XLS_COPIER(FontBold, EditFontStyleXLS(to.Font, xfsBold, from.Font.Style.Has(xfsBold)))
VANTRIX_XLS_COPIER(FontItalic, EditFontStyleXLS(to.Font, xfsItalic, from.Font.Style.Has(xfsItalic)))
VANTRIX_XLS_COPIER(FontStrikeOut, EditFontStyleXLS(to.Font, xfsStrikeOut, from.Font.Style.Has(xfsStrikeOut)))
VANTRIX_XLS_COPIER(FontUnderline, to.Font.Underline = from.Font.Underline)
VANTRIX_XLS_COPIER(HorAlignment, to.Alignment.Horizontal = from.Alignment.Horizontal)
VANTRIX_XLS_COPIER(VertAlignment, to.Alignment.Vertical = from.Alignment.Vertical)
VANTRIX_XLS_COPIER(BorderTop, to.Borders.Top.Style = from.Borders.Top.Style)
VANTRIX_XLS_COPIER(BorderBottom, to.Borders.Bottom.Style = from.Borders.Bottom.Style)
VANTRIX_XLS_COPIER(BorderLeft, to.Borders.Left.Style = from.Borders.Left.Style)
VANTRIX_XLS_COPIER(BorderRight, to.Borders.Right.Style = from.Borders.Right.Style)
VANTRIX_XLS_COPIER(BorderTopColor, to.Borders.Top.Color = from.Borders.Top.Color)
VANTRIX_XLS_COPIER(BorderBottomColor, to.Borders.Bottom.Color = from.Borders.Bottom.Color)
VANTRIX_XLS_COPIER(BorderLeftColor, to.Borders.Left.Color = from.Borders.Left.Color)
VANTRIX_XLS_COPIER(BorderRightColor, to.Borders.Right.Color = from.Borders.Right.Color)
VANTRIX_XLS_COPIER(FillPattern, to.Fill.Pattern = from.Fill.Pattern)
VANTRIX_XLS_COPIER(FillBackground, to.Fill.Background = from.Fill.Background)
VANTRIX_XLS_COPIER(FillForeground, to.Fill.Foreground = from.Fill.Foreground)
#undef VANTRIX_XLS_COPIER

void XLSUpdateItemAggregate(QTreeWidgetItem* current, QTreeWidgetItem* item) {
  CopyXLS(current, item, [](const TxlsFormat& from, TxlsFormat& to) {
    const auto* f = dynamic_cast<const TxlsFieldFormat*>(&from);
    auto* t = dynamic_cast<TxlsFieldFormat*>(&to);
    if (f != nullptr && t != nullptr) t->Aggregate = f->Aggregate;
  });
}

#define VANTRIX_RTF_COPIER(name, body)                                               \
  void RTFUpdateItem##name(QTreeWidgetItem* current, QTreeWidgetItem* item) {        \
    CopyRTF(current, item, [](const TrtfStyle& from, TrtfStyle& to) { body; });      \
  }
VANTRIX_RTF_COPIER(Font, to.Font.name = from.Font.name)
VANTRIX_RTF_COPIER(FontSize, to.Font.size = from.Font.size)
VANTRIX_RTF_COPIER(FontColor, to.Font.color = from.Font.color)
VANTRIX_RTF_COPIER(FontBold, EditFontStyle(to.Font, fsBold, from.Font.HasStyle(fsBold)))
VANTRIX_RTF_COPIER(FontItalic, EditFontStyle(to.Font, fsItalic, from.Font.HasStyle(fsItalic)))
VANTRIX_RTF_COPIER(FontStrikeOut, EditFontStyle(to.Font, fsStrikeOut, from.Font.HasStyle(fsStrikeOut)))
VANTRIX_RTF_COPIER(FontUnderline, EditFontStyle(to.Font, fsUnderline, from.Font.HasStyle(fsUnderline)))
VANTRIX_RTF_COPIER(BackgroundColor, to.BackgroundColor = from.BackgroundColor)
VANTRIX_RTF_COPIER(HighlightColor, to.HighlightColor = from.HighlightColor)
VANTRIX_RTF_COPIER(AllowBackground, to.AllowBackground = from.AllowBackground)
VANTRIX_RTF_COPIER(AllowHighlight, to.AllowHighlight = from.AllowHighlight)
VANTRIX_RTF_COPIER(Alignment, to.Alignment = from.Alignment)
#undef VANTRIX_RTF_COPIER

namespace {

// An item back to its defaults; the caption element to the caption defaults (bold).
template <class T, class Caption>
void ResetItem(QTreeWidgetItem* item, T* (*get)(const QTreeWidgetItem*), Caption caption) {
  T* object = get(item);
  if (object == nullptr) return;
  if (IsCaptionElement(item))
    caption(*object);
  else
    object->SetDefault();
}

void ResetXLS(QTreeWidgetItem* item) {
  if (TxlsFormat* format = XLSItemFormat(item); format != nullptr && IsHyperlinkElement(item))
    SetDefaultXLSHyperlink(*format);
  else
    ResetItem(item, XLSItemFormat, SetDefaultXLSCaption);
}
void ResetRTF(QTreeWidgetItem* item) { ResetItem(item, RTFItemStyle, SetDefaultRTFCaption); }

// Every item of the lists (stopping at a missing list) back to its defaults. The current item
// takes the same defaults as the others, so a current caption element stays bold too.
void ResetLists(std::initializer_list<QTreeWidget*> lists, void (*reset)(QTreeWidgetItem*)) {
  for (QTreeWidget* list : lists) {
    if (list == nullptr) break;
    ForAllListViewItems(list, false, true, reset);
  }
}

void ResetAll(QTreeWidget* list, QTreeWidgetItem* current, const TListItemChanged& changed,
              void (*reset)(QTreeWidgetItem*)) {
  if (list == nullptr) return;
  ResetLists({list}, reset);
  // A current item of another list, or none, is neither selected nor reported.
  if (current == nullptr || current->treeWidget() != list) return;
  list->setCurrentItem(current);
  if (changed) changed(current);
}

}  // namespace

void ResetXLSItemFormat(QTreeWidgetItem* item) { ResetXLS(item); }

void XLSUpdateItemSetDefault(QTreeWidgetItem* current, QTreeWidgetItem* item) {
  if (item != current) ResetXLS(item);
}

void RTFUpdateItemSetDefault(QTreeWidgetItem* current, QTreeWidgetItem* item) {
  if (item != current) ResetRTF(item);
}

bool ConfirmResetAll(TVantrix3DialogF& form) {
  MessageRequest ask;
  ask.caption = QStringLiteral("Attention!");
  ask.text = QStringLiteral("All field formats will be reset the default values.\n\rAre you sure?");
  ask.icon = MessageIcon::Warning;
  ask.yesNo = true;
  ask.defaultNo = true;
  return form.GetDialog().Services().Message(&form, ask) != MessageAnswer::No;
}

void XLSResetAllItems(QTreeWidget* list, QTreeWidgetItem* current, const TListItemChanged& changed) {
  ResetAll(list, current, changed, ResetXLS);
}

void RTFResetAllItems(QTreeWidget* list, QTreeWidgetItem* current, const TListItemChanged& changed) {
  ResetAll(list, current, changed, ResetRTF);
}

void XLSResetAllItems_A(std::initializer_list<QTreeWidget*> lists, QTreeWidgetItem*) { ResetLists(lists, ResetXLS); }
void RTFResetAllItems_A(std::initializer_list<QTreeWidget*> lists, QTreeWidgetItem*) { ResetLists(lists, ResetRTF); }

void RenumStyles(QTreeWidget* list) {
  if (list == nullptr) return;
  const QString caption = ItemCaption();
  for (int i = 0; i < list->topLevelItemCount(); ++i) list->topLevelItem(i)->setText(0, caption + QString::number(i + 1));
  if (QTreeWidgetItem* selected = list->currentItem(); selected != nullptr && selected->isSelected()) {
    list->scrollToItem(selected);
    list->setCurrentItem(selected);
  }
}

void XLSRenumStyles(TVantrix3DialogF& form) { RenumStyles(form.Control<QTreeWidget>("lstXLSStyles")); }
void RTFRenumStyles(TVantrix3DialogF& form) { RenumStyles(form.Control<QTreeWidget>("lstRTFStripStyles")); }

void XLSShowStyleButtons(TVantrix3DialogF& form) {
  ShowStyleButtons(form, "lstXLSStyles", {"tbtDelXLSStyle", "tbtUpXLSStyle", "tbtDownXLSStyle", "tbtSaveXLSStyle"});
}

void RTFShowStyleButtons(TVantrix3DialogF& form) {
  ShowStyleButtons(form, "lstRTFStripStyles",
                   {"tbtDelRTFStyle", "tbtMoveRTFStyleUp", "tbtMoveRTFStyleDown", "tbtSaveRTFStyle"});
}

namespace {

template <class Save>
bool SaveStyleList(QTreeWidget* list, const std::string& fileName, const std::string& prefix, std::string* reason,
                   Save save) {
  platform::IniFile ini(fileName);
  platform::IniFile::UpdateScope scope(ini);
  ClearIniFile(ini);
  for (int i = 0; list != nullptr && i < list->topLevelItemCount(); ++i)
    save(list->topLevelItem(i), ini, prefix + std::to_string(i));
  const bool saved = scope.Commit();
  if (reason != nullptr) *reason = saved ? std::string() : ini.WriteError();
  return saved;
}

}  // namespace

bool XLSSaveStyle(TVantrix3DialogF& form, const std::string& fileName, std::string* reason) {
  return SaveStyleList(form.Control<QTreeWidget>("lstXLSStyles"), fileName, kXLSStylePrefix, reason,
                       [](QTreeWidgetItem* item, platform::IniFile& ini, const std::string& section) {
                         if (TxlsFormat* format = XLSItemFormat(item)) format->SaveToIniFile(ini, section);
                       });
}

bool RTFSaveStyle(TVantrix3DialogF& form, const std::string& fileName, std::string* reason) {
  return SaveStyleList(form.Control<QTreeWidget>("lstRTFStripStyles"), fileName, kRTFStylePrefix, reason,
                       [](QTreeWidgetItem* item, platform::IniFile& ini, const std::string& section) {
                         if (TrtfStyle* style = RTFItemStyle(item)) style->SaveToIniFile(ini, section);
                       });
}

void XLSLoadStyle(TVantrix3DialogF& form, const std::string& fileName) {
  LoadStyleList(form.Control<QTreeWidget>("lstXLSStyles"), fileName, kXLSStylePrefix,
                [&form](const platform::IniFile& ini, const std::string& section) -> void* {
                  auto format = std::make_unique<TxlsFormat>();
                  format->LoadFromIniFile(ini, section);
                  // A size from a file stays within what a font record holds.
                  format->Font.Size = std::clamp(format->Font.Size, 1, TxlsFont::kMaxSize);
                  return form.AdoptXLSItem(std::move(format));
                });
}

void RTFLoadStyle(TVantrix3DialogF& form, const std::string& fileName) {
  LoadStyleList(form.Control<QTreeWidget>("lstRTFStripStyles"), fileName, kRTFStylePrefix,
                [&form](const platform::IniFile& ini, const std::string& section) -> void* {
                  auto style = std::make_unique<TrtfStyle>();
                  style->LoadFromIniFile(ini, section);
                  return form.AdoptRTFStyle(std::move(style));
                });
}

void CorrectXLSFieldsList(TVantrix3DialogF& form) {
  auto* exported = form.Control<QTreeWidget>("lstExportedFields");
  auto* fields = form.Control<QTreeWidget>("lstXLSFields");
  if (exported == nullptr || fields == nullptr) return;
  const QSignalBlocker block(fields);
  if (exported->topLevelItemCount() > 0) {
    // When every exported name is there once, moving each one's format in turn to its place
    // comes to this: those formats first, in the exported order, then the others in theirs;
    // put so at once, instead of a walk through the list for each field.
    QHash<QString, int> firstOfName;
    for (int j = fields->topLevelItemCount() - 1; j >= 0; --j) firstOfName.insert(fields->topLevelItem(j)->text(0).toCaseFolded(), j);
    QSet<QString> names;
    std::vector<int> order;
    bool once = true;
    for (int i = 0; i < exported->topLevelItemCount() && once; ++i) {
      const QString name = exported->topLevelItem(i)->text(0).toCaseFolded();
      const auto found = firstOfName.constFind(name);
      once = found != firstOfName.constEnd() && !names.contains(name);
      names.insert(name);
      if (once) order.push_back(*found);
    }
    if (once) {
      const size_t placed = order.size();
      std::vector<bool> taken(static_cast<size_t>(fields->topLevelItemCount()));
      for (const int j : order) taken[static_cast<size_t>(j)] = true;
      for (size_t j = 0; j < taken.size(); ++j)
        if (!taken[j]) order.push_back(static_cast<int>(j));
      SetListOrder(fields, order);
      for (size_t p = 0; p < placed; ++p) SetItemImage(fields->topLevelItem(static_cast<int>(p)), 1);
    }
    // Names given twice, or without a format: each field's format in turn to its place.
    for (int i = 0; i < exported->topLevelItemCount() && !once; ++i) {
      const QString name = exported->topLevelItem(i)->text(0);
      names.insert(name.toCaseFolded());
      for (int j = 0; j < fields->topLevelItemCount(); ++j) {
        QTreeWidgetItem* item = fields->topLevelItem(j);
        if (item->text(0).compare(name, Qt::CaseInsensitive) != 0) continue;
        SetItemImage(item, 1);
        if (i < fields->topLevelItemCount()) SetListItemIndex(item, i);
        break;
      }
    }
    for (int j = fields->topLevelItemCount() - 1; j >= 0; --j) {
      QTreeWidgetItem* item = fields->topLevelItem(j);
      if (!names.contains(item->text(0).toCaseFolded())) SetItemImage(item, 0);
    }
    return;
  }
  const TVantrixColumns& columns = form.GetDialog().Columns();
  QHash<QString, bool> blobNamed;  // of the first column of each name
  for (int c = columns.Count() - 1; c >= 0; --c)
    blobNamed.insert(platform::FromCp1252(columns[c].Name).toCaseFolded(), columns[c].IsBlob);
  for (int j = 0; j < fields->topLevelItemCount(); ++j) {
    QTreeWidgetItem* item = fields->topLevelItem(j);
    SetItemImage(item, blobNamed.value(item->text(0).toCaseFolded(), false) ? 0 : 1);
  }
}

}  // namespace vantrix
