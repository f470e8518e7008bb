#pragma once
// Where the analog meter puts its elliptic dial, zones, ticks, labels and needle. Angles are
// degrees measured from straight down, growing clockwise on screen (0 down, 90 left,
// 180 up, 270 right); the scale runs from S to S + range, symmetric about the top.
#include <QPoint>
#include <QString>

namespace meter {

struct Layout {
  int border = 0;  // b
  int cx = 0;
  int cy = 0;
  int outerA = 0;  // outer semi-axes
  int outerB = 0;
  int innerA = 0;  // inner edge of the zone band
  int innerB = 0;
};

// The layout for a control of width x height whose text line is textHeight high and whose
// scale starts at startAngle.
Layout OptimizeSizes(int width, int height, int textHeight, double startAngle);

// Offset from the centre of the point at angle theta on the ellipse with horizontal semi-axis
// a and vertical semi-axis c (none when a < 1 or c <= 0).
QPoint EllipsePoint(double theta, double a, double c);

// The on-screen direction of angle theta: degrees counter-clockwise from the right.
inline double ScreenDirection(double theta) { return 270.0 - theta; }

// A scale over which values can be placed: maximum above minimum, and for a logarithmic
// scale a positive minimum.
bool IsUsableScale(double minValue, double maxValue, bool logScale);

// Angle of a value (linear or logarithmic). An unusable scale or a value outside the domain
// of the logarithm gives the scale start.
double ValueAngle(double value, double minValue, double maxValue, int range, double startAngle, bool logScale);

// Angle of tick j of count (evenly spaced over the scale).
double TickAngle(int j, int count, int range, double startAngle);

// The value a tick label shows: evenly spaced values, or geometrically spaced on a
// logarithmic scale.
double TickValue(int j, int count, double minValue, double maxValue, bool logScale);

// Tick label text: fixed-point with `precision` significant digits and `digits` decimals,
// shown with `decimalMark`. Abbreviated, a label that reads a million or more is written in
// millions with "M" in place of the decimal mark, one that reads a thousand or more in
// thousands with "k" (2500 -> "2k5"); without decimals the letter follows the number ("3k").
// What the label reads decides, rounding included: 999.96 with one decimal reads "1000.0",
// so it is written "1k0".
QString TickLabel(double value, int precision, int digits, bool abbreviate, const QString& decimalMark);

// Top-left corner of a label of size textWidth x textHeight anchored at p for a tick at
// angle theta: the label leans into the dial depending on the side it sits on.
QPoint LabelTopLeft(QPoint p, double theta, int textWidth, int textHeight);

}  // namespace meter
