#include "history/column_lines.h"

#include <algorithm>

namespace history {

ColumnLines::ColumnLines(QCPAxis* keyAxis, QCPAxis* valueAxis) : QCPGraph(keyAxis, valueAxis) {
  setSelectable(QCP::stNone);
  setLineStyle(QCPGraph::lsLine);
}

void ColumnLines::SetColumns(std::vector<std::vector<Lane>> lanes, std::vector<QPen> pens) {
  columns_.clear();
  columns_.resize(lanes.size());
  for (size_t c = 0; c < lanes.size(); ++c) {
    columns_[c].lanes = std::move(lanes[c]);
    columns_[c].pen = c < pens.size() ? pens[c] : QPen(Qt::black);
  }
}

void ColumnLines::Clear() { columns_.clear(); }

std::optional<double> ColumnLines::ValueAt(size_t column, size_t lane, double runFirst, double runLast,
                                           double key) const {
  if (column >= columns_.size() || lane >= columns_[column].lanes.size()) return std::nullopt;
  const QCPGraphDataContainer& points = *columns_[column].lanes[lane];
  const auto byKey = [](const QCPGraphData& point, double k) { return point.key < k; };
  const auto first = std::lower_bound(points.constBegin(), points.constEnd(), runFirst, byKey);
  const auto last = std::upper_bound(first, points.constEnd(), runLast,
                                     [](double k, const QCPGraphData& point) { return k < point.key; });
  if (first == last || key < first->key || key > (last - 1)->key) return std::nullopt;
  const auto at = std::upper_bound(first, last, key, [](double k, const QCPGraphData& point) { return k < point.key; });
  return (at - 1)->value;
}

void ColumnLines::draw(QCPPainter* painter) {
  // The graph's own drawing, one lane at a time, each with its column's pen.
  const Lane own = mDataContainer;
  const QPen ownPen = mPen;
  for (const Column& column : columns_) {
    if (column.pen.style() == Qt::NoPen) continue;
    mPen = column.pen;
    for (const Lane& lane : column.lanes) {
      if (lane->size() < 2) continue;  // a lone point makes no line
      mDataContainer = lane;
      QCPGraph::draw(painter);
    }
  }
  mDataContainer = own;
  mPen = ownPen;
}

}  // namespace history
