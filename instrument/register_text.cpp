#include "instrument/register_text.h"

namespace device {

std::string RegTextToString(std::span<const uint16_t, kRegisterTextRegisters> registers) {
  std::string text;
  text.reserve(kRegisterTextChars);
  for (uint16_t word : registers) {
    for (const uint8_t byte : {static_cast<uint8_t>(word & 0xFF), static_cast<uint8_t>(word >> 8)}) {
      if (byte == 0) return text;
      text.push_back(static_cast<char>(byte));
    }
  }
  return text;
}

void StringToRegText(std::string_view text, std::span<uint16_t, kRegisterTextRegisters> registers) {
  uint8_t bytes[kRegisterTextChars] = {};
  for (size_t i = 0; i < text.size() && i < kRegisterTextChars; ++i) bytes[i] = static_cast<uint8_t>(text[i]);
  for (size_t i = 0; i < kRegisterTextRegisters; ++i)
    registers[i] = static_cast<uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
}

}  // namespace device
