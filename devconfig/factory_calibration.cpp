#include "devconfig/factory_calibration.h"

#include <algorithm>
#include <charconv>

#include "devconfig/config_texts.h"
#include "instrument/device_interface.h"
#include "platform/text_trim.h"

namespace devconfig {
namespace {

std::optional<int32_t> WholeNumber(std::string_view text) {
  std::string s = platform::TrimBlanks(text);
  if (!s.empty() && s.front() == '+') {
    s.erase(0, 1);
    if (!s.empty() && s.front() == '-') return std::nullopt;
  }
  int32_t value = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return value;
}

}  // namespace

FactoryRange FactoryLimits(FactoryConstant constant, int32_t inputType) {
  if (constant == FactoryConstant::Ambient)
    return {DeviceInterface::GetAmbientCalLimit(false), DeviceInterface::GetAmbientCalLimit(true)};
  const bool gain = constant == FactoryConstant::Gain;
  return {DeviceInterface::GetCalibrationLimit(inputType, false, gain),
          DeviceInterface::GetCalibrationLimit(inputType, true, gain)};
}

std::optional<int32_t> FactoryWriteValue(std::string_view text, FactoryConstant constant, int32_t inputType) {
  const std::optional<int32_t> typed = WholeNumber(text);
  if (!typed) return std::nullopt;
  switch (constant) {
    case FactoryConstant::Offset: return DeviceInterface::ClampCalOffset(inputType, *typed);
    case FactoryConstant::Gain: return DeviceInterface::ClampCalGain(inputType, *typed);
    case FactoryConstant::Ambient: return DeviceInterface::ClampAmbientCal(*typed);
  }
  return std::nullopt;
}

std::optional<int32_t> StepFactoryValue(std::string_view text, int direction, FactoryRange range) {
  const std::optional<int32_t> value = WholeNumber(text);
  if (!value || range.max < range.min) return std::nullopt;
  const int64_t wanted = static_cast<int64_t>(*value) + (direction > 0 ? 1 : -1);
  const auto next = static_cast<int32_t>(std::clamp<int64_t>(wanted, range.min, range.max));
  if (next == *value) return std::nullopt;
  return next;
}

size_t FactoryInputTypeCount(int channel) { return channel == 0 ? kInputTypeCount : kChannel2InputTypeCount; }

}  // namespace devconfig
