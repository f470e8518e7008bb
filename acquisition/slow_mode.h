#pragma once
// Slow mode: a reading thread polls every instrument once per reading interval (the reading
// round) and raises the new-data flag; the main thread's tick hands the newest values over
// and writes the history lines that are due.
#include <chrono>
#include <functional>
#include <memory>

#include "acquisition/acquisition_mode.h"
#include "instrument/reading_thread.h"

namespace acquisition {

class SlowMode : public AcquisitionMode {
 public:
  // Called on the reading thread after each round with its start and end.
  using CycleObserver =
      std::function<void(std::chrono::steady_clock::time_point start, std::chrono::steady_clock::time_point end)>;

  SlowMode(RunHost& host, int32_t readIntervalMs, CycleObserver observer = {});
  ~SlowMode() override;

  bool Fast() const override { return false; }
  std::optional<size_t> PrepareDevices() override;
  size_t ValueBufferSize(size_t devices) const override { return devices * kValuesPerDevice; }
  void Begin() override;
  void Tick() override;
  void End() override;
  // A reading round that threw ended the reading thread: what it threw.
  std::exception_ptr TakeFailure() override;

  // One reading of every device, on the reading thread.
  void ReadingRound();

 private:
  void WriteDueLines();

  RunHost& host_;
  int32_t readIntervalMs_;
  CycleObserver observer_;
  std::unique_ptr<ReadingThread> thread_;
};

// Reads one device's five values into its slot; a port that hung up is closed, and a closed
// port is opened again first (and used only when the same instrument answers on it).
// False when the reading failed; the device counts the failure. A value the instrument gives
// but a float cannot hold (its counter times a huge stored factor) is `errorValue`.
bool ReadDeviceValues(DeviceInterface& device, float* slot, float errorValue);

}  // namespace acquisition
