#include "instrument/serial_modbus_driver.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/ports.h"

namespace {

using Clock = platform::SerialPort::Clock;
using std::chrono::milliseconds;

// A frame of at most 50 bytes leaves at once on any line; this only bounds a write that
// cannot proceed (a pseudo-terminal nobody reads).
constexpr milliseconds kWriteAllowance{1000};

// Function 43 replies may announce further objects; a device that keeps doing so is not
// followed further than the 4-bit object id the request can name.
constexpr uint32_t kLastRequestableObjectId = 15;

}  // namespace

TSerialModBusDriver::TSerialModBusDriver(int portNumber, uint32_t baudRate, uint16_t extraTimeoutMs)
    : receiveFrame_(new uint8_t[modbus::kReceiveFrameBytes]),
      portNumber_(portNumber),
      requestedBaud_(baudRate),
      baudRate_(baudRate),
      extraTimeoutMs_(extraTimeoutMs) {}

TSerialModBusDriver::~TSerialModBusDriver() { ClosePort(); }

bool TSerialModBusDriver::Fail(uint8_t resultCode, std::string text) {
  resultCode_ = resultCode;
  errorText_ = std::move(text);
  return false;
}

void TSerialModBusDriver::ApplyReadTimeouts(size_t expectedLength) {
  timeouts_ = modbus::ReadTimeoutsFor(baudRate_, expectedLength, extraTimeoutMs_);
  port_.SetReadTimeouts({timeouts_.intervalMs, timeouts_.totalMultiplierMs, timeouts_.totalConstantMs});
}

bool TSerialModBusDriver::OpenPort() {
  if (portOpen_) return true;
  // The port number travels as one byte in files and records; a larger one names no port.
  if (portNumber_ < 1 || portNumber_ > kMaxPortNumber) {
    errorText_ = std::strerror(ENODEV);
    return false;
  }
  const auto path = platform::PortDevicePath(portNumber_);
  if (!path) {
    errorText_ = std::strerror(ENOENT);
    return false;
  }
  baudRate_ = modbus::SupportedBaudRate(requestedBaud_);
  if (!port_.Open(*path, baudRate_)) {
    errorText_ = port_.LastError();
    return false;
  }
  port_.SetDtr(true);
  port_.SetRts(false);
  port_.Purge(true, true);
  ApplyReadTimeouts(0);
  portOpen_ = true;
  return true;
}

void TSerialModBusDriver::ClosePort() {
  if (!portOpen_) return;
  port_.SetRts(false);
  port_.Purge(true, true);
  port_.Close();
  portOpen_ = false;
  // What was on its way to this port is lost with it.
  lineUnsettled_ = false;
}

std::vector<TEnumeratePorts> TSerialModBusDriver::ListPorts() {
  std::vector<TEnumeratePorts> ports;
  for (const platform::PortEntry& entry : platform::EnumeratePorts()) {
    if (entry.number < 1 || entry.number > kMaxPortNumber) continue;
    ports.push_back(TEnumeratePorts{entry.number, entry.friendlyName});
  }
  return ports;
}

bool TSerialModBusDriver::ReadRequest(uint8_t slave, uint8_t function, uint32_t start, uint32_t count,
                                      uint16_t* destination) {
  if (function == modbus::kReadDeviceIdentification) return ReadIdentification(slave, start, count);
  modbus::Request request;
  if (!modbus::BuildReadRequest(slave, function, start, count, request)) {
    return Fail(modbus::kUnexpectedReply, std::strerror(EINVAL));
  }
  modbus::ReplyOutput out;
  out.registers = destination;
  return Transact(request, out);
}

bool TSerialModBusDriver::WriteRequest(uint8_t slave, uint8_t function, uint32_t reg, uint16_t value) {
  modbus::Request request;
  if (!modbus::BuildWriteRequest(slave, function, reg, value, request)) {
    return Fail(modbus::kUnexpectedReply, std::strerror(EINVAL));
  }
  modbus::ReplyOutput out;
  return Transact(request, out);
}

bool TSerialModBusDriver::ReadIdentification(uint8_t slave, uint32_t readDeviceIdCode, uint32_t objectId) {
  identification_.clear();
  objectId &= kLastRequestableObjectId;
  for (;;) {
    modbus::Request request;
    modbus::BuildReadRequest(slave, modbus::kReadDeviceIdentification, readDeviceIdCode, objectId, request);
    modbus::ReplyOutput out;
    out.identification = &identification_;
    if (!Transact(request, out)) return false;
    // Continue only forwards, so a device repeating itself cannot loop us.
    if (!out.moreFollows || out.nextObjectId <= objectId || out.nextObjectId > kLastRequestableObjectId) {
      return true;
    }
    objectId = out.nextObjectId;
  }
}

bool TSerialModBusDriver::Transact(const modbus::Request& request, modbus::ReplyOutput& out) {
  if (!portOpen_) return Fail(modbus::kNoReply, std::strerror(EBADF));
  ApplyReadTimeouts(request.replyLength);
  refused_ = false;
  if (SendAndReceive(request, out)) return true;
  // An exception reply is the instrument's whole answer; nothing more is on its way.
  if (refused_) return false;
  // A reply that comes after its time-out, or the real reply behind a spoiled one, would be
  // taken for the next request's: a function 3 reply does not say which registers it holds.
  // The next request waits until the line has been quiet for a whole time-out of this one.
  lineUnsettled_ = true;
  unsettledSince_ = Clock::now();
  settleGap_ = milliseconds(timeouts_.TotalMs(request.replyLength));
  return false;
}

