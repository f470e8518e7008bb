// The spreadsheet extensions tree of the export dialog: numbering of new items, series that
// belong to their chart, deleting items and groups, number edits kept within their field,
// the note font buttons and the shared format sheets moving between tabs.
#include <QComboBox>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "export/dialog/list_items.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/dialog/xls_extensions_editor.h"
#include "export/format_settings.h"
#include "export/xls/xls_cell.h"
#include "export/xls/xls_chart.h"
#include "export/xls/xls_link_note.h"
#include "fake_dialog_services.h"
#include "platform/datetime.h"

using namespace vantrix;
using testsupport::FakeDialogServices;

namespace {

class XLSExtensions : public ::testing::Test {
 protected:
  XLSExtensions() {
    dialog.SetServices(&services);
    form = std::make_unique<TVantrix3DialogF>(dialog);
  }

  TXLSExtensionsEditor& Ed() { return form->XLSExtensions(); }
  QTreeWidget* Tree() { return Ed().Tree(); }
  void Select(QTreeWidgetItem* node) { Tree()->setCurrentItem(node); }
  void Add(QTreeWidgetItem* at) {
    Select(at);
    Ed().tbtAddXLSExtensionClick();
  }
  static QStringList Texts(const QTreeWidgetItem* node) {
    QStringList out;
    for (int i = 0; i < node->childCount(); ++i) out << node->child(i)->text(0);
    return out;
  }
  // Types into an edit and leaves it; the text the edit shows afterwards.
  QString Leave(const char* name, const QString& text) {
    auto* edit = form->Control<QLineEdit>(name);
    edit->setText(text);
    emit edit->editingFinished();
    return edit->text();
  }

  FakeDialogServices services;
  TVantrix3Dialog dialog;
  std::unique_ptr<TVantrix3DialogF> form;
};

TEST_F(XLSExtensions, NewItemsTakeTheFirstFreeNumberOfTheirGroup) {
  QTreeWidgetItem* links = Ed().HyperlinkGroup();
  for (int i = 0; i < 3; ++i) Add(links);
  EXPECT_EQ(Texts(links), (QStringList{"Hyperlink_1", "Hyperlink_2", "Hyperlink_3"}));
  auto* second = dynamic_cast<TxlsHyperlink*>(XLSNodeItem(links->child(1)));
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->Title, u"Hyperlink_2");
  // Without an element list the exporter's own link look (blue, underlined) is taken.
  EXPECT_EQ(second->Format.Font.Color, clrBlue);
  EXPECT_EQ(second->Format.Font.Underline, fulSingle);

  Select(links->child(1));
  Ed().tbtDelXLSExtensionClick();
  EXPECT_EQ(Texts(links), (QStringList{"Hyperlink_1", "Hyperlink_3"}));
  EXPECT_EQ(Tree()->currentItem(), links->child(1)) << "a remaining sibling is selected";
  Add(links->child(0));  // an item node adds into its own group
  EXPECT_EQ(Texts(links), (QStringList{"Hyperlink_1", "Hyperlink_3", "Hyperlink_2"}));

  // Names compare with case: a renamed "hyperlink_1" leaves 1 taken only by case.
  links->child(0)->setText(0, QStringLiteral("hyperlink_1"));
  Add(links);
  EXPECT_EQ(links->child(3)->text(0), QStringLiteral("Hyperlink_1"));

  Add(Ed().MergedCellsGroup());
  EXPECT_EQ(Ed().MergedCellsGroup()->child(0)->text(0), QStringLiteral("Merged Cells 1"));
}

TEST_F(XLSExtensions, HyperlinksTakeTheHyperlinkElementsFormat) {
  QTreeWidget* options = form->Control<QTreeWidget>("lstXLSOptions");
  options->clear();
  TxlsFormat element;
  element.Font.Color = clrRed;
  for (int i = 0; i < 5; ++i) AddListItem(options, QString::number(i), 3, i == 4 ? static_cast<TxlsCustomItem*>(&element) : nullptr);
  Add(Ed().HyperlinkGroup());
  auto* link = dynamic_cast<TxlsHyperlink*>(Ed().SelectedItem());
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->Format.Font.Color, clrRed);
  element.Font.Color = clrGreen;
  Ed().XLSUpdateHyperlinkFormats();
  EXPECT_EQ(link->Format.Font.Color, clrGreen);
  options->clear();  // the element is the test's own
}

