#include "controls/dial_gauge.h"

#include <QEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "controls/dial_gauge_geometry.h"
#include "controls/gdi_canvas.h"
#include "controls/redraw_rate.h"
#include "controls/rounding.h"

namespace controls {

namespace {

constexpr int kMinWidth = 60;
constexpr int kMinHeight = 50;

// Margins, radii and tick lengths are taken as given, but scaled by the supersampling factor
// they are limited to a size beyond any face, so the geometry built from them cannot overflow.
int ScaledPixels(int value, int k) {
  constexpr int64_t kLimit = int64_t{1} << 24;
  return static_cast<int>(std::clamp<int64_t>(int64_t{value} * k, -kLimit, kLimit));
}

int SaturatingInt(int64_t value) {
  return static_cast<int>(std::clamp<int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

dial::Layout LayoutOf(TDialGauge::TStyle style) {
  switch (style) {
    case TDialGauge::LeftStyle: return dial::Layout::Left;
    case TDialGauge::RightStyle: return dial::Layout::Right;
    default: return dial::Layout::Center;
  }
}

}  // namespace

TDialGauge::TDialGauge(QWidget* parent) : QWidget(parent), clock_(&platform::MonotonicClock::System()) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(kMinWidth, kMinHeight);
  resize(225, 180);
}

int TDialGauge::GetAAMultipler() const {
  switch (antiAliased_) {
    case aaBiline: return 2;
    case aaTriline: return 3;
    case aaQuadral: return 4;
    default: return 1;
  }
}

uint32_t TDialGauge::TickNow() const { return static_cast<uint32_t>(clock_->NowMs()); }

// Quarter dials sweep at most 90 degrees; the property itself follows whenever the scale is
// redrawn, so Angle reads what the dial shows.
void TDialGauge::ApplyQuarterClamp() { angle_ = dial::EffectiveSweep(LayoutOf(style_), angle_); }

void TDialGauge::RedrawScale() {
  ApplyQuarterClamp();
  scaleDirty_ = true;
  arrowDirty_ = true;
  update();
}

void TDialGauge::RedrawArrow() {
  arrowDirty_ = true;
  update();
}

#define DIAL_SCALE_SETTER(name, member)   \
  void TDialGauge::name(TColor value) {   \
    if (member == value) return;          \
    member = value;                       \
    RedrawScale();                        \
  }
DIAL_SCALE_SETTER(SetFMinColor, minColor_)
DIAL_SCALE_SETTER(SetFMidColor, midColor_)
DIAL_SCALE_SETTER(SetFMaxColor, maxColor_)
DIAL_SCALE_SETTER(SetFFaceColor, faceColor_)
DIAL_SCALE_SETTER(SetFTicksColor, ticksColor_)
DIAL_SCALE_SETTER(SetFValueColor, valueColor_)
DIAL_SCALE_SETTER(SetFCaptionColor, captionColor_)
DIAL_SCALE_SETTER(SetFMarginColor, marginColor_)
DIAL_SCALE_SETTER(SetFCenterColor, centerColor_)
DIAL_SCALE_SETTER(SetFCircleColor, circleColor_)
#undef DIAL_SCALE_SETTER

#define DIAL_INT_SETTER(name, member) \
  void TDialGauge::name(int value) {  \
    if (member == value) return;      \
    member = value;                   \
    RedrawScale();                    \
  }
DIAL_INT_SETTER(SetFCenterRadius, centerRadius_)
DIAL_INT_SETTER(SetFCircleRadius, circleRadius_)
DIAL_INT_SETTER(SetFMargin, margin_)
DIAL_INT_SETTER(SetFLengthMainTicks, lengthMainTicks_)
DIAL_INT_SETTER(SetFLengthSubTicks, lengthSubTicks_)
#undef DIAL_INT_SETTER

void TDialGauge::SetFArrowColor(TColor value) {
  if (arrowColor_ == value) return;
  arrowColor_ = value;
  RedrawArrow();
}

void TDialGauge::SetFScaleAngle(int value) {
  if (angle_ == value) return;
  if (value >= 11 && value <= 360) angle_ = value;
  RedrawScale();
}

void TDialGauge::SetFStyle(TStyle value) {
  if (style_ == value) return;
  style_ = value;
  RedrawScale();
}

void TDialGauge::SetFArrowWidth(int value) {
  if (arrowWidth_ == value) return;
  arrowWidth_ = std::clamp(value, 1, 5);
  RedrawArrow();
}

void TDialGauge::SetFNumMainTicks(int value) {
  if (numberMainTicks_ == value) return;
  numberMainTicks_ = std::clamp(value, 0, kMaxMainTicks);
  RedrawScale();
}

void TDialGauge::SetFFaceOptions(TFaceOptions value) {
  if (faceOptions_ == value) return;
  faceOptions_ = value;
  RedrawScale();
}

// The four range setters redraw whenever the value differs from the stored one, even when they
// reject it. The follow-up rules keep the zone limits inside a non-empty scale.
void TDialGauge::SetFScaleValue(int value) {
  if (maxValue_ == value) return;
  if (value > minValue_) {
    maxValue_ = value;
    if (indMaximum_ >= maxValue_) indMaximum_ = maxValue_ - 1;
    const int64_t room = static_cast<int64_t>(maxValue_) - indMaximum_;
    if (room < indMinimum_) indMinimum_ = SaturatingInt(room);
  }
  RedrawScale();
}

void TDialGauge::SetFMinValue(int value) {
  if (minValue_ == value) return;
  if (value < maxValue_) {
    minValue_ = value;
    if (indMinimum_ <= minValue_) indMinimum_ = minValue_ + 1;
    const int64_t sum = static_cast<int64_t>(minValue_) + indMinimum_;
    if (sum > indMaximum_) indMaximum_ = SaturatingInt(sum);
  }
  RedrawScale();
}

void TDialGauge::SetFMaximum(int value) {
  if (indMaximum_ == value) return;
  if (minValue_ < value && value < maxValue_) indMaximum_ = value;
  RedrawScale();
}

void TDialGauge::SetFMinimum(int value) {
  if (indMinimum_ == value) return;
  if (minValue_ < value && value < maxValue_) indMinimum_ = value;
  RedrawScale();
}

void TDialGauge::SetRange(int minValue, int maxValue) {
  if (minValue >= maxValue) return;
  if (minValue == minValue_ && maxValue == maxValue_) return;
  minValue_ = minValue;
  maxValue_ = maxValue;
  if (indMaximum_ >= maxValue_) indMaximum_ = maxValue_ - 1;
  const int64_t room = static_cast<int64_t>(maxValue_) - indMaximum_;
  if (room < indMinimum_) indMinimum_ = SaturatingInt(room);
  if (indMinimum_ <= minValue_) indMinimum_ = minValue_ + 1;
  const int64_t sum = static_cast<int64_t>(minValue_) + indMinimum_;
  if (sum > indMaximum_) indMaximum_ = SaturatingInt(sum);
  RedrawScale();
}

void TDialGauge::SetFCaption(const QString& value) {
  if (caption_ == value) return;
  caption_ = value;
  RedrawScale();
}

void TDialGauge::SetFPosition(float value) {
  if (!std::isfinite(value) || position_ == value) return;
  position_ = value;
  // Raised on every change while beyond a limit, not only on crossing it.
  if (indMaximum_ < position_ && onOverMax_) onOverMax_(this);
  if (indMinimum_ > position_ && onOverMin_) onOverMin_(this);
  RedrawArrow();
}

void TDialGauge::SetFAntiAliased(TAntialiased value) {
  if (antiAliased_ == value) return;
  antiAliased_ = value;
  scaleBitmap_ = QImage();
  workingBitmap_ = QImage();
  outputBitmap_ = QImage();
  RedrawScale();
}

void TDialGauge::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) RedrawScale();
  QWidget::changeEvent(event);
}

