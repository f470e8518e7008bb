#include "controls/analog_meter.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <memory>

#include "controls/decimal_mark.h"
#include "controls/gdi_canvas.h"
#include "controls/number_text.h"
#include "controls/rounding.h"

namespace {

constexpr int kMinWidth = 52;
constexpr int kMinHeight = 37;

QString TrimControlChars(const QString& text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && text[begin].unicode() <= 32) ++begin;
  while (end > begin && text[end - 1].unicode() <= 32) --end;
  return text.mid(begin, end - begin);
}

// The face font: text is drawn without smoothing so that overdrawing a read-out in the face
// colour erases it exactly, and the mask gets pure black and white.
QFont FaceFont(const QFont& font) {
  QFont face(font);
  face.setStyleStrategy(QFont::NoAntialias);
  return face;
}

}  // namespace

namespace controls {

// The face canvas and, while a background picture is shown, the mask canvas drawn in step.
class TAnalogMeter::Surfaces {
 public:
  Surfaces(QImage& face, QImage* mask, const QFont& font) : facePainter_(&face), face_(facePainter_) {
    face_.SetFont(font);
    if (mask != nullptr) {
      maskPainter_ = std::make_unique<QPainter>(mask);
      mask_ = std::make_unique<draw::GdiCanvas>(*maskPainter_);
      mask_->SetFont(font);
    }
  }
  draw::GdiCanvas& Face() { return face_; }
  draw::GdiCanvas* Mask() { return mask_.get(); }

 private:
  QPainter facePainter_;
  draw::GdiCanvas face_;
  std::unique_ptr<QPainter> maskPainter_;
  std::unique_ptr<draw::GdiCanvas> mask_;
};

TAnalogMeter::TAnalogMeter(QWidget* parent) : QWidget(parent), decimalMark_(draw::LocaleDecimalMark()) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(kMinWidth, kMinHeight);
  resize(121, 117);
}

// ---- redraw requests ----

void TAnalogMeter::ForceRedraw() {
  outerDirty_ = true;
  innerDirty_ = true;
  update();
}

void TAnalogMeter::RedrawInner() {
  innerDirty_ = true;
  update();
}

// ---- setters ----

void TAnalogMeter::SetBackground(const QImage& picture) {
  background_ = picture.convertToFormat(QImage::Format_RGB32);
  ForceRedraw();
}

#define METER_FULL_SETTER(name, type, member) \
  void TAnalogMeter::name(type value) {       \
    if (member == value) return;              \
    member = value;                           \
    ForceRedraw();                            \
  }
METER_FULL_SETTER(SetShowBackgound, bool, showBackground_)
METER_FULL_SETTER(SetCaptionPosition, TCaptionPos, captionPosition_)
METER_FULL_SETTER(SetAbbrTick, bool, tickValAbbr_)
METER_FULL_SETTER(SetHighZoneColor, TColor, highZoneColor_)
METER_FULL_SETTER(SetLowZoneColor, TColor, lowZoneColor_)
METER_FULL_SETTER(SetOKZoneColor, TColor, okZoneColor_)
METER_FULL_SETTER(SetShowTicks, bool, showTicks_)
METER_FULL_SETTER(SetShowTicksScale, bool, showTicksScale_)
METER_FULL_SETTER(SetShowZones, bool, showZones_)
METER_FULL_SETTER(SetShowFrame, bool, showFrame_)
METER_FULL_SETTER(SetShowValue, bool, showValue_)
METER_FULL_SETTER(SetColor, TColor, color_)
METER_FULL_SETTER(SetFontColor, TColor, fontColor_)
METER_FULL_SETTER(SetDecimalMark, const QString&, decimalMark_)
#undef METER_FULL_SETTER

bool TAnalogMeter::SetByteProperty(int& member, int value) {
  value = std::clamp(value, 0, 255);
  if (member == value) return false;
  member = value;
  return true;
}

