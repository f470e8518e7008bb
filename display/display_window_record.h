#pragma once
// DisplayWindowRecord: one display window in the environment file (152 bytes, little-endian):
// its placement, then its DisplayConfig. For a chart the file follows it with the chart's
// channel entries, which travel here inside config.chartChannels.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "display/display_config.h"

struct DisplayWindowRecord {
  static constexpr size_t kSize = 152;
  static constexpr size_t kConfigOffset = 24;

  bool maximized = false;
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  DisplayConfig config;

  std::array<uint8_t, kSize> Encode() const;
  // config.chartChannels comes back empty; see DisplayConfig::StoredChartChannelCount.
  static DisplayWindowRecord Decode(std::span<const uint8_t, kSize> bytes);
};
