#pragma once
// A CSV file as a table behind a custom row source: the first line names the columns, every
// other line is a record. The separator is whichever of ",", ";" and tab the first line
// holds most of (outside quotes); fields may be quoted with '"', inner quotes doubled, line
// breaks inside quotes kept. A file of valid UTF-8 is converted to code page 1252, any other
// is taken as code page 1252 already. Column types come from the first record's texts.
#include <string>
#include <vector>

#include "export/custom_source.h"
#include "export/format_settings.h"

namespace exporttable {

using CsvRecords = std::vector<std::vector<std::string>>;

// Splits CSV text into records of fields.
CsvRecords ParseCsv(const std::string& text);

class CsvTable {
 public:
  // False (and why in error) when the file can't be read or holds no header line.
  bool Load(const std::string& path, const vantrix::FormatSettings& settings, std::string& error);
  vantrix::TVantrixCustomSource& Source() { return source_; }
  int Rows() const { return static_cast<int>(records_.size()); }

 private:
  std::vector<std::string> headers_;
  CsvRecords records_;
  vantrix::TVantrixCustomSource source_;
};

}  // namespace exporttable
