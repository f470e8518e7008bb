#pragma once
// What the spreadsheet exporter's tests share: an exporter with the C locale's forms, a "0" of
// 7 pixels and fixed row heights (so bytes do not depend on the fonts installed), writing into
// a folder of its own; and a row source of given columns and texts.
#include <string>
#include <vector>

#include "export/custom_source.h"
#include "export/export_fixtures.h"
#include "export/xls/vantrix3_xls.h"
#include "workbook_records.h"

namespace xlstest {

// Columns of given names, types and widths; cells as texts, rows from the first.
class TextSource : public vantrix::TVantrixCustomSource {
 public:
  struct Column {
    std::string name;
    vantrix::TVantrixColType type = vantrix::ectString;
    int width = 10;
  };
  TextSource(std::vector<Column> columns, std::vector<std::vector<std::string>> rows) : rows_(std::move(rows)) {
    for (const Column& c : columns) {
      vantrix::TVantrixCustomColumn* column = Columns().Add();
      column->SetColumnName(c.name);
      column->SetCaption(c.name);
      column->SetColumnType(c.type);
      column->SetWidth(c.width);
    }
    OnGetNextRecord = [this](TVantrixCustomSource&, int recNo, bool& eof) {
      eof = recNo >= static_cast<int>(rows_.size());
    };
    OnGetColumnText = [this](TVantrixCustomSource&, int recNo, const vantrix::TVantrixCustomColumn& column,
                             std::string& text) {
      text.clear();
      if (recNo < 1 || recNo > static_cast<int>(rows_.size())) return;
      const auto& row = rows_[static_cast<size_t>(recNo - 1)];
      if (static_cast<size_t>(column.Index()) < row.size()) text = row[static_cast<size_t>(column.Index())];
    };
    // A source without records says so before the first is read.
    if (rows_.empty()) Next();
  }

 private:
  std::vector<std::vector<std::string>> rows_;
};

// n rows of one integer column "N" (cell r is r).
inline std::vector<std::vector<std::string>> Counting(int n) {
  std::vector<std::vector<std::string>> rows;
  for (int r = 1; r <= n; ++r) rows.push_back({std::to_string(r)});
  return rows;
}

class XlsExporter : public vantrix::TVantrix3XLS {
 public:
  explicit XlsExporter(vantrix::TVantrixCustomSource& source, const std::string& fileName) {
    Formats().SetSettings(exporttest::CSettings());
    Formats().ResetFormats();
    SetExportSource(vantrix::esCustom);
    SetCustomSource(&source);
    SetTextMeasure(&measure_);
    SetTextMetrics(&metrics_);
    FileName = fileName;
  }
  // Runs the export and reads the workbook back.
  Workbook Write() {
    Execute();
    return ReadWorkbook(FileName);
  }

 private:
  vantrix::FixedTextMeasure measure_{7};
  vantrix::FixedXLSTextMetrics metrics_{300};
};

}  // namespace xlstest
