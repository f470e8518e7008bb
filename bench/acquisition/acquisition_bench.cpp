// Slow-mode acquisition figures: eight simulated instruments (model 0, firmware 1.10) on eight
// pseudo-terminals read every 250 ms into eight display windows (four charts, four digit
// displays) with history recorded. Prints median, 99th percentile and maximum of the reading
// cycle and of the start-to-start interval, and the main-thread time of a tick that hands the
// readings to the windows. "--cycles N" (default 400) sets the length of the run.
#include <stdlib.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "acquisition/reading_run.h"
#include "bench/acquisition/run_bench_support.h"
#include "display/display_form.h"
#include "app/run_display_adapter.h"
#include "display/readings_state.h"
#include "platform/ports.h"
#include "tools/sim/simulated_instrument.h"

namespace {

using runbench::Clock;
using runbench::Figures;
using runbench::Ms;
using runbench::Summarise;
constexpr int kInstruments = 8;
constexpr int kReadIntervalMs = 250;

class Windows : public acquisition::RunDisplays {
 public:
  size_t ChildWindowCount() override { return forms.size(); }
  void ForEachDisplay(const std::function<void(acquisition::RunDisplay&)>& visit) override {
    for (auto& form : forms) {
      DisplayFormRunAdapter adapter(*form);
      visit(adapter);
    }
  }
  std::vector<std::unique_ptr<TDisplayForm>> forms;
};

DisplayConfig Window(int serial) {
  DisplayConfig c = DisplayConfig::NewWindowDefaults();
  if (serial % 2 == 0) {
    for (uint16_t value : {1, 2, 3}) c.chartChannels.push_back({0, "", static_cast<uint32_t>(serial), value, kNoChannel});
  } else {
    c.kind = DisplayKind::LedDigits;
    c.SetLed({});
    c.deviceSerial = static_cast<uint32_t>(serial);
    c.valueIndex = 1;
  }
  return c;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  int cycles = 400;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--cycles") == 0) cycles = std::max(2, std::atoi(argv[i + 1]));
  }
  QApplication application(argc, argv);
  runbench::SimulatedInstruments instruments(kInstruments, [](sim::InstrumentOptions& o) { o.firmware = 110; });
  if (instruments.all.empty()) return 1;

  SetReadingsStopped(true);
  Windows windows;
  for (int i = 1; i <= kInstruments; ++i) {
    auto form = std::make_unique<TDisplayForm>();
    form->resize(340, 250);
    form->Configure(Window(i));
    form->show();
    windows.forms.push_back(std::move(form));
  }
  runbench::Settings settings;
  settings.settings.readIntervalMs = kReadIntervalMs;
  settings.settings.logIntervalMs = kReadIntervalMs;
  settings.settings.historyOn = true;
  settings.settings.logFileName = instruments.folder + "/bench.mpc";
  runbench::QuietUser user;
  acquisition::ReadingRun run(windows, settings, user);

  std::mutex mutex;
  std::vector<Clock::time_point> starts;
  std::vector<double> cycleMs;
  run.SetCycleObserver([&](Clock::time_point start, Clock::time_point end) {
    std::lock_guard lock(mutex);
    starts.push_back(start);
    cycleMs.push_back(Ms(end - start));
  });
  if (!run.StartReadings() || run.Devices().size() != kInstruments) {
    std::fprintf(stderr, "the run did not start with %d instruments\n", kInstruments);
    return 1;
  }
  SetReadingsStopped(false);

  std::vector<double> handOverMs;
  for (;;) {
    {
      std::lock_guard lock(mutex);
      if (static_cast<int>(cycleMs.size()) >= cycles) break;
    }
    const uint64_t before = run.HandOvers();
    const auto t0 = Clock::now();
    run.Tick();
    const auto t1 = Clock::now();
    if (run.HandOvers() != before) handOverMs.push_back(Ms(t1 - t0));
    QCoreApplication::processEvents();  // the charts' queued redraws, as the event loop would
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  run.StopReadings();
  SetReadingsStopped(true);

  std::vector<double> startToStart;
  for (size_t i = 1; i < starts.size(); ++i) startToStart.push_back(Ms(starts[i] - starts[i - 1]));
  const Figures cycle = Summarise(cycleMs);
  const Figures interval = Summarise(startToStart);
  const Figures handOver = Summarise(handOverMs);
  std::printf("%d instruments, slow mode at %d ms, %zu cycles, %zu hand-overs to %d display windows\n",
              kInstruments, kReadIntervalMs, cycleMs.size(), handOverMs.size(), kInstruments);
  std::printf("%-26s %9s %9s %9s   target\n", "", "median", "p99", "max");
  std::printf("%-26s %7.2fms %7.2fms %7.2fms   every cycle < 250 ms, median < 50 ms\n", "reading cycle",
              cycle.median, cycle.p99, cycle.max);
  std::printf("%-26s %7.2fms %7.2fms %7.2fms   250 +- 5 ms\n", "start-to-start", interval.median, interval.p99,
              interval.max);
  std::printf("%-26s %7.3fms %7.3fms %7.3fms   < 1 ms\n", "hand-over (main thread)", handOver.median, handOver.p99,
              handOver.max);
  const double lowest = startToStart.empty() ? 0 : *std::min_element(startToStart.begin(), startToStart.end());
  std::printf("start-to-start lowest %.2f ms; first cycle %.2f ms\n", lowest, cycleMs.empty() ? 0.0 : cycleMs[0]);

  windows.forms.clear();
  const bool met = cycle.max < 250 && cycle.median < 50 && lowest >= 245 && interval.max <= 255 && handOver.max < 1;
  std::printf("targets %s\n", met ? "met" : "NOT met");
  return 0;
}
