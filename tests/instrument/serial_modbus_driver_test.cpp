// The serial master over pseudo-terminals: against the simulated instrument, every fault it
// can commit, tried three times as the instrument model does, each try visible in its log;
// and interoperability with an independent implementation of the protocol both ways.
#include "instrument/serial_modbus_driver.h"

#include <gtest/gtest.h>
#include <modbus.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/instrument/libmodbus_slave.h"
#include "tests/instrument/pty_pair.h"
#include "tools/sim/simulated_instrument.h"

namespace {

using testing_support::TempPortFolder;
using Clock = std::chrono::steady_clock;
using Direction = sim::LogEntry::Direction;
using namespace std::chrono_literals;

constexpr int kPort = 6;
constexpr uint8_t kSlave = 10;
constexpr auto kPatience = 10s;  // only ends a test that would otherwise hang
constexpr uint16_t kExtraMs = 800;

int64_t MsSince(Clock::time_point t) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count();
}

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
  // The instruments allow 70 ms more than the line needs; the simulated one, on a machine
  // whose every core is busy, has taken over 300 ms to answer, and each try counts here.
  TSerialModBusDriver driver_{kPort, 115200, kExtraMs};
};

TEST_F(DriverOnSimulator, OpeningRules) {
  for (int bad : {0, -1, 256, 4 /* not present */}) {
    TSerialModBusDriver d(bad, 115200, 70);
    EXPECT_FALSE(d.OpenPort()) << bad;
    EXPECT_FALSE(d.GetErrorText().empty());
  }
  // The port is exclusive, as a COM port is; requests on a closed port send nothing.
  TSerialModBusDriver second(kPort, 12345, 70);
  EXPECT_FALSE(second.OpenPort());
  uint16_t value = 0;
  EXPECT_FALSE(second.ReadRequest(kSlave, 3, 0, 1, &value));
  EXPECT_EQ(second.GetResultCode(), modbus::kNoReply);
  EXPECT_EQ(instrument_.RequestCount(), 0u);
  driver_.ClosePort();
  ASSERT_TRUE(second.OpenPort()) << second.GetErrorText();
  EXPECT_EQ(second.GetBaudRate(), 9600u);  // not a supported rate
}

// The result code of the last try, the tries, the replies the instrument logged over all of
// them, and the least they take together, in read time-outs: after a try that failed the
// line must stay quiet for a whole time-out before the next, unless the instrument answered
// with an exception.
struct FaultCase {
  const char* name; sim::FaultSpec fault; uint8_t code; int tries; size_t replies; double minTimeouts;
};
void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

class DriverFaults : public DriverOnSimulator, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(DriverFaults, TriesAndTheirCost) {
  const FaultCase& c = GetParam();
  // Registers 3..6: a 13-byte reply.
  const int64_t timeoutMs = kExtraMs + 2 + 2 * 13;
  instrument_.InjectFault(c.fault);
  uint16_t values[4] = {};
  const auto start = Clock::now();
  int tries = 1;
  while (!driver_.ReadRequest(kSlave, 3, 3, 4, values) && tries < 3) ++tries;
  EXPECT_GE(MsSince(start), static_cast<int64_t>(c.minTimeouts * timeoutMs));
  EXPECT_EQ(driver_.GetResultCode(), c.code);
  EXPECT_EQ(tries, c.tries);
  ASSERT_TRUE(instrument_.WaitForRequestCount(size_t(c.tries), kPatience));
  ASSERT_TRUE(instrument_.CatchUp(kPatience));
  EXPECT_EQ(instrument_.RequestCount(), size_t(c.tries));
  EXPECT_EQ(Logged(Direction::Request), size_t(c.tries));
  EXPECT_EQ(Logged(Direction::Reply), c.replies);
  for (int i = 0; i < 4 && c.code == modbus::kOk; ++i) EXPECT_EQ(values[i], instrument_.HoldingRegister(uint16_t(3 + i)));
}

