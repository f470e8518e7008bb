// The serial master against the simulated instrument on a pseudo-terminal: transactions, and
// every fault the instrument can commit, tried three times as the instrument model does, each
// try visible in the instrument's log.
#include "instrument/serial_modbus_driver.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "tests/instrument/pty_pair.h"
#include "tools/sim/simulated_instrument.h"

namespace {

using testing_support::TempPortFolder;
using Clock = std::chrono::steady_clock;
using Direction = sim::LogEntry::Direction;
using namespace std::chrono_literals;

constexpr int kPort = 6;
constexpr uint8_t kSlave = 10;

int64_t MsSince(Clock::time_point t) { return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count(); }

class DriverOnSimulator : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(instrument_.Start(folder_.path(), kPort, &error)) << error;
    ASSERT_TRUE(driver_.OpenPort()) << driver_.GetErrorText();
  }
  size_t Logged(Direction direction) const {
    size_t n = 0;
    for (const auto& e : instrument_.Log()) n += e.direction == direction;
    return n;
  }

  TempPortFolder folder_;
  sim::SimulatedInstrument instrument_;  // model 0, serial 12345678, firmware 1.10
  TSerialModBusDriver driver_{kPort, 115200, 70};
};

TEST_F(DriverOnSimulator, OpeningRulesAndPortList) {
  for (int bad : {0, -1, 256, 4 /* not present */}) {
    TSerialModBusDriver d(bad, 115200, 70);
    EXPECT_FALSE(d.OpenPort()) << bad;
    EXPECT_FALSE(d.GetErrorText().empty());
  }
  // The port is exclusive, as a COM port is; requests on a closed port send nothing.
  TSerialModBusDriver second(kPort, 12345, 70);
  EXPECT_FALSE(second.OpenPort());
  EXPECT_EQ(second.GetErrorText(), std::strerror(EBUSY));
  uint16_t value = 0;
  EXPECT_FALSE(second.ReadRequest(kSlave, 3, 0, 1, &value));
  EXPECT_EQ(second.GetResultCode(), modbus::kNoReply);
  EXPECT_EQ(instrument_.RequestCount(), 0u);
  driver_.ClosePort();
  ASSERT_TRUE(second.OpenPort()) << second.GetErrorText();
  EXPECT_EQ(second.GetBaudRate(), 9600u);  // not a supported rate

  folder_.Link(7, folder_.path() + "/gone");
  folder_.Link(256, instrument_.SlavePath());
  const auto ports = TSerialModBusDriver::ListPorts();
  ASSERT_EQ(ports.size(), 1u);
  EXPECT_EQ(ports[0].portNumber, kPort);
  EXPECT_NE(ports[0].friendlyName.find("Tervana"), std::string::npos);
  EXPECT_NE(ports[0].friendlyName.find("(COM6)"), std::string::npos);
}

TEST_F(DriverOnSimulator, TheInstrumentLinkFunctionsWithSilenceBeforeEachRequest) {
  uint16_t id[3] = {};
  ASSERT_TRUE(driver_.ReadRequest(kSlave, 3, 0, 3, id)) << int(driver_.GetResultCode());
  EXPECT_EQ(std::vector<uint16_t>(id, id + 3), (std::vector<uint16_t>{0x1234, 0x5678, 110}));
  // The largest chunk the instrument model reads, over every register it holds.
  std::vector<uint16_t> block(29);
  for (uint32_t start : {0u, 29u, 45u}) {
    ASSERT_TRUE(driver_.ReadRequest(kSlave, 3, start, 29, block.data())) << start;
    for (uint32_t i = 0; i < 29; ++i) EXPECT_EQ(block[i], instrument_.HoldingRegister(uint16_t(start + i)));
  }
  ASSERT_TRUE(driver_.WriteRequest(kSlave, 6, 7, 0x0042));
  EXPECT_EQ(instrument_.HoldingRegister(7), 0x0042);
  ASSERT_TRUE(driver_.WriteRequest(kSlave, 71, 5, 0x7FF0));
  uint16_t calibration = 0;
  ASSERT_TRUE(driver_.ReadRequest(kSlave, 70, 5, 1, &calibration));
  EXPECT_EQ(calibration, 0x7FF0);
  EXPECT_EQ(instrument_.CalibrationRegister(5), 0x7FF0);

  for (int i = 0; i < 10; ++i) ASSERT_TRUE(driver_.ReadRequest(kSlave, 3, 3, 4, block.data()));
  const auto log = instrument_.Log();
  int checked = 0;
  for (size_t i = 1; i < log.size(); ++i) {
    if (log[i - 1].direction != Direction::Reply || log[i].direction != Direction::Request) continue;
    // The reply's time stamp is when it was handed to the line: a lower bound of its end.
    EXPECT_GE(log[i].monotonicUs - log[i - 1].monotonicUs, 1750u) << i;
    ++checked;
  }
  EXPECT_EQ(checked, 16);
}

