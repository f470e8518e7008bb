#pragma once
// The export tool's formats by name, with the few options a command line sets.
#include <memory>
#include <string>
#include <vector>

#include "export/pdf_font.h"
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
  // PDF: the data, caption, header and footer fonts in this order (a shorter list repeats its
  // last), and the encoding all four are given; empty and -1 keep the exporter's defaults.
  std::vector<vantrix::TPDFFontName> pdfFonts;
  int pdfEncoding = -1;
};

// Reads "Courier,Times-Bold" (PostScript names) into pdfFonts; false for a name that is none.
bool ParsePdfFonts(const std::string& list, FormatOptions& options);
// Reads "MacRomanEncoding" into pdfEncoding; false for a name that is none.
bool ParsePdfEncoding(const std::string& name, FormatOptions& options);

// The formats, in the order the usage lists them.
std::vector<std::string> FormatNames();
// A new exporter of the format; null for a name that is none.
std::unique_ptr<vantrix::TVantrix3> MakeExporter(const std::string& name, const FormatOptions& options);

}  // namespace exporttable
