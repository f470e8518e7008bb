#include "controls/gdi_canvas.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainterPath>
#include <QVector>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace draw {

namespace {

constexpr double kDegrees = 180.0 / std::numbers::pi;

// On/off runs of the one-pixel dashed pens, in pixels.
QVector<int> DashRuns(PenStyle style) {
  switch (style) {
    case PenStyle::Dash: return {18, 6};
    case PenStyle::Dot: return {3, 3};
    case PenStyle::DashDot: return {9, 6, 3, 6};
    case PenStyle::DashDotDot: return {9, 3, 3, 3, 3, 3};
    default: return {};
  }
}

// The rectangle through the centres of the outermost pixels of (left, top, right, bottom):
// shapes are filled and stroked on it so that they stay inside the excluded right/bottom edge.
QRectF CentreLineRect(int left, int top, int right, int bottom) {
  return QRectF(left + 0.5, top + 0.5, right - left - 1, bottom - top - 1);
}

// Where a wide pen's centre line runs relative to a pixel coordinate: through the pixel's
// centre for odd widths, along its top-left edge for even ones, so that a pen of width w
// covers w whole pixels (an even pen reaches one pixel further up and left).
double WideLineOffset(int width) { return width % 2 ? 0.5 : 0.0; }

QString StripPrefixes(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('&')) {
      if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) {
        out.append(QLatin1Char('&'));
        ++i;
      }
      continue;
    }
    out.append(text[i]);
  }
  return out;
}

}  // namespace

double ParametricAngle(double screenDegrees, double a, double b) {
  if (!(a > 0.0) || !(b > 0.0)) return screenDegrees;
  const double radians = screenDegrees / kDegrees;
  const double parametric = std::atan2(std::sin(radians) / b, std::cos(radians) / a) * kDegrees;
  // Keep the turn count of the input so that spans stay consistent.
  const double turns = std::floor(screenDegrees / 360.0) * 360.0;
  double result = parametric < 0 ? parametric + 360.0 : parametric;
  return result + turns;
}

double ScreenAngle(double cx, double cy, double x, double y) {
  const double angle = std::atan2(-(y - cy), x - cx) * kDegrees;
  return angle < 0 ? angle + 360.0 : angle;
}

QFont FontWithPixelSize(const QFont& font, int pixels) {
  QFont scaled(font);
  scaled.setPixelSize(pixels < 1 ? 1 : pixels);
  return scaled;
}

int FontPixelSize(const QFont& font) {
  if (font.pixelSize() > 0) return font.pixelSize();
  return QFontInfo(font).pixelSize();
}

GdiCanvas::GdiCanvas(QPainter& painter) : painter_(painter), font_(painter.font()) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
}

void GdiCanvas::SetFont(const QFont& font) {
  font_ = font;
  painter_.setFont(font_);
}

QPen GdiCanvas::QtPen(int widthOverride) const {
  if (!HasPen()) return QPen(Qt::NoPen);
  const int width = widthOverride > 0 ? widthOverride : PenWidth();
  QPen qpen(pen.color);
  if (width <= 1) {
    qpen.setWidth(0);  // cosmetic one-pixel pen
    qpen.setCapStyle(Qt::FlatCap);
    qpen.setJoinStyle(Qt::MiterJoin);
    const QVector<int> runs = DashRuns(pen.style);
    if (!runs.isEmpty()) {
      QVector<qreal> pattern;
      for (int run : runs) pattern.append(run);
      qpen.setDashPattern(pattern);
    }
  } else {
    qpen.setWidth(width);
    qpen.setCapStyle(pen.flatEnds ? Qt::FlatCap : Qt::RoundCap);
    qpen.setJoinStyle(Qt::RoundJoin);
  }
  return qpen;
}

QBrush GdiCanvas::QtBrush() const {
  switch (brush.style) {
    case BrushStyle::Solid: return QBrush(brush.color, Qt::SolidPattern);
    case BrushStyle::Clear: return QBrush(Qt::NoBrush);
    case BrushStyle::Horizontal: return QBrush(brush.color, Qt::HorPattern);
    case BrushStyle::Vertical: return QBrush(brush.color, Qt::VerPattern);
    case BrushStyle::FDiagonal: return QBrush(brush.color, Qt::FDiagPattern);
    case BrushStyle::BDiagonal: return QBrush(brush.color, Qt::BDiagPattern);
    case BrushStyle::Cross: return QBrush(brush.color, Qt::CrossPattern);
    case BrushStyle::DiagCross: return QBrush(brush.color, Qt::DiagCrossPattern);
  }
  return QBrush(Qt::NoBrush);
}

void GdiCanvas::MoveTo(int x, int y) { penPos_ = QPoint(x, y); }

