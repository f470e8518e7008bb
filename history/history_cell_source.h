#pragma once
// The viewer's table as an export reads it: every cell as the viewer shows it, in code page
// 1252, with the time column's milliseconds kept (after the separator the user chose), left
// out, or moved into a column of their own right after the time.
//
// Texts of the locale (dates, times of day) are made once per day and once per second of
// the day and kept, so a table of a million rows costs a few thousand calls into the locale.
#include <string>
#include <string_view>
#include <unordered_map>

#include "history/cell_texts.h"
#include "history/history_data.h"

namespace history {

struct MillisecondOptions {
  bool withoutMilliseconds = false;
  bool ownColumn = false;  // ignored without milliseconds
  char separator = '.';    // '\0' counts as "."
};

// A time text without its milliseconds (the last "." and up to three digits after it;
// anything after them stays) and the milliseconds alone. A text without "." (a header cell)
// stays whole and has no milliseconds.
void SplitMilliseconds(std::string_view time, std::string& withoutMs, std::string& ms);

class HistoryCellSource {
 public:
  // The table must outlive the source.
  HistoryCellSource(const HistoryData& data, const CellTexts& texts);

  void SetOptions(const MillisecondOptions& options);
  const MillisecondOptions& Options() const { return options_; }

  size_t TableRowCount() const { return data_.TableRowCount(); }
  // Table columns, one more with the milliseconds in their own column.
  size_t ColumnCount() const;
  bool HasMillisecondColumn() const { return options_.ownColumn; }

  // The cell of a table row in an export column.
  void Text(size_t tableRow, size_t column, std::string& out);
  // The table's own cell, as the viewer shows it.
  void TableCell(size_t tableRow, size_t tableColumn, std::string& out);
  // The caption of an export column: the device name above it (table row 0).
  std::string Caption(size_t column) const;

  // Characters of a date and of a time of day (without milliseconds) in the locale's forms.
  int DateLength() const;
  int TimeLength() const;

 private:
  // The row's date and time texts, made once per row.
  const std::string& DateText();
  const std::string& TimeText();

  const HistoryData& data_;
  const CellTexts& texts_;
  MillisecondOptions options_;
  char decimalPoint_ = '.';
  // The last row located, its time decoded and its texts; the last day's date text.
  size_t lastRow_ = static_cast<size_t>(-1);
  TableRowRef lastRef_;
  platform::DateParts date_;
  platform::TimeParts time_;
  bool timeMade_ = false;
  std::string rowTime_;
  long lastDay_ = -1;
  std::string dateText_;
  // Per second of the day met: the time text before and after the milliseconds.
  struct SecondText {
    std::string before, after;
  };
  std::unordered_map<int, SecondText> seconds_;
  std::string timeCell_, withoutMs_, ms_;
};

}  // namespace history
