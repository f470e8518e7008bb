// Plain formats' figures: text, CSV, dBase and XML exports of a history-shaped table (date,
// time with milliseconds, eight values, all texts as the viewer hands them over) into files,
// in MB of output per second, with the process's peak memory, which must not grow with the
// rows; then the whole history road on a history file of the same size read into memory,
// with the memory each export adds on top of the table. Each figure is the best of three
// runs, timed on the processor clock of this thread (what the export itself costs, however
// busy the machine is) and on the wall clock.
//   plain_export_bench [--rows N]   (default 1,000,000 rows of 10 columns)
#include <QLocale>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/measure.h"
#include "export/custom_source.h"
#include "export/output_stream.h"
#include "export/vantrix3_ascii.h"
#include "export/vantrix3_dbf.h"
#include "export/vantrix3_xml.h"
#include "history/history_export.h"
#include "history/history_parser.h"
#include "tools/history_file_generator/history_file_generator.h"

namespace {

using bench::Clock;
using bench::Seconds;
using bench::StatusMb;
using bench::ResetPeak;

double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

constexpr int kRepeats = 3;

struct Figure {
  double seconds, megabytes, cpu;
};

// The best of the runs, by each clock.
Figure Best(const std::function<Figure()>& run) {
  Figure best = run();
  for (int i = 1; i < kRepeats; ++i) {
    const Figure f = run();
    best.seconds = std::min(best.seconds, f.seconds);
    best.cpu = std::min(best.cpu, f.cpu);
  }
  return best;
}

// Ten text columns shaped like a history table: the date, the time with milliseconds and
// eight values, the fields of the history file generator's lines. Rows repeat a pool of
// lines made once, so the table costs next to nothing to read and no memory whatever its
// length.
class HistoryShapedTable {
 public:
  static constexpr size_t kPool = 4096;

  explicit HistoryShapedTable(int rows) : rows_(rows), pool_(kPool) {
    char line[256];
    for (size_t r = 0; r < kPool; ++r) {
      // Lines from all over a long recording: times of every hour, values of every size.
      const int length = historygen::DataLineText(r * 7919, line, sizeof line);
      size_t start = 0;
      for (int i = 0; i < length; ++i)
        if (line[i] == ',' || line[i] == '\n') {
          pool_[r].emplace_back(line + start, static_cast<size_t>(i) - start);
          start = static_cast<size_t>(i) + 2;  // ", "
        }
    }
    for (int c = 0; c < 10; ++c) {
      vantrix::TVantrixCustomColumn* column = source_.Columns().Add();
      column->SetWidth(12);
      column->SetSize(16);
    }
    source_.OnGetNextRecord = [this](vantrix::TVantrixCustomSource&, int recNo, bool& eof) { eof = recNo >= rows_; };
    source_.OnGetColumnText = [this](vantrix::TVantrixCustomSource&, int recNo,
                                     const vantrix::TVantrixCustomColumn& column, std::string& text) {
      text = pool_[static_cast<size_t>(recNo) % kPool][static_cast<size_t>(column.Index())];
    };
  }
  vantrix::TVantrixCustomSource& Source() { return source_; }

  // The floor: the same cells asked of the source's handler and written as CSV, with no
  // engine between.
  Figure Floor(const std::string& file);

