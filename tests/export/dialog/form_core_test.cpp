// The export dialog form's core and plain page handlers: pages by format and by the dialog's
// common options, file extensions, setters that write controls only on a change and without
// signals, whole-number edits, the CSV separator, the HTML colour preview, field moves, user
// formats and the captions grid.
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "export/dialog/field_list_drops.h"
#include "export/dialog/form_rules.h"
#include "export/dialog/list_items.h"
#include "export/dialog/form_widgets.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/model_source.h"
#include "export/vantrix3_html.h"
#include "dialog_form_fixture.h"
#include "fake_dialog_services.h"
#include "tests/export/export_fixtures.h"
#include "ui/radio_group.h"

using namespace vantrix;
using testsupport::FakeDialogServices;

namespace {

const char* const kPages[] = {"tshExportType", "tshFields", "tshFormats", "tshHeaderFooter", "tshCaptions", "tshRTF",
                              "tshXML",        "tshSQL",    "tshHTML",    "tshXLS",          "tshASCII",    "tshPDF"};

class FormCore : public dialogtest::DialogFormTest {
 protected:
  FormCore() {
    for (const char* name : {"Time", "Temperature", "Humidity"}) source.Columns().Add()->SetColumnName(name);
    source.Columns().GetItem(1)->SetColumnType(ectFloat);
    source.Columns().GetItem(2)->SetColumnType(ectInteger);
  }

  // "1" for each page of kPages shown, "0" for each hidden one.
  QString VisiblePages() const {
    auto* pages = form->Control<QTabWidget>("Pages");
    QString out;
    for (const char* name : kPages) out += pages->isTabVisible(pages->indexOf(form->Control<QWidget>(name))) ? '1' : '0';
    return out;
  }

  static void Type(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
  }

};

}  // namespace

// Columns in kPages order: type, fields, formats, header/footer, captions, RTF, XML, SQL, HTML,
// XLS, ASCII, PDF.
TEST_F(FormCore, PagesShownByFormatAndByTheCommonOptions) {
  const struct {
    TAllowedExport format;
    const char* all;
    const char* withoutFormatsAndColons;
  } table[] = {
      {aeXLS, "111110000100", "110010000100"},      {aeWord, "111111000000", "110011000000"},
      {aeRTF, "111111000000", "110011000000"},      {aeHTML, "111110001000", "110010001000"},
      {aeXML, "111000100000", "110000100000"},      {aeDBF, "110000000000", "110000000000"},
      {aePDF, "111110000001", "110010000001"},      {aeTXT, "111110000010", "110010000010"},
      {aeCSV, "111110000010", "110010000010"},      {aeDIFF, "111110000000", "110010000000"},
      {aeSylk, "111110000000", "110010000000"},     {aeLaTeX, "111110000000", "110010000000"},
      {aeSQL, "110100010000", "110000010000"},      {aeClipboard, "111110000000", "110010000000"},
  };
  Open();
  for (const auto& row : table) {
    Choose(row.format);
    EXPECT_EQ(VisiblePages(), row.all) << row.format;
  }
  dialog.CommonOptions.Exclude(coFormats);
  dialog.CommonOptions.Exclude(coColons);
  dialog.CommonOptions.Exclude(coOptions);
  Open();
  for (const auto& row : table) {
    Choose(row.format);
    EXPECT_EQ(VisiblePages(), row.withoutFormatsAndColons) << row.format;
  }
  auto* inner = form->Control<QTabWidget>("pcExportType");
  EXPECT_FALSE(inner->isTabVisible(inner->indexOf(form->Control<QWidget>("tshExportOptions"))));
  dialog.CommonOptions = TCommonOptions();
  Open();
  Choose(aeCSV);
  EXPECT_EQ(VisiblePages(), "100000000010");
}

