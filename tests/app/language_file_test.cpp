#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/language_file.h"
#include "app/program_directory.h"

namespace {

using app::LanguageList;
using Lines = std::vector<std::string>;

struct SplitCase {
  const char* name;
  std::string bytes;
  Lines lines;
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }

class SplitTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, LinesAsTheFileHoldsThem) { EXPECT_EQ(app::SplitLanguageText(GetParam().bytes), GetParam().lines); }

INSTANTIATE_TEST_SUITE_P(
    LineEnds, SplitTest,
    testing::Values(SplitCase{"crlf", "a\r\nb\r\n", {"a", "b"}}, SplitCase{"lf", "a\nb\n", {"a", "b"}},
                    SplitCase{"lone_cr", "a\rb", {"a", "b"}}, SplitCase{"no_final_end", "a\r\nb", {"a", "b"}},
                    SplitCase{"empty_lines_are_texts", "a\r\n\r\n\nb\n", {"a", "", "", "b"}},
                    SplitCase{"blanks_kept", "  x \r\n", {"  x "}}, SplitCase{"empty_file", "", {}},
                    SplitCase{"only_line_end", "\r\n", {""}},
                    SplitCase{"cp1252_bytes_untouched", "Op\xE7\xF5\x65s\n", {"Op\xE7\xF5\x65s"}},
                    SplitCase{"utf8_with_bom_becomes_cp1252", "\xEF\xBB\xBFOp\xC3\xA7\xC3\xB5\x65s\r\n", {"Op\xE7\xF5\x65s"}}),
    [](const auto& info) { return std::string(info.param.name); });

LanguageList Loaded(const std::string& text) {
  LanguageList list;
  list.LoadFromText(text);
  return list;
}

TEST(LanguageSectionTest, HeadingMatchesWholeLineAndCaseOnly) {
  const LanguageList list = Loaded("# Form About \r\nwrong\r\n# form about\r\nwrong too\r\n# Form About\r\nright\r\n");
  const app::LanguageSection section = list.Section("# Form About");
  ASSERT_TRUE(section.Found());
  ASSERT_NE(section.Text(1), nullptr);
  EXPECT_EQ(*section.Text(1), "right");
  EXPECT_FALSE(list.Section("# Form").Found());
}

TEST(LanguageSectionTest, FirstOfTwoSectionsWithTheSameHeadingWins) {
  const LanguageList list = Loaded("# S\nfirst\n# S\nsecond\n");
  EXPECT_EQ(*list.Section("# S").Text(1), "first");
}

TEST(LanguageSectionTest, PositionalReadsStopAtTheEndOfTheList) {
  const LanguageList list = Loaded("# S\none\ntwo");
  const app::LanguageSection section = list.Section("# S");
  EXPECT_EQ(section.Available(), 2u);
  EXPECT_EQ(*section.Text(2), "two");
  EXPECT_EQ(section.Text(3), nullptr);
  EXPECT_EQ(section.Text(0), nullptr);
  EXPECT_EQ(list.Section("# missing").Text(1), nullptr);
}

TEST(LanguageSectionTest, SectionsRunIntoTheNextHeading) {
  // There is no end marker: a form reading more lines than its section has takes the next
  // section's heading and texts, exactly as the file lays them out.
  const LanguageList list = Loaded("# A\na1\n# B\nb1\n");
  EXPECT_EQ(*list.Section("# A").Text(2), "# B");
}

TEST(ApplyLanguageSectionTest, ShortSectionKeepsTheRemainingBuiltInTexts) {
  const LanguageList list = Loaded("# S\none\n\n");
  std::vector<std::string> texts = {"built-in 1", "built-in 2", "built-in 3"};
  const std::size_t applied = app::ApplyLanguageSection(
      list, "# S",
      {[&](const std::string& t) { texts[0] = t; }, [&](const std::string& t) { texts[1] = t; },
       [&](const std::string& t) { texts[2] = t; }});
  EXPECT_EQ(applied, 2u);
  EXPECT_EQ(texts, (std::vector<std::string>{"one", "", "built-in 3"}));
}

TEST(ApplyLanguageSectionTest, NullTargetKeepsItsPosition) {
  const LanguageList list = Loaded("# S\none\ntwo\nthree\n");
  std::string first, third;
  EXPECT_EQ(app::ApplyLanguageSection(list, "# S",
                                      {[&](const std::string& t) { first = t; }, nullptr,
                                       [&](const std::string& t) { third = t; }}),
            2u);
  EXPECT_EQ(first, "one");
  EXPECT_EQ(third, "three");
}

TEST(ApplyLanguageSectionTest, NothingWhenNotLoaded) {
  LanguageList list;
  std::string text = "built-in";
  EXPECT_EQ(app::ApplyLanguageSection(list, "# S", {[&](const std::string& t) { text = t; }}), 0u);
  EXPECT_FALSE(list.Section("# S").Found());
  EXPECT_EQ(text, "built-in");
}

class LanguageFileTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("tervana_language_" + std::to_string(::getpid()) + "_" +
            testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path dir_;
};

TEST_F(LanguageFileTest, LoadsFromFileAndReloadReplacesTheList) {
  const auto path = (dir_ / "Tervana.trl").string();
  std::ofstream(path, std::ios::binary) << "# S\r\nx\r\n";
  LanguageList list;
  ASSERT_TRUE(list.LoadFromFile(path));
  EXPECT_TRUE(list.Loaded());
  EXPECT_EQ(list.Lines(), (Lines{"# S", "x"}));

  std::filesystem::remove(path);
  EXPECT_FALSE(list.LoadFromFile(path));
  EXPECT_FALSE(list.Loaded());
  EXPECT_TRUE(list.Lines().empty());
}

TEST_F(LanguageFileTest, AFolderInPlaceOfTheFileIsNotLoaded) {
  std::filesystem::create_directories(dir_ / "Tervana.trl");
  LanguageList list;
  EXPECT_FALSE(list.LoadFromFile((dir_ / "Tervana.trl").string()));
  EXPECT_FALSE(list.Loaded());
}

TEST(ProgramDirectoryTest, FilePathsInTheProgramDirectory) {
  app::SetProgramDirectory("/opt/tervana/");
  EXPECT_EQ(app::ProgramDirectory(), "/opt/tervana");
  EXPECT_EQ(app::ProgramFilePath("Tervana.trl"), "/opt/tervana/Tervana.trl");
  app::SetProgramDirectory("/");
  EXPECT_EQ(app::ProgramFilePath("lasttime.env"), "/lasttime.env");
  app::SetProgramDirectory("");
  EXPECT_EQ(app::ProgramFilePath("lasttime.env"), "lasttime.env");
}

}  // namespace
