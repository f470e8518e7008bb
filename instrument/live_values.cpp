#include "instrument/live_values.h"

#include "instrument/device_regs_image.h"
#include "instrument/reading_float.h"

namespace device {
namespace {

constexpr int32_t kInputTypeMask = 0x7F;
constexpr int32_t kFirstLinearType = 9;
constexpr int32_t kFahrenheitBit = 0x100;
constexpr int32_t kProbeLinearBit = 0x200;      // probe channel 1: a temperature, not humidity
constexpr int32_t kInternalFahrenheitBit = 0x10;  // DeviceConfig

const std::string kCelsius = "\xB0" "C";
const std::string kFahrenheit = "\xB0" "F";
const std::string kPercent = "%";

float TenthsOf(float value) { return static_cast<float>(value * 0.1); }

const std::string& Degrees(int32_t config) { return (config & kFahrenheitBit) ? kFahrenheit : kCelsius; }

}  // namespace

float ScaleChannelValue(int16_t raw, int32_t model, int32_t channelConfig) {
  float value = raw;
  int steps = 1;
  if (HasLoggerLayout(model) && (channelConfig & kInputTypeMask) >= kFirstLinearType) steps = (channelConfig >> 9) & 7;
  for (int i = 0; i < steps; ++i) value = TenthsOf(value);
  return value;
}

void ScaleLiveRegisters(std::span<const uint16_t, 4> registers, int32_t model, const DeviceRegs& regs,
                        std::span<float, 4> values) {
  values[0] = static_cast<int16_t>(registers[0]);
  values[1] = ScaleChannelValue(static_cast<int16_t>(registers[1]), model, regs.Channel1.Config);
  values[2] = ScaleChannelValue(static_cast<int16_t>(registers[2]), model, regs.Channel2.Config);
  values[3] = TenthsOf(static_cast<int16_t>(registers[3]));
}

std::optional<float> CounterValue(uint16_t high, uint16_t low, double scale) {
  const uint32_t count = (uint32_t{high} << 16) | low;
  return ToReadingFloat(count * scale);
}

std::string ChannelUnit(int channel, int32_t model, const DeviceRegs& regs) {
  if (model == kModelUnknown) return {};
  const bool logger = HasLoggerLayout(model);
  auto loggerChannel = [](const Channel& c) {
    return (c.Config & kInputTypeMask) < kFirstLinearType ? Degrees(c.Config) : c.Unit;
  };
  switch (channel) {
    case 1:
      if (logger) return loggerChannel(regs.Channel1);
      if (regs.InputTypeModel == 0 && !(regs.Channel1.Config & kProbeLinearBit)) return kPercent;
      return Degrees(regs.Channel1.Config);
    case 2:
      if (logger) return loggerChannel(regs.Channel2);
      return regs.InputTypeModel == 0 ? Degrees(regs.Channel2.Config) : std::string();
    case 3:
      if (!logger && regs.InputTypeModel == 0) return {};
      return (regs.DeviceConfig & kInternalFahrenheitBit) ? kFahrenheit : kCelsius;
    default:
      return {};
  }
}

}  // namespace device
