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
  TVantrixSourceRefs refs;
  refs.source = exportSource_;
  refs.dataSet = dataSet_.data();
  refs.customSource = customSource_.data();
  refs.dbGrid = dbGrid_.data();
  refs.listView = listView_.data();
  refs.stringGrid = stringGrid_.data();
  return refs;
}

void TxlsSheet::Assign(const TxlsSheet& source) {
  if (&source == this) return;
  AutoCalcColWidth = source.AutoCalcColWidth;
  Title = source.Title;
  // The page texts too: a sheet copied without them would print another header and footer.
  Options.AssignAll(source.Options);
  FieldFormats.Assign(source.FieldFormats);
  StripStyles.Assign(source.StripStyles);
  StripType = source.StripType;
  Hyperlinks.Assign(source.Hyperlinks);
  Notes.Assign(source.Notes);
  Charts.Assign(source.Charts);
  Images.Assign(source.Images);
  Cells.Assign(source.Cells);
  MergedCells.Assign(source.MergedCells);
  Background.Assign(source.Background);
  exportSource_ = source.exportSource_;
  dataSet_ = source.dataSet_;
  customSource_ = source.customSource_;
  listView_ = source.listView_;
  dbGrid_ = source.dbGrid_;
  stringGrid_ = source.stringGrid_;
  HeaderRows = source.HeaderRows;
  StartDataCol = source.StartDataCol;
  FooterRows = source.FooterRows;
  ExportedFields = source.ExportedFields;
  Header = source.Header;
  Captions = source.Captions;
  Footer = source.Footer;
  formats_.Assign(source.formats_);
  UserFormats = source.UserFormats;
  ColumnsWidth = source.ColumnsWidth;
  AllowCaptions = source.AllowCaptions;
  GoToFirstRecord = source.GoToFirstRecord;
  ExportRecCount = source.ExportRecCount;
  SkipRecCount = source.SkipRecCount;
  CurrentRecordOnly = source.CurrentRecordOnly;
  OnlyVisibleFields = source.OnlyVisibleFields;
  AutoCalcStrType = source.AutoCalcStrType;
  CaptionRow = source.CaptionRow;
}

std::string TxlsSheet::GetDisplayName() const { return Title.empty() ? "TxlsSheet" : WideToCp1252(Title); }

void TxlsSheet::LoadFromVantrixXLS() {
  if (component_ == nullptr) return;
  const TVantrix3XLS& c = *component_;
  AutoCalcColWidth = c.AutoCalcColWidth;
  Title = Cp1252ToWide(c.Options.SheetTitle());
  // The exporter's page header and footer are the sheet's: the formats alone would lose them.
  Options.AssignAll(c.Options);
  FieldFormats.Assign(c.FieldFormats);
  StripType = c.StripType;
  StripStyles.Assign(c.StripStyles);
  Hyperlinks.Assign(c.Hyperlinks);
  Notes.Assign(c.Notes);
  Charts.Assign(c.Charts);
  Images.Assign(c.Images);
  Cells.Assign(c.Cells);
  MergedCells.Assign(c.MergedCells);
  Background.Assign(c.Background);
  exportSource_ = c.ExportSource();
  dataSet_ = c.DataSet();
  customSource_ = c.CustomSource();
  listView_ = c.ListView();
  dbGrid_ = c.DBGrid();
  stringGrid_ = c.StringGrid();
  ExportedFields = c.ExportedFields;
  HeaderRows = c.HeaderRows;
  StartDataCol = c.StartDataCol;
  FooterRows = c.FooterRows;
  Header = c.Header;
  Captions = c.Captions;
  Footer = c.Footer;
  formats_.Assign(c.Formats());
  UserFormats = c.UserFormats;
  ColumnsWidth = c.ColumnsWidth;
  AllowCaptions = c.AllowCaptions;
  GoToFirstRecord = c.GoToFirstRecord;
  ExportRecCount = c.ExportRecCount;
  SkipRecCount = c.SkipRecCount;
  CurrentRecordOnly = c.CurrentRecordOnly;
  OnlyVisibleFields = c.OnlyVisibleFields;
  AutoCalcStrType = c.AutoCalcStrType;
  CaptionRow = c.CaptionRow;
}

void TxlsSheet::SaveToVantrixXLS() const {
  if (component_ == nullptr) return;
  TVantrix3XLS& c = *component_;
  c.AutoCalcColWidth = AutoCalcColWidth;
  c.Options.AssignAll(Options);
  c.Options.SetSheetTitle(WideToCp1252(Title));
  c.FieldFormats.Assign(FieldFormats);
  c.StripType = StripType;
  c.StripStyles.Assign(StripStyles);
  c.Hyperlinks.Assign(Hyperlinks);
  c.Notes.Assign(Notes);
  c.Charts.Assign(Charts);
  c.Images.Assign(Images);
  c.Cells.Assign(Cells);
  c.MergedCells.Assign(MergedCells);
  c.Background.Assign(Background);
  c.SetExportSource(exportSource_);
  c.SetDataSet(dataSet_.data());
  c.SetCustomSource(customSource_.data());
  c.SetListView(listView_.data());
  c.SetDBGrid(dbGrid_.data());
  c.SetStringGrid(stringGrid_.data());
  c.ExportedFields = ExportedFields;
  c.HeaderRows = HeaderRows;
  c.StartDataCol = StartDataCol;
  c.FooterRows = FooterRows;
  c.Header = Header;
  c.Captions = Captions;
  c.Footer = Footer;
  c.SetFormats(formats_);
  c.UserFormats = UserFormats;
  c.ColumnsWidth = ColumnsWidth;
  c.AllowCaptions = AllowCaptions;
  c.GoToFirstRecord = GoToFirstRecord;
  c.ExportRecCount = ExportRecCount;
  c.SkipRecCount = SkipRecCount;
  c.CurrentRecordOnly = CurrentRecordOnly;
  c.OnlyVisibleFields = OnlyVisibleFields;
  c.AutoCalcStrType = AutoCalcStrType;
  c.CaptionRow = CaptionRow;
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
