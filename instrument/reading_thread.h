#pragma once
// The slow-mode reading thread: calls the reading cycle on a thread of its own, then rests
// for the rest of the period (reading::RestAfterCycle). It knows nothing of devices or
// windows; the cycle is a callback that runs on this thread and takes its own locks.
//
// Made suspended; SetPeriod, then Start. Terminate asks it to stop: a rest in progress ends
// at once, a cycle in progress runs to its end. WaitFor joins it; the destructor does both.
// A thread is never restarted. A cycle that throws ends the loop (readings stop, the program
// does not); the exception is kept for the owner in FatalException().
//
// The thread first asks to run a few steps above the program's priority, so that a busy
// desktop delays its readings less; where the user's limits allow no such step it reads at
// the priority it was given.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/clock.h"
#include "platform/thread_priority.h"

class ReadingThread {
 public:
  using ReadingRound = std::function<void()>;
  static constexpr int32_t kDefaultPeriodMs = 500;
  // Nice steps above the program's priority the thread asks for.
  static constexpr int kPrioritySteps = 5;

  // `clock` measures the cycle and `scheduling` raises the thread's priority; both must
  // outlive the thread.
  explicit ReadingThread(ReadingRound round,
                         const platform::MonotonicClock& clock = platform::MonotonicClock::System(),
                         const platform::SchedulingCalls& scheduling = platform::SchedulingCalls::System());
  ~ReadingThread();
  ReadingThread(const ReadingThread&) = delete;
  ReadingThread& operator=(const ReadingThread&) = delete;

  // Before Start.
  void SetPeriod(int32_t periodMs) { period_ = periodMs; }
  int32_t Period() const { return period_; }

  // Starts the loop (once; later calls do nothing).
  void Start();
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Returns when the loop has ended (at once when it never started).
  void WaitFor();
  // What ended the loop, when a cycle threw; read after WaitFor.
  std::exception_ptr FatalException() const { return fatal_; }
  // The priority the thread got (not raised until it has started and asked).
  platform::PriorityOutcome Priority() const;

 private:
  void Execute();
  // Sleeps `ms` unless told to stop first; false when told to stop.
  bool Rest(uint32_t ms);

  ReadingRound round_;
  const platform::MonotonicClock& clock_;
  const platform::SchedulingCalls& scheduling_;
  std::atomic<int32_t> period_{kDefaultPeriodMs};
  std::atomic<bool> terminated_{false};
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::thread thread_;
  bool started_ = false;
  std::exception_ptr fatal_;
  platform::PriorityOutcome priority_;  // under mutex_
};
