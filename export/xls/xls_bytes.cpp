#include "export/xls/xls_bytes.h"

#include <bit>
#include <string>

#include "platform/le_bytes.h"

namespace vantrix {

void CheckByteRange(size_t size, size_t index, size_t width) {
  if (index > size || width > size - index)
    throw ExlsFileError("Record body access out of range: " + std::to_string(width) + " bytes at " +
                        std::to_string(index) + " of " + std::to_string(size));
}

uint8_t GetByte(TxlsConstBytes data, size_t index) {
  CheckByteRange(data.size(), index, 1);
  return data[index];
}

uint16_t GetWord(TxlsConstBytes data, size_t index) {
  CheckByteRange(data.size(), index, 2);
  return le_bytes::GetU16(data.data(), index);
}

uint32_t GetInteger(TxlsConstBytes data, size_t index) {
  CheckByteRange(data.size(), index, 4);
  return le_bytes::GetU32(data.data(), index);
}

double GetDouble(TxlsConstBytes data, size_t index) {
  CheckByteRange(data.size(), index, 8);
  return le_bytes::GetF64(data.data(), index);
}

void SetByte(TxlsBytes data, size_t index, uint8_t value) {
  CheckByteRange(data.size(), index, 1);
  data[index] = value;
}

void SetWord(TxlsBytes data, size_t index, uint16_t value) {
  CheckByteRange(data.size(), index, 2);
  le_bytes::PutU16(data.data(), index, value);
}

void SetInteger(TxlsBytes data, size_t index, uint32_t value) {
  CheckByteRange(data.size(), index, 4);
  le_bytes::PutU32(data.data(), index, value);
}

void SetDouble(TxlsBytes data, size_t index, double value) {
  CheckByteRange(data.size(), index, 8);
  le_bytes::PutF64(data.data(), index, value);
}

void AppendByte(std::vector<uint8_t>& out, uint8_t value) { out.push_back(value); }

void AppendWord(std::vector<uint8_t>& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void AppendInteger(std::vector<uint8_t>& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void AppendDouble(std::vector<uint8_t>& out, double value) {
  const uint64_t bits = std::bit_cast<uint64_t>(value);
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<uint8_t>(bits >> (8 * i)));
}

void WriteMSOHeaderToByteArray(uint16_t recType, uint16_t version, uint16_t instance, uint32_t length,
                               TxlsBytes data, size_t& position) {
  CheckByteRange(data.size(), position, 8);
  SetWord(data, position, static_cast<uint16_t>(instance * 16 + version));
  SetWord(data, position + 2, recType);
  SetInteger(data, position + 4, length);
  position += 8;
}

void AppendMSOHeader(std::vector<uint8_t>& out, uint16_t recType, uint16_t version, uint16_t instance,
                     uint32_t length) {
  AppendWord(out, static_cast<uint16_t>(instance * 16 + version));
  AppendWord(out, recType);
  AppendInteger(out, length);
}

}  // namespace vantrix
