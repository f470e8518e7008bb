#pragma once
// One worksheet of a spreadsheet export: its own row source, fields, header and footer lines,
// formats and extension items, and the stages that write its header, caption row, data rows,
// aggregate row and footer (xls_sheet_stages.cpp) through the run's record writers. A sheet
// may be continued on further sheets of the workbook when its rows do not fit on one; the
// continuation is the same sheet, written again from its caption row.
#include <QPointer>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "export/columns.h"
#include "export/custom_source.h"
#include "export/formats.h"
#include "export/model_source.h"
#include "export/row.h"
#include "export/source_links.h"
#include "export/xls/xls_bound_sheet.h"
#include "export/xls/xls_cell.h"
#include "export/xls/xls_chart.h"
#include "export/xls/xls_link_note.h"
#include "export/xls/xls_picture.h"
#include "export/xls/xls_sheet_options.h"

namespace vantrix {

class TVantrix3XLS;
class TxlsSheets;
class TxlsExportRun;

// Which part of a sheet is being written.
enum TxlsExportStage { esNone, esHeader, esCaption, esData, esAggregate, esFooter };

// Extra cells and merged ranges of the sheet (columns and rows from 1) are added through
// TxlsCellAdders.
class TxlsSheet : public TVantrixColumnsOwner, public TVantrixSourceLinks, public TxlsItemsOwner,
                  public TxlsSheetLayout, public TxlsCellAdders<TxlsSheet> {
 public:
  static constexpr double kDefaultRowHeight = 12.75;

  // In a collection the sheet belongs to its exporter and is titled "Sheet <n>", n counting
  // the collection's sheets with it.
  explicit TxlsSheet(TxlsSheets* collection = nullptr);
  ~TxlsSheet() override;
  TxlsSheet(const TxlsSheet&) = delete;
  TxlsSheet& operator=(const TxlsSheet&) = delete;

  // --- settings (defaults as the constructor sets them) -----------------------------------
  bool AutoCalcColWidth = false;
  WideString Title;
  TXLSOptions Options;
  TxlsFieldFormats FieldFormats{this};
  TxlsFormats StripStyles{this};
  TxlsStripType StripType = ssNone;
  TxlsHyperlinks Hyperlinks{this};
  TxlsNotes Notes{this};
  TxlsCharts Charts{this};
  TxlsImages Images{this};
  TxlsCells Cells{this};
  TxlsMergedCellList MergedCells{this};
  TxlsGraphic Background;
  int HeaderRows = 0;    // rows of the header (0: as many as it has lines); 16 bits
  int StartDataCol = 0;  // the data's first column; the ones left of it are the handler's
  int FooterRows = 0;
  TStrings ExportedFields, Header, Captions, Footer, UserFormats, ColumnsWidth;
  double DefRowHeight = kDefaultRowHeight;  // points
  int DefColWidth = 8;                      // characters
  bool AllowCaptions = true;
  bool GoToFirstRecord = true;
  int ExportRecCount = 0;
  int SkipRecCount = 0;
  bool CurrentRecordOnly = false;
  bool OnlyVisibleFields = true;
  bool AutoCalcStrType = false;
  int CaptionRow = -1;
  bool Exported = true;
  int Tag = 0;

  TVantrixSource ExportSource() const { return exportSource_; }
  void SetExportSource(TVantrixSource source) { exportSource_ = source; }
  TVantrixSourceRefs Sources() const;
  TVantrixFormats& Formats() { return formats_; }
  const TVantrixFormats& Formats() const { return formats_; }
  void SetFormats(const TVantrixFormats& formats) { formats_.Assign(formats); }

  // Every setting of another sheet but DefRowHeight, DefColWidth, Exported and Tag.
  void Assign(const TxlsSheet& source);
  std::string GetDisplayName() const;
  // The exporter's own settings into this sheet, and back.
  void LoadFromVantrixXLS();
  void SaveToVantrixXLS() const;

  TVantrix3XLS* Component() const { return component_; }
  // The position in the exporter's sheets; -1 outside one.
  int Index() const;
  TxlsExportStage GetExportStage() const;
  void SetExportStage(TxlsExportStage stage);
  // The first data row as the header's lines and the caption row place it: the header's
  // line count (or HeaderRows when smaller and not 0), plus 1 with captions.
  uint16_t GetStartDataRow() const;

  TVantrixColumns& Columns() { return columns_; }
  const TVantrixColumns& Columns() const { return columns_; }
  TVantrixRow& Row() { return row_; }

  // --- the stages (while the exporter's run writes this sheet) -----------------------------
  void InitExport();
  void DoHeader();
  void DoCaption();
  void DoBeforeData();
  void FillExportRow();
  void DoData();
  void DoAggregate();
  void DoFooter();
  // The XF of a number format text (code page 1252) and a cell format, registered when new.
  uint16_t AddXF(const std::string& formatText, const TxlsFormat* format);
  uint16_t AddXF(std::u16string_view formatText, const TxlsFormat* format);
  // The XF of the data cell of a column in the current row.
  uint16_t GetXF(int colIndex);
  void AddColumnToFormatList(int colIndex);
  void AddStylesToFormatList();

  // The run's place in the sheet: the next row to write, the records of the source read,
  // the column after the last, and whether row heights are kept for the pictures.
  int CurrentRow = 0;
  int RecordNumber = 0;
  int LastColumn = 0;
  bool TrackRowHeights = false;
  // Where each field's data cells went on the sheet being written; emptied when a sheet (or
  // a continuation) begins.
  TxlsColumnList FieldColumns;
  void ClearFieldColumns();
  // The skip count and record limit of the run: for a list view the settings cut to its
  // item count, the settings themselves kept as the user set them.
  int RunSkipRecCount = 0;
  int RunExportRecCount = 0;
  // The row the data of the sheet being written began at.
  int FirstDataRow() const { return firstDataRow_; }
  void MarkFirstDataRow() { firstDataRow_ = CurrentRow; }
  // Rows kept free below the data for the aggregate row and the footer.
  int RowsAfterData() const;

  // --- what the column model and the items ask of their owner ------------------------------
  std::optional<TVantrixSourceRefs> OwnerSources() const override { return Sources(); }
  const TStrings* OwnerExportedFields() const override { return &ExportedFields; }
  std::optional<bool> OwnerOnlyVisibleFields() const override { return OnlyVisibleFields; }
  const TVantrixFormats* OwnerFormats() const override { return &formats_; }
  std::optional<bool> OwnerAutoCalcStrType() const override { return AutoCalcStrType; }
  std::optional<int> OwnerCaptionRow() const override { return CaptionRow; }
  const TStrings* OwnerUserFormats() const override { return &UserFormats; }
  const TStrings* OwnerColumnsWidth() const override { return &ColumnsWidth; }
  const TStrings* OwnerCaptions() const override { return &Captions; }
  std::optional<int> OwnerSkipRecCount() const override { return SkipRecCount; }
  std::optional<int> OwnerExportRecCount() const override { return ExportRecCount; }

  const TxlsFormat* HyperlinkFormatForNewItems() const override { return &Options.HyperlinkFormat; }
  const TxlsNoteFormat* NoteFormatForNewItems() const override { return &Options.NoteFormat; }
  const TxlsPictures* ComponentPictures() const override;
  const TxlsSheetLayout* SheetLayout() const override { return this; }

  std::optional<TxlsUsedRange> WrittenRange() const override;
  int ColumnWidth(int col) const override;
  int RowHeight(int row) const override;

 private:
  TxlsExportRun& Run() const;
  // The stages' shared steps.
  void WriteLines(const TStrings& lines, int rows, TxlsFormat& format, bool footer);
  void WriteLabel(int col, std::u16string_view text, uint16_t xf);
  // The data cell text_ of column i by the column's type.
  void WriteDataCell(int i, uint16_t xf);

  TxlsSheets* collection_;
  TVantrix3XLS* component_;
  TVantrixSource exportSource_ = esDataSet;
  TVantrixFormats formats_;
  TVantrixColumns columns_;
  TVantrixRow row_;

  // Prepared by InitExport for each column: its picture as a number format, its field's XF,
  // its strip XFs (by column, or by strip style and column), where its cells are recorded.
  std::vector<WideString> numberFormats_;
  std::vector<uint16_t> fieldXF_;
  std::vector<uint16_t> stripXF_;
  std::vector<TxlsColumn*> fieldColumns_;
  std::vector<int> aggregateTags_;
  int firstDataRow_ = 0;
  int sheetIndex_ = -1;
  // Reused from cell to cell: the cell's text, its wide form (a label's, or the one a handler
  // gave) and whether a handler gave it.
  std::string text_;
  WideString label_;
  bool wideGiven_ = false;
  WideString wide_;
  std::string picture_;
  std::string formatText_;
  TxlsFormat cellFormat_;
};

class TxlsSheets {
 public:
  explicit TxlsSheets(TVantrix3XLS* owner) : owner_(owner) {}
  TxlsSheets(const TxlsSheets&) = delete;
  TxlsSheets& operator=(const TxlsSheets&) = delete;

  TVantrix3XLS* GetOwner() const { return owner_; }
  TxlsSheet& Add();
  size_t Count() const { return items_.size(); }
  bool Empty() const { return items_.empty(); }
  TxlsSheet& GetItem(size_t index) const { return *items_.at(index); }
  TxlsSheet& operator[](size_t index) const { return GetItem(index); }
  // Copies the sheet into the one at the position.
  void SetItem(size_t index, const TxlsSheet& sheet) { GetItem(index).Assign(sheet); }
  void Delete(size_t index);
  void Clear() { items_.clear(); }
  int IndexOf(const TxlsSheet* sheet) const;
  // As many sheets as the source's, each assigned from its peer.
  void Assign(const TxlsSheets& source);

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  TVantrix3XLS* owner_;
  std::vector<std::unique_ptr<TxlsSheet>> items_;
};

}  // namespace vantrix
