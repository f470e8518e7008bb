// The spreadsheet exporter's run: what it refuses before writing anything, what is left when
// it fails or is aborted, the temporary sheet, the order of its events, and rows continued
// on a new sheet when one is full.
#include <gtest/gtest.h>

#include "export/library_strings.h"
#include "export/model_source.h"
#include "export/output_stream.h"
#include "export/run_fixtures.h"
#include "xls_fixtures.h"

namespace {

using namespace vantrix;
using exporttest::ReadFile;
using exporttest::TempFolder;
using xlstest::TextSource;
using xlstest::XlsExporter;

constexpr uint16_t kBoundSheet = 0x0085, kFormula = 0x0006, kLabel = 0x00FD, kNumber = 0x0203, kHeader = 0x0014;

std::string Message(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "";
}

// The sheets' names as the BOUNDSHEET records give them.
std::vector<std::u16string> SheetNames(const xlstest::Workbook& book) {
  std::vector<std::u16string> names;
  for (const xlstest::Record* r : book.globals.All(kBoundSheet)) {
    std::u16string name;
    for (size_t i = 0; i < r->body[6]; ++i) name.push_back(r->Word(8 + 2 * i));
    names.push_back(name);
  }
  return names;
}

TEST(ExporterRun, RefusesAMissingFileNameOrFolderOrWhatIsNoFileAndWritesNothing) {
  TempFolder folder;
  TextSource source({{"a"}}, {{"x"}});
  XlsExporter xls(source, "");
  EXPECT_EQ(Message([&] { xls.Execute(); }), "Result file name not present");

  exporttest::WriteFile(folder / "plain", "a file where a folder should be");
  xls.FileName = folder / "plain/sub/book.xls";
  EXPECT_EQ(Message([&] { xls.Execute(); }),
            "Directory \"" + folder.Path() + "/plain/sub\" not found and cannot be created");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"plain"});

  xls.FileName = folder / "new/nested/book.xls";  // missing folders are made
  xls.Execute();
  EXPECT_FALSE(ReadFile(xls.FileName).empty());

  MemoryOutputStream stream;  // a workbook is no stream of text
  EXPECT_THROW(xls.ExportToStream(stream), EVantrixError);

  // Only a regular file is replaced, in the words every format uses.
  TempFolder nodes;
  for (const auto& [path, kind] : exporttest::NonRegularFiles(nodes)) {
    const unsigned before = exporttest::FileKind(path);
    xls.FileName = path;
    EXPECT_EQ(Message([&] { xls.Execute(); }),
              "Cannot create the file \"" + path + "\": it is " + kind + ", and only a regular file is replaced");
    EXPECT_EQ(exporttest::FileKind(path), before);
  }
}

TEST(ExporterRun, SheetOfMoreThan256ColumnsIsRefusedBeforeAnyOutput) {
  TempFolder folder;
  std::vector<TextSource::Column> columns(300, TextSource::Column{"c", ectInteger, 4});
  for (size_t i = 0; i < columns.size(); ++i) columns[i].name = "c" + std::to_string(i);
  TextSource wide(columns, {{"1"}});
  XlsExporter xls(wide, folder / "wide.xls");
  bool begun = false;
  xls.OnBeginExport = [&](TVantrix3&) { begun = true; };
  EXPECT_NE(Message([&] { xls.Execute(); }).find("300 columns"), std::string::npos);
  EXPECT_FALSE(begun);
  EXPECT_TRUE(folder.Names().empty());
  EXPECT_TRUE(xls.Sheets.Empty());

  // 256 fit, and 255 from the third column do not.
  columns.resize(256);
  TextSource fits(columns, {{"1"}});
  XlsExporter full(fits, folder / "full.xls");
  EXPECT_EQ(full.Write().sheets.size(), 1u);
  columns.resize(255);
  TextSource shifted(columns, {{"1"}});
  XlsExporter moved(shifted, folder / "moved.xls");
  moved.StartDataCol = 2;
  EXPECT_THROW(moved.Execute(), ExlsFileError);
}

