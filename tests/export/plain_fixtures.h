#pragma once
// What the tests of the plain formats share: a custom source of fixed texts under named,
// typed columns, and a run of any exporter into memory.
#include <string>
#include <utility>
#include <vector>

#include "export/custom_source.h"
#include "export/output_stream.h"
#include "export/vantrix3.h"
#include "export_fixtures.h"

namespace exporttest {

// Rows of texts (code page 1252) under columns of the given names and types.
class TextSource : public vantrix::TVantrixCustomSource {
 public:
  TextSource(std::vector<std::pair<std::string, vantrix::TVantrixColType>> columns,
             std::vector<std::vector<std::string>> rows)
      : rows_(std::move(rows)) {
    for (const auto& [name, type] : columns) {
      vantrix::TVantrixCustomColumn* column = Columns().Add();
      column->SetColumnName(name);
      column->SetCaption(name);
      column->SetColumnType(type);
    }
    if (!rows_.empty())
      OnGetNextRecord = [this](TVantrixCustomSource&, int recNo, bool& eof) {
        eof = recNo >= static_cast<int>(rows_.size());
      };
    OnGetColumnText = [this](TVantrixCustomSource&, int recNo, const vantrix::TVantrixCustomColumn& column,
                             std::string& text) {
      const auto& row = rows_.at(static_cast<size_t>(recNo - 1));
      if (static_cast<size_t>(column.Index()) < row.size()) text = row[static_cast<size_t>(column.Index())];
    };
  }

 private:
  std::vector<std::vector<std::string>> rows_;
};

// The exporter over the source, in the given locale forms, into memory.
inline std::string ExportToMemory(vantrix::TVantrix3& exporter, vantrix::TVantrixCustomSource& source,
                                  const vantrix::FormatSettings& settings = CSettings()) {
  exporter.Formats().SetSettings(settings);
  exporter.Formats().ResetFormats();
  exporter.SetExportSource(vantrix::esCustom);
  exporter.SetCustomSource(&source);
  source.ClearEof();
  vantrix::MemoryOutputStream out;
  exporter.ExportToStream(out);
  return out.Bytes();
}

// The lines of a text, split at CR LF (the last, empty piece after the final line break
// left out).
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
    lines.push_back(text.substr(start, at - start));
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

}  // namespace exporttest
