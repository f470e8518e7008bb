#include "acquisition/history_recorder.h"

#include <algorithm>

#include "instrument/device_interface.h"
#include "acquisition/reading_limits.h"
#include "platform/append_file.h"

namespace acquisition {

namespace {

// A file that holds no whole header: left empty by a program stopped before its first flush,
// or cut in the middle of its header. It holds no data either. False when it can't be read:
// the append then goes ahead, and fails or not on its own.
bool LacksWholeHeader(const std::string& fileName) {
  HeaderLineCounter header;
  const bool read = platform::ReadFromStart(fileName, [&](std::string_view piece) { return !header.Take(piece); });
  return read && !header.HeaderWhole();
}

}  // namespace

HistoryRecorder::HistoryRecorder(RunState& state, RunDisplays& displays, RunUser& user,
                                 const platform::WallClock& wall, const platform::MonotonicClock& monotonic)
    : state_(state), displays_(displays), user_(user), wall_(wall), monotonic_(monotonic) {}

std::optional<size_t> HistoryRecorder::TriggerPosition(const TriggerSettings& trigger) const {
  // Found again from the serial number at every start: the stored index belongs to the run
  // in which the value was chosen, whose devices may have been others.
  for (size_t i = 0; i < state_.devices.size(); ++i) {
    if (static_cast<uint32_t>(state_.devices[i]->regs.SerialNumber) == trigger.sourceSerial) {
      return i * kValuesPerDevice + trigger.sourceIndex % kValuesPerDevice;
    }
  }
  return std::nullopt;
}

void HistoryRecorder::BeginRun(const RunSettings& settings) {
  CloseHistoryRecording();
  on_ = settings.historyOn;
  triggerOn_ = settings.trigger.on;
  comparisonAtOrAbove_ = settings.trigger.comparison != 0;
  level_ = settings.trigger.level;
  triggerPosition_ = TriggerPosition(settings.trigger);
  fileName_ = settings.logFileName;
  // A history interval of 0 would keep the write loop going for ever.
  intervalMs_ = ClampLogInterval(settings.logIntervalMs, settings.fast);
  recording_ = false;
  openedBefore_ = false;
  if (!on_) return;

  bool overwrite = false;
  bool newStart = false;
  if (platform::FileExists(fileName_)) {
    if (triggerOn_) {
      newStart = true;
    } else {
      switch (user_.AskAppendOrOverwrite(fileName_)) {
        case ExistingFileChoice::kCancel:
          on_ = false;
          user_.DisableHistory();
          return;
        case ExistingFileChoice::kOverwrite: overwrite = true; break;
        case ExistingFileChoice::kAppend: newStart = true; break;
      }
    }
  }
  if (triggerOn_) {
    openedBefore_ = newStart;
  } else if (OpenHistoryRecording(overwrite, newStart)) {
    user_.ShowHistoryRecording();
  }
}

bool HistoryRecorder::OpenHistoryRecording(bool overwrite, bool newStart) {
  CloseHistoryRecording();
  if (!on_) return false;
  // A new start there would have no column names above it, and readers refuse a file
  // without them: such a file gets a new file's header in place of the piece it holds.
  if (!overwrite && LacksWholeHeader(fileName_)) {
    overwrite = true;
    newStart = false;
  }
  auto file = std::make_unique<HistFile>(fileName_, monotonic_);
  if (!file->Open(overwrite)) {
    SwitchOffAfterFailure();
    user_.ReportHistoryOpenFailure(file->LastError());
    return false;
  }
  file_ = std::move(file);
  schedule_.Restart(wall_.Now(), intervalMs_);
  file_->SetFlushInterval(static_cast<uint32_t>(std::max<int32_t>(2000, intervalMs_)));
  if (newStart) file_->Write(std::string(kNewStartMarker) + "\n");

  // The columns are fixed here: windows changed during the run don't change them.
  const DefaultValueNames defaults = ProgramDefaultValueNames();
  columns_.clear();
  for (const auto& device : state_.devices) {
    device->recordedValueMask = DisplayedValueMask(displays_, static_cast<uint32_t>(device->regs.SerialNumber));
    columns_.push_back(DescribeHistoryDevice(*device, device->recordedValueMask, defaults));
  }
  const HistoryHeader header = BuildHistoryHeader(columns_, newStart);
  for (const std::string* line : {&header.deviceNames, &header.valueNames, &header.units}) {
    file_->Write(*line + "\n");
  }
  return true;
}

void HistoryRecorder::CloseHistoryRecording() {
  if (!file_) return;
  file_->Close();
  file_.reset();
}

void HistoryRecorder::SwitchOffAfterFailure() {
  CloseHistoryRecording();
  on_ = false;
  recording_ = false;
  user_.DisableHistory();
}

void HistoryRecorder::SwitchOff() {
  CloseHistoryRecording();
  on_ = false;
  recording_ = false;
}

void HistoryRecorder::EndRun() {
  if (on_) {
    CloseHistoryRecording();
    recording_ = false;
    user_.ShowHistoryWaiting();
  }
  CloseHistoryRecording();
  columns_.clear();
}

void HistoryRecorder::TriggerStep(std::span<const float> row) {
  if (!on_) return;
  if (!triggerOn_) {
    // Recording always: the file was opened when the run started.
    recording_ = true;
    return;
  }
  bool inside = false;
  if (triggerPosition_ && *triggerPosition_ < row.size()) {
    const double v = row[*triggerPosition_];
    inside = comparisonAtOrAbove_ ? v >= level_ : v <= level_;
  }
  if (inside && !recording_) {
    recording_ = true;
    if (OpenHistoryRecording(false, openedBefore_)) {
      openedBefore_ = true;
      user_.ShowHistoryRecording();
    }
  } else if (!inside && recording_) {
    recording_ = false;
    CloseHistoryRecording();
    user_.ShowHistoryWaiting();
  }
}

void HistoryRecorder::WriteHistoryLine(TDateTime t, std::span<const float> values) {
  if (!file_) return;
  std::vector<float> copy(values.size());
  for (size_t first = 0; first < values.size(); first += kValuesPerDevice) {
    const size_t count = std::min<size_t>(kValuesPerDevice, values.size() - first);
    std::shared_lock lock(state_.valueLock);
    std::copy_n(values.begin() + static_cast<std::ptrdiff_t>(first), count,
                copy.begin() + static_cast<std::ptrdiff_t>(first));
  }
  std::string line = FormatHistoryLine(t, copy, columns_);
  user_.HistoryLineWritten(line);
  // Line and line feed as one piece: a failed flush between them would glue lines together.
  line += '\n';
  CheckWriter(file_->Write(line));
}

void HistoryRecorder::Poll() {
  if (!file_) return;
  file_->Poll();
  CheckWriter(true);
}

void HistoryRecorder::CheckWriter(bool lineTaken) {
  // A flush that fails on a file still there (another program holding it) is tried again at
  // the next one; a file that is gone never takes the lines, and a dropped line is lost.
  if (lineTaken && !(file_->FlushFailed() && !platform::FileExists(fileName_))) return;
  SwitchOffAfterFailure();
  user_.ReportHistoryWriteFailure();
}

}  // namespace acquisition
