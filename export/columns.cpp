#include "export/columns.h"

#include <charconv>
#include <algorithm>

#include "export/custom_source.h"
#include "export/formats.h"
#include "export/model_source.h"
#include "platform/cp1252.h"
#include "platform/cp1252_case.h"
#include "platform/text_trim.h"

namespace vantrix {
namespace {

// A list value as an integer, or the fallback when it is not one.
int IntegerOr(const std::string& text, int fallback) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && !text.empty() ? value : fallback;
}

// A width from the list, held to the widest a column is set; false when the text is no width
// (not a number, empty, negative or beyond any integer), so that the column keeps its own: a
// width of 0 would leave it out of a fixed-width text without a word.
bool ListedWidth(const std::string& text, int& width) {
  const int value = IntegerOr(platform::TrimBlanks(text), -1);
  if (value < 0) return false;
  width = std::min(value, kMaxColumnWidth);
  return true;
}

}  // namespace

std::string TVantrixColumn::GetDefaultFormat() const {
  const TVantrixFormats* formats = columns_ != nullptr ? columns_->Formats() : nullptr;
  if (!AllowFormat || formats == nullptr) return std::string();
  switch (ColType) {
    case ectInteger: case ectBigint: return formats->IntegerFormat();
    case ectFloat: return formats->FloatFormat();
    case ectCurrency: return formats->CurrencyFormat();
    case ectDate: return formats->DateFormat();
    case ectTime: return formats->TimeFormat();
    case ectDateTime: return formats->DateTimeFormat();
    default: return std::string();
  }
}

TVantrixColumn& TVantrixColumns::Add() {
  items_.push_back(std::make_unique<TVantrixColumn>(this));
  return *items_.back();
}

TVantrixModelSource* TVantrixColumns::ModelSource() const {
  switch (sources_.source) {
    case esDataSet: return sources_.dataSet;
    case esListView: return sources_.listView;
    case esDBGrid: return sources_.dbGrid;
    case esStringGrid: return sources_.stringGrid;
    default: return nullptr;
  }
}

void TVantrixColumns::LoadOwnerProperties() {
  if (owner_ == nullptr) return;
  if (auto sources = owner_->OwnerSources()) sources_ = *sources;
  if (const TStrings* lines = owner_->OwnerExportedFields()) exportedFields_ = lines;
  if (auto value = owner_->OwnerOnlyVisibleFields()) onlyVisibleFields_ = *value;
  if (const TVantrixFormats* formats = owner_->OwnerFormats()) formats_ = formats;
  if (auto value = owner_->OwnerAutoCalcStrType()) autoCalcStrType_ = *value;
  captionRow_ = owner_->OwnerCaptionRow().value_or(-1);
  if (const TStrings* lines = owner_->OwnerUserFormats()) userFormats_ = lines;
  if (const TStrings* lines = owner_->OwnerColumnsWidth()) columnsWidth_ = lines;
  if (const TStrings* lines = owner_->OwnerCaptions()) captions_ = lines;
  if (const TStrings* lines = owner_->OwnerColumnsAlign()) columnsAlign_ = lines;
  if (auto value = owner_->OwnerSkipRecCount()) skipRecCount_ = *value;
  if (auto value = owner_->OwnerExportRecCount()) exportRecCount_ = *value;
  if (const TStrings* lines = owner_->OwnerColumnsLength()) columnsLength_ = lines;
  // Each column looks itself up in every list: through an index of each, so that a table of
  // n columns with a line per column in each costs n look-ups, not n walks through n lines.
  captionsIndex_ = TNameIndex(captions_);
  widthsIndex_ = TNameIndex(columnsWidth_);
  formatsIndex_ = TNameIndex(userFormats_);
  alignsIndex_ = TNameIndex(columnsAlign_);
  lengthsIndex_ = TNameIndex(columnsLength_);
}

