#include "platform/ini_file.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace {

using platform::IniFile;

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/tervana_ini_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    path_ = dir_ + "/test.cfg";
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  void WriteRaw(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }
  std::string ReadRaw() const {
    std::ifstream in(path_, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  std::vector<std::string> DirEntries() const {
    std::vector<std::string> names;
    DIR* d = opendir(dir_.c_str());
    while (dirent* e = readdir(d))
      if (e->d_name[0] != '.') names.push_back(e->d_name);
    closedir(d);
    return names;
  }

  std::string dir_, path_;
};

TEST_F(IniFileTest, WritesCrlfLinesInWriteOrderAndTheWholeFileAtEveryWrite) {
  IniFile ini(path_);
  EXPECT_EQ(ini.ReadString("General", "Tag", "none"), "none");
  EXPECT_TRUE(ini.WriteString("General", "Tag", "Estufa 2 \xB0" "C"));
  EXPECT_EQ(ReadRaw(), "[General]\r\nTag=Estufa 2 \xB0" "C\r\n");
  EXPECT_TRUE(ini.WriteInteger("Channel1", "Type", -3));
  EXPECT_TRUE(ini.WriteBool("General", "Enabled", true));
  EXPECT_TRUE(ini.WriteFloat("Channel1", "Gain", 0.1));
  EXPECT_TRUE(ini.WriteString("general", "TAG", "x"));  // replaces, keeps the first spelling
  EXPECT_EQ(ReadRaw(), "[General]\r\nTag=x\r\nEnabled=1\r\n[Channel1]\r\nType=-3\r\nGain=0.1\r\n");
  EXPECT_EQ(DirEntries(), std::vector<std::string>{"test.cfg"});  // no temporary left behind
}

TEST_F(IniFileTest, ValuesRoundTripThroughANewObject) {
  const double doubles[] = {0.1, 1.0 / 3, -2.5e-300, 1e20, 123456789.125, -0.0,
                            std::numeric_limits<double>::max(), std::numeric_limits<double>::denorm_min(),
                            std::numeric_limits<double>::infinity()};
  std::string allBytes;
  for (int b = 1; b < 256; ++b)
    if (b != '\r' && b != '\n') allBytes.push_back(static_cast<char>(b));
  {
    IniFile ini(path_);
    for (size_t i = 0; i < std::size(doubles); ++i) ASSERT_TRUE(ini.WriteFloat("F", "d" + std::to_string(i), doubles[i]));
    ASSERT_TRUE(ini.WriteFloat("F", "nan", NAN));
    ASSERT_TRUE(ini.WriteInteger("I", "min", std::numeric_limits<int>::min()));
    ASSERT_TRUE(ini.WriteInteger("I", "max", std::numeric_limits<int>::max()));
    ASSERT_TRUE(ini.WriteBool("B", "no", false));
    ASSERT_TRUE(ini.WriteString("S", "bytes", "x" + allBytes + "x"));
  }
  IniFile ini(path_);
  for (size_t i = 0; i < std::size(doubles); ++i) {
    double back = ini.ReadFloat("F", "d" + std::to_string(i), 42.0);
    EXPECT_EQ(back, doubles[i]);
    EXPECT_EQ(std::signbit(back), std::signbit(doubles[i]));
  }
  EXPECT_TRUE(std::isnan(ini.ReadFloat("F", "nan", 0)));
  EXPECT_EQ(ini.ReadInteger("I", "min", 0), std::numeric_limits<int>::min());
  EXPECT_EQ(ini.ReadInteger("I", "max", 0), std::numeric_limits<int>::max());
  EXPECT_FALSE(ini.ReadBool("B", "no", true));
  EXPECT_EQ(ini.ReadString("S", "bytes", ""), "x" + allBytes + "x");
}

TEST_F(IniFileTest, IntegerFloatAndBoolParsing) {
  struct Case { const char* text; int integer; double number; };
  const int d = 777;
  const double f = -1.0;
  const Case cases[] = {
      {"42", 42, 42},           {"-17", -17, -17},        {"+5", 5, 5},           {"  7  ", 7, 7},
      {"0x1F", 31, f},          {"0X1f", 31, f},          {"$FF", 255, f},        {"$FFFFFFFF", -1, f},
      {"$8000000F", static_cast<int>(0x8000000Fu), f},    {"-$10", -16, f},       {"2147483647", 2147483647, 2147483647.0},
      {"-2147483648", -2147483647 - 1, -2147483648.0},    {"2147483648", d, 2147483648.0},
      {"$100000000", d, f},     {"12abc", d, f},          {"", d, f},             {"0x", d, f},
      {"$", d, f},              {"1.5", d, 1.5},          {"- 5", d, f},          {"1,5", d, f},
      {".5", d, 0.5},           {"-2.5e3", d, -2500},     {"1e999", d, f},        {"infinity", d, f},
      {"true", d, f},
  };
  for (const Case& c : cases) {
    WriteRaw(std::string("[N]\nv=") + c.text + "\n");
    IniFile ini(path_);
    EXPECT_EQ(ini.ReadInteger("N", "v", d), c.integer) << c.text;
    EXPECT_EQ(ini.ReadFloat("N", "v", f), c.number) << c.text;
    EXPECT_EQ(ini.ReadBool("N", "v", true), c.integer != 0) << c.text;
    EXPECT_EQ(ini.ReadBool("N", "v", false), c.integer != 0 && c.integer != d) << c.text;
  }
}

TEST_F(IniFileTest, ReadsForeignFilesAndKeepsTheirLayout) {
  WriteRaw("; written by hand\n"
           "[ General ] trailing\n"
           "  Model = 0x2000  \n"
           "Tag=a=b\r\n"
           "model=999\n"
           "\n"
           "; channel one\n"
           "[Channel1]\n"
           "Name=\n"
           "junk line\n"
           "[CONFIGURA\xC7\xC3O]\n"
           "x=1\n"
           "[general]\n"
           "Late=1\n");
  IniFile ini(path_);
  EXPECT_EQ(ini.ReadInteger("GENERAL", "MODEL", 0), 0x2000);  // the first duplicate wins
  EXPECT_EQ(ini.ReadString("General", "Tag", ""), "a=b");
  EXPECT_EQ(ini.ReadString("General", "Late", "-"), "-");
  EXPECT_TRUE(ini.ValueExists("channel1", "name"));
  EXPECT_EQ(ini.ReadString("Channel1", "Name", "default"), "");
  EXPECT_FALSE(ini.ValueExists("Channel1", "junk line"));
  EXPECT_EQ(ini.ReadInteger("configura\xE7\xE3o", "X", 0), 1);  // accented letters fold too
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"General", "Channel1", "CONFIGURA\xC7\xC3O"}));
  EXPECT_EQ(ini.ReadSection("General"), (std::vector<std::string>{"Model", "Tag"}));

  // A new key goes after the last key of its section, before the blank line and comment.
  ASSERT_TRUE(ini.WriteString("General", "Serial", "1234"));
  ASSERT_TRUE(ini.WriteString("Channel2", "Name", "B"));
  EXPECT_EQ(ReadRaw(),
            "; written by hand\r\n"
            "[General]\r\n"
            "Model=0x2000\r\n"
            "Tag=a=b\r\n"
            "model=999\r\n"
            "Serial=1234\r\n"
            "\r\n"
            "; channel one\r\n"
            "[Channel1]\r\n"
            "Name=\r\n"
            "junk line\r\n"
            "[CONFIGURA\xC7\xC3O]\r\n"
            "x=1\r\n"
            "[general]\r\n"
            "Late=1\r\n"
            "[Channel2]\r\n"
            "Name=B\r\n");
}

