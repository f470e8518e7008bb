// Fast runs against simulated instruments streaming at their own periods: the history file's
// stamps and its independent check, each record's PC time against when it was sent, a stream
// that pauses, spoiled records and a clock that steps back, and the trigger on the slower
// instrument.
#include <cmath>
#include <map>
#include <optional>
#include <thread>

#include "run_fixture.h"

namespace {

using namespace acqtest;

// Register 7 of model 0 with the ambient channel on (four conversions with the default Pt100
// and linear inputs): rate code 0 streams every 31.25 ms, 2 every 250 ms.
constexpr uint16_t kEvery31ms = 0x0020;
constexpr uint16_t kEvery250ms = 0x0022;
constexpr double kMsDay = 1.0 / platform::kMsPerDay;

// The wall time (TDateTime) at a moment of the steady clock the simulator logs in.
TDateTime WallAtSteadyUs(uint64_t us) {
  static const auto anchor = [] {
    const auto steady = std::chrono::duration_cast<std::chrono::microseconds>(
                            std::chrono::steady_clock::now().time_since_epoch())
                            .count();
    return std::pair<int64_t, TDateTime>(steady, platform::WallClock::System().Now());
  }();
  return anchor.second + static_cast<double>(static_cast<int64_t>(us) - anchor.first) / 1000.0 * kMsDay;
}

// The instrument time of each streamed record and when it went out.
std::map<uint32_t, uint64_t> SentRecords(const sim::SimulatedInstrument& instrument) {
  std::map<uint32_t, uint64_t> sent;
  for (const sim::LogEntry& e : instrument.Log()) {
    if (e.direction != sim::LogEntry::Direction::Stream) continue;
    const std::string text(e.bytes.begin(), e.bytes.end());
    const size_t semicolon = text.rfind(';');
    if (semicolon == std::string::npos) continue;
    sent[static_cast<uint32_t>(std::strtoul(text.c_str() + semicolon + 1, nullptr, 10))] = e.monotonicUs;
  }
  return sent;
}

class FastRunTest : public RunTest {
 protected:
  struct Placed {
    size_t device;
    uint32_t deviceMs;
    TDateTime time;
  };

  sim::SimulatedInstrument& Streaming(uint32_t serial, int com, uint16_t register7) {
    sim::SimulatedInstrument& instrument = Instrument(serial, com);
    instrument.SetHoldingRegister(7, register7);
    return instrument;
  }
  acquisition::ReadingRun& FastRun() {
    settings_.settings.fast = true;
    settings_.settings.logIntervalMs = 100;
    run_ = std::make_unique<acquisition::ReadingRun>(displays_, settings_, user_);
    run_->SetRecordObserver([this](size_t d, uint32_t ms, TDateTime t) { placed_.push_back({d, ms, t}); });
    return *run_;
  }
  // Ticks every 5 ms for `ms`; `at` runs before each tick with the milliseconds elapsed.
  void TickFor(int ms, const std::function<void(int)>& at = {}) {
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
      const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
      if (elapsed.count() >= ms) break;
      if (at) at(static_cast<int>(elapsed.count()));
      run_->Tick();
      std::this_thread::sleep_for(5ms);
    }
  }
  const acquisition::FastMode& Mode() const { return dynamic_cast<const acquisition::FastMode&>(*run_->Mode()); }

