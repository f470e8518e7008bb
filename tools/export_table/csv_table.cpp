#include "tools/export_table/csv_table.h"

#include <QByteArray>
#include <algorithm>
#include <iterator>

#include "export/col_types.h"
#include "platform/cp1252.h"
#include "platform/regular_file.h"

namespace exporttable {
namespace {

char DetectSeparator(const std::string& text) {
  size_t counts[3] = {0, 0, 0};
  const char candidates[3] = {',', ';', '\t'};
  bool quoted = false;
  for (char c : text) {
    if (c == '"') quoted = !quoted;
    if (!quoted && (c == '\n' || c == '\r')) break;
    if (quoted) continue;
    for (int i = 0; i < 3; ++i) counts[i] += c == candidates[i];
  }
  int best = 0;
  for (int i = 1; i < 3; ++i)
    if (counts[i] > counts[best]) best = i;
  return candidates[best];
}

}  // namespace

CsvRecords ParseCsv(const std::string& text) {
  const char separator = DetectSeparator(text);
  CsvRecords records;
  std::vector<std::string> record;
  std::string field;
  bool quoted = false, fieldStarted = false;
  auto endField = [&] {
    record.push_back(std::move(field));
    field.clear();
    fieldStarted = false;
  };
  auto endRecord = [&] {
    endField();
    if (!(record.size() == 1 && record[0].empty())) records.push_back(std::move(record));  // blank lines
    record.clear();
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field.push_back('"');
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field.push_back(c);
      }
    } else if (c == '"' && !fieldStarted) {
      quoted = true;
      fieldStarted = true;
    } else if (c == separator) {
      endField();
    } else if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      endRecord();
    } else {
      field.push_back(c);
      fieldStarted = true;
    }
  }
  if (fieldStarted || !field.empty() || !record.empty()) endRecord();
  return records;
}

bool CsvTable::Load(const std::string& path, const vantrix::FormatSettings& settings, std::string& error) {
  std::string text, reason;
  if (!platform::ReadRegularFile(path, text, &reason)) {
    error = "cannot read " + path + ": " + reason;
    return false;
  }
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);  // a byte-order mark
  text = platform::ExternalTextToCp1252(text);
  CsvRecords all = ParseCsv(text);
  if (all.empty()) {
    error = path + " holds no header line";
    return false;
  }
  headers_ = std::move(all.front());
  records_.assign(std::make_move_iterator(all.begin() + 1), std::make_move_iterator(all.end()));
  source_.Columns().Clear();
  std::vector<size_t> longest(headers_.size(), 1);
  for (const std::vector<std::string>& record : records_)
    for (size_t c = 0; c < record.size() && c < longest.size(); ++c) longest[c] = std::max(longest[c], record[c].size());
  for (size_t c = 0; c < headers_.size(); ++c) {
    vantrix::TVantrixCustomColumn* column = source_.Columns().Add();
    column->SetColumnName(headers_[c]);
    column->SetCaption(headers_[c]);
    const std::string sample = records_.empty() || c >= records_[0].size() ? std::string() : records_[0][c];
    column->SetColumnType(vantrix::CalcStringType(sample, "true", "false", settings));
  }
  // Sized from the data, as the history road does: dBase fields and SQL columns of the default
  // size would cut longer texts.
  vantrix::FitColumnsToTexts(source_.Columns(), longest);
  // A table without records has nobody to ask for the next one: the source is empty.
  source_.OnGetNextRecord = nullptr;
  if (!records_.empty())
    source_.OnGetNextRecord = [this](vantrix::TVantrixCustomSource&, int recNo, bool& eof) { eof = recNo >= Rows(); };
  source_.OnGetColumnValue = [this](vantrix::TVantrixCustomSource&, int recNo, const vantrix::TVantrixCustomColumn& column,
                                    QVariant& value) {
    const size_t r = static_cast<size_t>(recNo - 1), c = static_cast<size_t>(column.Index());
    if (r < records_.size() && c < records_[r].size())
      value = QByteArray(records_[r][c].data(), static_cast<qsizetype>(records_[r][c].size()));
  };
  return true;
}

}  // namespace exporttable
