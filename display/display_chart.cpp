#include "display/display_chart.h"

#include <QStringList>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <qcustomplot.h>

#include "controls/tcolor.h"
#include "display/channel_reading.h"
#include "platform/chart_time.h"
#include "platform/qt_text.h"
#include "platform/text_trim.h"
#include "ui/chart_legend.h"
#include "ui/readable_ticks.h"

namespace {

// Edited files may hold any line width; Qt draws nothing sensible outside this.
constexpr int kMaxLineWidth = 50;

int SafeLineWidth(int32_t width) { return std::clamp<int32_t>(width, 1, kMaxLineWidth); }

double SafePeriod(double days) { return std::isfinite(days) && days > 0 ? days : 0.0; }

QCPGraph* AddLine(QCustomPlot* plot, draw::TColor color, int width) {
  QCPGraph* g = plot->addGraph();
  g->setPen(QPen(draw::ToQColor(color), width));
  g->setAdaptiveSampling(true);
  return g;
}

}  // namespace

DisplayChart::DisplayChart(const DisplayConfig& config, QWidget* parent)
    : frame_(new QWidget(parent)) {
  const ChartSettings s = config.Chart();
  visiblePeriod_ = SafePeriod(s.visiblePeriod);
  autoY_ = s.autoY;
  const int width = SafeLineWidth(s.lineWidth);

  frame_->setObjectName(QStringLiteral("Chart"));
  plot_ = new QCustomPlot(frame_);
  plot_->setObjectName(QStringLiteral("ChartPlot"));
  legend_ = new ui::ChartLegendView(frame_);
  legend_->setObjectName(QStringLiteral("ChartLegend"));
  legendModel_ = new ui::ChartLegendModel(legend_);
  legend_->setModel(legendModel_);
  // The legend reads as part of the chart.
  legend_->SetBackground(draw::ToQColor(s.chartColor));
  frame_->setAutoFillBackground(true);
  QPalette colours = frame_->palette();
  colours.setColor(QPalette::Window, draw::ToQColor(s.chartColor));
  frame_->setPalette(colours);

  plot_->setBackground(QBrush(draw::ToQColor(s.chartColor)));
  plot_->axisRect()->setBackground(QBrush(draw::ToQColor(s.backColor)));
  // The user may pan the value axis only; the time axis follows the readings.
  plot_->setInteractions(QCP::iRangeDrag);
  plot_->axisRect()->setRangeDrag(Qt::Vertical);
  plot_->axisRect()->setRangeDragAxes(nullptr, plot_->yAxis);

  auto ticker = QSharedPointer<ui::ReadableTimeTicker>::create(plot_->xAxis, QStringLiteral("00:00:00"));
  ticker->setDateTimeSpec(Qt::UTC);
  ticker->setDateTimeFormat(QStringLiteral("hh:mm:ss"));
  plot_->xAxis->setTicker(ticker);
  // Only the label's height counts on the value axis.
  plot_->yAxis->setTicker(QSharedPointer<ui::ReadableValueTicker>::create(plot_->yAxis, QStringLiteral("0")));
  plot_->legend->setVisible(false);
  plot_->setAutoAddPlottableToLegend(false);

  for (const ChartChannelEntry& entry : config.chartChannels) {
    QCPGraph* g = AddLine(plot_, entry.color, width);
    g->setName(platform::FromCp1252(platform::TrimBlanks(entry.name.str())));
    series_.push_back(g);
  }
  FillLegend();
  if (s.ref1On) {
    ref1_ = AddLine(plot_, s.ref1Color, width);
    ref1Value_ = s.ref1Value;
  }
  if (s.ref2On) {
    ref2_ = AddLine(plot_, s.ref2Color, width);
    ref2Value_ = s.ref2Value;
  }
  if (!autoY_) {
    // A range edited into the file the wrong way round still gives a usable axis.
    double lo = std::min(s.yMin, s.yMax);
    double hi = std::max(s.yMin, s.yMax);
    plot_->yAxis->setRange(lo, hi > lo ? hi : lo + 1);
  }
  // Until a reading comes, the time axis shows the chart's span (from 00:00:00), not the
  // plot's default of a few seconds.
  SpanTimeAxis(chart_time::SecondsFromDays(visiblePeriod_));
  if (parent) FitToPanel(parent);
  frame_->show();
}

DisplayChart::~DisplayChart() { delete frame_.data(); }

QWidget* DisplayChart::Widget() const { return frame_; }
QCustomPlot* DisplayChart::Plot() const { return plot_; }
ui::ChartLegendView* DisplayChart::Legend() const { return legend_; }

void DisplayChart::AddPoint(QCPGraph* graph, double time, double value) const {
  const double key = chart_time::KeyFromDateTime(time);
  graph->addData(key, value);
  // Keep only the visible period before the newest point. Points after it are dropped too:
  // they are left from before the wall clock was set back and would otherwise stay for as
  // long as the clock had jumped.
  auto data = graph->data();
  data->removeBefore(key - chart_time::SecondsFromDays(visiblePeriod_));
  data->removeAfter(key);
}

