#include "export/vantrix3_sql.h"

#include <algorithm>
#include <iterator>

#include "export/library_strings.h"
#include "export/machine_number.h"
#include "platform/cp1252.h"
#include "platform/cp1252_case.h"
#include "platform/text_trim.h"

namespace vantrix {
namespace {

// The words of the SQL standard that no database takes as a name unquoted (and the few
// more that common ones refuse): a table named after "table.sql" must not read INSERT INTO TABLE.
constexpr std::string_view kReservedWords[] = {
    "ABSOLUTE", "ACTION", "ADD", "ALL", "ALLOCATE", "ALTER", "AND", "ANY", "ARE", "AS", "ASC",
    "ASSERTION", "AT", "AUTHORIZATION", "AVG", "BEGIN", "BETWEEN", "BIT", "BIT_LENGTH", "BOTH",
    "BY", "CASCADE", "CASCADED", "CASE", "CAST", "CATALOG", "CHAR", "CHARACTER",
    "CHARACTER_LENGTH", "CHAR_LENGTH", "CHECK", "CLOSE", "COALESCE", "COLLATE", "COLLATION",
    "COLUMN", "COMMIT", "CONNECT", "CONNECTION", "CONSTRAINT", "CONSTRAINTS", "CONTINUE",
    "CONVERT", "CORRESPONDING", "COUNT", "CREATE", "CROSS", "CURRENT", "CURRENT_DATE",
    "CURRENT_TIME", "CURRENT_TIMESTAMP", "CURRENT_USER", "CURSOR", "DATE", "DAY", "DEALLOCATE",
    "DEC", "DECIMAL", "DECLARE", "DEFAULT", "DEFERRABLE", "DEFERRED", "DELETE", "DESC", "DESCRIBE",
    "DESCRIPTOR", "DIAGNOSTICS", "DISCONNECT", "DISTINCT", "DOMAIN", "DOUBLE", "DROP", "ELSE",
    "END", "ESCAPE", "EXCEPT", "EXCEPTION", "EXEC", "EXECUTE", "EXISTS", "EXTERNAL", "EXTRACT",
    "FALSE", "FETCH", "FIRST", "FLOAT", "FOR", "FOREIGN", "FOUND", "FROM", "FULL", "GET", "GLOBAL",
    "GO", "GOTO", "GRANT", "GROUP", "HAVING", "HOUR", "IDENTITY", "IMMEDIATE", "IN", "INDEX",
    "INDICATOR", "INITIALLY", "INNER", "INPUT", "INSENSITIVE", "INSERT", "INT", "INTEGER",
    "INTERSECT", "INTERVAL", "INTO", "IS", "ISOLATION", "JOIN", "KEY", "LANGUAGE", "LAST",
    "LEADING", "LEFT", "LEVEL", "LIKE", "LIMIT", "LOCAL", "LOWER", "MATCH", "MAX", "MIN", "MINUTE",
    "MODULE", "MONTH", "NAMES", "NATIONAL", "NATURAL", "NCHAR", "NEXT", "NO", "NOT", "NULL",
    "NULLIF", "NUMERIC", "OCTET_LENGTH", "OF", "OFFSET", "ON", "ONLY", "OPEN", "OPTION", "OR",
    "ORDER", "OUTER", "OUTPUT", "OVERLAPS", "PAD", "PARTIAL", "POSITION", "PRECISION", "PREPARE",
    "PRESERVE", "PRIMARY", "PRIOR", "PRIVILEGES", "PROCEDURE", "PUBLIC", "READ", "REAL",
    "REFERENCES", "RELATIVE", "RESTRICT", "REVOKE", "RIGHT", "ROLLBACK", "ROWS", "SCHEMA",
    "SCROLL", "SECOND", "SECTION", "SELECT", "SESSION", "SESSION_USER", "SET", "SIZE", "SMALLINT",
    "SOME", "SPACE", "SQL", "SQLCODE", "SQLERROR", "SQLSTATE", "SUBSTRING", "SUM", "SYSTEM_USER",
    "TABLE", "TEMPORARY", "THEN", "TIME", "TIMESTAMP", "TIMEZONE_HOUR", "TIMEZONE_MINUTE", "TO",
    "TRAILING", "TRANSACTION", "TRANSLATE", "TRANSLATION", "TRIM", "TRUE", "UNION", "UNIQUE",
    "UNKNOWN", "UPDATE", "UPPER", "USAGE", "USER", "USING", "VALUE", "VALUES", "VARCHAR",
    "VARYING", "VIEW", "WHEN", "WHENEVER", "WHERE", "WITH", "WORK", "WRITE", "YEAR", "ZONE"};

bool IsReservedWord(std::string_view part) {
  std::string upper(part);
  for (char& c : upper) c = static_cast<char>(platform::Cp1252UpperCase(static_cast<unsigned char>(c)));
  return std::binary_search(std::begin(kReservedWords), std::end(kReservedWords), std::string_view(upper));
}

bool IsPlainPart(std::string_view part) {
  if (part.empty() || (part[0] >= '0' && part[0] <= '9')) return false;
  for (char c : part)
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_')) return false;
  return !IsReservedWord(part);
}

std::string QuotedName(const std::string& name) {
  std::string quoted = "\"";
  for (char c : name) {
    if (c == '"') quoted.push_back('"');
    quoted.push_back(c);
  }
  return quoted + "\"";
}

}  // namespace

std::string SqlName(std::string name) {
  // A name is written as a cell's text is: a byte that is no character becomes '?'.
  platform::ReplaceCp1252NonCharacters(name);
  return IsPlainPart(name) ? name : QuotedName(name);
}

std::string SqlIdentifier(std::string name) {
  platform::ReplaceCp1252NonCharacters(name);
  bool plain = true;
  size_t start = 0;
  for (;;) {
    const size_t dot = name.find('.', start);
    plain = plain && IsPlainPart(std::string_view(name).substr(start, dot == std::string::npos ? dot : dot - start));
    if (dot == std::string::npos) break;
    start = dot + 1;
  }
  return plain ? name : QuotedName(name);
}

TVantrix3SQL::TVantrix3SQL() { Formats().SetNullString(kDefaultNullValue); }

void TVantrix3SQL::SetNullValue(const std::string& value) {
  if (value != NullValue()) Formats().SetNullString(value);
}

void TVantrix3SQL::BeginExport() {
  TVantrix3FormatTextSQL::BeginExport();
  // "INSERT INTO (" is no statement any database takes.
  if (platform::TrimBlanks(TableName).empty()) throw EVantrixError("The SQL script needs a table name");
  tableName_ = QualifiedTableName ? SqlIdentifier(TableName) : SqlName(TableName);
  TVantrixWriter& writer = *GetWriter();
  for (const std::string& line : Header) writer.WriteLn(line);
  if (CreateTable) {
    writer.WriteLn("CREATE TABLE " + tableName_ + "(");
    std::string columns;
    for (int i = 0; i < Columns().Count(); ++i)
      columns += "  " + SqlName(Columns()[i].Name) + "  " + Columns()[i].SQLType + ",\r\n";
    if (columns.size() >= 3) columns.resize(columns.size() - 3);
    writer.WriteLn(columns + ");\r\n");
  }
  columnList_.clear();
  for (int i = 0; i < Columns().Count(); ++i) {
    if (i > 0) columnList_.push_back(',');
    columnList_ += SqlName(Columns()[i].Name);
  }
}

void TVantrix3SQL::AppendNull(std::string& out) const {
  const std::string& null = Formats().NullString();
  out.append(null.empty() ? std::string_view(kDefaultNullValue) : std::string_view(null));
}

void TVantrix3SQL::AppendValue(const TVantrixCol& cell, bool formatted, std::string& out) {
  const TVantrixColumn& column = Columns()[cell.ColumnIndex()];
  if (Columns().GetColumnIsNull(cell.ColumnIndex())) {
    AppendNull(out);
    return;
  }
  cell.GetExportedValue(formatted, cell_);
  switch (column.ColType) {
    case ectInteger: case ectBigint: case ectFloat: case ectCurrency:
      // Grouping and the locale's decimal mark out; an empty cell (which a picture would
      // show as 0) or one that holds no number is null rather than a hole in the statement.
      if (!cell.Value().empty() && MachineNumberText(cell_, Formats().Settings(), number_)) out.append(number_);
      else AppendNull(out);
      break;
    case ectBoolean: {
      const std::string text = platform::TrimBlanks(cell_);
      const bool yes =
          platform::Cp1252SameText(text, "True") || platform::Cp1252SameText(text, Formats().BooleanTrue());
      out.append(yes ? Formats().BooleanTrue() : Formats().BooleanFalse());
      break;
    }
    default:
      out.push_back('\'');
      for (char c : cell_) {
        if (c == '\'') out.push_back('\'');
        out.push_back(c);
      }
      out.push_back('\'');
  }
}

std::string TVantrix3SQL::GetDataRow(bool formatted) {
  line_ = "INSERT INTO " + tableName_ + "\r\n  (" + columnList_ + ")\r\nVALUES(";
  for (int i = 0; i < Row().Count(); ++i) {
    if (i > 0) line_.push_back(',');
    AppendValue(Row()[i], formatted, line_);
  }
  line_.push_back(')');
  line_.push_back(StatementTerm);
  return line_;
}

void TVantrix3SQL::WriteDataRow() {
  TVantrixWriter& writer = *GetWriter();
  writer.WriteLn(GetDataRow(FormatValues));
  writer.EmptyLine();
  if (CommitRecCount > 0 && RecordCounter() % CommitRecCount == 0 && !CommitStatement.empty()) {
    writer.WriteLn(CommitStatement);
    writer.EmptyLine();
  }
}

void TVantrix3SQL::EndExport() {
  TVantrixWriter& writer = *GetWriter();
  if (CommitAfterScript && !CommitStatement.empty()) writer.WriteLn(CommitStatement);
  for (const std::string& line : Footer) writer.WriteLn(line);
  TVantrix3FormatTextSQL::EndExport();
}

}  // namespace vantrix
