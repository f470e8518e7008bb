#pragma once
// A number as decimal digits, the form the float pictures round and lay out: value =
// 0.d1 d2 ... dn × 10^exponent, without leading or trailing zeros (no digits for zero).
#include <cstdint>
#include <string_view>

namespace vantrix {

struct FormatSettings;

struct DecimalNumber {
  static constexpr int kMaxDigits = 24;
  bool negative = false;
  int count = 0;
  int exponent = 0;
  char digits[kMaxDigits] = {};

  bool IsZero() const { return count == 0; }
};

// A double to 15 significant digits, as the original's number formatting saw its values: a
// text like "2.675" read into a double formats as 2.68 at two places, not 2.67.
DecimalNumber DecimalFromDouble(double value);
// Exact.
DecimalNumber DecimalFromInt64(int64_t value);

// Rounds half away from zero so that at most `kept` digits stay (none when kept <= 0; a carry
// may add one to the exponent).
void RoundDecimal(DecimalNumber& n, int kept);

// A plain decimal text in the settings' form (blanks around, a sign, digits with one decimal
// separator, an exponent) of at most 15 significant digits, read exactly without going
// through a double: what DecimalFromDouble would give for it. False for anything else (the
// caller then reads it as a double).
bool TryDecimalFromText(std::string_view text, char decimalSeparator, DecimalNumber& out);

}  // namespace vantrix