TEST(ExporterRun, FailureMidRunLeavesTheOldFileAndTheSheetsAsTheyWere) {
  TempFolder folder;
  const std::string path = folder / "book.xls";
  exporttest::WriteFile(path, "the old workbook");
  TextSource source({{"a"}}, xlstest::Counting(10));
  XlsExporter xls(source, path);
  std::vector<std::string> log;
  xls.OnExportedRecord = [](TVantrix3&, int n) {
    if (n == 3) throw std::runtime_error("disk on fire");
  };
  xls.OnEndExport = [&](TVantrix3&) { log.push_back("end"); };
  EXPECT_EQ(Message([&] { xls.Execute(); }), "disk on fire");
  EXPECT_EQ(ReadFile(path), "the old workbook");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"book.xls"});
  EXPECT_TRUE(xls.Sheets.Empty());  // the temporary sheet went
  EXPECT_EQ(xls.CurrentRun(), nullptr);
  EXPECT_EQ(log, std::vector<std::string>{"end"});
}

TEST(ExporterRun, AbortKeepsTheRowsWrittenInAWholeWorkbook) {
  TempFolder folder;
  TextSource source({{"v", ectInteger}}, xlstest::Counting(20));
  XlsExporter xls(source, folder / "book.xls");
  xls.FieldFormats.Add().FieldName = "v";
  xls.FieldFormats[0].Aggregate = aggSum;
  xls.Footer = {"end"};
  xls.OnExportedRecord = [](TVantrix3& sender, int n) {
    if (n == 5) sender.Abort();
  };
  exporttest::FakeShell shell;
  xls.SetShellService(&shell);
  xls.ShowFile = true;
  EXPECT_EQ(xls.Execute(), rrAborted);
  EXPECT_TRUE(shell.calls.empty());  // an aborted result is not opened
  const xlstest::Workbook book = xlstest::ReadWorkbook(xls.FileName);
  ASSERT_EQ(book.sheets.size(), 1u);
  const xlstest::Substream& s = book.sheets[0];
  EXPECT_EQ(s.Count(kNumber), 5u);
  EXPECT_EQ(s.First(kFormula).Word(0), 6);  // the sum of the five rows, then the footer
  EXPECT_NE(xlstest::CellAt(s, 7, 0), nullptr);
  EXPECT_EQ(book.globals.Count(kBoundSheet), 1u);
}

TEST(ExporterRun, AbortWhileTheRunBeginsLeavesTheOldFile) {
  TempFolder folder;
  const std::string path = folder / "book.xls";
  exporttest::WriteFile(path, "old");
  TextSource source({{"a"}}, {{"x"}});
  XlsExporter xls(source, path);
  xls.OnBeginExport = [](TVantrix3& sender) { sender.Abort(); };
  EXPECT_EQ(xls.Execute(), rrAbortedBeforeOutput);
  EXPECT_EQ(ReadFile(path), "old");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"book.xls"});
}

TEST(ExporterRun, TemporarySheetOfTheExportersOwnSettingsGoesAgain) {
  TempFolder folder;
  TextSource source({{"a"}}, {{"x"}});
  TextSource other({{"b"}}, {{"y"}});
  XlsExporter xls(source, folder / "book.xls");
  xls.Options.SetSheetTitle("Leituras");
  xls.Options.PageHeader = u"Relat\u00F3rio";
  TxlsSheet& skipped = xls.Sheets.Add();
  skipped.SetExportSource(esCustom);
  skipped.SetCustomSource(&other);
  skipped.Exported = false;
  const xlstest::Workbook book = xls.Write();
  EXPECT_EQ(SheetNames(book), std::vector<std::u16string>{u"Leituras"});
  ASSERT_EQ(xls.Sheets.Count(), 1u);
  EXPECT_EQ(&xls.Sheets[0], &skipped);
  // The exporter's page header is the temporary sheet's.
  EXPECT_EQ(book.sheets[0].First(kHeader).Word(0), 9);
}

