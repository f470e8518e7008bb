#pragma once
// What a display element shows, and how a value of a reading run is addressed.
#include <cstddef>
#include <cstdint>

enum class DisplayKind : uint32_t {
  None = 0,
  Chart = 1,
  LcdIndicator = 2,  // TSegmentIndicator
  LedDigits = 3,     // TDigitDisplay
  BarMeter = 4,      // TBarMeter
  DialGauge = 5,     // TDialGauge
  AnalogMeter = 6,   // TAnalogMeter
};

// A kind number read from a file or handed in from outside; anything unknown is no element.
constexpr DisplayKind DisplayKindFromNumber(uint32_t number) {
  return number <= 6 ? static_cast<DisplayKind>(number) : DisplayKind::None;
}

// A reading run addresses a value as device position x 5 + value index; this marks "no channel".
constexpr int32_t kNoChannel = 0xFFFF;
constexpr int kValuesPerDevice = 5;
// Value indexes of a device's five-value slot: 0 digital input, 1 channel 1, 2 channel 2,
// 3 internal (ambient) channel, 4 counter.
constexpr uint16_t kMaxValueIndex = 4;
constexpr uint16_t kCounterValueIndex = 4;

// The channel index of value `valueIndex` of the device at `devicePosition`, or kNoChannel
// when the value index names no value of a slot.
constexpr int32_t GlobalChannelIndexOf(size_t devicePosition, uint16_t valueIndex) {
  if (valueIndex > kMaxValueIndex) return kNoChannel;
  size_t index = devicePosition * kValuesPerDevice + valueIndex;
  return index < static_cast<size_t>(kNoChannel) ? static_cast<int32_t>(index) : kNoChannel;
}
