// export_table: exports a table headless, to see what the engine makes of it and to hand the
// files to the programs that read them.
//   export_table [--format NAME] [--rows N | --history-shaped N | --csv FILE | --typed | --columns N]
//                [--locale C|pt_BR|system|NAME] [--skip N] [--limit N] [--autowidth]
//                [--max-records N] [--output FILE] [--utf8]
//                [--separator C] [--title TEXT] [--encoding NAME] [--table NAME]
//                [--create-table] [--fixed] [--no-captions] [--code-page N] [--preamble LINE]...
//                [--pdf-fonts NAME[,NAME]...] [--pdf-encoding NAME]
//                [workbook options, see xls_setup.h]
//   export_table --history FILE.mpc --output FILE [--locale NAME] [--no-milliseconds]
//                [--milliseconds-column] [--milliseconds-separator C]
//   export_table --write-history FILE.mpc --lines N [--runs R] [--long-names]
//   export_table --dump FILE.xls
//   export_table --dialog [--rows N] [--screenshots DIR] [--options FILE.cfg]
//   export_table --dialog --format EXT --output FILE [--rows N] [--options FILE.cfg]
//                [--save-options FILE.cfg]
// The table is a generated one of typed columns and awkward texts unless a CSV file is given,
// or a generated one shaped as the history viewer exports (N readings of two instruments), the
// small table of every kind of value a workbook must keep apart (--typed), or N integer columns
// of --rows rows.
// Without --output the result goes to standard output, in the format's encoding as a file
// would hold it (code page 1252 for most), or converted to UTF-8 for a terminal with --utf8.
// The clipboard format puts the text on the clipboard (offscreen when there is no display)
// and writes what the clipboard then holds, in UTF-8, to standard output or the file.
// --history exports a history file the way the viewer does, the format by the output's
// extension; damaged lines it leaves out are told on standard error as the viewer tells them.
// --write-history writes the history benchmark's file (two devices, eight values, "°C") of N
// data lines in R recording runs, with names longer than a cell with --long-names.
// --dump prints the cells the project's own workbook reader loads from FILE.xls (see
// export/xls/workbook_dump.h), for the tests to compare with another reader's.
// --dialog opens the export dialog on the generated table, for a person to try it; with
// --screenshots it saves a picture of every page into DIR instead and ends; with --format (a
// file extension of the dialog's formats, or clipboard) and --output it runs that export from
// the dialog, driving the form as a person would, and with --save-options saves the options
// from the dialog's Tools menu afterwards.
// --pdf-fonts gives a PDF table's data, caption, header and footer fonts by PostScript name
// ("Courier", "Times-Bold"; a shorter list repeats its last), --pdf-encoding the encoding
// all four are given ("MacRomanEncoding").
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "export/library_strings.h"
#include "export/output_stream.h"
#include "export/vantrix3_text.h"
#include "export/xls/workbook_dump.h"
#include "export/xls/xls_file.h"
#include "history/damage_texts.h"
#include "history/hist_texts.h"
#include "history/history_export.h"
#include "history/history_file.h"
#include "platform/cp1252.h"
#include "tools/export_table/csv_table.h"
#include "tools/export_table/dialog_mode.h"
#include "tools/export_table/generated_table.h"
#include "tools/export_table/history_shaped_table.h"
#include "tools/export_table/tool_formats.h"
#include "tools/export_table/typed_table.h"
#include "tools/export_table/xls_setup.h"
#include "tools/history_file_generator/history_file_generator.h"