void TAnalogMeter::SetTickPrecision(int value) {
  if (SetByteProperty(tickPrecision_, value)) RedrawInner();
}
void TAnalogMeter::SetTickDigits(int value) {
  if (SetByteProperty(tickDigits_, value)) RedrawInner();
}
void TAnalogMeter::SetValuePrecision(int value) {
  if (SetByteProperty(valuePrecision_, value)) ForceRedraw();
}
void TAnalogMeter::SetValueDigits(int value) {
  if (SetByteProperty(valueDigits_, value)) ForceRedraw();
}
void TAnalogMeter::SetKnobSize(int value) {
  if (SetByteProperty(knobSize_, value)) RedrawInner();
}
void TAnalogMeter::SetNeedleWidth(int value) {
  if (SetByteProperty(needleWidth_, value)) RedrawInner();
}

void TAnalogMeter::SetTickColor(TColor value) {
  if (tickColor_ == value) return;
  tickColor_ = value;
  RedrawInner();
}

void TAnalogMeter::SetTickCount(int value) {
  value = std::clamp(value, 0, 100);
  if (tickCount_ == value) return;
  tickCount_ = value;
  RedrawInner();
}

void TAnalogMeter::SetCaptionVAdj(int value) {
  if (value < -30 || value > 30 || captionVertAdj_ == value) return;
  captionVertAdj_ = value;
  ForceRedraw();
}

void TAnalogMeter::SetCaption(const QString& value) {
  const QString trimmed = TrimControlChars(value);
  if (caption_ == trimmed) return;
  caption_ = trimmed;
  RedrawInner();
}

void TAnalogMeter::SetAngularRange(int value) {
  value = std::clamp(value, 10, 360);
  if (angularRange_ == value) return;
  angularRange_ = value;
  startAngle_ = (360.0 - angularRange_) / 2.0;
  layoutDirty_ = true;
  ForceRedraw();
}

int TAnalogMeter::GetLowZone() const {
  if (max_ == min_) return 0;
  return std::clamp(draw::Round((static_cast<double>(lowZoneValue_) - min_) * 100.0 / (static_cast<double>(max_) - min_)), 0, 100);
}

int TAnalogMeter::GetHighZone() const {
  if (max_ == min_) return 0;
  return std::clamp(draw::Round((static_cast<double>(highZoneValue_) - min_) * 100.0 / (static_cast<double>(max_) - min_)), 0, 100);
}

void TAnalogMeter::SetLowZone(int percent) {
  SetLowZoneValue(static_cast<float>((static_cast<double>(max_) - min_) * std::min(percent, 100) / 100.0 + min_));
}

void TAnalogMeter::SetHighZone(int percent) {
  SetHighZoneValue(static_cast<float>((static_cast<double>(max_) - min_) * std::min(percent, 100) / 100.0 + min_));
}

void TAnalogMeter::SetMin(float value) {
  if (std::isnan(value)) return;
  if (value > max_) value = max_;
  if (logScale_ && value <= 0) value = 1.0f;
  if (!std::isfinite(value) || value == min_) return;
  const int low = GetLowZone();
  const int high = GetHighZone();
  min_ = value;
  if (value_ < value) SetValue(value);
  SetLowZone(low);
  SetHighZone(high);
  ForceRedraw();
}

void TAnalogMeter::SetMax(float value) {
  if (std::isnan(value)) return;
  if (value < min_) value = min_;
  if (logScale_ && value <= 0) value = 1.0f;
  if (!std::isfinite(value) || value == max_) return;
  const int low = GetLowZone();
  const int high = GetHighZone();
  max_ = value;
  if (value_ > value) SetValue(value);
  SetLowZone(low);
  SetHighZone(high);
  ForceRedraw();
}