TEST(FormRules, EveryPageAgainstEveryFormat) {
  // One line per format in format order; one mark per page of kPages.
  const char* const fits[kAllowedExportCount] = {
      "111110000100", "111111000000", "111111000000", "111110001000", "111000100000", "110000000000", "111110000001",
      "111110000010", "111110000010", "111110000000", "111110000000", "111110000000", "110100010000", "111110000000",
  };
  for (int t = 0; t < kAllowedExportCount; ++t) {
    QString marks;
    for (const char* page : kPages) marks += PageFitsFormat(page, static_cast<TAllowedExport>(t)) ? '1' : '0';
    EXPECT_EQ(marks, fits[t]) << t;
  }
  EXPECT_FALSE(PageFitsFormat("tshFields", static_cast<TAllowedExport>(kAllowedExportCount)));
  EXPECT_TRUE(PageFitsFormat("tshExportType", static_cast<TAllowedExport>(kAllowedExportCount)));
}

TEST(FormRules, TheExtensionIsWhatFollowsTheLastDotOfTheLastName) {
  EXPECT_EQ(ReplaceFileExtension("archive.tar.gz", "xls"), "archive.tar.xls");
  EXPECT_EQ(ReplaceFileExtension("dir.d/report", "xls"), "dir.d/report.xls");
  EXPECT_EQ(ReplaceFileExtension("/home/a.b/report.txt", "csv"), "/home/a.b/report.csv");
  EXPECT_EQ(ReplaceFileExtension("report.", "rtf"), "report.rtf");
  EXPECT_EQ(ReplaceFileExtension("dir/", "rtf"), "dir/.rtf");
}

TEST_F(FormCore, ChangingTheFormatChangesTheExtensionAndTheFileControls) {
  dialog.FileName = "/tmp/out/report.txt";
  dialog.AllowedExports = TAllowedExports(1u << aeXLS | 1u << aeClipboard | 1u << aeTXT);
  Open();
  EXPECT_EQ(form->Options().FileName, "/tmp/out/report.xls");  // the first format is chosen
  EXPECT_EQ(form->Control<QLineEdit>("edFileName")->text(), "/tmp/out/report.xls");
  EXPECT_TRUE(form->windowTitle().contains("report.xls"));
  Choose(aeClipboard);
  EXPECT_EQ(form->Options().FileName, "/tmp/out/report.xls");
  EXPECT_FALSE(form->Control<QWidget>("edFileName")->isEnabled());
  EXPECT_FALSE(form->Control<QWidget>("chShowFile")->isEnabled());
  form->SetFileName("");
  form->ShowButtons();
  EXPECT_TRUE(form->Control<QPushButton>("bStart")->isEnabled());
  Choose(aeTXT);
  EXPECT_FALSE(form->Control<QPushButton>("bStart")->isEnabled());
  EXPECT_EQ(form->Options().FileName, "");  // an empty name gets no extension

  dialog.AutoChangeFileExt = false;
  dialog.FileName = "report.txt";
  Open();
  EXPECT_EQ(form->Options().FileName, "report.txt");
}

// On the form at its own size, the page a format adds is in view in the tab bar as soon as
// the format is chosen, not behind the bar's scroll arrows.
TEST_F(FormCore, TheChosenFormatsOwnPageIsInViewInTheTabBar) {
  Open();
  form->show();
  QTabBar* bar = form->Control<QTabWidget>("Pages")->tabBar();
  const struct {
    TAllowedExport format;
    const char* page;
  } table[] = {{aeXLS, "tshXLS"}, {aeRTF, "tshRTF"}, {aePDF, "tshPDF"}, {aeHTML, "tshHTML"},
               {aeSQL, "tshSQL"}, {aeXML, "tshXML"}, {aeTXT, "tshASCII"}};
  for (const auto& row : table) {
    Choose(row.format);
    QApplication::processEvents();
    // The bar shows its tabs left of its scroll arrows, when it has them.
    int visibleEnd = bar->width();
    for (auto* arrow : bar->findChildren<QToolButton*>())
      if (arrow->isVisible()) visibleEnd = std::min(visibleEnd, arrow->x());
    const QRect tab = bar->tabRect(form->Control<QTabWidget>("Pages")->indexOf(form->Control<QWidget>(row.page)));
    EXPECT_GE(tab.left(), 0) << row.page;
    EXPECT_LE(tab.right(), visibleEnd) << row.page << " ends at " << tab.right() << ", the bar shows " << visibleEnd;
    EXPECT_EQ(form->Control<QTabWidget>("Pages")->currentWidget()->objectName(), "tshExportType");
  }
  form->hide();
}

