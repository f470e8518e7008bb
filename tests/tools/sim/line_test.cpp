// The simulated instrument on a real pseudo-terminal, spoken to with raw bytes.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tools/sim/rtu_frame.h"
#include "tools/sim/simulated_instrument.h"
#include "tools/sim/stream_fault.h"

namespace sim {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr auto kPatience = 10s;

Bytes WithCrc(Bytes frame) {
  AppendCrc(frame);
  return frame;
}

// The program's side of the line, as bare as it gets.
class Port {
 public:
  explicit Port(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {
    termios tio{};
    if (fd_ >= 0 && ::tcgetattr(fd_, &tio) == 0) {
      ::cfmakeraw(&tio);
      ::tcsetattr(fd_, TCSANOW, &tio);
    }
  }
  ~Port() {
    if (fd_ >= 0) ::close(fd_);
  }
  bool Ok() const { return fd_ >= 0; }
  void Send(const Bytes& bytes) { ASSERT_EQ(::write(fd_, bytes.data(), bytes.size()), ssize_t(bytes.size())); }
  // Reads until `count` bytes came or `limit` passed. The default limit only ends a test that
  // would otherwise hang; a reply comes long before it, however busy the machine.
  Bytes Receive(size_t count, std::chrono::milliseconds limit = kPatience) {
    Bytes got;
    const auto deadline = Clock::now() + limit;
    while (got.size() < count) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
      pollfd p{fd_, POLLIN, 0};
      if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
      uint8_t buffer[256];
      const ssize_t n = ::read(fd_, buffer, sizeof buffer);
      if (n > 0) got.insert(got.end(), buffer, buffer + n);
    }
    return got;
  }
  Bytes Transact(const Bytes& request, size_t replyLength, std::chrono::milliseconds limit = kPatience) {
    Send(request);
    return Receive(replyLength, limit);
  }

 private:
  int fd_;
};

class SimLine : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("sim-line-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::unique_ptr<SimulatedInstrument> StartInstrument(InstrumentOptions options = {}, int com = 4) {
    auto instrument = std::make_unique<SimulatedInstrument>(std::move(options));
    std::string error;
    EXPECT_TRUE(instrument->Start(folder_.string(), com, &error)) << error;
    return instrument;
  }
  std::string Link(int com = 4) const { return (folder_ / ("com" + std::to_string(com))).string(); }

  fs::path folder_;
};

TEST_F(SimLine, IdentificationReadGivesBcdSerialAndModelBits) {
  InstrumentOptions options;
  options.model = Model::Probe;
  options.serialNumber = 20240042;
  options.firmware = 105;
  auto instrument = StartInstrument(options);
  Port port(Link());
  ASSERT_TRUE(port.Ok());
  EXPECT_EQ(port.Transact(WithCrc({10, 3, 0, 0, 0, 3}), 11),
            WithCrc({10, 3, 6, 0x20, 0x24, 0x00, 0x42, 0x20, 0x69}));
}

TEST_F(SimLine, WritesAndCalibrationTravelTheWire) {
  auto instrument = StartInstrument();
  Port port(Link());
  // Read-only register: exception, nothing changed.
  EXPECT_EQ(port.Transact(WithCrc({10, 6, 0, 2, 0x20, 0x00}), 5), WithCrc({10, 0x86, 2}));
  EXPECT_EQ(instrument->HoldingRegister(2), 110);
  // A configuration write is echoed and kept.
  const Bytes write = WithCrc({10, 6, 0, 7, 0, 0x61});
  EXPECT_EQ(port.Transact(write, 8), write);
  EXPECT_EQ(instrument->HoldingRegister(7), 0x61);
  // Calibration: write (echo), then read back through function 70.
  const Bytes calWrite = WithCrc({10, 71, 0, 3, 0x27, 0x1A});
  EXPECT_EQ(port.Transact(calWrite, 8), calWrite);
  EXPECT_EQ(port.Transact(WithCrc({10, 70, 0, 3, 0, 1}), 7), WithCrc({10, 70, 2, 0x27, 0x1A}));
  // Counter reset through register 73.
  EXPECT_EQ(port.Transact(WithCrc({10, 6, 0, 73, 0, 1}), 8), WithCrc({10, 6, 0, 73, 0, 1}));
  EXPECT_EQ(instrument->HoldingRegister(63), 0);
}

