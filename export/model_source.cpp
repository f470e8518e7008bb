#include "export/model_source.h"

#include "export/text_measure.h"
#include "export/variant_text.h"
#include "platform/cp1252.h"

namespace vantrix {
namespace {

TFieldType TypeOfValue(const QVariant& value) {
  switch (value.typeId()) {
    case QMetaType::Bool: return ftBoolean;
    case QMetaType::Short: case QMetaType::UShort: case QMetaType::SChar: case QMetaType::UChar: return ftSmallint;
    case QMetaType::Int: case QMetaType::UInt: return ftInteger;
    case QMetaType::Long: case QMetaType::ULong: case QMetaType::LongLong: case QMetaType::ULongLong: return ftLargeint;
    case QMetaType::Double: case QMetaType::Float: return ftFloat;
    case QMetaType::QDate: return ftDate;
    case QMetaType::QTime: return ftTime;
    case QMetaType::QDateTime: return ftDateTime;
    case QMetaType::QByteArray: return ftBlob;
    default: return ftString;
  }
}

}  // namespace

TVantrixModelSource::TVantrixModelSource(QAbstractItemModel* model, QObject* parent) : QObject(parent), model_(model) {}

int TVantrixModelSource::RowCount() const { return model_ ? model_->rowCount() : 0; }
int TVantrixModelSource::ColumnCount() const { return model_ ? model_->columnCount() : 0; }

void TVantrixModelSource::First() {
  currentRow_ = 0;
  eof_ = RowCount() == 0;
}

void TVantrixModelSource::Next() {
  if (currentRow_ + 1 < RowCount()) ++currentRow_;
  else eof_ = true;
}

void TVantrixModelSource::GoToRow(int row) {
  currentRow_ = row;
  eof_ = row >= RowCount();
}

void TVantrixModelSource::SetField(int column, const TVantrixModelField& field) {
  if (column < 0) return;
  const size_t i = static_cast<size_t>(column);
  if (fields_.size() <= i) {
    fields_.resize(i + 1);
    fieldDeclared_.resize(i + 1, false);
  }
  fields_[i] = field;
  fieldDeclared_[i] = true;
}

const TVantrixModelField* TVantrixModelSource::DeclaredField(int column) const {
  const size_t i = static_cast<size_t>(column);
  return column >= 0 && i < fields_.size() && fieldDeclared_[i] ? &fields_[i] : nullptr;
}

TFieldType TVantrixModelSource::FieldType(int column) const {
  const TVantrixModelField* field = DeclaredField(column);
  if (field != nullptr && field->dataType != ftUnknown) return field->dataType;
  if (column < 0 || column >= ColumnCount()) return ftUnknown;
  if (RowCount() == 0) return ftString;
  return TypeOfValue(Value(0, column));
}

int TVantrixModelSource::FieldSize(int column) const {
  const TVantrixModelField* field = DeclaredField(column);
  return field != nullptr && field->size > 0 ? field->size : 255;
}

bool TVantrixModelSource::FieldVisible(int column) const {
  const TVantrixModelField* field = DeclaredField(column);
  return field == nullptr || field->visible;
}

int TVantrixModelSource::FieldDisplayWidth(int column) const {
  const TVantrixModelField* field = DeclaredField(column);
  if (field != nullptr && field->displayWidth > 0) return field->displayWidth;
  const TFieldType type = FieldType(column);
  return type == ftString || type == ftWideString ? FieldSize(column) : 10;
}

std::string TVantrixModelSource::FieldName(int column) const {
  if (!model_) return std::string();
  const QVariant name = model_->headerData(column, Qt::Horizontal, kFieldNameRole);
  const QVariant text = name.isValid() ? name : model_->headerData(column, Qt::Horizontal, Qt::DisplayRole);
  return platform::Utf8ToCp1252(text.toString().toStdString());
}

std::string TVantrixModelSource::Caption(int column) const {
  if (!model_) return std::string();
  return platform::Utf8ToCp1252(model_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString().toStdString());
}

QVariant TVantrixModelSource::Value(int row, int column) const {
  if (!model_ || row < 0 || column < 0) return QVariant();
  return model_->data(model_->index(row, column), Qt::DisplayRole);
}

void TVantrixModelSource::CellText(int row, int column, const FormatSettings& settings, std::string& out) const {
  VariantToText(Value(row, column), settings, out);
}

bool TVantrixModelSource::CellIsNull(int row, int column) const {
  const QVariant value = Value(row, column);
  return !value.isValid() || value.isNull();
}

bool TVantrixModelSource::CellAsBool(int row, int column) const { return Value(row, column).toBool(); }

int TVantrixModelSource::ColumnPixelWidth(int column) const {
  const size_t i = static_cast<size_t>(column);
  return column >= 0 && i < pixelWidths_.size() && pixelWidths_[i] >= 0 ? pixelWidths_[i] : 64;
}

void TVantrixModelSource::SetColumnPixelWidth(int column, int pixels) {
  if (column < 0) return;
  const size_t i = static_cast<size_t>(column);
  if (pixelWidths_.size() <= i) pixelWidths_.resize(i + 1, -1);
  pixelWidths_[i] = pixels;
}

int TVantrixModelSource::TextWidth(std::string_view text) const {
  if (text.empty()) return 0;
  if (!hasCanvas_) return static_cast<int>(text.size()) * 8;
  return (measure_ != nullptr ? *measure_ : DefaultTextMeasure()).TextWidth(text, font_);
}

int GetTextWidth(const TVantrixModelSource* control, std::string_view text) {
  return control == nullptr ? 0 : control->TextWidth(text);
}

}  // namespace vantrix
