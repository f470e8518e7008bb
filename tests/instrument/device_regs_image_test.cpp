// The configuration block between register image and fields: identification, texts, the
// parse of both models, and a compose that never changes what the user did not change.
#include <gtest/gtest.h>

#include <bit>

#include "instrument/device_regs_image.h"
#include "instrument/register_text.h"

namespace device {
namespace {

// Every register a configuration write may touch holds a distinctive value, including bits
// and bytes the parse does not interpret.
RegisterImage BusyImage(uint16_t register2, uint16_t kind = 0) {
  RegisterImage image;
  for (uint16_t r = 7; r <= 72; ++r)
    if (RegisterImage::HoldsRegister(r)) image.Register(r) = static_cast<uint16_t>(0x8000 | (r * 0x0111));
  for (uint16_t r = 18; r <= 59; ++r) image.Calibration(r) = static_cast<uint16_t>(0x9000 + r);
  image.Register(reg::kModelAndFirmware) = register2;
  image.Register(reg::kLiveValues) = kind;
  // A text whose bytes after the terminating zero are not zero.
  image.Register(27) = 0x4241;
  image.Register(28) = 0x0043;
  image.Register(29) = 0x5A5A;
  return image;
}

DeviceRegs Parsed(const RegisterImage& image, DeviceRegs regs = {}) {
  ParseRegisterImage(image, regs);
  return regs;
}

TEST(DeviceIdentification, SerialVersionModelAndTexts) {
  EXPECT_EQ(SerialText(SerialFromBcd(0x1234, 0x5678)), "12345678");
  EXPECT_EQ(SerialText(SerialFromBcd(0x0000, 0x0042)), "00000042");
  for (const auto& [register2, model, version] : {std::tuple{0x006E, kModelLogger, "1.10"}, {0x006D, kModelLogger, "1.09"},
                                                 {0x2069, kModelProbe, "1.05"}, {0x4064, 0x4000, "1.00"}}) {
    EXPECT_EQ(ModelOf(uint16_t(register2)), model);
    EXPECT_EQ(Parsed(BusyImage(uint16_t(register2))).VersionText, version);
  }
  uint16_t words[5];
  StringToRegText("ABCDE", words);
  EXPECT_EQ(words[0], 0x4241);  // first character in the low byte
  EXPECT_EQ(words[2], 0x0045);
  EXPECT_EQ(words[4], 0);
  StringToRegText("0123456789XY", words);
  EXPECT_EQ(RegTextToString(words), "0123456789");
  const uint16_t zeroInside[5] = {0x4241, 0x4300, 0x4444, 0x4545, 0x4646};
  EXPECT_EQ(RegTextToString(zeroInside), "AB");
  EXPECT_EQ(TrimTagText(" \t Forno 1\r\x01 "), "Forno 1");
  EXPECT_EQ(TrimTagText("\x05\x06"), "");
}

TEST(DeviceRegsParse, Model0FieldsAreSignExtendedAndTheCounterBlockFollowsFirmware) {
  RegisterImage image = BusyImage(110);
  image.Register(8) = 0xFFFE;  // a Config word is signed
  image.Register(12) = 0x8000;
  image.Register(59) = 0xFFF6;
  image.Register(65) = 0xFFFF;  // debounce is unsigned
  const uint64_t scale = std::bit_cast<uint64_t>(2.5);
  for (uint16_t i = 0; i < 4; ++i) image.Register(66 + i) = static_cast<uint16_t>(scale >> (48 - 16 * i));
  image.Register(70) = 0x0001;
  image.Register(71) = 0x8000;
  const DeviceRegs regs = Parsed(image);
  EXPECT_EQ(regs.Channel1.Config, -2);
  EXPECT_EQ(regs.Channel1.LowLimit, -32768);
  EXPECT_EQ(regs.Channel3UserOffset, -10);
  EXPECT_EQ(regs.Debounce, 65535);
  EXPECT_EQ(regs.Scale, 2.5);
  EXPECT_EQ(regs.ResetValue, 0x18000);
  EXPECT_EQ(regs.BaseTime, -32768);

  // Below firmware 110 the block's fields keep what they held.
  image.Register(2) = 109;
  DeviceRegs kept;
  kept.Debounce = 77;
  kept.Scale = 3.0;
  kept = Parsed(image, kept);
  EXPECT_EQ(kept.Debounce, 77);
  EXPECT_EQ(kept.Scale, 3.0);
}

TEST(DeviceRegsParse, ProbeTakesItsColumnAndItsCalibrationTables) {
  for (uint16_t kind : {0, 2}) {
    SCOPED_TRACE(kind);
    RegisterImage image = BusyImage(0x2069, kind);
    image.Calibration(18) = 0x0503;
    image.Calibration(19) = 2024;
    image.Calibration(20) = 0x8000;
    image.Calibration(21) = 0xFFFF;
    DeviceRegs regs;
    regs.Channel1.Unit = "old";
    regs = Parsed(image, regs);
    EXPECT_EQ(regs.InputTypeModel, kind);
    EXPECT_EQ(regs.Channel1.Config, (0x8000 | 8 * 0x0111) & 0x3FF);  // the instrument's upper bits are not ours
    EXPECT_EQ(regs.Channel1.Unit, "");  // no such register: a fixed value
    EXPECT_EQ(regs.LastCustomCalDay, 5);
    EXPECT_EQ(regs.LastCustomCalMonth, 3);
    EXPECT_EQ(regs.LastCustomCalYear, 2024);
    EXPECT_EQ(regs.Channel1.CustomCalB[0], Channel::kEmptyCalibrationPoint);
    EXPECT_EQ(regs.Channel1.CustomCalA[0], -1);
    EXPECT_EQ(regs.Channel2.CustomCalB[9], static_cast<int16_t>(0x9000 + 58));
    // Only a probe of kind 0 has a second channel.
    EXPECT_EQ(regs.Channel2.Config, kind == 0 ? (9 * 0x0111) & 0x1FF : 0);
    EXPECT_EQ(regs.Channel2.OverflowValue, kind == 0 ? int16_t(0x8000 | 21 * 0x0111) : 1);
  }
}

TEST(DeviceRegsCompose, ReadThenWriteLeavesEveryRegisterAsItWas) {
  for (const auto& [register2, kind] : {std::pair<uint16_t, uint16_t>{110, 0}, {109, 0}, {0x2069, 0}, {0x2069, 2}}) {
    SCOPED_TRACE(testing::Message() << register2 << " kind " << kind);
    const RegisterImage read = BusyImage(register2, kind);
    RegisterImage image = read;
    ComposeRegisterImage(Parsed(image), image);
    EXPECT_EQ(image, read);
  }
}

TEST(DeviceRegsCompose, ChangedFieldsReachTheirRegistersOnlyThere) {
  const RegisterImage read = BusyImage(0x2069, 0);
  RegisterImage image = read;
  DeviceRegs regs = Parsed(image);
  regs.Channel1.Config ^= 0x100;  // the Fahrenheit bit
  regs.Channel1.Tag = "Umidade";
  regs.Channel3UserOffset = -5;
  regs.Channel1.Unit = "ignored";  // the probe has no unit register
  ComposeRegisterImage(regs, image);
  for (size_t i = 0; i < RegisterImage::kSize; ++i) {
    if (i == 8 || (i >= 27 && i <= 31) || i == 42) continue;
    EXPECT_EQ(image.Words()[i], read.Words()[i]) << "index " << i;
  }
  EXPECT_EQ(image.Register(8) ^ read.Register(8), 0x100);  // the instrument's bits 10..15 stayed
  EXPECT_EQ(RegTextToString(std::span<const uint16_t, 5>(&image.Words()[27], 5)), "Umidade");
  EXPECT_EQ(image.Register(42), 0xFFFB);

  // A probe without a second channel keeps channel 2's registers whatever the fields say.
  const RegisterImage single = BusyImage(0x2069, 2);
  image = single;
  regs = Parsed(image);
  regs.Channel2.Tag = "X";
  regs.Channel2.Filter = 9;
  ComposeRegisterImage(regs, image);
  EXPECT_EQ(image, single);

  // Model 0's counter factor as a double over 66..69; register 71 is shared by the reset
  // value and the base time, which is never written by itself.
  image = BusyImage(110);
  regs = Parsed(image);
  regs.Scale = 0.001;
  regs.ResetValue = 98304;
  regs.BaseTime = 7;
  ComposeRegisterImage(regs, image);
  EXPECT_EQ(Parsed(image).Scale, 0.001);  // the parse's word order is pinned by its own test
  EXPECT_EQ(image.Register(70), 0x0001);
  EXPECT_EQ(image.Register(71), 0x8000);
}

}  // namespace
}  // namespace device
