#pragma once
// Display records of older environment files lack fields that later versions added; the
// environment loader calls this on each decoded record with the file's version.
#include <cstdint>

#include "display/display_config.h"

namespace display_upgrade {
// The file version that added the chart's line width.
constexpr int32_t kLineWidthVersion = 0x66;
// The file version that added the LED digits' background colour.
constexpr int32_t kLedBackgroundVersion = 0x67;
}  // namespace display_upgrade

// Fills what the record's file version did not hold: a chart's line width becomes 1, and the
// LED digits' background takes their off-segment colour (as those versions drew it).
void UpgradeDisplayConfig(DisplayConfig& config, int32_t fileVersion);
