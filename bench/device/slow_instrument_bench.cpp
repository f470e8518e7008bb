// What a slow or silent instrument costs the instrument model, against the simulated
// instrument over a pseudo-terminal: the time of one reading (registers 3 to 6 and the
// counter) and of one configuration read, how often each succeeds, and how often a success
// held registers of another request (a late reply taken for a later one; must be 0).
//
// After a try that timed out or failed its checks the line is left to fall quiet for a whole
// read time-out before anything else is sent, so such a reply cannot be taken for the next
// request; the figures show what that costs where a try fails, and that it costs nothing
// where none does.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "instrument/device_interface.h"
#include "platform/ports.h"
#include "bench/device/simulated_line.h"
#include "bench/smoke_flag.h"
#include "tools/sim/simulated_instrument.h"

namespace {

using Clock = std::chrono::steady_clock;

// Each register its own value, so that a reply taken for another request shows.
struct Line : SimulatedLine {
  Line(sim::Model model, int port) : SimulatedLine(model, port) {
    for (uint16_t r = 0; r <= 72; ++r)
      if (r != 2 && r != 3) instrument->SetHoldingRegister(r, static_cast<uint16_t>(0x4000 + 0x0101 * r));
    for (uint16_t r = 18; r <= 59; ++r) instrument->SetCalibrationRegister(r, static_cast<uint16_t>(0x6000 + 0x0101 * r));
  }
};

bool ImageMatches(const DeviceInterface& device, const sim::SimulatedInstrument& instrument, bool probe) {
  const RegisterImage& image = device.GetRegisterImage();
  for (uint16_t r = 0; r <= (probe ? 58 : 60); ++r)
    if (image.Register(r) != instrument.HoldingRegister(r)) return false;
  if (probe) {
    for (uint16_t r = 18; r <= 59; ++r)
      if (image.Calibration(r) != instrument.CalibrationRegister(r)) return false;
  } else {
    for (uint16_t r = 64; r <= 72; ++r)
      if (image.Register(r) != instrument.HoldingRegister(r)) return false;
  }
  return true;
}

// Live values as the instrument holds them (model 0, registers 4 to 6 in tenths here).
bool ValuesMatch(const float* values, const sim::SimulatedInstrument& instrument) {
  return values[0] == static_cast<float>(static_cast<int16_t>(instrument.HoldingRegister(3))) &&
         values[3] == static_cast<float>(static_cast<float>(static_cast<int16_t>(instrument.HoldingRegister(6))) * 0.1);
}

void Report(benchmark::State& state, const char* what, double totalMs, int ok, int wrong) {
  const double n = static_cast<double>(state.iterations());
  state.counters["ms_each"] = totalMs / n;
  state.counters["succeeded"] = ok;
  state.counters["wrong_data"] = wrong;
  std::printf("%-62s %8.1f ms each, %d of %.0f succeeded, %d with another request's data\n", what, totalMs / n, ok, n,
              wrong);
}

// Readings back to back, as the reading thread makes them when a cycle outlasts its period.
void Readings(benchmark::State& state, const char* what, sim::FaultSpec fault, bool faultEachReading) {
  Line line(sim::Model::Model0, 1);
  DeviceInterface device(1);
  if (!device.OpenPort() || !device.ReadConfiguration()) {
    state.SkipWithError("no instrument");
    return;
  }
  if (!faultEachReading) line.instrument->InjectFault(fault);
  double totalMs = 0;
  int ok = 0, wrong = 0;
  for (auto _ : state) {
    if (faultEachReading) line.instrument->InjectFault(fault);
    float values[5] = {};
    const auto start = Clock::now();
    const bool read = device.ReadValues(values, -999.0f);
    totalMs += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    ok += read;
    wrong += read && !ValuesMatch(values, *line.instrument);
  }
  Report(state, what, totalMs, ok, wrong);
}

void BM_ReadingPrompt(benchmark::State& state) {
  Readings(state, "reading, prompt replies", sim::FaultSpec::Delay(0), false);
}
void BM_ReadingLateWithinTimeout(benchmark::State& state) {
  Readings(state, "reading, every reply 50 ms late (within the time-out)", sim::FaultSpec::Delay(50), false);
}
void BM_ReadingOneReplyLost(benchmark::State& state) {
  Readings(state, "reading, its first reply lost", sim::FaultSpec::Silence(1), true);
}
void BM_ReadingSilent(benchmark::State& state) {
  Readings(state, "reading, instrument silent", sim::FaultSpec::Silence(), false);
}
void BM_ReadingLateBeyondTimeout(benchmark::State& state) {
  Readings(state, "reading, every reply 110 ms late (beyond the time-out)", sim::FaultSpec::Delay(110), false);
}

void Configuration(benchmark::State& state, const char* what, sim::Model model, uint32_t delayMs) {
  Line line(model, 2);
  DeviceInterface device(2);
  if (!device.OpenPort()) {
    state.SkipWithError("port did not open");
    return;
  }
  line.instrument->InjectFault(sim::FaultSpec::Delay(delayMs));
  double totalMs = 0;
  int ok = 0, wrong = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    const bool read = device.ReadConfiguration();
    totalMs += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    ok += read;
    wrong += read && !ImageMatches(device, *line.instrument, model == sim::Model::Probe);
  }
  Report(state, what, totalMs, ok, wrong);
}

void BM_ProbeConfigurationLate50(benchmark::State& state) {
  Configuration(state, "probe configuration, every reply 50 ms late", sim::Model::Probe, 50);
}
void BM_ProbeConfigurationLate100(benchmark::State& state) {
  Configuration(state, "probe configuration, every reply 100 ms late", sim::Model::Probe, 100);
}
void BM_Model0ConfigurationLate250(benchmark::State& state) {
  Configuration(state, "model 0 configuration, every reply 250 ms late", sim::Model::Model0, 250);
}
void Register(bool smoke) {
  const struct {
    const char* name;
    void (*run)(benchmark::State&);
    int64_t iterations;
  } cases[] = {
      {"BM_ReadingPrompt", BM_ReadingPrompt, 20},
      {"BM_ReadingLateWithinTimeout", BM_ReadingLateWithinTimeout, 10},
      {"BM_ReadingOneReplyLost", BM_ReadingOneReplyLost, 10},
      {"BM_ReadingSilent", BM_ReadingSilent, 5},
      {"BM_ReadingLateBeyondTimeout", BM_ReadingLateBeyondTimeout, 5},
      {"BM_ProbeConfigurationLate50", BM_ProbeConfigurationLate50, 3},
      {"BM_ProbeConfigurationLate100", BM_ProbeConfigurationLate100, 3},
      {"BM_Model0ConfigurationLate250", BM_Model0ConfigurationLate250, 3},
  };
  for (const auto& c : cases)
    benchmark::RegisterBenchmark(c.name, c.run)
        ->Unit(benchmark::kMillisecond)->Iterations(bench::Iterations(c.iterations, smoke))->UseRealTime();
}

}  // namespace

int main(int argc, char** argv) { return bench::RunRegistered(argc, argv, Register); }
