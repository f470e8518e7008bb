// Saving and loading the export dialog's options file for a large spreadsheet setup: 100
// fields, 50 strip styles and 100 extension items (20 of each kind). Each figure is the best
// of three runs on the wall clock; the target is at most 100 ms for a save and for a load.
//   options_file_bench [--fields N] [--styles N] [--items N]
#include <QApplication>
#include <QDialog>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "export/custom_source.h"
#include "export/dialog/dialog_services.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "bench/export/quiet_dialog_services.h"
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

int Argument(int argc, char** argv, const char* name, int def) {
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], name) == 0) return std::max(1, std::atoi(argv[i + 1]));
  return def;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const int fields = Argument(argc, argv, "--fields", 100);
  const int styles = Argument(argc, argv, "--styles", 50);
  const int items = Argument(argc, argv, "--items", 100);

  benchsupport::QuietServices services;
  vantrix::TVantrixCustomSource source;
  vantrix::TVantrix3Dialog dialog;
  dialog.SetServices(&services);
  dialog.ExportSource = vantrix::esCustom;
  dialog.SetCustomSource(&source);
  for (int i = 0; i < fields; ++i) source.Columns().Add()->SetColumnName("Field" + std::to_string(i));
  vantrix::TVantrixXLSOptions& xls = dialog.XLSOptions;
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
  dialog.Columns().Fill(true);
  vantrix::TVantrix3DialogF form(dialog);
  form.InitializeDialog();

  const std::filesystem::path file = std::filesystem::temp_directory_path() / "tervana_options_file_bench.cfg";
  double save = 1e9, load = 1e9;
  for (int run = 0; run < kRepeats; ++run) {
    Clock::time_point start = Clock::now();
    form.SaveExportOptions(file.string());
    save = std::min(save, Milliseconds(start));
    start = Clock::now();
    form.LoadExportOptions(file.string());
    load = std::min(load, Milliseconds(start));
  }
  const auto bytes = std::filesystem::file_size(file);
  std::filesystem::remove(file);
  std::printf("options file: %d fields, %d strip styles, %d extension items, %ju bytes\n", fields, styles, items,
              static_cast<uintmax_t>(bytes));
  std::printf("save %.1f ms, load %.1f ms (best of %d; target at most 100 ms each)\n", save, load, kRepeats);
  return 0;
}
