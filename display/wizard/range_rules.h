#pragma once
// The rules behind the wizard's numeric edits, without widgets: reading what the user typed,
// moving a range's partner when a new minimum or maximum would pass it, the digit and segment
// counts, and the visible period of a chart.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wizard {

// The limits of an up-down control.
struct UpDownLimits {
  int32_t min = 0;
  int32_t max = 100;
};

// A decimal number as typed, "." or "," as decimal mark, blanks around it allowed.
std::optional<double> ParseTypedNumber(std::string_view text);

// A typed number as an up-down position: clamped into the up-down's limits first, then the
// fraction cut, so that no text (1e20, 99999999999) overflows. Nothing when not a number.
std::optional<int32_t> TypedPosition(std::string_view text, UpDownLimits limits);

// A range as its two up-downs hold it.
struct RangePair {
  int32_t min = 0;
  int32_t max = 100;
  friend bool operator==(const RangePair&, const RangePair&) = default;
};

// A new minimum: when it reaches the maximum, the maximum moves to one above it. Nothing when
// the maximum's up-down cannot go there: the minimum is refused and the old one stays, so the
// range never closes to zero width.
std::optional<RangePair> WithNewMinimum(RangePair range, int32_t newMinimum, UpDownLimits limits);
// A new maximum: when it reaches the minimum, the minimum moves to one below it.
std::optional<RangePair> WithNewMaximum(RangePair range, int32_t newMaximum, UpDownLimits limits);

// The dial gauge's zones after its range moved: a zone whose threshold falls outside the new
// range goes off, and the middle zone with it when the other threshold is outside as well.
struct DialZonesOff {
  bool low = false;
  bool mid = false;
  bool high = false;
};
DialZonesOff DialZonesAfterMinimum(int32_t newMinimum, int32_t lowThreshold, int32_t highThreshold);
DialZonesOff DialZonesAfterMaximum(int32_t newMaximum, int32_t lowThreshold, int32_t highThreshold);

// A digit or segment count as typed: a whole number within the limits, else nothing.
std::optional<int32_t> ParseCount(std::string_view text, UpDownLimits limits);

// The chart's visible period as the period edit shows it, "hh:mm:ss" ("_" for a blank).
// Nothing unless hours, minutes and seconds are numbers below 24, 60 and 60.
std::optional<double> ParsePeriod(std::string_view text);  // days
std::string PeriodText(double days);                        // "%.2d:%.2d:%.2d" of its time of day

// Points one preview line keeps for a visible period: one a second, and one more.
int64_t PointsToKeep(double visiblePeriodDays);

}  // namespace wizard
