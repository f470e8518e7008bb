// Streaming mode end to end: DeviceInterface switching the simulated instrument's stream on
// and off over a pseudo-terminal and reading its records the way the window's timer does.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "instrument/device_interface.h"
#include "tests/instrument/pty_pair.h"
#include "tools/sim/simulated_instrument.h"

namespace {

using Clock = std::chrono::steady_clock;
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
  void SetUp() override {
    instrument_.SetHoldingRegister(7, 0x0020);
    std::string error;
    ASSERT_TRUE(instrument_.Start(folder_.path(), kPort, &error)) << error;
    ASSERT_TRUE(device_.OpenPort());
    ASSERT_TRUE(device_.ReadConfiguration());
  }

  // One tick of the fast-mode timer: what has arrived, parsed into rows of a two-device
  // buffer (this device is the second), the other device's values left alone.
  std::vector<Row> Tick() {
    std::vector<float> buffer(kMaxRows * 2 * 5, 7.0f);
    uint32_t times[kMaxRows] = {};
    const int rows = device_.ParseStreamRecords(std::min<int>(device_.ReceiveStream(), kMaxRows), &buffer[5], times, 2, kError);
    std::vector<Row> got(static_cast<size_t>(rows));
    for (size_t r = 0; r < got.size(); ++r) {
      std::copy_n(&buffer[(r * 2 + 1) * 5], 5, got[r].values.begin());
      got[r].time = times[r];
      EXPECT_EQ(std::vector<float>(&buffer[r * 10], &buffer[r * 10 + 5]), std::vector<float>(5, 7.0f));
    }
    return got;
  }
  void TakeTick(std::vector<Row>& rows) {
    for (const Row& row : Tick()) rows.push_back(row);
  }

  testing_support::TempPortFolder folder_;
  sim::SimulatedInstrument instrument_;
  DeviceInterface device_{kPort};
};

TEST_F(StreamOnSimulator, RecordsAtTheInstrumentsPeriodUntilSwitchedOff) {
  EXPECT_FLOAT_EQ(device_.GetFastModePeriod(), 31.25f);
  EXPECT_EQ(device_.ReceiveStream(), 0);  // not streaming yet
  ASSERT_TRUE(device_.EnableFastMode());
  EXPECT_EQ(instrument_.HoldingRegister(7), 0x0060);
  std::vector<Row> rows;
  for (const auto deadline = Clock::now() + 3s; rows.size() < 20 && Clock::now() < deadline; TakeTick(rows)) {
    const auto start = Clock::now();
    device_.ReceiveStream();
    EXPECT_LT(Clock::now() - start, 5ms);  // receiving never waits
    std::this_thread::sleep_for(5ms);
  }
  ASSERT_GE(rows.size(), 20u);
  EXPECT_EQ(rows[0].values, (std::array<float, 5>{0, 23.5f, 42.5f, 24.1f, 1234}));
  for (size_t r = 1; r < rows.size(); ++r) {
    const uint32_t step = rows[r].time - rows[r - 1].time;
    EXPECT_TRUE(step == 31 || step == 32) << r << ": " << step;
  }
  EXPECT_NEAR(double(rows.back().time - rows.front().time) / double(rows.size() - 1), 31.25, 0.1);

  instrument_.ClearLog();
  ASSERT_TRUE(device_.DisableFastMode());
  EXPECT_EQ(instrument_.HoldingRegister(7), 0x0020);
  const size_t sent = instrument_.StreamRecordCount();
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(instrument_.StreamRecordCount(), sent);
  // The echo of the write that cleared the bit is the last thing on the line.
  ASSERT_FALSE(instrument_.Log().empty());
  EXPECT_EQ(instrument_.Log().back().direction, sim::LogEntry::Direction::Reply);
  EXPECT_EQ(device_.ReceiveStream(), 0);
}

TEST_F(StreamOnSimulator, EveryRecordIsTakenOnceWhateverTheLineDelivers) {
  ASSERT_TRUE(device_.EnableFastMode());
  std::vector<Row> rows;
  const sim::StreamFault faults[] = {
      sim::StreamFault::ZeroBytes(6),     sim::StreamFault::Junk(40),        sim::StreamFault::BadNumber("inf"),
      sim::StreamFault::MissingField(),   sim::StreamFault::ExtraField(),    sim::StreamFault::BadNumber("0x1F"),
      sim::StreamFault::TimeJump(5000),   sim::StreamFault::BadNumber("nan", 3), sim::StreamFault::Junk(2500),
  };
  for (const sim::StreamFault& fault : faults) {
    const size_t before = instrument_.StreamRecordCount();
    instrument_.InjectStreamFault(fault);
    ASSERT_TRUE(instrument_.WaitForStreamRecordCount(before + 2, 1000ms));
    TakeTick(rows);
  }
  // The stream stopped behind the program's back; every record sent is taken in.
  instrument_.SetHoldingRegister(7, 0x0020);
  std::this_thread::sleep_for(100ms);
  for (size_t before = SIZE_MAX; rows.size() != before;) {
    before = rows.size();
    TakeTick(rows);
  }
  // inf, a field short, a field too many, 0x1F and nan; the junk of 2500 bytes without a line
  // end overflows the buffer, which keeps the record behind it.
  EXPECT_EQ(device_.GetRejectedRecordCount(), 5u);
  EXPECT_EQ(rows.size() + device_.GetRejectedRecordCount(), instrument_.StreamRecordCount());
  int jumps = 0;
  for (size_t r = 1; r < rows.size(); ++r) {
    const uint32_t step = rows[r].time - rows[r - 1].time;
    jumps += step >= 5000;
    EXPECT_LT(step, 5100u) << r;
    EXPECT_FLOAT_EQ(rows[r].values[1], 23.5f);
  }
  EXPECT_EQ(jumps, 1);
  EXPECT_EQ(device_.GetStreamBytesHeld(), 0u);
}

}  // namespace
