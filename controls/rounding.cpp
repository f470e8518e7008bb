#include "controls/rounding.h"

#include <cmath>
#include <limits>

namespace draw {

namespace {

template <typename Int>
Int Saturate(double whole) {
  // whole is already integral (or NaN/inf); compare in double before converting.
  if (std::isnan(whole)) return 0;
  constexpr double kMax = static_cast<double>(std::numeric_limits<Int>::max());
  constexpr double kMin = static_cast<double>(std::numeric_limits<Int>::min());
  if (whole >= kMax) return std::numeric_limits<Int>::max();
  if (whole <= kMin) return std::numeric_limits<Int>::min();
  return static_cast<Int>(whole);
}

double RoundHalfEven(double value) {
  if (!std::isfinite(value)) return value;
  const double floor = std::floor(value);
  const double fraction = value - floor;
  if (fraction > 0.5) return floor + 1.0;
  if (fraction < 0.5) return floor;
  return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

}  // namespace

int Round(double value) { return Saturate<int>(RoundHalfEven(value)); }
int64_t Round64(double value) { return Saturate<int64_t>(RoundHalfEven(value)); }
int Trunc(double value) { return Saturate<int>(std::trunc(value)); }
int64_t Trunc64(double value) { return Saturate<int64_t>(std::trunc(value)); }

int Div(int numerator, int denominator) {
  if (denominator == 0) return 0;
  if (denominator == -1) return numerator == std::numeric_limits<int>::min() ? std::numeric_limits<int>::max() : -numerator;
  return numerator / denominator;
}

int64_t Div64(int64_t numerator, int64_t denominator) {
  if (denominator == 0) return 0;
  if (denominator == -1) {
    return numerator == std::numeric_limits<int64_t>::min() ? std::numeric_limits<int64_t>::max() : -numerator;
  }
  return numerator / denominator;
}

}  // namespace draw