void TAnalogMeter::SetRange(float minValue, float maxValue) {
  if (!std::isfinite(minValue) || !std::isfinite(maxValue) || minValue > maxValue) return;
  if (logScale_ && minValue <= 0) minValue = 1.0f;
  if (logScale_ && maxValue <= 0) maxValue = 1.0f;
  if (minValue > maxValue) maxValue = minValue;
  if (minValue == min_ && maxValue == max_) return;
  const int low = GetLowZone();
  const int high = GetHighZone();
  min_ = minValue;
  max_ = maxValue;
  if (value_ < min_) SetValue(min_);
  if (value_ > max_) SetValue(max_);
  SetLowZone(low);
  SetHighZone(high);
  ForceRedraw();
}

void TAnalogMeter::SetLogScale(bool value) {
  if (value && !logScale_) {
    if (min_ <= 0) min_ = 1.0f;
    if (value_ < min_) SetValue(min_);
  }
  if (logScale_ == value) return;
  logScale_ = value;
  ForceRedraw();
}

void TAnalogMeter::SetValue(float value) {
  if (std::isnan(value)) return;
  // The minimum first, then the maximum: on a scale whose ends crossed, the maximum wins.
  if (value < min_) value = min_;
  if (value > max_) value = max_;
  if (value == value_) return;
  const float previous = value_;
  previousValue_ = previous;
  value_ = value;
  if (onChange_) onChange_(this);
  RedrawInner();
  if (!enableZoneEvents_) return;
  const bool fallBelowLow = onFallBelowLow_ && previous >= lowZoneValue_ && value < lowZoneValue_;
  const bool riseAboveHigh = onRiseAboveHigh_ && previous < highZoneValue_ && value >= highZoneValue_;
  if (fallBelowLow) onFallBelowLow_(this);
  if (riseAboveHigh) onRiseAboveHigh_(this);
  if (fallBelowLow || riseAboveHigh) return;
  if (onFallBelowHigh_ && previous >= highZoneValue_ && value < highZoneValue_) onFallBelowHigh_(this);
  if (onRiseAboveLow_ && previous < lowZoneValue_ && value >= lowZoneValue_) onRiseAboveLow_(this);
}

void TAnalogMeter::SetLowZoneValue(float value) {
  if (std::isnan(value)) return;
  if (value < min_) value = min_;
  if (value > max_) value = max_;
  if (value == lowZoneValue_) return;
  if (value > highZoneValue_) highZoneValue_ = value;
  const float old = lowZoneValue_;
  lowZoneValue_ = value;
  ForceRedraw();
  if (!enableZoneEvents_) return;
  if (onFallBelowLow_ && value_ >= old && value_ < value) onFallBelowLow_(this);
  if (onRiseAboveLow_ && value_ < old && value_ >= value) onRiseAboveLow_(this);
}

void TAnalogMeter::SetHighZoneValue(float value) {
  if (std::isnan(value)) return;
  if (value < min_) value = min_;
  if (value > max_) value = max_;
  if (value == highZoneValue_) return;
  if (value < lowZoneValue_) lowZoneValue_ = value;
  const float old = highZoneValue_;
  highZoneValue_ = value;
  ForceRedraw();
  if (!enableZoneEvents_) return;
  if (onFallBelowHigh_ && value_ >= old && value_ < value) onFallBelowHigh_(this);
  if (onRiseAboveHigh_ && value_ < old && value_ >= value) onRiseAboveHigh_(this);
}

// ---- events ----

void TAnalogMeter::ApplyFont() {
  textHeight_ = QFontMetrics(FaceFont(font())).height();
  layoutDirty_ = true;
  if (!showValue_ && !showTicksScale_ && caption_.isEmpty()) return;
  ForceRedraw();
}

void TAnalogMeter::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) ApplyFont();
  QWidget::changeEvent(event);
}

