#pragma once
// The spreadsheet extensions tab of the export dialog form: a tree of hyperlinks, notes,
// charts with their series, extra cells and merged ranges, and one editing page per kind.
//
// The tree owns the items: an item node holds its hyperlink, note, chart, cell or merged range
// and frees it with the node; a series node only points at its series, which the chart's
// Series collection owns. Node levels: 0 the five groups, 1 their items, 2 a chart's series
// group, 3 the series. A node's image index is its kind.
#include <QObject>
#include <QTreeWidgetItem>
#include <functional>
#include <memory>

class QTabWidget;
class QTreeWidget;

namespace vantrix {

class TVantrix3DialogF;
class TxlsCustomItem;
class TxlsFormat;
class TxlsChart;

enum TXLSExtensionKind {
  xekHyperlink = 6,
  xekNote = 7,
  xekChart = 8,
  xekSeries = 9,
  xekCell = 10,
  xekMergedCells = 11,
};

// A node of the extensions tree. An owning node frees its item with itself.
class TXLSExtensionNode : public QTreeWidgetItem {
 public:
  TXLSExtensionNode(QTreeWidgetItem* parent, const QString& text, int kind, std::unique_ptr<TxlsCustomItem> owned,
                    TxlsCustomItem* borrowed = nullptr);
  TXLSExtensionNode(QTreeWidget* tree, const QString& text, int kind);
  ~TXLSExtensionNode() override;

  TxlsCustomItem* Item() const { return item_; }

 private:
  std::unique_ptr<TxlsCustomItem> owned_;
  TxlsCustomItem* item_ = nullptr;
};

int XLSNodeKind(const QTreeWidgetItem* node);
// 0 for a top-level node, 1 for its children and so on; -1 for none.
int XLSNodeLevel(const QTreeWidgetItem* node);
TxlsCustomItem* XLSNodeItem(const QTreeWidgetItem* node);
// The smallest n from 1 for which no child of the group is captioned pattern with n (the
// pattern holds one "%d"); captions compare with case.
QString XLSFirstFreeName(const QTreeWidgetItem* group, const QString& pattern);
class TxlsCell;
// "Cell(Col: c Row: r)" in the interface's language.
QString XLSCellNodeText(const TxlsCell& cell);

class TXLSExtensionsEditor : public QObject {
 public:
  // Makes the five groups in the form's tree and connects the tab's handlers.
  explicit TXLSExtensionsEditor(TVantrix3DialogF& form);
  // Frees every item with the tree's signals held.
  ~TXLSExtensionsEditor() override;

  QTreeWidget* Tree() const { return tree_; }
  QTreeWidgetItem* HyperlinkGroup() const { return groups_[0]; }
  QTreeWidgetItem* NoteGroup() const { return groups_[1]; }
  QTreeWidgetItem* ChartGroup() const { return groups_[2]; }
  QTreeWidgetItem* CellGroup() const { return groups_[3]; }
  QTreeWidgetItem* MergedCellsGroup() const { return groups_[4]; }
  // The item of the selected node; null for a group or no selection.
  TxlsCustomItem* SelectedItem() const;
  // The format of the selected extra cell (what the shared format sheets edit on the cells
  // page); null when no cell is selected.
  TxlsFormat* SelectedCellFormat() const;

  // Captions of the groups and of the series groups from the library strings.
  void SetCaptions();

  // Runs when the cells page shows a cell's format, and with null when it shows none: the
  // shared font, border and fill sheets show that format.
  std::function<void(TxlsFormat*)> OnShowCellFormat;

  void tvXLSExtensionsChange(QTreeWidgetItem* node);
  void tbtAddXLSExtensionClick();
  void tbtDelXLSExtensionClick();
  void XLSClearHyperlinkNodes();
  void XLSClearNoteNodes();
  void XLSClearChartNodes();
  void XLSClearCellNodes();
  void XLSClearMergedCellsNodes();
  // Every hyperlink's format becomes the hyperlink element's format again.
  void XLSUpdateHyperlinkFormats();

  // A node for an item made elsewhere (the options file): the node takes it.
  QTreeWidgetItem* AddItemNode(int kind, const QString& text, std::unique_ptr<TxlsCustomItem> item);
  // A node for each series of the chart node's chart under its series group.
  void AddSeriesNodes(QTreeWidgetItem* chartNode);

  void XLSShowHyperlink(QTreeWidgetItem* node);
  void XLSShowNote(QTreeWidgetItem* node);
  void XLSShowChart(QTreeWidgetItem* node);
  void XLSShowSeries(QTreeWidgetItem* node);
  void XLSShowCell(QTreeWidgetItem* node);
  void XLSShowMergedCell(QTreeWidgetItem* node);

  void XLSTuneNoteFillType();
  void XLSTuneChartPosition();
  void XLSTuneChartCategoryLabelType();
  void XLSTuneSeriesDataRangeType();
  void XLSTuneCellType();

  // The shared sheets follow the tab turned to.
  void pcXLSChange(int index);
  void pcXLSCellsChange(int index);
  void bXLSPageBackgroundClick();

 private:
  void ConnectTree();
  void ConnectHyperlinkPage();
  void ConnectNotePage();
  void ConnectNoteFontButtons();
  void ConnectChartPage();
  void ConnectSeriesPage();
  void ConnectCellPage();
  void ConnectMergedCellsPage();
  void ConnectColorBoxes();
  void ShowNoteFontButtons();
  // The format of the element list's hyperlink entry; null before the list is filled.
  const TxlsFormat* HyperlinkElementFormat() const;
  void EnablePage(const char* page, bool enabled);
  void ClearGroup(QTreeWidgetItem* group);
  void DeleteChildren(QTreeWidgetItem* node);
  void RefreshCellNodeText();
  QTreeWidgetItem* NewNode(QTreeWidgetItem* parent, int kind, const QString& text, std::unique_ptr<TxlsCustomItem> item,
                           TxlsCustomItem* borrowed = nullptr);
  template <class T>
  T* Selected() const;

  TVantrix3DialogF& form_;
  QTreeWidget* tree_;
  QTreeWidgetItem* groups_[5] = {};
  // Controls are being written from an item: the change handlers keep still.
  bool showing_ = false;
  int dataFormatPage_ = 0;
  int cellsPage_ = 0;
};

}  // namespace vantrix
