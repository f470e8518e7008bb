#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "support/allocation_meter.h"
#include "history/history_file.h"
#include "history/history_parser.h"
#include "history_text.h"

using history::HistoryData;
using history::HistoryParser;
using history::ReadStatus;
using history::TableRowRef;
using history_test::Header;
using history_test::kNewStart;
using history_test::Line;

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

// Header fields are trimmed and shown whole however long; header lines with more fields
// than the value-name line are cut to its column count.
TEST(HistoryParser, ReadsHeaderTimesAndValuesOfOneRun) {
  const std::string device = "Forno do laborat\xF3rio central n\xBA 2", value = "Temperatura m\xE9" "dia da c\xE2mara";
  const HistoryData data =
      ParseOk(" , , " + device + ", , extra, more\n , , " + value + ", Canal 2\n , , \xB0" "C\n" +
              Line(5, 14, 34, 51, 123, {"23.5", "41.27"}) + Line(5, 14, 34, 52, 7, {"-0.5", "0"}) +
              "29/12/1899, 06:00:00.000, 1, 2\n");
  ASSERT_EQ(data.ColumnCount(), 4u);
  EXPECT_EQ(data.HeaderCell(0, 2), device);
  EXPECT_EQ(data.HeaderCell(1, 2), value);
  EXPECT_EQ(data.HeaderCell(0, 4), "");  // beyond the table: nothing
  EXPECT_EQ(std::string(data.HeaderCell(2, 2)) + std::string(data.HeaderCell(2, 3)), "\xB0" "C");
  ASSERT_EQ(data.DataRowCount(), 3u);
  EXPECT_EQ(Stamp(data.Times()[0]), "05/12/2026 14:34:51.123");
  EXPECT_EQ(Stamp(data.Times()[1]), "05/12/2026 14:34:52.007");
  EXPECT_EQ(Stamp(data.Times()[2]), "29/12/1899 06:00:00.000");  // a negative date, time still forward
  EXPECT_EQ(data.Value(0, 1), 41.27);
  EXPECT_EQ(data.Runs().size(), 1u);
  EXPECT_EQ(data.SkippedLineCount(), 0u);
}

// Cell texts come back exactly as written with the local decimal mark; a value that does
// not convert leaves a gap in its own column only.
TEST(HistoryParser, ValueTextsKeepTheirWrittenFormOrLeaveAGap) {
  const struct { const char* written; char separator; const char* shown; double value; } cases[] = {
      {"12.5", ',', "12,5", 12.5}, {"23.50", ',', "23,50", 23.5}, {"-0.0", '.', "-0.0", -0.0}, {"100", ',', "100", 100},
      {"0.001", ',', "0,001", 0.001}, {"007", ',', "007", 7}, {"+5", '.', "+5", 5}, {".5", ',', ",5", 0.5},
      {"123456789012.345", '.', "123456789012.345", 123456789012.345}, {"1.5E3", ',', "1,5E3", 1500},
      {"12345678901234567", '.', "12345678901234567", 12345678901234567.0}, {"5.", '.', "5.", 5},
      {"", ',', "", NAN}, {"nan", ',', "", NAN}, {"-inf", ',', "", NAN}, {"1e40", ',', "", NAN}, {"12x", ',', "", NAN},
      {"1.2.3", ',', "", NAN}, {"-", ',', "", NAN}, {"0x1A", ',', "", NAN},
  };
  for (const auto& c : cases) {
    const HistoryData data = ParseOk(Header() + Line(1, 0, 0, 0, 0, {c.written, "7.25"}));
    ASSERT_EQ(data.DataRowCount(), 1u) << c.written;
    EXPECT_EQ(data.ValueText(0, 0, c.separator), c.shown) << c.written;
    EXPECT_TRUE(std::isnan(c.value) ? std::isnan(data.Value(0, 0)) : data.Value(0, 0) == c.value) << c.written;
    EXPECT_EQ(data.ValueText(0, 1, c.separator), c.separator == ',' ? "7,25" : "7.25") << c.written;
  }
  // Fewer values than columns: the missing ones are gaps, also after a line whose value in
  // that column was kept as written.
  const HistoryData data = ParseOk(Header() + Line(1, 0, 0, 0, 0, {"1", "+2"}) + Line(1, 0, 0, 1, 0, {"3"}));
  EXPECT_EQ(data.ValueText(0, 1, '.'), "+2");
  EXPECT_EQ(data.ValueText(1, 1, '.'), "");
}