const FaultCase kFaultCases[] = {
    {"silence", sim::FaultSpec::Silence(), modbus::kNoReply, 3, 0, 5},
    {"silence twice", sim::FaultSpec::Silence(2), modbus::kOk, 3, 1, 4},
    {"bad CRC", sim::FaultSpec::BadCrc(), modbus::kCrcError, 3, 3, 5},
    {"bad CRC once", sim::FaultSpec::BadCrc(1), modbus::kOk, 2, 2, 2},
    {"wrong address", sim::FaultSpec::WrongAddress(), modbus::kWrongAddress, 3, 3, 5},
    {"exception", sim::FaultSpec::Exception(4), modbus::kUnexpectedReply, 3, 3, 0},
    {"refused register", sim::FaultSpec::RefuseRegister(5), modbus::kUnexpectedReply, 3, 3, 0},
    {"noise before the reply", sim::FaultSpec::Noise({0x00, 0xFF, 0x0A, 0x03}), modbus::kOk, 1, 1, 0},
    {"delay within the time-out", sim::FaultSpec::Delay(300), modbus::kOk, 1, 1, 0.3},
    {"gap within the time-out", sim::FaultSpec::Gap(300, 5), modbus::kOk, 1, 1, 0.3},
    // The first try times out on a part reply; its tail is dropped.
    {"gap beyond the time-out", sim::FaultSpec::Gap(1100, 5, 1), modbus::kOk, 2, 2, 2},
};
INSTANTIATE_TEST_SUITE_P(Faults, DriverFaults, ::testing::ValuesIn(kFaultCases));

// An exception reply ends its try at once, and the next try needs no quiet line: three tries
// take a moment where a wait for the time-out or for quiet would take seconds.
TEST_F(DriverOnSimulator, AnExceptionEndsItsTryAtOnce) {
  driver_.ClosePort();
  TSerialModBusDriver driver(kPort, 115200, 3000);
  ASSERT_TRUE(driver.OpenPort());
  instrument_.InjectFault(sim::FaultSpec::Exception(4));
  uint16_t values[4] = {};
  const auto start = Clock::now();
  for (int tries = 0; tries < 3; ++tries) EXPECT_FALSE(driver.ReadRequest(kSlave, 3, 3, 4, values));
  EXPECT_LT(MsSince(start), 2500);
  EXPECT_EQ(driver.GetResultCode(), modbus::kUnexpectedReply);
}

// A reply that comes after its time-out arrives while the line is left quiet and is dropped:
// the next request, of the same length but for other registers, gets its own reply. The
// time-out is long (428 ms) and the reply 550 ms late, so that however late a busy machine
// lets the instrument read the request, the reply still comes within the quiet time-out.
TEST_F(DriverOnSimulator, ALateReplyIsNeverTakenForTheNextRequest) {
  driver_.ClosePort();
  TSerialModBusDriver driver(kPort, 115200, 400);
  ASSERT_TRUE(driver.OpenPort());
  for (uint16_t r = 3; r <= 10; ++r) instrument_.SetHoldingRegister(r, static_cast<uint16_t>(0x1100 * r));
  instrument_.InjectFault(sim::FaultSpec::Delay(550, 1));
  uint16_t first[4] = {}, next[4] = {};
  EXPECT_FALSE(driver.ReadRequest(kSlave, 3, 3, 4, first));
  EXPECT_EQ(driver.GetResultCode(), modbus::kNoReply);
  ASSERT_TRUE(driver.ReadRequest(kSlave, 3, 7, 4, next)) << int(driver.GetResultCode());
  for (uint16_t i = 0; i < 4; ++i) EXPECT_EQ(next[i], instrument_.HoldingRegister(uint16_t(7 + i))) << i;
  // The late reply went out before the next request came, and a whole time-out before it.
  ASSERT_TRUE(instrument_.WaitForLogSize(4, kPatience));
  const auto log = instrument_.Log();
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[1].direction, Direction::Reply);
  EXPECT_EQ(log[2].direction, Direction::Request);
  EXPECT_GE(log[2].monotonicUs - log[1].monotonicUs, 428000u);
}

