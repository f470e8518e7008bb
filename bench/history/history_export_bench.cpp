// History export figures: the history benchmark's file of a million lines and eight values
// loaded into a viewer, then exported by the viewer's road to a workbook (16 sheets), to CSV,
// PDF, rich text and HTML, each with its time and the memory it took above the loaded
// viewer's (the peak resident size, reset before each export). The documents' memory is to
// stay flat in the rows, as the CSV's is. "--lines N" makes the file small for a smoke run,
// "--formats rtf,html" runs only those.
#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "bench/measure.h"
#include "history/hist_form.h"
#include "history/history_export.h"
#include "tests/support/fake_user_interaction.h"
#include "tools/history_file_generator/history_file_generator.h"

namespace {

using bench::Clock;
using bench::Seconds;
using bench::StatusMb;
using bench::ResetPeak;

struct Figures {
  double seconds = 0, extraMb = 0, outputMb = 0;
  bool ok = false;
};

Figures Export(history::THistForm& form, const std::string& file) {
  Figures f;
  const double before = StatusMb("VmRSS");
  const bool peakReset = ResetPeak();
  const auto start = Clock::now();
  f.ok = form.ExportTable(QString::fromStdString(file), false, false, QChar('.'));
  f.seconds = Seconds(start);
  f.extraMb = peakReset ? StatusMb("VmHWM") - before : -1;
  std::error_code error;
  f.outputMb = static_cast<double>(std::filesystem::file_size(file, error)) / 1e6;
  std::filesystem::remove(file, error);
  return f;
}

}  // namespace

int main(int argc, char** argv) {
  size_t lines = 1000000;
  std::string only;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--lines") == 0) lines = std::strtoul(argv[i + 1], nullptr, 10);
    if (std::strcmp(argv[i], "--formats") == 0) only = "," + std::string(argv[i + 1]) + ",";
  }
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication application(argc, argv);

  const auto folder =
      std::filesystem::temp_directory_path() / ("tervana_history_export_bench_" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "history.mpc").string();
  const double megabytes = static_cast<double>(historygen::WriteHistoryFile(path, lines)) / 1e6;

  testsupport::FakeUserInteraction user;
  auto form = std::make_unique<history::THistForm>(user);
  const auto load = Clock::now();
  if (!form->OpenFile(QString::fromStdString(path))) {
    std::fprintf(stderr, "the viewer did not open the file\n");
    return 1;
  }
  std::printf("file: %zu lines, 8 values, %.1f MB, loaded in %.2f s; viewer resident %.0f MB\n", lines, megabytes,
              Seconds(load), StatusMb("VmRSS"));
  std::printf("workbook sheets for the table: %zu\n", history::HistoryExport::SheetCountFor(form->Data().TableRowCount()));

  bool ok = true;
  const struct {
    const char* extension;
    const char* target;
  } formats[] = {{"xls", " (target <= 5 s, <= 256 MB)"}, {"csv", ""}, {"pdf", ""}, {"rtf", ""}, {"html", ""}};
  double xlsSeconds = 0, csvMb = 0;
  for (const auto& format : formats) {
    if (!only.empty() && only.find("," + std::string(format.extension) + ",") == std::string::npos) continue;
    const Figures f = Export(*form, (folder / (std::string("export.") + format.extension)).string());
    ok = ok && f.ok;
    if (std::strcmp(format.extension, "xls") == 0) xlsSeconds = f.seconds;
    if (std::strcmp(format.extension, "csv") == 0) csvMb = f.extraMb;
    std::printf("%s: %.2f s, %.0f MB written, %.0f MB above the loaded viewer%s%s\n", format.extension, f.seconds,
                f.outputMb, f.extraMb, format.target, f.ok ? "" : " FAILED");
    if (std::strcmp(format.extension, "xls") != 0 && xlsSeconds > 0)
      std::printf("  %s takes %.2f times the workbook's time\n", format.extension, f.seconds / xlsSeconds);
    if (std::strcmp(format.extension, "csv") != 0 && csvMb > 0)
      std::printf("  %s takes %.1f times the CSV's memory\n", format.extension, f.extraMb / csvMb);
  }
  for (const QString& message : user.messages) std::printf("message: %s\n", qPrintable(message));
  form.reset();
  std::error_code error;
  std::filesystem::remove_all(folder, error);
  return ok ? 0 : 1;
}
