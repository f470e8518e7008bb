#pragma once
// What the exporters' fuzz targets share: a small table of every column type with awkward
// texts (empty numbers, a number that is none, separators, quotes, line breaks, letters past
// ASCII), the option file written where each input is loaded from, and a run into memory.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "export/custom_source.h"
#include "export/library_strings.h"
#include "export/output_stream.h"
#include "export/vantrix3.h"

namespace fuzz {

class ExportTableSource : public vantrix::TVantrixCustomSource {
 public:
  ExportTableSource() {
    const std::pair<const char*, vantrix::TVantrixColType> columns[] = {
        {"A", vantrix::ectString}, {"B", vantrix::ectInteger}, {"C", vantrix::ectFloat},
        {"D", vantrix::ectDate},   {"E", vantrix::ectBoolean}, {"F", vantrix::ectDateTime},
        {"G", vantrix::ectCurrency}};
    for (const auto& [name, type] : columns) {
      vantrix::TVantrixCustomColumn* column = Columns().Add();
      column->SetColumnName(name);
      column->SetCaption(name);
      column->SetColumnType(type);
    }
    OnGetNextRecord = [](TVantrixCustomSource&, int recNo, bool& eof) {
      eof = recNo >= static_cast<int>(kRows.size());
    };
    OnGetColumnText = [](TVantrixCustomSource&, int recNo, const vantrix::TVantrixCustomColumn& column,
                         std::string& text) {
      if (recNo < 1 || recNo > static_cast<int>(kRows.size())) return;
      const std::vector<std::string>& row = kRows[static_cast<size_t>(recNo - 1)];
      if (static_cast<size_t>(column.Index()) < row.size()) text = row[static_cast<size_t>(column.Index())];
    };
  }

  void Rewind() {
    ClearEof();
    SetRecNo(1);
  }

 private:
  inline static const std::vector<std::vector<std::string>> kRows = {
      {"plain", "12", "1234.5", "25/12/2026", "true", "25/12/2026 10:20:30", "9.99"},
      {"", "", "", "", "", "", ""},
      {"say \"hi\"; a,b", "abc", "x", "31/02/2026", "maybe", "nonsense", "-0.01"},
      {"two\r\nlines\rand\nmore", "-2147483648", "1e308", "01/01/0001", "false", "31/12/9999 23:59:59", "1,234.56"},
      {"\xD0\xF0\xDE\xFE \xE9 \\ {x} % & # _ ~ ^ $ < >", "2147483647", "-0", "1/1/1900", "1", "1/1/1900 0:0", "0"},
      {"tab\there", "007", ".5", "x", "0", "", "1e3"},
  };
};

// The input written to a file of its own (in memory where there is a memory-backed folder),
// which goes again when the object does.
class InputFile {
 public:
  InputFile(const char* name, const uint8_t* data, size_t size) {
    std::error_code ec;
    const bool shm = std::filesystem::is_directory("/dev/shm", ec);
    const std::string folder = shm ? "/dev/shm" : std::filesystem::temp_directory_path().string();
    path_ = folder + "/tervana-fuzz-" + name + "-" + std::to_string(getpid()) + ".ini";
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  ~InputFile() { std::remove(path_.c_str()); }
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// The exporter's whole run over the table into memory. A refusal with the library's error is
// an answer (a setting the table can't meet); anything else escapes and ends the process.
inline std::string ExportToMemory(vantrix::TVantrix3& exporter, ExportTableSource& source) {
  exporter.SetExportSource(vantrix::esCustom);
  exporter.SetCustomSource(&source);
  source.Rewind();
  vantrix::MemoryOutputStream out;
  try {
    exporter.ExportToStream(out);
  } catch (const vantrix::EVantrixError&) {
  }
  return out.Bytes();
}

}  // namespace fuzz