TEST_F(FormCore, AnIncompatiblePageGivesWayToTheExportTypePage) {
  Open();
  Choose(aeSQL);
  auto* pages = form->Control<QTabWidget>("Pages");
  pages->setCurrentWidget(form->Control<QWidget>("tshSQL"));
  EXPECT_TRUE(form->IsCompatiblePage());
  Choose(aeCSV);
  EXPECT_EQ(pages->currentWidget()->objectName(), "tshExportType");
  pages->setCurrentWidget(form->Control<QWidget>("tshFormats"));
  Choose(aeSQL);
  EXPECT_EQ(pages->currentWidget()->objectName(), "tshExportType");
}

TEST_F(FormCore, SettersWriteControlsOnlyOnAChangeWithoutSignals) {
  Open();
  auto* edit = form->Control<QLineEdit>("edSQLTableName");
  QSignalSpy changed(edit, &QLineEdit::textChanged);
  form->SetSQLTableName("orders");
  EXPECT_EQ(edit->text(), "orders");
  EXPECT_EQ(changed.count(), 0);
  // The user's typing reaches the option; the setter then leaves the edit (and its caret) be.
  Type(edit, "items");
  EXPECT_EQ(form->Options().SQLTableName, "items");
  EXPECT_EQ(edit->cursorPosition(), 5);
  // A value equal to the stored one leaves a control that was changed behind the form's back.
  edit->setText("other");
  form->SetSQLTableName("items");
  EXPECT_EQ(edit->text(), "other");

  form->SetNullString("NULL");
  EXPECT_EQ(form->Control<QLineEdit>("edNullString")->text(), "NULL");
  EXPECT_EQ(form->Control<QLineEdit>("edSQLNullString")->text(), "NULL");
  Type(form->Control<QLineEdit>("edSQLNullString"), "nada");
  EXPECT_EQ(form->Control<QLineEdit>("edNullString")->text(), "nada");

  form->SetXMLEncoding("UTF-8");
  form->SetXMLEncoding("utf-8");  // the same encoding
  EXPECT_EQ(form->Options().XMLEncoding, "UTF-8");

  // Numbers and choices that start at 0 show it.
  for (const char* name : {"edSkipRecCount", "edExportRecCount", "edSQLCommitRecCount", "edHTMLFileRecCount"})
    EXPECT_EQ(form->Control<QLineEdit>(name)->text(), "0") << name;
  for (const char* name : {"rgXLSStripType", "rgRTFStripType", "rgRTFPageOrientation"})
    EXPECT_EQ(form->Control<ui::TRadioGroup>(name)->ItemIndex(), 0) << name;
  form->SetExportRecCount(7);
  EXPECT_TRUE(form->Control<QAbstractButton>("rbExportOnly")->isChecked());
  EXPECT_TRUE(form->Control<QWidget>("edExportRecCount")->isEnabled());
  QTest::mouseClick(form->Control<QAbstractButton>("rbExportAllRecords"), Qt::LeftButton);
  EXPECT_EQ(form->Options().ExportRecCount, 0);
  EXPECT_FALSE(form->Control<QWidget>("edExportRecCount")->isEnabled());
}

TEST_F(FormCore, WholeNumberEditsTakeDigitsAndTreatAnEmptiedEditByTheirRule) {
  dialog.SQLOptions.CommitRecCount = 50;
  dialog.TXTOptions.ColSpacing = 3;
  dialog.HTMLTableOptions.CellPadding = 4;
  Open();
  Type(form->Control<QLineEdit>("edSQLCommitRecCount"), "");
  EXPECT_EQ(form->Options().SQLCommitRecCount, 50);
  Type(form->Control<QLineEdit>("edTXTSpacing"), "");
  EXPECT_EQ(form->Options().TXTSpacing, 3);
  Type(form->Control<QLineEdit>("edHTMLCellPadding"), "");
  EXPECT_EQ(form->Options().HTMLCellPadding, 0);
  auto* skip = form->Control<QLineEdit>("edSkipRecCount");
  Type(skip, "1a2-");
  EXPECT_EQ(skip->text(), "12");
  EXPECT_EQ(form->Options().SkipRecCount, 12);
  auto* spacing = form->Control<QLineEdit>("edPDFColSpacing");
  Type(spacing, "1.5.2");
  EXPECT_EQ(spacing->text(), "1.52");
}

