#pragma once
// The project's own workbook reader as a read-back beside xlrd: both must find the same cells
// (kinds and values) in a workbook.
#include <gtest/gtest.h>

#include <string>

#include "export/xls/workbook_dump.h"
#include "export/xls/xls_file.h"
#include "run_program.h"

namespace xlstest {

inline void ExpectReaderMatchesXlrd(const std::string& path) {
  const ProgramRun run =
      RunProgram("/usr/bin/python3", {QString(XLS_TEST_SCRIPT_DIR) + "/xlrd_cells.py", QString::fromStdString(path)});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  vantrix::TxlsFile file;
  file.FileName = path;
  ASSERT_NO_THROW(file.Load()) << path;
  EXPECT_EQ(vantrix::DumpCells(file.Workbook()), run.out.toStdString()) << path;
}

}  // namespace xlstest
