#pragma once
// A table shaped as the history viewer hands one to the exporters: date and time columns and
// six value columns of two instruments, all texts; the captions are the device names (blank
// above the date, the time and every value but an instrument's first), the first record the
// value names, the second the units ("°C", "%UR"), then one record per reading.
#include <string>

#include "export/custom_source.h"

namespace exporttable {

class HistoryShapedTable {
 public:
  // readings data records after the two header records.
  explicit HistoryShapedTable(int readings);
  vantrix::TVantrixCustomSource& Source() { return source_; }
  int Records() const { return readings_ + 2; }
  // The text of a cell (records from 1), code page 1252.
  std::string Cell(int record, int column) const;

 private:
  int readings_;
  vantrix::TVantrixCustomSource source_;
};

}  // namespace exporttable
