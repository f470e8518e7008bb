#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {
namespace {

bool Fail(std::string* error, std::string reason, FileFailure* failure = nullptr,
          FileFailure kind = FileFailure::kNone) {
  if (error != nullptr) *error = std::move(reason);
  if (failure != nullptr) *failure = kind;
  return false;
}

// The system's reason for a failed stat or open, and whether it means nothing is there.
bool FailSystem(std::string* error, FileFailure* failure, int code) {
  return Fail(error, std::strerror(code), failure,
              code == ENOENT || code == ENOTDIR ? FileFailure::kMissing : FileFailure::kCannotOpen);
}

}  // namespace

std::string FileKindText(mode_t mode) {
  if (S_ISFIFO(mode)) return "a named pipe";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISSOCK(mode)) return "a socket";
  if (S_ISDIR(mode)) return "a folder";
  return "not a regular file";
}

int OpenRegularFile(const std::string& path, int flags, std::string* error, FileFailure* failure) {
  if (failure != nullptr) *failure = FileFailure::kNone;
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) {
    // Only a file that is not there yet may be created; anything else in the way is told.
    if (errno != ENOENT || (flags & O_CREAT) == 0) return FailSystem(error, failure, errno), -1;
  } else if (!S_ISREG(st.st_mode)) {
    return Fail(error, "it is " + FileKindText(st.st_mode), failure, FileFailure::kNotRegular), -1;
  }
  int fd;
  do {
    fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return FailSystem(error, failure, errno), -1;
  // Something else may have taken the file's place between the look and the open.
  const bool looked = ::fstat(fd, &st) == 0;
  if (!looked || !S_ISREG(st.st_mode)) {
    const std::string reason = !looked ? std::strerror(errno) : "it is " + FileKindText(st.st_mode);
    ::close(fd);
    return Fail(error, reason, failure, looked ? FileFailure::kNotRegular : FileFailure::kCannotOpen), -1;
  }
  // Not waiting was for the open alone: a file system that honours the flag on a regular file
  // could make a read or an append end with EAGAIN, which its callers take for a failure.
  const int status = ::fcntl(fd, F_GETFL);
  if (status < 0 || ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) {
    const std::string reason = std::strerror(errno);
    ::close(fd);
    return Fail(error, reason, failure, FileFailure::kCannotOpen), -1;
  }
  return fd;
}

int OpenRegularFileForReading(const std::string& path, std::string* error, FileFailure* failure) {
  return OpenRegularFile(path, O_RDONLY, error, failure);
}

bool ReadRegularFile(const std::string& path, std::string& text, std::string* error, FileFailure* failure) {
  text.clear();
  const int fd = OpenRegularFileForReading(path, error, failure);
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
      return Fail(error, reason, failure, FileFailure::kCannotRead);
    }
    if (n == 0) break;
    text.append(block, static_cast<size_t>(n));
  }
  ::close(fd);
  return true;
}

std::FILE* OpenRegularFileStream(const std::string& path, std::string* error, FileFailure* failure) {
  const int fd = OpenRegularFileForReading(path, error, failure);
  if (fd < 0) return nullptr;
  std::FILE* stream = ::fdopen(fd, "rb");
  if (stream == nullptr) {
    Fail(error, std::strerror(errno), failure, FileFailure::kCannotOpen);
    ::close(fd);
  }
  return stream;
}

}  // namespace platform
