// DeviceInterface: live values, units and sensor names.
#include "instrument/device_interface.h"
#include "instrument/device_regs_image.h"
#include "instrument/live_values.h"

bool DeviceInterface::ReadValues(float* values, float errorValue) {
  if (values == nullptr || !ready_) return false;
  std::array<uint16_t, device::reg::kLiveValueCount> raw{};
  if (!ReadRegisters(device::reg::kLiveValues, device::reg::kLiveValueCount, raw.data())) {
    ++failedReads_;
    return false;
  }
  // The instrument answered: a run of failures ends here, so a counter that alone cannot be
  // read counts one failure each time and never raises the communication alarm.
  failedReads_ = 0;
  device::ScaleLiveRegisters(raw, model_, regs, std::span<float, 4>(values, 4));
  values[4] = 0;
  if (!device::HasCounterBlock(model_, regs.FirmwareVersionNumber)) return true;
  uint16_t counter[2] = {};
  if (!ReadRegisters(device::reg::kCounterHigh, 2, counter)) {
    ++failedReads_;
    return false;
  }
  values[4] = device::CounterValue(counter[0], counter[1], regs.Scale).value_or(errorValue);
  return true;
}

std::string DeviceInterface::GetChannelUnit(int channel) const { return device::ChannelUnit(channel, model_, regs); }

std::string DeviceInterface::GetSensorName(int index) const {
  if (model_ == device::kModelProbe && (index == 0 || index == 1)) return sensorNames_[static_cast<size_t>(index)];
  return std::string(device::kUnknownSensorName);
}

std::string DeviceInterface::GetProbeSensorName() const {
  const int index = model_ == device::kModelProbe ? device::ProbeSensorNameIndex(regs.InputTypeModel) : -1;
  if (index < 0) return std::string(device::kUnknownSensorName);
  return sensorNames_[static_cast<size_t>(index)];
}
