#pragma once
// An SQL script: an optional CREATE TABLE statement, one INSERT statement per record and
// optional commit statements, in code page 1252. Numbers are written in their plain form
// (no grouping, "." as decimal mark), texts, dates and times quoted, empty and null numbers
// as the null text; names that are no plain identifiers are double-quoted. A column's name is
// one name whatever it holds: "Pump.speed" is a column of that name, never column speed of a
// table Pump.
#include <string>

#include "export/vantrix3_text.h"

namespace vantrix {

class TVantrix3SQL : public TVantrix3FormatTextSQL {
 public:
  TVantrix3SQL();

  std::string TableName;  // required: a run without one raises before writing
  // Whether TableName may name its schema too ("main.readings", its dot kept). Off, the name is
  // one name, a dot in it part of it: a name made from a file name ("readings.v2.sql").
  bool QualifiedTableName = true;
  int CommitRecCount = 0;  // 0: no commit between the records
  bool CommitAfterScript = false;
  std::string CommitStatement = "COMMIT WORK;";
  bool CreateTable = false;
  char StatementTerm = ';';
  // The null text of the formats. An empty one is written as the default: a missing value
  // must still be a token, or the database refuses the statement.
  static constexpr const char* kDefaultNullValue = "null";
  const std::string& NullValue() const { return Formats().NullString(); }
  void SetNullValue(const std::string& value);
  // Whether the values go through the columns' pictures first.
  bool FormatValues = false;

 protected:
  void BeginExport() override;
  std::string GetDataRow(bool formatted) override;
  void WriteDataRow() override;
  void EndExport() override;

 private:
  void AppendValue(const TVantrixCol& cell, bool formatted, std::string& out);
  void AppendNull(std::string& out) const;

  std::string tableName_, columnList_, line_, cell_, number_;
};

// One name as it stands when it is a plain identifier (letters, digits and "_", not starting
// with a digit, not a reserved word), else in double quotes with inner ones doubled.
std::string SqlName(std::string name);
// A name that may be qualified: as it stands when each of its dotted parts is a plain
// identifier, else quoted whole as SqlName quotes it.
std::string SqlIdentifier(std::string name);

}  // namespace vantrix
