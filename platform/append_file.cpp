#include "platform/append_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/regular_file.h"
#include "platform/write_all.h"

namespace platform {
namespace {

bool Fail(std::string* error) {
  if (error) *error = std::strerror(errno);
  return false;
}

}  // namespace

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

bool CreateEmptyFile(const std::string& path, std::string* error) {
  const int fd = OpenRegularFile(path, O_WRONLY | O_CREAT | O_TRUNC, error);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

bool EndAtLineEnd(const std::string& path, std::string* error) {
  const int fd = OpenRegularFile(path, O_RDWR, error);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    Fail(error);
    ::close(fd);
    return false;
  }
  // Back from the end, a block at a time, to the last line feed.
  char block[4096];
  off_t end = st.st_size;
  bool ok = true;
  bool found = end == 0;
  while (!found && end > 0) {
    const off_t start = end > static_cast<off_t>(sizeof block) ? end - static_cast<off_t>(sizeof block) : 0;
    const ssize_t n = ::pread(fd, block, static_cast<size_t>(end - start), start);
    if (n < 0 && errno == EINTR) continue;
    if (n != end - start) {
      if (n >= 0) errno = EIO;
      ok = Fail(error);
      break;
    }
    for (ssize_t i = n; i > 0; --i) {
      if (block[i - 1] != '\n') continue;
      found = true;
      const off_t lineEnd = start + i;
      if (lineEnd < st.st_size && ::ftruncate(fd, lineEnd) != 0) ok = Fail(error);
      break;
    }
    end = start;
  }
  ::close(fd);
  if (ok && !found) ok = AppendToFile(path, "\n", error) == 1;
  return ok;
}

bool ReadFromStart(const std::string& path, const std::function<bool(std::string_view)>& take,
                   std::string* error) {
  const int fd = OpenRegularFileForReading(path, error);
  if (fd < 0) return false;
  char block[4096];
  bool ok = true;
  for (;;) {
    const ssize_t n = ::read(fd, block, sizeof block);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ok = Fail(error);
      break;
    }
    if (n == 0 || !take(std::string_view(block, static_cast<size_t>(n)))) break;
  }
  ::close(fd);
  return ok;
}

size_t AppendToFile(const std::string& path, std::string_view bytes, std::string* error) {
  if (bytes.empty()) return 0;
  const int fd = OpenRegularFile(path, O_WRONLY | O_APPEND, error);
  if (fd < 0) return 0;
  const size_t done = WriteAll(fd, bytes.data(), bytes.size());
  if (done < bytes.size()) Fail(error);
  ::close(fd);
  return done;
}

}  // namespace platform