TEST_F(DriverOnSimulator, HungUpLineFailsQuickly) {
  driver_.ClosePort();
  TSerialModBusDriver slow(kPort, 115200, 5000);
  ASSERT_TRUE(slow.OpenPort());
  instrument_.Stop();  // closes its side of the line
  uint16_t regs[4];
  const auto start = Clock::now();
  EXPECT_FALSE(slow.ReadRequest(kSlave, 3, 3, 4, regs));
  EXPECT_EQ(slow.GetResultCode(), modbus::kNoReply);
  EXPECT_FALSE(slow.GetErrorText().empty());
  EXPECT_LT(MsSince(start), 2500);  // the time-out is over five seconds
}

TEST_F(DriverOnSimulator, LibmodbusAsMasterReadsAndWritesTheSimulator) {
  driver_.ClosePort();
  modbus_t* ctx = modbus_new_rtu(instrument_.SlavePath().c_str(), 115200, 'N', 8, 1);
  ASSERT_NE(ctx, nullptr);
  modbus_set_slave(ctx, kSlave);
  ASSERT_EQ(modbus_connect(ctx), 0) << modbus_strerror(errno);
  uint16_t regs[3] = {};
  ASSERT_EQ(modbus_read_registers(ctx, 0, 3, regs), 3) << modbus_strerror(errno);
  EXPECT_EQ(std::vector<uint16_t>(regs, regs + 3), (std::vector<uint16_t>{0x1234, 0x5678, 110}));
  ASSERT_EQ(modbus_write_register(ctx, 7, 0x0041), 1) << modbus_strerror(errno);
  EXPECT_EQ(instrument_.HoldingRegister(7), 0x0041);
  // A register the instrument refuses comes back as an exception libmodbus understands.
  EXPECT_EQ(modbus_write_register(ctx, 2, 0), -1);
  EXPECT_EQ(errno, EMBXILADD);
  modbus_close(ctx);
  modbus_free(ctx);
}

TEST(LibmodbusSlave, OurMasterReadsAndWritesItsRegisters) {
  testing_support::PtyPair pty;
  TempPortFolder folder;
  folder.Link(9, pty.slavePath());
  testing_support::LibmodbusSlave slave(pty.master(), kSlave, 128);
  // Bytes a cooked terminal would translate or swallow (CR, LF, XON, XOFF) come up at 10..19.
  for (int i = 0; i < 128; ++i) slave.registers()[i] = static_cast<uint16_t>(0x0101 * i + 0x8000);
  // Replies end reads as soon as they are whole; the long time-out only tells an exception
  // that ends its read at once from one that waits it out.
  TSerialModBusDriver d(9, 115200, 3000);
  ASSERT_TRUE(d.OpenPort()) << d.GetErrorText();
  // Every size the instrument model reads, at several places; nothing past the count.
  for (const auto& [start, count] : {std::pair{0u, 1u}, {3u, 4u}, {10u, 29u}, {99u, 29u}}) {
    std::vector<uint16_t> got(count + 1, 0xDEAD);
    ASSERT_TRUE(d.ReadRequest(kSlave, 3, start, count, got.data())) << start << " code " << int(d.GetResultCode());
    EXPECT_TRUE(std::equal(got.begin(), got.end() - 1, slave.registers() + start)) << start;
    EXPECT_EQ(got.back(), 0xDEAD);
  }
  for (uint16_t value : {uint16_t{0}, uint16_t{0x0D11}, uint16_t{0x0A13}}) {
    ASSERT_TRUE(d.WriteRequest(kSlave, 6, 7, value)) << int(d.GetResultCode());
    uint16_t back = 0;
    ASSERT_TRUE(d.ReadRequest(kSlave, 3, 7, 1, &back));
    EXPECT_EQ(back, value);
  }
  // Its exception for an address beyond the map ends the transaction at once.
  uint16_t beyond[20];
  const auto start = Clock::now();
  EXPECT_FALSE(d.ReadRequest(kSlave, 3, 120, 20, beyond));
  EXPECT_EQ(d.GetResultCode(), modbus::kUnexpectedReply);
  EXPECT_LT(MsSince(start), 1500);  // the time-out would be 3002 + 90
}

}  // namespace
