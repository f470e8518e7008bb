#pragma once
// The export tool's formats by name, with the few options a command line sets.
#include <memory>
#include <string>
#include <vector>

#include "export/vantrix3.h"

namespace exporttable {

struct FormatOptions {
  char separator = '\0';  // CSV and clipboard; '\0': the exporter's default
  std::string title;      // text, DIF and clipboard
  std::string encoding;   // XML
  std::string table = "EXPORT_TABLE";  // SQL
  bool createTable = false;            // SQL
  bool fixed = false;                  // clipboard: fixed columns instead of separated
  bool captions = true;
  int codePage = 0;                    // LaTeX; 0: 1252
  std::vector<std::string> preamble;   // LaTeX: lines after the packages
  int maxRecords = 0;                  // HTML: rows per numbered file (a file export only)
};

// The formats, in the order the usage lists them.
std::vector<std::string> FormatNames();
// A new exporter of the format; null for a name that is none.
std::unique_ptr<vantrix::TVantrix3> MakeExporter(const std::string& name, const FormatOptions& options);

}  // namespace exporttable
