#include "acquisition/slow_mode.h"

#include <algorithm>
#include <mutex>

#include "instrument/device_interface.h"
#include "instrument/device_regs_image.h"

namespace acquisition {

namespace {
// The failure in a row that raises the communication message, once per run of failures.
constexpr int32_t kFailuresBeforeMessage = 3;
// How far back the history catches up after a late tick: lines for a longer stretch would
// all carry the same newest values, and a wall clock set days forward (or a machine waking
// from sleep) would owe millions of them, stalling the window thread and filling the disk.
constexpr int32_t kMinCatchUpMs = 60000;
constexpr int32_t kCatchUpReadings = 4;
}  // namespace

bool ReadDeviceValues(DeviceInterface& device, float* slot, float errorValue) {
  if (!device.IsPortOpen() && device.OpenPort()) {
    // The port number may have been given to another instrument meanwhile.
    std::string serial;
    if (!device.ReadSerialNumber(serial) || serial != device::SerialText(device.regs.SerialNumber)) {
      device.ClosePort();
    }
  }
  // A closed port fails here too and counts like silence.
  if (device.ReadValues(slot, errorValue)) return true;
  if (device.PortHungUp()) device.ClosePort();
  return false;
}

SlowMode::SlowMode(RunHost& host, int32_t readIntervalMs, CycleObserver observer)
    : host_(host), readIntervalMs_(readIntervalMs), observer_(std::move(observer)) {}

SlowMode::~SlowMode() { End(); }

std::optional<size_t> SlowMode::PrepareDevices() {
  RunState& state = host_.State();
  for (size_t i = 0; i < state.devices.size(); ++i) {
    if (!state.devices[i]->DisableFastMode()) return i;
  }
  state.SetNewData(false);
  return std::nullopt;
}

void SlowMode::Begin() {
  thread_ = std::make_unique<ReadingThread>([this] { ReadingRound(); }, host_.MonotonicClock());
  thread_->SetPeriod(readIntervalMs_);
  thread_->Start();
}

void SlowMode::End() {
  // Terminated and waited for before anything it touches is freed.
  thread_.reset();
}

std::exception_ptr SlowMode::TakeFailure() {
  // The thread ends by itself only when a round threw; End() has not run while the run ticks.
  if (!thread_ || !thread_->Terminated()) return nullptr;
  thread_->WaitFor();
  return thread_->FatalException();
}

void SlowMode::ReadingRound() {
  RunState& state = host_.State();
  const size_t n = state.devices.size();
  if (n == 0 || state.values.size() < n * kValuesPerDevice || state.times.size() < n ||
      state.childWindows.load() == 0) {
    return;
  }
  const auto start = std::chrono::steady_clock::now();
  const TDateTime t = host_.WallClock().Now();
  for (size_t i = 0; i < n; ++i) {
    std::unique_lock lock(state.valueLock);
    DeviceInterface& device = *state.devices[i];
    float* slot = state.values.data() + i * kValuesPerDevice;
    if (!ReadDeviceValues(device, slot, state.errorValue)) {
      std::fill_n(slot, kValuesPerDevice, state.errorValue);
      if (device.GetFailureCount() == kFailuresBeforeMessage) {
        state.PostCommunicationProblem(device.GetPortNumber());
      }
    }
    state.times[i] = t;
  }
  state.SetNewData(true);
  if (observer_) observer_(start, std::chrono::steady_clock::now());
}

void SlowMode::Tick() {
  if (!host_.State().NewData()) return;
  host_.HandOverReadings(0);
  WriteDueLines();
}

void SlowMode::WriteDueLines() {
  HistoryRecorder& history = host_.History();
  if (!history.On() || !history.Recording() || !history.FileOpen()) return;
  WriteSchedule& schedule = history.Schedule();
  const TDateTime now = host_.WallClock().Now();
  // After a pause of the timer one line per elapsed interval, all with the newest values,
  // over a bounded stretch: a longer gap leaves its earlier lines out.
  const int64_t catchUpMs = std::max<int64_t>(kMinCatchUpMs, int64_t{kCatchUpReadings} * readIntervalMs_);
  schedule.SkipTo(now - static_cast<double>(catchUpMs) / platform::kMsPerDay);
  // A wall clock set back (the end of summer time, a correction) would owe no line until it
  // came back to the schedule, losing an hour of history at a summer-time change: the
  // schedule starts again at the new time, as when the file was opened.
  if (schedule.Started() && schedule.Next() - now > 2 * schedule.IntervalDays()) schedule.StartAt(now);
  while (now >= schedule.Next()) {
    if (!schedule.Started()) schedule.StartAt(now);
    history.WriteHistoryLine(schedule.Next(), host_.State().values);
    schedule.Advance();
  }
}

}  // namespace acquisition
