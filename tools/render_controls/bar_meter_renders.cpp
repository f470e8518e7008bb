// Bar meter states for review.
#include <QPalette>

#include "controls/bar_meter.h"
#include "tools/render_controls/render_registry.h"

namespace {

using render::RenderRegistrar;

// Set up the way the display windows configure a bar.
void ConfigureLikeDisplay(controls::TBarMeter& bar, double minValue, double maxValue) {
  bar.SetBarThickness(20);
  bar.SetDigits(1);
  bar.SetIncrement((maxValue - minValue) / 10);
  bar.SetShowIncrements(true);
  bar.SetSignalUnit("°C");
  bar.SetShowMarker(true);
  bar.SetRange(minValue, maxValue);
  bar.SetValue(minValue);
  bar.SetColorFore(0x0000C0);
  bar.SetColorBack(0xFFFFFF);
  bar.SetColor(0xF0F0F0);
  bar.SetMarkerColor(0xFF0000);
  bar.resize(160, 260);
}

RenderRegistrar defaults("bar_meter_1_defaults", [] {
  controls::TBarMeter bar;
  return render::Grab(bar);
});

RenderRegistrar half("bar_meter_2_display_half", [] {
  controls::TBarMeter bar;
  ConfigureLikeDisplay(bar, 0, 100);
  bar.SetValue(50);
  return render::Grab(bar);
});

RenderRegistrar overflow("bar_meter_3_overflow_caption", [] {
  controls::TBarMeter bar;
  ConfigureLikeDisplay(bar, -50, -10);
  bar.SetValue(-10);
  bar.SetCaption("OVERFLOW");
  return render::Grab(bar);
});

RenderRegistrar underflow("bar_meter_4_underflow_caption", [] {
  controls::TBarMeter bar;
  ConfigureLikeDisplay(bar, 200, 800);
  bar.SetCaption("UNDERFLOW");
  return render::Grab(bar);
});

RenderRegistrar transparent("bar_meter_5_transparent_on_parent", [] {
  QWidget parent;
  parent.resize(160, 260);
  QPalette palette = parent.palette();
  palette.setColor(QPalette::Window, QColor(190, 220, 190));
  parent.setPalette(palette);
  parent.setAutoFillBackground(true);
  controls::TBarMeter bar(&parent);
  ConfigureLikeDisplay(bar, 0, 10);
  bar.SetTransparent(true);
  bar.SetValue(7.25);
  bar.SetShowMarker(false);
  return render::Grab(parent);
});

RenderRegistrar dense("bar_meter_6_fine_increment", [] {
  controls::TBarMeter bar;
  ConfigureLikeDisplay(bar, 0, 1);
  bar.SetIncrement(0.05);
  bar.SetDigits(2);
  bar.SetValue(0.33);
  return render::Grab(bar);
});

}  // namespace
