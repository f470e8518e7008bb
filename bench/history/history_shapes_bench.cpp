// History files of unusual shape, each opened to a shown window and closed: many short
// recording runs, many value columns, and a damaged value-name line of commas.
#include "bench/history/history_shapes_bench.h"

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "bench/measure.h"
#include "history/hist_form.h"
#include "history/history_parser.h"
#include "tests/support/fake_user_interaction.h"
#include "tools/history_file_generator/history_file_generator.h"

namespace history_bench {

namespace {

using bench::Clock;
using bench::Seconds;
using bench::StatusMb;
using bench::ResetPeak;

// Restarts the peak (VmHWM) from the present size; returns that size.
double RestartPeak() {
  ResetPeak();
  return StatusMb("VmRSS");
}

struct OpenClose {
  bool opened = false;
  double open = 0;   // to a shown, painted window
  double close = 0;  // the window destroyed
  double peakMb = 0;
};

OpenClose MeasureOpenClose(const std::string& path, const std::string& text) {
  if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
  }
  OpenClose result;
  testsupport::FakeUserInteraction user;
  const double before = RestartPeak();
  auto start = Clock::now();
  auto form = std::make_unique<history::THistForm>(user);
  result.opened = form->OpenFile(QString::fromStdString(path));
  if (result.opened) {
    form->resize(1000, 700);
    form->show();
    QApplication::processEvents();
  }
  result.open = Seconds(start);
  result.peakMb = StatusMb("VmHWM") - before;
  start = Clock::now();
  form.reset();
  QApplication::processEvents();
  result.close = Seconds(start);
  return result;
}

void Print(const char* what, const OpenClose& m) {
  std::printf("%s: open %.3f s, close %.3f s, %.0f MB%s\n", what, m.open, m.close, m.peakMb,
              m.opened ? "" : " (not opened)");
}

}  // namespace

void MeasureFileShapes(const std::string& path, bool smoke) {
  // Many short recordings: each is its own line on the chart.
  const std::vector<size_t> runCounts = smoke ? std::vector<size_t>{2000} : std::vector<size_t>{30000, 100000};
  for (const size_t runs : runCounts) {
    const OpenClose m = MeasureOpenClose(path, historygen::ManyShortRunsText(runs, 2));
    char what[96];
    std::snprintf(what, sizeof what, "%zu recordings of 2 lines, 2 values", runs);
    Print(what, m);
    if (runs == 100000)
      std::printf("  targets: open < 3 s (%s), close < 0.5 s (%s)\n", m.open < 3 ? "met" : "MISSED",
                  m.close < 0.5 ? "met" : "MISSED");
  }

  // Many value columns: the open must grow in proportion to them.
  double perColumn[2] = {0, 0};
  const size_t widths[2] = {smoke ? 2000u : 25000u, smoke ? 4000u : 50000u};
  for (int i = 0; i < 2; ++i) {
    const std::string text = historygen::TwoDevicesManyColumnsText(widths[i]);
    const OpenClose m = MeasureOpenClose(path, text);
    char what[96];
    std::snprintf(what, sizeof what, "2 devices, %zu value columns, 1 line (%zu KB)", widths[i], text.size() / 1000);
    Print(what, m);
    perColumn[i] = (m.open + m.close) / static_cast<double>(widths[i]);
  }
  std::printf("  open and close per column: %.1f us, then %.1f us at twice the columns (linear: ratio near 1, is %.2f)\n",
              perColumn[0] * 1e6, perColumn[1] * 1e6, perColumn[1] / perColumn[0]);

  // A value-name line of commas, one data line and blank lines: the reader's memory must
  // follow the lines it read, not the columns times the lines that might follow.
  const size_t commas = smoke ? 10000 : 100000;
  const std::string damaged = " , \n , " + std::string(commas, ',') + "\n , \n01/01/2026, 00:00:00.000, 1\n" +
                              std::string(smoke ? 30000 : 300000, '\n');
  {
    const double before = RestartPeak();
    history::HistoryData data;
    const auto start = Clock::now();
    history::HistoryParser::Parse(damaged, data);
    std::printf("parse of a %zu KB file of %zu commas in its value-name line and blank lines: %.3f s, %.0f MB\n",
                damaged.size() / 1000, commas, Seconds(start), StatusMb("VmHWM") - before);
  }
  Print("the same file in the viewer", MeasureOpenClose(path, damaged));

  // A first header line of nothing but commas (the columns count only from the second).
  const std::string commaHeader =
      std::string(smoke ? 1000000 : 50000000, ',') + "\n , , V1\n , \n01/01/2026, 00:00:00.000, 1\n";
  const double before = RestartPeak();
  history::HistoryData data;
  const auto start = Clock::now();
  history::HistoryParser::Parse(commaHeader, data);
  std::printf("parse of a %zu MB first header line of commas: %.3f s, %.0f MB of memory beyond the text\n",
              commaHeader.size() / 1000000, Seconds(start), StatusMb("VmHWM") - before);
}

}  // namespace history_bench
