// The serial master against the simulated instrument on a pseudo-terminal: real transactions,
// and every fault the instrument can commit, tried up to three times as the instrument model
// does, with each try visible in the instrument's log.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "instrument/serial_modbus_driver.h"
#include "tests/instrument/pty_pair.h"
#include "tools/sim/simulated_instrument.h"

namespace {

using testing_support::TempPortFolder;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using Direction = sim::LogEntry::Direction;

constexpr int kPort = 6;
constexpr uint8_t kSlave = 10;

class DriverOnSimulator : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::InstrumentOptions options;
    options.serialNumber = 12345678;
    options.firmware = 110;
    instrument_ = std::make_unique<sim::SimulatedInstrument>(options);
    std::string error;
    ASSERT_TRUE(instrument_->Start(folder_.path(), kPort, &error)) << error;
    ASSERT_TRUE(driver_.OpenPort()) << driver_.GetErrorText();
  }

  struct Outcome {
    bool ok;
    uint8_t code;
    int tries;
  };
  // Up to three tries, as every request of the instrument model is made.
  template <typename Request>
  Outcome WithRetries(Request request) {
    for (int tryNumber = 1; tryNumber <= 3; ++tryNumber) {
      if (request()) return {true, driver_.GetResultCode(), tryNumber};
    }
    return {false, driver_.GetResultCode(), 3};
  }

  size_t Logged(Direction direction) const {
    size_t n = 0;
    for (const auto& e : instrument_->Log()) n += e.direction == direction;
    return n;
  }

  TempPortFolder folder_;
  std::unique_ptr<sim::SimulatedInstrument> instrument_;
  TSerialModBusDriver driver_{kPort, 115200, 70};
};

TEST_F(DriverOnSimulator, TheInstrumentLinkFunctions) {
  uint16_t id[3] = {};
  ASSERT_TRUE(driver_.ReadRequest(kSlave, 3, 0, 3, id)) << int(driver_.GetResultCode());
  EXPECT_EQ(id[0], 0x1234);
  EXPECT_EQ(id[1], 0x5678);
  EXPECT_EQ(id[2], 110);

  // The largest chunk the instrument model reads, and every register it holds.
  std::vector<uint16_t> block(29);
  for (uint32_t start : {0u, 29u, 45u}) {
    ASSERT_TRUE(driver_.ReadRequest(kSlave, 3, start, 29, block.data())) << start;
    for (uint32_t i = 0; i < 29; ++i) EXPECT_EQ(block[i], instrument_->HoldingRegister(uint16_t(start + i)));
  }

  ASSERT_TRUE(driver_.WriteRequest(kSlave, 6, 7, 0x0042));
  EXPECT_EQ(instrument_->HoldingRegister(7), 0x0042);

  ASSERT_TRUE(driver_.WriteRequest(kSlave, 71, 5, 0x7FF0));
  uint16_t calibration = 0;
  ASSERT_TRUE(driver_.ReadRequest(kSlave, 70, 5, 1, &calibration));
  EXPECT_EQ(calibration, 0x7FF0);
  EXPECT_EQ(instrument_->CalibrationRegister(5), 0x7FF0);
}

TEST_F(DriverOnSimulator, SecondOpenOfTheSamePortFails) {
  TSerialModBusDriver other(kPort, 115200, 70);
  EXPECT_FALSE(other.OpenPort());
  EXPECT_EQ(other.GetErrorText(), std::strerror(EBUSY));
  driver_.ClosePort();
  EXPECT_TRUE(other.OpenPort()) << other.GetErrorText();
}

TEST_F(DriverOnSimulator, ListedUnderItsFriendlyName) {
  const auto ports = TSerialModBusDriver::ListPorts();
  ASSERT_EQ(ports.size(), 1u);
  EXPECT_EQ(ports[0].portNumber, kPort);
  EXPECT_NE(ports[0].friendlyName.find("Tervana"), std::string::npos);
  EXPECT_NE(ports[0].friendlyName.find("(COM6)"), std::string::npos);
}

