// Fast mode's poll on scripted records and fake clocks: rows, PC times, silent instruments,
// the history lines through the merger, the trigger, and what a clock that misbehaves does.
#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "acquisition/fast_mode.h"
#include "acquisition/history_recorder.h"
#include "instrument/device_interface.h"
#include "tests/acquisition/run_fakes.h"

namespace {

using acquisition::FastMode;
using acquisition::RecordStream;
using acquisition::RunSettings;
using acqtest::StampMs;

constexpr double kMsDay = 1.0 / 86400000.0;
constexpr float kError = -999.0f;

// An instrument's stream as the test scripts it: records sent go on the line, the next
// Receive takes them in, Parse hands them out; a bad record is taken in and dropped.
class ScriptedStream : public RecordStream {
 public:
  explicit ScriptedStream(int port) : port_(port) {}
  struct Record {
    uint32_t ms;
    float value;
    bool bad = false;
  };
  void Send(uint32_t ms, float value) { line_.push_back({ms, value}); }
  void SendBad() { line_.push_back({0, 0, true}); }

  bool Start() override { return started = true; }
  void DiscardPending() override {
    ++discards;
    line_.clear();
    held_.clear();
  }
  uint16_t Receive() override {
    held_.insert(held_.end(), line_.begin(), line_.end());
    line_.clear();
    return static_cast<uint16_t>(held_.size());
  }
  int Parse(int maxRecords, float* firstRow, uint32_t* times, int rowStride, float) override {
    int rows = 0;
    while (rows < maxRecords && !held_.empty()) {
      const Record r = held_.front();
      held_.pop_front();
      if (r.bad) continue;
      float* slot = firstRow + static_cast<size_t>(rows) * static_cast<size_t>(rowStride) * 5;
      for (int j = 0; j < 5; ++j) slot[j] = r.value + static_cast<float>(j) * 0.25f;
      times[rows++] = r.ms;
    }
    return rows;
  }
  int Port() const override { return port_; }

  bool started = false;
  int discards = 0;

 private:
  int port_;
  std::deque<Record> line_;
  std::deque<Record> held_;
};

// A display showing value 0 of every instrument: one history column each, no decimals.
class ValueZeroDisplays : public acquisition::RunDisplays {
  class Display : public acquisition::RunDisplay {
   public:
    std::vector<uint16_t> GetDevicePorts() override { return {}; }
    uint8_t GetValueMask(uint32_t) override { return 0x01; }
    void SetReadInterval(int32_t) override {}
    void UpdateTitles(const std::vector<DeviceInterface*>&) override {}
    void SetChannelIndexes(std::span<const uint32_t>) override {}
    void UpdateReadings(std::span<const float>, std::span<const double>) override {}
  };

 public:
  size_t ChildWindowCount() override { return 1; }
  void ForEachDisplay(const std::function<void(acquisition::RunDisplay&)>& visit) override { visit(display_); }

