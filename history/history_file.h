#pragma once
// Reads a whole history file from disk into a HistoryData.
#include <string>

#include "history/history_data.h"
#include "history/history_parser.h"

namespace history {

// The file is read whole at once (it may still be growing while a recording runs: what is
// there when it is read is taken), then parsed. path is in the file system's encoding.
ReadStatus ReadHistoryFile(const std::string& path, HistoryData& data);

}  // namespace history
