#pragma once
// Stand-ins for the instruments, the wizard and the clock around a display window.
#include <map>
#include <optional>
#include <stdexcept>
#include <string>

#include "display/display_configurator.h"
#include "display/display_device_directory.h"
#include "platform/clock.h"

namespace displaytest {

class FakeClock : public platform::MonotonicClock {
 public:
  uint64_t NowMs() const override { return now; }
  uint64_t now = 1'000'000;
};

// Instruments by port; every call is counted.
class FakeDevices : public DisplayDeviceDirectory {
 public:
  uint16_t FindPortBySerial(uint32_t serial) override {
    ++calls;
    for (const auto& [port, d] : devices) {
      if (d.serialNumber == serial) return port;
    }
    return 0;
  }
  std::optional<DisplayDeviceInfo> ReadDevice(uint16_t port) override {
    ++calls;
    if (failReads) throw std::runtime_error("port vanished");
    auto it = devices.find(port);
    return it == devices.end() ? std::nullopt : std::optional(it->second);
  }
  void Add(const DisplayDeviceInfo& d) { devices[d.port] = d; }

  std::map<uint16_t, DisplayDeviceInfo> devices;
  bool failReads = false;
  int calls = 0;
};

// Confirms with `result` (when set) and `port`, or cancels.
class FakeWizard : public DisplayConfigurator {
 public:
  void SetConfig(const DisplayConfig&) override { ++shown; }
  bool Execute(QWidget*) override { return result.has_value(); }
  void GetConfig(DisplayConfig& config) const override { config = *result; }
  uint16_t GetSelectedPort() const override { return port; }

  std::optional<DisplayConfig> result;
  uint16_t port = 0;
  int shown = 0;
};

// A logger with the counter: channel 1 a thermocouple, channel 2 a linear input with two
// decimals in bar, counting on its digital input with three decimals.
inline DisplayDeviceInfo Logger(uint32_t serial, const char* tag, uint16_t port = 3) {
  DisplayDeviceInfo d;
  d.port = port;
  d.serialNumber = serial;
  d.serialText = std::string(8 - std::to_string(serial).size(), '0') + std::to_string(serial);
  d.model = DisplayDeviceInfo::kModelLogger;
  d.firmwareVersion = 110;
  d.tag = tag;
  d.channel1Config = 3;
  d.channel2Config = 9 | (2 << 9);
  d.digitalInputConfig = 0x10;
  d.decimalNumber = 3;
  d.channelUnits = {"\xB0" "C", "bar", "\xB0" "C"};
  return d;
}

}  // namespace displaytest
