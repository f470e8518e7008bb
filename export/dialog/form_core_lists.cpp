// The style lists the form starts with: the spreadsheet's five fixed formats, one field format
// per column and the strip styles; the RTF base and strip styles. Each item carries its own
// copy, which the form keeps (an item deleted by an editor leaves its object to the form,
// which frees it when the strip styles are deleted or reloaded, or when it closes), and the
// run copies the items back into the exporter.
#include <QTreeWidget>
#include <unordered_set>

#include "export/dialog/list_items.h"
#include "export/dialog/xls_extensions_editor.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/library_strings.h"
#include "export/rtf_style.h"
#include "export/xls/vantrix3_xls.h"
#include "export/xls/xls_cell.h"
#include "export/xls/xls_chart.h"
#include "export/xls/xls_format.h"
#include "export/xls/xls_link_note.h"
#include "platform/qt_text.h"

namespace vantrix {

namespace {

QString Str(int id) { return platform::FromCp1252(VantrixLoadStr(id)); }

void SelectFirst(QTreeWidget* list) {
  if (list != nullptr && list->topLevelItemCount() > 0) list->setCurrentItem(list->topLevelItem(0));
}

}  // namespace

TxlsCustomItem* TVantrix3DialogF::AdoptXLSItem(std::unique_ptr<TxlsCustomItem> item) {
  xlsItems_.push_back(std::move(item));
  return xlsItems_.back().get();
}

TrtfStyle* TVantrix3DialogF::AdoptRTFStyle(std::unique_ptr<TrtfStyle> style) {
  rtfStyles_.push_back(std::move(style));
  return rtfStyles_.back().get();
}

namespace {

template <class T>
void ReleaseUncarried(std::vector<std::unique_ptr<T>>& owned, std::initializer_list<const QTreeWidget*> lists) {
  std::unordered_set<const void*> carried;
  for (const QTreeWidget* list : lists)
    for (int i = 0; list != nullptr && i < list->topLevelItemCount(); ++i) carried.insert(ItemObject(list->topLevelItem(i)));
  std::erase_if(owned, [&carried](const std::unique_ptr<T>& object) { return !carried.contains(object.get()); });
}

}  // namespace

void TVantrix3DialogF::ReleaseUnusedStyles() {
  ReleaseUncarried(xlsItems_, {Control<QTreeWidget>("lstXLSFields"), Control<QTreeWidget>("lstXLSOptions"),
                               Control<QTreeWidget>("lstXLSStyles")});
  ReleaseUncarried(rtfStyles_, {Control<QTreeWidget>("lstRTFBaseStyles"), Control<QTreeWidget>("lstRTFStripStyles")});
}

void TVantrix3DialogF::FillStyleLists() {
  const TVantrixXLSOptions& xls = dialog_.XLSOptions;
  auto* options = Control<QTreeWidget>("lstXLSOptions");
  auto* fields = Control<QTreeWidget>("lstXLSFields");
  auto* styles = Control<QTreeWidget>("lstXLSStyles");
  auto* rtfBase = Control<QTreeWidget>("lstRTFBaseStyles");
  auto* rtfStrip = Control<QTreeWidget>("lstRTFStripStyles");
  for (QTreeWidget* list : {options, fields, styles, rtfBase, rtfStrip}) {
    const QSignalBlocker block(list);
    list->clear();
  }
  const auto addFormat = [this](QTreeWidget* list, const QString& caption, const TxlsFormat& from, int image) {
    auto copy = std::make_unique<TxlsFormat>();
    copy->Assign(from);
    AddListItem(list, caption, image, static_cast<TxlsCustomItem*>(AdoptXLSItem(std::move(copy))));
  };
  const std::pair<int, const TxlsFormat*> fixed[] = {
      {34243, &xls.HeaderFormat}, {34244, &xls.CaptionFormat},    {34246, &xls.AggregateFormat},
      {34247, &xls.FooterFormat}, {34248, &xls.HyperlinkFormat},
  };
  for (const auto& [id, format] : fixed) addFormat(options, Str(id), *format, 3);

  const std::pair<int, const TrtfStyle*> base[] = {
      {34154, &dialog_.RTFOptions.HeaderStyle},
      {34155, &dialog_.RTFOptions.CaptionStyle},
      {34156, &dialog_.RTFOptions.DataStyle},
      {34157, &dialog_.RTFOptions.FooterStyle},
  };
  for (const auto& [id, style] : base)
    AddListItem(rtfBase, Str(id), 3, AdoptRTFStyle(std::make_unique<TrtfStyle>(*style)));

  const TVantrixColumns& columns = dialog_.Columns();
  for (int i = 0; i < columns.Count(); ++i) {
    auto format = std::make_unique<TxlsFieldFormat>();
    const int known = xls.FieldFormats.IndexByName(columns[i].Name);
    // Assigned first and named after: assigning copies the source's name, which may be empty.
    if (known >= 0)
      format->Assign(xls.FieldFormats[static_cast<size_t>(known)]);
    else
      format->Assign(xls.DataFormat);
    format->FieldName = columns[i].Name;
    AddListItem(fields, platform::FromCp1252(columns[i].Name), columns[i].IsBlob ? 0 : 1,
                static_cast<TxlsCustomItem*>(AdoptXLSItem(std::move(format))));
  }
  // Strip styles of both lists are "ITEM_" and their number, as the style files name them.
  const auto stripCaption = [](const QTreeWidget* list) { return Str(34252) + QString::number(list->topLevelItemCount()); };
  for (size_t i = 0; i < xls.StripStyles.Count(); ++i) addFormat(styles, stripCaption(styles), xls.StripStyles[i], 2);
  for (int i = 0; i < dialog_.RTFOptions.StripStyles.Count(); ++i)
    AddListItem(rtfStrip, stripCaption(rtfStrip), 2,
                AdoptRTFStyle(std::make_unique<TrtfStyle>(dialog_.RTFOptions.StripStyles[i])));
  for (QTreeWidget* list : {options, fields, styles, rtfBase, rtfStrip}) SelectFirst(list);
  FillExtensionTree();
}

// One node per extension item of the dialog's spreadsheet options, each with its own copy;
// as many merged-range nodes as there are merged ranges.
void TVantrix3DialogF::FillExtensionTree() {
  ClearExtensionTree();
  TXLSExtensionsEditor& tree = XLSExtensions();
  const QSignalBlocker block(tree.Tree());
  const TVantrixXLSOptions& xls = dialog_.XLSOptions;
  const auto numbered = [](int id, const char* separator, size_t i) {
    return Str(id) + QLatin1String(separator) + QString::number(i + 1);
  };
  const auto titled = [](const WideString& title, const QString& otherwise) {
    return title.empty() ? otherwise : QString::fromStdU16String(title);
  };
  for (size_t i = 0; i < xls.Hyperlinks.Count(); ++i) {
    auto copy = std::make_unique<TxlsHyperlink>();
    copy->Assign(xls.Hyperlinks[i]);
    const QString text = titled(copy->Title, numbered(34296, "_", i));
    tree.AddItemNode(xekHyperlink, text, std::move(copy));
  }
  for (size_t i = 0; i < xls.Notes.Count(); ++i) {
    auto copy = std::make_unique<TxlsNote>();
    copy->Assign(xls.Notes[i]);
    tree.AddItemNode(xekNote, numbered(34308, "_", i), std::move(copy));
  }
  for (size_t i = 0; i < xls.Charts.Count(); ++i) {
    auto copy = std::make_unique<TxlsChart>();
    copy->Assign(xls.Charts[i]);
    const QString text = titled(copy->Title, numbered(34352, "_", i));
    tree.AddSeriesNodes(tree.AddItemNode(xekChart, text, std::move(copy)));
  }
  for (size_t i = 0; i < xls.Cells.Count(); ++i) {
    auto copy = std::make_unique<TxlsCell>();
    copy->Assign(xls.Cells[i]);
    const QString text = XLSCellNodeText(*copy);
    tree.AddItemNode(xekCell, text, std::move(copy));
  }
  for (size_t i = 0; i < xls.MergedCells.Count(); ++i) {
    auto copy = std::make_unique<TxlsMergedCells>();
    copy->Assign(xls.MergedCells[i]);
    tree.AddItemNode(xekMergedCells, numbered(34431, " ", i), std::move(copy));
  }
}

namespace {

template <class Item, class Collection>
void RefillFromGroup(Collection& collection, const QTreeWidgetItem* group) {
  collection.Clear();
  for (int i = 0; i < group->childCount(); ++i)
    if (const auto* item = dynamic_cast<const Item*>(XLSNodeItem(group->child(i)))) collection.Add().Assign(*item);
}

}  // namespace

void TVantrix3DialogF::CopyExtensionTree(TVantrix3XLS& exporter) const {
  const TXLSExtensionsEditor& tree = XLSExtensions();
  RefillFromGroup<TxlsHyperlink>(exporter.Hyperlinks, tree.HyperlinkGroup());
  RefillFromGroup<TxlsNote>(exporter.Notes, tree.NoteGroup());
  RefillFromGroup<TxlsChart>(exporter.Charts, tree.ChartGroup());
  RefillFromGroup<TxlsCell>(exporter.Cells, tree.CellGroup());
  RefillFromGroup<TxlsMergedCells>(exporter.MergedCells, tree.MergedCellsGroup());
}

}  // namespace vantrix
