#pragma once
// What both acquisition benchmarks need around a reading run: fixed settings, a user who
// answers the history question with "overwrite" and prints the rest, time figures, and
// simulated instruments on pseudo-terminals in a folder of their own.
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "acquisition/run_interfaces.h"
#include "platform/ports.h"
#include "tools/sim/simulated_instrument.h"

namespace runbench {

using Clock = std::chrono::steady_clock;

inline double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct Figures {
  double median = 0, p99 = 0, max = 0;
};

inline Figures Summarise(std::vector<double> v) {
  Figures f;
  if (v.empty()) return f;
  std::sort(v.begin(), v.end());
  f.median = v[v.size() / 2];
  f.p99 = v[std::min(v.size() - 1, static_cast<size_t>(static_cast<double>(v.size()) * 0.99))];
  f.max = v.back();
  return f;
}

using Settings = acquisition::FixedRunSettings;

class QuietUser : public acquisition::RunUser {
 public:
  acquisition::ExistingFileChoice AskAppendOrOverwrite(const std::string&) override {
    return acquisition::ExistingFileChoice::kOverwrite;
  }
  void ShowHistoryRecording() override {}
  void ShowHistoryWaiting() override {}
  void DisableHistory() override {}
  void ReportHistoryOpenFailure(const std::string&) override { std::puts("history file could not be opened"); }
  void ReportHistoryWriteFailure() override { std::puts("history file takes no more lines"); }
  void ReportCommunicationProblem(int port) override { std::printf("COM%d: communication problem\n", port); }
  void ReportStartFailure(int port) override { std::printf("COM%d: start failed\n", port); }
  void ReportReadingFailure(std::exception_ptr) override { std::puts("reading failed: the run stopped"); }
  void HistoryLineWritten(std::string_view) override { ++lines; }
  size_t lines = 0;
};

// Instruments with serial numbers 1..count on COM1..COMcount in a new folder that the port
// folder points at; `prepare` sets each one's registers before it starts. Empty when one
// did not start (said on stderr).
class SimulatedInstruments {
 public:
  SimulatedInstruments(int count, const std::function<void(sim::InstrumentOptions&)>& options,
                       const std::function<void(sim::SimulatedInstrument&)>& prepare = {}) {
    char name[] = "/tmp/tervana-bench-XXXXXX";
    if (mkdtemp(name) == nullptr) return;
    folder = name;
    platform::SetPortFolder(folder);
    for (int i = 1; i <= count; ++i) {
      sim::InstrumentOptions o;
      o.serialNumber = static_cast<uint32_t>(i);
      o.animate = true;
      o.logCapacity = 0;
      if (options) options(o);
      all.push_back(std::make_unique<sim::SimulatedInstrument>(o));
      if (prepare) prepare(*all.back());
      std::string error;
      if (!all.back()->Start(folder, i, &error)) {
        std::fprintf(stderr, "simulator on COM%d: %s\n", i, error.c_str());
        all.clear();
        return;
      }
    }
  }
  ~SimulatedInstruments() {
    all.clear();
    platform::SetPortFolder("");
    if (!folder.empty()) std::filesystem::remove_all(folder);
  }
  SimulatedInstruments(const SimulatedInstruments&) = delete;
  SimulatedInstruments& operator=(const SimulatedInstruments&) = delete;

  std::string folder;
  std::vector<std::unique_ptr<sim::SimulatedInstrument>> all;
};

}  // namespace runbench
