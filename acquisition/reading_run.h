#pragma once
// A reading run: the instruments named by the display windows are opened and read until the
// run stops, in slow mode (a reading thread polls them) or in fast mode (they stream and each
// tick takes their records in). Every tick of the owner's updater hands the readings to the
// display windows, records history and carries out the counter resets the windows asked for.
// The main window adapts it to its windows and dialogs; the headless tool drives it from the
// command line.
//
// Everything but the reading round runs on the thread that calls Start, Tick and Stop (the
// main thread). What the reading thread finds wrong reaches the user at the next tick, never
// from the thread itself; what it found for a run that has stopped is dropped. Reading that
// fails for good (a round that threw, a tick that threw) stops the run at that tick, and the
// user is told why.
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "acquisition/acquisition_mode.h"
#include "acquisition/counter_resets.h"
#include "acquisition/fast_mode.h"
#include "acquisition/history_recorder.h"
#include "acquisition/run_interfaces.h"
#include "acquisition/run_state.h"
#include "acquisition/slow_mode.h"
#include "platform/clock.h"
#include "platform/datetime.h"

namespace acquisition {

// A run that started.
struct RunStarted {
  bool fast = false;
  int32_t readIntervalMs = 1000;
};

class ReadingRun : private RunHost {
 public:
  ReadingRun(RunDisplays& displays, RunSettingsSource& settings, RunUser& user,
             const platform::WallClock& wall = platform::WallClock::System(),
             const platform::MonotonicClock& monotonic = platform::MonotonicClock::System());
  ~ReadingRun() override;  // stops a run still going
  ReadingRun(const ReadingRun&) = delete;
  ReadingRun& operator=(const ReadingRun&) = delete;

  // Lists and opens the instruments, prepares them, names the display windows' channels,
  // opens history and starts reading. Nothing when no instrument opened; nothing either, and
  // the user told, when one did not answer.
  std::optional<RunStarted> StartReadings();
  // Closes history, stops reading and frees the run's devices and buffers.
  void StopReadings();
  bool Reading() const { return mode_ != nullptr && !stopAfterTick_; }

  // The updater's tick (main thread). A tick reached from inside another one does nothing.
  void Tick();

  // A display window asks for the counter of the instrument on this port to be reset.
  void QueueCounterReset(uint16_t port);
  // History was switched off by the user during the run: what is buffered goes to the file.
  void HistoryDisabled();

  // The run's devices in device order (empty outside a run).
  std::vector<DeviceInterface*> Devices() const { return DevicePointers(state_.devices); }
  bool HistoryRecording() const { return history_.Recording(); }
  // Hand-overs done since the run object was made.
  uint64_t HandOvers() const { return handOvers_; }
  // Measuring: called on the reading thread after each reading round. Before Start.
  void SetCycleObserver(SlowMode::CycleObserver observer) { cycleObserver_ = std::move(observer); }
  // Measuring: called for each record a fast run takes in. Before Start.
  void SetRecordObserver(FastMode::RecordObserver observer) { recordObserver_ = std::move(observer); }
  // The running mode, for measuring (null outside a run).
  const AcquisitionMode* Mode() const { return mode_.get(); }

 private:
  // RunHost
  RunState& State() override { return state_; }
  HistoryRecorder& History() override { return history_; }
  void HandOverReadings(size_t rowOffset) override;
  void ShowReadings(size_t rowOffset) override { UpdateDisplays(rowOffset); }
  const platform::WallClock& WallClock() override { return wall_; }
  const platform::MonotonicClock& MonotonicClock() override { return monotonic_; }

  std::unique_ptr<AcquisitionMode> MakeMode(const RunSettings& settings);
  // The row at this offset to every display window; false when the buffer has no such row.
  bool UpdateDisplays(size_t rowOffset);
  void ProcessCounterResets();
  void ReleaseReadingResources();
  void EndRun(bool lastPoll);

  RunDisplays& displays_;
  RunSettingsSource& settings_;
  RunUser& user_;
  const platform::WallClock& wall_;
  const platform::MonotonicClock& monotonic_;

  RunState state_;
  HistoryRecorder history_;
  CounterResetQueue resets_;
  std::unique_ptr<AcquisitionMode> mode_;
  SlowMode::CycleObserver cycleObserver_;
  FastMode::RecordObserver recordObserver_;
  uint64_t handOvers_ = 0;
  bool ticking_ = false;
  bool stopAfterTick_ = false;
};

}  // namespace acquisition
