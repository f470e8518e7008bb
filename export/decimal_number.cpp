#include "export/decimal_number.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace vantrix {
namespace {

void StripTrailingZeros(DecimalNumber& n) {
  while (n.count > 0 && n.digits[n.count - 1] == '0') --n.count;
  if (n.count == 0) n.exponent = 0;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

namespace {

// Digits and exponent of a scientific text "d.ddde±x" into the number.
void ReadScientific(const char* p, const char* end, DecimalNumber& n) {
  n.digits[n.count++] = *p++;
  if (p < end && *p == '.') ++p;
  while (p < end && *p != 'e') n.digits[n.count++] = *p++;
  ++p;  // 'e'
  const bool negative = p < end && *p == '-';
  if (p < end && (*p == '-' || *p == '+')) ++p;
  int exp10 = 0;
  while (p < end) exp10 = exp10 * 10 + (*p++ - '0');
  n.exponent = (negative ? -exp10 : exp10) + 1;
}

// Powers of ten a double holds exactly.
constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The 15 significant digits of a value from 1e-8 to below 1e37 by one exact multiplication or
// division: the product is within 0.0625 of the true scaled value, so its rounding to an
// integer is the true one unless its fraction lies near a half. False in that case and out
// of range; the caller then converts exactly.
bool QuickFifteenDigits(double magnitude, DecimalNumber& n) {
  if (!(magnitude >= 1e-8 && magnitude < 1e37)) return false;
  int e10 = 0;  // about floor(log10(magnitude)); a miss by one is caught below
  if (magnitude >= 1) {
    while (e10 < 22 && magnitude >= kExactPowers[e10 + 1]) ++e10;
    if (e10 == 22) while (magnitude >= 1e23 * kExactPowers[e10 - 22]) ++e10;
  } else {
    while (magnitude * kExactPowers[-e10 + 1] < 10) --e10;
  }
  const int shift = 14 - e10;  // scale so that 15 digits stand before the point
  if (shift > 22 || shift < -22) return false;
  const double scaled = shift >= 0 ? magnitude * kExactPowers[shift] : magnitude / kExactPowers[-shift];
  const double whole = std::floor(scaled);
  const double fraction = scaled - whole;
  if (fraction > 0.43 && fraction < 0.57) return false;
  uint64_t digits = static_cast<uint64_t>(whole) + (fraction >= 0.57 ? 1 : 0);
  if (digits < 100000000000000ull || digits > 1000000000000000ull) return false;
  int exponent = e10 + 1;
  if (digits == 1000000000000000ull) {
    digits /= 10;
    ++exponent;
  }
  for (int i = 14; i >= 0; --i) {
    n.digits[i] = static_cast<char>('0' + digits % 10);
    digits /= 10;
  }
  n.count = 15;
  n.exponent = exponent;
  return true;
}

}  // namespace

DecimalNumber DecimalFromDouble(double value) {
  DecimalNumber n;
  if (value == 0 || !std::isfinite(value)) return n;
  n.negative = value < 0;
  const double magnitude = std::fabs(value);
  if (!QuickFifteenDigits(magnitude, n)) {
    char buf[40];
    const auto result = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 14);
    ReadScientific(buf, result.ptr, n);
  }
  StripTrailingZeros(n);
  return n;
}

DecimalNumber DecimalFromInt64(int64_t value) {
  DecimalNumber n;
  if (value == 0) return n;
  n.negative = value < 0;
  uint64_t magnitude = n.negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  char reversed[24];
  int length = 0;
  while (magnitude != 0) {
    reversed[length++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  }
  for (int i = 0; i < length; ++i) n.digits[i] = reversed[length - 1 - i];
  n.count = length;
  n.exponent = length;
  StripTrailingZeros(n);
  return n;
}

void RoundDecimal(DecimalNumber& n, int kept) {
  if (n.count <= kept) return;
  if (kept < 0) {
    n.count = 0;
    n.exponent = 0;
    return;
  }
  const bool up = n.digits[kept] >= '5';
  n.count = kept;
  if (up) {
    int i = kept - 1;
    while (i >= 0 && n.digits[i] == '9') --i;
    if (i < 0) {  // 999.. becomes 1000..
      n.digits[0] = '1';
      n.count = 1;
      ++n.exponent;
      return;
    }
    ++n.digits[i];
    n.count = i + 1;
  }
  StripTrailingZeros(n);
}

bool TryDecimalFromText(std::string_view text, char decimalSeparator, DecimalNumber& out) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  DecimalNumber n;
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) n.negative = text[i++] == '-';
  bool sawDigit = false, sawPoint = false;
  int leadingZeros = 0;   // zeros after the point before the first significant digit
  int integerDigits = 0;  // significant digits before the point
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      sawDigit = true;
      if (n.count == 0 && c == '0') {
        if (sawPoint) ++leadingZeros;
        continue;
      }
      if (n.count >= 15) return false;  // more digits than a double keeps: read it as one
      n.digits[n.count++] = c;
      if (!sawPoint) ++integerDigits;
    } else if (c == decimalSeparator && !sawPoint) {
      sawPoint = true;
    } else {
      break;
    }
  }
  if (!sawDigit) return false;
  int exp10 = 0;
  if (i < text.size()) {
    if (text[i] != 'e' && text[i] != 'E') return false;
    ++i;
    bool negativeExp = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negativeExp = text[i++] == '-';
    if (i == text.size()) return false;
    for (; i < text.size(); ++i) {
      if (text[i] < '0' || text[i] > '9') return false;
      exp10 = exp10 * 10 + (text[i] - '0');
      if (exp10 > 300) return false;  // near the end of the double range: read it as one
    }
    if (negativeExp) exp10 = -exp10;
  }
  n.exponent = (integerDigits > 0 ? integerDigits : -leadingZeros) + exp10;
  StripTrailingZeros(n);
  if (n.count == 0) n.negative = false;
  out = n;
  return true;
}

}  // namespace vantrix
