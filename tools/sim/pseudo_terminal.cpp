#include "tools/sim/pseudo_terminal.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace sim {
namespace {

// How long a write may wait for the program to make room before the rest is dropped.
constexpr int kWriteStallMs = 200;

std::string SystemError(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

void CloseFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

}  // namespace

PseudoTerminal::~PseudoTerminal() { Close(); }

bool PseudoTerminal::Open(std::string* error) {
  Close();
  auto fail = [&](const char* what) {
    if (error) *error = SystemError(what);
    Close();
    return false;
  };
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0) return fail("posix_openpt");
  if (::grantpt(master_) != 0) return fail("grantpt");
  if (::unlockpt(master_) != 0) return fail("unlockpt");
  char name[128];
  if (::ptsname_r(master_, name, sizeof name) != 0) return fail("ptsname_r");
  slavePath_ = name;
  if (::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK) != 0)
    return fail("fcntl");

  slave_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (slave_ < 0) return fail("open slave");
  termios tio{};
  if (::tcgetattr(slave_, &tio) != 0) return fail("tcgetattr");
  ::cfmakeraw(&tio);
  ::cfsetispeed(&tio, B115200);
  ::cfsetospeed(&tio, B115200);
  tio.c_cflag |= CLOCAL | CREAD;
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  if (::tcsetattr(slave_, TCSANOW, &tio) != 0) return fail("tcsetattr");

  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) return fail("pipe2");
  wakeRead_ = pipeFds[0];
  wakeWrite_ = pipeFds[1];
  return true;
}

void PseudoTerminal::Close() {
  CloseFd(slave_);
  CloseFd(master_);
  CloseFd(wakeRead_);
  CloseFd(wakeWrite_);
  slavePath_.clear();
}

PseudoTerminal::WaitResult PseudoTerminal::Wait(int timeoutMs) {
  pollfd fds[2] = {{master_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
  int ready;
  do {
    ready = ::poll(fds, 2, timeoutMs);
  } while (ready < 0 && errno == EINTR);
  if (ready <= 0) return WaitResult::TimedOut;
  if (fds[1].revents & POLLIN) {
    char drain[64];
    while (::read(wakeRead_, drain, sizeof drain) > 0) {
    }
    return WaitResult::Woken;
  }
  return WaitResult::Readable;
}

void PseudoTerminal::Wake() {
  if (wakeWrite_ < 0) return;
  const char byte = 1;
  [[maybe_unused]] auto written = ::write(wakeWrite_, &byte, 1);  // a full pipe wakes anyway
}

bool PseudoTerminal::ReadAvailable(std::vector<uint8_t>& into) {
  uint8_t buffer[512];
  for (;;) {
    const ssize_t n = ::read(master_, buffer, sizeof buffer);
    if (n > 0) {
      into.insert(into.end(), buffer, buffer + n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
  }
}

void PseudoTerminal::Write(std::span<const uint8_t> bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return;
    pollfd fd{master_, POLLOUT, 0};
    if (::poll(&fd, 1, kWriteStallMs) <= 0) return;
  }
}

size_t PseudoTerminal::WriteNoWait(std::span<const uint8_t> bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    break;
  }
  return done;
}

}  // namespace sim
