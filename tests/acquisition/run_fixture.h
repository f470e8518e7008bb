#pragma once
// A reading run against simulated instruments on pseudo-terminals, with stand-ins for the
// display windows, the settings and the user that record what the run did to them, and a
// gate that lets the reading thread do one round at a time while the test ticks in between.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "acquisition/reading_run.h"
#include "instrument/device_interface.h"
#include "tests/instrument/pty_pair.h"
#include "tools/sim/simulated_instrument.h"

namespace acqtest {

using namespace std::chrono_literals;

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

class FakeSettings : public acquisition::RunSettingsSource {
 public:
  acquisition::RunSettings CurrentSettings() override { return settings; }
  acquisition::RunSettings settings;
};

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
  void ReportHistoryOpenFailure() override { events.push_back("open failed"); }
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

// Lets the reading thread end one round at a time.
class RoundGate {
 public:
  void EndOfRound() {
    std::unique_lock lock(mutex_);
    ++rounds_;
    changed_.notify_all();
    changed_.wait(lock, [&] { return open_ || rounds_ < allowed_; });
  }
  // Lets round n run and waits until it has ended.
  bool Run(int n) {
    std::unique_lock lock(mutex_);
    allowed_ = std::max(allowed_, n);
    changed_.notify_all();
    return changed_.wait_for(lock, 30s, [&] { return rounds_ >= n; });
  }
  void Open() {
    std::lock_guard lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }
  int Rounds() {
    std::lock_guard lock(mutex_);
    return rounds_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int rounds_ = 0;
  int allowed_ = 1;
  bool open_ = false;
};

class RunTest : public testing::Test {
 protected:
  sim::SimulatedInstrument& Instrument(uint32_t serial, int com, uint16_t firmware = 110,
                                       sim::Model model = sim::Model::Model0) {
    sim::InstrumentOptions o;
    o.serialNumber = serial;
    o.firmware = firmware;
    o.model = model;
    o.tag = "SN" + std::to_string(serial);
    instruments_.push_back(std::make_unique<sim::SimulatedInstrument>(o));
    std::string error;
    EXPECT_TRUE(instruments_.back()->Start(folder_.path(), com, &error)) << error;
    return *instruments_.back();
  }
  void SetUp() override {
    settings_.settings.readIntervalMs = 250;
    settings_.settings.logIntervalMs = 500;
    settings_.settings.errorValue = -999.0f;
    settings_.settings.logFileName = folder_.path() + "/dados.mpc";
  }
  void TearDown() override { StopRun(); }

  // A run whose rounds wait for the gate, on the fake wall clock. The history interval is a
  // hair shorter than a step, so each tick owes exactly one line however the clock rounds.
  acquisition::ReadingRun& GatedRun() {
    settings_.settings.logIntervalMs = 499;
    run_ = std::make_unique<acquisition::ReadingRun>(displays_, settings_, user_, wall_);
    run_->SetCycleObserver([this](auto, auto) { gate_.EndOfRound(); });
    return *run_;
  }
  // Round n, then a tick half a second later.
  void Step(int n) {
    ASSERT_TRUE(gate_.Run(n)) << "round " << n;
    wall_.AdvanceMs(500);
    run_->Tick();
  }
  void StopRun() {
    gate_.Open();
    if (run_) run_->StopReadings();
  }
  std::string History() const {
    std::ifstream in(settings_.settings.logFileName, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::vector<std::string> HistoryLines() const {
    std::vector<std::string> lines;
    std::istringstream in(History());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  testing_support::TempPortFolder folder_;
  std::vector<std::unique_ptr<sim::SimulatedInstrument>> instruments_;
  FakeDisplays displays_;
  FakeSettings settings_;
  FakeUser user_;
  FakeWallClock wall_;
  RoundGate gate_;
  std::unique_ptr<acquisition::ReadingRun> run_;
};

}  // namespace acqtest