namespace {

struct Arguments {
  std::string format = "rows", csv, output, locale = "system", history, writeHistory, dump;
  int rows = 20, skip = 0, limit = 0, readings = -1, wideColumns = 0;
  long long lines = 100, runs = 1;
  bool autoWidth = false, utf8 = false, typed = false, longNames = false, dialog = false;
  std::string screenshots;
  std::string optionsFile, saveOptionsFile;
  exporttable::XlsToolOptions xls;
  exporttable::FormatOptions options;
  history::MillisecondOptions milliseconds;
};

class StdoutStream : public vantrix::OutputStream {
 public:
  explicit StdoutStream(bool utf8) : utf8_(utf8) {}
  using vantrix::OutputStream::Write;
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
               "usage: export_table [--format NAME] [--rows N | --history-shaped N | --csv FILE | --typed | --columns N]\n"
               "                    [--locale C|pt_BR|system|NAME] [--skip N] [--limit N] [--autowidth]\n"
               "                    [--max-records N] [--output FILE] [--utf8]\n"
               "                    [--separator C] [--title TEXT] [--encoding NAME] [--table NAME]\n"
               "                    [--create-table] [--fixed] [--no-captions] [--code-page N]\n"
               "                    [--preamble LINE]... [--pdf-fonts NAME[,NAME]...] [--pdf-encoding NAME]\n"
               "       export_table --history FILE.mpc --output FILE [--locale NAME] [--no-milliseconds]\n"
               "                    [--milliseconds-column] [--milliseconds-separator C]\n"
               "       export_table --write-history FILE.mpc --lines N [--runs R] [--long-names]\n"
               "       export_table --dump FILE.xls\n"
               "       export_table --dialog [--rows N] [--screenshots DIR] [--options FILE.cfg]\n"
               "       export_table --dialog --format EXT --output FILE [--rows N] [--options FILE.cfg]\n"
               "                    [--save-options FILE.cfg]\n%sformats:",
               exporttable::XlsToolOptions::Usage());
  for (const std::string& name : exporttable::FormatNames()) std::fprintf(stderr, " %s", name.c_str());
  std::fprintf(stderr, "\n");
  return 2;
}

bool Parse(int argc, char** argv, Arguments& a) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    const auto value = [&] { return std::string(argv[++i]); };
    if (arg == "--format" && hasValue) a.format = value();
    else if (arg == "--rows" && hasValue) a.rows = std::atoi(argv[++i]);
    else if (arg == "--csv" && hasValue) a.csv = value();
    else if (arg == "--history" && hasValue) a.history = value();
    else if (arg == "--write-history" && hasValue) a.writeHistory = value();
    else if (arg == "--lines" && hasValue) a.lines = std::atoll(argv[++i]);
    else if (arg == "--runs" && hasValue) a.runs = std::atoll(argv[++i]);
    else if (arg == "--long-names") a.longNames = true;
    else if (arg == "--dump" && hasValue) a.dump = value();
    else if (arg == "--history-shaped" && hasValue) a.readings = std::atoi(argv[++i]);
    else if (arg == "--max-records" && hasValue) a.options.maxRecords = std::atoi(argv[++i]);
    else if (arg == "--locale" && hasValue) a.locale = value();
    else if (arg == "--skip" && hasValue) a.skip = std::atoi(argv[++i]);
    else if (arg == "--limit" && hasValue) a.limit = std::atoi(argv[++i]);
    else if (arg == "--output" && hasValue) a.output = value();
    else if (arg == "--separator" && hasValue) a.options.separator = platform::Utf8ToCp1252(value()).c_str()[0];
    else if (arg == "--title" && hasValue) a.options.title = platform::Utf8ToCp1252(value());
    else if (arg == "--encoding" && hasValue) a.options.encoding = value();
    else if (arg == "--table" && hasValue) a.options.table = platform::Utf8ToCp1252(value());
    else if (arg == "--code-page" && hasValue) a.options.codePage = std::atoi(argv[++i]);
    else if (arg == "--preamble" && hasValue) a.options.preamble.push_back(platform::Utf8ToCp1252(value()));
    else if (arg == "--milliseconds-separator" && hasValue)
      a.milliseconds.separator = platform::Utf8ToCp1252(value()).c_str()[0];
    else if (arg == "--pdf-fonts" && hasValue) {
      if (!exporttable::ParsePdfFonts(value(), a.options)) return false;
    } else if (arg == "--pdf-encoding" && hasValue) {
      if (!exporttable::ParsePdfEncoding(value(), a.options)) return false;
    } else if (arg == "--create-table") a.options.createTable = true;
    else if (arg == "--fixed") a.options.fixed = true;
    else if (arg == "--no-captions") a.options.captions = false;
    else if (arg == "--no-milliseconds") a.milliseconds.withoutMilliseconds = true;
    else if (arg == "--milliseconds-column") a.milliseconds.ownColumn = true;
    else if (arg == "--autowidth") a.autoWidth = true;
    else if (arg == "--utf8") a.utf8 = true;
    else if (arg == "--typed") a.typed = true;
    else if (arg == "--dialog") a.dialog = true;
    else if (arg == "--screenshots" && hasValue) a.screenshots = value();
    else if (arg == "--options" && hasValue) a.optionsFile = value();
    else if (arg == "--save-options" && hasValue) a.saveOptionsFile = value();
    else if (arg == "--columns" && hasValue) a.wideColumns = std::atoi(argv[++i]);
    else if (!a.xls.Parse(argc, argv, i)) return false;
  }
  return a.rows >= 0 && a.lines >= 0 && a.runs >= 1;
}

