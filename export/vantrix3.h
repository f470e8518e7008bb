#pragma once
// The exporter base: one export run from a row source to a format's writer. It checks the
// source, builds the column model and the export row, walks the records through the
// data-source layer, hands each filled row to the format's virtual writing operations, fires
// the user's events, and keeps its properties in an INI file. A format overrides a handful of
// the virtual operations and supplies its writer; it never walks the source itself.
//
// Nothing a run does changes process-wide state: the locale forms are the exporter's own (in
// its Formats), and the source references are weak (a source that goes away is seen as gone).
#include <QPointer>
#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "export/columns.h"
#include "export/custom_source.h"
#include "export/formats.h"
#include "export/model_source.h"
#include "export/row.h"
#include "export/source_links.h"
#include "export/string_list.h"
#include "export/vantrix_font.h"
#include "export/writer.h"

namespace platform {
class IniFile;
}

namespace vantrix {

class OutputStream;
class TVantrixShell;

// How a run ended. An abort keeps what was written: the format's end still ran, so the
// output is a whole document of the rows written so far; only an abort before any output
// (while the run began) leaves nothing.
enum TVantrixRunResult { rrCompleted, rrAborted, rrAbortedBeforeOutput };

class TVantrix3 : public TVantrixColumnsOwner, public TVantrixSourceLinks {
 public:
  using TNotifyEvent = std::function<void(TVantrix3& sender)>;
  using TExportedRecordEvent = std::function<void(TVantrix3& sender, int recNo)>;
  using TVantrixStopEvent = std::function<void(TVantrix3& sender, bool& canContinue)>;
  using TGetExportTextEvent = std::function<void(TVantrix3& sender, int colNo, std::string& text)>;
  using TBeforeExportRowEvent = std::function<void(TVantrix3& sender, TVantrixRow& row, bool& accept)>;
  using TGetCellParamsEvent = std::function<void(TVantrix3& sender, int recNo, int colNo, const std::string& value,
                                                 TVantrixColAlign& align, TVantrixFont& font, uint32_t& background)>;

  TVantrix3();
  TVantrix3(const TVantrix3&) = delete;
  TVantrix3& operator=(const TVantrix3&) = delete;
  ~TVantrix3() override;

  // --- the source -------------------------------------------------------------------------
  TVantrixSource ExportSource() const { return exportSource_; }
  void SetExportSource(TVantrixSource source) { exportSource_ = source; }
  TVantrixSourceRefs Sources() const;

  // --- published settings (defaults as the constructor sets them) ------------------------
  TStrings ExportedFields;  // names (string grid: column numbers) to export; empty = all
  bool CurrentRecordOnly = false;
  bool GoToFirstRecord = true;
  int ExportRecCount = 0;  // at most this many records; 0 = no limit
  int SkipRecCount = 0;
  bool OnlyVisibleFields = false;
  bool AutoCalcStrType = false;
  int CaptionRow = -1;
  bool ExportEmpty = true;
  std::string About = "Table export engine: text, document and spreadsheet formats from any row source";
  std::string _Version = "3.40";

  // --- members the formats publish where they use them ------------------------------------
  std::string Title;
  TStrings Header, Footer, Captions, UserFormats, ColumnsWidth, ColumnsAlign, ColumnsLength;
  bool AllowCaptions = true;
  bool AutoCalcColWidth = false;
  TVantrixFormats& Formats() { return formats_; }
  const TVantrixFormats& Formats() const { return formats_; }
  void SetFormats(const TVantrixFormats& formats) { formats_.Assign(formats); }

  // --- events -----------------------------------------------------------------------------
  TNotifyEvent OnBeginExport, OnEndExport;
  TExportedRecordEvent OnSkippedRecord, OnExportedRecord, OnFetchedRecord;
  TVantrixStopEvent OnStopExport;
  TGetExportTextEvent OnGetExportText;
  TBeforeExportRowEvent OnBeforeExportRow;
  TGetCellParamsEvent OnGetCellParams;
  // Called once per record (and per record of a width pass): a window showing progress
  // processes its events here, so its abort button can be pressed.
  std::function<void()> OnYield;

  // Where results are opened, printed or put on the clipboard; the desktop's by default.
  void SetShellService(TVantrixShell* shell) { shell_ = shell; }
  TVantrixShell& ShellService() const;

