#pragma once
// The parsed configuration block of one instrument (`DeviceRegs` with its two `Channel`
// records) and the raw register image it is parsed from and composed into. Field names are
// those of the device configuration file. Texts are code page 1252 bytes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// One analog input.
struct Channel {
  static constexpr size_t kCalibrationPoints = 10;
  // Marks an unused point of the probe's custom calibration tables.
  static constexpr int32_t kEmptyCalibrationPoint = -32768;

  // Bits 0..6 input type (below 9 a temperature input, 9 and above a linear input), bit 7 the
  // input is converted in streaming mode, bit 8 degrees Fahrenheit, bits 9..11 decimals of a
  // linear input.
  int32_t Config = 0;
  uint16_t Filter = 0;
  int32_t LowLimit = 0;
  int32_t HighLimit = 0;
  int32_t UnderflowValue = 0;
  int32_t OverflowValue = 0;
  std::string Tag;
  std::string Unit;
  int16_t UserOffset = 0;
  // Probe only: second register of each calibration pair (A) and first register (B).
  std::array<int32_t, kCalibrationPoints> CustomCalA{};
  std::array<int32_t, kCalibrationPoints> CustomCalB{};

  bool operator==(const Channel&) const = default;
};

struct DeviceRegs {
  int32_t InputTypeModel = 0;   // probe sensor kind (register 3); 0 on model 0
  std::string Tag;              // registers 22..26
  int32_t SerialNumber = 0;     // registers 0 and 1 read as 8 BCD digits; the device key
  int32_t FirmwareVersionNumber = 0;  // version x 100
  std::string VersionText;      // "1.10" for 110; not stored in configuration files
  // Register 7: bit 6 streaming mode, bit 5 ambient value converted in streaming mode,
  // bits 0..3 streaming rate, bit 4 degrees Fahrenheit for the internal channel.
  int32_t DeviceConfig = 0;
  Channel Channel1;
  Channel Channel2;
  std::string DigInputTag;
  int32_t DigInputLowValue = 0;
  int32_t DigInputHighValue = 0;
  std::string Channel3Tag;      // the internal (ambient) channel
  int16_t Channel3UserOffset = 0;
  uint8_t LastCustomCalDay = 0;
  uint8_t LastCustomCalMonth = 0;
  int32_t LastCustomCalYear = 0;
  // Digital input and counter block (model 0, firmware 110 and later).
  int32_t DigiTalInputConfig = 0;
  int32_t Debounce = 0;
  double Scale = 0;             // factor of the counter
  int32_t ResetValue = 0;       // registers 70 (high word) and 71 (low word)
  int32_t BaseTime = 0;         // register 71 taken as signed 16-bit; never written by itself
  int32_t DecimalNumber = 0;

  bool operator==(const DeviceRegs&) const = default;
};

namespace device {

inline constexpr int32_t kModelLogger = 0;      // two analog inputs, ambient channel, digital input
inline constexpr int32_t kModelProbe = 0x2000;  // temperature / relative-humidity probe
inline constexpr int32_t kModelUnknown = -1;    // configuration not read yet
inline constexpr uint16_t kModelMask = 0xE000;
inline constexpr uint16_t kFirmwareMask = 0x1FFF;
// First firmware with the digital-input block (registers 64..72) and the counter (62, 63).
inline constexpr int32_t kCounterFirmware = 110;

inline constexpr uint8_t kSlaveAddress = 10;
inline constexpr uint32_t kBaudRate = 115200;
inline constexpr uint16_t kExtraTimeoutMs = 70;

// Holding registers with a meaning of their own.
namespace reg {
inline constexpr uint16_t kSerialHigh = 0;
inline constexpr uint16_t kSerialLow = 1;
inline constexpr uint16_t kModelAndFirmware = 2;
inline constexpr uint16_t kLiveValues = 3;   // 3..6
inline constexpr uint16_t kLiveValueCount = 4;
inline constexpr uint16_t kDeviceConfig = 7;
inline constexpr uint16_t kTag = 22;         // 22..26
inline constexpr uint16_t kCounterHigh = 62;
inline constexpr uint16_t kCounterLow = 63;
inline constexpr uint16_t kDigitalInputBlock = 64;  // 64..72
inline constexpr uint16_t kDigitalInputBlockCount = 9;
inline constexpr uint16_t kCounterReset = 73;
}  // namespace reg

// Calibration registers (functions 70 and 71).
namespace cal {
inline constexpr uint16_t kDate = 18;        // probe: day x 256 + month
inline constexpr uint16_t kYear = 19;        // probe
inline constexpr uint16_t kTableFirst = 20;  // probe: 20..39 channel 1, 40..59 channel 2
inline constexpr uint16_t kTableCount = 40;
inline constexpr uint16_t kAmbient = 20;     // model 0
}  // namespace cal

}  // namespace device

// The raw words last read from the instrument or about to be written to it.
// Index 0..60: holding registers 0..60; 61..69: holding registers 64..72;
// 70..109: calibration registers 20..59; 110, 111: calibration registers 18 and 19.
class RegisterImage {
 public:
  static constexpr size_t kSize = 112;
  static constexpr uint16_t kLastLowHolding = 60;

  // Holding register 0..60 or 64..72.
  static constexpr bool HoldsRegister(uint16_t reg) {
    return reg <= kLastLowHolding || (reg >= 64 && reg <= 72);
  }
  static constexpr size_t IndexOfRegister(uint16_t reg) { return reg <= kLastLowHolding ? reg : reg - 3u; }
  // Calibration register 18..59.
  static constexpr bool HoldsCalibration(uint16_t reg) { return reg >= 18 && reg <= 59; }
  static constexpr size_t IndexOfCalibration(uint16_t reg) { return reg >= 20 ? reg + 50u : reg + 92u; }

  uint16_t Register(uint16_t reg) const { return words_[IndexOfRegister(reg)]; }
  uint16_t& Register(uint16_t reg) { return words_[IndexOfRegister(reg)]; }
  uint16_t Calibration(uint16_t reg) const { return words_[IndexOfCalibration(reg)]; }
  uint16_t& Calibration(uint16_t reg) { return words_[IndexOfCalibration(reg)]; }

  uint16_t* RegisterPointer(uint16_t reg) { return &words_[IndexOfRegister(reg)]; }
  const std::array<uint16_t, kSize>& Words() const { return words_; }

  bool operator==(const RegisterImage&) const = default;

 private:
  std::array<uint16_t, kSize> words_{};
};
