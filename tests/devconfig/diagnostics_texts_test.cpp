// The diagnostic page's texts without widgets: names, units, decimals and the overflow and
// underflow marks, for both models.
#include <gtest/gtest.h>

#include <limits>

#include "devconfig/diagnostics_texts.h"
#include "instrument/live_values.h"

namespace {

using namespace devconfig;

const ChannelNames kNames{"Canal 1", "Canal 2", "Ambiente", "Canal 3", "Contagens", "Temporiza\xE7\xE3o",
                          "Freq\xFC\xEAncia"};
const DeviceContext kLogger{device::kModelLogger, -1, 110};

DeviceRegs LoggerBlock() {
  DeviceRegs r;
  r.FirmwareVersionNumber = 110;
  r.Channel1.Config = 0 | 0x80;  // Pt100, °C
  r.Channel1.OverflowValue = 30000;
  r.Channel1.UnderflowValue = -30000;
  r.Channel1.Tag = "  Forno ";
  r.Channel2.Config = 10 | 0x80 | (2 << 9);  // 4 to 20 mA, two decimals
  r.Channel2.Unit = " % ";
  r.Channel2.OverflowValue = 10100;
  r.Channel2.UnderflowValue = -100;
  r.DeviceConfig = 0x10;  // ambient in °F
  r.DigiTalInputConfig = 0x20;
  r.DecimalNumber = 3;
  return r;
}

std::array<float, 5> Values(float a, float b, float c, float d, float e) { return {a, b, c, d, e}; }

TEST(DiagnosticLabels, TagsOrDefaultNames) {
  const DeviceRegs regs = LoggerBlock();
  DiagnosticLabels labels = PrepareDiagnosticLabels(true, regs, kLogger, kNames);
  EXPECT_EQ(labels.channel1, "Forno");
  EXPECT_EQ(labels.channel2, "Canal 2");
  EXPECT_EQ(labels.ambient, "Ambiente");
  EXPECT_EQ(labels.digitalInput, "Canal 3");
  EXPECT_TRUE(labels.countingShown);
  EXPECT_EQ(labels.counting, "Temporiza\xE7\xE3o");
  // Without a fresh read the tags are not trusted and no counter line is offered.
  labels = PrepareDiagnosticLabels(false, regs, kLogger, kNames);
  EXPECT_EQ(labels.channel1, "Canal 1");
  EXPECT_FALSE(labels.countingShown);
  EXPECT_FALSE(PrepareDiagnosticLabels(true, regs, {device::kModelLogger, -1, 109}, kNames).countingShown);

  const DiagnosticLabels humidity = PrepareDiagnosticLabels(true, regs, {device::kModelProbe, 0, 105}, kNames);
  EXPECT_TRUE(humidity.channel2Shown);
  EXPECT_FALSE(humidity.ambientShown);
  EXPECT_FALSE(humidity.countingShown);
  const DiagnosticLabels temperature = PrepareDiagnosticLabels(true, regs, {device::kModelProbe, 2, 105}, kNames);
  EXPECT_FALSE(temperature.channel2Shown);
  EXPECT_TRUE(temperature.ambientShown);
}

TEST(DiagnosticValues, LoggerTextsAndUnits) {
  DeviceRegs regs = LoggerBlock();
  DiagnosticValues v = DiagnosticValueTexts(Values(1, 23.5f, 42.5f, 24.1f, 12.3456f), regs, kLogger, ',');
  EXPECT_EQ(v.digitalInput, "1");
  EXPECT_EQ(v.channel1, "23,5  \xB0" "C");
  EXPECT_EQ(v.channel2, "42,50  %");
  EXPECT_EQ(v.ambient, "24,1  \xB0" "F");
  EXPECT_EQ(v.counter, "12,346");

  regs.Channel2.Config = 10 | 0x80;  // no decimals: an integer without a mark
  regs.DecimalNumber = 0;
  regs.Channel1.Config |= 0x100;
  v = DiagnosticValueTexts(Values(-1.7f, 23.5f, 42, 24.1f, 7), regs, kLogger, '.');
  EXPECT_EQ(v.channel2, "42  %");
  EXPECT_EQ(v.channel1, "23.5  \xB0" "F");
  EXPECT_EQ(v.digitalInput, "-1");
  EXPECT_EQ(v.counter, "7");
  // A counter the instrument link could not give as a float (its factor too large).
  v = DiagnosticValueTexts(Values(0, 23.5f, 42, 24.1f, std::numeric_limits<float>::quiet_NaN()), regs, kLogger, '.');
  EXPECT_EQ(v.counter, "???");
  EXPECT_EQ(v.channel1, "23.5  \xB0" "F");

  regs.FirmwareVersionNumber = 109;  // no counter line to update
  EXPECT_FALSE(DiagnosticValueTexts(Values(0, 0, 0, 0, 0), regs, {device::kModelLogger, -1, 109}, '.').counter);
}

TEST(DiagnosticValues, MarksCompareAsTheValuesAreScaled) {
  DeviceRegs regs = LoggerBlock();
  // Channel 1 (tenths): the instrument shows 3000.0 for its overflow value 30000.
  const float over1 = device::ScaleChannelValue(30000, device::kModelLogger, regs.Channel1.Config);
  const float over2 = device::ScaleChannelValue(10100, device::kModelLogger, regs.Channel2.Config);
  const float under2 = device::ScaleChannelValue(-100, device::kModelLogger, regs.Channel2.Config);
  DiagnosticValues v = DiagnosticValueTexts(Values(0, over1, under2, 0, 0), regs, kLogger, '.');
  EXPECT_EQ(v.channel1, "3000.0  \xB0" "C  (OVERFLOW)");
  EXPECT_EQ(v.channel2, "-1.00  %  (UNDERFLOW)");
  EXPECT_EQ(DiagnosticValueTexts(Values(0, 30000, over2, 0, 0), regs, kLogger, '.').channel1, "30000.0  \xB0" "C");
}

TEST(DiagnosticValues, ProbeTexts) {
  DeviceRegs regs;
  regs.Channel1.Config = 0x80;
  regs.Channel1.OverflowValue = 30000;
  regs.Channel2.Config = 0x80 | 0x100;
  const DeviceContext humidity{device::kModelProbe, 0, 105};
  DiagnosticValues v = DiagnosticValueTexts(Values(0, 55.2f, 23.1f, 24.5f, 0), regs, humidity, '.');
  EXPECT_EQ(v.channel1, "55.2  %");
  EXPECT_EQ(v.channel2, "23.1  \xB0" "F");
  EXPECT_EQ(v.ambient, "24.5  \xB0" "C");
  EXPECT_FALSE(v.digitalInput);  // the probe's digital-input and counter lines keep their texts
  EXPECT_FALSE(v.counter);
  regs.Channel1.Config |= 0x200;  // dew point: degrees
  EXPECT_EQ(DiagnosticValueTexts(Values(0, 3000, 0, 0, 0), regs, humidity, '.').channel1,
            "3000.0  \xB0" "C  (OVERFLOW)");
  EXPECT_EQ(DiagnosticValueTexts(Values(0, 23.1f, 0, 0, 0), regs, {device::kModelProbe, 1, 105}, '.').channel1,
            "23.1  \xB0" "C");

}

}  // namespace
