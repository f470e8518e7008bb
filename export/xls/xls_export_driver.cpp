// The spreadsheet exporter's run: the globals, then every exported sheet from its own source
// (continued on new sheets as rows fill one), then the globals' second half.
#include <algorithm>
#include <cstdio>

#include "export/library_strings.h"
#include "export/xls/vantrix3_xls.h"
#include "export/xls/xls_export_run.h"
#include "export/xls/xls_sheet_name.h"
#include "platform/finally.h"

namespace vantrix {
namespace {

using platform::Finally;

}  // namespace

void TVantrix3XLS::CheckSheets() {
  for (const auto& item : Sheets) {
    TxlsSheet& sheet = *item;
    if (!sheet.Exported) continue;
    const TVantrixSourceRefs refs = sheet.Sources();
    VantrixCheckSource(refs);
    const std::string kind = VantrixSourceAsString(refs.source);
    if (!VantrixIsActive(refs)) RaiseLibraryError(kStrSourceClosed, kind);
    if (!ExportEmpty && VantrixIsEmpty(refs)) RaiseLibraryError(kStrSourceEmpty, kind);
    // A sheet has 256 columns: a column past them would be written over the first ones.
    sheet.Columns().Clear();
    sheet.Columns().Fill(false);
    const int columns = sheet.Columns().Count();
    if (sheet.StartDataCol < 0 || columns + sheet.StartDataCol > kXLSMaxCols) {
      char text[200];
      std::snprintf(text, sizeof text,
                    "Sheet \"%s\" cannot hold %d columns from column %d: a sheet has at most %d columns",
                    sheet.GetDisplayName().c_str(), columns, sheet.StartDataCol + 1, kXLSMaxCols);
      throw ExlsFileError(text);
    }
  }
}

TVantrixRunResult TVantrix3XLS::DoExport() {
  TxlsExportRun& run = Run();
  run.Globals.WriteGlobals();

  const bool temporary = std::none_of(Sheets.begin(), Sheets.end(), [](const auto& s) { return s->Exported; });
  if (temporary) Sheets.Add().LoadFromVantrixXLS();
  Finally removeTemporary([this, temporary] {
    if (temporary) Sheets.Delete(Sheets.Count() - 1);
  });

  recordCounter_ = 0;
  CheckSheets();
  BeginExport();
  BeforeExport();
  if (Aborted()) return rrAbortedBeforeOutput;
  {
    Finally end([this] { EndExport(); });
    for (size_t i = 0; i < Sheets.Count(); ++i)
      if (Sheets[i].Exported && !ExportSheet(static_cast<int>(i))) break;
    // An abort ends the sheet it came in with the rows written; the workbook is closed whole.
    run.Globals.WriteGlobalInset();
    if (Aborted()) return rrAborted;
    AfterExport();
  }
  return rrCompleted;
}

// A continuation's title: the first part's title with the lowest part number from its own on
// that no sheet written has and no sheet still to come is titled. Always the first part's
// title: numbering the previous part's name would pile the numbers up.
WideString TVantrix3XLS::ContinuationName(const TxlsSheet& sheet, int& part) const {
  const TxlsExportRun& run = Run();
  std::vector<WideString> taken = run.SheetNames;
  for (size_t i = static_cast<size_t>(Sheets.IndexOf(&sheet)) + 1; i < Sheets.Count(); ++i)
    if (Sheets[i].Exported) taken.push_back(MakeSheetName(Sheets[i].Title, {}, 0));
  for (;; ++part) {
    WideString name = MakeSheetName(ContinuationTitle(firstPartTitle_, part), {}, 0);
    if (std::none_of(taken.begin(), taken.end(), [&](const WideString& t) { return SameWideText(t, name); }))
      return name;
  }
}

void TVantrix3XLS::StartPart(TxlsSheet& sheet, int part) {
  TxlsExportRun& run = Run();
  // The first part's title as it stands before it is told apart from the sheets written.
  if (part == 1) firstPartTitle_ = MakeSheetName(sheet.Title, {}, static_cast<int>(run.BoundSheets.Count()) + 1);
  const WideString title = part == 1 ? sheet.Title : ContinuationName(sheet, part_);
  run.FirstPart = part == 1;
  sheet.CurrentRow = 0;
  run.SheetRecords.WriteSheetStart(sheet, title);
  sheet.DoHeader();
}

void TVantrix3XLS::FinishPart(TxlsSheet& sheet, bool complete) {
  TxlsExportRun& run = Run();
  if (complete) {
    sheet.DoAggregate();
    if (sheet.AutoCalcColWidth) run.SheetRecords.CorrectColInfo();
    sheet.DoFooter();
  }
  run.SheetRecords.WriteSheetFinish(sheet, run.FirstPart);
}

bool TVantrix3XLS::ExportSheet(int index) {
  TxlsSheet& sheet = Sheets[static_cast<size_t>(index)];
  TxlsExportRun& run = Run();
  if (OnBeforeExportSheet) OnBeforeExportSheet(*this, index);
  {
    VantrixDisableControls(sheet.Sources());
    Finally enable([&sheet] { VantrixEnableControls(sheet.Sources()); });
    sheet.InitExport();
    run.Sheet = &sheet;
    Finally forget([&run] { run.Sheet = nullptr; });
    run.ColumnWidths.clear();
    for (int i = 0; i < sheet.Columns().Count(); ++i) run.ColumnWidths.push_back(sheet.Columns()[i].Width);
    // A list view's counts are cut to its items for this run only.
    sheet.RunSkipRecCount = sheet.SkipRecCount;
    sheet.RunExportRecCount = sheet.ExportRecCount;
    if (sheet.ExportSource() == esListView && sheet.ListView() != nullptr) {
      const int items = sheet.ListView()->RowCount();
      sheet.RunSkipRecCount = std::min(sheet.RunSkipRecCount, items);
      if (sheet.RunExportRecCount > 0) sheet.RunExportRecCount = std::min(sheet.RunExportRecCount, items);
    }
    sheet.LastColumn = sheet.Columns().Count() + sheet.StartDataCol;
    part_ = 1;

    StartPart(sheet, 1);
    if (!Aborted() && sheet.AllowCaptions) sheet.DoCaption();
    if (!Aborted()) {
      if (sheet.GoToFirstRecord) VantrixFirst(sheet.Sources());
      VantrixSkip(sheet.Sources(), sheet.RunSkipRecCount, [this](int counter) { CountSkipped(counter); },
                  sheet.RecordNumber);
    }
    if (Aborted()) {
      FinishPart(sheet, false);
      return false;
    }
    sheet.RecordNumber = 0;
    sheet.MarkFirstDataRow();
    ExportRecords(sheet, index);
    FinishPart(sheet, true);
  }
  if (OnAfterExportSheet) OnAfterExportSheet(*this, index);
  return !Aborted();
}

void TVantrix3XLS::ExportRecords(TxlsSheet& sheet, int index) {
  for (;;) {
    if (VantrixEof(sheet.Sources(), sheet.RunSkipRecCount, sheet.RunExportRecCount, sheet.RecordNumber)) break;
    if (sheet.RunExportRecCount != 0 && sheet.RecordNumber >= sheet.RunExportRecCount) break;
    if (Aborted() && !CanContinue()) break;
    sheet.FillExportRow();
    bool accept = true;
    if (OnBeforeExportRow) OnBeforeExportRow(*this, sheet.Row(), accept);
    if (accept && OnAdvancedBeforeExportRow) OnAdvancedBeforeExportRow(*this, index, sheet.Row(), accept);
    if (accept) {
      // No row is written past the sheet's last: the rows go on in a new sheet.
      if (sheet.CurrentRow + 1 + sheet.RowsAfterData() > sheetRows_) {
        FinishPart(sheet, true);
        StartPart(sheet, ++part_);
        if (sheet.AllowCaptions) sheet.DoCaption();
        sheet.MarkFirstDataRow();
        if (sheet.CurrentRow + 1 + sheet.RowsAfterData() > sheetRows_)
          throw ExlsFileError("Sheet \"" + sheet.GetDisplayName() +
                              "\" has no room for data rows between its header and its footer");
      }
      sheet.DoData();
    }
    if (sheet.CurrentRecordOnly) break;
    VantrixNext(sheet.Sources(), sheet.RecordNumber);
    ++recordCounter_;
    if (OnExportedRecord) OnExportedRecord(*this, recordCounter_);
    if (OnAdvancedRecordExported) OnAdvancedRecordExported(*this, index, sheet.RecordNumber);
    Yield();
  }
}

}  // namespace vantrix
