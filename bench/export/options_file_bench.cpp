// Saving and loading the export dialog's options file.
// 1. A large spreadsheet setup: 100 fields, 50 strip styles and 100 extension items (20 of each
//    kind). Each figure is the best of three runs on the wall clock; the target is at most
//    100 ms for a save and for a load.
// 2. Growth: files of n sections (or lines) for n doubling up to --sections (100,000): charts
//    with a series each loaded and saved again, strip styles saved and loaded, header lines
//    saved and loaded. Each figure is printed with its ratio to the one at half the size:
//    about 2 when the cost grows linearly, about 4 when it grows with the square (a chart that
//    looks through every section for its series, an index dropped at each new section).
//   options_file_bench [--fields N] [--styles N] [--items N] [--sections N] [--steps N]
#include <QApplication>
#include <QDialog>
#include <QPlainTextEdit>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "bench/export/quiet_dialog_services.h"
#include "export/custom_source.h"
#include "export/dialog/dialog_services.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/shell_service.h"
#include "export/xls/xls_cell.h"
#include "export/xls/xls_chart.h"
#include "export/xls/xls_link_note.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRepeats = 3;

double Milliseconds(Clock::time_point from) {
  return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

double Time(const std::function<void()>& work) {
  const Clock::time_point start = Clock::now();
  work();
  return Milliseconds(start);
}

int Argument(int argc, char** argv, const char* name, int def) {
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], name) == 0) return std::max(1, std::atoi(argv[i + 1]));
  return def;
}

// A dialog over a source of some columns, its services quiet.
struct Setup {
  explicit Setup(int fields) {
    dialog.SetServices(&services);
    dialog.ExportSource = vantrix::esCustom;
    dialog.SetCustomSource(&source);
    for (int i = 0; i < fields; ++i) source.Columns().Add()->SetColumnName("Field" + std::to_string(i));
  }
  std::unique_ptr<vantrix::TVantrix3DialogF> Open() {
    dialog.Columns().Clear();
    dialog.Columns().Fill(true);
    auto form = std::make_unique<vantrix::TVantrix3DialogF>(dialog);
    form->InitializeDialog();
    return form;
  }
  benchsupport::QuietServices services;
  vantrix::TVantrixCustomSource source;
  vantrix::TVantrix3Dialog dialog;
};

void LargeSetup(int fields, int styles, int items, const std::string& file) {
  Setup setup(fields);
  vantrix::TVantrixXLSOptions& xls = setup.dialog.XLSOptions;
  for (int i = 0; i < styles; ++i) xls.StripStyles.Add().Font.Size = 8 + i % 10;
  for (int i = 0; i < items; ++i) {
    switch (i % 5) {
      case 0: xls.Hyperlinks.Add().Target = u"http://example.org/page"; break;
      case 1: xls.Notes.Add().Lines = {"first line", "second line"}; break;
      case 2: xls.Charts.Add().Title = u"Trend"; break;
      case 3: xls.Cells.Add().Col = i; break;
      default: xls.MergedCells.Add().LastCol = i % 200; break;
    }
  }
  const auto form = setup.Open();
  double save = 1e9, load = 1e9;
  for (int run = 0; run < kRepeats; ++run) {
    save = std::min(save, Time([&] { form->SaveExportOptions(file); }));
    load = std::min(load, Time([&] { form->LoadExportOptions(file); }));
  }
  const auto bytes = std::filesystem::file_size(file);
  std::printf("options file: %d fields, %d strip styles, %d extension items, %ju bytes\n", fields, styles, items,
              static_cast<uintmax_t>(bytes));
  std::printf("save %.1f ms, load %.1f ms (best of %d; target at most 100 ms each)\n", save, load, kRepeats);
}

// Figures of one kind of file, by size.
struct Growth {
  const char* what;
  std::map<int, double> ms;
};

void Print(const Growth& g) {
  std::printf("  %-34s", g.what);
  double previous = 0;
  for (const auto& [n, ms] : g.ms) {
    std::printf("  %6d: %8.1f ms", n, ms);
    if (previous > 0) std::printf(" (x%.2f)", ms / previous);
    previous = ms;
  }
  std::printf("\n");
}

// n/2 charts, each with one series section: n sections.
void ChartFile(const std::string& file, int sections) {
  std::ofstream out(file, std::ios::binary);
  out << "[GENERAL]\r\nExportType=0\r\n";
  for (int i = 0; i < sections / 2; ++i) {
    out << "[XLS_CHART_" << i << "]\r\nStyle=2\r\nTitle=Chart " << i << "\r\n";
    out << "[XLS_CHART_" << i << "_SERIES_0]\r\nColor=3\r\nColumn=Field0\r\nRow1=1\r\nRow2=" << i % 100 + 2 << "\r\n";
  }
}

void GrowthFigures(int largest, int steps, const std::string& file) {
  std::vector<int> sizes;
  for (int n = largest, k = 0; k < steps && n >= 2; n /= 2, ++k) sizes.insert(sizes.begin(), n);
  Growth chartLoad{"charts + series: load", {}}, chartSave{"charts + series: save", {}};
  Growth styleSave{"strip styles: save", {}}, styleLoad{"strip styles: load", {}};
  Growth headerSave{"header lines: save", {}}, headerLoad{"header lines: load", {}};
  for (const int n : sizes) {
    {
      Setup setup(3);
      const auto form = setup.Open();
      ChartFile(file, n);
      chartLoad.ms[n] = Time([&] { form->LoadExportOptions(file); });
      chartSave.ms[n] = Time([&] { form->SaveExportOptions(file); });
    }
    {
      Setup setup(3);
      for (int i = 0; i < n; ++i) setup.dialog.XLSOptions.StripStyles.Add().Font.Size = 8 + i % 10;
      const auto form = setup.Open();
      styleSave.ms[n] = Time([&] { form->SaveExportOptions(file); });
      styleLoad.ms[n] = Time([&] { form->LoadExportOptions(file); });
    }
    {
      Setup setup(3);
      for (int i = 0; i < n; ++i) setup.dialog.Header.push_back("header line " + std::to_string(i));
      const auto form = setup.Open();
      form->SetExportType(vantrix::aeCSV);
      form->rgExportTypeClick();
      headerSave.ms[n] = Time([&] { form->SaveExportOptions(file); });
      headerLoad.ms[n] = Time([&] { form->LoadExportOptions(file); });
    }
  }
  std::printf("\ngrowth: sections (lines) per file, time, and ratio to the size before (2 = linear)\n");
  for (const Growth* g : {&chartLoad, &chartSave, &styleSave, &styleLoad, &headerSave, &headerLoad}) Print(*g);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const int fields = Argument(argc, argv, "--fields", 100);
  const int styles = Argument(argc, argv, "--styles", 50);
  const int items = Argument(argc, argv, "--items", 100);
  const int sections = Argument(argc, argv, "--sections", 100000);
  const int steps = Argument(argc, argv, "--steps", 4);

  const std::filesystem::path file = std::filesystem::temp_directory_path() / "tervana_options_file_bench.cfg";
  LargeSetup(fields, styles, items, file.string());
  GrowthFigures(sections, steps, file.string());
  std::filesystem::remove(file);
  return 0;
}