void GdiCanvas::LineTo(int x, int y) {
  const QPoint from = penPos_;
  penPos_ = QPoint(x, y);
  if (!HasPen()) return;
  if (PenWidth() <= 1) {
    ThinLine(from.x(), from.y(), x, y);
    return;
  }
  const double centre = WideLineOffset(PenWidth());
  painter_.setPen(QtPen());
  painter_.setBrush(Qt::NoBrush);
  painter_.drawLine(QPointF(from.x() + centre, from.y() + centre), QPointF(x + centre, y + centre));
}

void GdiCanvas::Line(int x0, int y0, int x1, int y1) {
  MoveTo(x0, y0);
  LineTo(x1, y1);
}

void GdiCanvas::Polyline(const QPolygon& points) {
  if (points.isEmpty()) return;
  if (PenWidth() > 1 && HasPen()) {
    const double centre = WideLineOffset(PenWidth());
    QPainterPath path;
    path.moveTo(points[0].x() + centre, points[0].y() + centre);
    for (qsizetype i = 1; i < points.size(); ++i) path.lineTo(points[i].x() + centre, points[i].y() + centre);
    painter_.setPen(QtPen());
    painter_.setBrush(Qt::NoBrush);
    painter_.drawPath(path);
    penPos_ = points.back();
    return;
  }
  MoveTo(points[0].x(), points[0].y());
  for (qsizetype i = 1; i < points.size(); ++i) LineTo(points[i].x(), points[i].y());
}

// One-pixel line from (x0, y0) towards (x1, y1), the end pixel left out. Pixel i along the
// major axis sits at the nearest minor coordinate. Only the part over the drawing surface is
// walked, so lines with far-off end points cost no more than short ones.
void GdiCanvas::ThinLine(int x0, int y0, int x1, int y1) {
  const int64_t dx = static_cast<int64_t>(x1) - x0;
  const int64_t dy = static_cast<int64_t>(y1) - y0;
  if (dx == 0 && dy == 0) return;
  const bool xMajor = std::llabs(dx) >= std::llabs(dy);
  const int64_t n = xMajor ? std::llabs(dx) : std::llabs(dy);  // pixels drawn
  const int64_t m = xMajor ? std::llabs(dy) : std::llabs(dx);
  const int64_t a0 = xMajor ? x0 : y0;
  const int64_t b0 = xMajor ? y0 : x0;
  const int sa = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const int sb = (xMajor ? dy : dx) < 0 ? -1 : 1;
  auto minorAt = [&](int64_t i) {
    const __int128 numerator = static_cast<__int128>(2) * i * m + n;
    return b0 + sb * static_cast<int64_t>(numerator / (2 * static_cast<__int128>(n)));
  };

  // The surface in canvas coordinates, with a small margin.
  QRect surface(0, 0, painter_.device()->width(), painter_.device()->height());
  if (!painter_.transform().isIdentity()) {
    surface = painter_.transform().inverted().mapRect(QRectF(surface)).toAlignedRect();
  }
  surface.adjust(-2, -2, 2, 2);
  const int64_t aLo = xMajor ? surface.left() : surface.top();
  const int64_t aHi = xMajor ? surface.right() : surface.bottom();
  const int64_t bLo = xMajor ? surface.top() : surface.left();
  const int64_t bHi = xMajor ? surface.bottom() : surface.right();

  // Steps whose major coordinate lies on the surface.
  int64_t first = sa > 0 ? aLo - a0 : a0 - aHi;
  int64_t last = sa > 0 ? aHi - a0 : a0 - aLo;
  first = std::max<int64_t>(first, 0);
  last = std::min<int64_t>(last, n - 1);
  if (m > 0) {
    // Narrow further by the minor coordinate (monotonic in i); a step of slack each side.
    auto stepAt = [&](int64_t minor) {
      return static_cast<int64_t>(std::floor(static_cast<long double>(minor - b0) * sb * n / m));
    };
    const int64_t i1 = stepAt(sb > 0 ? bLo : bHi) - 2;
    const int64_t i2 = stepAt(sb > 0 ? bHi : bLo) + 2;
    first = std::max(first, i1);
    last = std::min(last, i2);
  } else if (b0 < bLo || b0 > bHi) {
    return;
  }
  if (first > last) return;

  const QVector<int> runs = DashRuns(pen.style);
  int cycle = 0;
  for (int run : runs) cycle += run;
  QPolygon pixels;
  pixels.reserve(static_cast<qsizetype>(std::min<int64_t>(last - first + 1, 1 << 16)));
  for (int64_t i = first; i <= last; ++i) {
    if (cycle > 0) {
      int position = static_cast<int>(i % cycle);
      bool on = true;
      for (int run : runs) {
        if (position < run) break;
        position -= run;
        on = !on;
      }
      if (!on) continue;
    }
    const int64_t a = a0 + sa * i;
    const int64_t b = minorAt(i);
    if (b < bLo || b > bHi) continue;
    pixels.append(xMajor ? QPoint(static_cast<int>(a), static_cast<int>(b)) : QPoint(static_cast<int>(b), static_cast<int>(a)));
  }
  QPen pixelPen(pen.color);
  pixelPen.setWidth(0);
  painter_.setPen(pixelPen);
  painter_.drawPoints(pixels);
}

