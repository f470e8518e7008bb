#pragma once
// Little-endian reads and writes at byte offsets of a record buffer. Records of file formats
// go through these field by field instead of a struct copy.
#include <bit>
#include <cstddef>
#include <cstdint>

namespace le_bytes {

inline void PutU8(uint8_t* b, size_t at, uint8_t v) { b[at] = v; }

inline void PutU16(uint8_t* b, size_t at, uint16_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}

inline void PutU32(uint8_t* b, size_t at, uint32_t v) {
  for (size_t i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

inline void PutU64(uint8_t* b, size_t at, uint64_t v) {
  for (size_t i = 0; i < 8; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

inline void PutI16(uint8_t* b, size_t at, int16_t v) { PutU16(b, at, static_cast<uint16_t>(v)); }
inline void PutI32(uint8_t* b, size_t at, int32_t v) { PutU32(b, at, static_cast<uint32_t>(v)); }
inline void PutF32(uint8_t* b, size_t at, float v) { PutU32(b, at, std::bit_cast<uint32_t>(v)); }
inline void PutF64(uint8_t* b, size_t at, double v) { PutU64(b, at, std::bit_cast<uint64_t>(v)); }

inline uint8_t GetU8(const uint8_t* b, size_t at) { return b[at]; }

inline uint16_t GetU16(const uint8_t* b, size_t at) {
  return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

inline uint32_t GetU32(const uint8_t* b, size_t at) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i) v |= static_cast<uint32_t>(b[at + i]) << (8 * i);
  return v;
}

inline uint64_t GetU64(const uint8_t* b, size_t at) {
  uint64_t v = 0;
  for (size_t i = 0; i < 8; ++i) v |= static_cast<uint64_t>(b[at + i]) << (8 * i);
  return v;
}

inline int16_t GetI16(const uint8_t* b, size_t at) { return static_cast<int16_t>(GetU16(b, at)); }
inline int32_t GetI32(const uint8_t* b, size_t at) { return static_cast<int32_t>(GetU32(b, at)); }
inline float GetF32(const uint8_t* b, size_t at) { return std::bit_cast<float>(GetU32(b, at)); }
inline double GetF64(const uint8_t* b, size_t at) { return std::bit_cast<double>(GetU64(b, at)); }

}  // namespace le_bytes
