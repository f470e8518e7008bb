// Exports run from the dialog form: every format on a custom source and on a string grid, read
// back by programs we did not write; the progress codes a run posts, the stop question both
// ways, a stop while the run prepares, the form held while it runs, a full disk never shown as
// finished, a file not printed told; the options that only the run reads (SQL table name and
// null text, captions, fields, the PDF page).
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "export/dialog/list_items.h"
#include "export/dialog/progress_window.h"
#include "export/dialog/xls_color_editor.h"
#include "export/dialog/xls_extensions_editor.h"
#include "export/xls/xls_cell.h"
#include "export/xls/xls_chart.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/model_source.h"
#include "export/vantrix3_ascii.h"
#include "export/vantrix3_pdf.h"
#include "export/vantrix3_rtf.h"
#include "export/xls/vantrix3_xls.h"
#include "dialog_form_fixture.h"
#include "fake_dialog_services.h"
#include "tests/export/export_fixtures.h"

using namespace vantrix;
using testsupport::FakeDialogServices;

namespace {

constexpr int kRows = 20;

// Every progress code delivered to a progress window, in order.
class CodeRecorder : public QObject {
 public:
  CodeRecorder() { QCoreApplication::instance()->installEventFilter(this); }
  QList<int> codes;

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == ExportProgressEvent::EventType()) codes << static_cast<ExportProgressEvent*>(e)->Code();
    return false;
  }
};

// Presses the progress window's button once the run has reached its end state, as a person
// waiting for the result would.
class ButtonPresser : public QObject {
 public:
  explicit ButtonPresser(TVantrix3DialogF& form) : form_(form) {
    timer_.setInterval(5);
    connect(&timer_, &QTimer::timeout, this, [this] {
      TfmVantrix3Progress* p = form_.ProgressWindow();
      if (p != nullptr && (p->Status() == estEnd || p->Status() == estAbort)) {
        ++presses;
        shownCount = p->findChild<QLabel*>("laExportedValue")->text();
        p->ButtonClick();
      }
    });
    timer_.start();
  }
  int presses = 0;
  QString shownCount;  // what the window's counter showed when the button was pressed

 private:
  TVantrix3DialogF& form_;
  QTimer timer_;
};

QString RunProgram(const QString& program, const QStringList& args, QByteArray* err = nullptr) {
  QProcess p;
  p.start(program, args);
  if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) return "FAILED";
  if (err != nullptr) *err = p.readAllStandardError();
  return QString::fromUtf8(p.readAllStandardOutput());
}

QByteArray ReadFile(const std::string& path) {
  QFile file(QString::fromStdString(path));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class FormRun : public dialogtest::DialogFormTest {
 protected:
  FormRun() {
    dialog.ShowFile = false;
    UseStationReadings(kRows);
  }

  // Chooses the format (unless it is chosen already, which would rebuild the captions grid)
  // and runs the export to a file of that name.
  std::string Start(TAllowedExport t, const std::string& name) {
    if (form->GetExportType() != t) {
      form->SetExportType(t);
      form->rgExportTypeClick();
    }
    const std::string path = folder / name;
    form->SetFileName(path);
    form->ShowButtons();
    ButtonPresser presser(*form);
    form->bStartClick();
    return path;
  }

  exporttest::TempFolder folder;
};

}  // namespace

