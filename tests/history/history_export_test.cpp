// The history export road without windows: the cells it hands the exporters are the viewer's,
// the time column's milliseconds kept, left out or in a column of their own, and a file name
// it can't serve or write is told, the old file kept.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QLocale>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "export/shell_service.h"
#include "export/vantrix3_ascii.h"
#include "export/xls/workbook_dump.h"
#include "export/xls/xls_file.h"
#include "history/history_export.h"
#include "history/history_parser.h"
#include "history/history_text.h"
#include "platform/qt_text.h"

namespace {

using history::HistoryCellSource;
using history::HistoryExport;
using history::MillisecondOptions;
using history_test::Header;
using history_test::kNewStart;
using history_test::Line;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class HistoryExportTest : public testing::Test {
 protected:
  void Load(const std::string& text) { ASSERT_EQ(history::HistoryParser::Parse(text, data_), history::ReadStatus::Ok); }
  std::string Cell(size_t row, size_t column, MillisecondOptions options = {}) {
    cells_.SetOptions(options);
    std::string out;
    cells_.Text(row, column, out);
    return out;
  }
  std::string Folder() {
    char pattern[] = "/tmp/tervana_hist_export_XXXXXX";
    folder_ = mkdtemp(pattern);
    return folder_;
  }
  void TearDown() override {
    if (folder_.empty()) return;
    std::error_code ignored;
    std::filesystem::permissions(folder_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(folder_, ignored);
  }

  history::HistoryData data_;
  QLocale locale_{QLocale::English, QLocale::UnitedKingdom};
  history::CellTexts texts_{data_, locale_};
  HistoryCellSource cells_{data_, texts_};
  std::string folder_;
};

TEST(SplitMilliseconds, TakesTheLastPointAndUpToThreeDigits) {
  std::string without, ms;
  history::SplitMilliseconds("10:20:30.045", without, ms);
  EXPECT_EQ(without + "|" + ms, "10:20:30|045");
  history::SplitMilliseconds("10:20:30.045 PM", without, ms);
  EXPECT_EQ(without + "|" + ms, "10:20:30 PM|045");
  // Header, unit and run-break cells have no point: they stay, with no milliseconds.
  history::SplitMilliseconds("", without, ms);
  EXPECT_EQ(without + "|" + ms, "|");
  history::SplitMilliseconds("Hora", without, ms);
  EXPECT_EQ(without + "|" + ms, "Hora|");
}

// Every value is reprinted as the file wrote it (its digits and decimals), the quick way
// and the general one alike.
TEST_F(HistoryExportTest, ValuesComeBackAsWritten) {
  const std::vector<std::string> values = {"0",       "-0.00",           "12.5",        "2.675",   "-0.004",
                                           "1000000", "123456789012345", "0.123456789012345", "99999.99999",
                                           "1e3",     "-7.250"};
  std::string line = "05/12/2026, 10:20:30.045";
  std::string names = " , ";
  for (size_t i = 0; i < values.size(); ++i) {
    line += ", " + values[i];
    names += ", v" + std::to_string(i);
  }
  Load(" , \n" + names + "\n , \n" + line + "\n");
  for (size_t i = 0; i < values.size(); ++i) EXPECT_EQ(data_.ValueText(0, i, '.'), values[i]);
  EXPECT_EQ(data_.ValueText(0, 2, ','), "12,5");
}

TEST_F(HistoryExportTest, TheThreeMillisecondModes) {
  Load(Header() + Line(5, 10, 20, 30, 45, {"12.5", "40"}) + kNewStart + Line(6, 8, 0, 0, 0, {"1", "2"}));
  // Row 3 is the first data row, row 4 the break between the runs.
  EXPECT_EQ(Cell(3, 1), "10:20:30.045");
  MillisecondOptions separator;
  separator.separator = ',';
  EXPECT_EQ(Cell(3, 1, separator), "10:20:30,045");
  EXPECT_EQ(Cell(4, 1, separator), "");
  separator.separator = '\0';  // an empty separator field
  EXPECT_EQ(Cell(3, 1, separator), "10:20:30.045");

  MillisecondOptions none;
  none.withoutMilliseconds = true;
  none.ownColumn = true;  // no milliseconds: no column for them either
  EXPECT_EQ(Cell(3, 1, none), "10:20:30");
  EXPECT_EQ(cells_.ColumnCount(), 4u);

  MillisecondOptions own;
  own.ownColumn = true;
  EXPECT_EQ(Cell(3, 0, own) + "|" + Cell(3, 1, own) + "|" + Cell(3, 2, own) + "|" + Cell(3, 3, own),
            "05/12/2026|10:20:30|045|12.5");
  EXPECT_EQ(Cell(5, 1, own) + "|" + Cell(5, 2, own), "08:00:00|000");
  EXPECT_EQ(Cell(1, 1, own) + "|" + Cell(1, 2, own) + "|" + Cell(1, 3, own), "||Canal 1");
  EXPECT_EQ(Cell(4, 1, own) + "|" + Cell(4, 2, own), "|");
  // The device names move right with the values; the date's caption is empty.
  EXPECT_EQ(cells_.Caption(0) + "|" + cells_.Caption(2) + "|" + cells_.Caption(3), "||Sonda A");
}

// The road hands over exactly what the viewer shows, whatever the locale.
TEST_F(HistoryExportTest, EveryCellIsTheViewersCell) {
  std::string text = Header();
  for (int i = 0; i < 30; ++i) text += Line(5 + i / 10, 23, 59, 50 + i % 10, i * 7, {std::to_string(i) + ".25", "-3"});
  Load(text + kNewStart + Line(9, 0, 0, 1, 999, {"1e3", ""}));
  for (const QLocale& locale : {QLocale(QLocale::English, QLocale::UnitedStates),
                                QLocale(QLocale::Portuguese, QLocale::Brazil),
                                QLocale(QLocale::German, QLocale::Germany)}) {
    const history::CellTexts texts(data_, locale);
    HistoryCellSource cells(data_, texts);
    std::string cell;
    for (size_t row = 0; row < data_.TableRowCount(); ++row)
      for (size_t column = 0; column < data_.ColumnCount(); ++column) {
        cells.TableCell(row, column, cell);
        EXPECT_EQ(platform::FromCp1252(cell), texts.Cell(row, column)) << row << "," << column;
      }
  }
}

TEST_F(HistoryExportTest, AnyCaseOfTheExtensionAndClearMessagesForWhatCantBeDone) {
  Load(Header() + Line(5, 10, 20, 30, 45, {"12.5", "40"}));
  HistoryExport road(data_, texts_, "/dados/h.mpc");
  const std::string folder = Folder();
  EXPECT_TRUE(road.ExportTable(folder + "/a.CSV", {}).Ok());
  EXPECT_EQ(ReadAll(folder + "/a.CSV"),
            "\"\";\"\";\"Sonda A\";\"\"\r\n\"\";\"\";\"Canal 1\";\"Canal 2\"\r\n\"\";\"\";\"\xB0" "C\";\"%\"\r\n"
            "\"05/12/2026\";\"10:20:30.045\";\"12.5\";\"40\"\r\n");
  EXPECT_EQ(HistoryExport::ExtensionOf("/x.y/name"), "");
  EXPECT_EQ(HistoryExport::ExtensionOf("/x/name.Txt"), "txt");

  const history::HistoryExportResult unknown = road.ExportTable(folder + "/a.ods", {});
  EXPECT_EQ(unknown.status, history::HistoryExportResult::Status::UnknownExtension);
  EXPECT_NE(unknown.message.find("\"a.ods\""), std::string::npos) << unknown.message;
  EXPECT_NE(unknown.message.find("xml, dbf, txt ou csv"), std::string::npos) << unknown.message;

  // A file the export can't write beside (as root nothing else stops a write): the
  // exporter's reason, and the old file as it was.
  const std::string old = folder + "/" + std::string(250, 'x') + ".txt";
  std::ofstream(old) << "old";
  const history::HistoryExportResult failed = road.ExportTable(old, {});
  EXPECT_EQ(failed.status, history::HistoryExportResult::Status::Failed);
  EXPECT_NE(failed.message.find("Cannot create the file"), std::string::npos) << failed.message;
  EXPECT_EQ(ReadAll(old), "old");

  // A folder nobody may write into, for a user the permissions stop.
  std::filesystem::create_directory(folder + "/locked");
  std::ofstream(folder + "/locked/old.txt") << "old";
  std::filesystem::permissions(folder + "/locked",
                               std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  if (!std::ofstream(folder + "/locked/probe").good()) {
    EXPECT_FALSE(road.ExportTable(folder + "/locked/old.txt", {}).Ok());
    EXPECT_EQ(ReadAll(folder + "/locked/old.txt"), "old");
  }
}

// A named pipe or a device named as the file is refused by every format, told with its name,
// and stays what it was.
TEST_F(HistoryExportTest, WhatIsNoRegularFileIsRefusedWithItsName) {
  Load(Header() + Line(5, 10, 20, 30, 45, {"12.5", "40"}));
  HistoryExport road(data_, texts_, "/dados/h.mpc");
  const std::string folder = Folder();
  for (const char* extension : {"csv", "txt", "xls", "html"}) {
    const std::string pipe = folder + "/pipe." + extension;
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const history::HistoryExportResult refused = road.ExportTable(pipe, {});
    EXPECT_EQ(refused.status, history::HistoryExportResult::Status::Failed) << extension;
    EXPECT_NE(refused.message.find("\"" + pipe + "\": it is a named pipe, and only a regular file is replaced"),
              std::string::npos)
        << refused.message;
    EXPECT_TRUE(std::filesystem::is_fifo(pipe)) << extension;
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 4);
}

// The recording is never replaced by its own export, whatever name it is chosen by.
TEST_F(HistoryExportTest, TheRecordingIsNeverItsOwnExport) {
  const std::string text = Header() + Line(5, 10, 20, 30, 45, {"12.5", "40"});
  Load(text);
  const std::string folder = Folder(), recording = folder + "/ensaio.mpc";
  std::ofstream(recording, std::ios::binary) << text;
  HistoryExport road(data_, texts_, recording);
  for (const char* extension : {"csv", "xls"}) {
    const std::string other = folder + "/ensaio." + extension;
    ASSERT_EQ(symlink(recording.c_str(), other.c_str()), 0);
    const history::HistoryExportResult refused = road.ExportTable(other, {});
    EXPECT_EQ(refused.status, history::HistoryExportResult::Status::Failed) << extension;
    EXPECT_NE(refused.message.find("Cannot write the file \"" + other + "\": it is \"" + recording +
                                   "\", a file this export reads"),
              std::string::npos)
        << refused.message;
    EXPECT_EQ(ReadAll(recording), text);
  }
}

// An exporter set to print its file reports a desktop that would not print it: the export is
// done, and the result says what was not.
TEST_F(HistoryExportTest, AFileThatWasNotPrintedIsToldWithTheDoneExport) {
  struct RefusingShell : vantrix::TVantrixShell {
    std::string Open(const std::string&) override { return {}; }
    std::string Print(const std::string&) override { return "no printer"; }
    std::string SetClipboardText(const std::string&) override { return {}; }
  } shell;
  Load(Header() + Line(5, 10, 20, 30, 45, {"12.5", "40"}));
  HistoryExport road(data_, texts_, "/dados/h.mpc");
  road.Ascii().PrintFile = true;
  road.Ascii().SetShellService(&shell);
  const std::string folder = Folder();
  const history::HistoryExportResult printed = road.ExportTable(folder + "/a.csv", {});
  EXPECT_TRUE(printed.Ok());
  EXPECT_EQ(printed.resultError, "\"a.csv\" foi exportado, mas:\nno printer");
  EXPECT_NE(ReadAll(folder + "/a.csv").find("12.5"), std::string::npos);
  // The next export starts without the last one's report.
  road.Ascii().PrintFile = false;
  EXPECT_EQ(road.ExportTable(folder + "/b.csv", {}).resultError, "");
}

TEST_F(HistoryExportTest, DBaseTextFieldsHoldTheirLongestCell) {
  Load(" , , Uma sonda de nome bem longo\n , , Canal\n , , %\n" + Line(5, 10, 20, 30, 45, {"12345.678901234"}));
  HistoryExport road(data_, texts_, "/dados/h.mpc");
  const std::string folder = Folder();
  ASSERT_TRUE(road.ExportTable(folder + "/a.dbf", {}).Ok());
  const std::string dbf = ReadAll(folder + "/a.dbf");
  // Date, time (with milliseconds) and the value; the device name is the caption row.
  EXPECT_EQ(static_cast<unsigned char>(dbf[32 + 16]), 10);
  EXPECT_EQ(static_cast<unsigned char>(dbf[64 + 16]), 12);
  EXPECT_EQ(static_cast<unsigned char>(dbf[96 + 16]), 15);
  EXPECT_NE(dbf.find("12345.678901234"), std::string::npos);
}

// A recording stopped in the middle of a line: the half line ("41.27" cut to "4") is in no
// export, whatever the format.
TEST_F(HistoryExportTest, TheHalfLineOfAStoppedRecordingIsExportedNowhere) {
  ASSERT_EQ(history::HistoryParser::Parse(Header() + Line(5, 10, 20, 30, 45, {"12.5", "40"}) +
                                              "05/12/2026, 10:20:31.045, 41.27, 4",
                                          data_),
            history::ReadStatus::Ok);
  HistoryExport road(data_, texts_, "/dados/h.mpc");
  const std::string folder = Folder();
  ASSERT_TRUE(road.ExportTable(folder + "/a.csv", {}).Ok());
  const std::string csv = ReadAll(folder + "/a.csv");
  EXPECT_TRUE(csv.ends_with("\"05/12/2026\";\"10:20:30.045\";\"12.5\";\"40\"\r\n")) << csv;
  ASSERT_TRUE(road.ExportTable(folder + "/a.xml", {}).Ok());
  EXPECT_EQ(ReadAll(folder + "/a.xml").find("10:20:31"), std::string::npos);
}

// The rich-text table's cells, read back from the \cellx positions of its row definition, in
// characters of the width of "X": a character narrower than the road's columns, the date and
// the time two (date 10 + 1, time 8 + 1 and 4 for the milliseconds kept in it, values 11).
TEST_F(HistoryExportTest, RichTextCellsAreACharacterNarrowerAndTheDateAndTimeTwo) {
  Load(Header() + Line(5, 10, 20, 30, 45, {"12.5", "40"}));
  HistoryExport road(data_, texts_, "/dados/h.mpc");
  const std::string folder = Folder();
  MillisecondOptions own;
  own.ownColumn = true;
  const struct { MillisecondOptions options; std::vector<long long> widths; } cases[] = {
      {{}, {9, 11, 10, 10}},
      {own, {9, 7, 3, 10, 10}},  // the time without its milliseconds, which have a column of 4
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(road.ExportTable(folder + "/a.rtf", c.options).Ok());
    const std::string rtf = ReadAll(folder + "/a.rtf");
    std::vector<long long> twips;  // each cell's own width
    long long left = 36;
    for (size_t at = rtf.find("\\cellx"); at != std::string::npos; at = rtf.find("\\cellx", at + 1)) {
      const long long right = std::stoll(rtf.substr(at + 6));
      twips.push_back(right - left - 10);
      left = right;
    }
    ASSERT_EQ(twips.size(), c.widths.size());
    const long long perCharacter = twips.back() / 10;  // 15 twips a pixel of "X"'s width
    ASSERT_GT(perCharacter, 0);
    std::vector<long long> widths;
    for (const long long t : twips) widths.push_back(t % perCharacter == 0 ? t / perCharacter : -t);
    EXPECT_EQ(widths, c.widths);
  }
}

// The workbook's sheet and the HTML page are titled by the recording (the history file's
// name, as the viewer's caption shows it), not by the file exported to.
TEST_F(HistoryExportTest, TheWorkbookAndThePageAreTitledByTheRecording) {
  Load(Header() + Line(5, 10, 20, 30, 45, {"12.5", "40"}));
  HistoryExport road(data_, texts_, "/dados/ensaio \xC3\xA1gua.mpc");
  const std::string folder = Folder();
  ASSERT_TRUE(road.ExportTable(folder + "/out.xls", {}).Ok());
  ASSERT_TRUE(road.ExportTable(folder + "/out.html", {}).Ok());
  vantrix::TxlsFile book;
  book.FileName = folder + "/out.xls";
  book.Load();
  const std::string cells = vantrix::DumpCells(book.Workbook());
  EXPECT_EQ(cells.substr(0, cells.find('\n')), "sheet\t\"ensaio \\u00e1gua.mpc\"");
  EXPECT_NE(ReadAll(folder + "/out.html").find("<Title>ensaio \xE1gua.mpc</Title>"), std::string::npos);
}

// A workbook sheet takes the caption row, rows 1 and 2 and 65,533 data rows: no sheet may be
// left without data, and no data row may fall between two sheets.
TEST(HistorySheets, CountsAndTitles) {
  EXPECT_EQ(HistoryExport::SheetCountFor(0), 1u);
  EXPECT_EQ(HistoryExport::SheetCountFor(4), 1u);
  EXPECT_EQ(HistoryExport::SheetCountFor(65536), 1u);
  EXPECT_EQ(HistoryExport::SheetCountFor(65537), 2u);
  EXPECT_EQ(HistoryExport::SheetCountFor(3 + 2 * 65533), 2u);
  EXPECT_EQ(HistoryExport::SheetCountFor(3 + 2 * 65533 + 1), 3u);
  EXPECT_EQ(HistoryExport::SheetCountFor(1000003), 16u);

  // The folder goes; one sheet keeps the name as it is (the writer cuts and cleans it).
  EXPECT_EQ(HistoryExport::SheetTitles("/dados/ensaio.mpc", 1), std::vector<std::u16string>{u"ensaio.mpc"});
  // The number stays whole behind a name cut to leave it room; characters, not bytes, count.
  const std::string name = "/d/Medi\xC3\xA7\xC3\xB5" "es do forno de t\xC3\xAAmpera n\xC2\xBA 12.mpc";
  const std::vector<std::u16string> titles = HistoryExport::SheetTitles(name, 12);
  ASSERT_EQ(titles.size(), 12u);
  EXPECT_EQ(titles[0], u"Medi\u00e7\u00f5es do forno de t\u00eamper - 1");
  EXPECT_EQ(titles[11], u"Medi\u00e7\u00f5es do forno de t\u00eampe - 12");
  for (const std::u16string& title : titles) EXPECT_LE(title.size(), 31u);
}

}  // namespace