bool TSerialModBusDriver::WaitBeforeRequest(const modbus::Request& request) {
  // The slave tells frames apart by line silence; after a reply that ended a moment ago the
  // next request must wait. Bytes arriving meanwhile (a streaming instrument) are stale and
  // dropped. After a failed transaction the line must stay quiet for a whole time-out, so a
  // late reply to it arrives while nothing is asked and is dropped too.
  std::chrono::microseconds gap = modbus::SilenceBeforeRequest(baudRate_);
  Clock::time_point notBefore{};
  auto deadline = Clock::now() + milliseconds(timeouts_.TotalMs(request.replyLength));
  if (lineUnsettled_) {
    gap = std::max<std::chrono::microseconds>(gap, settleGap_);
    notBefore = unsettledSince_;
    // A late reply falls quiet one gap after it came, at most two gaps after the failure; a
    // line that talks for longer is a streaming instrument, and the request goes out anyway.
    deadline = std::max(Clock::now(), unsettledSince_ + 3 * gap);
  }
  if (port_.WaitLineIdle(gap, deadline, notBefore) == platform::SerialPort::WaitResult::kError) {
    return Fail(modbus::kNoReply, port_.LastError());
  }
  lineUnsettled_ = false;
  return true;
}

bool TSerialModBusDriver::SendAndReceive(const modbus::Request& request, modbus::ReplyOutput& out) {
  if (!WaitBeforeRequest(request)) return false;
  port_.Purge(true, true);
  if (!Send(request)) return false;
  // A request without a known reply length (function 5) cannot be read back.
  if (request.replyLength == 0) return Fail(modbus::kNoReply, std::strerror(ENOMSG));
  return ReceiveReply(request, out);
}

bool TSerialModBusDriver::Send(const modbus::Request& request) {
  // RS-485: RTS enables the transmitter. It is released only once the last bit has left
  // (a half-duplex line must not be cut short), and on every failure (nor held in transmit).
  port_.SetRts(true);
  const auto deadline = Clock::now() + kWriteAllowance;
  const bool sent = port_.Write(request.frame.data(), request.length, deadline) && port_.Drain();
  const std::string failure = sent ? std::string() : port_.LastError();
  port_.SetRts(false);
  if (!sent) return Fail(modbus::kNoReply, failure);
  return true;
}

bool TSerialModBusDriver::ReceiveReply(const modbus::Request& request, modbus::ReplyOutput& out) {
  const size_t expected = request.replyLength;
  uint8_t* const frame = receiveFrame_.get();
  const auto deadline = Clock::now() + milliseconds(timeouts_.TotalMs(expected));
  size_t held = 0;
  modbus::HeldReply found;
  // Read until the bytes held hold the reply (noise before it, or streamed text after it,
  // allowed) or the total time-out runs out; waiting for the line to stay silent would cost
  // a whole time-out per transaction.
  for (;;) {
    const auto wait = port_.WaitReadable(deadline);
    if (wait == platform::SerialPort::WaitResult::kTimeout) break;
    if (wait == platform::SerialPort::WaitResult::kError) return Fail(modbus::kNoReply, port_.LastError());
    if (held == modbus::kReceiveFrameBytes) {
      // A flood of noise: only the newest bytes can still end in the reply.
      const size_t keep = expected - 1;
      std::memmove(frame, frame + held - keep, keep);
      held = keep;
    }
    const long n = port_.ReadAvailable(frame + held, modbus::kReceiveFrameBytes - held);
    if (n < 0) return Fail(modbus::kNoReply, port_.LastError());
    const size_t firstNewEnd = held + 1;
    held += static_cast<size_t>(n);
    found = modbus::FindReply(std::span<const uint8_t>(frame, held), request, firstNewEnd);
    if (found.kind != modbus::HeldReply::kIncomplete) break;
  }
  if (held == 0) return Fail(modbus::kNoReply, std::strerror(ETIMEDOUT));
  if (found.kind == modbus::HeldReply::kException) {
    refused_ = true;
    return Fail(modbus::kUnexpectedReply, std::string());
  }

  std::span<const uint8_t> reply;
  if (found.kind == modbus::HeldReply::kReply) {
    reply = std::span<const uint8_t>(frame + found.start, found.length);
  } else if (request.function == modbus::kReadDeviceIdentification) {
    reply = std::span<const uint8_t>(frame, held);
  } else if (held < expected) {
    return Fail(modbus::kNoReply, std::strerror(ETIMEDOUT));
  } else {
    // The time-out ran out on something that is not a good reply: judge its last bytes.
    reply = std::span<const uint8_t>(frame + held - expected, expected);
  }
  resultCode_ = modbus::ParseReply(reply, request, out);
  return resultCode_ == modbus::kOk;
}

long TSerialModBusDriver::ReadPort(uint8_t* buffer, size_t size) {
  const long n = port_.Read(buffer, size);
  if (n < 0) errorText_ = port_.LastError();
  return n;
}

long TSerialModBusDriver::ReadPortAvailable(uint8_t* buffer, size_t size) {
  const long n = port_.ReadAvailable(buffer, size);
  if (n < 0) errorText_ = port_.LastError();
  return n;
}
