#include "acquisition/reading_run.h"

#include <algorithm>
#include <mutex>
#include <utility>

#include "instrument/device_interface.h"

namespace acquisition {

namespace {
// The counter and its reset exist from this firmware on (model 0 only).
constexpr int32_t kLastFirmwareWithoutCounter = 109;
}  // namespace

ReadingRun::ReadingRun(RunDisplays& displays, RunSettingsSource& settings, RunUser& user,
                       const platform::WallClock& wall, const platform::MonotonicClock& monotonic)
    : displays_(displays),
      settings_(settings),
      user_(user),
      wall_(wall),
      monotonic_(monotonic),
      history_(state_, displays, user, wall, monotonic) {}

ReadingRun::~ReadingRun() { StopReadings(); }

std::unique_ptr<AcquisitionMode> ReadingRun::MakeMode(const RunSettings& settings) {
  RunHost& host = *this;
  if (settings.fast) return std::make_unique<FastMode>(host, DeviceRecordStreams(state_.devices), recordObserver_);
  return std::make_unique<SlowMode>(host, settings.readIntervalMs, cycleObserver_);
}

std::optional<RunStarted> ReadingRun::StartReadings() {
  if (mode_) return std::nullopt;
  const RunSettings settings = settings_.CurrentSettings();
  DeviceList devices = BuildDeviceList(displays_);
  if (devices.empty()) return std::nullopt;

  state_.devices = std::move(devices);
  state_.childWindows = displays_.ChildWindowCount();
  auto mode = MakeMode(settings);
  const std::vector<DeviceInterface*> pointers = DevicePointers(state_.devices);
  displays_.ForEachDisplay([&](RunDisplay& display) {
    if (!mode->Fast()) display.SetReadInterval(settings.readIntervalMs);
    display.UpdateTitles(pointers);
  });
  const std::vector<uint32_t> serials = DeviceSerials(state_.devices);
  displays_.ForEachDisplay([&](RunDisplay& display) { display.SetChannelIndexes(serials); });

  if (const auto failed = mode->PrepareDevices()) {
    const int port = state_.devices[*failed]->GetPortNumber();
    mode.reset();
    ReleaseReadingResources();
    user_.ReportStartFailure(port);
    return std::nullopt;
  }

  const size_t n = state_.devices.size();
  {
    std::unique_lock lock(state_.valueLock);
    state_.values.assign(mode->ValueBufferSize(n), settings.errorValue);
    state_.times.assign(n, 0.0);
    state_.errorValue = settings.errorValue;
  }
  state_.TakeCommunicationProblems();
  mode_ = std::move(mode);
  history_.BeginRun(settings);
  resets_.Clear();
  mode_->Begin();
  return RunStarted{mode_->Fast(), settings.readIntervalMs};
}

void ReadingRun::StopReadings() {
  // Asked from inside a tick (an event loop run by a message box of that tick): the run ends
  // as soon as the tick is over, not under its feet.
  if (ticking_) {
    stopAfterTick_ = true;
    return;
  }
  EndRun(true);
}

void ReadingRun::EndRun(bool lastPoll) {
  if (!mode_) return;
  stopAfterTick_ = false;
  if (lastPoll && history_.On()) mode_->BeforeHistoryClose();
  history_.EndRun();
  ReleaseReadingResources();
}

void ReadingRun::ReleaseReadingResources() {
  if (mode_) {
    mode_->End();
    mode_.reset();
  }
  {
    std::unique_lock lock(state_.valueLock);
    state_.values.clear();
    state_.times.clear();
  }
  ReleaseDevices(state_.devices);
  // Found by a run that is over: nobody is to be told any more.
  state_.TakeCommunicationProblems();
  state_.SetNewData(false);
}

void ReadingRun::Tick() {
  // A message box shown from inside a tick runs an event loop of its own, whose timer may
  // tick again: the rows and the merger of the tick in progress must not be touched.
  if (!Reading() || ticking_) return;
  ticking_ = true;
  std::exception_ptr failure;
  try {
    state_.childWindows = displays_.ChildWindowCount();
    ProcessCounterResets();
    mode_->Tick();
    failure = mode_->TakeFailure();
    if (!failure) history_.Poll();
  } catch (...) {
    failure = std::current_exception();
  }
  ticking_ = false;
  if (std::exchange(stopAfterTick_, false) && !failure) {
    EndRun(true);
    return;
  }
  if (failure) {
    // No last poll: what failed would only fail again.
    EndRun(false);
    user_.ReportReadingFailure(failure);
    return;
  }
  for (int port : state_.TakeCommunicationProblems()) user_.ReportCommunicationProblem(port);
}

bool ReadingRun::UpdateDisplays(size_t rowOffset) {
  const size_t n = state_.devices.size();
  if (state_.values.size() < rowOffset + n * kValuesPerDevice) return false;
  const std::span<const float> row(state_.values.data() + rowOffset, n * kValuesPerDevice);
  const std::span<const double> times(state_.times);
  displays_.ForEachDisplay([&](RunDisplay& display) {
    std::shared_lock lock(state_.valueLock);
    display.UpdateReadings(row, times);
  });
  return true;
}

void ReadingRun::HandOverReadings(size_t rowOffset) {
  state_.SetNewData(false);
  if (!UpdateDisplays(rowOffset)) return;
  ++handOvers_;
  if (!history_.On()) return;
  const size_t n = state_.devices.size();
  const std::span<const float> row(state_.values.data() + rowOffset, n * kValuesPerDevice);
  std::vector<float> copy;
  {
    std::shared_lock lock(state_.valueLock);
    copy.assign(row.begin(), row.end());
  }
  history_.TriggerStep(copy);
}

void ReadingRun::QueueCounterReset(uint16_t port) { resets_.Queue(port); }

void ReadingRun::ProcessCounterResets() {
  const std::vector<uint16_t> ports = resets_.Pending();
  if (ports.empty()) return;
  for (uint16_t port : ports) {
    const auto it = std::find_if(state_.devices.begin(), state_.devices.end(),
                                 [port](const auto& d) { return d->GetPortNumber() == port; });
    if (it == state_.devices.end()) continue;
    DeviceInterface& device = **it;
    if (device.GetDeviceModel() != device::kModelLogger ||
        device.regs.FirmwareVersionNumber <= kLastFirmwareWithoutCounter) {
      continue;
    }
    // The write side keeps the reading thread off the line while the reset is on it.
    std::unique_lock lock(state_.valueLock);
    device.ResetCounter();
  }
  resets_.Clear();
}

void ReadingRun::HistoryDisabled() { history_.SwitchOff(); }

}  // namespace acquisition
