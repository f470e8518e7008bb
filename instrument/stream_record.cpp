#include "instrument/stream_record.h"

#include <charconv>
#include <cmath>
#include <string>

#include "instrument/reading_float.h"

namespace stream {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Longest number text we accept; anything longer is not what an instrument sends.
constexpr size_t kMaxNumberChars = 40;

}  // namespace

std::optional<double> ParseStreamNumber(std::string_view text) {
  text = TrimBlanks(text);
  if (text.empty() || text.size() > kMaxNumberChars) return std::nullopt;
  char normal[kMaxNumberChars + 1];
  size_t n = 0;
  size_t i = 0;
  if (text[i] == '+' || text[i] == '-') {
    if (text[i] == '-') normal[n++] = '-';
    ++i;
  }
  size_t digits = 0;
  bool mark = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      ++digits;
      normal[n++] = c;
    } else if ((c == '.' || c == ',') && !mark) {
      mark = true;
      normal[n++] = '.';
    } else {
      break;
    }
  }
  if (digits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    normal[n++] = 'e';
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) normal[n++] = text[i++];
    size_t exponentDigits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++exponentDigits) normal[n++] = text[i];
    if (exponentDigits == 0) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;
  double value = 0;
  const auto [end, ec] = std::from_chars(normal, normal + n, value, std::chars_format::general);
  if (ec != std::errc{} || end != normal + n || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<uint32_t> ParseStreamTime(std::string_view text) {
  text = TrimBlanks(text);
  if (text.empty()) return std::nullopt;
  for (char c : text)
    if (!IsDigit(c)) return std::nullopt;
  uint32_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
  if (ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<StreamRecord> ParseStreamRecord(std::string_view body, float errorValue,
                                              std::optional<double> counterScale) {
  StreamRecord record;
  for (size_t field = 0; field < kRecordFields; ++field) {
    const size_t end = body.find(';');
    if (end == std::string_view::npos) return std::nullopt;
    const std::string_view text = TrimBlanks(body.substr(0, end));
    body.remove_prefix(end + 1);
    if (text.empty()) {
      record.values[field] = errorValue;
      continue;
    }
    const auto value = ParseStreamNumber(text);
    const auto converted = value ? device::ToReadingFloat(*value) : std::nullopt;
    if (!converted) return std::nullopt;
    record.values[field] = *converted;
    if (field == kRecordFields - 1 && counterScale) {
      // The factor comes from the instrument's registers: one that puts the count past a
      // float, or is itself no number, gives the error value, as a failed reading does.
      record.values[field] = device::ToReadingFloat(double{*converted} * *counterScale).value_or(errorValue);
    }
  }
  // The instrument ends its time with one more character (the CR of its CR LF).
  if (!body.empty() && !IsDigit(body.back())) body.remove_suffix(1);
  const auto time = ParseStreamTime(body);
  if (!time) return std::nullopt;
  record.time = *time;
  return record;
}

}  // namespace stream
