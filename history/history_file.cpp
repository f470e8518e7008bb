#include "history/history_file.h"

#include <new>

#include "platform/regular_file.h"

namespace history {

ReadStatus ReadHistoryFile(const std::string& path, HistoryData& data, std::string* openError) {
  data = HistoryData{};
  if (openError != nullptr) openError->clear();
  try {
    // Taken whole as it is now: a recording may still be appending to it.
    std::string bytes;
    if (!platform::ReadRegularFile(path, bytes, openError)) return ReadStatus::CannotOpen;
    return HistoryParser::Parse(bytes, data);
  } catch (const std::bad_alloc&) {
    data = HistoryData{};
    return ReadStatus::OutOfMemory;
  }
}

}  // namespace history
