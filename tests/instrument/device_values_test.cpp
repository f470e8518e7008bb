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
  struct Case {
    const char* name;
    int16_t raw;
    int32_t model;
    int32_t config;
    float expected;
  };
  const Case cases[] = {
      {"linear, two decimals", 1234, kModelLogger, 0x0409, 12.34f},
      {"linear, no decimals", 1234, kModelLogger, 0x0009, 1234.0f},
      {"linear, seven decimals", 12345, kModelLogger, 0x0E0A, 0.0012345f},
      {"temperature ignores decimals", -125, kModelLogger, 0x0601, -12.5f},
      {"probe: always tenths", 456, kModelProbe, 0x0609, 45.6f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FLOAT_EQ(ScaleChannelValue(c.raw, c.model, c.config), c.expected);
  }
  // The tenths are taken step by step as 32-bit floats, exactly as before.
  float stepwise = 1234;
  stepwise = static_cast<float>(stepwise * 0.1);
  stepwise = static_cast<float>(stepwise * 0.1);
  EXPECT_EQ(ScaleChannelValue(1234, kModelLogger, 0x0409), stepwise);

  DeviceRegs regs;
  regs.Channel1.Config = 0x0409;
  const uint16_t raw[4] = {0xFFFF, 1234, 0xFF83, 241};
  float values[4];
  ScaleLiveRegisters(raw, kModelLogger, regs, values);
  EXPECT_EQ(values[0], -1.0f);
  EXPECT_FLOAT_EQ(values[1], 12.34f);
  EXPECT_FLOAT_EQ(values[2], -12.5f);
  EXPECT_FLOAT_EQ(values[3], 24.1f);
  EXPECT_EQ(CounterValue(0x0001, 0x8000, 0.5), 49152.0f);  // unsigned 32 bits, then the factor
  EXPECT_EQ(CounterValue(0xFFFF, 0xFFFF, 1.0), 4294967295.0f);
}

TEST(DeviceLiveValues, UnitsByModelKindAndConfiguration) {
  DeviceRegs logger;
  logger.Channel1.Config = 0x0100;  // Pt100, Fahrenheit
  logger.Channel2.Config = 0x000A;
  logger.Channel2.Unit = "bar";
  logger.DeviceConfig = 0x10;
  EXPECT_EQ(ChannelUnit(1, kModelLogger, logger), "\xB0" "F");
  EXPECT_EQ(ChannelUnit(2, kModelLogger, logger), "bar");
  EXPECT_EQ(ChannelUnit(3, kModelLogger, logger), "\xB0" "F");
  EXPECT_EQ(ChannelUnit(4, kModelLogger, logger), "");
  EXPECT_EQ(ChannelUnit(0, kModelLogger, logger), "");

  DeviceRegs humidity;  // kind 0
  EXPECT_EQ(ChannelUnit(1, kModelProbe, humidity), "%");
  EXPECT_EQ(ChannelUnit(2, kModelProbe, humidity), "\xB0" "C");
  EXPECT_EQ(ChannelUnit(3, kModelProbe, humidity), "");
  humidity.Channel1.Config = 0x0200;  // channel 1 measures a temperature
  EXPECT_EQ(ChannelUnit(1, kModelProbe, humidity), "\xB0" "C");

  DeviceRegs thermocouple;
  thermocouple.InputTypeModel = 2;
  thermocouple.Channel1.Config = 0x0100;
  EXPECT_EQ(ChannelUnit(1, kModelProbe, thermocouple), "\xB0" "F");
  EXPECT_EQ(ChannelUnit(2, kModelProbe, thermocouple), "");
  EXPECT_EQ(ChannelUnit(3, kModelProbe, thermocouple), "\xB0" "C");
  EXPECT_EQ(ChannelUnit(1, kModelUnknown, thermocouple), "");
}

