#include "platform/serial_port.h"

// The kernel's termios2 carries any baud rate (BOTHER); the C library's termios cannot be
// included beside it, so the port is configured through the ioctls directly.
#include <asm/termbits.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace platform {
namespace {

using Clock = SerialPort::Clock;

[[maybe_unused]] const char* PickErrorText(int rc, const char* buffer) { return rc == 0 ? buffer : "Unknown error"; }
[[maybe_unused]] const char* PickErrorText(const char* text, const char*) { return text; }

std::string ErrorText(int err) {
  char buffer[256] = {};
  return PickErrorText(strerror_r(err, buffer, sizeof buffer), buffer);
}

// The standard rates keep their own codes, which every driver understands; any other rate
// is passed as a number.
speed_t SpeedCode(uint32_t baud) {
  switch (baud) {
    case 110: return B110;
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    default: return BOTHER;
  }
}

// Time left until the deadline, rounded up to whole microseconds so a wait never ends early.
timespec Remaining(Clock::time_point deadline) {
  const auto now = Clock::now();
  if (deadline <= now) return timespec{0, 0};
  const auto us = std::chrono::ceil<std::chrono::microseconds>(deadline - now).count();
  return timespec{static_cast<time_t>(us / 1000000), static_cast<long>(us % 1000000) * 1000};
}

}  // namespace

SerialPort::~SerialPort() { Close(); }

bool SerialPort::Fail(int err) {
  lastError_ = ErrorText(err);
  // What a tty reports once its device has gone.
  if (err == EIO || err == ENXIO || err == ENODEV) hungUp_ = true;
  return false;
}

bool SerialPort::Open(const std::string& devicePath, uint32_t baudRate) {
  Close();
  const int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return Fail(errno);
  // A Windows COM port is exclusive; a tty is not, and TIOCEXCL does not stop root.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int err = errno == EWOULDBLOCK ? EBUSY : errno;
    ::close(fd);
    return Fail(err);
  }
  termios2 tio{};
  if (::ioctl(fd, TCGETS2, &tio) != 0) {
    const int err = errno;
    ::close(fd);
    return Fail(err);
  }
  tio.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY |
                   INPCK | IMAXBEL | IUCLC);
  tio.c_oflag &= ~OPOST;
  tio.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS | CBAUD | CIBAUD);
  const speed_t code = SpeedCode(baudRate);
  tio.c_cflag |= CS8 | CREAD | CLOCAL | code | (code << IBSHIFT);
  tio.c_ispeed = baudRate;
  tio.c_ospeed = baudRate;
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  if (::ioctl(fd, TCSETS2, &tio) != 0) {
    const int err = errno;
    ::close(fd);
    return Fail(err);
  }
  fd_ = fd;
  lastActivity_ = Clock::time_point{};
  hungUp_ = false;
  return true;
}

void SerialPort::Close() {
  if (fd_ < 0) return;
  ::close(fd_);  // also releases the lock
  fd_ = -1;
}

SerialPort::PollResult SerialPort::PollFor(short events, Clock::time_point deadline, bool waitWithoutEnd) {
  pollfd p{fd_, events, 0};
  for (;;) {
    timespec left{};
    if (!waitWithoutEnd) left = Remaining(deadline);
    const int rc = ::ppoll(&p, 1, waitWithoutEnd ? nullptr : &left, nullptr);
    if (rc < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
      return PollResult::kError;
    }
    if (rc == 0) {
      // ppoll may wake a hair early on coarse clocks; only the deadline itself ends the wait.
      if (!waitWithoutEnd && Clock::now() < deadline) continue;
      return PollResult::kTimeout;
    }
    // A hung-up device (unplugged adapter, closed pseudo-terminal master) reports readable
    // for ever; it has to be told apart from data.
    if (p.revents & (POLLERR | POLLHUP | POLLNVAL)) {
      Fail(EIO);
      return PollResult::kError;
    }
    return PollResult::kReady;
  }
}

long SerialPort::ReadOnce(uint8_t* buffer, size_t size) {
  for (;;) {
    const ssize_t n = ::read(fd_, buffer, size);
    if (n > 0) {
      lastActivity_ = Clock::now();
      return n;
    }
    if (n == 0) return 0;  // VMIN = VTIME = 0: nothing waiting
    if (errno == EINTR) continue;
    if (errno == EAGAIN) return 0;
    Fail(errno);
    return -1;
  }
}

long SerialPort::ReadAvailable(uint8_t* buffer, size_t size) {
  if (fd_ < 0) {
    Fail(EBADF);
    return -1;
  }
  if (size == 0) return 0;
  return ReadOnce(buffer, size);
}

SerialPort::WaitResult SerialPort::WaitReadable(Clock::time_point deadline) {
  if (fd_ < 0) {
    Fail(EBADF);
    return WaitResult::kError;
  }
  switch (PollFor(POLLIN, deadline, false)) {
    case PollResult::kReady: return WaitResult::kReady;
    case PollResult::kTimeout: return WaitResult::kTimeout;
    case PollResult::kError: break;
  }
  return WaitResult::kError;
}

