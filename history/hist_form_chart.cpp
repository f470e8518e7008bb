// The chart page of THistForm: the series of every recording run, the axes, the read-out
// under the mouse and the cross-hair.
#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <algorithm>
#include <limits>

#include "history/axis_scale.h"
#include "history/cell_texts.h"
#include "platform/chart_time.h"
#include "history/hist_form.h"
#include "history/point_search.h"
#include "history/series_titles.h"
#include "platform/qt_text.h"
#include "qcustomplot.h"

namespace history {

namespace {

// One colour per value column; later runs repeat their column's colour.
QColor SeriesColour(size_t column) {
  static const QColor palette[] = {
      QColor(220, 0, 0),    QColor(0, 140, 0),   QColor(0, 0, 220),   QColor(230, 130, 0),
      QColor(190, 0, 190),  QColor(0, 140, 140), QColor(120, 70, 20), QColor(0, 0, 110),
      QColor(110, 110, 0),  QColor(100, 0, 140), QColor(110, 110, 110), QColor(0, 0, 0)};
  return palette[column % (sizeof palette / sizeof palette[0])];
}

constexpr char kReadoutLayer[] = "readout";

}  // namespace

void THistForm::SetUpChart() {
  chart_->setBackground(Qt::white);
  chart_->axisRect()->setBackground(Qt::white);
  chart_->setAutoAddPlottableToLegend(false);
  chart_->setNoAntialiasingOnDrag(true);
  chart_->installEventFilter(this);

  // The legend in its own row below the plot, listing the series.
  chart_->legend->setVisible(true);
  chart_->axisRect()->insetLayout()->take(chart_->legend);
  chart_->plotLayout()->addElement(1, 0, chart_->legend);
  chart_->plotLayout()->setRowStretchFactor(1, 0.001);
  chart_->legend->setFillOrder(QCPLegend::foColumnsFirst);
  chart_->legend->setBorderPen(Qt::NoPen);

  auto ticker = QSharedPointer<QCPAxisTickerDateTime>::create();
  ticker->setTimeZone(QTimeZone::utc());
  const QLocale locale;
  ticker->setDateTimeFormat(locale.dateFormat(QLocale::ShortFormat) + QLatin1Char('\n') + TimeFormatWithoutZone(locale));
  chart_->xAxis->setTicker(ticker);

  // Zoom and scroll along the time only; the value axis keeps its scale.
  chart_->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
  chart_->axisRect()->setRangeDrag(Qt::Horizontal);
  chart_->axisRect()->setRangeZoom(Qt::Horizontal);

  // The legend and the cross-hair on layers of their own: following the mouse redraws them
  // and not a million points per series.
  chart_->layer(QStringLiteral("legend"))->setMode(QCPLayer::lmBuffered);
  chart_->addLayer(QString::fromLatin1(kReadoutLayer), chart_->layer(QStringLiteral("legend")), QCustomPlot::limAbove);
  readoutLayer_ = chart_->layer(QString::fromLatin1(kReadoutLayer));
  readoutLayer_->setMode(QCPLayer::lmBuffered);
  for (QCPItemLine** line : {&crossVertical_, &crossHorizontal_}) {
    *line = new QCPItemLine(chart_);
    (*line)->setLayer(readoutLayer_);
    (*line)->setClipToAxisRect(false);
    (*line)->setPen(QPen(Qt::black, 1));
    (*line)->start->setType(QCPItemPosition::ptAbsolute);
    (*line)->end->setType(QCPItemPosition::ptAbsolute);
    (*line)->setVisible(false);
  }
}

void THistForm::ClearChart() {
  // The legend's items first, all at once: a graph removed while it is listed makes the
  // legend rearrange every item it holds, which grows with the cube of the columns.
  chart_->legend->clearItems();
  chart_->clearGraphs();
  series_.clear();
  runSpans_.clear();
  if (auto* title = qobject_cast<QCPTextElement*>(chart_->plotLayout()->element(0, 0))) {
    chart_->plotLayout()->remove(title);
    chart_->plotLayout()->simplify();
  }
  crossVertical_->setVisible(false);
  crossHorizontal_->setVisible(false);
}

void THistForm::BuildChart() {
  const size_t columns = data_.ValueColumnCount();
  const auto& runs = data_.Runs();
  const auto& times = data_.Times();
  series_.reserve(columns * runs.size());
  runSpans_.reserve(runs.size());

  // The keys once for every column of a run.
  QVector<double> keys;
  for (size_t r = 0; r < runs.size(); ++r) {
    const HistoryRun& run = runs[r];
    keys.resize(static_cast<qsizetype>(run.rowCount));
    bool sorted = true;
    std::pair<double, double> span(std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity());
    for (size_t i = 0; i < run.rowCount; ++i) {
      const double key = chart_time::KeyFromDateTime(times[run.firstRow + i]);
      keys[static_cast<qsizetype>(i)] = key;
      if (i > 0 && key < keys[static_cast<qsizetype>(i - 1)]) sorted = false;
      span = {std::min(span.first, key), std::max(span.second, key)};
    }
    runSpans_.push_back(span);
    for (size_t c = 0; c < columns; ++c) {
      QCPGraph* graph = chart_->addGraph();
      graph->setPen(QPen(SeriesColour(c), 1));
      const std::vector<double>& values = data_.Values(c);
      // A value that didn't convert is no point: the line joins its neighbours.
      QVector<QCPGraphData> points;
      points.reserve(static_cast<qsizetype>(run.rowCount));
      for (size_t i = 0; i < run.rowCount; ++i) {
        const double v = values[run.firstRow + i];
        if (v == v) points.append(QCPGraphData(keys[static_cast<qsizetype>(i)], static_cast<float>(v)));
      }
      graph->data()->set(points, sorted);
      // Only the first run is named in the legend; later runs are the same columns again.
      if (r == 0) {
        graph->setName(seriesTitles_.value(static_cast<qsizetype>(c)));
        graph->addToLegend();
      }
      series_.push_back(graph);
    }
  }

  // Room in each legend entry for the longest read-out a value can add.
  const int readoutWidth = QFontMetrics(chart_->legend->font()).horizontalAdvance(QStringLiteral(": -00000.000"));
  widestLegendItem_ = 0;
  for (int i = 0; i < chart_->legend->itemCount(); ++i)
    widestLegendItem_ = std::max(widestLegendItem_, chart_->legend->item(i)->minimumOuterSizeHint().width() + readoutWidth);
  FitLegendColumns();

  const QString title = platform::FromCp1252(ChartTitle(data_));
  if (!title.isEmpty()) {
    chart_->plotLayout()->insertRow(0);
    QFont font = chart_->font();
    font.setBold(true);
    chart_->plotLayout()->addElement(0, 0, new QCPTextElement(chart_, title, font));
  }
}

void THistForm::ScaleAxes() {
  ValueRange range;
  for (size_t c = 0; c < data_.ValueColumnCount(); ++c)
    for (double v : data_.Values(c)) range.Add(static_cast<float>(v));
  const AxisRange axis = ScaleValueAxis(range);
  chart_->yAxis->setRange(axis.min, axis.max);

  const auto& times = data_.Times();
  if (times.empty()) return;
  // Every time stamp, not only each run's ends: a clock set back during a recording puts
  // points before the first line's.
  const auto [earliest, latest] = std::minmax_element(times.begin(), times.end());
  double first = chart_time::KeyFromDateTime(*earliest), last = chart_time::KeyFromDateTime(*latest);
  if (last - first < 1.0) {
    first -= 30.0;
    last += 30.0;
  }
  chart_->xAxis->setRange(first, last);
}

void THistForm::ShowReadout(double chartKey) {
  if (series_.empty()) return;
  const TDateTime t = chart_time::DateTimeFromKey(chartKey);
  dateTimeLabel_->setText(t != 0 && texts_ ? messages_[kMsgInstant] + QStringLiteral(": ") + texts_->DateTimeText(t)
                                           : QString());

  // The first run whose time span holds the cursor (an empty run's span holds nothing).
  long runAtCursor = -1;
  for (size_t r = 0; r < runSpans_.size() && runAtCursor < 0; ++r)
    if (runSpans_[r].first <= chartKey && chartKey <= runSpans_[r].second) runAtCursor = static_cast<long>(r);

  // Each series is searched by its own times: a value missing in one column neither shifts
  // the others nor leads past a series' end.
  for (size_t c = 0; c < SeriesPerRun(); ++c) {
    QString name = seriesTitles_.value(static_cast<qsizetype>(c));
    if (runAtCursor >= 0) {
      const QCPGraphDataContainer& points = *SeriesOf(static_cast<size_t>(runAtCursor), c)->data();
      const size_t count = static_cast<size_t>(points.size());
      if (count > 0 && points.constBegin()->key <= chartKey && chartKey <= (points.constEnd() - 1)->key) {
        auto keyAt = [&points](size_t i) { return (points.constBegin() + static_cast<int>(i))->key; };
        const long index = FindPointIndex(keyAt, count, chartKey);
        if (index >= 0)
          name += QStringLiteral(": ") + texts_->ReadoutValue((points.constBegin() + static_cast<int>(index))->value);
      }
    }
    SeriesOf(0, c)->setName(name);
  }
  RefreshReadoutLayers();
}

void THistForm::HistChartMouseMove(QMouseEvent* event) {
  if (series_.empty()) return;
  const QPoint pos = event->position().toPoint();
  const QRect plot = chart_->axisRect()->rect();
  if (pos.x() < plot.left() || pos.x() > plot.right() || pos.y() < plot.top() || pos.y() > plot.bottom()) return;
  MoveCrossHair(pos);
  ShowReadout(chart_->xAxis->pixelToCoord(pos.x()));
}

void THistForm::MoveCrossHair(const QPoint& pixel) {
  const bool shown = crossCheckBox_->isChecked();
  crossVertical_->setVisible(shown);
  crossHorizontal_->setVisible(shown);
  if (!shown) return;
  const QRect plot = chart_->axisRect()->rect();
  crossVertical_->start->setCoords(pixel.x(), plot.top());
  crossVertical_->end->setCoords(pixel.x(), plot.bottom());
  crossHorizontal_->start->setCoords(plot.left(), pixel.y());
  crossHorizontal_->end->setCoords(plot.right(), pixel.y());
}

void THistForm::CrossCheckBoxClick() {
  if (!crossCheckBox_->isChecked()) {
    crossVertical_->setVisible(false);
    crossHorizontal_->setVisible(false);
    readoutLayer_->replot();
  }
}

// As many legend entries side by side as fit the chart's width.
void THistForm::FitLegendColumns() {
  QCPLegend* legend = chart_->legend;
  if (legend->itemCount() == 0 || widestLegendItem_ <= 0) return;
  const int room = chart_->width() - legend->margins().left() - legend->margins().right();
  const int perRow = std::clamp((room + legend->columnSpacing()) / (widestLegendItem_ + legend->columnSpacing()), 1,
                                legend->itemCount());
  if (perRow == legend->wrap()) return;
  legend->setWrap(perRow);
  legend->setFillOrder(QCPLegend::foColumnsFirst, true);
}

bool THistForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == chart_ && event->type() == QEvent::Resize) FitLegendColumns();
  return QWidget::eventFilter(watched, event);
}

void THistForm::RefreshReadoutLayers() {
  QCPLegend* legend = chart_->legend;
  const QSize needed = legend->minimumOuterSizeHint();
  const QRect room = legend->outerRect();
  if (needed.width() > room.width() || needed.height() > room.height()) {
    // The longer names need a new layout of the whole chart.
    chart_->replot();
    return;
  }
  // A layer redraw falls back to a whole one by itself while the chart's buffers are stale.
  legend->update(QCPLayoutElement::upLayout);
  chart_->layer(QStringLiteral("legend"))->replot();
  readoutLayer_->replot();
}

}  // namespace history