void TDialGauge::resizeEvent(QResizeEvent* event) {
  RedrawScale();
  QWidget::resizeEvent(event);
}

void TDialGauge::EnsureBitmaps() {
  const int k = GetAAMultipler();
  const QSize big(width() * k, height() * k);
  if (scaleBitmap_.size() != big) {
    scaleBitmap_ = QImage(big, QImage::Format_RGB32);
    workingBitmap_ = QImage(big, QImage::Format_RGB32);
    scaleDirty_ = true;
  }
  if (k > 1) {
    if (outputBitmap_.size() != size()) outputBitmap_ = QImage(size(), QImage::Format_RGB32);
  } else {
    outputBitmap_ = QImage();
  }
}

void TDialGauge::DrawScale(QImage& bitmap, int k) {
  if (bitmap.isNull()) return;
  QPainter painter(&bitmap);
  draw::GdiCanvas canvas(painter);
  const int w = bitmap.width();
  const int h = bitmap.height();
  const int m = ScaledPixels(margin_, k);
  const dial::Geometry g = dial::Compute(LayoutOf(style_), w, h, m, angle_);
  auto has = [this](TFaceOption option) { return (faceOptions_ & Option(option)) != 0; };

  canvas.SetFont(draw::FontWithPixelSize(font(), draw::FontPixelSize(font()) * k));
  canvas.brush.color = draw::ToQColor(faceColor_);
  canvas.FillRect(0, 0, w, h);

  if (has(ShowFrame)) {
    if (has(Show3D)) {
      canvas.pen = draw::Pen{draw::ToQColor(draw::clBtnShadow), 2 * k};
      canvas.MoveTo(w, 0);
      canvas.LineTo(0, 0);
      canvas.LineTo(0, h);
      canvas.pen.color = draw::ToQColor(draw::clBtnHighlight);
      canvas.LineTo(w, h);
      canvas.LineTo(w, 0);
    } else {
      canvas.pen = draw::Pen{draw::ToQColor(draw::clBtnText), k};
      canvas.Rectangle(0, 0, w, h);
    }
  }
  if (has(ShowMargin)) {
    canvas.pen = draw::Pen{draw::ToQColor(marginColor_), k};
    canvas.Rectangle(m, m, w - m, h - m);
  }
  if (has(ShowCaption)) {
    canvas.fontColor = draw::ToQColor(captionColor_);
    const QPoint at = dial::PointAt(g, g.sweep / 2.0, g.radius / 2.0);
    canvas.TextOut(at.x() - canvas.TextWidth(caption_) / 2, at.y(), caption_);
  }

  // Zone arcs, drawn counter-clockwise from their start to their end point. Limits outside
  // the scale are clamped to it, and an arc of no span is left out.
  auto zoneArc = [&](TColor color, double fromAngle, double toAngle) {
    const double from = std::clamp(fromAngle, 0.0, static_cast<double>(g.sweep));
    const double to = std::clamp(toAngle, 0.0, static_cast<double>(g.sweep));
    const double span = from - to;  // scale angles grow clockwise
    if (!(span > 0.0)) return;
    canvas.pen = draw::Pen{draw::ToQColor(color), 4 * k, draw::PenStyle::Solid, true};
    canvas.ArcAngles(g.cxInt - g.radius, g.cy - g.radius, g.cxInt + g.radius, g.cy + g.radius,
                     dial::ScreenDirection(g, from), span);
  };
  const double aMax = dial::ValueAngle(indMaximum_, minValue_, maxValue_, g.sweep);
  const double aMin = dial::ValueAngle(indMinimum_, minValue_, maxValue_, g.sweep);
  if (has(ShowIndicatorMax)) zoneArc(maxColor_, g.sweep, aMax);
  if (has(ShowIndicatorMid) && indMinimum_ < indMaximum_) zoneArc(midColor_, aMax, aMin);
  if (has(ShowIndicatorMin)) zoneArc(minColor_, aMin, 0.0);

  canvas.fontColor = draw::ToQColor(valueColor_);
  canvas.pen = draw::Pen{draw::ToQColor(ticksColor_), k};
  const int n = numberMainTicks_;
  if (n > 0) {
    if (has(ShowSubTicks)) {
      const int subTicks = 5 * n;
      for (int j = 0; j <= subTicks; ++j) {
        const double a = static_cast<double>(j) * g.sweep / subTicks;
        const QPoint inner = dial::PointAt(g, a, g.radius - ScaledPixels(lengthSubTicks_, k));
        const QPoint outer = dial::PointAt(g, a, g.radius);
        canvas.Line(inner.x(), inner.y(), outer.x(), outer.y());
      }
    }
    for (int i = 0; i <= n; ++i) {
      const double a = static_cast<double>(i) * g.sweep / n;
      const QPoint outer = dial::PointAt(g, a, g.radius);
      if (has(ShowMainTicks)) {
        const QPoint inner = dial::PointAt(g, a, g.radius - ScaledPixels(lengthMainTicks_, k));
        canvas.Line(inner.x(), inner.y(), outer.x(), outer.y());
      }
      if (has(ShowCircles)) {
        const int radius = ScaledPixels(circleRadius_, k);
        canvas.brush.color = draw::ToQColor(circleColor_);
        canvas.Ellipse(outer.x() - radius, outer.y() - radius, outer.x() + radius, outer.y() + radius);
      }
      if (has(ShowValues)) {
        canvas.brush.color = draw::ToQColor(faceColor_);
        const QString label = dial::LabelText(minValue_, maxValue_, i, n);
        const QPoint anchor = dial::LabelAnchor(g, a, ScaledPixels(lengthMainTicks_, k), i);
        canvas.TextOut(anchor.x() - canvas.TextWidth(label) / 2, anchor.y(), label);
      }
    }
  }
}