  // Data lines: stamps exactly one interval apart, each line's values after the time.
  std::vector<std::string> CheckedDataLines() {
    std::vector<std::string> data;
    const std::vector<std::string> lines = HistoryLines();
    int64_t previous = -1;
    for (size_t i = 3; i < lines.size(); ++i) {
      if (lines[i] == "##_New_Start_##") {
        previous = -1;
        i += 3;
        continue;
      }
      const int64_t stamp = StampMs(lines[i]);
      if (previous >= 0) {
        EXPECT_EQ(stamp - previous, 100) << "line " << i + 1 << ": " << lines[i];
      }
      previous = stamp;
      data.push_back(lines[i].substr(24));
    }
    return data;
  }
  void ExpectIndependentCheckPasses() {
    const std::string command = "/usr/bin/python3 " HISTORY_CHECK_SCRIPT " '" + settings_.settings.logFileName +
                                "' --interval-ms 100 >/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
  }
  // Every record's PC time lies near when its instrument sent it, and the records keep the
  // instrument's own spacing to the millisecond. The first bound is generous: a busy machine
  // may take in the first record, which ties the clocks together, some hundreds of
  // milliseconds late, while what it must catch (records that waited since the start
  // shifting the times) costs seconds. The spacing holds however busy the machine is.
  void ExpectTimesMatchTheSends(size_t device, const sim::SimulatedInstrument& instrument) {
    const auto sent = SentRecords(instrument);
    int matched = 0;
    double worst = 0, worstSpacing = 0;
    std::optional<Placed> first;
    for (const Placed& p : placed_) {
      if (p.device != device) continue;
      if (!first) first = p;
      const double spacing = (p.time - first->time) / kMsDay -
                             (static_cast<double>(p.deviceMs) - static_cast<double>(first->deviceMs));
      worstSpacing = std::max(worstSpacing, std::abs(spacing));
      const auto it = sent.find(p.deviceMs);
      if (it == sent.end()) continue;
      worst = std::max(worst, std::abs(p.time - WallAtSteadyUs(it->second)) / kMsDay);
      ++matched;
    }
    EXPECT_GT(matched, 5);
    EXPECT_LT(worst, 1000.0) << "milliseconds between a record's PC time and its sending";
    EXPECT_LT(worstSpacing, 1.0) << "milliseconds off the instrument's own spacing";
  }

  std::vector<Placed> placed_;
};

TEST_F(FastRunTest, InstrumentsAtTheirOwnPeriodsGiveLinesExactlyOneIntervalApart) {
  sim::SimulatedInstrument& fast = Streaming(10, 4, kEvery31ms);
  sim::SimulatedInstrument& slow = Streaming(20, 3, kEvery250ms);
  displays_.Add({{10, 0x02}, {20, 0x06}});
  settings_.settings.historyOn = true;
  const auto started = FastRun().StartReadings();
  ASSERT_TRUE(started);
  EXPECT_TRUE(started->fast);
  TickFor(5000);
  run_->StopReadings();
  const std::vector<std::string> data = CheckedDataLines();
  EXPECT_GE(data.size(), 40u);
  for (const std::string& values : data) EXPECT_EQ(values, ", 23.5, 23.5, 42.50");
  ExpectIndependentCheckPasses();
  ExpectTimesMatchTheSends(0, fast);
  ExpectTimesMatchTheSends(1, slow);
  // After the stop the instruments go on streaming.
  const size_t count = slow.StreamRecordCount();
  EXPECT_TRUE(slow.WaitForStreamRecordCount(count + 2, 60s));
}

TEST_F(FastRunTest, TenSecondsOfRecordsWaitingAtTheStartDoNotShiftTheTimes) {
  sim::SimulatedInstrument& instrument = Streaming(10, 4, kEvery31ms);
  displays_.Add({{10, 0x02}});
  std::ofstream(settings_.settings.logFileName) << "old\n";
  settings_.settings.historyOn = true;
  user_.answer = acquisition::ExistingFileChoice::kOverwrite;
  // The question comes after the instruments were switched to streaming.
  user_.whileAsked = [] { std::this_thread::sleep_for(10s); };
  ASSERT_TRUE(FastRun().StartReadings());
  TickFor(2000);
  run_->StopReadings();
  ExpectTimesMatchTheSends(0, instrument);
  EXPECT_GE(CheckedDataLines().size(), 15u);
}

TEST_F(FastRunTest, AStreamPausedThreeSecondsGetsErrorValuesAfterTwoWhileRecordingGoesOn) {
  Streaming(10, 4, kEvery31ms);
  sim::SimulatedInstrument& paused = Streaming(20, 3, kEvery31ms);
  displays_.Add({{10, 0x02}, {20, 0x02}});
  settings_.settings.historyOn = true;
  ASSERT_TRUE(FastRun().StartReadings());
  bool injected = false;
  TickFor(6000, [&](int ms) {
    if (ms >= 1000 && !injected) {
      injected = true;
      paused.InjectStreamFault(sim::StreamFault::Pause(3000));
    }
  });
  run_->StopReadings();
  const std::vector<std::string> data = CheckedDataLines();
  EXPECT_GE(data.size(), 50u);
  size_t errors = 0;
  for (const std::string& values : data) {
    EXPECT_TRUE(values == ", 23.5, 23.5" || values == ", 23.5, -999.0") << values;
    errors += values == ", 23.5, -999.0";
  }
  // About one second of the three: the two before are the instrument's grace.
  EXPECT_GE(errors, 4u);
  EXPECT_LE(errors, 16u);
  EXPECT_EQ(std::count(user_.events.begin(), user_.events.end(), "COM3"), 1);
  EXPECT_EQ(std::count(user_.events.begin(), user_.events.end(), "COM4"), 0);
}

