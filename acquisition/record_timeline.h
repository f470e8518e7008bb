#pragma once
// The PC time of an instrument's streamed records. Each record carries the instrument's own
// clock (milliseconds); the first record of a run ties that clock to the PC's, so records
// taken in together in one tick keep their spacing.
//
// An instrument clock that steps back (a restart, a wrap after 49.7 days) or runs more than
// five seconds ahead of the time that really passed since the previous record (a garbled
// time) is tied again, so that its PC times go on from the previous ones instead of jumping.
#include <cstdint>

#include "platform/datetime.h"

namespace acquisition {

// Milliseconds as a TDateTime span (whole days and the time of day taken apart and put
// together again).
TDateTime MsToDateTime(uint32_t ms);

class RecordTimeline {
 public:
  static constexpr int64_t kMaxLeadMs = 5000;

  // The PC time of a record with instrument time `deviceMs`, taken in when the monotonic
  // clock read `monotonicMs` and the wall clock `now`.
  TDateTime Place(uint32_t deviceMs, int64_t monotonicMs, TDateTime now);

  // Times the clock was tied again after the first record.
  uint64_t Reanchors() const { return reanchors_; }

 private:
  bool anchored_ = false;
  TDateTime offset_ = 0.0;
  uint32_t lastDeviceMs_ = 0;
  int64_t lastMonotonicMs_ = 0;
  TDateTime lastTime_ = 0.0;
  uint64_t reanchors_ = 0;
};

}  // namespace acquisition
