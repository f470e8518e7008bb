#pragma once
// One plotted channel of a chart display: its 40-byte record in the environment file.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "display/display_kind.h"
#include "display/fixed_text.h"

struct ChartChannelEntry {
  static constexpr size_t kSize = 40;

  uint32_t color = 0;         // series colour, 0x00BBGGRR or a system colour
  FixedText<24> name;         // series title: device tag, "/" or " / ", channel name
  uint32_t deviceSerial = 0;
  uint16_t valueIndex = 0;    // 0..4 of the device's value slot
  int32_t channelIndex = kNoChannel;  // set when a reading run starts

  std::array<uint8_t, kSize> Encode() const;
  static ChartChannelEntry Decode(std::span<const uint8_t, kSize> bytes);

  friend bool operator==(const ChartChannelEntry&, const ChartChannelEntry&) = default;
};
