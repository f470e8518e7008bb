// A reading run in slow mode against simulated instruments: the device list, the hand-over,
// the history file it writes, failures of instruments while it runs and counter resets.
#include <cmath>
#include <thread>

#include "run_fixture.h"

namespace {

using namespace acqtest;
using acquisition::ExistingFileChoice;

// The fields of a line, as a reader splits them.
std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  for (std::string f; std::getline(in, f, ',');) fields.push_back(f);
  if (!line.empty() && line.back() == ',') fields.push_back("");
  return fields;
}

TEST_F(RunTest, AFreeRunListsDevicesBySerialAndRecordsEveryHalfSecond) {
  Instrument(20, 3);
  Instrument(10, 4);
  FakeDisplay& first = displays_.Add({{20, 0x06}});
  FakeDisplay& second = displays_.Add({{10, 0x1F}, {20, 0x02}});
  settings_.settings.readIntervalMs = 500;
  settings_.settings.historyOn = true;
  run_ = std::make_unique<acquisition::ReadingRun>(displays_, settings_, user_);
  const auto started = run_->StartReadings();
  ASSERT_TRUE(started);
  EXPECT_FALSE(started->fast);
  EXPECT_EQ(started->readIntervalMs, 500);
  ASSERT_EQ(run_->Devices().size(), 2u);
  EXPECT_EQ(run_->Devices()[0]->GetPortNumber(), 4);
  EXPECT_EQ(run_->Devices()[1]->GetPortNumber(), 3);
  for (FakeDisplay* d : {&first, &second}) {
    EXPECT_EQ(d->runSerials, (std::vector<uint32_t>{10, 20}));
    EXPECT_EQ(d->readInterval, 500);
    EXPECT_EQ(d->titledDevices, 2u);
  }
  EXPECT_EQ(user_.events, std::vector<std::string>{"recording"});

  // Ten seconds, and longer only while a busy machine has not yet given the reading thread
  // eleven rounds and the file its lines (a minute at most).
  const auto start = std::chrono::steady_clock::now();
  const auto enough = [&] { return first.updates > 10 && HistoryLines().size() >= 3u + 15u; };
  for (;;) {
    run_->Tick();
    std::this_thread::sleep_for(25ms);
    const auto spent = std::chrono::steady_clock::now() - start;
    if (spent >= 10s && (spent >= 60s || enough())) break;
  }
  EXPECT_GT(first.updates, 10);
  EXPECT_EQ(first.lastValues, (std::vector<float>{0, 23.5f, 42.5f, 24.1f, 1234, 0, 23.5f, 42.5f, 24.1f, 1234}));
  run_->StopReadings();
  EXPECT_TRUE(run_->Devices().empty());
  EXPECT_EQ(user_.events.back(), "waiting");

  const std::vector<std::string> lines = HistoryLines();
  ASSERT_GE(lines.size(), 3u + 15u);
  EXPECT_EQ(lines[0], " , , SN10, , , , , SN20, ");
  EXPECT_EQ(lines[1], " , , Porta, Forno, Nivel, Ambiente, Freq\xFC\xEAncia, Forno, Nivel");
  EXPECT_EQ(lines[2], " , , , \xB0" "C, %, \xB0" "C, , \xB0" "C, %");
  for (size_t i = 3; i < lines.size(); ++i) {
    EXPECT_EQ(Split(lines[i]).size(), Split(lines[0]).size()) << lines[i];
    EXPECT_EQ(lines[i].substr(24), ", 0, 23.5, 42.50, 24.1, 1234.0, 23.5, 42.50") << lines[i];
    if (i > 3) {
      EXPECT_EQ(StampMs(lines[i]) - StampMs(lines[i - 1]), 500) << lines[i];
    }
  }
}

TEST_F(RunTest, ASilentInstrumentGetsTheErrorValueAndOneMessageAtItsThirdFailure) {
  Instrument(10, 4);
  sim::SimulatedInstrument& silent = Instrument(20, 3);
  FakeDisplay& window = displays_.Add({{10, 0x02}, {20, 0x02}});
  ASSERT_TRUE(GatedRun().StartReadings());
  Step(1);
  EXPECT_EQ(window.lastValues[6], 23.5f);
  silent.InjectFault(sim::FaultSpec::Silence());
  for (int round = 2; round <= 5; ++round) {
    Step(round);
    EXPECT_EQ(window.lastValues[1], 23.5f);  // the other instrument reads on
    EXPECT_EQ(std::vector<float>(window.lastValues.begin() + 5, window.lastValues.end()),
              std::vector<float>(5, -999.0f));
    EXPECT_EQ(window.lastTimes[1], wall_.now.load() - 500 / platform::kMsPerDay) << "the time advances";
    const bool told = std::find(user_.events.begin(), user_.events.end(), "COM3") != user_.events.end();
    EXPECT_EQ(told, round >= 4) << "after failure " << round - 1;
  }
  EXPECT_EQ(std::count(user_.events.begin(), user_.events.end(), "COM3"), 1);
  // Back again: readings resume, and a new run of failures is told again.
  silent.ClearFaults();
  Step(6);
  EXPECT_EQ(window.lastValues[6], 23.5f);
  silent.InjectFault(sim::FaultSpec::Silence());
  for (int round = 7; round <= 9; ++round) Step(round);
  EXPECT_EQ(std::count(user_.events.begin(), user_.events.end(), "COM3"), 2);
}

