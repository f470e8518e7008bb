// The display records are a file format: these tests read the bytes with their own reading of
// the layout (offsets written out here), not with the records' decoders.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "display/display_config.h"
#include "display/display_config_upgrade.h"
#include "display/display_window_record.h"

namespace {

using Bytes = std::span<const uint8_t>;

uint64_t At(Bytes b, size_t at, size_t width) {
  uint64_t v = 0;
  for (size_t i = 0; i < width; ++i) v |= uint64_t{b[at + i]} << (8 * i);
  return v;
}

std::string TextAt(Bytes b, size_t at, size_t width) {
  std::string s;
  for (size_t i = 0; i < width && b[at + i] != 0; ++i) s.push_back(static_cast<char>(b[at + i]));
  return s;
}

constexpr uint64_t U32(int32_t v) { return static_cast<uint32_t>(v); }

struct Field {
  size_t offset, width;
  uint64_t value;
};

void ExpectFields(Bytes b, const std::vector<Field>& fields) {
  for (const Field& f : fields) EXPECT_EQ(At(b, f.offset, f.width), f.value) << "at " << f.offset;
}

DisplayConfig CommonPart(DisplayKind kind) {
  DisplayConfig c;
  c.kind = kind;
  c.deviceSerial = 12345678;
  c.valueIndex = 4;
  c.channelIndex = 9;
  c.readInterval = 2500;
  c.deviceTag = "Estufa";
  c.channelName = "Contagens";
  c.unit = "\xB0" "C";
  c.decimals = -2;
  return c;
}

void ExpectCommon(Bytes b, DisplayKind kind) {
  ASSERT_EQ(b.size(), 128u);
  ExpectFields(b, {{0, 4, static_cast<uint32_t>(kind)}, {4, 4, 12345678}, {8, 2, 4}, {10, 2, 0},
                   {12, 4, 9}, {16, 4, 2500}, {54, 2, 0xFFFE}, {56, 4, 0}, {60, 4, 0}});
  EXPECT_EQ(TextAt(b, 20, 11), "Estufa");
  EXPECT_EQ(TextAt(b, 31, 11), "Contagens");
  EXPECT_EQ(TextAt(b, 42, 12), "\xB0" "C");
}

// A kind part over the bytes an earlier kind left: each kind writes only its own fields.
template <class Settings>
KindPart OverOldBytes(const Settings& s) {
  KindPart part;
  part.fill(0xEE);
  s.WriteTo(part);
  return part;
}

TEST(DisplayConfigBytes, EveryKindAtItsOffsetsTouchingNothingElse) {
  const std::tuple<DisplayKind, KindPart, std::vector<Field>> cases[] = {
      {DisplayKind::Chart,
       OverOldBytes(ChartSettings{0x8000000F, 0x112233, true, -80, 0xFF, false, 20, 0xFF00, true,
                                  true, 300, -40, 0.5, 3}),
       {{64, 4, 3}, {68, 4, 0x8000000F}, {72, 4, 0x112233}, {76, 1, 1}, {80, 4, U32(-80)},
        {84, 4, 0xFF}, {88, 1, 0}, {92, 4, 20}, {96, 4, 0xFF00}, {100, 1, 1}, {101, 1, 1},
        {104, 4, 300}, {108, 4, U32(-40)}, {112, 8, 0x3FE0000000000000}, {120, 4, 3}}},
      {DisplayKind::LcdIndicator, OverOldBytes(LcdSettings{0x363636, 0xD3D3D3, 0x10203, 12}),
       {{64, 4, 0x363636}, {68, 4, 0xD3D3D3}, {72, 4, 0x10203}, {76, 2, 12}}},
      {DisplayKind::LedDigits, OverOldBytes(LedSettings{0xFF, 0x8000000F, 7, -22, 0xABCDEF}),
       {{64, 4, 0xFF}, {68, 4, 0x8000000F}, {72, 2, 7}, {74, 2, 0xFFEA}, {76, 4, 0xABCDEF}}},
      {DisplayKind::BarMeter,
       OverOldBytes(BarSettings{0xFF, 0x11, 0x22, 0xFF0000, true, false, 25, 150, -50, 170}),
       {{64, 4, 0xFF}, {68, 4, 0x11}, {72, 4, 0x22}, {76, 4, 0xFF0000}, {80, 1, 1}, {81, 1, 0},
        {84, 4, 25}, {88, 4, 150}, {92, 4, U32(-50)}, {96, 2, 170}}},
      {DisplayKind::DialGauge,
       OverOldBytes(DialSettings{1, 2, 3, 4, 5, 6, 7, 179, 300, -10, true, 250, false, 5, true,
                                 true, -5}),
       {{64, 4, 1}, {68, 4, 2}, {72, 4, 3}, {76, 4, 4}, {80, 4, 5}, {84, 4, 6}, {88, 4, 7},
        {92, 2, 179}, {96, 4, 300}, {100, 4, U32(-10)}, {104, 1, 1}, {108, 4, 250}, {112, 1, 0},
        {116, 4, 5}, {120, 1, 1}, {121, 1, 1}, {122, 2, 0xFFFB}}},
      {DisplayKind::AnalogMeter,
       OverOldBytes(MeterSettings{360, 300, 150, true, 280, 170, 0x8000000F, 0x800000, 0xFF,
                                  0xC0C0C0, 0xFFFF, true, 20}),
       {{64, 2, 360}, {68, 4, 300}, {72, 4, 150}, {76, 1, 1}, {80, 4, 280}, {84, 4, 170},
        {88, 4, 0x8000000F}, {92, 4, 0x800000}, {96, 4, 0xFF}, {100, 4, 0xC0C0C0},
        {104, 4, 0xFFFF}, {108, 1, 1}, {110, 2, 20}}},
  };
  for (const auto& [kind, part, fields] : cases) {
    SCOPED_TRACE(static_cast<int>(kind));
    DisplayConfig c = CommonPart(kind);
    c.kindPart = part;
    c.chartChannels.resize(kind == DisplayKind::Chart ? 3 : 0);
    const auto b = c.Encode();
    ExpectCommon(b, kind);
    ExpectFields(b, fields);
    std::vector<bool> defined(128);
    for (const Field& f : fields) std::fill_n(defined.begin() + f.offset, f.width, true);
    for (size_t i = 64; i < 128; ++i) EXPECT_EQ(defined[i] ? 0xEE : b[i], 0xEE) << i;
    // Decoded, with the chart's entries attached as a file reader would, it encodes the same.
    DisplayConfig back = DisplayConfig::Decode(b);
    back.chartChannels.resize(back.StoredChartChannelCount());
    EXPECT_EQ(back.Encode(), b);
  }
}

TEST(DisplayRecordText, CutToTheFieldAndTerminated) {
  DisplayConfig c;
  c.deviceTag = "ABCDEFGHIJKL";          // 12 characters into 10
  c.channelName = "Temporiza\xE7\xE3o";  // code page 1252: cut after the c cedilla
  c.unit = std::string("\xB0" "C\0x", 4);  // nothing after a zero byte
  EXPECT_EQ(c.deviceTag, "ABCDEFGHIJ");
  EXPECT_EQ(c.unit, "\xB0" "C");
  const auto b = c.Encode();
  EXPECT_EQ(TextAt(b, 20, 11), "ABCDEFGHIJ");
  EXPECT_EQ(b[30], 0);
  EXPECT_EQ(TextAt(b, 31, 11), "Temporiza\xE7");
  EXPECT_EQ(b[41], 0);
  EXPECT_EQ(At(b, 42, 3), 0x43B0u);
}

TEST(ChartChannelEntryBytes, Layout) {
  ChartChannelEntry e;
  e.color = 0xC08040;
  e.name = std::string(30, 'x');
  e.deviceSerial = 99;
  e.valueIndex = 2;
  e.channelIndex = 7;
  const auto b = e.Encode();
  ASSERT_EQ(b.size(), 40u);
  ExpectFields(b, {{0, 4, 0xC08040}, {27, 1, 0}, {28, 4, 99}, {32, 2, 2}, {34, 2, 0}, {36, 4, 7}});
  EXPECT_EQ(TextAt(b, 4, 24), std::string(23, 'x'));
  EXPECT_EQ(ChartChannelEntry::Decode(e.Encode()), e);
}

TEST(DisplayWindowRecordBytes, PlacementThenConfig) {
  DisplayWindowRecord r;
  r.maximized = true;
  r.left = -8;
  r.top = 30;
  r.width = 340;
  r.height = 250;
  r.config = CommonPart(DisplayKind::BarMeter);
  r.config.SetBar({1, 2, 3, 4, true, true, 10, 100, 0, 10});
  auto b = r.Encode();
  ASSERT_EQ(b.size(), 152u);
  ExpectFields(b, {{0, 4, 1}, {4, 4, U32(-8)}, {8, 4, 30}, {12, 4, 340}, {16, 4, 250}, {20, 4, 0},
                   {24 + 88, 4, 100}, {24 + 96, 2, 10}});
  ExpectCommon(Bytes(b).subspan(24), DisplayKind::BarMeter);

  const DisplayWindowRecord back = DisplayWindowRecord::Decode(r.Encode());
  EXPECT_EQ(std::tie(back.maximized, back.left, back.top, back.width, back.height),
            std::tie(r.maximized, r.left, r.top, r.width, r.height));
  EXPECT_EQ(back.config.Bar(), r.config.Bar());
  b[0] = 2;  // only 1 means maximized
  EXPECT_FALSE(DisplayWindowRecord::Decode(b).maximized);
}

TEST(DisplayConfigDefaults, ChartResetKeepsOnlyTheReferenceColours) {
  DisplayConfig c = DisplayConfig::NewWindowDefaults();
  c.SetChart({1, 2, true, 3, 0x123456, true, 4, 0x654321, false, true, 5, 6, 1.0, 7});
  c.chartChannels.resize(2);
  c.ResetChart();
  ChartSettings expected;
  expected.ref1Color = 0x123456;
  expected.ref2Color = 0x654321;
  EXPECT_EQ(c.Chart(), expected);
  EXPECT_TRUE(c.chartChannels.empty());
  EXPECT_EQ(c.StoredChartChannelCount(), 0u);
}

TEST(DisplayConfigUpgrade, OlderFilesGetTheMissingFields) {
  // {file version, kind, offset, value there}: before 0x66 a chart's line width (120) becomes
  // 1; before 0x67 the LED background (76) takes the off colour (68); other kinds keep theirs.
  const std::tuple<int32_t, DisplayKind, size_t, uint32_t> cases[] = {
      {0x65, DisplayKind::Chart, 120, 1},       {0x66, DisplayKind::Chart, 120, 9},
      {0x65, DisplayKind::LedDigits, 76, 0xAA}, {0x66, DisplayKind::LedDigits, 76, 0xAA},
      {0x67, DisplayKind::LedDigits, 76, 0xBB}, {0x60, DisplayKind::LcdIndicator, 76, 0xBB}};
  for (auto [version, kind, offset, expected] : cases) {
    DisplayConfig c;
    c.kind = kind;
    c.kindPart[120 - 64] = 9;
    c.kindPart[68 - 64] = 0xAA;
    c.kindPart[76 - 64] = 0xBB;
    UpgradeDisplayConfig(c, version);
    EXPECT_EQ(At(c.Encode(), offset, 4), expected) << version;
  }
}

TEST(DisplayConfigRobustness, RandomRecordsDecodeKeepTheirKindPartAndSettle) {
  std::mt19937 rng(20240611);
  for (int round = 0; round < 2000; ++round) {
    std::array<uint8_t, 128> raw{};
    for (auto& x : raw) x = static_cast<uint8_t>(rng());
    if (round % 3 == 0) raw[0] = static_cast<uint8_t>(round % 8), raw[1] = raw[2] = raw[3] = 0;
    const DisplayConfig c = DisplayConfig::Decode(raw);
    EXPECT_LE(c.deviceTag.size(), 10u);
    EXPECT_LE(c.channelName.size(), 10u);
    EXPECT_LE(c.unit.size(), 11u);
    const auto b = c.Encode();
    // Unknown kinds are no element; the padding after the value index and the list reference
    // of another process are not kept; a decoded chart has no entries attached yet.
    const uint64_t kind = At(raw, 0, 4);
    EXPECT_EQ(At(b, 0, 4), kind <= 6 ? kind : 0);
    EXPECT_EQ(At(b, 10, 2) + At(b, 56, 4), 0u);
    EXPECT_EQ(At(b, 64, 4), kind == 1 ? 0 : At(raw, 64, 4));
    EXPECT_TRUE(std::equal(b.begin() + 68, b.end(), raw.begin() + 68));
    EXPECT_EQ(DisplayConfig::Decode(b).Encode(), b);
  }
}

}  // namespace
