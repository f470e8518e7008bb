#pragma once
// Reads a whole history file from disk into a HistoryData.
#include <string>

#include "history/history_data.h"
#include "history/history_parser.h"

namespace history {

// The file is read whole at once (it may still be growing while a recording runs: what is
// there when it is read is taken), then parsed. path is in the file system's encoding. Only a
// regular file is read, and without waiting. When the file can't be opened or read
// (CannotOpen), openError, if given, gets the reason: the system's ("No such file or
// directory"), or what stands there instead ("it is a named pipe", "it is a device").
ReadStatus ReadHistoryFile(const std::string& path, HistoryData& data, std::string* openError = nullptr);

}  // namespace history
