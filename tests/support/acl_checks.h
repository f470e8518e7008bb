#pragma once
// Access control lists for tests of written files: set from their short text form, read back in
// it with numeric ids ("u::rw-,u:65534:rw-,g::r--,m::rw-,o::---"), so that a test compares the
// whole list at once. The tests skip where the file system keeps no ACL.
#include <acl/libacl.h>
#include <sys/acl.h>

#include <string>
#include <vector>

#include "support/file_modes.h"

namespace testsupport {

// The folder's default ACL that tests of new files use: the owning group and the user nobody
// may read and write, others nothing.
inline constexpr const char* kSharedFolderAcl = "u::rw-,g::rw-,o::---,u:65534:rw-,m::rw-";
// What a file made there gets, as the system gives it: the same rights, the owner's and others'
// limited by mode 0666.
inline constexpr const char* kNewFileInSharedFolder = "u::rw-,u:65534:rw-,g::rw-,m::rw-,o::---";
// What the private temporary beside it gets while it is written: the mask takes every right
// from the named user and the group.
inline constexpr const char* kTemporaryInSharedFolder = "u::rw-,u:65534:rw-,g::rw-,m::---,o::---";
// A file's own ACL that a replace keeps: nobody may write it, its group only read it.
inline constexpr const char* kNamedWriterAcl = "u::rw-,u:65534:rw-,g::r--,m::rw-,o::---";

// Sets the access ACL of a file, or the default ACL of a folder; false where it can't be set.
inline bool SetAcl(const std::string& path, const std::string& text, bool folderDefault = false) {
  const acl_t acl = acl_from_text(text.c_str());
  const bool set = acl != nullptr && acl_set_file(path.c_str(), folderDefault ? ACL_TYPE_DEFAULT : ACL_TYPE_ACCESS, acl) == 0;
  if (acl != nullptr) acl_free(acl);
  return set;
}

// The access ACL as above; empty when it can't be read.
inline std::string AclText(const std::string& path) {
  const acl_t acl = acl_get_file(path.c_str(), ACL_TYPE_ACCESS);
  if (acl == nullptr) return {};
  char* text = acl_to_any_text(acl, nullptr, ',', TEXT_ABBREVIATE | TEXT_NUMERIC_IDS);
  std::string result = text != nullptr ? text : "";
  acl_free(text);
  acl_free(acl);
  return result;
}

// The ACLs of the files in the folder other than those named (see FilesBesides).
inline std::vector<std::string> AclTextsBesides(const std::string& folder, const std::vector<std::string>& named) {
  std::vector<std::string> texts;
  for (const std::string& path : FilesBesides(folder, named)) texts.push_back(AclText(path));
  return texts;
}

}  // namespace testsupport