struct FaultCase {
  const char* name;
  sim::FaultSpec fault;
  bool ok;
  uint8_t code;
  int tries;
  size_t replies;  // replies the instrument logged over all tries
  int64_t maxMs;   // for all tries together
};

TEST_F(DriverOnSimulator, InjectedFaultsAndRetries) {
  // Registers 3..6 (the live values): a 13-byte reply, total time-out 98 ms per try.
  const FaultCase cases[] = {
      {"silence", sim::FaultSpec::Silence(), false, modbus::kNoReply, 3, 0, 3 * 98 + 100},
      {"silence twice", sim::FaultSpec::Silence(2), true, modbus::kOk, 3, 1, 2 * 98 + 100},
      {"bad CRC", sim::FaultSpec::BadCrc(), false, modbus::kCrcError, 3, 3, 3 * 98 + 100},
      {"bad CRC once", sim::FaultSpec::BadCrc(1), true, modbus::kOk, 2, 2, 98 + 100},
      {"wrong address", sim::FaultSpec::WrongAddress(), false, modbus::kWrongAddress, 3, 3, 3 * 98 + 100},
      {"exception", sim::FaultSpec::Exception(4), false, modbus::kUnexpectedReply, 3, 3, 60},
      {"refused register", sim::FaultSpec::RefuseRegister(5), false, modbus::kUnexpectedReply, 3, 3, 60},
      {"noise before the reply", sim::FaultSpec::Noise({0x00, 0xFF, 0x0A, 0x03}), true, modbus::kOk, 1, 1, 40},
      {"delay within the time-out", sim::FaultSpec::Delay(50), true, modbus::kOk, 1, 1, 90},
      {"gap within the time-out", sim::FaultSpec::Gap(30, 5), true, modbus::kOk, 1, 1, 90},
  };
  for (const FaultCase& c : cases) {
    SCOPED_TRACE(c.name);
    instrument_->ClearFaults();
    std::this_thread::sleep_for(milliseconds(30));  // a late reply of the last case drains
    instrument_->ClearLog();
    instrument_->InjectFault(c.fault);
    const size_t before = instrument_->RequestCount();
    uint16_t values[4] = {};
    const auto start = Clock::now();
    const Outcome got = WithRetries([&] { return driver_.ReadRequest(kSlave, 3, 3, 4, values); });
    const auto elapsed = std::chrono::duration_cast<milliseconds>(Clock::now() - start).count();
    EXPECT_EQ(got.ok, c.ok);
    EXPECT_EQ(got.code, c.code);
    EXPECT_EQ(got.tries, c.tries);
    EXPECT_LE(elapsed, c.maxMs);
    ASSERT_TRUE(instrument_->WaitForRequestCount(before + size_t(c.tries), milliseconds(200)));
    EXPECT_EQ(instrument_->RequestCount() - before, size_t(c.tries));
    EXPECT_EQ(Logged(Direction::Request), size_t(c.tries));
    EXPECT_EQ(Logged(Direction::Reply), c.replies);
    if (c.ok) {
      for (int i = 0; i < 4; ++i) EXPECT_EQ(values[i], instrument_->HoldingRegister(uint16_t(3 + i)));
    }
  }
}

TEST_F(DriverOnSimulator, SilenceBetweenReplyAndNextRequest) {
  uint16_t values[4];
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(driver_.ReadRequest(kSlave, 3, 3, 4, values));
  const auto log = instrument_->Log();
  int checked = 0;
  for (size_t i = 1; i < log.size(); ++i) {
    if (log[i - 1].direction == Direction::Reply && log[i].direction == Direction::Request) {
      // The reply's time stamp is when it was handed to the line: a lower bound of its end.
      EXPECT_GE(log[i].monotonicUs - log[i - 1].monotonicUs, 1750u) << i;
      ++checked;
    }
  }
  EXPECT_EQ(checked, 19);
}

}  // namespace
