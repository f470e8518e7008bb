// The stages that write a sheet: its header lines, caption row, data rows, aggregate row and
// footer lines, each cell turned into an XF of the run's registry and a cell record.
#include <algorithm>
#include <cmath>

#include "export/datetime_picture.h"
#include "export/text_to_value.h"
#include "export/xls/vantrix3_xls.h"
#include "export/xls/xls_export_run.h"
#include "export/xls/xls_number_format.h"
#include "platform/cp1252.h"
#include "platform/cp1252_case.h"
#include "platform/text_trim.h"

namespace vantrix {
namespace {

constexpr std::u16string_view kGeneral = u"General";

bool IsDateType(TVantrixColType type) { return type == ectDate || type == ectTime || type == ectDateTime; }

bool IsNumberType(TVantrixColType type) {
  return type == ectInteger || type == ectBigint || type == ectFloat || type == ectCurrency;
}

// The TAB-separated field of a line; empty past its last one.
std::string_view Field(std::string_view line, int index) {
  size_t start = 0;
  for (int i = 0; i < index; ++i) {
    const size_t tab = line.find('\t', start);
    if (tab == std::string_view::npos) return {};
    start = tab + 1;
  }
  const size_t tab = line.find('\t', start);
  return line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start);
}

}  // namespace

// --- the XF registry as the sheet uses it -------------------------------------------------

uint16_t TxlsSheet::AddXF(const std::string& formatText, const TxlsFormat* format) {
  Cp1252ToWideTo(formatText, wide_);
  return AddXF(std::u16string_view(wide_), format);
}

uint16_t TxlsSheet::AddXF(std::u16string_view formatText, const TxlsFormat* format) {
  return Run().Registry.AddXF(formatText, format);
}

void TxlsSheet::AddColumnToFormatList(int colIndex) {
  const TVantrixColumn& column = columns_[colIndex];
  const int field = FieldFormats.IndexByName(column.Name);
  const uint16_t xf = AddXF(std::u16string_view(numberFormats_[static_cast<size_t>(colIndex)]),
                            field >= 0 ? &FieldFormats[static_cast<size_t>(field)] : nullptr);
  TxlsXFRegistry& registry = Run().Registry;
  if (xf != kDefaultCellXF && registry.FieldXFs.ListIndexByFieldName(sheetIndex_, column.Name) < 0) {
    auto entry = std::make_unique<TxlsXFormatField>();
    entry->SheetIndex = sheetIndex_;
    entry->FieldName = column.Name;
    entry->XF = registry.XFormats.FormatByFormatIndex(xf);
    registry.FieldXFs.Add(std::move(entry));
  }
}

void TxlsSheet::AddStylesToFormatList() {
  stripXF_.clear();
  const size_t styles = StripStyles.Count();
  if (styles == 0 || StripType == ssNone) return;
  TxlsXFRegistry& registry = Run().Registry;
  const int columns = columns_.Count();
  auto add = [&](int number, int colIndex, const TxlsFormat& style) {
    const uint16_t xf = AddXF(std::u16string_view(numberFormats_[static_cast<size_t>(colIndex)]), &style);
    auto entry = std::make_unique<TxlsXFormatColRow>();
    entry->SheetIndex = sheetIndex_;
    entry->Number = number;
    entry->XF = registry.XFormats.FormatByFormatIndex(xf);
    registry.StripXFs.Add(std::move(entry));
    stripXF_.push_back(static_cast<uint16_t>(registry.StripXFs.XFIndexByNumber(sheetIndex_, number)));
  };
  if (StripType == ssCol) {
    for (int i = 0; i < columns; ++i) add(i, i, StripStyles[static_cast<size_t>(i) % styles]);
  } else {
    for (size_t s = 0; s < styles; ++s)
      for (int i = 0; i < columns; ++i) add(static_cast<int>(s) * 1000 + i, i, StripStyles[s]);
  }
}

