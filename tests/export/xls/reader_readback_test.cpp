// The workbook reader beside xlrd: workbooks made by gnumeric (committed fixtures) and every
// kind export_table writes load with the cells xlrd finds; a workbook loaded and saved again
// reads the same in xlrd; the compound-file layer refuses what is no workbook.
#include <gsf/gsf.h>
#include <gtest/gtest.h>

#include <QStringList>
#include <filesystem>
#include <fstream>

#include "export/export_fixtures.h"
#include "export/xls/workbook_dump.h"
#include "export/xls/xls_file.h"
#include "export/xls/xls_stream.h"
#include "run_program.h"

namespace {

using namespace vantrix;
using exporttest::TempFolder;
using xlstest::ProgramRun;
using xlstest::RunProgram;

const QString kScripts = XLS_TEST_SCRIPT_DIR;

std::string XlrdCells(const std::string& path) {
  const ProgramRun run = RunProgram("/usr/bin/python3", {kScripts + "/xlrd_cells.py", QString::fromStdString(path)});
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
  return run.out.toStdString();
}

std::string OurCells(const std::string& path) {
  TxlsFile file;
  file.FileName = path;
  file.Load();
  return DumpCells(file.Workbook());
}

// A compound file holding one stream of the name and bytes.
void WriteCompoundFile(const std::string& path, const char* streamName, const std::vector<uint8_t>& bytes) {
  GError* error = nullptr;
  GsfOutput* sink = gsf_output_stdio_new(path.c_str(), &error);
  ASSERT_NE(sink, nullptr);
  GsfOutfile* ole = gsf_outfile_msole_new(sink);
  GsfOutput* child = gsf_outfile_new_child(ole, streamName, FALSE);
  gsf_output_write(child, bytes.size(), bytes.data());
  gsf_output_close(child);
  g_object_unref(child);
  gsf_output_close(GSF_OUTPUT(ole));
  g_object_unref(ole);
  g_object_unref(sink);
}

// What encryption makes of a workbook: a FILEPASS record (RC4, with its salt and verifier)
// after the globals' BOF, and every later record's body run through an RC4 key stream but for
// the BOFs and the BOUNDSHEETs' sheet offsets, which stay readable (and move by the record
// put in).
std::vector<uint8_t> Encrypted(const std::vector<uint8_t>& stream) {
  std::vector<uint8_t> filePass = {0x2F, 0x00, 54, 0x00, 1, 0, 1, 0, 1, 0};
  for (int i = 0; i < 48; ++i) filePass.push_back(static_cast<uint8_t>(i * 37 + 11));
  const size_t bofEnd = 4u + GetWord(stream, 2);
  std::vector<uint8_t> out(stream.begin(), stream.begin() + static_cast<ptrdiff_t>(bofEnd));
  out.insert(out.end(), filePass.begin(), filePass.end());
  uint8_t box[256];
  for (int i = 0; i < 256; ++i) box[i] = static_cast<uint8_t>(i);
  for (int i = 0, j = 0; i < 256; ++i) {
    j = (j + box[i] + (i * 7 + 3) % 251) % 256;
    std::swap(box[i], box[j]);
  }
  uint8_t x = 0, y = 0;
  for (size_t at = bofEnd; at + 4 <= stream.size(); at += 4u + GetWord(stream, at + 2)) {
    const uint16_t id = GetWord(stream, at), size = GetWord(stream, at + 2);
    const size_t start = out.size();
    out.insert(out.end(), stream.begin() + static_cast<ptrdiff_t>(at), stream.begin() + static_cast<ptrdiff_t>(at + 4 + size));
    if (id == 0x0809) continue;
    for (size_t i = id == 0x0085 ? 4 : 0; i < size; ++i) {
      y = static_cast<uint8_t>(y + box[++x]);
      std::swap(box[x], box[y]);
      out[start + 4 + i] ^= box[static_cast<uint8_t>(box[x] + box[y])];
    }
    if (id == 0x0085) SetInteger(out, start + 4, GetInteger(out, start + 4) + static_cast<uint32_t>(filePass.size()));
  }
  return out;
}

class ReaderReadBack : public testing::Test {
 protected:
  std::string Export(const QStringList& args, const std::string& name) {
    const std::string path = folder_ / name;
    const ProgramRun run = RunProgram(
        EXPORT_TABLE, QStringList{"--format", "xls", "--locale", "C", "--output", QString::fromStdString(path)} + args);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    return path;
  }
  // Loaded, saved into the test's folder and both read by xlrd; gnumeric opens the copy
  // silently.
  void ExpectSavedCopyReadsTheSame(const std::string& path) {
    TxlsFile file;
    file.FileName = path;
    file.Load();
    file.FileName = folder_ / (std::filesystem::path(path).filename().string() + ".saved.xls");
    file.Save();
    const std::string before = XlrdCells(path);
    EXPECT_EQ(XlrdCells(file.FileName), before) << path;
    EXPECT_EQ(OurCells(file.FileName), before) << path;
    const ProgramRun run = RunProgram("ssconvert", {QString::fromStdString(file.FileName),
                                                    QString::fromStdString(file.FileName + ".csv")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
  }
  TempFolder folder_;
};

TEST_F(ReaderReadBack, GnumericFixtureLoadsAsXlrdReadsIt) {
  const std::string fixture = kScripts.toStdString() + "/fixtures/reader_cells.xls";
  const std::string cells = OurCells(fixture);
  EXPECT_EQ(cells, XlrdCells(fixture));
  // What the fixture is there for: numbers as RK and NUMBER, formulas with each kind of result.
  for (const char* line : {"cell\t1\t1\tnumber\t1\n", "cell\t1\t2\tnumber\t1.5\n", "cell\t1\t3\tdate\t45306\n",
                           "cell\t1\t6\ttext\t\"xalpha\"\n", "cell\t1\t8\ttext\t\"\"\n", "cell\t2\t8\terror\t#N/A\n",
                           "cell\t5\t5\terror\t#DIV/0!\n", "cell\t5\t0\ttext\t\"caf\\u00e9\"\n", "cell\t5\t7\tbool\t1\n"})
    EXPECT_NE(cells.find(line), std::string::npos) << line;
  TxlsFile file;
  file.FileName = fixture;
  file.Load();
  EXPECT_FALSE(file.Workbook().Globals().Names.empty());
  ExpectSavedCopyReadsTheSame(fixture);
}

TEST_F(ReaderReadBack, EveryKindOfExportedWorkbookLoadsAsXlrdReadsIt) {
  const std::vector<QStringList> kinds = {
      {"--typed", "--field-formats", "--strip", "row", "--header", "Relat\u00F3rio\\tde teste", "--footer",
       "Fim\\t\\tok", "--extra-cells", "--merged", "--hyperlinks", "--autowidth"},
      {"--rows", "2500"},
      {"--history-shaped", "300"},
      {"--typed", "--strip", "col", "--header-rows", "2", "--footer-rows", "1", "--start-col", "2"},
      {"--columns", "256", "--rows", "3"},
      {"--rows", "0"},
  };
  for (size_t i = 0; i < kinds.size(); ++i) {
    const std::string path = Export(kinds[i], "kind" + std::to_string(i) + ".xls");
    EXPECT_EQ(OurCells(path), XlrdCells(path)) << kinds[i].join(' ').toStdString();
  }
  ExpectSavedCopyReadsTheSame(folder_ / "kind0.xls");
  ExpectSavedCopyReadsTheSame(folder_ / "kind1.xls");
}

TEST_F(ReaderReadBack, SavedSheetsAreWhereTheirBoundSheetsPoint) {
  // A table longer than a sheet goes on in a second one.
  const std::string path = Export({"--rows", "70000"}, "two.xls");
  TxlsFile file;
  file.FileName = path;
  file.Load();
  ASSERT_EQ(file.Workbook().WorkSheetCount(), 2u);
  TxlsMemoryStream saved;
  file.Workbook().Save(saved);
  const TxlsGlobals& globals = file.Workbook().Globals();
  uint64_t expected = globals.GetTotalSize();
  for (size_t i = 0; i < 2; ++i) {
    const uint32_t at = globals.BoundSheets[i]->BOFPos();
    EXPECT_EQ(at, expected) << i;
    ASSERT_LT(at + 6u, saved.Size());
    EXPECT_EQ(GetWord(saved.Bytes(), at), 0x0809);
    EXPECT_EQ(GetWord(saved.Bytes(), at + 6), 0x0010);
    expected += file.Workbook().WorkSheet(i).GetTotalSize();
  }
  EXPECT_EQ(expected, saved.Size());
}

// An encrypted workbook is refused as password-protected, by the reader and by export_table,
// and nothing is left to save.
TEST_F(ReaderReadBack, APasswordProtectedWorkbookIsRefusedAsSuch) {
  const std::string source = Export({"--typed", "--rows", "300"}, "plain.xls");
  const std::string path = folder_ / "protected.xls";
  WriteCompoundFile(path, "Workbook", Encrypted(ReadWorkbookStream(source)));
  TxlsFile file;
  file.FileName = path;
  try {
    file.Load();
    ADD_FAILURE() << "loaded as:\n" << DumpCells(file.Workbook()).substr(0, 400);
  } catch (const ExlsFileError& e) {
    EXPECT_EQ(std::string(e.what()), kPasswordProtected);
  }
  EXPECT_FALSE(file.Loaded());
  file.FileName = folder_ / "resaved.xls";
  EXPECT_THROW(file.Save(), EVantrixError);
  EXPECT_FALSE(std::filesystem::exists(file.FileName));

  const ProgramRun run = RunProgram(EXPORT_TABLE, {"--dump", QString::fromStdString(path)});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.out.isEmpty()) << run.out.left(400).toStdString();
  EXPECT_EQ(run.err.toStdString(), "export_table: " + std::string(kPasswordProtected) + "\n");
}

TEST_F(ReaderReadBack, WhatIsNoWorkbookIsRefused) {
  const std::string text = folder_ / "text.xls";
  std::ofstream(text) << "Name;Value\nx;1\n";
  TxlsFile file;
  file.FileName = text;
  EXPECT_THROW(file.Load(), ExlsFileError);
  try {
    file.Load();
  } catch (const ExlsFileError& e) {
    EXPECT_EQ(std::string(e.what()), "File " + text + " is not an Excel Workbook");
  }
  const std::string other = folder_ / "other.xls";
  WriteCompoundFile(other, "Book", {1, 2, 3, 4});
  file.FileName = other;
  EXPECT_THROW(file.Load(), ExlsFileError);
  file.FileName = folder_ / "missing.xls";
  try {
    file.Load();
    ADD_FAILURE() << "a missing file loaded";
  } catch (const ExlsFileError& e) {
    EXPECT_EQ(std::string(e.what()), "File " + file.FileName + " does not exist");
  }
  file.FileName.clear();
  EXPECT_THROW(file.Load(), ExlsFileError);

  // The stream's name in another case is found all the same.
  const std::string source = Export({"--rows", "5"}, "source.xls");
  const std::string upper = folder_ / "upper.xls";
  WriteCompoundFile(upper, "WORKBOOK", ReadWorkbookStream(source));
  EXPECT_EQ(OurCells(upper), OurCells(source));
}

}  // namespace
