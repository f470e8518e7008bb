#include "export/xls/xls_sheet.h"

#include <cmath>

#include "export/xls/vantrix3_xls.h"
#include "export/xls/xls_export_run.h"

namespace vantrix {

TxlsSheet::TxlsSheet(TxlsSheets* collection)
    : collection_(collection),
      component_(collection != nullptr ? collection->GetOwner() : nullptr),
      columns_(this),
      row_(&columns_, &formats_) {
  if (collection != nullptr) Title = Cp1252ToWide("Sheet " + std::to_string(collection->Count() + 1));
}

TxlsSheet::~TxlsSheet() = default;

TVantrixSourceRefs TxlsSheet::Sources() const {
  return SourceRefs(exportSource_);
}

namespace {

// The settings a sheet and the exporter both carry, from one to the other (a sheet to a
// sheet, the exporter to a sheet and back): one list, so that the three copies cannot drift
// apart. The title is each caller's own: the exporter keeps it in its options.
template <class To, class From>
void CopySheetSettings(To& to, const From& from) {
  to.AutoCalcColWidth = from.AutoCalcColWidth;
  // The page texts too: a sheet copied without them would print another header and footer.
  to.Options.AssignAll(from.Options);
  to.FieldFormats.Assign(from.FieldFormats);
  to.StripType = from.StripType;
  to.StripStyles.Assign(from.StripStyles);
  to.Hyperlinks.Assign(from.Hyperlinks);
  to.Notes.Assign(from.Notes);
  to.Charts.Assign(from.Charts);
  to.Images.Assign(from.Images);
  to.Cells.Assign(from.Cells);
  to.MergedCells.Assign(from.MergedCells);
  to.Background.Assign(from.Background);
  to.SetExportSource(from.ExportSource());
  to.SetDataSet(from.DataSet());
  to.SetCustomSource(from.CustomSource());
  to.SetListView(from.ListView());
  to.SetDBGrid(from.DBGrid());
  to.SetStringGrid(from.StringGrid());
  to.ExportedFields = from.ExportedFields;
  to.HeaderRows = from.HeaderRows;
  to.StartDataCol = from.StartDataCol;
  to.FooterRows = from.FooterRows;
  to.Header = from.Header;
  to.Captions = from.Captions;
  to.Footer = from.Footer;
  to.SetFormats(from.Formats());
  to.UserFormats = from.UserFormats;
  to.ColumnsWidth = from.ColumnsWidth;
  to.AllowCaptions = from.AllowCaptions;
  to.GoToFirstRecord = from.GoToFirstRecord;
  to.ExportRecCount = from.ExportRecCount;
  to.SkipRecCount = from.SkipRecCount;
  to.CurrentRecordOnly = from.CurrentRecordOnly;
  to.OnlyVisibleFields = from.OnlyVisibleFields;
  to.AutoCalcStrType = from.AutoCalcStrType;
  to.CaptionRow = from.CaptionRow;
}

}  // namespace

void TxlsSheet::Assign(const TxlsSheet& source) {
  if (&source == this) return;
  CopySheetSettings(*this, source);
  Title = source.Title;
}

std::string TxlsSheet::GetDisplayName() const { return Title.empty() ? "TxlsSheet" : WideToCp1252(Title); }

void TxlsSheet::LoadFromVantrixXLS() {
  if (component_ == nullptr) return;
  CopySheetSettings(*this, *component_);
  Title = Cp1252ToWide(component_->Options.SheetTitle());
}

void TxlsSheet::SaveToVantrixXLS() const {
  if (component_ == nullptr) return;
  CopySheetSettings(*component_, *this);
  component_->Options.SetSheetTitle(WideToCp1252(Title));
}

void TxlsSheet::ClearFieldColumns() {
  FieldColumns.ClearColumns();
  fieldColumns_.assign(static_cast<size_t>(columns_.Count()), nullptr);
}

int TxlsSheet::Index() const { return collection_ != nullptr ? collection_->IndexOf(this) : -1; }

TxlsExportStage TxlsSheet::GetExportStage() const { return component_ != nullptr ? component_->ExportStage : esNone; }

void TxlsSheet::SetExportStage(TxlsExportStage stage) {
  if (component_ != nullptr) component_->ExportStage = stage;
}

uint16_t TxlsSheet::GetStartDataRow() const {
  const int lines = static_cast<int>(Header.size());
  int row = 0;
  if (lines >= 1) row = HeaderRows != 0 && HeaderRows < lines ? HeaderRows : lines;
  if (AllowCaptions) ++row;
  return static_cast<uint16_t>(row);
}

TxlsExportRun& TxlsSheet::Run() const { return component_->Run(); }

const TxlsPictures* TxlsSheet::ComponentPictures() const {
  return component_ != nullptr ? &component_->Pictures : nullptr;
}

std::optional<TxlsUsedRange> TxlsSheet::WrittenRange() const {
  const TxlsExportRun* run = component_ != nullptr ? component_->CurrentRun() : nullptr;
  if (run == nullptr) return std::nullopt;
  const int index = run->BoundSheets.IndexOfSheetIndex(Index());
  if (index < 0) return std::nullopt;
  return run->BoundSheets.Get(static_cast<size_t>(index))->UsedRange();
}

int TxlsSheet::ColumnWidth(int col) const {
  const TxlsExportRun* run = component_ != nullptr ? component_->CurrentRun() : nullptr;
  const int i = col - StartDataCol;
  if (run != nullptr && run->Sheet == this && i >= 0 && static_cast<size_t>(i) < run->ColumnWidths.size())
    return run->ColumnWidths[static_cast<size_t>(i)];
  return DefColWidth;
}

int TxlsSheet::RowHeight(int row) const {
  const TxlsExportRun* run = component_ != nullptr ? component_->CurrentRun() : nullptr;
  if (run != nullptr && run->Sheet == this && row >= 0 && static_cast<size_t>(row) < run->RowHeights.size() &&
      run->RowHeights[static_cast<size_t>(row)] > 0)
    return run->RowHeights[static_cast<size_t>(row)];
  return static_cast<int>(std::lround(DefRowHeight * 20));
}

// --- TxlsSheets --------------------------------------------------------------------------------

TxlsSheet& TxlsSheets::Add() {
  items_.push_back(std::make_unique<TxlsSheet>(this));
  return *items_.back();
}

void TxlsSheets::Delete(size_t index) {
  if (index < items_.size()) items_.erase(items_.begin() + static_cast<ptrdiff_t>(index));
}

int TxlsSheets::IndexOf(const TxlsSheet* sheet) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == sheet) return static_cast<int>(i);
  return -1;
}

void TxlsSheets::Assign(const TxlsSheets& source) {
  if (&source == this) return;
  Clear();
  for (const auto& sheet : source.items_) Add().Assign(*sheet);
}

}  // namespace vantrix
