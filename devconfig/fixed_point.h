#pragma once
// Register values as the dialog's fields show them: an integer with a decimal count, written
// as fixed-point text ("100.0" is 1000 with one decimal), and read back from what the user
// typed with "." or "," as the decimal mark. Pure functions; the mark to write comes from the
// caller (the user's locale at the window).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace devconfig {

// A field's value as the registers hold it: the digits without the decimal mark, and how
// many of them stood after it.
struct FixedPoint {
  int32_t raw = 0;
  uint16_t decimals = 0;
  bool operator==(const FixedPoint&) const = default;
};

struct FixedPoint64 {
  int64_t raw = 0;
  uint16_t decimals = 0;
  bool operator==(const FixedPoint64&) const = default;
};

// 1000 with 1 -> "100.0"; 5 with 2 -> "0.05"; -5 with 1 -> "-0.5"; 0 with 0 -> "0". Any
// decimal count: a channel may hold up to seven.
std::string FormatFixedPoint(int64_t value, uint16_t decimals, char mark = '.');

// "100.0" -> 1000, 1; "2,50" -> 250, 2; ".5" -> 5, 1; "7." -> 7, 0. Nothing for an empty
// text, one with both marks or more than one mark, or digits that are not a signed 32-bit
// integer once the mark is taken out. Blanks around the text are ignored.
std::optional<FixedPoint> ParseFixedPoint(std::string_view text);
// The same with a signed 64-bit integer (the digital input's reset value).
std::optional<FixedPoint64> ParseFixedPoint64(std::string_view text);

// An unsigned 32-bit decimal ("4294967295").
std::string FormatUnsigned(uint32_t value);

// A finite real number with "." or "," as decimal mark and an optional exponent ("1,5",
// "-2.5e3"); nothing for anything else, infinities and "nan" included.
std::optional<double> ParseFloatText(std::string_view text);

// `value` with exactly `decimals` decimals (none and no mark for 0), rounded to nearest; a
// result that rounds to zero carries no sign.
std::string FormatDecimals(double value, int decimals, char mark = '.');

// The counter factor as its field shows it: at least one and at most eight decimals
// (1 -> "1.0", 0.125 -> "0.125", 1/3 -> "0.33333333").
std::string FormatScale(double value, char mark = '.');

}  // namespace devconfig
