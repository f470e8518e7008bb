#include "acquisition/counter_resets.h"

#include <algorithm>
#include <mutex>

namespace acquisition {

void CounterResetQueue::Queue(uint16_t port) {
  if (port == 0) return;
  std::unique_lock lock(lock_);
  if (std::find(ports_.begin(), ports_.end(), port) != ports_.end()) return;
  ports_.push_back(port);
  pending_ = true;
}

std::vector<uint16_t> CounterResetQueue::Pending() {
  std::shared_lock lock(lock_);
  return pending_ ? ports_ : std::vector<uint16_t>{};
}

void CounterResetQueue::Clear() {
  std::unique_lock lock(lock_);
  pending_ = false;
  ports_.clear();
}

}  // namespace acquisition
