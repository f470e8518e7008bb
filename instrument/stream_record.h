#pragma once
// One record of the instrument's streaming mode: "#", five fields each ended by ";", the
// instrument's time in milliseconds, the line end (CR LF). A field is a decimal number with
// "." or "," as decimal mark, or empty for no value. Pure functions; no locale.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace stream {

inline constexpr size_t kRecordFields = 5;

struct StreamRecord {
  std::array<float, kRecordFields> values{};
  uint32_t time = 0;  // the instrument's own clock, milliseconds
};

// A number as the instrument writes it: blanks around it allowed, an optional sign, digits
// with at most one decimal mark ("." or ","), an optional exponent. "inf", "nan",
// hexadecimal, a lone sign or mark, and a number beyond the double range are not numbers.
std::optional<double> ParseStreamNumber(std::string_view text);

// The record's time: decimal digits (blanks around them allowed) of an unsigned 32-bit number.
std::optional<uint32_t> ParseStreamTime(std::string_view text);

// `body` is the text after the "#" up to the line feed, which is not included. An empty
// field gives `errorValue`; field 4 is multiplied by `counterScale` when given, and gives
// `errorValue` when the product is beyond the range of a float or not a number. Nothing when
// a field or the time is not a number, a field is beyond the range of a float, or there are
// not exactly five fields before the time.
std::optional<StreamRecord> ParseStreamRecord(std::string_view body, float errorValue,
                                              std::optional<double> counterScale);

}  // namespace stream
