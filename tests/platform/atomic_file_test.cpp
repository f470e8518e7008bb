// A file is replaced whole or not at all, and only a regular file is replaced.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/ini_file.h"
#include "support/acl_checks.h"
#include "support/another_user.h"
#include "support/file_modes.h"

namespace {

namespace fs = std::filesystem;

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class AtomicFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/tervana_atomic_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string dir_;
};

TEST_F(AtomicFileTest, ReplacesOnCommitAndLeavesTheOldFileOtherwise) {
  const std::string target = dir_ + "/data.txt";
  { std::ofstream(target) << "old"; }
  chmod(target.c_str(), 0600);
  {
    platform::AtomicFile file;
    ASSERT_TRUE(file.Open(target));
    ASSERT_TRUE(file.Write("new", 3));
  }  // abandoned
  EXPECT_EQ(Read(target), "old");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 1);

  // Through a link: the link stays a link, its target gets the text and keeps its mode.
  const std::string link = dir_ + "/link.txt";
  ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
  platform::AtomicFile file;
  ASSERT_TRUE(file.Open(link));
  ASSERT_TRUE(file.Write("new", 3));
  ASSERT_TRUE(file.Commit());
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Read(target), "new");
  struct stat st {};
  stat(target.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  platform::AtomicFile nowhere;
  EXPECT_FALSE(nowhere.Open(dir_ + "/missing/data.txt"));
  EXPECT_NE(nowhere.Error().find("No such file"), std::string::npos);
  EXPECT_FALSE(nowhere.Commit());
}

// Only a regular file is replaced. A named pipe, the same through a link, or a folder is
// refused at the open and stays what it was; so is one put in the file's place while it was
// being written, at the commit. /dev/null is only asked about: a fault must not replace it.
TEST_F(AtomicFileTest, WhatIsNoRegularFileIsNeverReplaced) {
  const std::string pipe = dir_ + "/pipe", link = dir_ + "/to-pipe", folder = dir_ + "/folder";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  ASSERT_EQ(symlink(pipe.c_str(), link.c_str()), 0);
  ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
  const std::pair<std::string, std::string> refused[] = {
      {pipe, "it is a named pipe"}, {link, "it is a named pipe"}, {folder, "it is a folder"}};
  for (const auto& [path, kind] : refused) {
    platform::AtomicFile file;
    EXPECT_FALSE(file.Open(path));
    EXPECT_EQ(file.Error(), kind + ", and only a regular file is replaced");
  }
  EXPECT_TRUE(fs::is_fifo(pipe));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(platform::ReplaceRefusal("/dev/null"), "it is a device, and only a regular file is replaced");
  EXPECT_EQ(platform::ReplaceRefusal(dir_ + "/missing"), "");

  const std::string target = dir_ + "/data.txt";
  { std::ofstream(target) << "old"; }
  platform::AtomicFile file;
  ASSERT_TRUE(file.Open(target));
  ASSERT_TRUE(file.Write("new", 3));
  ASSERT_EQ(unlink(target.c_str()), 0);
  ASSERT_EQ(mkfifo(target.c_str(), 0600), 0);
  EXPECT_FALSE(file.Commit());
  EXPECT_EQ(file.Error(), "it is a named pipe, and only a regular file is replaced");
  EXPECT_TRUE(fs::is_fifo(target));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 4);  // no temporary left
}

