// The display window offscreen: throttling, names, context menu, closing, configuration.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <qcustomplot.h>

#include "app/language_file.h"
#include "controls/digit_display.h"
#include "display/display_chart.h"
#include "display/display_form.h"
#include "display/display_object.h"
#include "display/readings_state.h"
#include "display_fakes.h"

namespace {

using namespace displaytest;

constexpr double kT0 = 45000.5;

class DisplayFormTest : public testing::Test {
 protected:
  void SetUp() override {
    SetReadingsStopped(true);
    services_.clock = &clock_;
    services_.devices = &devices_;
    services_.configurator = &wizard_;
    services_.ui = &user_;
    services_.errorValue = [] { return -1.0f; };
    services_.queueCounterReset = [this](uint16_t port) { resets_.push_back(port); };
  }
  void TearDown() override { SetReadingsStopped(true); }

  // A window owned by the test; WA_DeleteOnClose is taken off so closing never frees it.
  std::unique_ptr<TDisplayForm> NewForm(const DisplayConfig& config) {
    auto form = std::make_unique<TDisplayForm>(services_);
    form->setAttribute(Qt::WA_DeleteOnClose, false);
    form->resize(340, 250);
    form->Configure(config);
    return form;
  }

  static DisplayConfig Led(uint32_t serial, uint16_t valueIndex, int32_t channelIndex) {
    DisplayConfig c = DisplayConfig::NewWindowDefaults();
    c.kind = DisplayKind::LedDigits;
    c.SetLed(LedSettings{});
    c.deviceSerial = serial;
    c.valueIndex = valueIndex;
    c.channelIndex = channelIndex;
    c.decimals = 1;
    return c;
  }

  static ChartChannelEntry Entry(uint32_t serial, uint16_t valueIndex) {
    ChartChannelEntry e;
    e.deviceSerial = serial;
    e.valueIndex = valueIndex;
    e.name = "old";
    return e;
  }

  static QString LedText(const TDisplayForm& form) { return form.Element()->LedDigits()->Value(); }

