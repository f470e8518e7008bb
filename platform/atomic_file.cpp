#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/regular_file.h"
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

std::string ReplaceRefusal(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return {};
  if (S_ISREG(st.st_mode)) {
    // The rename asks only the folder's leave: a file its user may not write (read-only, or
    // another user's in a shared folder) would be replaced where writing it is refused.
    if (faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) return std::strerror(errno);
    // The new text is made beside the file it replaces, in the same words as when that fails.
    const std::string target = WriteTarget(path);
    const size_t slash = target.rfind('/');
    const std::string folder = slash == target.npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
    if (faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0)
      return std::string("cannot create a file beside it: ") + std::strerror(errno);
    return {};
  }
  return "it is " + FileKindText(st.st_mode) + ", and only a regular file is replaced";
}

bool AtomicFile::Fail(const char* what) {
  error_ = std::string(what) + ": " + std::strerror(errno);
  Discard();
  return false;
}

bool AtomicFile::Open(const std::string& target) {
  Discard();
  error_.clear();
  target_ = WriteTarget(target);
  error_ = ReplaceRefusal(target_);
  if (!error_.empty()) return false;
  struct stat old;
  existed_ = stat(target_.c_str(), &old) == 0;
  mode_ = existed_ ? (old.st_mode & 07777) : 0;
  owner_ = existed_ ? old.st_uid : 0;
  group_ = existed_ ? old.st_gid : 0;
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
  if (existed_) {
    // The owner first: a change of owner clears the set-user and set-group bits the mode
    // then puts back. A program run by root (sudo) leaves another user's file theirs, so that
    // they may still write it. Anyone else may give a file only to a group of their own: the
    // new file is then theirs, in the old group where they belong to it, else in their own.
    if (fchown(fd_, owner_, group_) != 0) (void)fchown(fd_, static_cast<uid_t>(-1), group_);
    if (fchmod(fd_, mode_) != 0) return Fail("cannot keep the file's permissions");
  }
  // On the disk before the rename makes it the file: otherwise a power loss soon after can
  // leave an empty file in place of both the old and the new text, and a write error that
  // only the flush reports would replace the good file with a broken one.
  if (::fsync(fd_) != 0) return Fail("cannot flush the file to the disk");
  // What took the target's place while the file was written is no more replaced than what
  // was there when it began.
  if (std::string refusal = ReplaceRefusal(target_); !refusal.empty()) {
    Discard();
    error_ = std::move(refusal);
    return false;
  }
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