TEST_F(SimLine, NoiseBeforeARequestAndOtherAddressesAreHandledLikeABus) {
  auto instrument = StartInstrument();
  Port port(Link());
  Bytes noisy = {0x00, 0xFF, 0x0A, 0x03};
  const Bytes request = WithCrc({10, 3, 0, 7, 0, 1});
  noisy.insert(noisy.end(), request.begin(), request.end());
  EXPECT_EQ(port.Transact(noisy, 7), WithCrc({10, 3, 2, 0x00, 0x21}));

  // A request for slave 11 is seen, logged, and not answered.
  ASSERT_TRUE(instrument->WaitForRequestCount(1, kPatience));
  instrument->ClearLog();
  port.Send(WithCrc({11, 3, 0, 0, 0, 1}));
  ASSERT_TRUE(instrument->WaitForLogSize(1, kPatience));
  ASSERT_TRUE(instrument->CatchUp(kPatience));  // a reply would be on the line by now
  EXPECT_TRUE(port.Receive(1, 100ms).empty());
  const auto log = instrument->Log();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].direction, LogEntry::Direction::Request);
  EXPECT_EQ(instrument->RequestCount(), 1u);  // only the first request was ours
}

TEST_F(SimLine, SilenceSpoilsExactlyItsCountAndTheLogShowsEveryTry) {
  auto instrument = StartInstrument();
  instrument->InjectFault(FaultSpec::Silence(2));
  Port port(Link());
  const Bytes request = WithCrc({10, 3, 0, 4, 0, 1});
  const Bytes reply = WithCrc({10, 3, 2, 0x00, 0xEB});
  // Each silenced request is seen (counted) before the next goes, and no reply follows it.
  for (size_t silenced = 1; silenced <= 2; ++silenced) {
    port.Send(request);
    ASSERT_TRUE(instrument->WaitForRequestCount(silenced, kPatience));
    ASSERT_TRUE(instrument->CatchUp(kPatience));
    EXPECT_TRUE(port.Receive(1, 100ms).empty()) << silenced;
  }
  EXPECT_EQ(port.Transact(request, 7), reply);
  EXPECT_EQ(port.Transact(request, 7), reply);
  // Counted once its reply is out, which the port may hear first.
  EXPECT_TRUE(instrument->WaitForRequestCount(4, kPatience));
  EXPECT_EQ(instrument->RequestCount(), 4u);
  size_t requests = 0, replies = 0;
  for (const LogEntry& entry : instrument->Log())
    ++(entry.direction == LogEntry::Direction::Request ? requests : replies);
  EXPECT_EQ(requests, 4u);
  EXPECT_EQ(replies, 2u);
}

TEST_F(SimLine, DelayAndGapHoldTheReplyBack) {
  auto instrument = StartInstrument();
  Port port(Link());
  const Bytes request = WithCrc({10, 3, 0, 4, 0, 1});
  const Bytes reply = WithCrc({10, 3, 2, 0x00, 0xEB});
  // The time from a request to its reply as the instrument logged them: both happen in one
  // turn of its loop unless a fault holds the reply back.
  auto replyDelay = [&] {
    const auto log = instrument->Log();
    EXPECT_EQ(log.size(), 2u);
    return log.size() == 2 ? std::chrono::microseconds(log[1].monotonicUs - log[0].monotonicUs) : 0us;
  };

  instrument->ClearLog();
  instrument->InjectFault(FaultSpec::Delay(600, 1));
  auto sent = Clock::now();
  EXPECT_EQ(port.Transact(request, 7), reply);
  EXPECT_GE(Clock::now() - sent, 600ms);
  EXPECT_GE(replyDelay(), 600ms);

  // The first three bytes come at once, the rest a second later: a read that gives up half
  // way through the pause holds exactly the first three.
  instrument->InjectFault(FaultSpec::Gap(1000, 3, 1));
  sent = Clock::now();
  port.Send(request);
  EXPECT_EQ(port.Receive(7, 500ms), Bytes(reply.begin(), reply.begin() + 3));
  EXPECT_EQ(port.Receive(4), Bytes(reply.begin() + 3, reply.end()));
  EXPECT_GE(Clock::now() - sent, 1000ms);

  // Both faults are spent: the next reply is not held back.
  instrument->ClearLog();
  EXPECT_EQ(port.Transact(request, 7), reply);
  EXPECT_LT(replyDelay(), 300ms);
}

