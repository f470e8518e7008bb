// The history file: the input is the file's text. A read that succeeds gives every value
// column one value per data row, runs that cover the rows in order, a table whose rows map
// back to the data, and texts for every cell and series; and it never runs out of memory on
// an input this small.
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
    return 0;
  }
  const size_t rows = history.DataRowCount();
  FUZZ_CHECK(history.ColumnCount() == history.ValueColumnCount() + history::HistoryData::kFirstValueColumn);
  for (size_t c = 0; c < history.ValueColumnCount(); ++c) FUZZ_CHECK(history.Values(c).size() == rows);

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

  // What the viewer names its chart and series by.
  size_t titles = history::ChartTitle(history).size();
  for (size_t c = 0; c < history.ValueColumnCount(); ++c) titles += history::SeriesTitle(history, c).size();
  FUZZ_CHECK(titles < (size_t{1} << 32));
  return 0;
}

std::vector<fuzz::CraftedInput> fuzz::CraftedInputs() {
  return {};
}