TEST_F(XLSExtensions, AddingWithNothingSelectedDoesNothing) {
  Tree()->setCurrentItem(nullptr);
  Ed().tbtAddXLSExtensionClick();
  Ed().tbtDelXLSExtensionClick();
  int nodes = 0;
  for (int i = 0; i < Tree()->topLevelItemCount(); ++i) nodes += Tree()->topLevelItem(i)->childCount();
  EXPECT_EQ(Tree()->topLevelItemCount(), 5);
  EXPECT_EQ(nodes, 0);
  EXPECT_FALSE(form->Control<QToolButton>("tbtAddXLSExtension")->isEnabled());
}

TEST_F(XLSExtensions, SeriesBelongToTheChartOfTheSelectedNode) {
  QTreeWidgetItem* charts = Ed().ChartGroup();
  Add(charts);
  Add(charts);
  ASSERT_EQ(charts->childCount(), 2);
  QTreeWidgetItem* chartNode = charts->child(0);
  auto* chart = dynamic_cast<TxlsChart*>(XLSNodeItem(chartNode));
  auto* other = dynamic_cast<TxlsChart*>(XLSNodeItem(charts->child(1)));
  ASSERT_NE(chart, nullptr);
  EXPECT_EQ(chart->Title, u"Chart_1");
  QTreeWidgetItem* group = chartNode->child(0);
  EXPECT_EQ(group->text(0), QStringLiteral("Series"));
  EXPECT_EQ(XLSNodeLevel(group), 2);

  Add(group);
  Add(group->child(0));  // a series node adds beside itself, into the same chart
  EXPECT_EQ(Texts(group), (QStringList{"Series_1", "Series_2"}));
  ASSERT_EQ(chart->Series.Count(), 2u);
  EXPECT_EQ(other->Series.Count(), 0u);
  EXPECT_EQ(XLSNodeItem(group->child(1)), &chart->Series[1]);
  EXPECT_EQ(chart->Series[1].Title, u"Series_2");

  Add(chartNode);  // a chart node adds a chart
  EXPECT_EQ(charts->childCount(), 3);

  // Deleting a series takes it out of its chart's collection.
  Select(group->child(0));
  Ed().tbtDelXLSExtensionClick();
  ASSERT_EQ(chart->Series.Count(), 1u);
  EXPECT_EQ(chart->Series[0].Title, u"Series_2");
  EXPECT_EQ(XLSNodeItem(group->child(0)), &chart->Series[0]);

  // Deleting the series group empties the chart's series and keeps the group.
  Add(group);
  Select(group);
  EXPECT_TRUE(form->Control<QToolButton>("tbtDelXLSExtension")->isEnabled());
  Ed().tbtDelXLSExtensionClick();
  EXPECT_EQ(chart->Series.Count(), 0u);
  EXPECT_EQ(group->childCount(), 0);
  EXPECT_EQ(chartNode->child(0), group);
  EXPECT_FALSE(form->Control<QToolButton>("tbtDelXLSExtension")->isEnabled()) << "an empty group has nothing to delete";

  // The top group frees every chart with its series.
  Add(group);
  Select(charts);
  Ed().tbtDelXLSExtensionClick();
  EXPECT_EQ(charts->childCount(), 0);
  EXPECT_EQ(Ed().SelectedItem(), nullptr);
}

TEST_F(XLSExtensions, CellNodesNameTheirCell) {
  Add(Ed().CellGroup());
  QTreeWidgetItem* node = Ed().CellGroup()->child(0);
  EXPECT_EQ(node->text(0), QStringLiteral("Cell(Col: 0 Row: 0)"));
  EXPECT_EQ(form->Control<QStackedWidget>("pcXLSExtensions")->currentWidget()->objectName(), QStringLiteral("tshXLSCell"));
  EXPECT_EQ(Leave("edXLSCellCol", "3"), QStringLiteral("3"));
  EXPECT_EQ(Leave("edXLSCellRow", "12"), QStringLiteral("12"));
  EXPECT_EQ(node->text(0), QStringLiteral("Cell(Col: 3 Row: 12)"));
  EXPECT_NE(Ed().SelectedCellFormat(), nullptr);
  Select(Ed().CellGroup());
  EXPECT_EQ(Ed().SelectedCellFormat(), nullptr);
  EXPECT_FALSE(form->Control<QWidget>("edXLSCellCol")->isEnabled()) << "a group shows a disabled page";
}

