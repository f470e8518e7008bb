#pragma once
// Where the dial gauge puts its scale, ticks, labels and needle. All lengths are in pixels
// of the (possibly supersampled) bitmap; scale angles are degrees from the scale start,
// growing clockwise on screen.
#include <QPoint>
#include <QString>

namespace dial {

// Same order as TDialGauge::TStyle.
enum class Layout { Left, Right, Center };

struct Geometry {
  double startAngle = 0;  // S: a scale angle a lies at screen angle a + S measured from the left
  double cx = 0;          // centre for the trigonometry
  int cxInt = 0;          // centre where an integer is needed (hub, arcs)
  int cy = 0;
  int radius = 0;
  int sweep = 0;          // the sweep actually drawn (quarter dials sweep at most 90)
};

// The sweep a layout allows: quarter dials are limited to 90 degrees.
int EffectiveSweep(Layout layout, int angle);

Geometry Compute(Layout layout, int width, int height, int margin, int angle);

// Scale angle of a value on a scale minValue..maxValue of `sweep` degrees. A scale whose
// maximum is not above its minimum, or a non-finite value, gives the scale start.
double ValueAngle(double value, int minValue, int maxValue, int sweep);

// The same, limited to the scale (0..sweep).
double ClampedValueAngle(double value, int minValue, int maxValue, int sweep);

// Point at a scale angle and radius, rounded to the nearest pixel.
QPoint PointAt(const Geometry& geometry, double scaleAngle, double radius);

// The on-screen direction of a scale angle: degrees counter-clockwise from the right.
double ScreenDirection(const Geometry& geometry, double scaleAngle);

// Label of main tick i of n: minValue + ((maxValue - minValue) * i) div n.
QString LabelText(int minValue, int maxValue, int i, int n);

// Anchor of that label: its top edge and horizontal centre. The horizontal radius shrinks by
// i pixels more than the vertical one (unscaled, as is the 5-pixel gap).
QPoint LabelAnchor(const Geometry& geometry, double scaleAngle, int lengthMainTicks, int i);

}  // namespace dial
