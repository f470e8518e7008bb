#pragma once
// What differs between the reading modes. Slow mode polls the instruments on a reading
// thread and hands over the newest values at each tick; fast mode (instruments streaming)
// takes in their records at each tick. The reading run keeps what both share (devices,
// buffers, locks, hand-over, history, counter resets) and drives one mode per run.
#include <cstddef>
#include <exception>
#include <optional>

#include "acquisition/history_recorder.h"
#include "acquisition/run_state.h"
#include "platform/clock.h"
#include "platform/datetime.h"

namespace acquisition {

// What a mode reaches of its run.
class RunHost {
 public:
  virtual ~RunHost() = default;
  virtual RunState& State() = 0;
  virtual HistoryRecorder& History() = 0;
  // Hands the row at this offset (in floats) of the value buffer to every display window,
  // then runs the history trigger on it.
  virtual void HandOverReadings(size_t rowOffset) = 0;
  // Only shows the row in the display windows: the history trigger does not see it.
  virtual void ShowReadings(size_t rowOffset) = 0;
  virtual const platform::WallClock& WallClock() = 0;
  virtual const platform::MonotonicClock& MonotonicClock() = 0;
};

class AcquisitionMode {
 public:
  virtual ~AcquisitionMode() = default;
  virtual bool Fast() const = 0;
  // Puts every device into this mode's streaming state; the index of the first that fails.
  virtual std::optional<size_t> PrepareDevices() = 0;
  // Floats of the value buffer for this many devices.
  virtual size_t ValueBufferSize(size_t devices) const = 0;
  // The last step of a start: buffers and locks exist.
  virtual void Begin() = 0;
  // The updater's work after the counter resets (main thread).
  virtual void Tick() = 0;
  // Before the history file closes at a stop.
  virtual void BeforeHistoryClose() {}
  // Stops whatever runs on its own; afterwards nothing touches the run's buffers.
  virtual void End() = 0;
  // What stopped the mode's own reading for good (main thread, at a tick); null while it reads.
  virtual std::exception_ptr TakeFailure() { return nullptr; }
};

}  // namespace acquisition