QLocale LocaleNamed(const std::string& name) {
  if (name == "system") return QLocale();
  if (name == "C") return QLocale::c();
  return QLocale(QString::fromStdString(name));
}

// The viewer's road: the history file read, its table exported by the output's extension.
int ExportHistory(const Arguments& a) {
  if (a.output.empty()) {
    std::fprintf(stderr, "export_table: --history needs --output\n");
    return 2;
  }
  history::HistoryData data;
  std::string openError;
  const history::ReadStatus status = history::ReadHistoryFile(a.history, data, &openError);
  if (status == history::ReadStatus::CannotOpen) {
    std::fprintf(stderr, "export_table: cannot open %s: %s\n", a.history.c_str(), openError.c_str());
    return 1;
  }
  if (status != history::ReadStatus::Ok) {
    std::fprintf(stderr, "export_table: %s is no history file this program can read\n", a.history.c_str());
    return 1;
  }
  // Damaged lines were left out: said in the viewer's words, the export goes on without them.
  const QString skipped = history::DescribeSkippedLines(data, QFile::decodeName(a.history.c_str()),
                                                        QString::fromUtf8(history::kTooManyColumnsText));
  if (!skipped.isEmpty()) std::fprintf(stderr, "%s\n", skipped.toUtf8().constData());
  const history::CellTexts texts(data, LocaleNamed(a.locale));
  history::HistoryExport road(data, texts, a.history);
  const history::HistoryExportResult result = road.ExportTable(a.output, a.milliseconds);
  if (!result.Ok() || !result.resultError.empty()) {
    const std::string& message = result.Ok() ? result.resultError : result.message;
    std::fprintf(stderr, "export_table: %s\n", platform::Cp1252ToUtf8(message).c_str());
    return 1;
  }
  return 0;
}

int DumpWorkbook(const std::string& fileName) {
  try {
    vantrix::TxlsFile file;
    file.FileName = fileName;
    file.Load();
    const std::string text = vantrix::DumpCells(file.Workbook());
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "export_table: %s\n", e.what());
    return 1;
  }
}

