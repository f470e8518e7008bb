#pragma once
// Rounding of real numbers to integers the way the drawing code expects it, safe for any
// input: NaN gives 0 and values beyond the integer range saturate, so no non-finite or
// oversized number ever reaches an integer conversion.
#include <cstdint>

namespace draw {

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
int Round(double value);
int64_t Round64(double value);

// Towards zero (2.9 -> 2, -2.9 -> -2).
int Trunc(double value);
int64_t Trunc64(double value);

// Integer halving and division that truncate towards zero, like the original's div; a zero
// divisor gives 0 instead of trapping.
int Div(int numerator, int denominator);
int64_t Div64(int64_t numerator, int64_t denominator);

}  // namespace draw
