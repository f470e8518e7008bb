#pragma once
// Replacing a file whole or not at all: the new text goes into a temporary file beside the
// target, is flushed to the disk, and is renamed over the target only when everything was
// written. A crash, a full disk or an abandoned write leaves the old file as it was and no
// temporary behind. While it is written the temporary file grants nobody but its owner
// anything, whatever the umask or the folder's default ACL: it holds the text that is to replace
// a file others may not read. At the commit it takes its final rights. An existing target keeps
// its permissions and its whole access control list (named users and groups, the mask), so that
// nobody gains or loses a right by the replace. A new file gets what creating it directly would
// have given: in a folder with a default ACL, that ACL's entries limited by mode 0666 (the umask
// plays no part there); elsewhere 0666 less the umask. Where the file system keeps no ACL the
// mode alone is kept. An existing target keeps its owner and group where the system allows
// them: root may give the new file to anyone, so another user's file stays theirs; any other
// user who may write a file they do not own makes the new file their own, in the old file's
// group when they belong to it and in their own group otherwise. A symbolic link is followed,
// so the link stays and its target is replaced. Only a regular file its user may write is ever
// replaced.
#include <sys/types.h>

#include <cstddef>
#include <cstdio>
#include <string>

#include "platform/file_acl.h"

namespace platform {

// Why a new file may not take the place of what the path names (a symbolic link followed), in
// words that follow the path in a message; empty when it may: the path names nothing yet or a
// regular file its user may write. A named pipe, a device such as /dev/null, a socket or a
// folder is refused: a rename would leave an ordinary file where every program that uses it
// expects the other. A regular file the user may not write is refused as opening it would be
// ("Permission denied"), although the rename could replace it; so is one in a folder where its
// user may not make the new file ("cannot create a file beside it: Permission denied"). In a
// folder with the sticky bit (as /tmp) only the file's owner, the folder's owner or a process
// with the leave to override ownership may replace a file: another user's file there is
// refused in the words the rename would end in ("cannot replace the file: Operation not
// permitted"). A bare file name names a file in the working folder.
std::string ReplaceRefusal(const std::string& path);

class AtomicFile {
 public:
  AtomicFile() = default;
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;
  ~AtomicFile() { Discard(); }

  // Creates the temporary file for the target; false (see Error) when it can't be made or the
  // target is no regular file (see ReplaceRefusal).
  bool Open(const std::string& target);
  bool Write(const char* data, size_t size);
  // Overwrites bytes already written (a header whose counts are known only at the end).
  bool WriteAt(size_t offset, const char* data, size_t size);
  // Syncs, closes and renames over the target; false (and the temporary removed) on failure.
  bool Commit();
  // Removes the temporary file; the target is untouched.
  void Discard();
  bool IsOpen() const { return fd_ >= 0; }
  // A stdio stream of its own on the temporary file, for a library that writes and seeks
  // through one; the caller closes it before Commit. Null (see Error) when it can't be made.
  FILE* DuplicateStream();
  // How many bytes the temporary file holds; -1 when that can't be told.
  long long Size() const;
  // What went wrong last, as the system says it.
  const std::string& Error() const { return error_; }

 private:
  bool Fail(const char* what);
  // Gives the temporary file the rights the finished file is to have.
  bool TakeFinalRights();

  int fd_ = -1;
  std::string target_, temp_, error_;
  bool existed_ = false;
  unsigned mode_ = 0;
  uid_t owner_ = 0;
  gid_t group_ = 0;
  FileAcl acl_;
};

}  // namespace platform