TEST_F(SimLine, RefusedRegisterAndExceptionFault) {
  auto instrument = StartInstrument();
  instrument->InjectFault(FaultSpec::RefuseRegister(5));
  Port port(Link());
  EXPECT_EQ(port.Transact(WithCrc({10, 3, 0, 3, 0, 4}), 5), WithCrc({10, 0x83, 2}));
  EXPECT_EQ(port.Transact(WithCrc({10, 3, 0, 4, 0, 1}), 7), WithCrc({10, 3, 2, 0x00, 0xEB}));
  instrument->ClearFaults();
  instrument->InjectFault(FaultSpec::Exception(4, 1));
  EXPECT_EQ(port.Transact(WithCrc({10, 6, 0, 7, 0, 0}), 5), WithCrc({10, 0x86, 4}));
  EXPECT_EQ(instrument->HoldingRegister(7), 0x21);  // the refused write was not carried out
}

TEST_F(SimLine, TheLineSurvivesTheProgramClosingAndReopeningItsPort) {
  auto instrument = StartInstrument();
  const Bytes request = WithCrc({10, 3, 0, 0, 0, 1});
  for (int round = 0; round < 3; ++round) {
    Port port(Link());
    ASSERT_TRUE(port.Ok());
    EXPECT_EQ(port.Transact(request, 7), WithCrc({10, 3, 2, 0x12, 0x34})) << "round " << round;
  }
}

TEST_F(SimLine, StreamsFromStartAndStopsWhenTheBitIsCleared) {
  InstrumentOptions options;
  options.streamClockStartMs = 5000;
  auto instrument = std::make_unique<SimulatedInstrument>(options);
  instrument->SetHoldingRegister(7, 0x0060);  // switched on in streaming mode, 31.25 ms
  std::string error;
  ASSERT_TRUE(instrument->Start(folder_.string(), 4, &error)) << error;
  Port port(Link());
  const Bytes first = port.Receive(2 * 31);
  const std::string text(first.begin(), first.end());
  // Two records; their times are the instrument's clock, one period apart, the first a period
  // after the start at the earliest.
  const std::string fields = "#0;23.5;42.50;24.1;1234;";
  const size_t second = text.find('#', 1);
  ASSERT_NE(second, std::string::npos) << text;
  ASSERT_EQ(text.compare(0, fields.size(), fields), 0) << text;
  ASSERT_EQ(text.compare(second, fields.size(), fields), 0) << text;
  const long firstTime = std::stol(text.substr(fields.size()));
  const long secondTime = std::stol(text.substr(second + fields.size()));
  EXPECT_GE(firstTime, 5031);
  EXPECT_TRUE(secondTime - firstTime == 31 || secondTime - firstTime == 32) << text;

  // Cleared behind the line's back: once the instrument has seen it, no record follows.
  instrument->SetHoldingRegister(7, 0x0020);
  ASSERT_TRUE(instrument->CatchUp(kPatience));
  const size_t sent = instrument->StreamRecordCount();
  while (!port.Receive(1000, 300ms).empty()) {
  }
  std::this_thread::sleep_for(200ms);  // six periods
  EXPECT_EQ(instrument->StreamRecordCount(), sent);
  EXPECT_TRUE(port.Receive(1, 50ms).empty());
}

