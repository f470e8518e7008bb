// A file is replaced whole or not at all.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/atomic_file.h"

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

}  // namespace
