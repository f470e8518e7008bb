#include "instrument/calibration_limits.h"

#include <algorithm>

namespace device {
namespace {

struct CalibrationGroup {
  uint16_t offsetRegister[2];  // channel 1, channel 2
  int32_t offsetMin, offsetMax, gainMin, gainMax;
};

// Groups of input types that share their calibration constants.
constexpr CalibrationGroup kGroups[] = {
    {{2, 10}, -250, 200, 9500, 10500},   // 0: type 0
    {{4, 12}, -950, 600, 9400, 10400},   // 1: every type not named below
    {{6, 14}, -500, 400, 9300, 10500},   // 2: type 10
    {{8, 16}, -950, 600, 9400, 10400},   // 3: type 9
    {{18, 18}, -350, 100, 9500, 10500},  // 4: type 11, one pair for both channels
};

const CalibrationGroup& GroupOf(int32_t inputType) {
  switch (inputType) {
    case 0: return kGroups[0];
    case 9: return kGroups[3];
    case 10: return kGroups[2];
    case 11: return kGroups[4];
    default: return kGroups[1];
  }
}

}  // namespace

uint16_t CalibrationOffsetRegister(int channel, int32_t inputType) {
  return GroupOf(inputType).offsetRegister[channel == 0 ? 0 : 1];
}

int32_t CalibrationLimit(int32_t inputType, bool maximum, bool gain) {
  const CalibrationGroup& g = GroupOf(inputType);
  if (gain) return maximum ? g.gainMax : g.gainMin;
  return maximum ? g.offsetMax : g.offsetMin;
}

int32_t ClampCalibrationOffset(int32_t inputType, int32_t value) {
  const CalibrationGroup& g = GroupOf(inputType);
  return std::clamp(value, g.offsetMin, g.offsetMax);
}

int32_t ClampCalibrationGain(int32_t inputType, int32_t value) {
  const CalibrationGroup& g = GroupOf(inputType);
  return std::clamp(value, g.gainMin, g.gainMax);
}

int32_t ClampAmbientCalibration(int32_t value) {
  return std::clamp(value, kAmbientCalibrationMin, kAmbientCalibrationMax);
}

}  // namespace device
