#pragma once
// The instrument's two register spaces (holding registers for functions 3 and 6, the
// calibration space for functions 70 and 71) with what may be read and written on each model,
// and the side effects of writes. Not thread-safe: the owner serialises access.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "tools/sim/simulated_instrument.h"

namespace sim {

// Modbus exception codes the instrument answers with.
enum ExceptionCode : uint8_t {
  kIllegalFunction = 1,
  kIllegalAddress = 2,
  kIllegalValue = 3,
};

// Holding registers with a meaning the program relies on.
namespace reg {
inline constexpr uint16_t kSerialHigh = 0;
inline constexpr uint16_t kSerialLow = 1;
inline constexpr uint16_t kModelAndFirmware = 2;
inline constexpr uint16_t kLiveValue0 = 3;  // digital input on model 0; sensor kind on the probe
inline constexpr uint16_t kChannel1Value = 4;
inline constexpr uint16_t kChannel2Value = 5;
inline constexpr uint16_t kAmbientValue = 6;
inline constexpr uint16_t kDeviceConfig = 7;
inline constexpr uint16_t kCounterHigh = 62;
inline constexpr uint16_t kCounterLow = 63;
inline constexpr uint16_t kCounterReset = 73;
// Firmware from which model 0 has the counter and digital-input block (62..73).
inline constexpr uint16_t kCounterFirmware = 110;
}  // namespace reg

class RegisterMap {
 public:
  static constexpr size_t kHoldingSize = 128;
  static constexpr size_t kCalibrationSize = 64;

  explicit RegisterMap(const InstrumentOptions& options);

  // Raw access, no protection (out-of-range registers read 0 and ignore writes).
  uint16_t Holding(uint16_t reg) const;
  void SetHolding(uint16_t reg, uint16_t value);
  uint16_t Calibration(uint16_t reg) const;
  void SetCalibration(uint16_t reg, uint16_t value);

  bool HoldingReadable(uint16_t reg) const;
  bool HoldingWritable(uint16_t reg) const;
  bool CalibrationAccessible(uint16_t reg) const;

  // What the instrument does on a request; 0 or the exception code.
  uint8_t ReadHolding(uint16_t start, uint16_t count, std::vector<uint16_t>& out) const;
  uint8_t WriteHolding(uint16_t reg, uint16_t value);
  uint8_t ReadCalibration(uint16_t reg, uint16_t& out) const;
  uint8_t WriteCalibration(uint16_t reg, uint16_t value);

  // Moves the live values and the counter along, `seconds` after start.
  void Animate(double seconds);

 private:
  bool IsProbe() const;
  bool HasCounterBlock() const;

  double lastAnimated_ = 0;
  std::array<uint16_t, kHoldingSize> holding_{};
  std::array<uint16_t, kCalibrationSize> calibration_{};
};

// Register text: ten characters in five registers, the first character of each pair in the
// low byte; shorter texts are padded with zero bytes, longer ones cut.
void EncodeRegisterText(const std::string& text, std::span<uint16_t, 5> registers);
// Serial number 12345678 as BCD: 0x1234, 0x5678.
std::array<uint16_t, 2> EncodeBcdSerial(uint32_t serial);

// Fills both spaces with plausible values for the chosen model.
void FillDefaultRegisters(const InstrumentOptions& options,
                          std::span<uint16_t, RegisterMap::kHoldingSize> holding,
                          std::span<uint16_t, RegisterMap::kCalibrationSize> calibration);

}  // namespace sim
