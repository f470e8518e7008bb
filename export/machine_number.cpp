#include "export/machine_number.h"

#include <charconv>
#include <cmath>

#include "export/format_settings.h"
#include "platform/text_trim.h"

namespace vantrix {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits with at most one decimal mark, an optional sign before and exponent after; written
// into out in the plain form.
bool Plain(std::string_view text, char decimal, char grouping, std::string& out) {
  std::string result;
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') result.push_back('-');
    ++i;
  }
  bool digits = false, point = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      digits = true;
      result.push_back(c);
    } else if (c == decimal && !point) {
      point = true;
      if (!digits) result.push_back('0');
      result.push_back('.');
    } else if (grouping != '\0' && c == grouping && !point && digits) {
      continue;
    } else {
      break;
    }
  }
  if (!digits) return false;
  if (result.back() == '.') result.pop_back();
  if (i < text.size()) {
    if (text[i] != 'e' && text[i] != 'E') return false;
    result.push_back('E');
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) result.push_back(text[i++]);
    const size_t first = i;
    for (; i < text.size() && IsDigit(text[i]); ++i) result.push_back(text[i]);
    if (i == first || i != text.size()) return false;
  }
  // Too large for a double is no number a reader could take either.
  double check = 0;
  const auto [end, ec] = std::from_chars(result.data(), result.data() + result.size(), check);
  if (end != result.data() + result.size() || ec == std::errc::invalid_argument || !std::isfinite(check)) return false;
  if (ec == std::errc::result_out_of_range && std::fabs(check) > 1) return false;
  out = std::move(result);
  return true;
}

}  // namespace

bool MachineNumberText(std::string_view text, const FormatSettings& settings, std::string& out) {
  const std::string trimmed = platform::TrimBlanks(text);
  text = trimmed;
  if (text.empty()) return false;
  const char decimal = settings.decimalSeparator;
  const char grouping = settings.thousandSeparator != decimal ? settings.thousandSeparator : '\0';
  return Plain(text, decimal, '\0', out) || (grouping != '\0' && Plain(text, decimal, grouping, out)) ||
         (decimal != '.' && Plain(text, '.', '\0', out));
}

std::string FixedWidthNumber(double value, int width, int decimals) {
  if (width < 1) return {};
  char buffer[400];
  const auto result = std::isfinite(value) && std::fabs(value) < 1e300
                          ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals)
                          : std::to_chars_result{buffer, std::errc::value_too_large};
  const size_t length = static_cast<size_t>(result.ptr - buffer);
  if (result.ec != std::errc() || length > static_cast<size_t>(width))
    return std::string(static_cast<size_t>(width), '*');
  return std::string(static_cast<size_t>(width) - length, ' ') + std::string(buffer, length);
}

}  // namespace vantrix
