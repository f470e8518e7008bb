// The display window offscreen: throttling, names, context menu, closing, configuration.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <qcustomplot.h>

#include "ui/language_file.h"
#include "controls/digit_display.h"
#include "display/display_chart.h"
#include "display/display_form.h"
#include "display/display_object.h"
#include "display/readings_state.h"
#include "display_fakes.h"
#include "tests/support/fake_user_interaction.h"

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
    c.SetLed({});
    c.deviceSerial = serial;
    c.valueIndex = valueIndex;
    c.channelIndex = channelIndex;
    return c;
  }

  static DisplayConfig Chart(std::vector<std::pair<uint32_t, uint16_t>> channels) {
    DisplayConfig c = DisplayConfig::NewWindowDefaults();
    for (auto [serial, valueIndex] : channels) {
      c.chartChannels.push_back({0, "old", serial, valueIndex, kNoChannel});
    }
    return c;
  }

  static void Feed(TDisplayForm& form, float value, double time = kT0) {
    const float values[5] = {0, value, 0, 0, 0};
    const double times[1] = {time};
    form.UpdateReadings(values, times);
  }

  FakeClock clock_;
  FakeDevices devices_;
  FakeWizard wizard_;
  testsupport::FakeUserInteraction user_;
  std::vector<uint16_t> resets_;
  DisplayFormServices services_;
};

TEST_F(DisplayFormTest, IndicatorsTakeOneHandOverPerPeriodOnAMonotonicClock) {
  auto form = NewForm(Led(1, 1, 1));
  const QString initial = form->Element()->LedDigits()->Value();
  // {clock step in ms, value handed over, what the digits show}: a clock that steps back
  // must not freeze the display for as long as it went back.
  const std::tuple<int64_t, float, const char*> steps[] = {
      {50, 1, nullptr}, {50, 2, "2.0"}, {99, 3, "2.0"}, {1, 4, "4.0"},
      {-3'600'000, 5, "5.0"}, {10, 6, "5.0"}};
  for (auto [step, value, shown] : steps) {
    clock_.now += step;
    Feed(*form, value);
    EXPECT_EQ(form->Element()->LedDigits()->Value(), shown ? QString(shown) : initial) << value;
  }
}

