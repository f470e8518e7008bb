#pragma once
// The model-0 calibration space: which calibration register holds the offset and gain of an
// input type on each channel, and the limits the instrument accepts. Pure functions.
#include <cstdint>

namespace device {

// Offset register of the input type's group on channel 0 or 1; the gain register follows it.
uint16_t CalibrationOffsetRegister(int channel, int32_t inputType);
inline uint16_t CalibrationGainRegister(int channel, int32_t inputType) {
  return static_cast<uint16_t>(CalibrationOffsetRegister(channel, inputType) + 1);
}

// Limit of the input type's group: the maximum or minimum of its offset or gain.
int32_t CalibrationLimit(int32_t inputType, bool maximum, bool gain);
int32_t ClampCalibrationOffset(int32_t inputType, int32_t value);
int32_t ClampCalibrationGain(int32_t inputType, int32_t value);

inline constexpr int32_t kAmbientCalibrationMin = -1000;
inline constexpr int32_t kAmbientCalibrationMax = 1300;
int32_t ClampAmbientCalibration(int32_t value);

}  // namespace device