void TVantrixColumns::Fill(bool allowBlobs) {
  LoadOwnerProperties();
  int n = exportedFields_ != nullptr ? static_cast<int>(exportedFields_->size()) : 0;
  if (n == 0) n = VantrixColumnCount(sources_);
  for (int i = 0; i < n; ++i) {
    const int number = SetColumnNumber(i, allowBlobs);
    if (number != -1) Add().Number = number;
  }
  for (int i = 0; i < Count(); ++i) {
    SetColumnName(i);
    SetColumnType(i);
    SetColumnCaption(i);
    // The formats write the caption as they write a cell: a byte that is no character
    // becomes '?' here too.
    platform::ReplaceCp1252NonCharacters(GetColumn(i).Caption);
    SetColumnWidth(i);
    // The picture follows the type alone, so it is chosen before AllowFormat is set.
    SetColumnFormat(i);
    SetColumnAlign(i);
    SetColumnSQLType(i);
    SetColumnIsString(i);
    SetColumnLength(i);
    SetColumnAllowFormat(i);
    SetColumnIsNumeric(i);
    SetColumnIsBlob(i);
    SetColumnIsMemo(i);
    SetColumnIsVisible(i);
  }
}

int TVantrixColumns::SetColumnNumber(int i, bool allowBlobs) {
  const TVantrixSource kind = sources_.source;
  const bool named = exportedFields_ != nullptr && !exportedFields_->empty();
  if (kind == esCustom) {
    const TVantrixCustomSource* custom = sources_.customSource;
    if (custom == nullptr) return -1;
    if (!named) return i < custom->GetColCount() ? i : -1;
    return custom->Columns().IndexOf((*exportedFields_)[static_cast<size_t>(i)]);
  }
  const TVantrixModelSource* model = ModelSource();
  if (model == nullptr) return -1;
  const int count = model->ColumnCount();
  if (!named) {
    if (i >= count) return -1;
    if (kind == esDataSet || kind == esDBGrid) {
      if (IsBlobFieldType(model->FieldType(i)) && !allowBlobs) return -1;
      if (onlyVisibleFields_ && !model->FieldVisible(i)) return -1;
    }
    return i;
  }
  const std::string& name = (*exportedFields_)[static_cast<size_t>(i)];
  switch (kind) {
    case esDataSet:
      for (int c = 0; c < count; ++c)
        if (platform::Cp1252SameText(model->FieldName(c), name))
          return !onlyVisibleFields_ || model->FieldVisible(c) ? c : -1;
      return -1;
    case esListView:
    case esDBGrid: {
      int found = -1;  // the last such column wins
      for (int c = 0; c < count; ++c) {
        const std::string columnName = kind == esListView ? model->Caption(c) : model->FieldName(c);
        if (!platform::Cp1252SameText(columnName, name)) continue;
        if (kind == esDBGrid && onlyVisibleFields_ && !model->FieldVisible(c)) continue;
        found = c;
      }
      return found;
    }
    case esStringGrid: {
      int n = 0;
      const auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), n);
      if (ec != std::errc() || end != name.data() + name.size() || name.empty()) return -1;
      return n >= 0 && n < count ? n : -1;
    }
    default:
      return -1;
  }
}

void TVantrixColumns::SetColumnName(int i) {
  TVantrixColumn& column = GetColumn(i);
  switch (sources_.source) {
    case esDataSet: case esDBGrid: column.Name = ModelSource()->FieldName(column.Number); break;
    case esListView: column.Name = ModelSource()->Caption(column.Number); break;
    case esStringGrid: column.Name = std::to_string(column.Number); break;
    case esCustom: column.Name = sources_.customSource->Columns().GetItem(column.Number)->ColumnName(); break;
  }
}

void TVantrixColumns::SetColumnType(int i) {
  TVantrixColumn& column = GetColumn(i);
  const TVantrixModelSource* model = ModelSource();
  const std::string trueText = formats_ ? formats_->BooleanTrue() : "true";
  const std::string falseText = formats_ ? formats_->BooleanFalse() : "false";
  const FormatSettings& settings = formats_ ? formats_->Settings() : DefaultFormatSettings();
  std::string sample;
  switch (sources_.source) {
    case esDataSet: case esDBGrid:
      column.ColType = DataType2VantrixColType(model->FieldType(column.Number));
      break;
    case esListView:
      if (!autoCalcStrType_) {
        column.ColType = ectString;
      } else if (model->RowCount() > 0) {
        model->CellText(0, column.Number, settings, sample);
        column.ColType = CalcStringType(sample, trueText, falseText, settings);
      }
      break;
    case esStringGrid:
      if (autoCalcStrType_) {
        model->CellText(model->CurrentRow(), column.Number, settings, sample);
        column.ColType = CalcStringType(sample, trueText, falseText, settings);
      } else {
        column.ColType = ectString;
      }
      break;
    case esCustom:
      column.ColType = sources_.customSource->Columns().GetItem(column.Number)->ColumnType();
      break;
  }
}

