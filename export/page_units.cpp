#include "export/page_units.h"

#include <cmath>
#include <iterator>
#include <limits>

#include "export/library_strings.h"

namespace vantrix {
namespace {

struct PageFormat {
  int nameId;
  double width, height;
};

constexpr PageFormat kPageFormats[] = {
    {34026, 8.5, 11},    {34027, 8.5, 14},   {34028, 11.69, 16.54}, {34029, 8.27, 11.69}, {34030, 5.83, 8.27},
    {34031, 7.17, 10.12}, {34032, 14.88, 11}, {34033, 8.5, 12},      {34034, 8.27, 11.69},
};

const PageFormat* Find(TVantrixPageFormat format) {
  const int i = static_cast<int>(format);
  return i >= 0 && i < static_cast<int>(std::size(kPageFormats)) ? &kPageFormats[i] : nullptr;
}

// Whole numbers beyond an int's range stop at its ends instead of wrapping.
int ToInt(double x) {
  if (std::isnan(x)) return 0;
  if (x >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (x <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return static_cast<int>(x);
}

}  // namespace

// Not std::rint: the result must not depend on the floating-point rounding mode.
double RoundHalfEven(double x) {
  if (!std::isfinite(x)) return x;
  const double floor = std::floor(x);
  const double diff = x - floor;
  if (diff < 0.5) return floor;
  if (diff > 0.5) return floor + 1;
  return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

int InchToDot(double inches) { return ToInt(RoundHalfEven(inches * 72)); }
int MMToDot(double millimetres) { return ToInt(RoundHalfEven(millimetres / 25.4 * 72)); }
double DotToInch(int dots) { return dots / 72.0; }
double DotToMM(int dots) { return dots / 72.0 * 25.4; }

int Units2Dot(TVantrixUnits units, double value) {
  switch (units) {
    case unInch: return InchToDot(value);
    case unMillimeter: return MMToDot(value);
    default: return ToInt(RoundHalfEven(value));
  }
}

double Dot2Units(TVantrixUnits units, int dots) {
  switch (units) {
    case unInch: return RoundFraction(DotToInch(dots), 2);
    case unMillimeter: return RoundHalfEven(DotToMM(dots));
    default: return dots;
  }
}

double RoundFraction(double x, int places) {
  const double scale = std::pow(10.0, places);
  return RoundHalfEven(x * scale) / scale;
}

std::string GetPageFormatString(TVantrixPageFormat format) {
  const PageFormat* f = Find(format);
  return f ? VantrixLoadStr(f->nameId) : std::string();
}

double GetPageFormatInchWidth(TVantrixPageFormat format) {
  const PageFormat* f = Find(format);
  return f ? f->width : 8.27;
}

double GetPageFormatInchHeight(TVantrixPageFormat format) {
  const PageFormat* f = Find(format);
  return f ? f->height : 11.69;
}

}  // namespace vantrix