TEST_F(FormCore, AnEmptyOrUnreadableCSVSeparatorKeepsThePreviousOne) {
  dialog.CSVOptions.Comma = ';';
  dialog.CSVOptions.Quote = 0;  // none
  Open();
  EXPECT_EQ(form->Control<QLineEdit>("edCSVQuote")->text(), "#0");
  auto* comma = form->Control<QLineEdit>("edCSVComma");
  EXPECT_EQ(comma->text(), ";");
  for (const char* text : {"", "#x", "#999"}) {
    Type(comma, text);
    emit comma->editingFinished();
    EXPECT_EQ(form->Options().CSVComma, ';') << text;
    EXPECT_EQ(comma->text(), ";");
  }
  Type(comma, "#9");
  emit comma->editingFinished();
  EXPECT_EQ(form->Options().CSVComma, '\t');
  EXPECT_EQ(comma->text(), "#9");
  // The quote may be none; the edit shows what was kept.
  auto* quote = form->Control<QLineEdit>("edCSVQuote");
  Type(quote, "#x");
  emit quote->editingFinished();
  EXPECT_EQ(form->Options().CSVQuote, '\0');
  EXPECT_EQ(quote->text(), "#0");
}

TEST_F(FormCore, APreviewColourMakesTheTemplateCustomAndACancelKeepsIt) {
  dialog.HTMLPageOptions.BackgroundColor = 0;  // black, the colour the options start with
  Open();
  EXPECT_EQ(form->Control<QWidget>("paHTMLBackground")->palette().color(QPalette::Window), QColor(Qt::black));
  auto* templates = form->Control<QComboBox>("cbxHTMLTemplate");
  templates->setCurrentIndex(3);
  EXPECT_EQ(form->Options().HTMLOddRowBackgroundColor, form->HTMLExp().TableOptions.OddRowBgColor);
  QTest::mouseClick(form->Control<QWidget>("paHTMLOddRowCol_4"), Qt::LeftButton);  // cancelled
  EXPECT_EQ(templates->currentIndex(), 3);
  services.colors.push_back(0x123456);
  QTest::mouseClick(form->Control<QWidget>("paHTMLOddRowCol_4"), Qt::LeftButton);
  EXPECT_EQ(form->Options().HTMLOddRowBackgroundColor, 0x123456u);
  EXPECT_EQ(form->HTMLExp().TableOptions.OddRowBgColor, 0x123456u);
  EXPECT_EQ(templates->currentIndex(), 0);
  services.colors.push_back(0x00FF00);
  QTest::mouseClick(form->Control<QWidget>("laHTMLData_12"), Qt::LeftButton);
  EXPECT_EQ(form->Options().HTMLDataFontColor, 0x00FF00u);
}

