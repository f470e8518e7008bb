// The instrument model's pure parts: the configuration block between register image and
// fields (a compose that never changes what the user did not change), register texts, live
// value scaling and units, the streaming period, sensor names and calibration limits.
#include <gtest/gtest.h>

#include <bit>
#include <limits>

#include "instrument/calibration_limits.h"
#include "instrument/device_regs_image.h"
#include "instrument/fast_mode_period.h"
#include "instrument/live_values.h"
#include "instrument/register_text.h"
#include "instrument/sensor_names.h"
#include "platform/text_trim.h"

namespace device {
namespace {

// Every register a configuration write may touch holds a distinctive value, including bits
// and bytes the parse does not interpret (text bytes after the terminating zero at 28).
RegisterImage BusyImage(uint16_t register2, uint16_t kind = 0) {
  RegisterImage image;
  for (uint16_t r = 7; r <= 72; ++r)
    if (RegisterImage::HoldsRegister(r)) image.Register(r) = static_cast<uint16_t>(0x8000 | (r * 0x0111));
  for (uint16_t r = 18; r <= 59; ++r) image.Calibration(r) = static_cast<uint16_t>(0x9000 + r);
  image.Register(reg::kModelAndFirmware) = register2;
  image.Register(reg::kLiveValues) = kind;
  image.Register(28) = 0x0043;
  return image;
}

DeviceRegs Parsed(const RegisterImage& image, DeviceRegs regs = {}) {
  ParseRegisterImage(image, regs);
  return regs;
}

TEST(DeviceRegsParse, IdentificationAndTexts) {
  EXPECT_EQ(SerialText(SerialFromBcd(0x0000, 0x0042)), "00000042");
  for (const auto& [register2, version] : {std::pair{0x006D, "1.09"}, {0x2069, "1.05"}, {0x4064, "1.00"}})
    EXPECT_EQ(Parsed(BusyImage(uint16_t(register2))).VersionText, version);
  uint16_t words[5];
  StringToRegText("0123456789XY", words);
  EXPECT_EQ(words[0], 0x3130);  // first character in the low byte
  EXPECT_EQ(RegTextToString(words), "0123456789");
  const uint16_t zeroInside[5] = {0x4241, 0x4300, 0x4444, 0x4545, 0x4646};
  EXPECT_EQ(RegTextToString(zeroInside), "AB");
  EXPECT_EQ(platform::TrimBlanks(" \t Forno 1\r\x01 "), "Forno 1");
}

TEST(DeviceRegsParse, Model0FieldsAreSignExtendedAndTheCounterBlockFollowsFirmware) {
  RegisterImage image = BusyImage(110);
  image.Register(8) = 0xFFFE;  // a Config word is signed
  image.Register(59) = 0xFFF6;
  image.Register(65) = 0xFFFF;  // debounce is unsigned
  const uint64_t scale = std::bit_cast<uint64_t>(2.5);
  for (uint16_t i = 0; i < 4; ++i) image.Register(66 + i) = static_cast<uint16_t>(scale >> (48 - 16 * i));
  image.Register(70) = 0x0001;
  image.Register(71) = 0x8000;
  const DeviceRegs regs = Parsed(image);
  EXPECT_EQ(regs.Channel1.Config, -2);
  EXPECT_EQ(regs.Channel3UserOffset, -10);
  EXPECT_EQ(regs.Debounce, 65535);
  EXPECT_EQ(regs.Scale, 2.5);
  EXPECT_EQ(regs.ResetValue, 0x18000);
  EXPECT_EQ(regs.BaseTime, -32768);
  // Below firmware 110 the block's fields keep what they held.
  image.Register(2) = 109;
  DeviceRegs kept;
  kept.Scale = 3.0;
  EXPECT_EQ(Parsed(image, kept).Scale, 3.0);
}

TEST(DeviceRegsParse, ProbeTakesItsColumnAndItsCalibrationTables) {
  for (uint16_t kind : {0, 2}) {
    RegisterImage image = BusyImage(0x2069, kind);
    image.Calibration(18) = 0x0503;
    image.Calibration(19) = 2024;
    image.Calibration(20) = 0x8000;
    image.Calibration(21) = 0xFFFF;
    DeviceRegs regs;
    regs.Channel1.Unit = "old";
    regs = Parsed(image, regs);
    EXPECT_EQ(regs.Channel1.Config, (0x8000 | 8 * 0x0111) & 0x3FF);  // the instrument's upper bits are not ours
    EXPECT_EQ(regs.Channel1.Unit, "");  // no such register: a fixed value
    EXPECT_EQ(regs.LastCustomCalDay * 100 + regs.LastCustomCalMonth, 503);
    EXPECT_EQ(regs.Channel1.CustomCalB[0], Channel::kEmptyCalibrationPoint);
    EXPECT_EQ(regs.Channel1.CustomCalA[0], -1);
    EXPECT_EQ(regs.Channel2.CustomCalB[9], static_cast<int16_t>(0x9000 + 58));
    // Only a probe of kind 0 has a second channel.
    EXPECT_EQ(regs.Channel2.Config, kind == 0 ? (9 * 0x0111) & 0x1FF : 0) << kind;
  }
}

TEST(DeviceRegsCompose, ChangesReachTheirRegistersAndNothingElse) {
  // Unchanged fields: every register as it was, on every layout.
  for (const auto& [register2, kind] : {std::pair<uint16_t, uint16_t>{110, 0}, {109, 0}, {0x2069, 0}, {0x2069, 2}}) {
    const RegisterImage read = BusyImage(register2, kind);
    RegisterImage image = read;
    ComposeRegisterImage(Parsed(image), image);
    EXPECT_EQ(image, read) << register2 << " kind " << kind;
  }
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
  ComposeRegisterImage(regs, image);
  EXPECT_EQ(image, single);
  // Register 71 is shared by the reset value and the base time, never written by itself.
  image = BusyImage(110);
  regs = Parsed(image);
  regs.Scale = 0.001;
  regs.ResetValue = 98304;
  regs.BaseTime = 7;
  ComposeRegisterImage(regs, image);
  EXPECT_EQ(Parsed(image).Scale, 0.001);  // the parse's word order is pinned above
  EXPECT_EQ(image.Register(70), 0x0001);
  EXPECT_EQ(image.Register(71), 0x8000);
}

TEST(DeviceLiveValues, ScalingAndUnits) {
  struct Case { int16_t raw; int32_t model, config; float expected; };
  for (const Case& c : {Case{1234, kModelLogger, 0x0009, 1234.0f},      // linear, no decimals
                        Case{12345, kModelLogger, 0x0E0A, 0.0012345f},  // linear, seven
                        Case{-125, kModelLogger, 0x0601, -12.5f},       // a temperature ignores them
                        Case{456, kModelProbe, 0x0609, 45.6f}}) {       // the probe: always tenths
    EXPECT_FLOAT_EQ(ScaleChannelValue(c.raw, c.model, c.config), c.expected) << c.raw;
  }
  // The tenths are taken step by step as 32-bit floats, exactly as files always held them.
  EXPECT_EQ(ScaleChannelValue(1234, kModelLogger, 0x0409), static_cast<float>(static_cast<float>(1234 * 0.1) * 0.1));
  EXPECT_EQ(CounterValue(0x0001, 0x8000, 0.5), 49152.0f);  // unsigned 32 bits, then the factor
  EXPECT_EQ(CounterValue(0xFFFF, 0xFFFF, 1.0), 4294967295.0f);
  // A damaged factor: a product past a float, or none at all, is no value; nought stays nought.
  EXPECT_FALSE(CounterValue(0, 1234, -4.7e290));
  EXPECT_FALSE(CounterValue(0, 1, std::numeric_limits<double>::quiet_NaN()));
  EXPECT_EQ(CounterValue(0, 0, -4.7e290), 0.0f);

  DeviceRegs logger;
  logger.Channel1.Config = 0x0100;  // Pt100, Fahrenheit
  logger.Channel2.Config = 0x000A;  // linear: its own unit
  logger.Channel2.Unit = "bar";
  logger.DeviceConfig = 0x10;       // the internal channel in Fahrenheit
  DeviceRegs humidity;              // probe kind 0, channel 1 measuring a temperature
  humidity.Channel1.Config = 0x0200;
  struct Units { int32_t model; const DeviceRegs& regs; std::array<const char*, 5> units; };  // channels 0..4
  for (const Units& c : {Units{kModelLogger, logger, {"", "\xB0" "F", "bar", "\xB0" "F", ""}},
                         Units{kModelProbe, humidity, {"", "\xB0" "C", "\xB0" "C", "", ""}},
                         Units{kModelUnknown, logger, {"", "", "", "", ""}}}) {
    for (int channel = 0; channel < 5; ++channel)
      EXPECT_EQ(ChannelUnit(channel, c.model, c.regs), c.units[size_t(channel)]) << c.model << " " << channel;
  }
}

TEST(DeviceFastModePeriod, ConversionsTimesBaseRate) {
  struct Case { const char* name; int32_t model, kind, deviceConfig, channel1, channel2; float expected; };
  const Case cases[] = {
      {"both channels, Pt100 and a couple", kModelLogger, 0, 0x01, 0x80, 0x81, 125.0f},
      {"even count, 50 Hz filter", kModelLogger, 0, 0x25, 0x89, 0x00, 2 * 41.7f + 8.3f},
      {"odd count, 60 Hz filter", kModelLogger, 0, 0x0E, 0x80, 0x8A, 3 * 70.0f},
      {"nothing converted", kModelLogger, 0, 0x03, 0x00, 0x00, 0.0f},
      {"humidity probe, slow", kModelProbe, 0, 0x02, 0x80, 0x80, 3000.0f},
      {"thermocouple probe adds the cold junction", kModelProbe, 3, 0x03, 0x80, 0x00, 250.0f},
  };
  for (const Case& c : cases) {
    DeviceRegs regs;
    regs.InputTypeModel = c.kind;
    regs.DeviceConfig = c.deviceConfig;
    regs.Channel1.Config = c.channel1;
    regs.Channel2.Config = c.channel2;
    EXPECT_FLOAT_EQ(FastModePeriod(c.model, regs), c.expected) << c.name;
  }
}

TEST(DeviceSensorNames, BuiltInReplacedFromLanguageLines) {
  EXPECT_EQ(BuiltInSensorNames()[ProbeSensorNameIndex(3)], "Termopar K");
  // A short section replaces what it has; a missing one nothing.
  InstallSensorNameProvider(std::make_shared<LanguageLinesSensorNames>(std::vector<std::string>{
      "# Interface do Dispositivo x", "# Interface do Dispositivo", "Relative humidity", "Temperature"}));
  EXPECT_EQ(CurrentSensorNames()[1], "Temperature");
  EXPECT_EQ(CurrentSensorNames()[2], "Pt100");  // the rest stay built in
  InstallSensorNameProvider(std::make_shared<LanguageLinesSensorNames>(std::vector<std::string>{"# Outro"}));
  EXPECT_EQ(CurrentSensorNames(), BuiltInSensorNames());
  InstallSensorNameProvider(nullptr);
}

TEST(CalibrationLimits, RegistersAndClampsByInputTypeGroup) {
  EXPECT_EQ(CalibrationOffsetRegister(1, 9), 16);
  EXPECT_EQ(CalibrationOffsetRegister(0, 11), 18);  // one register for both channels
  EXPECT_EQ(CalibrationOffsetRegister(1, 11), 18);
  EXPECT_EQ(ClampCalibrationOffset(9, -1200), -950);
  EXPECT_EQ(ClampCalibrationOffset(0, 201), 200);
  EXPECT_EQ(ClampCalibrationGain(10, 9000), 9300);
  EXPECT_EQ(ClampAmbientCalibration(1301), 1300);
  EXPECT_EQ(CalibrationLimit(127, false, false), -950);  // an unnamed type is in group 1
}

}  // namespace
}  // namespace device
