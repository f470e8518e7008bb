// The five indicator controls of a display element: how each is set up from the
// configuration, placed in the panel, and fed a value.
#include <QFont>
#include <QWidget>
#include <algorithm>
#include <limits>
#include <string>

#include "controls/analog_meter.h"
#include "controls/bar_meter.h"
#include "controls/decimal_mark.h"
#include "controls/dial_gauge.h"
#include "controls/digit_display.h"
#include "controls/number_text.h"
#include "controls/segment_indicator.h"
#include "display/display_chart.h"
#include "display/display_object.h"
#include "platform/qt_text.h"
#include "platform/text_trim.h"

namespace {

// The ranges the configuration wizard allows. A file edited by hand may hold anything; the
// controls are built with the nearest value the wizard could have stored.
constexpr int kMinDigits = 1, kMaxDigits = 12;
constexpr int kMinSegmentSize = 2, kMaxSegmentSize = 22;
constexpr int kMinGaugeAngle = 30, kMaxGaugeAngle = 179;
constexpr int kMinGaugeMainTicks = 1, kMaxGaugeMainTicks = 19;  // the wizard's 2..20 minus one
constexpr int kMinMeterAngle = 30, kMaxMeterAngle = 360;
constexpr int kMinMeterTicks = 2, kMaxMeterTicks = 20;
constexpr int kMinBarThickness = 5, kMaxBarThickness = 170;
constexpr int kMinIncrement = 1, kMaxIncrement = 100;
// Decimals beyond this only add noise to a 32-bit reading.
constexpr int kMaxDecimals = 15;

constexpr int kFixedPrecision = 15;
constexpr int kMeterAngleForTopCaption = 240;

int Decimals(const DisplayConfig& c) { return std::clamp<int>(c.decimals, 0, kMaxDecimals); }

QString UnitOf(const DisplayConfig& c) { return platform::FromCp1252(platform::TrimBlanks(c.unit.str())); }

// A scale needs its minimum below its maximum; a stored range that isn't gets one unit
// (below the minimum when it is the largest value the field holds).
std::pair<int, int> Scale(int32_t min, int32_t max) {
  if (max > min) return {min, max};
  if (min == std::numeric_limits<int32_t>::max()) return {min - 1, min};
  return {min, min + 1};
}

void UseGaugeFont(QWidget* w) {
  QFont f = w->font();
  f.setPointSize(10);
  f.setBold(true);
  w->setFont(f);
}

// The value as the configuration's decimals write it, with "." as decimal mark.
std::string ValueText(float value, const DisplayConfig& c) {
  return draw::FloatToStrFixed(value, kFixedPrecision, Decimals(c));
}

}  // namespace

void DisplayObject::BuildLcd(const DisplayConfig& config, QWidget* parent) {
  const LcdSettings s = config.Lcd();
  indicator_ = new controls::TSegmentIndicator(parent);
  indicator_->setObjectName(QStringLiteral("Indicator"));
  indicator_->SETSignNumber(std::clamp<int>(s.digits, kMinDigits, kMaxDigits));
  indicator_->SETNumberForeColor(s.onColor);
  indicator_->SETNumberBackColor(s.offColor);
  indicator_->SETBackColor(s.backColor);
}

void DisplayObject::BuildLed(const DisplayConfig& config, QWidget* parent) {
  const LedSettings s = config.Led();
  ledDigits_ = new controls::TDigitDisplay(parent);
  ledDigits_->setObjectName(QStringLiteral("LedDigits"));
  ledDigits_->SetDigitNum(std::clamp<int>(s.digits, kMinDigits, kMaxDigits));
  ledDigits_->SetSegmentSize(std::clamp<int>(s.segmentSize, kMinSegmentSize, kMaxSegmentSize));
  ledDigits_->SetColor(s.backColor);
  ledDigits_->SetOffColor(s.offColor);
  ledDigits_->SetOnColor(s.onColor);
}

void DisplayObject::BuildBar(const DisplayConfig& config, QWidget* parent) {
  const BarSettings s = config.Bar();
  bar_ = new controls::TBarMeter(parent);
  bar_->setObjectName(QStringLiteral("Bar"));
  bar_->SetBarThickness(std::clamp<int>(s.thickness, kMinBarThickness, kMaxBarThickness));
  bar_->SetDigits(Decimals(config));
  bar_->SetIncrement(std::clamp<int32_t>(s.increment, kMinIncrement, kMaxIncrement));
  bar_->SetShowIncrements(s.showIncrements);
  bar_->SetSignalUnit(UnitOf(config));
  bar_->SetShowMarker(s.showMarker);
  // The whole range at once, so every configured range shows as configured whatever the
  // control's starting range.
  const auto [min, max] = Scale(s.min, s.max);
  bar_->SetRange(min, max);
  bar_->SetValue(min);
  bar_->SetColorFore(s.barColor);
  bar_->SetColorBack(s.barBackColor);
  bar_->SetColor(s.backColor);
  bar_->SetMarkerColor(s.markerColor);
}

