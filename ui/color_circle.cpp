#include "ui/color_circle.h"

#include <QPainter>

#include "controls/tcolor.h"

namespace ui {

TColorCircle::TColorCircle(QWidget* parent, uint32_t color) : QWidget(parent), color_(color) {
  setFixedSize(15, 15);
}

void TColorCircle::SetColor(uint32_t color) {
  if (color == color_) return;
  color_ = color;
  update();
}

void TColorCircle::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(draw::ToQColor(color_));
  p.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

}  // namespace ui
