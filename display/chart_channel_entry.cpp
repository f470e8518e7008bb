#include "display/chart_channel_entry.h"

#include "platform/le_bytes.h"

using namespace le_bytes;

namespace {
constexpr size_t kColor = 0;
constexpr size_t kName = 4;
constexpr size_t kSerial = 28;
constexpr size_t kValueIndex = 32;
constexpr size_t kChannelIndex = 36;
}  // namespace

std::array<uint8_t, ChartChannelEntry::kSize> ChartChannelEntry::Encode() const {
  std::array<uint8_t, kSize> b{};
  PutU32(b.data(), kColor, color);
  name.EncodeInto(b.data() + kName);
  PutU32(b.data(), kSerial, deviceSerial);
  PutU16(b.data(), kValueIndex, valueIndex);
  PutI32(b.data(), kChannelIndex, channelIndex);
  return b;
}

ChartChannelEntry ChartChannelEntry::Decode(std::span<const uint8_t, kSize> bytes) {
  const uint8_t* b = bytes.data();
  ChartChannelEntry e;
  e.color = GetU32(b, kColor);
  e.name = decltype(e.name)::Decode(b + kName);
  e.deviceSerial = GetU32(b, kSerial);
  e.valueIndex = GetU16(b, kValueIndex);
  e.channelIndex = GetI32(b, kChannelIndex);
  return e;
}
