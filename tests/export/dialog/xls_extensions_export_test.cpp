// Extras built by hand in the extensions tree reach the workbook exported through the dialog:
// each kind read back by programs we did not write (xlrd, a walk over the records through
// xlrd's compound-file reader, gnumeric's reading of the charts).
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>

#include "dialog_form_fixture.h"
#include "export/dialog/progress_window.h"
#include "export/dialog/xls_extensions_editor.h"
#include "export/xls/xls_cell.h"
#include "export/xls/xls_link_note.h"
#include "platform/datetime.h"
#include "tests/export/export_fixtures.h"
#include "tests/export/xls/read_drawings.h"
#include "tests/export/xls/run_program.h"
#include "ui/radio_group.h"

using namespace vantrix;
using xlstest::ProgramRun;
using xlstest::RunProgram;

namespace {

constexpr int kRows = 20;

class TreeExport : public dialogtest::DialogFormTest {
 protected:
  TreeExport() {
    dialog.ShowFile = false;
    UseStationReadings(kRows);
  }

  TXLSExtensionsEditor& Tree() { return form->XLSExtensions(); }
  void AddInto(QTreeWidgetItem* node) {
    Tree().Tree()->setCurrentItem(node);
    Tree().tbtAddXLSExtensionClick();
  }
  void Leave(const char* name, int value) {
    auto* edit = form->Control<QLineEdit>(name);
    edit->setText(QString::number(value));
    emit edit->editingFinished();
  }
  void Type(const char* name, const QString& text) {
    auto* edit = form->Control<QLineEdit>(name);
    edit->setText(text);
    emit edit->textEdited(text);
  }
  void Click(const char* name) { form->Control<QRadioButton>(name)->click(); }
  void Choose(const char* combo, const QString& text) {
    auto* box = form->Control<QComboBox>(combo);
    const int index = box->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    box->setCurrentIndex(index);
    emit box->activated(index);
  }

  // Runs the spreadsheet export from the start button and waits for its end, pressing the
  // progress window's button as a person would.
  std::string Export(const std::string& name) {
    form->SetExportType(aeXLS);
    form->rgExportTypeClick();
    const std::string path = folder / name;
    form->SetFileName(path);
    form->ShowButtons();
    QTimer presser;
    presser.setInterval(5);
    QObject::connect(&presser, &QTimer::timeout, [this] {
      TfmVantrix3Progress* p = form->ProgressWindow();
      if (p != nullptr && (p->Status() == estEnd || p->Status() == estAbort)) p->ButtonClick();
    });
    presser.start();
    form->bStartClick();
    return path;
  }

  // What xlrd and a walk over the records find in the workbook, with gnumeric's reading of
  // its charts; every reader silent.
  QJsonObject Read(const std::string& path) {
    return xlstest::ReadDrawings(path, QString::fromStdString(folder / "book.gnumeric"));
  }

  // One line per cell read by xlrd: row, column (from 0), type and value.
  QString Cells(const std::string& path, const QString& cells) {
    const QString script =
        "import xlrd,sys\n"
        "b=xlrd.open_workbook(sys.argv[1], formatting_info=True)\n"
        "s=b.sheet_by_index(0)\n"
        "for r,c in [" + cells + "]:\n"
        "  v=s.cell_value(r,c)\n"
        "  if s.cell_type(r,c)==xlrd.XL_CELL_DATE: v=xlrd.xldate_as_tuple(v,b.datemode)\n"
        "  print(r,c,s.cell_type(r,c),repr(v),b.font_list[b.xf_list[s.cell_xf_index(r,c)].font_index].weight)\n";
    const ProgramRun run = RunProgram("/usr/bin/python3", {"-c", script, QString::fromStdString(path)});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    return QString::fromUtf8(run.out);
  }

  exporttest::TempFolder folder;
};

}  // namespace

