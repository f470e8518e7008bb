#include "display/wizard/range_rules.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/datetime.h"
#include "platform/text_trim.h"

namespace wizard {

std::optional<double> ParseTypedNumber(std::string_view text) {
  std::string s = platform::TrimBlanks(text);
  std::replace(s.begin(), s.end(), ',', '.');
  if (s.empty()) return std::nullopt;
  double value = 0;
  const char* first = s.data();
  if (*first == '+') ++first;
  const auto [end, error] = std::from_chars(first, s.data() + s.size(), value);
  if (error != std::errc() || end != s.data() + s.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<int32_t> TypedPosition(std::string_view text, UpDownLimits limits) {
  const std::optional<double> v = ParseTypedNumber(text);
  if (!v) return std::nullopt;
  const double clamped = std::clamp(*v, static_cast<double>(limits.min), static_cast<double>(limits.max));
  return static_cast<int32_t>(std::trunc(clamped));
}

std::optional<RangePair> WithNewMinimum(RangePair range, int32_t newMinimum, UpDownLimits limits) {
  if (newMinimum >= range.max) {
    if (static_cast<int64_t>(newMinimum) + 1 > limits.max) return std::nullopt;
    range.max = newMinimum + 1;
  }
  range.min = newMinimum;
  return range;
}

std::optional<RangePair> WithNewMaximum(RangePair range, int32_t newMaximum, UpDownLimits limits) {
  if (newMaximum <= range.min) {
    if (static_cast<int64_t>(newMaximum) - 1 < limits.min) return std::nullopt;
    range.min = newMaximum - 1;
  }
  range.max = newMaximum;
  return range;
}

DialZonesOff DialZonesAfterMinimum(int32_t newMinimum, int32_t lowThreshold, int32_t highThreshold) {
  DialZonesOff off;
  off.low = lowThreshold <= newMinimum;
  off.mid = off.low && highThreshold <= newMinimum;
  return off;
}

DialZonesOff DialZonesAfterMaximum(int32_t newMaximum, int32_t lowThreshold, int32_t highThreshold) {
  DialZonesOff off;
  off.high = highThreshold >= newMaximum;
  off.mid = off.high && lowThreshold >= newMaximum;
  return off;
}

std::optional<int32_t> ParseCount(std::string_view text, UpDownLimits limits) {
  const std::string s = platform::TrimBlanks(text);
  int32_t value = 0;
  const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (s.empty() || error != std::errc() || end != s.data() + s.size()) return std::nullopt;
  if (value < limits.min || value > limits.max) return std::nullopt;
  return value;
}

namespace {

std::optional<int> PeriodPart(std::string_view text, size_t at) {
  if (at + 2 > text.size()) return std::nullopt;
  std::string part(text.substr(at, 2));
  std::replace(part.begin(), part.end(), '_', ' ');
  part = platform::TrimBlanks(part);
  int value = 0;
  const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
  if (part.empty() || error != std::errc() || end != part.data() + part.size()) return std::nullopt;
  return value;
}

}  // namespace

std::optional<double> ParsePeriod(std::string_view text) {
  const auto h = PeriodPart(text, 0);
  const auto m = PeriodPart(text, 3);
  const auto s = PeriodPart(text, 6);
  if (!h || !m || !s) return std::nullopt;
  TDateTime t = 0;
  if (!platform::TryEncodeTime(*h, *m, *s, 0, t)) return std::nullopt;
  return t;
}

std::string PeriodText(double days) {
  platform::TimeParts t;
  platform::DecodeTime(days, t);
  char text[16];
  std::snprintf(text, sizeof text, "%.2d:%.2d:%.2d", t.hour, t.minute, t.second);
  return text;
}

int64_t PointsToKeep(double visiblePeriodDays) {
  platform::TimeParts t;
  platform::DecodeTime(visiblePeriodDays, t);
  return static_cast<int64_t>(t.hour) * 3600 + t.minute * 60 + t.second + 1;
}

}  // namespace wizard