// A damaged line is left out and counted, with what was wrong with the first one; every other
// line is still read.
TEST(HistoryParser, DamagedLinesSkipOnlyThemselves) {
  using P = history::LineProblem;
  const struct { const char* line; P problem; const char* field; } damaged[] = {
      {"32/13/2015, 10:00:00.000, 1, 2", P::ImpossibleDate, "32/13/2015"},
      {"29/02/2015, 10:00:00.000, 1, 2", P::ImpossibleDate, "29/02/2015"},
      {"10/00/2015, 10:00:00.000, 1, 2", P::ImpossibleDate, "10/00/2015"},
      {"01/01/2015, 24:00:00.000, 1, 2", P::ImpossibleTime, "24:00:00.000"},
      {"01/01/2015, 10:60:00.000, 1, 2", P::ImpossibleTime, "10:60:00.000"},
      {"0a/01/2015, 10:00:00.000, 1, 2", P::DateShape, "0a/01/2015"},
      {"1/1/2015, 10:00:00.000, 1, 2", P::DateShape, "1/1/2015"},
      {"01/01/2015, 10:00:00, 1, 2", P::TimeShape, "10:00:00"},
      {"01/01/2015, 10:0", P::TimeShape, "10:0"},
      {"01/01/2015, 10:00:00.000, 1, 2, 3", P::TooManyFields, ""},
      {"01/01/2015", P::NoTime, "01/01/2015"},
      {"this is no data line", P::DateShape, "this is no data line"},
      {"\x02no\x01" "date\x7F, 1", P::DateShape, "no?date\x7F"},  // control characters inside shown as '?'
  };
  for (const auto& c : damaged) {
    const HistoryData data =
        ParseOk(Header() + Line(2, 9, 0, 0, 0, {"1", "2"}) + c.line + "\n" + Line(2, 9, 0, 1, 0, {"3", "4"}));
    ASSERT_EQ(data.DataRowCount(), 2u) << c.line;
    EXPECT_EQ(data.SkippedLineCount(), 1u) << c.line;
    EXPECT_EQ(data.FirstDamage().line, 5u) << c.line;
    EXPECT_EQ(data.FirstDamage().problem, c.problem) << c.line;
    EXPECT_EQ(data.FirstDamage().field, c.field) << c.line;
    EXPECT_EQ(data.ValueText(1, 1, '.'), "4") << c.line;
  }
  EXPECT_EQ(ParseOk(Header() + "29/02/2016, 23:59:59.999, 1, 2\n").DataRowCount(), 1u);  // a leap day
  // A line with too many values leaves nothing of itself behind, not even a value kept as written.
  const HistoryData data = ParseOk(Header() + "01/01/2015, 10:00:00.000, +1, 1e3, 3\n" + Line(2, 9, 0, 1, 0, {"+5"}));
  ASSERT_EQ(data.DataRowCount(), 1u);
  EXPECT_EQ(data.ValueText(0, 0, '.'), "+5");
  EXPECT_EQ(data.RowValueCount(0), 1u);
}

// The whole text is split at line feeds: CR LF, blank lines and a line longer than any read
// block are all read.
TEST(HistoryParser, LineEndsAndBlankLines) {
  const std::string line1 = Line(1, 0, 0, 0, 0, {"1", "2"}), line2 = "01/12/2026, 00:00:01.000, 3, 4";
  const std::string cases[] = {
      Header() + line1 + line2 + "\n",
      " , , Sonda A, \r\n , , Canal 1, Canal 2\r\n , , C, %\r\n01/12/2026, 00:00:00.000, 1, 2\r\n" + line2 + "\r\n",
      "\n" + Header() + "\n  \n" + line1 + "\t\r\n" + line2 + "\n\n",
      Header() + line1 + "01/12/2026, 00:00:01.000, 3" + std::string(300000, ' ') + ", 4\n",
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const HistoryData data = ParseOk(cases[i]);
    ASSERT_EQ(data.DataRowCount(), 2u) << i;
    EXPECT_EQ(data.HeaderCell(1, 3), "Canal 2") << i;
    EXPECT_EQ(data.ValueText(1, 0, '.') + data.ValueText(1, 1, '.'), "34") << i;
    EXPECT_EQ(data.SkippedLineCount(), 0u) << i;
  }
}

