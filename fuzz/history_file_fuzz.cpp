// The history file: the input is the file's text. A read that succeeds takes only lines that
// end in a line feed for data, gives each data row no more values than there are columns (and all rows together no more than the input has
// commas), runs that cover the rows in order, a table whose rows map back to the data, texts
// for every cell and short titles for every series; a read that fails says what was wrong and
// on which line; and it never runs out of memory on an input this small.
#include <algorithm>
#include <cmath>

#include "fuzz/fuzz_target.h"
#include "history/history_parser.h"
#include "history/series_titles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  history::HistoryData history;
  const history::ReadStatus status =
      history::HistoryParser::Parse(std::string_view(reinterpret_cast<const char*>(data), size), history);
  FUZZ_CHECK(status != history::ReadStatus::OutOfMemory);
  if (status != history::ReadStatus::Ok) {
    FUZZ_CHECK(history.DataRowCount() == 0 && history.ValueColumnCount() == 0);
    const history::LineDamage& damage = history.FirstDamage();
    if (status == history::ReadStatus::NoValueColumns) FUZZ_CHECK(damage.problem == history::LineProblem::NoValueColumns);
    if (status == history::ReadStatus::NoDataLines) FUZZ_CHECK(damage.problem != history::LineProblem::None && damage.line > 3);
    FUZZ_CHECK(damage.line <= size);
    return 0;
  }
  const size_t rows = history.DataRowCount();
  FUZZ_CHECK(history.ColumnCount() == history.ValueColumnCount() + history::HistoryData::kFirstValueColumn);
  size_t values = 0;
  for (size_t r = 0; r < rows; ++r) {
    FUZZ_CHECK(history.RowValueCount(r) <= history.ValueColumnCount());
    values += history.RowValueCount(r);
  }
  FUZZ_CHECK(values <= size);
  // Only whole lines are data: every data row, and every header line before them, ended in
  // its line feed.
  const auto* bytes = reinterpret_cast<const char*>(data);
  const auto lineFeeds = static_cast<size_t>(std::count(bytes, bytes + size, '\n'));
  FUZZ_CHECK(rows == 0 || rows + history::HistoryData::kHeaderRows <= lineFeeds);

  const std::vector<history::HistoryRun>& runs = history.Runs();
  FUZZ_CHECK(!runs.empty() && runs.front().firstRow == 0);
  size_t covered = 0;
  for (const history::HistoryRun& run : runs) {
    FUZZ_CHECK(run.firstRow == covered);
    covered += run.rowCount;
  }
  FUZZ_CHECK(covered == rows);
  FUZZ_CHECK(history.TableRowCount() == history::HistoryData::kHeaderRows + rows + runs.size() - 1);

  constexpr size_t kCellsChecked = 100000;
  size_t cellsChecked = 0;
  for (size_t r = 0; r < rows; ++r) {
    const size_t tableRow = history.TableRowOfDataRow(r);
    const history::TableRowRef ref = history.LocateTableRow(tableRow);
    FUZZ_CHECK(ref.kind == history::TableRowRef::Kind::Data && ref.index == r);
    FUZZ_CHECK(runs[history.RunOfRow(r)].firstRow <= r);
    FUZZ_CHECK(!std::isnan(history.Times()[r]));
    // The table asks only for the cells in view: the target checks as many, not rows x columns.
    for (size_t c = 0; c < history.ValueColumnCount() && cellsChecked < kCellsChecked; ++c, ++cellsChecked) {
      const std::string text = history.ValueText(r, c, ',');
      FUZZ_CHECK(text.empty() == std::isnan(history.Value(r, c)));
    }
  }
  for (size_t r = 1; r < runs.size(); ++r) {
    const history::TableRowRef ref = history.LocateTableRow(history::HistoryData::kHeaderRows + runs[r].firstRow + r - 1);
    FUZZ_CHECK(ref.kind == history::TableRowRef::Kind::RunBreak && ref.index == r);
  }
  for (int row = 0; row < history::HistoryData::kHeaderRows; ++row)
    for (size_t c = 0; c < history.ColumnCount(); ++c) history.HeaderCell(row, c);

  // What the viewer names its chart and series by: a title costs its few bytes whatever
  // the header's names hold.
  constexpr size_t kLongestSeriesTitle = 2 * history::kLongestTitleName + 3;
  FUZZ_CHECK(history::ChartTitle(history).size() <= (history::kLongestTitleName + 2) * history.ColumnCount());
  const std::vector<std::string> seriesTitles = history::SeriesTitles(history);
  FUZZ_CHECK(seriesTitles.size() == history.ValueColumnCount());
  for (const std::string& title : seriesTitles) FUZZ_CHECK(title.size() <= kLongestSeriesTitle);
  return 0;
}

std::vector<fuzz::CraftedInput> fuzz::CraftedInputs() {
  // 100,000 commas in the value-name line, one data line, then blank lines (1.65 GB once);
  // two devices and 50,000 value columns (a title per column once counted all the columns);
  // 100,000 recording runs of two lines;
  // a device name of 30,000 bytes over 30,000 columns (repeated in every column's title once:
  // 884 MB from 60 KB).
  const std::string header = " , , Sonda A, \n , , Canal 1, Canal 2\n , , C, %\n";
  std::string runs = header;
  for (int r = 0; r < 100000; ++r) {
    if (r > 0) runs += "##_New_Start_##\n , \n , \n , \n";
    runs += "05/12/2026, 08:00:00.000, 1.5, 2\n05/12/2026, 08:00:01.000, 1.5, 2\n";
  }
  return {
      {"100,000 columns and blank lines",
       " , \n , " + std::string(100000, ',') + "\n , \n01/01/2026, 00:00:00.000, 1\n" + std::string(300000, '\n')},
      {"two devices, 50,000 columns", " , , Sonda A, Forno\n , " + std::string(50000, ',') + "\n , \n01/01/2026, 00:00:00.000, 1, 2\n"},
      {"100,000 runs", runs},
      {"a device name of 30,000 bytes over 30,000 columns",
       " , , B, " + std::string(30000, 'A') + "\n , " + std::string(30000, ',') + "\n , \n01/01/2026, 00:00:00.000, 1\n"},
  };
}
