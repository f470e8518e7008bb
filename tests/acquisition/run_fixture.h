#pragma once
// A reading run against simulated instruments on pseudo-terminals, with the stand-ins of
// run_fakes.h, and a gate that lets the reading thread do one round at a time while the test ticks in between.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdio>
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
#include "tests/acquisition/run_fakes.h"
#include "instrument/device_interface.h"
#include "tests/instrument/pty_pair.h"
#include "tools/sim/simulated_instrument.h"

namespace acqtest {

using namespace std::chrono_literals;

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
