// The configuration block between register image and fields: identification, texts, the
// parse of both models, and a compose that never changes what the user did not change.
#include <gtest/gtest.h>

#include <bit>

#include "instrument/device_regs_image.h"
#include "instrument/register_text.h"

namespace device {
namespace {

RegisterImage ImageWith(uint16_t register2, uint16_t register3 = 0) {
  RegisterImage image;
  image.Register(reg::kModelAndFirmware) = register2;
  image.Register(reg::kLiveValues) = register3;
  return image;
}

void PutText(RegisterImage& image, uint16_t first, const std::string& text) {
  StringToRegText(text, std::span<uint16_t, 5>(image.RegisterPointer(first), 5));
}

// Every register a configuration write may touch holds a distinctive value, including bits
// and bytes the parse does not interpret.
RegisterImage BusyImage(uint16_t register2, uint16_t kind = 0) {
  RegisterImage image = ImageWith(register2, kind);
  for (uint16_t r = 7; r <= 72; ++r)
    if (RegisterImage::HoldsRegister(r)) image.Register(r) = static_cast<uint16_t>(0x8000 | (r * 0x0111));
  for (uint16_t r = 18; r <= 59; ++r) image.Calibration(r) = static_cast<uint16_t>(0x9000 + r);
  // A text whose bytes after the terminating zero are not zero.
  image.Register(27) = 0x4241;
  image.Register(28) = 0x0043;
  image.Register(29) = 0x5A5A;
  return image;
}

TEST(DeviceIdentification, SerialVersionAndModelFromTheirRegisters) {
  EXPECT_EQ(SerialFromBcd(0x1234, 0x5678), 12345678);
  EXPECT_EQ(SerialText(SerialFromBcd(0x1234, 0x5678)), "12345678");
  EXPECT_EQ(SerialText(SerialFromBcd(0x0000, 0x0042)), "00000042");
  struct Case {
    uint16_t register2;
    int32_t model;
    const char* version;
  };
  for (const Case& c : {Case{0x006E, kModelLogger, "1.10"}, Case{0x006D, kModelLogger, "1.09"},
                        Case{0x2069, kModelProbe, "1.05"}, Case{0x4064, 0x4000, "1.00"}}) {
    RegisterImage image = ImageWith(c.register2);
    DeviceRegs regs;
    ParseRegisterImage(image, regs);
    EXPECT_EQ(ModelOf(c.register2), c.model);
    EXPECT_EQ(regs.VersionText, c.version);
  }
}

TEST(RegisterText, StopsAtZeroAndCutsAtTen) {
  uint16_t words[5];
  StringToRegText("ABCDE", words);
  EXPECT_EQ(words[0], 0x4241);  // first character in the low byte
  EXPECT_EQ(words[2], 0x0045);
  EXPECT_EQ(words[4], 0);
  EXPECT_EQ(RegTextToString(words), "ABCDE");
  StringToRegText("0123456789XY", words);
  EXPECT_EQ(RegTextToString(words), "0123456789");
  const uint16_t zeroInside[5] = {0x4241, 0x4300, 0x4444, 0x4545, 0x4646};
  EXPECT_EQ(RegTextToString(zeroInside), "AB");
  EXPECT_EQ(TrimTagText(" \t Forno 1\r\x01 "), "Forno 1");
  EXPECT_EQ(TrimTagText("\x05\x06"), "");
}

TEST(DeviceRegsParse, Model0FieldsAreSignExtendedAndTheCounterBlockFollowsFirmware) {
  RegisterImage image = ImageWith(110);
  image.Register(8) = 0xFFFE;  // a Config word is signed
  image.Register(12) = 0x8000;
  image.Register(16) = 0xFFFF;
  image.Register(59) = 0xFFF6;
  image.Register(65) = 0xFFFF;  // debounce is unsigned
  const uint64_t scale = std::bit_cast<uint64_t>(2.5);
  for (uint16_t i = 0; i < 4; ++i) image.Register(66 + i) = static_cast<uint16_t>(scale >> (48 - 16 * i));
  image.Register(70) = 0x0001;
  image.Register(71) = 0x8000;
  PutText(image, 52, "Ambiente");
  DeviceRegs regs;
  ParseRegisterImage(image, regs);
  EXPECT_EQ(regs.Channel1.Config, -2);
  EXPECT_EQ(regs.Channel1.LowLimit, -32768);
  EXPECT_EQ(regs.DigInputLowValue, -1);
  EXPECT_EQ(regs.Channel3UserOffset, -10);
  EXPECT_EQ(regs.Debounce, 65535);
  EXPECT_EQ(regs.Scale, 2.5);
  EXPECT_EQ(regs.ResetValue, 0x18000);
  EXPECT_EQ(regs.BaseTime, -32768);
  EXPECT_EQ(regs.Channel3Tag, "Ambiente");

  // Below firmware 110 the block's fields keep what they held.
  RegisterImage old = image;
  old.Register(2) = 109;
  DeviceRegs kept;
  kept.Debounce = 77;
  kept.Scale = 3.0;
  ParseRegisterImage(old, kept);
  EXPECT_EQ(kept.Debounce, 77);
  EXPECT_EQ(kept.Scale, 3.0);
}

TEST(DeviceRegsParse, ProbeTakesItsColumnAndItsCalibrationTables) {
  for (uint16_t kind : {0, 2}) {
    SCOPED_TRACE(kind);
    RegisterImage image = BusyImage(0x2069, kind);
    PutText(image, 32, "Temp");
    image.Calibration(18) = 0x0503;
    image.Calibration(19) = 2024;
    image.Calibration(20) = 0x8000;
    image.Calibration(21) = 0xFFFF;
    DeviceRegs regs;
    regs.Channel1.Unit = "old";
    ParseRegisterImage(image, regs);
    EXPECT_EQ(regs.InputTypeModel, kind);
    EXPECT_EQ(regs.Channel1.Config, (0x8000 | 8 * 0x0111) & 0x3FF);
    EXPECT_EQ(regs.Channel1.Unit, "");
    EXPECT_EQ(regs.Channel1.HighLimit, 1);
    EXPECT_EQ(regs.DigInputHighValue, 1);
    EXPECT_EQ(regs.LastCustomCalDay, 5);
    EXPECT_EQ(regs.LastCustomCalMonth, 3);
    EXPECT_EQ(regs.LastCustomCalYear, 2024);
    EXPECT_EQ(regs.Channel1.CustomCalB[0], Channel::kEmptyCalibrationPoint);
    EXPECT_EQ(regs.Channel1.CustomCalA[0], -1);
    EXPECT_EQ(regs.Channel2.CustomCalB[9], static_cast<int16_t>(0x9000 + 58));
    if (kind == 0) {
      EXPECT_EQ(regs.Channel2.Tag, "Temp");
      EXPECT_EQ(regs.Channel2.Config, (9 * 0x0111) & 0x1FF);
    } else {
      EXPECT_EQ(regs.Channel2.Tag, "");
      EXPECT_EQ(regs.Channel2.Config, 0);
      EXPECT_EQ(regs.Channel2.HighLimit, 1);
      EXPECT_EQ(regs.Channel2.OverflowValue, 1);
    }
  }
}

TEST(DeviceRegsCompose, ReadThenWriteLeavesEveryRegisterAsItWas) {
  for (uint16_t register2 : {uint16_t{110}, uint16_t{109}, uint16_t{0x2069}}) {
    for (uint16_t kind : {0, 2}) {
      if (register2 < 0x2000 && kind != 0) continue;
      SCOPED_TRACE(testing::Message() << register2 << " kind " << kind);
      const RegisterImage read = BusyImage(register2, kind);
      RegisterImage image = read;
      DeviceRegs regs;
      ParseRegisterImage(image, regs);
      ComposeRegisterImage(regs, image);
      EXPECT_EQ(image, read);
    }
  }
}

TEST(DeviceRegsCompose, ChangedFieldsReachTheirRegistersOnlyThere) {
  const RegisterImage read = BusyImage(0x2069, 0);
  RegisterImage image = read;
  DeviceRegs regs;
  ParseRegisterImage(image, regs);
  regs.Channel1.Config = (regs.Channel1.Config & ~0x100) ^ 0x100;  // the Fahrenheit bit
  regs.Channel1.Tag = "Umidade";
  regs.Channel3UserOffset = -5;
  regs.Channel1.Unit = "ignored";  // the probe has no unit register
  ComposeRegisterImage(regs, image);
  for (size_t i = 0; i < RegisterImage::kSize; ++i) {
    if (i == 8 || (i >= 27 && i <= 31) || i == 42) continue;
    EXPECT_EQ(image.Words()[i], read.Words()[i]) << "index " << i;
  }
  // Only bit 8 of register 8 moved; the instrument's bits 10..15 stayed.
  EXPECT_EQ(image.Register(8) ^ read.Register(8), 0x100);
  EXPECT_EQ(RegTextToString(std::span<const uint16_t, 5>(&image.Words()[27], 5)), "Umidade");
  EXPECT_EQ(image.Register(42), 0xFFFB);

  // A probe without a second channel keeps channel 2's registers whatever the fields say.
  const RegisterImage single = BusyImage(0x2069, 2);
  image = single;
  ParseRegisterImage(image, regs);
  regs.Channel2.Tag = "X";
  regs.Channel2.Filter = 9;
  ComposeRegisterImage(regs, image);
  EXPECT_EQ(image, single);
}

TEST(DeviceRegsCompose, Model0CounterBlockWordsAndSharedRegister71) {
  RegisterImage image = BusyImage(110);
  DeviceRegs regs;
  ParseRegisterImage(image, regs);
  regs.Scale = 0.001;
  regs.ResetValue = 98304;
  regs.BaseTime = 7;  // never written by itself: it shares register 71 with ResetValue
  ComposeRegisterImage(regs, image);
  const uint64_t bits = std::bit_cast<uint64_t>(0.001);
  EXPECT_EQ(image.Register(66), bits >> 48);
  EXPECT_EQ(image.Register(69), bits & 0xFFFF);
  EXPECT_EQ(image.Register(70), 0x0001);
  EXPECT_EQ(image.Register(71), 0x8000);
}

TEST(DeviceRegsCompose, WriteOrderByModel) {
  const auto logger = ConfigurationWriteOrder(kModelLogger, 110);
  ASSERT_EQ(logger.size(), 62u);
  EXPECT_EQ(logger.front(), 7);
  EXPECT_EQ(logger[52], 59);
  EXPECT_EQ(logger[53], 64);
  EXPECT_EQ(logger.back(), 72);
  EXPECT_EQ(ConfigurationWriteOrder(kModelLogger, 109).size(), 53u);
  const auto probe = ConfigurationWriteOrder(kModelProbe, 105);
  ASSERT_EQ(probe.size(), 30u);
  EXPECT_EQ(probe[4], 11);
  EXPECT_EQ(probe[5], 18);
  EXPECT_EQ(probe.back(), 42);
  EXPECT_TRUE(ConfigurationWriteOrder(0x4000, 105).empty());
}

}  // namespace
}  // namespace device