void TDialGauge::DrawArrow(QImage& bitmap, int k) {
  if (bitmap.isNull()) return;
  QPainter painter(&bitmap);
  draw::GdiCanvas canvas(painter);
  const dial::Geometry g = dial::Compute(LayoutOf(style_), bitmap.width(), bitmap.height(), ScaledPixels(margin_, k), angle_);
  // Not clamped: a position beyond the scale points beyond its end.
  const double a = dial::ValueAngle(position_, minValue_, maxValue_, g.sweep);
  const QPoint tip = dial::PointAt(g, a, g.radius);
  canvas.pen = draw::Pen{draw::ToQColor(arrowColor_), arrowWidth_ * k};
  canvas.Line(g.cxInt, g.cy, tip.x(), tip.y());
  if (faceOptions_ & Option(ShowCenter)) {
    const int radius = ScaledPixels(centerRadius_, k);
    canvas.brush.color = draw::ToQColor(centerColor_);
    canvas.Ellipse(g.cxInt - radius, g.cy - radius, g.cxInt + radius, g.cy + radius);
  }
}

// Box filter: each output pixel is the integer mean of its K x K source pixels.
void TDialGauge::FastAntiAliasPicture() {
  const int k = GetAAMultipler();
  if (k <= 1 || outputBitmap_.isNull() || workingBitmap_.isNull()) return;
  const int divisor = k * k;
  const int outWidth = std::min(outputBitmap_.width(), workingBitmap_.width() / k);
  const int outHeight = std::min(outputBitmap_.height(), workingBitmap_.height() / k);
  for (int y = 0; y < outHeight; ++y) {
    auto* out = reinterpret_cast<QRgb*>(outputBitmap_.scanLine(y));
    for (int x = 0; x < outWidth; ++x) {
      int red = 0, green = 0, blue = 0;
      for (int dy = 0; dy < k; ++dy) {
        const auto* row = reinterpret_cast<const QRgb*>(workingBitmap_.constScanLine(y * k + dy));
        for (int dx = 0; dx < k; ++dx) {
          const QRgb pixel = row[x * k + dx];
          red += qRed(pixel);
          green += qGreen(pixel);
          blue += qBlue(pixel);
        }
      }
      out[x] = qRgb(red / divisor, green / divisor, blue / divisor);
    }
  }
}

