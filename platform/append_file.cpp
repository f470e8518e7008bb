#include "platform/append_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {
namespace {

bool Fail(std::string* error) {
  if (error) *error = std::strerror(errno);
  return false;
}

int OpenRetrying(const std::string& path, int flags) {
  int fd;
  do {
    fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

}  // namespace

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

bool CreateEmptyFile(const std::string& path, std::string* error) {
  const int fd = OpenRetrying(path, O_WRONLY | O_CREAT | O_TRUNC);
  if (fd < 0) return Fail(error);
  ::close(fd);
  return true;
}

bool FileIsWritable(const std::string& path, std::string* error) {
  const int fd = OpenRetrying(path, O_WRONLY | O_APPEND);
  if (fd < 0) return Fail(error);
  ::close(fd);
  return true;
}

size_t AppendToFile(const std::string& path, std::string_view bytes, std::string* error) {
  if (bytes.empty()) return 0;
  const int fd = OpenRetrying(path, O_WRONLY | O_APPEND);
  if (fd < 0) {
    Fail(error);
    return 0;
  }
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      if (n == 0) errno = EIO;
      Fail(error);
      break;
    }
  }
  ::close(fd);
  return done;
}

}  // namespace platform
