#pragma once
// Number to text conversions of the indicator controls and display windows. Always '.' as
// decimal mark, never the locale's.
#include <string>

namespace draw {

// Fixed-point text with at most `precision` significant digits (1..18) and exactly `digits`
// decimals (0..18); both are clamped into range. The value is first written with 18
// significant digits and then rounded half away from zero in decimal, so 0.125 with two
// decimals reads "0.13" while 2.675 (just below in binary) reads "2.67". A value whose
// integer part needs more than `precision` digits is written in exponent form instead
// (1E20, 1.5E-7 style: significant digits without trailing zeros, "E", exponent without
// sign or leading zeros unless negative). A result that rounds to zero carries no minus
// sign. NaN gives "NAN", infinities "INF" and "-INF".
std::string FloatToStrFixed(double value, int precision, int digits);

// The "%.*f" form of format strings: FloatToStrFixed with 18 significant digits.
std::string FormatFixed(double value, int digits);

}  // namespace draw
