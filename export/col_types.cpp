#include "export/col_types.h"

#include <cmath>

#include "export/format_settings.h"
#include "export/text_to_value.h"
#include "platform/cp1252_case.h"

namespace vantrix {

TVantrixColType DataType2VantrixColType(TFieldType type) {
  switch (type) {
    case ftString: case ftBlob: case ftMemo: case ftWideString: case ftGUID: return ectString;
    case ftSmallint: case ftInteger: case ftWord: case ftAutoInc: return ectInteger;
    case ftBoolean: return ectBoolean;
    case ftFloat: case ftBCD: case ftFMTBcd: return ectFloat;
    case ftCurrency: return ectCurrency;
    case ftDate: return ectDate;
    case ftTime: return ectTime;
    case ftDateTime: case ftTimeStamp: return ectDateTime;
    case ftLargeint: return ectBigint;
    default: return ectUnknown;
  }
}

std::string DataType2SQLType(TFieldType type, int size) {
  switch (type) {
    case ftString: case ftWideString: return "CHAR(" + std::to_string(size < 1 ? 1 : size) + ")";
    case ftSmallint: case ftInteger: case ftWord: case ftBoolean: case ftLargeint: return "INTEGER";
    case ftFloat: case ftCurrency: case ftBCD: case ftFMTBcd: return "DOUBLE PRECISION";
    case ftDate: case ftTime: case ftDateTime: return "DATE";
    case ftBlob: case ftMemo: case ftGraphic: case ftFmtMemo: return "BLOB";
    default: return "UNKNOWN";
  }
}

bool IsBlobFieldType(TFieldType type) {
  return type == ftBlob || type == ftMemo || type == ftGraphic || type == ftFmtMemo;
}

bool IsMemoFieldType(TFieldType type) { return type == ftMemo || type == ftFmtMemo; }

std::string VantrixColTypeAsString(TVantrixColType type) {
  switch (type) {
    case ectInteger: case ectBigint: return "Integer";
    case ectFloat: return "Float";
    case ectCurrency: return "Currency";
    case ectDate: return "Date";
    case ectTime: return "Time";
    case ectDateTime: return "DateTime";
    case ectString: return "String";
    case ectBoolean: return "Boolean";
    default: return "Unknown";
  }
}

std::string VantrixSourceAsString(TVantrixSource source) {
  switch (source) {
    case esDataSet: return "DataSet";
    case esListView: return "ListView";
    case esDBGrid: return "DBGrid";
    case esStringGrid: return "StringGrid";
    case esCustom: return "CustomSource";
    default: return std::string();
  }
}

TVantrixColType CalcStringType(std::string_view text, std::string_view trueText, std::string_view falseText,
                               const FormatSettings& settings) {
  if (text.empty()) return ectString;
  if (platform::Cp1252SameText(text, trueText) || platform::Cp1252SameText(text, falseText)) return ectBoolean;
  int32_t integer = 0;
  if (TryStrToInt(text, integer)) return ectInteger;
  double number = 0;
  if (TryStrToFloat(text, settings, number)) return ectFloat;
  TDateTime value = 0;
  if (TryStrToDateTime(text, settings, value)) {
    const double whole = std::trunc(value);
    if (value == whole) return ectDate;
    if (whole == 0) return ectTime;
    return ectDateTime;
  }
  return ectString;
}

TVantrixColType CalcStringType(std::string_view text, std::string_view trueText, std::string_view falseText) {
  return CalcStringType(text, trueText, falseText, DefaultFormatSettings());
}

}  // namespace vantrix