TEST_F(FormRun, EveryFormatWritesAFileItsReaderTakesWhole) {
  Open();
  const QString py = "/usr/bin/python3";
  QByteArray err;
  // CSV: every cell, in order.
  {
    const QByteArray csv = ReadFile(Start(aeCSV, "t.csv"));
    const QList<QByteArray> lines = csv.trimmed().split('\n');
    ASSERT_EQ(lines.size(), kRows + 1);
    EXPECT_EQ(lines[0].trimmed(), "\"Station\",\"Temperature\",\"Humidity\"");
    EXPECT_TRUE(lines[3].startsWith("\"Esta\xe7\xe3o 3\"")) << lines[3].toStdString();  // code page 1252
  }
  const std::string txt = Start(aeTXT, "t.txt");
  EXPECT_EQ(ReadFile(txt).count('\n'), kRows + 1);
  EXPECT_NE(RunProgram("ssconvert", {QString::fromStdString(Start(aeDIFF, "t.dif")), QString::fromStdString(folder / "dif.csv")}),
            "FAILED");
  EXPECT_EQ(ReadFile((folder / "dif.csv")).count('\n'), kRows + 1);
  EXPECT_NE(RunProgram("ssconvert", {QString::fromStdString(Start(aeSylk, "t.slk")), QString::fromStdString(folder / "slk.csv")}),
            "FAILED");
  EXPECT_EQ(ReadFile((folder / "slk.csv")).count('\n'), kRows + 1);
  const std::string dbf = Start(aeDBF, "t.dbf");
  EXPECT_EQ(RunProgram(py, {"-c", "import dbfread,sys; print(len(list(dbfread.DBF(sys.argv[1], encoding='cp1252'))))",
                     QString::fromStdString(dbf)})
                .trimmed(),
            QString::number(kRows));
  const std::string xml = Start(aeXML, "t.xml");
  EXPECT_EQ(RunProgram("xmllint", {"--noout", QString::fromStdString(xml)}, &err), "");
  EXPECT_TRUE(err.isEmpty());
  EXPECT_EQ(ReadFile(xml).count("<ROW "), kRows);
  // SQL with no table name: the file's name, upper-cased.
  const QByteArray sql = ReadFile(Start(aeSQL, "orders.sql"));
  EXPECT_EQ(sql.count("INSERT INTO ORDERS"), kRows) << sql.left(300).toStdString();
  EXPECT_TRUE(ReadFile(Start(aeLaTeX, "t.tex")).contains("\\begin{tabular}"));
  const std::string html = Start(aeHTML, "t.html");
  EXPECT_EQ(ReadFile(html).count("<tr"), kRows + 1);
  // Word and RTF are one exporter: the same bytes under two names.
  const QByteArray rtf = ReadFile(Start(aeRTF, "t.rtf"));
  EXPECT_EQ(ReadFile(Start(aeWord, "t.doc")), rtf);
  const QString rtfText = RunProgram("unrtf", {"--text", QString::fromStdString(folder / "t.rtf")});
  EXPECT_TRUE(rtfText.contains("19\t19.50\t57")) << rtfText.right(300).toStdString();
  const std::string pdf = Start(aePDF, "t.pdf");
  EXPECT_EQ(RunProgram("qpdf", {"--check", QString::fromStdString(pdf)}).contains("No syntax or stream encoding errors"), true);
  EXPECT_TRUE(RunProgram("pdftotext", {QString::fromStdString(pdf), "-"}).contains(QString("Estação 19")));
  const std::string xls = Start(aeXLS, "t.xls");
  EXPECT_EQ(RunProgram(py, {"-c", "import xlrd,sys; s=xlrd.open_workbook(sys.argv[1]).sheet_by_index(0); print(s.nrows, s.ncols)",
                     QString::fromStdString(xls)})
                .trimmed(),
            QString("%1 3").arg(kRows + 1));
  form->SetExportType(aeClipboard);
  form->rgExportTypeClick();
  ButtonPresser presser(*form);
  form->bStartClick();
  EXPECT_TRUE(services.shell.calls.contains("clipboard"));
}

TEST_F(FormRun, AStringGridSourceRunsThroughTheDialogToo) {
  exporttest::TableModel model({"a", "b", "c"}, exporttest::GridRows(kRows + 1, 3));
  TVantrixModelSource grid(&model);
  grid.SetFixedRows(1);
  dialog.ExportSource = esStringGrid;
  dialog.SetStringGrid(&grid);
  dialog.CaptionRow = 0;
  Open();
  const QList<QByteArray> lines = ReadFile(Start(aeCSV, "grid.csv")).trimmed().split('\n');
  ASSERT_EQ(lines.size(), kRows + 1);
  EXPECT_EQ(lines[0].trimmed(), "\"r0c0\",\"r0c1\",\"r0c2\"");
  EXPECT_EQ(lines[kRows].trimmed(), QString("\"r%1c0\",\"r%1c1\",\"r%1c2\"").arg(kRows).toUtf8());
  // Every file format takes the grid's last cell.
  for (int t = 0; t < kAllowedExportCount; ++t) {
    if (t == aeClipboard) continue;
    const std::string name = "grid." + ExportTypeExtensions()[t];
    const QByteArray file = ReadFile(Start(static_cast<TAllowedExport>(t), name));
    EXPECT_FALSE(file.isEmpty()) << name;
    if (t != aeXLS && t != aePDF && t != aeDBF) {
      EXPECT_TRUE(file.contains(QString("r%1c2").arg(kRows).toUtf8())) << name;
    }
  }
}

TEST_F(FormRun, ProgressCodesOfAWholeRun) {
  dialog.ShowFile = true;
  Open();
  CodeRecorder recorder;
  bool startHeld = false;
  dialog.OnExportedRecord = [&](TVantrix3&, int) {
    startHeld = !form->Control<QPushButton>("bStart")->isEnabled() && !form->Control<QWidget>("Pages")->isEnabled();
    form->reject();  // a close during the run is refused
  };
  form->setResult(7);
  Start(aeCSV, "codes.csv");
  QList<int> expected{1};
  for (int i = 0; i < kRows; ++i) expected << 4;
  expected << 8 << 9;
  EXPECT_EQ(recorder.codes, expected);
  EXPECT_TRUE(startHeld);
  EXPECT_EQ(form->result(), 7);
  EXPECT_TRUE(form->Control<QPushButton>("bStart")->isEnabled());
  EXPECT_EQ(form->ProgressWindow(), nullptr);
  EXPECT_TRUE(services.shell.calls.contains("open|" + QString::fromStdString((folder / "codes.csv"))));

  // Without showing the file the handler returns once the button is pressed; the window, which
  // writes its counter only now and then during a run, shows the last count at the end.
  recorder.codes.clear();
  form->SetShowFile(false);
  form->SetExportType(aeCSV);
  ButtonPresser presser(*form);
  form->bStartClick();
  EXPECT_EQ(recorder.codes, expected.mid(0, expected.size() - 1));
  EXPECT_EQ(presser.shownCount, QString::number(kRows));
}