// A chart with a series on a column and one on a typed range, its category labels from a
// column: the chart names the data rows of those columns, which gnumeric reads as the chart's
// vectors, and the series titles typed in the tree.
TEST_F(TreeExport, AChartWithItsSeriesReachesTheWorkbook) {
  Open();
  AddInto(Tree().ChartGroup());
  Type("edXLSChartTitle", "Leituras");
  Click("rbXLSChartCategoryLabelColumn");
  Choose("cbXLSChartCategoryLabelColumn", "Station");
  QTreeWidgetItem* seriesGroup = Tree().ChartGroup()->child(0)->child(0);
  AddInto(seriesGroup);
  Type("edXLSSeriesTitle", "Umidade");
  Click("rbXLSSeriesColumn");
  Choose("cbXLSSeriesColumn", "Humidity");
  AddInto(seriesGroup->child(0));
  Type("edXLSSeriesTitle", "Temperatura");
  Click("rbXLSSeriesCustom");
  Leave("edXLSSeriesDataRangeCol1", 2);
  Leave("edXLSSeriesDataRangeRow1", 2);
  Leave("edXLSSeriesDataRangeCol2", 2);
  Leave("edXLSSeriesDataRangeRow2", 6);
  ASSERT_EQ(seriesGroup->childCount(), 2);

  const std::string xls = Export("chart.xls");
  const QJsonObject book = Read(xls);
  const QJsonObject sheet = book["sheets"][0].toObject();
  EXPECT_EQ(sheet["charts"].toInt(), 1);
  // Values of each series (AI link 1) and the categories (link 2): sheet, rows, columns from 0.
  // The data rows start under the caption row.
  QList<QList<int>> ranges;
  for (const QJsonValue& ai : sheet["ai"].toArray()) {
    QList<int> r;
    for (const QJsonValue& v : ai.toArray()) r << v.toInt();
    ranges << r;
  }
  EXPECT_EQ(ranges, (QList<QList<int>>{{1, 0, 1, 20, 2, 2}, {2, 0, 1, 20, 0, 0}, {1, 0, 1, 5, 1, 1}, {2, 0, 1, 20, 0, 0}}));
  const QJsonArray graphs = book["gnumeric"][0]["graphs"].toArray();
  ASSERT_EQ(graphs.size(), 1);
  const QString vectors = QJsonDocument(graphs[0].toArray()).toJson(QJsonDocument::Compact);
  EXPECT_TRUE(vectors.contains("$C$2:$C$21")) << vectors.toStdString();
  EXPECT_TRUE(vectors.contains("$B$2:$B$6")) << vectors.toStdString();
  EXPECT_TRUE(vectors.contains("$A$2:$A$21")) << vectors.toStdString();
}

// Extra cells of the four types land where they were put, with the value typed in the tree as
// the type reads it; a hyperlink to a local file and a note with its own font keep their text.
TEST_F(TreeExport, ExtraCellsOfEveryTypeAndALocalFileLink) {
  Open();
  const struct {
    const char* type;
    int col, row;
    const char* value;  // null: the value shown is typed back
  } cells[] = {{"Boolean", 5, 2, "true"}, {"Numeric", 5, 3, "12.5"}, {"DateTime", 5, 4, nullptr},
               {"String", 5, 5, "sala 3"}};
  for (const auto& c : cells) {
    AddInto(Tree().CellGroup());
    Leave("edXLSCellCol", c.col);
    Leave("edXLSCellRow", c.row);
    Choose("cbXLSCellType", c.type);
    if (c.value != nullptr) {
      Type("edXLSCellValue", c.value);
      continue;
    }
    // A date the cell holds (as from an options file), shown in the value edit and typed back
    // as it stands, keeps its day and time.
    QTreeWidgetItem* node = Tree().Tree()->currentItem();
    auto* cell = dynamic_cast<TxlsCell*>(XLSNodeItem(node));
    ASSERT_NE(cell, nullptr);
    ASSERT_TRUE(platform::TryEncodeDateTime(2026, 12, 7, 8, 30, 0, 0, cell->DateTimeValue));
    Tree().Tree()->setCurrentItem(Tree().CellGroup());
    Tree().Tree()->setCurrentItem(node);
    Type("edXLSCellValue", form->Control<QLineEdit>("edXLSCellValue")->text());
  }
  // The shared font sheet on the cells page edits the selected cell's own format.
  form->Control<QTabWidget>("pcXLS")->setCurrentWidget(form->Control<QWidget>("tshXLSExtensions"));
  Tree().Tree()->setCurrentItem(Tree().CellGroup()->child(3));
  form->Control<QToolButton>("btnFontBold")->click();
  AddInto(Tree().HyperlinkGroup());
  Leave("edXLSHyperlinkCol", 6);
  Leave("edXLSHyperlinkRow", 3);
  form->Control<ui::TRadioGroup>("rgXLSHyperlinkStyle")->SetItemIndex(1);
  emit form->Control<ui::TRadioGroup>("rgXLSHyperlinkStyle")->Clicked(1);
  Type("edXLSHyperlinkTitle", "Relatório");
  Type("edXLSHyperlinkTarget", QString::fromStdString(folder / "report.txt"));
  Type("edXLSHyperlinkScreenTip", "abrir o relatório");
  AddInto(Tree().NoteGroup());
  Leave("edXLSNoteCol", 4);
  Leave("edXLSNoteRow", 10);
  form->Control<QPlainTextEdit>("mmXLSNoteLines")->setPlainText("revisão\nfinal");
  AddInto(Tree().MergedCellsGroup());
  Leave("edXLSMergedCellsFirstCol", 7);
  Leave("edXLSMergedCellsFirstRow", 2);
  Leave("edXLSMergedCellsLastCol", 8);
  Leave("edXLSMergedCellsLastRow", 4);

  const std::string xls = Export("cells.xls");
  EXPECT_EQ(Cells(xls, "(1,4),(2,4),(3,4),(4,4),(2,5)").toStdString(),
            "1 4 4 1 400\n"
            "2 4 2 12.5 400\n"
            "3 4 3 (2026, 12, 7, 8, 30, 0) 400\n"
            "4 4 1 'sala 3' 700\n"
            "2 5 1 'Relatório' 400\n");
  const QJsonObject book = Read(xls);
  EXPECT_EQ(book["xlrd"][0]["notes"][0]["text"].toString(), "revisão\nfinal");
  EXPECT_EQ(book["xlrd"][0]["notes"][0]["row"].toInt(), 9);
  EXPECT_EQ(book["xlrd"][0]["notes"][0]["col"].toInt(), 3);
  const ProgramRun links = RunProgram(
      "/usr/bin/python3",
      {"-c",
       "import xlrd,sys\n"
       "s=xlrd.open_workbook(sys.argv[1], formatting_info=True).sheet_by_index(0)\n"
       "for h in s.hyperlink_list: print(h.type, h.frowx, h.fcolx, h.desc.rstrip('\\x00'), h.quicktip)\n"
       "print(s.merged_cells)\n",
       QString::fromStdString(xls)});
  EXPECT_TRUE(links.err.isEmpty()) << links.err.toStdString();
  EXPECT_EQ(links.out.toStdString(), "local file 2 5 Relatório abrir o relatório\n[(1, 4, 6, 8)]\n");
}

