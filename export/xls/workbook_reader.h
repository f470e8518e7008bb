#pragma once
// A BIFF8 workbook read into records: the globals, each worksheet with its cells by row and by
// column, chart sheets and embedded charts kept as the records they were, and the workbook
// written back. The reading side serves tools and tests (our own read-back of what the writer
// makes); the export itself never reads a workbook.
//
// What a save keeps: every record in the order read, but the cells of a sheet row by row
// (a MULRK or MULBLANK as single cells), a formula followed by the records it anchors and its
// text result, and the shared strings that cells still refer to, renumbered. INDEX and DBCELL
// hold stream offsets that no longer hold after a save, so they are dropped; an EXTSST is
// written anew right after the shared strings, pointing at where the save put them.
//
// A password-protected workbook (a FILEPASS record, in the globals or in a sheet's records)
// has every record after that one encrypted: it is refused, never read as the noise its bodies
// would make.
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "export/xls/builtin_formats.h"
#include "export/xls/cell_records.h"
#include "export/xls/col_info.h"
#include "export/xls/sheet_records.h"
#include "export/xls/sst_read.h"
#include "export/xls/xls_record_reader.h"

namespace vantrix {

class TxlsFile;
class TxlsWorkbook;

inline constexpr const char* kSectionNotLoaded = "A section of the workbook is not loaded";
inline constexpr const char* kPasswordProtected =
    "The workbook is password-protected: its records are encrypted and cannot be read";

namespace biff {
inline constexpr uint16_t kBofGlobals = 0x0005, kBofWorksheet = 0x0010, kBofChart = 0x0020;
inline constexpr uint16_t kFilePass = 0x002F;
}

class TbiffRecordList : public TxlsList<TbiffRecord> {
 public:
  void Save(TxlsStream& stream) const;
  uint64_t GetTotalSize() const;
};

// The formats by id: a workbook's own FORMAT records, else the built-in texts of ids 0-49.
class TbiffFormatList {
 public:
  void Add(const TbiffFormat* format);
  const TbiffFormat* Find(uint16_t id) const;
  WideString GetFormat(uint16_t id) const;
  void Clear() { byId_.clear(); }
  size_t Count() const { return byId_.size(); }

 private:
  std::map<uint16_t, const TbiffFormat*> byId_;
};

// Reads the record at the stream's position with its CONTINUE records, made by its class
// for the section given (a cell, a formula, an SST ...); a plain TbiffRecord when typed is
// false. Raises "Error reading Excel records. File invalid" on a broken stream and the
// record class's own error on a body it refuses.
std::unique_ptr<TbiffRecord> LoadRecord(TxlsReadStream& stream, TxlsSection* section, bool typed = true);

class TxlsSection {
 public:
  explicit TxlsSection(TxlsWorkbook* workbook) : workbook_(workbook) {}
  virtual ~TxlsSection();
  TxlsSection(const TxlsSection&) = delete;
  TxlsSection& operator=(const TxlsSection&) = delete;

  TxlsWorkbook* Workbook() const { return workbook_; }
  TbiffBOF* BOFRecord() const { return bof_.get(); }
  TbiffRecord* EOFRecord() const { return eof_.get(); }
  // Where the section's BOF was in the stream read.
  size_t StreamPosition() const { return streamPosition_; }
  // The BOUNDSHEET that names the sheet (the workbook's to set); null for the globals and
  // for a sheet none names.
  TbiffBoundSheet* BoundSheet() const { return boundSheet_; }
  virtual uint64_t GetTotalSize() const;
  // Reads the section's records after its BOF, up to and with its EOF.
  virtual void Load(TxlsReadStream& stream, std::unique_ptr<TbiffBOF> bof) = 0;
  virtual void Save(TxlsStream& stream) = 0;
  virtual void Clear();

  std::function<void(TxlsSection&)> OnDestroy;

