// The pages to and from the configuration block, without widgets: a fill followed by a store
// gives the block back, every store changes only what its controls own, and the rules the
// dialog applies on the way (resolution codes, decimals, fallbacks, the ambient lock).
#include <gtest/gtest.h>

#include "devconfig/page_transfer.h"

namespace {

using namespace devconfig;

DeviceContext Logger(int32_t firmware = 110) { return {device::kModelLogger, -1, firmware}; }
DeviceContext Probe(int32_t kind) { return {device::kModelProbe, kind, 105}; }

Channel LinearChannel(int decimals) {
  Channel c;
  c.Config = 10 | 0x80 | (decimals << 9);
  c.LowLimit = -1500;
  c.HighLimit = 31000;
  c.UnderflowValue = -1600;
  c.OverflowValue = 31100;
  c.UserOffset = -25;
  c.Tag = "Nivel";
  c.Unit = "m3/h";
  c.Filter = 7;
  return c;
}

Channel TemperatureChannel() {
  Channel c;
  c.Config = 2 | 0x80 | 0x100;  // thermocouple K, enabled, °F
  c.LowLimit = -2000;
  c.HighLimit = 13700;
  c.UnderflowValue = -30000;
  c.OverflowValue = 30000;
  c.UserOffset = 12;
  c.Tag = "Forno";
  c.Filter = 3;
  return c;
}

TEST(GeneralPage, ResolutionCodesAndOwnedBits) {
  DeviceRegs regs;
  regs.Tag = "Estufa";
  for (int32_t code = 0; code < 4; ++code) {
    regs.DeviceConfig = 0x7F80 | 0x40 | 0x08 | code;  // bits no control owns are set too
    const GeneralPageState page = FillGeneral(regs, Logger());
    EXPECT_EQ(page.resolutionIndex, 3 - code);
    EXPECT_TRUE(page.mainsIndex == 1 && page.autoSend && !page.compensate && page.compensateEnabled);
    DeviceRegs stored = regs;
    StoreGeneral(page, Logger(), stored);
    EXPECT_EQ(stored, regs);
  }
  GeneralPageState page = FillGeneral(regs, Logger());
  page.resolutionIndex = 0;  // "Máxima"
  page.compensate = true;
  page.mainsIndex = 0;
  regs.DeviceConfig = 0x8030;  // the ambient bits belong to the ambient page
  StoreGeneral(page, Logger(), regs);
  EXPECT_EQ(regs.DeviceConfig, 0x8030 | 0x04 | 0x03 | 0x40);
}

TEST(GeneralPage, HumidityProbeHasTwoResolutionsAndAlwaysCompensates) {
  DeviceRegs regs;
  regs.DeviceConfig = 0x0001;  // "Mínima", bit 0 (no control of the probe owns it), no compensation
  GeneralPageState page = FillGeneral(regs, Probe(0));
  EXPECT_TRUE(page.probeResolutions);
  EXPECT_EQ(page.resolutionIndex, 1);
  EXPECT_TRUE(page.compensate);
  EXPECT_FALSE(page.compensateEnabled);
  page.resolutionIndex = 0;
  StoreGeneral(page, Probe(0), regs);
  EXPECT_EQ(regs.DeviceConfig, 0x0001 | 0x02 | 0x04);
  // Any other probe kind has the four resolutions of model 0.
  EXPECT_FALSE(FillGeneral(regs, Probe(2)).probeResolutions);
}

// Every decimal count, the type codes the lists lack and the bits without a control go back
// as read in the dialog's no-op "Aplica" test; here, what the fields show.
TEST(ChannelPage, FieldsShowSixDecimalsAndATemperatureOffsetWithOne) {
  const ChannelPageState six = FillChannel(LinearChannel(6), Logger(), 1, '.');
  EXPECT_EQ(six.fields, (ChannelFieldTexts{"0.031000", "-0.001500", "0.031100", "-0.001600", "-0.000025"}));

  const Channel temperature = TemperatureChannel();
  ChannelPageState page = FillChannel(temperature, Logger(), 1, '.');
  EXPECT_EQ(page.fields[kOffset], "1.2");  // a temperature offset has one decimal
  EXPECT_EQ(page.overflowSpin, 30000);
  Channel stored = temperature;
  ASSERT_TRUE(StoreChannel(page, Logger(), 1, stored));
  EXPECT_EQ(stored, temperature);

  // Limits a temperature input hides (0 and 0, three decimals) stay as read and block nothing;
  // once a linear input shows them they are checked.
  Channel hidden = temperature;
  hidden.LowLimit = 0;
  hidden.HighLimit = 0;
  hidden.Config |= 3 << 9;
  page = FillChannel(hidden, Logger(), 2, '.');
  stored = hidden;
  ASSERT_TRUE(StoreChannel(page, Logger(), 2, stored));
  EXPECT_EQ(stored, hidden);
  page.typeIndex = 10;
  EXPECT_FALSE(StoreChannel(page, Logger(), 2, stored));
}

TEST(ChannelPage, EditsFallbacksAndRefusal) {
  const Channel channel = LinearChannel(1);
  ChannelPageState page = FillChannel(channel, Logger(), 1, '.');
  page.typeIndex = 9;
  page.enabled = false;
  page.fields = {"25.00", "-1.00", "", "", ""};  // an empty overflow stores the limit + 100
  Channel stored = channel;
  ASSERT_TRUE(StoreChannel(page, Logger(), 1, stored));
  EXPECT_EQ(stored.Config, 9 | (2 << 9));
  EXPECT_EQ(stored.HighLimit, 2500);
  EXPECT_EQ(stored.LowLimit, -100);
  EXPECT_EQ(stored.OverflowValue, 2600);
  EXPECT_EQ(stored.UnderflowValue, -200);
  EXPECT_EQ(stored.UserOffset, 0);

  page.fields = {"x", "y", "1", "2", "3"};
  ASSERT_TRUE(StoreChannel(page, Logger(), 1, stored));
  EXPECT_EQ(page.fields[kLowerLimit], "0");
  EXPECT_EQ(page.fields[kUpperLimit], "1000");
  EXPECT_EQ(stored.LowLimit, 0);
  EXPECT_EQ(stored.HighLimit, 1000);

  page.fields = {"5.0", "5.0", "1", "2", "3"};
  EXPECT_FALSE(StoreChannel(page, Logger(), 1, stored));
  page.fields = {"5.0", "6.0", "1", "2", "3"};
  EXPECT_FALSE(StoreChannel(page, Logger(), 1, stored));
}

TEST(ChannelPage, ProbeKeepsItsTypeBitsAndRanges) {
  Channel channel;
  channel.Config = 0x2 | 0x80 | 0x200 | 0xC00;
  channel.LowLimit = 0;
  channel.HighLimit = 1;
  channel.OverflowValue = 30000;
  channel.UnderflowValue = -30000;
  ChannelPageState page = FillChannel(channel, Probe(0), 1, '.');
  EXPECT_TRUE(page.dewPoint);
  page.dewPoint = false;
  page.fahrenheit = true;
  page.overflowSpin = 1000;
  page.fields = {"", "", "", "", ""};  // the probe's limits and offset are not its own
  Channel stored = channel;
  ASSERT_TRUE(StoreChannel(page, Probe(0), 1, stored));
  EXPECT_EQ(stored.Config, 0x2 | 0x80 | 0x100 | 0xC00);
  EXPECT_EQ(stored.OverflowValue, 1000);
  EXPECT_EQ(stored.LowLimit, 0);
  EXPECT_EQ(stored.HighLimit, 1);
  // Only the humidity probe's channel 1 owns the dew-point bit.
  page = FillChannel(channel, Probe(1), 1, '.');
  EXPECT_FALSE(page.dewPoint);
  stored = channel;
  ASSERT_TRUE(StoreChannel(page, Probe(1), 1, stored));
  EXPECT_EQ(stored.Config, channel.Config);
}

TEST(ChannelPage, OffsetFollowsTheLimitsDecimals) {
  ChannelPageState page = FillChannel(LinearChannel(1), Logger(), 1, '.');
  EXPECT_EQ(OffsetDecimals(page), 1);
  page.fields[kUpperLimit] = "3100.00";
  EXPECT_EQ(OffsetDecimals(page), 2);
  page.typeIndex = 0;
  EXPECT_EQ(OffsetDecimals(page), 1);
}

TEST(AmbientPage, TransfersAndTheColdJunctionLock) {
  DeviceRegs regs;
  regs.Channel3Tag = "Interno";
  regs.Channel3UserOffset = -15;
  regs.DeviceConfig = 0x10 | 0x03;
  AmbientPageState page = FillAmbient(regs, '.');
  EXPECT_EQ(page.offset, "-1.5");
  EXPECT_EQ(page.unitIndex, 1);
  EXPECT_FALSE(page.enabled);
  page.enabled = true;
  page.offset = "2.0";
  page.unitIndex = 0;
  StoreAmbient(page, regs);
  EXPECT_EQ(regs.Channel3UserOffset, 20);
  EXPECT_EQ(regs.DeviceConfig, 0x20 | 0x03);
  page.offset = "abc";
  StoreAmbient(page, regs);
  EXPECT_EQ(regs.Channel3UserOffset, 0);

  ChannelPageState one;
  ChannelPageState two;
  one.enabled = true;
  one.typeIndex = 0;  // Pt100: free, shows bit 5
  EXPECT_EQ(AmbientEnableRule(one, &two, 0x20), (AmbientEnable{true, true}));
  EXPECT_EQ(AmbientEnableRule(one, &two, 0x00), (AmbientEnable{false, true}));
  for (int type : {1, 8}) {
    one.typeIndex = type;
    EXPECT_EQ(AmbientEnableRule(one, &two, 0), (AmbientEnable{true, false})) << type;
  }
  for (int type : {9, 10, 11}) {  // linear inputs need no cold junction
    one.typeIndex = type;
    EXPECT_EQ(AmbientEnableRule(one, &two, 0), (AmbientEnable{false, true})) << type;
  }
  one.enabled = false;
  EXPECT_EQ(AmbientEnableRule(one, &two, 0), (AmbientEnable{false, true}));
  one.typeIndex = 9;
  two.enabled = true;
  two.typeIndex = 3;
  EXPECT_EQ(AmbientEnableRule(one, &two, 0), (AmbientEnable{true, false}));
  // A channel-2 page the instrument does not show holds nothing of it.
  EXPECT_EQ(AmbientEnableRule(one, nullptr, 0), (AmbientEnable{false, true}));
}

}  // namespace
