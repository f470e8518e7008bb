#pragma once
// One history file as read: the three header rows, the data rows of every recording run in
// columns, and what the reader had to skip. Text stays code page 1252 bytes.
//
// Values are kept per column as doubles (NaN where a line had no usable value) together with
// the count of decimals they were written with, so a cell shows exactly the text of the file
// without keeping a string per cell.
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/datetime.h"

namespace history {

// Data rows [firstRow, firstRow + rowCount) of one recording run.
struct HistoryRun {
  size_t firstRow = 0;
  size_t rowCount = 0;
};

// What one row of the table shows: a header row (0 device names, 1 value names, 2 units),
// a data row, or the empty row that separates two recording runs.
struct TableRowRef {
  enum class Kind { Header, Data, RunBreak };
  Kind kind = Kind::Header;
  size_t index = 0;  // header row number, data row number, or the run that the break opens
};

class HistoryData {
 public:
  static constexpr int kHeaderRows = 3;
  static constexpr size_t kDateColumn = 0;
  static constexpr size_t kTimeColumn = 1;
  static constexpr size_t kFirstValueColumn = 2;

  // Date, time and value columns; the number of fields of the value-name line.
  size_t ColumnCount() const { return columnCount_; }
  size_t ValueColumnCount() const { return columns_.size(); }

  // Header cell of row 0..2 and table column 0..ColumnCount()-1, trimmed.
  const std::string& HeaderCell(int row, size_t column) const;

  size_t DataRowCount() const { return times_.size(); }
  const std::vector<TDateTime>& Times() const { return times_; }
  // NaN where the line held no value that converts.
  const std::vector<double>& Values(size_t valueColumn) const { return columns_[valueColumn].values; }
  double Value(size_t dataRow, size_t valueColumn) const { return columns_[valueColumn].values[dataRow]; }
  // The value's text as the file wrote it, its decimal point shown as decimalSeparator;
  // empty where there is no value.
  std::string ValueText(size_t dataRow, size_t valueColumn, char decimalSeparator) const;

  // At least one run once a file was read.
  const std::vector<HistoryRun>& Runs() const { return runs_; }
  // Index of the run that holds a data row.
  size_t RunOfRow(size_t dataRow) const;

  // The table: the header rows, each run's data rows, one empty row before every later run.
  size_t TableRowCount() const;
  TableRowRef LocateTableRow(size_t tableRow) const;
  size_t TableRowOfDataRow(size_t dataRow) const { return kHeaderRows + dataRow + RunOfRow(dataRow); }

  // Lines that were damaged (impossible date or time, too many fields, no time) and left out.
  size_t SkippedLineCount() const { return skippedLines_; }
  // 1-based line number in the file of the first one, 0 when none.
  size_t FirstSkippedLine() const { return firstSkippedLine_; }

 private:
  friend class HistoryParser;

  // Digits after the point for reprinting, or kRawText when the text is kept as written.
  static constexpr int8_t kRawText = -1;

  struct ValueColumn {
    std::vector<double> values;
    std::vector<int8_t> decimals;
    std::unordered_map<size_t, std::string> rawTexts;  // by data row
  };

  size_t columnCount_ = 0;
  std::vector<std::string> header_[kHeaderRows];
  std::vector<TDateTime> times_;
  std::vector<ValueColumn> columns_;
  std::vector<HistoryRun> runs_;
  size_t skippedLines_ = 0;
  size_t firstSkippedLine_ = 0;
};

}  // namespace history
