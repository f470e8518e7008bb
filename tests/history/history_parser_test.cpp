#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "history/history_file.h"
#include "history/history_parser.h"
#include "history_text.h"
#include "platform/datetime.h"

using history::HistoryData;
using history::HistoryParser;
using history::ReadStatus;
using history::TableRowRef;
using history_test::DataLine;
using history_test::Header;
using history_test::NewStart;

namespace {

HistoryData ParseOk(const std::string& text) {
  HistoryData data;
  EXPECT_EQ(HistoryParser::Parse(text, data), ReadStatus::Ok);
  return data;
}

std::string Stamp(TDateTime t) {
  platform::DateParts d;
  platform::TimeParts tp;
  platform::DecodeDateTime(t, d, tp);
  char text[40];
  std::snprintf(text, sizeof text, "%.2d/%.2d/%.4d %.2d:%.2d:%.2d.%.3d", d.day, d.month, d.year, tp.hour,
                tp.minute, tp.second, tp.millisecond);
  return text;
}

}  // namespace

TEST(HistoryParser, ReadsHeaderTimesAndValuesOfOneRun) {
  const HistoryData data = ParseOk(Header() + DataLine(5, 12, 2026, 14, 34, 51, 123, {"23.5", "41.27"}) +
                                   DataLine(5, 12, 2026, 14, 34, 52, 7, {"-0.5", "0"}));
  ASSERT_EQ(data.ColumnCount(), 4u);
  EXPECT_EQ(data.HeaderCell(0, 2), "Sonda A");
  EXPECT_EQ(data.HeaderCell(0, 3), "");
  EXPECT_EQ(data.HeaderCell(1, 3), "Canal 2");
  EXPECT_EQ(data.HeaderCell(2, 2), "\xB0" "C");
  ASSERT_EQ(data.DataRowCount(), 2u);
  EXPECT_EQ(Stamp(data.Times()[0]), "05/12/2026 14:34:51.123");
  EXPECT_EQ(Stamp(data.Times()[1]), "05/12/2026 14:34:52.007");
  EXPECT_DOUBLE_EQ(data.Value(0, 1), 41.27);
  EXPECT_EQ(data.ValueText(1, 0, '.'), "-0.5");
  EXPECT_EQ(data.ValueText(1, 1, '.'), "0");
  ASSERT_EQ(data.Runs().size(), 1u);
  EXPECT_EQ(data.TableRowCount(), 5u);
  EXPECT_EQ(data.SkippedLineCount(), 0u);
}

// Cell texts come back exactly as written, with the decimal point shown in the local form.
TEST(HistoryParser, ValueTextsKeepTheirWrittenForm) {
  struct Case {
    const char* written;
    char separator;
    const char* shown;
    double value;
  };
  const Case cases[] = {
      {"12.5", ',', "12,5", 12.5},
      {"23.50", ',', "23,50", 23.5},
      {"-0.0", '.', "-0.0", -0.0},
      {"100", ',', "100", 100},
      {"0.001", ',', "0,001", 0.001},
      {"123456789012.345", '.', "123456789012.345", 123456789012.345},
      {"12345678901234567", '.', "12345678901234567", 12345678901234567.0},
      {"007", ',', "007", 7},
      {"+5", '.', "+5", 5},
      {".5", ',', ",5", 0.5},
      {"1.5E3", ',', "1,5E3", 1500},
      {"5.", '.', "5.", 5},
  };
  for (const Case& c : cases) {
    const HistoryData data = ParseOk(Header() + DataLine(1, 1, 2026, 0, 0, 0, 0, {c.written, "1"}));
    ASSERT_EQ(data.DataRowCount(), 1u) << c.written;
    EXPECT_EQ(data.ValueText(0, 0, c.separator), c.shown) << c.written;
    EXPECT_DOUBLE_EQ(data.Value(0, 0), c.value) << c.written;
    EXPECT_EQ(data.ValueText(0, 1, c.separator), "1") << c.written;
  }
}

// A value that doesn't convert leaves a gap in its own column only.
TEST(HistoryParser, UnconvertibleValuesLeaveGapsInPlace) {
  const char* gaps[] = {"abc", "", "nan", "inf", "-inf", "1e40", "12x", "1.2.3", "-", "0x1A"};
  for (const char* gap : gaps) {
    const HistoryData data = ParseOk(Header() + DataLine(1, 1, 2026, 0, 0, 0, 0, {gap, "7.25"}));
    ASSERT_EQ(data.DataRowCount(), 1u) << gap;
    EXPECT_TRUE(std::isnan(data.Value(0, 0))) << gap;
    EXPECT_EQ(data.ValueText(0, 0, '.'), "") << gap;
    EXPECT_EQ(data.ValueText(0, 1, '.'), "7.25") << gap;
  }
  // Fewer values than columns: the missing ones are gaps, also after a line that had a
  // kept raw text in that column.
  const HistoryData data = ParseOk(Header() + DataLine(1, 1, 2026, 0, 0, 0, 0, {"1", "+2"}) +
                                   DataLine(1, 1, 2026, 0, 0, 1, 0, {"3"}));
  ASSERT_EQ(data.DataRowCount(), 2u);
  EXPECT_EQ(data.ValueText(0, 1, '.'), "+2");
  EXPECT_TRUE(std::isnan(data.Value(1, 1)));
  EXPECT_EQ(data.ValueText(1, 1, '.'), "");
}

