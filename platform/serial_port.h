#pragma once
// One serial port, opened exclusively, raw 8N1, with the read time-outs of a Windows COM port
// so that readers written against that timing keep it. All descriptors are non-blocking;
// every wait is a poll with a deadline, so nothing here can hang for ever unless the
// time-outs ask for it.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// The three read time-outs of a COM port, in milliseconds.
// - interval: the longest gap allowed between two bytes once the first has come (0: unused).
// - total: multiplier × bytes asked for + constant, for the whole read (both 0: unused).
// With neither in use a read waits until every byte asked for has come.
// interval = kNoWait with both totals 0 returns at once with what has arrived;
// interval = kNoWait, multiplier = kNoWait and a constant in between returns at once when
// something has arrived, else with the first bytes to arrive within the constant.
struct SerialReadTimeouts {
  static constexpr uint32_t kNoWait = 0xFFFFFFFFu;
  uint32_t intervalMs = 0;
  uint32_t totalMultiplierMs = 0;
  uint32_t totalConstantMs = 0;
};

class SerialPort {
 public:
  using Clock = std::chrono::steady_clock;
  enum class WaitResult { kReady, kTimeout, kError };

  SerialPort() = default;
  ~SerialPort();
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // Opens the device for reading and writing and locks it: a second open of the same
  // device, from this or another process, fails while this one holds it. Configures raw
  // 8N1 at baudRate with no flow control. False with LastError() set on failure.
  bool Open(const std::string& devicePath, uint32_t baudRate);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }

  void SetReadTimeouts(const SerialReadTimeouts& timeouts) { timeouts_ = timeouts; }
  const SerialReadTimeouts& ReadTimeouts() const { return timeouts_; }

  // One read under the read time-outs: the bytes read (0 when the time-outs ran out with
  // nothing), or -1 on failure.
  long Read(uint8_t* buffer, size_t size);
  // What has arrived so far, without waiting: the bytes read (possibly 0), or -1 on failure.
  long ReadAvailable(uint8_t* buffer, size_t size);
  // Waits until input is there or the deadline passes.
  WaitResult WaitReadable(Clock::time_point deadline);

  // Writes every byte, waiting for room in the output queue up to the deadline.
  bool Write(const uint8_t* data, size_t size, Clock::time_point deadline);
  // Returns when everything written has left the output queue.
  bool Drain();

  // Modem lines. A line the device does not have (a pseudo-terminal) is not a failure.
  bool SetRts(bool on);
  bool SetDtr(bool on);

  // Drops what waits in the input and/or output queue.
  bool Purge(bool input, bool output);

  // Waits until the line has carried no byte for `gap`, counted from the last byte this
  // port received or sent, or from `notBefore` when that is later; bytes arriving meanwhile
  // are discarded and restart the gap. kReady once quiet; kTimeout at `deadline`, so that a
  // streaming device cannot hold a caller for ever; kError when the device fails.
  WaitResult WaitLineIdle(std::chrono::microseconds gap, Clock::time_point deadline,
                          Clock::time_point notBefore = Clock::time_point{});

  // Text of the last failure (the system's error text).
  const std::string& LastError() const { return lastError_; }
  // The device hung up since it was opened (an adapter pulled out, a pseudo-terminal whose
  // other side closed): it will never work again and has to be closed and opened anew.
  bool HungUp() const { return hungUp_; }

 private:
  enum class PollResult { kReady, kTimeout, kError };
  PollResult PollFor(short events, Clock::time_point deadline, bool waitWithoutEnd);
  long ReadOnce(uint8_t* buffer, size_t size);
  bool Fail(int err);
  bool ModemLine(int line, bool on);

  int fd_ = -1;
  SerialReadTimeouts timeouts_;
  Clock::time_point lastActivity_{};
  std::string lastError_;
  bool hungUp_ = false;
};

}  // namespace platform