void GdiCanvas::FillRect(int left, int top, int right, int bottom) {
  if (!HasBrush() || right <= left || bottom <= top) return;
  painter_.fillRect(QRect(left, top, right - left, bottom - top), QtBrush());
}

void GdiCanvas::Rectangle(int left, int top, int right, int bottom) {
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  if (!HasPen()) {
    // Without a pen the filled area loses its last column and row.
    FillRect(left, top, right - 1, bottom - 1);
    return;
  }
  const int width = PenWidth();
  if (pen.style == PenStyle::InsideFrame && width > 1) {
    const int inset = width / 2;
    left += inset;
    top += inset;
    right -= width - inset - 1;
    bottom -= width - inset - 1;
  }
  if (right - left < 1 || bottom - top < 1) return;
  FillRect(left, top, right, bottom);
  if (width <= 1) {
    painter_.setPen(Qt::NoPen);
    const QBrush line(pen.color);
    painter_.fillRect(QRect(left, top, right - left, 1), line);
    painter_.fillRect(QRect(left, bottom - 1, right - left, 1), line);
    painter_.fillRect(QRect(left, top, 1, bottom - top), line);
    painter_.fillRect(QRect(right - 1, top, 1, bottom - top), line);
    return;
  }
  QPen framePen = QtPen();
  framePen.setJoinStyle(Qt::MiterJoin);
  painter_.setPen(framePen);
  painter_.setBrush(Qt::NoBrush);
  painter_.drawRect(CentreLineRect(left, top, right, bottom));
}

void GdiCanvas::Ellipse(int left, int top, int right, int bottom) {
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  const int width = PenWidth();
  if (HasPen() && pen.style == PenStyle::InsideFrame && width > 1) {
    const int inset = width / 2;
    left += inset;
    top += inset;
    right -= width - inset - 1;
    bottom -= width - inset - 1;
  }
  if (right - left < 1 || bottom - top < 1) return;
  const QRectF box = CentreLineRect(left, top, right, bottom);
  painter_.setPen(HasPen() ? QtPen() : QPen(Qt::NoPen));
  painter_.setBrush(QtBrush());
  if (box.width() <= 0 || box.height() <= 0) {
    // One pixel wide or high: a filled line of pixels.
    painter_.fillRect(QRect(left, top, right - left, bottom - top), HasPen() ? QBrush(pen.color) : QtBrush());
    return;
  }
  painter_.drawEllipse(box);
}

void GdiCanvas::Polygon(const QPolygon& points) {
  if (points.size() < 2) return;
  if (HasBrush()) {
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    path.addPolygon(QPolygonF(points));
    path.closeSubpath();
    painter_.fillPath(path, QtBrush());
  }
  if (!HasPen()) return;
  QPolygon closed = points;
  closed.append(points.front());
  Polyline(closed);
}

void GdiCanvas::StrokeEllipseArc(int left, int top, int right, int bottom, double startDegrees,
                                 double spanDegrees, bool pie) {
  if (std::isnan(spanDegrees) || std::isnan(startDegrees) || spanDegrees == 0.0) return;
  if (!std::isfinite(startDegrees)) return;
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  if (right - left < 2 || bottom - top < 2) return;
  const QRectF box = CentreLineRect(left, top, right, bottom);
  const double a = box.width() / 2.0;
  const double b = box.height() / 2.0;

  QPainterPath path;
  path.setFillRule(Qt::OddEvenFill);
  if (std::fabs(spanDegrees) >= 360.0) {
    path.addEllipse(box);
  } else {
    if (spanDegrees < 0) {
      startDegrees += spanDegrees;
      spanDegrees = -spanDegrees;
    }
    startDegrees = std::fmod(startDegrees, 360.0);
    if (startDegrees < 0) startDegrees += 360.0;
    const double t0 = ParametricAngle(startDegrees, a, b);
    const double t1 = ParametricAngle(startDegrees + spanDegrees, a, b);
    double sweep = std::fmod(t1 - t0 + 720.0, 360.0);
    if (sweep <= 0.0) sweep = spanDegrees;  // a tiny span lost in the conversion
    if (pie) {
      path.moveTo(box.center());
      path.arcTo(box, t0, sweep);
      path.closeSubpath();
    } else {
      path.arcMoveTo(box, t0);
      path.arcTo(box, t0, sweep);
    }
  }
  if (pie && HasBrush()) painter_.fillPath(path, QtBrush());
  if (HasPen()) {
    painter_.setPen(QtPen());
    painter_.setBrush(Qt::NoBrush);
    painter_.drawPath(path);
  }
}