 protected:
  void CheckLoaded() const;
  TxlsWorkbook* workbook_;
  std::unique_ptr<TbiffBOF> bof_;
  std::unique_ptr<TbiffRecord> eof_;

 private:
  friend class TxlsWorkbook;
  size_t streamPosition_ = 0;
  TbiffBoundSheet* boundSheet_ = nullptr;
};

class TxlsGlobals : public TxlsSection {
 public:
  using TxlsSection::TxlsSection;
  void Load(TxlsReadStream& stream, std::unique_ptr<TbiffBOF> bof) override;
  void Save(TxlsStream& stream) override;
  uint64_t GetTotalSize() const override;
  void Clear() override;

  // Every record in the order read; the SST's place is an empty slot.
  TbiffRecordList Records;
  TbiffSSTList SST;
  TbiffFormatList Formats;
  std::vector<TbiffFont*> Fonts;
  std::vector<TbiffXF*> XFs;
  std::vector<TbiffName*> Names;
  std::vector<TbiffRecord*> Styles;
  std::vector<TbiffBoundSheet*> BoundSheets;
  TbiffWindow1* Window1 = nullptr;

  // Whether cells of the XF show dates or times (by the XF's format).
  bool IsDateXF(uint16_t xf) const;
  // Whether the workbook read had an EXTSST (the save then writes a new one), and the
  // strings per bucket it asked for.
  bool HasExtSST() const { return hasExtSST_; }
  uint16_t ExtSSTBucketSize() const { return extSSTBucket_; }

 private:
  bool SSTSaved() const;
  mutable std::vector<int8_t> dateXF_;  // per XF: -1 not yet known, else 0 or 1
  bool hasExtSST_ = false;
  uint16_t extSSTBucket_ = 0;
};

// One row's cells in column order (owned), or one column's in row order (looked up).
template <class Pointer>
class TxlsCellLine {
 public:
  int Number = -1, MinCol = -1, MaxCol = -1;
  size_t Count() const { return cells_.size(); }
  TbiffCell* operator[](size_t i) const { return &*cells_[i]; }
  // The cell at the key (the column of a row, the row of a column), or null.
  TbiffCell* Find(int key) const;

 protected:
  friend class TxlsWorkSheet;
  // Puts the cell at its key, replacing and returning one already there.
  Pointer Put(int key, Pointer cell);
  static int KeyOf(const TbiffCell& cell, bool byColumn) { return byColumn ? cell.Col() : cell.Row(); }
  bool byColumn_ = true;
  std::vector<Pointer> cells_;
};
using TxlsRow = TxlsCellLine<std::unique_ptr<TbiffCell>>;
using TxlsCol = TxlsCellLine<TbiffCell*>;

class TxlsWorkSheet : public TxlsSection {
 public:
  static constexpr int kMaxRow = 65535, kMaxCol = 255;

  using TxlsSection::TxlsSection;
  ~TxlsWorkSheet() override;
  void Load(TxlsReadStream& stream, std::unique_ptr<TbiffBOF> bof) override;
  void Save(TxlsStream& stream) override;
  uint64_t GetTotalSize() const override;
  void Clear() override;

  // Adds the cell at its row and column (a cell already there is replaced); a column beyond
  // the sheet's raises "Invalid Column (%d)".
  void AddCell(std::unique_ptr<TbiffCell> cell);
  void AddMultiple(TbiffMultiple& record);
  // The cell or null; a row outside 0-65535 raises "Invalid Row (%d)", a column outside 0-255
  // "Invalid Column (%d)".
  TbiffCell* GetCells(int row, int col) const;
  // One more than the last row or column holding a cell.
  int GetRowCount() const { return static_cast<int>(rows_.size()); }
  int GetColCount() const { return maxCol_ + 1; }
  // The row's cells in column order; null for a row without cells.
  TxlsRow* Row(int row) const { return row >= 0 && row < GetRowCount() ? rows_[static_cast<size_t>(row)].get() : nullptr; }
  // The column's cells in row order, gathered from the rows when first asked after a change;
  // null for a column without cells.
  const TxlsCol* Col(int col) const;
  // Sets the DIMENSIONS record to the rows and columns that hold cells.
  void FixDimensions();
  // The name its BOUNDSHEET gives it: the one whose offset points at the sheet, else (when
  // no offset does) the one at the sheet's place among those left; empty without one.
  WideString GetName() const;