// While it lives, files of this process hold at most a few bytes and a longer write fails (its
// signal ignored), as on a full disk.
class FullDisk {
 public:
  FullDisk() {
    getrlimit(RLIMIT_FSIZE, &before_);
    signal_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit full = before_;
    full.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &full);
  }
  ~FullDisk() {
    setrlimit(RLIMIT_FSIZE, &before_);
    std::signal(SIGXFSZ, signal_);
  }

 private:
  rlimit before_{};
  void (*signal_)(int) = nullptr;
};

// A file that cannot be written whole (the disk full) fails the run with the file's error, and
// the progress window never shows the run finished first: every format puts its file in place
// only after its last row, and the end comes after that.
TEST_F(FormRun, AFileThatCannotBeWrittenWholeIsNeverShownFinished) {
  Open();
  CodeRecorder recorder;
  for (int t = 0; t < kAllowedExportCount; ++t) {
    if (t == aeClipboard) continue;
    const std::string name = "full." + ExportTypeExtensions()[t];
    Choose(static_cast<TAllowedExport>(t));
    form->SetFileName(folder / name);
    form->ShowButtons();
    recorder.codes.clear();
    services.log.clear();
    {
      FullDisk full;
      ButtonPresser presser(*form);
      form->Control<QPushButton>("bStart")->click();
    }
    EXPECT_EQ(recorder.codes.count(kProgressExported), kRows) << name;
    EXPECT_FALSE(recorder.codes.contains(kProgressEnd)) << name;
    EXPECT_EQ(services.log.filter("message|").size(), 1) << name;
    EXPECT_EQ(form->ProgressWindow(), nullptr);
    EXPECT_TRUE(folder.Names().empty()) << name;
  }
}

TEST_F(FormRun, TheStopQuestionAbortsOnYesAndGoesOnOnNo) {
  dialog.ShowFile = true;
  Open();
  CodeRecorder recorder;
  dialog.OnExportedRecord = [&](TVantrix3&, int recNo) {
    if (recNo == 5) form->ProgressWindow()->ButtonClick();
  };
  services.answers = {MessageAnswer::Yes};
  Start(aeCSV, "stop.csv");
  ASSERT_GE(recorder.codes.size(), 3);
  EXPECT_EQ(recorder.codes.mid(recorder.codes.size() - 2), (QList<int>{5, 7}));
  EXPECT_LT(recorder.codes.count(4), kRows);
  EXPECT_EQ(services.log.filter("message|").size(), 1);

  recorder.codes.clear();
  services.answers = {MessageAnswer::No};
  Start(aeCSV, "stop.csv");
  EXPECT_EQ(recorder.codes.count(4), kRows);
  const int pause = static_cast<int>(recorder.codes.indexOf(5));
  ASSERT_GE(pause, 0);
  EXPECT_EQ(recorder.codes[pause + 1], 6);
  EXPECT_EQ(recorder.codes.mid(recorder.codes.size() - 2), (QList<int>{8, 9}));

  // Escape on the progress window asks the same question; the window stays for its button.
  recorder.codes.clear();
  form->SetShowFile(false);
  services.answers = {MessageAnswer::No};
  dialog.OnExportedRecord = [&](TVantrix3&, int recNo) {
    if (recNo == 5) QTest::keyClick(form->ProgressWindow(), Qt::Key_Escape);
  };
  Start(aeCSV, "stop.csv");
  EXPECT_EQ(recorder.codes.count(4), kRows);
  EXPECT_EQ(recorder.codes.count(5), 1);
  EXPECT_EQ(recorder.codes.last(), 8);
}

TEST_F(FormRun, AStopWhileTheRunPreparesStillEndsTheHandler) {
  Open();
  dialog.OnBeginExport = [&](TVantrix3&) { form->ProgressWindow()->ButtonClick(); };
  // Start's own presser closes the window once it has reached its end state; were it never
  // to get there, Start would not return.
  Start(aeCSV, "prepare.csv");
  EXPECT_EQ(form->ProgressWindow(), nullptr);
}

