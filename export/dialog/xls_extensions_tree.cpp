// The extensions tree: its groups, adding and deleting items with the first free number in
// their caption, the page and button hints of the selected kind, the shared format sheets that
// follow the tab turned to, and the sheet's background picture.
#include <QFileInfo>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

#include "export/dialog/dialog_services.h"
#include "export/dialog/form_file_dialogs.h"
#include "export/dialog/list_items.h"
#include "export/dialog/style_lists.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/dialog/xls_extensions_editor.h"
#include "export/library_strings.h"
#include "export/xls/vantrix3_xls.h"
#include "export/xls/xls_cell.h"
#include "export/xls/xls_chart.h"
#include "export/xls/xls_link_note.h"
#include "platform/qt_text.h"

namespace vantrix {

namespace {

QString Str(int id) { return platform::FromCp1252(VantrixLoadStr(id)); }

struct KindInfo {
  const char* page;
  int addHint, delHint;
  int caption;         // the new item's caption
  const char* suffix;  // the number's place after the caption
};

const KindInfo& Info(int kind) {
  static const KindInfo kinds[] = {
      {"tshXLSHyperlink", 34294, 34295, 34296, "_%d"}, {"tshXLSNote", 34306, 34307, 34308, "_%d"},
      {"tshXLSChart", 34350, 34351, 34352, "_%d"},     {"tshXLSSeries", 34401, 34402, 34403, "_%d"},
      {"tshXLSCell", 34414, 34415, 34416, ""},         {"tshXLSMergedCells", 34429, 34430, 34431, " %d"},
  };
  return kinds[kind - xekHyperlink];
}

bool IsKind(int kind) { return kind >= xekHyperlink && kind <= xekMergedCells; }

const int kGroupCaptions[5] = {34293, 34305, 34349, 34413, 34428};
const int kGroupKinds[5] = {xekHyperlink, xekNote, xekChart, xekCell, xekMergedCells};

void SetKindImage(QTreeWidgetItem* node, int kind) { SetItemImage(node, kind); }

}  // namespace

TXLSExtensionNode::TXLSExtensionNode(QTreeWidgetItem* parent, const QString& text, int kind,
                                     std::unique_ptr<TxlsCustomItem> owned, TxlsCustomItem* borrowed)
    : QTreeWidgetItem(parent, QStringList{text}), owned_(std::move(owned)), item_(owned_ ? owned_.get() : borrowed) {
  SetKindImage(this, kind);
  SetItemObject(this, item_);
}

TXLSExtensionNode::TXLSExtensionNode(QTreeWidget* tree, const QString& text, int kind)
    : QTreeWidgetItem(tree, QStringList{text}) {
  SetKindImage(this, kind);
}

// The item goes with the node, before the node's children (a chart's series nodes), which only
// point into it and are never asked for it again.
TXLSExtensionNode::~TXLSExtensionNode() = default;

int XLSNodeKind(const QTreeWidgetItem* node) { return node != nullptr ? ItemImage(node) : -1; }

int XLSNodeLevel(const QTreeWidgetItem* node) {
  if (node == nullptr) return -1;
  int level = 0;
  for (const QTreeWidgetItem* p = node->parent(); p != nullptr; p = p->parent()) ++level;
  return level;
}

TxlsCustomItem* XLSNodeItem(const QTreeWidgetItem* node) {
  if (node == nullptr) return nullptr;
  if (auto* ext = dynamic_cast<const TXLSExtensionNode*>(node)) return ext->Item();
  return nullptr;
}

QString XLSFirstFreeName(const QTreeWidgetItem* group, const QString& pattern) {
  // A child count bounds the search: among count + 1 numbers one is free.
  const int count = group != nullptr ? group->childCount() : 0;
  for (int n = 1;; ++n) {
    const QString name = QString(pattern).replace(QStringLiteral("%d"), QString::number(n));
    bool taken = false;
    for (int i = 0; i < count && !taken; ++i) taken = group->child(i)->text(0) == name;
    if (!taken || n > count) return name;
  }
}

TXLSExtensionsEditor::TXLSExtensionsEditor(TVantrix3DialogF& form)
    : form_(form), tree_(form.Control<QTreeWidget>("tvXLSExtensions")) {
  for (int i = 0; i < 5; ++i) groups_[i] = new TXLSExtensionNode(tree_, QString(), kGroupKinds[i]);
  SetCaptions();
  ConnectTree();
  ConnectHyperlinkPage();
  ConnectNotePage();
  ConnectChartPage();
  ConnectSeriesPage();
  ConnectCellPage();
  ConnectMergedCellsPage();
  ConnectColorBoxes();
  tvXLSExtensionsChange(nullptr);
  for (const char* page : {"tshXLSHyperlink", "tshXLSNote", "tshXLSChart", "tshXLSSeries", "tshXLSCell",
                           "tshXLSMergedCells"})
    EnablePage(page, false);
}

TXLSExtensionsEditor::~TXLSExtensionsEditor() {
  for (QTreeWidgetItem* group : groups_) DeleteChildren(group);
}

void TXLSExtensionsEditor::SetCaptions() {
  for (int i = 0; i < 5; ++i) groups_[i]->setText(0, Str(kGroupCaptions[i]));
  for (int c = 0; c < ChartGroup()->childCount(); ++c)
    for (int s = 0; s < ChartGroup()->child(c)->childCount(); ++s) ChartGroup()->child(c)->child(s)->setText(0, Str(34400));
}

void TXLSExtensionsEditor::ConnectTree() {
  connect(tree_, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* current, QTreeWidgetItem*) { tvXLSExtensionsChange(current); });
  connect(form_.Control<QToolButton>("tbtAddXLSExtension"), &QToolButton::clicked, this,
          [this] { tbtAddXLSExtensionClick(); });
  connect(form_.Control<QToolButton>("tbtDelXLSExtension"), &QToolButton::clicked, this,
          [this] { tbtDelXLSExtensionClick(); });
  connect(form_.Control<QTabWidget>("pcXLS"), &QTabWidget::currentChanged, this, [this](int i) { pcXLSChange(i); });
  connect(form_.Control<QTabWidget>("pcXLSCells"), &QTabWidget::currentChanged, this,
          [this](int i) { pcXLSCellsChange(i); });
  connect(form_.Control<QToolButton>("bXLSPageBackground"), &QToolButton::clicked, this,
          [this] { bXLSPageBackgroundClick(); });
}