void TAnalogMeter::resizeEvent(QResizeEvent* event) {
  if (onResize_) onResize_(this);
  layoutDirty_ = true;
  if (!background_.isNull() && background_.size() != size()) {
    // The picture is cut or extended (black) at the right and bottom.
    QImage resized(size(), QImage::Format_RGB32);
    resized.fill(Qt::black);
    QPainter painter(&resized);
    painter.drawImage(0, 0, background_);
    painter.end();
    background_ = resized;
  }
  ForceRedraw();
  QWidget::resizeEvent(event);
}

// ---- layout and drawing ----

void TAnalogMeter::OptimizeSizes() { layout_ = meter::OptimizeSizes(width(), height(), textHeight_, startAngle_); }

void TAnalogMeter::EnsureBitmaps() {
  if (face_.size() == size()) return;
  face_ = QImage(size(), QImage::Format_RGB32);
  mask_ = QImage(size(), QImage::Format_RGB32);
  invertedMask_ = QImage(size(), QImage::Format_RGB32);
  composite_ = QImage(size(), QImage::Format_RGB32);
  mask_.fill(Qt::black);
  layoutDirty_ = true;
  outerDirty_ = true;
  innerDirty_ = true;
  valueTextDrawn_ = false;
}

double TAnalogMeter::AngleOf(double value) const {
  return meter::ValueAngle(value, min_, max_, angularRange_, startAngle_, logScale_);
}

draw::TColor TAnalogMeter::BandPenColor() const {
  return color_ == draw::clBtnShadow ? draw::cl3DLight : draw::clBtnShadow;
}

QString TAnalogMeter::ValueText(double value) const {
  return draw::WithDecimalMark(draw::FloatToStrFixed(value, valuePrecision_, valueDigits_), decimalMark_);
}

void TAnalogMeter::DrawOuterFace(Surfaces& s) {
  // ClearCanvas
  s.Face().brush = draw::Brush{draw::ToQColor(color_)};
  s.Face().FillRect(0, 0, width(), height());
  if (auto* mask = s.Mask()) {
    mask->brush = draw::Brush{Qt::black};
    mask->FillRect(0, 0, width(), height());
  }
  valueTextDrawn_ = false;
  if (showZones_) DrawZones(s);
}

void TAnalogMeter::DrawZones(Surfaces& s) {
  const meter::Layout& l = layout_;
  const double start = startAngle_;
  const double end = startAngle_ + angularRange_;
  // Zone limits outside the scale (possible after a change of scale type) are drawn at its ends.
  auto limitAngle = [&](float limit) {
    const double clamped = std::clamp(static_cast<double>(limit), static_cast<double>(std::min(min_, max_)),
                                      static_cast<double>(std::max(min_, max_)));
    return std::clamp(AngleOf(clamped), start, end);
  };
  const double thetaLow = limitAngle(lowZoneValue_);
  const double thetaHigh = limitAngle(highZoneValue_);
  draw::GdiCanvas& face = s.Face();
  face.pen = draw::Pen{draw::ToQColor(BandPenColor()), 2};
  // Each pie runs counter-clockwise on screen, i.e. from the larger angle back to the smaller.
  auto pie = [&](draw::TColor color, double from, double to) {
    face.brush = draw::Brush{draw::ToQColor(color)};
    face.PieAngles(l.cx - l.outerA, l.cy - l.outerB, l.cx + l.outerA, l.cy + l.outerB, meter::ScreenDirection(from),
                   from - to);
  };
  if (lowZoneValue_ > min_) pie(lowZoneColor_, thetaLow, start);
  if (highZoneValue_ > lowZoneValue_) pie(okZoneColor_, thetaHigh, thetaLow);
  if (highZoneValue_ < max_) pie(highZoneColor_, end, thetaHigh);
  if (auto* mask = s.Mask()) {
    mask->pen = draw::Pen{Qt::white, 2};
    mask->brush = draw::Brush{Qt::white};
    mask->PieAngles(l.cx - l.outerA, l.cy - l.outerB, l.cx + l.outerA, l.cy + l.outerB, meter::ScreenDirection(end),
                    angularRange_);
  }
}

