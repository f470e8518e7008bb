#include "controls/dial_gauge_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "controls/rounding.h"

namespace dial {

namespace {
constexpr double kRadians = std::numbers::pi / 180.0;
}

int EffectiveSweep(Layout layout, int angle) {
  if (layout != Layout::Center && angle > 90) return 90;
  return angle;
}

Geometry Compute(Layout layout, int width, int height, int margin, int angle) {
  Geometry g;
  g.sweep = EffectiveSweep(layout, angle);
  switch (layout) {
    case Layout::Left:
      g.startAngle = 90;
      g.cx = margin;
      g.cxInt = margin;
      g.cy = height - margin;
      g.radius = width - 2 * margin;
      break;
    case Layout::Right:
      g.startAngle = 0;
      g.cx = width - margin;
      g.cxInt = width - margin;
      g.cy = height - margin;
      g.radius = width - 2 * margin;
      break;
    case Layout::Center:
      g.startAngle = (180.0 - g.sweep) / 2.0;
      g.cx = width / 2.0;
      g.cxInt = draw::Div(width, 2);
      if (g.sweep < 180) {
        const double cosS = std::cos(g.startAngle * kRadians);
        g.radius = draw::Round(((width - 2.0 * margin) / 2.0) / cosS);
        g.radius = std::min(g.radius, height - 2 * margin);
        g.cy = draw::Div(height - g.radius, 2) + g.radius;
      } else {
        g.radius = draw::Div(width - 2 * margin, 2);
        g.cy = draw::Div(height, 2);
      }
      break;
  }
  return g;
}

double ValueAngle(double value, int minValue, int maxValue, int sweep) {
  if (maxValue <= minValue || !std::isfinite(value)) return 0.0;
  const double span = static_cast<double>(maxValue) - static_cast<double>(minValue);
  return (value - minValue) * sweep / span;
}

double ClampedValueAngle(double value, int minValue, int maxValue, int sweep) {
  return std::clamp(ValueAngle(value, minValue, maxValue, sweep), 0.0, static_cast<double>(std::max(sweep, 0)));
}

QPoint PointAt(const Geometry& g, double scaleAngle, double radius) {
  const double t = (scaleAngle + g.startAngle) * kRadians;
  return QPoint(draw::Round(g.cx - radius * std::cos(t)), draw::Round(g.cy - radius * std::sin(t)));
}

double ScreenDirection(const Geometry& g, double scaleAngle) { return 180.0 - g.startAngle - scaleAngle; }

QString LabelText(int minValue, int maxValue, int i, int n) {
  const int64_t span = static_cast<int64_t>(maxValue) - minValue;
  return QString::number(static_cast<int64_t>(minValue) + draw::Div64(span * i, n));
}

QPoint LabelAnchor(const Geometry& g, double scaleAngle, int lengthMainTicks, int i) {
  const double t = (scaleAngle + g.startAngle) * kRadians;
  const double vertical = g.radius - lengthMainTicks - 5.0;
  const double horizontal = vertical - i;
  return QPoint(draw::Round(g.cx - std::cos(t) * horizontal), draw::Round(g.cy - std::sin(t) * vertical));
}

}  // namespace dial