 private:
  int rows_;
  std::vector<std::vector<std::string>> pool_;
  vantrix::TVantrixCustomSource source_;
};

Figure HistoryShapedTable::Floor(const std::string& file) {
  const auto start = Clock::now();
  const double cpu = ThreadSeconds();
  {
    vantrix::FileOutputStream out(file);
    std::string text, line;
    for (int r = 1; r <= rows_; ++r) {
      line.clear();
      for (int c = 0; c < source_.GetColCount(); ++c) {
        source_.OnGetColumnText(source_, r, *source_.Columns().GetItem(c), text);
        line.push_back('"');
        line.append(text);
        line.append("\";");
      }
      line.back() = '\r';
      line.push_back('\n');
      out.Write(line);
    }
    out.Commit();
  }
  const double seconds = Seconds(start);
  const double used = ThreadSeconds() - cpu;
  const double megabytes = static_cast<double>(std::filesystem::file_size(file)) / 1e6;
  std::filesystem::remove(file);
  return {seconds, megabytes, used};
}

Figure Run(vantrix::TVantrix3Text& exporter, vantrix::TVantrixCustomSource& source, const std::string& file) {
  exporter.SetExportSource(vantrix::esCustom);
  exporter.SetCustomSource(&source);
  exporter.FileName = file;
  source.ClearEof();
  const auto start = Clock::now();
  const double cpu = ThreadSeconds();
  exporter.Execute();
  const double seconds = Seconds(start);
  const double used = ThreadSeconds() - cpu;
  const double megabytes = static_cast<double>(std::filesystem::file_size(file)) / 1e6;
  std::filesystem::remove(file);
  return {seconds, megabytes, used};
}

void Print(const char* what, const Figure& f, const char* target) {
  std::printf("  %-34s %6.1f MB  %6.2f s processor %6.0f MB/s%s   (wall %.2f s, %.0f MB/s)\n", what, f.megabytes,
              f.cpu, f.megabytes / f.cpu, target, f.seconds, f.megabytes / f.seconds);
}

void ExportersOnAGeneratedTable(int rows, const std::string& folder) {
  std::printf("history-shaped table of %d rows x 10 columns, made as it is read, into files:\n", rows);
  HistoryShapedTable table(rows);
  const double before = StatusMb("VmRSS");
  ResetPeak();
  const Figure floor = Best([&] { return table.Floor(folder + "/f.csv"); });
  Print("floor: the cells as CSV, no engine", floor, "");
  vantrix::TVantrix3ASCII ascii;
  ascii.CSVComma = ';';
  ascii.TXTSpacing = 2;
  ascii.SetExportType(vantrix::etCSV);
  const Figure csv = Best([&] { return Run(ascii, table.Source(), folder + "/t.csv"); });
  Print("CSV", csv, " (target 100)");
  ascii.AutoCalcColWidth = false;
  ascii.SetExportType(vantrix::etTXT);
  ascii.AutoCalcColWidth = false;
  Print("text, widths as given", Best([&] { return Run(ascii, table.Source(), folder + "/t.txt"); }), " (target 100)");
  ascii.AutoCalcColWidth = true;
  Print("text, with the engine's width pass", Best([&] { return Run(ascii, table.Source(), folder + "/t.txt"); }), "");
  vantrix::TVantrix3DBF dbf;
  Print("dBase", Best([&] { return Run(dbf, table.Source(), folder + "/t.dbf"); }), "");
  vantrix::TVantrix3XML xml;
  Print("XML", Best([&] { return Run(xml, table.Source(), folder + "/t.xml"); }), "");
  std::printf("  CSV at %.2f of the floor's speed (processor time)\n", floor.cpu / csv.cpu);
  std::printf("  peak memory %.0f MB (target 64 MB at most, whatever the rows), %.0f MB before the runs\n",
              StatusMb("VmHWM"), before);
}

void TheHistoryRoad(int rows, const std::string& folder) {
  std::string text = historygen::HeaderText();
  char line[256];
  for (size_t i = 0; i < static_cast<size_t>(rows); ++i)
    text.append(line, static_cast<size_t>(historygen::DataLineText(i, line, sizeof line)));
  history::HistoryData data;
  if (history::HistoryParser::Parse(text, data) != history::ReadStatus::Ok) {
    std::printf("the generated history file did not parse\n");
    return;
  }
  text = std::string();
  const history::CellTexts texts(data, QLocale(QLocale::English, QLocale::UnitedKingdom));
  std::printf("history road on a history file of %d lines read into memory (%.0f MB resident with it):\n", rows,
              StatusMb("VmRSS"));
  {
    // The floor: every cell's text as the road makes it, nothing written.
    history::HistoryCellSource cells(data, texts);
    size_t bytes = 0;
    const Figure f = Best([&] {
      const auto start = Clock::now();
      const double cpu = ThreadSeconds();
      std::string text;
      bytes = 0;
      for (size_t row = 1; row < cells.TableRowCount(); ++row)
        for (size_t c = 0; c < cells.ColumnCount(); ++c) {
          cells.Text(row, c, text);
          bytes += text.size() + 1;
        }
      return Figure{Seconds(start), static_cast<double>(bytes) / 1e6, ThreadSeconds() - cpu};
    });
    Print("floor: the cells' texts alone", f, "");
  }
  for (const char* extension : {"csv", "txt", "dbf", "xml"}) {
    const std::string file = folder + "/h." + extension;
    const double resident = StatusMb("VmRSS");
    ResetPeak();
    std::string failure;
    const Figure f = Best([&] {
      history::HistoryExport road(data, texts, "history.mpc");
      const auto start = Clock::now();
      const double cpu = ThreadSeconds();
      const history::HistoryExportResult result = road.ExportTable(file, {});
      const double seconds = Seconds(start);
      const double used = ThreadSeconds() - cpu;
      if (!result.Ok()) failure = result.message;
      const double megabytes = result.Ok() ? static_cast<double>(std::filesystem::file_size(file)) / 1e6 : 0;
      std::filesystem::remove(file);
      return Figure{seconds, megabytes, used};
    });
    if (!failure.empty()) {
      std::printf("  %s: %s\n", extension, failure.c_str());
      continue;
    }
    const int added = static_cast<int>(StatusMb("VmHWM") - resident);
    const std::string what = std::string(extension) + ", +" + std::to_string(added) + " MB over the table";
    Print(what.c_str(), f, "");
  }
}

}  // namespace

int main(int argc, char** argv) {
  int rows = 1000000;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--rows") == 0) rows = std::atoi(argv[i + 1]);
  char pattern[] = "/tmp/plain_export_bench_XXXXXX";
  const char* folder = mkdtemp(pattern);
  if (folder == nullptr) return 1;
  ExportersOnAGeneratedTable(rows, folder);
  TheHistoryRoad(rows, folder);
  std::filesystem::remove_all(folder);
  return 0;
}
