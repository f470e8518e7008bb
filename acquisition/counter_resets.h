#pragma once
// Counter resets that display windows ask for, each port once until the next tick carries
// them out. Main thread only; the lock keeps the queue whole should that ever change.
#include <cstdint>
#include <shared_mutex>
#include <vector>

namespace acquisition {

class CounterResetQueue {
 public:
  // Port 0 and a port already waiting are ignored.
  void Queue(uint16_t port);
  // The waiting ports in the order they were asked for; empty when none waits.
  std::vector<uint16_t> Pending();
  void Clear();

 private:
  std::shared_mutex lock_;
  bool pending_ = false;
  std::vector<uint16_t> ports_;
};

}  // namespace acquisition
