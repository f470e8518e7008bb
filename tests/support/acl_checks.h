#pragma once
// Access control lists for tests of written files: set from their short text form, read back in
// it with numeric ids ("u::rw-,u:65534:rw-,g::r--,m::rw-,o::---"), so that a test compares the
// whole list at once. The tests skip where the file system keeps no ACL.
#include <acl/libacl.h>
#include <sys/acl.h>

#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

// The folder's default ACL that tests of new files use: the owning group and the user nobody
// may read and write, others nothing.
inline constexpr const char* kSharedFolderAcl = "u::rw-,g::rw-,o::---,u:65534:rw-,m::rw-";

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

// The ACLs of the files in the folder other than those named.
inline std::vector<std::string> AclTextsBesides(const std::string& folder, const std::vector<std::string>& named) {
  std::vector<std::string> texts;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    bool known = false;
    for (const std::string& name : named) known = known || entry.path().filename() == name;
    if (!known) texts.push_back(AclText(entry.path()));
  }
  return texts;
}

}  // namespace testsupport
