// The display element of every kind offscreen: how each control takes its configuration and
// its readings.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QWidget>
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
  c.valueIndex = 1;
  c.channelIndex = 1;
  c.decimals = decimals;
  c.unit = unit;
  switch (kind) {
    case DisplayKind::LcdIndicator: c.SetLcd({}); break;
    case DisplayKind::LedDigits: c.SetLed({}); break;
    case DisplayKind::BarMeter: c.SetBar({}); break;
    case DisplayKind::DialGauge: c.SetDial({}); break;
    case DisplayKind::AnalogMeter: c.SetMeter({}); break;
    default: break;
  }
  return c;
}

class DisplayObjectTest : public testing::Test {
 protected:
  void SetUp() override { panel_.resize(340, 250); }
  bool Show(DisplayObject& e, const DisplayConfig& c, float value, float error = -1) {
    const float values[5] = {0, value, 0, 0, 0};
    const double times[1] = {kT0};
    return e.Update(values, times, c, error);
  }
  QWidget panel_;
};

TEST_F(DisplayObjectTest, BarCaptionsTellValuesOutsideTheRange) {
  DisplayConfig c = Config(DisplayKind::BarMeter);
  DisplayObject e(c, &panel_);
  controls::TBarMeter* bar = e.Bar();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->SignalUnit(), QString::fromUtf8("°C"));
  struct Case { float value; const char* caption; double shown; };
  const Case cases[] = {{50, "", 50}, {100.5f, "OVERFLOW", 50}, {-0.5f, "UNDERFLOW", 50},
                        {100, "", 100}, {0, "", 0}};
  for (const Case& k : cases) {
    ASSERT_TRUE(Show(e, c, k.value));
    EXPECT_EQ(bar->Caption(), k.caption) << k.value;
    EXPECT_EQ(bar->Value(), k.shown) << k.value;
  }
}

TEST_F(DisplayObjectTest, RangesShowAsConfiguredWhateverTheStartingRange) {
  struct Case { int32_t min, max; };
  for (const Case& k : {Case{150, 300}, Case{-50, -10}, Case{-300, 500}, Case{1000, 2000}}) {
    SCOPED_TRACE(testing::Message() << k.min << ".." << k.max);
    DisplayConfig bar = Config(DisplayKind::BarMeter);
    BarSettings b;
    b.min = k.min;
    b.max = k.max;
    bar.SetBar(b);
    DisplayObject eb(bar, &panel_);
    EXPECT_EQ(eb.Bar()->ValueMin(), k.min);
    EXPECT_EQ(eb.Bar()->ValueMax(), k.max);
    EXPECT_EQ(eb.Bar()->Value(), k.min);

    DisplayConfig meter = Config(DisplayKind::AnalogMeter);
    MeterSettings m;
    m.min = k.min;
    m.max = k.max;
    meter.SetMeter(m);
    DisplayObject em(meter, &panel_);
    EXPECT_EQ(em.Meter()->Min(), k.min);
    EXPECT_EQ(em.Meter()->Max(), k.max);

    DisplayConfig dial = Config(DisplayKind::DialGauge);
    DialSettings d;
    d.min = k.min;
    d.max = k.max;
    dial.SetDial(d);
    DisplayObject ed(dial, &panel_);
    EXPECT_EQ(ed.Gauge()->MinValue(), k.min);
    EXPECT_EQ(ed.Gauge()->MaxValue(), k.max);
    EXPECT_EQ(ed.Gauge()->Position(), k.min);
  }
}

TEST_F(DisplayObjectTest, DialPinsTheNeedleAndCaptionsTheTrueValue) {
  DisplayConfig c = Config(DisplayKind::DialGauge, 1);
  DisplayObject e(c, &panel_);
  controls::TDialGauge* g = e.Gauge();
  EXPECT_EQ(g->Caption(), QString::fromUtf8("°C"));
  Show(e, c, 150.25f);
  EXPECT_EQ(g->Position(), 100);
  EXPECT_EQ(g->Caption(), QString::fromUtf8("150.3 °C"));
  Show(e, c, -7);
  EXPECT_EQ(g->Position(), 0);
  EXPECT_EQ(g->Caption(), QString::fromUtf8("-7.0 °C"));
  e.SetSeriesTitles("%");
  Show(e, c, 42);
  EXPECT_EQ(g->Position(), 42);
  EXPECT_EQ(g->Caption(), "42.0 %");
}

TEST_F(DisplayObjectTest, MeterAndDigitsShowTheFormattedValue) {
  DisplayConfig meter = Config(DisplayKind::AnalogMeter, 2, "bar");
  DisplayObject em(meter, &panel_);
  Show(em, meter, 12.345f);
  EXPECT_FLOAT_EQ(em.Meter()->Value(), 12.345f);
  EXPECT_EQ(em.Meter()->Caption(), "12.35 bar");  // the meter's caption is stored trimmed

  DisplayConfig lcd = Config(DisplayKind::LcdIndicator, 2);
  DisplayObject el(lcd, &panel_);
  Show(el, lcd, 21.5f);
  EXPECT_EQ(el.Indicator()->Indicatorstring(), "21.50");

  DisplayConfig led = Config(DisplayKind::LedDigits, 0);
  DisplayObject ed(led, &panel_);
  Show(ed, led, 1234.6f);
  EXPECT_EQ(ed.LedDigits()->Value(), "1235");
}

