// LCD digit display and segment indicator states for review.
#include <QCoreApplication>
#include <QEnterEvent>
#include <QPalette>

#include "controls/digit_display.h"
#include "controls/segment_indicator.h"
#include "tools/render_controls/render_registry.h"

namespace {

using controls::TDigitDisplay;
using controls::TSegmentIndicator;
using render::RenderRegistrar;

// Sized and spaced the way a display window fits LED digits into its panel.
void FitLikeDisplay(TDigitDisplay& display, int width, int height, int digits, int segment) {
  display.SetDigitNum(digits);
  display.SetSegmentSize(segment);
  display.SetColor(0x000000);
  display.SetOffColor(0x002800);
  display.SetOnColor(0x00FF00);
  display.resize(width, height);
  display.SetDigitSpacing(width / 35 + segment - 2);
  display.SetGapX(width / 220 + 2);
  display.SetGapY(height / 135 + 2);
}

// Set up the way a display window shows an LCD value (never loaded, face = control size).
void FitLikeDisplay(TSegmentIndicator& indicator, int width, int height, int digits) {
  indicator.SETSignNumber(digits);
  indicator.SETNumberForeColor(0x202020);
  indicator.SETNumberBackColor(0xC8D8C8);
  indicator.SETBackColor(0xD0E0D0);
  indicator.resize(width, height);
  indicator.SETIndicatorWidth(width);
  indicator.SETIndicatorHeight(height);
}

QWidget* ColouredParent(QWidget& parent, int width, int height) {
  parent.resize(width, height);
  QPalette palette = parent.palette();
  palette.setColor(QPalette::Window, QColor(250, 220, 160));
  parent.setPalette(palette);
  parent.setAutoFillBackground(true);
  return &parent;
}

class StoppedTimer : public controls::AnimationTimer {
 public:
  void Start(int, std::function<void()> onTimeout) override { next = std::move(onTimeout); }
  void Stop() override { next = nullptr; }
  std::function<void()> next;
};

RenderRegistrar digitDefaults("digit_display_1_defaults_8888", [] {
  TDigitDisplay display;
  display.SetValue("8888");
  return render::Grab(display);
});

RenderRegistrar digitValue("digit_display_2_display_value", [] {
  TDigitDisplay display;
  FitLikeDisplay(display, 320, 110, 7, 5);
  display.SetValue("-12.50");
  return render::Grab(display);
});

RenderRegistrar digitDots("digit_display_3_dots_clock", [] {
  TDigitDisplay display;
  FitLikeDisplay(display, 320, 110, 5, 4);
  display.SetDotDisplay(true);
  display.SetDotSpacing(2);
  display.SetValue("23:45");
  return render::Grab(display);
});

RenderRegistrar digitLetters("digit_display_4_letters_and_points", [] {
  TDigitDisplay display;
  FitLikeDisplay(display, 360, 100, 8, 4);
  display.SetValue("ERR 1..2.");
  return render::Grab(display);
});

RenderRegistrar digitAnimation("digit_display_5_animation_step_4_of_8", [] {
  TDigitDisplay display;
  FitLikeDisplay(display, 240, 100, 4, 5);
  auto* timer = new StoppedTimer;
  display.SetAnimationTimer(std::unique_ptr<controls::AnimationTimer>(timer));
  display.SetValue("1111");
  render::Grab(display);
  display.SetAnimation(controls::anUp);
  display.SetAnimationDelay(700);
  display.SetValue("1888");
  render::Grab(display);
  for (int i = 0; i < 3 && timer->next; ++i) timer->next();
  return render::Grab(display);
});

RenderRegistrar segmentDefaults("segment_indicator_1_defaults_empty", [] {
  TSegmentIndicator indicator;
  return render::Grab(indicator);
});

RenderRegistrar segmentValue("segment_indicator_2_display_value", [] {
  TSegmentIndicator indicator;
  FitLikeDisplay(indicator, 320, 90, 8);
  indicator.SETIndicatorString("-12.50");
  return render::Grab(indicator);
});

RenderRegistrar segmentScheme("segment_indicator_3_black_scheme_points", [] {
  TSegmentIndicator indicator;
  indicator.Loaded();
  indicator.SETColorScheme(controls::csBlack);
  indicator.SETIndicatorString("1..2 .5");
  indicator.GetIndicatorImageRgns();
  return render::Grab(indicator);
});

RenderRegistrar segmentNine("segment_indicator_4_plasma_9segment_clock", [] {
  TSegmentIndicator indicator;
  indicator.Loaded();
  indicator.SETColorScheme(controls::csPlasma);
  indicator.SETIndicatorKind(controls::ik9segment);
  indicator.SETSignNumber(5);
  indicator.SETIndicatorWidth(200);
  indicator.SETIndicatorHeight(60);
  indicator.SETIndicatorString("12:30");
  indicator.GetIndicatorImageRgns();
  return render::Grab(indicator);
});

RenderRegistrar segmentMatrix("segment_indicator_5_matrix_text", [] {
  TSegmentIndicator indicator;
  indicator.Loaded();
  indicator.SETColorScheme(controls::csTIAN);
  indicator.SETIndicatorKind(controls::ik5x7matrix);
  indicator.SETIndicatorStyle(controls::isThick);
  indicator.SETSignNumber(12);
  indicator.SETIndicatorWidth(300);
  indicator.SETIndicatorHeight(56);
  indicator.SETIndicatorString("Temp 25.3'C");
  indicator.GetIndicatorImageRgns();
  return render::Grab(indicator);
});

RenderRegistrar segmentTurned("segment_indicator_6_turned_30_degrees_on_parent", [] {
  QWidget parent;
  ColouredParent(parent, 240, 160);
  auto* indicator = new TSegmentIndicator(&parent);
  indicator->Loaded();
  indicator->SETSignNumber(6);
  indicator->SETIndicatorWidth(180);
  indicator->SETIndicatorHeight(50);
  indicator->SETIndicatorAngle(300);
  indicator->move((240 - indicator->width()) / 2, (160 - indicator->height()) / 2);
  indicator->SETIndicatorString("273.15");
  return render::Grab(parent);
});

RenderRegistrar segmentHover("segment_indicator_7_hover_colour_and_width", [] {
  QWidget parent;
  ColouredParent(parent, 180, 44);
  auto* indicator = new TSegmentIndicator(&parent);
  indicator->move(4, 4);
  indicator->SETMouseAction(controls::maBoth);
  indicator->SETIndicatorString("88.8");
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QCoreApplication::sendEvent(indicator, &enter);
  QCoreApplication::sendPostedEvents(indicator);
  return render::Grab(parent);
});

RenderRegistrar segmentMaterial("segment_indicator_8_materials", [] {
  QImage back(8, 8, QImage::Format_RGB32);
  QImage fore(4, 4, QImage::Format_RGB32);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) back.setPixel(x, y, (x + y) % 8 < 4 ? qRgb(150, 120, 90) : qRgb(170, 140, 110));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) fore.setPixel(x, y, x < 2 ? qRgb(30, 60, 200) : qRgb(60, 120, 255));
  TSegmentIndicator indicator;
  indicator.SETMaterialMode(controls::mmTile);
  indicator.SETForeMaterialMode(controls::mmTile);
  indicator.SETBackMaterial(back);
  indicator.SETForeMaterial(fore);
  indicator.SETIndicatorString("-0.125");
  return render::Grab(indicator);
});

RenderRegistrar segmentTransparent("segment_indicator_9_transparent_all_on_parent", [] {
  QWidget parent;
  ColouredParent(parent, 180, 44);
  auto* indicator = new TSegmentIndicator(&parent);
  indicator->move(4, 4);
  indicator->SETTransparentMode(controls::tmAll);
  indicator->SETIndicatorString("42.0");
  return render::Grab(parent);
});

}  // namespace
