// Fast-mode figures.
// 1. Parse rate: streamed records per second through the stream buffer and its parser, from
//    a prepared text, on one core; beside it the floor of merely finding the line ends.
// 2. Eight simulated instruments streaming at their fastest period (one conversion, 7.8 ms),
//    taken in with ReceiveStream and ParseStreamRecords every 5 ms: records lost.
// 3. Window-thread time per updater tick: the same eight instruments read by a fast run into
//    eight stand-in display windows, history at 10 ms through the time-slot merger. Median,
//    99th percentile and maximum of a tick, and the resident memory at the start and the end.
// "--seconds N" (default 60) sets the length of runs 2 and 3.
#include <malloc.h>
#include <stdlib.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "acquisition/reading_run.h"
#include "bench/acquisition/run_bench_support.h"
#include "instrument/device_interface.h"
#include "instrument/stream_buffer.h"
#include "platform/ports.h"
#include "tools/sim/simulated_instrument.h"

namespace {

using runbench::Clock;
using runbench::Figures;
using runbench::Ms;
using runbench::Summarise;
constexpr int kInstruments = 8;
constexpr uint16_t kFastestRegister7 = 0x0000;  // rate 0, ambient off
constexpr uint16_t kOneLinearInput = 0x008A;     // channel 1: type 10, converted
constexpr uint16_t kChannelOff = 0x000A;         // channel 2: not converted

// Processor time of the calling thread: what a tick costs the window thread whatever else
// the machine runs meanwhile (wall time counts the moments the thread was not running too).
double ThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Kilobytes of a line of /proc/self/status ("VmRSS", "VmHWM").
long StatusKb(const char* key) {
  std::ifstream in("/proc/self/status");
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + std::strlen(key) + 1);
  }
  return -1;
}

void ParseRate() {
  // Records as instruments send them, with varied fields and times.
  std::string text;
  size_t records = 0;
  for (int i = 0; text.size() < 8 * 1024 * 1024; ++i, ++records) {
    text += "#" + std::to_string(i % 2) + ";" + std::to_string(i % 700 - 200) + "." + std::to_string(i % 10) + ";" +
            std::to_string(i % 10000) + ".25;24.1;;" + std::to_string(1000 + 8 * i) + "\r\n";
  }
  const auto bytes = reinterpret_cast<const uint8_t*>(text.data());
  auto run = [&](auto&& consume) {
    size_t got = 0;
    const auto start = Clock::now();
    for (size_t at = 0; at < text.size();) {
      const size_t n = std::min<size_t>(1024, text.size() - at);
      got += consume(std::span<const uint8_t>(bytes + at, n));
      at += n;
    }
    return std::pair(got, std::chrono::duration<double>(Clock::now() - start).count());
  };
  stream::StreamBuffer buffer;
  const auto [parsed, parseSeconds] = run([&](std::span<const uint8_t> chunk) {
    buffer.Append(chunk);
    return buffer.TakeRecords(1000, 0.0f, 1.0, [](const stream::StreamRecord&) {});
  });
  const auto [lines, scanSeconds] = run([&](std::span<const uint8_t> chunk) {
    return static_cast<size_t>(std::count(chunk.begin(), chunk.end(), uint8_t{'\n'}));
  });
  const double rate = static_cast<double>(parsed) / parseSeconds;
  std::printf("parse rate: %zu of %zu records in %.3f s: %.0f records/s (target >= 500000); "
              "finding the line ends alone %.0f lines/s, ratio %.1f\n",
              parsed, records, parseSeconds, rate, static_cast<double>(lines) / scanSeconds,
              (static_cast<double>(lines) / scanSeconds) / rate);
}

