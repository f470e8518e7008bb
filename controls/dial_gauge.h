#pragma once
// A self-drawn dial gauge: a circular scale (or a quarter dial in a lower corner) with main
// and sub ticks, integer labels, three coloured zone arcs, a caption and a needle.
// The dial is drawn once per scale change into an off-screen image, optionally at 2..4 times
// the resolution and box-filtered down; a value change only redraws the needle layer.
#include <QImage>
#include <QString>
#include <QWidget>
#include <cstdint>

#include "controls/notify_event.h"
#include "controls/tcolor.h"
#include "platform/clock.h"

namespace controls {

class TDialGauge : public QWidget {
  Q_OBJECT

 public:
  enum TStyle : uint8_t { LeftStyle, RightStyle, CenterStyle };
  enum TFaceOption : uint8_t {
    ShowMargin, ShowCircles, ShowMainTicks, ShowSubTicks, ShowIndicatorMin, ShowIndicatorMid,
    ShowIndicatorMax, ShowValues, ShowCenter, ShowFrame, Show3D, ShowCaption
  };
  // A set of face options, bit n = option n.
  using TFaceOptions = uint16_t;
  static constexpr TFaceOptions Option(TFaceOption option) { return static_cast<TFaceOptions>(1u << option); }
  enum TAntialiased : uint8_t { aaNone, aaBiline, aaTriline, aaQuadral };

  using TColor = draw::TColor;

  explicit TDialGauge(QWidget* parent = nullptr);

  // The clock the redraw rate is measured with (the system clock unless replaced).
  void SetClock(const platform::MonotonicClock& clock) { clock_ = &clock; }

  TColor MinColor() const { return minColor_; }
  TColor MidColor() const { return midColor_; }
  TColor MaxColor() const { return maxColor_; }
  TColor FaceColor() const { return faceColor_; }
  TColor TicksColor() const { return ticksColor_; }
  TColor ValueColor() const { return valueColor_; }
  TColor CaptionColor() const { return captionColor_; }
  TColor ArrowColor() const { return arrowColor_; }
  TColor MarginColor() const { return marginColor_; }
  TColor CenterColor() const { return centerColor_; }
  TColor CircleColor() const { return circleColor_; }
  int CenterRadius() const { return centerRadius_; }
  int CircleRadius() const { return circleRadius_; }
  int Angle() const { return angle_; }
  int Margin() const { return margin_; }
  TStyle Style() const { return style_; }
  int ArrowWidth() const { return arrowWidth_; }
  int NumberMainTicks() const { return numberMainTicks_; }
  int LengthMainTicks() const { return lengthMainTicks_; }
  int LengthSubTicks() const { return lengthSubTicks_; }
  TFaceOptions FaceOptions() const { return faceOptions_; }
  float Position() const { return position_; }
  int MaxValue() const { return maxValue_; }
  int MinValue() const { return minValue_; }
  int IndMaximum() const { return indMaximum_; }
  int IndMinimum() const { return indMinimum_; }
  const QString& Caption() const { return caption_; }
  TAntialiased AntiAliased() const { return antiAliased_; }
  int Frames() const { return frames_; }
  int GetAAMultipler() const;

  // Setters: each does nothing when the value is unchanged.
  void SetFMinColor(TColor value);
  void SetFMidColor(TColor value);
  void SetFMaxColor(TColor value);
  void SetFFaceColor(TColor value);
  void SetFTicksColor(TColor value);
  void SetFValueColor(TColor value);
  void SetFCaptionColor(TColor value);
  void SetFArrowColor(TColor value);
  void SetFMarginColor(TColor value);
  void SetFCenterColor(TColor value);
  void SetFCircleColor(TColor value);
  void SetFCenterRadius(int value);
  void SetFCircleRadius(int value);
  void SetFScaleAngle(int value);  // Angle: 11..360, other values ignored
  void SetFMargin(int value);
  void SetFStyle(TStyle value);
  void SetFArrowWidth(int value);  // clamped to 1..5
  // NumberMainTicks: 0 draws no ticks and no labels; negative values count as 0 and more
  // than kMaxMainTicks intervals (which no dial could show) are limited to that.
  void SetFNumMainTicks(int value);
  void SetFLengthMainTicks(int value);
  void SetFLengthSubTicks(int value);
  void SetFFaceOptions(TFaceOptions value);
  // The scale and zone limits, with the rules that keep them ordered (see the .cpp).
  void SetFScaleValue(int value);  // MaxValue
  void SetFMinValue(int value);
  void SetFMaximum(int value);     // IndMaximum
  void SetFMinimum(int value);     // IndMinimum
  // Sets the whole scale at once from any state; ignored unless minValue < maxValue. The zone
  // limits follow the same rules as after SetFScaleValue and SetFMinValue.
  void SetRange(int minValue, int maxValue);
  void SetFCaption(const QString& value);
  void SetFPosition(float value);  // non-finite values are ignored
  void SetFAntiAliased(TAntialiased value);

  void SetOnOverMax(draw::NotifyEvent handler) { onOverMax_ = std::move(handler); }
  void SetOnOverMin(draw::NotifyEvent handler) { onOverMin_ = std::move(handler); }
  void SetOnFrames(draw::NotifyEvent handler) { onFrames_ = std::move(handler); }

  static constexpr int kMaxMainTicks = 1000;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void RedrawScale();
  void RedrawArrow();
  void ApplyQuarterClamp();
  void EnsureBitmaps();
  void DrawScale(QImage& bitmap, int k);
  void DrawArrow(QImage& bitmap, int k);
  void FastAntiAliasPicture();
  uint32_t TickNow() const;

  TColor minColor_ = draw::clGreen;
  TColor midColor_ = draw::clYellow;
  TColor maxColor_ = draw::clRed;
  TColor faceColor_ = draw::clBtnFace;
  TColor ticksColor_ = draw::clBlack;
  TColor valueColor_ = draw::clBlack;
  TColor captionColor_ = draw::clBlack;
  TColor arrowColor_ = draw::clBlack;
  TColor marginColor_ = draw::clBlack;
  TColor centerColor_ = draw::clGray;
  TColor circleColor_ = draw::clBlue;
  int centerRadius_ = 8;
  int circleRadius_ = 3;
  int angle_ = 120;
  int margin_ = 10;
  TStyle style_ = CenterStyle;
  int arrowWidth_ = 1;
  int numberMainTicks_ = 7;
  int lengthMainTicks_ = 15;
  int lengthSubTicks_ = 8;
  TFaceOptions faceOptions_ = 0xFCD;
  float position_ = 0;
  int maxValue_ = 140;
  int minValue_ = 0;
  int indMaximum_ = 100;
  int indMinimum_ = 30;
  QString caption_ = QStringLiteral("mV");
  TAntialiased antiAliased_ = aaNone;
  int frames_ = 0;

  draw::NotifyEvent onOverMax_;
  draw::NotifyEvent onOverMin_;
  draw::NotifyEvent onFrames_;

  const platform::MonotonicClock* clock_;
  QImage scaleBitmap_;    // the dial without needle, K times the control size
  QImage workingBitmap_;  // the dial with the needle
  QImage outputBitmap_;   // the reduced image, only while antialiased
  bool scaleDirty_ = true;
  bool arrowDirty_ = true;
  int64_t redrawStart_ = -1;  // tick count when the running redraw began, -1 when none
};

}  // namespace controls
