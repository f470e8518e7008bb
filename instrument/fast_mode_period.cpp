#include "instrument/fast_mode_period.h"

#include "instrument/device_regs_image.h"

namespace device {
namespace {

constexpr int32_t kConvertedBit = 0x80;     // Channel.Config: converted in streaming mode
constexpr int32_t kInputTypeMask = 0x7F;
constexpr int32_t kAmbientConvertedBit = 0x20;  // DeviceConfig
constexpr int32_t kSlowProbeBit = 0x02;         // DeviceConfig, humidity probe: 3 s instead of 1 s

// Base time by rate code (DeviceConfig bits 0..1) and mains filter (bits 2 and 3).
constexpr float kBaseMs[4][3] = {
    // bit 2 clear, bit 2 set and bit 3 clear, bits 2 and 3 set
    {7.8125f, 8.3f, 10.0f},
    {31.25f, 41.7f, 50.0f},
    {62.5f, 75.0f, 70.0f},
    {125.0f, 141.6f, 130.0f},
};

}  // namespace

float FastModePeriod(int32_t model, const DeviceRegs& regs) {
  const bool logger = HasLoggerLayout(model);
  if (!logger && regs.InputTypeModel == 0) return (regs.DeviceConfig & kSlowProbeBit) ? 3000.0f : 1000.0f;

  int conversions = 0;
  bool temperature = false;
  if (regs.Channel1.Config & kConvertedBit) {
    conversions = 1;
    const int32_t type = logger ? (regs.Channel1.Config & kInputTypeMask) : regs.InputTypeModel;
    if ((!logger && type == 1) || (logger && type == 0))
      conversions = 2;
    else if (type < 9)
      temperature = true;
  }
  if (logger && (regs.Channel2.Config & kConvertedBit)) {
    const int32_t type = regs.Channel2.Config & kInputTypeMask;
    ++conversions;
    if (type == 0)
      ++conversions;
    else if (type < 9)
      temperature = true;
  }
  const int m = (regs.DeviceConfig & kAmbientConvertedBit) || temperature ? conversions + 1 : conversions;

  const int rate = regs.DeviceConfig & 3;
  const bool filter = regs.DeviceConfig & 4;
  const bool filter60 = regs.DeviceConfig & 8;
  const float base = kBaseMs[rate][!filter ? 0 : (filter60 ? 2 : 1)];
  float period = static_cast<float>(m) * base;
  if (m % 2 == 0 && filter) period += filter60 ? 10.0f : 8.3f;
  return period;
}

}  // namespace device
