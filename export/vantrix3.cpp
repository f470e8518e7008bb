#include "export/vantrix3.h"

#include <algorithm>

#include "export/library_strings.h"
#include "export/output_stream.h"
#include "export/shell_service.h"
#include "platform/cp1252.h"
#include "platform/finally.h"
#include "platform/text_trim.h"

namespace vantrix {
namespace {

using platform::Finally;

}  // namespace

TVantrix3::TVantrix3()
    : columns_(this),
      row_(&columns_, &formats_, [this](const TVantrixCol& col, std::string& text) { GetColData(col, text); }) {}

TVantrix3::~TVantrix3() = default;

TVantrixSourceRefs TVantrix3::Sources() const {
  return SourceRefs(exportSource_);
}

std::unique_ptr<TVantrixWriter> TVantrix3::CreateWriter(OutputStream& stream) {
  return std::make_unique<TVantrixWriter>(*this, stream);
}

TVantrixRunResult TVantrix3::ExportToStream(OutputStream& stream) {
  std::unique_ptr<TVantrixWriter> writer = CreateWriter(stream);
  writer_ = writer.get();
  Finally release([this] { writer_ = nullptr; });
  return DoExport();
}

TVantrixRunResult TVantrix3::DoExport() {
  counter_ = 0;
  CheckExportSource();
  const std::string kind = VantrixSourceAsString(exportSource_);
  if (!IsActive()) RaiseLibraryError(kStrSourceClosed, kind);
  if (!ExportEmpty && IsEmpty()) RaiseLibraryError(kStrSourceEmpty, kind);

  DisableControls();
  Finally enable([this] { EnableControls(); });

  BeginExport();
  if (aborted_) return rrAbortedBeforeOutput;
  if (AutoCalcColWidth) {
    columns_.AutoCalcColWidth();
    if (aborted_) return rrAbortedBeforeOutput;
  }

  {
    Finally end([this] { EndExport(); });
    if (AllowCaptions) WriteCaptionRow();
    if (aborted_) return rrAborted;
    if (GoToFirstRecord) First();
    BeforeExport();
    if (aborted_) return rrAborted;
    Skip(runSkip_);
    if (aborted_) return rrAborted;

    counter_ = 0;
    for (;;) {
      if (EndOfFile()) break;
      if (runLimit_ != 0 && counter_ >= runLimit_) break;
      if (aborted_ && !CanContinue()) break;
      bool accept = true;
      FillExportRow();
      if (OnBeforeExportRow) OnBeforeExportRow(*this, row_, accept);
      if (accept) {
        WriteDataRow();
        if (OnExportedRecord) OnExportedRecord(*this, counter_);
      }
      if (CurrentRecordOnly) break;
      Next();
      Yield();
    }
    AfterExport();
  }
  return aborted_ ? rrAborted : rrCompleted;
}

void TVantrix3::BeginExport() {
  columns_.Clear();
  columns_.Fill(false);
  row_.Clear();
  row_.ClearIndex();
  for (int i = 0; i < columns_.Count(); ++i) {
    row_.Add(columns_[i].Name, i);
    row_.AddToIndex(columns_[i].Name, i);
  }
  row_.SortIndex();
  aborted_ = false;
  runSkip_ = SkipRecCount;
  runLimit_ = ExportRecCount;
  if (exportSource_ == esListView && ListView() != nullptr) {
    const int items = ListView()->RowCount();
    runSkip_ = std::min(runSkip_, items);
    if (runLimit_ > 0) runLimit_ = std::min(runLimit_, items);
  }
  if (OnBeginExport) OnBeginExport(*this);
}

void TVantrix3::EndExport() {
  if (OnEndExport) OnEndExport(*this);
}

bool TVantrix3::EndOfFile() { return VantrixEof(Sources(), runSkip_, runLimit_, counter_); }

std::string TVantrix3::GetCaptionRow() {
  std::string out;
  for (int i = 0; i < columns_.Count(); ++i) out += GetColCaption(i);
  return out;
}

void TVantrix3::FillExportRow() {
  const TVantrixSourceRefs refs = Sources();
  const int count = std::min(columns_.Count(), row_.Count());
  for (int i = 0; i < count; ++i) {
    // Each column fills its own cell (the row was built in column order), so two columns
    // whose names differ only in case keep their own values.
    std::string& text = row_[i].MutableValue();
    VantrixGetColData(refs, text, false, runSkip_, counter_, i, nullptr, formats_, columns_);
    if (OnGetExportText) OnGetExportText(*this, i, text);
    platform::TrimBlanksInPlace(text);
    // Every format writes a cell's text; none of their readers takes a byte that is no
    // character, so each becomes '?' here, the same in every format.
    platform::ReplaceCp1252NonCharacters(text);
  }
}

std::string TVantrix3::GetDataRow(bool formatted) {
  std::string out, cell;
  for (int i = 0; i < row_.Count(); ++i) {
    row_[i].GetExportedValue(formatted, cell);
    out += cell;
  }
  return out;
}

std::string TVantrix3::GetColCaption(int index) {
  std::string caption = columns_[index].Caption;
  NormalString(caption);
  return caption;
}

void TVantrix3::GetColData(const TVantrixCol&, std::string&) {}

bool TVantrix3::CanContinue() {
  bool result = !aborted_;
  if (OnStopExport) OnStopExport(*this, result);
  aborted_ = !result;
  return result;
}

void TVantrix3::First() {
  counter_ = 0;
  VantrixFirst(Sources());
}

void TVantrix3::Skip(int count) {
  const TVantrixSkippedEvent skipped = [this](int counter) {
    if (OnSkippedRecord) OnSkippedRecord(*this, counter);
  };
  VantrixSkip(Sources(), count, skipped, counter_);
}

void TVantrix3::GoToBookmark(int bookmark) {
  counter_ = 0;
  VantrixGotoBookmark(Sources(), bookmark);
}

void TVantrix3::GetCellParams(int recNo, int colNo, const std::string& value, TVantrixColAlign& align,
                              TVantrixFont& font, uint32_t& background) {
  if (OnGetCellParams) OnGetCellParams(*this, recNo, colNo, value, align, font, background);
}

TVantrixShell& TVantrix3::ShellService() const { return shell_ != nullptr ? *shell_ : DefaultVantrixShell(); }

void TVantrix3::OwnerFetchedRecord(int recNo) {
  if (OnFetchedRecord) OnFetchedRecord(*this, recNo);
  Yield();
}

}  // namespace vantrix
