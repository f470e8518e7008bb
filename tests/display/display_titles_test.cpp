// Naming a display window after the instruments of a run, and addressing its values.
#include <gtest/gtest.h>

#include "instrument/default_channel_names.h"
#include "display/display_channels.h"
#include "display/display_titles.h"
#include "display_fakes.h"

namespace {

using displaytest::Logger;

ChartChannelEntry Entry(uint32_t serial, uint16_t valueIndex, const char* name = "") {
  return {0, name, serial, valueIndex, kNoChannel};
}

DisplayConfig Single(DisplayKind kind, uint32_t serial, uint16_t valueIndex) {
  DisplayConfig c = DisplayConfig::NewWindowDefaults();
  c.kind = kind;
  c.deviceSerial = serial;
  c.valueIndex = valueIndex;
  return c;
}

class WindowTitlesTest : public testing::Test {
 protected:
  void SetUp() override { RestoreBuiltInChannelNames(); }
  const std::vector<DisplayDeviceInfo> one_ = {Logger(10, "Estufa")};
  const std::vector<DisplayDeviceInfo> two_ = {Logger(10, "Estufa"), Logger(20, "Sala")};
};

TEST_F(WindowTitlesTest, ConfigTextsByValueIndex) {
  // {value index, model, digital-input mode, name, decimals, unit}
  const std::tuple<uint16_t, int32_t, int32_t, const char*, int16_t, const char*> cases[] = {
      {0, 0, 0x10, "Canal 3", 0, ""},
      {0, 0x2000, 0x10, "", 0, ""},
      {1, 0, 0x10, "Canal 1", 1, "\xB0" "C"},
      {2, 0, 0x10, "Canal 2", 2, "bar"},
      {2, 0x2000, 0x10, "Canal 2", 1, "bar"},  // decimals of a linear input: loggers only
      {3, 0, 0x10, "Ambiente", 1, "\xB0" "C"},
      {4, 0, 0x10, "Contagens", 3, ""},
      {4, 0, 0x20, "Temporiza\xE7", 3, ""},  // cut to the field's 10 characters
      {4, 0, 0x40, "Freq\xFC\xEAncia", 3, ""},
      {4, 0x2000, 0x10, "", 3, ""},
  };
  for (auto [valueIndex, model, mode, name, decimals, unit] : cases) {
    SCOPED_TRACE(testing::Message() << "value " << valueIndex << " model " << model);
    DisplayDeviceInfo d = Logger(12345, "  ");
    d.model = model;
    d.digitalInputConfig = mode;
    DisplayConfig c = Single(DisplayKind::LcdIndicator, 12345, valueIndex);
    RefreshConfigTexts(c, d);
    EXPECT_EQ(c.deviceTag, "Tervana");  // a blank tag
    EXPECT_EQ(c.channelName, name);
    EXPECT_EQ(c.decimals, decimals);
    EXPECT_EQ(c.unit, unit);
  }
  // A value index beyond the slot names no value: the stored texts stay.
  DisplayConfig c = Single(DisplayKind::LcdIndicator, 12345, 9);
  c.channelName = "Antigo";
  RefreshConfigTexts(c, Logger(12345, "Estufa"));
  EXPECT_EQ(c.channelName, "Antigo");
}

TEST_F(WindowTitlesTest, CounterResetOnlyForALoggersCounterWithItsModeOn) {
  struct Case { int32_t model, firmware, mode; uint16_t valueIndex; const char* caption; };
  const Case cases[] = {{0, 110, 0x10, 4, "Zerar contagem: Estufa (SN=00012345)"},
                        {0, 110, 0x40, 4, "Zerar freq\xFC\xEAncia: Estufa (SN=00012345)"},
                        {0, 110, 0x10, 1, nullptr},      // not the counter
                        {0, 109, 0x10, 4, nullptr},      // firmware without the counter
                        {0x2000, 200, 0x10, 4, nullptr},  // a probe
                        {0, 110, 0x80, 4, nullptr}};     // no mode on
  for (const Case& k : cases) {
    DisplayDeviceInfo d = Logger(12345, "Estufa", 300);
    d.model = k.model;
    d.firmwareVersion = k.firmware;
    d.digitalInputConfig = k.mode;
    auto item = CounterResetItemFor(d, k.valueIndex, CounterResetTexts{});
    ASSERT_EQ(item.has_value(), k.caption != nullptr) << k.mode << " " << k.firmware;
    if (!item) continue;
    EXPECT_EQ(item->caption, k.caption);
    EXPECT_EQ(item->port, 300);  // ports above 255 are kept whole
  }
}

TEST_F(WindowTitlesTest, SingleValueWindows) {
  DisplayConfig lcd = Single(DisplayKind::LcdIndicator, 10, 1);
  WindowTitles t = BuildWindowTitles(lcd, &one_, {});
  EXPECT_EQ(t.caption, "Canal 1 - \xB0" "C");
  EXPECT_EQ(t.seriesTitles, (std::vector<std::string>{"\xB0" "C"}));

  DisplayConfig gauge = Single(DisplayKind::DialGauge, 20, 3);
  t = BuildWindowTitles(gauge, &two_, {});
  EXPECT_EQ(t.caption, "Sala / Ambiente");  // no unit in a gauge's caption
  EXPECT_EQ(t.seriesTitles, (std::vector<std::string>{"\xB0" "C"}));

  // A device absent from the run: the stored texts name the window.
  DisplayConfig absent = Single(DisplayKind::BarMeter, 99, 1);
  absent.deviceTag = "Velho";
  absent.channelName = "Forno";
  absent.unit = "mV";
  t = BuildWindowTitles(absent, &two_, {});
  EXPECT_EQ(t.caption, "Velho / Forno");
  EXPECT_EQ(t.seriesTitles, (std::vector<std::string>{"mV"}));
  EXPECT_FALSE(BuildWindowTitles(absent, nullptr, {}).caption);  // no device list: no caption
}

TEST_F(WindowTitlesTest, ChartNamesEachDeviceOnceAndKeepsEverySeriesInPlace) {
  std::vector<DisplayDeviceInfo> run = {Logger(10, "Estufa"), Logger(20, "")};
  DisplayConfig chart = DisplayConfig::NewWindowDefaults();
  chart.chartChannels = {Entry(10, 1), Entry(55, 1, " Antigo/Canal 1 "), Entry(20, 3),
                         Entry(10, 4)};
  WindowTitles t = BuildWindowTitles(chart, &run, {});
  EXPECT_EQ(t.caption, "Estufa,  Tervana");
  EXPECT_EQ(t.seriesTitles, (std::vector<std::string>{"Estufa / Canal 1 / \xB0" "C", "Antigo/Canal 1",
                                                       "Tervana / Ambiente / \xB0" "C", "Estufa / Contagens"}));
  EXPECT_EQ(chart.chartChannels[3].name, "Estufa / Contagens");
  EXPECT_EQ(t.resetItems.size(), 1u);

  // With one device in the run the names carry no device tag.
  chart.chartChannels = {Entry(10, 2)};
  t = BuildWindowTitles(chart, &one_, {});
  EXPECT_EQ(t.caption, "Estufa");
  EXPECT_EQ(t.seriesTitles, (std::vector<std::string>{"Canal 2 / bar"}));
}

// Names are free text (an old entry's stored name, a device's tag, a unit): whatever they
// hold, each entry gets exactly its own title and the series after it keep theirs.
TEST_F(WindowTitlesTest, ChartTitlesStayWithTheirEntriesWhateverTheNamesHold) {
  std::vector<DisplayDeviceInfo> run = {Logger(10, "Es~#~tufa"), Logger(20, "Sala~#")};
  DisplayConfig chart = DisplayConfig::NewWindowDefaults();
  chart.chartChannels = {Entry(55, 1, "Antigo~#~Canal~#~"), Entry(10, 1), Entry(20, 3), Entry(56, 2, "Fim")};
  const WindowTitles t = BuildWindowTitles(chart, &run, {});
  EXPECT_EQ(t.seriesTitles, (std::vector<std::string>{"Antigo~#~Canal~#~", "Es~#~tufa / Canal 1 / \xB0" "C",
                                                       "Sala~# / Ambiente / \xB0" "C", "Fim"}));
}

TEST(DisplayedChannels, SerialsMasksAndRunIndexes) {
  DisplayConfig chart = DisplayConfig::NewWindowDefaults();
  chart.chartChannels = {Entry(20, 0), Entry(10, 4), Entry(20, 3), Entry(30, 7)};
  EXPECT_EQ(DisplayedSerials(chart), (std::vector<uint32_t>{20, 10, 30}));
  EXPECT_EQ(DisplayedValueMask(chart, 20), 0x09);
  EXPECT_EQ(DisplayedValueMask(chart, 30), 0x00);  // value 7 is no value of a slot

  const uint32_t run[] = {10, 20, 30};
  AssignChannelIndexes(chart, run);
  const int32_t expected[] = {5, 4, 8, kNoChannel};
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(chart.chartChannels[i].channelIndex, expected[i]) << i;

  DisplayConfig bar = Single(DisplayKind::BarMeter, 30, 2);
  AssignChannelIndexes(bar, run);
  EXPECT_EQ(bar.channelIndex, 12);
  AssignChannelIndexes(bar, std::span(run, 1));
  EXPECT_EQ(bar.channelIndex, kNoChannel);
  EXPECT_TRUE(DisplayedSerials(DisplayConfig{}).empty());  // no element, no device
}

}  // namespace
