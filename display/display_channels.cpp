#include "display/display_channels.h"

#include <algorithm>

namespace {

template <typename Fn>
void ForEachChannel(const DisplayConfig& config, Fn fn) {
  if (config.kind == DisplayKind::Chart) {
    for (const ChartChannelEntry& e : config.chartChannels) fn(e.deviceSerial, e.valueIndex);
  } else if (config.kind != DisplayKind::None) {
    fn(config.deviceSerial, config.valueIndex);
  }
}

int32_t IndexInRun(std::span<const uint32_t> runSerials, uint32_t serial, uint16_t valueIndex) {
  auto it = std::find(runSerials.begin(), runSerials.end(), serial);
  if (it == runSerials.end()) return kNoChannel;
  return GlobalChannelIndexOf(static_cast<size_t>(it - runSerials.begin()), valueIndex);
}

}  // namespace

std::vector<uint32_t> DisplayedSerials(const DisplayConfig& config) {
  std::vector<uint32_t> serials;
  ForEachChannel(config, [&](uint32_t serial, uint16_t) {
    if (std::find(serials.begin(), serials.end(), serial) == serials.end()) serials.push_back(serial);
  });
  return serials;
}

uint8_t DisplayedValueMask(const DisplayConfig& config, uint32_t serial) {
  uint8_t mask = 0;
  ForEachChannel(config, [&](uint32_t s, uint16_t valueIndex) {
    if (s == serial && valueIndex <= kMaxValueIndex) mask |= static_cast<uint8_t>(1u << valueIndex);
  });
  return mask;
}

void AssignChannelIndexes(DisplayConfig& config, std::span<const uint32_t> runSerials) {
  if (config.kind == DisplayKind::Chart) {
    for (ChartChannelEntry& e : config.chartChannels) {
      e.channelIndex = IndexInRun(runSerials, e.deviceSerial, e.valueIndex);
    }
  } else {
    config.channelIndex = IndexInRun(runSerials, config.deviceSerial, config.valueIndex);
  }
}