void TAnalogMeter::DrawInnerFace(Surfaces& s) {
  ClearInnerFace(s);
  if (showTicks_ && tickCount_ > 1) DrawTicks(s);
  if (showTicksScale_ && tickCount_ > 1) DrawTicksScale(s);
  if (!caption_.isEmpty()) DrawCaption(s);
  if (showValue_) DeleteOldValue(s);
  DrawPointer(s);
  if (showValue_) DrawValue(s);
  if (showFrame_) DrawFrame(s);
}

void TAnalogMeter::ClearInnerFace(Surfaces& s) {
  const meter::Layout& l = layout_;
  draw::GdiCanvas& face = s.Face();
  face.pen = draw::Pen{draw::ToQColor(BandPenColor()), 2};
  if (showZones_) {
    face.ArcAngles(l.cx - l.innerA, l.cy - l.innerB, l.cx + l.innerA, l.cy + l.innerB,
                   meter::ScreenDirection(startAngle_ + angularRange_), angularRange_);
  }
  face.pen.color = draw::ToQColor(color_);
  face.brush = draw::Brush{draw::ToQColor(color_)};
  face.Ellipse(l.cx - l.innerA + 2, l.cy - l.innerB + 2, l.cx + l.innerA - 2, l.cy + l.innerB - 2);
  if (auto* mask = s.Mask()) {
    mask->pen = draw::Pen{Qt::black, 2};
    mask->brush = draw::Brush{Qt::black};
    mask->Ellipse(l.cx - l.innerA + 2, l.cy - l.innerB + 2, l.cx + l.innerA - 2, l.cy + l.innerB - 2);
  }
}

void TAnalogMeter::DrawTicks(Surfaces& s) {
  const meter::Layout& l = layout_;
  const int shrink = (width() + height()) / 35;
  draw::GdiCanvas& face = s.Face();
  face.pen = draw::Pen{draw::ToQColor(tickColor_), 1};
  if (auto* mask = s.Mask()) mask->pen = draw::Pen{Qt::white, 1};
  for (int i = 1; i <= tickCount_; ++i) {
    const double theta = meter::TickAngle(i - 1, tickCount_, angularRange_, startAngle_);
    const QPoint from = QPoint(l.cx, l.cy) + meter::EllipsePoint(theta, l.innerA, l.innerB);
    const QPoint to = QPoint(l.cx, l.cy) + meter::EllipsePoint(theta, l.innerA - shrink, l.innerB - shrink);
    face.Line(from.x(), from.y(), to.x(), to.y());
    if (auto* mask = s.Mask()) mask->Line(from.x(), from.y(), to.x(), to.y());
  }
}

void TAnalogMeter::DrawTicksScale(Surfaces& s) {
  const meter::Layout& l = layout_;
  const int shrink = (width() + height()) / 35;
  // On a scale without usable range only the first label (the minimum) can be placed.
  const int labels = meter::IsUsableScale(min_, max_, logScale_) ? tickCount_ : 1;
  draw::GdiCanvas& face = s.Face();
  face.brush.style = draw::BrushStyle::Clear;
  face.fontColor = draw::ToQColor(tickColor_);
  if (auto* mask = s.Mask()) {
    mask->brush.style = draw::BrushStyle::Clear;
    mask->fontColor = Qt::white;
  }
  for (int j = 0; j < labels; ++j) {
    const double value = meter::TickValue(j, tickCount_, min_, max_, logScale_);
    const double theta = meter::TickAngle(j, tickCount_, angularRange_, startAngle_);
    const QString text = meter::TickLabel(value, tickPrecision_, tickDigits_, tickValAbbr_, decimalMark_);
    const QPoint p = QPoint(l.cx, l.cy) + meter::EllipsePoint(theta, l.innerA - shrink, l.innerB - shrink);
    const QPoint at = meter::LabelTopLeft(p, theta, face.TextWidth(text), face.TextHeight(text));
    face.TextOut(at.x(), at.y(), text);
    if (auto* mask = s.Mask()) mask->TextOut(at.x(), at.y(), text);
  }
  face.fontColor = draw::ToQColor(fontColor_);
}

