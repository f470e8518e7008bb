#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/write_all.h"

namespace platform {
namespace {

std::atomic<unsigned> g_tempCounter{0};

// Where the text goes: a symbolic link is followed, so the link itself stays.
std::string WriteTarget(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    if (char* resolved = realpath(path.c_str(), nullptr)) {
      std::string target(resolved);
      free(resolved);
      return target;
    }
  }
  return path;
}

}  // namespace

bool AtomicFile::Fail(const char* what) {
  error_ = std::string(what) + ": " + std::strerror(errno);
  Discard();
  return false;
}

bool AtomicFile::Open(const std::string& target) {
  Discard();
  error_.clear();
  target_ = WriteTarget(target);
  struct stat old;
  existed_ = stat(target_.c_str(), &old) == 0;
  mode_ = existed_ ? (old.st_mode & 07777) : 0;
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    temp_ = target_ + ".tmp" + std::to_string(getpid()) + "_" + std::to_string(g_tempCounter++);
    fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EEXIST) {
      temp_.clear();
      return Fail("cannot create a file beside it");
    }
  }
  if (fd_ < 0) {
    temp_.clear();
    return Fail("cannot create a file beside it");
  }
  return true;
}

bool AtomicFile::Write(const char* data, size_t size) {
  if (fd_ < 0) return false;
  return WriteAll(fd_, data, size) == size || Fail("write failed");
}

bool AtomicFile::WriteAt(size_t offset, const char* data, size_t size) {
  if (fd_ < 0) return false;
  return WriteAll(fd_, data, size, static_cast<off_t>(offset)) == size || Fail("write failed");
}

bool AtomicFile::Commit() {
  if (fd_ < 0) return false;
  if (existed_ && fchmod(fd_, mode_) != 0) return Fail("cannot keep the file's permissions");
  // On the disk before the rename makes it the file: otherwise a power loss soon after can
  // leave an empty file in place of both the old and the new text, and a write error that
  // only the flush reports would replace the good file with a broken one.
  if (::fsync(fd_) != 0) return Fail("cannot flush the file to the disk");
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) {
    fd_ = -1;
    error_ = std::string("cannot close the file: ") + std::strerror(errno);
    ::unlink(temp_.c_str());
    temp_.clear();
    return false;
  }
  if (::rename(temp_.c_str(), target_.c_str()) != 0) {
    error_ = std::string("cannot replace the file: ") + std::strerror(errno);
    ::unlink(temp_.c_str());
    temp_.clear();
    return false;
  }
  temp_.clear();
  return true;
}

void AtomicFile::Discard() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!temp_.empty()) {
    ::unlink(temp_.c_str());
    temp_.clear();
  }
}

}  // namespace platform