// Records lost between what each instrument sent and what the stream reader parsed.
void NoRecordLost(const std::vector<std::unique_ptr<sim::SimulatedInstrument>>& instruments, double seconds) {
  // The instruments' own account of what they sent, heard as it goes out (their logs are
  // off, so that they do not grow during the tick run).
  std::mutex sentMutex;
  std::vector<std::vector<uint32_t>> sent(kInstruments);
  for (size_t i = 0; i < instruments.size(); ++i) {
    instruments[i]->SetLogListener([&, i](const sim::LogEntry& e) {
      if (e.direction != sim::LogEntry::Direction::Stream) return;
      const std::string record(e.bytes.begin(), e.bytes.end());
      std::lock_guard lock(sentMutex);
      sent[i].push_back(static_cast<uint32_t>(std::strtoul(record.c_str() + record.rfind(';') + 1, nullptr, 10)));
    });
  }
  std::vector<std::unique_ptr<DeviceInterface>> devices;
  for (int i = 1; i <= kInstruments; ++i) {
    auto device = std::make_unique<DeviceInterface>(i);
    if (!device->OpenPort() || !device->ReadConfiguration() || !device->EnableFastMode()) {
      std::printf("COM%d did not start streaming\n", i);
      return;
    }
    device->DiscardStreamInput();
    devices.push_back(std::move(device));
  }
  std::vector<std::vector<uint32_t>> parsed(kInstruments);
  std::vector<float> rows(30 * 5);
  std::vector<uint32_t> times(30);
  const auto end = Clock::now() + std::chrono::duration<double>(seconds);
  while (Clock::now() < end) {
    for (size_t i = 0; i < devices.size(); ++i) {
      const int held = devices[i]->ReceiveStream();
      const int got = devices[i]->ParseStreamRecords(std::min(held, 30), rows.data(), times.data(), 1, 0.0f);
      parsed[i].insert(parsed[i].end(), times.begin(), times.begin() + got);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  for (auto& instrument : instruments) instrument->SetLogListener({});
  size_t total = 0, lost = 0;
  for (size_t i = 0; i < devices.size(); ++i) {
    devices[i]->DisableFastMode();
    devices[i]->ClosePort();
    if (parsed[i].empty()) continue;
    const std::set<uint32_t> seen(parsed[i].begin(), parsed[i].end());
    std::lock_guard lock(sentMutex);
    for (const uint32_t time : sent[i]) {
      if (time < parsed[i].front() || time > parsed[i].back()) continue;
      ++total;
      lost += seen.count(time) == 0;
    }
  }
  std::printf("stream reader: %zu records from %d instruments every %.4f ms in %.0f s, %zu lost (target 0)\n", total,
              kInstruments, 7.8125, seconds, lost);
}

class StandInDisplay : public acquisition::RunDisplay {
 public:
  explicit StandInDisplay(uint32_t serial) : serial_(serial) {}
  std::vector<uint16_t> GetDevicePorts() override { return {static_cast<uint16_t>(serial_)}; }
  uint8_t GetValueMask(uint32_t serial) override { return serial == serial_ ? 0x1F : 0; }
  void SetReadInterval(int32_t) override {}
  void UpdateTitles(const std::vector<DeviceInterface*>&) override {}
  void SetChannelIndexes(std::span<const uint32_t>) override {}
  void UpdateReadings(std::span<const float> values, std::span<const double> times) override {
    // What a digit display does with a hand-over: one value and its time.
    last_ = values[1] + static_cast<float>(times[0]);
  }

 private:
  uint32_t serial_;
  float last_ = 0;
};

class StandIns : public acquisition::RunDisplays {
 public:
  size_t ChildWindowCount() override { return displays.size(); }
  void ForEachDisplay(const std::function<void(acquisition::RunDisplay&)>& visit) override {
    for (auto& d : displays) visit(*d);
  }
  std::vector<std::unique_ptr<StandInDisplay>> displays;
};

std::string LoadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string line;
  std::getline(in, line);
  return line + "\n";
}

void TickTime(const std::string& folder, double seconds) {
  StandIns displays;
  for (int i = 1; i <= kInstruments; ++i) displays.displays.push_back(std::make_unique<StandInDisplay>(i));
  runbench::Settings settings;
  settings.settings.fast = true;
  settings.settings.logIntervalMs = 10;
  settings.settings.historyOn = true;
  settings.settings.logFileName = folder + "/fast.mpc";
  runbench::QuietUser user;
  acquisition::ReadingRun run(displays, settings, user);
  size_t records = 0;
  run.SetRecordObserver([&](size_t, uint32_t, TDateTime) { ++records; });
  if (!run.StartReadings() || run.Devices().size() != kInstruments) {
    std::printf("the fast run did not start with %d instruments\n", kInstruments);
    return;
  }
  // Reserved whole, so that the measurement itself does not grow during the run.
  std::vector<double> tickMs, tickCpuMs;
  tickMs.reserve(static_cast<size_t>(seconds * 200) + 1000);
  tickCpuMs.reserve(tickMs.capacity());
  long rssStart = -1;
  size_t heapStart = 0;
  const auto start = Clock::now();
  const auto end = start + std::chrono::duration<double>(seconds);
  auto next = start;
  while (Clock::now() < end) {
    const auto t0 = Clock::now();
    const double cpu0 = ThreadCpuMs();
    run.Tick();
    tickCpuMs.push_back(ThreadCpuMs() - cpu0);
    tickMs.push_back(Ms(Clock::now() - t0));
    // Taken once the run has settled (buffers made, first slots merged and written).
    if (rssStart < 0 && t0 - start >= std::chrono::seconds(1)) {
      rssStart = StatusKb("VmRSS");
      heapStart = mallinfo2().uordblks;
    }
    next += std::chrono::milliseconds(5);
    std::this_thread::sleep_until(next);
  }
  const long rssEnd = StatusKb("VmRSS");
  const size_t heapEnd = mallinfo2().uordblks;
  const auto* fast = dynamic_cast<const acquisition::FastMode*>(run.Mode());
  const size_t slots = fast ? fast->MergerSlots() : 0;
  run.StopReadings();
  const Figures f = Summarise(tickMs);
  const Figures cpu = Summarise(tickCpuMs);
  std::printf("fast run: %d instruments every 7.8125 ms, history every 10 ms, %.0f s: %zu ticks, %zu records, %zu "
              "history lines, %zu slots in the merger at the end\n",
              kInstruments, seconds, tickMs.size(), records, user.lines, slots);
  std::printf("%-26s %9s %9s %9s   target\n", "", "median", "p99", "max");
  std::printf("%-26s %7.3fms %7.3fms %7.3fms   median < 0.3 ms, p99 < 2 ms\n", "window-thread tick (wall)",
              f.median, f.p99, f.max);
  std::printf("%-26s %7.3fms %7.3fms %7.3fms\n", "window-thread tick (cpu)", cpu.median, cpu.p99, cpu.max);
  std::printf("load average while it ran: %s", LoadAverage().c_str());
  const double growth = rssStart > 0 ? 100.0 * static_cast<double>(rssEnd - rssStart) / static_cast<double>(rssStart) : 0;
  std::printf("resident memory: %ld kB after 1 s, %ld kB at the end (%+.2f %%, target < 5 %%); peak %ld kB\n",
              rssStart, rssEnd, growth, StatusKb("VmHWM"));
  std::printf("heap in use: %zu kB after 1 s, %zu kB at the end\n", heapStart / 1024, heapEnd / 1024);
  std::printf("targets %s (wall time)%s\n", f.median < 0.3 && f.p99 < 2 && growth < 5 ? "met" : "NOT met",
              cpu.median < 0.3 && cpu.p99 < 2 && growth < 5 ? "; met on processor time" : "");
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = 60;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--seconds") == 0) seconds = std::max(1.0, std::atof(argv[i + 1]));
  }
  ParseRate();

  runbench::SimulatedInstruments instruments(kInstruments, {}, [](sim::SimulatedInstrument& instrument) {
    instrument.SetHoldingRegister(7, kFastestRegister7);
    instrument.SetHoldingRegister(8, kOneLinearInput);
    instrument.SetHoldingRegister(9, kChannelOff);
  });
  if (instruments.all.empty()) return 1;
  NoRecordLost(instruments.all, std::min(seconds, 10.0));
  TickTime(instruments.folder, seconds);
  return 0;
}
