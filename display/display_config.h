#pragma once
// DisplayConfig: what one display element shows and how. Its 128 bytes are copied whole
// between the display window, the configuration wizard and the environment file, so the
// encoding below is a file format (little-endian, fixed offsets).
//
// The record of the file holds a 4-byte reference to the chart's channel list; here the list
// is an owned vector beside the 128 bytes. That field is written as 0 and ignored on reading,
// and the chart's channel count is always the size of the vector.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "display/chart_channel_entry.h"
#include "display/display_kind.h"
#include "display/display_kind_settings.h"
#include "display/fixed_text.h"

struct DisplayConfig {
  static constexpr size_t kSize = 128;
  static constexpr int32_t kDefaultReadIntervalMs = 1000;

  DisplayKind kind = DisplayKind::None;
  uint32_t deviceSerial = 0;  // the device whose value is shown
  uint16_t valueIndex = 0;    // 0..4 of the device's value slot (kinds 2 to 6)
  int32_t channelIndex = 0;   // set when a reading run starts; kNoChannel = none
  int32_t readInterval = 0;   // ms, set when a reading run starts
  FixedText<11> deviceTag;    // code page 1252, at most 10 characters
  FixedText<11> channelName;  // at most 10 characters
  FixedText<12> unit;         // at most 11 characters
  int16_t decimals = 0;
  // Interpreted by kind through the settings types; bytes the current kind does not define
  // keep what an earlier kind left there.
  KindPart kindPart{};
  // Chart channels in the order of the chart's series (kind 1; empty for other kinds).
  std::vector<ChartChannelEntry> chartChannels;

  // A new display window: a chart with no channels, read interval 1000 ms, one decimal.
  static DisplayConfig NewWindowDefaults();
  // A new window's record turned into `kind`, with the settings a new element of it gets.
  static DisplayConfig NewElementDefaults(DisplayKind kind);

  // The chart part of a new window (reference colours kept) and no chart channels: what the
  // record gets when the user turns an element of another kind into a chart.
  void ResetChart();

  ChartSettings Chart() const { return ChartSettings::Read(kindPart); }
  LcdSettings Lcd() const { return LcdSettings::Read(kindPart); }
  LedSettings Led() const { return LedSettings::Read(kindPart); }
  BarSettings Bar() const { return BarSettings::Read(kindPart); }
  DialSettings Dial() const { return DialSettings::Read(kindPart); }
  MeterSettings Meter() const { return MeterSettings::Read(kindPart); }
  void SetChart(const ChartSettings& s) { s.WriteTo(kindPart); }
  void SetLcd(const LcdSettings& s) { s.WriteTo(kindPart); }
  void SetLed(const LedSettings& s) { s.WriteTo(kindPart); }
  void SetBar(const BarSettings& s) { s.WriteTo(kindPart); }
  void SetDial(const DialSettings& s) { s.WriteTo(kindPart); }
  void SetMeter(const MeterSettings& s) { s.WriteTo(kindPart); }

  // The 128 bytes; for a chart the channel count is the size of chartChannels.
  std::array<uint8_t, kSize> Encode() const;
  // chartChannels comes back empty: the entries follow the record in the file, and their
  // number is StoredChartChannelCount(). A kind above 6 reads as None.
  static DisplayConfig Decode(std::span<const uint8_t, kSize> bytes);

  // The chart channel count held in the kind part as decoded, before the entries that follow
  // the record in a file are attached. 0 for every kind other than the chart.
  uint32_t StoredChartChannelCount() const;
};

// Field offsets of the common part, shared by the codec and the window record.
namespace display_config_layout {
constexpr size_t kKind = 0;
constexpr size_t kDeviceSerial = 4;
constexpr size_t kValueIndex = 8;
constexpr size_t kChannelIndex = 12;
constexpr size_t kReadInterval = 16;
constexpr size_t kDeviceTag = 20;
constexpr size_t kChannelName = 31;
constexpr size_t kUnit = 42;
constexpr size_t kDecimals = 54;
constexpr size_t kChartListReference = 56;
constexpr size_t kKindPart = 64;
constexpr size_t kChartChannelCount = 64;
}  // namespace display_config_layout