// A damaged line is left out and counted; every other line is still read.
TEST(HistoryParser, DamagedLinesSkipOnlyThemselves) {
  struct Case {
    const char* name;
    std::string line;
  };
  const Case cases[] = {
      {"impossible date", "32/13/2015, 10:00:00.000, 1, 2\n"},
      {"29 February of a common year", "29/02/2015, 10:00:00.000, 1, 2\n"},
      {"month 0", "10/00/2015, 10:00:00.000, 1, 2\n"},
      {"hour 24", "01/01/2015, 24:00:00.000, 1, 2\n"},
      {"minute 60", "01/01/2015, 10:60:00.000, 1, 2\n"},
      {"letter in the date", "0a/01/2015, 10:00:00.000, 1, 2\n"},
      {"date without padding", "1/1/2015, 10:00:00.000, 1, 2\n"},
      {"time without milliseconds", "01/01/2015, 10:00:00, 1, 2\n"},
      {"time cut short", "01/01/2015, 10:0\n"},
      {"date alone", "01/01/2015\n"},
      {"more fields than columns", "01/01/2015, 10:00:00.000, 1, 2, 3\n"},
      {"text", "this is no data line\n"},
  };
  for (const Case& c : cases) {
    const std::string text = Header() + DataLine(2, 1, 2015, 9, 0, 0, 0, {"1", "2"}) + c.line +
                             DataLine(2, 1, 2015, 9, 0, 1, 0, {"3", "4"});
    const HistoryData data = ParseOk(text);
    EXPECT_EQ(data.DataRowCount(), 2u) << c.name;
    EXPECT_EQ(data.SkippedLineCount(), 1u) << c.name;
    EXPECT_EQ(data.FirstSkippedLine(), 5u) << c.name;
    if (data.DataRowCount() == 2) {
      EXPECT_EQ(data.ValueText(1, 1, '.'), "4") << c.name;
    }
  }
  const HistoryData leap = ParseOk(Header() + DataLine(29, 2, 2016, 23, 59, 59, 999, {"1", "2"}));
  EXPECT_EQ(leap.DataRowCount(), 1u);
  EXPECT_EQ(leap.SkippedLineCount(), 0u);
}

TEST(HistoryParser, LineEndsAndBlankLines) {
  const std::string line1 = DataLine(1, 1, 2026, 0, 0, 0, 0, {"1", "2"});
  const std::string line2 = "01/01/2026, 00:00:01.000, 3, 4";  // no final line feed
  struct Case {
    const char* name;
    std::string text;
  };
  const Case cases[] = {
      {"last line without a line feed", Header() + line1 + line2},
      {"CR LF line ends", " , , Sonda A, \r\n , , Canal 1, Canal 2\r\n , , C, %\r\n"
                          "01/01/2026, 00:00:00.000, 1, 2\r\n01/01/2026, 00:00:01.000, 3, 4\r\n"},
      {"empty and blank lines", "\n" + Header() + "\n  \n" + line1 + "\t\r\n" + line2 + "\n\n"},
      {"a line far longer than any read block",
       Header() + line1 + "01/01/2026, 00:00:01.000, 3" + std::string(300000, ' ') + ", 4\n"},
  };
  for (const Case& c : cases) {
    const HistoryData data = ParseOk(c.text);
    ASSERT_EQ(data.DataRowCount(), 2u) << c.name;
    EXPECT_EQ(data.HeaderCell(1, 3), "Canal 2") << c.name;
    EXPECT_EQ(data.ValueText(1, 0, '.'), "3") << c.name;
    EXPECT_EQ(data.ValueText(1, 1, '.'), "4") << c.name;
    EXPECT_EQ(data.SkippedLineCount(), 0u) << c.name;
  }
}

TEST(HistoryParser, HeaderRowsAreCutOrPaddedToTheValueNameLine) {
  const HistoryData data = ParseOk(" , , Forno do laborat\xF3rio central n\xBA 2, , extra, more\n"
                                   " , , Temperatura m\xE9" "dia da c\xE2mara, Canal 2\n"
                                   " , \n" +
                                   DataLine(1, 1, 2026, 0, 0, 0, 0, {"1", "2"}));
  ASSERT_EQ(data.ColumnCount(), 4u);
  EXPECT_EQ(data.HeaderCell(0, 2), "Forno do laborat\xF3rio central n\xBA 2");
  EXPECT_EQ(data.HeaderCell(0, 3), "");
  EXPECT_EQ(data.HeaderCell(0, 4), "");  // beyond the table: nothing
  EXPECT_EQ(data.HeaderCell(1, 2), "Temperatura m\xE9" "dia da c\xE2mara");
  EXPECT_EQ(data.HeaderCell(2, 2), "");
  EXPECT_EQ(data.HeaderCell(2, 3), "");
  EXPECT_EQ(data.DataRowCount(), 1u);
}