TEST_F(RunTest, AnUnpluggedInstrumentComesBackWithoutRestartingTheRun) {
  Instrument(10, 4);
  sim::SimulatedInstrument& unplugged = Instrument(20, 3);
  displays_.Add({{10, 0x02}, {20, 0x02}});
  settings_.settings.historyOn = true;
  ASSERT_TRUE(GatedRun().StartReadings());
  Step(1);
  unplugged.Stop();  // its pseudo-terminal and its port folder entry are gone
  for (int round = 2; round <= 5; ++round) Step(round);
  EXPECT_EQ(std::count(user_.events.begin(), user_.events.end(), "COM3"), 1);
  std::string error;
  ASSERT_TRUE(unplugged.Start(folder_.path(), 3, &error)) << error;
  Step(6);
  Step(7);
  StopRun();
  const std::vector<std::string> lines = HistoryLines();
  ASSERT_EQ(lines.size(), 3u + 7u);
  EXPECT_EQ(lines[3].substr(24), ", 23.5, 23.5");
  for (size_t i = 4; i <= 7; ++i) EXPECT_EQ(lines[i].substr(24), ", 23.5, -999.0") << i;
  EXPECT_EQ(lines[8].substr(24), ", 23.5, 23.5");
  EXPECT_EQ(lines[9].substr(24), ", 23.5, 23.5");
}

TEST_F(RunTest, HistorySwitchedOffDuringTheRunGoesToTheFileAtOnce) {
  Instrument(10, 4);
  displays_.Add({{10, 0x02}});
  settings_.settings.historyOn = true;
  ASSERT_TRUE(GatedRun().StartReadings());
  for (int round = 1; round <= 3; ++round) Step(round);
  EXPECT_EQ(HistoryLines().size(), 0u);  // still in the writer's buffer
  run_->HistoryDisabled();
  EXPECT_EQ(HistoryLines().size(), 3u + 3u);
  Step(4);
  EXPECT_EQ(HistoryLines().size(), 3u + 3u);
  StopRun();
  EXPECT_EQ(user_.events, std::vector<std::string>{"recording"});  // the user switched it off
}

TEST_F(RunTest, AReadingRoundThatThrowsStopsTheRunAtTheNextTickAndSaysWhy) {
  Instrument(10, 4);
  displays_.Add({{10, 0x02}});
  settings_.settings.historyOn = true;
  run_ = std::make_unique<acquisition::ReadingRun>(displays_, settings_, user_, wall_);
  std::atomic<int> rounds{0};
  run_->SetCycleObserver([&](auto, auto) {
    if (++rounds == 3) throw std::runtime_error("porta perdida");
  });
  ASSERT_TRUE(run_->StartReadings());
  const auto limit = std::chrono::steady_clock::now() + 30s;
  while (run_->Reading() && std::chrono::steady_clock::now() < limit) {
    wall_.AdvanceMs(25);
    run_->Tick();
    std::this_thread::sleep_for(5ms);
  }
  EXPECT_FALSE(run_->Reading());
  EXPECT_TRUE(run_->Devices().empty()) << "the port is free again";
  EXPECT_EQ(user_.events, (std::vector<std::string>{"recording", "waiting", "stopped: porta perdida"}));
  EXPECT_GT(HistoryLines().size(), 3u) << "what was recorded is on disk";
  run_->Tick();  // a stopped run ticks quietly
  EXPECT_EQ(user_.events.size(), 3u);
  EXPECT_TRUE(run_->StartReadings()) << "and can start again";
}

