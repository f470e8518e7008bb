#include "export/xls/xls_cell.h"

#include <QDateTime>
#include <QString>
#include <cmath>

#include "export/float_picture.h"
#include "export/text_to_value.h"
#include "export/variant_text.h"
#include "export/xls/xls_ini.h"
#include "export/xls/xls_link_note.h"
#include "platform/cp1252_case.h"

namespace vantrix {
namespace {

using namespace xlsini;

bool IsNumberType(int type) {
  switch (type) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Double: case QMetaType::Float: case QMetaType::Short: case QMetaType::UShort:
    case QMetaType::Long: case QMetaType::ULong: case QMetaType::Char: case QMetaType::SChar:
    case QMetaType::UChar:
      return true;
    default:
      return false;
  }
}

bool IsTextType(int type) { return type == QMetaType::QString || type == QMetaType::QByteArray; }

// A text variant as code page 1252 (byte arrays already are).
std::string TextOf(const QVariant& value) {
  if (value.typeId() == QMetaType::QByteArray) return value.toByteArray().toStdString();
  return WideToCp1252(std::u16string_view(reinterpret_cast<const char16_t*>(value.toString().utf16()),
                                          static_cast<size_t>(value.toString().size())));
}

QDateTime ToQDateTime(TDateTime t) {
  platform::DateParts d;
  platform::TimeParts tm;
  platform::DecodeDateTime(t, d, tm);
  return QDateTime(QDate(d.year, d.month, d.day), QTime(tm.hour, tm.minute, tm.second, tm.millisecond));
}

}  // namespace

TxlsCell::TxlsCell(TxlsCollectionBase* collection) : TxlsCustomItem(collection) {
  DateTimeFormat = settings_->shortDateFormat + " " + settings_->longTimeFormat;
  DateTimeValue = std::floor(clock_->Now());
}

void TxlsCell::Assign(const TxlsCell& source) {
  if (&source == this) return;
  CellType = source.CellType;
  Col = source.Col;
  DateTimeFormat = source.DateTimeFormat;
  Format.Assign(source.Format);
  NumericFormat = source.NumericFormat;
  Row = source.Row;
  BooleanValue = source.BooleanValue;
  DateTimeValue = source.DateTimeValue;
  NumericValue = source.NumericValue;
  StringValue = source.StringValue;
}

bool TxlsCell::IsCorrect() const { return Col >= 1 && Col <= kXLSMaxCols && Row >= 1 && Row <= kXLSMaxRows; }