TEST_F(FormCore, FieldsGoBackToTheirPlaceInColumnOrder) {
  Open();
  auto* available = form->Control<QTreeWidget>("lstAvailableFields");
  auto* exported = form->Control<QTreeWidget>("lstExportedFields");
  const auto names = [](QTreeWidget* list) {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i) out << list->topLevelItem(i)->text(0);
    return out.join(',');
  };
  form->bAddAllExportedFieldClick();
  EXPECT_EQ(names(exported), "Time,Temperature,Humidity");
  EXPECT_EQ(available->topLevelItemCount(), 0);
  exported->setCurrentItem(exported->topLevelItem(2));
  form->bDelOneExportedFieldClick();
  exported->setCurrentItem(exported->topLevelItem(0));
  form->bDelOneExportedFieldClick();
  EXPECT_EQ(names(available), "Time,Humidity");
  EXPECT_EQ(names(exported), "Temperature");
  EXPECT_EQ(form->GetIndexOfNewAvailableFields(exported->topLevelItem(0)), 1);
  form->bDelAllExportedFieldClick();
  EXPECT_EQ(names(available), "Time,Temperature,Humidity");
  available->setCurrentItem(available->topLevelItem(2));
  form->bAddOneExportedFieldClick();
  available->setCurrentItem(available->topLevelItem(0));
  form->bAddOneExportedFieldClick();
  EXPECT_EQ(names(exported), "Humidity,Time");

  // Moved at once, by name, as the add button moves them one by one: each name's first
  // available field in turn, the last current, and in the available list the field that took
  // its place.
  form->bDelAllExportedFieldClick();
  form->ExportFieldsNamed({"TEMPERATURE", "nothing"});
  EXPECT_EQ(names(exported), "Temperature");
  EXPECT_EQ(exported->currentItem(), exported->topLevelItem(0));
  EXPECT_EQ(available->currentItem(), available->topLevelItem(1));
  form->bDelAllExportedFieldClick();
  form->ExportFieldsNamed({"Humidity", "time", "Humidity"});
  EXPECT_EQ(names(exported), "Humidity,Time");
  EXPECT_EQ(names(available), "Temperature");
  EXPECT_EQ(available->currentItem(), available->topLevelItem(0));

  // With the available fields dragged out of column order, each field goes back after the
  // last one whose column comes before its own.
  form->bDelAllExportedFieldClick();
  available->clearSelection();
  available->setCurrentItem(available->topLevelItem(0));
  lstAvailableFieldsDragDrop(*form, available, available->topLevelItem(2));
  EXPECT_EQ(names(available), "Temperature,Humidity,Time");
  form->ExportFieldsNamed({"Temperature"});
  form->bDelAllExportedFieldClick();
  EXPECT_EQ(names(available), "Humidity,Time,Temperature");
}

TEST_F(FormCore, UserFormatsNeedAChosenEntryToBeEditedOrDeleted) {
  Open();
  auto* fields = form->Control<QComboBox>("cbxFormatFields");
  ASSERT_EQ(fields->count(), 2);  // the float and the integer column
  EXPECT_EQ(form->Control<QComboBox>("cbxUserFormats")->currentText(), "#,###,##0.00");
  auto* list = form->Control<QTreeWidget>("lstUserFormats");
  EXPECT_FALSE(form->Control<QWidget>("bEditUserFormat")->isEnabled());
  form->bAddUserFormatClick();
  form->Control<QComboBox>("cbxUserFormats")->setCurrentText("0.0");
  form->bAddUserFormatClick();  // the same field again replaces its entry
  ASSERT_EQ(list->topLevelItemCount(), 1);
  EXPECT_EQ(list->topLevelItem(0)->text(2), "0.0");
  EXPECT_TRUE(form->Control<QWidget>("bClearUserFormats")->isEnabled());
  list->setCurrentItem(nullptr);
  services.inputs.push_back("0.000");
  form->bEditUserFormatClick();
  form->bDeleteUserFormatClick();
  list->setCurrentItem(list->topLevelItem(0));
  list->topLevelItem(0)->setSelected(false);  // current, but deselected by the user
  form->bEditUserFormatClick();
  form->bDeleteUserFormatClick();
  EXPECT_TRUE(services.log.isEmpty());
  EXPECT_EQ(list->topLevelItemCount(), 1);
  list->setCurrentItem(list->topLevelItem(0));
  form->bEditUserFormatClick();
  EXPECT_EQ(list->topLevelItem(0)->text(2), "0.000");
  form->bDeleteUserFormatClick();
  EXPECT_EQ(list->topLevelItemCount(), 0);
  EXPECT_FALSE(form->Control<QWidget>("bDeleteUserFormat")->isEnabled());
}

