#pragma once
// The access control list a replaced or new file is to have, taken before its text is written
// and given to the new file at the end. Where a file's rights come from an ACL, its mode tells
// only part of them: the group bits are the ACL's mask, so a mode carried over alone loses the
// named users and groups and hands the owning group the mask's rights. A folder's default ACL
// sets what a file made there gets, in place of the umask.
#include <sys/types.h>

#include <memory>
#include <string>

namespace platform {

class FileAcl {
 public:
  FileAcl() = default;

  // The whole ACL of an existing file (a file without one has the ACL its mode spells out),
  // so that giving it to the new file takes away whatever the folder's default ACL gave that.
  // None where the file system keeps no ACL.
  static FileAcl OfFile(const std::string& path);
  // What a file created with this mode directly in the folder gets from the folder's default
  // ACL: its entries, with the owner's, the mask's (the group's where there is no mask) and
  // the others' rights limited by the mode, as the system does. None where the folder has no
  // default ACL or the file system keeps no ACL: the mode and the umask rule then.
  static FileAcl ForNewFileIn(const std::string& folder, mode_t mode);

  bool Empty() const { return acl_ == nullptr; }

  // Gives the open file this ACL, which sets its permission bits with it. False with errno
  // set when that fails; ENOTSUP when the file system keeps no ACL.
  bool ApplyTo(int fd) const;

 private:
  struct Release {
    void operator()(void* acl) const;
  };
  explicit FileAcl(void* acl) : acl_(acl) {}
  std::unique_ptr<void, Release> acl_;
};

}  // namespace platform
