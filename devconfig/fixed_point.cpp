#include "devconfig/fixed_point.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "platform/text_trim.h"

namespace devconfig {
namespace {

// The digits of a fixed-point text with its mark taken out, and the count after the mark.
struct Unmarked {
  std::string digits;
  size_t decimals = 0;
};

std::optional<Unmarked> TakeOutMark(std::string_view text) {
  const bool point = text.find('.') != std::string_view::npos;
  const bool comma = text.find(',') != std::string_view::npos;
  if (text.empty() || (point && comma)) return std::nullopt;
  const char mark = point ? '.' : ',';
  const size_t at = text.find(mark);
  if (at == std::string_view::npos) return Unmarked{std::string(text), 0};
  if (text.find(mark, at + 1) != std::string_view::npos) return std::nullopt;
  Unmarked u;
  u.decimals = text.size() - at - 1;
  u.digits = std::string(text.substr(0, at));
  u.digits += text.substr(at + 1);
  return u;
}

// A signed decimal integer: an optional sign and at least one digit, nothing else.
template <typename Int>
std::optional<Int> ParseInteger(std::string_view digits) {
  const bool plus = !digits.empty() && digits.front() == '+';
  if (plus) digits.remove_prefix(1);
  if (digits.empty() || (plus && digits.front() == '-')) return std::nullopt;
  Int value{};
  const char* end = digits.data() + digits.size();
  const auto [ptr, ec] = std::from_chars(digits.data(), end, value);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

template <typename Int, typename Result>
std::optional<Result> Parse(std::string_view text) {
  const std::string trimmed = platform::TrimBlanks(text);
  // A sign stands first or not at all (".-5" is no number).
  if (trimmed.find_first_of("+-", 1) != std::string::npos) return std::nullopt;
  const std::optional<Unmarked> u = TakeOutMark(trimmed);
  if (!u || u->decimals > std::numeric_limits<uint16_t>::max()) return std::nullopt;
  const std::optional<Int> raw = ParseInteger<Int>(u->digits);
  if (!raw) return std::nullopt;
  return Result{*raw, static_cast<uint16_t>(u->decimals)};
}

}  // namespace

std::string FormatFixedPoint(int64_t value, uint16_t decimals, char mark) {
  const bool negative = value < 0;
  // Through the unsigned magnitude, so the most negative value has one too.
  const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  std::string digits = std::to_string(magnitude);
  if (digits.size() <= decimals) digits.insert(0, decimals + 1 - digits.size(), '0');
  if (decimals > 0) digits.insert(digits.size() - decimals, 1, mark);
  return negative ? "-" + digits : digits;
}

std::optional<FixedPoint> ParseFixedPoint(std::string_view text) { return Parse<int32_t, FixedPoint>(text); }

std::optional<FixedPoint64> ParseFixedPoint64(std::string_view text) { return Parse<int64_t, FixedPoint64>(text); }

std::string FormatUnsigned(uint32_t value) { return std::to_string(value); }

std::optional<double> ParseFloatText(std::string_view text) {
  std::string s = platform::TrimBlanks(text);
  const bool point = s.find('.') != std::string::npos;
  const size_t comma = s.find(',');
  if (point && comma != std::string::npos) return std::nullopt;
  if (comma != std::string::npos) s[comma] = '.';
  // Digits, one mark, one exponent: from_chars alone would also take "inf", "nan" and hex.
  size_t i = 0;
  auto digitsFrom = [&s](size_t& at) {
    const size_t first = at;
    while (at < s.size() && s[at] >= '0' && s[at] <= '9') ++at;
    return at - first;
  };
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
  size_t mantissa = digitsFrom(i);
  if (i < s.size() && s[i] == '.') {
    ++i;
    mantissa += digitsFrom(i);
  }
  if (mantissa == 0) return std::nullopt;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
    if (digitsFrom(i) == 0) return std::nullopt;
  }
  if (i != s.size()) return std::nullopt;
  const char* first = s.data() + (s[0] == '+' ? 1 : 0);
  double value = 0;
  const auto [ptr, ec] = std::from_chars(first, s.data() + s.size(), value);
  if (ec != std::errc() || ptr != s.data() + s.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::string FormatDecimals(double value, int decimals, char mark) {
  if (!std::isfinite(value)) return std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF");
  char text[400];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  std::string s = text;
  if (s.front() == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
  if (const size_t at = s.find('.'); at != std::string::npos) s[at] = mark;
  return s;
}

std::string FormatScale(double value, char mark) {
  std::string s = FormatDecimals(value, 8, '.');
  const size_t at = s.find('.');
  if (at == std::string::npos) return s;  // not finite
  size_t end = s.size();
  while (end > at + 2 && s[end - 1] == '0') --end;
  s.resize(end);
  s[at] = mark;
  return s;
}

}  // namespace devconfig
