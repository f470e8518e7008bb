// The display element offscreen: how the chart and each control take their configuration
// and their readings.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>
#include <QWidget>
#include <qcustomplot.h>
#include <QFontMetrics>
#include <cmath>
#include <limits>
#include <vector>

#include "controls/analog_meter.h"
#include "controls/bar_meter.h"
#include "controls/dial_gauge.h"
#include "controls/digit_display.h"
#include "controls/segment_indicator.h"
#include "platform/chart_time.h"
#include "display/display_chart.h"
#include "display/display_object.h"
#include "ui/chart_legend.h"
#include "tests/support/legend_checks.h"
#include "tests/support/scoped_locale.h"

namespace {

constexpr double kSecond = 1.0 / 86400.0;
constexpr double kT0 = 45000.5;  // a day in 2023, noon

DisplayConfig Config(DisplayKind kind, int16_t decimals = 1) {
  DisplayConfig c = DisplayConfig::NewWindowDefaults();
  c.kind = kind;
  c.channelIndex = 1;
  c.decimals = decimals;
  c.unit = "\xB0" "C";
  if (kind == DisplayKind::LcdIndicator) c.SetLcd({});
  if (kind == DisplayKind::LedDigits) c.SetLed({});
  if (kind == DisplayKind::BarMeter) c.SetBar({});
  if (kind == DisplayKind::DialGauge) c.SetDial({});
  if (kind == DisplayKind::AnalogMeter) c.SetMeter({});
  return c;
}

DisplayConfig ChartConfig(std::vector<int32_t> channelIndexes, double periodSeconds = 120,
                          bool referenceLines = false) {
  DisplayConfig c = DisplayConfig::NewWindowDefaults();
  c.SetChart({.ref1On = referenceLines, .ref1Value = 80, .ref2On = referenceLines,
              .ref2Value = -20, .visiblePeriod = periodSeconds * kSecond});
  for (int32_t index : channelIndexes) c.chartChannels.push_back({0, "", 0, 0, index});
  return c;
}

std::vector<double> Values(QCPGraph* g) {
  std::vector<double> v;
  for (auto it = g->data()->constBegin(); it != g->data()->constEnd(); ++it) v.push_back(it->value);
  return v;
}

double FirstTime(QCPGraph* g) { return chart_time::DateTimeFromKey(g->data()->constBegin()->key); }

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
  // Two devices have read, but the values of only one came over.
  static void Show(DisplayObject& e, const DisplayConfig& c, float value) {
    const float values[5] = {0, value, 0, 0, 0};
    const double times[2] = {kT0, kT0};
    ASSERT_TRUE(e.Update(values, times, c, -99));
  }
  static void Feed(DisplayChart& chart, const DisplayConfig& c, std::vector<float> values,
                   std::vector<double> times) {
    chart.Update(values, times, c, -99);
  }
  QWidget panel_;
};
using DisplayChartTest = DisplayObjectTest;

TEST_F(DisplayObjectTest, ValuesAsTextAndTheErrorValueForChannelsOutsideTheReadings) {
  // {kind, decimals, channel index, value handed over, text shown}
  const std::tuple<DisplayKind, int16_t, int32_t, float, const char*> cases[] = {
      {DisplayKind::LcdIndicator, 2, 1, 21.5f, "21.50"},
      {DisplayKind::LedDigits, 0, 1, 1234.6f, "1235"},
      {DisplayKind::AnalogMeter, 2, 1, 12.345f, "12.35 \xC2\xB0" "C"},
      {DisplayKind::DialGauge, 1, 1, -7, "-7.0 \xC2\xB0" "C"},
      {DisplayKind::BarMeter, 1, 1, 100.5f, "OVERFLOW"},
      {DisplayKind::BarMeter, 1, 1, -0.5f, "UNDERFLOW"},
      {DisplayKind::BarMeter, 1, 1, 100, ""},
      // Past the values that came over, negative, no channel: the error value.
      {DisplayKind::LcdIndicator, 1, 5, 21, "-99.0"},
      {DisplayKind::LcdIndicator, 1, -3, 21, "-99.0"},
      {DisplayKind::LcdIndicator, 1, kNoChannel, 21, "-99.0"},
  };
  for (auto [kind, decimals, channel, value, text] : cases) {
    SCOPED_TRACE(text);
    DisplayConfig c = Config(kind, decimals);
    c.channelIndex = channel;
    DisplayObject e(c, &panel_);
    Show(e, c, value);
    EXPECT_EQ(Shown(e), QString::fromUtf8(text));
  }
}