TEST(ExporterRun, EventsInTheirOrderWithCountsOverTheRun) {
  TempFolder folder;
  TextSource first({{"a", ectInteger}}, xlstest::Counting(3));
  TextSource second({{"b", ectInteger}}, xlstest::Counting(2));
  XlsExporter xls(first, folder / "book.xls");
  for (TextSource* source : {&first, &second}) {
    TxlsSheet& sheet = xls.Sheets.Add();
    sheet.SetExportSource(esCustom);
    sheet.SetCustomSource(source);
  }
  xls.Sheets[1].SkipRecCount = 1;
  std::vector<std::string> log;
  xls.OnBeginExport = [&](TVantrix3&) { log.push_back("begin"); };
  xls.OnEndExport = [&](TVantrix3&) { log.push_back("end"); };
  xls.OnBeforeExportSheet = [&](TVantrix3XLS&, int i) { log.push_back("sheet " + std::to_string(i)); };
  xls.OnAfterExportSheet = [&](TVantrix3XLS&, int i) { log.push_back("done " + std::to_string(i)); };
  xls.OnSkippedRecord = [&](TVantrix3&, int n) { log.push_back("skipped " + std::to_string(n)); };
  xls.OnExportedRecord = [&](TVantrix3&, int n) { log.push_back("exported " + std::to_string(n)); };
  xls.OnAdvancedRecordExported = [&](TVantrix3XLS&, int sheet, int n) {
    log.back() += " (" + std::to_string(sheet) + ":" + std::to_string(n) + ")";
  };
  // A refused row is not written but counts as exported.
  xls.OnAdvancedBeforeExportRow = [&](TVantrix3XLS&, int sheet, TVantrixRow& row, bool& accept) {
    accept = !(sheet == 0 && row[0].Value() == "2");
  };
  const xlstest::Workbook book = xls.Write();
  EXPECT_EQ(log, (std::vector<std::string>{"begin", "sheet 0", "exported 1 (0:1)", "exported 2 (0:2)",
                                           "exported 3 (0:3)", "done 0", "sheet 1", "skipped 1",
                                           "exported 4 (1:1)", "done 1", "end"}));
  EXPECT_EQ(book.sheets.at(0).Count(kNumber) + book.sheets.at(0).Count(kLabel), 3u);  // caption, 1, 3
  EXPECT_EQ(xlstest::CellAt(book.sheets.at(1), 1, 0)->Double(6), 2);
}

TEST(ExporterRun, CurrentRecordOnlyWritesOneRowAndCountsNone) {
  TempFolder folder;
  TextSource source({{"a", ectInteger}}, xlstest::Counting(5));
  XlsExporter xls(source, folder / "book.xls");
  xls.CurrentRecordOnly = true;
  int exported = 0;
  xls.OnExportedRecord = [&](TVantrix3&, int) { ++exported; };
  xls.OnAdvancedRecordExported = [&](TVantrix3XLS&, int, int) { ++exported; };
  const xlstest::Workbook book = xls.Write();
  EXPECT_EQ(book.sheets.at(0).Count(kNumber), 1u);
  EXPECT_EQ(exported, 0);
}

TEST(ExporterRun, ListViewSkipIsCutToItsItemsForTheRunOnly) {
  TempFolder folder;
  exporttest::TableModel model({"Nome"}, {{QString("a")}, {QString("b")}, {QString("c")}, {QString("d")}, {QString("e")}});
  TVantrixModelSource list(&model);
  TextSource unused({{"x"}}, {{"x"}});
  XlsExporter xls(unused, folder / "book.xls");
  xls.SetExportSource(esListView);
  xls.SetListView(&list);
  xls.SkipRecCount = 9;
  const xlstest::Workbook book = xls.Write();
  EXPECT_EQ(book.sheets.at(0).Count(kLabel), 1u);  // the caption alone
  EXPECT_EQ(xls.SkipRecCount, 9);
}

TEST(ExporterRun, RowsPastASheetGoOnInANumberedSheetWithCaptionsAndTheirOwnAggregate) {
  TempFolder folder;
  const int records = 70000;
  TextSource source({{"v", ectInteger}}, xlstest::Counting(records));
  TextSource other({{"w"}}, {{"x"}});
  XlsExporter xls(source, folder / "book.xls");
  xls.Header = {"Leituras"};
  xls.Footer = {"fim"};
  xls.FieldFormats.Add().FieldName = "v";
  xls.FieldFormats[0].Aggregate = aggSum;
  TxlsSheet& sheet = xls.Sheets.Add();
  sheet.LoadFromVantrixXLS();
  sheet.Title = u"Dados";
  TxlsSheet& named = xls.Sheets.Add();  // already called what the continuation would be
  named.SetExportSource(esCustom);
  named.SetCustomSource(&other);
  named.Title = u"dados (2)";
  const xlstest::Workbook book = xls.Write();

  EXPECT_EQ(SheetNames(book), (std::vector<std::u16string>{u"Dados", u"Dados (3)", u"dados (2)"}));
  ASSERT_EQ(book.sheets.size(), 3u);
  size_t rows = 0;
  for (size_t i = 0; i < 2; ++i) {
    const xlstest::Substream& s = book.sheets[i];
    EXPECT_EQ(xlstest::SharedString(book, xlstest::CellAt(s, 1, 0)->Integer(6)), u"v") << i;  // caption
    const xlstest::Record& sum = s.First(kFormula);
    EXPECT_EQ(sum.Word(23), 2) << i;  // from the first data row
    EXPECT_EQ(sum.Word(25) + 1, sum.Word(0)) << i;
    EXPECT_NE(xlstest::CellAt(s, sum.Word(0) + 1, 0), nullptr) << i;  // the footer
    EXPECT_LE(sum.Word(0) + 1, 65535) << i;
    rows += s.Count(kNumber);
  }
  EXPECT_EQ(rows, static_cast<size_t>(records));
  EXPECT_EQ(xlstest::CellAt(book.sheets[0], 65532, 0)->Double(6), 65531);  // the first sheet's last
  EXPECT_EQ(xlstest::CellAt(book.sheets[1], 2, 0)->Double(6), 65533);     // the next one's first
}