// A file its user may not write is refused as opening it would be, though the rename needs only
// the folder's leave: one of mode 0444, and (for root, who works here as nobody) another user's
// file in a folder everybody may write; and one locked while it was being written, at the
// commit. The INI class writes through it and keeps its hands off them too.
TEST_F(AtomicFileTest, AFileItsUserMayNotWriteIsNotReplaced) {
  ASSERT_EQ(chmod(dir_.c_str(), 0777), 0);
  const std::string locked = dir_ + "/locked.cfg", others = dir_ + "/others.cfg";
  for (const std::string& path : {locked, others}) std::ofstream(path) << "[G]\nk=1\n";
  ASSERT_EQ(chmod(locked.c_str(), 0444), 0);
  std::vector<std::string> refused = {locked};
  if (testsupport::WorkRunsAsAnotherUser()) refused.push_back(others);
  bool cannotSwitch = false;
  const std::optional<std::string> seen = testsupport::RunAsAnotherUser([&] {
    std::string out;
    for (const std::string& path : refused) {
      platform::AtomicFile file;
      out += std::to_string(file.Open(path)) + " " + file.Error() + "|";
      platform::IniFile ini(path);
      out += std::to_string(ini.WriteString("G", "k", "2")) + " " + ini.WriteError() + "|";
    }
    const std::string mine = dir_ + "/mine.cfg";
    std::ofstream(mine) << "old";
    platform::AtomicFile file;
    out += std::to_string(file.Open(mine) && file.Write("new", 3));
    chmod(mine.c_str(), 0444);
    out += std::to_string(file.Commit()) + " " + file.Error();
    return out;
  }, &cannotSwitch);
  if (cannotSwitch) GTEST_SKIP() << "root here may not work as another user";
  ASSERT_TRUE(seen.has_value());
  std::string expected;
  for (size_t i = 0; i < refused.size(); ++i) expected += "0 Permission denied|0 Permission denied|";
  EXPECT_EQ(*seen, expected + "10 Permission denied");
  for (const std::string& path : {locked, others}) EXPECT_EQ(Read(path), "[G]\nk=1\n") << path;
  EXPECT_EQ(Read(dir_ + "/mine.cfg"), "old");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 3);  // no temporary left
}

// The new file keeps the old one's owner and group, and then its mode (a change of owner
// clears the set-user bit, and the set-group bit where the group may run the file: 04755 and
// 02750 show the order, 02640 would not): root replacing a user's file (a program run with
// sudo) leaves it theirs. Anyone else makes it their own, in the old group where they belong
// to it.
TEST_F(AtomicFileTest, AReplacedFileKeepsItsOwnerAndGroupWhereTheSystemAllows) {
  if (geteuid() != 0) GTEST_SKIP() << "only root may give a file to another user";
  constexpr gid_t kUsers = 100;
  ASSERT_EQ(chmod(dir_.c_str(), 0777), 0);
  const std::string theirs = dir_ + "/theirs.cfg", shared = dir_ + "/shared.cfg", foreign = dir_ + "/foreign.cfg";
  const std::pair<std::string, mode_t> setIds[] = {{dir_ + "/setgid", 02750}, {dir_ + "/setuid", 04755}};
  for (const std::string& path : {theirs, shared, foreign}) std::ofstream(path) << "old";
  if (chown(theirs.c_str(), testsupport::kNobody, kUsers) != 0 || chown(shared.c_str(), 0, kUsers) != 0)
    GTEST_SKIP() << "root here may not give a file to another user";
  ASSERT_EQ(chmod(theirs.c_str(), 02640), 0);
  for (const std::string& path : {shared, foreign}) ASSERT_EQ(chmod(path.c_str(), 0666), 0);
  for (const auto& [path, mode] : setIds) {
    std::ofstream(path) << "old";
    ASSERT_EQ(chown(path.c_str(), testsupport::kNobody, kUsers), 0);
    ASSERT_EQ(chmod(path.c_str(), mode), 0);
  }
  const auto replace = [](const std::string& path) {
    platform::AtomicFile file;
    return file.Open(path) && file.Write("new", 3) && file.Commit();
  };
  ASSERT_TRUE(replace(theirs));
  for (const auto& [path, mode] : setIds) ASSERT_TRUE(replace(path)) << path;
  EXPECT_EQ(testsupport::OwnerAndMode(setIds[0].first), "65534:100 2750");
  EXPECT_EQ(testsupport::OwnerAndMode(setIds[1].first), "65534:100 4755");
  bool cannotSwitch = false;
  const std::optional<std::string> seen = testsupport::RunAsAnotherUser(
      [&] { return std::to_string(replace(shared)) + std::to_string(replace(foreign)); }, &cannotSwitch, {kUsers});
  if (cannotSwitch) GTEST_SKIP() << "root here may not work as another user";
  EXPECT_EQ(seen, "11");
  const auto owner = [](const std::string& path) {
    struct stat st {};
    stat(path.c_str(), &st);
    return std::to_string(st.st_uid) + ":" + std::to_string(st.st_gid) + " " + std::to_string(st.st_mode & 07777);
  };
  EXPECT_EQ(owner(theirs), "65534:100 " + std::to_string(02640));
  EXPECT_EQ(owner(shared), "65534:100 " + std::to_string(0666));
  EXPECT_EQ(owner(foreign), "65534:65534 " + std::to_string(0666));
  for (const std::string& path : {theirs, shared, foreign}) EXPECT_EQ(Read(path), "new") << path;
}