void TVantrixColumns::SetColumnCaption(int i) {
  TVantrixColumn& column = GetColumn(i);
  if (captionsIndex_.FindValue(column.Name, column.Caption)) return;
  const TVantrixModelSource* model = ModelSource();
  switch (sources_.source) {
    case esDataSet: case esListView: case esDBGrid:
      column.Caption = model->Caption(column.Number);
      break;
    case esStringGrid:
      if (captionRow_ >= 0) {
        const FormatSettings& settings = formats_ ? formats_->Settings() : DefaultFormatSettings();
        model->CellText(captionRow_, column.Number, settings, column.Caption);
      } else {
        column.Caption = "ColNo_" + std::to_string(column.Number);
      }
      break;
    case esCustom:
      column.Caption = sources_.customSource->Columns().GetItem(column.Number)->Caption();
      break;
  }
}

void TVantrixColumns::SetColumnWidth(int i) {
  TVantrixColumn& column = GetColumn(i);
  std::string value;
  if (widthsIndex_.FindValue(column.Name, value) && ListedWidth(value, column.Width)) return;
  const TVantrixModelSource* model = ModelSource();
  switch (sources_.source) {
    case esDataSet:
      column.Width = model->FieldDisplayWidth(column.Number);
      break;
    case esListView: case esDBGrid: case esStringGrid: {
      // A character is as wide as an "X"; a font that draws it in no pixels counts 8.
      int x = model->TextWidth("X");
      if (x <= 0) x = 8;
      column.Width = model->ColumnPixelWidth(column.Number) / x;
      break;
    }
    case esCustom:
      column.Width = sources_.customSource->Columns().GetItem(column.Number)->Width();
      break;
  }
}

void TVantrixColumns::SetColumnFormat(int i) {
  TVantrixColumn& column = GetColumn(i);
  if (formats_ != nullptr) {
    switch (column.ColType) {
      case ectInteger: case ectBigint: column.Format = formats_->IntegerFormat(); break;
      case ectFloat: column.Format = formats_->FloatFormat(); break;
      case ectCurrency: column.Format = formats_->CurrencyFormat(); break;
      case ectDate: column.Format = formats_->DateFormat(); break;
      case ectTime: column.Format = formats_->TimeFormat(); break;
      case ectDateTime: column.Format = formats_->DateTimeFormat(); break;
      default: break;
    }
  }
  formatsIndex_.FindValue(column.Name, column.Format);
}

void TVantrixColumns::SetColumnAlign(int i) {
  if (columnsAlign_ == nullptr) return;
  TVantrixColumn& column = GetColumn(i);
  std::string value;
  if (alignsIndex_.FindValue(column.Name, value)) {
    const unsigned char first = value.empty() ? 0 : platform::Cp1252UpperCase(static_cast<unsigned char>(value[0]));
    column.Align = first == 'C' ? ecaCenter : first == 'R' ? ecaRight : ecaLeft;
    return;
  }
  switch (column.ColType) {
    case ectInteger: case ectBigint: case ectFloat: case ectCurrency: column.Align = ecaRight; break;
    case ectBoolean: column.Align = ecaCenter; break;
    default: column.Align = ecaLeft; break;
  }
}

void TVantrixColumns::SetColumnSQLType(int i) {
  TVantrixColumn& column = GetColumn(i);
  if (sources_.source == esDataSet || sources_.source == esDBGrid) {
    const TVantrixModelSource* model = ModelSource();
    column.SQLType = DataType2SQLType(model->FieldType(column.Number), model->FieldSize(column.Number));
  } else {
    column.SQLType = VantrixType2SQLType(column);
  }
}

void TVantrixColumns::SetColumnIsString(int i) { GetColumn(i).IsString = GetColumn(i).ColType == ectString; }

void TVantrixColumns::SetColumnLength(int i) {
  TVantrixColumn& column = GetColumn(i);
  if (!column.IsString) return;
  const TVantrixSource kind = sources_.source;
  std::string value;
  if ((kind == esListView || kind == esStringGrid) && lengthsIndex_.FindValue(column.Name, value)) {
    column.Length = IntegerOr(value, 255);
    return;
  }
  switch (kind) {
    case esDataSet: case esDBGrid: column.Length = std::min(ModelSource()->FieldSize(column.Number), 255); break;
    case esListView: case esStringGrid: column.Length = 255; break;
    case esCustom:
      column.Length = std::min(sources_.customSource->Columns().GetItem(column.Number)->Size(), 255);
      break;
  }
}