TEST_F(DisplayObjectTest, ChannelsOutsideTheReadingsShowTheErrorValue) {
  for (int32_t index : {kNoChannel, 5, 7, -3, 0x7FFFFFFF}) {
    DisplayConfig c = Config(DisplayKind::LcdIndicator, 1);
    c.channelIndex = index;
    DisplayObject e(c, &panel_);
    Show(e, c, 21, -99);
    EXPECT_EQ(e.Indicator()->Indicatorstring(), "-99.0") << index;
  }
}

TEST_F(DisplayObjectTest, SettingsOutsideTheWizardsRangesAreClamped) {
  DisplayConfig lcd = Config(DisplayKind::LcdIndicator);
  lcd.SetLcd({0x363636, 0xD3D3D3, 0xD3D3D3, 40});
  EXPECT_EQ(DisplayObject(lcd, &panel_).Indicator()->SignNumber(), 12);

  DisplayConfig led = Config(DisplayKind::LedDigits);
  led.SetLed({0xFF, 0, -4, 99, 0});
  DisplayObject eled(led, &panel_);
  EXPECT_EQ(eled.LedDigits()->DigitNum(), 1);
  EXPECT_EQ(eled.LedDigits()->SegmentSize(), 22);

  DisplayConfig meter = Config(DisplayKind::AnalogMeter);
  MeterSettings m;
  m.tickCount = 0x0114;  // only the low byte counts: 20
  meter.SetMeter(m);
  EXPECT_EQ(DisplayObject(meter, &panel_).Meter()->TickCount(), 20);
  m.tickCount = 1;
  meter.SetMeter(m);
  EXPECT_EQ(DisplayObject(meter, &panel_).Meter()->TickCount(), 2);

  DisplayConfig dial = Config(DisplayKind::DialGauge);
  DialSettings d;
  d.mainTicks = 500;
  d.angle = 5;
  dial.SetDial(d);
  DisplayObject edial(dial, &panel_);
  EXPECT_EQ(edial.Gauge()->NumberMainTicks(), 19);
  EXPECT_EQ(edial.Gauge()->Angle(), 30);
}

TEST_F(DisplayObjectTest, PlacementFollowsThePanel) {
  DisplayConfig c = Config(DisplayKind::DialGauge);
  DisplayObject e(c, &panel_);
  EXPECT_EQ(e.Gauge()->geometry(), QRect(12, 12, 316, 226));  // m = 250 / 20
  panel_.resize(400, 100);
  ASSERT_TRUE(e.FitToPanel(&panel_));
  EXPECT_EQ(e.Gauge()->geometry(), QRect(5, 5, 390, 90));
  EXPECT_FALSE(DisplayObject(Config(DisplayKind::None), &panel_).FitToPanel(&panel_));
}

TEST_F(DisplayObjectTest, EveryKindDrawsSomething) {
  // The pictures land beside the test binary for a look by eye.
  DisplayConfig chart = Config(DisplayKind::Chart);
  ChartSettings s = chart.Chart();
  s.ref1On = true;
  s.ref1Color = 0x0000FF;
  s.ref2On = true;
  s.ref2Color = 0xFF0000;
  chart.SetChart(s);
  ChartChannelEntry a, b;
  a.color = 0x008000;
  a.name = "Estufa / Canal 1 / \xB0" "C";
  a.channelIndex = 1;
  b.color = 0x800080;
  b.name = "Estufa / Ambiente / \xB0" "C";
  b.channelIndex = 3;
  chart.chartChannels = {a, b};
  const DisplayKind kinds[] = {DisplayKind::Chart, DisplayKind::LcdIndicator,
                               DisplayKind::LedDigits, DisplayKind::BarMeter,
                               DisplayKind::DialGauge, DisplayKind::AnalogMeter};
  for (DisplayKind kind : kinds) {
    SCOPED_TRACE(static_cast<int>(kind));
    QWidget panel;
    panel.resize(340, 250);
    DisplayConfig c = kind == DisplayKind::Chart ? chart : Config(kind);
    DisplayObject e(c, &panel);
    for (int i = 0; i < 60; ++i) {
      const float values[5] = {0, 60 + 25 * float(std::sin(i / 8.0)), 0, 23.5f + i / 30.0f, 0};
      const double times[1] = {kT0 + i / 86400.0};
      e.Update(values, times, c, 0);
    }
    if (e.Chart()) e.Chart()->Plot()->replot();
    const QImage picture = panel.grab().toImage();
    picture.save(QDir::current().filePath(
        QStringLiteral("display_kind_%1.png").arg(static_cast<int>(kind))));
    const QRgb corner = picture.pixel(picture.width() / 2, picture.height() / 2);
    int differing = 0;
    for (int y = 0; y < picture.height(); y += 4) {
      for (int x = 0; x < picture.width(); x += 4) differing += picture.pixel(x, y) != corner;
    }
    EXPECT_GT(differing, 100);
  }
}

}  // namespace