 private:
  Display display_;
};

// What one hand-over gave the windows.
struct Row {
  std::vector<float> values;
  std::vector<double> times;
};

// Fast mode with the run around it reduced to its buffers, the history recorder and a
// record of every hand-over.
class FastPoll : public testing::Test, public acquisition::RunHost {
 protected:
  void Make(size_t devices) {
    for (size_t i = 0; i < devices; ++i) {
      auto stream = std::make_unique<ScriptedStream>(static_cast<int>(i) + 3);
      streams_.push_back(stream.get());
      owned_.push_back(std::move(stream));
      auto device = std::make_unique<DeviceInterface>(static_cast<int>(i) + 3);
      device->regs.SerialNumber = static_cast<int32_t>(i) + 10;
      device->regs.Tag = "D" + std::to_string(i);
      state_.devices.push_back(std::move(device));
    }
  }
  void Start(RunSettings settings = {}) {
    settings.fast = true;
    settings.errorValue = kError;
    if (settings.logFileName.empty()) settings.logFileName = dir_ + "/fast.mpc";
    mode_ = std::make_unique<FastMode>(*this, std::move(owned_), [this](size_t d, uint32_t ms, TDateTime t) {
      placed_.push_back({d, ms, t});
    });
    ASSERT_FALSE(mode_->PrepareDevices());
    state_.errorValue = kError;
    state_.values.assign(mode_->ValueBufferSize(streams_.size()), kError);
    state_.times.assign(streams_.size(), 0.0);
    state_.childWindows = 1;
    history_.BeginRun(settings);
    mode_->Begin();
  }
  // History on at this interval, recording always or on a trigger.
  static RunSettings Recording(int32_t intervalMs, acquisition::TriggerSettings trigger = {}) {
    RunSettings s;
    s.historyOn = true;
    s.logIntervalMs = intervalMs;
    s.trigger = trigger;
    return s;
  }
  // The clocks move together.
  void Advance(int64_t ms) {
    mono_.now += static_cast<uint64_t>(ms);
    wall_.now = wall_.now.load() + static_cast<double>(ms) * kMsDay;
  }
  void Tick() {
    mode_->Tick();
    history_.Poll();  // the flush timer, as the run's tick drives it
    for (int port : state_.TakeCommunicationProblems()) told_.push_back(port);
  }
  std::vector<std::string> HistoryLines() {
    history_.EndRun();
    std::ifstream in(dir_ + "/fast.mpc");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  // Milliseconds from the wall clock's start to a PC time.
  static double MsAfterStart(TDateTime t) { return (t - 46000.5) / kMsDay; }

  // RunHost
  acquisition::RunState& State() override { return state_; }
  acquisition::HistoryRecorder& History() override { return history_; }
  void HandOverReadings(size_t rowOffset) override {
    if (nestedPoll_) mode_->FastPoll();  // as a message box's event loop would
    ShowReadings(rowOffset);
    history_.TriggerStep(std::span<const float>(state_.values.data() + rowOffset, state_.devices.size() * 5));
  }
  void ShowReadings(size_t rowOffset) override {
    const std::span<const float> row(state_.values.data() + rowOffset, state_.devices.size() * 5);
    rows_.push_back({std::vector<float>(row.begin(), row.end()), state_.times});
  }
  const platform::WallClock& WallClock() override { return wall_; }
  const platform::MonotonicClock& MonotonicClock() override { return mono_; }

  struct Placed {
    size_t device;
    uint32_t ms;
    TDateTime time;
  };

  std::string dir_ = testing::TempDir() + "/fast_mode_" + std::to_string(::getpid());
  acqtest::FakeMonotonicClock mono_;
  acqtest::FakeWallClock wall_;
  ValueZeroDisplays displays_;
  acqtest::FakeUser user_;
  acquisition::RunState state_;
  acquisition::HistoryRecorder history_{state_, displays_, user_, wall_, mono_};
  std::vector<std::unique_ptr<RecordStream>> owned_;
  std::vector<ScriptedStream*> streams_;
  std::unique_ptr<FastMode> mode_;
  std::vector<Row> rows_;
  std::vector<Placed> placed_;
  std::vector<int> told_;
  bool nestedPoll_ = false;

  void SetUp() override {
    std::filesystem::create_directories(dir_);
    user_.answer = acquisition::ExistingFileChoice::kOverwrite;
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
};

TEST_F(FastPoll, TheFirstRecordTiesTheInstrumentClockToThePc) {
  Make(1);
  Start();
  EXPECT_TRUE(streams_[0]->started);
  EXPECT_EQ(streams_[0]->discards, 1) << "what waited during the start is dropped";
  streams_[0]->Send(5000, 1);
  Tick();
  ASSERT_EQ(placed_.size(), 1u);
  EXPECT_EQ(placed_[0].time, wall_.now.load());
  // Taken in 1.3 s later, in a tick of its own: its own clock says one second after.
  Advance(1300);
  streams_[0]->Send(6000, 2);
  Tick();
  ASSERT_EQ(placed_.size(), 2u);
  EXPECT_NEAR(MsAfterStart(placed_[1].time), 1000.0, 1e-3);
  EXPECT_EQ(rows_.back().times[0], placed_[1].time);
  EXPECT_EQ(mode_->Reanchors(), 0u);
}

TEST_F(FastPoll, ThreeRecordsAndOneMakeThreeRowsAndTheShortDeviceCarriesItsValues) {
  Make(2);
  Start();
  streams_[0]->Send(1000, 1);
  streams_[0]->Send(1010, 2);
  streams_[0]->Send(1020, 3);
  streams_[1]->Send(7000, 50);
  Tick();
  ASSERT_EQ(rows_.size(), 3u);
  for (size_t r = 0; r < 3; ++r) {
    SCOPED_TRACE(r);
    EXPECT_EQ(rows_[r].values[0], static_cast<float>(r + 1));
    // The second device's record in row 0; rows 1 and 2 keep showing it, with no time.
    EXPECT_EQ(rows_[r].values[5], 50.0f);
    EXPECT_EQ(rows_[r].values[9], 51.0f);
    EXPECT_EQ(rows_[r].times[1] != 0.0, r == 0);
  }
  EXPECT_NEAR(MsAfterStart(rows_[2].times[0]), 20.0, 1e-3);
  // A later tick with the first device only: the second still shows its latest record, never
  // the error value or something older.
  Advance(1000);
  streams_[1]->Send(8000, 60);
  Tick();
  Advance(1000);
  streams_[0]->Send(3020, 4);
  Tick();
  EXPECT_EQ(rows_.back().values[5], 60.0f);
  EXPECT_EQ(rows_.back().times[1], 0.0);
  EXPECT_TRUE(told_.empty());
}

TEST_F(FastPoll, ATimeOfZeroAndARecordThatDoesNotConvertAreNoRecords) {
  Make(2);
  Start();
  streams_[0]->Send(1000, 1);
  streams_[1]->Send(0, 77);  // time 0: no record
  streams_[1]->SendBad();
  streams_[1]->SendBad();
  Tick();
  ASSERT_EQ(rows_.size(), 3u);
  for (const Row& row : rows_) {
    EXPECT_EQ(row.values[5], kError) << "nothing came yet: the error value it was made with";
    EXPECT_EQ(row.times[1], 0.0);
  }
  EXPECT_EQ(placed_.size(), 1u);
}

TEST_F(FastPoll, FirstRecordsOneAndAHalfSecondsApartRaiseNoError) {
  Make(2);
  Start();
  for (int t = 0; t <= 3000; t += 100) {
    streams_[0]->Send(static_cast<uint32_t>(1000 + t), 1);
    if (t >= 1500) streams_[1]->Send(static_cast<uint32_t>(90000 + t), 2);
    Tick();
    Advance(100);
  }
  EXPECT_TRUE(told_.empty());
  // Before its first record the second instrument is only not there yet: no time, so no
  // error stamped for it and nothing of it in the history.
  for (size_t r = 0; r < 15; ++r) EXPECT_EQ(rows_[r].times[1], 0.0) << r;
  for (size_t r = 15; r < rows_.size(); ++r) EXPECT_EQ(rows_[r].values[5], 2.0f) << r;
}

TEST_F(FastPoll, AnInstrumentSilentForTwoSecondsGetsTheErrorValueAndOneMessagePerSilence) {
  Make(2);
  Start();
  auto step = [&](int t, bool second) {
    streams_[0]->Send(static_cast<uint32_t>(1000 + t), 1);
    if (second) streams_[1]->Send(static_cast<uint32_t>(5000 + t), 2);
    Tick();
    Advance(100);
  };
  for (int t = 0; t < 1000; t += 100) step(t, true);
  // Silent from 1 s: the rows show its latest values until two seconds have passed.
  for (int t = 1000; t < 5000; t += 100) {
    step(t, false);
    const bool late = t - 900 > 2000;
    EXPECT_EQ(rows_.back().values[5], late ? kError : 2.0f) << t;
    EXPECT_EQ(rows_.back().times[1] != 0.0, late) << t << ": the error value is stamped now";
    EXPECT_EQ(rows_.back().values[0], 1.0f);
  }
  EXPECT_EQ(told_, std::vector<int>{4});
  for (int t = 5000; t < 6000; t += 100) step(t, true);
  EXPECT_EQ(rows_.back().values[5], 2.0f);
  for (int t = 6000; t < 9000; t += 100) step(t, false);
  EXPECT_EQ(told_, (std::vector<int>{4, 4})) << "a new silence is told again";
}

TEST_F(FastPoll, NoRecordAtAllShowsTheErrorValueOnceAfterFourSeconds) {
  Make(2);
  Start();
  for (int t = 0; t <= 4000; t += 100) {
    Tick();
    Advance(100);
  }
  EXPECT_TRUE(rows_.empty()) << "two seconds of grace on top of the start's two";
  Tick();
  ASSERT_EQ(rows_.size(), 1u);
  EXPECT_EQ(rows_[0].values, std::vector<float>(10, kError));
  EXPECT_EQ(rows_[0].times, std::vector<double>(2, wall_.now.load()));
  EXPECT_EQ(told_, std::vector<int>{3});
  for (int t = 0; t < 3000; t += 100) {
    Advance(100);
    Tick();
  }
  EXPECT_EQ(rows_.size(), 1u);
  EXPECT_EQ(told_.size(), 1u);
  // Streaming, then every instrument silent again: the windows and the user hear of it again.
  streams_[1]->Send(1000, 5);
  Tick();
  for (int t = 0; t < 2100; t += 100) {
    Advance(100);
    Tick();
  }
  EXPECT_EQ(rows_.back().values, std::vector<float>(10, kError));
  EXPECT_EQ(told_, (std::vector<int>{3, 3}));
}

TEST_F(FastPoll, ASilentFirstInstrumentPutsNoOtherInErrorAndEachSilenceNamesItsOwnPort) {
  Make(2);
  Start();
  // Only the second instrument streams, every 300 ms: most ticks take in nothing at all.
  for (int t = 0; t < 6000; t += 100) {
    if (t % 300 == 0) streams_[1]->Send(static_cast<uint32_t>(1000 + t), 2);
    Tick();
    Advance(100);
  }
  ASSERT_FALSE(rows_.empty());
  for (const Row& row : rows_) EXPECT_EQ(row.values[5], 2.0f) << "a streaming instrument is never in error";
  EXPECT_EQ(rows_.back().values[0], kError);
  EXPECT_EQ(told_, std::vector<int>{3});
  // Now the first streams and the second falls silent: its own port is named, though the
  // first one's message came before.
  for (int t = 6000; t < 10000; t += 100) {
    streams_[0]->Send(static_cast<uint32_t>(1000 + t), 1);
    Tick();
    Advance(100);
  }
  EXPECT_EQ(rows_.back().values[0], 1.0f);
  EXPECT_EQ(rows_.back().values[5], kError);
  EXPECT_EQ(told_, (std::vector<int>{3, 4}));
}

TEST_F(FastPoll, WithNoChildWindowNothingIsTakenInOrToldUntilOneComesBack) {
  Make(1);
  Start();
  state_.childWindows = 0;
  streams_[0]->Send(1000, 1);
  for (int t = 0; t < 5000; t += 100) {
    Tick();
    Advance(100);
  }
  EXPECT_TRUE(rows_.empty());
  EXPECT_TRUE(told_.empty()) << "no instrument is silent: nobody asks";
  state_.childWindows = 1;
  Tick();
  ASSERT_EQ(rows_.size(), 1u);
  EXPECT_EQ(rows_[0].values[0], 1.0f) << "the record waited on the line";
}

TEST_F(FastPoll, RowsOfEveryInstrumentSilentNeitherOpenNorCloseTheHistory) {
  Make(2);
  // At or below 0 on the first instrument: the error value -999 is inside.
  Start(Recording(10, {true, 0, 0.0, 10, 0}));
  auto silence = [&](int ms) {
    for (int t = 0; t < ms; t += 100) {
      Advance(100);
      Tick();
    }
  };
  silence(4200);
  ASSERT_EQ(rows_.size(), 1u);
  EXPECT_EQ(rows_[0].values, std::vector<float>(10, kError)) << "the windows show the silence";
  EXPECT_TRUE(user_.events.empty()) << "no file opened for it";
  // Records above the level, then every instrument silent again: still nothing opens.
  streams_[0]->Send(1000, 5);
  streams_[1]->Send(1000, 5);
  Tick();
  silence(2200);
  EXPECT_EQ(rows_.back().values, std::vector<float>(10, kError));
  EXPECT_EQ(told_, (std::vector<int>{3, 3}));
  EXPECT_TRUE(user_.events.empty());
  EXPECT_FALSE(std::filesystem::exists(dir_ + "/fast.mpc"));
  // A real reading inside the level opens it, once, with the header and the lines of records.
  for (int t = 10; t <= 300; t += 10) {
    Advance(10);
    streams_[0]->Send(static_cast<uint32_t>(3200 + t), -1);
    streams_[1]->Send(static_cast<uint32_t>(3200 + t), 5);
    Tick();
  }
  silence(2200);
  EXPECT_EQ(user_.events, std::vector<std::string>{"recording"});
  const std::vector<std::string> lines = HistoryLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "##_New_Start_##"), 0);
  ASSERT_GT(lines.size(), 3u + 10u);
  for (size_t i = 3; i < lines.size(); ++i) EXPECT_EQ(lines[i].substr(24), ", -1, 5") << i;
}

TEST_F(FastPoll, AClockThatStepsBackOrRacesAheadGoesOnFromItsLastTime) {
  Make(1);
  Start();
  std::vector<double> ms;
  auto send = [&](uint32_t deviceMs, int64_t after) {
    Advance(after);
    streams_[0]->Send(deviceMs, 1);
    Tick();
    ms.push_back(MsAfterStart(placed_.back().time));
  };
  send(60000, 0);
  send(60100, 100);
  send(1000, 100);        // restarted
  send(1100, 100);
  send(4000000000, 100);  // garbled
  send(4000000100, 100);
  send(4000003100, 3000);  // a pause of the stream: its clock ran on, no new tie
  EXPECT_EQ(mode_->Reanchors(), 2u);
  EXPECT_NEAR(ms[1], 100, 1e-3);
  EXPECT_NEAR(ms[2], 200, 1e-3);
  EXPECT_NEAR(ms[3], 300, 1e-3);
  EXPECT_NEAR(ms[4], 400, 1e-3);
  EXPECT_NEAR(ms[5], 500, 1e-3);
  EXPECT_NEAR(ms[6], 3500, 1e-3);
}

TEST_F(FastPoll, HistoryLinesFollowTheIntervalExactlyWhateverThePeriods) {
  Make(2);
  Start(Recording(100));
  // 30 ms and 70 ms apart, taken in every 5 ms for ten seconds.
  for (int t = 0; t < 10000; t += 5) {
    if (t % 30 == 0) streams_[0]->Send(static_cast<uint32_t>(2000 + t), static_cast<float>(t));
    if (t % 70 == 0) streams_[1]->Send(static_cast<uint32_t>(800000 + t), -static_cast<float>(t));
    Tick();
    Advance(5);
  }
  EXPECT_LE(mode_->MergerSlots(), 3u);
  const std::vector<std::string> lines = HistoryLines();
  ASSERT_GT(lines.size(), 3u + 95u);
  EXPECT_EQ(lines[0], " , , D0, D1");
  for (size_t i = 4; i < lines.size(); ++i) {
    ASSERT_EQ(StampMs(lines[i]) - StampMs(lines[i - 1]), 100) << lines[i];
  }
  // Each line holds the latest reading at or before its time: at 500 ms, 480 and -490.
  const int64_t start = StampMs(lines[3]);
  for (size_t i = 3; i < lines.size(); ++i) {
    if (StampMs(lines[i]) - start == 500) {
      EXPECT_EQ(lines[i].substr(24), ", 480, -490") << lines[i];
    }
  }
}

TEST_F(FastPoll, TheTriggerOpensOncePerCrossingAndTheMergerStaysSmallWhileOff) {
  Make(2);
  // The slower instrument's value 0 at or above 10.
  Start(Recording(10, {true, 1, 10.0, 11, 0}));
  size_t most = 0;
  auto run = [&](int fromMs, int toMs, float slowValue) {
    for (int t = fromMs; t < toMs; t += 5) {
      streams_[0]->Send(static_cast<uint32_t>(1000 + t), 1);
      if (t % 250 == 0) streams_[1]->Send(static_cast<uint32_t>(1000 + t), slowValue);
      Tick();
      most = std::max(most, mode_->MergerSlots());
      Advance(5);
    }
  };
  run(0, 60000, 5);  // a minute below the level
  EXPECT_EQ(most, 0u);
  EXPECT_TRUE(user_.events.empty());
  run(60000, 61000, 15);
  run(61000, 62000, 5);
  run(62000, 63000, 15);
  // Recording, the first lines of each opening wait for the slower instrument's first reading.
  EXPECT_LE(most, 250u / 10u + 3u);
  EXPECT_EQ(user_.events, (std::vector<std::string>{"recording", "waiting", "recording"}));
  const std::vector<std::string> lines = HistoryLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "##_New_Start_##"), 1);
  EXPECT_GT(lines.size(), 3u + 150u);
}

