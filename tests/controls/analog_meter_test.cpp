// The analog meter: dial geometry and labels, setter rules, zone events, and needle, knob and
// band probed in headless renders, including degenerate scales.
#include <QImage>
#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

#include "controls/analog_meter.h"
#include "controls/analog_meter_geometry.h"
#include "tests/controls/pixel_probe.h"

namespace {

using controls::TAnalogMeter;

constexpr draw::TColor kNeedle = 0xFF00FF;  // magenta
constexpr draw::TColor kLow = 0x00FFFF;     // yellow
constexpr draw::TColor kOk = 0x00C000;      // green
constexpr draw::TColor kHigh = 0x0000FF;    // red
constexpr draw::TColor kFace = 0xE0E0E0;

QRgb Rgb(draw::TColor color) { return draw::ToRgb(color); }

TEST(MeterGeometry, EllipsePoints) {
  struct Case { double theta, a, c; QPoint offset; };
  const Case cases[] = {
      {0, 50, 30, {0, 30}},    {90, 50, 30, {-50, 0}}, {180, 50, 30, {0, -30}}, {270, 50, 30, {50, 0}},
      {45, 40, 40, {-28, 28}}, {0, 0.5, 30, {0, 0}},   {90, 50, 0, {0, 0}},     {90, 50, -4, {0, 0}},
  };
  for (const Case& c : cases) EXPECT_EQ(meter::EllipsePoint(c.theta, c.a, c.c), c.offset) << c.theta;
  EXPECT_DOUBLE_EQ(meter::ScreenDirection(0), 270.0);  // straight down
  EXPECT_DOUBLE_EQ(meter::ScreenDirection(180), 90.0);
}

TEST(MeterGeometry, LayoutFitsTheDialIntoTheControl) {
  for (int range : {10, 90, 180, 240, 270, 300, 360}) {
    for (QSize size : {QSize(121, 117), QSize(300, 240), QSize(52, 37), QSize(800, 200), QSize(52, 100000)}) {
      const double start = (360.0 - range) / 2.0;
      const meter::Layout l = meter::OptimizeSizes(size.width(), size.height(), 15, start);
      const int b = (size.width() + size.height()) / 40;
      EXPECT_EQ(l.border, b);
      EXPECT_EQ(l.cx, size.width() / 2);
      EXPECT_EQ(l.cy, b + l.outerB);
      EXPECT_EQ(l.outerA, l.cx - b);
      const int h = size.height() - 2 * b - 17;
      EXPECT_LE(l.outerB, h) << range << " " << size.width() << "x" << size.height();
      if (start >= 90) {
        EXPECT_EQ(l.outerB, h);
      }
    }
  }
}

TEST(MeterGeometry, ValueAnglesLinearLogAndDegenerate) {
  EXPECT_DOUBLE_EQ(meter::ValueAngle(50, 0, 100, 270, 45, false), 180.0);
  EXPECT_DOUBLE_EQ(meter::ValueAngle(0, 0, 100, 270, 45, false), 45.0);
  EXPECT_DOUBLE_EQ(meter::ValueAngle(100, 0, 100, 270, 45, false), 315.0);
  EXPECT_NEAR(meter::ValueAngle(100, 1, 10000, 270, 45, true), 180.0, 1e-9);  // geometric mean
  EXPECT_DOUBLE_EQ(meter::ValueAngle(5, 5, 5, 270, 45, false), 45.0);
  EXPECT_DOUBLE_EQ(meter::ValueAngle(5, 8, 2, 270, 45, false), 45.0);
  EXPECT_DOUBLE_EQ(meter::ValueAngle(5, 0, 10, 270, 45, true), 45.0);    // log from 0
  EXPECT_DOUBLE_EQ(meter::ValueAngle(5, -3, 10, 270, 45, true), 45.0);
  EXPECT_DOUBLE_EQ(meter::ValueAngle(std::nan(""), 0, 10, 270, 45, false), 45.0);
}

TEST(MeterGeometry, TickLabels) {
  struct Case { double value; int precision, digits; bool abbreviate; const char* text; };
  const Case cases[] = {
      {1500, 7, 1, true, "1k5"},       {2000000, 7, 1, true, "2M0"}, {999, 7, 1, true, "999.0"},
      {2500, 7, 1, true, "2k5"},       {2500, 7, 0, true, "3k"},     {-5000, 7, 1, true, "-5000.0"},
      {1500, 7, 1, false, "1500.0"},   {0.25, 7, 1, false, "0.3"},   {123456789, 7, 1, false, "1.234568E8"},
      {1000, 7, 2, true, "1k00"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(meter::TickLabel(c.value, c.precision, c.digits, c.abbreviate).toStdString(), c.text) << c.value;
  }
  // Logarithmic labels are geometrically spaced.
  std::vector<std::string> labels;
  for (int j = 0; j < 4; ++j) labels.push_back(meter::TickLabel(meter::TickValue(j, 4, 1, 1000, true), 7, 0, false).toStdString());
  EXPECT_EQ(labels, (std::vector<std::string>{"1", "10", "100", "1000"}));
  EXPECT_DOUBLE_EQ(meter::TickAngle(2, 5, 270, 45), 180.0);
}

TEST(MeterGeometry, LabelsLeanIntoTheDialBySector) {
  const QPoint p(100, 100);
  struct Case { double theta; QPoint topLeft; };
  const Case cases[] = {
      {45, {100, 80}},    // bottom-left boundary: f = 0
      {0, {75, 80}},      // straight down: centred (f = 0.5 of 50 wide)
      {90, {100, 90}},    // left: half the height up
      {180, {75, 100}},   // top: centred, below the point
      {270, {50, 90}},    // right: to the left of the point
      {315, {50, 80}},    // bottom-right boundary: f = 1
  };
  for (const Case& c : cases) EXPECT_EQ(meter::LabelTopLeft(p, c.theta, 50, 20), c.topLeft) << c.theta;
}

TEST(AnalogMeterSetters, ClampsGuardsAndZoneFollowing) {
  TAnalogMeter m;
  m.SetMax(200);
  EXPECT_FLOAT_EQ(m.LowZoneValue(), 20);
  EXPECT_FLOAT_EQ(m.HighZoneValue(), 180);

  m.SetAngularRange(5);
  EXPECT_EQ(m.AngularRange(), 10);
  EXPECT_DOUBLE_EQ(m.StartAngle(), 175.0);
  m.SetAngularRange(400);
  EXPECT_EQ(m.AngularRange(), 360);
  m.SetCaptionVAdj(40);
  EXPECT_EQ(m.CaptionVertAdj(), 0);
  m.SetCaptionVAdj(-30);
  EXPECT_EQ(m.CaptionVertAdj(), -30);
  m.SetTickCount(150);
  EXPECT_EQ(m.TickCount(), 100);
  m.SetCaption(" \t mV \r\n");
  EXPECT_EQ(m.Caption(), QStringLiteral("mV"));

  m.SetMin(500);  // above the maximum: limited to it
  EXPECT_FLOAT_EQ(m.Min(), 200);
  m.SetMin(std::numeric_limits<float>::quiet_NaN());
  m.SetMax(std::numeric_limits<float>::infinity());
  EXPECT_FLOAT_EQ(m.Min(), 200);
  EXPECT_FLOAT_EQ(m.Max(), 200);
  EXPECT_EQ(m.GetLowZone(), 0);  // empty range

  m.resize(30, 20);
  EXPECT_EQ(m.size(), QSize(52, 37));
}

TEST(AnalogMeterSetters, LogScaleMovesANonPositiveMinimumToOne) {
  TAnalogMeter m;
  m.SetLogScale(true);
  EXPECT_FLOAT_EQ(m.Min(), 1);
  EXPECT_FLOAT_EQ(m.Value(), 1);
  m.SetMin(-5);
  EXPECT_FLOAT_EQ(m.Min(), 1);
  m.SetValue(std::numeric_limits<float>::quiet_NaN());
  EXPECT_FLOAT_EQ(m.Value(), 1);
}

TEST(AnalogMeterSetters, SetRangeReachesAnyRangeFromAnyState) {
  struct Range { float min, max; };
  const Range ranges[] = {{200, 800}, {-50, -10}, {0, 1}, {-1e6f, 1e6f}, {5, 5}};
  for (const Range& first : ranges) {
    for (const Range& second : ranges) {
      TAnalogMeter m;
      m.SetRange(first.min, first.max);
      m.SetValue(first.max);
      m.SetRange(second.min, second.max);
      EXPECT_FLOAT_EQ(m.Min(), second.min);
      EXPECT_FLOAT_EQ(m.Max(), second.max);
      EXPECT_GE(m.Value(), second.min);
      EXPECT_LE(m.Value(), second.max);
      EXPECT_GE(m.LowZoneValue(), second.min);
      EXPECT_LE(m.HighZoneValue(), second.max);
    }
  }
  // The single setters in the display's order cannot reach 200..800 from 0..100.
  TAnalogMeter m;
  m.SetMin(200);
  m.SetMax(800);
  EXPECT_FLOAT_EQ(m.Min(), 100);
  m.SetRange(800, 200);  // reversed: ignored
  m.SetRange(std::nanf(""), 5);
  EXPECT_FLOAT_EQ(m.Min(), 100);
  EXPECT_FLOAT_EQ(m.Max(), 800);
}

struct ZoneEvents {
  int riseAboveHigh = 0, fallBelowHigh = 0, riseAboveLow = 0, fallBelowLow = 0, change = 0;
  explicit ZoneEvents(TAnalogMeter& m) {
    m.SetOnRiseAboveHigh([this](QObject*) { ++riseAboveHigh; });
    m.SetOnFallBelowHigh([this](QObject*) { ++fallBelowHigh; });
    m.SetOnRiseAboveLow([this](QObject*) { ++riseAboveLow; });
    m.SetOnFallBelowLow([this](QObject*) { ++fallBelowLow; });
    m.SetOnChange([this](QObject*) { ++change; });
  }
  std::vector<int> Zones() const { return {riseAboveHigh, fallBelowHigh, riseAboveLow, fallBelowLow}; }
};

TEST(AnalogMeterEvents, ValueCrossingZoneLimits) {
  struct Case { float from, to; std::vector<int> zones; };  // riseHigh, fallHigh, riseLow, fallLow
  const Case cases[] = {
      {5, 95, {1, 0, 0, 0}},   // rising over both limits: the high one only
      {95, 5, {0, 0, 0, 1}},   // falling under both: the low one only
      {5, 50, {0, 0, 1, 0}},   {95, 50, {0, 1, 0, 0}},  {50, 90, {1, 0, 0, 0}},  // at the limit counts
      {10, 9, {0, 0, 0, 1}},   {20, 30, {0, 0, 0, 0}},  {150, 200, {0, 0, 0, 0}},  // clamped: no change
  };
  for (const Case& c : cases) {
    TAnalogMeter m;
    m.SetValue(c.from);
    ZoneEvents events(m);
    m.SetValue(c.to);
    EXPECT_EQ(events.Zones(), c.zones) << c.from << " -> " << c.to;
  }
  TAnalogMeter m;
  m.SetEnableZoneEvents(false);
  ZoneEvents events(m);
  m.SetValue(95);
  EXPECT_EQ(events.Zones(), (std::vector<int>{0, 0, 0, 0}));
  EXPECT_EQ(events.change, 1);
}

TEST(AnalogMeterEvents, ZoneLimitMovingPastTheValue) {
  TAnalogMeter m;
  m.SetValue(50);
  ZoneEvents events(m);
  m.SetLowZoneValue(60);  // the low limit moves up past the value
  EXPECT_EQ(events.Zones(), (std::vector<int>{0, 0, 0, 1}));
  m.SetLowZoneValue(40);
  EXPECT_EQ(events.Zones(), (std::vector<int>{0, 0, 1, 1}));
  m.SetHighZoneValue(45);  // down past the value
  EXPECT_EQ(events.Zones(), (std::vector<int>{1, 0, 1, 1}));
  m.SetHighZoneValue(30);  // pulls the low limit down with it
  EXPECT_FLOAT_EQ(m.LowZoneValue(), 30);
  m.SetLowZoneValue(95);   // pushes the high limit up
  EXPECT_FLOAT_EQ(m.HighZoneValue(), 95);
  m.SetLowZoneValue(-20);  // clamped to the scale
  EXPECT_FLOAT_EQ(m.LowZoneValue(), 0);
}

// A meter whose only magenta pixels are the needle.
void ConfigureForProbes(TAnalogMeter& m, int range) {
  m.resize(300, 240);
  m.SetAngularRange(range);
  m.SetTickColor(kNeedle);
  m.SetLowZoneColor(kLow);
  m.SetOKZoneColor(kOk);
  m.SetHighZoneColor(kHigh);
  m.SetColor(kFace);
  m.SetShowTicks(false);
  m.SetShowTicksScale(false);
  m.SetShowValue(false);
  m.SetShowFrame(false);
  m.SetCaption("");
  m.SetNeedleWidth(3);
}

std::optional<double> NeedleDirection(TAnalogMeter& m, const QImage& image) {
  const meter::Layout& l = m.CurrentLayout();
  return probe::Direction(image, QPoint(l.cx, l.cy), 40, Rgb(kNeedle));
}

TEST(AnalogMeterRender, NeedlePointsAtTheValue) {
  struct Case { int range; float value; double direction; };
  const Case cases[] = {
      {270, 0, 225},  {270, 50, 90},  {270, 100, 315}, {180, 0, 180}, {180, 50, 90},
      {180, 100, 0},  {90, 0, 135},   {90, 100, 45},   {360, 25, 180}, {360, 75, 0},
  };
  for (const Case& c : cases) {
    TAnalogMeter m;
    ConfigureForProbes(m, c.range);
    m.SetValue(c.value);
    const QImage image = m.grab().toImage();
    const auto direction = NeedleDirection(m, image);
    ASSERT_TRUE(direction.has_value()) << c.range << " " << c.value;
    // The dial is an ellipse: the ray at the value's angle is the needle's direction.
    EXPECT_LT(probe::AngleDistance(*direction, c.direction), 2.5) << c.range << " " << c.value << ": " << *direction;
  }
}

TEST(AnalogMeterRender, LogScaleNeedleAtTheGeometricMeanPointsUp) {
  TAnalogMeter m;
  ConfigureForProbes(m, 270);
  m.SetLogScale(true);
  m.SetRange(1, 10000);
  m.SetValue(100);
  const QImage image = m.grab().toImage();
  const auto direction = NeedleDirection(m, image);
  ASSERT_TRUE(direction.has_value());
  EXPECT_LT(probe::AngleDistance(*direction, 90), 2.0) << *direction;
}

TEST(AnalogMeterRender, KnobAndBandTakeTheZoneColours) {
  TAnalogMeter m;
  ConfigureForProbes(m, 270);
  m.SetRange(0, 100);
  m.SetLowZoneValue(20);
  m.SetHighZoneValue(80);
  struct Case { float value; draw::TColor knob; };
  const Case cases[] = {{5, kLow}, {20, kLow}, {20.5f, kOk}, {50, kOk}, {79.9f, kOk}, {80, kHigh}, {100, kHigh}};
  for (const Case& c : cases) {
    m.SetValue(c.value);
    const QImage image = m.grab().toImage();
    const meter::Layout& l = m.CurrentLayout();
    EXPECT_EQ(probe::Rgb(image, l.cx, l.cy), Rgb(c.knob)) << c.value;
  }
  const QImage image = m.grab().toImage();
  const meter::Layout& l = m.CurrentLayout();
  auto bandAt = [&](double value) {
    const double theta = meter::ValueAngle(value, 0, 100, 270, 45, false);
    return probe::Rgb(image, QPoint(l.cx, l.cy) +
                                 meter::EllipsePoint(theta, (l.outerA + l.innerA) / 2.0, (l.outerB + l.innerB) / 2.0));
  };
  EXPECT_EQ(bandAt(10), Rgb(kLow));
  EXPECT_EQ(bandAt(50), Rgb(kOk));
  EXPECT_EQ(bandAt(90), Rgb(kHigh));
  // Straight down, outside the scale, the face shows.
  EXPECT_EQ(probe::Rgb(image, QPoint(l.cx, l.cy) + meter::EllipsePoint(0, (l.outerA + l.innerA) / 2.0,
                                                                          (l.outerB + l.innerB) / 2.0)),
            Rgb(kFace));
}

TEST(AnalogMeterRender, DegenerateScalesPutTheNeedleAtTheStartAndOneLabel) {
  struct Setup { const char* name; std::function<void(TAnalogMeter&)> apply; };
  const Setup setups[] = {
      {"empty range", [](TAnalogMeter& m) { m.SetRange(50, 50); }},
      {"log below zero", [](TAnalogMeter& m) {
         m.SetRange(-50, -10);
         m.SetLogScale(true);  // the minimum becomes 1, above the maximum
       }},
  };
  for (const Setup& setup : setups) {
    TAnalogMeter m;
    ConfigureForProbes(m, 270);
    m.SetShowTicksScale(true);
    m.SetTickCount(11);
    setup.apply(m);
    m.SetValue(1e6f);
    const QImage image = m.grab().toImage();
    const auto direction = NeedleDirection(m, image);
    ASSERT_TRUE(direction.has_value()) << setup.name;
    EXPECT_LT(probe::AngleDistance(*direction, 225), 2.5) << setup.name << ": " << *direction;
    // No labels on the right half, where the later ticks would be.
    const meter::Layout& l = m.CurrentLayout();
    EXPECT_EQ(probe::Count(image, Rgb(kNeedle), QRect(l.cx + 20, 0, 300, 240)), 0) << setup.name;
  }
}

TEST(AnalogMeterRender, ReadOutIsErasedBeforeTheNextOne) {
  TAnalogMeter m;
  ConfigureForProbes(m, 270);
  m.SetShowValue(true);
  m.SetFontColor(0x000000);
  for (float v : {11.1f, 57.3f, 88.8f}) {
    m.SetValue(v);
    (void)m.grab();
  }
  TAnalogMeter fresh;
  ConfigureForProbes(fresh, 270);
  fresh.SetShowValue(true);
  fresh.SetFontColor(0x000000);
  fresh.SetValue(88.8f);
  EXPECT_EQ(m.grab().toImage(), fresh.grab().toImage());
}

TEST(AnalogMeterRender, BackgroundShowsOutsideTheDial) {
  TAnalogMeter m;
  ConfigureForProbes(m, 270);
  QImage picture(300, 240, QImage::Format_RGB32);
  picture.fill(QColor(10, 20, 200));
  m.SetBackground(picture);
  m.SetShowBackgound(true);
  m.SetValue(50);
  for (int pass = 0; pass < 2; ++pass) {  // the second paint composes again from the stored face
    const QImage image = m.grab().toImage();
    const meter::Layout& l = m.CurrentLayout();
    EXPECT_EQ(probe::Rgb(image, 2, 2), qRgb(10, 20, 200) & 0xFFFFFF);
    const double theta = meter::ValueAngle(50, 0, 100, 270, 45, false);
    EXPECT_EQ(probe::Rgb(image, QPoint(l.cx, l.cy) + meter::EllipsePoint(theta, (l.outerA + l.innerA) / 2.0,
                                                                         (l.outerB + l.innerB) / 2.0)),
              Rgb(kOk));
    EXPECT_EQ(probe::Rgb(image, l.cx, l.cy), Rgb(kOk));  // knob
  }
}

TEST(AnalogMeterRender, ExtremeSettingsDrawWithoutFailing) {
  for (QSize size : {QSize(1, 1), QSize(52, 2000), QSize(2000, 37)}) {
    for (int range : {10, 179, 181, 270, 360}) {
      TAnalogMeter m;
      m.resize(size);
      m.SetAngularRange(range);
      m.SetShowTicksScale(true);
      m.SetTickCount(100);
      m.SetKnobSize(255);
      m.SetNeedleWidth(255);
      m.SetAbbrTick(true);
      m.SetRange(-3e38f, 3e38f);
      m.SetValue(3e38f);
      EXPECT_FALSE(m.grab().toImage().isNull());
      m.SetLogScale(true);
      m.SetRange(1e-30f, 1e30f);
      m.SetValue(2);
      EXPECT_FALSE(m.grab().toImage().isNull());
    }
  }
}

}  // namespace
