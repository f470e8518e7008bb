// The spreadsheet cell-format editor of the export dialog: edits reaching every selected item
// and no other, the background and pattern keeping each other visible, the border buttons and
// combos in step, sizes that are no number, values the selected items do not share shown
// empty, resets, the cells page of the extensions, and the field-format list following the
// field buttons.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>

#include "dialog_form_fixture.h"
#include "export/dialog/list_items.h"
#include "export/dialog/style_lists.h"
#include "export/dialog/xls_color_editor.h"
#include "export/dialog/xls_extensions_editor.h"
#include "export/dialog/xls_format_editor.h"
#include "export/xls/xls_cell.h"
#include "export/xls/xls_format.h"
#include "export/xls/xls_link_note.h"
#include "tests/export/export_fixtures.h"
#include "ui/radio_group.h"

using namespace vantrix;

namespace {

class XLSFormatEditor : public dialogtest::DialogFormTest {
 protected:
  XLSFormatEditor() {
    AddColumns({"Station", "Temperature", "Humidity", "Dew"});
    Open();
    Choose(aeXLS);
    form->Control<QTabWidget>("Pages")->setCurrentWidget(form->Control<QWidget>("tshXLS"));
  }

  TXLSFormatEditor& Ed() { return form->XLSFormatEditor(); }
  QTreeWidget* List(const char* name) { return form->Control<QTreeWidget>(name); }
  TxlsFormat& Format(QTreeWidget* list, int i) { return *XLSItemFormat(list->topLevelItem(i)); }
  TxlsFormat& Field(int i) { return Format(List("lstXLSFields"), i); }
  void ShowSheet(const char* tab) {
    auto* sheets = form->Control<QTabWidget>("pcXLSFormats");
    sheets->setCurrentWidget(form->Control<QWidget>(tab));
  }
  // Selects the rows of the list, the first of them focused.
  void Select(QTreeWidget* list, std::initializer_list<int> rows) {
    list->clearSelection();
    bool first = true;
    for (int row : rows) {
      QTreeWidgetItem* item = list->topLevelItem(row);
      if (first) list->setCurrentItem(item);
      item->setSelected(true);
      first = false;
    }
  }
  void Click(const char* button) { form->Control<QToolButton>(button)->click(); }
  void Choose(const char* combo, int index) {
    auto* c = form->Control<QComboBox>(combo);
    c->setCurrentIndex(index);
    emit c->activated(index);
  }
  // The palette picker answers with the colour, as a person double-clicking it would.
  void PickColor(TxlsColor color) {
    services.onModal = [color](QDialog* d) {
      if (auto* editor = qobject_cast<TfmVantrix3XLSColorEditor*>(d)) {
        editor->SetSelectedColor(color);
        editor->accept();
      }
    };
  }
  void TypeSize(const QString& text) {
    QLineEdit* edit = form->Control<QComboBox>("cbxXLSFontSize")->lineEdit();
    edit->clear();
    QTest::keyClicks(edit, text);
  }
  using dialogtest::DialogFormTest::Choose;
  // A copy to compare with later (formats are not copyable).
  static std::unique_ptr<TxlsFormat> Copy(const TxlsFormat& format) {
    auto copy = std::make_unique<TxlsFormat>();
    copy->Assign(format);
    return copy;
  }
};

TEST_F(XLSFormatEditor, BackgroundAndPatternKeepEachOtherVisibleOnEverySelectedItem) {
  Select(List("lstXLSFields"), {0, 1, 2});
  PickColor(clrYellow);
  Click("btnFillBackground");
  for (int i : {0, 1, 2}) {
    EXPECT_EQ(Field(i).Fill.Background, clrYellow) << i;
    EXPECT_EQ(Field(i).Fill.Pattern, ptSolid) << i;
  }
  EXPECT_EQ(Field(3).Fill.Background, clrWhite);  // not selected
  EXPECT_EQ(Field(3).Fill.Pattern, ptNone);
  EXPECT_EQ(form->Control<QComboBox>("cmbPattern")->currentIndex(), ptSolid);

  // A pattern on a coloured background stays; none turns the background white again.
  Choose("cmbPattern", ptChess);
  EXPECT_EQ(Field(2).Fill.Pattern, ptChess);
  EXPECT_EQ(Field(2).Fill.Background, clrYellow);
  Choose("cmbPattern", ptNone);
  for (int i : {0, 1, 2}) {
    EXPECT_EQ(Field(i).Fill.Background, clrWhite) << i;
    EXPECT_EQ(Field(i).Fill.Pattern, ptNone) << i;
  }

  // White keeps the pattern as it is; a cancelled picker leaves the colour.
  PickColor(clrWhite);
  Click("btnFillBackground");
  EXPECT_EQ(Field(0).Fill.Pattern, ptNone);
  services.onModal = nullptr;
  Choose("cmbPattern", ptBoldChess);
  Click("btnFillForeground");
  EXPECT_EQ(Field(1).Fill.Foreground, clrBlack);
  EXPECT_EQ(Field(1).Fill.Pattern, ptBoldChess);
}

TEST_F(XLSFormatEditor, TheBorderButtonAndItsComboMoveTogether) {
  Select(List("lstXLSFields"), {1});
  auto* button = form->Control<QToolButton>("btnBorderTop");
  auto* combo = form->Control<QComboBox>("cmbBorderTop");
  ASSERT_EQ(Field(1).Borders.Top.Style, bstNone);
  Click("btnBorderTop");
  EXPECT_EQ(Field(1).Borders.Top.Style, bstThin);
  EXPECT_TRUE(button->isChecked());
  EXPECT_EQ(combo->currentIndex(), bstThin);
  Click("btnBorderTop");
  EXPECT_EQ(Field(1).Borders.Top.Style, bstNone);
  EXPECT_FALSE(button->isChecked());

  Choose("cmbBorderTop", bstDouble);
  EXPECT_EQ(Field(1).Borders.Top.Style, bstDouble);
  EXPECT_TRUE(button->isChecked());
  Choose("cmbBorderTop", bstNone);
  EXPECT_FALSE(button->isChecked());

  // Items whose borders differ show no style; the button gives them all a thin one.
  Field(2).Borders.Bottom.Style = bstThick;
  Select(List("lstXLSFields"), {1, 2});
  EXPECT_EQ(form->Control<QComboBox>("cmbBorderBottom")->currentIndex(), -1);
  Click("btnBorderBottom");
  EXPECT_EQ(Field(1).Borders.Bottom.Style, bstThin);
  EXPECT_EQ(Field(2).Borders.Bottom.Style, bstThin);

  PickColor(clrRed);
  Click("btnBorderLeftColor");
  EXPECT_EQ(Field(1).Borders.Left.Color, clrRed);
  EXPECT_EQ(Field(2).Borders.Left.Color, clrRed);

  // A cancelled picker leaves every selected item its own colours.
  Field(2).Borders.Right.Color = clrBlue;
  Field(2).Fill.Foreground = clrGreen;
  Field(2).Fill.Background = clrYellow;
  services.onModal = nullptr;
  for (const char* button : {"btnBorderRightColor", "btnFillForeground", "btnFillBackground"}) Click(button);
  EXPECT_EQ(Field(2).Borders.Right.Color, clrBlue);
  EXPECT_EQ(Field(2).Fill.Foreground, clrGreen);
  EXPECT_EQ(Field(2).Fill.Background, clrYellow);
  EXPECT_EQ(Field(1).Fill.Pattern, ptNone);
}

TEST_F(XLSFormatEditor, FontSizesThatAreNoNumberGiveTenAndTheRestStayWithinTheRecord) {
  Select(List("lstXLSFields"), {0});
  TypeSize("14");
  EXPECT_EQ(Field(0).Font.Size, 14);
  TypeSize("x");
  EXPECT_EQ(Field(0).Font.Size, 10);
  TypeSize("5000");
  EXPECT_EQ(Field(0).Font.Size, 409);
  TypeSize("0");
  EXPECT_EQ(Field(0).Font.Size, 1);
  // Enter takes what was typed without adding it to the sizes or fonts offered.
  auto* sizes = form->Control<QComboBox>("cbxXLSFontSize");
  auto* fonts = form->Control<QComboBox>("cbxXLSFont");
  const int offered = sizes->count(), installed = fonts->count();
  TypeSize("x");
  QTest::keyClick(sizes->lineEdit(), Qt::Key_Return);
  fonts->lineEdit()->clear();
  QTest::keyClicks(fonts->lineEdit(), "No Such Font");
  QTest::keyClick(fonts->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(sizes->count(), offered);
  EXPECT_EQ(fonts->count(), installed);
  EXPECT_EQ(Field(0).Font.Size, 10);
  EXPECT_EQ(Field(0).Font.Name, u"No Such Font");
}

// The boxes take what is typed as it is typed; Enter, with the dialog on screen and a file to
// export to, must not also start the export through the default button.
TEST_F(XLSFormatEditor, EnterInTheFontBoxesStartsNoExport) {
  exporttest::TempFolder folder;
  form->SetFileName(folder / "out.xls");
  form->ShowButtons();
  ASSERT_TRUE(form->Control<QWidget>("bStart")->isEnabled());
  ShowActive();
  Select(List("lstXLSFields"), {0});
  TypeAndEnter(form->Control<QComboBox>("cbxXLSFontSize"), "14");
  ASSERT_TRUE(std::filesystem::is_empty(folder.Path())) << "Enter started the export";
  TypeAndEnter(form->Control<QComboBox>("cbxXLSFont"), "Courier");
  EXPECT_TRUE(std::filesystem::is_empty(folder.Path())) << "Enter started the export";
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(Field(0).Font.Size, 14);
  EXPECT_EQ(Field(0).Font.Name, u"Courier");
  form->hide();
}

TEST_F(XLSFormatEditor, AnEditReachesEverySelectedItemAndNoOther) {
  Select(List("lstXLSFields"), {0, 2, 3});
  Click("btnFontBold");
  for (int i : {0, 2, 3}) EXPECT_TRUE(Field(i).Font.Style.Has(xfsBold)) << i;
  EXPECT_FALSE(Field(1).Font.Style.Has(xfsBold));

  Click("btnHorizontalCenter");
  Click("btnUnderlineDouble");
  for (int i : {0, 2, 3}) {
    EXPECT_EQ(Field(i).Alignment.Horizontal, halCenter) << i;
    EXPECT_EQ(Field(i).Font.Underline, fulDouble) << i;
  }
  // The buttons of one choice: pressing another lets the first go up.
  Click("btnHorizontalRight");
  EXPECT_FALSE(form->Control<QToolButton>("btnHorizontalCenter")->isChecked());
  EXPECT_EQ(Field(3).Alignment.Horizontal, halRight);
  Click("btnHorizontalRight");
  EXPECT_EQ(Field(3).Alignment.Horizontal, halGeneral);
  Click("btnVerticalTop");
  EXPECT_EQ(Field(2).Alignment.Vertical, valTop);

  PickColor(clrBlue);
  Click("btnFontColor");
  for (int i : {0, 2, 3}) EXPECT_EQ(Field(i).Font.Color, clrBlue) << i;
  EXPECT_EQ(Field(1).Font.Color, clrBlack);
}

TEST_F(XLSFormatEditor, WithNothingSelectedTheSheetsChangeNothing) {
  QTreeWidget* fields = List("lstXLSFields");
  fields->clearSelection();
  ASSERT_EQ(Ed().CurrXLSFormat(), nullptr);
  std::vector<std::unique_ptr<TxlsFormat>> before;
  for (int i = 0; i < 4; ++i) before.push_back(Copy(Field(i)));
  PickColor(clrRed);
  Click("btnFontBold");
  Click("btnBorderTop");
  Click("btnVerticalCenter");
  Click("btnFillBackground");
  Choose("cmbPattern", ptChess);
  TypeSize("20");
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(Field(i).IsEqual(before[static_cast<size_t>(i)].get())) << i;
  EXPECT_FALSE(services.log.join(' ').contains("modal"));  // no picker offered
  // A button that changed nothing does not look as if it had.
  for (const char* button : {"btnFontBold", "btnBorderTop", "btnVerticalCenter"})
    EXPECT_FALSE(form->Control<QToolButton>(button)->isChecked()) << button;
}

TEST_F(XLSFormatEditor, ValuesTheSelectedItemsDoNotShareShowEmpty) {
  auto* size = form->Control<QComboBox>("cbxXLSFontSize");
  auto* font = form->Control<QComboBox>("cbxXLSFont");
  auto* reset = form->Control<QPushButton>("btnXLSResetItem");
  auto* function = form->Control<ui::TRadioGroup>("rgXLSFunction");
  Field(1).Font.Size = 12;
  dynamic_cast<TxlsFieldFormat&>(Field(1)).Aggregate = aggSum;
  dynamic_cast<TxlsFieldFormat&>(Field(2)).Aggregate = aggSum;
  Select(List("lstXLSFields"), {0, 1});
  EXPECT_EQ(size->currentText(), QString());
  EXPECT_EQ(function->ItemIndex(), -1);
  EXPECT_EQ(reset->text(), "Reset selected");
  EXPECT_FALSE(font->currentText().isEmpty());  // the names are the same

  Field(2).Font.Size = 12;
  Select(List("lstXLSFields"), {1, 2});
  EXPECT_EQ(size->currentText(), "12");
  EXPECT_EQ(function->ItemIndex(), aggSum);

  Select(List("lstXLSFields"), {3});
  EXPECT_EQ(reset->text(), "Reset item");
  EXPECT_EQ(size->currentText(), "10");
}

TEST_F(XLSFormatEditor, TheAggregateFunctionGoesToEverySelectedField) {
  Select(List("lstXLSFields"), {0, 3});
  form->Control<ui::TRadioGroup>("rgXLSFunction")->Button(aggMax)->click();
  EXPECT_EQ(dynamic_cast<TxlsFieldFormat&>(Field(0)).Aggregate, aggMax);
  EXPECT_EQ(dynamic_cast<TxlsFieldFormat&>(Field(3)).Aggregate, aggMax);
  EXPECT_EQ(dynamic_cast<TxlsFieldFormat&>(Field(1)).Aggregate, aggNone);
}

TEST_F(XLSFormatEditor, ResetsAskFirstAndKeepTheCaptionElementBold) {
  ShowSheet("tshXLSOptions");
  QTreeWidget* options = List("lstXLSOptions");
  for (int i = 0; i < options->topLevelItemCount(); ++i) Format(options, i).Font.Size = 20;
  services.answers = {MessageAnswer::No};
  form->Control<QPushButton>("btnXLSResetAll")->click();
  ASSERT_EQ(services.log.filter("message|").size(), 1);
  EXPECT_TRUE(services.log.filter("message|").first().startsWith("message|Attention!|All field formats will be reset"));
  for (int i = 0; i < options->topLevelItemCount(); ++i) EXPECT_EQ(Format(options, i).Font.Size, 20) << i;

  services.answers = {MessageAnswer::Yes};
  form->Control<QPushButton>("btnXLSResetAll")->click();
  for (int i = 0; i < options->topLevelItemCount(); ++i) {
    EXPECT_EQ(Format(options, i).Font.Size, 10) << i;
    EXPECT_EQ(Format(options, i).Font.Style.Has(xfsBold), options->topLevelItem(i)->text(0) == "CAPTION") << i;
    // The hyperlink element's defaults are the blue, underlined look of links.
    const bool link = options->topLevelItem(i)->text(0) == "HYPERLINK";
    EXPECT_EQ(Format(options, i).Font.Color, link ? clrBlue : clrBlack) << i;
    EXPECT_EQ(Format(options, i).Font.Underline, link ? fulSingle : fulNone) << i;
  }
  Format(options, 4).Font.Color = clrRed;
  Select(options, {4});
  form->Control<QPushButton>("btnXLSResetItem")->click();
  EXPECT_EQ(Format(options, 4).Font.Color, clrBlue);

  // Reset item on the caption element alone, then on two selected items.
  Format(options, 1).Font.Size = 30;
  Format(options, 2).Font.Size = 30;
  Select(options, {1});
  form->Control<QPushButton>("btnXLSResetItem")->click();
  EXPECT_EQ(Format(options, 1).Font.Size, 10);
  EXPECT_TRUE(Format(options, 1).Font.Style.Has(xfsBold));
  Format(options, 1).Font.Size = 30;
  Select(options, {2, 1});
  form->Control<QPushButton>("btnXLSResetItem")->click();
  EXPECT_EQ(Format(options, 1).Font.Size, 10);
  EXPECT_EQ(Format(options, 2).Font.Size, 10);
  EXPECT_TRUE(Format(options, 1).Font.Style.Has(xfsBold));
}

TEST_F(XLSFormatEditor, EditingTheHyperlinkElementReachesTheHyperlinks) {
  TXLSExtensionsEditor& tree = form->XLSExtensions();
  tree.AddItemNode(xekHyperlink, "link", std::make_unique<TxlsHyperlink>());
  ShowSheet("tshXLSOptions");
  Select(List("lstXLSOptions"), {4});
  PickColor(clrRed);
  Click("btnFontColor");
  const auto* link = dynamic_cast<TxlsHyperlink*>(XLSNodeItem(tree.HyperlinkGroup()->child(0)));
  EXPECT_EQ(link->Format.Font.Color, clrRed);
}

TEST_F(XLSFormatEditor, OnTheCellsPageTheSheetsEditTheSelectedCell) {
  TXLSExtensionsEditor& tree = form->XLSExtensions();
  auto cell = std::make_unique<TxlsCell>();
  TxlsCell* kept = cell.get();
  QTreeWidgetItem* node = tree.AddItemNode(xekCell, "cell", std::move(cell));
  Select(List("lstXLSFields"), {0});
  const auto field = Copy(Field(0));
  auto* pages = form->Control<QTabWidget>("pcXLS");
  pages->setCurrentWidget(form->Control<QWidget>("tshXLSExtensions"));
  tree.Tree()->setCurrentItem(node);
  ASSERT_EQ(Ed().CurrXLSFormat(), &kept->Format);
  Click("btnFontItalic");
  PickColor(clrGreen);
  Click("btnFillBackground");
  EXPECT_TRUE(kept->Format.Font.Style.Has(xfsItalic));
  EXPECT_EQ(kept->Format.Fill.Background, clrGreen);
  EXPECT_EQ(kept->Format.Fill.Pattern, ptSolid);
  EXPECT_TRUE(Field(0).IsEqual(field.get()));

  // Back on the data-format tab the sheets show the field again.
  pages->setCurrentWidget(form->Control<QWidget>("tshXLSDataFormat"));
  EXPECT_FALSE(form->Control<QToolButton>("btnFontItalic")->isChecked());
  EXPECT_EQ(Ed().CurrXLSFormat(), &Field(0));
}

TEST_F(XLSFormatEditor, TheFieldButtonsKeepTheFieldFormatListInLine) {
  QTreeWidget* available = List("lstAvailableFields");
  QTreeWidget* fields = List("lstXLSFields");
  form->bDelAllExportedFieldClick();
  const auto images = [fields] {
    QStringList out;
    for (int i = 0; i < fields->topLevelItemCount(); ++i)
      out << fields->topLevelItem(i)->text(0) + "=" + QString::number(ItemImage(fields->topLevelItem(i)));
    return out.join(' ').toStdString();
  };
  // No field exported: every field counts as exported.
  EXPECT_EQ(images(), "Station=1 Temperature=1 Humidity=1 Dew=1");
  available->setCurrentItem(available->topLevelItem(2));
  form->bAddOneExportedFieldClick();
  EXPECT_EQ(images(), "Humidity=1 Station=0 Temperature=0 Dew=0");
  available->setCurrentItem(available->topLevelItem(0));
  form->bAddOneExportedFieldClick();
  EXPECT_EQ(images(), "Humidity=1 Station=1 Temperature=0 Dew=0");
  // The rest go before the fields exported already.
  form->bAddAllExportedFieldClick();
  EXPECT_EQ(images(), "Temperature=1 Dew=1 Humidity=1 Station=1");
  form->bDelOneExportedFieldClick();  // the first exported one
  EXPECT_EQ(images(), "Dew=1 Humidity=1 Station=1 Temperature=0");
}

TEST_F(XLSFormatEditor, AfterLoadingOptionsTheSheetsShowWhatTheFileHeld) {
  QTemporaryDir dir;
  const std::string file = (dir.path() + "/options.cfg").toStdString();
  Field(0).Font.Size = 18;
  form->SaveExportOptions(file);
  Field(0).Font.Size = 11;
  Select(List("lstXLSFields"), {0});
  ASSERT_EQ(form->Control<QComboBox>("cbxXLSFontSize")->currentText(), "11");
  form->LoadExportOptions(file);
  EXPECT_EQ(Field(0).Font.Size, 18);
  EXPECT_EQ(form->Control<QComboBox>("cbxXLSFontSize")->currentText(), "18");
}

TEST_F(XLSFormatEditor, DeletedStripStylesAreFreedAndTheOthersStay) {
  ShowSheet("tshXLSStyles");
  QTreeWidget* styles = List("lstXLSStyles");
  std::vector<std::shared_ptr<bool>> freed;
  for (int i = 0; i < 3; ++i) {
    freed.push_back(std::make_shared<bool>(false));
    AddListItem(styles, QStringLiteral("ITEM_%1").arg(i + 1), 2,
                form->AdoptXLSItem(std::make_unique<dialogtest::WatchedFormat>(freed.back())));
  }
  Select(styles, {1});
  form->Control<QToolButton>("tbtDelXLSStyle")->click();
  EXPECT_TRUE(*freed[1]);
  EXPECT_FALSE(*freed[0]);
  EXPECT_FALSE(*freed[2]);
  // The style now chosen is one still there, and edits reach it.
  ASSERT_EQ(Ed().CurrXLSFormat(), XLSItemFormat(styles->topLevelItem(1)));
  Click("btnFontBold");
  EXPECT_TRUE(XLSItemFormat(styles->topLevelItem(1))->Font.Style.Has(xfsBold));
  EXPECT_EQ(Field(0).Font.Style.Has(xfsBold), false);  // the fields' formats are kept too
}

}  // namespace