// The history file removed (false) or moved away (true) while it records.
class LostHistoryFile : public FastPoll, public testing::WithParamInterface<bool> {};

TEST_P(LostHistoryFile, IsToldOnceAndTheRunReadsOnWithoutHistory) {
  Make(1);
  Start(Recording(100));
  auto stream = [&](int fromMs, int toMs) {
    for (int t = fromMs; t < toMs; t += 10) {
      streams_[0]->Send(static_cast<uint32_t>(1000 + t), static_cast<float>(t));
      Tick();
      Advance(10);
    }
  };
  stream(0, 3000);  // one flush, two seconds in
  const std::string file = dir_ + "/fast.mpc";
  const std::string moved = dir_ + "/elsewhere.mpc";
  const auto size = std::filesystem::file_size(file);
  ASSERT_GT(size, 200u);
  if (GetParam()) {
    std::filesystem::rename(file, moved);
  } else {
    std::filesystem::remove(file);
  }
  stream(3000, 6000);
  EXPECT_EQ(user_.events, (std::vector<std::string>{"recording", "history off", "write failed"}));
  EXPECT_FALSE(history_.On());
  const size_t rows = rows_.size();
  stream(6000, 12000);
  EXPECT_EQ(rows_.size(), rows + 600) << "the windows go on getting every record";
  EXPECT_EQ(user_.events.size(), 3u) << "told once";
  history_.EndRun();
  EXPECT_FALSE(std::filesystem::exists(file)) << "no file of lines without a header appears";
  if (GetParam()) {
    EXPECT_EQ(std::filesystem::file_size(moved), size) << "the moved file is left as it was";
  }
}

