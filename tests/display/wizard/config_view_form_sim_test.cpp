// The wizard against two simulated instruments on pseudo-terminals, driven as a user would
// through a display window: every kind made through the three steps, the record handed back
// decoded by a separate struct script, cancelling from every step, and the chart's channels.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QSpinBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTabWidget>
#include <fstream>
#include <functional>
#include <map>

#include "display/display_form.h"
#include "display/display_chart.h"
#include "display/display_object.h"
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

}  // namespace
