#pragma once
// Modbus RTU framing as the simulated instrument sees it: the CRC, the length of a request by
// its function code, finding the first complete request in what the line delivered, and the
// shapes of the replies.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace sim {

// Modbus CRC-16 (preset 0xFFFF, reflected polynomial 0xA001).
uint16_t Crc16(std::span<const uint8_t> bytes);
// Appends the CRC, low byte first.
void AppendCrc(std::vector<uint8_t>& frame);
// True when the last two bytes are the CRC of the ones before them (low byte first).
bool HasValidCrc(std::span<const uint8_t> frame);

// Length of a request frame including its CRC, judged from the bytes that start it; nothing
// when the function is not one whose request length is known or the bytes that tell the
// length have not arrived yet.
std::optional<size_t> RequestLength(std::span<const uint8_t> start);

struct FoundFrame {
  size_t offset = 0;  // bytes before the frame (noise)
  size_t length = 0;  // frame length including CRC
};
// The earliest complete request with a valid CRC in `bytes`, sliding over leading noise.
std::optional<FoundFrame> FindRequest(std::span<const uint8_t> bytes);

// Replies (with CRC).
std::vector<uint8_t> ExceptionReply(uint8_t address, uint8_t function, uint8_t code);
std::vector<uint8_t> ReadRegistersReply(uint8_t address, uint8_t function,
                                        std::span<const uint16_t> values);
// Echo of a write request: its first six bytes with a fresh CRC.
std::vector<uint8_t> EchoReply(std::span<const uint8_t> request);

inline uint16_t BigEndianWord(std::span<const uint8_t> bytes, size_t at) {
  return static_cast<uint16_t>((bytes[at] << 8) | bytes[at + 1]);
}

}  // namespace sim
