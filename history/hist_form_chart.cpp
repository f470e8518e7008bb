// The chart page of THistForm: the lines of every recording run, the axes, the legend, the
// read-out under the mouse and the cross-hair.
#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <algorithm>
#include <limits>

#include "history/cell_texts.h"
#include "history/chart_gestures.h"
#include "history/chart_series.h"
#include "history/column_lines.h"
#include "history/hist_form.h"
#include "history/series_titles.h"
#include "history/time_axis_ticker.h"
#include "platform/chart_time.h"
#include "platform/qt_text.h"
#include "qcustomplot.h"
#include "ui/chart_legend.h"
#include "ui/readable_ticks.h"

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
  chart_->setBackground(chartColor_);
  chart_->axisRect()->setBackground(Qt::white);
  chart_->setAutoAddPlottableToLegend(false);
  chart_->legend->setVisible(false);
  chart_->setNoAntialiasingOnDrag(true);
  chart_->installEventFilter(this);
  chart_->xAxis->setTicker(QSharedPointer<TimeAxisTicker>::create(QLocale(), chart_->xAxis));
  ui::RespaceTicksOnResize(chart_);
  lines_ = new ColumnLines(chart_->xAxis, chart_->yAxis);

  gestures_ = new ChartGestures(chart_, [this](const QPoint& globalPos) { ShowPopupMenu(globalPos); });

  legendModel_ = new ui::ChartLegendModel(this);
  legend_->setModel(legendModel_);

  // The cross-hair on a layer of its own: following the mouse redraws it and not a
  // million points.
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
  legendModel_->Reset({}, nullptr);
  lines_->Clear();
  runSpans_.clear();
  runLanes_ = {};
  chartTitle_.clear();
  if (titleElement_ != nullptr) {
    chart_->plotLayout()->remove(titleElement_);
    chart_->plotLayout()->simplify();
    titleElement_ = nullptr;
  }
  crossVertical_->setVisible(false);
  crossHorizontal_->setVisible(false);
}

void THistForm::BuildChart() {
  ChartSeries series = BuildChartSeries(data_);
  std::vector<QPen> pens;
  pens.reserve(series.lanes.size());
  for (size_t c = 0; c < series.lanes.size(); ++c) pens.emplace_back(SeriesColour(c), 1);
  lines_->SetColumns(std::move(series.lanes), std::move(pens));
  runSpans_ = std::move(series.runSpans);
  runLanes_ = std::move(series.runLanes);
  legend_->SizeEntries(seriesTitles_);
  legendModel_->Reset(seriesTitles_, [lines = lines_](size_t column) {
    return column < lines->ColumnCount() ? lines->ColumnPen(column) : QPen(Qt::NoPen);
  });

  chartTitle_ = platform::FromCp1252(ChartTitle(data_));
  if (!chartTitle_.isEmpty()) {
    chart_->plotLayout()->insertRow(0);
    QFont font = chart_->font();
    font.setBold(true);
    titleElement_ = new QCPTextElement(chart_, chartTitle_, font);
    chart_->plotLayout()->addElement(0, 0, titleElement_);
  }
  ScaleAxes(series.range);
  FitLegendAndTitle();
}

void THistForm::ScaleAxes(const ValueRange& range) {
  const AxisRange values = ScaleValueAxis(range);

  // Every time stamp, not only each run's ends: a clock set back during a recording puts
  // points before the first line's.
  double first = std::numeric_limits<double>::infinity(), last = -first;
  for (const RunSpan& span : runSpans_) {
    first = std::min(first, span.first);
    last = std::max(last, span.second);
  }
  // A file of nothing but its header (a recording that has just begun) has no time to show.
  const bool anyTime = first <= last;
  chart_->xAxis->setTickLabels(anyTime);
  if (!anyTime) first = last = 0;
  if (last - first < 1.0) {
    first -= 30.0;
    last += 30.0;
  }
  gestures_->SetWhole(QCPRange(first, last), QCPRange(values.min, values.max));
}

