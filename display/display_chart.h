#pragma once
// The chart of a chart display: one line per chart channel, two optional horizontal reference
// lines, the legend below the plot, a date-time axis that spans the visible period and follows
// the newest reading, and panning on the value axis only. Each series keeps only the points of
// one visible period. The legend lists the channels but not the reference lines; however many
// channels, it takes at most a quarter of the chart's height (a few channels show every name
// whole, in a smaller font where needed; many are partly a scroll away), and the axes space
// their labels to the plot's size, so a small or tiled window keeps a readable plot.
#include <QPoint>
#include <QPointer>
#include <span>
#include <string>
#include <vector>

#include "display/display_config.h"

class QCPGraph;
class QCustomPlot;
class QWidget;

namespace ui {
class ChartLegendModel;
class ChartLegendView;
}  // namespace ui

class DisplayChart {
 public:
  // Builds the chart inside `parent`; the chart (plot and legend) is the parent's child.
  DisplayChart(const DisplayConfig& config, QWidget* parent);
  ~DisplayChart();
  DisplayChart(const DisplayChart&) = delete;
  DisplayChart& operator=(const DisplayChart&) = delete;

  // Adds one point per channel with a reading and moves the time axis; see the source.
  void Update(std::span<const float> values, std::span<const double> times,
              const DisplayConfig& config, float errorValue);
  // Fills the panel.
  bool FitToPanel(QWidget* panel);
  // Widens the visible period to more than the reading interval; true when it changed.
  bool AdjustTimeSpan(int32_t readIntervalMs);
  // Titles the series in order (a series past the list's end keeps its title) and clears
  // every point. Code page 1252.
  void SetSeriesTitles(std::span<const std::string> titles);
  // p in the chart's own coordinates (Widget()); true inside the plotting rectangle, borders
  // included.
  bool IsInPlotArea(QPoint p) const;

  double VisiblePeriod() const { return visiblePeriod_; }
  // The plot and the legend below it.
  QWidget* Widget() const;
  QCustomPlot* Plot() const;
  ui::ChartLegendView* Legend() const;
  const std::vector<QCPGraph*>& Series() const { return series_; }
  QCPGraph* ReferenceSeries(int which) const { return which == 0 ? ref1_ : ref2_; }

 private:
  void AddPoint(QCPGraph* graph, double time, double value) const;
  // The time axis shows one visible period ending at the key.
  void SpanTimeAxis(double endKey);
  // The legend's entries from the series' titles and pens.
  void FillLegend();
  // The legend bounded below the plot, the plot above it laid out at once.
  void Arrange();

  // The frame owns the plot and the legend; the parent of the frame may delete it first.
  QPointer<QWidget> frame_;
  QPointer<QCustomPlot> plot_;
  QPointer<ui::ChartLegendView> legend_;
  ui::ChartLegendModel* legendModel_ = nullptr;  // owned by the legend
  std::vector<QCPGraph*> series_;  // owned by the plot
  QCPGraph* ref1_ = nullptr;
  QCPGraph* ref2_ = nullptr;
  double ref1Value_ = 0;
  double ref2Value_ = 0;
  bool autoY_ = false;
  double visiblePeriod_ = 0;  // days
  bool readingShown_ = false;  // a reading has placed the time axis
};