TEST_F(FastRunTest, SpoiledRecordsAndAClockSteppingBackNeverStopRecording) {
  sim::SimulatedInstrument& first = Streaming(10, 4, kEvery31ms);
  sim::SimulatedInstrument& second = Streaming(20, 3, kEvery31ms);
  displays_.Add({{10, 0x02}, {20, 0x02}});
  settings_.settings.historyOn = true;
  ASSERT_TRUE(FastRun().StartReadings());
  const std::vector<sim::StreamFault> faults = {
      sim::StreamFault::ZeroBytes(6, 3),  sim::StreamFault::Junk(40, 3),     sim::StreamFault::BadNumber("1.2.3", 1, 3),
      sim::StreamFault::BadNumber("inf"), sim::StreamFault::MissingField(3), sim::StreamFault::ExtraField(3),
      sim::StreamFault::ClockBack(60000), sim::StreamFault::TimeJump(4000000)};
  // Each fault spoils a record of its own: a simulator held up on a busy machine would give
  // the next one to the record still owed the previous one, and the two would count as one.
  size_t next = 0;
  TickFor(5000, [&](int ms) {
    if (next < faults.size() && ms >= 500 + 400 * static_cast<int>(next)) {
      sim::SimulatedInstrument& target = next % 2 ? first : second;
      ASSERT_TRUE(target.WaitForStreamFaultsSpent(60s));
      target.InjectStreamFault(faults[next]);
      ++next;
    }
  });
  // The last faults' records are taken in before the counts are read.
  ASSERT_TRUE(first.WaitForStreamFaultsSpent(60s));
  ASSERT_TRUE(second.WaitForStreamFaultsSpent(60s));
  const auto deadline = std::chrono::steady_clock::now() + 60s;
  do {
    TickFor(100);
  } while (Mode().Reanchors() < 2 && std::chrono::steady_clock::now() < deadline);
  const uint64_t rejected = run_->Devices()[0]->GetRejectedRecordCount() + run_->Devices()[1]->GetRejectedRecordCount();
  const uint64_t reanchors = Mode().Reanchors();
  run_->StopReadings();
  EXPECT_EQ(next, faults.size());
  EXPECT_GE(rejected, 10u);
  EXPECT_EQ(reanchors, 2u);
  const std::vector<std::string> data = CheckedDataLines();
  EXPECT_GE(data.size(), 45u);
  for (const std::string& values : data) EXPECT_EQ(values, ", 23.5, 23.5");
  // Each instrument's PC times only go forward.
  std::vector<TDateTime> last(2, 0.0);
  for (const Placed& p : placed_) {
    EXPECT_GE(p.time, last[p.device]);
    last[p.device] = p.time;
  }
  EXPECT_TRUE(std::find(user_.events.begin(), user_.events.end(), "COM3") == user_.events.end());
}

TEST_F(FastRunTest, ATriggerOnTheSlowerInstrumentOpensOncePerCrossing) {
  Streaming(10, 4, kEvery31ms);
  sim::SimulatedInstrument& slow = Streaming(20, 3, kEvery250ms);
  displays_.Add({{10, 0x02}, {20, 0x01}});
  settings_.settings.historyOn = true;
  // Value 0 (the digital input) of the slower instrument at or above 10.
  settings_.settings.trigger = {true, 1, 10.0, 20, 0};
  ASSERT_TRUE(FastRun().StartReadings());
  TickFor(6000, [&](int ms) {
    const uint16_t level = (ms >= 1000 && ms < 2500) || ms >= 4000 ? 20 : 0;
    if (slow.HoldingRegister(3) != level) slow.SetHoldingRegister(3, level);
  });
  run_->StopReadings();
  EXPECT_EQ(user_.events, (std::vector<std::string>{"recording", "waiting", "recording", "waiting"}));
  const std::vector<std::string> lines = HistoryLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "##_New_Start_##"), 1);
  for (const std::string& values : CheckedDataLines()) EXPECT_EQ(values, ", 23.5, 20");
  ExpectIndependentCheckPasses();
}

}  // namespace
