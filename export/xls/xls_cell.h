#pragma once
// Extra typed cells written besides the exported table, and merged cell ranges (columns and
// rows from 1; 0 means not set).
#include <QVariant>
#include <string>

#include "export/format_settings.h"
#include "export/xls/xls_format.h"
#include "platform/datetime.h"

namespace vantrix {

enum TxlsCellType { ctBoolean, ctDateTime, ctNumeric, ctString };

class TxlsCell : public TxlsCustomItem {
 public:
  // The date-time value starts as today's date; the date-time format is the settings' short
  // date and long time pictures with a blank between.
  explicit TxlsCell(TxlsCollectionBase* collection = nullptr);

  TxlsCellType CellType = ctString;
  int Col = 0;
  std::string DateTimeFormat;
  TxlsFormat Format;
  std::string NumericFormat = "###,###,#0.00";
  int Row = 0;

  // One stored value per type; Value reads and writes the current type's.
  bool BooleanValue = false;
  TDateTime DateTimeValue = 0;
  double NumericValue = 0;
  WideString StringValue;

  // The locale forms that texts are read and written in (the system's by default); they must
  // outlive the cell.
  void SetFormatSettings(const FormatSettings& settings) { settings_ = &settings; }
  const FormatSettings& Settings() const { return *settings_; }
  // The wall clock that "today" and "now" come from.
  void SetClock(const platform::WallClock& clock) { clock_ = &clock; }

  void Assign(const TxlsCell& source);
  // Inside a sheet: column 1..256, row 1..65,536.
  bool IsCorrect() const;
  // Whether the value converts to the current type: a Boolean (true/false, a number), a
  // date-time (a date, time or date-time, a number of days, a text in the settings' forms), a
  // number (a number, a text in the settings' forms); every value converts to a text.
  bool IsCorrectValue(const QVariant& value) const;
  // The stored value of the current type: a bool, a QDateTime, a double or a QString.
  QVariant GetValue() const;
  // Stores the converted value, or the type's default when the value does not convert.
  void SetValue(const QVariant& value);
  // The current type's value to false, now, 0 or empty.
  void SetDefaultValue();
  bool GetIsBoolean() const { return CellType == ctBoolean; }
  bool GetIsDateTime() const { return CellType == ctDateTime; }
  bool GetIsNumeric() const { return CellType == ctNumeric; }
  bool GetIsString() const { return CellType == ctString; }

  std::string GetDisplayName() const override;
  std::string ClassName() const override { return "TxlsCell"; }
  TxlsItemType GetItemType() const override { return itCell; }
  // The number is written with the decimal separator in force, which is written beside it
  // and read back with it, so a file moves between locales intact.
  void SaveToIniFile(platform::IniFile& ini, const std::string& section) const override;
  void LoadFromIniFile(const platform::IniFile& ini, const std::string& section) override;

 private:
  bool Convert(const QVariant& value, bool store);

  const FormatSettings* settings_ = &DefaultFormatSettings();
  const platform::WallClock* clock_ = &platform::WallClock::System();
};

class TxlsCells : public TxlsCollection<TxlsCell> {
 public:
  using TxlsCollection::TxlsCollection;

  // A new cell of the type at (col, row), counted from 1, holding the value (and the number
  // format where the type has one).
  TxlsCell& AddBoolean(int col, int row, bool value);
  TxlsCell& AddDateTime(int col, int row, const std::string& dateTimeFormat, TDateTime value);
  TxlsCell& AddNumeric(int col, int row, const std::string& numericFormat, double value);
  TxlsCell& AddString(int col, int row, const WideString& value);

 private:
  TxlsCell& AddTyped(TxlsCellType type, int col, int row);
};

class TxlsMergedCells : public TxlsCustomItem {
 public:
  explicit TxlsMergedCells(TxlsCollectionBase* collection = nullptr) : TxlsCustomItem(collection) {}

  int FirstCol = 0, FirstRow = 0, LastCol = 0, LastRow = 0;

  void Assign(const TxlsMergedCells& source);
  // Inside a sheet (columns 1..256, rows 1..65,536), the first cell not after the last.
  bool IsCorrect() const;

  std::string GetDisplayName() const override;
  std::string ClassName() const override { return "TxlsMergedCells"; }
  TxlsItemType GetItemType() const override { return itMergedCells; }
  void SaveToIniFile(platform::IniFile& ini, const std::string& section) const override;
  void LoadFromIniFile(const platform::IniFile& ini, const std::string& section) override;
};

class TxlsMergedCellList : public TxlsCollection<TxlsMergedCells> {
 public:
  using TxlsCollection::TxlsCollection;

  // A new range: both rows, then both columns, counted from 1.
  TxlsMergedCells& AddRange(int firstRow, int lastRow, int firstCol, int lastCol);
};

// The extra cells and merged ranges that the exporter and each of its sheets take in code, on
// the owner's own Cells and MergedCells.
template <class Owner>
class TxlsCellAdders {
 public:
  TxlsCell& AddBooleanCell(int col, int row, bool value) { return Self().Cells.AddBoolean(col, row, value); }
  TxlsCell& AddDateTimeCell(int col, int row, const std::string& dateTimeFormat, TDateTime value) {
    return Self().Cells.AddDateTime(col, row, dateTimeFormat, value);
  }
  TxlsCell& AddNumericCell(int col, int row, const std::string& numericFormat, double value) {
    return Self().Cells.AddNumeric(col, row, numericFormat, value);
  }
  TxlsCell& AddStringCell(int col, int row, const WideString& value) { return Self().Cells.AddString(col, row, value); }
  TxlsMergedCells& AddMergedCells(int firstRow, int lastRow, int firstCol, int lastCol) {
    return Self().MergedCells.AddRange(firstRow, lastRow, firstCol, lastCol);
  }

 private:
  Owner& Self() { return static_cast<Owner&>(*this); }
};

}  // namespace vantrix
