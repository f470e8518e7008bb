// Naming a display window after the instruments of a run, and addressing its values.
#include <gtest/gtest.h>

#include "display/default_channel_names.h"
#include "display/display_channels.h"
#include "display/display_titles.h"

namespace {

DisplayDeviceInfo Logger(uint32_t serial, const char* tag, uint16_t port = 3) {
  DisplayDeviceInfo d;
  d.port = port;
  d.serialNumber = serial;
  char text[16];
  std::snprintf(text, sizeof text, "%08u", serial);
  d.serialText = text;
  d.model = 0;
  d.firmwareVersion = 110;
  d.tag = tag;
  d.channel1Config = 3;  // thermocouple
  d.channel2Config = 9 | (2 << 9);  // linear input, two decimals
  d.digitalInputConfig = 0x10;
  d.decimalNumber = 3;
  d.channelUnits = {"\xB0" "C", "bar", "\xB0" "C"};
  return d;
}

ChartChannelEntry Entry(uint32_t serial, uint16_t valueIndex, const char* name = "") {
  ChartChannelEntry e;
  e.deviceSerial = serial;
  e.valueIndex = valueIndex;
  e.name = name;
  return e;
}

DisplayConfig Single(DisplayKind kind, uint32_t serial, uint16_t valueIndex) {
  DisplayConfig c = DisplayConfig::NewWindowDefaults();
  c.kind = kind;
  c.deviceSerial = serial;
  c.valueIndex = valueIndex;
  return c;
}

TEST(RefreshConfigTexts, NamesDecimalsAndUnitsByValueIndex) {
  RestoreBuiltInChannelNames();
  struct Case {
    uint16_t valueIndex;
    int32_t model;
    int32_t digitalInputConfig;
    const char* name;
    int16_t decimals;
    const char* unit;
  };
  const Case cases[] = {
      {0, 0, 0x10, "Canal 3", 0, ""},
      {0, 0x2000, 0x10, "", 0, ""},
      {1, 0, 0x10, "Canal 1", 1, "\xB0" "C"},
      {2, 0, 0x10, "Canal 2", 2, "bar"},
      {2, 0x2000, 0x10, "Canal 2", 1, "bar"},  // decimals of a linear input: model 0 only
      {3, 0, 0x10, "Ambiente", 1, "\xB0" "C"},
      {4, 0, 0x10, "Contagens", 3, ""},
      {4, 0, 0x20, "Temporiza\xE7", 3, ""},  // cut to the field's 10 characters
      {4, 0, 0x40, "Freq\xFC\xEAncia", 3, ""},
      {4, 0x2000, 0x10, "", 3, ""},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << "value " << k.valueIndex << " model " << k.model);
    DisplayDeviceInfo d = Logger(12345, "  ");
    d.model = k.model;
    d.digitalInputConfig = k.digitalInputConfig;
    DisplayConfig c = Single(DisplayKind::LcdIndicator, 12345, k.valueIndex);
    RefreshConfigTexts(c, d);
    EXPECT_EQ(c.deviceTag, "Tervana");
    EXPECT_EQ(c.channelName, k.name);
    EXPECT_EQ(c.decimals, k.decimals);
    EXPECT_EQ(c.unit, k.unit);
  }
  // A value index beyond the slot names no value: the stored texts stay.
  DisplayConfig c = Single(DisplayKind::LcdIndicator, 12345, 9);
  c.channelName = "Antigo";
  RefreshConfigTexts(c, Logger(12345, "Estufa"));
  EXPECT_EQ(c.channelName, "Antigo");
}

TEST(CounterResetItems, OnlyForACounterOfALoggerWithItsModeOn) {
  DisplayDeviceInfo d = Logger(12345, "Estufa", 300);
  auto item = CounterResetItemFor(d, 4, CounterResetTexts{});
  ASSERT_TRUE(item.has_value());
  EXPECT_EQ(item->caption, "Zerar contagem: Estufa (SN=00012345)");
  EXPECT_EQ(item->port, 300);  // ports above 255 are kept whole

  d.digitalInputConfig = 0x40;
  EXPECT_EQ(CounterResetItemFor(d, 4, CounterResetTexts{})->caption,
            "Zerar freq\xFC\xEAncia: Estufa (SN=00012345)");

  struct Case { const char* why; int32_t model, firmware, mode; uint16_t valueIndex; };
  const Case none[] = {{"not the counter", 0, 110, 0x10, 1},
                       {"old firmware", 0, 109, 0x10, 4},
                       {"probe", 0x2000, 200, 0x10, 4},
                       {"no mode", 0, 110, 0x80, 4}};
  for (const Case& k : none) {
    DisplayDeviceInfo x = Logger(1, "X");
    x.model = k.model;
    x.firmwareVersion = k.firmware;
    x.digitalInputConfig = k.mode;
    EXPECT_FALSE(CounterResetItemFor(x, k.valueIndex, CounterResetTexts{})) << k.why;
  }
}