uint16_t TxlsSheet::GetXF(int colIndex) {
  const auto i = static_cast<size_t>(colIndex);
  uint16_t xf = fieldXF_[i];
  if (xf == kDefaultCellXF && !stripXF_.empty()) {
    if (StripType == ssCol) {
      xf = stripXF_[i];
    } else {
      const size_t style = static_cast<size_t>(RecordNumber) % StripStyles.Count();
      xf = stripXF_[style * static_cast<size_t>(columns_.Count()) + i];
    }
  }
  const auto& event = component_->OnGetDataParams;
  if (!event) return xf;
  const TxlsXFormat* registered = xf != kDefaultCellXF ? Run().Registry.XF(xf) : nullptr;
  if (registered != nullptr) {
    cellFormat_.SetDefault();
    cellFormat_.LoadFromTxlsXFormat(*registered);
    if (registered->TextFormat != nullptr) formatText_ = WideToCp1252(registered->TextFormat->FormatText);
    else formatText_ = "General";
  } else {
    cellFormat_.Assign(Options.DataFormat);
    formatText_ = "General";
  }
  event(*this, sheetIndex_, StartDataCol + colIndex, CurrentRow, cellFormat_, formatText_);
  if (formatText_.empty()) return AddXF(std::u16string_view(numberFormats_[i]), &cellFormat_);
  return AddXF(formatText_, &cellFormat_);
}

// --- the stages ---------------------------------------------------------------------------

void TxlsSheet::InitExport() {
  CurrentRow = 0;
  LastColumn = 0;
  RecordNumber = 0;
  firstDataRow_ = 0;
  sheetIndex_ = Index();
  columns_.Clear();
  columns_.Fill(false);
  row_.Clear();
  row_.ClearIndex();
  const int count = columns_.Count();
  for (int i = 0; i < count; ++i) {
    row_.Add(columns_[i].Name, i);
    row_.AddToIndex(columns_[i].Name, i);
  }
  row_.SortIndex();

  numberFormats_.clear();
  for (int i = 0; i < count; ++i) {
    const TVantrixColumn& column = columns_[i];
    numberFormats_.push_back(IsDateType(column.ColType) ? DateTimePictureToNumberFormat(column.Format, formats_.Settings())
                                                        : NumberPictureToNumberFormat(column.Format));
  }
  AddStylesToFormatList();
  if (StripType == ssNone || StripStyles.Count() == 0)
    for (int i = 0; i < count; ++i) AddColumnToFormatList(i);
  fieldXF_.clear();
  for (int i = 0; i < count; ++i)
    fieldXF_.push_back(
        static_cast<uint16_t>(Run().Registry.FieldXFs.FormatIndexByFieldName(sheetIndex_, columns_[i].Name)));

  aggregateTags_.assign(static_cast<size_t>(count), 0);
  for (size_t k = 0; k < FieldFormats.Count(); ++k) {
    const TxlsFieldFormat& field = FieldFormats[k];
    const int column = columns_.IndexOfName(field.FieldName);
    if (column >= 0 && field.Aggregate != aggNone) aggregateTags_[static_cast<size_t>(column)] = static_cast<int>(k) + 1;
  }

  TrackRowHeights = false;
  int ignored = 0;
  for (const auto& image : Images)
    if (component_->Pictures.Find(image->PictureName, ignored)) TrackRowHeights = true;
}

int TxlsSheet::RowsAfterData() const {
  bool aggregate = false;
  for (const int tag : aggregateTags_) aggregate = aggregate || tag != 0;
  const int footer = FooterRows != 0 ? FooterRows : static_cast<int>(Footer.size());
  return (aggregate ? 1 : 0) + footer;
}

void TxlsSheet::WriteLabel(int col, std::u16string_view text, uint16_t xf) {
  TxlsCellWriter& cells = Run().Cells;
  cells.WriteLabelSST(CurrentRow, col, xf, text);
  if (TrackRowHeights) cells.CheckRowHeight(xf, CurrentRow);
}

