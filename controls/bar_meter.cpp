#include "controls/bar_meter.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "controls/decimal_mark.h"
#include "controls/gdi_canvas.h"
#include "controls/number_text.h"
#include "controls/rounding.h"

namespace {
const QColor kWhite(255, 255, 255);
const QColor kGrey(0x80, 0x80, 0x80);
}  // namespace

namespace controls {

TBarMeter::TBarMeter(QWidget* parent) : QWidget(parent), decimalMark_(draw::LocaleDecimalMark()) {
  setAttribute(Qt::WA_OpaquePaintEvent, true);
  resize(100, 200);
}

#define BAR_SETTER(name, type, member) \
  void TBarMeter::name(type value) {   \
    if (member == value) return;       \
    member = value;                    \
    update();                          \
  }
BAR_SETTER(SetCaption, const QString&, caption_)
BAR_SETTER(SetColor, TColor, color_)
BAR_SETTER(SetColorFore, TColor, colorFore_)
BAR_SETTER(SetColorBack, TColor, colorBack_)
BAR_SETTER(SetMarkerColor, TColor, markerColor_)
BAR_SETTER(SetShowIncrements, bool, showIncrements_)
BAR_SETTER(SetShowMarker, bool, showMarker_)
BAR_SETTER(SetSignalUnit, const QString&, signalUnit_)
BAR_SETTER(SetDecimalMark, const QString&, decimalMark_)
#undef BAR_SETTER

void TBarMeter::SetValue(double value) {
  if (!(valueMin_ <= value && value <= valueMax_) || value == value_) return;
  value_ = value;
  update();
}

void TBarMeter::SetValueMin(double value) {
  if (!std::isfinite(value) || !(value <= value_) || value == valueMin_) return;
  valueMin_ = value;
  update();
}

void TBarMeter::SetValueMax(double value) {
  if (!std::isfinite(value) || !(value >= value_) || value == valueMax_) return;
  valueMax_ = value;
  update();
}

void TBarMeter::SetRange(double minValue, double maxValue) {
  if (!std::isfinite(minValue) || !std::isfinite(maxValue) || minValue > maxValue) return;
  const double value = std::clamp(value_, minValue, maxValue);
  if (minValue == valueMin_ && maxValue == valueMax_ && value == value_) return;
  valueMin_ = minValue;
  valueMax_ = maxValue;
  value_ = value;
  update();
}

void TBarMeter::SetIncrement(double value) {
  if (!(value > 0) || !std::isfinite(value) || value == increment_) return;
  increment_ = value;
  update();
}

void TBarMeter::SetBarThickness(int value) {
  if (value <= 0 || value > 65535 || value == barThickness_) return;
  barThickness_ = value;
  update();
}

void TBarMeter::SetDigits(int value) {
  value = std::clamp(value, 0, 255);
  if (value == digits_) return;
  digits_ = value;
  update();
}

void TBarMeter::SetGapTop(int value) {
  value = std::clamp(value, 0, 65535);
  if (value == gapTop_) return;
  gapTop_ = value;
  update();
}

void TBarMeter::SetGapBottom(int value) {
  value = std::clamp(value, 0, 65535);
  if (value == gapBottom_) return;
  gapBottom_ = value;
  update();
}

void TBarMeter::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  // Not opaque: Qt paints the parent's background behind the control first.
  setAttribute(Qt::WA_OpaquePaintEvent, !value);
  update();
}

int TBarMeter::ValueToPixels(double value) const {
  if (!(valueMax_ > valueMin_)) return 0;
  const double bottom = height() - gapBottom_;
  return draw::Round(yT_ + (valueMax_ - value) * (bottom - yT_) / (valueMax_ - valueMin_));
}

QString TBarMeter::ValueText(double value) const {
  return draw::WithDecimalMark(draw::FloatToStrFixed(value, 8, digits_), decimalMark_) + QLatin1Char(' ') + signalUnit_;
}

