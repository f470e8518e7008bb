#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {
namespace {

bool Fail(std::string* error, std::string reason) {
  if (error != nullptr) *error = std::move(reason);
  return false;
}

}  // namespace

std::string FileKindText(mode_t mode) {
  if (S_ISFIFO(mode)) return "a named pipe";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISSOCK(mode)) return "a socket";
  if (S_ISDIR(mode)) return "a folder";
  return "not a regular file";
}

int OpenRegularFileForReading(const std::string& path, std::string* error) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return Fail(error, std::strerror(errno)), -1;
  if (!S_ISREG(st.st_mode)) return Fail(error, "it is " + FileKindText(st.st_mode)), -1;
  int fd;
  do {
    fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return Fail(error, std::strerror(errno)), -1;
  // Something else may have taken the file's place between the look and the open.
  const bool looked = ::fstat(fd, &st) == 0;
  if (!looked || !S_ISREG(st.st_mode)) {
    const std::string reason = !looked ? std::strerror(errno) : "it is " + FileKindText(st.st_mode);
    ::close(fd);
    return Fail(error, reason), -1;
  }
  return fd;
}

bool ReadRegularFile(const std::string& path, std::string& text, std::string* error) {
  text.clear();
  const int fd = OpenRegularFileForReading(path, error);
  if (fd < 0) return false;
  struct stat st;
  if (::fstat(fd, &st) == 0 && st.st_size > 0) text.reserve(static_cast<size_t>(st.st_size));
  char block[65536];
  for (;;) {
    const ssize_t n = ::read(fd, block, sizeof block);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const std::string reason = std::strerror(errno);
      ::close(fd);
      text.clear();
      return Fail(error, reason);
    }
    if (n == 0) break;
    text.append(block, static_cast<size_t>(n));
  }
  ::close(fd);
  return true;
}

}  // namespace platform