// Judged on the instrument's own clock in the records, which follows their schedule and not
// when a busy machine let them out: one period between records, more than the pause across
// it (the clock ran on), and one step back.
TEST_F(SimLine, AStreamPausesWithItsClockRunningAndTheClockStepsBack) {
  auto instrument = std::make_unique<SimulatedInstrument>();
  instrument->SetHoldingRegister(7, 0x0060);  // streaming, 31.25 ms
  std::string error;
  ASSERT_TRUE(instrument->Start(folder_.string(), 4, &error)) << error;
  Port port(Link());
  ASSERT_TRUE(instrument->WaitForStreamRecordCount(3, kPatience));
  instrument->InjectStreamFault(StreamFault::Pause(400));
  ASSERT_TRUE(instrument->WaitForStreamFaultsSpent(kPatience));
  ASSERT_TRUE(instrument->WaitForStreamRecordCount(instrument->StreamRecordCount() + 3, kPatience));
  instrument->InjectStreamFault(StreamFault::ClockBack(1000));
  ASSERT_TRUE(instrument->WaitForStreamFaultsSpent(kPatience));
  ASSERT_TRUE(instrument->WaitForStreamRecordCount(instrument->StreamRecordCount() + 3, kPatience));
  port.Receive(100000, 50ms);
  std::vector<long> clocks;
  for (const LogEntry& e : instrument->Log()) {
    if (e.direction != LogEntry::Direction::Stream) continue;
    const std::string text(e.bytes.begin(), e.bytes.end());
    clocks.push_back(std::stol(text.substr(text.rfind(';') + 1)));
  }
  int pauses = 0, stepsBack = 0;
  for (size_t i = 1; i < clocks.size(); ++i) {
    const long step = clocks[i] - clocks[i - 1];
    if (step > 400) {
      ++pauses;
      EXPECT_LT(step, 400 + 3 * 32) << "the pause skips its own records and no more";
    } else if (step < 0) {
      ++stepsBack;
      EXPECT_NEAR(step, -1000 + 31, 2);
    } else {
      EXPECT_TRUE(step == 31 || step == 32) << i << ": " << step;
    }
  }
  EXPECT_EQ(pauses, 1);
  EXPECT_EQ(stepsBack, 1);
}

TEST_F(SimLine, PortFolderEntriesComeAndGo) {
  InstrumentOptions options;
  options.friendlyName = "Porta generica";
  auto instrument = StartInstrument(options, 7);
  const std::string link = Link(7);
  ASSERT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(fs::read_symlink(link).string(), instrument->SlavePath());
  std::ifstream nameFile(link + ".name");
  std::string name;
  std::getline(nameFile, name);
  EXPECT_EQ(name, "Porta generica (COM7)");

  // A second instrument cannot take a port that is in use, nor a number outside 1..255.
  SimulatedInstrument second;
  std::string error;
  EXPECT_FALSE(second.Start(folder_.string(), 7, &error));
  EXPECT_NE(error.find("com7"), std::string::npos);
  EXPECT_FALSE(second.Start(folder_.string(), 256, &error));
  EXPECT_TRUE(fs::exists(link + ".name"));

  instrument->Stop();
  EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
  EXPECT_FALSE(fs::exists(link + ".name"));

  // A link left dangling by a run that crashed is taken over.
  fs::create_symlink("/nonexistent/device", link);
  EXPECT_TRUE(second.Start(folder_.string(), 7, &error)) << error;
  EXPECT_EQ(fs::read_symlink(link).string(), second.SlavePath());
  name.clear();
  std::ifstream secondName(link + ".name");
  std::getline(secondName, name);
  EXPECT_EQ(name, "Tervana Simulado (COM7)");
}

}  // namespace
}  // namespace sim
