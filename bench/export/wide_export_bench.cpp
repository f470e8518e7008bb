// Wide tables: a history file of many empty columns exported the viewer's way (CSV, text,
// XML, and dBase while a table can hold the columns), and a CSV file of as many empty or
// repeated headers through export_table's CSV road; reading the history file is the floor.
// Every export names its columns, so the cost per column must stay flat as the columns grow:
// the last line gives the cost per column of the widest table over that of the narrowest
// (about 1 when linear; a quadratic cost would give the ratio of the widths).
//   wide_export_bench [--columns N]   (default 50,000; the widths go 1,000, 2,000, 10,000, N)
#include <QLocale>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "export/custom_source.h"
#include "export/format_settings.h"
#include "export/vantrix3_ascii.h"
#include "history/history_export.h"
#include "history/history_file.h"
#include "tools/export_table/csv_table.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(const std::function<void()>& work) {
  const Clock::time_point start = Clock::now();
  work();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// Three header lines of empty cells and one reading, as a recorder with that many empty
// columns would leave.
std::string HistoryText(int columns) {
  const std::string empty(static_cast<size_t>(columns) - 1, ',');
  return empty + "\n" + empty + "\n" + empty + "\n01/01/2026, 10:20:30.045" + std::string(empty, 2) + "\n";
}

struct Row {
  int columns;
  double read, csv, txt, xml, dbf, csvEmpty, csvRepeated, add;
};

Row Measure(const std::filesystem::path& folder, int columns) {
  Row row{columns, 0, 0, 0, 0, -1, 0, 0, 0};
  const std::string historyPath = (folder / "wide.mpc").string();
  WriteText(historyPath, HistoryText(columns));
  history::HistoryData data;
  row.read = Seconds([&] {
    if (history::ReadHistoryFile(historyPath, data) != history::ReadStatus::Ok) std::fprintf(stderr, "not read\n");
  });
  const history::CellTexts texts(data, QLocale::c());
  history::HistoryExport road(data, texts, historyPath);
  const auto exportAs = [&](const char* extension) {
    return Seconds([&] {
      const history::HistoryExportResult result =
          road.ExportTable((folder / (std::string("wide.") + extension)).string(), {});
      if (!result.Ok()) std::fprintf(stderr, "%s: %s\n", extension, result.message.c_str());
    });
  };
  row.csv = exportAs("csv");
  row.txt = exportAs("txt");
  row.xml = exportAs("xml");
  if (columns <= 2046) row.dbf = exportAs("dbf");  // what a dBase table holds

  const vantrix::FormatSettings settings = vantrix::DefaultFormatSettings();
  const auto csvRoad = [&](const std::string& header) {
    std::string text;
    for (int c = 0; c < columns; ++c) text += (c == 0 ? "" : ",") + header;
    text += "\n" + std::string(static_cast<size_t>(columns) - 1, ',') + "\n";
    const std::string path = (folder / "wide.csv").string();
    WriteText(path, text);
    return Seconds([&] {
      exporttable::CsvTable table;
      std::string error;
      if (!table.Load(path, settings, error)) std::fprintf(stderr, "%s\n", error.c_str());
      vantrix::TVantrix3ASCII exporter;
      exporter.SetExportType(vantrix::etCSV);
      exporter.SetExportSource(vantrix::esCustom);
      exporter.SetCustomSource(&table.Source());
      exporter.FileName = (folder / "out.csv").string();
      exporter.Execute();
    });
  };
  row.csvEmpty = csvRoad("");
  row.csvRepeated = csvRoad("Valor");
  row.add = Seconds([&] {
    vantrix::TVantrixCustomSource source;
    for (int c = 0; c < columns; ++c) source.Columns().Add();
  });
  return row;
}

}  // namespace

int main(int argc, char** argv) {
  int widest = 50000;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--columns") == 0) widest = std::max(2, std::atoi(argv[i + 1]));
  std::vector<int> widths;
  for (const int w : {1000, 2000, 10000})
    if (w < widest) widths.push_back(w);
  widths.push_back(widest);

  const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("wide_export_bench_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  std::printf("%8s %8s %8s %8s %8s %8s %10s %10s %8s   (seconds)\n", "columns", "read", "csv", "txt", "xml", "dbf",
              "csv-empty", "csv-repeat", "add");
  std::vector<Row> rows;
  for (const int w : widths) {
    const Row r = Measure(folder, w);
    rows.push_back(r);
    std::printf("%8d %8.3f %8.3f %8.3f %8.3f ", r.columns, r.read, r.csv, r.txt, r.xml);
    if (r.dbf < 0) std::printf("%8s ", "-");
    else std::printf("%8.3f ", r.dbf);
    std::printf("%10.3f %10.3f %8.4f\n", r.csvEmpty, r.csvRepeated, r.add);
  }
  std::filesystem::remove_all(folder);

  const Row& first = rows.front();
  const Row& last = rows.back();
  const auto perColumn = [](double seconds, int columns) { return seconds / columns; };
  const double total = last.read + last.csv + last.txt + last.xml + last.csvEmpty + last.csvRepeated;
  std::printf("widest table, every road: %.2f s for %d columns (target: seconds)\n", total, last.columns);
  std::printf("cost per column, widest over narrowest (%dx the columns): csv %.1f, txt %.1f, xml %.1f, "
              "csv road %.1f; the history file's read %.1f\n",
              last.columns / first.columns, perColumn(last.csv, last.columns) / perColumn(first.csv, first.columns),
              perColumn(last.txt, last.columns) / perColumn(first.txt, first.columns),
              perColumn(last.xml, last.columns) / perColumn(first.xml, first.columns),
              perColumn(last.csvRepeated, last.columns) / perColumn(first.csvRepeated, first.columns),
              perColumn(last.read, last.columns) / perColumn(first.read, first.columns));
  return 0;
}
