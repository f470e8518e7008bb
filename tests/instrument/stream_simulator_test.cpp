// Streaming mode end to end: DeviceInterface switching the simulated instrument's stream on
// and off over a pseudo-terminal and reading its records the way the window's timer does.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "instrument/device_interface.h"
#include "tests/instrument/pty_pair.h"
#include "tools/sim/simulated_instrument.h"

namespace {

using testing_support::TempPortFolder;
using Clock = std::chrono::steady_clock;
using Direction = sim::LogEntry::Direction;
using namespace std::chrono_literals;

constexpr int kPort = 5;
constexpr float kError = -999.0f;
constexpr int kMaxRows = 30;

struct Row {
  std::array<float, 5> values;
  uint32_t time;
};

class StreamOnSimulator : public ::testing::Test {
 protected:
  // Model 0, firmware 1.10: channel 1 a Pt100, channel 2 linear, ambient on, rate code 0:
  // four conversions of 7.8125 ms.
  void Start(sim::InstrumentOptions options = {}) {
    instrument_ = std::make_unique<sim::SimulatedInstrument>(options);
    instrument_->SetHoldingRegister(7, 0x0020);
    std::string error;
    ASSERT_TRUE(instrument_->Start(folder_.path(), kPort, &error)) << error;
    ASSERT_TRUE(device_.OpenPort());
    ASSERT_TRUE(device_.ReadConfiguration());
  }

  // One tick of the fast-mode timer: what has arrived, parsed into rows of a two-device
  // buffer (this device is the second), the other device's values left alone.
  std::vector<Row> Tick() {
    std::vector<float> buffer(kMaxRows * 2 * 5, 7.0f);
    uint32_t times[kMaxRows] = {};
    const uint16_t held = device_.ReceiveStream();
    const int rows = device_.ParseStreamRecords(std::min<int>(held, kMaxRows), buffer.data() + 5, times, 2, kError);
    std::vector<Row> got;
    for (int r = 0; r < rows; ++r) {
      Row row;
      for (int i = 0; i < 5; ++i) row.values[static_cast<size_t>(i)] = buffer[static_cast<size_t>((r * 2 + 1) * 5 + i)];
      row.time = times[r];
      got.push_back(row);
      for (int i = 0; i < 5; ++i) EXPECT_EQ(buffer[static_cast<size_t>(r * 2 * 5 + i)], 7.0f);
    }
    return got;
  }

  std::vector<Row> Collect(size_t count, std::chrono::milliseconds limit = 3000ms) {
    std::vector<Row> rows;
    const auto deadline = Clock::now() + limit;
    while (rows.size() < count && Clock::now() < deadline) {
      for (const Row& row : Tick()) rows.push_back(row);
      std::this_thread::sleep_for(5ms);
    }
    return rows;
  }

  // Stops the instrument's stream behind the program's back and takes in every record sent.
  std::vector<Row> StopAndDrain() {
    instrument_->SetHoldingRegister(7, static_cast<uint16_t>(instrument_->HoldingRegister(7) & ~0x40));
    std::this_thread::sleep_for(100ms);
    std::vector<Row> rows;
    for (std::vector<Row> some = Tick(); !some.empty(); some = Tick()) rows.insert(rows.end(), some.begin(), some.end());
    return rows;
  }

  TempPortFolder folder_;
  std::unique_ptr<sim::SimulatedInstrument> instrument_;
  DeviceInterface device_{kPort};
};

TEST_F(StreamOnSimulator, RecordsAtTheInstrumentsPeriodUntilSwitchedOff) {
  Start();
  EXPECT_FLOAT_EQ(device_.GetFastModePeriod(), 31.25f);
  EXPECT_EQ(device_.ReceiveStream(), 0);  // not streaming yet
  ASSERT_TRUE(device_.EnableFastMode());
  EXPECT_EQ(instrument_->HoldingRegister(7), 0x0060);
  EXPECT_TRUE(device_.EnableFastMode());  // already on: nothing sent

  const auto rows = Collect(20);
  ASSERT_GE(rows.size(), 20u);
  const std::array<float, 5> expected = {0, 23.5f, 42.5f, 24.1f, 1234};
  for (size_t i = 0; i < 5; ++i) EXPECT_FLOAT_EQ(rows[0].values[i], expected[i]);
  for (size_t r = 1; r < rows.size(); ++r) {
    const uint32_t step = rows[r].time - rows[r - 1].time;
    EXPECT_TRUE(step == 31 || step == 32) << r << ": " << step;
  }
  const double mean = double(rows.back().time - rows.front().time) / double(rows.size() - 1);
  EXPECT_NEAR(mean, 31.25, 0.1);

  // Receiving never waits, whether something is there or not.
  for (int i = 0; i < 10; ++i) {
    const auto start = Clock::now();
    device_.ReceiveStream();
    EXPECT_LT(Clock::now() - start, 5ms);
  }

  instrument_->ClearLog();
  ASSERT_TRUE(device_.DisableFastMode());
  EXPECT_EQ(instrument_->HoldingRegister(7), 0x0020);
  const size_t sent = instrument_->StreamRecordCount();
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(instrument_->StreamRecordCount(), sent);
  // The echo of the write that cleared the bit is the last thing on the line.
  const auto log = instrument_->Log();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back().direction, Direction::Reply);
  EXPECT_EQ(device_.ReceiveStream(), 0);
}