void TAnalogMeter::DrawCaption(Surfaces& s) {
  const meter::Layout& l = layout_;
  draw::GdiCanvas& face = s.Face();
  const int halfWidth = face.TextWidth(caption_) / 2;
  const int halfHeight = face.TextHeight(caption_) / 2;
  int top;
  if (captionPosition_ == cpTop) {
    top = ((l.cy - l.border) + (l.cy - l.innerB - 1)) / 2 + captionVertAdj_;
  } else {
    top = ((height() - textHeight_ - 2 + (l.innerB - l.outerB)) + (l.cy + l.border)) / 2 + captionVertAdj_ - halfHeight;
  }
  const int left = l.cx - halfWidth;
  face.brush = draw::Brush{draw::ToQColor(color_)};
  face.fontColor = draw::ToQColor(fontColor_);
  face.TextOut(left, top, caption_);
  if (auto* mask = s.Mask()) {
    mask->brush = draw::Brush{Qt::black};
    mask->fontColor = Qt::white;
    mask->TextOut(left, top, caption_);
  }
}

// Erases the read-out now on the face by writing it again in the face colour.
void TAnalogMeter::DeleteOldValue(Surfaces& s) {
  if (!valueTextDrawn_) return;
  const meter::Layout& l = layout_;
  draw::GdiCanvas& face = s.Face();
  const int left = l.cx - face.TextWidth(drawnValueText_) / 2;
  const int top = height() - l.border - textHeight_ - 1;
  face.brush.style = draw::BrushStyle::Clear;
  face.fontColor = draw::ToQColor(color_);
  face.TextOut(left, top, drawnValueText_);
  face.fontColor = draw::ToQColor(fontColor_);
  if (auto* mask = s.Mask()) {
    mask->brush.style = draw::BrushStyle::Clear;
    mask->fontColor = Qt::black;
    mask->TextOut(left, top, drawnValueText_);
    mask->fontColor = Qt::white;
  }
  valueTextDrawn_ = false;
}

void TAnalogMeter::DrawPointer(Surfaces& s) {
  const meter::Layout& l = layout_;
  const double theta = AngleOf(value_);
  const QPoint tip = QPoint(l.cx, l.cy) +
                     meter::EllipsePoint(theta, l.innerA - needleWidth_ - 1, l.innerB - needleWidth_ - 1);
  const int knob = knobSize_ * (width() + height()) / 400;
  draw::TColor knobColor = okZoneColor_;
  if (lowZoneValue_ > min_ && value_ <= lowZoneValue_) {
    knobColor = lowZoneColor_;
  } else if (highZoneValue_ < max_ && value_ >= highZoneValue_) {
    knobColor = highZoneColor_;
  }
  draw::GdiCanvas& face = s.Face();
  face.pen = draw::Pen{draw::ToQColor(tickColor_), needleWidth_};
  face.Line(l.cx, l.cy, tip.x(), tip.y());
  face.pen = draw::Pen{draw::ToQColor(draw::clBtnShadow), 3};
  face.brush = draw::Brush{draw::ToQColor(color_)};
  face.Ellipse(l.cx - knob + 1, l.cy - knob, l.cx + knob + 1, l.cy + knob);
  face.pen = draw::Pen{draw::ToQColor(knobColor), 1};
  face.brush = draw::Brush{draw::ToQColor(knobColor)};
  face.Ellipse(l.cx - knob, l.cy - knob, l.cx + knob, l.cy + knob);
  if (auto* mask = s.Mask()) {
    mask->pen = draw::Pen{Qt::white, needleWidth_};
    mask->Line(l.cx, l.cy, tip.x(), tip.y());
    mask->pen = draw::Pen{Qt::white, 3};
    mask->brush = draw::Brush{Qt::white};
    mask->Ellipse(l.cx - knob + 1, l.cy - knob, l.cx + knob + 1, l.cy + knob);
    mask->pen.width = 1;
    mask->Ellipse(l.cx - knob, l.cy - knob, l.cx + knob, l.cy + knob);
  }
}

