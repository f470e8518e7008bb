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