void TxlsSheet::WriteLines(const TStrings& lines, int rows, TxlsFormat& format, bool footer) {
  const auto& event = footer ? component_->OnGetFooterParams : component_->OnGetHeaderParams;
  const int count = rows != 0 ? rows : static_cast<int>(lines.size());
  WideString text;
  for (int r = 0; r < count; ++r) {
    const std::string_view line = static_cast<size_t>(r) < lines.size() ? std::string_view(lines[static_cast<size_t>(r)])
                                                                         : std::string_view();
    const int fields = static_cast<int>(std::count(line.begin(), line.end(), '\t')) + 1;
    // Past the line's last field only a handler can put a cell.
    const int columns = event ? kXLSMaxCols : std::min(fields, kXLSMaxCols);
    for (int c = 0; c < columns; ++c) {
      Cp1252ToWideTo(Field(line, c), text);
      if (event) event(*this, sheetIndex_, c, CurrentRow, format, text);
      if (!text.empty()) WriteLabel(c, text, AddXF(kGeneral, &format));
    }
    ++CurrentRow;
  }
}

void TxlsSheet::DoHeader() {
  SetExportStage(esHeader);
  WriteLines(Header, HeaderRows, Options.HeaderFormat, false);
}

void TxlsSheet::DoFooter() {
  SetExportStage(esFooter);
  WriteLines(Footer, FooterRows, Options.FooterFormat, true);
}

void TxlsSheet::DoCaption() {
  SetExportStage(esCaption);
  DoBeforeData();
  std::string caption;
  for (int i = 0; i < columns_.Count(); ++i) {
    cellFormat_.Assign(Options.CaptionsFormat);
    caption = columns_[i].Caption;
    if (component_->OnGetCaptionParams)
      component_->OnGetCaptionParams(*this, sheetIndex_, StartDataCol + i, cellFormat_, caption);
    if (caption.empty()) continue;
    const uint16_t xf = cellFormat_.IsDefault() ? kDefaultCellXF : AddXF(kGeneral, &cellFormat_);
    WriteLabel(StartDataCol + i, Cp1252ToWide(caption), xf);
    if (AutoCalcColWidth) Run().Cells.RecalculateColWidth(caption, xf, i);
  }
  ++CurrentRow;
}

void TxlsSheet::DoBeforeData() {
  const auto& event = component_->OnGetBeforeDataParams;
  if (!event) return;
  WideString text;
  for (int c = 0; c < StartDataCol; ++c) {
    cellFormat_.Assign(Options.DataFormat);
    text.clear();
    event(*this, sheetIndex_, c, CurrentRow, cellFormat_, text);
    if (!text.empty()) WriteLabel(c, text, AddXF(kGeneral, &cellFormat_));
  }
}

void TxlsSheet::FillExportRow() {
  const TVantrixSourceRefs refs = Sources();
  const int count = std::min(columns_.Count(), row_.Count());
  for (int i = 0; i < count; ++i) {
    std::string& text = row_[i].MutableValue();
    VantrixGetColData(refs, text, false, RunSkipRecCount, RecordNumber, i, nullptr, formats_, columns_);
    platform::TrimBlanksInPlace(text);
    // As every other format's cell (see TVantrix3::FillExportRow).
    platform::ReplaceCp1252NonCharacters(text);
  }
}

void TxlsSheet::DoData() {
  DoBeforeData();
  SetExportStage(esData);
  TVantrix3XLS& c = *component_;
  for (int i = 0; i < row_.Count(); ++i) {
    text_ = row_[i].Value();
    const auto index = static_cast<size_t>(i);
    if (fieldColumns_[index] == nullptr) fieldColumns_[index] = &FieldColumns.Entry(columns_[i].Name);
    fieldColumns_[index]->Range.Widen(CurrentRow, StartDataCol + i);
    if (c.OnGetExportText) c.OnGetExportText(c, i, text_);
    wideGiven_ = static_cast<bool>(c.OnAdvancedGetExportText);
    if (wideGiven_) {
      Cp1252ToWideTo(text_, label_);
      c.OnAdvancedGetExportText(c, sheetIndex_, i, label_);
      text_ = WideToCp1252(label_);
    }
    const uint16_t xf = GetXF(i);
    WriteDataCell(i, xf);
    if (AutoCalcColWidth) Run().Cells.RecalculateColWidth(text_, xf, i);
    if (TrackRowHeights) Run().Cells.CheckRowHeight(xf, CurrentRow);
  }
  ++CurrentRow;
}