TEST_F(StreamOnSimulator, EveryRecordIsTakenOnceWhateverTheLineDelivers) {
  Start();
  ASSERT_TRUE(device_.EnableFastMode());
  std::vector<Row> rows = Collect(3);
  const sim::StreamFault faults[] = {
      sim::StreamFault::ZeroBytes(6),          sim::StreamFault::Junk(40),
      sim::StreamFault::BadNumber("inf"),      sim::StreamFault::MissingField(),
      sim::StreamFault::ExtraField(),          sim::StreamFault::BadNumber("0x1F"),
      sim::StreamFault::TimeJump(5000),        sim::StreamFault::BadNumber("nan", 3),
      sim::StreamFault::Junk(2500),
  };
  for (const sim::StreamFault& fault : faults) {
    const size_t before = instrument_->StreamRecordCount();
    instrument_->InjectStreamFault(fault);
    ASSERT_TRUE(instrument_->WaitForStreamRecordCount(before + 2, 1000ms));
    for (const Row& row : Tick()) rows.push_back(row);
  }
  for (const Row& row : StopAndDrain()) rows.push_back(row);

  // inf, a field short, a field too many, 0x1F and nan; the junk of 2500 bytes without a line
  // end overflows the buffer, which keeps the record behind it.
  EXPECT_EQ(device_.GetRejectedRecordCount(), 5u);
  EXPECT_EQ(rows.size() + device_.GetRejectedRecordCount(), instrument_->StreamRecordCount());
  int jumps = 0;
  for (size_t r = 1; r < rows.size(); ++r) {
    const uint32_t step = rows[r].time - rows[r - 1].time;
    if (step >= 5000) ++jumps;
    EXPECT_LT(step, 5100u) << r;
    EXPECT_FLOAT_EQ(rows[r].values[1], 23.5f);
  }
  EXPECT_EQ(jumps, 1);
  EXPECT_EQ(device_.GetStreamBytesHeld(), 0u);
}

TEST_F(StreamOnSimulator, TheInstrumentsClockWrapsButIsNeverZero) {
  sim::InstrumentOptions options;
  options.streamClockStartMs = 0xFFFFFFFFu - 60;
  options.streamDecimalMark = ',';
  Start(options);
  ASSERT_TRUE(device_.EnableFastMode());
  const auto rows = Collect(8);
  ASSERT_GE(rows.size(), 8u);
  bool wrapped = false;
  for (size_t r = 0; r < rows.size(); ++r) {
    EXPECT_NE(rows[r].time, 0u);
    EXPECT_FLOAT_EQ(rows[r].values[2], 42.5f);  // "42,50"
    if (r > 0) {
      wrapped |= rows[r].time < rows[r - 1].time;
      const uint32_t step = rows[r].time - rows[r - 1].time;
      EXPECT_TRUE(step >= 31 && step <= 33) << step;
    }
  }
  EXPECT_TRUE(wrapped);
}

TEST_F(StreamOnSimulator, AProgramThatDoesNotReadNeverHoldsTheInstrumentUp) {
  Start();
  // One linear input alone: a record every 7.8125 ms.
  instrument_->SetHoldingRegister(7, 0x0000);
  instrument_->SetHoldingRegister(8, 0x0089);
  instrument_->SetHoldingRegister(9, 0x0000);
  ASSERT_TRUE(device_.ReadConfiguration());
  EXPECT_FLOAT_EQ(device_.GetFastModePeriod(), 7.8125f);
  ASSERT_TRUE(device_.EnableFastMode());
  std::this_thread::sleep_for(1500ms);
  EXPECT_GT(instrument_->StreamRecordCount(), 150u);

  // The backlog fills the buffer with whole records: a tick takes its 30.
  EXPECT_GE(device_.ReceiveStream(), 30);
  EXPECT_EQ(Tick().size(), size_t{kMaxRows});
  const auto start = Clock::now();
  ASSERT_TRUE(device_.DisableFastMode());
  EXPECT_LT(Clock::now() - start, 500ms);
  EXPECT_EQ(instrument_->HoldingRegister(7), 0x0000);
}

}  // namespace
