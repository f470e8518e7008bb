#pragma once
// The Modbus RTU wire format as the instruments speak it: CRC-16, request frames, expected
// reply lengths, the reply parser and its result codes, and the read time-outs that follow
// from the baud rate. Pure functions over byte buffers; no I/O, nothing allocated except the
// identification objects of function 43.
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// One object of a read-device-identification reply (function 43).
struct TDeviceIdentification {
  int32_t objectId = 0;
  int32_t length = 0;
  std::string text;  // code page 1252 bytes as sent
};

namespace modbus {

// Outcome of one transaction. The numbers are what callers and logs have always seen.
enum Result : uint8_t {
  kOk = 0,
  kWrongAddress = 1,        // reply from another slave address
  kTooShort = 2,            // under 3 bytes, or a function 114 reply announcing no registers
  kEchoMismatch = 4,        // a write reply that does not echo the written value
  kUnexpectedReply = 6,     // other function, exception reply, wrong byte count, unknown function
  kCrcError = 7,
  kNoReply = 8,             // nothing, or fewer bytes than expected
};

enum Function : uint8_t {
  kReadHoldingRegisters = 3,
  kWriteSingleCoil = 5,
  kWriteSingleRegister = 6,
  kReadDeviceIdentification = 43,
  kReadCalibrationRegister = 70,
  kWriteCalibrationRegister = 71,
  kReadRegister112 = 112,      // instrument-specific read of one register
  kEcho113 = 113,              // instrument-specific echo
  kReadRegisterBlock114 = 114, // instrument-specific read with 32-bit start and count
};

constexpr uint8_t kExceptionFlag = 0x80;
constexpr size_t kTransmitFrameBytes = 50;
constexpr size_t kReceiveFrameBytes = 65535;
constexpr size_t kIdentificationReplyMaxBytes = 256;
constexpr size_t kExceptionReplyBytes = 5;  // address, function | 0x80, code, CRC

// Modbus CRC-16 (preset 0xFFFF, reflected polynomial 0xA001).
uint16_t Crc16(std::span<const uint8_t> bytes);
// True when the last two bytes are the CRC of the ones before them, low byte first.
bool HasValidCrc(std::span<const uint8_t> frame);

// One request ready for the line, with what its reply must look like.
struct Request {
  std::array<uint8_t, kTransmitFrameBytes> frame{};
  size_t length = 0;       // bytes to send, CRC included
  size_t replyLength = 0;  // expected reply bytes; 0 when none is known; function 43: the maximum
  uint8_t slave = 0;
  uint8_t function = 0;
  uint32_t start = 0;      // first register; function 43: read-device-id code
  uint32_t count = 0;      // registers; function 43: object id; 1 for writes
  uint16_t echo = 0;       // value a write reply must echo
};

// Expected reply length of a request; 0 when no reply length is known (function 5, or a
// function this format does not read).
size_t ExpectedReplyLength(uint8_t function, uint32_t count);

// Reading requests: functions 3, 43, 70, 112, 114. False for any other function, and for a
// request whose reply could not fit the receive frame.
bool BuildReadRequest(uint8_t slave, uint8_t function, uint32_t start, uint32_t count, Request& out);
// Writing requests: functions 5, 6, 71, 113. False for any other function.
bool BuildWriteRequest(uint8_t slave, uint8_t function, uint32_t reg, uint16_t value, Request& out);

// The rates a port is opened at; anything else falls back to 9600.
uint32_t SupportedBaudRate(uint32_t requested);

// Read time-outs in milliseconds, the way the instruments' timing was always set.
struct ReadTimeouts {
  uint32_t intervalMs = 0;
  uint32_t totalMultiplierMs = 0;
  uint32_t totalConstantMs = 0;
  // The whole wait for `bytes` expected bytes.
  uint64_t TotalMs(size_t bytes) const { return uint64_t{totalMultiplierMs} * bytes + totalConstantMs; }
};
ReadTimeouts ReadTimeoutsFor(uint32_t baud, size_t expectedLength, uint16_t extraMs);

// Line silence kept before each request: 3.5 characters, and never under 1.75 ms.
std::chrono::microseconds SilenceBeforeRequest(uint32_t baud);

// Where the reply stands among the bytes received so far, so reading can stop as soon as it
// is complete.
struct HeldReply {
  enum Kind { kIncomplete, kReply, kException } kind = kIncomplete;
  size_t start = 0;   // where the frame begins in the held bytes
  size_t length = 0;  // its length
};
// Looks for the first frame that ends at a position from `firstEnd` to the end of the held
// bytes: kReply for a frame of the expected length (function 43: a complete identification
// reply, which must end the held bytes) from the request's slave, for its function, with a
// valid CRC; kException for a CRC-valid exception reply of that slave to that function.
// Bytes before the frame (line noise) are allowed, and so are bytes after it (an instrument
// streaming its text as soon as it has answered).
HeldReply FindReply(std::span<const uint8_t> held, const Request& request, size_t firstEnd = 0);

// What a parsed reply delivers.
struct ReplyOutput {
  uint16_t* registers = nullptr;  // function 3: `count` words; 70, 112: one; 114: `count`
  std::vector<TDeviceIdentification>* identification = nullptr;  // function 43: appended
  bool moreFollows = false;   // function 43: the device has further objects
  uint8_t nextObjectId = 0;   // function 43: where to continue
};

// Checks one reply frame against its request and delivers its data. Nothing is written
// past the request's count; nothing is written at all unless the result is kOk.
Result ParseReply(std::span<const uint8_t> reply, const Request& request, ReplyOutput& out);

}  // namespace modbus