void DisplayObject::BuildGauge(const DisplayConfig& config, QWidget* parent) {
  const DialSettings s = config.Dial();
  gauge_ = new controls::TDialGauge(parent);
  gauge_->setObjectName(QStringLiteral("Gauge"));
  gauge_->SetFArrowColor(s.needleColor);
  gauge_->SetFArrowWidth(2);
  gauge_->SetFCaptionColor(s.textColor);
  gauge_->SetFValueColor(s.textColor);
  gauge_->SetFCenterColor(s.centerColor);
  gauge_->SetFFaceColor(s.faceColor);
  gauge_->SetFMaxColor(s.highColor);
  gauge_->SetFMidColor(s.midColor);
  gauge_->SetFMinColor(s.lowColor);
  auto set = [](controls::TDialGauge::TFaceOptions& options, controls::TDialGauge::TFaceOption o, bool on) {
    if (on) {
      options |= controls::TDialGauge::Option(o);
    } else {
      options &= static_cast<controls::TDialGauge::TFaceOptions>(~controls::TDialGauge::Option(o));
    }
  };
  controls::TDialGauge::TFaceOptions options = gauge_->FaceOptions();
  set(options, controls::TDialGauge::ShowMargin, false);
  set(options, controls::TDialGauge::ShowMainTicks, true);
  set(options, controls::TDialGauge::ShowSubTicks, true);
  set(options, controls::TDialGauge::ShowValues, true);
  set(options, controls::TDialGauge::ShowCenter, s.centerOn);
  set(options, controls::TDialGauge::ShowIndicatorMax, s.highOn);
  set(options, controls::TDialGauge::ShowIndicatorMid, s.midOn);
  set(options, controls::TDialGauge::ShowIndicatorMin, s.lowOn);
  gauge_->SetFFaceOptions(options);
  gauge_->SetFScaleAngle(std::clamp<int>(s.angle, kMinGaugeAngle, kMaxGaugeAngle));
  UseGaugeFont(gauge_);
  gauge_->SetFNumMainTicks(std::clamp<int>(s.mainTicks, kMinGaugeMainTicks, kMaxGaugeMainTicks));
  const auto [min, max] = Scale(s.min, s.max);
  gauge_->SetRange(min, max);
  gauge_->SetFMaximum(s.highThreshold);
  gauge_->SetFMinimum(s.lowThreshold);
  unitText_ = UnitOf(config);
  gauge_->SetFCaption(unitText_);
  gauge_->SetFPosition(static_cast<float>(min));
}

void DisplayObject::BuildMeter(const DisplayConfig& config, QWidget* parent) {
  const MeterSettings s = config.Meter();
  meter_ = new controls::TAnalogMeter(parent);
  meter_->setObjectName(QStringLiteral("Meter"));
  meter_->SetNeedleWidth(2);
  meter_->SetLowZoneColor(s.lowColor);
  meter_->SetOKZoneColor(s.midColor);
  meter_->SetHighZoneColor(s.highColor);
  meter_->SetTickColor(s.textColor);
  meter_->SetFontColor(s.textColor);
  meter_->SetColor(s.backColor);
  unitText_ = UnitOf(config);
  meter_->SetCaption(unitText_);
  const int angle = std::clamp<int>(s.angle, kMinMeterAngle, kMaxMeterAngle);
  if (angle < kMeterAngleForTopCaption) {
    meter_->SetCaptionPosition(controls::TAnalogMeter::cpTop);
    meter_->SetCaptionVAdj(15);
  } else {
    meter_->SetCaptionPosition(controls::TAnalogMeter::cpBottom);
    meter_->SetCaptionVAdj(-10);
  }
  meter_->SetAngularRange(angle);
  meter_->SetShowTicks(true);
  meter_->SetShowTicksScale(true);
  meter_->SetShowValue(false);
  meter_->SetShowZones(s.showZones);
  meter_->SetShowBackgound(false);
  meter_->SetShowFrame(false);
  UseGaugeFont(meter_);
  // The whole range at once, so a range above the control's starting one (150..300, say)
  // is not clamped by the old limits on the way.
  const auto [min, max] = Scale(s.min, s.max);
  meter_->SetRange(static_cast<float>(min), static_cast<float>(max));
  meter_->SetLowZoneValue(static_cast<float>(s.lowZone));
  meter_->SetHighZoneValue(static_cast<float>(s.highZone));
  meter_->SetLogScale(s.logScale);
  // Readers take the low byte of the stored tick count.
  meter_->SetTickCount(std::clamp<int>(s.tickCount & 0xFF, kMinMeterTicks, kMaxMeterTicks));
  meter_->SetValueDigits(Decimals(config));
  meter_->SetTickDigits(Decimals(config));
  meter_->SetValuePrecision(7);
  meter_->SetTickPrecision(7);
}

