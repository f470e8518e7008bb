// One export run over a custom source into a recording format: the order of steps and
// events, the counters, and every way a run can stop.
#include <gtest/gtest.h>

#include <QPointer>

#include "export/library_strings.h"
#include "export/model_source.h"
#include "run_fixtures.h"

namespace {

using namespace vantrix;
using exporttest::NumberedSource;
using exporttest::RecordingExporter;
using exporttest::TableModel;
using Log = std::vector<std::string>;

class ExportRun : public ::testing::Test {
 protected:
  ExportRun() : source_(10, {ectString, ectInteger}) {
    exporter_.SetExportSource(esCustom);
    exporter_.SetCustomSource(&source_);
  }
  TVantrixRunResult Run() {
    out_.Clear();
    exporter_.log.clear();
    source_.ClearEof();
    return exporter_.ExportToStream(out_);
  }

  NumberedSource source_;
  RecordingExporter exporter_;
  MemoryOutputStream out_;
};

TEST_F(ExportRun, SkipsThenExportsTheLimitInOrder) {
  exporter_.SkipRecCount = 2;
  exporter_.ExportRecCount = 3;
  exporter_.Captions = {"Column1=Value"};
  EXPECT_EQ(Run(), rrCompleted);
  EXPECT_EQ(exporter_.log, (Log{"OnBeginExport", "BeginExport", "WriteCaptionRow", "BeforeExport", "skipped 1",
                                "skipped 2", "exported 0", "exported 1", "exported 2", "AfterExport", "EndExport",
                                "OnEndExport"}));
  EXPECT_EQ(out_.Bytes(), "Column0|Value\r\nr3c0|31\r\nr4c0|41\r\nr5c0|51\r\nend\r\n");
  EXPECT_EQ(exporter_.SkipRecCount, 2);

  exporter_.SkipRecCount = 0;
  exporter_.ExportRecCount = 0;
  exporter_.AllowCaptions = false;
  EXPECT_EQ(Run(), rrCompleted);
  EXPECT_EQ(std::count(exporter_.log.begin(), exporter_.log.end(), std::string("WriteCaptionRow")), 0);
  EXPECT_EQ(out_.Bytes().substr(0, 10), "r1c0|11\r\nr");
  EXPECT_EQ(exporter_.RecordCounter(), 10);  // the tenth move found the end
}

TEST_F(ExportRun, CurrentRecordOnlyWritesOneRowWhereTheSourceStands) {
  exporter_.CurrentRecordOnly = true;
  exporter_.GoToFirstRecord = false;
  exporter_.AllowCaptions = false;
  source_.SetRecNo(4);
  EXPECT_EQ(Run(), rrCompleted);
  EXPECT_EQ(out_.Bytes(), "r4c0|41\r\nend\r\n");
  EXPECT_EQ(source_.RecNo(), 4);

  exporter_.OnBeforeExportRow = [](TVantrix3&, TVantrixRow&, bool& accept) { accept = false; };
  EXPECT_EQ(Run(), rrCompleted);
  EXPECT_EQ(out_.Bytes(), "end\r\n");
}

TEST_F(ExportRun, RefusedRowsAreNeitherWrittenNorReported) {
  exporter_.AllowCaptions = false;
  exporter_.ExportRecCount = 4;
  exporter_.OnBeforeExportRow = [](TVantrix3& sender, TVantrixRow& row, bool& accept) {
    accept = sender.RecordCounter() % 2 == 0;
    EXPECT_EQ(row.Count(), 2);
  };
  EXPECT_EQ(Run(), rrCompleted);
  EXPECT_EQ(out_.Bytes(), "r1c0|11\r\nr3c0|31\r\nend\r\n");
  EXPECT_EQ(std::count_if(exporter_.log.begin(), exporter_.log.end(),
                          [](const std::string& s) { return s.rfind("exported", 0) == 0; }),
            2);
}

TEST_F(ExportRun, CellTextsAreTrimmedRawValuesFormattedOnEveryRead) {
  exporter_.AllowCaptions = false;
  exporter_.ExportRecCount = 1;
  std::vector<std::string> received;
  exporter_.OnGetExportText = [&](TVantrix3&, int colNo, std::string& text) {
    received.push_back(text);
    if (colNo == 1) text = "  12345 \t";
  };
  EXPECT_EQ(Run(), rrCompleted);
  EXPECT_EQ(received, (std::vector<std::string>{"r1c0", "11"}));  // unformatted
  const TVantrixCol& cell = exporter_.Row()[1];
  EXPECT_EQ(cell.Value(), "12345");
  EXPECT_EQ(cell.GetExportedValue(true), "12,345");
  EXPECT_EQ(cell.GetExportedValue(true), "12,345");  // the same value formatted again
  EXPECT_EQ(cell.Value(), "12345");
  EXPECT_EQ(cell.GetExportedValue(false), "12345");
}

TEST_F(ExportRun, StopHandlerMayLetAnAbortedRunGoOn) {
  exporter_.AllowCaptions = false;
  exporter_.OnExportedRecord = [](TVantrix3& sender, int recNo) {
    if (recNo == 1) sender.Abort();
  };
  EXPECT_EQ(Run(), rrAborted);  // no handler: stops before the next record
  EXPECT_EQ(out_.Bytes(), "r1c0|11\r\nr2c0|21\r\nend\r\n");

  int asked = 0;
  exporter_.OnStopExport = [&](TVantrix3&, bool& canContinue) {
    ++asked;
    canContinue = true;
  };
  EXPECT_EQ(Run(), rrCompleted);
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(exporter_.Aborted());
  EXPECT_NE(out_.Bytes().find("r10c0|101\r\nend\r\n"), std::string::npos);
}

TEST_F(ExportRun, AnAbortAtEachStageEndsTheRunThere) {
  struct Stage {
    const char* name;
    std::function<void()> arm;
    TVantrixRunResult result;
    const char* output;
  };
  auto abortOn = [this](const char* step) {
    return [this, step] {
      exporter_.OnBeginExport = nullptr;
      exporter_.OnFetchedRecord = nullptr;
      exporter_.OnSkippedRecord = nullptr;
      exporter_.AutoCalcColWidth = false;
      const std::string which = step;
      if (which == "begin") exporter_.OnBeginExport = [](TVantrix3& s) { s.Abort(); };
      if (which == "width") {
        exporter_.AutoCalcColWidth = true;
        exporter_.OnFetchedRecord = [](TVantrix3& s, int) { s.Abort(); };
      }
      if (which == "skip") {
        exporter_.SkipRecCount = 1;
        exporter_.OnSkippedRecord = [](TVantrix3& s, int) { s.Abort(); };
      }
    };
  };
  const Stage stages[] = {
      {"begin", abortOn("begin"), rrAbortedBeforeOutput, ""},
      {"width", abortOn("width"), rrAbortedBeforeOutput, ""},
      {"skip", abortOn("skip"), rrAborted, "Column0|Column1\r\nend\r\n"},
  };
  for (const Stage& stage : stages) {
    stage.arm();
    EXPECT_EQ(Run(), stage.result) << stage.name;
    EXPECT_EQ(out_.Bytes(), stage.output) << stage.name;
    const bool ended = std::find(exporter_.log.begin(), exporter_.log.end(), "EndExport") != exporter_.log.end();
    EXPECT_EQ(ended, stage.result == rrAborted) << stage.name;
    EXPECT_EQ(std::count(exporter_.log.begin(), exporter_.log.end(), std::string("EndExport")), ended ? 1 : 0);
  }
}

TEST_F(ExportRun, AnErrorWhileWritingStillEndsTheRunAndResumesTheSource) {
  TableModel items({"a"}, exporttest::GridRows(5, 1));
  TVantrixModelSource listView(&items);
  exporter_.SetExportSource(esListView);
  exporter_.SetListView(&listView);
  exporter_.throwAtRow = 2;
  EXPECT_THROW(Run(), std::runtime_error);
  EXPECT_EQ(exporter_.log.back(), "OnEndExport");
  EXPECT_EQ(std::count(exporter_.log.begin(), exporter_.log.end(), std::string("AfterExport")), 0);
  EXPECT_EQ(listView.ControlsDisabled(), 0);
  EXPECT_EQ(exporter_.GetWriter(), nullptr);
}

TEST_F(ExportRun, ListViewLimitsAreCutForTheRunOnly) {
  TableModel items({"a"}, exporttest::GridRows(5, 1));
  TVantrixModelSource listView(&items);
  exporter_.SetExportSource(esListView);
  exporter_.SetListView(&listView);
  exporter_.AllowCaptions = false;
  exporter_.SkipRecCount = 9;
  exporter_.ExportRecCount = 7;
  EXPECT_EQ(Run(), rrCompleted);
  EXPECT_EQ(out_.Bytes(), "end\r\n");
  EXPECT_EQ(exporter_.SkipRecCount, 9);
  EXPECT_EQ(exporter_.ExportRecCount, 7);
  exporter_.SkipRecCount = 3;
  EXPECT_EQ(Run(), rrCompleted);
  EXPECT_EQ(out_.Bytes(), "r3c0\r\nr4c0\r\nend\r\n");
}

TEST_F(ExportRun, SourcesAreCheckedBeforeAnyOutput) {
  TableModel rows({"a"}, {});
  auto dataSet = std::make_unique<TVantrixModelSource>(&rows);
  exporter_.SetExportSource(esDataSet);
  exporter_.SetDataSet(dataSet.get());
  exporter_.ExportEmpty = false;
  try {
    Run();
    FAIL();
  } catch (const EVantrixError& e) {
    EXPECT_STREQ(e.what(), "Export source (DataSet) is empty");
  }
  exporter_.ExportEmpty = true;
  EXPECT_EQ(Run(), rrCompleted);
  EXPECT_EQ(out_.Bytes(), "a\r\nend\r\n");  // an empty source: the captions alone

  dataSet->SetActive(false);
  EXPECT_THROW(Run(), EVantrixError);
  dataSet.reset();  // the exporter sees its source go
  EXPECT_EQ(exporter_.DataSet(), nullptr);
  try {
    Run();
    FAIL();
  } catch (const EVantrixError& e) {
    EXPECT_STREQ(e.what(), "Export source (DataSet) is not assigned");
  }
  EXPECT_TRUE(exporter_.log.empty());
}

}  // namespace
