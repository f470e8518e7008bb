// The writer's pieces put together into a workbook that programs we did not write read back
// without a word of complaint: Debian's python3 with xlrd, and gnumeric's ssconvert. Also the
// compound file's own frame: its signature, 512-byte sectors, and a file that appears only
// when complete.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unistd.h>

#include "export/export_fixtures.h"
#include "export/xls/compound_file.h"
#include "platform/le_bytes.h"
#include "reader_check.h"
#include "run_program.h"
#include "sample_workbook.h"

namespace {

using exporttest::ReadFile;
using exporttest::TempFolder;

using xlstest::FromUtf16;
using xlstest::ProgramRun;
using xlstest::RunProgram;

class ReadBack : public testing::Test {
 protected:
  void SetUp() override {
    path_ = folder_ / "leituras.xls";
    xlstest::WriteSampleWorkbook(path_);
  }
  TempFolder folder_;
  std::string path_;
};

TEST_F(ReadBack, CompoundFileHasItsSignatureAnd512ByteSectors) {
  const std::string bytes = ReadFile(path_);
  ASSERT_GE(bytes.size(), 512u);
  EXPECT_EQ(bytes.substr(0, 8), std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
  const auto* b = reinterpret_cast<const uint8_t*>(bytes.data());
  EXPECT_EQ(le_bytes::GetU16(b, 28), 0xFFFE);  // little-endian byte order mark
  EXPECT_EQ(le_bytes::GetU16(b, 30), 9);       // sectors of 2^9 bytes
  EXPECT_EQ(le_bytes::GetU16(b, 32), 6);       // mini sectors of 64
  EXPECT_EQ((bytes.size() - 512) % 512, 0u);
  // Nothing else was left in the folder: the temporary file became the workbook.
  EXPECT_EQ(folder_.Names(), std::vector<std::string>{"leituras.xls"});
}

TEST_F(ReadBack, OurReaderLoadsTheCellsXlrdReads) { xlstest::ExpectReaderMatchesXlrd(path_); }

TEST_F(ReadBack, XlrdReadsEveryCellSilently) {
  const ProgramRun run = RunProgram("/usr/bin/python3",
                             {QString(XLS_TEST_SCRIPT_DIR) + "/read_workbook.py", QString::fromStdString(path_)});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();

  const QJsonObject book = QJsonDocument::fromJson(run.out).object();
  const QJsonArray sheets = book["sheets"].toArray();
  ASSERT_EQ(sheets.size(), 1);
  const QJsonObject sheet = sheets[0].toObject();
  EXPECT_EQ(sheet["name"].toString(), "Leituras");
  EXPECT_EQ(sheet["rows"].toInt(), 3);
  EXPECT_EQ(sheet["cols"].toInt(), 3);
  const QJsonArray cells = sheet["cells"].toArray();
  ASSERT_EQ(cells.size(), 4);

  const QJsonObject label = cells[0].toObject();
  EXPECT_EQ(label["value"].toString(), FromUtf16(xlstest::kLabel));
  EXPECT_EQ(label["font"].toString(), "arial");
  EXPECT_EQ(label["weight"].toInt(), 400);

  const QJsonObject number = cells[1].toObject();
  EXPECT_EQ(number["col"].toInt(), 1);
  EXPECT_EQ(number["value"].toDouble(), xlstest::kNumber);
  EXPECT_EQ(number["xf"].toInt(), 16);
  EXPECT_EQ(number["format"].toString(), "0.00");
  EXPECT_EQ(number["weight"].toInt(), 700);
  EXPECT_EQ(number["underline"].toInt(), 1);
  EXPECT_EQ(number["colour"].toInt(), 10);  // the palette's red
  EXPECT_EQ(number["bottom_border"].toInt(), 1);

  const QJsonObject longText = cells[2].toObject();
  EXPECT_EQ(longText["row"].toInt(), 1);
  EXPECT_EQ(longText["value"].toString(), FromUtf16(xlstest::LongText()));

  const QJsonObject shared = cells[3].toObject();
  EXPECT_EQ(shared["row"].toInt(), 2);
  EXPECT_EQ(shared["col"].toInt(), 2);
  EXPECT_EQ(shared["value"].toString(), FromUtf16(xlstest::kLabel));
}

TEST_F(ReadBack, SsconvertReadsEveryCellSilently) {
  const std::string csv = folder_ / "leituras.csv";
  const ProgramRun run = RunProgram("ssconvert", {"--export-type=Gnumeric_stf:stf_assistant", "-O", "format=preserve quoting-mode=never", QString::fromStdString(path_),
                                           QString::fromStdString(csv)});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
  EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
  const QStringList lines = QString::fromUtf8(QByteArray::fromStdString(ReadFile(csv))).split('\n');
  ASSERT_GE(lines.size(), 3);
  EXPECT_EQ(lines[0], FromUtf16(xlstest::kLabel) + ",1234.50,");
  EXPECT_EQ(lines[1], FromUtf16(xlstest::LongText()) + ",,");
  EXPECT_EQ(lines[2], ",," + FromUtf16(xlstest::kLabel));
}

// The message of a file that cannot be created; empty when it could.
std::string CreateError(const std::string& path) {
  try {
    vantrix::CreateXLSStream(path);
  } catch (const vantrix::ExlsFileError& e) {
    return e.what();
  }
  return {};
}

// The user is told about the file named, and why; never about the temporary file the
// workbook is written into first, which the user has never heard of.
TEST(CompoundFile, UnwritablePathRaisesNamingTheFileAndLeavesNothing) {
  TempFolder folder;
  const std::string missing = folder.Path() + "/no such folder/out.xls";
  EXPECT_EQ(CreateError(missing),
            "Cannot create the file \"" + missing + "\": cannot create a file beside it: " + std::strerror(ENOENT));
  std::filesystem::create_directory(folder / "taken");
  EXPECT_EQ(CreateError(folder / "taken"),
            "Cannot create the file \"" + (folder / "taken") + "\": it is a folder, and only a regular file is replaced");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"taken"});
  std::filesystem::remove(folder / "taken");

  std::filesystem::permissions(folder.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  if (::geteuid() != 0) {  // root writes anywhere
    const std::string out = folder / "out.xls";
    EXPECT_EQ(CreateError(out), "Cannot create the file \"" + out + "\": cannot create a file beside it: " + std::strerror(EACCES));
  }
  std::filesystem::permissions(folder.Path(), std::filesystem::perms::owner_all);
  EXPECT_TRUE(folder.Names().empty());
}

TEST(CompoundFile, DroppedOrCommittedTwiceLeavesTheTargetAsItWas) {
  TempFolder folder;
  const std::string path = folder / "out.xls";
  exporttest::WriteFile(path, "the old file");
  {
    auto file = vantrix::CreateXLSStream(path);
    file->Stream().Write("half a workbook", 15);
  }
  EXPECT_EQ(ReadFile(path), "the old file");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"out.xls"});

  auto file = vantrix::CreateXLSStream(path);
  file->Stream().Write("whole", 5);
  file->Commit();
  EXPECT_NE(ReadFile(path), "the old file");
  EXPECT_THROW(file->Commit(), vantrix::ExlsFileError);
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"out.xls"});
}

}  // namespace