TEST_F(DisplayObjectTest, NumbersShowTheLocalesDecimalMarkAndTheLedDigitsTheirPoint) {
  struct Case { DisplayKind kind; int16_t decimals; float value; const char* brazil; const char* us; };
  const Case cases[] = {
      {DisplayKind::LcdIndicator, 2, 21.5f, "21,50", "21.50"},
      {DisplayKind::LedDigits, 1, 1234.56f, "1234.6", "1234.6"},
      {DisplayKind::AnalogMeter, 2, 12.345f, "12,35 \xC2\xB0" "C", "12.35 \xC2\xB0" "C"},
      {DisplayKind::DialGauge, 1, -7, "-7,0 \xC2\xB0" "C", "-7.0 \xC2\xB0" "C"},
      {DisplayKind::LcdIndicator, 0, 21.5f, "22", "22"},
  };
  for (const Case& c : cases) {
    for (bool brazil : {true, false}) {
      SCOPED_TRACE(testing::Message() << c.us << (brazil ? " pt_BR" : " en_US"));
      const testsupport::ScopedDefaultLocale scoped(brazil ? testsupport::Brazil() : testsupport::UnitedStates());
      const DisplayConfig config = Config(c.kind, c.decimals);
      DisplayObject e(config, &panel_);
      Show(e, config, c.value);
      EXPECT_EQ(Shown(e), QString::fromUtf8(brazil ? c.brazil : c.us));
    }
  }
  // The bar's value texts and the meter's labels take the element's mark, which a window may set.
  DisplayConfig bar = Config(DisplayKind::BarMeter);
  DisplayConfig meter = Config(DisplayKind::AnalogMeter);
  const testsupport::ScopedDefaultLocale scoped(testsupport::Brazil());
  DisplayObject eb(bar, &panel_), em(meter, &panel_);
  EXPECT_EQ(eb.Bar()->ValueText(42.25), QString::fromUtf8("42,3 \xC2\xB0" "C"));
  EXPECT_EQ(em.Meter()->DecimalMark(), QStringLiteral(","));
  em.SetDecimalMark(QStringLiteral("."));
  eb.SetDecimalMark(QStringLiteral("."));
  EXPECT_EQ(em.Meter()->DecimalMark(), QStringLiteral("."));
  EXPECT_EQ(eb.Bar()->ValueText(42.25), QString::fromUtf8("42.3 \xC2\xB0" "C"));
  Show(em, meter, 1.5f);
  EXPECT_EQ(Shown(em), QString::fromUtf8("1.5 \xC2\xB0" "C"));
}

