#pragma once
// A self-drawn row of seven-segment character cells with a colon segment and decimal points
// between the cells, like an LCD or LED panel: every segment is always drawn, lit in OnColor or
// unlit in OffColor. Segments are bevelled bars or, in dot mode, rows of round dots on a grid.
// A change of text can be animated: the changed cells gain their segments step by step in one
// of five orders, spread over a set time, driven by a timer between paints.
#include <QString>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "controls/tcolor.h"
#include "platform/clock.h"

class QPainter;

namespace controls {

enum TLCDAbout : uint8_t { abNone, abAbout };
enum TLCDAnimation : uint8_t { anNone, anSpiral, anUp, anDown, anLeft, anRight, anRandom };

// (sender, old value, new value)
using TLCDChangeProc = std::function<void(QObject* sender, const QString& oldValue, const QString& newValue)>;

// A single-shot timer that an animation waits on; tests step it by hand.
class AnimationTimer {
 public:
  virtual ~AnimationTimer() = default;
  virtual void Start(int milliseconds, std::function<void()> onTimeout) = 0;
  virtual void Stop() = 0;
};

// The characters, decimal points and their cells of one text.
struct DigitCells {
  std::string chars;      // one character per cell: digit, '-', ':', 'A'..'Z' or blank
  std::string points;     // '.' where a point stands in the gap left of that cell, else ' '
  bool trailingPoint = false;  // a point after the last character

  // Splits a text. A point belongs to the cell after it; a second point in a row also takes
  // a blank cell of its own; points at the end of the text follow its last cell.
  static DigitCells Split(const std::string& text);

  // Cell i (1..cells) of the text right-aligned in `cells` cells; a text longer than that
  // keeps its first cells. The point of gap `cells` + 1 is the one after the last cell.
  char CharAt(int i, int cells) const;
  bool PointAt(int i, int cells) const;
};

// Segments 1 top, 2 upper left, 3 upper right, 4 middle, 5 lower left, 6 lower right,
// 7 bottom, 8 colon: bit s-1 is set when the character lights segment s. A blank lights none.
uint8_t DigitSegments(char c);

// The order in which an animation draws the eight segments.
std::array<int, 8> AnimationOrder(TLCDAnimation animation);

class TDigitDisplay : public QWidget {
  Q_OBJECT

 public:
  explicit TDigitDisplay(QWidget* parent = nullptr);
  ~TDigitDisplay() override;

  // Shows the about text; tests replace it so that no message box opens.
  static std::function<void(QWidget* parent, const QString& text)>& AboutPresenter();
  static QString AboutText();

  // Timing of animations; the control owns the timer. The clock must outlive the control.
  void SetAnimationTimer(std::unique_ptr<AnimationTimer> timer);
  void SetClock(const platform::MonotonicClock& clock);

  TLCDAbout About() const { return about_; }
  TLCDAnimation Animation() const { return animation_; }
  int AnimationDelay() const { return animationDelay_; }
  draw::TColor Color() const { return color_; }
  int DigitNum() const { return digitNum_; }
  int DigitSpacing() const { return digitSpacing_; }
  bool DotDisplay() const { return dotDisplay_; }
  int DotSpacing() const { return dotSpacing_; }
  bool DoubleBuffer() const { return doubleBuffer_; }
  int GapX() const { return gapX_; }
  int GapY() const { return gapY_; }
  bool IsPainting() const { return isPainting_ || animation_state_.running; }
  draw::TColor OffColor() const { return offColor_; }
  draw::TColor OnColor() const { return onColor_; }
  uint32_t PaintDuration() const { return paintDuration_; }
  bool Preview() const { return preview_; }
  int SegmentSize() const { return segmentSize_; }
  QString Value() const { return value_; }

  void ShowAbout(TLCDAbout value);
  void SetAnimation(TLCDAnimation value);
  void SetAnimationDelay(int value);
  void SetColor(draw::TColor value);
  void SetDigitNum(int value);
  void SetDigitSpacing(int value);
  void SetDotDisplay(bool value);
  void SetDotSpacing(int value);
  void SetDoubleBuffer(bool value);
  void SetGapX(int value);
  void SetGapY(int value);
  void SetOffColor(draw::TColor value);
  void SetOnColor(draw::TColor value);
  // Animating in a form designer; this program has none, so it is only stored.
  void SetPreview(bool value);
  void SetSegmentSize(int value);

  // Upper-cases the text; a text with any character other than digits, '-', ' ', '.', 'A'..'Z'
  // and ':' empties the display; a final point is dropped.
  void SetValue(const QString& value);
  void SetNumericValue(int value);
  int GetNumericValue() const;

  TLCDChangeProc OnChange;

  // The running animation's step (1..8), 0 when none runs.
  int AnimationStep() const { return animation_state_.running ? animation_state_.step : 0; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  struct AnimationState {
    bool running = false;
    int step = 0;
    std::array<int, 8> order{};
    int stepDelay = 0;
    uint64_t due = 0;
    uint64_t started = 0;
    QString from;  // what the screen showed before
    QString to;
  };

  template <typename T>
  void Store(T& field, const T& value);
  uint64_t Now() const;
  void StartFrame();
  void AnimationTick();
  void DrawFrame(QPainter& painter, const QString& from, const QString& to, const std::array<int, 8>& order,
                 int steps) const;

  TLCDAbout about_ = abNone;
  TLCDAnimation animation_ = anNone;
  int animationDelay_ = 0;
  draw::TColor color_ = draw::clBlack;
  int digitNum_ = 4;
  int digitSpacing_ = 5;
  bool dotDisplay_ = false;
  int dotSpacing_ = 2;
  bool doubleBuffer_ = true;
  int gapX_ = 2;
  int gapY_ = 2;
  bool isPainting_ = false;
  draw::TColor offColor_ = draw::clBlack;
  draw::TColor onColor_ = 0x00FF00;
  uint32_t paintDuration_ = 0;
  bool preview_ = false;
  int segmentSize_ = 2;
  QString value_;

  QString shown_;         // what the screen shows: the text of the last finished paint
  bool changed_ = false;  // a new value waits for its (animated) paint
  AnimationState animation_state_;
  std::unique_ptr<AnimationTimer> timer_;
  const platform::MonotonicClock* clock_;
};

}  // namespace controls
