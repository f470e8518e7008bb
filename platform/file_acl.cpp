#include "platform/file_acl.h"

#include <acl/libacl.h>
#include <sys/acl.h>

#include <utility>

namespace platform {
namespace {

acl_t AsAcl(void* acl) { return static_cast<acl_t>(acl); }

// Takes from the entry the rights the mode's three bits (read 4, write 2, run 1) do not give.
bool LimitTo(acl_entry_t entry, mode_t bits) {
  acl_permset_t rights;
  if (acl_get_permset(entry, &rights) != 0) return false;
  for (const auto& [bit, right] : {std::pair{mode_t{4}, ACL_READ}, {mode_t{2}, ACL_WRITE}, {mode_t{1}, ACL_EXECUTE}})
    if ((bits & bit) == 0 && acl_delete_perm(rights, right) != 0) return false;
  return acl_set_permset(entry, rights) == 0;
}

}  // namespace

void FileAcl::Release::operator()(void* acl) const { acl_free(acl); }

FileAcl FileAcl::OfFile(const std::string& path) { return FileAcl(acl_get_file(path.c_str(), ACL_TYPE_ACCESS)); }

FileAcl FileAcl::ForNewFileIn(const std::string& folder, mode_t mode) {
  FileAcl inherited(acl_get_file(folder.c_str(), ACL_TYPE_DEFAULT));
  if (inherited.Empty() || acl_entries(AsAcl(inherited.acl_.get())) <= 0) return {};
  acl_entry_t entry, groupClass = nullptr;
  bool limited = true;
  for (int which = ACL_FIRST_ENTRY; limited && acl_get_entry(AsAcl(inherited.acl_.get()), which, &entry) == 1;
       which = ACL_NEXT_ENTRY) {
    acl_tag_t tag;
    if (acl_get_tag_type(entry, &tag) != 0) return {};
    if (tag == ACL_USER_OBJ) limited = LimitTo(entry, (mode >> 6) & 7);
    if (tag == ACL_OTHER) limited = LimitTo(entry, mode & 7);
    // With named entries the mask stands for the group class; without, the owning group does.
    if (tag == ACL_MASK || (tag == ACL_GROUP_OBJ && groupClass == nullptr)) groupClass = entry;
  }
  if (!limited || groupClass == nullptr || !LimitTo(groupClass, (mode >> 3) & 7)) return {};
  return inherited;
}

bool FileAcl::ApplyTo(int fd) const { return acl_set_fd(fd, AsAcl(acl_.get())) == 0; }

}  // namespace platform
