#include "instrument/serial_modbus_driver.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>
#include <string>
#include <vector>

#include "tests/instrument/pty_pair.h"
#include "tests/instrument/scripted_slave.h"

namespace {

using testing_support::PtyPair;
using testing_support::ReplyPiece;
using testing_support::ScriptedSlave;
using testing_support::TempPortFolder;
using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

Bytes WithCrc(Bytes body) {
  const uint16_t crc = modbus::Crc16(body);
  body.push_back(static_cast<uint8_t>(crc));
  body.push_back(static_cast<uint8_t>(crc >> 8));
  return body;
}

int64_t MsSince(Clock::time_point t) {
  return std::chrono::duration_cast<milliseconds>(Clock::now() - t).count();
}

constexpr int kPort = 3;

class DriverOnPty : public ::testing::Test {
 protected:
  void SetUp() override { folder_.Link(kPort, pty_.slavePath()); }
  PtyPair pty_;
  TempPortFolder folder_;
};

TEST_F(DriverOnPty, OpeningRules) {
  for (int bad : {0, -1, 256, 300, 4 /* not present */}) {
    TSerialModBusDriver d(bad, 115200, 70);
    EXPECT_FALSE(d.OpenPort()) << bad;
    EXPECT_FALSE(d.IsPortOpen());
    EXPECT_FALSE(d.GetErrorText().empty());
  }
  TSerialModBusDriver first(kPort, 12345, 70);
  ASSERT_TRUE(first.OpenPort()) << first.GetErrorText();
  EXPECT_EQ(first.GetBaudRate(), 9600u);  // not a supported rate
  EXPECT_TRUE(first.OpenPort());          // already open

  // The port is exclusive, as a COM port is.
  TSerialModBusDriver second(kPort, 115200, 70);
  EXPECT_FALSE(second.OpenPort());
  EXPECT_EQ(second.GetErrorText(), std::strerror(EBUSY));
  first.ClosePort();
  EXPECT_TRUE(second.OpenPort()) << second.GetErrorText();
}

TEST_F(DriverOnPty, NotOpenFailsWithoutSending) {
  TSerialModBusDriver d(kPort, 115200, 70);
  uint16_t regs[4];
  EXPECT_FALSE(d.ReadRequest(10, 3, 3, 4, regs));
  EXPECT_EQ(d.GetResultCode(), modbus::kNoReply);
  EXPECT_TRUE(pty_.Receive(milliseconds(20)).empty());
}

struct ReplyCase {
  const char* name;
  std::vector<ReplyPiece> script;
  bool ok;
  uint8_t code;
  int64_t maxMs;   // the transaction must end by then
  int64_t minMs;   // and not before (a reply that never completes waits the total time-out)
};

// Function 3, slave 10, registers 3..6; total time-out 72 + 2·13 = 98 ms at 115200 baud.
TEST_F(DriverOnPty, ReadRepliesAndTheirResults) {
  const Bytes good = WithCrc({0x0A, 3, 8, 0x00, 0x11, 0x00, 0x22, 0xFF, 0x33, 0x00, 0x44});
  Bytes swapped = good;
  std::swap(swapped[11], swapped[12]);
  Bytes noisyThenGood = {0x00, 0xFF, 0x55, 0xAA, '#', '1', ';', '\n'};
  noisyThenGood.insert(noisyThenGood.end(), good.begin(), good.end());
  Bytes thenStream = good;
  for (char ch : std::string("#1,5;;22.0;3;7;123x\n#1,6;;22.0;3;7;131x\n")) thenStream.push_back(uint8_t(ch));
  const Bytes firstHalf(good.begin(), good.begin() + 5), secondHalf(good.begin() + 5, good.end());
  const std::vector<ReplyCase> cases = {
      {"good", {{{}, good}}, true, modbus::kOk, 40, 0},
      {"leading noise", {{{}, noisyThenGood}}, true, modbus::kOk, 40, 0},
      {"streamed text right after the reply", {{{}, thenStream}}, true, modbus::kOk, 40, 0},
      {"gap inside the reply", {{{}, firstHalf}, {milliseconds(20), secondHalf}}, true, modbus::kOk, 60, 20},
      {"exception ends at once", {{{}, WithCrc({0x0A, 0x83, 0x02})}}, false, modbus::kUnexpectedReply, 40, 0},
      {"byte count not twice the count", {{{}, WithCrc({0x0A, 3, 10, 1, 2, 3, 4, 5, 6, 7, 8})}}, false, modbus::kUnexpectedReply, 40, 0},
      {"swapped CRC", {{{}, swapped}}, false, modbus::kCrcError, 98 + 60, 98},
      {"other slave", {{{}, WithCrc({0x0B, 3, 8, 0, 1, 0, 2, 0, 3, 0, 4})}}, false, modbus::kWrongAddress, 98 + 60, 98},
      {"short reply", {{{}, Bytes(good.begin(), good.begin() + 10)}}, false, modbus::kNoReply, 98 + 60, 98},
      {"silence", {}, false, modbus::kNoReply, 98 + 60, 98},
      {"reply after the deadline", {{milliseconds(130), good}}, false, modbus::kNoReply, 98 + 60, 98},
  };
  for (const ReplyCase& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedSlave slave(pty_.master(), [&](const Bytes&) { return c.script; });
    TSerialModBusDriver d(kPort, 115200, 70);
    ASSERT_TRUE(d.OpenPort()) << d.GetErrorText();
    uint16_t regs[5] = {0xDEAD, 0xDEAD, 0xDEAD, 0xDEAD, 0xDEAD};
    const auto start = Clock::now();
    EXPECT_EQ(d.ReadRequest(10, 3, 3, 4, regs), c.ok);
    const int64_t elapsed = MsSince(start);
    EXPECT_EQ(d.GetResultCode(), c.code);
    EXPECT_LE(elapsed, c.maxMs);
    EXPECT_GE(elapsed, c.minMs);
    const std::vector<uint16_t> got(regs, regs + 5);
    if (c.ok) {
      EXPECT_EQ(got, (std::vector<uint16_t>{0x11, 0x22, 0xFF33, 0x44, 0xDEAD}));
    } else {
      EXPECT_EQ(got, std::vector<uint16_t>(5, 0xDEAD));
    }
    d.ClosePort();
    std::this_thread::sleep_for(milliseconds(40));  // let a late reply drain before the next case
    pty_.Receive(milliseconds(1));
  }
}

TEST_F(DriverOnPty, WritesCheckTheEcho) {
  ScriptedSlave slave(pty_.master(), [](const Bytes& request) -> std::vector<ReplyPiece> {
    if (request.size() < 6) return {};
    Bytes echo(request.begin(), request.begin() + 6);
    if (request[3] == 9) echo[5] ^= 1;  // register 9 answers with a changed value
    return {{{}, WithCrc(echo)}};
  });
  TSerialModBusDriver d(kPort, 115200, 70);
  ASSERT_TRUE(d.OpenPort());
  EXPECT_TRUE(d.WriteRequest(10, 6, 7, 0x1234));
  EXPECT_TRUE(d.WriteRequest(10, 71, 20, 0xFFFE));
  EXPECT_FALSE(d.WriteRequest(10, 6, 9, 0x1234));
  EXPECT_EQ(d.GetResultCode(), modbus::kEchoMismatch);
  // Function 5 goes out but has no reply length to read; an unknown function never goes out.
  EXPECT_FALSE(d.WriteRequest(10, 5, 1, 0xFF00));
  EXPECT_FALSE(d.WriteRequest(10, 3, 1, 1));
  std::this_thread::sleep_for(milliseconds(20));
  const auto seen = slave.exchanges();
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[0].request, WithCrc({0x0A, 6, 0, 7, 0x12, 0x34}));
  EXPECT_EQ(seen[3].request, WithCrc({0x0A, 5, 0, 1, 0xFF, 0x00}));
}

