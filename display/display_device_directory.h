#pragma once
// How a display window reaches the instruments outside a reading run: finding the port of a
// serial number, and reading the configuration of the instrument on a port. The instrument
// side implements it; tests give their own.
#include <cstdint>
#include <optional>

#include "display/display_device_info.h"

class DisplayDeviceDirectory {
 public:
  virtual ~DisplayDeviceDirectory() = default;
  // The COM port of the instrument with this serial number; 0 when none answers.
  virtual uint16_t FindPortBySerial(uint32_t serial) = 0;
  // Opens the port, reads the instrument's identity and configuration, closes the port.
  // Nothing when any step fails.
  virtual std::optional<DisplayDeviceInfo> ReadDevice(uint16_t port) = 0;
};
