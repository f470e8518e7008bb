#include "app/tool_icons.h"

#include <QPainter>
#include <cmath>
#include <QPainterPath>
#include <QPixmap>

namespace app {
namespace {

constexpr int kIconSize = 24;

void DrawWindowFrame(QPainter& p, const QRectF& r) {
  p.setPen(QPen(QColor(40, 60, 110), 1.2));
  p.setBrush(Qt::white);
  p.drawRect(r);
  p.fillRect(QRectF(r.left(), r.top(), r.width(), 4), QColor(50, 90, 170));
}

void DrawGear(QPainter& p, QPointF centre, qreal radius) {
  QPainterPath gear;
  constexpr int kTeeth = 8;
  for (int i = 0; i < kTeeth * 2; ++i) {
    const qreal angle = i * 3.14159265358979 / kTeeth;
    const qreal r = (i % 2 == 0) ? radius : radius * 0.72;
    const QPointF point(centre.x() + r * std::cos(angle), centre.y() + r * std::sin(angle));
    if (i == 0) gear.moveTo(point); else gear.lineTo(point);
  }
  gear.closeSubpath();
  gear.addEllipse(centre, radius * 0.3, radius * 0.3);
  p.setPen(QPen(QColor(70, 70, 70), 0.8));
  p.setBrush(QColor(150, 150, 160));
  p.drawPath(gear);
}

void DrawDocument(QPainter& p, const QRectF& r) {
  p.setPen(QPen(QColor(80, 80, 80), 1.0));
  p.setBrush(QColor(255, 255, 240));
  p.drawRect(r);
  p.setPen(QPen(QColor(60, 120, 200), 1.2));
  QPointF last(r.left() + 2, r.bottom() - 4);
  const qreal step = (r.width() - 4) / 5;
  const qreal ys[] = {0.35, 0.6, 0.3, 0.5, 0.2};
  for (int i = 0; i < 5; ++i) {
    const QPointF next(r.left() + 2 + step * (i + 1), r.top() + r.height() * ys[i] + 2);
    p.drawLine(last, next);
    last = next;
  }
}

}  // namespace

QIcon MakeToolIcon(ToolIcon which) {
  QPixmap pixmap(kIconSize, kIconSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  switch (which) {
    case ToolIcon::SetupDevice: {
      p.setPen(QPen(QColor(50, 50, 50), 1.0));
      p.setBrush(QColor(90, 110, 140));
      p.drawRoundedRect(QRectF(2, 5, 15, 15), 2, 2);
      p.fillRect(QRectF(4.5, 8, 10, 5), QColor(150, 230, 150));
      p.setPen(QPen(QColor(20, 90, 20), 1.0));
      p.drawText(QRectF(4.5, 7, 10, 7), Qt::AlignCenter, QStringLiteral("8"));
      DrawGear(p, QPointF(17, 17), 6);
      break;
    }
    case ToolIcon::NewWindow:
      DrawWindowFrame(p, QRectF(2.5, 3.5, 16, 14));
      p.setPen(QPen(QColor(20, 140, 40), 3.0));
      p.drawLine(QPointF(18, 13), QPointF(18, 23));
      p.drawLine(QPointF(13, 18), QPointF(23, 18));
      break;
    case ToolIcon::SetupWindow:
      DrawWindowFrame(p, QRectF(2.5, 3.5, 16, 14));
      DrawGear(p, QPointF(17, 17), 6);
      break;
    case ToolIcon::SetupHistory:
      DrawDocument(p, QRectF(3.5, 2.5, 14, 18));
      DrawGear(p, QPointF(17, 17), 6);
      break;
    case ToolIcon::OpenHistory: {
      p.setPen(QPen(QColor(150, 110, 20), 1.0));
      p.setBrush(QColor(240, 200, 90));
      QPainterPath folder;
      folder.moveTo(2, 6); folder.lineTo(9, 6); folder.lineTo(11, 8); folder.lineTo(21, 8);
      folder.lineTo(21, 20); folder.lineTo(2, 20); folder.closeSubpath();
      p.drawPath(folder);
      p.setBrush(QColor(250, 220, 120));
      QPainterPath flap;
      flap.moveTo(2, 20); flap.lineTo(6, 11); flap.lineTo(23, 11); flap.lineTo(20, 20); flap.closeSubpath();
      p.drawPath(flap);
      break;
    }
    case ToolIcon::Start: {
      QPainterPath play;
      play.moveTo(6, 3); play.lineTo(21, 12); play.lineTo(6, 21); play.closeSubpath();
      p.setPen(QPen(QColor(10, 100, 30), 1.0));
      p.setBrush(QColor(40, 170, 60));
      p.drawPath(play);
      break;
    }
    case ToolIcon::Stop:
      p.setPen(QPen(QColor(120, 10, 10), 1.0));
      p.setBrush(QColor(210, 40, 40));
      p.drawRoundedRect(QRectF(4.5, 4.5, 15, 15), 2, 2);
      break;
    case ToolIcon::DisableHistory:
      DrawDocument(p, QRectF(3.5, 2.5, 14, 18));
      p.setPen(QPen(QColor(200, 20, 20), 2.6));
      p.drawLine(QPointF(12, 12), QPointF(22, 22));
      p.drawLine(QPointF(22, 12), QPointF(12, 22));
      break;
  }
  p.end();
  return QIcon(pixmap);
}

QPixmap MakeLogoPixmap(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 64.0, size / 64.0);
  // Thermometer.
  p.setPen(QPen(QColor(60, 60, 60), 2));
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(14, 6, 12, 40), 6, 6);
  p.drawEllipse(QPointF(20, 50), 9, 9);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(210, 40, 40));
  p.drawEllipse(QPointF(20, 50), 6.5, 6.5);
  p.drawRect(QRectF(17.5, 20, 5, 30));
  // Drop.
  QPainterPath drop;
  drop.moveTo(46, 14);
  drop.cubicTo(52, 26, 58, 32, 58, 40);
  drop.arcTo(QRectF(34, 28, 24, 24), 0, -180);
  drop.cubicTo(34, 32, 40, 26, 46, 14);
  p.setBrush(QColor(40, 120, 210));
  p.drawPath(drop);
  p.end();
  return pixmap;
}

}  // namespace app