TEST_F(FormRun, OptionsOnlyTheRunReads) {
  Open();
  auto* grid = form->Control<QTableWidget>("sgrCaptions");
  grid->item(1, 1)->setText("Station");      // equal to the name: no caption line
  grid->item(2, 1)->setText("temperature");  // differs in case only: a line
  form->SetExportType(aeTXT);
  form->rgExportTypeClick();
  grid->item(3, 3)->setText("");  // an emptied width removes the field's line
  form->ASCIIExp().ColumnsWidth = {"Humidity=9"};
  Start(aeTXT, "captions.txt");
  EXPECT_EQ(form->ASCIIExp().Captions, TStrings{"Temperature=temperature"});
  EXPECT_EQ(IndexOfName(form->ASCIIExp().ColumnsWidth, "Humidity"), -1);
  // The CSV layout has two columns: the alignment and width it lacks count as empty.
  Start(aeCSV, "captions.csv");
  EXPECT_EQ(IndexOfName(form->ASCIIExp().ColumnsAlign, "Station"), -1);

  // Chosen fields are exported in their order (the caption typed above stays).
  auto* exported = form->Control<QTreeWidget>("lstExportedFields");
  form->bAddAllExportedFieldClick();
  exported->setCurrentItem(exported->topLevelItem(0));
  form->bDelOneExportedFieldClick();
  const QByteArray csv = ReadFile(Start(aeCSV, "fields.csv"));
  EXPECT_TRUE(csv.startsWith("\"temperature\",\"Humidity\"\r\n")) << csv.left(60).toStdString();
}

TEST_F(FormRun, ADestinationTypedWithAccentsIsTheFileOfThatName) {
  Open();
  Choose(aeSQL);
  const std::filesystem::path folder8 = folder / "Área de Trabalho";
  std::filesystem::create_directory(folder8);
  auto* edit = form->Control<QLineEdit>("edFileName");
  edit->selectAll();
  edit->insert(QString::fromStdString((folder8 / "relatório ações.sql").string()));  // as typed
  EXPECT_TRUE(form->windowTitle().endsWith(QString::fromUtf8("[relatório ações.sql]")));
  ButtonPresser presser(*form);
  form->bStartClick();
  // The file is in the folder the user named, and the script names its table in its own text.
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"Área de Trabalho"});
  const QByteArray sql = ReadFile((folder8 / "relatório ações.sql").string());
  EXPECT_EQ(sql.count("INSERT INTO \"RELAT\xD3RIO A\xC7\xD5" "ES\""), kRows) << sql.left(200).toStdString();

  // So is a spreadsheet's background picture.
  const std::string picture = (folder8 / "fundo.png").string();
  QImage tile(4, 4, QImage::Format_RGB32);
  tile.fill(Qt::yellow);
  ASSERT_TRUE(tile.save(QString::fromStdString(picture)));
  auto* background = form->Control<QLineEdit>("edXLSPageBackground");
  background->insert(QString::fromStdString(picture));  // as typed
  QStringList leftOut;
  form->XLSExp().OnItemLeftOut = [&](TVantrix3XLS&, const std::string& m) { leftOut << QString::fromStdString(m); };
  Start(aeXLS, "Área de Trabalho/fundo.xls");
  EXPECT_EQ(form->XLSExp().Background.FileName(), picture);
  EXPECT_TRUE(leftOut.isEmpty()) << leftOut.join('\n').toStdString();
  EXPECT_TRUE(services.log.filter("message|").isEmpty());

  // A picture that cannot be read is left out of the workbook, and the user is told.
  background->selectAll();
  background->insert(QString::fromStdString(folder / "missing.png"));
  Start(aeXLS, "no-picture.xls");
  ASSERT_EQ(services.log.filter("message|").size(), 1);
  EXPECT_TRUE(services.log.filter("message|").first().contains("missing.png\" left out"));
}

// The HTML page's style sheet and pictures, typed or chosen, are the files of those names, and
// the options file keeps them as it keeps the destination.
TEST_F(FormRun, AccentedStyleSheetAndPictureNamesReachThePageAndTheOptionsFile) {
  Open();
  Choose(aeHTML);
  const std::filesystem::path area = folder / "Área";
  std::filesystem::create_directory(area);
  const std::string sheet = (area / "estilo ç.css").string(), sky = (area / "céu.png").string(),
                    desk = (area / "mesa ç.png").string();
  exporttest::WriteFile(sky, "png");
  exporttest::WriteFile(desk, "png");
  form->Control<QRadioButton>("rbExternal")->click();
  form->Control<QLineEdit>("edHTMLCSSFileName")->insert(QString::fromStdString(sheet));  // as typed
  services.files.push_back(QString::fromStdString(sky));
  form->Control<QAbstractButton>("btnHTMLBackground")->click();
  services.files.push_back(QString::fromStdString(desk));
  form->Control<QAbstractButton>("btnHTMLTableBackground")->click();
  EXPECT_EQ(form->Control<QLineEdit>("edHTMLTableBackground")->text(), QString::fromStdString(desk));
  // Chosen again, the dialog starts at the picture's own name.
  form->Control<QAbstractButton>("btnHTMLBackground")->click();
  EXPECT_EQ(services.lastFileRequest.initialFile, QString::fromStdString(sky));

  const std::string page = exporttest::ReadFile(Start(aeHTML, "Área/relatório.html"));
  EXPECT_NE(page.find("href=\"estilo%20%C3%A7.css\""), std::string::npos);
  EXPECT_NE(page.find("%C3%81rea/mesa%20%C3%A7.png\""), std::string::npos);
  EXPECT_NE(exporttest::ReadFile(sheet).find("%C3%81rea/c%C3%A9u.png)"), std::string::npos);

  const std::string options = folder / "opções.ini";
  form->SaveExportOptions(options);
  const std::string ini = exporttest::ReadFile(options);
  for (const std::string& line : {"CSSFile=" + sheet, "BackgroundFile=" + sky, "TableBackground=" + desk})
    EXPECT_NE(ini.find(line + "\r\n"), std::string::npos) << line;
  Open();
  form->LoadExportOptions(options);
  EXPECT_EQ(form->Options().HTMLCSSFileName, sheet);
  EXPECT_EQ(form->Options().HTMLBackground, sky);
  EXPECT_EQ(form->Options().HTMLTableBackground, desk);
  EXPECT_EQ(form->Control<QLineEdit>("edHTMLCSSFileName")->text(), QString::fromStdString(sheet));
  EXPECT_EQ(form->Control<QLineEdit>("edHTMLBackground")->text(), QString::fromStdString(sky));
}

