#pragma once
// Stand-ins for what surrounds a reading run, recording what the run did to them: display
// windows, settings, the user, the clocks; and the stamp of a history line.
#include <atomic>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "acquisition/run_interfaces.h"
#include "instrument/device_interface.h"
#include "platform/clock.h"
#include "platform/datetime.h"

namespace acqtest {

// A history line's stamp in milliseconds (-1 for a line without one).
inline int64_t StampMs(const std::string& line) {
  int d, mo, y, h, mi, s, ms;
  if (std::sscanf(line.c_str(), "%2d/%2d/%4d, %2d:%2d:%2d.%3d", &d, &mo, &y, &h, &mi, &s, &ms) != 7) return -1;
  TDateTime t = 0;
  platform::TryEncodeDateTime(y, mo, d, h, mi, s, ms, t);
  return std::llround(t * platform::kMsPerDay);
}

// A display window showing some values of some instruments, found by serial number as the
// real window finds them.
class FakeDisplay : public acquisition::RunDisplay {
 public:
  // (serial, value mask)
  explicit FakeDisplay(std::vector<std::pair<uint32_t, uint8_t>> shows) : shows_(std::move(shows)) {}
  std::vector<uint16_t> GetDevicePorts() override {
    std::vector<uint16_t> ports;
    for (auto [serial, mask] : shows_) {
      DeviceInterface probe;
      if (const int port = probe.FindPortBySerial(static_cast<int32_t>(serial))) ports.push_back(static_cast<uint16_t>(port));
    }
    return ports;
  }
  uint8_t GetValueMask(uint32_t serial) override {
    uint8_t mask = 0;
    for (auto [s, m] : shows_) mask |= s == serial ? m : 0;
    return mask;
  }
  void SetReadInterval(int32_t ms) override { readInterval = ms; }
  void UpdateTitles(const std::vector<DeviceInterface*>& devices) override { titledDevices = devices.size(); }
  void SetChannelIndexes(std::span<const uint32_t> serials) override { runSerials.assign(serials.begin(), serials.end()); }
  void UpdateReadings(std::span<const float> values, std::span<const double> times) override {
    ++updates;
    lastValues.assign(values.begin(), values.end());
    lastTimes.assign(times.begin(), times.end());
  }

  int32_t readInterval = 0;
  size_t titledDevices = 0;
  std::vector<uint32_t> runSerials;
  int updates = 0;
  std::vector<float> lastValues;
  std::vector<double> lastTimes;

 private:
  std::vector<std::pair<uint32_t, uint8_t>> shows_;
};

class FakeDisplays : public acquisition::RunDisplays {
 public:
  FakeDisplay& Add(std::vector<std::pair<uint32_t, uint8_t>> shows) {
    windows.push_back(std::make_unique<FakeDisplay>(std::move(shows)));
    return *windows.back();
  }
  size_t ChildWindowCount() override { return windows.size() + otherChildren; }
  void ForEachDisplay(const std::function<void(acquisition::RunDisplay&)>& visit) override {
    for (auto& w : windows) visit(*w);
  }
  std::vector<std::unique_ptr<FakeDisplay>> windows;
  size_t otherChildren = 0;  // history viewers
};

using FakeSettings = acquisition::FixedRunSettings;

// Records what the user was told, in order.
class FakeUser : public acquisition::RunUser {
 public:
  acquisition::ExistingFileChoice AskAppendOrOverwrite(const std::string& fileName) override {
    events.push_back("ask " + std::filesystem::path(fileName).filename().string());
    if (whileAsked) whileAsked();
    return answer;
  }
  void ShowHistoryRecording() override { events.push_back("recording"); }
  void ShowHistoryWaiting() override { events.push_back("waiting"); }
  void DisableHistory() override { events.push_back("history off"); }
  void ReportHistoryOpenFailure(const std::string& reason) override { events.push_back("open failed: " + reason); }
  void ReportHistoryWriteFailure() override { events.push_back("write failed"); }
  void ReportCommunicationProblem(int port) override { events.push_back("COM" + std::to_string(port)); }
  void ReportStartFailure(int port) override { events.push_back("start failed COM" + std::to_string(port)); }
  void ReportReadingFailure(std::exception_ptr failure) override {
    try {
      std::rethrow_exception(failure);
    } catch (const std::exception& e) {
      events.push_back(std::string("stopped: ") + e.what());
    } catch (...) {
      events.push_back("stopped");
    }
  }
  void HistoryLineWritten(std::string_view) override { ++lines; }

  acquisition::ExistingFileChoice answer = acquisition::ExistingFileChoice::kAppend;
  std::function<void()> whileAsked;  // the user takes their time to answer
  std::vector<std::string> events;
  int lines = 0;
};

// A wall clock the test moves; read by the reading thread too.
class FakeWallClock : public platform::WallClock {
 public:
  TDateTime Now() const override { return now.load(); }
  void AdvanceMs(double ms) { now = now.load() + ms / platform::kMsPerDay; }
  std::atomic<double> now{46000.5};  // 2025-12-09 12:00
};

// A monotonic clock the test moves.
class FakeMonotonicClock : public platform::MonotonicClock {
 public:
  uint64_t NowMs() const override { return now; }
  uint64_t now = 50000;
};

}  // namespace acqtest
