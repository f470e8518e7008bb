#include "tools/sim/stream_output.h"

#include <cstdlib>

namespace sim {
namespace {

bool IsProbe(const RegisterMap& map) { return (map.Holding(reg::kModelAndFirmware) & 0xE000) != 0; }
uint16_t Firmware(const RegisterMap& map) { return map.Holding(reg::kModelAndFirmware) & 0x1FFF; }
int16_t Signed(uint16_t word) { return static_cast<int16_t>(word); }

constexpr uint16_t kConverted = 0x80;  // channel configuration: converted while streaming
constexpr uint16_t kTypeMask = 0x7F;

// One conversion's time by rate code (rows) and mains filter: none, 50 Hz, 60 Hz.
constexpr double kConversionMs[4][3] = {
    {7.8125, 8.3, 10}, {31.25, 41.7, 50}, {62.5, 75, 70}, {125, 141.6, 130}};

}  // namespace

bool StreamingOn(const RegisterMap& map) { return (map.Holding(reg::kDeviceConfig) & kStreamingBit) != 0; }

double StreamPeriodMs(const RegisterMap& map) {
  const uint16_t config = map.Holding(reg::kDeviceConfig);
  const bool probe = IsProbe(map);
  const uint16_t kind = map.Holding(reg::kLiveValue0);
  if (probe && kind == 0) return (config & 0x02) ? 3000 : 1000;

  // Conversions per record: a Pt100 (the probe's kind 1, model 0's type 0) needs two, a
  // thermocouple wants the cold junction, which comes with the ambient conversion.
  int conversions = 0;
  bool coldJunction = false;
  const uint16_t channel1 = map.Holding(8);
  if (channel1 & kConverted) {
    const int type = probe ? kind : (channel1 & kTypeMask);
    const bool pt100 = probe ? type == 1 : type == 0;
    conversions += pt100 ? 2 : 1;
    coldJunction |= !pt100 && type < 9;
  }
  const uint16_t channel2 = map.Holding(9);
  if (!probe && (channel2 & kConverted)) {
    const int type = channel2 & kTypeMask;
    conversions += type == 0 ? 2 : 1;
    coldJunction |= type != 0 && type < 9;
  }
  if ((config & 0x20) || coldJunction) ++conversions;

  const bool filter = config & 0x04;
  const int column = !filter ? 0 : ((config & 0x08) ? 2 : 1);
  double period = static_cast<float>(conversions * static_cast<float>(kConversionMs[config & 3][column]));
  if (conversions % 2 == 0 && filter) period += (config & 0x08) ? 10.0f : 8.3f;
  return static_cast<float>(period);
}

std::string FixedPointText(long value, int decimals, char decimalMark) {
  const bool negative = value < 0;
  std::string digits = std::to_string(std::labs(value));
  if (decimals > 0) {
    if (digits.size() <= static_cast<size_t>(decimals)) digits.insert(0, decimals + 1 - digits.size(), '0');
    digits.insert(digits.size() - static_cast<size_t>(decimals), 1, decimalMark);
  }
  return negative ? "-" + digits : digits;
}

StreamFields StreamFieldTexts(const RegisterMap& map, char decimalMark) {
  StreamFields fields;
  const bool probe = IsProbe(map);
  const uint16_t config = map.Holding(reg::kDeviceConfig);
  fields[0] = std::to_string(Signed(map.Holding(reg::kLiveValue0)));
  auto channel = [&](uint16_t valueReg, uint16_t configReg) {
    const uint16_t channelConfig = map.Holding(configReg);
    const int type = channelConfig & kTypeMask;
    const int decimals = (!probe && type >= 9) ? (channelConfig >> 9) & 7 : 1;
    return FixedPointText(Signed(map.Holding(valueReg)), decimals, decimalMark);
  };
  if (probe) {
    fields[1] = channel(reg::kChannel1Value, 8);
    if (map.Holding(reg::kLiveValue0) == 0) fields[2] = channel(reg::kChannel2Value, 9);
    fields[3] = FixedPointText(Signed(map.Holding(reg::kAmbientValue)), 1, decimalMark);
    return fields;
  }
  if (map.Holding(8) & kConverted) fields[1] = channel(reg::kChannel1Value, 8);
  if (map.Holding(9) & kConverted) fields[2] = channel(reg::kChannel2Value, 9);
  if (config & 0x20) fields[3] = FixedPointText(Signed(map.Holding(reg::kAmbientValue)), 1, decimalMark);
  if (Firmware(map) >= reg::kCounterFirmware) {
    const uint32_t counter = (uint32_t{map.Holding(reg::kCounterHigh)} << 16) | map.Holding(reg::kCounterLow);
    fields[4] = std::to_string(counter);
  }
  return fields;
}

std::string StreamRecordText(const StreamFields& fields, uint32_t time) {
  std::string text = "#";
  for (const std::string& field : fields) text += field + ";";
  text += std::to_string(time);
  text += "\r\n";
  return text;
}

}  // namespace sim
