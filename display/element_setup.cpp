#include "display/element_setup.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "controls/analog_meter.h"
#include "controls/bar_meter.h"
#include "controls/dial_gauge.h"
#include "controls/digit_display.h"
#include "controls/segment_indicator.h"

namespace display_setup {
namespace {

// The ranges the configuration wizard allows.
constexpr int kMinDigits = 1, kMaxDigits = 12;
constexpr int kMinSegmentSize = 2, kMaxSegmentSize = 22;
constexpr int kMinGaugeAngle = 30, kMaxGaugeAngle = 179;
constexpr int kMinGaugeMainTicks = 1, kMaxGaugeMainTicks = 19;  // the wizard's 2..20 minus one
constexpr int kMinMeterAngle = 30, kMaxMeterAngle = 360;
constexpr int kMinMeterTicks = 2, kMaxMeterTicks = 20;
constexpr int kMinBarThickness = 5, kMaxBarThickness = 170;
constexpr int kMinIncrement = 1, kMaxIncrement = 100;

// From this sweep on the meter's caption goes below the needle's hub, where the dial is open.
constexpr int kMeterAngleForBottomCaption = 240;

using controls::TDialGauge;

void SetOption(TDialGauge::TFaceOptions& options, TDialGauge::TFaceOption o, bool on) {
  if (on) {
    options |= TDialGauge::Option(o);
  } else {
    options &= static_cast<TDialGauge::TFaceOptions>(~TDialGauge::Option(o));
  }
}

}  // namespace

std::pair<int, int> ScaleOf(int32_t min, int32_t max) {
  if (max > min) return {min, max};
  if (min == std::numeric_limits<int32_t>::max()) return {min - 1, min};
  return {min, min + 1};
}

void SetUpLcd(controls::TSegmentIndicator& indicator, const LcdSettings& s) {
  indicator.SETSignNumber(std::clamp<int>(s.digits, kMinDigits, kMaxDigits));
  indicator.SETNumberForeColor(s.onColor);
  indicator.SETNumberBackColor(s.offColor);
  indicator.SETBackColor(s.backColor);
}

void SetUpLed(controls::TDigitDisplay& digits, const LedSettings& s) {
  digits.SetDigitNum(std::clamp<int>(s.digits, kMinDigits, kMaxDigits));
  digits.SetSegmentSize(std::clamp<int>(s.segmentSize, kMinSegmentSize, kMaxSegmentSize));
  digits.SetColor(s.backColor);
  digits.SetOffColor(s.offColor);
  digits.SetOnColor(s.onColor);
}

void SetUpBar(controls::TBarMeter& bar, const BarSettings& s) {
  bar.SetBarThickness(std::clamp<int>(s.thickness, kMinBarThickness, kMaxBarThickness));
  bar.SetIncrement(std::clamp<int32_t>(s.increment, kMinIncrement, kMaxIncrement));
  bar.SetShowIncrements(s.showIncrements);
  bar.SetShowMarker(s.showMarker);
  // The whole range at once, so every configured range shows as configured whatever the
  // control's starting range.
  const auto [min, max] = ScaleOf(s.min, s.max);
  bar.SetRange(min, max);
  bar.SetColorFore(s.barColor);
  bar.SetColorBack(s.barBackColor);
  bar.SetColor(s.backColor);
  bar.SetMarkerColor(s.markerColor);
}

void SetUpDial(controls::TDialGauge& gauge, const DialSettings& s) {
  gauge.SetFArrowColor(s.needleColor);
  gauge.SetFArrowWidth(2);
  gauge.SetFCaptionColor(s.textColor);
  gauge.SetFValueColor(s.textColor);
  gauge.SetFCenterColor(s.centerColor);
  gauge.SetFFaceColor(s.faceColor);
  gauge.SetFMaxColor(s.highColor);
  gauge.SetFMidColor(s.midColor);
  gauge.SetFMinColor(s.lowColor);
  TDialGauge::TFaceOptions options = gauge.FaceOptions();
  SetOption(options, TDialGauge::ShowMargin, false);
  SetOption(options, TDialGauge::ShowMainTicks, true);
  SetOption(options, TDialGauge::ShowSubTicks, true);
  SetOption(options, TDialGauge::ShowValues, true);
  SetOption(options, TDialGauge::ShowCenter, s.centerOn);
  SetOption(options, TDialGauge::ShowIndicatorMax, s.highOn);
  SetOption(options, TDialGauge::ShowIndicatorMid, s.midOn);
  SetOption(options, TDialGauge::ShowIndicatorMin, s.lowOn);
  gauge.SetFFaceOptions(options);
  gauge.SetFScaleAngle(std::clamp<int>(s.angle, kMinGaugeAngle, kMaxGaugeAngle));
  gauge.SetFNumMainTicks(std::clamp<int>(s.mainTicks, kMinGaugeMainTicks, kMaxGaugeMainTicks));
  const auto [min, max] = ScaleOf(s.min, s.max);
  gauge.SetRange(min, max);
  gauge.SetFMaximum(s.highThreshold);
  gauge.SetFMinimum(s.lowThreshold);
}

void SetUpMeter(controls::TAnalogMeter& meter, const MeterSettings& s) {
  meter.SetNeedleWidth(2);
  meter.SetLowZoneColor(s.lowColor);
  meter.SetOKZoneColor(s.midColor);
  meter.SetHighZoneColor(s.highColor);
  meter.SetTickColor(s.textColor);
  meter.SetFontColor(s.textColor);
  meter.SetColor(s.backColor);
  const int angle = std::clamp<int>(s.angle, kMinMeterAngle, kMaxMeterAngle);
  if (angle < kMeterAngleForBottomCaption) {
    meter.SetCaptionPosition(controls::TAnalogMeter::cpTop);
    meter.SetCaptionVAdj(15);
  } else {
    meter.SetCaptionPosition(controls::TAnalogMeter::cpBottom);
    meter.SetCaptionVAdj(-10);
  }
  meter.SetAngularRange(angle);
  meter.SetShowTicks(true);
  meter.SetShowTicksScale(true);
  meter.SetShowValue(false);
  meter.SetShowZones(s.showZones);
  meter.SetShowBackgound(false);
  meter.SetShowFrame(false);
  // The whole range at once, so a range above the control's starting one (150..300, say)
  // is not clamped by the old limits on the way.
  const auto [min, max] = ScaleOf(s.min, s.max);
  meter.SetRange(static_cast<float>(min), static_cast<float>(max));
  meter.SetLowZoneValue(static_cast<float>(s.lowZone));
  meter.SetHighZoneValue(static_cast<float>(s.highZone));
  meter.SetLogScale(s.logScale);
  // Readers take the low byte of the stored tick count.
  meter.SetTickCount(std::clamp<int>(s.tickCount & 0xFF, kMinMeterTicks, kMaxMeterTicks));
}

}  // namespace display_setup
