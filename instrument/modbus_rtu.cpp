#include "instrument/modbus_rtu.h"

#include <algorithm>

namespace modbus {
namespace {

constexpr uint8_t kReadDeviceIdMei = 14;  // MEI type of read device identification
constexpr size_t kIdentificationHeaderBytes = 8;  // address .. number of objects

uint16_t Word(std::span<const uint8_t> bytes, size_t at) {
  return static_cast<uint16_t>(bytes[at] << 8 | bytes[at + 1]);
}

void PutWord(uint8_t* at, uint32_t value) {
  at[0] = static_cast<uint8_t>(value >> 8);
  at[1] = static_cast<uint8_t>(value);
}

void PutLong(uint8_t* at, uint32_t value) {
  PutWord(at, value >> 16);
  PutWord(at + 2, value);
}

void Seal(Request& r, size_t bodyLength) {
  const uint16_t crc = Crc16(std::span<const uint8_t>(r.frame.data(), bodyLength));
  r.frame[bodyLength] = static_cast<uint8_t>(crc);
  r.frame[bodyLength + 1] = static_cast<uint8_t>(crc >> 8);
  r.length = bodyLength + 2;
}

// Length of a complete identification reply starting at bytes[0], CRC included; 0 while the
// bytes held do not yet cover it (or it is no identification reply).
size_t IdentificationFrameLength(std::span<const uint8_t> bytes) {
  if (bytes.size() < kIdentificationHeaderBytes || bytes[1] != kReadDeviceIdentification ||
      bytes[2] != kReadDeviceIdMei) {
    return 0;
  }
  size_t at = kIdentificationHeaderBytes;
  for (unsigned i = 0; i < bytes[7]; ++i) {
    if (at + 2 > bytes.size()) return 0;
    at += 2 + bytes[at + 1];
  }
  at += 2;
  return at <= bytes.size() ? at : 0;
}

bool IsFrameEndingAt(std::span<const uint8_t> held, size_t end, size_t length, uint8_t slave, uint8_t function) {
  if (end < length) return false;
  const auto frame = held.subspan(end - length, length);
  return frame[0] == slave && frame[1] == function && HasValidCrc(frame);
}

Result ParseIdentification(std::span<const uint8_t> reply, ReplyOutput& out) {
  if (reply[2] != kReadDeviceIdMei) return kUnexpectedReply;
  if (reply.size() < kIdentificationHeaderBytes + 2) return kNoReply;
  const size_t end = reply.size() - 2;
  // Walk the objects once to check they fit before delivering any of them.
  size_t at = kIdentificationHeaderBytes;
  for (unsigned i = 0; i < reply[7]; ++i) {
    if (at + 2 > end || at + 2 + reply[at + 1] > end) return kNoReply;
    at += 2 + reply[at + 1];
  }
  out.moreFollows = reply[5] == 0xFF;
  out.nextObjectId = reply[6];
  if (out.identification == nullptr) return kOk;
  at = kIdentificationHeaderBytes;
  for (unsigned i = 0; i < reply[7]; ++i) {
    const uint8_t length = reply[at + 1];
    TDeviceIdentification object;
    object.objectId = reply[at];
    object.length = length;
    object.text.assign(reinterpret_cast<const char*>(reply.data() + at + 2), length);
    out.identification->push_back(std::move(object));
    at += 2 + length;
  }
  return kOk;
}

}  // namespace

uint16_t Crc16(std::span<const uint8_t> bytes) {
  uint16_t crc = 0xFFFF;
  for (uint8_t b : bytes) {
    crc ^= b;
    for (int bit = 0; bit < 8; ++bit) {
      crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : static_cast<uint16_t>(crc >> 1);
    }
  }
  return crc;
}

bool HasValidCrc(std::span<const uint8_t> frame) {
  if (frame.size() < 2) return false;
  const uint16_t crc = Crc16(frame.first(frame.size() - 2));
  return frame[frame.size() - 2] == static_cast<uint8_t>(crc) &&
         frame[frame.size() - 1] == static_cast<uint8_t>(crc >> 8);
}

size_t ExpectedReplyLength(uint8_t function, uint32_t count) {
  switch (function) {
    case kReadHoldingRegisters: return 2 * size_t{count} + 5;
    case kWriteSingleRegister:
    case kWriteCalibrationRegister:
    case kEcho113: return 8;
    case kReadCalibrationRegister: return 7;
    case kReadDeviceIdentification: return kIdentificationReplyMaxBytes;
    case kReadRegister112: return 6;
    case kReadRegisterBlock114: return 2 * size_t{count} + 8;
    default: return 0;
  }
}

bool BuildReadRequest(uint8_t slave, uint8_t function, uint32_t start, uint32_t count, Request& out) {
  Request r;
  r.slave = slave;
  r.function = function;
  r.start = start;
  r.count = count;
  r.frame[0] = slave;
  r.frame[1] = function;
  size_t body = 0;
  switch (function) {
    case kReadHoldingRegisters:
      PutWord(&r.frame[2], start);
      PutWord(&r.frame[4], count);
      body = 6;
      break;
    case kReadCalibrationRegister:
      PutWord(&r.frame[2], start);
      PutWord(&r.frame[4], 1);
      r.count = 1;
      body = 6;
      break;
    case kReadRegister112:
      PutWord(&r.frame[2], start);
      PutWord(&r.frame[4], 0);
      r.count = 1;
      body = 6;
      break;
    case kReadDeviceIdentification:
      r.frame[2] = kReadDeviceIdMei;
      r.frame[3] = static_cast<uint8_t>(start & 15);
      r.frame[4] = static_cast<uint8_t>(count & 15);
      body = 5;
      break;
    case kReadRegisterBlock114:
      PutLong(&r.frame[2], start);
      PutLong(&r.frame[6], count);
      body = 10;
      break;
    default:
      return false;
  }
  r.replyLength = ExpectedReplyLength(function, r.count);
  if (r.replyLength > kReceiveFrameBytes) return false;
  Seal(r, body);
  out = r;
  return true;
}

bool BuildWriteRequest(uint8_t slave, uint8_t function, uint32_t reg, uint16_t value, Request& out) {
  Request r;
  r.slave = slave;
  r.function = function;
  r.start = reg;
  r.count = 1;
  r.echo = value;
  r.frame[0] = slave;
  r.frame[1] = function;
  size_t body = 0;
  switch (function) {
    case kWriteSingleCoil:
    case kWriteSingleRegister:
    case kWriteCalibrationRegister:
      PutWord(&r.frame[2], reg);
      PutWord(&r.frame[4], value);
      body = 6;
      break;
    case kEcho113:
      body = 2;
      break;
    default:
      return false;
  }
  r.replyLength = ExpectedReplyLength(function, 1);
  Seal(r, body);
  out = r;
  return true;
}

uint32_t SupportedBaudRate(uint32_t requested) {
  static constexpr uint32_t kRates[] = {110,   300,   600,   1200,  2400,   4800,   9600,  14400,
                                        19200, 38400, 56000, 57600, 115200, 128000, 256000};
  return std::find(std::begin(kRates), std::end(kRates), requested) != std::end(kRates) ? requested : 9600;
}

ReadTimeouts ReadTimeoutsFor(uint32_t baud, size_t expectedLength, uint16_t extraMs) {
  // Integer arithmetic: one and a half 11-bit characters is 16500 / baud ms, N characters
  // 11000·N / baud ms, both truncated.
  if (baud == 0) baud = 9600;
  ReadTimeouts t;
  t.totalMultiplierMs = 2;
  if (baud > 19200) {
    t.intervalMs = 1;
    t.totalConstantMs = 2;
  } else {
    t.intervalMs = std::max<uint32_t>(1, 16500 / baud);
    const uint64_t constant = t.intervalMs + uint64_t{11000} * expectedLength / baud;
    t.totalConstantMs = static_cast<uint32_t>(std::max<uint64_t>(1, constant));
  }
  t.totalConstantMs += extraMs;
  return t;
}

std::chrono::microseconds SilenceBeforeRequest(uint32_t baud) {
  if (baud == 0) baud = 9600;
  const uint64_t charactersUs = (uint64_t{38500000} + baud - 1) / baud;  // 3.5 × 11 bits
  return std::chrono::microseconds(std::max<uint64_t>(1750, charactersUs));
}

HeldReply FindReply(std::span<const uint8_t> held, const Request& request, size_t firstEnd) {
  if (request.function == kReadDeviceIdentification) {
    // Variable length: look for a frame start from which a complete reply reaches the end.
    const size_t first = held.size() > kIdentificationReplyMaxBytes ? held.size() - kIdentificationReplyMaxBytes : 0;
    for (size_t s = first; s + kIdentificationHeaderBytes <= held.size(); ++s) {
      if (held[s] != request.slave) continue;
      const auto candidate = held.subspan(s);
      if (IdentificationFrameLength(candidate) == candidate.size() && HasValidCrc(candidate)) {
        return HeldReply{HeldReply::kReply, s, candidate.size()};
      }
    }
    firstEnd = held.size();  // an exception reply, like the reply, must end the held bytes
  }
  const uint8_t exceptionFunction = request.function | kExceptionFlag;
  for (size_t end = std::max<size_t>(firstEnd, 1); end <= held.size(); ++end) {
    if (request.function != kReadDeviceIdentification && request.replyLength > 0 &&
        IsFrameEndingAt(held, end, request.replyLength, request.slave, request.function)) {
      return HeldReply{HeldReply::kReply, end - request.replyLength, request.replyLength};
    }
    if (IsFrameEndingAt(held, end, kExceptionReplyBytes, request.slave, exceptionFunction)) {
      return HeldReply{HeldReply::kException, end - kExceptionReplyBytes, kExceptionReplyBytes};
    }
  }
  return HeldReply{};
}

Result ParseReply(std::span<const uint8_t> reply, const Request& request, ReplyOutput& out) {
  if (reply.size() < 3) return kTooShort;
  if (!HasValidCrc(reply)) return kCrcError;
  if (reply[0] != request.slave) return kWrongAddress;
  // A reply for another function (exception replies included) answers some other question.
  if (reply[1] != request.function) return kUnexpectedReply;
  const size_t n = reply.size();
  switch (request.function) {
    case kReadHoldingRegisters: {
      const size_t byteCount = reply[2];
      if (byteCount == 0 || byteCount != 2 * size_t{request.count}) return kUnexpectedReply;
      if (n < 3 + byteCount + 2) return kNoReply;
      if (out.registers != nullptr) {
        for (size_t i = 0; i < request.count; ++i) out.registers[i] = Word(reply, 3 + 2 * i);
      }
      return kOk;
    }
    case kWriteSingleRegister:
    case kWriteCalibrationRegister:
    case kEcho113:
      if (n < 8) return kNoReply;
      return Word(reply, 4) == request.echo ? kOk : kEchoMismatch;
    case kReadCalibrationRegister:
      if (n < 7) return kNoReply;
      if (out.registers != nullptr) out.registers[0] = Word(reply, 3);
      return kOk;
    case kReadRegister112:
      if (n < 6) return kNoReply;
      if (out.registers != nullptr) out.registers[0] = Word(reply, 2);
      return kOk;
    case kReadRegisterBlock114: {
      if (n < 8) return kNoReply;
      const uint32_t announced = uint32_t{Word(reply, 2)} << 16 | Word(reply, 4);
      if (announced == 0) return kTooShort;
      if (announced != request.count) return kUnexpectedReply;
      if (n < 8 + 2 * size_t{announced}) return kNoReply;
      if (out.registers != nullptr) {
        for (size_t i = 0; i < announced; ++i) out.registers[i] = Word(reply, 6 + 2 * i);
      }
      return kOk;
    }
    case kReadDeviceIdentification:
      return ParseIdentification(reply, out);
    default:
      return kUnexpectedReply;
  }
}

}  // namespace modbus