// A recording stopped while writing a line leaves half of it at the end of the file: "41.27"
// cut to "4" would be a wrong value, so a last line without its line feed is no data (nor
// damage to report: a file being recorded ends so too). A header line cut short is read.
TEST(HistoryParser, AHalfLastLineIsNoData) {
  const std::string whole = Header() + Line(1, 0, 0, 0, 0, {"1", "2"});
  const std::string halves[] = {"01/12/2026, 00:00:01.000, 41.27, 4", "01/12/2026, 00:00:01.000, 41.2",
                                "01/12/2026, 00:00:01.000, ", "01/12/2026, 00:0", "01/12/20",
                                "##_New_St", "01/12/2026, 00:00:01.000, 3, 4\r",
                                "01/12/2026, 00:00:01.000, 3" + std::string(300000, ' ')};
  for (const std::string& half : halves) {
    const HistoryData data = ParseOk(whole + half);
    ASSERT_EQ(data.DataRowCount(), 1u) << half.substr(0, 40);
    EXPECT_EQ(data.ValueText(0, 1, '.'), "2");
    EXPECT_EQ(data.SkippedLineCount(), 0u) << half.substr(0, 40);
    EXPECT_EQ(data.Runs().size(), 1u) << half.substr(0, 40);
    EXPECT_EQ(data.TableRowCount(), 4u) << half.substr(0, 40);
  }
  // After a new start, the new run stays, without the half line.
  const HistoryData run = ParseOk(whole + kNewStart + Line(2, 0, 0, 0, 0, {"5", "6"}) + "02/12/2026, 00:00:01.000, 7");
  EXPECT_EQ(run.Runs().size(), 2u);
  EXPECT_EQ(run.DataRowCount(), 2u);
  // The unit line cut short: the table has its header and no data yet.
  const HistoryData header = ParseOk(" , , Sonda A, \n , , Canal 1, Canal 2\n , , \xB0" "C, %");
  EXPECT_EQ(header.ColumnCount(), 4u);
  EXPECT_EQ(header.HeaderCell(2, 3), "%");
  EXPECT_EQ(header.DataRowCount(), 0u);
}

// A file that is no history file leaves nothing half read, only what is wrong and where.
TEST(HistoryParser, FilesThatCannotBeShownSayWhy) {
  using P = history::LineProblem;
  const std::string impossible = "31/02/2026, 08:00:00.000, 1, 2\n", unpadded = "1/3/2026, 08:00:00.000, 1, 2\n";
  const struct { std::string text; ReadStatus status; P problem; size_t line; } cases[] = {
      {"", ReadStatus::NothingRead, P::None, 0},
      {" , , Sonda A\n", ReadStatus::NoValueColumns, P::NoValueColumns, 1},
      {" , \n\n , \n , \n01/12/2026, 00:00:00.000\n", ReadStatus::NoValueColumns, P::NoValueColumns, 3},
      {"\n\n \n", ReadStatus::NoValueColumns, P::NoValueColumns, 3},
      {Header() + impossible + impossible, ReadStatus::NoDataLines, P::ImpossibleDate, 4},
      {Header() + "\n" + unpadded + kNewStart + unpadded, ReadStatus::NoDataLines, P::DateShape, 5},
      {Header() + "01/12/2026, 00:00:00.000, 1, 2, 3\n", ReadStatus::NoDataLines, P::TooManyFields, 4},
  };
  for (const auto& c : cases) {
    HistoryData data = ParseOk(Header() + Line(1, 0, 0, 0, 0, {"1", "2"}));
    EXPECT_EQ(HistoryParser::Parse(c.text, data), c.status) << c.text;
    EXPECT_EQ(data.ValueColumnCount() + data.DataRowCount() + data.Runs().size(), 0u) << c.text;
    EXPECT_EQ(data.FirstDamage().problem, c.problem) << c.text;
    EXPECT_EQ(data.FirstDamage().line, c.line) << c.text;
  }
  // Random bytes: whatever their lines look like, never a file with data.
  std::mt19937 random(11);
  for (int i = 0; i < 200; ++i) {
    std::string bytes(static_cast<size_t>(random() % 4000), '\0');
    for (char& b : bytes) b = static_cast<char>(random() % 7 == 0 ? '\n' : random() % 5 == 0 ? ',' : random());
    HistoryData data;
    const ReadStatus status = HistoryParser::Parse(bytes, data);
    EXPECT_EQ(data.DataRowCount(), 0u);
    if (bytes.size() > 1000) {
      EXPECT_NE(status, ReadStatus::Ok);  // more than a header's worth of lines
    }
  }
  // A file of nothing but its header (a recording that has just begun) shows, empty.
  const HistoryData headerOnly = ParseOk(Header() + kNewStart);
  EXPECT_EQ(headerOnly.ValueColumnCount(), 2u);
  EXPECT_EQ(headerOnly.TableRowCount(), 4u);
}

