#pragma once
// Fast mode: the instruments stream records on their own and every tick of the updater (5 ms)
// takes them in, up to 30 per instrument, as rows of the value buffer. Each row goes to the
// display windows and the history trigger; its records get PC times from the instruments' own
// clocks; and while the history file is open the merger lines them up on the history
// interval, each complete slot becoming one line.
//
// An instrument that has sent nothing for two seconds (four at the start) gets the error
// value in every row until it sends again, and the user is told once per silence. When no
// instrument sends at all, the windows (and only they: neither the trigger nor the history)
// get the error value once and the user is told.
//
// Deadlines are on the injected monotonic clock; PC times on the injected wall clock. Main
// thread only: a tick never runs inside another one.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "acquisition/acquisition_mode.h"
#include "acquisition/record_stream.h"
#include "acquisition/record_timeline.h"
#include "acquisition/time_stamped_values.h"

namespace acquisition {

class FastMode : public AcquisitionMode {
 public:
  static constexpr size_t kRows = 30;
  static constexpr int64_t kSilentAfterMs = 2000;
  // Measuring: each record taken in, with its instrument time and the PC time it was given.
  // Called inside the tick, under the value lock.
  using RecordObserver = std::function<void(size_t device, uint32_t deviceMs, TDateTime time)>;

  FastMode(RunHost& host, std::vector<std::unique_ptr<RecordStream>> streams, RecordObserver observer = {});

  bool Fast() const override { return true; }
  std::optional<size_t> PrepareDevices() override;
  size_t ValueBufferSize(size_t devices) const override { return devices * kValuesPerDevice * kRows; }
  // Drops the records that waited while the run started (the append-or-overwrite question
  // may have taken seconds), so each instrument's clock is tied on a fresh record.
  void Begin() override;
  void Tick() override { FastPoll(); }
  // The records that arrived up to the stop still reach the file.
  void BeforeHistoryClose() override { FastPoll(); }
  void End() override {}

  // One tick: rows in, PC times, hand-over, merger, history lines.
  void FastPoll();
  // Takes in the records that arrived as rows of the value buffer; the number of rows.
  uint16_t ReceiveStreamRows();

  // Measuring and tests.
  size_t MergerSlots() const { return merger_ ? merger_->SlotCount() : 0; }
  uint64_t Reanchors() const;

 private:
  void PlaceRow(size_t row, int64_t monotonicMs, TDateTime now, bool feedMerger);
  void EveryInstrumentSilent(int64_t monotonicMs);
  bool FeedingMerger(TDateTime now);
  void WriteDueLines();

  RunHost& host_;
  std::vector<std::unique_ptr<RecordStream>> streams_;
  RecordObserver observer_;
  size_t n_;

  std::vector<uint32_t> deviceTimes_;   // n x 30: instrument time of each row's record, 0: none
  std::vector<int64_t> lastRecordMs_;   // n: monotonic time of the latest record
  std::vector<RecordTimeline> timelines_;
  std::vector<float> latest_;           // n x 5: each device's latest record
  std::vector<uint8_t> toldSilent_;     // n: the user heard of the current silence
  bool silenceTimeoutArmed_ = false;

  std::unique_ptr<TimeStampedValues> merger_;
  int64_t nextSlot_ = 0;
  TDateTime lastMerged_ = 0.0;
  bool polling_ = false;
};

}  // namespace acquisition
