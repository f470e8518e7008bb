// Time of a whole configuration read (and of a configuration write) over a pseudo-terminal to
// the simulated instrument, with the count of Modbus transactions each takes. The probe's
// read is about 45 transactions; finishing each as soon as its reply is complete keeps the
// read under 150 ms, where waiting for the line to fall silent would take about 4 s.
// Also the stream reader's throughput on records already received.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "instrument/device_interface.h"
#include "instrument/stream_buffer.h"
#include "platform/ports.h"
#include "bench/device/simulated_line.h"
#include "bench/smoke_flag.h"
#include "tools/sim/simulated_instrument.h"

namespace {

constexpr double kProbeReadTargetMs = 150.0;

using Line = SimulatedLine;

void ReportTransactions(benchmark::State& state, const sim::SimulatedInstrument& instrument, size_t before) {
  const double perIteration = double(instrument.RequestCount() - before) / double(state.iterations());
  state.counters["transactions"] = perIteration;
}

void BM_ProbeReadConfiguration(benchmark::State& state) {
  Line line(sim::Model::Probe, 1);
  DeviceInterface device(1);
  if (!device.OpenPort()) {
    state.SkipWithError("port did not open");
    return;
  }
  const size_t before = line.instrument->RequestCount();
  double worstMs = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    if (!device.ReadConfiguration()) {
      state.SkipWithError("ReadConfiguration failed");
      return;
    }
    worstMs = std::max(worstMs, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  ReportTransactions(state, *line.instrument, before);
  state.counters["worst_ms"] = worstMs;
  std::printf("ReadConfiguration of a probe: worst %.1f ms, %.0f transactions (target under %.0f ms)%s\n", worstMs,
              state.counters["transactions"].value, kProbeReadTargetMs,
              worstMs < kProbeReadTargetMs ? "" : "  ** OVER TARGET **");
}
void BM_Model0ReadAndWriteConfiguration(benchmark::State& state) {
  Line line(sim::Model::Model0, 2);
  DeviceInterface device(2);
  if (!device.OpenPort() || !device.ReadConfiguration()) {
    state.SkipWithError("no instrument");
    return;
  }
  const size_t before = line.instrument->RequestCount();
  for (auto _ : state) {
    if (!device.ReadConfiguration() || !device.WriteConfiguration()) {
      state.SkipWithError("configuration round trip failed");
      return;
    }
  }
  ReportTransactions(state, *line.instrument, before);
}
void BM_StreamRecordsTaken(benchmark::State& state) {
  std::string text;
  while (text.size() < stream::StreamBuffer::kCapacity - 40) text += "#0;23.5;42,50;24.1;1234;4294967000\r\n";
  size_t records = 0;
  for (auto _ : state) {
    stream::StreamBuffer buffer;
    buffer.Append(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    records += buffer.TakeRecords(1000, 0.0f, 1.0, [](const stream::StreamRecord& r) { benchmark::DoNotOptimize(r); });
  }
  state.SetItemsProcessed(static_cast<int64_t>(records));
}
void Register(bool smoke) {
  benchmark::RegisterBenchmark("BM_ProbeReadConfiguration", BM_ProbeReadConfiguration)
      ->Unit(benchmark::kMillisecond)->Iterations(bench::Iterations(20, smoke));
  benchmark::RegisterBenchmark("BM_Model0ReadAndWriteConfiguration", BM_Model0ReadAndWriteConfiguration)
      ->Unit(benchmark::kMillisecond)->Iterations(bench::Iterations(10, smoke));
  benchmark::RegisterBenchmark("BM_StreamRecordsTaken", BM_StreamRecordsTaken);
}

}  // namespace

int main(int argc, char** argv) { return bench::RunRegistered(argc, argv, Register); }
