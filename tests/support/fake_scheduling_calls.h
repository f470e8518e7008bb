#pragma once
// A system that answers a thread's priority calls from a script and remembers every request
// and the thread that made it, so tests see what was asked without needing the privileges a
// real raise takes.
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "platform/thread_priority.h"

namespace testsupport {

class FakeSchedulingCalls : public platform::SchedulingCalls {
 public:
  // The nice value a thread starts with; none: it cannot be read.
  std::optional<int> startNice = 0;
  // The lowest nice value the user's limit allows; `privileged` takes any value.
  int lowestAllowed = 19;
  bool privileged = false;

  struct Request {
    int nice;
    std::thread::id thread;
    bool granted;
  };

  bool GetNice(int& nice) const override {
    std::lock_guard lock(mutex_);
    if (!startNice) return false;
    nice = granted_.value_or(*startNice);
    return true;
  }
  bool SetNice(int nice) const override {
    std::lock_guard lock(mutex_);
    const bool granted = privileged || nice >= lowestAllowed;
    requests_.push_back({nice, std::this_thread::get_id(), granted});
    if (granted) granted_ = nice;
    return granted;
  }
  int LowestAllowedNice() const override { return lowestAllowed; }

  std::vector<Request> Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
  }

 private:
  mutable std::mutex mutex_;
  mutable std::vector<Request> requests_;
  mutable std::optional<int> granted_;
};

}  // namespace testsupport