TxlsCustomItem* TXLSExtensionsEditor::SelectedItem() const { return XLSNodeItem(tree_->currentItem()); }

TxlsFormat* TXLSExtensionsEditor::SelectedCellFormat() const {
  QTreeWidgetItem* node = tree_->currentItem();
  if (XLSNodeKind(node) != xekCell || XLSNodeLevel(node) != 1) return nullptr;
  auto* cell = dynamic_cast<TxlsCell*>(XLSNodeItem(node));
  return cell != nullptr ? &cell->Format : nullptr;
}

void TXLSExtensionsEditor::tvXLSExtensionsChange(QTreeWidgetItem* node) {
  auto* add = form_.Control<QToolButton>("tbtAddXLSExtension");
  auto* del = form_.Control<QToolButton>("tbtDelXLSExtension");
  const int kind = XLSNodeKind(node);
  if (!IsKind(kind)) {
    // Nothing chosen: nothing to add to or delete.
    add->setEnabled(false);
    del->setEnabled(false);
    if (OnShowCellFormat) OnShowCellFormat(nullptr);
    return;
  }
  const KindInfo& info = Info(kind);
  add->setEnabled(true);
  add->setToolTip(Str(info.addHint));
  del->setToolTip(Str(info.delHint));
  auto* stack = form_.Control<QStackedWidget>("pcXLSExtensions");
  stack->setCurrentWidget(form_.Control<QWidget>(info.page));
  switch (kind) {
    case xekHyperlink: XLSShowHyperlink(node); break;
    case xekNote: XLSShowNote(node); break;
    case xekChart: XLSShowChart(node); break;
    case xekSeries: XLSShowSeries(node); break;
    case xekCell: XLSShowCell(node); break;
    default: XLSShowMergedCell(node); break;
  }
  const int level = XLSNodeLevel(node);
  del->setEnabled(level == 1 || level == 3 || node->childCount() > 0);
}