TEST_F(DriverOnPty, LineSilenceBeforeEveryRequestAndStaleInputDropped) {
  const Bytes reply = WithCrc({0x0A, 3, 2, 0x12, 0x34});
  ScriptedSlave slave(pty_.master(), [&](const Bytes&) { return std::vector<ReplyPiece>{{{}, reply}}; });
  TSerialModBusDriver d(kPort, 115200, 70);
  ASSERT_TRUE(d.OpenPort());
  uint16_t value = 0;
  for (int i = 0; i < 5; ++i) {
    // Bytes left on the line from before (a streaming instrument) must not spoil the reply.
    pty_.Send({'#', '1', ';', '2', ';', '\n'});
    std::this_thread::sleep_for(milliseconds(2));
    ASSERT_TRUE(d.ReadRequest(10, 3, 0, 1, &value)) << i << " code " << int(d.GetResultCode());
    EXPECT_EQ(value, 0x1234);
  }
  const auto seen = slave.exchanges();
  ASSERT_EQ(seen.size(), 5u);
  for (size_t i = 1; i < seen.size(); ++i) {
    EXPECT_GE(seen[i].requestAt - seen[i - 1].replyEndAt, std::chrono::microseconds(1750)) << i;
  }
}

TEST_F(DriverOnPty, IdentificationFollowsContinuation) {
  ScriptedSlave slave(pty_.master(), [](const Bytes& request) -> std::vector<ReplyPiece> {
    if (request.size() < 5) return {};
    if (request[4] == 0) {
      return {{{}, WithCrc({0x0A, 43, 14, 1, 1, 0xFF, 2, 2, 0, 2, 'T', 'v', 1, 3, 'R', 'T', 'U'})}};
    }
    return {{{}, WithCrc({0x0A, 43, 14, 1, 1, 0, 0, 1, 2, 4, 'v', '1', '.', '0'})}};
  });
  TSerialModBusDriver d(kPort, 115200, 70);
  ASSERT_TRUE(d.OpenPort());
  const auto start = Clock::now();
  ASSERT_TRUE(d.ReadRequest(10, 43, 1, 0, nullptr)) << int(d.GetResultCode());
  EXPECT_LT(MsSince(start), 200);  // each reply ends the read as soon as it is complete
  const auto& ids = d.GetIdentification();
  ASSERT_EQ(ids.size(), 3u);
  EXPECT_EQ(ids[0].text, "Tv");
  EXPECT_EQ(ids[1].text, "RTU");
  EXPECT_EQ(ids[2].objectId, 2);
  EXPECT_EQ(ids[2].text, "v1.0");
  const auto seen = slave.exchanges();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1].request, WithCrc({0x0A, 43, 14, 1, 2}));
}

