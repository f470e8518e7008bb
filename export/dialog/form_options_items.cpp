// The export dialog's options file, its item sections and its menu: the spreadsheet's field,
// element and strip-style formats and the extension tree's items, the RTF styles, each read
// from the sections named after them; and the Tools menu's save and load, and the save when
// the form closes.
#include <QAction>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

#include "export/dialog/dialog_services.h"
#include "export/dialog/form_file_dialogs.h"
#include "export/dialog/list_items.h"
#include "export/dialog/style_lists.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/dialog/xls_extensions_editor.h"
#include "export/library_strings.h"
#include "export/rtf_style.h"
#include "export/xls/xls_cell.h"
#include "export/xls/xls_chart.h"
#include "export/xls/xls_font.h"
#include "export/xls/xls_format.h"
#include "export/xls/xls_link_note.h"
#include "platform/cp1252_case.h"
#include "platform/ini_file.h"
#include "platform/qt_text.h"

namespace vantrix {

namespace {

QString Str(int id) { return platform::FromCp1252(VantrixLoadStr(id)); }

std::string SectionOf(const std::string& prefix, const QTreeWidgetItem* item) {
  return prefix + platform::ToCp1252(item->text(0).toUpper());
}

// The rest of a section name after a prefix, compared without regard to case.
bool StartsWithNoCase(const std::string& text, std::string_view prefix, std::string& rest) {
  if (text.size() < prefix.size() || !platform::Cp1252SameText(std::string_view(text).substr(0, prefix.size()), prefix))
    return false;
  rest = text.substr(prefix.size());
  return true;
}

// The extension items of the tree: the section prefix of each group and its kind.
struct ExtensionGroup {
  const char* prefix;
  int kind;
  const char* requiredKey;  // a section without it makes no item
};

const ExtensionGroup kExtensionGroups[] = {
    {"XLS_HYPERLINK_", xekHyperlink, nullptr}, {"XLS_NOTE_", xekNote, "Col"},
    {"XLS_CHART_", xekChart, "Style"},         {"XLS_CELL_", xekCell, "Col"},
    {"XLS_MERGED_CELL_", xekMergedCells, "FirstCol"},
};

void ReportOptionsFileError(TVantrix3DialogF& form, const std::exception& e) {
  form.ShowErrorText(platform::FromCp1252(e.what()));
}

}  // namespace

// The spreadsheet's field, element and strip-style formats, each in the section named by its
// list's prefix and its caption, then the extension tree's items, numbered within their group.
void TVantrix3DialogF::SaveXLSItems(platform::IniFile& ini) const {
  const std::pair<const char*, const char*> lists[] = {
      {"lstXLSFields", "XLS_FIELD_"}, {"lstXLSOptions", "XLS_OPTION_"}, {"lstXLSStyles", "XLS_STYLE_"}};
  for (const auto& [name, prefix] : lists) {
    const auto* list = Control<QTreeWidget>(name);
    for (int i = 0; i < list->topLevelItemCount(); ++i)
      if (const auto* item = ItemObjectAs<TxlsCustomItem>(list->topLevelItem(i)))
        item->SaveToIniFile(ini, SectionOf(prefix, list->topLevelItem(i)));
  }
  const TXLSExtensionsEditor& tree = XLSExtensions();
  const QTreeWidgetItem* groups[] = {tree.HyperlinkGroup(), tree.NoteGroup(), tree.ChartGroup(), tree.CellGroup(),
                                     tree.MergedCellsGroup()};
  for (int g = 0; g < 5; ++g)
    for (int i = 0; i < groups[g]->childCount(); ++i)
      if (const TxlsCustomItem* item = XLSNodeItem(groups[g]->child(i)))
        item->SaveToIniFile(ini, kExtensionGroups[g].prefix + std::to_string(i));
}

void TVantrix3DialogF::SaveRTFItems(platform::IniFile& ini) const {
  const std::pair<const char*, const char*> lists[] = {{"lstRTFBaseStyles", "RTF_STYLE_"},
                                                       {"lstRTFStripStyles", "RTF_STRIP_STYLE_"}};
  for (const auto& [name, prefix] : lists) {
    const auto* list = Control<QTreeWidget>(name);
    for (int i = 0; i < list->topLevelItemCount(); ++i)
      if (const TrtfStyle* style = RTFItemStyle(list->topLevelItem(i)))
        style->SaveToIniFile(ini, SectionOf(prefix, list->topLevelItem(i)));
  }
}

// The spreadsheet's items: the field and element formats are reset and read from their
// sections; the strip styles and the extension items become the file's. The strip styles
// already listed are dropped (kept before the file's, they would shift the striping of
// every row from what was saved).
void TVantrix3DialogF::LoadXLSItems(const platform::IniFile& ini) {
  auto* fields = Control<QTreeWidget>("lstXLSFields");
  auto* options = Control<QTreeWidget>("lstXLSOptions");
  auto* styles = Control<QTreeWidget>("lstXLSStyles");
  TXLSExtensionsEditor& tree = XLSExtensions();
  ClearExtensionTree();
  const QSignalBlocker b1(fields), b2(options), b3(styles);
  styles->clear();
  XLSResetAllItems_A({fields, options}, nullptr);
  const QTreeWidgetItem* groups[] = {tree.HyperlinkGroup(), tree.NoteGroup(), tree.ChartGroup(), tree.CellGroup(),
                                     tree.MergedCellsGroup()};
  const CaptionIndex fieldIndex(fields), optionIndex(options);
  for (const std::string& section : ini.ReadSections()) {
    std::string rest;
    if (StartsWithNoCase(section, "XLS_FIELD_", rest) || StartsWithNoCase(section, "XLS_OPTION_", rest)) {
      const bool field = section[4] == 'F' || section[4] == 'f';
      const QTreeWidgetItem* item = FindListItem(field ? fields : options, field ? fieldIndex : optionIndex,
                                                 platform::FromCp1252(rest));
      if (TxlsFormat* format = XLSItemFormat(item)) {
        format->LoadFromIniFile(ini, section);
        format->Font.Size = std::clamp(format->Font.Size, 1, TxlsFont::kMaxSize);
      }
      continue;
    }
    if (StartsWithNoCase(section, "XLS_STYLE_", rest)) {
      // A plain format, as the style files and the style buttons make: a field format would
      // write keys of its own and the file would no longer save back the same.
      auto format = std::make_unique<TxlsFormat>();
      format->LoadFromIniFile(ini, section);
      format->Font.Size = std::clamp(format->Font.Size, 1, TxlsFont::kMaxSize);
      AddListItem(styles, platform::FromCp1252(rest), 2,
                  static_cast<TxlsCustomItem*>(AdoptXLSItem(std::move(format))));
      continue;
    }
    for (int g = 0; g < 5; ++g) {
      const ExtensionGroup& group = kExtensionGroups[g];
      if (!StartsWithNoCase(section, group.prefix, rest)) continue;
      if (group.requiredKey != nullptr && !ini.ValueExists(section, group.requiredKey)) break;
      std::unique_ptr<TxlsCustomItem> item;
      switch (group.kind) {
        case xekHyperlink: item = std::make_unique<TxlsHyperlink>(); break;
        case xekNote: item = std::make_unique<TxlsNote>(); break;
        case xekChart: item = std::make_unique<TxlsChart>(); break;
        case xekCell: item = std::make_unique<TxlsCell>(); break;
        default: item = std::make_unique<TxlsMergedCells>(); break;
      }
      // Each item keeps the rows and columns it reads within what its records hold.
      item->LoadFromIniFile(ini, section);
      const int n = groups[g]->childCount() + 1;
      const auto numbered = [n](int id) { return Str(id) + QLatin1Char('_') + QString::number(n); };
      QString text;
      if (auto* link = dynamic_cast<TxlsHyperlink*>(item.get()))
        text = link->Title.empty() ? numbered(34296) : QString::fromStdU16String(link->Title);
      else if (auto* chart = dynamic_cast<TxlsChart*>(item.get()))
        text = chart->Title.empty() ? numbered(34352) : QString::fromStdU16String(chart->Title);
      else if (auto* cell = dynamic_cast<TxlsCell*>(item.get()))
        text = XLSCellNodeText(*cell);
      else if (group.kind == xekNote)
        text = numbered(34308);
      else
        text = Str(34431) + QLatin1Char(' ') + QString::number(n - 1);
      const QSignalBlocker block(tree.Tree());
      tree.AddItemNode(group.kind, text, std::move(item));
      break;
    }
  }
  // Links take the hyperlink element's look, as links added in the tree do.
  tree.XLSUpdateHyperlinkFormats();
  if (styles->topLevelItemCount() > 0) styles->setCurrentItem(styles->topLevelItem(0));
  XLSShowStyleButtons(*this);
}

// The RTF base styles are reset and read from their sections; the strip styles become the
// file's. The lists are refilled with their signals held: the style editor is shown again at
// the end, or it would keep showing the styles as they were.
void TVantrix3DialogF::LoadRTFItems(const platform::IniFile& ini) {
  auto* base = Control<QTreeWidget>("lstRTFBaseStyles");
  auto* strip = Control<QTreeWidget>("lstRTFStripStyles");
  {
    const QSignalBlocker b1(base), b2(strip);
    strip->clear();
    RTFResetAllItems_A({base}, nullptr);
    const CaptionIndex baseIndex(base);
    for (const std::string& section : ini.ReadSections()) {
      std::string rest;
      if (StartsWithNoCase(section, "RTF_STYLE_", rest)) {
        if (TrtfStyle* style = RTFItemStyle(FindListItem(base, baseIndex, platform::FromCp1252(rest))))
          style->LoadFromIniFile(ini, section);
      } else if (StartsWithNoCase(section, "RTF_STRIP_STYLE_", rest)) {
        auto style = std::make_unique<TrtfStyle>();
        style->LoadFromIniFile(ini, section);
        AddListItem(strip, platform::FromCp1252(rest), 2, AdoptRTFStyle(std::move(style)));
      }
    }
    if (strip->topLevelItemCount() > 0) strip->setCurrentItem(strip->topLevelItem(0));
  }
  RTFShowStyleButtons(*this);
  ShowRTFSelection();
}

void TVantrix3DialogF::miSaveOptionsClick() { ChooseOptionsFile(true); }
void TVantrix3DialogF::miLoadOptionsClick() { ChooseOptionsFile(false); }

// The options file dialog starts with the file last used; the one chosen becomes it.
void TVantrix3DialogF::ChooseOptionsFile(bool save) {
  FileRequest request = FormFileDialog(save ? "sdOptions" : "odOptions");
  request.initialFile = FromFileSystemName(opt_.OptionsFileName);
  const std::optional<QString> chosen =
      save ? dialog_.Services().SaveFile(this, request) : dialog_.Services().OpenFile(this, request);
  if (!chosen) return;
  // A file name, not text: in code page 1252 an accented folder would be another folder.
  SetOptionsFileName(FileSystemName(*chosen));
  try {
    if (save)
      SaveExportOptions(opt_.OptionsFileName);
    else
      LoadExportOptions(opt_.OptionsFileName);
  } catch (const std::exception& e) {
    ReportOptionsFileError(*this, e);
  }
}

void TVantrix3DialogF::ClearExtensionTree() {
  TXLSExtensionsEditor& tree = XLSExtensions();
  const QSignalBlocker block(tree.Tree());
  tree.XLSClearHyperlinkNodes();
  tree.XLSClearNoteNodes();
  tree.XLSClearChartNodes();
  tree.XLSClearCellNodes();
  tree.XLSClearMergedCellsNodes();
}

void TVantrix3DialogF::ConnectOptionsFileItems() {
  connect(Control<QAction>("miSaveOptions"), &QAction::triggered, this, [this] { miSaveOptionsClick(); });
  connect(Control<QAction>("miLoadOptions"), &QAction::triggered, this, [this] { miLoadOptionsClick(); });
}

// A file that cannot be written is told, and the form closes all the same: the options are
// a convenience, never a reason to keep the user in the dialog.
void TVantrix3DialogF::AutoSaveOptions() {
  if (!dialog_.AutoSaveOptions || opt_.OptionsFileName.empty()) return;
  try {
    SaveExportOptions(opt_.OptionsFileName);
  } catch (const std::exception& e) {
    ReportOptionsFileError(*this, e);
  }
}

}  // namespace vantrix