TEST_F(FormRun, AUserLandscapePageKeepsItsSizeFromRunToRun) {
  TVantrixPDFPageOptions& page = dialog.PDFOptions.PageOptions;
  page.SetUnits(unDot);
  page.SetWidth(300);
  page.SetHeight(500);
  page.SetOrientation(poLandscape);
  page.SetUnits(unMillimeter);
  page.SetMarginLeft(20);
  Open();
  const auto mediaBox = [&](const std::string& path) {
    EXPECT_TRUE(RunProgram("qpdf", {"--check", QString::fromStdString(path)}).contains("No syntax"));
    const QByteArray pdf = ReadFile(path);
    const int at = static_cast<int>(pdf.indexOf("/MediaBox ["));
    return at < 0 ? QString() : QString::fromLatin1(pdf.mid(at, pdf.indexOf(']', at) - at + 1));
  };
  const QString first = mediaBox(Start(aePDF, "a.pdf"));
  const QString second = mediaBox(Start(aePDF, "b.pdf"));
  EXPECT_EQ(first, second);
  EXPECT_EQ(first, "/MediaBox [0 0 499 299]");
  EXPECT_EQ(form->PDFExp().Options().PageOptions.WidthDots(), 500);
  EXPECT_NEAR(form->PDFExp().Options().PageOptions.MarginLeft(), 20.0, 0.5);
  EXPECT_EQ(form->PDFExp().Options().PageOptions.Units(), unMillimeter);
}

TEST_F(FormRun, SpreadsheetAndRTFStylesComeFromTheFormsLists) {
  TxlsFieldFormat& bold = dialog.XLSOptions.FieldFormats.Add();
  bold.FieldName = "temperature";
  bold.Font.Style.Include(xfsBold);
  dialog.XLSOptions.StripStyles.Add();
  dialog.XLSOptions.StripStyles.Add();
  dialog.RTFOptions.StripStyles.Add();
  Open();
  auto* fields = form->Control<QTreeWidget>("lstXLSFields");
  ASSERT_EQ(fields->topLevelItemCount(), 3);
  EXPECT_EQ(form->Control<QTreeWidget>("lstXLSStyles")->topLevelItem(1)->text(0), "ITEM_1");
  EXPECT_EQ(form->Control<QTreeWidget>("lstXLSOptions")->topLevelItemCount(), 5);
  // A reset empties the name the item's format holds; the run names it after its item.
  dynamic_cast<TxlsFormat*>(ItemObjectAs<TxlsCustomItem>(fields->topLevelItem(1)))->FieldName.clear();
  // Letters above 127 in the page header and footer reach the workbook as themselves.
  for (const auto& [edit, text] : {std::pair{"edXLSPageHeader", "Estação €"}, std::pair{"edXLSPageFooter", "Página &P"}}) {
    form->Control<QLineEdit>(edit)->selectAll();
    form->Control<QLineEdit>(edit)->insert(QString::fromUtf8(text));  // as typed
  }
  Start(aeXLS, "styles.xls");
  EXPECT_EQ(form->XLSExp().Options.PageHeader, u"Estação €");
  EXPECT_EQ(form->XLSExp().Options.PageFooter, u"Página &P");
  ASSERT_EQ(form->XLSExp().FieldFormats.Count(), 3u);
  EXPECT_EQ(form->XLSExp().FieldFormats[1].FieldName, "Temperature");
  EXPECT_TRUE(form->XLSExp().FieldFormats[1].Font.Style.Has(xfsBold));
  EXPECT_FALSE(form->XLSExp().FieldFormats[0].Font.Style.Has(xfsBold));
  EXPECT_EQ(form->XLSExp().StripStyles.Count(), 2u);
  Start(aeRTF, "styles.rtf");
  EXPECT_EQ(form->RTFExp().Options().StripStyles.Count(), 1);
}

