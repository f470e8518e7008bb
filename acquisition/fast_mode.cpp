#include "acquisition/fast_mode.h"

#include <algorithm>
#include <mutex>

namespace acquisition {

namespace {

// Clears a flag when the scope ends, however it ends.
class ScopedFlag {
 public:
  explicit ScopedFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~ScopedFlag() { flag_ = false; }
  ScopedFlag(const ScopedFlag&) = delete;
  ScopedFlag& operator=(const ScopedFlag&) = delete;

 private:
  bool& flag_;
};

}  // namespace

FastMode::FastMode(RunHost& host, std::vector<std::unique_ptr<RecordStream>> streams, RecordObserver observer)
    : host_(host), streams_(std::move(streams)), observer_(std::move(observer)), n_(streams_.size()) {}

std::optional<size_t> FastMode::PrepareDevices() {
  for (size_t i = 0; i < n_; ++i) {
    if (!streams_[i]->Start()) return i;
  }
  return std::nullopt;
}

void FastMode::Begin() {
  for (auto& stream : streams_) stream->DiscardPending();
  // Signed milliseconds, two seconds ahead: an instrument counts as silent only after four
  // seconds without its first record (unsigned ticks would wrap and call it silent at once).
  const int64_t now = static_cast<int64_t>(host_.MonotonicClock().NowMs());
  deviceTimes_.assign(n_ * kRows, 0);
  lastRecordMs_.assign(n_, now + kSilentAfterMs);
  timelines_.assign(n_, RecordTimeline{});
  latest_.assign(n_ * kValuesPerDevice, host_.State().errorValue);
  toldSilent_.assign(n_, 0);
  silenceTimeoutArmed_ = true;
  merger_.reset();
}

uint64_t FastMode::Reanchors() const {
  uint64_t count = 0;
  for (const RecordTimeline& t : timelines_) count += t.Reanchors();
  return count;
}

uint16_t FastMode::ReceiveStreamRows() {
  RunState& state = host_.State();
  if (n_ == 0 || state.values.size() < n_ * kValuesPerDevice * kRows || deviceTimes_.size() < n_ * kRows ||
      state.childWindows.load() == 0) {
    return 0;
  }
  size_t rows = 0;
  for (auto& stream : streams_) rows = std::max<size_t>(rows, stream->Receive());  // every one is asked
  rows = std::min(rows, kRows);
  if (rows == 0) {
    EveryInstrumentSilent(static_cast<int64_t>(host_.MonotonicClock().NowMs()));
    return 0;
  }
  std::unique_lock lock(state.valueLock);
  const int stride = static_cast<int>(n_);
  for (size_t i = 0; i < n_; ++i) {
    uint32_t* times = deviceTimes_.data() + i * kRows;
    float* first = state.values.data() + i * kValuesPerDevice;
    const size_t got = static_cast<size_t>(
        std::clamp(streams_[i]->Parse(static_cast<int>(rows), first, times, stride, state.errorValue), 0,
                   static_cast<int>(rows)));
    std::fill(times + got, times + rows, 0u);
    // A row without a record of this device carries its latest values: the windows and the
    // trigger see what the instrument last said, not a hole.
    float* latest = latest_.data() + i * kValuesPerDevice;
    for (size_t r = 0; r < rows; ++r) {
      float* slot = first + r * n_ * kValuesPerDevice;
      if (times[r] == 0) {
        std::copy_n(latest, kValuesPerDevice, slot);
      } else {
        std::copy_n(slot, kValuesPerDevice, latest);
      }
    }
  }
  return static_cast<uint16_t>(rows);
}

void FastMode::EveryInstrumentSilent(int64_t monotonicMs) {
  if (!silenceTimeoutArmed_) return;
  const int64_t newest = *std::max_element(lastRecordMs_.begin(), lastRecordMs_.end());
  if (monotonicMs - newest <= kSilentAfterMs) return;
  // Once per silence of every instrument (the first four seconds of a run included): the
  // windows show the error value, the user hears of the first instrument.
  silenceTimeoutArmed_ = false;
  RunState& state = host_.State();
  {
    std::unique_lock lock(state.valueLock);
    std::fill(state.values.begin(), state.values.end(), state.errorValue);
    std::fill(state.times.begin(), state.times.end(), host_.WallClock().Now());
  }
  std::fill(toldSilent_.begin(), toldSilent_.end(), 1);
  state.PostCommunicationProblem(streams_[0]->Port());
  // A row made of error values is no reading: it must not open or close the history file
  // (an "at or below" trigger would open it for nothing, and every silence would append).
  host_.ShowReadings(0);
}

bool FastMode::FeedingMerger(TDateTime now) {
  HistoryRecorder& history = host_.History();
  if (!history.On() || !history.FileOpen()) {
    // Nothing piles up while no file is open (a trigger-off phase may last hours).
    merger_.reset();
    return false;
  }
  if (!history.Schedule().Started()) {
    // The first rows after the file was opened: lines from now on, one per history interval.
    history.Schedule().StartAt(now);
    merger_ = std::make_unique<TimeStampedValues>(static_cast<uint16_t>(n_), history.Schedule().IntervalDays(), now);
    nextSlot_ = 0;
    lastMerged_ = 0.0;
  }
  return merger_ != nullptr;
}

void FastMode::PlaceRow(size_t row, int64_t monotonicMs, TDateTime now, bool feedMerger) {
  RunState& state = host_.State();
  std::unique_lock lock(state.valueLock);
  for (size_t i = 0; i < n_; ++i) {
    const uint32_t deviceMs = deviceTimes_[i * kRows + row];
    float* slot = state.values.data() + (row * n_ + i) * kValuesPerDevice;
    bool valid = true;
    if (deviceMs == 0) {
      if (monotonicMs - lastRecordMs_[i] > kSilentAfterMs) {
        state.times[i] = now;
        std::fill_n(slot, kValuesPerDevice, state.errorValue);
        if (!toldSilent_[i]) {
          toldSilent_[i] = 1;
          state.PostCommunicationProblem(streams_[i]->Port());
        }
      } else {
        // Only briefly late: left out of the history for this row.
        state.times[i] = 0.0;
        valid = false;
      }
    } else {
      state.times[i] = timelines_[i].Place(deviceMs, monotonicMs, now);
      lastRecordMs_[i] = monotonicMs;
      toldSilent_[i] = 0;
      silenceTimeoutArmed_ = true;
      if (observer_) observer_(i, deviceMs, state.times[i]);
    }
    if (valid && feedMerger) {
      merger_->Add(static_cast<uint16_t>(i), state.times[i],
                   std::span<const float, kValuesPerDevice>(slot, kValuesPerDevice));
      lastMerged_ = std::max(lastMerged_, state.times[i]);
    }
  }
}

void FastMode::WriteDueLines() {
  HistoryRecorder& history = host_.History();
  if (!merger_ || !history.Recording() || !history.FileOpen()) return;
  // A slot is written once a reading beyond it arrived: no later reading can change it.
  while (lastMerged_ > merger_->SlotTime(nextSlot_)) {
    const std::span<const float> values = merger_->TakeSlot(nextSlot_);
    if (values.empty()) break;
    history.WriteHistoryLine(merger_->SlotTime(nextSlot_), values);
    merger_->RemoveSlot(nextSlot_);
    ++nextSlot_;
    history.Schedule().Advance();
  }
}

void FastMode::FastPoll() {
  // Closing the history from inside a poll (the trigger's falling edge), or a message box
  // shown from it, must not start another poll on the rows of this one.
  if (polling_) return;
  ScopedFlag polling(polling_);
  const size_t rows = ReceiveStreamRows();
  if (rows == 0) return;
  const int64_t monotonicMs = static_cast<int64_t>(host_.MonotonicClock().NowMs());
  const TDateTime now = host_.WallClock().Now();
  for (size_t r = 0; r < rows; ++r) {
    PlaceRow(r, monotonicMs, now, FeedingMerger(now));
    host_.HandOverReadings(r * n_ * kValuesPerDevice);
    WriteDueLines();
  }
}

}  // namespace acquisition