TEST_F(IniFileTest, EraseAndDelete) {
  WriteRaw("[A]\nk=1\nK=2\nj=3\n[B]\n[a]\nz=9\n");
  IniFile ini(path_);
  EXPECT_TRUE(ini.SectionExists("a"));
  EXPECT_FALSE(ini.SectionExists("B"));  // a bare header holds no key
  EXPECT_FALSE(ini.SectionExists("C"));
  ASSERT_TRUE(ini.DeleteKey("A", "k"));  // every duplicate goes
  EXPECT_FALSE(ini.ValueExists("A", "K"));
  EXPECT_EQ(ini.ReadSection("A"), std::vector<std::string>{"j"});
  EXPECT_TRUE(ini.DeleteKey("A", "missing"));
  EXPECT_TRUE(ini.DeleteKey("Missing", "k"));
  ASSERT_TRUE(ini.EraseSection("A"));  // both [A] and [a]
  EXPECT_EQ(ini.ReadSections(), std::vector<std::string>{"B"});
  EXPECT_EQ(ReadRaw(), "[B]\r\n");
  EXPECT_TRUE(ini.EraseSection("nothing"));
}

TEST_F(IniFileTest, WritesThatWouldNotReadBackAreRefused) {
  IniFile ini(path_);
  struct Case { std::string section, key, value; };
  const Case cases[] = {
      {"S", "k=v", "1"}, {"S", "", "1"},    {"S", "  ", "1"},    {"", "k", "1"},     {"S]", "k", "1"},
      {"S", "k", "a\nb"}, {"S", "k", "a\rb"}, {"S", "k\n", "1"}, {"S", "[k", "1"},   {"S", ";k", "1"},
      {"S", "k", std::string("a\0b", 3)},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(ini.WriteString(c.section, c.key, c.value)) << c.section << "/" << c.key;
  }
  EXPECT_TRUE(ini.ReadSections().empty());
  EXPECT_EQ(access(path_.c_str(), F_OK), -1);  // nothing was created
}

