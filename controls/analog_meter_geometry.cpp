#include "controls/analog_meter_geometry.h"

#include <charconv>
#include <cmath>
#include <numbers>
#include <string>

#include "controls/decimal_mark.h"
#include "controls/number_text.h"
#include "controls/rounding.h"

namespace meter {

namespace {

constexpr double kRadians = std::numbers::pi / 180.0;

// The value a number text of ours reads, its rounding included.
double ReadsAs(const std::string& text) {
  double value = 0.0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// An abbreviated label: the letter in place of the decimal mark, or after the number.
QString WithLetter(std::string text, char letter) {
  const auto mark = text.find('.');
  if (mark == std::string::npos) {
    text.push_back(letter);
  } else {
    text[mark] = letter;
  }
  return QString::fromStdString(text);
}

}  // namespace

Layout OptimizeSizes(int width, int height, int textHeight, double startAngle) {
  Layout layout;
  layout.border = (width + height) / 40;
  const int b = layout.border;
  const int h = height - 2 * b - (textHeight + 2);
  const int w = width - 2 * b;
  int r = h;
  if (startAngle < 90) {
    const double s = std::sin(startAngle * kRadians);
    const double c = w * std::cos(startAngle * kRadians) / 2.0;
    // The dial's height for vertical radius k.
    auto dialHeight = [&](int k) {
      const double kk = k;
      return kk + kk * c / std::sqrt(kk * kk * s * s + c * c);
    };
    int k = h / 2;
    // Bounded by h: the dial is never taller than its vertical radius needs to be, and
    // degenerate widths (where the height stops growing) cannot loop forever.
    while (k <= h && h > dialHeight(k)) ++k;
    r = k - 1;
  }
  const int shrink = (width + height) / 25;
  layout.cx = width / 2;
  layout.cy = b + r;
  layout.outerA = layout.cx - b;
  layout.outerB = r;
  layout.innerA = layout.outerA - shrink;
  layout.innerB = r - shrink;
  return layout;
}

QPoint EllipsePoint(double theta, double a, double c) {
  double rho = 0.0;
  if (a >= 1 && c > 0) {
    const double s = std::sin(theta * kRadians);
    const double co = std::cos(theta * kRadians);
    rho = a * c / std::sqrt(c * c * s * s + a * a * co * co);
  }
  return QPoint(draw::Round(-std::sin(theta * kRadians) * rho), draw::Round(std::cos(theta * kRadians) * rho));
}

bool IsUsableScale(double minValue, double maxValue, bool logScale) {
  if (!std::isfinite(minValue) || !std::isfinite(maxValue) || !(maxValue > minValue)) return false;
  return !logScale || minValue > 0;
}

double ValueAngle(double value, double minValue, double maxValue, int range, double startAngle, bool logScale) {
  if (!IsUsableScale(minValue, maxValue, logScale) || !std::isfinite(value)) return startAngle;
  double angle;
  if (logScale) {
    if (!(value > 0)) return startAngle;
    angle = std::log(value / minValue) * range / std::log(maxValue / minValue) + startAngle;
  } else {
    angle = (value - minValue) * range / (maxValue - minValue) + startAngle;
  }
  return std::isfinite(angle) ? angle : startAngle;
}

double TickAngle(int j, int count, int range, double startAngle) {
  if (count < 2) return startAngle;
  return static_cast<double>(range) * j / (count - 1) + startAngle;
}

double TickValue(int j, int count, double minValue, double maxValue, bool logScale) {
  if (count < 2) return minValue;
  const double fraction = static_cast<double>(j) / (count - 1);
  if (logScale) return minValue * std::pow(maxValue / minValue, fraction);
  return minValue + (maxValue - minValue) * fraction;
}

QString TickLabel(double value, int precision, int digits, bool abbreviate, const QString& decimalMark) {
  const std::string plain = draw::FloatToStrFixed(value, precision, digits);
  if (abbreviate && std::isfinite(value)) {
    const double reads = ReadsAs(plain);
    if (reads >= 1000.0) {
      // In thousands, unless that text itself reads a thousand (999999.96 with one decimal).
      const std::string thousands = draw::FloatToStrFixed(value / 1000.0, precision, digits);
      if (reads < 1000000.0 && ReadsAs(thousands) < 1000.0) return WithLetter(thousands, 'k');
      return WithLetter(draw::FloatToStrFixed(value / 1000000.0, precision, digits), 'M');
    }
  }
  return draw::WithDecimalMark(plain, decimalMark);
}

QPoint LabelTopLeft(QPoint p, double theta, int textWidth, int textHeight) {
  if (theta <= 45 || theta >= 315) {  // bottom
    const double f = theta <= 45 ? (45 - theta) / 90 : 1 - (theta - 315) / 90;
    return QPoint(p.x() - draw::Trunc(f * textWidth), p.y() - textHeight);
  }
  if (theta < 135) {  // left
    const double f = 1 - (theta - 45) / 90;
    return QPoint(p.x(), p.y() - draw::Trunc(f * textHeight));
  }
  if (theta <= 225) {  // top
    const double f = (theta - 135) / 90;
    return QPoint(p.x() - draw::Trunc(f * textWidth), p.y());
  }
  const double f = (theta - 225) / 90;  // right
  return QPoint(p.x() - textWidth, p.y() - draw::Trunc(f * textHeight));
}

}  // namespace meter