TEST_F(FormCore, TheCaptionsGridFollowsTheFormat) {
  source.Columns().GetItem(1)->SetCaption("Temperature (C)");
  Open();
  auto* grid = form->Control<QTableWidget>("sgrCaptions");
  ASSERT_EQ(grid->rowCount(), 4);
  EXPECT_EQ(grid->item(2, 1)->text(), "Temperature (C)");
  EXPECT_EQ(grid->columnCount(), 3);  // the spreadsheet: name, caption, width
  Choose(aeRTF);
  EXPECT_EQ(grid->columnCount(), 4);
  EXPECT_EQ(grid->item(1, 2)->text(), "Left");
  Choose(aeCSV);
  EXPECT_EQ(grid->columnCount(), 2);
  auto* pages = form->Control<QTabWidget>("Pages");
  EXPECT_EQ(pages->tabText(pages->indexOf(form->Control<QWidget>("tshCaptions"))), "Caption");
}

TEST_F(FormCore, StringGridCaptionsAreReadOnlyFromRowsAndColumnsTheGridHas) {
  exporttest::TableModel model({"a", "b"}, exporttest::GridRows(3, 2));
  TVantrixModelSource grid(&model);
  dialog.ExportSource = esStringGrid;
  dialog.SetStringGrid(&grid);
  dialog.CaptionRow = 0;
  Open();
  auto* captions = form->Control<QTableWidget>("sgrCaptions");
  ASSERT_EQ(captions->rowCount(), 3);
  EXPECT_EQ(captions->item(1, 1)->text(), "r0c0");
  EXPECT_EQ(captions->item(2, 1)->text(), "r0c1");
  EXPECT_FALSE(form->Control<QWidget>("edCaptionRow")->isHidden());
  for (int row : {3, 4, -2}) {
    captions->item(1, 1)->setText("kept");
    form->SetCaptionRow(row);
    form->LoadStringGridCaption();
    EXPECT_EQ(captions->item(1, 1)->text(), "kept") << row;
  }
  captions->item(1, 0)->setText("7");  // a column the grid lacks
  form->SetCaptionRow(2);
  form->LoadStringGridCaption();
  EXPECT_EQ(captions->item(1, 1)->text(), "kept");
  EXPECT_EQ(captions->item(2, 1)->text(), "r2c1");
}

TEST_F(FormCore, TheAggregateSheetShowsOnlyWithTheFieldFormats) {
  Open();
  auto* lists = form->Control<QTabWidget>("pcXLSFormats");
  auto* sheets = form->Control<QTabWidget>("pcXLSDataFormat");
  const auto aggregateShown = [&] { return sheets->isTabVisible(sheets->indexOf(form->Control<QWidget>("tshXLSAggregate"))); };
  lists->setCurrentWidget(form->Control<QWidget>("tshXLSStyles"));
  EXPECT_FALSE(aggregateShown());
  lists->setCurrentWidget(form->Control<QWidget>("tshXLSFields"));
  EXPECT_TRUE(aggregateShown());
}

TEST_F(FormCore, TurningToAStylePageKeepsItsListsSelectionAndShowsIt) {
  Open();
  auto* pages = form->Control<QTabWidget>("Pages");
  auto* fields = form->Control<QTreeWidget>("lstXLSFields");
  Choose(aeXLS);
  pages->setCurrentWidget(form->Control<QWidget>("tshXLS"));
  for (int i = 0; i < 3; ++i) fields->topLevelItem(i)->setSelected(true);
  pages->setCurrentWidget(form->Control<QWidget>("tshFields"));
  pages->setCurrentWidget(form->Control<QWidget>("tshXLS"));
  EXPECT_EQ(fields->selectedItems().size(), 3);
  EXPECT_EQ(form->Control<QPushButton>("btnXLSResetItem")->text(), "Reset selected");
  // A list with nothing selected gets its first item.
  fields->clearSelection();
  pages->setCurrentWidget(form->Control<QWidget>("tshFields"));
  pages->setCurrentWidget(form->Control<QWidget>("tshXLS"));
  EXPECT_EQ(fields->selectedItems(), QList<QTreeWidgetItem*>{fields->topLevelItem(0)});

  auto* base = form->Control<QTreeWidget>("lstRTFBaseStyles");
  Choose(aeRTF);
  base->topLevelItem(1)->setSelected(true);
  base->topLevelItem(3)->setSelected(true);
  pages->setCurrentWidget(form->Control<QWidget>("tshRTF"));
  EXPECT_EQ(base->selectedItems().size(), 3);
}