TEST(WindowTitles, SingleValueWindows) {
  RestoreBuiltInChannelNames();
  std::vector<DisplayDeviceInfo> one = {Logger(10, "Estufa")};
  std::vector<DisplayDeviceInfo> two = {Logger(10, "Estufa"), Logger(20, "Sala")};

  DisplayConfig lcd = Single(DisplayKind::LcdIndicator, 10, 1);
  WindowTitles t = BuildWindowTitles(lcd, &one, {});
  EXPECT_EQ(t.caption, "Canal 1 - \xB0" "C");
  EXPECT_EQ(t.seriesTitles, "\xB0" "C");
  EXPECT_TRUE(t.resetItems.empty());

  DisplayConfig gauge = Single(DisplayKind::DialGauge, 20, 3);
  t = BuildWindowTitles(gauge, &two, {});
  EXPECT_EQ(t.caption, "Sala / Ambiente");  // no unit in a gauge's caption
  EXPECT_EQ(t.seriesTitles, "\xB0" "C");

  DisplayConfig counter = Single(DisplayKind::LedDigits, 10, 4);
  t = BuildWindowTitles(counter, &one, {});
  EXPECT_EQ(t.caption, "Contagens");
  ASSERT_EQ(t.resetItems.size(), 1u);
  EXPECT_EQ(t.resetItems[0].port, 3);

  // A device absent from the run: the stored texts name the window.
  DisplayConfig absent = Single(DisplayKind::BarMeter, 99, 1);
  absent.deviceTag = "Velho";
  absent.channelName = "Forno";
  absent.unit = "mV";
  t = BuildWindowTitles(absent, &two, {});
  EXPECT_EQ(t.caption, "Velho / Forno");
  EXPECT_EQ(t.seriesTitles, "mV");
}

TEST(WindowTitles, ChartNamesEachDeviceOnceAndTitlesEverySeries) {
  RestoreBuiltInChannelNames();
  std::vector<DisplayDeviceInfo> two = {Logger(10, "Estufa"), Logger(20, "")};
  DisplayConfig chart = DisplayConfig::NewWindowDefaults();
  chart.chartChannels = {Entry(10, 1), Entry(20, 3), Entry(10, 4)};
  WindowTitles t = BuildWindowTitles(chart, &two, {});
  EXPECT_EQ(t.caption, "Estufa,  Tervana");
  EXPECT_EQ(t.seriesTitles,
            "Estufa / Canal 1 / \xB0" "C~#~Tervana / Ambiente / \xB0" "C~#~Estufa / Contagens~#~");
  EXPECT_EQ(chart.chartChannels[0].name, "Estufa / Canal 1");
  EXPECT_EQ(chart.chartChannels[2].name, "Estufa / Contagens");
  EXPECT_EQ(t.resetItems.size(), 1u);

  // With one device in the run the names carry no device tag.
  std::vector<DisplayDeviceInfo> one = {Logger(10, "Estufa")};
  DisplayConfig single = DisplayConfig::NewWindowDefaults();
  single.chartChannels = {Entry(10, 2)};
  t = BuildWindowTitles(single, &one, {});
  EXPECT_EQ(t.caption, "Estufa");
  EXPECT_EQ(t.seriesTitles, "Canal 2 / bar~#~");
}

TEST(WindowTitles, ChartEntryWithoutItsDeviceKeepsTheOthersInPlace) {
  std::vector<DisplayDeviceInfo> one = {Logger(10, "Estufa")};
  DisplayConfig chart = DisplayConfig::NewWindowDefaults();
  chart.chartChannels = {Entry(55, 1, " Antigo/Canal 1 "), Entry(10, 1)};
  WindowTitles t = BuildWindowTitles(chart, &one, {});
  EXPECT_EQ(t.seriesTitles, "Antigo/Canal 1~#~Canal 1 / \xB0" "C~#~");
  EXPECT_EQ(t.caption, "Estufa");
}

TEST(DisplayedChannels, SerialsMasksAndRunIndexes) {
  DisplayConfig chart = DisplayConfig::NewWindowDefaults();
  chart.chartChannels = {Entry(20, 0), Entry(10, 4), Entry(20, 3), Entry(30, 7)};
  EXPECT_EQ(DisplayedSerials(chart), (std::vector<uint32_t>{20, 10, 30}));
  EXPECT_EQ(DisplayedValueMask(chart, 20), 0x09);
  EXPECT_EQ(DisplayedValueMask(chart, 10), 0x10);
  EXPECT_EQ(DisplayedValueMask(chart, 30), 0x00);  // value 7 is no value of a slot
  EXPECT_EQ(DisplayedValueMask(chart, 99), 0x00);

  const uint32_t run[] = {10, 20, 30};
  AssignChannelIndexes(chart, run);
  EXPECT_EQ(chart.chartChannels[0].channelIndex, 5);
  EXPECT_EQ(chart.chartChannels[1].channelIndex, 4);
  EXPECT_EQ(chart.chartChannels[2].channelIndex, 8);
  EXPECT_EQ(chart.chartChannels[3].channelIndex, kNoChannel);

  DisplayConfig bar = Single(DisplayKind::BarMeter, 30, 2);
  AssignChannelIndexes(bar, run);
  EXPECT_EQ(bar.channelIndex, 12);
  const uint32_t without[] = {10};
  AssignChannelIndexes(bar, without);
  EXPECT_EQ(bar.channelIndex, kNoChannel);
  EXPECT_TRUE(DisplayedSerials(DisplayConfig{}).empty());  // no element, no device
}

}  // namespace
