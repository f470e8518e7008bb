#include "acquisition/record_timeline.h"

#include <algorithm>

namespace acquisition {

TDateTime MsToDateTime(uint32_t ms) {
  constexpr uint32_t kMsPerDay = 86400000;
  return static_cast<double>(ms / kMsPerDay) + static_cast<double>(ms % kMsPerDay) / platform::kMsPerDay;
}

TDateTime RecordTimeline::Place(uint32_t deviceMs, int64_t monotonicMs, TDateTime now) {
  if (!anchored_) {
    anchored_ = true;
    offset_ = now - MsToDateTime(deviceMs);
  } else {
    const int64_t deviceStep = static_cast<int64_t>(deviceMs) - static_cast<int64_t>(lastDeviceMs_);
    const int64_t elapsed = std::max<int64_t>(0, monotonicMs - lastMonotonicMs_);
    if (deviceStep < 0 || deviceStep > elapsed + kMaxLeadMs) {
      offset_ = lastTime_ + static_cast<double>(elapsed) / platform::kMsPerDay - MsToDateTime(deviceMs);
      ++reanchors_;
    }
  }
  lastDeviceMs_ = deviceMs;
  lastMonotonicMs_ = monotonicMs;
  lastTime_ = offset_ + MsToDateTime(deviceMs);
  return lastTime_;
}

}  // namespace acquisition
