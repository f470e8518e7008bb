#pragma once
// Everything one spreadsheet export holds while it runs: the workbook file and its stream, the
// registry of cell formats, the shared strings, the sheets written so far and the state of the
// sheet being written, and the record writers over them. The exporter makes one for a run and
// drops it when the run ends, however it ends: what it holds goes with it, and the workbook
// file appears only when Commit was reached.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "export/xls/compound_file.h"
#include "export/xls/sst_strings.h"
#include "export/xls/xls_bound_sheet.h"
#include "export/xls/xls_cell_writer.h"
#include "export/xls/xls_drawing_state.h"
#include "export/xls/xls_globals_writer.h"
#include "export/xls/xls_measure.h"
#include "export/xls/xls_record_writer.h"
#include "export/xls/xls_sheet_writer.h"
#include "export/xls/xls_xf_registry.h"

namespace vantrix {

class TVantrix3XLS;
class TxlsSheet;

class TxlsExportRun {
 private:
  // First, so that the writers below find the stream made.
  std::unique_ptr<TxlsCompoundFile> file_;

 public:
  // Creates the workbook file (raising ExlsFileError when it cannot be made there).
  TxlsExportRun(TVantrix3XLS& component, const std::string& fileName, size_t memoryLimit);
  TxlsExportRun(const TxlsExportRun&) = delete;
  TxlsExportRun& operator=(const TxlsExportRun&) = delete;

  TxlsStream& Stream() const { return file_->Stream(); }
  // Puts the finished workbook in its file's place.
  void Commit() { file_->Commit(); }

  TVantrix3XLS& Component;
  TxlsRecordWriter Records;
  TxlsXFRegistry Registry;
  TxlsBoundSheetList BoundSheets;
  TsstStrings SST;
  TxlsWidthGauge Widths;
  const TxlsTextMetrics& Metrics;
  // Where the globals' second half goes: just before their EOF.
  uint64_t SplicePoint = 0;

  // The sheet being written: the sheet, its bound sheet, whether it is the sheet's first part
  // (the one its extension items go on), its columns' widths in characters, the heights of
  // its rows in twips (0: the default) and where its COLINFO records begin.
  TxlsSheet* Sheet = nullptr;
  TxlsBoundSheet* Bound = nullptr;
  bool FirstPart = true;
  std::vector<int> ColumnWidths;
  std::vector<int> RowHeights;
  uint64_t FirstColInfoPosition = 0;
  // The names of the sheets written, for new ones to differ from.
  std::vector<WideString> SheetNames;
  // The drawings' shape ids, stored pictures and charts so far.
  TxlsDrawingState Drawing;

  TxlsCellWriter Cells;
  TxlsSheetWriter SheetRecords;
  TxlsGlobalsWriter Globals;
};

}  // namespace vantrix