void TxlsSheet::WriteDataCell(int i, uint16_t xf) {
  TxlsCellWriter& cells = Run().Cells;
  const int col = StartDataCol + i;
  auto label = [&](std::string_view text) {
    if (!wideGiven_ || text.data() != text_.data()) Cp1252ToWideTo(text, label_);
    cells.WriteLabelSST(CurrentRow, col, xf, label_);
  };
  if (text_.empty()) {
    cells.WriteBlank(CurrentRow, col, xf);
    return;
  }
  if (text_ == formats_.NullString()) {
    label(text_);
    return;
  }
  const TVantrixColumn& column = columns_[i];
  const FormatSettings& settings = formats_.Settings();
  if (IsNumberType(column.ColType)) {
    // A text that is no number stays as it was written, not a 0 in its place.
    double value = 0;
    if (TryStrToFloat(text_, settings, value) && std::isfinite(value)) cells.WriteNumber(CurrentRow, col, xf, value);
    else label(text_);
  } else if (IsDateType(column.ColType)) {
    TDateTime value = 0;
    double serial = 0;
    if (!TryStrToDateTime(text_, settings, value)) {
      label(text_);  // kept as written: no date of 30 December 1899 in its place
    } else if (DateTimeToSerial(value, serial)) {
      cells.WriteNumber(CurrentRow, col, xf, serial);
    } else {
      picture_.clear();
      FormatDateTimeTo(picture_, column.Format, value, settings);
      label(picture_);
    }
  } else if (column.ColType == ectBoolean) {
    cells.WriteBoolErr(CurrentRow, col, xf, platform::Cp1252SameText(text_, formats_.BooleanTrue()));
  } else {
    label(text_);
  }
}

void TxlsSheet::DoAggregate() {
  bool any = false;
  for (const int tag : aggregateTags_) any = any || tag != 0;
  if (!any) return;
  SetExportStage(esAggregate);
  TVantrix3XLS& c = *component_;
  const int firstRow = firstDataRow_, lastRow = CurrentRow - 1;
  bool written = false;
  std::string value;
  for (int i = 0; i < columns_.Count(); ++i) {
    const int tag = aggregateTags_[static_cast<size_t>(i)];
    cellFormat_.Assign(Options.AggregateFormat);
    value.clear();
    if (tag != 0) {
      formatText_ = WideToCp1252(numberFormats_[static_cast<size_t>(i)]);
      if (c.OnGetAggregateParams) c.OnGetAggregateParams(*this, sheetIndex_, i, cellFormat_, formatText_, value);
      if (formatText_.empty()) formatText_ = "General";
      const uint16_t xf =
          formatText_ == "General" && cellFormat_.IsDefault() ? kDefaultCellXF : AddXF(formatText_, &cellFormat_);
      // Without data rows there is nothing to aggregate: a formula over its own cell would be
      // a circular reference.
      if (firstRow > lastRow) continue;
      Run().Cells.WriteAggregate(CurrentRow, StartDataCol + i, firstRow, lastRow,
                                 FieldFormats[static_cast<size_t>(tag - 1)].Aggregate, xf);
      written = true;
    } else if (c.OnGetAggregateParams) {
      formatText_.clear();
      c.OnGetAggregateParams(*this, sheetIndex_, i, cellFormat_, formatText_, value);
      if (value.empty()) continue;
      const uint16_t xf = AddXF(kGeneral, &cellFormat_);
      WriteLabel(StartDataCol + i, Cp1252ToWide(value), xf);
      if (AutoCalcColWidth) Run().Cells.RecalculateColWidth(value, xf, i);
      written = true;
    }
  }
  if (written) ++CurrentRow;
}

}  // namespace vantrix
