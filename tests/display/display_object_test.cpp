// The display element of every kind offscreen: how each control takes its configuration and
// its readings.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QWidget>
#include <cmath>
#include <qcustomplot.h>

#include "controls/analog_meter.h"
#include "controls/bar_meter.h"
#include "controls/dial_gauge.h"
#include "controls/digit_display.h"
#include "controls/segment_indicator.h"
#include "display/display_chart.h"
#include "display/display_object.h"

namespace {

constexpr double kT0 = 45000.5;

DisplayConfig Config(DisplayKind kind, int16_t decimals = 1, const char* unit = "\xB0" "C") {
  DisplayConfig c = DisplayConfig::NewWindowDefaults();
  c.kind = kind;
  c.channelIndex = 1;
  c.decimals = decimals;
  c.unit = unit;
  if (kind == DisplayKind::LcdIndicator) c.SetLcd({});
  if (kind == DisplayKind::LedDigits) c.SetLed({});
  if (kind == DisplayKind::BarMeter) c.SetBar({});
  if (kind == DisplayKind::DialGauge) c.SetDial({});
  if (kind == DisplayKind::AnalogMeter) c.SetMeter({});
  return c;
}

// What the element shows as text: the digits, or the caption of a bar, dial or meter.
QString Shown(const DisplayObject& e) {
  if (e.Indicator()) return e.Indicator()->Indicatorstring();
  if (e.LedDigits()) return e.LedDigits()->Value();
  if (e.Bar()) return e.Bar()->Caption();
  if (e.Gauge()) return e.Gauge()->Caption();
  return e.Meter() ? e.Meter()->Caption() : QString();
}

class DisplayObjectTest : public testing::Test {
 protected:
  void SetUp() override { panel_.resize(340, 250); }
  static void Show(DisplayObject& e, const DisplayConfig& c, float value) {
    const float values[5] = {0, value, 0, 0, 0};
    const double times[1] = {kT0};
    ASSERT_TRUE(e.Update(values, times, c, -99));
  }
  QWidget panel_;
};

TEST_F(DisplayObjectTest, ValuesAsTextAndTheErrorValueForChannelsOutsideTheReadings) {
  struct Case { DisplayKind kind; int16_t decimals; int32_t channel; float value; const char* text; };
  const Case cases[] = {
      {DisplayKind::LcdIndicator, 2, 1, 21.5f, "21.50"},
      {DisplayKind::LedDigits, 0, 1, 1234.6f, "1235"},
      {DisplayKind::LedDigits, 1, 1, -3.5f, "-3.5"},
      {DisplayKind::AnalogMeter, 2, 1, 12.345f, "12.35 \xC2\xB0" "C"},
      {DisplayKind::DialGauge, 1, 1, -7, "-7.0 \xC2\xB0" "C"},
      {DisplayKind::BarMeter, 1, 1, 100.5f, "OVERFLOW"},
      {DisplayKind::BarMeter, 1, 1, -0.5f, "UNDERFLOW"},
      {DisplayKind::BarMeter, 1, 1, 100, ""},
      // Past the five values, past the buffer, negative, no channel: the error value.
      {DisplayKind::LcdIndicator, 1, 5, 21, "-99.0"},
      {DisplayKind::LcdIndicator, 1, 7, 21, "-99.0"},
      {DisplayKind::LcdIndicator, 1, -3, 21, "-99.0"},
      {DisplayKind::LcdIndicator, 1, kNoChannel, 21, "-99.0"},
      {DisplayKind::LcdIndicator, 1, 0x7FFFFFFF, 21, "-99.0"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.text);
    DisplayConfig c = Config(k.kind, k.decimals);
    c.channelIndex = k.channel;
    DisplayObject e(c, &panel_);
    Show(e, c, k.value);
    EXPECT_EQ(Shown(e), QString::fromUtf8(k.text));
  }
}

TEST_F(DisplayObjectTest, DialPinsItsNeedleAndCaptionsTheTrueValue) {
  DisplayConfig dial = Config(DisplayKind::DialGauge);
  DisplayObject e(dial, &panel_);
  for (auto [value, position] : {std::pair{150.25f, 100.f}, {-7.f, 0.f}, {42.f, 42.f}}) {
    Show(e, dial, value);
    EXPECT_EQ(e.Gauge()->Position(), position) << value;
  }
  EXPECT_EQ(e.Gauge()->Caption(), QString::fromUtf8("42.0 °C"));
  e.SetSeriesTitles("%");
  Show(e, dial, 150.25f);
  EXPECT_EQ(e.Gauge()->Caption(), "150.3 %");
}

TEST_F(DisplayObjectTest, RangesShowAsConfiguredWhateverTheStartingRange) {
  for (auto [min, max] : {std::pair{150, 300}, {-50, -10}, {-300, 500}, {1000, 2000}}) {
    SCOPED_TRACE(testing::Message() << min << ".." << max);
    DisplayConfig bar = Config(DisplayKind::BarMeter);
    bar.SetBar({.max = max, .min = min});
    DisplayObject eb(bar, &panel_);
    EXPECT_EQ(eb.Bar()->ValueMin(), min);
    EXPECT_EQ(eb.Bar()->ValueMax(), max);
    EXPECT_EQ(eb.Bar()->Value(), min);

    DisplayConfig meter = Config(DisplayKind::AnalogMeter);
    meter.SetMeter({.max = max, .min = min});
    DisplayObject em(meter, &panel_);
    EXPECT_EQ(em.Meter()->Min(), min);
    EXPECT_EQ(em.Meter()->Max(), max);

    DisplayConfig dial = Config(DisplayKind::DialGauge);
    dial.SetDial({.max = max, .min = min});
    DisplayObject ed(dial, &panel_);
    EXPECT_EQ(ed.Gauge()->MinValue(), min);
    EXPECT_EQ(ed.Gauge()->MaxValue(), max);
    EXPECT_EQ(ed.Gauge()->Position(), min);
  }
}

TEST_F(DisplayObjectTest, SettingsOutsideTheWizardsRangesAreClamped) {
  DisplayConfig lcd = Config(DisplayKind::LcdIndicator);
  lcd.SetLcd({.digits = 40});
  EXPECT_EQ(DisplayObject(lcd, &panel_).Indicator()->SignNumber(), 12);

  DisplayConfig led = Config(DisplayKind::LedDigits);
  led.SetLed({.digits = -4, .segmentSize = 99});
  DisplayObject eled(led, &panel_);
  EXPECT_EQ(eled.LedDigits()->DigitNum(), 1);
  EXPECT_EQ(eled.LedDigits()->SegmentSize(), 22);

  DisplayConfig meter = Config(DisplayKind::AnalogMeter);
  meter.SetMeter({.tickCount = 0x0114});  // only the low byte counts: 20
  EXPECT_EQ(DisplayObject(meter, &panel_).Meter()->TickCount(), 20);
  meter.SetMeter({.tickCount = 1});
  EXPECT_EQ(DisplayObject(meter, &panel_).Meter()->TickCount(), 2);

  DisplayConfig dial = Config(DisplayKind::DialGauge);
  dial.SetDial({.angle = 5, .mainTicks = 500});
  DisplayObject edial(dial, &panel_);
  EXPECT_EQ(edial.Gauge()->NumberMainTicks(), 19);
  EXPECT_EQ(edial.Gauge()->Angle(), 30);
}

TEST_F(DisplayObjectTest, EveryKindFollowsItsPanelAndDrawsSomething) {
  // The pictures land beside the test binary for a look by eye.
  for (int kind = 1; kind <= 6; ++kind) {
    SCOPED_TRACE(kind);
    QWidget panel;
    panel.resize(340, 250);
    DisplayConfig c = Config(static_cast<DisplayKind>(kind));
    if (kind == 1) c.chartChannels.push_back({0x008000, "Estufa / Canal 1 / \xB0" "C", 0, 0, 1});
    DisplayObject e(c, &panel);
    for (int i = 0; i < 60; ++i) {
      const float values[5] = {0, 60 + 25 * float(std::sin(i / 8.0)), 0, 0, 0};
      const double times[1] = {kT0 + i / 86400.0};
      e.Update(values, times, c, 0);
    }
    panel.resize(400, 300);
    ASSERT_TRUE(e.FitToPanel(&panel));
    EXPECT_TRUE(panel.rect().contains(e.Widget()->geometry()));
    EXPECT_GT(e.Widget()->width(), 300);
    if (e.Chart()) e.Chart()->Plot()->replot();
    const QImage picture = panel.grab().toImage();
    picture.save(QDir::current().filePath(QStringLiteral("display_kind_%1.png").arg(kind)));
    const QRgb middle = picture.pixel(picture.width() / 2, picture.height() / 2);
    int differing = 0;
    for (int y = 0; y < picture.height(); y += 4) {
      for (int x = 0; x < picture.width(); x += 4) differing += picture.pixel(x, y) != middle;
    }
    EXPECT_GT(differing, 100);
  }
  EXPECT_FALSE(DisplayObject(Config(DisplayKind::None), &panel_).FitToPanel(&panel_));
}

}  // namespace
