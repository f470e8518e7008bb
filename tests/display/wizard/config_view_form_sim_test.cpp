// The wizard against two simulated instruments on pseudo-terminals, driven as a user would
// through a display window: every kind made through the three steps, the record handed back
// decoded by a separate struct script, cancelling from every step, and the chart's channels.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QProcess>
#include <QTest>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTabWidget>
#include <fstream>
#include <functional>
#include <map>

#include "display/display_form.h"
#include "display/display_chart.h"
#include "controls/analog_meter.h"
#include "controls/bar_meter.h"
#include "controls/dial_gauge.h"
#include "controls/digit_display.h"
#include "controls/segment_indicator.h"
#include "display/display_object.h"
#include "display/wizard/color_circle.h"
#include "instrument/device_interface.h"
#include "display/readings_state.h"
#include "ui/radio_group.h"
#include "qcustomplot.h"
#include "tests/display/wizard/wizard_fixture.h"
#include "tools/sim/simulated_instrument.h"

namespace {

using wizardtest::WizardWorld;
using Fields = std::map<std::string, std::string>;

constexpr int kLoggerPort = 4;
constexpr int kProbePort = 7;

// A model-0 instrument, firmware 1.10, without a tag, channel 2 a linear input (two decimals,
// "%"), and the humidity probe.
struct Instruments {
  explicit Instruments(const std::string& folder) : logger(LoggerOptions()), probe(ProbeOptions()) {
    std::string error;
    started = logger.Start(folder, kLoggerPort, &error) && probe.Start(folder, kProbePort, &error);
    startError = error;
  }
  static sim::InstrumentOptions LoggerOptions() {
    sim::InstrumentOptions o;
    o.serialNumber = 12345;
    o.firmware = 110;
    o.tag = "";
    return o;
  }
  static sim::InstrumentOptions ProbeOptions() {
    sim::InstrumentOptions o;
    o.model = sim::Model::Probe;
    o.serialNumber = 20002;
    o.tag = "Sonda";
    return o;
  }
  sim::SimulatedInstrument logger;
  sim::SimulatedInstrument probe;
  bool started = false;
  std::string startError;
};

// The window's record as the environment file holds it, read back by Debian's python3.
Fields Decode(const DisplayConfig& config) {
  QTemporaryDir dir;
  const std::string path = dir.filePath(QStringLiteral("record.bin")).toStdString();
  {
    std::ofstream out(path, std::ios::binary);
    const auto bytes = config.Encode();
    out.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    for (const ChartChannelEntry& e : config.chartChannels) {
      const auto entry = e.Encode();
      out.write(reinterpret_cast<const char*>(entry.data()), entry.size());
    }
  }
  QProcess python;
  python.start(QStringLiteral("/usr/bin/python3"),
               {QStringLiteral(TERVANA_RECORD_DECODER), QString::fromStdString(path)});
  EXPECT_TRUE(python.waitForFinished(60000));
  EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
  Fields fields;
  for (const QByteArray& line : python.readAllStandardOutput().split('\n')) {
    const qsizetype eq = line.indexOf('=');
    if (eq > 0) fields[line.left(eq).toStdString()] = line.mid(eq + 1).toStdString();
  }
  return fields;
}

std::string Bytes(const DisplayConfig& c) {
  const auto b = c.Encode();
  std::string s(b.begin(), b.end());
  for (const ChartChannelEntry& e : c.chartChannels) {
    const auto eb = e.Encode();
    s.append(eb.begin(), eb.end());
  }
  return s;
}

// A display window whose wizard is the world's; the user's actions run while it is "shown".
struct Window {
  explicit Window(WizardWorld& w) : world(w) {
    services.configurator = w.form.get();
    form = std::make_unique<TDisplayForm>(services);
  }
  // Runs the wizard with `script` acting inside it; true when the window took a new record.
  void Configure(std::function<void(TConfigViewForm&)> script) {
    world.user.onModal = [script](QDialog* d) { script(*static_cast<TConfigViewForm*>(d)); };
    form->Configure();
  }
  WizardWorld& world;
  DisplayFormServices services;
  std::unique_ptr<TDisplayForm> form;
};

// Pictures of the wizard for a person to look at, when TERVANA_WIZARD_SHOTS names a folder.
void Shot(TConfigViewForm& f, const QString& name) {
  const QString folder = qEnvironmentVariable("TERVANA_WIZARD_SHOTS");
  if (folder.isEmpty()) return;
  f.show();
  QApplication::processEvents();
  f.grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

ui::TRadioGroup* How(TConfigViewForm& f) { return f.findChild<ui::TRadioGroup*>(QStringLiteral("HowRadioGroup")); }
ui::TRadioGroup* What(TConfigViewForm& f) { return f.findChild<ui::TRadioGroup*>(QStringLiteral("WhatRadioGroup")); }
QComboBox* Devices(TConfigViewForm& f) { return f.findChild<QComboBox*>(QStringLiteral("WhichDeviceComboBox")); }
void Press(TConfigViewForm& f, const char* name) { f.findChild<QPushButton*>(QLatin1String(name))->click(); }

void ChooseDevice(TConfigViewForm& f, int item) {
  Devices(f)->setCurrentIndex(item);
  emit Devices(f)->activated(item);
}

class WizardWithInstruments : public ::testing::Test {
 protected:
  void SetUp() override {
    SetReadingsStopped(true);
    ASSERT_TRUE(instruments.started) << instruments.startError;
  }
  WizardWorld world;
  Instruments instruments{world.ports.path()};
};

TEST_F(WizardWithInstruments, DeviceListAndPreselection) {
  DisplayConfig c = DisplayConfig::NewWindowDefaults();
  c.kind = DisplayKind::BarMeter;
  c.deviceSerial = 12345;
  world.form->SetConfig(c);
  world.form->FormShow();
  QComboBox* list = Devices(*world.form);
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->itemText(0), QStringLiteral("Tervana;  00012345  (COM4)"));
  EXPECT_EQ(list->itemText(1), QStringLiteral("Sonda;  00020002  (COM7)"));
  EXPECT_EQ(list->currentIndex(), 0);
  ASSERT_NE(world.form->Device(), nullptr);
  EXPECT_TRUE(world.form->Device()->IsPortOpen());  // the preselected device stays open
  EXPECT_EQ(world.form->GetSelectedPort(), kLoggerPort);
  world.form->FormClose();
  EXPECT_EQ(world.form->Device(), nullptr);

  // A silent instrument keeps its friendly name and offers nothing.
  instruments.probe.InjectFault(sim::FaultSpec{});  // silent from now on
  c.deviceSerial = 20002;
  world.form->SetConfig(c);
  world.form->FormShow();
  EXPECT_EQ(list->itemText(1), QStringLiteral("Kestravon Simulado (COM7)"));
  EXPECT_EQ(list->currentIndex(), 0);
  world.form->NextClick();
  ChooseDevice(*world.form, 1);
  EXPECT_EQ(What(*world.form)->Count(), 0);
  EXPECT_FALSE(world.form->findChild<QPushButton*>(QStringLiteral("NextBitBtn"))->isEnabled());
  world.form->FormClose();
}

struct KindRun {
  DisplayKind kind;
  std::function<void(WizardWorld&)> settings;  // step 2
  Fields expected;                              // kind fields beyond the common ones
};

std::vector<KindRun> KindRuns() {
  return {
      {DisplayKind::LcdIndicator,
       [](WizardWorld& w) {
         w.Type("LcdDigNumberEdit", "7");
         w.colors.answers = {QColor(0x10, 0x20, 0x30)};
         w.Click("Lcd1ColorButton");
       },
       {{"digits", "7"}, {"onColor", std::to_string(0x302010)}, {"offColor", std::to_string(0xD3D3D3)}}},
      {DisplayKind::LedDigits,
       [](WizardWorld& w) {
         w.Type("LedDigNumberEdit", "9");
         w.Type("LedThickEdit", "8");
         w.UpDown("LedThickUpDown")->StepBy(1);
       },
       {{"digits", "9"}, {"segmentSize", "9"}, {"onColor", "255"}, {"backColor", std::to_string(0x8000000F)}}},
      {DisplayKind::BarMeter,
       [](WizardWorld& w) {
         w.Type("MeterMaxEdit", "250");
         w.Type("MeterMinEdit", "-50.9");
         w.Find<QSpinBox>("IncrementCSpinEdit")->setValue(25);
       },
       {{"min", "-50"}, {"max", "250"}, {"increment", "25"}, {"thickness", "10"}, {"showMarker", "1"}}},
      {DisplayKind::DialGauge,
       [](WizardWorld& w) {
         w.Type("MinGaugeValEdit", "10");
         w.Type("MaxGaugeValEdit", "90");
         w.Find<QSpinBox>("IndicationCSpinEdit")->setValue(8);
         w.Find<QSpinBox>("GaugeAngleCSpinEdit")->setValue(120);
       },
       {{"min", "10"}, {"max", "90"}, {"mainTicks", "7"}, {"angle", "120"}, {"centerOn", "1"}}},
      {DisplayKind::AnalogMeter,
       [](WizardWorld& w) {
         w.Type("MaxAMeterEdit", "500");
         w.Type("MinAMeterEdit", "200");
         w.Type("HighIndEdit", "450");
         w.Find<QSpinBox>("AngleCSpinEdit")->setValue(300);
         w.Find<QSpinBox>("TicksCSpinEdit")->setValue(7);
       },
       {{"min", "200"}, {"max", "500"}, {"highZone", "450"}, {"lowZone", "200"}, {"angle", "300"},
        {"tickCount", "7"}}},
  };
}

TEST_F(WizardWithInstruments, EveryKindThroughTheThreeSteps) {
  struct Source {
    int device;
    int value;
    Fields expected;
    uint16_t port;
  };
  const Source sources[] = {
      {0, 1, {{"serial", "12345"}, {"valueIndex", "2"}, {"tag", "Tervana"}, {"channelName", "Nivel"},
              {"unit", "%"}, {"decimals", "2"}}, kLoggerPort},
      {1, 1, {{"serial", "20002"}, {"valueIndex", "2"}, {"tag", "Sonda"}, {"channelName", "Temp"},
              {"unit", "\xC2\xB0" "C"}, {"decimals", "1"}}, kProbePort},
  };
  Window window(world);
  for (const KindRun& run : KindRuns()) {
    for (const Source& source : sources) {
      SCOPED_TRACE(static_cast<int>(run.kind) * 10 + source.device);
      window.Configure([&](TConfigViewForm& f) {
        How(f)->Button(static_cast<int>(run.kind) - 1)->click();
        Shot(f, QStringLiteral("kind%1-step0").arg(static_cast<int>(run.kind)));
        Press(f, "NextBitBtn");
        ChooseDevice(f, source.device);
        What(f)->Button(source.value)->click();
        Shot(f, QStringLiteral("kind%1-step1-dev%2").arg(static_cast<int>(run.kind)).arg(source.device));
        Press(f, "NextBitBtn");
        run.settings(world);
        for (int t = 0; t < 3; ++t) f.TimerTimer();
        Shot(f, QStringLiteral("kind%1-step2-dev%2").arg(static_cast<int>(run.kind)).arg(source.device));
        Press(f, "CloseBitBtn");
      });
      EXPECT_EQ(window.form->Port(), source.port);
      ASSERT_NE(window.form->Element(), nullptr);
      EXPECT_EQ(window.form->Element()->Kind(), run.kind);
      const Fields decoded = Decode(window.form->Config());
      EXPECT_EQ(decoded.at("kind"), std::to_string(static_cast<int>(run.kind)));
      for (const auto& [key, value] : source.expected) EXPECT_EQ(decoded.at(key), value) << key;
      for (const auto& [key, value] : run.expected) EXPECT_EQ(decoded.at(key), value) << key;
    }
  }
}

TEST_F(WizardWithInstruments, ChartChannelsOfBothInstruments) {
  Window window(world);
  auto choose = [](TConfigViewForm& f, const char* caption) {
    auto* all = f.findChild<QListWidget*>(QStringLiteral("AllListView"));
    const auto items = all->findItems(QString::fromUtf8(caption), Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1) << caption;
    all->setCurrentItem(items.front());
    Press(f, "SelButton");
  };
  window.Configure([&](TConfigViewForm& f) {
    How(f)->Button(0)->click();
    Press(f, "NextBitBtn");
    auto* all = f.findChild<QListWidget*>(QStringLiteral("AllListView"));
    ASSERT_EQ(all->count(), 7);
    EXPECT_EQ(all->item(0)->text(), QStringLiteral("Sonda/Temp"));
    EXPECT_EQ(all->item(6)->text(), QStringLiteral("Tervana/Porta"));
    choose(f, "Tervana/Forno");
    choose(f, "Sonda/Umidade");
    choose(f, "Tervana/Nivel");
    ASSERT_EQ(f.PreviewSeries().size(), 3u);
    Shot(f, QStringLiteral("kind1-step1"));
    // B goes; A and C keep their lines and colours.
    f.findChild<QListWidget*>(QStringLiteral("SelectedListView"))->setCurrentRow(1);
    Press(f, "UnselButton");
    ASSERT_EQ(f.PreviewSeries().size(), 2u);
    EXPECT_EQ(f.PreviewSeries()[0]->name(), QStringLiteral("Tervana/Forno"));
    EXPECT_EQ(f.PreviewSeries()[1]->name(), QStringLiteral("Tervana/Nivel"));
    EXPECT_EQ(f.PreviewSeries()[1]->pen().color(), QColor(0, 0, 255));
    EXPECT_FALSE(f.findChild<QPushButton*>(QStringLiteral("UnselButton"))->isEnabled());
    Press(f, "UnselButton");  // a second press on the last item does nothing
    EXPECT_EQ(f.ChannelLists().Chosen().size(), 2u);
    Press(f, "NextBitBtn");
    world.Type("TimeDisplayedMaskEdit", "00:00:10");
    for (int t = 0; t < 15; ++t) {
      world.clock.now += 1.0 / 86400;
      f.TimerTimer();
    }
    EXPECT_EQ(f.PreviewSeries()[0]->data()->size(), 11);
    EXPECT_EQ(f.PreviewSeries()[1]->data()->size(), 11);
    world.Find<QTabWidget>("ChartPageControl")->setCurrentIndex(2);
    ASSERT_EQ(f.ColorListButtons().size(), 2u);
    world.colors.answers = {QColor(0x56, 0x34, 0x12)};
    f.ColorListButtons()[1]->click();
    Shot(f, QStringLiteral("kind1-step2-colours"));
    Press(f, "CloseBitBtn");
  });
  Fields d = Decode(window.form->Config());
  EXPECT_EQ(d.at("kind"), "1");
  EXPECT_EQ(d.at("count"), "2");
  EXPECT_EQ(d.at("selected"), "1");
  EXPECT_EQ(d.at("entry0.name"), "Tervana/Forno");
  EXPECT_EQ(d.at("entry0.serial"), "12345");
  EXPECT_EQ(d.at("entry0.valueIndex"), "1");
  EXPECT_EQ(d.at("entry0.color"), std::to_string(0x0000FF));
  EXPECT_EQ(d.at("entry1.name"), "Tervana/Nivel");
  EXPECT_EQ(d.at("entry1.valueIndex"), "2");
  EXPECT_EQ(d.at("entry1.color"), std::to_string(0x123456));
  EXPECT_EQ(d.at("entry1.channelIndex"), std::to_string(kNoChannel));
  EXPECT_DOUBLE_EQ(std::stod(d.at("period")), 10.0 / 86400);
  EXPECT_EQ(d.at("tag"), "Sonda");  // the device read last

  // Reopened: both come back in stored order with their colours; a third one is added and the
  // three lines spread over the range.
  window.Configure([&](TConfigViewForm& f) {
    Press(f, "NextBitBtn");
    const auto& chosen = f.ChannelLists().Chosen();
    ASSERT_EQ(chosen.size(), 2u);
    EXPECT_EQ(chosen[0].item.caption, "Tervana/Forno");
    EXPECT_EQ(chosen[0].color, 0x0000FFu);
    EXPECT_EQ(chosen[1].item.caption, "Tervana/Nivel");
    EXPECT_EQ(chosen[1].color, 0x123456u);
    EXPECT_TRUE(f.findChild<QPushButton*>(QStringLiteral("NextBitBtn"))->isEnabled());
    choose(f, "Sonda/Temp");
    world.randoms = {5, 6, 2, 5};
    f.TimerTimer();
    EXPECT_EQ(f.PreviewSeries()[1]->data()->constBegin()->value, 35);
    EXPECT_EQ(f.PreviewSeries()[2]->data()->constBegin()->value, 64);
    Press(f, "CancelBitBtn");
  });
  EXPECT_EQ(Decode(window.form->Config()).at("count"), "2");
}

// Every number of channels the two instruments offer, made through the wizard into a window
// that is then resized: with most counts the legend wraps into a partly filled last row.
TEST_F(WizardWithInstruments, ChartsOfEveryChannelCountTheInstrumentsOffer) {
  Window window(world);
  window.form->resize(340, 250);
  window.form->show();
  size_t offered = 0;
  for (size_t count = 1; offered == 0 || count <= offered; ++count) {
    SCOPED_TRACE(count);
    window.Configure([&](TConfigViewForm& f) {
      How(f)->Button(0)->click();
      Press(f, "NextBitBtn");
      auto* all = f.findChild<QListWidget*>(QStringLiteral("AllListView"));
      if (offered == 0) offered = static_cast<size_t>(all->count());
      Press(f, "ClearSelButton");
      for (size_t i = 0; i < count && all->count() > 0; ++i) {
        all->setCurrentRow(0);
        Press(f, "SelButton");
      }
      Press(f, "NextBitBtn");
      Press(f, "CloseBitBtn");
    });
    ASSERT_EQ(offered, 7u);
    ASSERT_NE(window.form->Element(), nullptr);
    ASSERT_NE(window.form->Element()->Chart(), nullptr);
    EXPECT_EQ(window.form->Element()->Chart()->Series().size(), count);
    for (QSize size : {QSize(200, 150), QSize(700, 500), QSize(120, 300), QSize(340, 250)}) {
      window.form->resize(size);
      QApplication::processEvents();
    }
  }
}

// A stored channel whose instrument is not listed goes with its colour (the next one keeps
// its own), and every rebuild of the lists gives the stored channels their stored colours.
TEST_F(WizardWithInstruments, StoredColoursStayWithTheirChannels) {
  DisplayConfig c = DisplayConfig::NewWindowDefaults();
  auto entry = [](uint32_t serial, uint16_t value, uint32_t color) {
    ChartChannelEntry e;
    e.deviceSerial = serial;
    e.valueIndex = value;
    e.color = color;
    return e;
  };
  c.chartChannels = {entry(99999, 1, 0x00AA00), entry(12345, 1, 0x0000AA), entry(20002, 2, 0xAA0000)};
  world.form->SetConfig(c);
  world.form->FormShow();
  auto expectStored = [&] {
    const auto& chosen = world.form->ChannelLists().Chosen();
    ASSERT_EQ(chosen.size(), 2u);
    EXPECT_EQ(chosen[0].item.caption, "Tervana/Forno");
    EXPECT_EQ(chosen[0].color, 0x0000AAu);
    EXPECT_EQ(chosen[1].item.caption, "Sonda/Temp");
    EXPECT_EQ(chosen[1].color, 0xAA0000u);
    ASSERT_EQ(world.form->PreviewSeries().size(), 2u);
    EXPECT_EQ(world.form->PreviewSeries()[1]->pen().color(), QColor(0, 0, 0xAA));
  };
  world.form->NextClick();
  expectStored();
  world.form->BackClick();
  world.form->NextClick();
  expectStored();
  // A channel added now gets a colour of its own, none of the stored ones.
  auto* all = world.Find<QListWidget>("AllListView");
  all->setCurrentRow(0);
  world.Click("SelButton");
  ASSERT_EQ(world.form->ChannelLists().Chosen().size(), 3u);
  for (uint32_t stored : {0x00AA00u, 0x0000AAu, 0xAA0000u})
    EXPECT_NE(world.form->ChannelLists().Chosen()[2].color, stored);
  const std::string added = world.form->ChannelLists().Chosen()[2].item.caption;

  // Back from the settings, the lists hold what was chosen in this showing, with the colours
  // given there, and so does the record handed back.
  world.form->NextClick();
  world.Find<QTabWidget>("ChartPageControl")->setCurrentIndex(2);
  ASSERT_EQ(world.form->ColorListButtons().size(), 3u);
  world.colors.answers = {QColor(0x12, 0x34, 0x56)};
  world.form->ColorListButtons()[0]->click();
  world.form->BackClick();
  ASSERT_EQ(world.form->Step(), 1);
  const auto& chosen = world.form->ChannelLists().Chosen();
  ASSERT_EQ(chosen.size(), 3u);
  EXPECT_EQ(chosen[0].color, 0x563412u);
  EXPECT_EQ(chosen[2].item.caption, added);
  world.form->NextClick();
  DisplayConfig taken;
  world.form->GetConfig(taken);
  ASSERT_EQ(taken.chartChannels.size(), 3u);
  EXPECT_EQ(taken.chartChannels[0].color, 0x563412u);
  EXPECT_EQ(taken.chartChannels[2].name.str(), added);
  world.form->FormClose();
}

TEST_F(WizardWithInstruments, CancelFromEveryStepLeavesTheWindowAsItWas) {
  Window window(world);
  window.Configure([&](TConfigViewForm& f) {
    How(f)->Button(1)->click();
    Press(f, "NextBitBtn");
    ChooseDevice(f, 1);
    What(f)->Button(0)->click();
    Press(f, "NextBitBtn");
    Press(f, "CloseBitBtn");
  });
  ASSERT_EQ(window.form->Config().kind, DisplayKind::LcdIndicator);
  const std::string before = Bytes(window.form->Config());
  const uint16_t port = window.form->Port();
  for (int step = 0; step <= 2; ++step) {
    SCOPED_TRACE(step);
    window.Configure([&](TConfigViewForm& f) {
      How(f)->Button(0)->click();  // to a chart
      if (step >= 1) {
        Press(f, "NextBitBtn");
        f.findChild<QListWidget*>(QStringLiteral("AllListView"))->setCurrentRow(0);
        Press(f, "SelButton");
        Press(f, "SelButton");
        ASSERT_EQ(f.ChannelLists().Chosen().size(), 2u);
      }
      if (step == 2) Press(f, "NextBitBtn");
      EXPECT_EQ(f.Step(), step);
      Press(f, "CancelBitBtn");
    });
    EXPECT_EQ(Bytes(window.form->Config()), before);
    EXPECT_EQ(window.form->Port(), port);
    EXPECT_EQ(window.form->Element()->Kind(), DisplayKind::LcdIndicator);
  }
}

// --- What the wizard shows is what the window gets -------------------------------------------

using Looks = std::vector<std::pair<std::string, double>>;

// What an indicator control shows of its settings, by name.
Looks LooksOf(const QWidget* w) {
  if (auto* c = qobject_cast<const controls::TSegmentIndicator*>(w))
    return {{"digits", c->SignNumber()}, {"on", c->NumberForeColor()}, {"off", c->NumberBackColor()},
            {"back", c->BackColor()}};
  if (auto* c = qobject_cast<const controls::TDigitDisplay*>(w))
    return {{"digits", c->DigitNum()}, {"segment", c->SegmentSize()}, {"on", c->OnColor()},
            {"off", c->OffColor()}, {"back", c->Color()}};
  if (auto* c = qobject_cast<const controls::TBarMeter*>(w))
    return {{"min", c->ValueMin()},        {"max", c->ValueMax()},     {"increment", c->Increment()},
            {"incs", c->ShowIncrements()}, {"marker", c->ShowMarker()}, {"thickness", c->BarThickness()},
            {"back", c->Color()},          {"bar", c->ColorFore()},    {"barBack", c->ColorBack()},
            {"markerColor", c->MarkerColor()}};
  if (auto* c = qobject_cast<const controls::TDialGauge*>(w))
    return {{"options", c->FaceOptions()}, {"angle", c->Angle()},       {"ticks", c->NumberMainTicks()},
            {"min", c->MinValue()},        {"max", c->MaxValue()},      {"low", c->IndMinimum()},
            {"high", c->IndMaximum()},     {"arrowWidth", c->ArrowWidth()}, {"lowColor", c->MinColor()},
            {"midColor", c->MidColor()},   {"highColor", c->MaxColor()}, {"face", c->FaceColor()},
            {"needle", c->ArrowColor()},   {"text", c->CaptionColor()}, {"value", c->ValueColor()},
            {"center", c->CenterColor()}};
  if (auto* c = qobject_cast<const controls::TAnalogMeter*>(w))
    return {{"angle", c->AngularRange()},     {"ticks", c->TickCount()},         {"min", c->Min()},
            {"max", c->Max()},                {"low", c->LowZoneValue()},        {"high", c->HighZoneValue()},
            {"zones", c->ShowZones()},        {"log", c->LogScale()},            {"tickTexts", c->ShowTicksScale()},
            {"valueShown", c->ShowValue()},   {"frame", c->ShowFrame()},         {"background", c->ShowBackground()},
            {"captionAt", c->CaptionPosition()}, {"captionAdj", c->CaptionVertAdj()}, {"needle", c->NeedleWidth()},
            {"tickColor", c->TickColor()},    {"font", c->FontColor()},          {"back", c->Color()},
            {"lowColor", c->LowZoneColor()},  {"midColor", c->OKZoneColor()},    {"highColor", c->HighZoneColor()}};
  ADD_FAILURE() << "no indicator";
  return {};
}

const char* PreviewName(DisplayKind kind) {
  switch (kind) {
    case DisplayKind::LcdIndicator: return "LiqCrystal";
    case DisplayKind::LedDigits: return "LedLcd";
    case DisplayKind::BarMeter: return "Meter";
    case DisplayKind::DialGauge: return "AnalogGauge";
    default: return "AnalogMeter";
  }
}

// What the settings page shows against what the record holds, by name.
std::vector<std::tuple<std::string, int64_t, int64_t>> ShownAndStored(TConfigViewForm& f, const DisplayConfig& c) {
  auto text = [&f](const char* edit) { return f.findChild<QLineEdit*>(QLatin1String(edit))->text().toLongLong(); };
  auto spin = [&f](const char* name) { return f.findChild<QSpinBox*>(QLatin1String(name))->value(); };
  auto box = [&f](const char* name) { return f.findChild<QCheckBox*>(QLatin1String(name))->isChecked() ? 1 : 0; };
  auto circle = [&f](const char* name) {
    return static_cast<int64_t>(f.findChild<wizard::TColorCircle*>(QLatin1String(name))->Color());
  };
  switch (c.kind) {
    case DisplayKind::LcdIndicator: {
      const LcdSettings s = c.Lcd();
      return {{"digits", text("LcdDigNumberEdit"), s.digits}, {"on", circle("Lcd1ColorShape"), s.onColor},
              {"off", circle("Lcd2ColorShape"), s.offColor}, {"back", circle("Lcd3ColorShape"), s.backColor}};
    }
    case DisplayKind::LedDigits: {
      const LedSettings s = c.Led();
      return {{"digits", text("LedDigNumberEdit"), s.digits}, {"segment", text("LedThickEdit"), s.segmentSize},
              {"on", circle("Led1ColorShape"), s.onColor}, {"off", circle("Led2ColorShape"), s.offColor},
              {"back", circle("Led3ColorShape"), s.backColor}};
    }
    case DisplayKind::BarMeter: {
      const BarSettings s = c.Bar();
      return {{"min", text("MeterMinEdit"), s.min}, {"max", text("MeterMaxEdit"), s.max},
              {"increment", spin("IncrementCSpinEdit"), s.increment},
              {"thickness", spin("BarThicknessCSpinEdit"), s.thickness},
              {"incs", box("ShowIncsCheckBox"), s.showIncrements}, {"marker", box("ShowMarkerCheckBox"), s.showMarker},
              {"bar", circle("MeterForeShape"), s.barColor}, {"back", circle("MeterBackShape"), s.backColor},
              {"barBack", circle("MeterBackBarShape"), s.barBackColor},
              {"markerColor", circle("MeterMarkerShape"), s.markerColor}};
    }
    case DisplayKind::DialGauge: {
      const DialSettings s = c.Dial();
      return {{"min", text("MinGaugeValEdit"), s.min}, {"max", text("MaxGaugeValEdit"), s.max},
              {"angle", spin("GaugeAngleCSpinEdit"), s.angle}, {"ticks", spin("IndicationCSpinEdit"), s.mainTicks + 1},
              {"high", box("GaugeHighCheckBox"), s.highOn}, {"mid", box("GaugeMediumCheckBox"), s.midOn},
              {"low", box("GaugeLowCheckBox"), s.lowOn}, {"center", box("GaugeCenterCheckBox"), s.centerOn},
              {"highAt", spin("GaugeHighCSpinEdit"), s.highThreshold}, {"lowAt", spin("GaugeLowCSpinEdit"), s.lowThreshold},
              {"needle", circle("GaugeNeedleColorShape"), s.needleColor},
              {"face", circle("GaugeBackColorShape"), s.faceColor}, {"text", circle("GaugeTextColorShape"), s.textColor},
              {"highColor", circle("GaugeHighColorShape"), s.highColor}};
    }
    default: {
      const MeterSettings s = c.Meter();
      return {{"min", text("MinAMeterEdit"), s.min}, {"max", text("MaxAMeterEdit"), s.max},
              {"low", text("LowIndEdit"), s.lowZone}, {"high", text("HighIndEdit"), s.highZone},
              {"angle", spin("AngleCSpinEdit"), s.angle}, {"ticks", spin("TicksCSpinEdit"), s.tickCount},
              {"zones", box("ShowZonesCheckBox"), s.showZones}, {"log", box("LogScaleCheckBox"), s.logScale},
              {"text", circle("TextShape"), s.textColor}, {"back", circle("BackgroundShape"), s.backColor},
              {"lowColor", circle("LowZoneShape"), s.lowColor}, {"midColor", circle("MidZoneShape"), s.midColor},
              {"highColor", circle("HighZoneShape"), s.highColor}};
    }
  }
}

// The wizard taken to its settings step for `kind` on the first instrument's channel 2; the
// page and the example are compared with the window's record and element once it closes.
void ConfigureAndCompare(Window& window, DisplayKind kind, const std::function<void(TConfigViewForm&)>& edits) {
  Looks shownByExample;
  std::vector<std::tuple<std::string, int64_t, int64_t>> shown;
  TConfigViewForm* wizard = nullptr;
  window.Configure([&](TConfigViewForm& f) {
    wizard = &f;
    How(f)->Button(static_cast<int>(kind) - 1)->click();
    Press(f, "NextBitBtn");
    ChooseDevice(f, 0);
    What(f)->Button(1)->click();
    Press(f, "NextBitBtn");
    edits(f);
    shownByExample = LooksOf(f.findChild<QWidget*>(QLatin1String(PreviewName(kind))));
    Press(f, "CloseBitBtn");
  });
  ASSERT_EQ(window.form->Config().kind, kind);
  for (const auto& [name, onPage, inRecord] : ShownAndStored(*wizard, window.form->Config()))
    EXPECT_EQ(onPage, inRecord) << name;
  const Looks inWindow = LooksOf(window.form->Element()->Widget());
  ASSERT_EQ(shownByExample.size(), inWindow.size());
  for (size_t i = 0; i < inWindow.size(); ++i)
    EXPECT_EQ(shownByExample[i].second, inWindow[i].second) << inWindow[i].first;
}

TEST_F(WizardWithInstruments, TheExampleAndThePageShowWhatTheWindowGets) {
  const DisplayKind kinds[] = {DisplayKind::LcdIndicator, DisplayKind::LedDigits, DisplayKind::BarMeter,
                               DisplayKind::DialGauge, DisplayKind::AnalogMeter};
  // A new window of each kind, untouched.
  for (DisplayKind kind : kinds) {
    SCOPED_TRACE(static_cast<int>(kind));
    Window window(world);
    ConfigureAndCompare(window, kind, [](TConfigViewForm&) {});
  }
  // Each kind edited, then reopened on a window of another kind and switched back to it: the
  // page keeps the last use's settings, and what it shows is still what the window gets.
  for (const KindRun& run : KindRuns()) {
    SCOPED_TRACE(static_cast<int>(run.kind) * 10);
    Window window(world);
    ConfigureAndCompare(window, run.kind, [&](TConfigViewForm&) { run.settings(world); });
    const DisplayKind other = run.kind == DisplayKind::LcdIndicator ? DisplayKind::DialGauge : DisplayKind::LcdIndicator;
    ConfigureAndCompare(window, other, [](TConfigViewForm&) {});
    ConfigureAndCompare(window, run.kind, [&](TConfigViewForm&) {
      // A range end typed on the settings of the record's other kind moves only that end.
      if (run.kind == DisplayKind::BarMeter) world.Type("MeterMinEdit", QStringLiteral("-40"));
      if (run.kind == DisplayKind::DialGauge) world.Type("MinGaugeValEdit", QStringLiteral("5"));
      if (run.kind == DisplayKind::AnalogMeter) world.Type("MinAMeterEdit", QStringLiteral("150"));
    });
    const DisplayConfig& c = window.form->Config();
    const int32_t max = run.kind == DisplayKind::BarMeter    ? c.Bar().max
                        : run.kind == DisplayKind::DialGauge ? c.Dial().max
                        : run.kind == DisplayKind::AnalogMeter ? c.Meter().max
                                                               : 0;
    const int32_t expected = run.kind == DisplayKind::BarMeter    ? 250
                             : run.kind == DisplayKind::DialGauge ? 90
                             : run.kind == DisplayKind::AnalogMeter ? 500
                                                                    : 0;
    EXPECT_EQ(max, expected);
  }
}

// --- The keyboard ------------------------------------------------------------------------------

// A key as the user presses it: to whatever has the focus in the shown dialog.
void Key(TConfigViewForm& f, Qt::Key key) {
  QWidget* target = QApplication::focusWidget();
  QTest::keyClick(target != nullptr && f.isAncestorOf(target) ? target : static_cast<QWidget*>(&f), key);
}

void ShowActive(TConfigViewForm& f) {
  f.show();
  QApplication::setActiveWindow(&f);
  f.activateWindow();
  QApplication::processEvents();
}

TEST_F(WizardWithInstruments, EnterGoesOnAndFinishesEscapeCancels) {
  Window window(world);
  window.Configure([&](TConfigViewForm& f) {
    ShowActive(f);
    How(f)->Button(2)->click();  // LED digits
    Key(f, Qt::Key_Return);
    ASSERT_EQ(f.Step(), 1);
    ChooseDevice(f, 1);
    Key(f, Qt::Key_Return);  // no value chosen: "Próximo" is off and Enter does nothing
    ASSERT_EQ(f.Step(), 1);
    ASSERT_TRUE(f.isVisible());
    What(f)->Button(1)->click();
    Key(f, Qt::Key_Enter);
    ASSERT_EQ(f.Step(), 2);
    // "Próximo" is hidden now: the focus is on the settings, not on "Cancela".
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    EXPECT_TRUE(focus->isVisible());
    EXPECT_NE(focus->objectName(), QStringLiteral("CancelBitBtn"));
    // A refused text comes back and keeps the step; the next Enter finishes.
    auto* digits = f.findChild<QLineEdit*>(QStringLiteral("LedDigNumberEdit"));
    digits->setFocus();
    digits->selectAll();
    QTest::keyClicks(digits, QStringLiteral("0"));
    Key(f, Qt::Key_Return);
    ASSERT_TRUE(f.isVisible());
    EXPECT_EQ(digits->text(), QStringLiteral("5"));
    digits->selectAll();
    QTest::keyClicks(digits, QStringLiteral("7"));
    Key(f, Qt::Key_Return);  // the typed value counts, then "Concluído"
    EXPECT_FALSE(f.isVisible());
  });
  ASSERT_EQ(window.form->Config().kind, DisplayKind::LedDigits);
  EXPECT_EQ(window.form->Config().Led().digits, 7);
  EXPECT_EQ(window.form->Port(), kProbePort);

  // Escape cancels from every step, and the window stays as it was.
  const std::string before = Bytes(window.form->Config());
  for (int step = 0; step <= 2; ++step) {
    SCOPED_TRACE(step);
    window.Configure([&](TConfigViewForm& f) {
      ShowActive(f);
      How(f)->Button(3)->click();
      for (int s = 0; s < step; ++s) {
        if (s == 1) {
          ChooseDevice(f, 0);
          What(f)->Button(0)->click();
        }
        Key(f, Qt::Key_Return);
      }
      ASSERT_EQ(f.Step(), step);
      Key(f, Qt::Key_Escape);
      EXPECT_FALSE(f.isVisible());
    });
    EXPECT_EQ(Bytes(window.form->Config()), before);
  }
}

}  // namespace
