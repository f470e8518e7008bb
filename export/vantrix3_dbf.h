#pragma once
// A dBase III table (and, for large-object columns of a data set, its memo file) in code
// page 1252. Numeric fields hold the values themselves, written without the locale: blanks
// for an empty or null value, asterisks for one too long for its field. Dates are date
// fields; a time of day, which a date field can't hold, is a text field.
#include <string>

#include "export/vantrix3_text.h"
#include "platform/datetime.h"

namespace vantrix {

class TVantrixDBFWriter;

class TVantrix3DBF : public TVantrix3Text {
 public:
  TVantrix3DBF();

  // Inherited and published here: ColumnsLength (lines name=length).
  // Lines name=size,decimals of the numeric (float and currency) columns.
  TStrings ColumnsPrecision;
  int DefaultFloatSize = 15;
  int DefaultFloatDecimal = 4;
  // The null text of the formats: a cell holding it (in any case) is an empty field.
  const std::string& NullValue() const { return Formats().NullString(); }
  void SetNullValue(const std::string& value);
  // The date in the header; 0 for today.
  TDateTime ExportDate = 0;

  // The table's name with the extension ".dbt".
  std::string GetMemoFileName() const;

  void SaveProperties(platform::IniFile& ini) const override;
  void LoadProperties(const platform::IniFile& ini) override;
  const TStrings* OwnerColumnsLength() const override { return &ColumnsLength; }

 protected:
  std::unique_ptr<TVantrixWriter> CreateWriter(OutputStream& stream) override;
  void BeginExport() override;
  void WriteDataRow() override;
  void EndExport() override;

 private:
  TVantrixDBFWriter& Writer() const;
  void FieldText(int column, std::string& out);

  std::string record_, cell_, number_;
};

}  // namespace vantrix
