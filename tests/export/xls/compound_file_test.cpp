// The workbook file is replaced as every other export's file is: readable by its writer alone
// until it is whole, another user's file in a folder with the sticky bit refused at once, and no
// temporary file left behind when the rename fails.
#include <dlfcn.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "export/export_fixtures.h"
#include "export/xls/compound_file.h"
#include "support/acl_checks.h"
#include "support/another_user.h"
#include "support/file_modes.h"

namespace {

using exporttest::ReadFile;
using exporttest::TempFolder;
using exporttest::WriteFile;

constexpr gid_t kUsers = 100;

// Writes a small workbook into the file and commits it: the error, empty when none.
std::string Save(const std::string& path) {
  try {
    auto file = vantrix::CreateXLSStream(path);
    file->Stream().Write("cells", 5);
    file->Commit();
  } catch (const vantrix::ExlsFileError& e) {
    return e.what();
  }
  return {};
}

std::vector<std::string> SortedNames(const TempFolder& folder) {
  std::vector<std::string> names = folder.Names();
  std::sort(names.begin(), names.end());
  return names;
}

// Makes a file append-only while it lives: it may then be neither removed nor renamed over,
// though it may be written, so only the rename fails.
class AppendOnly {
 public:
  explicit AppendOnly(const std::string& path) : path_(path) { set_ = Change(true); }
  ~AppendOnly() {
    if (set_) Change(false);
  }
  bool Set() const { return set_; }

 private:
  bool Change(bool on) {
    const int fd = open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    int flags = 0;
    bool done = fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | FS_APPEND_FL : flags & ~FS_APPEND_FL;
    done = done && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    if (fd >= 0) close(fd);
    return done;
  }
  std::string path_;
  bool set_ = false;
};

// While the workbook is written beside the file it replaces, nobody but its writer may read
// it, whatever the umask. Then an existing file keeps its mode (and, replaced by root, its owner
// and a set-group bit its group may run), and a new file gets what the umask leaves of 0666.
TEST(CompoundFileReplacing, TheWorkbookIsItsWritersAloneUntilItIsWhole) {
  TempFolder folder;
  const std::string existing = folder / "existing.xls", fresh = folder / "fresh.xls";
  WriteFile(existing, "old");
  const bool theirs = geteuid() == 0 && chown(existing.c_str(), testsupport::kNobody, kUsers) == 0;
  ASSERT_EQ(chmod(existing.c_str(), theirs ? 02750 : 0644), 0);
  std::unique_ptr<vantrix::TxlsCompoundFile> replacing, creating;
  {
    testsupport::ScopedUmask mask(022);
    replacing = vantrix::CreateXLSStream(existing);
  }
  {
    testsupport::ScopedUmask mask(027);
    creating = vantrix::CreateXLSStream(fresh);
  }
  for (vantrix::TxlsCompoundFile* file : {replacing.get(), creating.get()}) file->Stream().Write("cells", 5);
  EXPECT_EQ(testsupport::ModesBesides(folder.Path(), {"existing.xls"}), (std::vector<mode_t>{0600, 0600}));
  for (vantrix::TxlsCompoundFile* file : {replacing.get(), creating.get()}) file->Commit();
  EXPECT_EQ(testsupport::ModeText(existing), theirs ? "2750" : "0644");
  if (theirs) {
    EXPECT_EQ(testsupport::OwnerAndMode(existing), "65534:100 2750");
  }
  EXPECT_EQ(testsupport::ModeText(fresh), "0640");
  EXPECT_EQ(SortedNames(folder), (std::vector<std::string>{"existing.xls", "fresh.xls"}));
}

// In a folder with a default ACL a new workbook gets what the ACL gives a file made there,
// whatever the umask, and grants nobody else anything while it is written; a replaced workbook
// keeps its own ACL whole.
TEST(CompoundFileReplacing, TheWorkbookHasTheRightsTheAccessControlListsSay) {
  TempFolder folder;
  const std::string fresh = folder / "fresh.xls", kept = folder / "kept.xls";
  if (!testsupport::SetAcl(folder.Path(), testsupport::kSharedFolderAcl, true))
    GTEST_SKIP() << "no ACL on this file system";
  const testsupport::ScopedUmask mask(022);
  WriteFile(kept, "old");
  const std::string ownAcl = testsupport::kNamedWriterAcl;
  ASSERT_TRUE(testsupport::SetAcl(kept, ownAcl));
  auto creating = vantrix::CreateXLSStream(fresh);
  creating->Stream().Write("cells", 5);
  EXPECT_EQ(testsupport::AclTextsBesides(folder.Path(), {"kept.xls"}),
            std::vector<std::string>{testsupport::kTemporaryInSharedFolder});
  creating->Commit();
  EXPECT_EQ(testsupport::AclText(fresh), testsupport::kNewFileInSharedFolder);
  EXPECT_EQ(Save(kept), "");
  EXPECT_EQ(testsupport::AclText(kept), ownAcl);
}

// In a folder with the sticky bit (as /tmp), another user's file that the user may write is
// refused before anything is made beside it, in the words the rename would end in; the user's
// own file in the same folder is replaced.
TEST(CompoundFileReplacing, InAStickyFolderAnotherUsersFileIsRefusedAtOnce) {
  if (!testsupport::WorkRunsAsAnotherUser()) GTEST_SKIP() << "in their own folder a user may replace any file";
  TempFolder folder;
  ASSERT_EQ(chmod(folder.Path().c_str(), 01777), 0);
  const std::string roots = folder / "roots.xls", mine = folder / "mine.xls";
  for (const std::string& path : {roots, mine}) WriteFile(path, "old");
  if (chown(roots.c_str(), 0, kUsers) != 0 || chown(mine.c_str(), testsupport::kNobody, kUsers) != 0)
    GTEST_SKIP() << "root here may not give a file to another user";
  ASSERT_EQ(chmod(roots.c_str(), 0664), 0);
  bool cannotSwitch = false;
  const std::optional<std::string> seen =
      testsupport::RunAsAnotherUser([&] { return Save(roots) + "|" + Save(mine); }, &cannotSwitch, {kUsers});
  if (cannotSwitch) GTEST_SKIP() << "root here may not work as another user";
  EXPECT_EQ(seen, "Cannot create the file \"" + roots + "\": cannot replace the file: Operation not permitted|");
  EXPECT_EQ(ReadFile(roots), "old");
  EXPECT_NE(ReadFile(mine), "old");
  EXPECT_EQ(SortedNames(folder), (std::vector<std::string>{"mine.xls", "roots.xls"}));
}

// A workbook whose file comes out short after a clean close (its end lost on the way to the
// disk) never takes the place of a good one. The library closes the file with fclose; while
// armed with a folder, this one cuts a file there to its first sector just after closing it.
std::atomic<const char*> g_cutInFolder{nullptr};

}  // namespace