void TBarMeter::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  draw::GdiCanvas canvas(painter);
  const int w = width();
  const int h = height();
  canvas.SetFont(font());
  canvas.fontColor = draw::ToQColor(draw::clWindowText);

  x0_ = w / 2 - 10 - barThickness_;
  if (!transparent_) {
    canvas.brush = draw::Brush{draw::ToQColor(color_)};
    canvas.FillRect(0, 0, w, h);
  }
  canvas.brush.style = draw::BrushStyle::Clear;

  // Caption (bold) and value lines at the top.
  QFont bold = font();
  bold.setBold(true);
  canvas.SetFont(bold);
  QRect rect(0, 0, w, h);
  const unsigned lineFlags = draw::dt::SingleLine | draw::dt::NoPrefix;
  const int captionHeight = canvas.DrawText(caption_, rect, lineFlags | draw::dt::Center | draw::dt::Top);
  QFont normal = font();
  normal.setBold(false);
  canvas.SetFont(normal);
  rect = QRect(0, captionHeight, w, h - captionHeight);
  const int valueHeight = canvas.DrawText(ValueText(value_), rect, lineFlags | draw::dt::Center | draw::dt::Top);
  yT_ = std::clamp(captionHeight + valueHeight + gapTop_, -32768, 32767);

  // Range ends beside the bar.
  const int textLeft = x0_ + barThickness_ + 10;
  rect = QRect(QPoint(textLeft, yT_), QPoint(w - 1, h - gapBottom_ + 6 - 1));
  canvas.DrawText(ValueText(valueMin_), rect, lineFlags | draw::dt::Left | draw::dt::Bottom);
  rect = QRect(QPoint(textLeft, yT_ - 6), QPoint(w - 1, h - 1));
  canvas.DrawText(ValueText(valueMax_), rect, lineFlags | draw::dt::Left | draw::dt::Top);

  // The bar.
  const int yMax = ValueToPixels(valueMax_);
  const int yMin = ValueToPixels(valueMin_);
  const int yValue = ValueToPixels(value_);
  canvas.pen = draw::Pen{draw::ToQColor(colorBack_), 1};
  canvas.brush = draw::Brush{draw::ToQColor(colorBack_)};
  canvas.Rectangle(x0_, yMax, x0_ + barThickness_, yMin);
  canvas.pen.color = draw::ToQColor(colorFore_);
  canvas.brush = draw::Brush{draw::ToQColor(colorFore_)};
  canvas.Rectangle(x0_ + 1, yValue, x0_ + barThickness_, yMin);
  canvas.brush.style = draw::BrushStyle::Clear;
  canvas.pen.color = kWhite;
  canvas.MoveTo(x0_ + barThickness_ - 1, yMax);
  canvas.LineTo(x0_, yMax);
  canvas.LineTo(x0_, yMin - 1);
  canvas.pen.color = kGrey;
  canvas.LineTo(x0_ + barThickness_, yMin - 1);
  canvas.LineTo(x0_ + barThickness_, yMax);
  if (valueMin_ < value_ && value_ < valueMax_) {
    canvas.pen.color = kWhite;
    canvas.Line(x0_ + 1, yValue, x0_ + barThickness_, yValue);
    canvas.pen.color = kGrey;
    canvas.Line(x0_ + 1, yValue - 1, x0_ + barThickness_, yValue - 1);
  }

  if (showMarker_) {
    canvas.pen.color = kWhite;
    canvas.brush.style = draw::BrushStyle::Clear;
    canvas.MoveTo(x0_ - 2, yValue);
    canvas.LineTo(x0_ - 6, yValue - 4);
    canvas.LineTo(x0_ - 6, yValue + 4);
    canvas.pen.color = kGrey;
    canvas.LineTo(x0_ - 2, yValue);
    canvas.pen.color = draw::ToQColor(markerColor_);
    canvas.brush = draw::Brush{draw::ToQColor(markerColor_)};
    canvas.Polygon(QPolygon({QPoint(x0_ - 3, yValue), QPoint(x0_ - 5, yValue - 2), QPoint(x0_ - 5, yValue + 2)}));
  }

  if (showIncrements_) {
    // Marks by repeated addition, so the last may fall short of ValueMax by rounding. The
    // loop ends when an addition no longer changes the value and after kMaxMarks marks.
    const int markLeft = x0_ + barThickness_ + 3;
    const int markRight = x0_ + barThickness_ + 7;
    double v = valueMin_;
    for (int marks = 0; v <= valueMax_ && marks < kMaxMarks; ++marks) {
      const int y = ValueToPixels(v);
      canvas.pen.color = kGrey;
      canvas.Line(markLeft, y - 1, markRight, y - 1);
      canvas.pen.color = kWhite;
      canvas.Line(markLeft, y, markRight, y);
      const double next = v + increment_;
      if (next == v) break;
      v = next;
    }
  }
}

}  // namespace controls
