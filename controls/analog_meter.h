#pragma once
// A self-drawn pointer meter on an elliptic dial: a band split into low, ok and high zones,
// evenly spaced ticks with linear or logarithmic labels, a caption, a needle with a knob
// coloured by the zone the value is in, and an optional numeric read-out. It can be laid
// over a background picture through a mask, and raises events when the value crosses a zone
// limit. The face is kept in an image drawn in two layers: a new value redraws only the
// inside of the zone band.
#include <QImage>
#include <QString>
#include <QWidget>
#include <cstdint>

#include "controls/analog_meter_geometry.h"
#include "controls/notify_event.h"
#include "controls/tcolor.h"

namespace controls {

class TAnalogMeter : public QWidget {
  Q_OBJECT

 public:
  enum TCaptionPos : uint8_t { cpTop, cpBottom };
  using TColor = draw::TColor;

  explicit TAnalogMeter(QWidget* parent = nullptr);

  const QImage& BackGround() const { return background_; }
  bool ShowBackground() const { return showBackground_; }
  const QString& Caption() const { return caption_; }
  TCaptionPos CaptionPosition() const { return captionPosition_; }
  int CaptionVertAdj() const { return captionVertAdj_; }
  float Min() const { return min_; }
  float Max() const { return max_; }
  float Value() const { return value_; }
  int TickPrecision() const { return tickPrecision_; }
  int TickDigits() const { return tickDigits_; }
  bool LogScale() const { return logScale_; }
  bool TickValAbbr() const { return tickValAbbr_; }
  int ValuePrecision() const { return valuePrecision_; }
  int ValueDigits() const { return valueDigits_; }
  int AngularRange() const { return angularRange_; }
  int TickCount() const { return tickCount_; }
  int LowZone() const { return GetLowZone(); }
  int HighZone() const { return GetHighZone(); }
  TColor HighZoneColor() const { return highZoneColor_; }
  TColor LowZoneColor() const { return lowZoneColor_; }
  TColor OKZoneColor() const { return okZoneColor_; }
  float LowZoneValue() const { return lowZoneValue_; }
  float HighZoneValue() const { return highZoneValue_; }
  int KnobSize() const { return knobSize_; }
  int NeedleWidth() const { return needleWidth_; }
  TColor TickColor() const { return tickColor_; }
  bool ShowTicks() const { return showTicks_; }
  bool ShowTicksScale() const { return showTicksScale_; }
  bool ShowZones() const { return showZones_; }
  bool ShowFrame() const { return showFrame_; }
  bool ShowValue() const { return showValue_; }
  bool EnableZoneEvents() const { return enableZoneEvents_; }
  TColor Color() const { return color_; }
  TColor FontColor() const { return fontColor_; }
  // The decimal mark of tick labels and read-out; the locale's when the meter is made.
  const QString& DecimalMark() const { return decimalMark_; }
  // The start angle of the scale (degrees from straight down, clockwise).
  double StartAngle() const { return startAngle_; }

  void SetBackground(const QImage& picture);  // copied; always redraws
  void SetShowBackgound(bool value);
  void SetCaption(const QString& value);      // stored trimmed
  void SetCaptionPosition(TCaptionPos value);
  void SetCaptionVAdj(int value);             // ignored outside -30..30
  // The scale ends. Non-finite values are ignored; a minimum above the maximum (or the
  // reverse) is limited to it; on a logarithmic scale a non-positive end becomes 1. The zone
  // limits keep their position in percent of the range.
  void SetMin(float value);
  void SetMax(float value);
  // Sets both ends at once from any state (values in any order relative to the current
  // range); ignored when a value is not finite or minValue > maxValue.
  void SetRange(float minValue, float maxValue);
  void SetValue(float value);  // clamped to the scale; NaN ignored
  void SetTickPrecision(int value);
  void SetTickDigits(int value);
  void SetLogScale(bool value);
  void SetAbbrTick(bool value);
  void SetValuePrecision(int value);
  void SetValueDigits(int value);
  void SetAngularRange(int value);  // clamped to 10..360
  void SetTickCount(int value);     // clamped to 0..100
  int GetLowZone() const;           // percent of the range, 0..100
  int GetHighZone() const;
  void SetLowZone(int percent);
  void SetHighZone(int percent);
  void SetHighZoneColor(TColor value);
  void SetLowZoneColor(TColor value);
  void SetOKZoneColor(TColor value);
  void SetLowZoneValue(float value);   // clamped to the scale; NaN ignored
  void SetHighZoneValue(float value);
  void SetKnobSize(int value);
  void SetNeedleWidth(int value);
  void SetTickColor(TColor value);
  void SetShowTicks(bool value);
  void SetShowTicksScale(bool value);
  void SetShowZones(bool value);
  void SetShowFrame(bool value);
  void SetShowValue(bool value);
  void SetEnableZoneEvents(bool value) { enableZoneEvents_ = value; }
  void SetColor(TColor value);
  void SetFontColor(TColor value);
  void SetDecimalMark(const QString& value);

