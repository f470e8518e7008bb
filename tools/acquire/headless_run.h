#pragma once
// The reading run's surroundings without windows: display windows that only name their
// instruments and values, fixed settings, and a user who is told everything on stdout in the
// main window's own words and answers the append-or-overwrite question from the command line.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "acquisition/run_interfaces.h"

namespace acquire {

class HeadlessDisplay : public acquisition::RunDisplay {
 public:
  // `unfound` collects the serial numbers that no port answers to.
  HeadlessDisplay(std::vector<std::pair<uint32_t, uint8_t>> shows, std::set<uint32_t>& unfound)
      : shows_(std::move(shows)), unfound_(unfound) {}
  std::vector<uint16_t> GetDevicePorts() override;
  uint8_t GetValueMask(uint32_t serial) override;
  void SetReadInterval(int32_t) override {}
  void UpdateTitles(const std::vector<DeviceInterface*>&) override {}
  void SetChannelIndexes(std::span<const uint32_t>) override {}
  void UpdateReadings(std::span<const float>, std::span<const double>) override {}

 private:
  std::vector<std::pair<uint32_t, uint8_t>> shows_;
  std::set<uint32_t>& unfound_;
};

class HeadlessDisplays : public acquisition::RunDisplays {
 public:
  void Add(std::vector<std::pair<uint32_t, uint8_t>> shows) {
    windows_.push_back(std::make_unique<HeadlessDisplay>(std::move(shows), unfound_));
  }
  // The instruments shown that no port answered to when the run listed its devices.
  const std::set<uint32_t>& Unfound() const { return unfound_; }
  size_t ChildWindowCount() override { return windows_.size(); }
  void ForEachDisplay(const std::function<void(acquisition::RunDisplay&)>& visit) override {
    for (auto& w : windows_) visit(*w);
  }

 private:
  std::vector<std::unique_ptr<HeadlessDisplay>> windows_;
  std::set<uint32_t> unfound_;
};

class FixedSettings : public acquisition::FixedRunSettings {
 public:
  using FixedRunSettings::FixedRunSettings;
  // History switched off by the run (the question was cancelled, the file failed).
  void DisableHistory() { settings.historyOn = false; }
};

class PrintingUser : public acquisition::RunUser {
 public:
  PrintingUser(FixedSettings& settings, std::string fileName, acquisition::ExistingFileChoice answer, bool echo)
      : settings_(settings), fileName_(std::move(fileName)), answer_(answer), echo_(echo) {}

  acquisition::ExistingFileChoice AskAppendOrOverwrite(const std::string& fileName) override;
  void ShowHistoryRecording() override;
  void ShowHistoryWaiting() override;
  void DisableHistory() override;
  void ReportHistoryOpenFailure(const std::string& reason) override;
  void ReportHistoryWriteFailure() override;
  void ReportCommunicationProblem(int port) override;
  void ReportStartFailure(int port) override;
  void ReportReadingFailure(std::exception_ptr failure) override;
  void HistoryLineWritten(std::string_view line) override;

  // A status or message line on stdout, flushed at once (readers follow it live).
  static void Say(const std::string& text);

 private:
  FixedSettings& settings_;
  std::string fileName_;
  acquisition::ExistingFileChoice answer_;
  bool echo_;
};

}  // namespace acquire
