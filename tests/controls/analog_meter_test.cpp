// The analog meter: dial geometry and labels, setter rules, zone events, and needle, knob and
// band probed in headless renders, including degenerate scales.
#include <QImage>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

#include "controls/analog_meter.h"
#include "controls/analog_meter_geometry.h"
#include "tests/controls/pixel_probe.h"
#include "tests/support/scoped_locale.h"

namespace {

using controls::TAnalogMeter;
using probe::Rgb;

constexpr draw::TColor kNeedle = 0xFF00FF;  // magenta
constexpr draw::TColor kLow = 0x00FFFF;     // yellow
constexpr draw::TColor kOk = 0x00C000;      // green
constexpr draw::TColor kHigh = 0x0000FF;    // red
constexpr draw::TColor kFace = 0xE0E0E0;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST(MeterGeometry, EllipsePoints) {
  struct Case { double theta, a, c; QPoint offset; };
  const Case cases[] = {
      {0, 50, 30, {0, 30}},    {90, 50, 30, {-50, 0}}, {180, 50, 30, {0, -30}}, {270, 50, 30, {50, 0}},
      {45, 40, 40, {-28, 28}}, {0, 0.5, 30, {0, 0}},   {90, 50, 0, {0, 0}},     {90, 50, -4, {0, 0}},
  };
  for (const Case& c : cases) EXPECT_EQ(meter::EllipsePoint(c.theta, c.a, c.c), c.offset) << c.theta;
}

TEST(MeterGeometry, TheDialFitsTheControlForAnyShape) {
  for (int range : {10, 90, 180, 270, 360}) {
    for (QSize size : {QSize(121, 117), QSize(52, 37), QSize(800, 200), QSize(52, 100000)}) {
      const double start = (360.0 - range) / 2.0;
      const meter::Layout l = meter::OptimizeSizes(size.width(), size.height(), 15, start);
      const int h = size.height() - 2 * l.border - 17;
      EXPECT_LE(l.outerB, h) << range << " " << size.width() << "x" << size.height();
      if (start >= 90) {
        EXPECT_EQ(l.outerB, h);
      }
    }
  }
}

TEST(MeterGeometry, TickLabels) {
  struct Case { double value; int digits; bool abbreviate; const char* mark; const char* text; };
  const Case cases[] = {
      {1500, 1, true, ".", "1k5"},   {2000000, 1, true, ".", "2M0"},   {999, 1, true, ".", "999.0"},
      {2500, 0, true, ".", "3k"},    {-5000, 1, true, ".", "-5000.0"}, {1500, 1, false, ".", "1500.0"},
      {0.25, 1, false, ".", "0.3"},  {123456789, 1, false, ".", "1.234568E8"}, {1000, 2, true, ".", "1k00"},
      // The locale's mark; the letters of abbreviated labels stand in for any mark.
      {999, 1, true, ",", "999,0"},  {0.25, 2, false, ",", "0,25"},   {123456789, 1, false, ",", "1,234568E8"},
      {1500, 1, true, ",", "1k5"},   {42, 0, false, ",", "42"},
      // What the label would read decides the step, rounding included.
      {999.96, 1, true, ".", "1k0"},  {999.94, 1, true, ".", "999.9"},  {999.6, 0, true, ".", "1k"},
      {999999.96, 1, true, ".", "1M0"}, {999960, 1, true, ".", "1M0"}, {999940, 1, true, ".", "999k9"},
      {999.9999999999998, 1, true, ",", "1k0"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(meter::TickLabel(c.value, 7, c.digits, c.abbreviate, c.mark).toStdString(), c.text) << c.value;
  }
  // Logarithmic labels are geometrically spaced, and a decade that lands a hair below its
  // power of ten is abbreviated as its neighbours are.
  std::vector<std::string> labels;
  for (int j = 0; j < 4; ++j) labels.push_back(meter::TickLabel(meter::TickValue(j, 4, 1, 1000, true), 7, 0, false, ".").toStdString());
  EXPECT_EQ(labels, (std::vector<std::string>{"1", "10", "100", "1000"}));
  labels.clear();
  for (int j = 0; j < 6; ++j) labels.push_back(meter::TickLabel(meter::TickValue(j, 6, 1, 100000, true), 7, 1, true, ".").toStdString());
  EXPECT_EQ(labels, (std::vector<std::string>{"1.0", "10.0", "100.0", "1k0", "10k0", "100k0"}));
}

TEST(AnalogMeterSetters, ClampsGuardsAndZoneFollowing) {
  TAnalogMeter m;
  m.SetMax(200);  // the zones keep their percentages
  EXPECT_FLOAT_EQ(m.LowZoneValue(), 20);
  EXPECT_FLOAT_EQ(m.HighZoneValue(), 180);
  m.SetAngularRange(5);
  EXPECT_DOUBLE_EQ(m.StartAngle(), 175.0);

  m.SetMin(500);  // above the maximum: limited to it
  m.SetMin(kNaN);
  m.SetMax(std::numeric_limits<float>::infinity());
  EXPECT_EQ(std::make_pair(m.Min(), m.Max()), std::make_pair(200.f, 200.f));
  EXPECT_EQ(m.GetLowZone(), 0);  // empty range

  TAnalogMeter log;
  log.SetLogScale(true);  // a non-positive minimum moves to 1, and the value with it
  EXPECT_EQ(std::make_pair(log.Min(), log.Value()), std::make_pair(1.f, 1.f));
  log.SetMin(-5);
  log.SetValue(kNaN);
  EXPECT_EQ(std::make_pair(log.Min(), log.Value()), std::make_pair(1.f, 1.f));
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
      EXPECT_EQ(std::make_pair(m.Min(), m.Max()), std::make_pair(second.min, second.max));
      EXPECT_TRUE(second.min <= m.Value() && m.Value() <= second.max);
      EXPECT_TRUE(second.min <= m.LowZoneValue() && m.HighZoneValue() <= second.max);
    }
  }
  TAnalogMeter m;
  m.SetRange(200, 800);
  m.SetRange(800, 200);  // reversed: ignored
  m.SetRange(kNaN, 5);
  EXPECT_EQ(std::make_pair(m.Min(), m.Max()), std::make_pair(200.f, 800.f));
}

