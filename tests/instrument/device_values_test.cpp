// Scaling of live values, units, the streaming period, sensor names and the calibration
// limits: the arithmetic the windows and files rely on.
#include <gtest/gtest.h>

#include "instrument/calibration_limits.h"
#include "instrument/fast_mode_period.h"
#include "instrument/live_values.h"
#include "instrument/sensor_names.h"

namespace device {
namespace {

TEST(DeviceLiveValues, ScalingByModelTypeAndDecimals) {
  struct Case { int16_t raw; int32_t model, config; float expected; };
  for (const Case& c : {Case{1234, kModelLogger, 0x0009, 1234.0f},      // linear, no decimals
                        Case{12345, kModelLogger, 0x0E0A, 0.0012345f},  // linear, seven
                        Case{-125, kModelLogger, 0x0601, -12.5f},       // a temperature ignores them
                        Case{456, kModelProbe, 0x0609, 45.6f}}) {       // the probe: always tenths
    EXPECT_FLOAT_EQ(ScaleChannelValue(c.raw, c.model, c.config), c.expected) << c.raw;
  }
  // The tenths are taken step by step as 32-bit floats, exactly as files always held them.
  EXPECT_EQ(ScaleChannelValue(1234, kModelLogger, 0x0409), static_cast<float>(static_cast<float>(1234 * 0.1) * 0.1));
  DeviceRegs regs;
  regs.Channel1.Config = 0x0409;
  const uint16_t raw[4] = {0xFFFF, 1234, 0xFF83, 241};
  float values[4];
  ScaleLiveRegisters(raw, kModelLogger, regs, values);
  EXPECT_EQ(values[0], -1.0f);  // the digital input as read, signed
  EXPECT_FLOAT_EQ(values[2], -12.5f);
  EXPECT_EQ(CounterValue(0x0001, 0x8000, 0.5), 49152.0f);  // unsigned 32 bits, then the factor
  EXPECT_EQ(CounterValue(0xFFFF, 0xFFFF, 1.0), 4294967295.0f);
}

TEST(DeviceLiveValues, UnitsFollowFahrenheitBitsAndTheModel) {
  DeviceRegs logger;
  logger.Channel1.Config = 0x0100;  // Pt100, Fahrenheit
  logger.Channel2.Config = 0x000A;
  logger.Channel2.Unit = "bar";
  logger.DeviceConfig = 0x10;       // the internal channel in Fahrenheit
  DeviceRegs humidity;              // probe kind 0, channel 1 measuring a temperature
  humidity.Channel1.Config = 0x0200;
  DeviceRegs thermocouple;
  thermocouple.InputTypeModel = 2;
  thermocouple.Channel1.Config = 0x0100;
  struct Case { int32_t model; const DeviceRegs& regs; std::array<const char*, 5> units; };  // channels 0..4
  for (const Case& c : {Case{kModelLogger, logger, {"", "\xB0" "F", "bar", "\xB0" "F", ""}},
                        Case{kModelProbe, humidity, {"", "\xB0" "C", "\xB0" "C", "", ""}},
                        Case{kModelProbe, thermocouple, {"", "\xB0" "F", "", "\xB0" "C", ""}},
                        Case{kModelUnknown, thermocouple, {"", "", "", "", ""}}}) {
    for (int channel = 0; channel < 5; ++channel)
      EXPECT_EQ(ChannelUnit(channel, c.model, c.regs), c.units[size_t(channel)]) << c.model << " " << channel;
  }
}

TEST(DeviceFastModePeriod, ConversionsTimesBaseRate) {
  struct Case { const char* name; int32_t model, kind, deviceConfig, channel1, channel2; float expected; };
  const Case cases[] = {
      {"both channels, Pt100 and a couple", kModelLogger, 0, 0x01, 0x80, 0x81, 125.0f},
      {"one linear channel, no ambient", kModelLogger, 0, 0x00, 0x89, 0x00, 7.8125f},
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
  EXPECT_EQ(ProbeSensorNameIndex(10), -1);
  // A short section replaces what it has; a missing one nothing.
  InstallSensorNameProvider(std::make_shared<LanguageLinesSensorNames>(std::vector<std::string>{
      "# Interface do Dispositivo x", "# Interface do Dispositivo", "Relative humidity", "Temperature"}));
  const SensorNames names = CurrentSensorNames();
  EXPECT_EQ(names[1], "Temperature");
  EXPECT_EQ(names[2], "Pt100");
  InstallSensorNameProvider(std::make_shared<LanguageLinesSensorNames>(std::vector<std::string>{"# Outro"}));
  EXPECT_EQ(CurrentSensorNames(), BuiltInSensorNames());
  InstallSensorNameProvider(nullptr);
}

TEST(CalibrationLimits, RegistersAndClampsByInputTypeGroup) {
  EXPECT_EQ(CalibrationOffsetRegister(0, 3), 4);
  EXPECT_EQ(CalibrationOffsetRegister(1, 9), 16);
  EXPECT_EQ(CalibrationOffsetRegister(0, 11), 18);  // one register for both channels
  EXPECT_EQ(CalibrationOffsetRegister(1, 11), 18);
  EXPECT_EQ(ClampCalibrationOffset(9, -1200), -950);
  EXPECT_EQ(ClampCalibrationOffset(0, 201), 200);
  EXPECT_EQ(ClampCalibrationOffset(0, -12), -12);
  EXPECT_EQ(ClampCalibrationGain(10, 9000), 9300);
  EXPECT_EQ(ClampAmbientCalibration(1301), 1300);
  EXPECT_EQ(CalibrationLimit(11, false, true), 9500);
  EXPECT_EQ(CalibrationLimit(127, false, false), -950);  // an unnamed type is in group 1
}

}  // namespace
}  // namespace device
