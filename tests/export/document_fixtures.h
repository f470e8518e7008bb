#pragma once
// What the document formats' tests share: a table of texts behind a custom source, and a run
// of an exporter into memory.
#include <string>
#include <vector>

#include "export/custom_source.h"
#include "export/output_stream.h"
#include "export/vantrix3.h"
#include "export_fixtures.h"

namespace exporttest {

// Rows of code page 1252 texts under captions; every column a string of the given width
// unless a type is given. A custom source always has a first record, so a table without rows
// is a model source instead (EmptyModel).
class TextSource : public vantrix::TVantrixCustomSource {
 public:
  TextSource(const std::vector<std::string>& captions, std::vector<std::vector<std::string>> rows, int width = 10,
             const std::vector<vantrix::TVantrixColType>& types = {})
      : rows_(std::move(rows)) {
    for (size_t i = 0; i < captions.size(); ++i) {
      vantrix::TVantrixCustomColumn* column = Columns().Add();
      column->SetColumnName("c" + std::to_string(i));
      column->SetCaption(captions[i]);
      column->SetWidth(width);
      column->SetColumnType(i < types.size() ? types[i] : vantrix::ectString);
    }
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

// n rows of the given number of columns, cell "r<row>c<col>" from 0.
inline std::vector<std::vector<std::string>> NumberedRows(int rows, int columns) {
  std::vector<std::vector<std::string>> out(static_cast<size_t>(rows));
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c) out[static_cast<size_t>(r)].push_back("r" + std::to_string(r) + "c" + std::to_string(c));
  return out;
}

inline std::vector<std::string> NumberedCaptions(int columns) {
  std::vector<std::string> out;
  for (int c = 0; c < columns; ++c) out.push_back("Col" + std::to_string(c));
  return out;
}

// The exporter over the source, in C's locale forms, into memory.
inline std::string Export(vantrix::TVantrix3& exporter, vantrix::TVantrixCustomSource& source) {
  exporter.Formats().SetSettings(CSettings());
  exporter.Formats().ResetFormats();
  exporter.SetExportSource(vantrix::esCustom);
  exporter.SetCustomSource(&source);
  source.ClearEof();
  vantrix::MemoryOutputStream out;
  exporter.ExportToStream(out);
  return out.Bytes();
}

}  // namespace exporttest
