// Writes held back by an update scope reach the file once, whole, when the outermost scope
// ends.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/ini_file.h"

namespace {

namespace fs = std::filesystem;
using platform::IniFile;

class IniUpdateScope : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/tervana_ini_scope_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    path_ = dir_ + "/options.cfg";
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string ReadRaw() const {
    std::ifstream in(path_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  std::string dir_, path_;
};

TEST_F(IniUpdateScope, WritesOnceWhenTheOutermostScopeEnds) {
  { std::ofstream(path_, std::ios::binary) << "[KEEP]\r\nk=1\r\n"; }
  IniFile ini(path_);
  {
    IniFile::UpdateScope outer(ini);
    for (int i = 0; i < 500; ++i) EXPECT_TRUE(ini.WriteInteger("MANY", "key" + std::to_string(i), i));
    EXPECT_TRUE(ini.EraseSection("KEEP"));
    EXPECT_EQ(ini.ReadInteger("MANY", "key499", -1), 499);  // reads see the held writes
    {
      IniFile::UpdateScope inner(ini);
      ini.WriteString("LAST", "x", "y");
      EXPECT_TRUE(inner.Commit());
    }
    EXPECT_EQ(ReadRaw(), "[KEEP]\r\nk=1\r\n");  // nothing written yet
  }
  const std::string text = ReadRaw();
  EXPECT_EQ(text.rfind("[MANY]\r\nkey0=0\r\nkey1=1\r\n", 0), 0u);
  EXPECT_NE(text.find("key499=499\r\n[LAST]\r\nx=y\r\n"), std::string::npos);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 1);
  EXPECT_EQ(IniFile(path_).ReadString("LAST", "x", ""), "y");
}

TEST_F(IniUpdateScope, AScopeWithoutChangesWritesNothingAndFailuresAreReported) {
  IniFile missingFolder(dir_ + "/none/options.cfg");
  {
    IniFile::UpdateScope idle(missingFolder);
    EXPECT_TRUE(idle.Commit());
  }
  EXPECT_FALSE(fs::exists(dir_ + "/none"));
  IniFile::UpdateScope scope(missingFolder);
  EXPECT_TRUE(missingFolder.WriteString("S", "k", "v"));  // held back
  EXPECT_FALSE(scope.Commit());
  EXPECT_FALSE(scope.Commit());  // the same answer again
  EXPECT_EQ(missingFolder.ReadString("S", "k", ""), "v");  // kept in memory
}

}  // namespace
