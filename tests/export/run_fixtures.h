#pragma once
// A format for the run's tests: it writes "begin", the caption row, one line per data row
// (the formatted cells joined by "|") and "end", and logs every step and event in order.
#include <stdexcept>
#include <string>
#include <vector>

#include "export/output_stream.h"
#include "export/shell_service.h"
#include "export/vantrix3_memory.h"
#include "export/vantrix3_text.h"
#include "export_fixtures.h"

namespace exporttest {

class RecordingExporter : public vantrix::TVantrix3FormatText {
 public:
  std::vector<std::string> log;
  int throwAtRow = -1;  // WriteDataRow raises on this record counter

  RecordingExporter() {
    Formats().SetSettings(CSettings());
    Formats().ResetFormats();
    OnBeginExport = [this](TVantrix3&) { log.push_back("OnBeginExport"); };
    OnEndExport = [this](TVantrix3&) { log.push_back("OnEndExport"); };
    OnSkippedRecord = [this](TVantrix3&, int n) { log.push_back("skipped " + std::to_string(n)); };
    OnExportedRecord = [this](TVantrix3&, int n) { log.push_back("exported " + std::to_string(n)); };
  }
  using TVantrix3::Sources;

 protected:
  void BeginExport() override {
    TVantrix3FormatText::BeginExport();
    log.push_back("BeginExport");
  }
  void BeforeExport() override { log.push_back("BeforeExport"); }
  void AfterExport() override { log.push_back("AfterExport"); }
  void EndExport() override {
    log.push_back("EndExport");
    GetWriter()->WriteLn("end");
    TVantrix3FormatText::EndExport();
  }
  void WriteCaptionRow() override {
    log.push_back("WriteCaptionRow");
    std::string line;
    for (int i = 0; i < Columns().Count(); ++i) line += (i ? "|" : "") + GetColCaption(i);
    GetWriter()->WriteLn(line);
  }
  void WriteDataRow() override {
    if (RecordCounter() == throwAtRow) throw std::runtime_error("disk on fire");
    std::string line;
    for (int i = 0; i < Row().Count(); ++i) line += (i ? "|" : "") + Row()[i].GetExportedValue(true);
    GetWriter()->WriteLn(line);
  }
};

// A custom source of `records` records and the given column types; cell (r, c) is "r<r>c<c>"
// for strings and r * 10 + c for the others.
class NumberedSource : public vantrix::TVantrixCustomSource {
 public:
  NumberedSource(int records, std::vector<vantrix::TVantrixColType> types) {
    for (vantrix::TVantrixColType type : types) Columns().Add()->SetColumnType(type);
    OnGetNextRecord = [records](TVantrixCustomSource&, int recNo, bool& eof) { eof = recNo >= records; };
    OnGetColumnValue = [](TVantrixCustomSource&, int recNo, const vantrix::TVantrixCustomColumn& column,
                          QVariant& value) {
      if (column.ColumnType() == vantrix::ectString) value = QString("r%1c%2").arg(recNo).arg(column.Index());
      else value = recNo * 10 + column.Index();
    };
  }
};

class FakeShell : public vantrix::TVantrixShell {
 public:
  std::vector<std::string> calls;
  std::string answer;
  std::string Open(const std::string& path) override {
    calls.push_back("open " + path);
    return answer;
  }
  std::string Print(const std::string& path) override {
    calls.push_back("print " + path);
    return answer;
  }
  std::string SetClipboardText(const std::string& text) override {
    calls.push_back("clipboard " + text);
    return answer;
  }
};

}  // namespace exporttest
