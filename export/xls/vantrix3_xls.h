#pragma once
// The spreadsheet exporter: a table from any row source into a workbook file, a compound file
// whose "Workbook" stream holds the globals and one worksheet per exported sheet. It walks the
// sources itself, sheet by sheet (each sheet with its own source, fields, formats and items);
// without sheets of its own it exports one sheet made from its own settings.
//
// The file appears only when the workbook is whole: a failure leaves the file that was there
// before; an abort once a sheet has begun ends that sheet with the rows written and closes the
// workbook. Rows that do not fit on a sheet go on in a new sheet, titled with a number, with
// the same settings and the caption row again.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "export/text_measure.h"
#include "export/vantrix3_text.h"
#include "export/xls/xls_measure.h"
#include "export/xls/xls_sheet.h"

namespace vantrix {

class TxlsExportRun;

class TVantrix3XLS : public TVantrix3FormatText, public TxlsItemsOwner,
                     public TxlsCellAdders<TVantrix3XLS> {
 public:
  using TxlsExportedRecordEvent = std::function<void(TVantrix3XLS& sender, int sheet, int recNo)>;
  using TxlsGetExportTextEvent = std::function<void(TVantrix3XLS& sender, int sheet, int colNo, WideString& text)>;
  using TxlsBeforeExportRowEvent =
      std::function<void(TVantrix3XLS& sender, int sheet, TVantrixRow& row, bool& accept)>;
  using TGetHeaderFooterParamsEvent =
      std::function<void(TxlsSheet& sender, int sheet, int col, int row, TxlsFormat& format, WideString& text)>;
  using TGetCaptionParamsEvent =
      std::function<void(TxlsSheet& sender, int sheet, int col, TxlsFormat& format, std::string& caption)>;
  using TGetDataParamsEvent = std::function<void(TxlsSheet& sender, int sheet, int col, int row, TxlsFormat& format,
                                                 std::string& formatText)>;
  using TGetAggregateParamsEvent = std::function<void(TxlsSheet& sender, int sheet, int col, TxlsFormat& format,
                                                      std::string& formatText, std::string& value)>;
  using TxlsExportSheetEvent = std::function<void(TVantrix3XLS& sender, int sheetIndex)>;
  using TItemLeftOutEvent = std::function<void(TVantrix3XLS& sender, const std::string& message)>;

  static constexpr int kExtendedColors = 16;

  TVantrix3XLS();
  ~TVantrix3XLS() override;

  // --- settings (ColumnsWidth and AutoCalcColWidth are the base's) ------------------------
  TXLSOptions Options;
  TxlsFieldFormats FieldFormats{this};
  TxlsFormats StripStyles{this};
  TxlsStripType StripType = ssNone;
  TxlsHyperlinks Hyperlinks{this};
  TxlsNotes Notes{this};
  TxlsCharts Charts{this};
  TxlsSheets Sheets{this};
  TxlsPictures Pictures{this};
  TxlsImages Images{this};
  TxlsCells Cells{this};
  TxlsMergedCellList MergedCells{this};
  TxlsGraphic Background;
  int HeaderRows = 0;
  int StartDataCol = 0;
  int FooterRows = 0;

  // The setters copy into the objects the exporter owns (Options: its seven formats).
  void SetOptions(const TXLSOptions& options) { Options.Assign(options); }
  void SetFieldFormats(const TxlsFieldFormats& c) { FieldFormats.Assign(c); }
  void SetStripStyles(const TxlsFormats& c) { StripStyles.Assign(c); }
  void SetHyperlinks(const TxlsHyperlinks& c) { Hyperlinks.Assign(c); }
  void SetNotes(const TxlsNotes& c) { Notes.Assign(c); }
  void SetCharts(const TxlsCharts& c) { Charts.Assign(c); }
  void SetSheets(const TxlsSheets& c) { Sheets.Assign(c); }
  void SetPictures(const TxlsPictures& c) { Pictures.Assign(c); }
  void SetImages(const TxlsImages& c) { Images.Assign(c); }
  void SetCells(const TxlsCells& c) { Cells.Assign(c); }
  void SetMergedCells(const TxlsMergedCellList& c) { MergedCells.Assign(c); }
  void SetBackground(const TxlsGraphic& g) { Background.Assign(g); }

  // --- events -----------------------------------------------------------------------------
  TxlsExportedRecordEvent OnAdvancedRecordExported;
  TxlsGetExportTextEvent OnAdvancedGetExportText;
  TxlsBeforeExportRowEvent OnAdvancedBeforeExportRow;
  TGetHeaderFooterParamsEvent OnGetHeaderParams;
  TGetCaptionParamsEvent OnGetCaptionParams;
  TGetHeaderFooterParamsEvent OnGetBeforeDataParams;
  TGetDataParamsEvent OnGetDataParams;
  TGetAggregateParamsEvent OnGetAggregateParams;
  TGetHeaderFooterParamsEvent OnGetFooterParams;
  TxlsExportSheetEvent OnBeforeExportSheet;
  TxlsExportSheetEvent OnAfterExportSheet;
  // An item that could not be written (a hyperlink too long for its record, a background
  // too large): the run goes on without it. The run's messages stay in LeftOut.
  TItemLeftOutEvent OnItemLeftOut;
  const std::vector<std::string>& LeftOut() const { return leftOut_; }
  void ReportLeftOut(const std::string& message);

  // --- the run ----------------------------------------------------------------------------
  // Raises 34023 without a file name, 34025 when the folder cannot be made, the source
  // errors of each exported sheet (34014, 34016, 34017), and ExlsFileError for a sheet of
  // more than 256 columns, all before anything is written; then writes the workbook and
  // shows or prints it as asked.
  TVantrixRunResult Execute() override;
  // The stage of the sheet being written; it stays at the last one after the run.
  TxlsExportStage ExportStage = esNone;
  // The run in progress; null outside Execute.
  TxlsExportRun* CurrentRun() const { return run_.get(); }
  TxlsExportRun& Run() const;
  // Records exported over the whole run.
  int RunRecordCounter() const { return recordCounter_; }
  void CountSkipped(int counter) {
    if (OnSkippedRecord) OnSkippedRecord(*this, counter);
  }

  // --- items and colours ------------------------------------------------------------------
  // Palette entry 24 + index (clrColor1 + index) becomes the colour (0x00BBGGRR); an index
  // outside 0..15 changes nothing.
  void DefineExtendedColor(int index, uint32_t color);
  uint32_t ExtendedColor(int index) const;

  // --- measuring and memory (tests and tools fix them) ------------------------------------
  void SetTextMeasure(const TextMeasure* measure) { measure_ = measure; }
  const TextMeasure& Measure() const { return measure_ != nullptr ? *measure_ : DefaultTextMeasure(); }
  void SetTextMetrics(const TxlsTextMetrics* metrics) { metrics_ = metrics; }
  const TxlsTextMetrics& Metrics() const { return metrics_ != nullptr ? *metrics_ : DefaultXLSTextMetrics(); }
  // How much of the workbook stream stays in memory before it moves to a temporary file.
  void SetMemoryLimit(size_t bytes) { memoryLimit_ = bytes; }
  // The rows a sheet takes before the data go on in a new sheet: all a sheet has unless set
  // lower (tests reach many continuations with few rows).
  void SetSheetRowLimit(int rows) { sheetRows_ = std::clamp(rows, 1, kXLSMaxRows); }

  // --- what the items ask of their owner --------------------------------------------------
  bool IsExporterComponent() const override { return true; }
  const TxlsFormat* HyperlinkFormatForNewItems() const override { return &Options.HyperlinkFormat; }
  const TxlsNoteFormat* NoteFormatForNewItems() const override { return &Options.NoteFormat; }
  const TxlsPictures* ComponentPictures() const override { return &Pictures; }
  std::vector<const TxlsImages*> ComponentSheetImages() const override;

 protected:
  // A workbook is assembled in a file of its own: a run into a stream raises instead of
  // writing nothing.
  std::unique_ptr<TVantrixWriter> CreateWriter(OutputStream& stream) override;
  void CreateLocalVariables();
  void FreeLocalVariables();
  TVantrixRunResult DoExport();

 private:
  // One sheet of the run with its continuations; false when the run was aborted in it.
  bool ExportSheet(int index);
  // The data rows of the sheet, continued on new sheets as they fill one.
  void ExportRecords(TxlsSheet& sheet, int index);
  void StartPart(TxlsSheet& sheet, int part);
  WideString ContinuationName(const TxlsSheet& sheet, int& part) const;
  void FinishPart(TxlsSheet& sheet, bool complete);
  // The exported sheets' sources and column counts, checked before anything is written.
  void CheckSheets();

  std::unique_ptr<TxlsExportRun> run_;
  uint32_t extendedColors_[kExtendedColors];
  int recordCounter_ = 0;
  int part_ = 1;
  WideString firstPartTitle_;
  int sheetRows_ = kXLSMaxRows;
  std::vector<std::string> leftOut_;
  const TextMeasure* measure_ = nullptr;
  const TxlsTextMetrics* metrics_ = nullptr;
  size_t memoryLimit_;
};

}  // namespace vantrix
