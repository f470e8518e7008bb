#pragma once
// What the dialog checks when the user leaves a field, and what its arrows do: ranges of the
// raw integers as typed, the decimal count shared by a channel's five fields, the ambient
// offset's single decimal, and the digital-input page's whole-number edits. Pure functions.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "devconfig/fixed_point.h"

namespace devconfig {

// Limits of a field's raw integer (as typed, before any change of decimals).
struct RawRange {
  int64_t min = 0;
  int64_t max = 0;
  constexpr bool Holds(int64_t v) const { return v >= min && v <= max; }
};

inline constexpr RawRange kLimitRange{-32767, 32767};        // limits, overflow, underflow
inline constexpr RawRange kChannelOffsetRange{-3000, 3000};  // a channel's offset
inline constexpr RawRange kAmbientOffsetRange{-300, 300};
// More decimals than this are refused as typed (a channel's register holds up to seven).
inline constexpr uint16_t kMaxTypedDecimals = 5;

// Digital-input page.
inline constexpr RawRange kDebounceRange{1, 65535};
inline constexpr RawRange kCountingResetRange{1, 4294967295LL};
inline constexpr RawRange kResetRange{1, 65535};
inline constexpr RawRange kBaseTimeRange{1, 65535};
inline constexpr RawRange kCounterDecimalsRange{0, 8};

// The exit check of a fixed-point field: its value when the text is a number within the
// range with at most five decimals, else nothing.
std::optional<FixedPoint> CheckFixedPointField(std::string_view text, RawRange range);

// A channel's five fixed-point fields, in this order.
enum ChannelField : size_t { kUpperLimit = 0, kLowerLimit, kOverflow, kUnderflow, kOffset, kChannelFieldCount };
using ChannelFieldTexts = std::array<std::string, kChannelFieldCount>;

// Every field rewritten with its own digits and `decimals` (the mark moves, "100.0" becomes
// "10.00" for 2), when all five read; nothing when one does not.
std::optional<ChannelFieldTexts> WithDecimalCount(const ChannelFieldTexts& texts, uint16_t decimals, char mark);

// The ambient offset in tenths: decimals beyond the first are cut toward zero ("1.25" and
// "-1.25" give 12 and -12), a whole number gains one ("3" gives 30).
int32_t AmbientOffsetTenths(FixedPoint value);

// One arrow step: the raw value plus or minus one with the same decimals, when the text reads
// and the result stays in the range; nothing otherwise (the field is left as it is).
std::optional<std::string> StepFixedPointField(std::string_view text, int direction, RawRange range, char mark);

// A whole-number edit of the digital-input page: its value when the text is an integer
// without decimals within the range.
std::optional<int64_t> CheckWholeNumberField(std::string_view text, RawRange range);
// Its arrow step, written without decimals.
std::optional<std::string> StepWholeNumberField(std::string_view text, int direction, RawRange range);

}  // namespace devconfig