void DisplayChart::Update(std::span<const float> values, std::span<const double> times,
                          const DisplayConfig& config, float errorValue) {
  if (!plot_) return;
  bool axisFixed = false;
  double axisTime = 0;
  double lastTime = times.empty() ? 0.0 : times[0];
  const size_t n = std::min(series_.size(), config.chartChannels.size());
  for (size_t i = 0; i < n; ++i) {
    const ChannelReading r =
        ReadChannel(config.chartChannels[i].channelIndex, values, times, errorValue);
    if (r.time == 0.0) continue;  // the device has no reading yet
    AddPoint(series_[i], r.time, r.value);
    lastTime = r.time;
    if (!axisFixed) {
      axisFixed = true;
      axisTime = r.time;
    }
  }
  if (lastTime != 0.0) {
    const double key = chart_time::KeyFromDateTime(lastTime);
    for (auto [graph, value] : {std::pair{ref1_, ref1Value_}, std::pair{ref2_, ref2Value_}}) {
      if (!graph) continue;
      auto data = graph->data();
      // One point per time: a reference line gets no second point for the same reading. An
      // earlier time than its last point means the clock was set back: the line follows it
      // (its later points go) rather than vanishing until the clock catches up.
      if (data->isEmpty() || key != (data->constEnd() - 1)->key) AddPoint(graph, lastTime, value);
    }
  }
  if (axisFixed) {
    readingShown_ = true;
    SpanTimeAxis(chart_time::KeyFromDateTime(axisTime));
  }
  if (autoY_) {
    bool found = false;
    QCPRange range;
    for (int g = 0; g < plot_->graphCount(); ++g) {
      bool ok = false;
      QCPRange r = plot_->graph(g)->getValueRange(ok);
      if (!ok) continue;
      range = found ? QCPRange(std::min(range.lower, r.lower), std::max(range.upper, r.upper)) : r;
      found = true;
    }
    if (found) {
      if (range.size() <= 0) range = QCPRange(range.lower - 1, range.upper + 1);
      plot_->yAxis->setRange(range);
      plot_->yAxis->scaleRange(1.1, range.center());
    }
  }
  plot_->replot(QCustomPlot::rpQueuedReplot);
}

bool DisplayChart::FitToPanel(QWidget* panel) {
  if (!plot_ || !legend_ || !panel) return false;
  frame_->setGeometry(panel->rect());
  Arrange();
  return true;
}

void DisplayChart::Arrange() {
  const QSize size = frame_->size();
  const int legendHeight = legend_->FitToPage(size.width(), size.height());
  legend_->setGeometry(0, size.height() - legendHeight, size.width(), legendHeight);
  plot_->setGeometry(0, 0, size.width(), size.height() - legendHeight);
  // A hidden widget gets its resize event only when shown; the plot lays out from its
  // viewport, so set that now to have the right layout before the first paint. Laid out
  // twice: the axes space their ticks by the plot's size of the pass before.
  plot_->setViewport(plot_->rect());
  for (int pass = 0; pass < 2; ++pass) {
    for (auto phase : {QCPLayoutElement::upPreparation, QCPLayoutElement::upMargins, QCPLayoutElement::upLayout}) {
      plot_->plotLayout()->update(phase);
    }
  }
  plot_->replot(QCustomPlot::rpQueuedReplot);
}

void DisplayChart::FillLegend() {
  QStringList titles;
  for (const QCPGraph* g : series_) titles.append(g->name());
  legend_->SizeEntries(titles, false);
  legendModel_->Reset(titles, [series = series_](size_t i) { return i < series.size() ? series[i]->pen() : QPen(Qt::NoPen); });
}

bool DisplayChart::AdjustTimeSpan(int32_t readIntervalMs) {
  if (readIntervalMs < 0) return false;
  const double intervalMs = readIntervalMs;
  // Compared in whole milliseconds, so a period stored as exactly the interval counts as equal.
  const double periodMs = std::round(visiblePeriod_ * platform::kMsPerDay);
  if (periodMs > intervalMs) return false;
  visiblePeriod_ = (intervalMs + 1000.0) / platform::kMsPerDay;
  if (plot_) {
    SpanTimeAxis(readingShown_ ? plot_->xAxis->range().upper : chart_time::SecondsFromDays(visiblePeriod_));
    plot_->replot(QCustomPlot::rpQueuedReplot);
  }
  return true;
}

void DisplayChart::SpanTimeAxis(double endKey) {
  plot_->xAxis->setRange(endKey - chart_time::SecondsFromDays(visiblePeriod_), endKey);
}

void DisplayChart::SetSeriesTitles(std::span<const std::string> titles) {
  if (!plot_) return;
  for (size_t i = 0; i < series_.size(); ++i) {
    series_[i]->data()->clear();
    if (i < titles.size()) series_[i]->setName(platform::FromCp1252(platform::TrimBlanks(titles[i])));
  }
  FillLegend();
  Arrange();
  if (ref1_) ref1_->data()->clear();
  if (ref2_) ref2_->data()->clear();
  plot_->replot(QCustomPlot::rpQueuedReplot);
}

bool DisplayChart::IsInPlotArea(QPoint p) const {
  return plot_ && plot_->axisRect()->rect().contains(plot_->mapFrom(frame_, p));
}
