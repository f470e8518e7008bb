#pragma once
// Stand-ins for the instruments, the wizard, the clock and the user around a display window.
#include <QDialog>
#include <QStringList>
#include <map>
#include <optional>
#include <stdexcept>

#include "app/user_interaction.h"
#include "display/display_configurator.h"
#include "display/display_device_directory.h"
#include "platform/clock.h"

namespace displaytest {

class FakeClock : public platform::MonotonicClock {
 public:
  uint64_t NowMs() const override { return now; }
  uint64_t now = 1'000'000;
};

// Instruments by serial: their ports and what they answer.
class FakeDevices : public DisplayDeviceDirectory {
 public:
  uint16_t FindPortBySerial(uint32_t serial) override {
    ++lookups;
    for (const auto& [port, d] : devices) {
      if (d.serialNumber == serial) return port;
    }
    return 0;
  }
  std::optional<DisplayDeviceInfo> ReadDevice(uint16_t port) override {
    ++reads;
    if (failReads) throw std::runtime_error("port vanished");
    auto it = devices.find(port);
    if (it == devices.end()) return std::nullopt;
    return it->second;
  }
  void Add(const DisplayDeviceInfo& d) { devices[d.port] = d; }

  std::map<uint16_t, DisplayDeviceInfo> devices;
  bool failReads = false;
  int lookups = 0;
  int reads = 0;
};

// Confirms with `result` (when set) and the chosen port, or cancels.
class FakeWizard : public DisplayConfigurator {
 public:
  void SetConfig(const DisplayConfig& config) override { given = config; ++shown; }
  bool Execute(QWidget*) override { return result.has_value(); }
  void GetConfig(DisplayConfig& config) const override { config = *result; }
  uint16_t GetSelectedPort() const override { return port; }

  std::optional<DisplayConfig> result;
  DisplayConfig given;
  uint16_t port = 0;
  int shown = 0;
};

class FakeUser : public app::UserInteraction {
 public:
  bool AskYesNo(QWidget*, const QString&, const QString&) override { return true; }
  void ShowMessage(QWidget*, const QString& text) override { messages << text; }
  void ShowError(QWidget*, const QString&, const QString& text) override { messages << text; }
  std::optional<QString> ChooseOpenFile(QWidget*, const app::FileDialogRequest&) override { return {}; }
  std::optional<QString> ChooseSaveFile(QWidget*, const app::FileDialogRequest&) override { return {}; }
  int RunModal(QDialog*) override { return QDialog::Rejected; }
  QStringList messages;
};

inline DisplayDeviceInfo Logger(uint32_t serial, const char* tag, uint16_t port) {
  DisplayDeviceInfo d;
  d.port = port;
  d.serialNumber = serial;
  d.serialText = std::string(8 - std::to_string(serial).size(), '0') + std::to_string(serial);
  d.model = 0;
  d.firmwareVersion = 110;
  d.tag = tag;
  d.channel1Config = 3;
  d.digitalInputConfig = 0x10;
  d.channelUnits = {"\xB0" "C", "", "\xB0" "C"};
  return d;
}

}  // namespace displaytest