void THistForm::ShowWholeFile() { gestures_->ShowWhole(); }

QPen THistForm::ColumnPen(size_t valueColumn) const { return lines_->ColumnPen(valueColumn); }

void THistForm::SetColumnPen(size_t valueColumn, const QPen& pen) {
  lines_->SetColumnPen(valueColumn, pen);
  legendModel_->RefreshAll();
  chart_->replot();
}

void THistForm::SetColumnPens(const std::vector<QPen>& pens) {
  for (size_t c = 0; c < pens.size(); ++c) lines_->SetColumnPen(c, pens[c]);
  legendModel_->RefreshAll();
  chart_->replot();
}

QColor THistForm::ChartColor() const { return chartColor_; }

void THistForm::SetChartColor(const QColor& color) {
  chartColor_ = color;
  chart_->setBackground(color);
  chart_->replot();
}

QColor THistForm::ChartBackColor() const { return chart_->axisRect()->backgroundBrush().color(); }

void THistForm::SetChartBackColor(const QColor& color) {
  chart_->axisRect()->setBackground(color);
  chart_->replot();
}

void THistForm::ShowReadout(double chartKey) {
  if (data_.DataRowCount() == 0 || !texts_) return;
  const TDateTime t = chart_time::DateTimeFromKey(chartKey);
  dateTimeLabel_->setText(messages_[kMsgInstant] + QStringLiteral(": ") + texts_->DateTimeText(t));

  // The first run whose time span holds the cursor (an empty run's span holds nothing).
  size_t run = runSpans_.size();
  for (size_t r = 0; r < runSpans_.size(); ++r)
    if (runSpans_[r].first <= chartKey && chartKey <= runSpans_[r].second) {
      run = r;
      break;
    }
  if (run == runSpans_.size()) {
    legendModel_->SetReadout(nullptr);
    return;
  }
  // Each column is searched by its own points: a value missing in one column neither shifts
  // the others nor leads past the run's end. Only the entries in view ask.
  const RunSpan span = runSpans_[run];
  const size_t lane = runLanes_.laneOfRun[run];
  legendModel_->SetReadout([this, span, lane, chartKey](size_t column) {
    const auto value = lines_->ValueAt(column, lane, span.first, span.second, chartKey);
    return value ? QStringLiteral(": ") + texts_->ReadoutValue(*value) : QString();
  });
}

QString THistForm::LegendText(size_t valueColumn) const {
  return legendModel_->index(static_cast<int>(valueColumn)).data().toString();
}

void THistForm::HistChartMouseMove(QMouseEvent* event) {
  if (data_.DataRowCount() == 0) return;
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
  // A layer redraw falls back to a whole one by itself while the chart's buffers are stale.
  readoutLayer_->replot();
}

void THistForm::CrossCheckBoxClick() {
  if (!crossCheckBox_->isChecked()) {
    crossVertical_->setVisible(false);
    crossHorizontal_->setVisible(false);
    readoutLayer_->replot();
  }
}

// The legend bounded to a part of the page; the chart title cut to the width.
void THistForm::FitLegendAndTitle() {
  legend_->FitToPage(chartTabSheet_->width(), chartTabSheet_->height());
  if (titleElement_ != nullptr) {
    const QFontMetrics metrics(titleElement_->font());
    const QString shown = metrics.elidedText(chartTitle_, Qt::ElideRight, std::max(40, chart_->width() - 20));
    if (shown != titleElement_->text()) {
      titleElement_->setText(shown);
      chart_->replot(QCustomPlot::rpQueuedReplot);
    }
  }
}

bool THistForm::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == chart_ || watched == chartTabSheet_) && event->type() == QEvent::Resize) FitLegendAndTitle();
  return QWidget::eventFilter(watched, event);
}

}  // namespace history
