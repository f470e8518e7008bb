#include "platform/spill_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/write_all.h"

namespace platform {

bool SpillFile::Fail(const char* what) {
  error_ = std::string(what) + ": " + std::strerror(errno);
  return false;
}

int OpenUnnamedFile(const std::string& folder) {
  const std::string where = folder.empty() ? std::string(".") : folder;
#ifdef O_TMPFILE
  const int fd = ::open(where.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd >= 0) return fd;
  // Not every file system makes unnamed files: a named one, removed at once, serves as well.
  if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return -1;
#endif
  std::string name = where + "/.tervana-spill-XXXXXX";
  std::vector<char> pattern(name.begin(), name.end());
  pattern.push_back('\0');
  const int named = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (named >= 0) ::unlink(pattern.data());
  return named;
}

bool SpillFile::Open(const std::string& folder) {
  Close();
  error_.clear();
  fd_ = OpenUnnamedFile(folder);
  return fd_ >= 0 || Fail("cannot create a temporary file beside it");
}

bool SpillFile::Write(const char* data, size_t size) {
  if (fd_ < 0) return false;
  const size_t done = WriteAll(fd_, data, size);
  size_ += done;
  return done == size || Fail("cannot write a temporary file beside it");
}

long long SpillFile::ReadAt(size_t offset, char* data, size_t size) {
  if (fd_ < 0) return -1;
  for (;;) {
    const ssize_t n = ::pread(fd_, data, size, static_cast<off_t>(offset));
    if (n >= 0) return n;
    if (errno != EINTR) {
      Fail("cannot read a temporary file beside it");
      return -1;
    }
  }
}

void SpillFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  size_ = 0;
}

}  // namespace platform