  void SetOnResize(draw::NotifyEvent handler) { onResize_ = std::move(handler); }
  void SetOnChange(draw::NotifyEvent handler) { onChange_ = std::move(handler); }
  void SetOnRiseAboveHigh(draw::NotifyEvent handler) { onRiseAboveHigh_ = std::move(handler); }
  void SetOnFallBelowHigh(draw::NotifyEvent handler) { onFallBelowHigh_ = std::move(handler); }
  void SetOnRiseAboveLow(draw::NotifyEvent handler) { onRiseAboveLow_ = std::move(handler); }
  void SetOnFallBelowLow(draw::NotifyEvent handler) { onFallBelowLow_ = std::move(handler); }

  // The layout of the last paint (for tools and tests).
  const meter::Layout& CurrentLayout() const { return layout_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  class Surfaces;

  void ForceRedraw();
  void RedrawInner();
  void ApplyFont();
  void OptimizeSizes();
  void EnsureBitmaps();
  void DrawOuterFace(Surfaces& s);
  void DrawZones(Surfaces& s);
  void DrawInnerFace(Surfaces& s);
  void ClearInnerFace(Surfaces& s);
  void DrawTicks(Surfaces& s);
  void DrawTicksScale(Surfaces& s);
  void DrawCaption(Surfaces& s);
  void DeleteOldValue(Surfaces& s);
  void DrawPointer(Surfaces& s);
  void DrawValue(Surfaces& s);
  void DrawFrame(Surfaces& s);
  void Compose();
  double AngleOf(double value) const;
  TColor BandPenColor() const;
  QString ValueText(double value) const;
  bool SetByteProperty(int& member, int value);

  QImage background_;
  bool showBackground_ = false;
  QString caption_ = QStringLiteral("mV");
  TCaptionPos captionPosition_ = cpTop;
  int captionVertAdj_ = 0;
  float min_ = 0;
  float max_ = 100;
  float value_ = 0;
  int tickPrecision_ = 7;
  int tickDigits_ = 1;
  bool logScale_ = false;
  bool tickValAbbr_ = false;
  int valuePrecision_ = 7;
  int valueDigits_ = 1;
  int angularRange_ = 270;
  int tickCount_ = 11;
  TColor highZoneColor_ = draw::clRed;
  TColor lowZoneColor_ = draw::clYellow;
  TColor okZoneColor_ = draw::cl3DLight;
  float lowZoneValue_ = 10;
  float highZoneValue_ = 90;
  int knobSize_ = 10;
  int needleWidth_ = 2;
  TColor tickColor_ = draw::clBlack;
  bool showTicks_ = true;
  bool showTicksScale_ = false;
  bool showZones_ = true;
  bool showFrame_ = true;
  bool showValue_ = true;
  bool enableZoneEvents_ = true;
  TColor color_ = draw::clBtnFace;
  TColor fontColor_ = draw::clWindowText;
  QString decimalMark_;

  draw::NotifyEvent onResize_;
  draw::NotifyEvent onChange_;
  draw::NotifyEvent onRiseAboveHigh_;
  draw::NotifyEvent onFallBelowHigh_;
  draw::NotifyEvent onRiseAboveLow_;
  draw::NotifyEvent onFallBelowLow_;

  double startAngle_ = 45;
  float previousValue_ = 0;
  int textHeight_ = 8;  // of "S" in the face font; measured once a font is assigned
  meter::Layout layout_;
  QString drawnValueText_;  // the read-out now on the face, erased before the next one
  bool valueTextDrawn_ = false;

  QImage face_;
  QImage mask_;
  QImage invertedMask_;
  QImage composite_;
  bool layoutDirty_ = true;
  bool outerDirty_ = true;
  bool innerDirty_ = true;
};

}  // namespace controls