void TAnalogMeter::DrawValue(Surfaces& s) {
  const meter::Layout& l = layout_;
  draw::GdiCanvas& face = s.Face();
  const QString text = ValueText(value_);
  const int left = l.cx - face.TextWidth(text) / 2;
  const int top = height() - l.border - textHeight_ - 1;
  face.brush.style = draw::BrushStyle::Clear;
  face.fontColor = draw::ToQColor(fontColor_);
  face.TextOut(left, top, text);
  if (auto* mask = s.Mask()) {
    mask->brush.style = draw::BrushStyle::Clear;
    mask->fontColor = Qt::white;
    mask->TextOut(left, top, text);
  }
  drawnValueText_ = text;
  valueTextDrawn_ = true;
}

void TAnalogMeter::DrawFrame(Surfaces& s) {
  const int w = width();
  const int h = height();
  auto frame = [&](draw::GdiCanvas& canvas, QColor shadow, QColor highlight) {
    canvas.pen = draw::Pen{shadow, 1};
    canvas.MoveTo(0, h);
    canvas.LineTo(0, 0);
    canvas.LineTo(w - 1, 0);
    canvas.pen.color = highlight;
    canvas.LineTo(w - 1, h - 1);
    canvas.LineTo(0, h - 1);
  };
  frame(s.Face(), draw::ToQColor(draw::clBtnShadow), draw::ToQColor(draw::clBtnHighlight));
  if (auto* mask = s.Mask()) frame(*mask, Qt::white, Qt::white);
}

// Background mode: the picture where the mask is black, the face where it is white. Like the
// raster operations it stands for, it leaves the face black outside the dial elements.
void TAnalogMeter::Compose() {
  composite_.fill(Qt::black);
  if (!background_.isNull()) {
    QPainter painter(&composite_);
    painter.drawImage(0, 0, background_);
  }
  const int w = face_.width();
  const int h = face_.height();
  for (int y = 0; y < h; ++y) {
    const auto* maskRow = reinterpret_cast<const QRgb*>(mask_.constScanLine(y));
    auto* invertedRow = reinterpret_cast<QRgb*>(invertedMask_.scanLine(y));
    auto* faceRow = reinterpret_cast<QRgb*>(face_.scanLine(y));
    auto* compositeRow = reinterpret_cast<QRgb*>(composite_.scanLine(y));
    for (int x = 0; x < w; ++x) {
      invertedRow[x] = ~maskRow[x] | 0xFF000000u;
      compositeRow[x] &= invertedRow[x];
      faceRow[x] &= maskRow[x];
      compositeRow[x] |= faceRow[x];
    }
  }
}

void TAnalogMeter::paintEvent(QPaintEvent*) {
  EnsureBitmaps();
  if (face_.isNull()) return;
  if (layoutDirty_) {
    OptimizeSizes();
    layoutDirty_ = false;
    outerDirty_ = true;
    innerDirty_ = true;
  }
  if (outerDirty_ || innerDirty_) {
    Surfaces surfaces(face_, showBackground_ ? &mask_ : nullptr, FaceFont(font()));
    if (outerDirty_) DrawOuterFace(surfaces);
    DrawInnerFace(surfaces);
    outerDirty_ = false;
    innerDirty_ = false;
  }
  QPainter painter(this);
  if (showBackground_) {
    Compose();
    painter.drawImage(0, 0, composite_);
  } else {
    painter.drawImage(0, 0, face_);
  }
}

}  // namespace controls
