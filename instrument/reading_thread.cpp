#include "instrument/reading_thread.h"

#include <chrono>

#include "instrument/reading_schedule.h"

ReadingThread::ReadingThread(ReadingRound round, const platform::MonotonicClock& clock,
                             const platform::SchedulingCalls& scheduling)
    : round_(std::move(round)), clock_(clock), scheduling_(scheduling) {}

ReadingThread::~ReadingThread() {
  Terminate();
  WaitFor();
}

void ReadingThread::Start() {
  std::lock_guard lock(mutex_);
  if (started_) return;
  started_ = true;
  thread_ = std::thread([this] { Execute(); });
}

void ReadingThread::Terminate() {
  {
    // Under the lock, so a Rest between its check and its wait cannot miss the wake.
    std::lock_guard lock(mutex_);
    terminated_ = true;
  }
  wake_.notify_all();
}

void ReadingThread::WaitFor() {
  std::thread thread;
  {
    std::lock_guard lock(mutex_);
    thread = std::move(thread_);
  }
  if (thread.joinable()) thread.join();
}

bool ReadingThread::Rest(uint32_t ms) {
  std::unique_lock lock(mutex_);
  return !wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return terminated_.load(); });
}

platform::PriorityOutcome ReadingThread::Priority() const {
  std::lock_guard lock(mutex_);
  return priority_;
}

void ReadingThread::Execute() {
  const platform::PriorityOutcome priority = platform::RaiseCurrentThreadPriority(kPrioritySteps, scheduling_);
  {
    std::lock_guard lock(mutex_);
    priority_ = priority;
  }
  while (!terminated_) {
    const uint64_t start = clock_.NowMs();
    try {
      if (round_) round_();
    } catch (...) {
      // An escaping exception would end the whole program from this thread.
      fatal_ = std::current_exception();
      terminated_ = true;
      break;
    }
    const auto cycle = static_cast<int64_t>(clock_.NowMs() - start);
    for (const uint32_t sleep : reading::RestAfterCycle(period_, cycle)) {
      if (!Rest(sleep)) break;
    }
  }
}