// Every field of a kind's settings reaches its own property: distinct values everywhere, so a
// field handed to a neighbour's property shows.
TEST_F(DisplayObjectTest, EachSettingReachesItsOwnControlProperty) {
  DisplayConfig lcd = Config(DisplayKind::LcdIndicator);
  lcd.SetLcd({.onColor = 0x111111, .offColor = 0x222222, .backColor = 0x333333, .digits = 7});
  DisplayObject elcd(lcd, &panel_);
  EXPECT_EQ(elcd.Indicator()->NumberForeColor(), 0x111111u);
  EXPECT_EQ(elcd.Indicator()->NumberBackColor(), 0x222222u);
  EXPECT_EQ(elcd.Indicator()->BackColor(), 0x333333u);
  EXPECT_EQ(elcd.Indicator()->SignNumber(), 7);

  DisplayConfig led = Config(DisplayKind::LedDigits);
  led.SetLed({.onColor = 0x111111, .offColor = 0x222222, .digits = 6, .segmentSize = 9, .backColor = 0x333333});
  DisplayObject eled(led, &panel_);
  EXPECT_EQ(eled.LedDigits()->OnColor(), 0x111111u);
  EXPECT_EQ(eled.LedDigits()->OffColor(), 0x222222u);
  EXPECT_EQ(eled.LedDigits()->Color(), 0x333333u);
  EXPECT_EQ(std::pair(eled.LedDigits()->DigitNum(), eled.LedDigits()->SegmentSize()), std::pair(6, 9));

  DisplayConfig bar = Config(DisplayKind::BarMeter);
  bar.SetBar({.barColor = 0x111111, .barBackColor = 0x222222, .backColor = 0x333333, .markerColor = 0x444444,
              .showMarker = false, .showIncrements = true, .increment = 7, .thickness = 12});
  DisplayObject ebar(bar, &panel_);
  EXPECT_EQ(ebar.Bar()->ColorFore(), 0x111111u);
  EXPECT_EQ(ebar.Bar()->ColorBack(), 0x222222u);
  EXPECT_EQ(ebar.Bar()->Color(), 0x333333u);
  EXPECT_EQ(ebar.Bar()->MarkerColor(), 0x444444u);
  EXPECT_EQ(std::pair(ebar.Bar()->ShowMarker(), ebar.Bar()->ShowIncrements()), std::pair(false, true));
  EXPECT_EQ(std::pair(ebar.Bar()->Increment(), ebar.Bar()->BarThickness()), std::pair(7.0, 12));

  DisplayConfig dial = Config(DisplayKind::DialGauge);
  dial.SetDial({.needleColor = 0x111111, .textColor = 0x222222, .centerColor = 0x333333, .faceColor = 0x444444,
                .highColor = 0x555555, .midColor = 0x666666, .lowColor = 0x777777, .highThreshold = 70,
                .lowThreshold = 25});
  DisplayObject edial(dial, &panel_);
  const controls::TDialGauge& g = *edial.Gauge();
  EXPECT_EQ(g.ArrowColor(), 0x111111u);
  EXPECT_EQ(std::pair(g.CaptionColor(), g.ValueColor()), std::pair(0x222222u, 0x222222u));
  EXPECT_EQ(g.CenterColor(), 0x333333u);
  EXPECT_EQ(g.FaceColor(), 0x444444u);
  EXPECT_EQ(g.MaxColor(), 0x555555u);
  EXPECT_EQ(g.MidColor(), 0x666666u);
  EXPECT_EQ(g.MinColor(), 0x777777u);
  EXPECT_EQ(std::pair(g.IndMaximum(), g.IndMinimum()), std::pair(70, 25));

  DisplayConfig meter = Config(DisplayKind::AnalogMeter, 3);
  meter.SetMeter({.min = 1, .showZones = false, .highZone = 70, .lowZone = 25, .backColor = 0x111111, .textColor = 0x222222,
                  .highColor = 0x333333, .midColor = 0x444444, .lowColor = 0x555555, .logScale = true});
  DisplayObject emeter(meter, &panel_);
  const controls::TAnalogMeter& m = *emeter.Meter();
  EXPECT_EQ(m.Color(), 0x111111u);
  EXPECT_EQ(std::pair(m.TickColor(), m.FontColor()), std::pair(0x222222u, 0x222222u));
  EXPECT_EQ(m.HighZoneColor(), 0x333333u);
  EXPECT_EQ(m.OKZoneColor(), 0x444444u);
  EXPECT_EQ(m.LowZoneColor(), 0x555555u);
  EXPECT_EQ(std::pair(m.HighZoneValue(), m.LowZoneValue()), std::pair(70.f, 25.f));
  EXPECT_EQ(std::pair(m.ShowZones(), m.LogScale()), std::pair(false, true));
  EXPECT_EQ(std::pair(m.TickDigits(), m.ValueDigits()), std::pair(3, 3));
}