TEST_F(XLSExtensions, NumberEditsStoreZeroForTextAndKeepWithinTheirField) {
  Add(Ed().ChartGroup());
  auto* chart = dynamic_cast<TxlsChart*>(Ed().SelectedItem());
  ASSERT_NE(chart, nullptr);
  EXPECT_EQ(Leave("edXLSChartLeft", "abc"), QStringLiteral("0"));
  EXPECT_EQ(chart->Position.AutoPosition.Left, 0);
  EXPECT_EQ(Leave("edXLSChartTop", "-2"), QStringLiteral("-2"));
  EXPECT_EQ(chart->Position.AutoPosition.Top, -2);
  EXPECT_EQ(Leave("edXLSChartPositionX1", "abc"), QStringLiteral("0"));
  // A byte column and a 16-bit row keep their largest value instead of wrapping.
  EXPECT_EQ(Leave("edXLSChartPositionX2", "300"), QStringLiteral("255"));
  EXPECT_EQ(chart->Position.CustomPosition.X2, 255);
  EXPECT_EQ(Leave("edXLSChartPositionY2", "70000"), QStringLiteral("65535"));
  EXPECT_EQ(chart->Position.CustomPosition.Y2, 65535);

  Add(Ed().HyperlinkGroup());
  auto* link = dynamic_cast<TxlsHyperlink*>(Ed().SelectedItem());
  EXPECT_EQ(Leave("edXLSHyperlinkCol", "256"), QStringLiteral("256"));
  EXPECT_EQ(Leave("edXLSHyperlinkCol", "257"), QStringLiteral("256"));
  EXPECT_EQ(Leave("edXLSHyperlinkCol", "0"), QStringLiteral("1"));
  EXPECT_EQ(link->Col, 1);
  EXPECT_EQ(Leave("edXLSHyperlinkRow", "70000"), QStringLiteral("65535"));

  Add(Ed().NoteGroup());
  auto* note = dynamic_cast<TxlsNote*>(Ed().SelectedItem());
  EXPECT_EQ(Leave("edXLSNoteCol", "256"), QStringLiteral("255"));
  EXPECT_EQ(note->Col, 255);
  auto* size = form->Control<QComboBox>("cbXLSNoteFontSize");
  size->setEditText(QStringLiteral("x"));
  emit size->lineEdit()->editingFinished();
  EXPECT_EQ(note->Format.Font.Size, 8);
  size->setEditText(QStringLiteral("5000"));
  emit size->lineEdit()->editingFinished();
  EXPECT_EQ(note->Format.Font.Size, 409);

  // Showing another item does not write the shown values into it.
  Select(Ed().ChartGroup()->child(0));
  EXPECT_EQ(form->Control<QLineEdit>("edXLSChartPositionX2")->text(), QStringLiteral("255"));
  EXPECT_EQ(note->Col, 255);
}

TEST_F(XLSExtensions, EditsReachTheSelectedItemOnly) {
  Add(Ed().HyperlinkGroup());
  Add(Ed().HyperlinkGroup());
  auto* first = dynamic_cast<TxlsHyperlink*>(XLSNodeItem(Ed().HyperlinkGroup()->child(0)));
  auto* title = form->Control<QLineEdit>("edXLSHyperlinkTitle");
  emit title->textEdited(QStringLiteral("Site"));
  EXPECT_EQ(Ed().HyperlinkGroup()->child(1)->text(0), QStringLiteral("Site"));
  EXPECT_EQ(first->Title, u"Hyperlink_1");
  Select(Ed().HyperlinkGroup());
  emit title->textEdited(QStringLiteral("Group"));
  EXPECT_EQ(Ed().HyperlinkGroup()->text(0), QStringLiteral("Hyperlinks"));

  Add(Ed().NoteGroup());
  auto* note = dynamic_cast<TxlsNote*>(Ed().SelectedItem());
  auto* single = form->Control<QToolButton>("btnXLSNoteUnderlineSingle");
  auto* doubled = form->Control<QToolButton>("btnXLSNoteUnderlineDouble");
  single->click();
  EXPECT_EQ(note->Format.Font.Underline, fulSingle);
  doubled->click();
  EXPECT_EQ(note->Format.Font.Underline, fulDouble);
  EXPECT_FALSE(single->isChecked()) << "one underline at a time";
  doubled->click();
  EXPECT_EQ(note->Format.Font.Underline, fulNone);
  form->Control<QToolButton>("btnXLSNoteFontBold")->click();
  EXPECT_FALSE(note->Format.Font.Style.Has(xfsBold)) << "a new note's bold font, turned off";
}