extern "C" int fclose(FILE* stream) {
  static const auto real = reinterpret_cast<int (*)(FILE*)>(dlsym(RTLD_NEXT, "fclose"));
  const char* folder = g_cutInFolder.load();
  if (folder == nullptr) return real(stream);
  char path[4096] = {};
  const std::string link = "/proc/self/fd/" + std::to_string(fileno(stream));
  if (readlink(link.c_str(), path, sizeof path - 1) <= 0 || std::string_view(path).substr(0, std::strlen(folder)) != folder)
    return real(stream);
  std::fflush(stream);
  const int kept = dup(fileno(stream));
  const int closed = real(stream);
  if (kept >= 0) {
    // A cut that fails lets the commit through, and the test says so.
    if (ftruncate(kept, 512) != 0) std::perror("ftruncate");
    close(kept);
  }
  return closed;
}

namespace {

TEST(CompoundFileReplacing, AWorkbookCutShortAfterItsCloseReplacesNothing) {
  TempFolder folder;
  const std::string path = folder / "kept.xls";
  WriteFile(path, "old");
  auto file = vantrix::CreateXLSStream(path);
  file->Stream().Write("cells", 5);
  g_cutInFolder = folder.Path().c_str();
  std::string error;
  try {
    file->Commit();
  } catch (const vantrix::ExlsFileError& e) {
    error = e.what();
  }
  g_cutInFolder = nullptr;
  EXPECT_EQ(error, "Error writing the file \"" + path + "\": it is not whole after writing");
  EXPECT_EQ(ReadFile(path), "old");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"kept.xls"});
}

// A rename that fails after the whole workbook was written leaves the old file, and no
// temporary file beside it.
TEST(CompoundFileReplacing, ARenameThatFailsLeavesNoTemporaryBehind) {
  TempFolder folder;
  const std::string path = folder / "kept.xls";
  WriteFile(path, "old");
  const AppendOnly attribute(path);
  if (!attribute.Set()) GTEST_SKIP() << "a file may not be made append-only here";
  EXPECT_EQ(Save(path), "Error writing the file \"" + path + "\": cannot replace the file: Operation not permitted");
  EXPECT_EQ(ReadFile(path), "old");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"kept.xls"});
}

}  // namespace