// Counts of the four zone events: rise above high, fall below high, rise above low, fall below low.
struct ZoneEvents {
  std::vector<int> zones = {0, 0, 0, 0};
  int change = 0;
  explicit ZoneEvents(TAnalogMeter& m) {
    m.SetOnRiseAboveHigh([this](QObject*) { ++zones[0]; });
    m.SetOnFallBelowHigh([this](QObject*) { ++zones[1]; });
    m.SetOnRiseAboveLow([this](QObject*) { ++zones[2]; });
    m.SetOnFallBelowLow([this](QObject*) { ++zones[3]; });
    m.SetOnChange([this](QObject*) { ++change; });
  }
};

// The value or a zone limit (10 and 90) moves past the other.
TEST(AnalogMeterEvents, CrossingAZoneLimit) {
  enum Moved { kValue, kLowLimit, kHighLimit };
  struct Case { float value; Moved moved; float to; std::vector<int> zones; };
  const Case cases[] = {
      {5, kValue, 95, {1, 0, 0, 0}},  // rising over both limits: the high one only
      {95, kValue, 5, {0, 0, 0, 1}},  // falling under both: the low one only
      {5, kValue, 50, {0, 0, 1, 0}},      {95, kValue, 50, {0, 1, 0, 0}},
      {50, kValue, 90, {1, 0, 0, 0}},     {10, kValue, 9, {0, 0, 0, 1}},  // at the limit counts
      {150, kValue, 200, {0, 0, 0, 0}},   // clamped: no change
      {50, kLowLimit, 60, {0, 0, 0, 1}},  {5, kLowLimit, 4, {0, 0, 1, 0}},
      {50, kHighLimit, 45, {1, 0, 0, 0}}, {95, kHighLimit, 96, {0, 1, 0, 0}},
  };
  for (const Case& c : cases) {
    TAnalogMeter m;
    m.SetValue(c.value);
    ZoneEvents events(m);
    if (c.moved == kValue) m.SetValue(c.to);
    if (c.moved == kLowLimit) m.SetLowZoneValue(c.to);
    if (c.moved == kHighLimit) m.SetHighZoneValue(c.to);
    EXPECT_EQ(events.zones, c.zones) << c.value << " " << c.moved << " -> " << c.to;
  }
  TAnalogMeter m;
  m.SetEnableZoneEvents(false);
  ZoneEvents events(m);
  m.SetValue(95);
  EXPECT_EQ(events.zones, (std::vector<int>{0, 0, 0, 0}));
  EXPECT_EQ(events.change, 1);
  m.SetHighZoneValue(5);   // pulls the low limit down with it
  EXPECT_FLOAT_EQ(m.LowZoneValue(), 5);
  m.SetLowZoneValue(95);   // pushes the high limit up
  EXPECT_FLOAT_EQ(m.HighZoneValue(), 95);
  m.SetLowZoneValue(-20);  // clamped to the scale
  EXPECT_FLOAT_EQ(m.LowZoneValue(), 0);
}

