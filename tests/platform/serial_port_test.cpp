#include "platform/serial_port.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <mutex>
#include <string>
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
  const std::string plain = testing::TempDir() + "tervana-not-a-tty-" + std::to_string(::getpid());
  std::ofstream(plain) << "x";
  EXPECT_FALSE(other.Open(plain, 9600));
  EXPECT_EQ(other.LastError(), std::strerror(ENOTTY));
  EXPECT_FALSE(other.IsOpen());
  std::remove(plain.c_str());
}

// Bytes a writer thread sends at given times after the read starts. It stops as soon as the
// read is over, so a sentinel burst far beyond when the read should have returned costs
// nothing unless the read fails to return: then it shows as bytes the read should not have.
class TimedWriter {
 public:
  struct Burst { int atMs, bytes; };
  TimedWriter(const PtyPair& pty, Clock::time_point start, std::vector<Burst> bursts)
      : thread_([this, &pty, start, bursts = std::move(bursts)] {
          std::unique_lock lock(mutex_);
          for (const Burst& b : bursts) {
            if (stopped_.wait_until(lock, start + milliseconds(b.atMs), [this] { return stop_; })) return;
            pty.Send(std::vector<uint8_t>(size_t(b.bytes), 0x5A));
          }
        }) {}
  ~TimedWriter() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    stopped_.notify_all();
    thread_.join();
  }

 private:
  std::mutex mutex_;
  std::condition_variable stopped_;
  bool stop_ = false;
  std::thread thread_;
};

// Each case pins what the read gives and that it never returns early. Where it must return
// before a time-out, that time-out is seconds away, so a busy machine cannot blur the two.
TEST(SerialPortRead, ReproducesComPortTimeouts) {
  struct Case {
    const char* name; SerialReadTimeouts timeouts; size_t asked; std::vector<TimedWriter::Burst> bursts;
    long bytes; int atLeastMs; int beforeMs;
  };
  constexpr int kNever = 60000;
  const Case cases[] = {
      {"total only, nothing comes", {0, 2, 20}, 10, {}, 0, 40, kNever},
      {"all bytes end the read", {0, 2, 5000}, 4, {{10, 4}}, 4, 10, 2500},
      // The second burst restarts the interval; the sentinel would fill the read if the
      // interval never ended it.
      {"interval restarts with each byte", {300, 0, 0}, 10, {{10, 2}, {60, 2}, {3000, 6}}, 4, 360, kNever},
      {"total cuts the interval short", {5000, 1, 200}, 10, {{10, 2}}, 2, 210, 2500},
      {"no wait returns what is there", {kNoWait, 0, 0}, 10, {{1000, 10}}, 0, 0, kNever},
      {"first bytes within the constant", {kNoWait, kNoWait, 5000}, 10, {{20, 2}}, 2, 20, 2500},
      {"nothing within the constant", {kNoWait, kNoWait, 30}, 10, {}, 0, 30, kNever},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PtyPair pty;
    SerialPort port;
    ASSERT_TRUE(port.Open(pty.slavePath(), 115200));
    port.SetReadTimeouts(c.timeouts);
    const auto start = Clock::now();
    long n = 0;
    int64_t elapsed = 0;
    {
      TimedWriter writer(pty, start, c.bursts);
      std::vector<uint8_t> buffer(c.asked);
      n = port.Read(buffer.data(), buffer.size());
      elapsed = MsSince(start);
    }
    EXPECT_EQ(n, c.bytes);
    EXPECT_GE(elapsed, c.atLeastMs);
    EXPECT_LT(elapsed, c.beforeMs);
  }
}

TEST(SerialPortLine, WaitLineIdle) {
  PtyPair pty;
  SerialPort port;
  ASSERT_TRUE(port.Open(pty.slavePath(), 115200)) << port.LastError();
  // A quiet line since opening: no wait (a wait would last the whole gap of five seconds).
  auto start = Clock::now();
  EXPECT_EQ(port.WaitLineIdle(milliseconds(5000), start + milliseconds(10000)), SerialPort::WaitResult::kReady);
  EXPECT_LT(MsSince(start), 2500);
  // A byte restarts the gap, and is dropped.
  pty.Send({0x42});
  ASSERT_EQ(port.WaitReadable(Clock::now() + milliseconds(10000)), SerialPort::WaitResult::kReady);
  start = Clock::now();
  EXPECT_EQ(port.WaitLineIdle(milliseconds(20), start + milliseconds(10000)), SerialPort::WaitResult::kReady);
  EXPECT_GE(MsSince(start), 20);
  uint8_t buffer[4];
  EXPECT_EQ(port.ReadAvailable(buffer, sizeof buffer), 0);
  // The gap may be counted from a later moment than the last byte (a request that failed
  // just now), even on a line quiet for long.
  start = Clock::now();
  EXPECT_EQ(port.WaitLineIdle(milliseconds(50), start + milliseconds(10000), start), SerialPort::WaitResult::kReady);
  EXPECT_GE(MsSince(start), 50);

  // A line that never falls quiet gives up at the deadline, long before the gap could pass.
  std::atomic<bool> stop{false};
  std::thread chatter([&] {
    for (; !stop; std::this_thread::sleep_for(milliseconds(2))) pty.Send({0x55});
  });
  pty.Send({0x55});
  start = Clock::now();
  EXPECT_EQ(port.WaitLineIdle(milliseconds(60000), start + milliseconds(60)), SerialPort::WaitResult::kTimeout);
  EXPECT_GE(MsSince(start), 60);
  stop = true;
  chatter.join();
}

}  // namespace
