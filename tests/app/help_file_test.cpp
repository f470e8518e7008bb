#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/help_file.h"
#include "support/unattended_pipe.h"

namespace {

std::string U32(std::uint32_t v) {
  return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
}
std::string U16(std::uint16_t v) { return {static_cast<char>(v), static_cast<char>(v >> 8)}; }

// A name of this process's own: test runs of other builds on the machine never share it.
std::filesystem::path TempFile(const std::string& stem) {
  return std::filesystem::temp_directory_path() / (stem + "_" + std::to_string(::getpid()) + ".chm");
}

const std::string kStrings = std::string("\0index.htm\0sub\\page.htm\0", 24);

TEST(ContextMapTest, PairsPointIntoTheStringsAndDamagedTablesGiveWhatIsSound) {
  auto map = app::ParseContextMap(U32(16) + U32(1) + U32(1) + U32(20) + U32(11), kStrings);
  EXPECT_EQ(map.TopicName(1), "index.htm");
  EXPECT_EQ(map.TopicName(20), "sub\\page.htm");
  EXPECT_EQ(map.TopicName(2), std::nullopt);
  // A count beyond the table, a pair cut short, an offset past the strings, an empty name;
  // a context named twice keeps its first sound name.
  map = app::ParseContextMap(U32(1000) + U32(2) + U32(500) + U32(3) + U32(0) + U32(2) + U32(11) + U32(2) + U32(1) +
                                 U32(4),
                             kStrings);
  EXPECT_EQ(map.TopicName(2), "sub\\page.htm");
  EXPECT_EQ(map.TopicName(3), std::nullopt);
  EXPECT_EQ(map.TopicName(4), std::nullopt);
  EXPECT_EQ(app::ParseContextMap(U32(1000) + U32(7) + U32(1) + U32(8), kStrings).TopicName(7), "index.htm");
  EXPECT_EQ(app::ParseContextMap("", kStrings).TopicName(0), std::nullopt);
  EXPECT_EQ(app::ParseContextMap(U32(8) + U32(1) + U32(1), "").TopicName(1), std::nullopt);
}

TEST(ContextMapTest, ANameMustEndWithinAPathsLength) {
  const std::string longest(app::kMaxTopicNameLength, 'a');
  const std::string strings = std::string(1, '\0') + longest + std::string(1, '\0') + longest + "b" +
                              std::string(1, '\0') + "tail.htm";
  const std::uint32_t tooLong = static_cast<std::uint32_t>(longest.size()) + 2;
  const std::uint32_t tail = tooLong + static_cast<std::uint32_t>(longest.size()) + 2;
  const std::string table = U32(24) + U32(1) + U32(1) + U32(2) + U32(tooLong) + U32(3) + U32(tail);
  const auto map = app::ParseContextMap(table, strings);
  EXPECT_EQ(map.TopicName(1), longest);
  EXPECT_EQ(map.TopicName(2), std::nullopt);
  EXPECT_EQ(map.TopicName(3), "tail.htm");  // the block's end ends it
}

TEST(DefaultTopicTest, FoundAmongTheSystemRecordsAndNoneWhenAbsentOrCut) {
  const std::string system = U32(3) + U16(9) + U16(4) + "abcd" + U16(2) + U16(10) + std::string("index.htm\0", 10) +
                             U16(3) + U16(2) + "T";
  EXPECT_EQ(app::ParseDefaultTopic(system), "index.htm");
  EXPECT_EQ(app::ParseDefaultTopic(U32(3) + U16(3) + U16(2) + "T"), std::nullopt);
  EXPECT_EQ(app::ParseDefaultTopic(U32(3) + U16(2) + U16(40) + "index.htm"), std::nullopt);
  EXPECT_EQ(app::ParseDefaultTopic(""), std::nullopt);
}

TEST(TopicPathTest, StoredNamesBecomeObjectPaths) {
  EXPECT_EQ(app::NormaliseTopicPath("index.htm"), "/index.htm");
  EXPECT_EQ(app::NormaliseTopicPath("sub\\page.htm"), "/sub/page.htm");
  EXPECT_EQ(app::NormaliseTopicPath("/a/b.htm#part"), "/a/b.htm");
  EXPECT_EQ(app::NormaliseTopicPath("Tervana.chm::/x.htm"), "/x.htm");
}

// Topics by context number are checked through the help window; here what it does not show.
TEST(CompiledHelpFileTest, PagesReadWholeAndWithoutCase) {
  if (std::string(TEST_HELP_FILE).empty()) GTEST_SKIP() << "no help compiler";
  app::HelpFile file;
  ASSERT_TRUE(file.Open(TEST_HELP_FILE));
  const auto page = file.Read("/READINGS.HTM");
  ASSERT_TRUE(page.has_value());
  EXPECT_NE(page->find("Configura\xE7\xE3o das leituras"), std::string::npos);
  EXPECT_NE(page->find("</html>"), std::string::npos);
  EXPECT_FALSE(file.Read("/absent.htm").has_value());
  EXPECT_EQ(file.TopicOfContext(99), std::nullopt);
}

TEST(HelpFileTest, MissingOrForeignFilesDoNotOpen) {
  app::HelpFile file;
  EXPECT_FALSE(file.Open("/nonexistent/Tervana.chm"));
  const auto path = TempFile("tervana_not_a_help_file");
  std::ofstream(path, std::ios::binary) << std::string(4096, 'x');
  EXPECT_FALSE(file.Open(path.string()));
  EXPECT_FALSE(file.IsOpen());
  EXPECT_FALSE(file.DefaultTopic().has_value());
  std::filesystem::remove(path);
  // The decoder would wait in a named pipe's open: the pipe is refused first, saying what it is.
  const testsupport::UnattendedPipe pipe(TempFile("tervana_help_pipe").string());
  std::string error;
  EXPECT_FALSE(file.Open(pipe.Path(), &error));
  EXPECT_EQ(error, "it is a named pipe");
}

}  // namespace

namespace {

// The decoder library underneath crashes on some damaged files; a damaged help file must
// cost the help, never the program. Each damaged copy is opened and read the way F1 does.
TEST(CompiledHelpFileTest, DamagedCopiesNeverTakeTheProgramDown) {
  if (std::string(TEST_HELP_FILE).empty()) GTEST_SKIP() << "no help compiler";
  std::ifstream in(TEST_HELP_FILE, std::ios::binary);
  const std::string good((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(good.size(), 512u);
  const auto path = TempFile("tervana_damaged_help");
  std::uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  for (int copy = 0; copy < 600; ++copy) {
    std::string bytes = good;
    const int changes = 1 + static_cast<int>(next() % 8);
    for (int i = 0; i < changes; ++i) {
      // Half of the damage in the headers and directory, where the decoder takes its sizes.
      const std::size_t span = next() % 2 ? std::min<std::size_t>(bytes.size(), 8192) : bytes.size();
      const std::size_t at = next() % span;
      if (next() % 3 == 0) {
        for (std::size_t k = at; k < bytes.size() && k < at + 4; ++k) bytes[k] = '\xFF';
      } else {
        bytes[at] = static_cast<char>(next());
      }
    }
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    app::HelpFile file;
    if (!file.Open(path.string())) continue;
    for (std::uint32_t context = 0; context < 40; ++context) {
      if (const auto topic = file.TopicOfContext(context)) file.Read(*topic);
    }
    if (const auto topic = file.DefaultTopic()) file.Read(*topic);
    file.Read("/READINGS.HTM");
  }
  std::filesystem::remove(path);
}

}  // namespace
