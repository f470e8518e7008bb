// The digital-input page to and from the block, without widgets.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "devconfig/digital_input_transfer.h"

namespace {

using namespace devconfig;

const DeviceContext kLogger{device::kModelLogger, -1, 110};

DeviceRegs Block(int32_t config) {
  DeviceRegs r;
  r.FirmwareVersionNumber = 110;
  r.DigInputTag = "Porta";
  r.DigInputLowValue = -5;
  r.DigInputHighValue = 250;
  r.DigiTalInputConfig = config;
  r.Debounce = 20;
  r.Scale = 0.1;
  r.ResetValue = 5000;
  r.BaseTime = 5000;
  r.DecimalNumber = 2;
  return r;
}

TEST(DigitalInput, ModesEdgesAndLevels) {
  struct Case {
    int32_t config;
    DigitalMode mode;
    int edge;
  };
  const Case cases[] = {
      {0x00, DigitalMode::None, 0},        {0x10, DigitalMode::Counting, 0},
      {0x30, DigitalMode::Counting, 0},    {0x60, DigitalMode::Timing, 0},
      {0x20 | 0x800, DigitalMode::Timing, 1}, {0x40 | 0x200, DigitalMode::Frequency, 1},
      {0x10 | 0x400, DigitalMode::Counting, 2},
      {0x10 | 0x600, DigitalMode::Counting, 0},  // both edge bits: the rising edge
  };
  for (const Case& c : cases) {
    DeviceRegs regs = Block(c.config);
    const DigitalInputPageState page = FillDigitalInput(regs, kLogger, '.');
    EXPECT_EQ(page.mode, c.mode) << std::hex << c.config;
    EXPECT_EQ(page.edgeIndex, c.edge) << std::hex << c.config;
  }
}

TEST(DigitalInput, StoreRebuildsTheModeWord) {
  DeviceRegs regs = Block(0x10 | 0x80 | 0x1000 | 0x200 | 0x4000);  // 0x4000: no control owns it
  DigitalInputPageState page = FillDigitalInput(regs, kLogger, '.');
  DeviceRegs stored = regs;
  StoreDigitalInput(page, stored);
  EXPECT_EQ(stored.DigiTalInputConfig, 0x10 | 0x80 | 0x1000 | 0x200);
  EXPECT_EQ(stored.ResetValue, 5000);

  page.mode = DigitalMode::Frequency;  // frequency with base time 10
  page.baseTime = "10";
  page.edgeIndex = 2;
  page.debounceOn = false;
  StoreDigitalInput(page, stored);
  EXPECT_EQ(stored.DigiTalInputConfig, 0x40 | 0x400);
  EXPECT_EQ(stored.BaseTime, 10);
  EXPECT_EQ(stored.ResetValue, 10);

  page.mode = DigitalMode::None;  // unchecking the only mode
  StoreDigitalInput(page, stored);
  EXPECT_EQ(stored.DigiTalInputConfig & 0x70, 0);

  page.mode = DigitalMode::Timing;
  page.edgeIndex = 1;
  page.autoReset = true;
  page.resetValue = "77";  // hidden in timing mode
  stored.ResetValue = 4242;
  StoreDigitalInput(page, stored);
  EXPECT_EQ(stored.DigiTalInputConfig, 0x20 | 0x100 | 0x800);
  EXPECT_EQ(stored.ResetValue, 4242);
}

TEST(DigitalInput, CorrectionsOnFillAndTheirTexts) {
  DeviceRegs regs = Block(0x10);
  regs.Debounce = 0;
  regs.DecimalNumber = 9;
  regs.Scale = std::numeric_limits<double>::quiet_NaN();
  regs.ResetValue = 0;
  DigitalInputPageState page = FillDigitalInput(regs, kLogger, ',');
  EXPECT_EQ(regs.Debounce, 1);
  EXPECT_EQ(regs.DecimalNumber, 0);
  EXPECT_EQ(regs.Scale, 1.0);
  EXPECT_EQ(regs.ResetValue, 1);
  EXPECT_EQ(page.debounce, "1");
  EXPECT_EQ(page.scale, "1,0");
  EXPECT_EQ(page.resetValue, "1");

  regs = Block(0x10);
  regs.Scale = -std::numeric_limits<double>::infinity();
  regs.ResetValue = static_cast<int32_t>(0x80000000u);  // 2^31 and more stay
  page = FillDigitalInput(regs, kLogger, '.');
  EXPECT_EQ(regs.Scale, 1.0);
  EXPECT_EQ(regs.ResetValue, static_cast<int32_t>(0x80000000u));
  EXPECT_EQ(page.resetValue, "2147483648");
  // Writing such values back, and the base times of frequency mode, is the dialog's no-op
  // "Aplica" test.
}

TEST(DigitalInput, FactorKeepsItsBitsUnlessTyped) {
  DeviceRegs regs = Block(0x10);
  regs.Scale = std::bit_cast<double>(0x3FB999999999999Bull);  // 0.1 and two ulps: eight decimals lose it
  DigitalInputPageState page = FillDigitalInput(regs, kLogger, '.');
  EXPECT_EQ(page.scale, "0.1");
  DeviceRegs stored = regs;
  StoreDigitalInput(page, stored);
  EXPECT_EQ(std::bit_cast<uint64_t>(stored.Scale), std::bit_cast<uint64_t>(regs.Scale));
  page.scale = "2,5";
  page.scaleTyped = true;
  StoreDigitalInput(page, stored);
  EXPECT_EQ(stored.Scale, 2.5);
}

TEST(DigitalInput, FirmwareBelow110TakesOnlyNameAndLevels) {
  DeviceRegs regs = Block(0x10);
  regs.FirmwareVersionNumber = 109;
  regs.Debounce = 0;
  const DeviceContext old{device::kModelLogger, -1, 109};
  DigitalInputPageState page = FillDigitalInput(regs, old, '.');
  EXPECT_FALSE(page.featuresShown);
  EXPECT_EQ(regs.Debounce, 0);
  page.tag = "Chave";
  page.lowValue = 1;
  page.highValue = 2;
  page.mode = DigitalMode::Frequency;
  DeviceRegs stored = regs;
  StoreDigitalInput(page, stored);
  DeviceRegs expected = regs;
  expected.DigInputTag = "Chave";
  expected.DigInputLowValue = 1;
  expected.DigInputHighValue = 2;
  EXPECT_EQ(stored, expected);
}

TEST(DigitalInput, UnreadableTextsFallBack) {
  DeviceRegs regs = Block(0x10);
  DigitalInputPageState page = FillDigitalInput(regs, kLogger, '.');
  page.debounce = "";
  page.resetValue = "x";
  page.decimals = "?";
  StoreDigitalInput(page, regs);
  EXPECT_EQ(regs.Debounce, 1);
  EXPECT_EQ(static_cast<uint32_t>(regs.ResetValue), 0xFFFFFFFFu);
  EXPECT_EQ(regs.DecimalNumber, 0);
  page.mode = DigitalMode::Frequency;
  page.baseTime = "";
  StoreDigitalInput(page, regs);
  EXPECT_EQ(regs.BaseTime, 1);
  EXPECT_EQ(regs.ResetValue, 1);
  EXPECT_EQ(ResetValueRange(DigitalMode::Counting).max, 4294967295LL);
  EXPECT_EQ(ResetValueRange(DigitalMode::Timing).max, 65535);
}

}  // namespace