TEST_F(RunTest, AnInstrumentThatDoesNotAnswerAtTheStartIsReported) {
  Instrument(10, 4);
  // Found by its serial number, but its configuration can't be read.
  Instrument(20, 3).InjectFault(sim::FaultSpec::RefuseRegister(2));
  FakeDisplay& window = displays_.Add({{10, 0x02}, {20, 0x02}});
  settings_.settings.historyOn = true;
  GatedRun();
  EXPECT_FALSE(run_->StartReadings());
  EXPECT_FALSE(run_->Reading());
  EXPECT_TRUE(run_->Devices().empty());
  EXPECT_EQ(user_.events, std::vector<std::string>{"start failed COM3"});
  EXPECT_FALSE(std::filesystem::exists(settings_.settings.logFileName));
  EXPECT_EQ(window.updates, 0);
  // No window that names an instrument: nothing starts, nothing is said.
  displays_.windows.clear();
  displays_.Add({{77, 0x02}});
  EXPECT_FALSE(run_->StartReadings());
  EXPECT_EQ(user_.events.size(), 1u);
}

struct ExistingFileCase {
  const char* name;
  ExistingFileChoice answer;
  bool trigger;
  std::vector<std::string> events;
  std::vector<std::string> firstLines;
  std::string before = "old 1\nold 2\nold 3\n";  // the file before the run: a header
};

class ExistingHistoryFile : public RunTest, public testing::WithParamInterface<ExistingFileCase> {};