void DisplayObject::ShowValue(float value, const DisplayConfig& config) {
  const std::string plain = ValueText(value, config);
  const QString text = draw::WithDecimalMark(plain, decimalMark_);
  switch (kind_) {
    case DisplayKind::LcdIndicator:
      indicator_->SETIndicatorString(text);
      break;
    case DisplayKind::LedDigits:
      // Its cells have a point between them and nothing else: a comma would blank them.
      ledDigits_->SetValue(QString::fromStdString(plain));
      break;
    case DisplayKind::BarMeter:
      if (value > bar_->ValueMax()) {
        bar_->SetCaption(QStringLiteral("OVERFLOW"));
      } else if (value < bar_->ValueMin()) {
        bar_->SetCaption(QStringLiteral("UNDERFLOW"));
      } else {
        bar_->SetCaption(QString());
      }
      bar_->SetValue(value);
      break;
    case DisplayKind::DialGauge:
      // The needle stops at the end of the scale; the caption tells the true value.
      gauge_->SetFPosition(std::clamp(value, static_cast<float>(gauge_->MinValue()),
                                      static_cast<float>(gauge_->MaxValue())));
      gauge_->SetFCaption(text + QLatin1Char(' ') + unitText_);
      break;
    case DisplayKind::AnalogMeter:
      meter_->SetValue(value);
      meter_->SetCaption(text + QLatin1Char(' ') + unitText_);
      break;
    case DisplayKind::Chart:
    case DisplayKind::None:
      break;
  }
}

bool DisplayObject::FitToPanel(QWidget* panel) {
  if (panel == nullptr || Widget() == nullptr) return false;
  const int pw = panel->width();
  const int ph = panel->height();
  const int m = std::min(pw, ph) / 20;
  switch (kind_) {
    case DisplayKind::Chart:
      return chart_->FitToPanel(panel);
    case DisplayKind::LcdIndicator:
      indicator_->setGeometry(m, m, std::max(pw - 2 * m, 1), std::max(ph - 2 * m, 1));
      indicator_->SETIndicatorWidth(indicator_->width());
      indicator_->SETIndicatorHeight(indicator_->height());
      return true;
    case DisplayKind::LedDigits: {
      ledDigits_->setGeometry(2 * m, 2 * m, std::max(pw - 4 * m, 1), std::max(ph - 4 * m, 1));
      const int w = ledDigits_->width();
      const int h = ledDigits_->height();
      ledDigits_->SetDigitSpacing(w / 35 + ledDigits_->SegmentSize() - 2);
      ledDigits_->SetGapX(w / 220 + 2);
      ledDigits_->SetGapY(h / 135 + 2);
      return true;
    }
    case DisplayKind::BarMeter:
      bar_->setGeometry(panel->rect());
      return true;
    case DisplayKind::DialGauge:
      gauge_->setGeometry(m, m, std::max(pw - 2 * m, 1), std::max(ph - 2 * m, 1));
      gauge_->SetFMargin(12);
      return true;
    case DisplayKind::AnalogMeter:
      meter_->setGeometry(panel->rect());
      return true;
    case DisplayKind::None:
      break;
  }
  return false;
}

void DisplayObject::SetSeriesTitles(std::span<const std::string> titles) {
  const QString text = titles.empty() ? QString() : platform::FromCp1252(titles.front());
  switch (kind_) {
    case DisplayKind::Chart:
      chart_->SetSeriesTitles(titles);
      break;
    case DisplayKind::BarMeter:
      if (bar_) bar_->SetSignalUnit(text);
      break;
    case DisplayKind::DialGauge:
    case DisplayKind::AnalogMeter:
      unitText_ = text;
      break;
    default:
      break;
  }
}