long SerialPort::Read(uint8_t* buffer, size_t size) {
  if (fd_ < 0) {
    Fail(EBADF);
    return -1;
  }
  if (size == 0) return 0;
  const SerialReadTimeouts t = timeouts_;
  constexpr uint32_t kNoWait = SerialReadTimeouts::kNoWait;
  const auto start = Clock::now();

  if (t.intervalMs == kNoWait && t.totalMultiplierMs == 0 && t.totalConstantMs == 0) {
    return ReadOnce(buffer, size);
  }
  if (t.intervalMs == kNoWait && t.totalMultiplierMs == kNoWait && t.totalConstantMs != 0 &&
      t.totalConstantMs != kNoWait) {
    const long n = ReadOnce(buffer, size);
    if (n != 0) return n;
    switch (PollFor(POLLIN, start + std::chrono::milliseconds(t.totalConstantMs), false)) {
      case PollResult::kReady: return ReadOnce(buffer, size);
      case PollResult::kTimeout: return 0;
      case PollResult::kError: return -1;
    }
  }

  const bool useTotal = t.totalMultiplierMs != 0 || t.totalConstantMs != 0;
  const bool useInterval = t.intervalMs != 0;
  const auto totalDeadline =
      start + std::chrono::milliseconds(uint64_t{t.totalMultiplierMs} * size + t.totalConstantMs);
  size_t got = 0;
  Clock::time_point lastByte{};
  for (;;) {
    const long n = ReadOnce(buffer + got, size - got);
    if (n < 0) return -1;
    if (n > 0) {
      got += static_cast<size_t>(n);
      lastByte = lastActivity_;
      if (got == size) return static_cast<long>(got);
    }
    bool waitWithoutEnd = true;
    Clock::time_point until{};
    if (useTotal) {
      until = totalDeadline;
      waitWithoutEnd = false;
    }
    if (useInterval && got > 0) {
      const auto intervalEnd = lastByte + std::chrono::milliseconds(t.intervalMs);
      if (waitWithoutEnd || intervalEnd < until) until = intervalEnd;
      waitWithoutEnd = false;
    }
    if (!waitWithoutEnd && Clock::now() >= until) return static_cast<long>(got);
    switch (PollFor(POLLIN, until, waitWithoutEnd)) {
      case PollResult::kReady: break;
      case PollResult::kTimeout: return static_cast<long>(got);
      case PollResult::kError: return -1;
    }
  }
}

bool SerialPort::Write(const uint8_t* data, size_t size, Clock::time_point deadline) {
  if (fd_ < 0) return Fail(EBADF);
  size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(fd_, data + done, size - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return Fail(errno);
    switch (PollFor(POLLOUT, deadline, false)) {
      case PollResult::kReady: break;
      case PollResult::kTimeout: return Fail(ETIMEDOUT);
      case PollResult::kError: return false;
    }
  }
  lastActivity_ = Clock::now();
  return true;
}

bool SerialPort::Drain() {
  if (fd_ < 0) return Fail(EBADF);
  while (::ioctl(fd_, TCSBRK, 1) != 0) {
    if (errno != EINTR) return Fail(errno);
  }
  lastActivity_ = Clock::now();
  return true;
}

bool SerialPort::ModemLine(int line, bool on) {
  if (fd_ < 0) return Fail(EBADF);
  if (::ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &line) == 0) return true;
  // Pseudo-terminals and some adapters have no modem lines; there is nothing to drive.
  if (errno == ENOTTY || errno == EINVAL) return true;
  return Fail(errno);
}

bool SerialPort::SetRts(bool on) { return ModemLine(TIOCM_RTS, on); }
bool SerialPort::SetDtr(bool on) { return ModemLine(TIOCM_DTR, on); }

bool SerialPort::Purge(bool input, bool output) {
  if (fd_ < 0) return Fail(EBADF);
  if (!input && !output) return true;
  const int which = input && output ? TCIOFLUSH : input ? TCIFLUSH : TCOFLUSH;
  if (::ioctl(fd_, TCFLSH, which) != 0) return Fail(errno);
  return true;
}

SerialPort::WaitResult SerialPort::WaitLineIdle(std::chrono::microseconds gap, Clock::time_point deadline,
                                                Clock::time_point notBefore) {
  if (fd_ < 0) {
    Fail(EBADF);
    return WaitResult::kError;
  }
  uint8_t scratch[256];
  for (;;) {
    long n;
    while ((n = ReadOnce(scratch, sizeof scratch)) > 0) {
    }
    if (n < 0) return WaitResult::kError;
    const auto quietFrom = std::max(lastActivity_, notBefore) + gap;
    const auto now = Clock::now();
    if (now >= quietFrom) return WaitResult::kReady;
    if (now >= deadline) return WaitResult::kTimeout;
    if (PollFor(POLLIN, std::min(quietFrom, deadline), false) == PollResult::kError) return WaitResult::kError;
  }
}

}  // namespace platform