TEST_F(DriverOnSimulator, InjectedFaultsAndRetries) {
  // The result code of the last try, the tries, the replies the instrument logged over all
  // of them, and the most they may take together.
  struct Case { const char* name; sim::FaultSpec fault; uint8_t code; int tries; size_t replies; int64_t maxMs; };
  // Registers 3..6 (the live values): a 13-byte reply, total time-out 98 ms per try.
  const Case cases[] = {
      {"silence", sim::FaultSpec::Silence(), modbus::kNoReply, 3, 0, 3 * 98 + 100},
      {"silence twice", sim::FaultSpec::Silence(2), modbus::kOk, 3, 1, 2 * 98 + 100},
      {"bad CRC", sim::FaultSpec::BadCrc(), modbus::kCrcError, 3, 3, 3 * 98 + 100},
      {"bad CRC once", sim::FaultSpec::BadCrc(1), modbus::kOk, 2, 2, 98 + 100},
      {"wrong address", sim::FaultSpec::WrongAddress(), modbus::kWrongAddress, 3, 3, 3 * 98 + 100},
      {"exception ends each try at once", sim::FaultSpec::Exception(4), modbus::kUnexpectedReply, 3, 3, 60},
      {"refused register", sim::FaultSpec::RefuseRegister(5), modbus::kUnexpectedReply, 3, 3, 60},
      {"noise before the reply", sim::FaultSpec::Noise({0x00, 0xFF, 0x0A, 0x03}), modbus::kOk, 1, 1, 40},
      {"delay within the time-out", sim::FaultSpec::Delay(50), modbus::kOk, 1, 1, 90},
      {"gap within the time-out", sim::FaultSpec::Gap(30, 5), modbus::kOk, 1, 1, 90},
      // The first try times out on a part reply; the second copes with its stale tail.
      {"gap beyond the time-out", sim::FaultSpec::Gap(130, 5, 1), modbus::kOk, 2, 2, 98 + 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    instrument_.ClearFaults();
    std::this_thread::sleep_for(30ms);  // a late reply of the last case drains
    instrument_.ClearLog();
    instrument_.InjectFault(c.fault);
    const size_t before = instrument_.RequestCount();
    uint16_t values[4] = {};
    const auto start = Clock::now();
    int tries = 1;
    while (!driver_.ReadRequest(kSlave, 3, 3, 4, values) && tries < 3) ++tries;
    EXPECT_LE(MsSince(start), c.maxMs);
    EXPECT_EQ(driver_.GetResultCode(), c.code);
    EXPECT_EQ(tries, c.tries);
    ASSERT_TRUE(instrument_.WaitForRequestCount(before + size_t(c.tries), 200ms));
    EXPECT_EQ(instrument_.RequestCount() - before, size_t(c.tries));
    EXPECT_EQ(Logged(Direction::Request), size_t(c.tries));
    EXPECT_EQ(Logged(Direction::Reply), c.replies);
    for (int i = 0; i < 4 && c.code == modbus::kOk; ++i) EXPECT_EQ(values[i], instrument_.HoldingRegister(uint16_t(3 + i)));
  }
}

TEST_F(DriverOnSimulator, HungUpLineFailsQuickly) {
  driver_.ClosePort();
  TSerialModBusDriver slow(kPort, 115200, 1000);
  ASSERT_TRUE(slow.OpenPort());
  instrument_.Stop();  // closes its side of the line
  uint16_t regs[4];
  const auto start = Clock::now();
  EXPECT_FALSE(slow.ReadRequest(kSlave, 3, 3, 4, regs));
  EXPECT_EQ(slow.GetResultCode(), modbus::kNoReply);
  EXPECT_FALSE(slow.GetErrorText().empty());
  EXPECT_LT(MsSince(start), 300);  // the time-out is over a second
}

}  // namespace