// Every continuation is the first part's title with its own number, however many parts a
// sheet runs to and however long the title: no number piles on another's, no bracket is cut.
TEST(ExporterRun, EveryContinuationIsTheFirstTitleWithItsOwnNumber) {
  TempFolder folder;
  struct Case {
    std::string title;
    int records;
    std::vector<std::u16string> names;
  };
  const auto numbered = [](const std::u16string& base, int part) {
    const std::string number = " (" + std::to_string(part) + ")";
    return base + std::u16string(number.begin(), number.end());
  };
  const std::string longTitle = "Umidade e temperatura da estufa norte";  // 37 characters
  const std::u16string wide(longTitle.begin(), longTitle.end());
  std::vector<std::u16string> longNames = {wide.substr(0, 31)};  // a sheet name's length
  for (int part = 2; part <= 11; ++part) longNames.push_back(numbered(wide.substr(0, part < 10 ? 27 : 26), part));
  const std::vector<Case> cases = {
      {"Sheet 1", 4 * 8, {u"Sheet 1", u"Sheet 1 (2)", u"Sheet 1 (3)", u"Sheet 1 (4)"}},
      {longTitle, 11 * 8, longNames},
  };
  for (const Case& c : cases) {
    TextSource source({{"v", ectInteger}}, xlstest::Counting(c.records));
    XlsExporter xls(source, folder / "book.xls");
    xls.SetSheetRowLimit(9);  // the caption and eight rows
    xls.Options.SetSheetTitle(c.title);
    const xlstest::Workbook book = xls.Write();
    EXPECT_EQ(SheetNames(book), c.names);
    size_t rows = 0;
    for (const xlstest::Substream& s : book.sheets) rows += s.Count(kNumber);
    EXPECT_EQ(rows, static_cast<size_t>(c.records));
  }
}

TEST(ExporterRun, HeaderLeavingNoRoomForDataRaises) {
  TempFolder folder;
  TextSource source({{"v", ectInteger}}, xlstest::Counting(3));
  XlsExporter xls(source, folder / "book.xls");
  xls.HeaderRows = 65535;
  EXPECT_NE(Message([&] { xls.Execute(); }).find("no room for data rows"), std::string::npos);
  EXPECT_TRUE(folder.Names().empty());
}

TEST(ExporterRun, SheetNamesSpreadsheetsAccept) {
  TempFolder folder;
  TextSource a({{"a"}}, {{"x"}}), b({{"b"}}, {{"y"}}), c({{"c"}}, {{"z"}});
  XlsExporter xls(a, folder / "book.xls");
  const std::u16string titles[] = {u"Jan/Fev: [a*b?] \\ 'x'", u"", u"JAN_FEV_ _A_B__ _ 'X'"};
  TextSource* sources[] = {&a, &b, &c};
  for (int i = 0; i < 3; ++i) {
    TxlsSheet& sheet = xls.Sheets.Add();
    sheet.SetExportSource(esCustom);
    sheet.SetCustomSource(sources[i]);
    sheet.Title = titles[i];
  }
  xls.Sheets[0].Title += u" and a tail well past thirty-one characters";
  EXPECT_EQ(SheetNames(xls.Write()),
            (std::vector<std::u16string>{u"Jan_Fev_ _a_b__ _ 'x' and a tai", u"Sheet2", u"JAN_FEV_ _A_B__ _ 'X"}));
}

}  // namespace