TEST_F(DisplayFormTest, ChartWindowAfterItsDevices) {
  devices_.Add(Logger(10, "Estufa", 3));
  devices_.Add(Logger(20, "Sala", 4));
  DisplayConfig c = Chart({{10, 1}, {20, 3}, {10, 0}, {99, 1}});
  c.chartChannels[0].channelIndex = 1;
  auto form = NewForm(c);
  EXPECT_EQ(form->GetDevicePorts(), (std::vector<uint16_t>{3, 4}));  // once each, answering
  const auto& series = form->Element()->Chart()->Series();
  for (int i = 0; i < 2; ++i) {
    clock_.now += 50;
    Feed(*form, 1, kT0 + i / 86400.0);
  }
  form->UpdateReadings({}, std::vector<double>{kT0 + 1});  // no values: nothing
  EXPECT_EQ(series[0]->data()->size(), 2);

  const std::vector<DisplayDeviceInfo> two = {devices_.devices[3], devices_.devices[4]};
  form->UpdateTitles(&two);
  EXPECT_EQ(form->windowTitle(), "Estufa,  Sala");
  EXPECT_EQ(series[0]->name(), QString::fromUtf8("Estufa / Canal 1 / °C"));
  form->UpdateTitles(nullptr);  // a run without a device list keeps the caption
  EXPECT_EQ(form->windowTitle(), "Estufa,  Sala");

  // A reading interval longer than the visible period widens it, in the record too.
  form->SetReadInterval(180'000);
  form->move(15, 25);
  const DisplayWindowRecord r = form->GetWindowRecord();
  EXPECT_EQ(std::tie(r.left, r.top, r.width, r.height), std::tuple(15, 25, 340, 250));
  EXPECT_NEAR(r.config.Chart().visiblePeriod * 86400, 181, 1e-6);
  EXPECT_EQ(r.config.chartChannels.size(), 4u);

  // The chart keeps the mouse inside its plot area: no menu there.
  form->show();
  QCustomPlot* plot = form->Element()->Chart()->Plot();
  plot->replot();
  EXPECT_FALSE(form->ShowContextMenu(plot->mapToGlobal(plot->axisRect()->rect().center())));
  EXPECT_TRUE(form->ShowContextMenu(plot->mapToGlobal(QPoint(1, 1))));
  form->PopupMenu()->hide();
}

TEST_F(DisplayFormTest, CounterResetItemsWorkOnlyWhileReading) {
  auto form = NewForm(Led(12345, 4, 4));
  const std::vector<DisplayDeviceInfo> devices = {Logger(12345, "Estufa", 300)};
  form->UpdateTitles(&devices);
  EXPECT_EQ(form->windowTitle(), "Contagens");
  ASSERT_EQ(form->ResetItems().size(), 1);
  QAction* reset = form->ResetItems().front();
  EXPECT_EQ(reset->text(), "Zerar contagem: Estufa (SN=00012345)");

  for (bool reading : {false, true}) {
    SetReadingsStopped(!reading);
    ASSERT_TRUE(form->ShowContextMenu(QPoint(10, 10)));
    form->PopupMenu()->hide();
    EXPECT_EQ(reset->isEnabled(), reading);
    EXPECT_EQ(form->findChild<QAction*>("Fechar")->isEnabled(), !reading);
    EXPECT_EQ(form->findChild<QAction*>("Configurar")->isEnabled(), !reading);
  }
  reset->trigger();
  EXPECT_EQ(resets_, std::vector<uint16_t>{300});  // the whole port number

  form->UpdateTitles(&devices);  // rebuilt, not added twice
  EXPECT_EQ(form->ResetItems().size(), 1);
  EXPECT_EQ(form->PopupMenu()->actions().size(), 5);
}

TEST_F(DisplayFormTest, ClosingDuringARunMinimisesAndAfterItFrees) {
  QMdiArea area;
  area.resize(800, 600);
  area.show();
  auto* form = new TDisplayForm(services_);
  QMdiSubWindow* sub = area.addSubWindow(form);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->show();
  sub->setGeometry(20, 30, 340, 250);
  QPointer<TDisplayForm> alive(form);

  SetReadingsStopped(false);
  EXPECT_FALSE(sub->close());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_TRUE(alive);
  EXPECT_TRUE(sub->isMinimized());
  // A workspace saved now keeps the window's size, not that of its minimised bar.
  const DisplayWindowRecord r = form->GetWindowRecord();
  EXPECT_EQ(std::tie(r.maximized, r.left, r.top, r.width, r.height), std::tuple(false, 20, 30, 340, 250));
  // A maximised one likewise keeps the size it comes back to when restored, with the flag.
  sub->showNormal();
  sub->showMaximized();
  const DisplayWindowRecord m = form->GetWindowRecord();
  EXPECT_EQ(std::tie(m.maximized, m.left, m.top, m.width, m.height), std::tuple(true, 20, 30, 340, 250));
  // And so does one placed maximised from a record, before it was ever shown at its own size.
  auto* placed = new TDisplayForm(services_);
  QMdiSubWindow* placedFrame = area.addSubWindow(placed);
  placed->SetWindowPlacement(m);
  placedFrame->show();
  const DisplayWindowRecord p = placed->GetWindowRecord();
  EXPECT_EQ(std::tie(p.maximized, p.left, p.top, p.width, p.height), std::tuple(true, 20, 30, 340, 250));
  delete placedFrame;

  SetReadingsStopped(true);
  EXPECT_TRUE(sub->close());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(alive);

  // The window's own "Fechar" takes its frame along: no empty frame stays in the area.
  QPointer<QMdiSubWindow> frame = area.addSubWindow(new TDisplayForm(services_));
  frame->setAttribute(Qt::WA_DeleteOnClose);
  frame->show();
  frame->widget()->findChild<QAction*>("Fechar")->trigger();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(frame);
  EXPECT_TRUE(area.subWindowList().isEmpty());
}

// A display window's frame has the system menu (and with it the close box) and maximise, but
// no minimise button; minimising stays what closing does during a run.
TEST_F(DisplayFormTest, FrameOffersMaximiseButNotMinimise) {
  QMdiArea area;
  area.resize(800, 600);
  area.show();
  QMdiSubWindow* sub = area.addSubWindow(new TDisplayForm(services_));
  sub->show();
  const Qt::WindowFlags flags = sub->windowFlags();
  EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
  EXPECT_TRUE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_TRUE(sub->isVisible());
  QStringList menu;  // the system menu offers no minimise either
  for (QAction* action : sub->systemMenu()->actions()) {
    if (action->isVisible() && !action->isSeparator()) menu << action->text().remove(QLatin1Char('&'));
  }
  EXPECT_TRUE(menu.contains(QStringLiteral("Maximize"))) << menu.join(QLatin1Char(',')).toStdString();
  EXPECT_FALSE(menu.contains(QStringLiteral("Minimize"))) << menu.join(QLatin1Char(',')).toStdString();
  sub->showMaximized();
  EXPECT_TRUE(sub->isMaximized());
  sub->showNormal();
  SetReadingsStopped(false);
  sub->close();
  EXPECT_TRUE(sub->isMinimized());
  SetReadingsStopped(true);
}

TEST_F(DisplayFormTest, RecordFromAFileTakesTheDevicesTextsWhenItAnswers) {
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
    EXPECT_NE(again->Element(), nullptr);
  }
}

