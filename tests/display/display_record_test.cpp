// The display records are a file format: these tests check the bytes with their own reading of
// the layout (offsets written out here), not with the record's decoder.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "display/display_config.h"
#include "display/display_config_upgrade.h"
#include "display/display_window_record.h"

namespace {

using Bytes = std::vector<uint8_t>;

template <size_t N>
Bytes ToBytes(const std::array<uint8_t, N>& a) { return Bytes(a.begin(), a.end()); }

uint64_t LittleEndian(const Bytes& b, size_t at, size_t width) {
  uint64_t v = 0;
  for (size_t i = 0; i < width; ++i) v |= uint64_t{b.at(at + i)} << (8 * i);
  return v;
}

double F64At(const Bytes& b, size_t at) {
  uint64_t raw = LittleEndian(b, at, 8);
  double d;
  std::memcpy(&d, &raw, 8);
  return d;
}

std::string TextAt(const Bytes& b, size_t at, size_t width) {
  std::string s;
  for (size_t i = 0; i < width && b.at(at + i) != 0; ++i) s.push_back(static_cast<char>(b[at + i]));
  return s;
}

struct Field {
  size_t offset;
  size_t width;
  uint64_t value;
};

void ExpectFields(const Bytes& b, const std::vector<Field>& fields) {
  for (const Field& f : fields) {
    EXPECT_EQ(LittleEndian(b, f.offset, f.width), f.value) << "at offset " << f.offset;
  }
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

const std::vector<Field> kCommonFields = {
    {4, 4, 12345678}, {8, 2, 4}, {10, 2, 0}, {12, 4, 9}, {16, 4, 2500},
    {54, 2, 0xFFFE},  {56, 4, 0}, {60, 4, 0},
};

void ExpectCommon(const Bytes& b, uint32_t kind) {
  ASSERT_EQ(b.size(), 128u);
  EXPECT_EQ(LittleEndian(b, 0, 4), kind);
  ExpectFields(b, kCommonFields);
  EXPECT_EQ(TextAt(b, 20, 11), "Estufa");
  EXPECT_EQ(TextAt(b, 31, 11), "Contagens");
  EXPECT_EQ(TextAt(b, 42, 12), "\xB0" "C");
}

TEST(DisplayConfigBytes, ChartKindPartAndChannelCount) {
  DisplayConfig c = CommonPart(DisplayKind::Chart);
  ChartSettings s;
  s.chartColor = 0x8000000F;
  s.backColor = 0x00112233;
  s.ref1On = true;
  s.ref1Value = -80;
  s.ref1Color = 0x0000FF;
  s.ref2On = false;
  s.ref2Value = 20;
  s.ref2Color = 0x00FF00;
  s.channelsSelected = true;
  s.autoY = true;
  s.yMax = 300;
  s.yMin = -40;
  s.visiblePeriod = 2.0 / 1440.0;
  s.lineWidth = 3;
  c.SetChart(s);
  c.chartChannels.resize(3);

  Bytes b = ToBytes(c.Encode());
  ExpectCommon(b, 1);
  ExpectFields(b, {{64, 4, 3}, {68, 4, 0x8000000F}, {72, 4, 0x00112233}, {76, 1, 1},
                   {80, 4, static_cast<uint32_t>(-80)}, {84, 4, 0xFF}, {88, 1, 0}, {92, 4, 20},
                   {96, 4, 0xFF00}, {100, 1, 1}, {101, 1, 1}, {104, 4, 300},
                   {108, 4, static_cast<uint32_t>(-40)}, {120, 4, 3}});
  EXPECT_DOUBLE_EQ(F64At(b, 112), 2.0 / 1440.0);
  // Read back, the count tells how many entries follow the record in a file.
  EXPECT_EQ(DisplayConfig::Decode(c.Encode()).StoredChartChannelCount(), 3u);
}

TEST(DisplayConfigBytes, EveryOtherKindAtItsOffsets) {
  struct Case {
    const char* name;
    DisplayKind kind;
    void (*fill)(DisplayConfig&);
    std::vector<Field> fields;
  };
  const std::vector<Case> cases = {
      {"lcd", DisplayKind::LcdIndicator,
       [](DisplayConfig& c) { c.SetLcd({0x363636, 0xD3D3D3, 0x010203, 12}); },
       {{64, 4, 0x363636}, {68, 4, 0xD3D3D3}, {72, 4, 0x010203}, {76, 2, 12}}},
      {"led", DisplayKind::LedDigits,
       [](DisplayConfig& c) { c.SetLed({0xFF, 0x8000000F, 7, 22, 0x00ABCDEF}); },
       {{64, 4, 0xFF}, {68, 4, 0x8000000F}, {72, 2, 7}, {74, 2, 22}, {76, 4, 0xABCDEF}}},
      {"bar", DisplayKind::BarMeter,
       [](DisplayConfig& c) {
         c.SetBar({0xFF, 0x11, 0x22, 0xFF0000, true, false, 25, 150, -50, 170});
       },
       {{64, 4, 0xFF}, {68, 4, 0x11}, {72, 4, 0x22}, {76, 4, 0xFF0000}, {80, 1, 1}, {81, 1, 0},
        {84, 4, 25}, {88, 4, 150}, {92, 4, static_cast<uint32_t>(-50)}, {96, 2, 170}}},
      {"dial", DisplayKind::DialGauge,
       [](DisplayConfig& c) {
         c.SetDial({1, 2, 3, 4, 5, 6, 7, 179, 300, -10, true, 250, false, 5, true, true, 5});
       },
       {{64, 4, 1}, {68, 4, 2}, {72, 4, 3}, {76, 4, 4}, {80, 4, 5}, {84, 4, 6}, {88, 4, 7},
        {92, 2, 179}, {96, 4, 300}, {100, 4, static_cast<uint32_t>(-10)}, {104, 1, 1},
        {108, 4, 250}, {112, 1, 0}, {116, 4, 5}, {120, 1, 1}, {121, 1, 1}, {122, 2, 5}}},
      {"meter", DisplayKind::AnalogMeter,
       [](DisplayConfig& c) {
         c.SetMeter({360, 300, 150, true, 280, 170, 0x8000000F, 0x800000, 0xFF, 0xC0C0C0,
                     0xFFFF, true, 20});
       },
       {{64, 2, 360}, {68, 4, 300}, {72, 4, 150}, {76, 1, 1}, {80, 4, 280}, {84, 4, 170},
        {88, 4, 0x8000000F}, {92, 4, 0x800000}, {96, 4, 0xFF}, {100, 4, 0xC0C0C0},
        {104, 4, 0xFFFF}, {108, 1, 1}, {110, 2, 20}}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    DisplayConfig c = CommonPart(k.kind);
    k.fill(c);
    Bytes b = ToBytes(c.Encode());
    ExpectCommon(b, static_cast<uint32_t>(k.kind));
    ExpectFields(b, k.fields);
    // And back: the decoded record encodes to the same bytes.
    EXPECT_EQ(ToBytes(DisplayConfig::Decode(c.Encode()).Encode()), b);
  }
}

TEST(DisplayConfigBytes, DecodesBytesLaidOutByHand) {
  Bytes b(128, 0);
  auto put = [&](size_t at, size_t width, uint64_t v) {
    for (size_t i = 0; i < width; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  put(0, 4, 5);
  put(4, 4, 42);
  put(8, 2, 3);
  put(10, 2, 0xBEEF);      // not part of the value index
  put(12, 4, 0xFFFF);
  put(56, 4, 0xDEADBEEF);  // a list pointer of the old program: meaningless here
  std::memcpy(&b[20], "Tervana", 7);
  put(96, 4, 200);
  put(100, 4, static_cast<uint32_t>(-100));
  put(122, 2, 9);
  auto decode = [&] { return DisplayConfig::Decode(std::span<const uint8_t, 128>(b.data(), 128)); };
  DisplayConfig c = decode();
  EXPECT_EQ(c.kind, DisplayKind::DialGauge);
  EXPECT_EQ(c.deviceSerial, 42u);
  EXPECT_EQ(c.valueIndex, 3);
  EXPECT_EQ(c.channelIndex, kNoChannel);
  EXPECT_EQ(c.deviceTag, "Tervana");
  EXPECT_EQ(c.Dial().max, 200);
  EXPECT_EQ(c.Dial().min, -100);
  EXPECT_EQ(c.Dial().mainTicks, 9);
  Bytes again = ToBytes(c.Encode());
  EXPECT_EQ(LittleEndian(again, 10, 2), 0u);
  EXPECT_EQ(LittleEndian(again, 56, 4), 0u);
  for (uint32_t kind : {7u, 0x80000001u}) {  // unknown kinds are no element
    put(0, 4, kind);
    EXPECT_EQ(decode().kind, DisplayKind::None);
  }
}

TEST(DisplayConfigBytes, KindChangeKeepsBytesTheNewKindDoesNotDefine) {
  DisplayConfig c = DisplayConfig::NewWindowDefaults();
  ChartSettings chart = c.Chart();
  chart.yMax = 777;
  chart.lineWidth = 4;
  c.SetChart(chart);
  c.kind = DisplayKind::LcdIndicator;
  c.SetLcd({0x363636, 0xD3D3D3, 0xD3D3D3, 6});
  Bytes b = ToBytes(c.Encode());
  EXPECT_EQ(LittleEndian(b, 104, 4), 777u);  // the chart's Y max is still in the file
  EXPECT_EQ(LittleEndian(b, 120, 4), 4u);
  DisplayConfig back = DisplayConfig::Decode(c.Encode());
  EXPECT_EQ(back.Lcd(), (LcdSettings{0x363636, 0xD3D3D3, 0xD3D3D3, 6}));
  EXPECT_EQ(ToBytes(back.Encode()), b);
}

TEST(DisplayConfigText, FieldsAreCutToTheirWidthAndStayTerminated) {
  DisplayConfig c;
  c.deviceTag = "ABCDEFGHIJKL";  // 12 characters into 10
  c.channelName = "Temporiza\xE7\xE3o";  // cp1252: cut after the c cedilla
  c.unit = "\xB0" "C";
  EXPECT_EQ(c.deviceTag, "ABCDEFGHIJ");
  EXPECT_EQ(c.channelName, "Temporiza\xE7");
  Bytes b = ToBytes(c.Encode());
  EXPECT_EQ(TextAt(b, 20, 11), "ABCDEFGHIJ");
  EXPECT_EQ(b[30], 0);
  EXPECT_EQ(TextAt(b, 31, 11), "Temporiza\xE7");
  EXPECT_EQ(b[41], 0);
  EXPECT_EQ(b[42], 0xB0);
  EXPECT_EQ(b[43], 'C');
  EXPECT_EQ(b[44], 0);

  ChartChannelEntry e;
  e.name = std::string(30, 'x');
  EXPECT_EQ(e.name.size(), 23u);
  Bytes eb = ToBytes(e.Encode());
  EXPECT_EQ(eb[27], 0);
}

TEST(DisplayConfigText, FieldWithoutTerminatorDoesNotRunIntoTheNext) {
  Bytes b(128, 'Z');
  b[0] = 2;
  for (size_t i = 20; i < 54; ++i) b[i] = static_cast<uint8_t>('a' + (i - 20) % 26);
  DisplayConfig c = DisplayConfig::Decode(std::span<const uint8_t, 128>(b.data(), 128));
  EXPECT_EQ(c.deviceTag.str(), "abcdefghij");
  EXPECT_EQ(c.channelName.str(), "lmnopqrstu");
  EXPECT_EQ(c.unit.str(), "wxyzabcdefg");

  Bytes eb(40, 'Q');
  ChartChannelEntry e = ChartChannelEntry::Decode(std::span<const uint8_t, 40>(eb.data(), 40));
  EXPECT_EQ(e.name.str(), std::string(23, 'Q'));
}

TEST(ChartChannelEntryBytes, LayoutAndDefaults) {
  ChartChannelEntry e;
  EXPECT_EQ(e.channelIndex, kNoChannel);
  e.color = 0x00C08040;
  e.name = "Estufa / Canal 1";
  e.deviceSerial = 99;
  e.valueIndex = 2;
  e.channelIndex = 7;
  Bytes b = ToBytes(e.Encode());
  ASSERT_EQ(b.size(), 40u);
  ExpectFields(b, {{0, 4, 0xC08040}, {28, 4, 99}, {32, 2, 2}, {34, 2, 0}, {36, 4, 7}});
  EXPECT_EQ(TextAt(b, 4, 24), "Estufa / Canal 1");
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
  r.config.SetBar(BarSettings{});
  Bytes b = ToBytes(r.Encode());
  ASSERT_EQ(b.size(), 152u);
  ExpectFields(b, {{0, 1, 1}, {1, 3, 0}, {4, 4, static_cast<uint32_t>(-8)}, {8, 4, 30},
                   {12, 4, 340}, {16, 4, 250}, {20, 4, 0}});
  Bytes cfg(b.begin() + 24, b.end());
  ExpectCommon(cfg, 4);
  ExpectFields(cfg, {{88, 4, 100}, {92, 4, 0}, {96, 2, 10}});

  DisplayWindowRecord back = DisplayWindowRecord::Decode(r.Encode());
  EXPECT_TRUE(back.maximized);
  EXPECT_EQ(back.left, -8);
  EXPECT_EQ(back.height, 250);
  EXPECT_EQ(back.config.Bar(), BarSettings{});

  b[0] = 2;  // only 1 means maximized
  EXPECT_FALSE(
      DisplayWindowRecord::Decode(std::span<const uint8_t, 152>(b.data(), 152)).maximized);
}

TEST(DisplayConfigDefaults, NewWindowAndChartReset) {
  DisplayConfig c = DisplayConfig::NewWindowDefaults();
  Bytes b = ToBytes(c.Encode());
  ExpectFields(b, {{0, 4, 1}, {4, 4, 0}, {8, 2, 0}, {12, 4, 0}, {16, 4, 1000}, {54, 2, 1},
                   {64, 4, 0}, {68, 4, 0x8000000F}, {72, 4, 0xFFFFFF}, {76, 1, 0}, {80, 4, 80},
                   {84, 4, 0}, {88, 1, 0}, {92, 4, 20}, {96, 4, 0}, {100, 1, 1}, {101, 1, 0},
                   {104, 4, 100}, {108, 4, 0}, {120, 4, 1}});
  EXPECT_DOUBLE_EQ(F64At(b, 112), 2.0 / 1440.0);
  EXPECT_EQ(TextAt(b, 20, 11), "");

  ChartSettings changed = c.Chart();
  changed.ref1Color = 0x123456;
  changed.ref2Color = 0x654321;
  changed.ref1On = true;
  changed.yMax = 5;
  changed.visiblePeriod = 1.0;
  c.SetChart(changed);
  c.chartChannels.resize(2);
  c.ResetChart();
  ChartSettings reset = c.Chart();
  ChartSettings expected;
  expected.ref1Color = 0x123456;
  expected.ref2Color = 0x654321;
  EXPECT_EQ(reset, expected);
  EXPECT_TRUE(c.chartChannels.empty());
  EXPECT_EQ(c.StoredChartChannelCount(), 0u);
}

TEST(DisplayConfigUpgrade, OlderFilesGetTheMissingFields) {
  // {version, kind, expected line width or LED background}
  const std::tuple<int32_t, DisplayKind, uint32_t> cases[] = {
      {0x65, DisplayKind::Chart, 1},         {0x66, DisplayKind::Chart, 9},
      {0x66, DisplayKind::LedDigits, 0xAA},  {0x65, DisplayKind::LedDigits, 0xAA},
      {0x67, DisplayKind::LedDigits, 0xBB},  {0x60, DisplayKind::LcdIndicator, 3}};
  for (const auto& [version, kind, expected] : cases) {
    SCOPED_TRACE(version);
    DisplayConfig c;
    c.kind = kind;
    ChartSettings chart;
    chart.lineWidth = 9;
    if (kind == DisplayKind::Chart) c.SetChart(chart);
    if (kind == DisplayKind::LedDigits) c.SetLed({0xFF, 0xAA, 5, 8, 0xBB});
    if (kind == DisplayKind::LcdIndicator) c.SetLcd({1, 2, 3, 4});
    UpgradeDisplayConfig(c, version);
    const uint32_t got = kind == DisplayKind::Chart       ? uint32_t(c.Chart().lineWidth)
                         : kind == DisplayKind::LedDigits ? c.Led().backColor
                                                          : c.Lcd().backColor;
    EXPECT_EQ(got, expected);
  }
}

TEST(DisplayConfigRobustness, RandomRecordsDecodeAndSettle) {
  std::mt19937 rng(20240611);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int round = 0; round < 2000; ++round) {
    std::array<uint8_t, 128> raw{};
    for (auto& x : raw) x = static_cast<uint8_t>(byte(rng));
    if (round % 3 == 0) raw[0] = static_cast<uint8_t>(round % 8), raw[1] = raw[2] = raw[3] = 0;
    DisplayConfig c = DisplayConfig::Decode(raw);
    EXPECT_LE(c.deviceTag.size(), 10u);
    EXPECT_LE(c.channelName.size(), 10u);
    EXPECT_LE(c.unit.size(), 11u);
    (void)c.Chart(), (void)c.Lcd(), (void)c.Led(), (void)c.Bar(), (void)c.Dial(), (void)c.Meter();
    // Once decoded, a record survives its own round trip unchanged.
    auto once = c.Encode();
    EXPECT_EQ(DisplayConfig::Decode(once).Encode(), once);
  }
}

}  // namespace
