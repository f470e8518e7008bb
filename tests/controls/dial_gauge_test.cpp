// The dial gauge: scale geometry and labels, setter and range rules, needle and zone arcs
// probed in headless renders, and degenerate settings.
#include <QImage>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

#include "controls/dial_gauge.h"
#include "controls/dial_gauge_geometry.h"
#include "tests/controls/pixel_probe.h"

namespace {

using controls::TDialGauge;
using probe::Rgb;

constexpr draw::TColor kArrow = 0xFF00FF;    // magenta
constexpr draw::TColor kTicks = 0x00FF00;    // lime
constexpr draw::TColor kMaxZone = 0x0000FF;  // red
constexpr draw::TColor kMidZone = 0xFFFF00;  // cyan
constexpr draw::TColor kMinZone = 0x008000;  // green
constexpr draw::TColor kLabels = 0x800080;   // purple
constexpr int kIntMax = std::numeric_limits<int>::max();
constexpr int kIntMin = std::numeric_limits<int>::min();

// A gauge with nothing but the needle on the face, unless options are given.
void Isolate(TDialGauge& g, std::initializer_list<TDialGauge::TFaceOption> options = {}) {
  TDialGauge::TFaceOptions set = 0;
  for (auto option : options) set |= TDialGauge::Option(option);
  g.SetFFaceOptions(set);
  g.SetFArrowColor(kArrow);
  g.SetFArrowWidth(3);
  g.SetFTicksColor(kTicks);
  g.SetFMaxColor(kMaxZone);
  g.SetFMidColor(kMidZone);
  g.SetFMinColor(kMinZone);
  g.SetFValueColor(kLabels);
}

dial::Geometry GeometryOf(const TDialGauge& g) {
  return dial::Compute(static_cast<dial::Layout>(g.Style()), g.width(), g.height(), g.Margin(), g.Angle());
}

TEST(DialGeometry, CentreAndRadiusPerLayout) {
  struct Case { dial::Layout layout; int angle; double start; int cxInt; int cy; int radius; int sweep; };
  const Case cases[] = {
      // 225 x 180, margin 10: r = round(102.5 / cos 30) = 118, cy = (180 - 118) div 2 + 118.
      {dial::Layout::Center, 120, 30.0, 112, 149, 118, 120},
      // Wide sweeps: r = (225 - 20) div 2, centred vertically.
      {dial::Layout::Center, 270, -45.0, 112, 90, 102, 270},
      {dial::Layout::Center, 180, 0.0, 112, 90, 102, 180},
      // Narrow sweep: the radius is limited by the height.
      {dial::Layout::Center, 11, 84.5, 112, 170, 160, 11},
      // Quarter dials in the lower corners, never more than 90 degrees.
      {dial::Layout::Left, 120, 90.0, 10, 170, 205, 90},
      {dial::Layout::Right, 60, 0.0, 215, 170, 205, 60},
  };
  for (const Case& c : cases) {
    const dial::Geometry g = dial::Compute(c.layout, 225, 180, 10, c.angle);
    EXPECT_DOUBLE_EQ(g.startAngle, c.start) << c.angle;
    EXPECT_EQ((std::vector<int>{g.cxInt, g.cy, g.radius, g.sweep}), (std::vector<int>{c.cxInt, c.cy, c.radius, c.sweep}))
        << c.angle;
  }
  // The scale grows clockwise from the left: its start is up-left, its middle straight up.
  const dial::Geometry g = dial::Compute(dial::Layout::Center, 225, 180, 10, 120);
  EXPECT_EQ(dial::PointAt(g, 0, 100), QPoint(26, 99));
  EXPECT_EQ(dial::PointAt(g, 60, 100), QPoint(112, 49));  // 112.5 rounds to even
}

TEST(DialGeometry, LabelsDivideTheRangeWithoutOverflow) {
  struct Case { int min, max, n; std::vector<const char*> labels; };
  const Case cases[] = {
      {0, 100, 7, {"0", "14", "28", "42", "57", "71", "85", "100"}},
      {-7, 0, 2, {"-7", "-4", "0"}},  // the division truncates towards zero
      {kIntMin, kIntMax, 2, {"-2147483648", "-1", "2147483647"}},
  };
  for (const Case& c : cases) {
    for (int i = 0; i <= c.n; ++i) {
      EXPECT_EQ(dial::LabelText(c.min, c.max, i, c.n).toStdString(), c.labels[static_cast<size_t>(i)]) << c.max << " " << i;
    }
  }
}

TEST(DialGaugeSetters, GuardsAndClamps) {
  TDialGauge g;
  g.SetFScaleAngle(10);  // outside 11..360: ignored
  g.SetFScaleAngle(361);
  EXPECT_EQ(g.Angle(), 120);
  g.SetFScaleAngle(11);
  EXPECT_EQ(g.Angle(), 11);
  g.SetFNumMainTicks(-3);
  EXPECT_EQ(g.NumberMainTicks(), 0);
  g.SetFNumMainTicks(1 << 30);
  EXPECT_EQ(g.NumberMainTicks(), TDialGauge::kMaxMainTicks);
  // A quarter dial sweeps at most 90 degrees, and the property follows.
  g.SetFScaleAngle(360);
  g.SetFStyle(TDialGauge::LeftStyle);
  EXPECT_EQ(g.Angle(), 90);
  g.SetFScaleAngle(200);
  EXPECT_EQ(g.Angle(), 90);
}

TEST(DialGaugeSetters, RangeRulesKeepZonesInsideTheScale) {
  TDialGauge g;
  auto zones = [&] { return std::make_pair(g.IndMinimum(), g.IndMaximum()); };
  g.SetFScaleValue(0);  // not above MinValue
  g.SetFMinValue(140);  // not below MaxValue
  EXPECT_EQ(std::make_pair(g.MinValue(), g.MaxValue()), std::make_pair(0, 140));
  g.SetFScaleValue(80);
  EXPECT_EQ(zones(), std::make_pair(1, 79));  // 80 - 79 < 30
  g.SetFMaximum(80);  // the limits must lie strictly inside the scale
  g.SetFMinimum(0);
  EXPECT_EQ(zones(), std::make_pair(1, 79));
  g.SetFMinValue(40);  // IndMinimum 1 <= 40 -> 41, then IndMaximum := 40 + 41
  EXPECT_EQ(zones(), std::make_pair(41, 81));
}

TEST(DialGaugeSetters, SetRangeReachesAnyRangeFromAnyState) {
  struct Case { int min, max; };
  const Case targets[] = {{200, 800}, {-50, -10}, {-1000, 1000}, {0, 1}, {140, 141}, {kIntMin, kIntMax}};
  for (const Case& first : targets) {
    for (const Case& second : targets) {
      TDialGauge g;
      g.SetRange(first.min, first.max);
      g.SetRange(second.min, second.max);
      EXPECT_EQ(std::make_pair(g.MinValue(), g.MaxValue()), std::make_pair(second.min, second.max));
      EXPECT_GT(g.IndMinimum(), second.min);
    }
  }
  TDialGauge g;
  g.SetRange(5, 5);
  g.SetRange(9, 3);
  EXPECT_EQ(std::make_pair(g.MinValue(), g.MaxValue()), std::make_pair(0, 140));
}

TEST(DialGaugeSetters, PositionEventsFireOnEveryChangeBeyondALimit) {
  TDialGauge g;
  int overMax = 0, overMin = 0;
  g.SetOnOverMax([&](QObject*) { ++overMax; });
  g.SetOnOverMin([&](QObject*) { ++overMin; });
  for (float position : {150.f, 150.f, 160.f, 50.f, 10.f, std::numeric_limits<float>::quiet_NaN(),
                         std::numeric_limits<float>::infinity()}) {
    g.SetFPosition(position);  // unchanged and non-finite positions raise nothing
  }
  EXPECT_EQ(overMax, 2);
  EXPECT_EQ(overMin, 1);
  EXPECT_FLOAT_EQ(g.Position(), 10.f);
}

TEST(DialGaugeRender, NeedlePointsAtTheValue) {
  struct Case { TDialGauge::TStyle style; int angle; float position; double direction; };
  const Case cases[] = {
      {TDialGauge::CenterStyle, 120, 0, 150}, {TDialGauge::CenterStyle, 120, 70, 90},
      {TDialGauge::CenterStyle, 120, 140, 30}, {TDialGauge::CenterStyle, 270, 0, 225},
      {TDialGauge::CenterStyle, 270, 70, 90},  {TDialGauge::CenterStyle, 270, 140, 315},
      {TDialGauge::LeftStyle, 90, 0, 90},      {TDialGauge::LeftStyle, 90, 140, 0},
      {TDialGauge::RightStyle, 90, 0, 180},    {TDialGauge::RightStyle, 90, 70, 135},
      {TDialGauge::CenterStyle, 120, 210, -30},  // beyond the end: not clamped
  };
  for (const Case& c : cases) {
    for (auto aa : {TDialGauge::aaNone, TDialGauge::aaTriline}) {
      TDialGauge g;
      Isolate(g);
      g.SetFStyle(c.style);
      g.SetFScaleAngle(c.angle);
      g.SetFPosition(c.position);
      g.SetFAntiAliased(aa);
      const QImage image = g.grab().toImage();
      ASSERT_EQ(image.size(), g.size());
      const dial::Geometry geometry = GeometryOf(g);
      // Antialiased needle pixels are blends; only the opaque core keeps the pure colour.
      const auto direction = probe::Direction(image, QPoint(geometry.cxInt, geometry.cy), 40, Rgb(kArrow));
      ASSERT_TRUE(direction.has_value()) << c.style << " " << c.angle << " " << c.position;
      EXPECT_LT(probe::AngleDistance(*direction, c.direction), 2.0)
          << c.style << " " << c.angle << " " << c.position << " aa " << aa << ": " << *direction;
    }
  }
}

TEST(DialGaugeRender, ZoneArcsCoverTheirPartOfTheScale) {
  TDialGauge g;
  Isolate(g, {TDialGauge::ShowIndicatorMax, TDialGauge::ShowIndicatorMid, TDialGauge::ShowIndicatorMin});
  g.SetFPosition(-1000);  // needle out of the way
  const QImage image = g.grab().toImage();
  const dial::Geometry geometry = GeometryOf(g);
  auto colourAt = [&](double value) {
    return probe::Rgb(image, dial::PointAt(geometry, dial::ValueAngle(value, 0, 140, 120), geometry.radius - 1));
  };
  EXPECT_EQ(colourAt(120), Rgb(kMaxZone));
  EXPECT_EQ(colourAt(65), Rgb(kMidZone));
  EXPECT_EQ(colourAt(15), Rgb(kMinZone));
  // Nothing of the zones below the dial's centre line, where the scale does not run.
  EXPECT_EQ(probe::Count(image, Rgb(kMaxZone), QRect(0, geometry.cy + 5, g.width(), 40)), 0);
}

TEST(DialGaugeRender, ZoneLimitOutsideTheScaleDrawsNoWrongArc) {
  TDialGauge g;
  Isolate(g, {TDialGauge::ShowIndicatorMax, TDialGauge::ShowIndicatorMid});
  g.SetFPosition(-1000);
  g.SetFMinValue(100);  // IndMaximum becomes 201, beyond MaxValue 140
  ASSERT_GT(g.IndMaximum(), g.MaxValue());
  const QImage image = g.grab().toImage();
  EXPECT_EQ(probe::Count(image, Rgb(kMaxZone)), 0);
  const dial::Geometry geometry = GeometryOf(g);
  // The middle zone runs from IndMinimum (101) to the scale end, nowhere else.
  EXPECT_EQ(probe::Rgb(image, dial::PointAt(geometry, dial::ValueAngle(130, 100, 140, 120), geometry.radius - 1)),
            Rgb(kMidZone));
  EXPECT_EQ(probe::Count(image, Rgb(kMidZone), QRect(0, geometry.cy - 40, g.width(), 80)), 0);
}

TEST(DialGaugeRender, ZeroMainTicksDrawNoTicksAndNoLabels) {
  TDialGauge g;
  Isolate(g, {TDialGauge::ShowMainTicks, TDialGauge::ShowSubTicks, TDialGauge::ShowValues, TDialGauge::ShowCircles});
  const QImage withTicks = g.grab().toImage();
  EXPECT_GT(probe::Count(withTicks, Rgb(kTicks)), 50);
  EXPECT_GT(probe::Count(withTicks, Rgb(kLabels)), 20);
  g.SetFNumMainTicks(0);
  const QImage without = g.grab().toImage();
  EXPECT_EQ(probe::Count(without, Rgb(kTicks)), 0);
  EXPECT_EQ(probe::Count(without, Rgb(kLabels)), 0);
}

// The caption (the display windows write the reading there) stands centred on the point
// halfway up the middle of the scale, its top on that point, and follows its text.
TEST(DialGaugeRender, CaptionStandsCentredHalfwayUpTheScale) {
  constexpr draw::TColor kCaption = 0x0080FF;  // orange
  // Text is smoothed: its edges blend orange into the grey face.
  auto orangeInk = [](QRgb pixel) { return qRed(pixel) > 0xE0 && qBlue(pixel) < 0xC0; };
  for (auto style : {TDialGauge::CenterStyle, TDialGauge::LeftStyle}) {
    TDialGauge g;
    Isolate(g, {TDialGauge::ShowCaption});
    g.resize(320, 260);
    g.SetFStyle(style);
    g.SetFCaptionColor(kCaption);
    g.SetFPosition(-1000);  // the needle lies along the scale start, away from the caption
    const dial::Geometry geometry = GeometryOf(g);
    const QPoint anchor = dial::PointAt(geometry, geometry.sweep / 2.0, geometry.radius / 2.0);
    int previousWidth = 0;
    for (const char* caption : {"-7.0", "-7.0 %", "-1234.5 %RH"}) {
      SCOPED_TRACE(testing::Message() << style << " " << caption);
      g.SetFCaption(QString::fromLatin1(caption));
      const QRect drawn = probe::Bounds(g.grab().toImage(), orangeInk);
      ASSERT_FALSE(drawn.isNull());
      EXPECT_LE(std::abs(drawn.center().x() - anchor.x()), 2) << drawn.center().x() << " vs " << anchor.x();
      EXPECT_GE(drawn.top(), anchor.y());
      EXPECT_LE(drawn.top(), anchor.y() + g.fontMetrics().height() / 2);
      EXPECT_GT(drawn.width(), previousWidth);
      previousWidth = drawn.width();
    }
    g.SetFCaption(QString());
    EXPECT_TRUE(probe::Bounds(g.grab().toImage(), orangeInk).isNull());
  }
  TDialGauge hidden;  // the face option hides it
  Isolate(hidden);
  hidden.SetFCaptionColor(kCaption);
  hidden.SetFCaption(QStringLiteral("-7.0 %"));
  EXPECT_TRUE(probe::Bounds(hidden.grab().toImage(), orangeInk).isNull());
}

// Margins and lengths far beyond any face must keep their meaning: a scale pushed off the face
// shows nothing, and a tick longer than the dial reaches outwards, never back across the centre.
TEST(DialGaugeRender, HugeMarginsAndTickLengthsDoNotWrapAround) {
  for (auto style : {TDialGauge::LeftStyle, TDialGauge::RightStyle, TDialGauge::CenterStyle}) {
    for (int margin : {kIntMin, -(1 << 30), 1 << 30, kIntMax}) {
      TDialGauge g;
      Isolate(g, {TDialGauge::ShowMainTicks, TDialGauge::ShowSubTicks, TDialGauge::ShowCircles});
      g.SetFStyle(style);
      g.SetFMargin(margin);
      EXPECT_EQ(probe::Count(g.grab().toImage(), Rgb(kTicks)), 0) << style << " margin " << margin;
    }
  }
  for (auto aa : {TDialGauge::aaNone, TDialGauge::aaQuadral}) {
    for (int length : {kIntMin, -(1 << 30)}) {
      TDialGauge g;
      Isolate(g, {TDialGauge::ShowMainTicks, TDialGauge::ShowSubTicks});
      g.SetFAntiAliased(aa);
      g.SetFLengthMainTicks(length);
      g.SetFLengthSubTicks(length);
      const dial::Geometry geometry = GeometryOf(g);
      const QImage image = g.grab().toImage();
      EXPECT_EQ(probe::Count(image, Rgb(kTicks), QRect(geometry.cxInt - 60, geometry.cy - 60, 120, 60)), 0)
          << int{aa} << " length " << length;
    }
  }
}

TEST(DialGaugeRender, DegenerateSettingsDrawWithoutFailing) {
  for (auto style : {TDialGauge::LeftStyle, TDialGauge::RightStyle, TDialGauge::CenterStyle}) {
    for (auto aa : {TDialGauge::aaNone, TDialGauge::aaBiline, TDialGauge::aaQuadral}) {
      TDialGauge g;
      g.SetFFaceOptions(0xFFF);
      g.SetFStyle(style);
      g.SetFAntiAliased(aa);
      g.resize(1, 1);
      EXPECT_FALSE(g.grab().toImage().isNull());
      g.SetFMargin(10000);  // the scale radius turns negative
      g.SetFCenterRadius(-20);
      g.SetFCircleRadius(100000);
      g.SetFLengthMainTicks(-50);
      g.SetFLengthSubTicks(1 << 20);
      g.SetFNumMainTicks(100);
      g.SetFPosition(3e38f);
      g.SetFCaption(QString(500, QLatin1Char('W')));
      EXPECT_FALSE(g.grab().toImage().isNull());
      g.SetRange(kIntMin, kIntMax);
      g.SetFMargin(0);
      g.SetFScaleAngle(360);
      EXPECT_FALSE(g.grab().toImage().isNull());
    }
  }
}

}  // namespace
