// History viewer figures: the whole open of a large generated file to a shown window with
// peak memory, a chart redraw with the cross-hair following the mouse, and a plain parse
// (MB/s, and against wc -l on the same file); then files of unusual shape (many recordings,
// many columns, damaged headers). "--lines N" below 100,000 makes every file small for a
// smoke run; "--screenshot file.png" saves the shown window.
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QMouseEvent>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/history/history_shapes_bench.h"
#include "bench/measure.h"
#include "history/hist_form.h"
#include "history/history_file.h"
#include "history/history_parser.h"
#include "qcustomplot.h"
#include "tests/support/fake_user_interaction.h"
#include "tools/history_file_generator/history_file_generator.h"

namespace {

using bench::Clock;
using bench::Seconds;
using bench::PeakRssMb;

bool MeasureWindow(const std::string& path, const char* screenshot) {
  // Nobody to answer: questions get No, and whatever the window said is printed.
  testsupport::FakeUserInteraction user;
  user.defaultAnswer = false;
  auto start = Clock::now();
  auto form = std::make_unique<history::THistForm>(user);
  const bool opened = form->OpenFile(QString::fromStdString(path));
  for (const QString& text : user.messages) std::printf("message: %s\n", qPrintable(text));
  if (!opened) {
    std::fprintf(stderr, "the window did not open the file\n");
    return false;
  }
  form->resize(1200, 800);
  form->show();
  QApplication::processEvents();
  const double open = Seconds(start);
  std::printf("whole open to a shown window: %.3f s (target < 3 s)\n", open);
  std::printf("peak memory (getrusage): %.0f MB (target < 600 MB)\n", PeakRssMb());

  // The full chart redraw, and the cross-hair with the read-out following the mouse.
  QCustomPlot* chart = form->Chart();
  start = Clock::now();
  const int fullRedraws = 5;
  for (int i = 0; i < fullRedraws; ++i) chart->replot();
  std::printf("full chart redraw: %.1f ms\n", Seconds(start) * 1000 / fullRedraws);

  form->CrossCheckBox()->setChecked(true);
  const QRect plot = chart->axisRect()->rect();
  const int moves = 100;
  double worst = 0;
  start = Clock::now();
  for (int i = 0; i < moves; ++i) {
    const auto one = Clock::now();
    const QPointF pos(plot.left() + 5 + (plot.width() - 10) * i / moves, plot.top() + plot.height() / 3 + i % 50);
    QMouseEvent move(QEvent::MouseMove, pos, chart->mapToGlobal(pos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(chart, &move);
    chart->repaint();  // the widget shows its buffers now, not at the next event loop turn
    worst = std::max(worst, Seconds(one));
  }
  std::printf("redraw with the cross-hair per mouse move: %.2f ms mean, %.2f ms worst (target < 50 ms)\n",
              Seconds(start) * 1000 / moves, worst * 1000);
  if (screenshot != nullptr) form->grab().save(QString::fromLocal8Bit(screenshot));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  size_t lines = 1000000;
  const char* screenshot = nullptr;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--lines") == 0) lines = std::strtoul(argv[i + 1], nullptr, 10);
    if (std::strcmp(argv[i], "--screenshot") == 0) screenshot = argv[i + 1];
  }
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication application(argc, argv);

  const auto folder = std::filesystem::temp_directory_path() / ("tervana_history_bench_" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "history.mpc").string();
  const double megabytes = static_cast<double>(historygen::WriteHistoryFile(path, lines)) / 1e6;
  std::printf("file: %zu lines, 8 values, %.1f MB\n", lines, megabytes);

  // First, while the process is still small, so the peak is the window's.
  const bool windowOk = MeasureWindow(path, screenshot);

  // Plain parse of the file's text in memory, then read from disk (page cache) and parsed.
  double parse = 1e9, readParse = 1e9, wc = 1e9;
  bool parseOk = true;
  {
    std::string text;
    text.resize(static_cast<size_t>(std::filesystem::file_size(path)));
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr || std::fread(text.data(), 1, text.size(), file) != text.size()) parseOk = false;
    if (file != nullptr) std::fclose(file);
    for (int run = 0; run < 3 && parseOk; ++run) {
      history::HistoryData data;
      const auto start = Clock::now();
      parseOk = history::HistoryParser::Parse(text, data) == history::ReadStatus::Ok && data.DataRowCount() == lines;
      parse = std::min(parse, Seconds(start));
    }
  }
  for (int run = 0; run < 3 && parseOk; ++run) {
    history::HistoryData data;
    auto start = Clock::now();
    history::ReadHistoryFile(path, data);
    readParse = std::min(readParse, Seconds(start));
    start = Clock::now();
    const std::string command = "wc -l '" + path + "' > /dev/null";
    if (std::system(command.c_str()) != 0) std::fprintf(stderr, "wc -l failed\n");
    wc = std::min(wc, Seconds(start));
  }
  if (parseOk) {
    std::printf("parse from memory: %.3f s, %.0f MB/s (target >= 200 MB/s)\n", parse, megabytes / parse);
    std::printf("read and parse the file: %.3f s, %.0f MB/s\n", readParse, megabytes / readParse);
    std::printf("wc -l on the file: %.3f s, %.0f MB/s; read and parse take %.1f times as long\n", wc, megabytes / wc,
                readParse / wc);
  } else {
    std::fprintf(stderr, "parse failed\n");
  }
  history_bench::MeasureFileShapes((folder / "other.mpc").string(), lines < 100000);
  std::filesystem::remove_all(folder);
  return windowOk && parseOk ? 0 : 1;
}
