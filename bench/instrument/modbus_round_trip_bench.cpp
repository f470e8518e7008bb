// Round-trip time of one function 3 read of 4 registers (the live values of a reading cycle)
// over a pseudo-terminal to a libmodbus slave: our master against a libmodbus master on the
// same slave. Each transaction is timed alone, after the line has been quiet for 2 ms, so
// both masters meet the same idle line; the back-to-back figure adds the inter-frame silence
// our master keeps before each request. Prints ours / libmodbus; the target is at most 2.
#include <benchmark/benchmark.h>
#include <modbus.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <thread>

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
BENCHMARK(BM_OurMaster)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(2000);

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
BENCHMARK(BM_LibmodbusMaster)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(2000);

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
BENCHMARK(BM_OurMasterBackToBack)->Unit(benchmark::kMicrosecond)->UseRealTime()->Iterations(1000);

// Keeps each benchmark's mean time per transaction for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred || run.iterations == 0) continue;
      meanUs[run.run_name.function_name] = run.real_accumulated_time / double(run.iterations) * 1e6;
    }
  }
  std::map<std::string, double> meanUs;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const auto ours = reporter.meanUs.find("BM_OurMaster");
  const auto theirs = reporter.meanUs.find("BM_LibmodbusMaster");
  if (ours != reporter.meanUs.end() && theirs != reporter.meanUs.end() && theirs->second > 0) {
    const double ratio = ours->second / theirs->second;
    std::printf("Round trip, function 3, 4 registers: ours %.1f us, libmodbus %.1f us, ratio %.2f (target <= 2): %s\n",
                ours->second, theirs->second, ratio, ratio <= 2.0 ? "met" : "NOT met");
  }
  benchmark::Shutdown();
  return 0;
}