// A 300 x 240 meter whose only magenta pixels are the needle.
void ConfigureForProbes(TAnalogMeter& m, int range = 270) {
  m.resize(300, 240);
  m.SetAngularRange(range);
  m.SetTickColor(kNeedle);
  m.SetLowZoneColor(kLow);
  m.SetOKZoneColor(kOk);
  m.SetHighZoneColor(kHigh);
  m.SetColor(kFace);
  m.SetShowTicks(false);
  m.SetShowValue(false);
  m.SetShowFrame(false);
  m.SetCaption("");
  m.SetNeedleWidth(3);
}

std::optional<double> NeedleDirection(TAnalogMeter& m, const QImage& image) {
  const meter::Layout& l = m.CurrentLayout();
  return probe::Direction(image, QPoint(l.cx, l.cy), 40, Rgb(kNeedle));
}

// The colour in the middle of the zone band at a value of a 0..100 scale of 270 degrees.
QRgb BandAt(TAnalogMeter& m, const QImage& image, double value) {
  const meter::Layout& l = m.CurrentLayout();
  const double theta = value < 0 ? 0 : meter::ValueAngle(value, 0, 100, 270, 45, false);
  return probe::Rgb(image, QPoint(l.cx, l.cy) + meter::EllipsePoint(theta, (l.outerA + l.innerA) / 2.0,
                                                                      (l.outerB + l.innerB) / 2.0));
}

TEST(AnalogMeterText, LabelsAndReadOutWithTheDecimalMarkOfTheLocale) {
  auto face = [](TAnalogMeter& m) {
    ConfigureForProbes(m);
    m.SetShowTicksScale(true);
    m.SetShowValue(true);
    m.SetValue(42.5f);
    return m.grab().toImage();
  };
  QImage brazil, us;
  {
    const testsupport::ScopedDefaultLocale scoped(testsupport::Brazil());
    TAnalogMeter m;
    EXPECT_EQ(m.DecimalMark(), QStringLiteral(","));
    brazil = face(m);
  }
  {
    const testsupport::ScopedDefaultLocale scoped(testsupport::UnitedStates());
    TAnalogMeter m;
    EXPECT_EQ(m.DecimalMark(), QStringLiteral("."));
    us = face(m);
    m.SetDecimalMark(QStringLiteral(","));
    EXPECT_EQ(m.grab().toImage(), brazil);
  }
  EXPECT_NE(brazil, us);
}

TEST(AnalogMeterRender, NeedlePointsAtTheValue) {
  struct Case { int range; float min, max; bool log; float value; double direction; };
  const Case cases[] = {
      {270, 0, 100, false, 0, 225},  {270, 0, 100, false, 50, 90},  {270, 0, 100, false, 100, 315},
      {180, 0, 100, false, 0, 180},  {180, 0, 100, false, 50, 90},  {180, 0, 100, false, 100, 0},
      {90, 0, 100, false, 0, 135},   {90, 0, 100, false, 100, 45},  {360, 0, 100, false, 25, 180},
      {360, 0, 100, false, 75, 0},   {270, 1, 10000, true, 100, 90},  // log: geometric mean points up
  };
  for (const Case& c : cases) {
    TAnalogMeter m;
    ConfigureForProbes(m, c.range);
    m.SetLogScale(c.log);
    m.SetRange(c.min, c.max);
    m.SetValue(c.value);
    const QImage image = m.grab().toImage();
    const auto direction = NeedleDirection(m, image);
    ASSERT_TRUE(direction.has_value()) << c.range << " " << c.value;
    EXPECT_LT(probe::AngleDistance(*direction, c.direction), 2.5) << c.range << " " << c.value << ": " << *direction;
  }
}

// Over a background picture the band and knob still show, the picture around the dial.
TEST(AnalogMeterRender, KnobAndBandTakeTheZoneColours) {
  for (bool background : {false, true}) {
    TAnalogMeter m;
    ConfigureForProbes(m);
    QImage picture(300, 240, QImage::Format_RGB32);
    picture.fill(QColor(10, 20, 200));
    m.SetBackground(picture);
    m.SetShowBackgound(background);
    m.SetLowZoneValue(20);
    m.SetHighZoneValue(80);
    struct Case { float value; draw::TColor knob; };
    const Case cases[] = {{5, kLow}, {20, kLow}, {20.5f, kOk}, {50, kOk}, {79.9f, kOk}, {80, kHigh}, {100, kHigh}};
    for (const Case& c : cases) {
      m.SetValue(c.value);
      const QImage image = m.grab().toImage();
      EXPECT_EQ(probe::Rgb(image, m.CurrentLayout().cx, m.CurrentLayout().cy), Rgb(c.knob)) << c.value;
    }
    const QImage image = m.grab().toImage();
    EXPECT_EQ(BandAt(m, image, 10), Rgb(kLow));
    EXPECT_EQ(BandAt(m, image, 50), Rgb(kOk));
    EXPECT_EQ(BandAt(m, image, 90), Rgb(kHigh));
    const QRgb outside = background ? qRgb(10, 20, 200) & 0xFFFFFF : Rgb(kFace);
    EXPECT_EQ(BandAt(m, image, -1), outside);  // straight down, outside the scale
    EXPECT_EQ(probe::Rgb(image, 2, 2), outside);
  }
}