QTreeWidgetItem* TXLSExtensionsEditor::NewNode(QTreeWidgetItem* parent, int kind, const QString& text,
                                               std::unique_ptr<TxlsCustomItem> item, TxlsCustomItem* borrowed) {
  return new TXLSExtensionNode(parent, text, kind, std::move(item), borrowed);
}

QTreeWidgetItem* TXLSExtensionsEditor::AddItemNode(int kind, const QString& text, std::unique_ptr<TxlsCustomItem> item) {
  QTreeWidgetItem* group = nullptr;
  for (int i = 0; i < 5; ++i)
    if (kGroupKinds[i] == kind) group = groups_[i];
  if (group == nullptr) return nullptr;
  QTreeWidgetItem* node = NewNode(group, kind, text, std::move(item));
  if (kind == xekChart) {
    NewNode(node, xekSeries, Str(34400), nullptr);
    AddSeriesNodes(node);
  }
  return node;
}

void TXLSExtensionsEditor::AddSeriesNodes(QTreeWidgetItem* chartNode) {
  auto* chart = dynamic_cast<TxlsChart*>(XLSNodeItem(chartNode));
  if (chart == nullptr || chartNode->childCount() == 0) return;
  QTreeWidgetItem* seriesGroup = chartNode->child(0);
  // An untitled series is named by its place, so that it can be told apart in the tree.
  const QString untitled = Str(34403) + QStringLiteral("_%1");
  for (const auto& series : chart->Series)
    NewNode(seriesGroup, xekSeries,
            series->Title.empty() ? untitled.arg(seriesGroup->childCount() + 1) : QString::fromStdU16String(series->Title),
            nullptr, series.get());
}

void TXLSExtensionsEditor::tbtAddXLSExtensionClick() {
  QTreeWidgetItem* selected = tree_->currentItem();
  const int kind = XLSNodeKind(selected);
  if (!IsKind(kind)) return;
  const KindInfo& info = Info(kind);
  const QString pattern = Str(info.caption) + QString::fromLatin1(info.suffix);
  QTreeWidgetItem* node = nullptr;
  switch (kind) {
    case xekHyperlink: {
      auto link = std::make_unique<TxlsHyperlink>();
      const QString name = XLSFirstFreeName(HyperlinkGroup(), pattern);
      const TxlsFormat* element = HyperlinkElementFormat();
      // Before the element list is filled the exporter's own hyperlink look stands in.
      link->Format.Assign(element != nullptr ? *element : form_.XLSExp().Options.HyperlinkFormat);
      link->Title = name.toStdU16String();
      node = NewNode(HyperlinkGroup(), kind, name, std::move(link));
      break;
    }
    case xekNote:
      node = NewNode(NoteGroup(), kind, XLSFirstFreeName(NoteGroup(), pattern), std::make_unique<TxlsNote>());
      break;
    case xekChart: {
      auto chart = std::make_unique<TxlsChart>();
      const QString name = XLSFirstFreeName(ChartGroup(), pattern);
      chart->Title = name.toStdU16String();
      node = NewNode(ChartGroup(), kind, name, std::move(chart));
      NewNode(node, xekSeries, Str(34400), nullptr);
      node->setExpanded(true);
      break;
    }
    case xekSeries: {
      QTreeWidgetItem* group = XLSNodeLevel(selected) == 2 ? selected : selected->parent();
      auto* chart = dynamic_cast<TxlsChart*>(XLSNodeItem(group->parent()));
      if (chart == nullptr) return;
      const QString name = XLSFirstFreeName(group, pattern);
      TxlsChartSeries& series = chart->Series.Add();
      series.Title = name.toStdU16String();
      node = NewNode(group, kind, name, nullptr, &series);
      group->setExpanded(true);
      break;
    }
    case xekCell: {
      auto cell = std::make_unique<TxlsCell>();
      const QString text = XLSCellNodeText(*cell);
      node = NewNode(CellGroup(), kind, text, std::move(cell));
      break;
    }
    default:
      node = NewNode(MergedCellsGroup(), kind, XLSFirstFreeName(MergedCellsGroup(), pattern),
                     std::make_unique<TxlsMergedCells>());
      break;
  }
  if (node == nullptr) return;
  if (node->parent() != nullptr) node->parent()->setExpanded(true);
  tree_->setCurrentItem(node);
  tree_->setFocus();
}