// Each zone switch and the centre switch of a dial turn on their own face element alone; the
// face keeps its frame and caption, and shows ticks and labels without a margin.
TEST_F(DisplayObjectTest, DialFaceElementsFollowTheirOwnSwitches) {
  using G = controls::TDialGauge;
  for (int bits = 0; bits < 16; ++bits) {
    const bool high = bits & 1, mid = bits & 2, low = bits & 4, centre = bits & 8;
    SCOPED_TRACE(testing::Message() << "high " << high << " mid " << mid << " low " << low << " centre " << centre);
    DisplayConfig dial = Config(DisplayKind::DialGauge);
    dial.SetDial({.highOn = high, .lowOn = low, .midOn = mid, .centerOn = centre});
    DisplayObject e(dial, &panel_);
    auto has = [&](G::TFaceOption option) { return (e.Gauge()->FaceOptions() & G::Option(option)) != 0; };
    EXPECT_EQ(has(G::ShowIndicatorMax), high);
    EXPECT_EQ(has(G::ShowIndicatorMid), mid);
    EXPECT_EQ(has(G::ShowIndicatorMin), low);
    EXPECT_EQ(has(G::ShowCenter), centre);
    for (auto on : {G::ShowMainTicks, G::ShowSubTicks, G::ShowValues, G::ShowFrame, G::Show3D, G::ShowCaption}) {
      EXPECT_TRUE(has(on)) << on;
    }
    for (auto off : {G::ShowMargin, G::ShowCircles}) EXPECT_FALSE(has(off)) << off;
  }
}