// A file its user may write, in a folder where the new file cannot be made beside it, is
// refused before anything is written, in the words the attempt would have ended in.
TEST_F(AtomicFileTest, AFileInAFolderItsUserMayNotWriteIsRefusedAtOnce) {
  const std::string folder = dir_ + "/closed", path = folder + "/kept.cfg";
  ASSERT_EQ(chmod(dir_.c_str(), 0755), 0);
  ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
  std::ofstream(path) << "old";
  ASSERT_EQ(chmod(path.c_str(), 0666), 0);
  // Root is not stopped by the folder's mode, so it works as nobody in root's folder.
  if (!testsupport::WorkRunsAsAnotherUser()) {
    ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
  }
  bool cannotSwitch = false;
  const std::optional<std::string> seen = testsupport::RunAsAnotherUser([&] {
    platform::AtomicFile file;
    return platform::ReplaceRefusal(path) + "|" + std::to_string(file.Open(path)) + " " + file.Error();
  }, &cannotSwitch);
  chmod(folder.c_str(), 0755);
  if (cannotSwitch) GTEST_SKIP() << "root here may not work as another user";
  const std::string refusal = "cannot create a file beside it: Permission denied";
  EXPECT_EQ(seen, refusal + "|0 " + refusal);
  EXPECT_EQ(Read(path), "old");
}

// The new text is its writer's alone until it takes the target's place, whatever the umask: a
// temporary file that others may read would show them what is to replace a file they may not.
// At the commit an existing file's mode comes back, and a new file gets what the umask leaves.
TEST_F(AtomicFileTest, TheNewTextIsItsWritersAloneUntilTheCommit) {
  const std::string existing = dir_ + "/existing.txt", fresh = dir_ + "/fresh.txt";
  std::ofstream(existing) << "old";
  ASSERT_EQ(chmod(existing.c_str(), 0644), 0);
  platform::AtomicFile replacing, creating;
  {
    testsupport::ScopedUmask mask(022);
    ASSERT_TRUE(replacing.Open(existing) && replacing.Write("new", 3)) << replacing.Error();
  }
  {
    testsupport::ScopedUmask mask(027);
    ASSERT_TRUE(creating.Open(fresh) && creating.Write("new", 3)) << creating.Error();
  }
  EXPECT_EQ(testsupport::ModesBesides(dir_, {"existing.txt"}), (std::vector<mode_t>{0600, 0600}));
  ASSERT_TRUE(replacing.Commit()) << replacing.Error();
  ASSERT_TRUE(creating.Commit()) << creating.Error();
  EXPECT_EQ(testsupport::ModeText(existing), "0644");
  EXPECT_EQ(testsupport::ModeText(fresh), "0640");
  EXPECT_EQ(Read(fresh), "new");
}

// In a folder with a default ACL a new file gets what the ACL gives a file made there directly,
// whatever the umask, and while it is written its temporary grants nobody else anything. A
// replaced file keeps its own ACL whole: a named user's entry, and the owning group's rights
// under the mask; a file without one gets none from the folder it is replaced in.
TEST_F(AtomicFileTest, AccessControlListsAreWhatCreatingOrKeepingTheFileWouldGive) {
  const std::string shared = dir_ + "/shared", kept = dir_ + "/kept.txt", plain = shared + "/plain.txt";
  ASSERT_EQ(mkdir(shared.c_str(), 0700), 0);
  if (!testsupport::SetAcl(shared, testsupport::kSharedFolderAcl, true)) GTEST_SKIP() << "no ACL on this file system";
  const auto save = [](const std::string& path, const std::function<void()>& whileWritten) {
    platform::AtomicFile file;
    if (!file.Open(path) || !file.Write("new", 3)) return file.Error();
    whileWritten();
    return file.Commit() ? "" : file.Error();
  };
  std::vector<std::string> made;
  for (const mode_t mask : {mode_t{022}, mode_t{077}}) {
    const testsupport::ScopedUmask umask(mask);
    const std::string name = "fresh" + std::to_string(mask);
    EXPECT_EQ(save(shared + "/" + name, [&] {
      EXPECT_EQ(testsupport::AclTextsBesides(shared, made),
                std::vector<std::string>{testsupport::kTemporaryInSharedFolder});
    }), "");
    EXPECT_EQ(testsupport::AclText(shared + "/" + name), testsupport::kNewFileInSharedFolder) << mask;
    made.push_back(name);
  }

  std::ofstream(kept) << "old";
  const std::string ownAcl = testsupport::kNamedWriterAcl;
  ASSERT_TRUE(testsupport::SetAcl(kept, ownAcl));
  std::ofstream(plain) << "old";
  ASSERT_TRUE(testsupport::SetAcl(plain, "u::rw-,g::r--,o::---"));
  for (const std::string& path : {kept, plain}) EXPECT_EQ(save(path, [] {}), "") << path;
  EXPECT_EQ(testsupport::AclText(kept), ownAcl);
  EXPECT_EQ(testsupport::AclText(plain), "u::rw-,g::r--,o::---");
  EXPECT_EQ(Read(kept), "new");
}