TEST(HistoryParser, FilesThatCannotBeShown) {
  struct Case {
    const char* name;
    std::string text;
    ReadStatus status;
  };
  const Case cases[] = {
      {"empty", "", ReadStatus::NothingRead},
      {"one line", " , , Sonda A\n", ReadStatus::NoValueColumns},
      {"date and time only", " , \n , \n , \n01/01/2026, 00:00:00.000\n", ReadStatus::NoValueColumns},
      {"only blank lines", "\n\n \n", ReadStatus::NoValueColumns},
  };
  for (const Case& c : cases) {
    HistoryData data;
    EXPECT_EQ(HistoryParser::Parse(c.text, data), c.status) << c.name;
    EXPECT_EQ(data.DataRowCount(), 0u) << c.name;
  }
  // A header without data is a file that shows, with empty series.
  const HistoryData headerOnly = ParseOk(Header());
  EXPECT_EQ(headerOnly.ValueColumnCount(), 2u);
  EXPECT_EQ(headerOnly.DataRowCount(), 0u);
  EXPECT_EQ(headerOnly.TableRowCount(), 3u);
}

TEST(HistoryParser, AppendedRunsFollowAnEmptyTableRow) {
  const std::string text = Header() + DataLine(1, 1, 2026, 8, 0, 0, 0, {"1", "2"}) +
                           DataLine(1, 1, 2026, 8, 0, 1, 0, {"3", "4"}) + NewStart() +
                           DataLine(2, 1, 2026, 9, 0, 0, 0, {"5", "6"}) + NewStart() + NewStart() +
                           DataLine(3, 1, 2026, 9, 0, 0, 0, {"7", "8"});
  const HistoryData data = ParseOk(text);
  ASSERT_EQ(data.Runs().size(), 4u);
  EXPECT_EQ(data.Runs()[0].rowCount, 2u);
  EXPECT_EQ(data.Runs()[1].firstRow, 2u);
  EXPECT_EQ(data.Runs()[1].rowCount, 1u);
  EXPECT_EQ(data.Runs()[2].rowCount, 0u);
  EXPECT_EQ(data.Runs()[3].firstRow, 3u);
  EXPECT_EQ(data.DataRowCount(), 4u);
  EXPECT_EQ(data.SkippedLineCount(), 0u);
  // 3 header rows, 4 data rows, one empty row before each of the 3 later runs.
  ASSERT_EQ(data.TableRowCount(), 10u);
  const TableRowRef::Kind H = TableRowRef::Kind::Header, D = TableRowRef::Kind::Data,
                          B = TableRowRef::Kind::RunBreak;
  const TableRowRef expected[] = {{H, 0}, {H, 1}, {H, 2}, {D, 0}, {D, 1}, {B, 1}, {D, 2}, {B, 2}, {B, 3}, {D, 3}};
  for (size_t row = 0; row < 10; ++row) {
    const TableRowRef ref = data.LocateTableRow(row);
    EXPECT_EQ(ref.kind, expected[row].kind) << row;
    EXPECT_EQ(ref.index, expected[row].index) << row;
    if (ref.kind == D) {
      EXPECT_EQ(data.TableRowOfDataRow(ref.index), row);
    }
  }
  EXPECT_EQ(data.RunOfRow(3), 3u);
  EXPECT_EQ(data.ValueText(3, 1, '.'), "8");
}

// Placeholder lines that a cut-short recording never wrote don't swallow data lines.
TEST(HistoryParser, MarkerWithoutPlaceholdersKeepsItsData) {
  const HistoryData data = ParseOk(Header() + DataLine(1, 1, 2026, 8, 0, 0, 0, {"1", "2"}) +
                                   "##_New_Start_##\n , \n" + DataLine(1, 1, 2026, 9, 0, 0, 0, {"5", "6"}));
  ASSERT_EQ(data.Runs().size(), 2u);
  EXPECT_EQ(data.DataRowCount(), 2u);
  EXPECT_EQ(data.SkippedLineCount(), 0u);
}

TEST(HistoryFile, ReadsFromDiskAndReportsWhatCannotBeOpened) {
  const auto folder = std::filesystem::temp_directory_path() / ("histview_file_test_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const auto path = folder / "a.mpc";
  {
    std::ofstream out(path, std::ios::binary);
    out << Header() << DataLine(1, 1, 2026, 0, 0, 0, 0, {"1", "2"}) << "01/01/2026, 00:00:01.000, 3, 4";
  }
  HistoryData data;
  EXPECT_EQ(history::ReadHistoryFile(path.string(), data), ReadStatus::Ok);
  EXPECT_EQ(data.DataRowCount(), 2u);
  EXPECT_EQ(history::ReadHistoryFile((folder / "missing.mpc").string(), data), ReadStatus::CannotOpen);
  EXPECT_EQ(history::ReadHistoryFile(folder.string(), data), ReadStatus::CannotOpen);
  std::ofstream(folder / "empty.mpc").close();
  EXPECT_EQ(history::ReadHistoryFile((folder / "empty.mpc").string(), data), ReadStatus::NothingRead);
  std::filesystem::remove_all(folder);
}
