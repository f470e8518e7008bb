#pragma once
// The column types, alignments and source kinds of the export library, with the functions that
// name them and map field types to them.
#include <string>
#include <string_view>

namespace vantrix {

struct FormatSettings;

enum TVantrixColType {
  ectInteger, ectBigint, ectFloat, ectCurrency, ectDate, ectTime, ectDateTime, ectString, ectBoolean, ectUnknown
};
enum TVantrixColAlign { ecaLeft, ecaCenter, ecaRight };
enum TVantrixSource { esDataSet, esListView, esDBGrid, esStringGrid, esCustom };

// The data type of a data-set field (a column of a table model standing in for a data set).
enum TFieldType {
  ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat, ftCurrency, ftBCD, ftDate, ftTime,
  ftDateTime, ftBlob, ftMemo, ftGraphic, ftFmtMemo, ftAutoInc, ftLargeint, ftWideString, ftGUID, ftTimeStamp,
  ftFMTBcd
};

TVantrixColType DataType2VantrixColType(TFieldType type);
// "CHAR(n)" with the field size for strings (never "CHAR(0)": at least 1), else the SQL type.
std::string DataType2SQLType(TFieldType type, int size);
bool IsBlobFieldType(TFieldType type);
bool IsMemoFieldType(TFieldType type);

std::string VantrixColTypeAsString(TVantrixColType type);
std::string VantrixSourceAsString(TVantrixSource source);

// The type a text looks like: empty → string; the true or false text (case ignored) →
// Boolean; a 32-bit integer; a float; a date-time in the settings' forms (midnight → date,
// day zero → time); anything else string.
TVantrixColType CalcStringType(std::string_view text, std::string_view trueText, std::string_view falseText,
                               const FormatSettings& settings);
TVantrixColType CalcStringType(std::string_view text, std::string_view trueText, std::string_view falseText);

}  // namespace vantrix
