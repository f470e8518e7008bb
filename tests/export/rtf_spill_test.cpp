// A long rich-text document written to a file: its body goes through the disk, so what the
// run holds stays flat in the rows, yet the file is byte for byte the document made in memory
// (a font and a colour first met on the last row still join the tables in front). A body that
// can't be set aside fails the run and leaves the file that was there, and nothing beside it.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "document_fixtures.h"
#include "export/library_strings.h"
#include "export/vantrix3_rtf.h"
#include "support/allocation_meter.h"

namespace {

using namespace vantrix;
using exporttest::TextSource;

constexpr int kRows = 30000;

class RtfSpill : public ::testing::Test {
 protected:
  RtfSpill() : source_(exporttest::NumberedCaptions(4), exporttest::NumberedRows(kRows, 4)) {
    rtf_.SetTextMeasure(&measure_);
    rtf_.OnGetDataStyle = [](TVantrix3&, int row, int, TrtfStyle& style) {
      if (row == kRows - 1) {
        style.Font.name = "Courier New";
        style.Font.color = 0x0000FF;
      }
    };
  }
  // The run to the file, as the exporters run to files.
  void ExportToFile(const std::string& path) {
    rtf_.Formats().SetSettings(exporttest::CSettings());
    rtf_.Formats().ResetFormats();
    rtf_.SetExportSource(esCustom);
    rtf_.SetCustomSource(&source_);
    rtf_.FileName = path;
    source_.ClearEof();
    rtf_.Execute();
  }

  FixedTextMeasure measure_{8};
  TVantrix3RTF rtf_;
  TextSource source_;
  exporttest::TempFolder folder_;
};

TEST_F(RtfSpill, ALongBodyGoesThroughTheDiskAndComesOutAsMadeInMemory) {
  const std::string inMemory = exporttest::Export(rtf_, source_);
  ASSERT_GT(inMemory.size(), 6u * TVantrixRTFWriter::kBodyChunk);
  EXPECT_NE(inMemory.find("{\\f2\\fnil Courier New;}}"), std::string::npos);
  EXPECT_NE(inMemory.find("\\red255\\green0\\blue0;}"), std::string::npos);

  const std::string path = folder_ / "out.rtf";
  allocation_meter::Restart();
  ExportToFile(path);
  EXPECT_LT(allocation_meter::PeakSinceRestart(), 3 * TVantrixRTFWriter::kBodyChunk);
  EXPECT_TRUE(exporttest::ReadFile(path) == inMemory);
  EXPECT_EQ(folder_.Names(), std::vector<std::string>{"out.rtf"});
}

TEST_F(RtfSpill, ABodyThatCannotBeSetAsideFailsTheRunAndLeavesTheFileBefore) {
  const std::string path = folder_ / "out.rtf";
  exporttest::WriteFile(path, "before");
  // Files of at most 2 MB, writes past that failing (their signal ignored): a full disk.
  struct rlimit before;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = before;
  small.rlim_cur = 2 * TVantrixRTFWriter::kBodyChunk;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  std::string message;
  try {
    ExportToFile(path);
  } catch (const EVantrixError& e) {
    message = e.what();
  }
  setrlimit(RLIMIT_FSIZE, &before);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(message, "Cannot write the file \"" + path + "\": cannot write a temporary file beside it: File too large");
  EXPECT_EQ(exporttest::ReadFile(path), "before");
  EXPECT_EQ(folder_.Names(), std::vector<std::string>{"out.rtf"});
}

}  // namespace
