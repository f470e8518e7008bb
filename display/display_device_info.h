#pragma once
// What a display window needs to know of one instrument to name its values and offer a
// counter reset: identity, port, and the parts of the configuration block that name and
// describe the five values. Filled from the instrument model by whoever holds the device.
#include <array>
#include <cstdint>
#include <string>

struct DisplayDeviceInfo {
  static constexpr int32_t kModelLogger = 0;     // two inputs, ambient, digital input
  static constexpr int32_t kModelProbe = 0x2000;  // temperature / humidity probe
  // The first firmware (version x 100) with the counter and its digital-input modes.
  static constexpr int32_t kCounterFirmware = 110;

  uint16_t port = 0;               // COM port number
  uint32_t serialNumber = 0;
  std::string serialText;          // 8 digits, zero-padded
  int32_t model = -1;              // 0, 0x2000, or -1 when the configuration was not read
  int32_t firmwareVersion = 0;     // version x 100
  int32_t probeType = -1;          // the probe's sensor kind (0 humidity and temperature); -1 other models
  int32_t deviceConfig = 0;        // bit 4 internal channel in Fahrenheit, bit 5 internal channel on
  std::string tag;                 // code page 1252, as read
  std::string channel1Tag;
  std::string channel2Tag;
  std::string channel3Tag;         // internal (ambient) channel
  std::string digInputTag;
  int32_t channel1Config = 0;      // bits 0-6 input type, bits 9-11 decimals of a linear input
  int32_t channel2Config = 0;
  int32_t digitalInputConfig = 0;  // 0x10 counting, 0x20 timing, 0x40 frequency
  int32_t decimalNumber = 0;       // decimals of the counter
  std::array<std::string, 3> channelUnits;  // units of channels 1, 2 and 3 ("" when none)

  bool HasCounter() const { return model == kModelLogger && firmwareVersion >= kCounterFirmware; }
};
