#include "platform/serial_port.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <thread>
#include <vector>

#include "tests/instrument/pty_pair.h"

namespace {

using platform::SerialPort;
using platform::SerialReadTimeouts;
using testing_support::PtyPair;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
constexpr uint32_t kNoWait = SerialReadTimeouts::kNoWait;

int64_t MsSince(Clock::time_point t) { return std::chrono::duration_cast<milliseconds>(Clock::now() - t).count(); }

TEST(SerialPortOpen, ExclusiveAndOnlyOnTerminals) {
  PtyPair pty;
  SerialPort first, second;
  ASSERT_TRUE(first.Open(pty.slavePath(), 115200)) << first.LastError();
  EXPECT_FALSE(second.Open(pty.slavePath(), 115200));
  EXPECT_EQ(second.LastError(), std::strerror(EBUSY));
  first.Close();
  EXPECT_TRUE(second.Open(pty.slavePath(), 56000)) << second.LastError();  // a rate without its own code
  EXPECT_TRUE(second.SetRts(true));  // a pseudo-terminal has no modem lines: not a failure
  EXPECT_TRUE(second.SetDtr(false));

  SerialPort other;
  EXPECT_FALSE(other.Open("/nonexistent/tty", 9600));
  EXPECT_EQ(other.LastError(), std::strerror(ENOENT));
  const std::string plain = testing::TempDir() + "tervana-not-a-tty";
  std::ofstream(plain) << "x";
  EXPECT_FALSE(other.Open(plain, 9600));
  EXPECT_EQ(other.LastError(), std::strerror(ENOTTY));
  EXPECT_FALSE(other.IsOpen());
}

TEST(SerialPortRead, ReproducesComPortTimeouts) {
  struct Burst { int atMs, bytes; };
  // What the read gives, and when it returns.
  struct Case {
    const char* name; SerialReadTimeouts timeouts; size_t asked; std::vector<Burst> bursts; long bytes; int ms;
  };
  const Case cases[] = {
      {"total only, nothing comes", {0, 2, 20}, 10, {}, 0, 40},
      {"all bytes end the read", {0, 2, 200}, 4, {{10, 4}}, 4, 10},
      {"interval restarts with each byte", {15, 0, 0}, 10, {{10, 2}, {20, 2}}, 4, 35},
      {"total cuts the interval short", {50, 1, 20}, 10, {{10, 2}}, 2, 30},
      {"no wait returns what is there", {kNoWait, 0, 0}, 10, {}, 0, 0},
      {"first bytes within the constant", {kNoWait, kNoWait, 200}, 10, {{20, 2}}, 2, 20},
      {"nothing within the constant", {kNoWait, kNoWait, 30}, 10, {}, 0, 30},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PtyPair pty;
    SerialPort port;
    ASSERT_TRUE(port.Open(pty.slavePath(), 115200));
    port.SetReadTimeouts(c.timeouts);
    const auto start = Clock::now();
    std::thread writer([&] {
      for (const Burst& b : c.bursts) {
        std::this_thread::sleep_until(start + milliseconds(b.atMs));
        pty.Send(std::vector<uint8_t>(size_t(b.bytes), 0x5A));
      }
    });
    std::vector<uint8_t> buffer(c.asked);
    const long n = port.Read(buffer.data(), buffer.size());
    const int64_t elapsed = MsSince(start);
    writer.join();
    EXPECT_EQ(n, c.bytes);
    EXPECT_GE(elapsed, c.ms);
    EXPECT_LE(elapsed, c.ms + 25);
  }
}

TEST(SerialPortLine, WaitLineIdle) {
  PtyPair pty;
  SerialPort port;
  ASSERT_TRUE(port.Open(pty.slavePath(), 115200)) << port.LastError();
  // A quiet line since opening: no wait.
  auto start = Clock::now();
  EXPECT_EQ(port.WaitLineIdle(milliseconds(20), start + milliseconds(500)), SerialPort::WaitResult::kReady);
  EXPECT_LT(MsSince(start), 5);
  // A byte just now restarts the gap, and is dropped.
  pty.Send({0x42});
  std::this_thread::sleep_for(milliseconds(2));
  start = Clock::now();
  EXPECT_EQ(port.WaitLineIdle(milliseconds(20), start + milliseconds(500)), SerialPort::WaitResult::kReady);
  EXPECT_GE(MsSince(start), 18);
  uint8_t buffer[4];
  EXPECT_EQ(port.ReadAvailable(buffer, sizeof buffer), 0);

  // A line that never falls quiet gives up at the deadline.
  std::atomic<bool> stop{false};
  std::thread chatter([&] {
    for (; !stop; std::this_thread::sleep_for(milliseconds(2))) pty.Send({0x55});
  });
  std::this_thread::sleep_for(milliseconds(5));
  start = Clock::now();
  EXPECT_EQ(port.WaitLineIdle(milliseconds(20), start + milliseconds(60)), SerialPort::WaitResult::kTimeout);
  EXPECT_GE(MsSince(start), 60);
  stop = true;
  chatter.join();
}

}  // namespace