TEST_P(ExistingHistoryFile, IsAppendedToOverwrittenOrLeftAlone) {
  const ExistingFileCase& c = GetParam();
  Instrument(10, 4);
  displays_.Add({{10, 0x02}});
  std::ofstream(settings_.settings.logFileName, std::ios::binary) << c.before;
  settings_.settings.historyOn = true;
  settings_.settings.trigger = {c.trigger, 1, 0.0, 10, 0};
  user_.answer = c.answer;
  ASSERT_TRUE(GatedRun().StartReadings());
  Step(1);
  StopRun();
  EXPECT_EQ(user_.events, c.events);
  const std::vector<std::string> lines = HistoryLines();
  ASSERT_GE(lines.size(), c.firstLines.size());
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + static_cast<long>(c.firstLines.size())),
            c.firstLines);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, ExistingHistoryFile,
    testing::Values(
        ExistingFileCase{"Overwrite", ExistingFileChoice::kOverwrite, false, {"ask dados.mpc", "recording", "waiting"},
                         {" , , SN10", " , , Forno", " , , \xB0" "C"}},
        ExistingFileCase{"Append", ExistingFileChoice::kAppend, false, {"ask dados.mpc", "recording", "waiting"},
                         {"old 1", "old 2", "old 3", "##_New_Start_##", " , ", " , ", " , "}},
        ExistingFileCase{"Cancel", ExistingFileChoice::kCancel, false, {"ask dados.mpc", "history off"},
                         {"old 1", "old 2", "old 3"}},
        // Always at or above 0: opens at the first hand-over, appending without a question.
        ExistingFileCase{"TriggerAppends", ExistingFileChoice::kOverwrite, true, {"recording", "waiting"},
                         {"old 1", "old 2", "old 3", "##_New_Start_##", " , ", " , ", " , "}},
        // A file without a whole header holds no data: left empty by a program stopped before
        // its first flush, or cut in its header (blank lines are no header). Appending to it
        // gives it a new file's header, as the trigger's appending does.
        ExistingFileCase{"AppendToEmpty", ExistingFileChoice::kAppend, false, {"ask dados.mpc", "recording", "waiting"},
                         {" , , SN10", " , , Forno", " , , \xB0" "C"}, ""},
        ExistingFileCase{"AppendToCutHeader", ExistingFileChoice::kAppend, false,
                         {"ask dados.mpc", "recording", "waiting"}, {" , , SN10", " , , Forno", " , , \xB0" "C"},
                         " , , SN10\n\n \n , , Fo"},
        ExistingFileCase{"TriggerAppendsToEmpty", ExistingFileChoice::kOverwrite, true, {"recording", "waiting"},
                         {" , , SN10", " , , Forno", " , , \xB0" "C"}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RunTest, TheTriggerOpensAtTheLevelClosesBelowAndAppendsAtTheNextRise) {
  sim::SimulatedInstrument& source = Instrument(10, 4);
  Instrument(20, 3);
  displays_.Add({{10, 0x03}});
  settings_.settings.historyOn = true;
  // Chosen in a run where the source was the second device: only the value index counts.
  settings_.settings.trigger = {true, 1, 10.0, 10, 5};
  ASSERT_TRUE(GatedRun().StartReadings());
  const int values[] = {9, 10, 11, 9, 8, 12};
  for (int round = 1; round <= 6; ++round) {
    source.SetHoldingRegister(3, static_cast<uint16_t>(values[round - 1]));
    // The register is read in the round after this one was let go.
    if (round == 1) {
      ASSERT_TRUE(gate_.Run(1));
    }
    Step(round + 1);
  }
  StopRun();
  EXPECT_EQ(user_.events, (std::vector<std::string>{"recording", "waiting", "recording", "waiting"}));
  std::vector<std::string> lines = HistoryLines();
  for (std::string& line : lines) {
    if (line.size() > 24 && line[2] == '/') line = line.substr(24);
  }
  EXPECT_EQ(lines, (std::vector<std::string>{" , , SN10, ", " , , Porta, Forno", " , , , \xB0" "C", ", 10, 23.5",
                                             ", 11, 23.5", "##_New_Start_##", " , ", " , ", " , ", ", 12, 23.5"}));
}

TEST_F(RunTest, ATriggerWhoseInstrumentIsNotInTheRunNeverFires) {
  Instrument(10, 4).SetHoldingRegister(3, 50);
  displays_.Add({{10, 0x03}});
  settings_.settings.historyOn = true;
  settings_.settings.trigger = {true, 1, 10.0, 99, 0};
  ASSERT_TRUE(GatedRun().StartReadings());
  for (int round = 1; round <= 3; ++round) Step(round);
  EXPECT_FALSE(run_->HistoryRecording());
  StopRun();
  EXPECT_EQ(user_.events, std::vector<std::string>{"waiting"});
  EXPECT_FALSE(std::filesystem::exists(settings_.settings.logFileName));
}

TEST_F(RunTest, AWallClockSetBackGoesOnAndOneSetDaysForwardCatchesUpOnlyTheLastMinute) {
  Instrument(10, 4);
  displays_.Add({{10, 0x03}});
  settings_.settings.historyOn = true;
  ASSERT_TRUE(GatedRun().StartReadings());
  Step(1);
  Step(2);
  ASSERT_EQ(user_.lines, 2);
  // An hour back: a line at each tick still, the first of them at the time the clock gives now.
  wall_.AdvanceMs(-3'600'000.0);
  Step(3);
  Step(4);
  ASSERT_EQ(user_.lines, 4);
  // Two days forward: a minute of 499 ms intervals, not two days of them.
  ASSERT_TRUE(gate_.Run(5));
  wall_.AdvanceMs(2.0 * 86'400'000);
  run_->Tick();
  StopRun();
  EXPECT_LE(user_.lines - 4, 60'000 / 499 + 1);
  EXPECT_GE(user_.lines - 4, 60'000 / 499 - 1);
  const std::vector<std::string> lines = HistoryLines();
  ASSERT_EQ(lines.size(), 3u + static_cast<size_t>(user_.lines));
  EXPECT_EQ(StampMs(lines[5]) - StampMs(lines[3]), 1000 - 3'600'000);
  EXPECT_EQ(StampMs(lines[6]) - StampMs(lines[5]), 499);
  // The lines caught up stay on the grid of the line the clock was set back at.
  EXPECT_EQ((StampMs(lines.back()) - StampMs(lines[5])) % 499, 0) << lines.back();
  EXPECT_LE(std::llround(wall_.now.load() * platform::kMsPerDay) - StampMs(lines.back()), 499);
}

// (function, register) of each request the instrument saw, and whether every request had its
// reply before another one went out. The same request again before the reply is a try
// repeated after a time-out (a busy machine can leave the simulator too little time to
// answer within one), not another request cutting in.
struct Traffic {
  int resets = 0;
  bool alternates = true;
};
Traffic TrafficOf(const sim::SimulatedInstrument& instrument) {
  Traffic t;
  bool awaitingReply = false;
  std::vector<uint8_t> awaited;
  for (const sim::LogEntry& e : instrument.Log()) {
    if (e.direction == sim::LogEntry::Direction::Request) {
      if (awaitingReply && e.bytes != awaited) t.alternates = false;
      awaitingReply = true;
      awaited = e.bytes;
      if (e.bytes.size() >= 4 && e.bytes[1] == 6 && (e.bytes[2] << 8 | e.bytes[3]) == 73) ++t.resets;
    } else if (e.direction == sim::LogEntry::Direction::Reply) {
      awaitingReply = false;
    }
  }
  return t;
}

size_t Requests(const sim::SimulatedInstrument& instrument) {
  const auto log = instrument.Log();
  return static_cast<size_t>(std::count_if(log.begin(), log.end(), [](const sim::LogEntry& e) {
    return e.direction == sim::LogEntry::Direction::Request;
  }));
}

TEST_F(RunTest, WithNoChildWindowLeftTheReadingThreadReadsNothingUntilOneComesBack) {
  sim::SimulatedInstrument& instrument = Instrument(10, 4);
  displays_.Add({{10, 0x02}});
  ASSERT_TRUE(GatedRun().StartReadings());
  Step(1);
  displays_.windows.clear();
  run_->Tick();  // the run counts the child windows at each tick
  instrument.ClearLog();
  gate_.Open();
  // Some rounds' time of reading nothing (a busy machine may give it fewer: never more).
  std::this_thread::sleep_for(1500ms);
  EXPECT_EQ(Requests(instrument), 0u);
  // A history viewer counts as a child window too: reading goes on.
  displays_.otherChildren = 1;
  run_->Tick();
  const auto limit = std::chrono::steady_clock::now() + 60s;
  while (Requests(instrument) == 0 && std::chrono::steady_clock::now() < limit) std::this_thread::sleep_for(10ms);
  EXPECT_GT(Requests(instrument), 0u);
}

TEST_F(RunTest, ValuesThatCanTriggerAreTheShownOnesAndTheCounterOnlyWhereThereIsOne) {
  Instrument(30, 5, 105, sim::Model::Probe);
  Instrument(20, 3, 109);
  Instrument(10, 4, 110);
  displays_.Add({{20, 0x1F}, {30, 0x1F}});
  displays_.Add({{10, 0x12}});
  const auto values = acquisition::ListRecordableValues(displays_, acquisition::ProgramDefaultValueNames());
  ASSERT_TRUE(values);
  std::vector<std::pair<uint32_t, int>> listed;
  for (const auto& v : *values) listed.emplace_back(v.serial, v.index);
  // Devices in serial order: 10 at 0..4, 20 at 5..9, 30 at 10..14.
  EXPECT_EQ(listed, (std::vector<std::pair<uint32_t, int>>{
                        {10, 1}, {10, 4}, {20, 5}, {20, 6}, {20, 7}, {20, 8}, {30, 10}, {30, 11}, {30, 12}, {30, 13}}));
  EXPECT_EQ(values->at(1).label, "SN10 / Freq\xFC\xEAncia");
}

TEST_F(RunTest, ACounterResetAskedForInARunThatStoppedIsNotCarriedOutByTheNext) {
  sim::SimulatedInstrument& counting = Instrument(10, 4);
  displays_.Add({{10, 0x10}});
  ASSERT_TRUE(GatedRun().StartReadings());
  Step(1);
  run_->QueueCounterReset(4);
  StopRun();  // before the tick that would carry it out
  counting.ClearLog();
  ASSERT_TRUE(run_->StartReadings());
  for (int tick = 0; tick < 3; ++tick) run_->Tick();
  EXPECT_EQ(TrafficOf(counting).resets, 0);
  run_->QueueCounterReset(4);
  run_->Tick();
  EXPECT_EQ(TrafficOf(counting).resets, 1);
}

TEST_F(RunTest, CounterResetsGoOnceToInstrumentsWithACounterAndNeverCutIntoAReading) {
  sim::SimulatedInstrument& counting = Instrument(10, 4);
  sim::SimulatedInstrument& old = Instrument(20, 3, 109);
  sim::SimulatedInstrument& probe = Instrument(30, 5, 105, sim::Model::Probe);
  displays_.Add({{10, 0x10}, {20, 0x02}, {30, 0x02}});
  ASSERT_TRUE(GatedRun().StartReadings());
  Step(1);
  for (auto* i : {&counting, &old, &probe}) i->ClearLog();
  run_->QueueCounterReset(4);
  run_->QueueCounterReset(4);
  run_->QueueCounterReset(3);
  run_->QueueCounterReset(5);
  run_->QueueCounterReset(0);
  run_->QueueCounterReset(9);  // no instrument there
  Step(2);
  EXPECT_EQ(TrafficOf(counting).resets, 1);
  EXPECT_EQ(TrafficOf(old).resets + TrafficOf(probe).resets, 0);

  // Resets asked for at every tick while the thread reads freely: a count of ticks, not a
  // time, so a busy machine that slows each tick down still carries out as many.
  gate_.Open();
  counting.ClearLog();
  for (int tick = 0; tick < 200; ++tick) {
    run_->QueueCounterReset(4);
    run_->Tick();
    std::this_thread::sleep_for(10ms);
  }
  StopRun();
  const Traffic t = TrafficOf(counting);
  EXPECT_GT(t.resets, 20);
  EXPECT_TRUE(t.alternates);
}

}  // namespace
