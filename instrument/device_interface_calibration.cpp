// DeviceInterface: the calibration space (functions 70 and 71) and the counter reset.
#include "instrument/calibration_limits.h"
#include "instrument/device_interface.h"

namespace {

using device::kSlaveAddress;

uint16_t Word(int32_t value) { return static_cast<uint16_t>(value & 0xFFFF); }
int32_t Signed(uint16_t word) { return static_cast<int16_t>(word); }

}  // namespace

bool DeviceInterface::ReadCalRegister(uint16_t reg, uint16_t& value) {
  if (!IsPortOpen()) return false;
  return WithTries([&] { return ReadRequest(kSlaveAddress, modbus::kReadCalibrationRegister, reg, 1, &value); });
}

bool DeviceInterface::WriteCalRegister(uint16_t reg, uint16_t value) {
  // The calibration space of a model we do not know is not ours to change.
  if (!ConfigurationWritable() || !IsPortOpen()) return false;
  return WithTries([&] { return WriteRequest(kSlaveAddress, modbus::kWriteCalibrationRegister, reg, value); });
}

uint16_t DeviceInterface::GetCalRegister(int channel, int32_t inputType) {
  return device::CalibrationOffsetRegister(channel, inputType);
}

bool DeviceInterface::WriteCalOffset(int channel, int32_t inputType, int32_t value) {
  if (!CalibrationModel0()) return false;
  return WriteCalRegister(device::CalibrationOffsetRegister(channel, inputType), Word(value));
}

bool DeviceInterface::ReadCalOffset(int channel, int32_t inputType, int32_t& value) {
  if (!CalibrationModel0()) return false;
  uint16_t word = 0;
  if (!ReadCalRegister(device::CalibrationOffsetRegister(channel, inputType), word)) return false;
  value = Signed(word);
  return true;
}

bool DeviceInterface::WriteCalGain(int channel, int32_t inputType, int32_t value) {
  if (!CalibrationModel0()) return false;
  return WriteCalRegister(device::CalibrationGainRegister(channel, inputType), Word(value));
}

bool DeviceInterface::ReadCalGain(int channel, int32_t inputType, int32_t& value) {
  if (!CalibrationModel0()) return false;
  uint16_t word = 0;
  if (!ReadCalRegister(device::CalibrationGainRegister(channel, inputType), word)) return false;
  value = Signed(word);
  return true;
}

bool DeviceInterface::WriteAmbientCal(int32_t value) {
  if (!CalibrationModel0()) return false;
  return WriteCalRegister(device::cal::kAmbient, Word(value));
}

bool DeviceInterface::ReadAmbientCal(int32_t& value) {
  if (!CalibrationModel0()) return false;
  uint16_t word = 0;
  if (!ReadCalRegister(device::cal::kAmbient, word)) return false;
  value = Signed(word);
  return true;
}

int32_t DeviceInterface::GetCalibrationLimit(int32_t inputType, bool maximum, bool gain) {
  return device::CalibrationLimit(inputType, maximum, gain);
}

int32_t DeviceInterface::ClampCalOffset(int32_t inputType, int32_t value) {
  return device::ClampCalibrationOffset(inputType, value);
}

int32_t DeviceInterface::ClampCalGain(int32_t inputType, int32_t value) {
  return device::ClampCalibrationGain(inputType, value);
}

int32_t DeviceInterface::GetAmbientCalLimit(bool maximum) {
  return maximum ? device::kAmbientCalibrationMax : device::kAmbientCalibrationMin;
}

int32_t DeviceInterface::ClampAmbientCal(int32_t value) { return device::ClampAmbientCalibration(value); }

bool DeviceInterface::WriteCustomCalibration(std::span<const int16_t, kCustomCalibrationValues> values,
                                             TDateTime date) {
  // Registers 20..59 of model 0 hold its ambient calibration and nothing of a table.
  if (model_ != device::kModelProbe) return false;
  for (uint16_t i = 0; i < kCustomCalibrationValues; ++i) {
    if (!WriteCalRegister(static_cast<uint16_t>(device::cal::kTableFirst + i), static_cast<uint16_t>(values[i])))
      return false;
  }
  platform::DateParts parts;
  platform::DecodeDate(date, parts);
  const auto dayAndMonth = static_cast<uint16_t>(((parts.day & 0xFF) << 8) | (parts.month & 0xFF));
  return WriteCalRegister(device::cal::kDate, dayAndMonth) &&
         WriteCalRegister(device::cal::kYear, static_cast<uint16_t>(parts.year));
}

bool DeviceInterface::ResetCounter() { return WriteRegister(device::reg::kCounterReset, 1); }