TEST_F(IniFileTest, ObjectsOnTheSamePathSeeEachOthersWrites) {
  IniFile first(path_), second(path_);
  ASSERT_TRUE(first.WriteInteger("S", "a", 1));
  EXPECT_EQ(second.ReadInteger("S", "a", 0), 1);
  ASSERT_TRUE(second.WriteInteger("S", "b", 2));
  ASSERT_TRUE(first.WriteInteger("S", "c", 3));  // must not drop b
  EXPECT_EQ(ReadRaw(), "[S]\r\na=1\r\nb=2\r\nc=3\r\n");
}

TEST_F(IniFileTest, FailedWriteKeepsTheValueInMemory) {
  IniFile ini(dir_ + "/missing/folder.cfg");
  EXPECT_FALSE(ini.WriteString("S", "k", "kept"));
  EXPECT_EQ(ini.ReadString("S", "k", ""), "kept");
}

TEST_F(IniFileTest, PermissionsAndSymbolicLinksSurviveARewrite) {
  WriteRaw("[S]\nk=1\n");
  ASSERT_EQ(chmod(path_.c_str(), 0640), 0);
  std::string link = dir_ + "/link.cfg";
  ASSERT_EQ(symlink("test.cfg", link.c_str()), 0);
  IniFile ini(link);
  ASSERT_TRUE(ini.WriteInteger("S", "k", 2));
  struct stat st;
  ASSERT_EQ(lstat(link.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  ASSERT_EQ(stat(path_.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(ReadRaw(), "[S]\r\nk=2\r\n");
}

TEST_F(IniFileTest, UnreadableFileIsNeverOverwritten) {
  std::string folder = dir_ + "/folder.cfg";
  ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
  IniFile atFolder(folder);
  EXPECT_FALSE(atFolder.WriteString("S", "k", "v"));

  WriteRaw("[S]\nsecret=1\n");
  ASSERT_EQ(chmod(path_.c_str(), 0), 0);
  if (access(path_.c_str(), R_OK) == 0) return;  // root reads anything: nothing more to see
  IniFile ini(path_);
  EXPECT_FALSE(ini.WriteString("S", "k", "v"));
  ASSERT_EQ(chmod(path_.c_str(), 0600), 0);
  EXPECT_EQ(ReadRaw(), "[S]\nsecret=1\n");
}

}  // namespace