TEST_F(FormRun, BlobFieldsAreLeftOutUnlessChosen) {
  exporttest::TableModel model({"Name", "Picture", "Value"}, exporttest::GridRows(4, 3));
  TVantrixModelSource data(&model);
  data.SetActive(true);
  TVantrixModelField blob;
  blob.dataType = ftBlob;
  data.SetField(1, blob);
  dialog.ExportSource = esDataSet;
  dialog.SetDataSet(&data);
  Open();
  EXPECT_TRUE(ReadFile(Start(aeCSV, "blob.csv")).startsWith("\"Name\",\"Value\"\r\n"));
  form->bAddAllExportedFieldClick();
  EXPECT_TRUE(ReadFile(Start(aeCSV, "blob.csv")).startsWith("\"Name\",\"Picture\",\"Value\"\r\n"));
}

TEST_F(FormRun, TheSpreadsheetEventsReachTheDialog) {
  int exported = 0, before = 0;
  dialog.OnExportedRecordXLS = [&](TVantrix3XLS&, int sheet, int) { exported += sheet == 0; };
  dialog.OnBeforeExportXLSRow = [&](TVantrix3XLS&, int, TVantrixRow&, bool& accept) {
    accept = ++before % 2 == 1;  // every other row
  };
  Open();
  const std::string xls = Start(aeXLS, "events.xls");
  EXPECT_EQ(before, kRows);
  EXPECT_EQ(exported, kRows);  // each record fetched counts, written or not
  EXPECT_EQ(RunProgram("/usr/bin/python3", {"-c", "import xlrd,sys; print(xlrd.open_workbook(sys.argv[1]).sheet_by_index(0).nrows)",
                                           QString::fromStdString(xls)})
                .trimmed(),
            QString::number(kRows / 2 + 1));
}

TEST_F(FormRun, TheExtensionTreeHoldsTheDialogsItemsAndTheRunTakesThemFromIt) {
  dialog.XLSOptions.Cells.AddString(5, 2, u"first note");
  dialog.XLSOptions.Cells.AddNumeric(5, 3, "0.0", 2.5);
  dialog.XLSOptions.MergedCells.AddRange(0, 0, 5, 6);
  Open();
  TXLSExtensionsEditor& tree = form->XLSExtensions();
  EXPECT_EQ(tree.CellGroup()->childCount(), 2);
  EXPECT_EQ(tree.MergedCellsGroup()->childCount(), 1);  // only the merged ranges it has
  // The tree holds copies: an edit there reaches the run, not the dialog's options.
  dynamic_cast<TxlsCell*>(XLSNodeItem(tree.CellGroup()->child(0)))->StringValue = u"edited";
  delete tree.CellGroup()->child(1);
  const std::string xls = Start(aeXLS, "tree.xls");
  ASSERT_EQ(form->XLSExp().Cells.Count(), 1u);
  EXPECT_EQ(form->XLSExp().Cells[0].StringValue, u"edited");
  EXPECT_EQ(dialog.XLSOptions.Cells[0].StringValue, u"first note");
  EXPECT_EQ(form->XLSExp().MergedCells.Count(), 1u);
  // The extra cell lands where it was put (column and row counted from 1).
  const char* find =
      "import xlrd,sys\n"
      "s=xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)\n"
      "print([(r,c) for r in range(s.nrows) for c in range(s.ncols) if s.cell_value(r,c)=='edited'])";
  EXPECT_EQ(RunProgram("/usr/bin/python3", {"-c", find, QString::fromStdString(xls)}).trimmed(), "[(1, 4)]");
}

// A format edited in the cell-format editor reaches the file: the field's cells carry its
// font and fill, the other fields keep theirs.
TEST_F(FormRun, AFieldFormatEditedInTheEditorReachesTheSpreadsheet) {
  Open();
  form->Control<QTabWidget>("Pages")->setCurrentWidget(form->Control<QWidget>("tshXLS"));
  auto* fields = form->Control<QTreeWidget>("lstXLSFields");
  fields->setCurrentItem(fields->topLevelItem(1));
  form->Control<QToolButton>("btnFontBold")->click();
  QLineEdit* size = form->Control<QComboBox>("cbxXLSFontSize")->lineEdit();
  size->clear();
  QTest::keyClicks(size, "14");
  services.onModal = [](QDialog* d) {
    if (auto* editor = qobject_cast<TfmVantrix3XLSColorEditor*>(d)) {
      editor->SetSelectedColor(clrYellow);
      editor->accept();
    }
  };
  form->Control<QToolButton>("btnFillBackground")->click();
  const std::string xls = Start(aeXLS, "edited.xls");
  const char* read =
      "import xlrd,sys\n"
      "b=xlrd.open_workbook(sys.argv[1], formatting_info=True)\n"
      "s=b.sheet_by_index(0)\n"
      "for c in (0, 1):\n"
      "  xf=b.xf_list[s.cell_xf_index(3, c)]\n"
      "  f=b.font_list[xf.font_index]\n"
      "  print(f.weight, f.height // 20, xf.background.fill_pattern, "
      "b.colour_map.get(xf.background.pattern_colour_index))\n";
  QByteArray err;
  const QString out = RunProgram("/usr/bin/python3", {"-c", read, QString::fromStdString(xls)}, &err);
  EXPECT_EQ(out, "400 10 0 (255, 255, 255)\n700 14 1 (255, 255, 0)\n") << out.toStdString();
  EXPECT_TRUE(err.isEmpty()) << err.toStdString();
}

