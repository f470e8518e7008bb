#include "tools/sim/register_map.h"

#include <cmath>
#include <numbers>

namespace sim {
namespace {

// The largest count a function 3 request may ask for.
constexpr uint16_t kMaxReadCount = 125;

uint16_t Word(long value) { return static_cast<uint16_t>(static_cast<int16_t>(value)); }

// A slow wave around `centre`, so live values look alive without ever leaving their range.
long Wave(double seconds, double centre, double amplitude, double period) {
  return std::lround(centre + amplitude * std::sin(2 * std::numbers::pi * seconds / period));
}

}  // namespace

RegisterMap::RegisterMap(const InstrumentOptions& options) {
  FillDefaultRegisters(options, holding_, calibration_);
}

uint16_t RegisterMap::Holding(uint16_t reg) const {
  return reg < kHoldingSize ? holding_[reg] : 0;
}

void RegisterMap::SetHolding(uint16_t reg, uint16_t value) {
  if (reg < kHoldingSize) holding_[reg] = value;
}

uint16_t RegisterMap::Calibration(uint16_t reg) const {
  return reg < kCalibrationSize ? calibration_[reg] : 0;
}

void RegisterMap::SetCalibration(uint16_t reg, uint16_t value) {
  if (reg < kCalibrationSize) calibration_[reg] = value;
}

// Model and firmware are judged from register 2 as it stands, so a test that rewrites it gets
// an instrument that behaves like the one it describes.
bool RegisterMap::IsProbe() const { return (holding_[reg::kModelAndFirmware] & 0xE000) != 0; }

bool RegisterMap::HasCounterBlock() const {
  return !IsProbe() && (holding_[reg::kModelAndFirmware] & 0x1FFF) >= reg::kCounterFirmware;
}

bool RegisterMap::HoldingReadable(uint16_t reg) const {
  if (IsProbe()) return reg <= 59;
  return reg <= (HasCounterBlock() ? reg::kCounterReset : 60);
}

bool RegisterMap::HoldingWritable(uint16_t reg) const {
  if (IsProbe()) return (reg >= 7 && reg <= 11) || (reg >= 18 && reg <= 42);
  if (reg >= 7 && reg <= 59) return true;
  return HasCounterBlock() && ((reg >= 64 && reg <= 72) || reg == reg::kCounterReset);
}

bool RegisterMap::CalibrationAccessible(uint16_t reg) const {
  return IsProbe() ? (reg >= 18 && reg <= 59) : (reg >= 2 && reg <= 20);
}

uint8_t RegisterMap::ReadHolding(uint16_t start, uint16_t count,
                                 std::vector<uint16_t>& out) const {
  out.clear();
  if (count == 0 || count > kMaxReadCount) return kIllegalValue;
  for (uint32_t r = start; r < uint32_t{start} + count; ++r)
    if (r >= kHoldingSize || !HoldingReadable(static_cast<uint16_t>(r))) return kIllegalAddress;
  out.assign(holding_.begin() + start, holding_.begin() + start + count);
  return 0;
}

uint8_t RegisterMap::WriteHolding(uint16_t reg, uint16_t value) {
  if (!HoldingWritable(reg)) return kIllegalAddress;
  if (reg == reg::kCounterReset) {
    // A command, not a setting: 1 clears the counter, and the register itself stays 0.
    if (value != 1) return kIllegalValue;
    holding_[reg::kCounterHigh] = 0;
    holding_[reg::kCounterLow] = 0;
    return 0;
  }
  holding_[reg] = value;
  return 0;
}

uint8_t RegisterMap::ReadCalibration(uint16_t reg, uint16_t& out) const {
  if (!CalibrationAccessible(reg)) return kIllegalAddress;
  out = calibration_[reg];
  return 0;
}

uint8_t RegisterMap::WriteCalibration(uint16_t reg, uint16_t value) {
  if (!CalibrationAccessible(reg)) return kIllegalAddress;
  calibration_[reg] = value;
  return 0;
}

void RegisterMap::Animate(double seconds) {
  if (IsProbe()) {
    const bool humidity = holding_[reg::kLiveValue0] == 0;
    holding_[reg::kChannel1Value] =
        Word(humidity ? Wave(seconds, 552, 50, 90) : Wave(seconds, 231, 20, 60));
    holding_[reg::kChannel2Value] = Word(humidity ? Wave(seconds, 231, 20, 60) : 0);
    holding_[reg::kAmbientValue] = Word(Wave(seconds, 245, 4, 300));
    return;
  }
  holding_[reg::kLiveValue0] = static_cast<uint16_t>(static_cast<long>(seconds / 5) % 2);
  holding_[reg::kChannel1Value] = Word(Wave(seconds, 235, 30, 60));
  holding_[reg::kChannel2Value] = Word(Wave(seconds, 4250, 500, 45));
  holding_[reg::kAmbientValue] = Word(Wave(seconds, 241, 4, 300));
  if (HasCounterBlock()) {
    // Ten pulses a second, carried over between calls so none is lost to rounding.
    const auto pulses = static_cast<uint32_t>(seconds * 10) - static_cast<uint32_t>(lastAnimated_ * 10);
    lastAnimated_ = seconds;
    uint32_t counter = (uint32_t{holding_[reg::kCounterHigh]} << 16) | holding_[reg::kCounterLow];
    counter += pulses;
    holding_[reg::kCounterHigh] = static_cast<uint16_t>(counter >> 16);
    holding_[reg::kCounterLow] = static_cast<uint16_t>(counter & 0xFFFF);
  }
}

}  // namespace sim
