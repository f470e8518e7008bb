#pragma once
// Reads the text of a history file (the format the recorder writes: three header lines,
// then lines of "dd/mm/yyyy, hh:mm:ss.mmm, value, ..." and, for every recording appended
// later, a "##_New_Start_##" line with three placeholder header lines after it). Earlier
// writers left a line cut short glued to the marker ("05/12/2026, 14:34:52.123, 20.##_New_Start_##"):
// the cut piece is no row, and the marker starts a new run all the same.
#include <string_view>

#include "history/history_data.h"

namespace history {

enum class ReadStatus {
  Ok,
  CannotOpen,      // the file could not be opened or read
  NothingRead,     // the file is empty
  NoValueColumns,  // the value-name line has no column beyond date and time
  NoDataLines,     // lines follow the header, and not one of them is a data line
  OutOfMemory,
};

class HistoryParser {
 public:
  // Replaces what data held. A damaged data line (impossible or misplaced date or time, more
  // fields than the value-name line, no time) is left out and counted; the rest is read.
  // Only whole lines are data: a last line without its line feed (a recording stopped while
  // writing it, or still writing it) is left out, not counted, while a header line is read
  // however it ends. When the file can't be shown, data holds nothing but what made it
  // unreadable (FirstDamage). Memory follows what the lines held, never the columns times
  // the lines.
  static ReadStatus Parse(std::string_view text, HistoryData& data);
};

}  // namespace history
