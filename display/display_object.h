#pragma once
// DisplayObject: the one visual element of a display window, built from its DisplayConfig:
// a chart with one line per chart channel, or one of the five indicator controls. It places
// itself inside the window's panel and shows every hand-over of readings.
#include <QPoint>
#include <QPointer>
#include <QString>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>

#include "display/display_config.h"

class QWidget;
class QCustomPlot;
class DisplayChart;

namespace controls {
class TAnalogMeter;
class TBarMeter;
class TDialGauge;
class TDigitDisplay;
class TSegmentIndicator;
}  // namespace controls

// Thrown when the element's control cannot be placed in its panel.
class DisplayElementError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class DisplayObject {
 public:
  // Builds the element inside `parent`. Kind None (or unknown) builds nothing. Throws
  // DisplayElementError, with nothing left behind, when the control cannot be placed.
  DisplayObject(const DisplayConfig& config, QWidget* parent);
  ~DisplayObject();
  DisplayObject(const DisplayObject&) = delete;
  DisplayObject& operator=(const DisplayObject&) = delete;

  // Shows the newest readings: `values` holds five floats per device, `times` one TDateTime
  // per device (0.0 = no reading yet). A channel index that is "no channel" or outside the
  // buffers shows `errorValue`. False when the kind's control is missing.
  bool Update(std::span<const float> values, std::span<const double> times,
              const DisplayConfig& config, float errorValue);
  // Places the control inside the panel; false when the kind's control is missing.
  bool FitToPanel(QWidget* panel);
  // Chart only: widens the visible period to more than the reading interval, also in `config`.
  void AdjustTimeSpan(int32_t readIntervalMs, DisplayConfig& config);
  // Chart: titles the series in order (one per entry) and clears their points. Bar: the first
  // title is the unit caption. Gauges: the unit appended to the value caption; no title is an
  // empty unit. Code page 1252.
  void SetSeriesTitles(std::span<const std::string> titles);
  // True only for a chart and a point (chart coordinates) inside its plotting rectangle.
  bool IsInChartArea(QPoint chartPoint) const;

  // Numbers are shown with the locale's decimal mark (taken when the element is built); the
  // LED digits always show their point.
  const QString& DecimalMark() const { return decimalMark_; }
  void SetDecimalMark(const QString& mark);

  DisplayKind Kind() const { return kind_; }
  double VisiblePeriod() const;
  // The widget the element shows (chart or control), or null.
  QWidget* Widget() const;

  // The parts, for the window and for inspection; null unless of this kind.
  DisplayChart* Chart() const { return chart_.get(); }
  controls::TSegmentIndicator* Indicator() const;
  controls::TDigitDisplay* LedDigits() const;
  controls::TBarMeter* Bar() const;
  controls::TDialGauge* Gauge() const;
  controls::TAnalogMeter* Meter() const;

 private:
  void BuildLcd(const DisplayConfig& config, QWidget* parent);
  void BuildLed(const DisplayConfig& config, QWidget* parent);
  void BuildBar(const DisplayConfig& config, QWidget* parent);
  void BuildGauge(const DisplayConfig& config, QWidget* parent);
  void BuildMeter(const DisplayConfig& config, QWidget* parent);
  void ShowValue(float value, const DisplayConfig& config);
  void FreeControls();

  DisplayKind kind_ = DisplayKind::None;
  uint16_t valueIndex_ = 0;
  QString unitText_;  // gauges: appended to the value caption
  QString decimalMark_;
  std::unique_ptr<DisplayChart> chart_;
  QPointer<controls::TSegmentIndicator> indicator_;
  QPointer<controls::TBarMeter> bar_;
  QPointer<controls::TDigitDisplay> ledDigits_;
  QPointer<controls::TDialGauge> gauge_;
  QPointer<controls::TAnalogMeter> meter_;
};