void TDialGauge::paintEvent(QPaintEvent*) {
  EnsureBitmaps();
  const int k = GetAAMultipler();
  bool measured = false;
  if (scaleDirty_) {
    redrawStart_ = TickNow();
    DrawScale(scaleBitmap_, k);
    scaleDirty_ = false;
    arrowDirty_ = true;
  }
  if (arrowDirty_) {
    if (redrawStart_ == -1) redrawStart_ = TickNow();
    if (workingBitmap_.size() == scaleBitmap_.size() && !workingBitmap_.isNull()) {
      std::memcpy(workingBitmap_.bits(), scaleBitmap_.constBits(), static_cast<size_t>(scaleBitmap_.sizeInBytes()));
    } else {
      workingBitmap_ = scaleBitmap_.copy();
    }
    DrawArrow(workingBitmap_, k);
    if (k > 1) FastAntiAliasPicture();
    arrowDirty_ = false;
    measured = true;
  }
  {
    QPainter painter(this);
    const QImage& shown = k > 1 ? outputBitmap_ : workingBitmap_;
    if (!shown.isNull()) painter.drawImage(0, 0, shown);
  }
  if (measured) {
    // A redraw too quick for the millisecond clock keeps the last rate.
    const auto rate = draw::RedrawsPerSecond(static_cast<uint32_t>(redrawStart_), TickNow());
    if (rate && *rate != frames_) {
      frames_ = *rate;
      if (onFrames_) onFrames_(this);
    }
  }
  redrawStart_ = -1;
}

}  // namespace controls