namespace {

// The tree's editors as a person uses them: a number edit typed and left, a text edit typed.
void Leave(TVantrix3DialogF& form, const char* name, int value) {
  auto* edit = form.Control<QLineEdit>(name);
  edit->setText(QString::number(value));
  emit edit->editingFinished();
}

void Type(TVantrix3DialogF& form, const char* name, const QString& text) {
  auto* edit = form.Control<QLineEdit>(name);
  edit->setText(text);
  emit edit->textEdited(text);
}

void AddInto(TXLSExtensionsEditor& tree, QTreeWidgetItem* node) {
  tree.Tree()->setCurrentItem(node);
  tree.tbtAddXLSExtensionClick();
}

}  // namespace

// Extras built in the tree, kept in an options file and loaded by a fresh form, reach the
// workbook: each link over its title in the link look, the note, the merged range and the
// extra cell, and the reader has nothing to say.
TEST_F(FormRun, ExtrasBuiltInTheTreeSurviveAnOptionsFileIntoTheWorkbook) {
  Open();
  TXLSExtensionsEditor& tree = form->XLSExtensions();
  const struct {
    int col, row;
    const char* title;
    const char* target;
  } links[] = {{6, 2, "Site", "http://example.org/"}, {7, 70000, "Docs", "http://example.org/docs"}};
  for (const auto& link : links) {
    AddInto(tree, tree.HyperlinkGroup());
    Leave(*form, "edXLSHyperlinkCol", link.col);
    Leave(*form, "edXLSHyperlinkRow", link.row);
    Type(*form, "edXLSHyperlinkTitle", link.title);
    Type(*form, "edXLSHyperlinkTarget", link.target);
  }
  AddInto(tree, tree.NoteGroup());
  Leave(*form, "edXLSNoteCol", 2);
  Leave(*form, "edXLSNoteRow", 5);
  form->Control<QPlainTextEdit>("mmXLSNoteLines")->setPlainText("calibrado em\njunho");
  AddInto(tree, tree.MergedCellsGroup());
  Leave(*form, "edXLSMergedCellsFirstCol", 5);
  Leave(*form, "edXLSMergedCellsFirstRow", 8);
  Leave(*form, "edXLSMergedCellsLastCol", 6);
  Leave(*form, "edXLSMergedCellsLastRow", 9);
  AddInto(tree, tree.CellGroup());
  Leave(*form, "edXLSCellCol", 5);
  Leave(*form, "edXLSCellRow", 12);
  Type(*form, "edXLSCellValue", "extra");
  EXPECT_EQ(tree.CellGroup()->child(0)->text(0), "Cell(Col: 5 Row: 12)");
  const std::string options = folder / "tree.cfg";
  form->SaveExportOptions(options);

  Open();
  form->LoadExportOptions(options);
  ASSERT_EQ(form->XLSExtensions().HyperlinkGroup()->childCount(), 2);
  const std::string xls = Start(aeXLS, "tree.xls");
  const char* read =
      "import xlrd,sys\n"
      "b=xlrd.open_workbook(sys.argv[1], formatting_info=True)\n"
      "s=b.sheet_by_index(0)\n"
      "for h in s.hyperlink_list:\n"
      "  f=b.font_list[b.xf_list[s.cell_xf_index(h.frowx, h.fcolx)].font_index]\n"
      "  print('link', h.frowx, h.fcolx, h.url_or_path.rstrip('\\x00'), s.cell_value(h.frowx, h.fcolx),\n"
      "        b.colour_map.get(f.colour_index), f.underline_type)\n"
      "for (r, c), n in sorted(s.cell_note_map.items()): print('note', r, c, repr(n.text))\n"
      "print('merged', s.merged_cells)\n"
      "print('cell', repr(s.cell_value(11, 4)))\n";
  QByteArray err;
  const QString out = RunProgram("/usr/bin/python3", {"-c", read, QString::fromStdString(xls)}, &err);
  EXPECT_EQ(out.toStdString(),
            "link 1 5 http://example.org/ Site (0, 0, 255) 1\n"
            "link 65534 6 http://example.org/docs Docs (0, 0, 255) 1\n"
            "note 4 1 'calibrado em\\njunho'\n"
            "merged [(7, 9, 4, 6)]\n"
            "cell 'extra'\n");
  EXPECT_TRUE(err.isEmpty()) << err.toStdString();
}

