#include "controls/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace draw {

namespace {

constexpr int kMaxDigits = 18;

// The decimal digits of |value| and the count of digits before the decimal mark, like
// 0.d1d2d3... x 10^exponent. Empty digits mean zero.
struct DecimalDigits {
  std::string digits;
  int exponent = 0;
  bool negative = false;
};

DecimalDigits ToDecimal(double value) {
  DecimalDigits result;
  result.negative = std::signbit(value);
  if (value == 0.0) return result;
  char buffer[64];
  // 18 significant digits, correctly rounded, independent of the locale.
  const auto conversion =
      std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, kMaxDigits - 1);
  const std::string text(buffer, conversion.ptr);
  const auto e = text.find('e');
  for (size_t i = 0; i < e; ++i) {
    if (text[i] >= '0' && text[i] <= '9') result.digits.push_back(text[i]);
  }
  result.exponent = std::atoi(text.c_str() + e + 1) + 1;
  return result;
}

// Keeps `keep` leading digits, rounding half up on the first dropped one.
void RoundDigits(DecimalDigits& number, int keep) {
  if (keep >= static_cast<int>(number.digits.size())) return;
  if (keep < 0) {
    number.digits.clear();
    return;
  }
  const bool up = number.digits[static_cast<size_t>(keep)] >= '5';
  number.digits.resize(static_cast<size_t>(keep));
  if (up) {
    int i = keep - 1;
    while (i >= 0 && number.digits[static_cast<size_t>(i)] == '9') {
      number.digits[static_cast<size_t>(i)] = '0';
      --i;
    }
    if (i >= 0) {
      ++number.digits[static_cast<size_t>(i)];
    } else {
      // All kept digits were nines: the number becomes the next power of ten.
      number.digits.assign(1, '1');
      ++number.exponent;
    }
  }
  while (!number.digits.empty() && number.digits.back() == '0') number.digits.pop_back();
}

std::string ExponentForm(const DecimalDigits& number) {
  std::string text;
  if (number.negative) text.push_back('-');
  text.push_back(number.digits[0]);
  if (number.digits.size() > 1) {
    text.push_back('.');
    text.append(number.digits, 1);
  }
  text.push_back('E');
  text += std::to_string(number.exponent - 1);
  return text;
}

}  // namespace

std::string FloatToStrFixed(double value, int precision, int digits) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  precision = std::clamp(precision, 1, kMaxDigits);
  digits = std::clamp(digits, 0, kMaxDigits);

  DecimalDigits number = ToDecimal(value);
  RoundDigits(number, std::min(precision, number.exponent + digits));
  if (number.digits.empty()) {
    number.exponent = 0;
    number.negative = false;
  }
  if (number.exponent > precision) return ExponentForm(number);

  auto digitAt = [&](int position) -> char {
    if (position < 0 || position >= static_cast<int>(number.digits.size())) return '0';
    return number.digits[static_cast<size_t>(position)];
  };
  std::string text;
  if (number.negative) text.push_back('-');
  if (number.exponent <= 0) {
    text.push_back('0');
  } else {
    for (int i = 0; i < number.exponent; ++i) text.push_back(digitAt(i));
  }
  if (digits > 0) {
    text.push_back('.');
    for (int i = 0; i < digits; ++i) text.push_back(digitAt(number.exponent + i));
  }
  return text;
}

std::string FormatFixed(double value, int digits) { return FloatToStrFixed(value, kMaxDigits, digits); }

}  // namespace draw
