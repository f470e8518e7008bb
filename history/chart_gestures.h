#pragma once
// The mouse on the history chart, as users of chart programs expect it: a rectangle dragged
// right and down zooms both axes to it; a drag up or to the left brings back the whole file;
// the right button drags the view along, and a right click that doesn't move opens the
// popup menu. The wheel zooms the time (the chart's own interaction).
#include <QObject>
#include <QPoint>
#include <functional>

#include "qcustomplot.h"

class QRubberBand;

namespace history {

class ChartGestures : public QObject {
  Q_OBJECT

 public:
  ChartGestures(QCustomPlot* chart, std::function<void(const QPoint& globalPos)> popup);

  // The ranges of the whole file, shown now and brought back by the restoring drag.
  void SetWhole(const QCPRange& keys, const QCPRange& values);
  void ShowWhole();
  // Zooms both axes to a rectangle of the chart's pixels.
  void ZoomTo(const QRect& pixels);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Press(QMouseEvent* event);
  void Move(QMouseEvent* event);
  void Release(QMouseEvent* event);

  QCustomPlot* chart_;
  std::function<void(const QPoint&)> popup_;
  QRubberBand* band_;
  Qt::MouseButton button_ = Qt::NoButton;
  QPoint pressPos_;
  QPoint lastPos_;
  bool moved_ = false;
  QCPRange wholeKeys_;
  QCPRange wholeValues_;
};

}  // namespace history