TEST_F(DisplayFormTest, RecordDuringARunIsKeptWholeWithoutTouchingThePorts) {
  SetReadingsStopped(false);
  DisplayConfig c = Chart({{10, 1}, {20, 2}});
  c.chartChannels[0].channelIndex = 3;  // from a run that is not this one
  auto form = NewForm(c);
  EXPECT_EQ(devices_.calls, 0);
  ASSERT_EQ(form->Config().chartChannels.size(), 2u);
  EXPECT_EQ(form->Config().chartChannels[0].channelIndex, kNoChannel);
  ASSERT_EQ(form->Element()->Chart()->Series().size(), 2u);
  // Its readings show the error value until the next run names its channels.
  Feed(*form, 9);
  EXPECT_EQ(form->Element()->Chart()->Series()[0]->data()->constBegin()->value, -1);
}

TEST_F(DisplayFormTest, WizardConfiguresOnlyWhenConfirmedAndNotDuringARun) {
  auto form = NewForm(Led(1, 1, 1));
  form->Configure();  // cancelled
  EXPECT_EQ(wizard_.shown, 1);
  EXPECT_EQ(form->Config().kind, DisplayKind::LedDigits);

  wizard_.result = Chart({{5, 1}});
  wizard_.port = 9;
  SetReadingsStopped(false);
  form->Configure();
  EXPECT_EQ(wizard_.shown, 1);
  SetReadingsStopped(true);
  form->Configure();
  EXPECT_EQ(form->Port(), 9);
  ASSERT_NE(form->Element(), nullptr);
  EXPECT_EQ(form->Element()->Chart()->Series().size(), 1u);
}

TEST_F(DisplayFormTest, LanguageSectionReplacesTheTexts) {
  ui::ProgramLanguage().LoadFromText(
      "# Nome Software\r\nX\r\n# Form de Visualiza\xE7\xE3o do Componente Gr\xE1" "fico\r\n"
      "Element error\r\nReset count\r\n");
  auto form = NewForm(Led(12345, 4, 4));
  ui::ProgramLanguage().Clear();
  EXPECT_EQ(form->TextAt(TDisplayForm::kElementError), "Element error");
  EXPECT_EQ(form->TextAt(TDisplayForm::kResetTiming), "Zerar temporiza\xE7\xE3o");  // short section
  const std::vector<DisplayDeviceInfo> devices = {Logger(12345, "Estufa", 3)};
  form->UpdateTitles(&devices);
  EXPECT_EQ(form->ResetItems().front()->text(), "Reset count: Estufa (SN=00012345)");
}

}  // namespace