bool TxlsCell::Convert(const QVariant& value, bool store) {
  const int type = value.typeId();
  switch (CellType) {
    case ctBoolean: {
      bool b = false;
      if (type == QMetaType::Bool) {
        b = value.toBool();
      } else if (IsNumberType(type)) {
        b = value.toDouble() != 0;
      } else if (IsTextType(type)) {
        const std::string text = TextOf(value);
        double number = 0;
        if (platform::Cp1252SameText(text, "true")) b = true;
        else if (platform::Cp1252SameText(text, "false")) b = false;
        else if (TryStrToFloat(text, *settings_, number)) b = number != 0;
        else return false;
      } else {
        return false;
      }
      if (store) BooleanValue = b;
      return true;
    }
    case ctDateTime: {
      TDateTime t = 0;
      if (VariantToDateTime(value, t)) {
      } else if (IsNumberType(type)) {
        t = value.toDouble();
        if (!std::isfinite(t)) return false;
      } else if (!IsTextType(type) || !TryStrToDateTime(TextOf(value), *settings_, t)) {
        return false;
      }
      if (store) DateTimeValue = t;
      return true;
    }
    case ctNumeric: {
      double number = 0;
      TDateTime t = 0;
      if (type == QMetaType::Bool) number = value.toBool() ? 1 : 0;
      else if (IsNumberType(type)) number = value.toDouble();
      else if (VariantToDateTime(value, t)) number = t;
      else if (!IsTextType(type) || !TryStrToFloat(TextOf(value), *settings_, number)) return false;
      if (store) NumericValue = number;
      return true;
    }
    case ctString: {
      if (store) {
        if (type == QMetaType::QString) {
          const QString text = value.toString();
          StringValue.assign(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
        } else {
          std::string text;
          VariantToText(value, *settings_, text);
          StringValue = Cp1252ToWide(text);
        }
      }
      return true;
    }
  }
  return false;
}

bool TxlsCell::IsCorrectValue(const QVariant& value) const { return const_cast<TxlsCell*>(this)->Convert(value, false); }

void TxlsCell::SetValue(const QVariant& value) {
  if (!Convert(value, true)) SetDefaultValue();
}

QVariant TxlsCell::GetValue() const {
  switch (CellType) {
    case ctBoolean: return BooleanValue;
    case ctDateTime: return ToQDateTime(DateTimeValue);
    case ctNumeric: return NumericValue;
    case ctString:
      return QString(reinterpret_cast<const QChar*>(StringValue.data()), static_cast<qsizetype>(StringValue.size()));
  }
  return {};
}

void TxlsCell::SetDefaultValue() {
  switch (CellType) {
    case ctBoolean: BooleanValue = false; break;
    case ctDateTime: DateTimeValue = clock_->Now(); break;
    case ctNumeric: NumericValue = 0; break;
    case ctString: StringValue.clear(); break;
  }
}

std::string TxlsCell::GetDisplayName() const {
  return "Col: " + std::to_string(Col) + " Row: " + std::to_string(Row) + " ";
}

void TxlsCell::SaveToIniFile(platform::IniFile& ini, const std::string& section) const {
  ini.WriteInteger(section, "CellType", CellType);
  ini.WriteInteger(section, "Col", Col);
  ini.WriteInteger(section, "Row", Row);
  ini.WriteString(section, "DateTimeFormat", DateTimeFormat);
  ini.WriteString(section, "NumericFormat", NumericFormat);
  ini.WriteBool(section, "BooleanValue", BooleanValue);
  platform::DateParts d;
  platform::TimeParts t;
  platform::DecodeDateTime(DateTimeValue, d, t);
  ini.WriteInteger(section, "Year", d.year);
  ini.WriteInteger(section, "Month", d.month);
  ini.WriteInteger(section, "Day", d.day);
  ini.WriteInteger(section, "Hour", t.hour);
  ini.WriteInteger(section, "Min", t.minute);
  ini.WriteInteger(section, "Sec", t.second);
  ini.WriteInteger(section, "MSec", t.millisecond);
  ini.WriteString(section, "Separator", std::string(1, settings_->decimalSeparator));
  ini.WriteString(section, "NumericValue", FloatToStr(NumericValue, *settings_));
  WriteWide(ini, section, "StringValue", StringValue);
}

void TxlsCell::LoadFromIniFile(const platform::IniFile& ini, const std::string& section) {
  CellType = ReadEnum(ini, section, "CellType", CellType, ctString + 1);
  Col = ReadWord(ini, section, "Col", Col);
  Row = ReadWord(ini, section, "Row", Row);
  DateTimeFormat = ini.ReadString(section, "DateTimeFormat", DateTimeFormat);
  NumericFormat = ini.ReadString(section, "NumericFormat", NumericFormat);
  BooleanValue = ini.ReadBool(section, "BooleanValue", BooleanValue);
  platform::DateParts d;
  platform::TimeParts t;
  platform::DecodeDateTime(DateTimeValue, d, t);
  TDateTime stamp = 0;
  if (platform::TryEncodeDateTime(
          ini.ReadInteger(section, "Year", d.year), ini.ReadInteger(section, "Month", d.month),
          ini.ReadInteger(section, "Day", d.day), ini.ReadInteger(section, "Hour", t.hour),
          ini.ReadInteger(section, "Min", t.minute), ini.ReadInteger(section, "Sec", t.second),
          ini.ReadInteger(section, "MSec", t.millisecond), stamp))
    DateTimeValue = stamp;
  // The number is read in the separator it was written with, whatever the locale is now.
  FormatSettings settings = *settings_;
  const std::string separator = ini.ReadString(section, "Separator", std::string(1, settings.decimalSeparator));
  if (separator.size() == 1) settings.decimalSeparator = separator[0];
  double number = 0;
  if (TryStrToFloat(ini.ReadString(section, "NumericValue", ""), settings, number)) NumericValue = number;
  StringValue = ReadWide(ini, section, "StringValue", StringValue);
}

TxlsCell& TxlsCells::AddTyped(TxlsCellType type, int col, int row) {
  TxlsCell& cell = Add();
  cell.CellType = type;
  cell.Col = col;
  cell.Row = row;
  return cell;
}

TxlsCell& TxlsCells::AddBoolean(int col, int row, bool value) {
  TxlsCell& cell = AddTyped(ctBoolean, col, row);
  cell.BooleanValue = value;
  return cell;
}

TxlsCell& TxlsCells::AddDateTime(int col, int row, const std::string& dateTimeFormat, TDateTime value) {
  TxlsCell& cell = AddTyped(ctDateTime, col, row);
  cell.DateTimeFormat = dateTimeFormat;
  cell.DateTimeValue = value;
  return cell;
}

TxlsCell& TxlsCells::AddNumeric(int col, int row, const std::string& numericFormat, double value) {
  TxlsCell& cell = AddTyped(ctNumeric, col, row);
  cell.NumericFormat = numericFormat;
  cell.NumericValue = value;
  return cell;
}

TxlsCell& TxlsCells::AddString(int col, int row, const WideString& value) {
  TxlsCell& cell = AddTyped(ctString, col, row);
  cell.StringValue = value;
  return cell;
}

// --- TxlsMergedCells -------------------------------------------------------------------------

void TxlsMergedCells::Assign(const TxlsMergedCells& source) {
  FirstCol = source.FirstCol;
  FirstRow = source.FirstRow;
  LastCol = source.LastCol;
  LastRow = source.LastRow;
}

bool TxlsMergedCells::IsCorrect() const {
  return FirstCol >= 1 && LastCol <= kXLSMaxCols && FirstCol <= LastCol && FirstRow >= 1 && LastRow <= kXLSMaxRows &&
         FirstRow <= LastRow;
}

TxlsMergedCells& TxlsMergedCellList::AddRange(int firstRow, int lastRow, int firstCol, int lastCol) {
  TxlsMergedCells& range = Add();
  range.FirstRow = firstRow;
  range.LastRow = lastRow;
  range.FirstCol = firstCol;
  range.LastCol = lastCol;
  return range;
}

std::string TxlsMergedCells::GetDisplayName() const {
  return "Merged Cells (" + std::to_string(FirstCol) + ", " + std::to_string(FirstRow) + ", " +
         std::to_string(LastCol) + ", " + std::to_string(LastRow) + ")";
}

void TxlsMergedCells::SaveToIniFile(platform::IniFile& ini, const std::string& section) const {
  ini.WriteInteger(section, "FirstCol", FirstCol);
  ini.WriteInteger(section, "FirstRow", FirstRow);
  ini.WriteInteger(section, "LastCol", LastCol);
  ini.WriteInteger(section, "LastRow", LastRow);
}

void TxlsMergedCells::LoadFromIniFile(const platform::IniFile& ini, const std::string& section) {
  FirstCol = ReadWord(ini, section, "FirstCol", FirstCol);
  FirstRow = ReadWord(ini, section, "FirstRow", FirstRow);
  LastCol = ReadWord(ini, section, "LastCol", LastCol);
  LastRow = ReadWord(ini, section, "LastRow", LastRow);
}

}  // namespace vantrix