  FakeClock clock_;
  FakeDevices devices_;
  FakeWizard wizard_;
  FakeUser user_;
  std::vector<uint16_t> resets_;
  DisplayFormServices services_;
};

TEST_F(DisplayFormTest, IndicatorsTakeOneHandOverPerPeriodOnAMonotonicClock) {
  auto form = NewForm(Led(1, 1, 1));
  auto feed = [&](float v) {
    const float values[5] = {0, v, 0, 0, 0};
    const double times[1] = {kT0};
    form->UpdateReadings(values, times);
  };
  const QString initial = LedText(*form);
  clock_.now += 50;
  feed(1);  // 50 ms after the window was made
  EXPECT_EQ(LedText(*form), initial);
  clock_.now += 50;
  feed(2);
  EXPECT_EQ(LedText(*form), "2.0");
  clock_.now += 99;
  feed(3);
  EXPECT_EQ(LedText(*form), "2.0");
  clock_.now += 1;
  feed(4);
  EXPECT_EQ(LedText(*form), "4.0");
  // A source that goes back must not freeze the display for the time it went back.
  clock_.now -= 3'600'000;
  feed(5);
  EXPECT_EQ(LedText(*form), "5.0");
  clock_.now += 10;
  feed(6);
  EXPECT_EQ(LedText(*form), "5.0");
}

TEST_F(DisplayFormTest, ChartsTakeEveryHandOver) {
  DisplayConfig c = DisplayConfig::NewWindowDefaults();
  ChartChannelEntry e = Entry(1, 1);
  e.channelIndex = 1;
  c.chartChannels = {e};
  auto form = NewForm(c);
  const float values[5] = {0, 1, 0, 0, 0};
  for (int i = 0; i < 2; ++i) {
    clock_.now += 50;
    const double times[1] = {kT0 + i / 86400.0};
    form->UpdateReadings(values, times);
  }
  EXPECT_EQ(form->Element()->Chart()->Series().at(0)->data()->size(), 2);
  form->UpdateReadings({}, std::vector<double>{kT0});  // no values: nothing
  EXPECT_EQ(form->Element()->Chart()->Series().at(0)->data()->size(), 2);
}

TEST_F(DisplayFormTest, CaptionsAndLegendsForOneAndSeveralDevices) {
  DisplayConfig c = DisplayConfig::NewWindowDefaults();
  c.chartChannels = {Entry(10, 1), Entry(20, 3), Entry(10, 3)};
  auto form = NewForm(c);
  const std::vector<DisplayDeviceInfo> two = {Logger(10, "Estufa", 3), Logger(20, "Sala", 4)};
  form->UpdateTitles(&two);
  EXPECT_EQ(form->windowTitle(), "Estufa,  Sala");
  const auto& series = form->Element()->Chart()->Series();
  EXPECT_EQ(series[0]->name(), QString::fromUtf8("Estufa / Canal 1 / °C"));
  EXPECT_EQ(series[1]->name(), QString::fromUtf8("Sala / Ambiente / °C"));
  EXPECT_EQ(series[2]->name(), QString::fromUtf8("Estufa / Ambiente / °C"));

  const std::vector<DisplayDeviceInfo> one = {Logger(10, "Estufa", 3)};
  form->UpdateTitles(&one);
  EXPECT_EQ(form->windowTitle(), "Estufa");
  EXPECT_EQ(series[0]->name(), QString::fromUtf8("Canal 1 / °C"));
  EXPECT_EQ(series[1]->name(), "Sala / Ambiente");  // not in this run: its stored name

  auto led = NewForm(Led(20, 3, 0));
  led->UpdateTitles(&two);
  EXPECT_EQ(led->windowTitle(), QString::fromUtf8("Sala / Ambiente - °C"));
  led->UpdateTitles(nullptr);  // a run without devices keeps the caption
  EXPECT_EQ(led->windowTitle(), QString::fromUtf8("Sala / Ambiente - °C"));
}

TEST_F(DisplayFormTest, CounterResetItemsWorkOnlyWhileReading) {
  auto form = NewForm(Led(12345, 4, 4));
  const std::vector<DisplayDeviceInfo> devices = {Logger(12345, "Estufa", 300)};
  form->UpdateTitles(&devices);
  ASSERT_EQ(form->ResetItems().size(), 1);
  QAction* reset = form->ResetItems().front();
  EXPECT_EQ(reset->text(), "Zerar contagem: Estufa (SN=00012345)");

  SetReadingsStopped(true);
  ASSERT_TRUE(form->ShowContextMenu(QPoint(10, 10)));
  form->PopupMenu()->hide();
  EXPECT_FALSE(reset->isEnabled());
  EXPECT_TRUE(form->findChild<QAction*>("Fechar")->isEnabled());

  SetReadingsStopped(false);
  ASSERT_TRUE(form->ShowContextMenu(QPoint(10, 10)));
  form->PopupMenu()->hide();
  EXPECT_TRUE(reset->isEnabled());
  EXPECT_FALSE(form->findChild<QAction*>("Fechar")->isEnabled());
  EXPECT_FALSE(form->findChild<QAction*>("Configurar")->isEnabled());
  reset->trigger();
  EXPECT_EQ(resets_, std::vector<uint16_t>{300});  // the whole port number

  form->UpdateTitles(&devices);  // rebuilt, not added twice
  EXPECT_EQ(form->ResetItems().size(), 1);
  EXPECT_EQ(form->PopupMenu()->actions().size(), 5);
}

TEST_F(DisplayFormTest, NoMenuInsideTheChartsPlotArea) {
  auto form = NewForm(DisplayConfig::NewWindowDefaults());
  form->show();
  QCustomPlot* plot = form->Element()->Chart()->Plot();
  plot->replot();
  const QPoint inside = plot->mapToGlobal(plot->axisRect()->rect().center());
  EXPECT_FALSE(form->ShowContextMenu(inside));
  EXPECT_FALSE(form->PopupMenu()->isVisible());
  EXPECT_TRUE(form->ShowContextMenu(plot->mapToGlobal(QPoint(1, 1))));
  form->PopupMenu()->hide();
}

TEST_F(DisplayFormTest, ClosingDuringARunMinimisesAndAfterItFrees) {
  QMdiArea area;
  area.resize(800, 600);
  area.show();
  auto* form = new TDisplayForm(services_);
  QMdiSubWindow* sub = area.addSubWindow(form);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->show();
  QPointer<TDisplayForm> alive(form);

  SetReadingsStopped(false);
  EXPECT_FALSE(sub->close());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_TRUE(alive);
  EXPECT_TRUE(sub->isMinimized());

  SetReadingsStopped(true);
  EXPECT_TRUE(sub->close());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(alive);
}

TEST_F(DisplayFormTest, RecordFromAFileTakesTheDevicesTexts) {
  devices_.Add(Logger(12345, "Estufa", 7));
  DisplayConfig c = Led(12345, 4, 0);
  c.channelName = "stored";
  auto form = NewForm(c);
  EXPECT_EQ(form->Port(), 7);
  EXPECT_EQ(form->Config().channelName, "Contagens");
  EXPECT_EQ(form->Config().deviceTag, "Estufa");
  EXPECT_EQ(form->ResetItems().size(), 1);

  // An absent or failing instrument leaves the stored texts and no reset item.
  for (bool failing : {false, true}) {
    FakeDevices other;
    other.failReads = failing;
    if (failing) other.Add(Logger(12345, "Estufa", 7));
    services_.devices = &other;
    auto again = NewForm(c);
    EXPECT_EQ(again->Config().channelName, "stored");
    EXPECT_TRUE(again->ResetItems().empty());
    ASSERT_NE(again->Element(), nullptr);
  }
}

TEST_F(DisplayFormTest, RecordDuringARunIsKeptWholeWithoutTouchingThePorts) {
  SetReadingsStopped(false);
  DisplayConfig c = DisplayConfig::NewWindowDefaults();
  ChartChannelEntry e = Entry(10, 1);
  e.channelIndex = 3;  // from a run that is not this one
  c.chartChannels = {e, Entry(20, 2)};
  auto form = NewForm(c);
  EXPECT_EQ(devices_.lookups + devices_.reads, 0);
  ASSERT_EQ(form->Config().chartChannels.size(), 2u);
  EXPECT_EQ(form->Config().chartChannels[0].channelIndex, kNoChannel);
  ASSERT_NE(form->Element(), nullptr);
  EXPECT_EQ(form->Element()->Chart()->Series().size(), 2u);
  // Its readings show the error value until the next run names its channels.
  const float values[5] = {9, 9, 9, 9, 9};
  const double times[1] = {kT0};
  form->UpdateReadings(values, times);
  EXPECT_EQ(form->Element()->Chart()->Series()[0]->data()->constBegin()->value, -1);
}

TEST_F(DisplayFormTest, WizardConfiguresOnlyWhenConfirmedAndNotDuringARun) {
  auto form = NewForm(Led(1, 1, 1));
  form->Configure();  // cancelled
  EXPECT_EQ(wizard_.shown, 1);
  EXPECT_EQ(form->Config().kind, DisplayKind::LedDigits);

  DisplayConfig chart = DisplayConfig::NewWindowDefaults();
  chart.chartChannels = {Entry(5, 1)};
  wizard_.result = chart;
  wizard_.port = 9;
  SetReadingsStopped(false);
  form->Configure();
  EXPECT_EQ(wizard_.shown, 1);
  SetReadingsStopped(true);
  form->Configure();
  EXPECT_EQ(form->Config().kind, DisplayKind::Chart);
  EXPECT_EQ(form->Port(), 9);
  ASSERT_NE(form->Element(), nullptr);
  EXPECT_EQ(form->Element()->Chart()->Series().size(), 1u);
}

TEST_F(DisplayFormTest, PortsMasksIndexesAndRecord) {
  devices_.Add(Logger(10, "A", 3));
  devices_.Add(Logger(20, "B", 4));
  DisplayConfig c = DisplayConfig::NewWindowDefaults();
  c.chartChannels = {Entry(20, 1), Entry(10, 0), Entry(20, 4), Entry(99, 1)};
  auto form = NewForm(c);
  EXPECT_EQ(form->GetDevicePorts(), (std::vector<uint16_t>{4, 3}));
  EXPECT_EQ(form->GetValueMask(20), 0x12);

  form->SetReadInterval(250);  // a two-minute period stays
  EXPECT_EQ(form->Config().readInterval, 250);
  EXPECT_NEAR(form->Config().Chart().visiblePeriod * 1440, 2, 1e-12);
  form->move(15, 25);
  DisplayWindowRecord r = form->GetWindowRecord();
  EXPECT_EQ(r.left, 15);
  EXPECT_EQ(r.width, 340);
  EXPECT_EQ(r.config.chartChannels.size(), 4u);
}

TEST_F(DisplayFormTest, LanguageSectionReplacesTheTexts) {
  app::ProgramLanguage().LoadFromText(
      "# Nome Software\r\nX\r\n# Form de Visualiza\xE7\xE3o do Componente Gr\xE1" "fico\r\n"
      "Element error\r\nReset count\r\n");
  auto form = NewForm(Led(12345, 4, 4));
  app::ProgramLanguage().Clear();
  EXPECT_EQ(form->TextAt(TDisplayForm::kElementError), "Element error");
  EXPECT_EQ(form->TextAt(TDisplayForm::kResetCounting), "Reset count");
  EXPECT_EQ(form->TextAt(TDisplayForm::kResetTiming), "Zerar temporiza\xE7\xE3o");  // short section
  const std::vector<DisplayDeviceInfo> devices = {Logger(12345, "Estufa", 3)};
  form->UpdateTitles(&devices);
  EXPECT_EQ(form->ResetItems().front()->text(), "Reset count: Estufa (SN=00012345)");
}

}  // namespace
