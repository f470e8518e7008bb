#include "history/chart_gestures.h"

#include <QMouseEvent>
#include <QRubberBand>

namespace history {

namespace {

// Less than this many pixels is a click, not a drag.
constexpr int kDragThreshold = 4;

}  // namespace

ChartGestures::ChartGestures(QCustomPlot* chart, std::function<void(const QPoint&)> popup)
    : QObject(chart), chart_(chart), popup_(std::move(popup)), band_(new QRubberBand(QRubberBand::Rectangle, chart)) {
  chart_->setInteractions(QCP::iRangeZoom);
  chart_->axisRect()->setRangeZoom(Qt::Horizontal);
  // Right-button presses and releases come here: the menu opens on a click, not on a drag.
  chart_->setContextMenuPolicy(Qt::PreventContextMenu);
  chart_->installEventFilter(this);
}

void ChartGestures::SetWhole(const QCPRange& keys, const QCPRange& values) {
  wholeKeys_ = keys;
  wholeValues_ = values;
  chart_->xAxis->setRange(keys);
  chart_->yAxis->setRange(values);
}

void ChartGestures::ShowWhole() {
  chart_->xAxis->setRange(wholeKeys_);
  chart_->yAxis->setRange(wholeValues_);
  chart_->replot();
}

void ChartGestures::ZoomTo(const QRect& pixels) {
  const QRect rect = pixels.normalized().intersected(chart_->axisRect()->rect());
  if (rect.width() < kDragThreshold || rect.height() < kDragThreshold) return;
  chart_->xAxis->setRange(chart_->xAxis->pixelToCoord(rect.left()), chart_->xAxis->pixelToCoord(rect.right()));
  chart_->yAxis->setRange(chart_->yAxis->pixelToCoord(rect.bottom()), chart_->yAxis->pixelToCoord(rect.top()));
  chart_->replot();
}

bool ChartGestures::eventFilter(QObject* watched, QEvent* event) {
  if (watched != chart_) return false;
  switch (event->type()) {
    case QEvent::MouseButtonPress:
      Press(static_cast<QMouseEvent*>(event));
      break;
    case QEvent::MouseMove:
      Move(static_cast<QMouseEvent*>(event));
      break;
    case QEvent::MouseButtonRelease:
      Release(static_cast<QMouseEvent*>(event));
      break;
    default:
      break;
  }
  // The chart still sees every event: its signals drive the read-out.
  return false;
}

void ChartGestures::Press(QMouseEvent* event) {
  if (button_ != Qt::NoButton) return;
  if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) return;
  button_ = event->button();
  pressPos_ = lastPos_ = event->position().toPoint();
  moved_ = false;
}

void ChartGestures::Move(QMouseEvent* event) {
  if (button_ == Qt::NoButton) return;
  const QPoint pos = event->position().toPoint();
  if (!moved_ && (pos - pressPos_).manhattanLength() < kDragThreshold) return;
  moved_ = true;
  if (button_ == Qt::LeftButton) {
    band_->setGeometry(QRect(pressPos_, pos).normalized());
    band_->show();
  } else {
    QCPAxis* x = chart_->xAxis;
    QCPAxis* y = chart_->yAxis;
    x->moveRange(x->pixelToCoord(lastPos_.x()) - x->pixelToCoord(pos.x()));
    y->moveRange(y->pixelToCoord(lastPos_.y()) - y->pixelToCoord(pos.y()));
    chart_->replot(QCustomPlot::rpQueuedReplot);
  }
  lastPos_ = pos;
}

void ChartGestures::Release(QMouseEvent* event) {
  if (event->button() != button_) return;
  const Qt::MouseButton button = button_;
  button_ = Qt::NoButton;
  band_->hide();
  const QPoint pos = event->position().toPoint();
  if (button == Qt::RightButton) {
    if (!moved_ && popup_) popup_(chart_->mapToGlobal(pos));
    return;
  }
  if (!moved_) return;
  if (pos.x() > pressPos_.x() && pos.y() > pressPos_.y())
    ZoomTo(QRect(pressPos_, pos));
  else
    ShowWhole();
}

}  // namespace history