void TXLSExtensionsEditor::DeleteChildren(QTreeWidgetItem* node) {
  // Taken out of the tree before they are freed, so the tree never reports a node whose item
  // has gone.
  const QSignalBlocker block(tree_);
  for (int i = node->childCount() - 1; i >= 0; --i) delete node->takeChild(i);
}

void TXLSExtensionsEditor::ClearGroup(QTreeWidgetItem* group) {
  if (group == nullptr) return;
  const bool wasCurrentInside = [&] {
    for (QTreeWidgetItem* n = tree_->currentItem(); n != nullptr; n = n->parent())
      if (n->parent() == group) return true;
    return false;
  }();
  tree_->setUpdatesEnabled(false);
  DeleteChildren(group);
  tree_->setUpdatesEnabled(true);
  if (wasCurrentInside) {
    {
      const QSignalBlocker block(tree_);
      tree_->setCurrentItem(group);
    }
    // The page showed a freed item: it shows the group now, so nothing typed there is lost.
    tvXLSExtensionsChange(group);
  }
}

void TXLSExtensionsEditor::XLSClearHyperlinkNodes() { ClearGroup(HyperlinkGroup()); }
void TXLSExtensionsEditor::XLSClearNoteNodes() { ClearGroup(NoteGroup()); }
void TXLSExtensionsEditor::XLSClearChartNodes() { ClearGroup(ChartGroup()); }
void TXLSExtensionsEditor::XLSClearCellNodes() { ClearGroup(CellGroup()); }
void TXLSExtensionsEditor::XLSClearMergedCellsNodes() { ClearGroup(MergedCellsGroup()); }

void TXLSExtensionsEditor::tbtDelXLSExtensionClick() {
  QTreeWidgetItem* node = tree_->currentItem();
  if (!IsKind(XLSNodeKind(node))) return;
  QTreeWidgetItem* parent = node->parent();
  switch (XLSNodeLevel(node)) {
    case 0:
      ClearGroup(node);
      break;
    case 2: {
      if (auto* chart = dynamic_cast<TxlsChart*>(XLSNodeItem(parent))) chart->Series.Clear();
      ClearGroup(node);
      break;
    }
    case 1:
    case 3: {
      const int at = parent->indexOfChild(node);
      {
        const QSignalBlocker block(tree_);
        QTreeWidgetItem* taken = parent->takeChild(at);
        if (XLSNodeLevel(parent) == 2) {
          // A series belongs to its chart's collection: it leaves the chart's Series.
          auto* chart = dynamic_cast<TxlsChart*>(XLSNodeItem(parent->parent()));
          TxlsCustomItem* series = XLSNodeItem(taken);
          const int index = chart != nullptr ? chart->Series.IndexOf(series) : -1;
          delete taken;
          if (index >= 0) chart->Series.Delete(static_cast<size_t>(index));
        } else {
          delete taken;
        }
        tree_->setCurrentItem(parent->childCount() == 0 ? parent : parent->child(std::min(at, parent->childCount() - 1)));
      }
      break;
    }
    default:
      return;
  }
  tvXLSExtensionsChange(tree_->currentItem());
}

