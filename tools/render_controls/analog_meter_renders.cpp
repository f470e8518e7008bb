// Analog meter states for review.
#include <QFont>
#include <QPainter>

#include "controls/analog_meter.h"
#include "tools/render_controls/render_registry.h"

namespace {

using render::RenderRegistrar;

// Set up the way the display windows configure a meter.
void ConfigureLikeDisplay(controls::TAnalogMeter& m, int angle) {
  m.SetNeedleWidth(2);
  m.SetLowZoneColor(0x00FFFF);
  m.SetOKZoneColor(0x00C000);
  m.SetHighZoneColor(0x0000FF);
  m.SetTickColor(0x000000);
  m.SetFontColor(0x000000);
  m.SetColor(0xF0F0F0);
  m.SetCaption("mV");
  if (angle >= 240) {
    m.SetCaptionPosition(controls::TAnalogMeter::cpBottom);
    m.SetCaptionVAdj(-10);
  } else {
    m.SetCaptionPosition(controls::TAnalogMeter::cpTop);
    m.SetCaptionVAdj(15);
  }
  m.SetAngularRange(angle);
  m.SetShowTicks(true);
  m.SetShowTicksScale(true);
  m.SetShowValue(false);
  m.SetShowBackgound(false);
  m.SetShowFrame(false);
  QFont font = m.font();
  font.setPointSize(10);
  font.setBold(true);
  m.setFont(font);
  m.SetRange(0, 100);
  m.SetLowZoneValue(20);
  m.SetHighZoneValue(80);
  m.SetTickCount(11);
  m.SetTickDigits(0);
  m.SetValueDigits(1);
  m.resize(300, 240);
}

RenderRegistrar defaults("analog_meter_1_defaults", [] {
  controls::TAnalogMeter m;
  return render::Grab(m);
});

RenderRegistrar display270("analog_meter_2_display_270deg_ok_zone", [] {
  controls::TAnalogMeter m;
  ConfigureLikeDisplay(m, 270);
  m.SetValue(55);
  m.SetCaption("55.0 mV");
  return render::Grab(m);
});

RenderRegistrar display180("analog_meter_3_display_180deg_high_zone", [] {
  controls::TAnalogMeter m;
  ConfigureLikeDisplay(m, 180);
  m.SetValue(92);
  m.SetCaption("92.0 mV");
  return render::Grab(m);
});

RenderRegistrar display90("analog_meter_4_display_90deg_low_zone", [] {
  controls::TAnalogMeter m;
  ConfigureLikeDisplay(m, 90);
  m.SetValue(5);
  m.SetCaption("5.0 mV");
  return render::Grab(m);
});

RenderRegistrar logScale("analog_meter_5_log_scale_abbreviated_value", [] {
  controls::TAnalogMeter m;
  ConfigureLikeDisplay(m, 270);
  m.SetLogScale(true);
  m.SetRange(1, 100000);
  m.SetTickCount(6);
  m.SetTickDigits(1);
  m.SetAbbrTick(true);
  m.SetShowValue(true);
  m.SetShowFrame(true);
  m.SetValue(316.2f);
  return render::Grab(m);
});

RenderRegistrar fullCircle("analog_meter_6_360deg_small", [] {
  controls::TAnalogMeter m;
  ConfigureLikeDisplay(m, 360);
  m.resize(160, 150);
  m.SetValue(75);
  return render::Grab(m);
});

RenderRegistrar background("analog_meter_7_over_background_picture", [] {
  controls::TAnalogMeter m;
  ConfigureLikeDisplay(m, 270);
  QImage picture(300, 240, QImage::Format_RGB32);
  QPainter painter(&picture);
  for (int y = 0; y < 240; y += 20) {
    for (int x = 0; x < 300; x += 20) {
      painter.fillRect(x, y, 20, 20, ((x + y) / 20) % 2 ? QColor(200, 220, 255) : QColor(255, 230, 200));
    }
  }
  painter.end();
  m.SetBackground(picture);
  m.SetShowBackgound(true);
  m.SetShowValue(true);
  m.SetValue(40);
  return render::Grab(m);
});

RenderRegistrar degenerate("analog_meter_8_empty_range", [] {
  controls::TAnalogMeter m;
  ConfigureLikeDisplay(m, 270);
  m.SetRange(50, 50);
  m.SetValue(50);
  return render::Grab(m);
});

}  // namespace