// A series deleted from its chart leaves the chart's collection, so the run neither reads
// the freed series nor writes it (run once under the address sanitizer as well).
TEST_F(FormRun, ASeriesDeletedFromItsChartIsNotExported) {
  Open();
  TXLSExtensionsEditor& tree = form->XLSExtensions();
  AddInto(tree, tree.ChartGroup());
  QTreeWidgetItem* series = tree.ChartGroup()->child(0)->child(0);
  auto* column = form->Control<QComboBox>("cbXLSSeriesColumn");
  for (int i = 0; i < 2; ++i) {
    AddInto(tree, series);
    column->setCurrentIndex(1 + i);
    emit column->activated(1 + i);
  }
  ASSERT_EQ(series->childCount(), 2);
  tree.Tree()->setCurrentItem(series->child(0));
  tree.tbtDelXLSExtensionClick();
  const auto* chart = dynamic_cast<TxlsChart*>(XLSNodeItem(tree.ChartGroup()->child(0)));
  ASSERT_NE(chart, nullptr);
  ASSERT_EQ(chart->Series.Count(), 1u);
  EXPECT_EQ(chart->Series[0].DataColumn, "Humidity");
  const std::string xls = Start(aeXLS, "chart.xls");
  ASSERT_EQ(form->XLSExp().Charts.Count(), 1u);
  EXPECT_EQ(form->XLSExp().Charts[0].Series.Count(), 1u);
  QByteArray err;
  EXPECT_EQ(RunProgram("/usr/bin/python3", {"-c", "import xlrd,sys; print(xlrd.open_workbook(sys.argv[1]).nsheets)",
                                            QString::fromStdString(xls)}, &err)
                .trimmed(),
            "1");
  EXPECT_TRUE(err.isEmpty()) << err.toStdString();
}

// A missing value is a token of its own in every statement: with the form's null text empty
// the script writes null, and a null text the user typed is written as typed. Either way
// SQLite runs the whole script and finds the missing values missing.
TEST_F(FormRun, TheSQLScriptOfATableWithMissingValuesRunsWhole) {
  source.OnGetColumnValue = [](TVantrixCustomSource&, int recNo, const TVantrixCustomColumn& c, QVariant& v) {
    if (c.Index() == 0) v = QString("Esta\u00e7\u00e3o %1").arg(recNo);
    if (c.Index() == 1 && recNo % 3 != 0) v = recNo + 0.5;
    if (c.Index() == 2 && recNo % 4 != 3) v = recNo * 3;
  };
  Open();
  Choose(aeSQL);
  form->SetSQLCreateTable(true);
  Type(*form, "edSQLTableName", "T");
  const char* count =
      "import sqlite3,sys\n"
      "db=sqlite3.connect(':memory:')\n"
      "db.executescript(open(sys.argv[1],encoding='cp1252').read())\n"
      "print(*db.execute('select count(*),count(Temperature),count(Humidity) from T').fetchone())\n";
  // Records count from 1.
  const QString expected = QString("%1 %2 %3").arg(kRows).arg(kRows - kRows / 3).arg(kRows - (kRows + 1) / 4);
  ASSERT_TRUE(form->Options().NullString.empty());
  const std::string path = Start(aeSQL, "nulls.sql");
  EXPECT_EQ(RunProgram("/usr/bin/python3", {"-c", count, QString::fromStdString(path)}).trimmed(), expected);
  EXPECT_TRUE(ReadFile(path).contains("VALUES('Esta\xe7\xe3o 7',7.5,null);")) << ReadFile(path).left(400).toStdString();

  Type(*form, "edSQLNullString", "NULL");
  Start(aeSQL, "nulls.sql");
  EXPECT_EQ(RunProgram("/usr/bin/python3", {"-c", count, QString::fromStdString(path)}).trimmed(), expected);
  EXPECT_TRUE(ReadFile(path).contains("VALUES('Esta\xe7\xe3o 7',7.5,NULL);"));
}

// "Print file after export" of a file the desktop does not print: the file is written, and the
// user is told why it was not printed, as an error, once the run is over.
TEST_F(FormRun, AFileThatIsNotPrintedIsToldOnceTheRunIsOver) {
  Open();
  form->SetPrintFile(true);
  services.shell.printAnswer = "Only PDF and plain text files are printed here";
  bool windowGone = false;
  services.onMessage = [&] { windowGone = form->ProgressWindow() == nullptr || !form->ProgressWindow()->isVisible(); };
  const std::string xls = Start(aeXLS, "print.xls");
  EXPECT_TRUE(services.shell.calls.contains(QString::fromStdString("print|" + xls)));
  EXPECT_TRUE(std::filesystem::exists(xls));
  ASSERT_EQ(services.log.filter("message|").size(), 1);
  EXPECT_EQ(services.lastMessage.icon, MessageIcon::Error);
  EXPECT_TRUE(services.lastMessage.text.startsWith("Only PDF")) << services.lastMessage.text.toStdString();
  EXPECT_TRUE(windowGone);

  // A file that was printed says nothing.
  services.shell.printAnswer.clear();
  services.log.clear();
  Start(aeCSV, "print.csv");
  EXPECT_EQ(services.shell.calls.last(), QString::fromStdString("print|" + (folder / "print.csv")));
  EXPECT_TRUE(services.log.filter("message|").isEmpty());
}
