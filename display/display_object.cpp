#include "display/display_object.h"

#include <QWidget>
#include <qcustomplot.h>

#include "controls/analog_meter.h"
#include "controls/bar_meter.h"
#include "controls/decimal_mark.h"
#include "controls/dial_gauge.h"
#include "controls/digit_display.h"
#include "controls/segment_indicator.h"
#include "display/channel_reading.h"
#include "display/display_chart.h"

DisplayObject::DisplayObject(const DisplayConfig& config, QWidget* parent)
    : kind_(config.kind), valueIndex_(config.valueIndex), decimalMark_(draw::LocaleDecimalMark()) {
  switch (kind_) {
    case DisplayKind::Chart:
      chart_ = std::make_unique<DisplayChart>(config, parent);
      break;
    case DisplayKind::LcdIndicator:
      BuildLcd(config, parent);
      break;
    case DisplayKind::LedDigits:
      BuildLed(config, parent);
      break;
    case DisplayKind::BarMeter:
      BuildBar(config, parent);
      break;
    case DisplayKind::DialGauge:
      BuildGauge(config, parent);
      break;
    case DisplayKind::AnalogMeter:
      BuildMeter(config, parent);
      break;
    case DisplayKind::None:
      return;
  }
  if (!FitToPanel(parent)) {
    FreeControls();
    throw DisplayElementError("the display element cannot be placed in its panel");
  }
  if (QWidget* w = Widget()) w->show();
}

DisplayObject::~DisplayObject() { FreeControls(); }

void DisplayObject::FreeControls() {
  delete ledDigits_.data();
  delete bar_.data();
  delete indicator_.data();
  delete gauge_.data();
  delete meter_.data();
  chart_.reset();
}

controls::TSegmentIndicator* DisplayObject::Indicator() const { return indicator_; }
controls::TDigitDisplay* DisplayObject::LedDigits() const { return ledDigits_; }
controls::TBarMeter* DisplayObject::Bar() const { return bar_; }
controls::TDialGauge* DisplayObject::Gauge() const { return gauge_; }
controls::TAnalogMeter* DisplayObject::Meter() const { return meter_; }

QWidget* DisplayObject::Widget() const {
  switch (kind_) {
    case DisplayKind::Chart: return chart_ ? chart_->Widget() : nullptr;
    case DisplayKind::LcdIndicator: return indicator_;
    case DisplayKind::LedDigits: return ledDigits_;
    case DisplayKind::BarMeter: return bar_;
    case DisplayKind::DialGauge: return gauge_;
    case DisplayKind::AnalogMeter: return meter_;
    case DisplayKind::None: break;
  }
  return nullptr;
}

void DisplayObject::SetDecimalMark(const QString& mark) {
  decimalMark_ = mark;
  if (bar_) bar_->SetDecimalMark(mark);
  if (meter_) meter_->SetDecimalMark(mark);
}

double DisplayObject::VisiblePeriod() const { return chart_ ? chart_->VisiblePeriod() : 0.0; }

bool DisplayObject::Update(std::span<const float> values, std::span<const double> times,
                           const DisplayConfig& config, float errorValue) {
  if (Widget() == nullptr) return false;
  if (kind_ == DisplayKind::Chart) {
    chart_->Update(values, times, config, errorValue);
    return true;
  }
  ShowValue(ReadChannel(config.channelIndex, values, times, errorValue).value, config);
  return true;
}

void DisplayObject::AdjustTimeSpan(int32_t readIntervalMs, DisplayConfig& config) {
  if (!chart_ || !chart_->AdjustTimeSpan(readIntervalMs)) return;
  ChartSettings s = config.Chart();
  s.visiblePeriod = chart_->VisiblePeriod();
  config.SetChart(s);
}

bool DisplayObject::IsInChartArea(QPoint chartPoint) const {
  return chart_ && chart_->IsInPlotArea(chartPoint);
}
