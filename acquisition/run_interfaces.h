#pragma once
// What a reading run needs of the rest of the program, as small interfaces: the display
// windows it feeds, the settings it starts from, and the user it reports to. The main window
// implements them over its windows and dialogs; the headless tool and the tests implement
// them on their own. Every call comes on the thread that drives the run (the main thread).
#include <cstdint>
#include <exception>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class DeviceInterface;

namespace acquisition {

// One display window, as the run sees it.
class RunDisplay {
 public:
  virtual ~RunDisplay() = default;
  // The COM ports of the window's instruments that were found.
  virtual std::vector<uint16_t> GetDevicePorts() = 0;
  // Bit j: value j of the device with this serial number is shown.
  virtual uint8_t GetValueMask(uint32_t serial) = 0;
  virtual void SetReadInterval(int32_t ms) = 0;
  // The run's devices in device order.
  virtual void UpdateTitles(const std::vector<DeviceInterface*>& devices) = 0;
  virtual void SetChannelIndexes(std::span<const uint32_t> serials) = 0;
  // Five values per device and one time per device, while the run holds its value lock.
  virtual void UpdateReadings(std::span<const float> values, std::span<const double> times) = 0;
};

class RunDisplays {
 public:
  virtual ~RunDisplays() = default;
  // Child windows of any kind; the reading thread reads nothing while there is none.
  virtual size_t ChildWindowCount() = 0;
  // Visits the display windows in the order of the child windows.
  virtual void ForEachDisplay(const std::function<void(RunDisplay&)>& visit) = 0;
};

// When history recording waits for a value to cross a level.
struct TriggerSettings {
  bool on = false;
  uint8_t comparison = 1;  // 1: record at or above the level; 0: at or below
  double level = 0.0;
  uint32_t sourceSerial = 0;
  uint8_t sourceIndex = 0;  // the value's index in the run that chose it (value index = mod 5)
};

// The readings and history settings as a run starts from them.
struct RunSettings {
  bool fast = false;
  int32_t readIntervalMs = 1000;
  int32_t logIntervalMs = 1000;
  std::string logFileName;  // as the file system takes it
  bool historyOn = false;
  float errorValue = 0.0f;
  TriggerSettings trigger;
};

class RunSettingsSource {
 public:
  virtual ~RunSettingsSource() = default;
  virtual RunSettings CurrentSettings() = 0;
};

// Settings that stay as they were set, for a run without a settings dialog (the headless
// tool, the benchmarks, the tests).
class FixedRunSettings : public RunSettingsSource {
 public:
  FixedRunSettings() = default;
  explicit FixedRunSettings(RunSettings fixed) : settings(std::move(fixed)) {}
  RunSettings CurrentSettings() override { return settings; }
  RunSettings settings;
};

// The answers of the append-or-overwrite question.
enum class ExistingFileChoice { kAppend = 0, kOverwrite = 1, kCancel = 2 };

class RunUser {
 public:
  virtual ~RunUser() = default;
  // The history file exists and recording always: append, overwrite or give up the history.
  virtual ExistingFileChoice AskAppendOrOverwrite(const std::string& fileName) = 0;
  // History status: lines are being written / the file is closed, waiting.
  virtual void ShowHistoryRecording() = 0;
  virtual void ShowHistoryWaiting() = 0;
  // Switches history off everywhere (settings, status, commands); the run has already closed
  // its file.
  virtual void DisableHistory() = 0;
  // The history file could not be opened (history is switched off too); reason says why, as
  // the system says it or what stands in the file's place ("it is a named pipe").
  virtual void ReportHistoryOpenFailure(const std::string& reason) = 0;
  // The open history file takes no more lines (it was removed or moved, or the system refuses
  // them): history is switched off too, and the run reads on. Told once, without waiting for
  // an answer: the run may be unattended for days.
  virtual void ReportHistoryWriteFailure() = 0;
  // Three readings in a row failed on this port: the blinking error text.
  virtual void ReportCommunicationProblem(int port) = 0;
  // The start was given up because the instrument on this port did not answer.
  virtual void ReportStartFailure(int port) = 0;
  // The run stopped by itself (it has already closed its history): reading failed in a way
  // it could not go on from, for the reason `failure` holds (rethrow it to read it).
  virtual void ReportReadingFailure(std::exception_ptr failure) = 0;
  // Each history line as it goes to the file (without its line feed).
  virtual void HistoryLineWritten(std::string_view /*line*/) {}
};

}  // namespace acquisition
