#include "tools/sim/rtu_frame.h"

namespace sim {

uint16_t Crc16(std::span<const uint8_t> bytes) {
  uint16_t crc = 0xFFFF;
  for (uint8_t byte : bytes) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) {
      const bool carry = crc & 1;
      crc >>= 1;
      if (carry) crc ^= 0xA001;
    }
  }
  return crc;
}

void AppendCrc(std::vector<uint8_t>& frame) {
  const uint16_t crc = Crc16(frame);
  frame.push_back(static_cast<uint8_t>(crc & 0xFF));
  frame.push_back(static_cast<uint8_t>(crc >> 8));
}

bool HasValidCrc(std::span<const uint8_t> frame) {
  if (frame.size() < 4) return false;
  const uint16_t crc = Crc16(frame.first(frame.size() - 2));
  return frame[frame.size() - 2] == (crc & 0xFF) && frame[frame.size() - 1] == (crc >> 8);
}

std::optional<size_t> RequestLength(std::span<const uint8_t> start) {
  if (start.size() < 2) return std::nullopt;
  switch (start[1]) {
    case 1: case 2: case 3: case 4: case 5: case 6:  // fixed: address, function, 4 bytes
    case 70: case 71: case 112:
      return 8;
    case 43:   // address, 43, MEI type, code, object id
      return 7;
    case 113:  // address, 113
      return 4;
    case 114:  // address, 114, 4-byte start, 4-byte count
      return 12;
    case 15: case 16:  // address, function, start, count, byte count, data
      if (start.size() < 7) return std::nullopt;
      return size_t{9} + start[6];
    default:
      return std::nullopt;
  }
}

std::optional<FoundFrame> FindRequest(std::span<const uint8_t> bytes) {
  for (size_t offset = 0; offset + 4 <= bytes.size(); ++offset) {
    const auto rest = bytes.subspan(offset);
    const auto length = RequestLength(rest);
    if (!length || *length > rest.size()) continue;
    if (HasValidCrc(rest.first(*length))) return FoundFrame{offset, *length};
  }
  return std::nullopt;
}

std::vector<uint8_t> ExceptionReply(uint8_t address, uint8_t function, uint8_t code) {
  std::vector<uint8_t> frame{address, static_cast<uint8_t>(function | 0x80), code};
  AppendCrc(frame);
  return frame;
}

std::vector<uint8_t> ReadRegistersReply(uint8_t address, uint8_t function,
                                        std::span<const uint16_t> values) {
  std::vector<uint8_t> frame{address, function, static_cast<uint8_t>(values.size() * 2)};
  for (uint16_t value : values) {
    frame.push_back(static_cast<uint8_t>(value >> 8));
    frame.push_back(static_cast<uint8_t>(value & 0xFF));
  }
  AppendCrc(frame);
  return frame;
}

std::vector<uint8_t> EchoReply(std::span<const uint8_t> request) {
  std::vector<uint8_t> frame(request.begin(), request.begin() + 6);
  AppendCrc(frame);
  return frame;
}

}  // namespace sim
