#pragma once
// The data of one reading run that the reading thread and the main thread share, with the
// locks that guard it. The value lock guards the value buffer and the time array: the
// reading thread writes one device's slot at a time under its write side; the main thread
// reads under its read side (never twice on one thread: the lock is not recursive). The
// flag lock guards the new-data flag. Communication problems found off the main thread wait
// here until the main thread's next tick reports them.
#include <atomic>
#include <cstddef>
#include <mutex>
#include <shared_mutex>
#include <utility>
#include <vector>

#include "acquisition/device_list.h"

namespace acquisition {

struct RunState {
  DeviceList devices;
  // Slow mode: five floats per device. Fast mode: rows of five floats per device.
  std::vector<float> values;
  // The time (TDateTime) of each device's latest reading; 0.0 until its first one.
  std::vector<double> times;
  std::shared_mutex valueLock;
  float errorValue = 0.0f;

  std::shared_mutex flagLock;
  bool newData = false;

  // Child windows of any kind, as the main thread last counted them.
  std::atomic<size_t> childWindows{0};

  void SetNewData(bool on) {
    std::unique_lock lock(flagLock);
    newData = on;
  }
  bool NewData() {
    std::shared_lock lock(flagLock);
    return newData;
  }

  // A port whose third reading in a row failed; taken by the main thread.
  void PostCommunicationProblem(int port) {
    std::lock_guard lock(noticeMutex_);
    notices_.push_back(port);
  }
  std::vector<int> TakeCommunicationProblems() {
    std::lock_guard lock(noticeMutex_);
    return std::exchange(notices_, {});
  }

 private:
  std::mutex noticeMutex_;
  std::vector<int> notices_;
};

}  // namespace acquisition