// Narrow meter scales leave room above the knob for the caption; wide ones put it below,
// between the scale ends.
TEST_F(DisplayObjectTest, MeterCaptionAboveTheKnobOnNarrowScalesBelowItOnWideOnes) {
  using M = controls::TAnalogMeter;
  for (auto [angle, position, adjustment] : {std::tuple{30, M::cpTop, 15}, {180, M::cpTop, 15}, {239, M::cpTop, 15},
                                             {240, M::cpBottom, -10}, {270, M::cpBottom, -10}, {360, M::cpBottom, -10}}) {
    DisplayConfig meter = Config(DisplayKind::AnalogMeter);
    meter.SetMeter({.angle = static_cast<uint16_t>(angle)});
    DisplayObject e(meter, &panel_);
    EXPECT_EQ(e.Meter()->AngularRange(), angle);
    EXPECT_EQ(e.Meter()->CaptionPosition(), position) << angle;
    EXPECT_EQ(e.Meter()->CaptionVertAdj(), adjustment) << angle;
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
  e.SetSeriesTitles(std::vector<std::string>{"%"});
  Show(e, dial, 150.25f);
  EXPECT_EQ(e.Gauge()->Caption(), "150.3 %");
}

TEST_F(DisplayObjectTest, RangesShowAsConfiguredWhateverTheStartingRange) {
  for (auto [min, max] : {std::pair{150, 300}, {-50, -10}, {-300, 500}, {1000, 2000}}) {
    SCOPED_TRACE(testing::Message() << min << ".." << max);
    DisplayConfig bar = Config(DisplayKind::BarMeter);
    DisplayConfig meter = Config(DisplayKind::AnalogMeter);
    DisplayConfig dial = Config(DisplayKind::DialGauge);
    bar.SetBar({.max = max, .min = min});
    meter.SetMeter({.max = max, .min = min});
    dial.SetDial({.max = max, .min = min});
    DisplayObject eb(bar, &panel_), em(meter, &panel_), ed(dial, &panel_);
    EXPECT_EQ(eb.Bar()->ValueMin(), min);
    EXPECT_EQ(eb.Bar()->ValueMax(), max);
    EXPECT_EQ(eb.Bar()->Value(), min);
    EXPECT_EQ(em.Meter()->Min(), min);
    EXPECT_EQ(em.Meter()->Max(), max);
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

  // A minimum at the top of its field leaves no room above it for the scale's one unit.
  constexpr int32_t kTop = std::numeric_limits<int32_t>::max();
  DisplayConfig bar = Config(DisplayKind::BarMeter);
  bar.SetBar({.max = 0, .min = kTop});
  dial.SetDial({.max = kTop, .min = kTop});
  DisplayObject ebar(bar, &panel_), etop(dial, &panel_);
  EXPECT_EQ(ebar.Bar()->ValueMin(), kTop - 1.0);
  EXPECT_EQ(ebar.Bar()->ValueMax(), kTop);
  EXPECT_EQ(etop.Gauge()->MinValue(), kTop - 1);
  EXPECT_EQ(etop.Gauge()->MaxValue(), kTop);
}

TEST_F(DisplayObjectTest, EveryKindShowsInItsPanelAndFollowsIt) {
  for (int kind = 1; kind <= 6; ++kind) {
    SCOPED_TRACE(kind);
    QWidget panel;
    panel.resize(340, 250);
    panel.show();
    DisplayObject e(Config(static_cast<DisplayKind>(kind)), &panel);
    EXPECT_TRUE(e.Widget()->isVisible());
    EXPECT_GT(e.Widget()->width(), 250);
    panel.resize(400, 300);
    ASSERT_TRUE(e.FitToPanel(&panel));
    EXPECT_TRUE(panel.rect().contains(e.Widget()->geometry()));
    EXPECT_GT(e.Widget()->width(), 300);
  }
  EXPECT_FALSE(DisplayObject(Config(DisplayKind::None), &panel_).FitToPanel(&panel_));
}

TEST_F(DisplayChartTest, KeepsOnlyOnePeriodAndDropsPointsFromBeforeAClockSetBack) {
  DisplayConfig c = ChartConfig({1}, 120, true);
  DisplayChart chart(c, &panel_);
  QCPGraph* g = chart.Series().at(0);
  for (int s = 0; s <= 180; s += 30) Feed(chart, c, {0, float(s), 0, 0, 0}, {kT0 + s * kSecond});
  // 180 s is the newest point: 60 s and later are inside the two minutes.
  EXPECT_EQ(Values(g), (std::vector<double>{60, 90, 120, 150, 180}));

  // The wall clock is set back one hour: nothing from the later hour may stay.
  Feed(chart, c, {0, -5, 0, 0, 0}, {kT0 - 3600 * kSecond});
  Feed(chart, c, {0, -4, 0, 0, 0}, {kT0 - 3599 * kSecond});
  EXPECT_EQ(Values(g), (std::vector<double>{-5, -4}));
  // The reference lines follow the clock back too, instead of waiting an hour for it.
  EXPECT_EQ(Values(chart.ReferenceSeries(0)), (std::vector<double>{80, 80}));
  EXPECT_NEAR(FirstTime(chart.ReferenceSeries(0)), kT0 - 3600 * kSecond, 1e-9);
}

TEST_F(DisplayChartTest, ChannelsWithoutReadingOrOutsideTheRun) {
  // Device 0 has read, device 1 has not; one channel names no value, one lies past the buffer.
  DisplayConfig c = ChartConfig({6, kNoChannel, 1, 12});
  DisplayChart chart(c, &panel_);
  Feed(chart, c, {0, 21.5f, 0, 0, 0, 0, 7, 0, 0, 0}, {kT0, 0.0});
  const auto& s = chart.Series();
  EXPECT_TRUE(s[0]->data()->isEmpty());
  EXPECT_EQ(Values(s[1]), std::vector<double>{-99});
  EXPECT_NEAR(FirstTime(s[1]), kT0, 1e-9);  // against the first device's time
  EXPECT_EQ(Values(s[2]), std::vector<double>{21.5});
  EXPECT_EQ(Values(s[3]), std::vector<double>{-99});
  // The time axis ends at the first channel with a reading and spans the period.
  EXPECT_NEAR(chart.Plot()->xAxis->range().upper, chart_time::KeyFromDateTime(kT0), 1e-3);
  EXPECT_NEAR(chart.Plot()->xAxis->range().size(), 120, 1e-3);
}

TEST_F(DisplayChartTest, ReferenceLinesOnePointPerTimeAndOutOfTheLegend) {
  for (const std::vector<int32_t>& channels : {std::vector{1, 2}, std::vector<int32_t>{}}) {
    SCOPED_TRACE(channels.size());
    DisplayConfig c = ChartConfig(channels, 120, true);
    DisplayChart chart(c, &panel_);
    EXPECT_EQ(chart.Legend()->model()->rowCount(), static_cast<int>(channels.size()));
    Feed(chart, c, {0, 1, 2, 0, 0}, {kT0});
    Feed(chart, c, {0, 1, 2, 0, 0}, {kT0});  // the same reading handed over again
    Feed(chart, c, {0, 1, 2, 0, 0}, {kT0 + kSecond});
    EXPECT_EQ(Values(chart.ReferenceSeries(0)), (std::vector<double>{80, 80}));
    EXPECT_EQ(Values(chart.ReferenceSeries(1)), (std::vector<double>{-20, -20}));
    for (QCPGraph* g : chart.Series()) EXPECT_EQ(g->data()->size(), 3);  // every hand-over
  }
}

// Adjacent tick labels of an axis as laid out at the last replot: apart along the axis by at
// least half of each one's extent.
void ExpectLabelsApart(QCPAxis* axis) {
  const QVector<double> ticks = axis->tickVector();
  const QVector<QString> labels = axis->tickVectorLabels();
  const QFontMetrics metrics(axis->tickLabelFont());
  const bool across = axis->orientation() == Qt::Horizontal;
  int shown = 0;
  for (qsizetype i = 0; i < ticks.size(); ++i) shown += axis->range().contains(ticks[i]);
  EXPECT_GE(shown, 1);
  for (qsizetype i = 1; i < ticks.size(); ++i) {
    const double gap = std::abs(axis->coordToPixel(ticks[i]) - axis->coordToPixel(ticks[i - 1]));
    const double need = across ? (metrics.horizontalAdvance(labels[i]) + metrics.horizontalAdvance(labels[i - 1])) / 2.0
                               : metrics.height();
    EXPECT_GE(gap, need) << labels[i - 1].toStdString() << " / " << labels[i].toStdString();
  }
}

// Charts of every channel count a window may hold, named as the wizard names them, at sizes
// from a tiled corner to a full screen and resized among them: the legend lists every channel
// and no more than a quarter of the chart's height goes to it (one row at the least), the rest
// to the plot, whose axis labels never run into one another. Once the legend wrapped into a
// partly filled last row, the window ended the program.
TEST_F(DisplayChartTest, EveryChannelCountAtEverySizeKeepsAReadablePlot) {
  const QSize sizes[] = {{340, 250}, {250, 250}, {120, 90}, {60, 400}, {1200, 800}, {1, 1}, {200, 150}};
  for (int count = 1; count <= 24; ++count) {
    SCOPED_TRACE(count);
    std::vector<int32_t> indexes;
    for (int i = 0; i < count; ++i) indexes.push_back(i);
    DisplayConfig c = ChartConfig(indexes);
    for (int i = 0; i < count; ++i) c.chartChannels[i].name = "Estufa " + std::to_string(i) + "/Canal 1";
    std::vector<float> values(static_cast<size_t>(count) * 5, 0.0f);
    for (size_t i = 0; i < values.size(); ++i) values[i] = static_cast<float>(i % 7) * 13.5f;
    for (QSize size : sizes) {
      SCOPED_TRACE(size.width());
      QWidget panel;
      panel.resize(size);
      DisplayChart chart(c, &panel);
      Feed(chart, c, values, std::vector<double>(static_cast<size_t>(count), kT0));
      for (QSize next : sizes) {
        SCOPED_TRACE(next.height());
        panel.resize(next);
        ASSERT_TRUE(chart.FitToPanel(&panel));
        ASSERT_EQ(chart.Legend()->model()->rowCount(), count);
        EXPECT_EQ(chart.Widget()->size(), next);
        const int legend = chart.Legend()->height();
        EXPECT_LE(legend, std::max(next.height() / 4, chart.Legend()->RowHeight() + 4));
        EXPECT_EQ(chart.Plot()->height() + legend, next.height());
        EXPECT_EQ(chart.Legend()->geometry().top(), chart.Plot()->geometry().bottom() + 1);
        if (next.width() < 100 || next.height() < 100) continue;  // no room for labels to speak of
        chart.Plot()->replot();
        ExpectLabelsApart(chart.Plot()->xAxis);
        ExpectLabelsApart(chart.Plot()->yAxis);
      }
      chart.SetSeriesTitles(std::vector<std::string>(static_cast<size_t>(count), "Sala"));
      EXPECT_EQ(chart.Legend()->model()->index(count - 1, 0).data().toString(), "Sala");
    }
  }
}

// Chart names as the wizard stores them and as a reading run titles them (device tag, channel
// name and unit, code page 1252), and the sizes a chart is first seen at: a new window, the
// wizard's example, and a pixel either side of the window's width, where a row of entries may
// end on the last pixel.
const std::vector<std::vector<std::string>> kChartNames = {
    {"Sim3 / Temp", "Sim4 / Temp", "Sim4 / Umidade", "Estufa 2 / Ambiente"},
    {"Sim3 / Temp / \xB0" "C", "Sim4 / Temp / \xB0" "C", "Sim4 / Umidade / %", "Estufa 2 / Ambiente / \xB0" "C"},
    {"Estufa 12 / Canal 1 / \xB0" "F", "Estufa 12 / Canal 2 / %", "Sala Limpa / Ambiente / \xB0" "C",
     "Sala Limpa / Freq\xFC\xEAncia / Hz"},
};
const QSize kFirstSizes[] = {{340, 250}, {420, 290}, {339, 250}, {341, 250}};

DisplayConfig NamedChart(const std::vector<std::string>& names) {
  std::vector<int32_t> indexes;
  for (size_t i = 0; i < names.size(); ++i) indexes.push_back(static_cast<int32_t>(i * 5 + 1));
  DisplayConfig c = ChartConfig(indexes);
  for (size_t i = 0; i < names.size(); ++i) c.chartChannels[i].name = names[i].substr(0, 23);
  return c;
}

// A chart of up to four channels shows every name whole, none cut or a scroll away, once
// titled by a reading run and with readings in. Three channels at a new window's size once
// showed two names and hid the third below the legend's edge.
TEST_F(DisplayChartTest, UpToFourChannelsShowEveryNameWhole) {
  for (const std::vector<std::string>& names : kChartNames) {
    for (size_t count = 1; count <= names.size(); ++count) {
      const std::vector<std::string> titles(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(count));
      SCOPED_TRACE(titles.back() + " (" + std::to_string(count) + ")");
      for (QSize size : kFirstSizes) {
        SCOPED_TRACE(size.width());
        QWidget panel;
        panel.resize(size);
        const DisplayConfig c = NamedChart(titles);
        DisplayChart chart(c, &panel);
        panel.show();
        QApplication::processEvents();
        EXPECT_EQ(testsupport::EntriesNotShownWhole(*chart.Legend()), std::vector<std::string>{});
        chart.SetSeriesTitles(titles);
        Feed(chart, c, std::vector<float>(count * 5, 21.5f), std::vector<double>(count, kT0));
        QApplication::processEvents();
        EXPECT_EQ(testsupport::EntriesNotShownWhole(*chart.Legend()), std::vector<std::string>{});
        EXPECT_LE(chart.Legend()->height(), size.height() / 4);
        EXPECT_GE(chart.Legend()->font().pointSizeF(), 7.0);  // smaller where needed, still legible
      }
    }
  }
}

// Where even the legend's smallest font cannot show every name, the legend keeps to its
// quarter of the chart and the rest of the names are a scroll away; a roomier window shows
// them all again.
TEST_F(DisplayChartTest, ManyLongNamesScrollInTheirQuarter) {
  std::vector<std::string> names;
  for (int i = 0; i < 12; ++i) names.push_back("Laborat " + std::to_string(i) + " / Temporiza\xE7 / ciclos/min");
  const DisplayConfig c = NamedChart(names);
  QWidget panel;
  panel.resize(340, 250);
  DisplayChart chart(c, &panel);
  panel.show();
  chart.SetSeriesTitles(names);
  QApplication::processEvents();
  ui::ChartLegendView* legend = chart.Legend();
  EXPECT_FALSE(legend->EntriesMeasured());
  EXPECT_LE(legend->height(), 250 / 4);
  EXPECT_GT(legend->verticalScrollBar()->maximum(), 0);
  EXPECT_FALSE(testsupport::EntriesNotShownWhole(*legend).empty());
  panel.resize(1200, 800);
  ASSERT_TRUE(chart.FitToPanel(&panel));
  QApplication::processEvents();
  EXPECT_EQ(testsupport::EntriesNotShownWhole(*legend), std::vector<std::string>{});
  EXPECT_EQ(legend->font(), panel.font());  // room enough for the window's own font
  panel.resize(340, 250);  // and back: the window's font and the scroll bar again
  ASSERT_TRUE(chart.FitToPanel(&panel));
  QApplication::processEvents();
  EXPECT_EQ(legend->font(), panel.font());
  EXPECT_GT(legend->verticalScrollBar()->maximum(), 0);
}

// Before any reading the time axis spans the chart's visible period, also when a reading run
// widens it; the first reading moves the span to end there.
TEST_F(DisplayChartTest, TimeAxisSpansThePeriodBeforeAnyReading) {
  const DisplayConfig c = ChartConfig({1}, 120);
  DisplayChart chart(c, &panel_);
  EXPECT_NEAR(chart.Plot()->xAxis->range().lower, 0, 1e-6);
  EXPECT_NEAR(chart.Plot()->xAxis->range().upper, 120, 1e-6);
  ASSERT_TRUE(chart.AdjustTimeSpan(180'000));
  EXPECT_NEAR(chart.Plot()->xAxis->range().lower, 0, 1e-6);
  EXPECT_NEAR(chart.Plot()->xAxis->range().upper, 181, 1e-6);
  Feed(chart, c, {0, 1, 0, 0, 0}, {kT0});
  const double key = chart_time::KeyFromDateTime(kT0);
  EXPECT_NEAR(chart.Plot()->xAxis->range().upper, key, 1e-3);
  EXPECT_NEAR(chart.Plot()->xAxis->range().size(), 181, 1e-3);
}

TEST_F(DisplayChartTest, AdjustTimeSpanWidensOnlyShortPeriods) {
  struct Case { double periodSeconds; int intervalMs; double expectSeconds; bool changed; };
  const Case cases[] = {{1, 1000, 2, true},    {120, 1000, 120, false}, {0, 250, 1.25, true},
                        {60, 60000, 61, true}, {61, 60000, 61, false},  {1, -5, 1, false}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.periodSeconds);
    DisplayConfig c = ChartConfig({}, k.periodSeconds);
    DisplayChart chart(c, &panel_);
    EXPECT_EQ(chart.AdjustTimeSpan(k.intervalMs), k.changed);
    EXPECT_NEAR(chart.VisiblePeriod() / kSecond, k.expectSeconds, 1e-6);
  }
}

TEST_F(DisplayChartTest, SeriesTitlesInOrderAndPointsCleared) {
  DisplayConfig c = ChartConfig({1, 2});
  c.chartChannels[0].name = " first ";
  DisplayChart chart(c, &panel_);
  EXPECT_EQ(chart.Series()[0]->name(), "first");
  Feed(chart, c, {0, 1, 2, 0, 0}, {kT0});

  chart.SetSeriesTitles(std::vector<std::string>{"Estufa / Canal 1 / \xB0" "C", " Sala~#~ "});
  EXPECT_EQ(chart.Series()[0]->name(), QString::fromUtf8("Estufa / Canal 1 / °C"));
  EXPECT_EQ(chart.Series()[1]->name(), "Sala~#~");
  EXPECT_TRUE(chart.Series()[0]->data()->isEmpty());

  chart.SetSeriesTitles(std::vector<std::string>{"A"});  // a series past the titles keeps its own
  EXPECT_EQ(chart.Series()[0]->name(), "A");
  EXPECT_EQ(chart.Series()[1]->name(), "Sala~#~");
}

}  // namespace
