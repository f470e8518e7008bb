#pragma once
// Which instruments and values a display configuration names, and the indexes of those values
// in a reading run. Value indexes above 4 name no value: they never reach a buffer or a mask.
#include <cstdint>
#include <span>
#include <vector>

#include "display/display_config.h"

// The distinct device serials shown, in first-use order (chart entries, or the single value).
// Nothing for an element of no kind.
std::vector<uint32_t> DisplayedSerials(const DisplayConfig& config);

// Bit j set: value j (0..4) of the device with this serial is shown.
uint8_t DisplayedValueMask(const DisplayConfig& config, uint32_t serial);

// Gives every channel (the chart entries, or the single value) its index in a run whose
// devices have these serials in this order: position x 5 + value index, or kNoChannel
// when the serial is not in the run or the value index names no value.
void AssignChannelIndexes(DisplayConfig& config, std::span<const uint32_t> runSerials);