TEST(AnalogMeterRender, DegenerateScalesPutTheNeedleAtTheStartAndOneLabel) {
  struct Case { float min, max; bool log; };
  // An empty range, and a log scale whose minimum becomes 1, above the maximum.
  const Case cases[] = {{50, 50, false}, {-50, -10, true}};
  for (const Case& c : cases) {
    TAnalogMeter m;
    ConfigureForProbes(m);
    m.SetShowTicksScale(true);
    m.SetRange(c.min, c.max);
    m.SetLogScale(c.log);
    m.SetValue(1e6f);
    const QImage image = m.grab().toImage();
    const auto direction = NeedleDirection(m, image);
    ASSERT_TRUE(direction.has_value()) << c.min;
    EXPECT_LT(probe::AngleDistance(*direction, 225), 2.5) << c.min << ": " << *direction;
    // No labels on the right half, where the later ticks would be.
    EXPECT_EQ(probe::Count(image, Rgb(kNeedle), QRect(m.CurrentLayout().cx + 20, 0, 300, 240)), 0) << c.min;
  }
}

TEST(AnalogMeterRender, ReadOutIsErasedBeforeTheNextOne) {
  TAnalogMeter m, fresh;
  for (TAnalogMeter* meter : {&m, &fresh}) {
    ConfigureForProbes(*meter);
    meter->SetShowValue(true);
    meter->SetFontColor(0x000000);
  }
  m.show();  // a hidden control is redrawn whole on every grab, which would hide a stale read-out
  for (float v : {11.1f, 57.3f, 88.8f}) {
    m.SetValue(v);
    (void)m.grab();
  }
  fresh.SetValue(88.8f);
  EXPECT_EQ(m.grab().toImage(), fresh.grab().toImage());
}

// The caption (the display windows write the reading there) is centred above the knob, or
// below it between the scale ends, moved by its vertical adjustment; a new value redraws it.
TEST(AnalogMeterRender, CaptionAboveOrBelowTheKnobMovedByItsAdjustment) {
  constexpr draw::TColor kCaption = 0x0080FF;  // orange
  auto captionBox = [&](TAnalogMeter::TCaptionPos position, int adjustment, const char* caption) {
    TAnalogMeter m;
    ConfigureForProbes(m);
    m.SetFontColor(kCaption);
    m.SetCaptionPosition(position);
    m.SetCaptionVAdj(adjustment);
    m.SetCaption(QString::fromLatin1(caption));
    m.show();
    (void)m.grab();
    // Only the inside of the band is redrawn; the needle points away from the caption.
    m.SetValue(position == TAnalogMeter::cpTop ? 1 : 50);
    const QRect box = probe::Bounds(m.grab().toImage(), Rgb(kCaption));
    const meter::Layout& l = m.CurrentLayout();
    if (!box.isNull()) {
      EXPECT_LE(std::abs(box.center().x() - l.cx), 2) << caption;
    }
    return std::pair(box, l);
  };
  for (auto position : {TAnalogMeter::cpTop, TAnalogMeter::cpBottom}) {
    SCOPED_TRACE(position);
    const auto [box, l] = captionBox(position, 0, "12.5 %RH");
    ASSERT_FALSE(box.isNull());
    const int knob = 10 * (300 + 240) / 400;
    if (position == TAnalogMeter::cpTop) {
      EXPECT_LT(box.bottom(), l.cy - knob);
      EXPECT_GT(box.top(), l.cy - l.innerB);  // inside the band
    } else {
      EXPECT_GT(box.top(), l.cy + knob);
      EXPECT_LT(box.bottom(), 240);
    }
    for (int adjustment : {-30, 15}) {
      const QRect moved = captionBox(position, adjustment, "12.5 %RH").first;
      EXPECT_EQ(moved.translated(0, -adjustment), box) << adjustment;
    }
    EXPECT_GT(captionBox(position, 0, "-1234.5 %RH").first.width(), box.width());
    EXPECT_TRUE(captionBox(position, 0, "  ").first.isNull());  // trimmed to nothing
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
