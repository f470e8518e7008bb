// The wizard's rules without its widgets: what a device offers, how devices are listed, the
// chart's channel lists, and the range, digit and period rules of the settings step.
#include <gtest/gtest.h>

#include "instrument/default_channel_names.h"
#include "display/wizard/chart_channel_lists.h"
#include "display/wizard/device_values.h"
#include "display/wizard/range_rules.h"

namespace {

using namespace wizard;

DisplayDeviceInfo Logger(int32_t firmware) {
  DisplayDeviceInfo d;
  d.model = DisplayDeviceInfo::kModelLogger;
  d.probeType = -1;
  d.firmwareVersion = firmware;
  d.channel1Config = 0x80 | 0;  // Pt100, enabled
  d.channel2Config = 0x80 | 10 | (2 << 9);
  d.deviceConfig = 0x20;
  d.channel1Tag = "  Forno ";
  d.channel2Tag = "";
  d.channel3Tag = "Ambiente";
  d.digInputTag = "Porta";
  return d;
}

std::vector<uint16_t> Indexes(const OfferedValues& v) {
  std::vector<uint16_t> out;
  for (const OfferedValue& o : v.items) out.push_back(o.valueIndex);
  return out;
}

TEST(WizardOffers, ValuesByModelFirmwareAndDigitalInputMode) {
  RestoreBuiltInChannelNames();
  DisplayDeviceInfo d = Logger(109);
  OfferedValues v = OffersOf(d);
  // Firmware 1.09 has no counter; names are trimmed tags or the default names.
  EXPECT_EQ(v.bits, kOfferChannel1 | kOfferChannel2 | kOfferInternal | kOfferDigitalInput);
  EXPECT_EQ(Indexes(v), (std::vector<uint16_t>{1, 2, 3, 0}));
  EXPECT_EQ(v.items[0].name, "Forno");
  EXPECT_EQ(v.items[1].name, "Canal 2");

  d.firmwareVersion = 110;
  d.digitalInputConfig = 0x20;
  v = OffersOf(d);
  ASSERT_EQ(v.items.size(), 5u);
  EXPECT_EQ(v.items[4].valueIndex, 4);
  EXPECT_EQ(v.items[4].name, "Temporiza\xE7\xE3o");
  d.digitalInputConfig = 0x10;
  EXPECT_EQ(OffersOf(d).items[4].name, "Contagens");
  d.digitalInputConfig = 0;
  EXPECT_EQ(OffersOf(d).items[4].name, "Freq\xFC\xEAncia");

  // A thermocouple on channel 1 needs the internal channel even when it is switched off;
  // a channel without its enable bit is not offered.
  d.deviceConfig = 0;
  d.channel1Config = 0x80 | 3;
  d.channel2Config = 10;
  EXPECT_EQ(Indexes(OffersOf(d)), (std::vector<uint16_t>{1, 3, 0, 4}));
  d.channel1Config = 0x80 | 9;
  EXPECT_EQ(Indexes(OffersOf(d)), (std::vector<uint16_t>{1, 0, 4}));
}

TEST(WizardOffers, ProbeOffersItsTwoChannelsOrItsSensorAndInternal) {
  RestoreBuiltInChannelNames();
  DisplayDeviceInfo d;
  d.model = DisplayDeviceInfo::kModelProbe;
  d.probeType = 0;
  d.firmwareVersion = 120;
  d.channel1Config = 0x80;
  d.channel2Config = 0x80;
  d.deviceConfig = 0x20;
  d.channel1Tag = "Umidade";
  EXPECT_EQ(Indexes(OffersOf(d)), (std::vector<uint16_t>{1, 2}));
  EXPECT_EQ(OffersOf(d).items[1].name, "Canal 2");
  d.probeType = 1;  // Pt100: no second channel, an internal one
  EXPECT_EQ(Indexes(OffersOf(d)), (std::vector<uint16_t>{1, 3}));
  d.deviceConfig = 0;
  EXPECT_EQ(Indexes(OffersOf(d)), (std::vector<uint16_t>{1}));
}

TEST(WizardOffers, TranslatedDefaultNamesAreUsed) {
  SetDefaultChannelName(1, "Channel two");
  EXPECT_EQ(OffersOf(Logger(110)).items[1].name, "Channel two");
  RestoreBuiltInChannelNames();
}

TEST(WizardDeviceList, ItemTextsAndSerials) {
  EXPECT_EQ(DeviceItemText("", "00012345", "(COM4)"), "Tervana;  00012345  (COM4)");
  EXPECT_EQ(DeviceItemText("Estufa", "00000001", "(COM12)"), "Estufa;  00000001  (COM12)");
  EXPECT_EQ(SerialFromText("00012345"), 12345u);
  EXPECT_EQ(SerialFromText("12345678"), 12345678u);
  EXPECT_FALSE(SerialFromText(""));
  EXPECT_FALSE(SerialFromText("0001234x"));
  EXPECT_FALSE(SerialFromText("99999999999"));
  EXPECT_EQ(ChartChannelCaption("Estufa", "Forno"), "Estufa/Forno");
}

ChannelItem Item(const char* caption, uint16_t valueIndex) { return {caption, 7, valueIndex}; }

TEST(WizardChartLists, RemovingTheMiddleChannelKeepsTheOthersAndTheirColours) {
  ChartChannelLists lists;
  lists.AddAvailable(Item("S/C", 3));
  lists.AddAvailable(Item("S/A", 1));
  lists.AddAvailable(Item("S/B", 2));
  ASSERT_EQ(lists.Available().front().caption, "S/A");  // sorted by caption
  lists.SetPendingColors({0x112233});
  for (int i = 0; i < 3; ++i) {
    lists.ClickAvailable(0);
    EXPECT_TRUE(lists.ChooseRemembered());
  }
  EXPECT_FALSE(lists.ChooseEnabled());
  ASSERT_EQ(lists.Chosen().size(), 3u);
  const uint32_t a = lists.Chosen()[0].color, b = lists.Chosen()[1].color, c = lists.Chosen()[2].color;
  EXPECT_EQ(a, 0x112233u);  // the stored colour first, then distinct automatic ones
  EXPECT_NE(b, c);
  EXPECT_NE(a, b);

  lists.ClickChosen(1);
  EXPECT_EQ(lists.Unchoose(), 1u);
  ASSERT_EQ(lists.Chosen().size(), 2u);
  EXPECT_EQ(lists.Chosen()[0].item.caption, "S/A");
  EXPECT_EQ(lists.Chosen()[0].color, a);
  EXPECT_EQ(lists.Chosen()[1].item.caption, "S/C");
  EXPECT_EQ(lists.Chosen()[1].color, c);
  EXPECT_EQ(lists.Available().front().caption, "S/B");
  EXPECT_TRUE(lists.NextEnabled());

  lists.UnchooseAll();
  EXPECT_TRUE(lists.Chosen().empty());
  EXPECT_EQ(lists.Available().size(), 3u);
  EXPECT_FALSE(lists.NextEnabled() || lists.ClearEnabled() || lists.UnchooseEnabled());
}

TEST(WizardChartLists, SecondUnchooseOfTheLastItemDoesNothing) {
  ChartChannelLists lists;
  lists.AddAvailable(Item("S/A", 1));
  lists.AddAvailable(Item("S/B", 2));
  lists.Choose(0);
  lists.Choose(0);
  lists.ClickChosen(1);
  EXPECT_EQ(lists.Unchoose(), 1u);
  EXPECT_FALSE(lists.UnchooseEnabled());
  EXPECT_FALSE(lists.Unchoose());
  ASSERT_EQ(lists.Chosen().size(), 1u);
  EXPECT_EQ(lists.Available().size(), 1u);
  EXPECT_FALSE(lists.Choose(5));
}

TEST(WizardChartLists, StoredChannelsComeBackInStoredOrderWithTheirColours) {
  ChartChannelLists lists;
  lists.AddAvailable({"A/x", 1, 1});
  lists.AddAvailable({"B/y", 2, 2});
  lists.SetPendingColors({0xAA, 0xBB, 0xCC});
  EXPECT_TRUE(lists.ChooseStored(2, 2));
  EXPECT_FALSE(lists.ChooseStored(9, 1));  // its device is not listed: dropped with its colour
  EXPECT_TRUE(lists.ChooseStored(1, 1));
  ASSERT_EQ(lists.Chosen().size(), 2u);
  EXPECT_EQ(lists.Chosen()[0].item.caption, "B/y");
  EXPECT_EQ(lists.Chosen()[0].color, 0xAAu);
  EXPECT_EQ(lists.Chosen()[1].color, 0xCCu);
}

TEST(WizardRanges, TypedNumbersBecomePositionsWithoutOverflow) {
  const UpDownLimits chart{-32767, 32767};
  EXPECT_EQ(TypedPosition("12.7", chart), 12);
  EXPECT_EQ(TypedPosition(" 12,7 ", chart), 12);
  EXPECT_EQ(TypedPosition("-12.7", chart), -12);
  EXPECT_EQ(TypedPosition("1e20", chart), 32767);
  EXPECT_EQ(TypedPosition("99999999999", chart), 32767);
  EXPECT_EQ(TypedPosition("-1e300", chart), -32767);
  EXPECT_FALSE(TypedPosition("abc", chart));
  EXPECT_FALSE(TypedPosition("", chart));
  EXPECT_FALSE(TypedPosition("nan", chart));
  EXPECT_FALSE(TypedPosition("12.7x", chart));
}

TEST(WizardRanges, DialZonesOutsideTheNewRangeGoOff) {
  DialZonesOff off = DialZonesAfterMinimum(30, 20, 80);
  EXPECT_TRUE(off.low);
  EXPECT_FALSE(off.mid);
  off = DialZonesAfterMinimum(30, 20, 25);
  EXPECT_TRUE(off.low && off.mid);
  EXPECT_FALSE(DialZonesAfterMinimum(10, 20, 25).low);
  off = DialZonesAfterMaximum(70, 20, 80);
  EXPECT_TRUE(off.high);
  EXPECT_FALSE(off.mid);
  EXPECT_TRUE(DialZonesAfterMaximum(15, 20, 80).mid);
}

TEST(WizardRanges, DigitCountsAndPeriods) {
  EXPECT_FALSE(ParseCount("0", {1, 12}));
  EXPECT_EQ(ParseCount("9", {1, 12}), 9);
  EXPECT_EQ(ParseCount(" 12", {1, 12}), 12);
  EXPECT_FALSE(ParseCount("13", {1, 12}));
  EXPECT_FALSE(ParseCount("5.5", {1, 12}));
  EXPECT_FALSE(ParseCount("", {1, 12}));
  EXPECT_FALSE(ParseCount("1", {2, 22}));

  EXPECT_EQ(ParsePeriod("00:00:00"), 0.0);
  EXPECT_DOUBLE_EQ(*ParsePeriod("01:02:03"), (3600.0 + 120 + 3) / 86400.0);
  EXPECT_DOUBLE_EQ(*ParsePeriod("_1:00:00"), 1.0 / 24);
  EXPECT_FALSE(ParsePeriod("24:00:00"));
  EXPECT_FALSE(ParsePeriod("00:60:00"));
  EXPECT_FALSE(ParsePeriod("00:00:60"));
  EXPECT_FALSE(ParsePeriod("00:_:00"));
  EXPECT_FALSE(ParsePeriod("00:00"));
  EXPECT_EQ(PeriodText(2.0 / 1440), "00:02:00");
  EXPECT_EQ(PeriodText(*ParsePeriod("23:59:59")), "23:59:59");
  EXPECT_EQ(PointsToKeep(*ParsePeriod("00:00:10")), 11);
  EXPECT_EQ(PointsToKeep(0), 1);
}

}  // namespace
