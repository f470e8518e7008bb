#pragma once
// When history lines are due: the first line at the moment it is written, then one every
// history interval. Each time is computed from the first, not added up, so that after any
// number of lines the stamps are still whole intervals apart to the millisecond.
#include <cmath>
#include <cstdint>

#include "platform/datetime.h"

namespace acquisition {

class WriteSchedule {
 public:
  // After each opening of the history file: nothing written yet, the next line due `now`.
  void Restart(TDateTime now, int32_t intervalMs) {
    intervalDays_ = intervalMs / platform::kMsPerDay;
    first_ = now;
    count_ = 0;
    started_ = false;
  }
  // The first line written fixes the schedule to the time it is written.
  bool Started() const { return started_; }
  void StartAt(TDateTime t) {
    first_ = t;
    count_ = 0;
    started_ = true;
  }
  TDateTime Next() const { return first_ + static_cast<double>(count_) * intervalDays_; }
  void Advance() { ++count_; }
  // Passes over the lines due before `t`: the next one is the first due at or after it, still
  // on the grid of the first line.
  void SkipTo(TDateTime t) {
    if (!started_ || intervalDays_ <= 0.0 || t <= Next()) return;
    count_ = static_cast<uint64_t>(std::ceil((t - first_) / intervalDays_));
  }
  double IntervalDays() const { return intervalDays_; }

 private:
  TDateTime first_ = 0.0;
  uint64_t count_ = 0;
  double intervalDays_ = 0.0;
  bool started_ = false;
};

}  // namespace acquisition
