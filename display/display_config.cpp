#include "display/display_config.h"

#include <cstring>

#include "platform/le_bytes.h"

using namespace le_bytes;
namespace layout = display_config_layout;

DisplayConfig DisplayConfig::NewWindowDefaults() {
  DisplayConfig c;
  c.kind = DisplayKind::Chart;
  c.readInterval = kDefaultReadIntervalMs;
  c.decimals = 1;
  c.SetChart(ChartSettings{});
  return c;
}

DisplayConfig DisplayConfig::NewElementDefaults(DisplayKind kind) {
  DisplayConfig c = NewWindowDefaults();
  c.kind = kind;
  switch (kind) {
    case DisplayKind::LcdIndicator: c.SetLcd({}); break;
    case DisplayKind::LedDigits: c.SetLed({}); break;
    case DisplayKind::BarMeter: c.SetBar({}); break;
    case DisplayKind::DialGauge: c.SetDial({}); break;
    case DisplayKind::AnalogMeter: c.SetMeter({}); break;
    case DisplayKind::Chart:
    case DisplayKind::None: break;
  }
  return c;
}

void DisplayConfig::ResetChart() {
  ChartSettings fresh;
  ChartSettings old = Chart();
  fresh.ref1Color = old.ref1Color;
  fresh.ref2Color = old.ref2Color;
  SetChart(fresh);
  chartChannels.clear();
  PutU32(kindPart.data(), layout::kChartChannelCount - layout::kKindPart, 0);
}

std::array<uint8_t, DisplayConfig::kSize> DisplayConfig::Encode() const {
  std::array<uint8_t, kSize> b{};
  uint8_t* p = b.data();
  PutU32(p, layout::kKind, static_cast<uint32_t>(kind));
  PutU32(p, layout::kDeviceSerial, deviceSerial);
  PutU16(p, layout::kValueIndex, valueIndex);
  PutI32(p, layout::kChannelIndex, channelIndex);
  PutI32(p, layout::kReadInterval, readInterval);
  deviceTag.EncodeInto(p + layout::kDeviceTag);
  channelName.EncodeInto(p + layout::kChannelName);
  unit.EncodeInto(p + layout::kUnit);
  PutI16(p, layout::kDecimals, decimals);
  // Our list reference is not 4 bytes wide and means nothing in a file: always 0.
  PutU32(p, layout::kChartListReference, 0);
  std::memcpy(p + layout::kKindPart, kindPart.data(), kindPart.size());
  if (kind == DisplayKind::Chart) {
    PutU32(p, layout::kChartChannelCount, static_cast<uint32_t>(chartChannels.size()));
  }
  return b;
}

DisplayConfig DisplayConfig::Decode(std::span<const uint8_t, kSize> bytes) {
  const uint8_t* p = bytes.data();
  DisplayConfig c;
  c.kind = DisplayKindFromNumber(GetU32(p, layout::kKind));
  c.deviceSerial = GetU32(p, layout::kDeviceSerial);
  c.valueIndex = GetU16(p, layout::kValueIndex);
  c.channelIndex = GetI32(p, layout::kChannelIndex);
  c.readInterval = GetI32(p, layout::kReadInterval);
  c.deviceTag = decltype(c.deviceTag)::Decode(p + layout::kDeviceTag);
  c.channelName = decltype(c.channelName)::Decode(p + layout::kChannelName);
  c.unit = decltype(c.unit)::Decode(p + layout::kUnit);
  c.decimals = GetI16(p, layout::kDecimals);
  std::memcpy(c.kindPart.data(), p + layout::kKindPart, c.kindPart.size());
  return c;
}

uint32_t DisplayConfig::StoredChartChannelCount() const {
  if (kind != DisplayKind::Chart) return 0;
  return GetU32(kindPart.data(), layout::kChartChannelCount - layout::kKindPart);
}