INSTANTIATE_TEST_SUITE_P(RemovedOrMoved, LostHistoryFile, testing::Bool(),
                         [](const auto& info) { return std::string(info.param ? "Moved" : "Removed"); });

TEST_F(FastPoll, ClosingFromInsideAPollRunsNoNestedPoll) {
  Make(1);
  Start(Recording(10, {true, 1, 10.0, 10, 0}));
  nestedPoll_ = true;
  // Up and down and up within one tick: each row passes the trigger, in order, once.
  const float values[] = {20, 21, 5, 22, 23};
  for (int i = 0; i < 5; ++i) streams_[0]->Send(static_cast<uint32_t>(1000 + 10 * i), values[i]);
  Tick();
  EXPECT_EQ(rows_.size(), 5u);
  EXPECT_EQ(user_.events, (std::vector<std::string>{"recording", "waiting", "recording"}));
  // Stopping takes in what arrived meanwhile before the file closes.
  nestedPoll_ = false;
  Advance(20);
  for (int i = 5; i < 30; ++i) streams_[0]->Send(static_cast<uint32_t>(1000 + 10 * i), 30);
  mode_->BeforeHistoryClose();
  const std::vector<std::string> lines = HistoryLines();
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines.back().substr(24), ", 30") << "lines of the records taken in at the stop";
}

}  // namespace
