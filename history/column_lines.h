#pragma once
// The lines of every value column of a history chart, drawn by one plottable: a chart
// object per column or per recording run costs the chart library time in the square of
// their number, and files of tens of thousands of columns or runs exist.
//
// A column's points sit in one or more lanes, each a key-sorted container in which the
// recording runs follow one another in time with a NaN point between two runs, so that the
// line breaks there. Runs whose times overlap (a clock set back) go to separate lanes.
#include <QPen>
#include <QSharedPointer>
#include <optional>
#include <vector>

#include "qcustomplot.h"

namespace history {

class ColumnLines : public QCPGraph {
  Q_OBJECT

 public:
  using Lane = QSharedPointer<QCPGraphDataContainer>;

  ColumnLines(QCPAxis* keyAxis, QCPAxis* valueAxis);

  // Replaces every column: lanes[c] are column c's lanes, pens[c] its pen.
  void SetColumns(std::vector<std::vector<Lane>> lanes, std::vector<QPen> pens);
  void Clear();

  size_t ColumnCount() const { return columns_.size(); }
  const std::vector<Lane>& Lanes(size_t column) const { return columns_[column].lanes; }
  // One pen for all of a column's runs.
  QPen ColumnPen(size_t column) const { return column < columns_.size() ? columns_[column].pen : QPen(); }
  void SetColumnPen(size_t column, const QPen& pen) {
    if (column < columns_.size()) columns_[column].pen = pen;
  }

  // The value of the column's last point at or before key among the points with keys in
  // [runFirst, runLast] of a lane (one run's points), when key lies within them.
  std::optional<double> ValueAt(size_t column, size_t lane, double runFirst, double runLast, double key) const;

  // The chart's mouse handling must not search a million points under the cursor.
  double selectTest(const QPointF&, bool, QVariant* = nullptr) const override { return -1; }

 protected:
  void draw(QCPPainter* painter) override;

 private:
  struct Column {
    std::vector<Lane> lanes;
    QPen pen;
  };
  std::vector<Column> columns_;
};

}  // namespace history