// In a folder with the sticky bit (as /tmp) the system lets a user rename over only a file of
// their own there, or any file in a sticky folder of their own. Another user's file they may
// write is refused before anything is made beside it, in the words the rename would end in;
// their own file in the same folder is replaced, and so is root's file in their own folder.
TEST_F(AtomicFileTest, InAStickyFolderOnlyTheUsersOwnFileIsReplaced) {
  if (!testsupport::WorkRunsAsAnotherUser()) GTEST_SKIP() << "in their own folder a user may replace any file";
  constexpr gid_t kUsers = 100;
  ASSERT_EQ(chmod(dir_.c_str(), 01777), 0);
  const std::string theirFolder = dir_ + "/nobodys";
  ASSERT_EQ(mkdir(theirFolder.c_str(), 0700), 0);
  const std::string roots = dir_ + "/roots.cfg", mine = dir_ + "/mine.cfg", rootsInTheirs = theirFolder + "/roots.cfg";
  for (const std::string& path : {roots, mine, rootsInTheirs}) std::ofstream(path) << "old";
  if (chown(roots.c_str(), 0, kUsers) != 0 || chown(mine.c_str(), testsupport::kNobody, kUsers) != 0 ||
      chown(rootsInTheirs.c_str(), 0, kUsers) != 0 || chown(theirFolder.c_str(), testsupport::kNobody, kUsers) != 0)
    GTEST_SKIP() << "root here may not give a file to another user";
  for (const std::string& path : {roots, rootsInTheirs}) ASSERT_EQ(chmod(path.c_str(), 0664), 0);
  ASSERT_EQ(chmod(theirFolder.c_str(), 01777), 0);
  bool cannotSwitch = false;
  const std::optional<std::string> seen = testsupport::RunAsAnotherUser([&] {
    const auto replace = [](const std::string& path) {
      platform::AtomicFile file;
      return std::to_string(file.Open(path) && file.Write("new", 3) && file.Commit()) + file.Error();
    };
    platform::AtomicFile file;
    std::string out = platform::ReplaceRefusal(roots) + "|" + std::to_string(file.Open(roots)) + " " + file.Error();
    return out + "|" + replace(mine) + "|" + replace(rootsInTheirs);
  }, &cannotSwitch, {kUsers});
  if (cannotSwitch) GTEST_SKIP() << "root here may not work as another user";
  const std::string refusal = "cannot replace the file: Operation not permitted";
  EXPECT_EQ(seen, refusal + "|0 " + refusal + "|1|1");
  EXPECT_EQ(Read(roots), "old");
  for (const std::string& path : {mine, rootsInTheirs}) EXPECT_EQ(Read(path), "new") << path;
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 3);  // nothing left beside them
  EXPECT_EQ(std::distance(fs::directory_iterator(theirFolder), {}), 1);
}

// A file named without a folder is in the working folder, and is replaced there.
TEST_F(AtomicFileTest, AFileNamedWithoutAFolderIsReplacedInTheWorkingFolder) {
  testsupport::ScopedWorkingFolder here(dir_);
  std::ofstream("bare.cfg") << "old";
  EXPECT_EQ(platform::ReplaceRefusal("bare.cfg"), "");
  platform::AtomicFile file;
  ASSERT_TRUE(file.Open("bare.cfg")) << file.Error();
  ASSERT_TRUE(file.Write("new", 3));
  ASSERT_TRUE(file.Commit()) << file.Error();
  EXPECT_EQ(Read(dir_ + "/bare.cfg"), "new");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 1);
}

}  // namespace