int Run(vantrix::TVantrix3& exporter, const Arguments& a) {
  vantrix::TVantrixRunResult result;
  if (a.format == "clipboard") {
    result = exporter.Execute();
    const std::string text = QGuiApplication::clipboard()->text().toStdString();
    if (a.output.empty()) {
      std::fwrite(text.data(), 1, text.size(), stdout);
    } else {
      // As the exporters write their files: whole or not at all, the file before left as it
      // was, and never over the table read.
      vantrix::RefuseFileRead(a.output, {a.csv});
      vantrix::FileOutputStream out(a.output);
      out.Write(text);
      out.Commit();
    }
  } else if (a.output.empty()) {
    StdoutStream out(a.utf8);
    result = exporter.ExportToStream(out);
  } else {
    auto& file = dynamic_cast<vantrix::TVantrix3Text&>(exporter);
    file.FileName = a.output;
    file.ReadFiles = {a.csv};
    result = file.Execute();
  }
  return result == vantrix::rrCompleted ? 0 : 3;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments a;
  if (!Parse(argc, argv, a)) return Usage();
  if (!a.writeHistory.empty()) {
    const size_t bytes = historygen::WriteHistoryFile(a.writeHistory, static_cast<size_t>(a.lines),
                                                      static_cast<size_t>(a.runs), a.longNames);
    if (bytes > 0) return 0;
    std::fprintf(stderr, "export_table: cannot write %s\n", a.writeHistory.c_str());
    return 1;
  }
  if (!a.history.empty()) return ExportHistory(a);
  if (!a.dump.empty()) return DumpWorkbook(a.dump);
  if (a.dialog)
    return exporttable::RunExportDialog(argc, argv, a.rows, a.screenshots, a.format == "rows" ? "" : a.format, a.output,
                                         a.optionsFile, a.saveOptionsFile);
  std::unique_ptr<vantrix::TVantrix3> exporter = exporttable::MakeExporter(a.format, a.options);
  if (!exporter) return Usage();

  // The clipboard lives in the GUI library; without a display it is the offscreen one's.
  std::unique_ptr<QGuiApplication> gui;
  if (a.format == "clipboard") {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
      qputenv("QT_QPA_PLATFORM", "offscreen");
    gui = std::make_unique<QGuiApplication>(argc, argv);
  }

  const vantrix::FormatSettings settings = a.locale == "system"
                                               ? vantrix::DefaultFormatSettings()
                                               : vantrix::FormatSettings::FromLocale(LocaleNamed(a.locale));
  std::unique_ptr<exporttable::GeneratedTable> generated;
  std::unique_ptr<exporttable::HistoryShapedTable> historyShaped;
  std::unique_ptr<exporttable::TypedTable> typed;
  std::unique_ptr<exporttable::WideTable> wide;
  exporttable::CsvTable table;
  vantrix::TVantrixCustomSource* source = nullptr;
  if (a.typed) {
    typed = std::make_unique<exporttable::TypedTable>(settings);
    source = &typed->Source();
  } else if (a.wideColumns > 0) {
    wide = std::make_unique<exporttable::WideTable>(a.wideColumns, a.rows);
    source = &wide->Source();
  } else if (a.readings >= 0) {
    historyShaped = std::make_unique<exporttable::HistoryShapedTable>(a.readings);
    source = &historyShaped->Source();
  } else if (a.csv.empty()) {
    generated = std::make_unique<exporttable::GeneratedTable>(a.rows, settings);
    source = &generated->Source();
  } else {
    std::string error;
    if (!table.Load(a.csv, settings, error)) {
      std::fprintf(stderr, "export_table: %s\n", error.c_str());
      return 1;
    }
    source = &table.Source();
  }

  exporter->Formats().SetSettings(settings);
  exporter->Formats().ResetFormats();
  exporter->SetExportSource(vantrix::esCustom);
  exporter->SetCustomSource(source);
  exporter->SkipRecCount = a.skip;
  exporter->ExportRecCount = a.limit;
  // The text layout and the fixed clipboard measure their columns unless told otherwise.
  if (a.autoWidth || (a.format != "txt" && a.format != "clipboard")) exporter->AutoCalcColWidth = a.autoWidth;
  if (a.typed) exporter->Formats().SetNullString(exporttable::TypedTable::kNullText);
  if (auto* workbook = dynamic_cast<vantrix::TVantrix3XLS*>(exporter.get())) {
    if (a.output.empty()) {
      std::fprintf(stderr, "export_table: a workbook needs --output\n");
      return 2;
    }
    exporttable::ConfigureXls(*workbook, a.xls, *source);
    workbook->OnItemLeftOut = [](vantrix::TVantrix3XLS&, const std::string& message) {
      std::fprintf(stderr, "export_table: %s\n", platform::Cp1252ToUtf8(message).c_str());
    };
  }
  try {
    return Run(*exporter, a);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "export_table: %s\n", platform::Cp1252ToUtf8(e.what()).c_str());
    return 1;
  }
}
