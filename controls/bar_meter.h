#pragma once
// A light-weight vertical bar meter: caption and current value with unit at the top, a bar
// filled from the bottom up to the value, a triangular marker beside it, optional scale marks
// at a fixed step, and the range ends with the unit beside the bar's ends. Drawn directly in
// paintEvent, no off-screen image; transparent mode lets the parent show through.
#include <QString>
#include <QWidget>

#include "controls/tcolor.h"

namespace controls {

class TBarMeter : public QWidget {
  Q_OBJECT

 public:
  using TColor = draw::TColor;

  explicit TBarMeter(QWidget* parent = nullptr);

  const QString& Caption() const { return caption_; }
  double Value() const { return value_; }
  TColor Color() const { return color_; }
  TColor ColorFore() const { return colorFore_; }
  TColor ColorBack() const { return colorBack_; }
  const QString& SignalUnit() const { return signalUnit_; }
  double ValueMin() const { return valueMin_; }
  double ValueMax() const { return valueMax_; }
  int Digits() const { return digits_; }
  double Increment() const { return increment_; }
  bool ShowIncrements() const { return showIncrements_; }
  bool GetTransparent() const { return transparent_; }
  int GapTop() const { return gapTop_; }
  int GapBottom() const { return gapBottom_; }
  int BarThickness() const { return barThickness_; }
  TColor MarkerColor() const { return markerColor_; }
  bool ShowMarker() const { return showMarker_; }

  // Each setter stores and repaints only a changed value that passes its guard; a rejected
  // value is dropped, not clamped. Non-finite numbers never pass.
  void SetCaption(const QString& value);
  void SetValue(double value);         // ValueMin <= value <= ValueMax
  void SetValueMin(double value);      // value <= Value
  void SetValueMax(double value);      // value >= Value
  // Sets both ends at once from any state; ignored unless minValue <= maxValue (both
  // finite). A value outside the new range moves to its nearer end.
  void SetRange(double minValue, double maxValue);
  void SetIncrement(double value);     // > 0
  void SetBarThickness(int value);     // 1..65535
  void SetColor(TColor value);
  void SetColorFore(TColor value);
  void SetColorBack(TColor value);
  void SetMarkerColor(TColor value);
  void SetDigits(int value);           // 0..255
  void SetShowIncrements(bool value);
  void SetShowMarker(bool value);
  void SetGapTop(int value);           // 0..65535
  void SetGapBottom(int value);        // 0..65535
  void SetSignalUnit(const QString& value);
  void SetTransparent(bool value);
  // The decimal mark of the value texts; the locale's when the bar is made.
  const QString& DecimalMark() const { return decimalMark_; }
  void SetDecimalMark(const QString& value);

  // The y coordinate of a value with the layout of the last paint: ValueMax at the scale
  // top, ValueMin at Height - GapBottom; 0 for an empty range.
  int ValueToPixels(double value) const;
  // Layout of the last paint.
  int BarLeft() const { return x0_; }
  int ScaleTop() const { return yT_; }
  // "<value with Digits decimals> <SignalUnit>".
  QString ValueText(double value) const;

  // Scale marks drawn at most: closer marks could not be told apart on any screen.
  static constexpr int kMaxMarks = 65536;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString caption_;
  double value_ = 0;
  TColor color_ = draw::clWindow;
  TColor colorFore_ = draw::clRed;
  TColor colorBack_ = draw::clBtnFace;
  QString signalUnit_ = QStringLiteral("Units");
  double valueMin_ = 0;
  double valueMax_ = 100;
  int digits_ = 0;
  double increment_ = 10;
  bool showIncrements_ = true;
  bool transparent_ = false;
  int gapTop_ = 20;
  int gapBottom_ = 10;
  int barThickness_ = 5;
  TColor markerColor_ = draw::clBlue;
  bool showMarker_ = true;
  QString decimalMark_;

  int x0_ = 0;
  int yT_ = 0;
};

}  // namespace controls
