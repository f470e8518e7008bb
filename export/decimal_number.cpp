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

DecimalNumber DecimalFromDouble(double value) {
  DecimalNumber n;
  if (value == 0 || !std::isfinite(value)) return n;
  n.negative = value < 0;
  char buf[40];
  // d.dddddddddddddde±x: 15 significant digits, correctly rounded, whatever the C locale.
  const auto result = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 14);
  const char* p = buf;
  n.digits[n.count++] = *p++;
  ++p;  // the point
  while (p < result.ptr && *p != 'e') n.digits[n.count++] = *p++;
  int exp10 = 0;
  std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), result.ptr, exp10);
  n.exponent = exp10 + 1;
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
