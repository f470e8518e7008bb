#pragma once
// Texts kept in registers: ten characters in five consecutive registers, two per register,
// the first character in the low byte (the second byte on the wire) and the second in the
// high byte. Code page 1252 bytes throughout.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace device {

inline constexpr size_t kRegisterTextRegisters = 5;
inline constexpr size_t kRegisterTextChars = 10;

// The characters up to the first zero byte (at most ten).
std::string RegTextToString(std::span<const uint16_t, kRegisterTextRegisters> registers);
// The first ten characters; a shorter text is filled up with zero bytes.
void StringToRegText(std::string_view text, std::span<uint16_t, kRegisterTextRegisters> registers);

}  // namespace device
