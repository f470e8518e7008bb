#pragma once
// One history file as read: the three header rows, the data rows of every recording run,
// and what the reader had to leave out. Text stays code page 1252 bytes.
//
// Each data row keeps only the values its line held (row after row in one array), as doubles
// (NaN where a field didn't convert) with the count of decimals they were written with, so a
// cell shows exactly the text of the file without a string per cell, and a short line costs
// no more than its own fields however many columns the header names.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
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

// Why a line was left out, or why a file could not be read at all.
enum class LineProblem {
  None,
  NoValueColumns,  // the value-name line names no column beyond date and time
  DateShape,       // the first field is not dd/mm/yyyy
  ImpossibleDate,  // dd/mm/yyyy of a day that does not exist
  NoTime,          // a date and nothing after it
  TimeShape,       // the second field is not hh:mm:ss.mmm
  ImpossibleTime,
  TooManyFields,   // more values than the value-name line has columns
};

// The first problem met, with the 1-based line number in the file and the field at fault
// (cut to a few dozen bytes).
struct LineDamage {
  LineProblem problem = LineProblem::None;
  size_t line = 0;
  std::string field;
};

class HistoryData {
 public:
  static constexpr int kHeaderRows = 3;
  static constexpr size_t kDateColumn = 0;
  static constexpr size_t kTimeColumn = 1;
  static constexpr size_t kFirstValueColumn = 2;

  // Date, time and value columns; the number of fields of the value-name line.
  size_t ColumnCount() const { return columnCount_; }
  size_t ValueColumnCount() const { return columnCount_ > kFirstValueColumn ? columnCount_ - kFirstValueColumn : 0; }

  // Header cell of row 0..2 and table column 0..ColumnCount()-1, trimmed.
  std::string_view HeaderCell(int row, size_t column) const;

  size_t DataRowCount() const { return times_.size(); }
  const std::vector<TDateTime>& Times() const { return times_; }
  // How many value fields the row's line held (columns past them have no value).
  size_t RowValueCount(size_t dataRow) const { return rowStart_[dataRow + 1] - rowStart_[dataRow]; }
  // NaN where the line held no value that converts.
  double Value(size_t dataRow, size_t valueColumn) const {
    const size_t at = rowStart_[dataRow] + valueColumn;
    return at < rowStart_[dataRow + 1] ? values_[at] : std::numeric_limits<double>::quiet_NaN();
  }
  // The row's values in column order, RowValueCount(dataRow) of them.
  const double* RowValues(size_t dataRow) const { return values_.data() + rowStart_[dataRow]; }
  // The value's text as the file wrote it, its decimal point shown as decimalSeparator;
  // empty where there is no value.
  std::string ValueText(size_t dataRow, size_t valueColumn, char decimalSeparator) const;
  void ValueText(size_t dataRow, size_t valueColumn, char decimalSeparator, std::string& out) const;

  // At least one run once a file was read.
  const std::vector<HistoryRun>& Runs() const { return runs_; }
  // Index of the run that holds a data row.
  size_t RunOfRow(size_t dataRow) const;

  // The table: the header rows, each run's data rows, one empty row before every later run.
  size_t TableRowCount() const;
  TableRowRef LocateTableRow(size_t tableRow) const;
  size_t TableRowOfDataRow(size_t dataRow) const { return kHeaderRows + dataRow + RunOfRow(dataRow); }

  // Data lines that were damaged and left out.
  size_t SkippedLineCount() const { return skippedLines_; }
  // The first of them; after a failed read, what made the file unreadable.
  const LineDamage& FirstDamage() const { return firstDamage_; }

 private:
  friend class HistoryParser;

  // Digits after the point for reprinting, or kRawText when the text is kept as written.
  static constexpr int8_t kRawText = -1;

  struct HeaderRow {
    std::string text;          // the trimmed fields one after another
    std::vector<size_t> ends;  // where each field ends in text
  };

  size_t columnCount_ = 0;
  HeaderRow header_[kHeaderRows];
  std::vector<TDateTime> times_;
  std::vector<size_t> rowStart_{0};  // row r's values are [rowStart_[r], rowStart_[r + 1])
  std::vector<double> values_;
  std::vector<int8_t> decimals_;
  std::unordered_map<size_t, std::string> rawTexts_;  // by index in values_
  std::vector<HistoryRun> runs_;
  size_t skippedLines_ = 0;
  LineDamage firstDamage_;
};

}  // namespace history
