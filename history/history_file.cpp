#include "history/history_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>

namespace history {

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

ReadStatus CannotOpen(int error, std::string* openError) {
  if (openError != nullptr) *openError = std::strerror(error != 0 ? error : EIO);
  return ReadStatus::CannotOpen;
}

}  // namespace

ReadStatus ReadHistoryFile(const std::string& path, HistoryData& data, std::string* openError) {
  data = HistoryData{};
  if (openError != nullptr) openError->clear();
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return CannotOpen(EISDIR, openError);
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return CannotOpen(errno, openError);

  size_t capacity = 1 << 16;
  const auto size = std::filesystem::file_size(path, error);
  if (!error && size > 0) capacity = static_cast<size_t>(size) + 1;
  try {
    // Not zero-filled: a history file may be hundreds of megabytes.
    std::unique_ptr<char[]> buffer(new char[capacity]);
    size_t length = 0;
    for (;;) {
      length += std::fread(buffer.get() + length, 1, capacity - length, file.get());
      if (length < capacity) break;
      // The file grew since its size was taken (a recording is appending to it).
      std::unique_ptr<char[]> larger(new char[capacity * 2]);
      std::copy(buffer.get(), buffer.get() + length, larger.get());
      buffer = std::move(larger);
      capacity *= 2;
    }
    if (std::ferror(file.get())) return CannotOpen(errno, openError);
    file.reset();
    return HistoryParser::Parse(std::string_view(buffer.get(), length), data);
  } catch (const std::bad_alloc&) {
    data = HistoryData{};
    return ReadStatus::OutOfMemory;
  }
}

}  // namespace history
