// The buffered history writer: what reaches the file and when, and that nothing buffered is
// lost when the file refuses it for a while.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "acquisition/hist_file.h"
#include "platform/isolated_run.h"

namespace {

namespace fs = std::filesystem;
using acquisition::HistFile;

class FakeClock : public platform::MonotonicClock {
 public:
  uint64_t NowMs() const override { return now; }
  uint64_t now = 1000;
};

class HistFileTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("histfile_" + std::to_string(::getpid()) + "_" +
                                        testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    path_ = (dir_ / "dados.mpc").string();
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Contents() const {
    std::ifstream in(path_, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  void WriteFile(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }

  fs::path dir_;
  std::string path_;
  FakeClock clock_;
};

TEST_F(HistFileTest, OpeningCreatesTruncatesOrKeeps) {
  {
    HistFile file(path_, clock_);
    ASSERT_TRUE(file.Open(false));  // a missing file is created empty whatever was asked
    EXPECT_TRUE(fs::exists(path_));
    EXPECT_EQ(Contents(), "");
  }
  WriteFile("antigo\n");
  {
    HistFile file(path_, clock_);
    ASSERT_TRUE(file.Open(false));
    EXPECT_EQ(Contents(), "antigo\n");
    file.Write("novo");
    file.NewLine();
  }  // the writer's end flushes
  EXPECT_EQ(Contents(), "antigo\nnovo\n");
  {
    HistFile file(path_, clock_);
    ASSERT_TRUE(file.Open(true));
    EXPECT_EQ(Contents(), "");
  }
  HistFile nowhere((dir_ / "no" / "such" / "folder.mpc").string(), clock_);
  EXPECT_FALSE(nowhere.Open(true));
  EXPECT_FALSE(nowhere.Write("x"));
  EXPECT_FALSE(nowhere.LastError().empty());
  HistFile device("/dev/full", clock_);  // a device is no history file
  EXPECT_FALSE(device.Open(false));
  EXPECT_EQ(device.LastError(), "it is a device");
}

// A recording killed in the middle of a line left a half line; what is appended later starts
// on a line of its own and the half line, never data to a reader, is taken off. A long last
// line is searched back over more than one block.
TEST_F(HistFileTest, AppendingAfterAHalfLastLineStartsALineOfItsOwn) {
  const std::string header = " , , Sonda\n , , Temp\n , , \xB0" "C\n";
  const std::string longHalf = "01/01/2026, 00:00:01.000, " + std::string(9000, '7');
  const struct { std::string before, kept; } cases[] = {
      {header + "01/01/2026, 00:00:00.000, 21.5\n01/01/2026, 00:00:01.000, 2", header + "01/01/2026, 00:00:00.000, 21.5\n"},
      {header + longHalf, header},
      {header, header},
      {"", ""},
      {"sem fim de linha", "sem fim de linha\n"},
  };
  for (const auto& c : cases) {
    WriteFile(c.before);
    {
      HistFile file(path_, clock_);
      ASSERT_TRUE(file.Open(false));
      file.Write("##_New_Start_##\n");
    }
    EXPECT_EQ(Contents(), c.kept + "##_New_Start_##\n") << c.before.substr(0, 60);
  }
}

TEST_F(HistFileTest, TheBufferGoesOutWhenFullOrWhenTheTimerFires) {
  HistFile file(path_, clock_);
  ASSERT_TRUE(file.Open(true));
  EXPECT_EQ(file.FlushInterval(), 2000u);
  const std::string first(2000, 'a');
  ASSERT_TRUE(file.Write(first));
  EXPECT_EQ(Contents(), "");
  ASSERT_TRUE(file.Write(std::string(100, 'b')));  // does not fit: the 2000 go first
  EXPECT_EQ(Contents(), first);
  EXPECT_EQ(file.Used(), 100u);

  // A full buffer is flushed before the line feed goes in.
  HistFile full((dir_ / "full.mpc").string(), clock_);
  ASSERT_TRUE(full.Open(true));
  ASSERT_TRUE(full.Write(std::string(HistFile::kBufferSize, 'c')));
  ASSERT_TRUE(full.NewLine());
  EXPECT_EQ(fs::file_size(dir_ / "full.mpc"), HistFile::kBufferSize);
  EXPECT_EQ(full.Used(), 1u);

  // The timer: nothing before its period, everything at it, and again one period later.
  clock_.now += 1999;
  file.Poll();
  EXPECT_EQ(file.Used(), 100u);
  clock_.now += 1;
  file.Poll();
  EXPECT_EQ(file.Used(), 0u);
  EXPECT_EQ(Contents(), first + std::string(100, 'b'));
  file.SetFlushInterval(10);  // never below 100 ms
  EXPECT_EQ(file.FlushInterval(), 100u);
  file.Write("z");
  clock_.now += 99;
  file.Poll();
  EXPECT_EQ(file.Used(), 1u);
  clock_.now += 1;
  file.Poll();
  EXPECT_EQ(file.Used(), 0u);
}

TEST_F(HistFileTest, ATextLongerThanTheBufferIsWrittenWhole) {
  HistFile file(path_, clock_);
  ASSERT_TRUE(file.Open(true));
  ASSERT_TRUE(file.Write("cabe\n"));
  std::string longText;
  for (int i = 0; i < 500; ++i) longText += "1234567890";
  ASSERT_TRUE(file.Write(longText));
  ASSERT_TRUE(file.Write("\n"));
  file.Close();
  EXPECT_EQ(Contents(), "cabe\n" + longText + "\n");
}

TEST_F(HistFileTest, AFailedFlushKeepsWhatItCouldNotWrite) {
  HistFile file(path_, clock_);
  ASSERT_TRUE(file.Open(true));
  ASSERT_TRUE(file.Write("linha 1\n"));
  // Another program took the file away: the flush fails and keeps the line.
  fs::remove(path_);
  fs::create_directory(path_);
  EXPECT_FALSE(file.Flush());
  EXPECT_EQ(file.Used(), 8u);
  EXPECT_FALSE(file.LastError().empty());
  // A text that does not fit while the file stays away is refused; the buffer is kept.
  EXPECT_FALSE(file.Write(std::string(HistFile::kBufferSize, 'x')));
  EXPECT_EQ(file.Used(), 8u);
  fs::remove(path_);
  WriteFile("");
  ASSERT_TRUE(file.Write("linha 2\n"));
  EXPECT_TRUE(file.Flush());
  EXPECT_EQ(Contents(), "linha 1\nlinha 2\n");

  // A disk that takes nothing more (a child's, whose files may not grow): every flush fails
  // and keeps every byte.
  const auto full = platform::RunIsolated([this] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit nothing{0, 0};
    ::setrlimit(RLIMIT_FSIZE, &nothing);
    HistFile disk(path_, clock_);
    return disk.Open(true) && disk.Write("sem espaço\n") && !disk.Flush() &&
           disk.Used() == std::string("sem espaço\n").size();
  }, 60000);
  EXPECT_EQ(full, platform::IsolatedResult::Passed);
}

TEST_F(HistFileTest, ClosingAnEmptyBufferDoesNotTouchTheFile) {
  HistFile file(path_, clock_);
  ASSERT_TRUE(file.Open(true));
  fs::remove(path_);
  fs::create_directory(path_);  // any write would fail and say so
  file.Close();
  EXPECT_EQ(file.LastError(), "");
  EXPECT_FALSE(file.IsOpen());
  EXPECT_FALSE(file.Write("x"));
}

}  // namespace
