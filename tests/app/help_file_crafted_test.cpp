// Help files made byte by byte with tables no help compiler writes: what the reader holds must
// follow what the file holds, and running out of memory must cost the help, not the program.
// The damaging cases run in a child process whose address space is capped a little above what
// it already uses, so a reader that takes gigabytes fails there instead of on the machine. That
// child comes from a fresh run of this binary: what earlier cases left in this process (a malloc
// arena of an ended thread) would let a read that the cap must refuse through.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "app/help_file.h"
#include "support/fresh_process.h"
#include "support/help_file_builder.h"

namespace {

using testsupport::BuildHelpFile;
using testsupport::ContextTable;
using testsupport::HelpObject;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSpaceCapWorks = false;  // the sanitizer reserves terabytes up front
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer)
constexpr bool kAddressSpaceCapWorks = false;
#else
constexpr bool kAddressSpaceCapWorks = true;
#endif
#else
constexpr bool kAddressSpaceCapWorks = true;
#endif

constexpr std::uint64_t kMiB = 1024 * 1024;

std::uint64_t AddressSpaceInUse() {
  unsigned long long pages = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%llu", &pages) != 1) pages = 0;
    std::fclose(statm);
  }
  return pages * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
}

class CraftedHelpFileTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!kAddressSpaceCapWorks) GTEST_SKIP() << "address space cap unusable under a sanitizer";
  }
  void TearDown() override { std::filesystem::remove(path_); }

  // Expects `work` to return true in a fresh child that may map only `headroom` bytes more than
  // it had; the file that child wrote goes with it.
  void ExpectPassesWithHeadroom(std::uint64_t headroom, const std::function<bool()>& work) {
    testsupport::ExpectPassesInFreshProcess(
        [&] {
          const rlim_t limit = AddressSpaceInUse() + headroom;
          const rlimit cap{limit, limit};
          if (::setrlimit(RLIMIT_AS, &cap) != 0) return false;
          return work();
        },
        120000, [this] { std::filesystem::remove(path_); });
  }

  std::string Write(const std::vector<HelpObject>& objects) {
    std::ofstream(path_, std::ios::binary | std::ios::trunc) << BuildHelpFile(objects);
    return path_.string();
  }

  const std::string kPage = "<html><body>T\xF3pico do contexto 20.</body></html>";
  std::filesystem::path path_ =
      std::filesystem::temp_directory_path() / ("tervana_crafted_help_" + std::to_string(::getpid()) + ".chm");
};

TEST_F(CraftedHelpFileTest, TheBuiltFileReadsAsAHelpFile) {
  // What the other cases build on: the reader takes the builder's files as the compiler's.
  const std::string path = Write({{"/#IVB", ContextTable({{20, 1}})},
                                  {"/#STRINGS", std::string("\0readings.htm\0", 14)},
                                  {"/readings.htm", kPage},
                                  {"/index.htm", "<html>index</html>"}});
  app::HelpFile file;
  ASSERT_TRUE(file.Open(path));
  EXPECT_EQ(file.TopicOfContext(20), "/readings.htm");
  EXPECT_EQ(file.Read("/readings.htm"), kPage);
  EXPECT_EQ(file.DefaultTopic(), "/readings.htm");
}

// Every pair of a damaged table points into one megabyte of strings without a zero byte; a
// sound pair for context 20 comes first. Copying each pair's name to the next zero byte held
// gigabytes (16 KB of pairs: 2 GB; 480 KB: an allocation failure that ended the program).
TEST_F(CraftedHelpFileTest, PairsIntoANameWithoutEndCostNoMoreThanTheFileHolds) {
  const std::string strings = std::string("\0readings.htm\0", 14) + std::string(kMiB, 'x');
  for (const std::uint32_t tableBytes : {16u * 1024, 480u * 1024}) {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> pairs{{20, 1}};
    for (std::uint32_t i = 1; i < tableBytes / 8; ++i) {
      pairs.emplace_back(1000 + i, static_cast<std::uint32_t>(14 + i * 97 % kMiB));
    }
    const std::string path = Write({{"/#IVB", ContextTable(pairs)}, {"/#STRINGS", strings}, {"/readings.htm", kPage}});
    SCOPED_TRACE(std::to_string(tableBytes) + " bytes of pairs");
    ExpectPassesWithHeadroom(64 * kMiB, [&] {
      app::HelpFile file;
      return file.Open(path) && file.TopicOfContext(20) == "/readings.htm" && !file.TopicOfContext(1001) &&
             file.Read("/readings.htm") == kPage;
    });
  }
}

// A directory that claims 60 MB for a page of a few bytes: only what the file yields is held.
TEST_F(CraftedHelpFileTest, AnObjectIsHeldAsFarAsTheFileGoesNotAsLongAsItsDirectoryClaims) {
  const std::string path = Write({{"/#IVB", ContextTable({{20, 1}})},
                                  {"/#STRINGS", std::string("\0readings.htm\0", 14)},
                                  {"/readings.htm", kPage, 60 * kMiB}});
  ExpectPassesWithHeadroom(32 * kMiB, [&] {
    app::HelpFile file;
    return file.Open(path) && file.Read("/readings.htm") == kPage;
  });
}

// An object larger than the memory left is not read; the file stays usable for the rest.
TEST_F(CraftedHelpFileTest, AnObjectTooLargeForTheMemoryLeftIsNotReadAndTheRestStaysReadable) {
  const std::string path = Write({{"/#IVB", ContextTable({{20, 1}})},
                                  {"/#STRINGS", std::string("\0readings.htm\0", 14)},
                                  {"/big.htm", std::string(24 * kMiB, 'b')},
                                  {"/readings.htm", kPage}});
  ExpectPassesWithHeadroom(8 * kMiB, [&] {
    app::HelpFile file;
    return file.Open(path) && !file.Read("/big.htm") && file.TopicOfContext(20) == "/readings.htm" &&
           file.Read("/readings.htm") == kPage;
  });
  // With memory enough the same object reads whole.
  app::HelpFile file;
  ASSERT_TRUE(file.Open(path));
  const auto big = file.Read("/big.htm");
  ASSERT_TRUE(big.has_value());
  EXPECT_EQ(big->size(), 24 * kMiB);
}

}  // namespace
