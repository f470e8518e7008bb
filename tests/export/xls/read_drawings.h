#pragma once
// What read_drawings.py finds in a workbook (xlrd's notes and a walk over its records), with
// gnumeric's reading of its comments, images and charts; both readers silent. The including
// suite defines XLS_TEST_SCRIPT_DIR, the folder of the script.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <string>

#include "tests/export/xls/run_program.h"

namespace xlstest {

// gnumeric: where ssconvert may write its reading of the workbook.
inline QJsonObject ReadDrawings(const std::string& path, const QString& gnumeric) {
  const ProgramRun convert = RunProgram("ssconvert", {"-T", "Gnumeric_XmlIO:sax", QString::fromStdString(path), gnumeric});
  EXPECT_EQ(convert.exitCode, 0);
  EXPECT_TRUE(convert.err.isEmpty()) << convert.err.toStdString();
  const ProgramRun run = RunProgram("/usr/bin/python3", {QString(XLS_TEST_SCRIPT_DIR) + "/read_drawings.py",
                                                         QString::fromStdString(path), gnumeric});
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
  return QJsonDocument::fromJson(run.out).object();
}

}  // namespace xlstest
