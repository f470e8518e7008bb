// Dial gauge states for review.
#include <QFont>

#include "controls/dial_gauge.h"
#include "tools/render_controls/render_registry.h"

namespace {

using render::RenderRegistrar;

// Set up the way the display windows configure a gauge.
void ConfigureLikeDisplay(controls::TDialGauge& g, int angle) {
  g.SetFArrowColor(0x000080);
  g.SetFArrowWidth(2);
  g.SetFCaptionColor(0x000000);
  g.SetFValueColor(0x000000);
  g.SetFCenterColor(0x404040);
  g.SetFFaceColor(0xF0F0F0);
  g.SetFMaxColor(0x0000FF);
  g.SetFMidColor(0x00FFFF);
  g.SetFMinColor(0x00A000);
  controls::TDialGauge::TFaceOptions options = g.FaceOptions();
  options &= static_cast<controls::TDialGauge::TFaceOptions>(~controls::TDialGauge::Option(controls::TDialGauge::ShowMargin));
  options |= controls::TDialGauge::Option(controls::TDialGauge::ShowIndicatorMin) | controls::TDialGauge::Option(controls::TDialGauge::ShowIndicatorMid) |
             controls::TDialGauge::Option(controls::TDialGauge::ShowIndicatorMax);
  g.SetFFaceOptions(options);
  g.SetFScaleAngle(angle);
  QFont font = g.font();
  font.setPointSize(10);
  font.setBold(true);
  g.setFont(font);
  g.SetFNumMainTicks(10);
  g.SetRange(0, 100);
  g.SetFMaximum(80);
  g.SetFMinimum(20);
  g.SetFMargin(12);
  g.resize(300, 240);
}

RenderRegistrar defaults("dial_gauge_1_defaults", [] {
  controls::TDialGauge g;
  return render::Grab(g);
});

RenderRegistrar display240("dial_gauge_2_display_240deg_value_63", [] {
  controls::TDialGauge g;
  ConfigureLikeDisplay(g, 240);
  g.SetFCaption("63.4 °C");
  g.SetFPosition(63.4f);
  return render::Grab(g);
});

RenderRegistrar display120("dial_gauge_3_display_120deg_value_90", [] {
  controls::TDialGauge g;
  ConfigureLikeDisplay(g, 120);
  g.SetFCaption("90.0 %");
  g.SetFPosition(90.f);
  return render::Grab(g);
});

RenderRegistrar full("dial_gauge_4_360deg_circles_antialiased", [] {
  controls::TDialGauge g;
  ConfigureLikeDisplay(g, 360);
  g.SetFFaceOptions(g.FaceOptions() | controls::TDialGauge::Option(controls::TDialGauge::ShowCircles));
  g.SetFAntiAliased(controls::TDialGauge::aaQuadral);
  g.SetFCaption("bar");
  g.SetFPosition(37.f);
  return render::Grab(g);
});

RenderRegistrar left("dial_gauge_5_left_quarter", [] {
  controls::TDialGauge g;
  g.SetFStyle(controls::TDialGauge::LeftStyle);
  g.resize(200, 200);
  g.SetFPosition(70.f);
  return render::Grab(g);
});

RenderRegistrar right("dial_gauge_6_right_quarter_flat_frame", [] {
  controls::TDialGauge g;
  g.SetFStyle(controls::TDialGauge::RightStyle);
  g.SetFFaceOptions(g.FaceOptions() & static_cast<controls::TDialGauge::TFaceOptions>(~controls::TDialGauge::Option(controls::TDialGauge::Show3D)));
  g.resize(200, 200);
  g.SetFPosition(120.f);
  return render::Grab(g);
});

RenderRegistrar beyond("dial_gauge_7_no_ticks_needle_beyond_end", [] {
  controls::TDialGauge g;
  g.SetFNumMainTicks(0);
  g.SetFPosition(170.f);
  return render::Grab(g);
});

}  // namespace