TEST_F(XLSExtensions, FormatSheetsFollowTheTabTurnedTo) {
  auto* pcXLS = form->Control<QTabWidget>("pcXLS");
  auto* dataFormat = form->Control<QTabWidget>("pcXLSDataFormat");
  auto* cells = form->Control<QTabWidget>("pcXLSCells");
  QWidget* font = form->Control<QWidget>("tshXLSFont");
  pcXLS->setCurrentWidget(form->Control<QWidget>("tshXLSExtensions"));
  EXPECT_EQ(cells->indexOf(font), 1);
  EXPECT_EQ(cells->indexOf(form->Control<QWidget>("tshXLSFill")), 3);
  EXPECT_EQ(dataFormat->indexOf(font), -1);
  cells->setCurrentIndex(2);
  EXPECT_EQ(form->Control<QWidget>("paXLSSampleCell")->parentWidget(), cells->widget(2));
  pcXLS->setCurrentWidget(form->Control<QWidget>("tshXLSDataFormat"));
  EXPECT_EQ(dataFormat->indexOf(font), 0);
  EXPECT_EQ(dataFormat->indexOf(form->Control<QWidget>("tshXLSAggregate")), 3);
  pcXLS->setCurrentWidget(form->Control<QWidget>("tshXLSExtensions"));
  EXPECT_EQ(cells->currentIndex(), 2) << "the cells page comes back where it was left";
}

}  // namespace

namespace {

TEST_F(XLSExtensions, ACellsValueShownInItsEditReadsBackUnchanged) {
  // A decimal comma and day-first dates, unlike the forms Qt writes variants in.
  const FormatSettings brazil = FormatSettings::FromLocale(QLocale(QLocale::Portuguese, QLocale::Brazil));
  Add(Ed().CellGroup());
  QTreeWidgetItem* node = Ed().CellGroup()->child(0);
  auto* cell = dynamic_cast<TxlsCell*>(XLSNodeItem(node));
  ASSERT_NE(cell, nullptr);
  cell->SetFormatSettings(brazil);
  TDateTime when = 0;
  ASSERT_TRUE(platform::TryEncodeDateTime(2026, 12, 7, 8, 30, 15, 0, when));
  cell->BooleanValue = true;
  cell->NumericValue = 1234.5;
  cell->DateTimeValue = when;
  cell->StringValue = u"ação";
  auto* edit = form->Control<QLineEdit>("edXLSCellValue");
  for (TxlsCellType type : {ctBoolean, ctNumeric, ctDateTime, ctString}) {
    cell->CellType = type;
    Select(Ed().CellGroup());
    Select(node);
    const QVariant before = cell->GetValue();
    emit edit->textEdited(edit->text());  // the user touches the edit and leaves the text
    EXPECT_EQ(cell->GetValue(), before) << type << " shown as " << edit->text().toStdString();
    if (type == ctNumeric) {
      EXPECT_EQ(edit->text(), "1234,5");
    }
  }
}

}  // namespace

namespace {

// Clearing a group (as loading an options file does) while one of its items is shown leaves
// the page showing the group: no enabled control edits a freed item or nothing at all.
TEST_F(XLSExtensions, ClearingTheShownItemsGroupShowsTheGroup) {
  Add(Ed().HyperlinkGroup());
  auto* title = form->Control<QLineEdit>("edXLSHyperlinkTitle");
  ASSERT_TRUE(title->isEnabled());
  Ed().XLSClearHyperlinkNodes();
  EXPECT_EQ(Tree()->currentItem(), Ed().HyperlinkGroup());
  EXPECT_FALSE(title->isEnabled());
  EXPECT_FALSE(form->Control<QToolButton>("tbtDelXLSExtension")->isEnabled());
}

}  // namespace

namespace {

TEST_F(XLSExtensions, AChartMadeElsewhereShowsItsSeriesUntitledOnesByTheirPlace) {
  auto chart = std::make_unique<TxlsChart>();
  chart->Series.Add();
  chart->Series.Add().Title = u"Umidade";
  chart->Series.Add();
  TxlsChart* held = chart.get();
  QTreeWidgetItem* node = Ed().AddItemNode(xekChart, QStringLiteral("Chart_1"), std::move(chart));
  ASSERT_NE(node, nullptr);
  QTreeWidgetItem* group = node->child(0);
  EXPECT_EQ(Texts(group), (QStringList{"Series_1", "Umidade", "Series_3"}));
  EXPECT_EQ(XLSNodeItem(group->child(2)), &held->Series[2]);
  EXPECT_TRUE(held->Series[0].Title.empty()) << "the node names the series, the series keeps no title";
}

}  // namespace
