#pragma once
// The settings of each display kind, as kept in the 64-byte kind part of a DisplayConfig.
// The kinds share those bytes: each kind reads and writes only the fields it defines, so the
// bytes an earlier kind left behind stay untouched (the file keeps them as they were).
// Member defaults are what the configuration wizard offers for a new element of that kind,
// except for the chart, whose defaults are those of a new display window.
#include <array>
#include <cstdint>

using KindPart = std::array<uint8_t, 64>;

namespace display_colors {
constexpr uint32_t kButtonFace = 0x8000000F;  // system colour 15
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kGreen = 0x008000;
constexpr uint32_t kBlue = 0xFF0000;
constexpr uint32_t kNavy = 0x800000;
constexpr uint32_t kYellow = 0x00FFFF;
constexpr uint32_t kGrey = 0x808080;
constexpr uint32_t kSilver = 0xC0C0C0;
}  // namespace display_colors

// Kind 1. The channel count is not here: it is always the size of the chart channel list.
struct ChartSettings {
  uint32_t chartColor = display_colors::kButtonFace;
  uint32_t backColor = display_colors::kWhite;  // the plotting area
  bool ref1On = false;
  int32_t ref1Value = 80;
  uint32_t ref1Color = 0;
  bool ref2On = false;
  int32_t ref2Value = 20;
  uint32_t ref2Color = 0;
  bool channelsSelected = true;  // every channel series shows in the legend while set
  bool autoY = false;
  int32_t yMax = 100;
  int32_t yMin = 0;
  double visiblePeriod = 2.0 / 1440.0;  // days: two minutes
  int32_t lineWidth = 1;

  static ChartSettings Read(const KindPart& part);
  void WriteTo(KindPart& part) const;
  friend bool operator==(const ChartSettings&, const ChartSettings&) = default;
};

// Kind 2, TSegmentIndicator.
struct LcdSettings {
  uint32_t onColor = 0x363636;
  uint32_t offColor = 0xD3D3D3;
  uint32_t backColor = 0xD3D3D3;
  uint16_t digits = 5;  // 1..12

  static LcdSettings Read(const KindPart& part);
  void WriteTo(KindPart& part) const;
  friend bool operator==(const LcdSettings&, const LcdSettings&) = default;
};

// Kind 3, TDigitDisplay.
struct LedSettings {
  uint32_t onColor = display_colors::kRed;
  uint32_t offColor = display_colors::kButtonFace;
  int16_t digits = 5;        // 1..12
  int16_t segmentSize = 8;   // 2..22
  uint32_t backColor = display_colors::kButtonFace;

  static LedSettings Read(const KindPart& part);
  void WriteTo(KindPart& part) const;
  friend bool operator==(const LedSettings&, const LedSettings&) = default;
};

// Kind 4, TBarMeter.
struct BarSettings {
  uint32_t barColor = display_colors::kRed;
  uint32_t barBackColor = display_colors::kButtonFace;
  uint32_t backColor = display_colors::kButtonFace;
  uint32_t markerColor = display_colors::kBlue;
  bool showMarker = true;
  bool showIncrements = true;
  int32_t increment = 10;  // 1..100
  int32_t max = 100;
  int32_t min = 0;
  uint16_t thickness = 10;  // 5..170

  static BarSettings Read(const KindPart& part);
  void WriteTo(KindPart& part) const;
  friend bool operator==(const BarSettings&, const BarSettings&) = default;
};

// Kind 5, TDialGauge.
struct DialSettings {
  uint32_t needleColor = display_colors::kNavy;
  uint32_t textColor = display_colors::kBlack;
  uint32_t centerColor = display_colors::kGrey;
  uint32_t faceColor = display_colors::kButtonFace;
  uint32_t highColor = display_colors::kRed;
  uint32_t midColor = display_colors::kYellow;
  uint32_t lowColor = display_colors::kGreen;
  uint16_t angle = 100;  // degrees, 30..179
  int32_t max = 100;
  int32_t min = 0;
  bool highOn = false;
  int32_t highThreshold = 80;
  bool lowOn = false;
  int32_t lowThreshold = 20;
  bool midOn = false;
  bool centerOn = true;
  int16_t mainTicks = 5;  // the wizard shows and edits this + 1

  static DialSettings Read(const KindPart& part);
  void WriteTo(KindPart& part) const;
  friend bool operator==(const DialSettings&, const DialSettings&) = default;
};

// Kind 6, TAnalogMeter.
struct MeterSettings {
  uint16_t angle = 270;  // degrees, 30..360
  int32_t max = 100;
  int32_t min = 0;
  bool showZones = true;
  int32_t highZone = 80;
  int32_t lowZone = 20;
  uint32_t backColor = display_colors::kButtonFace;
  uint32_t textColor = display_colors::kNavy;  // ticks and font
  uint32_t highColor = display_colors::kRed;
  uint32_t midColor = display_colors::kSilver;
  uint32_t lowColor = display_colors::kYellow;
  bool logScale = false;
  uint16_t tickCount = 5;  // 2..20

  static MeterSettings Read(const KindPart& part);
  void WriteTo(KindPart& part) const;
  friend bool operator==(const MeterSettings&, const MeterSettings&) = default;
};