void TVantrixColumns::SetColumnAllowFormat(int i) {
  const TVantrixColType t = GetColumn(i).ColType;
  GetColumn(i).AllowFormat = t == ectInteger || t == ectBigint || t == ectFloat || t == ectCurrency || t == ectDate ||
                             t == ectTime || t == ectDateTime;
}

void TVantrixColumns::SetColumnIsNumeric(int i) {
  const TVantrixColType t = GetColumn(i).ColType;
  GetColumn(i).IsNumeric = t == ectInteger || t == ectBigint || t == ectFloat || t == ectCurrency;
}

void TVantrixColumns::SetColumnIsBlob(int i) {
  TVantrixColumn& column = GetColumn(i);
  const bool field = sources_.source == esDataSet || sources_.source == esDBGrid;
  column.IsBlob = field && IsBlobFieldType(ModelSource()->FieldType(column.Number));
}

void TVantrixColumns::SetColumnIsMemo(int i) {
  TVantrixColumn& column = GetColumn(i);
  const bool field = sources_.source == esDataSet || sources_.source == esDBGrid;
  column.IsMemo = field && IsMemoFieldType(ModelSource()->FieldType(column.Number));
}

void TVantrixColumns::SetColumnIsVisible(int i) {
  TVantrixColumn& column = GetColumn(i);
  const bool field = sources_.source == esDataSet || sources_.source == esDBGrid;
  column.IsVisible = !field || ModelSource()->FieldVisible(column.Number);
}

bool TVantrixColumns::GetColumnIsNull(int i) const {
  if (sources_.source != esDataSet && sources_.source != esDBGrid) return false;
  const TVantrixModelSource* model = ModelSource();
  return model != nullptr && model->CellIsNull(model->CurrentRow(), GetColumn(i).Number);
}

void TVantrixColumns::AutoCalcColWidth() {
  const auto chars = [this](std::string_view text, bool caption) {
    return owner_ != nullptr ? owner_->OwnerTextChars(text, caption) : static_cast<int>(text.size());
  };
  for (auto& column : items_) column->Width = std::max(column->Width, chars(column->Caption, true));
  if (formats_ == nullptr) return;
  const int bookmark = VantrixGetBookmark(sources_);
  VantrixFirst(sources_);
  VantrixSkip(sources_, skipRecCount_, nullptr, counter_);
  counter_ = 0;
  const TVantrixTextNormaliser normal = [this](std::string& text) { NormalString(text); };
  std::string text;
  while (!VantrixEof(sources_, skipRecCount_, exportRecCount_, counter_) &&
         (exportRecCount_ == 0 || counter_ < exportRecCount_)) {
    for (int i = 0; i < Count(); ++i) {
      VantrixGetColData(sources_, text, true, skipRecCount_, counter_, i, normal, *formats_, *this);
      TVantrixColumn& column = GetColumn(i);
      column.Width = std::max(column.Width, chars(text, false));
    }
    VantrixNext(sources_, counter_);
    if (owner_ != nullptr) owner_->OwnerFetchedRecord(counter_);
  }
  VantrixGotoBookmark(sources_, bookmark);
  VantrixFreeBookmark(sources_, bookmark);
}

int TVantrixColumns::IndexOfName(const std::string& name) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (platform::Cp1252SameText(items_[i]->Name, name)) return static_cast<int>(i);
  return -1;
}

void TVantrixColumns::EmptyTags() {
  for (auto& column : items_) column->Tag = 0;
}

bool TVantrixColumns::ContainsBLOB() const {
  for (const auto& column : items_)
    if (column->IsBlob) return true;
  return false;
}

bool TVantrixColumns::ContainsMEMO() const {
  for (const auto& column : items_)
    if (column->IsMemo) return true;
  return false;
}

std::string VantrixType2SQLType(const TVantrixColumn& column) {
  switch (column.ColType) {
    case ectInteger: case ectBigint: case ectBoolean: return "INTEGER";
    case ectFloat: case ectCurrency: return "DOUBLE PRECISION";
    case ectDate: case ectTime: case ectDateTime: return "DATE";
    case ectString: return "CHAR(" + std::to_string(column.Width < 1 ? 1 : column.Width) + ")";
    default: return std::string();
  }
}

}  // namespace vantrix