  // --- the run ----------------------------------------------------------------------------
  // Writes the export to a destination of the format's own (a file, the clipboard).
  virtual TVantrixRunResult Execute() { return rrCompleted; }
  // The whole run into the stream, with the format's writer.
  TVantrixRunResult ExportToStream(OutputStream& stream);
  TVantrixRunResult DoExport();
  // Stops the run at the next record (the format writes nothing for it: its end still runs
  // once). Final unless OnStopExport answers that the run may go on.
  void Abort() { aborted_ = true; }
  bool Aborted() const { return aborted_; }
  bool CanContinue();

  TVantrixColumns& Columns() { return columns_; }
  const TVantrixColumns& Columns() const { return columns_; }
  TVantrixRow& Row() { return row_; }
  const TVantrixRow& Row() const { return row_; }
  TVantrixWriter* GetWriter() const { return writer_; }
  int RecordCounter() const { return counter_; }
  void GetCellParams(int recNo, int colNo, const std::string& value, TVantrixColAlign& align, TVantrixFont& font,
                     uint32_t& background);

  // --- persistence ------------------------------------------------------------------------
  virtual void SaveProperties(platform::IniFile& ini) const;
  virtual void LoadProperties(const platform::IniFile& ini);
  // The properties into (or from) an INI file on that path; a save writes the file once,
  // whole, and raises EVantrixError when it can't.
  void SavePropertiesToFile(const std::string& path) const;
  void LoadPropertiesFromFile(const std::string& path);

  // --- the column model's owner -----------------------------------------------------------
  std::optional<TVantrixSourceRefs> OwnerSources() const override { return Sources(); }
  const TStrings* OwnerExportedFields() const override { return &ExportedFields; }
  std::optional<bool> OwnerOnlyVisibleFields() const override { return OnlyVisibleFields; }
  std::optional<bool> OwnerAutoCalcStrType() const override { return AutoCalcStrType; }
  std::optional<int> OwnerCaptionRow() const override { return CaptionRow; }
  std::optional<int> OwnerSkipRecCount() const override { return SkipRecCount; }
  std::optional<int> OwnerExportRecCount() const override { return ExportRecCount; }
  void OwnerFetchedRecord(int recNo) override;

 protected:
  // The format's writer over the output.
  virtual std::unique_ptr<TVantrixWriter> CreateWriter(OutputStream& stream);
  virtual void BeginExport();
  virtual void BeforeExport() {}
  virtual void AfterExport() {}
  virtual void EndExport();
  virtual bool EndOfFile();
  virtual std::string GetCaptionRow();
  virtual void WriteCaptionRow() {}
  virtual void FillExportRow();
  virtual std::string GetDataRow(bool formatted);
  virtual void WriteDataRow() {}
  virtual std::string GetColCaption(int index);
  // The cell callback of the row: formats escape a cell's text here.
  virtual void GetColData(const TVantrixCol& col, std::string& text);
  virtual std::bitset<256> GetSpecialCharacters() const { return {}; }

  // The source, as the data-source layer moves it.
  void CheckExportSource() const { VantrixCheckSource(Sources()); }
  bool IsActive() const { return VantrixIsActive(Sources()); }
  bool IsEmpty() const { return VantrixIsEmpty(Sources()); }
  void First();
  void Next() { VantrixNext(Sources(), counter_); }
  void Skip(int count);
  int GetBookmark() const { return VantrixGetBookmark(Sources()); }
  void GoToBookmark(int bookmark);
  void FreeBookmark(int bookmark) const { VantrixFreeBookmark(Sources(), bookmark); }
  void DisableControls() const { VantrixDisableControls(Sources()); }
  void EnableControls() const { VantrixEnableControls(Sources()); }
  // The skip count and record limit of this run: for a list view the user's values cut to
  // its item count, kept apart so that the properties keep what the user set.
  int RunSkipRecCount() const { return runSkip_; }
  int RunExportRecCount() const { return runLimit_; }
  void SetRecordCounter(int counter) { counter_ = counter; }
  void Yield() {
    if (OnYield) OnYield();
  }

 private:
  TVantrixSource exportSource_ = esDataSet;
  TVantrixFormats formats_;
  TVantrixColumns columns_;
  TVantrixRow row_;
  TVantrixWriter* writer_ = nullptr;
  int counter_ = 0;
  int runSkip_ = 0, runLimit_ = 0;
  bool aborted_ = false;
  TVantrixShell* shell_ = nullptr;
};

}  // namespace vantrix