TEST(DeviceFastModePeriod, ConversionsTimesBaseRate) {
  struct Case {
    const char* name;
    int32_t model, kind, deviceConfig, channel1, channel2;
    float expected;
  };
  const Case cases[] = {
      {"both channels, Pt100 and a couple", kModelLogger, 0, 0x01, 0x80, 0x81, 125.0f},
      {"one linear channel, no ambient", kModelLogger, 0, 0x00, 0x89, 0x00, 7.8125f},
      {"linear channel with ambient", kModelLogger, 0, 0x20, 0x89, 0x00, 15.625f},
      {"even count, 50 Hz filter", kModelLogger, 0, 0x25, 0x89, 0x00, 2 * 41.7f + 8.3f},
      {"odd count, 60 Hz filter", kModelLogger, 0, 0x0E, 0x80, 0x8A, 3 * 70.0f},
      {"nothing converted", kModelLogger, 0, 0x03, 0x00, 0x00, 0.0f},
      {"humidity probe", kModelProbe, 0, 0x01, 0x80, 0x80, 1000.0f},
      {"humidity probe, slow", kModelProbe, 0, 0x02, 0x80, 0x80, 3000.0f},
      {"Pt100 probe", kModelProbe, 1, 0x00, 0x80, 0x80, 2 * 7.8125f},
      {"thermocouple probe adds the cold junction", kModelProbe, 3, 0x03, 0x80, 0x00, 250.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DeviceRegs regs;
    regs.InputTypeModel = c.kind;
    regs.DeviceConfig = c.deviceConfig;
    regs.Channel1.Config = c.channel1;
    regs.Channel2.Config = c.channel2;
    EXPECT_FLOAT_EQ(FastModePeriod(c.model, regs), c.expected);
  }
}

TEST(DeviceSensorNames, BuiltInReplacedFromLanguageLines) {
  EXPECT_EQ(BuiltInSensorNames()[0], "Umidade Relativa");
  EXPECT_EQ(BuiltInSensorNames()[ProbeSensorNameIndex(3)], "Termopar K");
  EXPECT_EQ(ProbeSensorNameIndex(10), -1);
  EXPECT_EQ(ProbeSensorNameIndex(-1), -1);

  // A short section replaces what it has; a missing one nothing.
  InstallSensorNameProvider(std::make_shared<LanguageLinesSensorNames>(std::vector<std::string>{
      "# Interface do Dispositivo x", "# Interface do Dispositivo", "Relative humidity", "Temperature"}));
  SensorNames names = CurrentSensorNames();
  EXPECT_EQ(names[0], "Relative humidity");
  EXPECT_EQ(names[1], "Temperature");
  EXPECT_EQ(names[2], "Pt100");
  InstallSensorNameProvider(std::make_shared<LanguageLinesSensorNames>(std::vector<std::string>{"# Outro"}));
  EXPECT_EQ(CurrentSensorNames(), BuiltInSensorNames());
  InstallSensorNameProvider(nullptr);
  EXPECT_EQ(CurrentSensorNames(), BuiltInSensorNames());
}

TEST(CalibrationLimits, RegistersAndClampsByInputTypeGroup) {
  EXPECT_EQ(CalibrationOffsetRegister(1, 10), 14);
  EXPECT_EQ(CalibrationGainRegister(1, 10), 15);
  EXPECT_EQ(CalibrationOffsetRegister(0, 3), 4);
  EXPECT_EQ(CalibrationOffsetRegister(0, 11), 18);
  EXPECT_EQ(CalibrationOffsetRegister(1, 11), 18);
  EXPECT_EQ(CalibrationOffsetRegister(1, 9), 16);
  EXPECT_EQ(ClampCalibrationOffset(9, -1200), -950);
  EXPECT_EQ(ClampCalibrationOffset(0, 201), 200);
  EXPECT_EQ(ClampCalibrationOffset(0, -12), -12);
  EXPECT_EQ(ClampCalibrationGain(0, 11000), 10500);
  EXPECT_EQ(ClampCalibrationGain(10, 9000), 9300);
  EXPECT_EQ(ClampAmbientCalibration(1301), 1300);
  EXPECT_EQ(ClampAmbientCalibration(-1001), -1000);
  EXPECT_EQ(CalibrationLimit(11, true, false), 100);
  EXPECT_EQ(CalibrationLimit(11, false, true), 9500);
  EXPECT_EQ(CalibrationLimit(127, false, false), -950);  // an unnamed type is in group 1
}

}  // namespace
}  // namespace device