TEST(HistoryParser, AppendedRunsFollowAnEmptyTableRow) {
  const HistoryData data = ParseOk(Header() + Line(1, 8, 0, 0, 0, {"1", "2"}) + Line(1, 8, 0, 1, 0, {"3", "4"}) +
                                   kNewStart + Line(2, 9, 0, 0, 0, {"5", "6"}) + kNewStart + kNewStart +
                                   Line(3, 9, 0, 0, 0, {"7", "8"}));
  ASSERT_EQ(data.Runs().size(), 4u);
  EXPECT_EQ(data.Runs()[2].rowCount, 0u);  // two markers in a row: an empty run
  EXPECT_EQ(data.SkippedLineCount(), 0u);
  // 3 header rows, 4 data rows, one empty row before each of the 3 later runs.
  ASSERT_EQ(data.TableRowCount(), 10u);
  using K = TableRowRef::Kind;
  const TableRowRef expected[] = {{K::Header, 0}, {K::Header, 1}, {K::Header, 2},   {K::Data, 0},     {K::Data, 1},
                                  {K::RunBreak, 1}, {K::Data, 2}, {K::RunBreak, 2}, {K::RunBreak, 3}, {K::Data, 3}};
  for (size_t row = 0; row < 10; ++row) {
    const TableRowRef ref = data.LocateTableRow(row);
    EXPECT_EQ(ref.kind, expected[row].kind) << row;
    EXPECT_EQ(ref.index, expected[row].index) << row;
    EXPECT_TRUE(ref.kind != K::Data || data.TableRowOfDataRow(ref.index) == row) << row;
  }
  EXPECT_EQ(data.ValueText(3, 1, '.'), "8");
  // Placeholder lines that a cut-short recording never wrote don't swallow data lines.
  const HistoryData cut = ParseOk(Header() + Line(1, 8, 0, 0, 0, {"1", "2"}) + "##_New_Start_##\n , \n" +
                                  Line(1, 9, 0, 0, 0, {"5", "6"}));
  EXPECT_EQ(cut.Runs().size(), 2u);
  EXPECT_EQ(cut.DataRowCount(), 2u);
}

