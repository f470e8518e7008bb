// Round-trip time of one function 3 read of 4 registers (the live values of a reading cycle)
// over a pseudo-terminal to a libmodbus slave: our master against a libmodbus master on the
// same slave. Each transaction is timed alone, after the line has been quiet for 2 ms, so
// both masters meet the same idle line; the back-to-back figure adds the inter-frame silence
// our master keeps before each request.
// The ratio comes from the interleaved run: the two masters take turns on the same line, so a
// machine busy with other work slows both alike, and medians keep scheduling outliers out.
// Prints ours / libmodbus; the target is at most 2.
#include <benchmark/benchmark.h>
#include <modbus.h>

#include <chrono>
#include <cstdio>
#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench/smoke_flag.h"
#include "instrument/serial_modbus_driver.h"
#include "tests/instrument/libmodbus_slave.h"
#include "tests/instrument/pty_pair.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kPort = 1;
constexpr uint8_t kSlave = 10;

struct Line {
  testing_support::PtyPair pty;
  testing_support::TempPortFolder folder;
  std::unique_ptr<testing_support::LibmodbusSlave> slave;
  Line() {
    folder.Link(kPort, pty.slavePath());
    slave = std::make_unique<testing_support::LibmodbusSlave>(pty.master(), kSlave);
    for (int i = 0; i < 8; ++i) slave->registers()[i] = static_cast<uint16_t>(1000 + i);
  }
};

Line& SharedLine() {
  static Line line;
  return line;
}

template <typename Transaction>
void TimeEach(benchmark::State& state, Transaction transaction) {
  for (auto _ : state) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    const auto start = Clock::now();
    const bool ok = transaction();
    const auto end = Clock::now();
    if (!ok) {
      state.SkipWithError("transaction failed");
      break;
    }
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
  }
}

void BM_OurMaster(benchmark::State& state) {
  SharedLine();
  TSerialModBusDriver driver(kPort, 115200, 70);
  if (!driver.OpenPort()) {
    state.SkipWithError(driver.GetErrorText().c_str());
    return;
  }
  uint16_t values[4];
  TimeEach(state, [&] { return driver.ReadRequest(kSlave, 3, 3, 4, values); });
}

void BM_LibmodbusMaster(benchmark::State& state) {
  Line& line = SharedLine();
  modbus_t* ctx = modbus_new_rtu(line.pty.slavePath().c_str(), 115200, 'N', 8, 1);
  modbus_set_slave(ctx, kSlave);
  if (modbus_connect(ctx) != 0) {
    state.SkipWithError(modbus_strerror(errno));
    modbus_free(ctx);
    return;
  }
  uint16_t values[4];
  TimeEach(state, [&] { return modbus_read_registers(ctx, 3, 4, values) == 4; });
  modbus_close(ctx);
  modbus_free(ctx);
}

void BM_OurMasterBackToBack(benchmark::State& state) {
  SharedLine();
  TSerialModBusDriver driver(kPort, 115200, 70);
  if (!driver.OpenPort()) {
    state.SkipWithError(driver.GetErrorText().c_str());
    return;
  }
  uint16_t values[4];
  for (auto _ : state) {
    if (!driver.ReadRequest(kSlave, 3, 3, 4, values)) {
      state.SkipWithError("transaction failed");
      break;
    }
  }
}

double MedianUs(std::vector<double> seconds) {
  if (seconds.empty()) return 0;
  std::nth_element(seconds.begin(), seconds.begin() + seconds.size() / 2, seconds.end());
  return seconds[seconds.size() / 2] * 1e6;
}

// Both masters hold the line open at once and take turns; only one reads at a time.
void BM_Interleaved(benchmark::State& state) {
  Line& line = SharedLine();
  TSerialModBusDriver driver(kPort, 115200, 70);
  modbus_t* ctx = modbus_new_rtu(line.pty.slavePath().c_str(), 115200, 'N', 8, 1);
  modbus_set_slave(ctx, kSlave);
  if (!driver.OpenPort() || modbus_connect(ctx) != 0) {
    state.SkipWithError("cannot open both masters");
    modbus_free(ctx);
    return;
  }
  uint16_t values[4];
  std::vector<double> ours, theirs;
  auto timed = [](auto transaction, std::vector<double>& into) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    const auto start = Clock::now();
    const bool ok = transaction();
    into.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    return ok;
  };
  for (auto _ : state) {
    const bool ok = timed([&] { return driver.ReadRequest(kSlave, 3, 3, 4, values); }, ours) &&
                    timed([&] { return modbus_read_registers(ctx, 3, 4, values) == 4; }, theirs);
    if (!ok) {
      state.SkipWithError("transaction failed");
      break;
    }
    state.SetIterationTime(ours.back() + theirs.back());
  }
  modbus_close(ctx);
  modbus_free(ctx);
  state.counters["ours_median_us"] = MedianUs(ours);
  state.counters["libmodbus_median_us"] = MedianUs(theirs);
}

// Keeps the interleaved medians for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred || run.run_name.function_name != "BM_Interleaved") continue;
      oursUs = run.counters.at("ours_median_us");
      theirsUs = run.counters.at("libmodbus_median_us");
    }
  }
  double oursUs = 0, theirsUs = 0;
};

void Register(bool smoke) {
  benchmark::RegisterBenchmark("BM_OurMaster", BM_OurMaster)
      ->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(bench::Iterations(2000, smoke));
  benchmark::RegisterBenchmark("BM_LibmodbusMaster", BM_LibmodbusMaster)
      ->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(bench::Iterations(2000, smoke));
  benchmark::RegisterBenchmark("BM_OurMasterBackToBack", BM_OurMasterBackToBack)
      ->Unit(benchmark::kMicrosecond)->UseRealTime()->Iterations(bench::Iterations(1000, smoke));
  benchmark::RegisterBenchmark("BM_Interleaved", BM_Interleaved)
      ->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(bench::Iterations(2000, smoke));
}

}  // namespace

int main(int argc, char** argv) {
  Register(bench::TakeSmokeFlag(argc, argv));
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  if (reporter.theirsUs > 0) {
    const double ratio = reporter.oursUs / reporter.theirsUs;
    std::printf("Round trip, function 3, 4 registers (medians): ours %.1f us, libmodbus %.1f us, ratio %.2f (target <= 2): %s\n",
                reporter.oursUs, reporter.theirsUs, ratio, ratio <= 2.0 ? "met" : "NOT met");
  }
  benchmark::Shutdown();
  return 0;
}