TEST_F(FormCore, TheOwnerFillsTheHeaderAndFooterLast) {
  dialog.Header = {"from the dialog"};
  dialog.OnGetHeader = [](QObject&, TStrings& lines) { lines.push_back("added"); };
  dialog.OnGetFooter = [](QObject&, TStrings& lines) { lines = {"footer"}; };
  Open();
  EXPECT_EQ(form->Control<QPlainTextEdit>("memHeader")->toPlainText(), "from the dialog\nadded");
  EXPECT_EQ(form->Control<QPlainTextEdit>("memFooter")->toPlainText(), "footer");
}

TEST_F(FormCore, StripStylesAreAddedDeletedAndMovedWithTheirFormats) {
  Open();
  auto* list = form->Control<QTreeWidget>("lstXLSStyles");
  const auto captions = [&] {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i) out << list->topLevelItem(i)->text(0);
    return out.join(',');
  };
  for (int i = 0; i < 3; ++i) form->tbtAddXLSStyleClick();
  EXPECT_EQ(captions(), "ITEM_1,ITEM_2,ITEM_3");
  EXPECT_EQ(list->selectedItems(), QList<QTreeWidgetItem*>{list->topLevelItem(2)});
  void* second = ItemObject(list->topLevelItem(1));
  list->setCurrentItem(list->topLevelItem(1));
  form->MoveXLSStyle(-1);
  EXPECT_EQ(ItemObject(list->topLevelItem(0)), second);
  EXPECT_EQ(list->currentItem(), list->topLevelItem(0));
  form->MoveXLSStyle(-1);  // already first
  EXPECT_EQ(ItemObject(list->topLevelItem(0)), second);
  EXPECT_FALSE(list->topLevelItem(0)->data(0, Qt::CheckStateRole).isValid());

  list->clearSelection();
  list->topLevelItem(1)->setSelected(true);
  list->topLevelItem(2)->setSelected(true);
  form->tbtDelXLSStyleClick();
  EXPECT_EQ(captions(), "ITEM_1");
  EXPECT_EQ(list->selectedItems(), QList<QTreeWidgetItem*>{list->topLevelItem(0)});
  list->topLevelItem(0)->setSelected(true);
  form->tbtDelXLSStyleClick();
  EXPECT_EQ(list->topLevelItemCount(), 0);
  EXPECT_TRUE(list->selectedItems().isEmpty());
  EXPECT_EQ(list->currentItem(), nullptr);
  form->tbtDelXLSStyleClick();  // nothing to delete

  form->tbtAddXLSStyleClick();
  services.files.push_back("/proc/no/such/folder/styles.xst");
  form->tbtSaveXLSStyleClick();
  EXPECT_EQ(services.log.filter("message|").size(), 1);
}

// Enter in the HTML font box or the user-format box takes what was typed; with the dialog on
// screen and a file to export to it must not also press the default button, Start.
TEST_F(FormCore, EnterInTheEditableBoxesOfTheFormatAndHTMLPagesStartsNoExport) {
  exporttest::TempFolder folder;
  Open();
  Choose(aeHTML);
  form->SetFileName(folder / "out.html");
  form->ShowButtons();
  ASSERT_TRUE(form->Control<QWidget>("bStart")->isEnabled());
  ShowActive();
  TypeAndEnter(form->Control<QComboBox>("cbxHTMLFontName"), "Verdana");
  EXPECT_TRUE(std::filesystem::is_empty(folder.Path())) << "Enter in the font box started the export";
  EXPECT_EQ(form->Options().HTMLFontName, "Verdana");
  TypeAndEnter(form->Control<QComboBox>("cbxUserFormats"), "0.00");
  EXPECT_TRUE(std::filesystem::is_empty(folder.Path())) << "Enter in the user-format box started the export";
  EXPECT_TRUE(form->isVisible());
  form->hide();
}
