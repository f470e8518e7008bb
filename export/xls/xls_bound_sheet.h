#pragma once
// What the run keeps of each sheet it wrote (its name, where its records are, the cells it
// uses) for the globals written after the last sheet; and where each field's cells went on
// the sheet being written, for the ranges charts are drawn from.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "export/xls/col_info.h"
#include "export/xls/xls_chart.h"
#include "export/xls/xls_collection.h"
#include "export/xls/xls_utils.h"

namespace vantrix {

// A block of cells, 0-based; -1 while no cell is in it.
struct TxlsCellRange {
  int FirstRow = -1, LastRow = -1, FirstCol = -1, LastCol = -1;

  void Widen(int row, int col) {
    if (FirstRow == -1 || FirstRow > row) FirstRow = row;
    if (LastRow == -1 || LastRow < row) LastRow = row;
    if (FirstCol == -1 || FirstCol > col) FirstCol = col;
    if (LastCol == -1 || LastCol < col) LastCol = col;
  }
  bool Known() const { return FirstRow >= 0 && LastRow >= 0 && FirstCol >= 0 && LastCol >= 0; }
};

// One written sheet.
class TxlsBoundSheet {
 public:
  // The position of the sheet the records were written for in the exporter's sheets (a sheet
  // continued on further sheets has one bound sheet for each).
  int SheetIndex = 0;
  WideString Name;
  uint64_t BOFPosition = 0;
  uint64_t DimensionsPosition = 0;
  // The cells of the exported table and its hyperlinks (charts are placed by it).
  TxlsCellRange Used;
  // Every cell written, extra cells too: the DIMENSIONS record's range.
  TxlsCellRange Extent;
  // Where its BOUNDSHEET record went in the globals' second half.
  uint64_t BoundSheetPosition = 0;

  TxlsUsedRange UsedRange() const { return {Used.FirstRow, Used.LastRow, Used.FirstCol, Used.LastCol}; }
};

class TxlsBoundSheetList : public TxlsList<TxlsBoundSheet> {
 public:
  TxlsBoundSheet* Get(size_t index) const { return GetItems(index); }
  // The first bound sheet written for that sheet; -1 when none.
  int IndexOfSheetIndex(int sheetIndex) const;
  // Widens the used range of the first bound sheet of that sheet.
  void CheckCell(int sheetIndex, int row, int col);
};

// Where a field's cells went.
class TxlsColumn {
 public:
  explicit TxlsColumn(std::string name) : Name(std::move(name)) {}
  std::string Name;
  TxlsCellRange Range;
};

class TxlsColumnList : public TxlsList<TxlsColumn> {
 public:
  TxlsColumn* Get(size_t index) const { return GetItems(index); }
  // The field of that name (case ignored); -1 when none.
  int IndexOf(std::string_view name) const;
  // The field's entry, made on first use.
  TxlsColumn& Entry(std::string_view name);
  void CheckCell(std::string_view name, int row, int col) { Entry(name).Range.Widen(row, col); }
  // A known field's cells as a chart range, 1-based (cut to what the range holds); an
  // unknown name leaves the range as it is.
  void AssignColumnToDataRange(std::string_view name, TxlsDataRange& range) const;
  void ClearColumns();

 private:
  std::unordered_map<std::string, size_t> index_;
};

}  // namespace vantrix