const TxlsFormat* TXLSExtensionsEditor::HyperlinkElementFormat() const {
  // The hyperlink element is the fifth of the element list.
  auto* options = form_.Control<QTreeWidget>("lstXLSOptions");
  return options != nullptr && options->topLevelItemCount() > 4 ? XLSItemFormat(options->topLevelItem(4)) : nullptr;
}

void TXLSExtensionsEditor::XLSUpdateHyperlinkFormats() {
  const TxlsFormat* element = HyperlinkElementFormat();
  if (element == nullptr) return;
  for (int i = 0; i < HyperlinkGroup()->childCount(); ++i)
    if (auto* link = dynamic_cast<TxlsHyperlink*>(XLSNodeItem(HyperlinkGroup()->child(i)))) link->Format.Assign(*element);
}

QString XLSCellNodeText(const TxlsCell& cell) {
  QString text = Str(34416);
  for (int value : {cell.Col, cell.Row}) {
    const int at = text.indexOf(QStringLiteral("%d"));
    if (at < 0) break;
    text.replace(at, 2, QString::number(value));
  }
  return text;
}

void TXLSExtensionsEditor::RefreshCellNodeText() {
  QTreeWidgetItem* node = tree_->currentItem();
  if (auto* cell = dynamic_cast<TxlsCell*>(XLSNodeItem(node)); cell != nullptr && XLSNodeLevel(node) == 1)
    node->setText(0, XLSCellNodeText(*cell));
}

void TXLSExtensionsEditor::pcXLSChange(int index) {
  auto* pcXLS = form_.Control<QTabWidget>("pcXLS");
  QWidget* page = pcXLS->widget(index);
  auto* dataFormat = form_.Control<QTabWidget>("pcXLSDataFormat");
  auto* cells = form_.Control<QTabWidget>("pcXLSCells");
  QWidget* sample = form_.Control<QWidget>("paXLSSampleCell");
  if (page == form_.Control<QWidget>("tshXLSDataFormat")) {
    if (dataFormat->indexOf(form_.Control<QWidget>("tshXLSFont")) >= 0) return;
    cellsPage_ = cells->currentIndex();
    form_.MoveXLSFormatSheets(dataFormat, 0);
    dataFormat->setCurrentIndex(std::clamp(dataFormatPage_, 0, dataFormat->count() - 1));
    sample->setParent(page);
    sample->setGeometry(185, 145, 268, 72);
    sample->show();
  } else if (page == form_.Control<QWidget>("tshXLSExtensions")) {
    if (cells->indexOf(form_.Control<QWidget>("tshXLSFont")) >= 0) return;
    dataFormatPage_ = dataFormat->currentIndex();
    {
      const QSignalBlocker block(cells);
      form_.MoveXLSFormatSheets(cells, 1);
      cells->setCurrentIndex(std::clamp(cellsPage_, 0, cells->count() - 1));
    }
    pcXLSCellsChange(cells->currentIndex());
    tvXLSExtensionsChange(tree_->currentItem());
  }
}

void TXLSExtensionsEditor::pcXLSCellsChange(int index) {
  auto* cells = form_.Control<QTabWidget>("pcXLSCells");
  if (index <= 0 || index >= cells->count()) return;
  QWidget* sample = form_.Control<QWidget>("paXLSSampleCell");
  sample->setParent(cells->widget(index));
  sample->setGeometry(4, 125, 251, 90);
  sample->show();
}

void TXLSExtensionsEditor::bXLSPageBackgroundClick() {
  FileRequest request = FormFileDialog("odXLSPageBackground");
  const std::string& current = form_.Options().XLSPageBackground;
  if (!current.empty())
    request.initialFile = QFileInfo(FromFileSystemName(current)).absolutePath();
  const std::optional<QString> chosen = form_.GetDialog().Services().OpenFile(&form_, request);
  if (chosen) form_.SetXLSPageBackground(FileSystemName(*chosen));
}

}  // namespace vantrix
