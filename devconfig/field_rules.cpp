#include "devconfig/field_rules.h"

namespace devconfig {

std::optional<FixedPoint> CheckFixedPointField(std::string_view text, RawRange range) {
  const std::optional<FixedPoint> value = ParseFixedPoint(text);
  if (!value || !range.Holds(value->raw) || value->decimals > kMaxTypedDecimals) return std::nullopt;
  return value;
}

std::optional<ChannelFieldTexts> WithDecimalCount(const ChannelFieldTexts& texts, uint16_t decimals, char mark) {
  ChannelFieldTexts out;
  for (size_t i = 0; i < texts.size(); ++i) {
    const std::optional<FixedPoint> value = ParseFixedPoint(texts[i]);
    if (!value) return std::nullopt;
    out[i] = FormatFixedPoint(value->raw, decimals, mark);
  }
  return out;
}

int32_t AmbientOffsetTenths(FixedPoint value) {
  int32_t raw = value.raw;
  if (value.decimals == 0) return raw * 10;
  for (uint16_t d = value.decimals; d > 1; --d) raw /= 10;  // C++ division cuts toward zero
  return raw;
}

std::optional<std::string> StepFixedPointField(std::string_view text, int direction, RawRange range, char mark) {
  const std::optional<FixedPoint> value = ParseFixedPoint(text);
  if (!value) return std::nullopt;
  const int64_t next = int64_t{value->raw} + (direction > 0 ? 1 : -1);
  if (!range.Holds(next)) return std::nullopt;
  return FormatFixedPoint(next, value->decimals, mark);
}

std::optional<int64_t> CheckWholeNumberField(std::string_view text, RawRange range) {
  const std::optional<FixedPoint64> value = ParseFixedPoint64(text);
  if (!value || value->decimals != 0 || !range.Holds(value->raw)) return std::nullopt;
  return value->raw;
}

std::optional<std::string> StepWholeNumberField(std::string_view text, int direction, RawRange range) {
  const std::optional<FixedPoint64> value = ParseFixedPoint64(text);
  // Far outside the range no step can bring it back (and one more would overflow).
  if (!value || value->raw < range.min - 1 || value->raw > range.max + 1) return std::nullopt;
  const int64_t next = value->raw + (direction > 0 ? 1 : -1);
  if (!range.Holds(next)) return std::nullopt;
  return std::to_string(next);
}

}  // namespace devconfig