  TxlsColInfoList ColInfos;
  std::unique_ptr<TbiffDimensions> Dimensions;
  TbiffRecordList HeadRecords;   // before the cells
  TbiffRecordList RowRecords;    // ROW records
  TbiffRecordList MiddleRecords; // after the cells, before WINDOW2 (drawings, notes, charts)
  TbiffRecordList TailRecords;   // from WINDOW2 on
  // Chart substreams written after the sheet's EOF that belong to it.
  TbiffRecordList TrailingCharts;
  std::vector<TbiffShrFmla*> SharedFormulas;
  // The shared formula anchored at the key (its first row | first column << 16), or null.
  TbiffShrFmla* FindSharedFormula(uint32_t key) const;
  int DefColWidth = 8, DefRowHeight = 255;
  TbiffWindow2* Window2 = nullptr;

 private:
  void LoadRecords(TxlsReadStream& stream);
  std::vector<std::unique_ptr<TxlsRow>> rows_;
  int maxCol_ = -1;
  mutable std::vector<std::unique_ptr<TxlsCol>> cols_;
  mutable bool colsValid_ = false;
};

// A chart sheet: its substream kept as read.
class TxlsChartSheet : public TxlsSection {
 public:
  using TxlsSection::TxlsSection;
  void Load(TxlsReadStream& stream, std::unique_ptr<TbiffBOF> bof) override;
  void Save(TxlsStream& stream) override;
  uint64_t GetTotalSize() const override;
  void Clear() override;
  TbiffRecordList Records;  // between BOF and EOF
};

// Reads a chart substream whose BOF was just read, up to its own EOF, as plain records into
// the list (BOF and EOF included).
void LoadChartSubstream(TxlsReadStream& stream, std::unique_ptr<TbiffRecord> bof, TbiffRecordList& into);

class TxlsWorkbook {
 public:
  explicit TxlsWorkbook(TxlsFile* file = nullptr) : file_(file), globals_(this) {}
  ~TxlsWorkbook();
  TxlsWorkbook(const TxlsWorkbook&) = delete;
  TxlsWorkbook& operator=(const TxlsWorkbook&) = delete;

  TxlsFile* File() const { return file_; }
  TxlsGlobals& Globals() { return globals_; }
  const TxlsGlobals& Globals() const { return globals_; }
  size_t WorkSheetCount() const { return workSheets_.size(); }
  TxlsWorkSheet& WorkSheet(size_t i) const { return *workSheets_.at(i); }
  // The position of the worksheet of that name; -1 without one.
  int IndexOfName(std::u16string_view name) const;
  // Worksheets and chart sheets, in the order of the file (each with its BOUNDSHEET, see
  // TxlsSection::BoundSheet).
  const std::vector<TxlsSection*>& Sheets() const { return sheets_; }

  // Reads the whole stream. Raises on anything it cannot take; the workbook is empty then.
  void Load(TxlsReadStream& stream);
  void Save(TxlsStream& stream);
  void Clear();
  // Drops the shared strings no cell refers to and points every BOUNDSHEET at its sheet.
  void FixBoundSheetOffsets();

 private:
  void LoadSections(TxlsReadStream& stream);
  void MatchBoundSheets();
  TxlsFile* file_;
  TxlsGlobals globals_;
  std::vector<std::unique_ptr<TxlsWorkSheet>> workSheets_;
  std::vector<std::unique_ptr<TxlsChartSheet>> chartSheets_;
  std::vector<TxlsSection*> sheets_;
};

}  // namespace vantrix