// Earlier writers appended a new start right after a line cut short by a stop: the marker
// ends that line. The piece before it is no row and no damage, and the marker starts a new
// run with its placeholders, also where the cut fell in a placeholder or right after a comma.
TEST(HistoryParser, AMarkerGluedToACutLineStartsANewRun) {
  const std::string cuts[] = {"05/12/2026, 14:34:52.123, 20.", "05/12/2026, 14:34:52.123, 20.5, ", "05/12/2026, 14:3",
                              " ,", "0"};
  for (const std::string& cut : cuts) {
    SCOPED_TRACE(cut);
    const HistoryData data = ParseOk(Header() + Line(5, 14, 34, 51, 0, {"1", "2"}) + cut + kNewStart +
                                     Line(5, 15, 0, 0, 0, {"3", "4"}) + Line(5, 15, 0, 1, 0, {"5", "6"}));
    ASSERT_EQ(data.Runs().size(), 2u);
    EXPECT_EQ(data.Runs()[0].rowCount, 1u);
    EXPECT_EQ(data.Runs()[1].rowCount, 2u);
    EXPECT_EQ(data.SkippedLineCount(), 0u);
    ASSERT_EQ(data.DataRowCount(), 3u);
    EXPECT_EQ(data.ValueText(0, 1, '.'), "2");
    EXPECT_EQ(data.ValueText(1, 0, '.'), "3");
  }
  // A run that was cut in its placeholders, and blanks after the marker.
  const HistoryData data = ParseOk(Header() + kNewStart.substr(0, kNewStart.size() - 2) + "##_New_Start_## \r\n , \n , \n , \n" +
                                   Line(5, 15, 0, 0, 0, {"3", "4"}));
  ASSERT_EQ(data.Runs().size(), 3u);
  EXPECT_EQ(data.Runs()[2].rowCount, 1u);
  EXPECT_EQ(data.SkippedLineCount(), 0u);
}

TEST(HistoryFile, ReadsFromDiskAndReportsWhatCannotBeOpened) {
  const auto folder = std::filesystem::temp_directory_path() / ("histview_file_test_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  // Ending in the half line of a stopped recording.
  std::ofstream(folder / "a.mpc", std::ios::binary) << Header() << Line(1, 0, 0, 0, 0, {"1", "2"})
                                                    << Line(1, 0, 0, 1, 0, {"3", "4"}) << "01/12/2026, 00:00:02.000, 5";
  std::ofstream(folder / "empty.mpc").close();
  HistoryData data;
  EXPECT_EQ(history::ReadHistoryFile((folder / "a.mpc").string(), data), ReadStatus::Ok);
  EXPECT_EQ(data.DataRowCount(), 2u);
  std::string reason;
  EXPECT_EQ(history::ReadHistoryFile((folder / "missing.mpc").string(), data, &reason), ReadStatus::CannotOpen);
  EXPECT_EQ(reason, std::strerror(ENOENT));
  EXPECT_EQ(data.ValueColumnCount(), 0u);
  EXPECT_EQ(history::ReadHistoryFile(folder.string(), data, &reason), ReadStatus::CannotOpen);
  EXPECT_EQ(reason, "it is a folder");
  EXPECT_EQ(history::ReadHistoryFile((folder / "a.mpc").string(), data, &reason), ReadStatus::Ok);
  EXPECT_EQ(reason, "");
  EXPECT_EQ(history::ReadHistoryFile((folder / "empty.mpc").string(), data), ReadStatus::NothingRead);
  std::filesystem::remove_all(folder);
}

// What the reader holds grows with what the lines held: a value-name line of thousands of
// commas costs its columns once, not once for every line that follows (blank lines, short
// lines, lines of only a date and a time), and no count of lines is guessed ahead.
TEST(HistoryParser, MemoryFollowsTheLinesRead) {
  const std::string wideHeader = " , , Sonda A\n , " + std::string(20000, ',') + "\n , \n";
  std::string shortLines;
  for (int i = 0; i < 2000; ++i) shortLines += Line(1, 0, 0, i % 60, 0, {"1"});
  const std::string cases[] = {
      wideHeader + Line(1, 0, 0, 0, 0, {"1"}) + std::string(200000, '\n'),
      wideHeader + shortLines,
      wideHeader + std::string(100000, ' ') + "\n" + shortLines,
      Header() + Line(1, 0, 0, 0, 0, {"1", "2"}) + std::string(400000, '\n') + Line(1, 0, 0, 1, 0, {"1", "2"}),
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    HistoryData data;
    allocation_meter::Restart();
    ASSERT_EQ(HistoryParser::Parse(cases[i], data), ReadStatus::Ok) << i;
    EXPECT_LT(allocation_meter::PeakSinceRestart(), 8 * cases[i].size()) << i;
    EXPECT_EQ(data.Value(data.DataRowCount() - 1, 0), 1) << i;
  }
}
