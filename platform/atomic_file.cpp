#include "platform/atomic_file.h"

#include <fcntl.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>

#include "platform/regular_file.h"
#include "platform/write_all.h"

namespace platform {
namespace {

std::atomic<unsigned> g_tempCounter{0};

constexpr const char* kCannotReplace = "cannot replace the file: ";
// Only the owner may read or write the new text until it takes the target's place.
constexpr mode_t kPrivateMode = 0600;

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

// The folder the file is in, where its temporary is made and the rename happens: a bare file
// name is in the working folder.
std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == path.npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// The process's file-creation mask, read without changing it: umask() tells it only by setting
// another, and a file that another thread creates meanwhile gets the wrong mode. Linux shows it
// in /proc/self/status; where that cannot be read, the strictest mask keeps a new file its
// owner's rather than granting more than the user may have asked.
mode_t CreationMask() {
  constexpr mode_t kStrictest = 077;
  FILE* status = std::fopen("/proc/self/status", "re");
  if (status == nullptr) return kStrictest;
  mode_t mask = kStrictest;
  char line[256];
  constexpr std::string_view kField = "Umask:";
  while (std::fgets(line, sizeof line, status) != nullptr) {
    const std::string_view text(line);
    if (text.substr(0, kField.size()) != kField) continue;
    const size_t digits = text.find_first_not_of(" \t", kField.size());
    unsigned value = 0;
    if (digits != text.npos) {
      const auto [end, error] = std::from_chars(text.data() + digits, text.data() + text.size(), value, 8);
      if (error == std::errc() && end != text.data() + digits && value <= 0777) mask = static_cast<mode_t>(value);
    }
    break;
  }
  std::fclose(status);
  return mask;
}

// Whether this thread may replace another user's file in a folder with the sticky bit, where
// the system otherwise lets only the file's or the folder's owner do it (CAP_FOWNER: root,
// unless a container took it away).
bool MayOverrideOwnership() {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] = {};
  if (syscall(SYS_capget, &header, data) != 0) return geteuid() == 0;
  return (data[CAP_TO_INDEX(CAP_FOWNER)].effective & CAP_TO_MASK(CAP_FOWNER)) != 0;
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
    const std::string folder = FolderOf(WriteTarget(path));
    if (faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0)
      return std::string("cannot create a file beside it: ") + std::strerror(errno);
    // There the system lets only the file's owner, the folder's, or a process that may
    // override ownership replace the file, and the rename would say so only after the whole
    // text was written.
    struct stat dir;
    const uid_t user = geteuid();
    if (stat(folder.c_str(), &dir) == 0 && (dir.st_mode & S_ISVTX) != 0 && st.st_uid != user && dir.st_uid != user &&
        !MayOverrideOwnership())
      return kCannotReplace + std::string(std::strerror(EPERM));
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
  mode_ = existed_ ? (old.st_mode & 07777) : (0666 & ~CreationMask());
  owner_ = existed_ ? old.st_uid : 0;
  group_ = existed_ ? old.st_gid : 0;
  acl_ = existed_ ? FileAcl::OfFile(target_) : FileAcl::ForNewFileIn(FolderOf(target_), 0666);
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    temp_ = target_ + ".tmp" + std::to_string(getpid()) + "_" + std::to_string(g_tempCounter++);
    fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kPrivateMode);
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
  }
  // Until now nobody but its owner could read the new text; it takes its final rights only
  // when it is whole.
  if (!TakeFinalRights())
    return Fail(existed_ ? "cannot keep the file's permissions" : "cannot give the file its permissions");
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
    error_ = kCannotReplace + std::string(std::strerror(errno));
    ::unlink(temp_.c_str());
    temp_.clear();
    return false;
  }
  temp_.clear();
  return true;
}

bool AtomicFile::TakeFinalRights() {
  if (!acl_.Empty()) {
    // The ACL sets the permission bits with it; the set-id and sticky bits are the mode's.
    if (acl_.ApplyTo(fd_)) {
      struct stat now;
      return (mode_ & 07000) == 0 ||
             (::fstat(fd_, &now) == 0 && fchmod(fd_, (now.st_mode & 0777) | (mode_ & 07000)) == 0);
    }
    // A file system that keeps no ACL (ENOTSUP, the same number as EOPNOTSUPP here) has the
    // mode alone.
    if (errno != ENOTSUP) return false;
  }
  return fchmod(fd_, mode_) == 0;
}

FILE* AtomicFile::DuplicateStream() {
  if (fd_ < 0) return nullptr;
  const int own = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
  FILE* stream = own >= 0 ? ::fdopen(own, "wb") : nullptr;
  if (stream == nullptr) {
    error_ = std::strerror(errno);
    if (own >= 0) ::close(own);
  }
  return stream;
}

long long AtomicFile::Size() const {
  struct stat st;
  return fd_ >= 0 && ::fstat(fd_, &st) == 0 ? static_cast<long long>(st.st_size) : -1;
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