void GdiCanvas::Arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) {
  const double cx = (left + right) / 2.0;
  const double cy = (top + bottom) / 2.0;
  const double start = ScreenAngle(cx, cy, x3, y3);
  const double end = ScreenAngle(cx, cy, x4, y4);
  double span = end - start;
  if (span <= 0) span += 360.0;
  StrokeEllipseArc(left, top, right, bottom, start, span, false);
}

void GdiCanvas::Pie(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) {
  const double cx = (left + right) / 2.0;
  const double cy = (top + bottom) / 2.0;
  const double start = ScreenAngle(cx, cy, x3, y3);
  const double end = ScreenAngle(cx, cy, x4, y4);
  double span = end - start;
  if (span <= 0) span += 360.0;
  StrokeEllipseArc(left, top, right, bottom, start, span, true);
}

void GdiCanvas::ArcAngles(int left, int top, int right, int bottom, double startDegrees, double spanDegrees) {
  StrokeEllipseArc(left, top, right, bottom, startDegrees, spanDegrees, false);
}

void GdiCanvas::PieAngles(int left, int top, int right, int bottom, double startDegrees, double spanDegrees) {
  StrokeEllipseArc(left, top, right, bottom, startDegrees, spanDegrees, true);
}

int GdiCanvas::TextWidth(const QString& text) const {
  return QFontMetrics(font_, painter_.device()).horizontalAdvance(text);
}

int GdiCanvas::TextHeight(const QString& /*text*/) const { return QFontMetrics(font_, painter_.device()).height(); }

void GdiCanvas::TextOut(int x, int y, const QString& text) {
  const QFontMetrics metrics(font_, painter_.device());
  if (HasBrush()) {
    painter_.fillRect(QRect(x, y, metrics.horizontalAdvance(text), metrics.height()), QtBrush());
  }
  painter_.setFont(font_);
  painter_.setPen(fontColor);
  painter_.drawText(QPoint(x, y + metrics.ascent()), text);
}

int GdiCanvas::DrawText(const QString& rawText, QRect& rect, unsigned flags) {
  const QString text = (flags & dt::NoPrefix) ? rawText : StripPrefixes(rawText);
  const QFontMetrics metrics(font_, painter_.device());
  const int lineHeight = metrics.height();
  if (flags & dt::SingleLine) {
    QString line = text;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const int width = metrics.horizontalAdvance(line);
    if (flags & dt::CalcRect) {
      rect.setRight(rect.left() + width - 1);
      rect.setBottom(rect.top() + lineHeight - 1);
      return lineHeight;
    }
    // Rectangle edges as GDI sees them: right and bottom excluded.
    const int left = rect.left();
    const int top = rect.top();
    const int right = rect.right() + 1;
    const int bottom = rect.bottom() + 1;
    int x = left;
    if (flags & dt::Center) {
      x = left + (right - left - width) / 2;
    } else if (flags & dt::Right) {
      x = right - width;
    }
    int y = top;
    if (flags & dt::VCenter) {
      y = top + (bottom - top - lineHeight) / 2;
    } else if (flags & dt::Bottom) {
      y = bottom - lineHeight;
    }
    painter_.save();
    if (!(flags & dt::NoClip)) painter_.setClipRect(QRect(left, top, std::max(0, right - left), std::max(0, bottom - top)), Qt::IntersectClip);
    if (HasBrush()) painter_.fillRect(QRect(x, y, width, lineHeight), QtBrush());
    painter_.setFont(font_);
    painter_.setPen(fontColor);
    painter_.drawText(QPoint(x, y + metrics.ascent()), line);
    painter_.restore();
    return lineHeight;
  }
  int qtFlags = Qt::AlignTop;
  if (flags & dt::Center) {
    qtFlags |= Qt::AlignHCenter;
  } else if (flags & dt::Right) {
    qtFlags |= Qt::AlignRight;
  } else {
    qtFlags |= Qt::AlignLeft;
  }
  if (flags & dt::WordBreak) qtFlags |= Qt::TextWordWrap;
  const QRect bounds = metrics.boundingRect(rect, qtFlags, text);
  if (flags & dt::CalcRect) {
    rect.setRight(rect.left() + bounds.width() - 1);
    rect.setBottom(rect.top() + bounds.height() - 1);
    return bounds.height();
  }
  painter_.save();
  if (!(flags & dt::NoClip)) painter_.setClipRect(rect, Qt::IntersectClip);
  painter_.setFont(font_);
  painter_.setPen(fontColor);
  painter_.drawText(rect, qtFlags, text);
  painter_.restore();
  return bounds.height();
}

}  // namespace draw