// A note typed longer than a note holds reaches the workbook cut to what it holds, and the user
// is told in the one warning after the run, as for anything else the workbook left out.
TEST_F(TreeExport, ANoteLongerThanANoteHoldsIsCutAndToldAfterTheRun) {
  Open();
  AddInto(Tree().NoteGroup());
  Leave("edXLSNoteCol", 2);
  Leave("edXLSNoteRow", 4);
  const QString text = QString("leitura fora da faixa; ").repeated(1500);  // 34,500 characters
  form->Control<QPlainTextEdit>("mmXLSNoteLines")->setPlainText(text);
  services.log.clear();

  const std::string xls = Export("note.xls");
  const QStringList messages = services.log.filter("message|");
  ASSERT_EQ(messages.size(), 1) << services.log.join('\n').toStdString();
  EXPECT_TRUE(messages[0].contains("Note at column 2, row 4 cut to its first 32767 characters")) << messages[0].toStdString();
  const QJsonObject book = Read(xls);
  EXPECT_EQ(book["xlrd"][0]["notes"][0]["text"].toString(), text.left(32767));
}

// Enter in a number edit of the tree's pages takes the number, as leaving the edit does; the
// dialog does not take the key for its start button and export.
TEST_F(TreeExport, EnterInANumberEditTakesTheNumberAndStartsNoExport) {
  dialog.FileName = folder / "out.xls";
  Open();
  form->SetExportType(aeXLS);
  form->rgExportTypeClick();
  ShowActive();
  form->Control<QTabWidget>("Pages")->setCurrentWidget(form->Control<QWidget>("tshXLS"));
  form->Control<QTabWidget>("pcXLS")->setCurrentWidget(form->Control<QWidget>("tshXLSExtensions"));
  ASSERT_TRUE(form->Control<QWidget>("bStart")->isEnabled());
  const struct {
    QTreeWidgetItem* group;
    const char* edit;
  } edits[] = {{Tree().CellGroup(), "edXLSCellRow"}, {Tree().HyperlinkGroup(), "edXLSHyperlinkCol"},
               {Tree().MergedCellsGroup(), "edXLSMergedCellsLastRow"}};
  for (const auto& e : edits) {
    AddInto(e.group);
    auto* edit = form->Control<QLineEdit>(e.edit);
    TypeAndEnter(edit, "7");
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path())) << e.edit;
    EXPECT_TRUE(form->isVisible());
    Tree().Tree()->setCurrentItem(e.group);  // shown again from the item
    Tree().Tree()->setCurrentItem(e.group->child(0));
    EXPECT_EQ(edit->text(), "7") << e.edit;
  }
  EXPECT_EQ(Tree().CellGroup()->child(0)->text(0), "Cell(Col: 0 Row: 7)");

  // The note's font size box takes its size on Enter too.
  AddInto(Tree().NoteGroup());
  form->Control<QTabWidget>("pcXLSNotes")->setCurrentWidget(form->Control<QWidget>("tshXLSNoteFont"));
  auto* size = form->Control<QComboBox>("cbXLSNoteFontSize");
  TypeAndEnter(size, "13");
  EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
  EXPECT_EQ(dynamic_cast<TxlsNote*>(Tree().SelectedItem())->Format.Font.Size, 13);
  // And its font name box, which takes the name as it is typed.
  auto* font = form->Control<QComboBox>("cbXLSNoteFont");
  TypeAndEnter(font, "Verdana");
  EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
  EXPECT_EQ(dynamic_cast<TxlsNote*>(Tree().SelectedItem())->Format.Font.Name, u"Verdana");
}
