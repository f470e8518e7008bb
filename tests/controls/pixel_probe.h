#pragma once
// Probes for rendered controls: where a needle points, whether a colour appears, whether
// painting warned.
#include <QImage>
#include <QtGlobal>
#include <QPoint>
#include <QRect>
#include <cmath>
#include <numbers>
#include <optional>

#include "controls/tcolor.h"

namespace probe {

// A colour value as the 0xRRGGBB a rendered pixel has.
inline QRgb Rgb(draw::TColor color) { return draw::ToRgb(color); }

inline QRgb Rgb(const QImage& image, QPoint p) {
  if (!image.rect().contains(p)) return 0xFFFFFFFF;
  return image.pixel(p) & 0xFFFFFF;
}

inline QRgb Rgb(const QImage& image, int x, int y) { return Rgb(image, QPoint(x, y)); }

// The screen direction (degrees counter-clockwise from the right, in [0, 360)) in which
// pixels of `colour` cross the circle of `radius` around `centre`; none when no pixel does.
inline std::optional<double> Direction(const QImage& image, QPoint centre, double radius, QRgb colour) {
  double sumX = 0, sumY = 0;
  int hits = 0;
  for (int step = 0; step < 1440; ++step) {
    const double angle = step * std::numbers::pi / 720.0;
    const int x = static_cast<int>(std::lround(centre.x() + radius * std::cos(angle)));
    const int y = static_cast<int>(std::lround(centre.y() - radius * std::sin(angle)));
    if (Rgb(image, x, y) == (colour & 0xFFFFFF)) {
      sumX += std::cos(angle);
      sumY += std::sin(angle);
      ++hits;
    }
  }
  if (hits == 0) return std::nullopt;
  double degrees = std::atan2(sumY, sumX) * 180.0 / std::numbers::pi;
  return degrees < 0 ? degrees + 360.0 : degrees;
}

inline int Count(const QImage& image, QRgb colour, QRect area = QRect()) {
  if (area.isNull()) area = image.rect();
  area = area.intersected(image.rect());
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) ++count;
    }
  }
  return count;
}

// The smallest rectangle holding every pixel for which `ink` holds; null when there is none.
template <typename Ink>
QRect Bounds(const QImage& image, Ink ink) {
  QRect bounds;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (ink(image.pixel(x, y) & 0xFFFFFF)) bounds |= QRect(x, y, 1, 1);
    }
  }
  return bounds;
}

// The smallest rectangle holding every pixel of `colour`.
inline QRect Bounds(const QImage& image, QRgb colour) {
  return Bounds(image, [colour](QRgb pixel) { return pixel == (colour & 0xFFFFFF); });
}

// Difference between two directions in degrees, in [0, 180].
inline double AngleDistance(double a, double b) {
  const double d = std::fmod(std::fabs(a - b), 360.0);
  return d > 180.0 ? 360.0 - d : d;
}

// Counts Qt warnings while it lives (a painter on an empty device warns, for one).
class WarningCounter {
 public:
  WarningCounter() : previous_(qInstallMessageHandler(&Handle)) { count = 0; }
  ~WarningCounter() { qInstallMessageHandler(previous_); }
  static inline int count = 0;

 private:
  static void Handle(QtMsgType type, const QMessageLogContext&, const QString&) {
    if (type != QtDebugMsg && type != QtInfoMsg) ++count;
  }
  QtMessageHandler previous_;
};

}  // namespace probe