TEST_F(DriverOnPty, HungUpLineFailsQuickly) {
  TSerialModBusDriver d(kPort, 115200, 500);
  ASSERT_TRUE(d.OpenPort());
  pty_.CloseMaster();
  uint16_t regs[4];
  const auto start = Clock::now();
  EXPECT_FALSE(d.ReadRequest(10, 3, 3, 4, regs));
  EXPECT_EQ(d.GetResultCode(), modbus::kNoReply);
  EXPECT_FALSE(d.GetErrorText().empty());
  EXPECT_LT(MsSince(start), 300);
}

TEST(DriverPortList, AscendingPresentPortsOnly) {
  PtyPair a, b;
  TempPortFolder folder;
  folder.Link(12, a.slavePath());
  folder.Link(2, b.slavePath(), "Tervana Simulado (COM2)");
  folder.Link(7, folder.path() + "/gone");  // dangling
  folder.Link(256, a.slavePath());          // beyond COM255
  const auto ports = TSerialModBusDriver::ListPorts();
  ASSERT_EQ(ports.size(), 2u);
  EXPECT_EQ(ports[0].portNumber, 2);
  EXPECT_EQ(ports[0].friendlyName, "Tervana Simulado (COM2)");
  EXPECT_EQ(ports[1].portNumber, 12);
  EXPECT_EQ(TSerialModBusDriver::ListPorts().size(), 2u);  // a second call sees the same
}

}  // namespace
