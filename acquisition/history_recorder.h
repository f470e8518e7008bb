#pragma once
// History recording during a reading run: whether to overwrite or append at the start, the
// opening of the file with its header (or the marker of an appended recording), the data
// lines, and the trigger that opens the file when a chosen value crosses a level and closes
// it when the value crosses back. Main thread only; the values are read under the run's
// value lock.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "acquisition/hist_file.h"
#include "acquisition/history_format.h"
#include "acquisition/run_interfaces.h"
#include "acquisition/run_state.h"
#include "acquisition/write_schedule.h"
#include "platform/clock.h"
#include "platform/datetime.h"

namespace acquisition {

class HistoryRecorder {
 public:
  HistoryRecorder(RunState& state, RunDisplays& displays, RunUser& user, const platform::WallClock& wall,
                  const platform::MonotonicClock& monotonic);

  // The start of a run (devices listed, buffers made). With history on: asks about an
  // existing file when recording always, then opens it at once; with the trigger on, the
  // file waits for the trigger and an existing one is appended to.
  void BeginRun(const RunSettings& settings);
  // The end of a run: what is buffered goes to the file, recording stops.
  void EndRun();
  // History switched off during a run: the file is flushed and closed.
  void SwitchOff();

  bool On() const { return on_; }
  // Lines are being written (the trigger's state).
  bool Recording() const { return recording_; }
  bool FileOpen() const { return file_ != nullptr; }

  // After each hand-over: the values just handed over (five per device).
  void TriggerStep(std::span<const float> row);

  // One data line stamped `t` from five values per device; nothing when no file is open.
  void WriteHistoryLine(TDateTime t, std::span<const float> values);
  // When the next lines are due; restarted at each opening.
  WriteSchedule& Schedule() { return schedule_; }

  // The flush timer of the open file.
  void Poll();

 private:
  bool OpenHistoryRecording(bool overwrite, bool newStart);
  void CloseHistoryRecording();
  void SwitchOffAfterFailure();
  // After the writer flushed or took a line: when lines can no longer reach the file, history
  // is switched off and the user told (once: history is off afterwards).
  void CheckWriter(bool lineTaken);
  std::optional<size_t> TriggerPosition(const TriggerSettings& trigger) const;

  RunState& state_;
  RunDisplays& displays_;
  RunUser& user_;
  const platform::WallClock& wall_;
  const platform::MonotonicClock& monotonic_;

  bool on_ = false;
  bool triggerOn_ = false;
  bool recording_ = false;
  bool openedBefore_ = false;
  bool comparisonAtOrAbove_ = true;
  double level_ = 0.0;
  // The trigger value's place in a row; none when its instrument is not in the run.
  std::optional<size_t> triggerPosition_;
  std::string fileName_;
  int32_t intervalMs_ = 1000;

  std::unique_ptr<HistFile> file_;
  std::vector<HistoryDevice> columns_;
  WriteSchedule schedule_;
};

}  // namespace acquisition
