#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ui/language_file.h"
#include "ui/program_directory.h"

namespace {

using ui::LanguageList;
using Lines = std::vector<std::string>;

struct SplitCase {
  const char* name;
  std::string bytes;
  Lines lines;
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }

class SplitTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, LinesAsTheFileHoldsThem) { EXPECT_EQ(ui::SplitLanguageText(GetParam().bytes), GetParam().lines); }

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

TEST(LanguageSectionTest, HeadingIsTheFirstWholeLineThatMatchesWithCase) {
  const LanguageList list = Loaded("# S \nwrong\n# s\nwrong too\n# S\nright\n# S\nsecond\n");
  ASSERT_NE(list.Section("# S").Text(1), nullptr);
  EXPECT_EQ(*list.Section("# S").Text(1), "right");
  EXPECT_FALSE(list.Section("#").Found());
  EXPECT_FALSE(LanguageList().Section("# S").Found());  // not loaded
}

TEST(LanguageSectionTest, PositionalReadsRunIntoTheNextHeadingAndStopAtTheEnd) {
  // No end marker: a form reading more lines than its section has takes the next heading.
  const LanguageList list = Loaded("# A\na1\n# B\nb1");
  const ui::LanguageSection section = list.Section("# A");
  EXPECT_EQ(section.Available(), 3u);
  EXPECT_EQ(*section.Text(2), "# B");
  EXPECT_EQ(*section.Text(3), "b1");
  EXPECT_EQ(section.Text(4), nullptr);
  EXPECT_EQ(section.Text(0), nullptr);
}

TEST(ApplyLanguageSectionTest, ShortSectionKeepsTheRemainingBuiltInTextsAndNullTargetsKeepTheirPlace) {
  std::vector<std::string> texts(4, "built-in");
  auto into = [&](int i) { return [&texts, i](const std::string& t) { texts[i] = t; }; };
  const LanguageList list = Loaded("# S\none\nskipped\n\n");
  EXPECT_EQ(ui::ApplyLanguageSection(list, "# S", {into(0), nullptr, into(2), into(3)}), 2u);
  EXPECT_EQ(texts, (Lines{"one", "built-in", "", "built-in"}));
  EXPECT_EQ(ui::ApplyLanguageSection(LanguageList(), "# S", {into(0)}), 0u);
}

TEST(LanguageFileTest, LoadsFromFileAndAMissingOrFolderFileLeavesItEmptyAndNotLoaded) {
  const auto dir = std::filesystem::temp_directory_path() / ("tervana_language_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const auto path = (dir / "Tervana.trl").string();
  std::ofstream(path, std::ios::binary) << "# S\r\nx\r\n";
  LanguageList list;
  ASSERT_TRUE(list.LoadFromFile(path));
  EXPECT_EQ(list.Lines(), (Lines{"# S", "x"}));

  std::filesystem::remove(path);
  EXPECT_FALSE(list.LoadFromFile(path));
  EXPECT_FALSE(list.Loaded());
  EXPECT_TRUE(list.Lines().empty());
  std::filesystem::create_directories(path);
  EXPECT_FALSE(list.LoadFromFile(path));
  EXPECT_FALSE(list.Loaded());
  std::filesystem::remove_all(dir);
}

TEST(ProgramDirectoryTest, FilePathsInTheProgramDirectory) {
  ui::SetProgramDirectory("/opt/tervana/");
  EXPECT_EQ(ui::ProgramFilePath("Tervana.trl"), "/opt/tervana/Tervana.trl");
  ui::SetProgramDirectory("/");
  EXPECT_EQ(ui::ProgramFilePath("lasttime.env"), "/lasttime.env");
  ui::SetProgramDirectory("");
  EXPECT_EQ(ui::ProgramFilePath("lasttime.env"), "lasttime.env");
}

}  // namespace
