#pragma once
// The cell records of a sheet (shared-string labels, numbers, Booleans, blanks and the
// aggregate formulas) and what each written cell tells the sheet: the cells it uses, the
// widths its columns need and the heights its rows need. A cell outside the sheet (row 65,536
// or column 256 on) is refused, never wrapped onto another cell.
#include <array>
#include <cstdint>
#include <string_view>
#include <unordered_map>

#include "export/xls/xls_format.h"

namespace vantrix {

class TxlsExportRun;

// A date-time as the spreadsheet's day number: the same number from 1900-03-01 on, one less
// before (the spreadsheet counts a 29 February 1900 that never was). False for 1899-12-31 and
// earlier, which the spreadsheet has no day for.
bool DateTimeToSerial(double dateTime, double& serial);

class TxlsCellWriter {
 public:
  explicit TxlsCellWriter(TxlsExportRun& run) : run_(run) {}

  // Rows and columns from 0.
  void WriteLabelSST(int row, int col, uint16_t xf, std::u16string_view text);
  void WriteNumber(int row, int col, uint16_t xf, double value);
  void WriteBoolErr(int row, int col, uint16_t xf, bool value);
  void WriteBlank(int row, int col, uint16_t xf);
  // The column's rows firstRow..lastRow summed (averaged, least, greatest) by a formula the
  // spreadsheet program calculates when it opens the file.
  void WriteAggregate(int row, int col, int firstRow, int lastRow, TxlsAggregate aggregate, uint16_t xf);

  // Whether the cells written from now on belong to the sheet's used range (the table and its
  // hyperlinks) or only to its extent (extra cells).
  void SetWidensUsedRange(bool widens) { widensUsed_ = widens; }
  // Widens the column's width to the text drawn in the XF's font.
  void RecalculateColWidth(std::string_view cp1252Text, uint16_t xf, int colIndex);
  // Raises the row's height to what the XF's font needs.
  void CheckRowHeight(uint16_t xf, int row);

 private:
  void Place(int row, int col);
  // A cell record's body of n bytes for the placed cell, opening with its row, column and XF
  // (the rest zero).
  template <size_t N>
  std::array<uint8_t, N> CellBody(int row, int col, uint16_t xf);

  TxlsExportRun& run_;
  bool widensUsed_ = true;
  std::unordered_map<const TxlsFont*, int> heights_;
};

// The formula tokens of an aggregate: an area reference of the column's rows (relative row
// and column) and the function with one argument.
std::array<uint8_t, 13> AggregateTokens(int col, int firstRow, int lastRow, TxlsAggregate aggregate);

}  // namespace vantrix
