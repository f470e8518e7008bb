// export_table: exports a table headless, to see what the engine makes of it.
//   export_table [--format rows] [--rows N | --history-shaped N | --csv FILE] [--locale C|pt_BR|system]
//                [--skip N] [--limit N] [--autowidth] [--max-records N] [--output FILE] [--utf8]
// The table is a generated one of typed columns and awkward texts unless a CSV file is given,
// or a generated one shaped as the history viewer exports (N readings of two instruments).
// Without --output the result goes to standard output, in code page 1252 as a file would hold
// it, or converted to UTF-8 for a terminal with --utf8.
#include <QLocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "export/library_strings.h"
#include "export/output_stream.h"
#include "export/vantrix3_html.h"
#include "export/vantrix3_pdf.h"
#include "export/vantrix3_rtf.h"
#include "platform/cp1252.h"
#include "tools/export_table/csv_table.h"
#include "tools/export_table/generated_table.h"
#include "tools/export_table/history_shaped_table.h"
#include "tools/export_table/rows_dump_exporter.h"

namespace {

// Later formats join this table.
const std::map<std::string, std::function<std::unique_ptr<vantrix::TVantrix3Text>()>>& Formats() {
  static const std::map<std::string, std::function<std::unique_ptr<vantrix::TVantrix3Text>()>> formats = {
      {"rows", [] { return std::make_unique<exporttable::RowsDumpExporter>(); }},
      {"pdf", [] { return std::make_unique<vantrix::TVantrix3PDF>(); }},
      {"html", [] { return std::make_unique<vantrix::TVantrix3HTML>(); }},
      {"rtf", [] { return std::make_unique<vantrix::TVantrix3RTF>(); }},
      // What the export dialog offers as a word-processor document is the same RTF.
      {"doc", [] { return std::make_unique<vantrix::TVantrix3RTF>(); }},
  };
  return formats;
}

class StdoutStream : public vantrix::OutputStream {
 public:
  explicit StdoutStream(bool utf8) : utf8_(utf8) {}
  void Write(const char* data, size_t size) override {
    const std::string text = utf8_ ? platform::Cp1252ToUtf8(std::string_view(data, size)) : std::string(data, size);
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size())
      throw vantrix::EVantrixError("cannot write to standard output");
  }

 private:
  bool utf8_;
};

int Usage() {
  std::fprintf(stderr,
               "usage: export_table [--format NAME] [--rows N | --history-shaped N | --csv FILE]\n"
               "                    [--locale C|pt_BR|system]\n"
               "                    [--skip N] [--limit N] [--autowidth] [--max-records N] [--output FILE] [--utf8]\n"
               "formats:");
  for (const auto& entry : Formats()) std::fprintf(stderr, " %s", entry.first.c_str());
  std::fprintf(stderr, "\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string format = "rows", csv, output, locale = "system";
  int rows = 20, skip = 0, limit = 0, maxRecords = 0, readings = -1;
  bool autoWidth = false, utf8 = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--format" && hasValue) format = argv[++i];
    else if (arg == "--rows" && hasValue) rows = std::atoi(argv[++i]);
    else if (arg == "--csv" && hasValue) csv = argv[++i];
    else if (arg == "--history-shaped" && hasValue) readings = std::atoi(argv[++i]);
    else if (arg == "--locale" && hasValue) locale = argv[++i];
    else if (arg == "--skip" && hasValue) skip = std::atoi(argv[++i]);
    else if (arg == "--limit" && hasValue) limit = std::atoi(argv[++i]);
    else if (arg == "--output" && hasValue) output = argv[++i];
    else if (arg == "--max-records" && hasValue) maxRecords = std::atoi(argv[++i]);
    else if (arg == "--autowidth") autoWidth = true;
    else if (arg == "--utf8") utf8 = true;
    else return Usage();
  }
  const auto factory = Formats().find(format);
  if (factory == Formats().end() || rows < 0) return Usage();

  const vantrix::FormatSettings settings =
      locale == "system" ? vantrix::DefaultFormatSettings() : vantrix::FormatSettings::FromLocale(QLocale(QString::fromStdString(locale)));
  std::unique_ptr<exporttable::GeneratedTable> generated;
  std::unique_ptr<exporttable::HistoryShapedTable> history;
  exporttable::CsvTable table;
  vantrix::TVantrixCustomSource* source = nullptr;
  if (readings >= 0) {
    history = std::make_unique<exporttable::HistoryShapedTable>(readings);
    source = &history->Source();
  } else if (csv.empty()) {
    generated = std::make_unique<exporttable::GeneratedTable>(rows, settings);
    source = &generated->Source();
  } else {
    std::string error;
    if (!table.Load(csv, settings, error)) {
      std::fprintf(stderr, "export_table: %s\n", error.c_str());
      return 1;
    }
    source = &table.Source();
  }

  std::unique_ptr<vantrix::TVantrix3Text> exporter = factory->second();
  exporter->Formats().SetSettings(settings);
  exporter->Formats().ResetFormats();
  exporter->SetExportSource(vantrix::esCustom);
  exporter->SetCustomSource(source);
  exporter->SkipRecCount = skip;
  exporter->ExportRecCount = limit;
  exporter->AutoCalcColWidth = autoWidth;
  // HTML split into numbered files of that many rows (a file export only).
  if (auto* html = dynamic_cast<vantrix::TVantrix3HTML*>(exporter.get())) html->SetMaxRecords(maxRecords);
  try {
    vantrix::TVantrixRunResult result;
    if (output.empty()) {
      StdoutStream out(utf8);
      result = exporter->ExportToStream(out);
    } else {
      exporter->FileName = output;
      result = exporter->Execute();
    }
    return result == vantrix::rrCompleted ? 0 : 3;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "export_table: %s\n", e.what());
    return 1;
  }
}
