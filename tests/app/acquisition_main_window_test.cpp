// The program's main window reading two simulated instruments into two display windows:
// start, the values shown, the status texts, history on the way, stop; and a start given up.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <fstream>
#include <sstream>

#include "environment_fixture.h"
#include "controls/digit_display.h"
#include "display/display_object.h"
#include "tools/sim/simulated_instrument.h"

namespace {

// The program's forms (environment_fixture.h) with two simulated instruments on its port
// folder: serial 20 on COM3, serial 10 on COM4.
class MainWindowReads : public envtest::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    for (auto [serial, com] : {std::pair{20u, 3}, std::pair{10u, 4}}) {
      sim::InstrumentOptions o;
      o.serialNumber = serial;
      o.tag = "SN" + std::to_string(serial);
      instruments_.push_back(std::make_unique<sim::SimulatedInstrument>(o));
      std::string error;
      ASSERT_TRUE(instruments_.back()->Start(ports_.path(), com, &error)) << error;
    }
  }
  void TearDown() override {
    if (forms_) View().StopReadings();
    ProgramTest::TearDown();
  }

  TDisplayForm* AddDisplay(uint32_t serial, uint16_t valueIndex) {
    DisplayConfig c = DisplayConfig::NewWindowDefaults();
    c.kind = DisplayKind::LedDigits;
    c.SetLed({});
    c.deviceSerial = serial;
    c.valueIndex = valueIndex;
    auto* form = new TDisplayForm();
    forms_->viewForm->AddChildWindow(form);
    form->Configure(c);
    return form;
  }
  QToolButton* Button(const char* name) { return View().findChild<QToolButton*>(QString::fromLatin1(name)); }
  QString Panel(int i) { return View().StatusPanel(i)->text(); }
  // Lets the event loop run until `done` or a limit no busy machine reaches.
  template <typename Done>
  bool ProcessUntil(Done done, int limitMs = 60000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
      if (timer.elapsed() > limitMs) return false;
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
  }
  // The commands a run locks, and the two that stop it: how many are enabled.
  std::pair<int, int> Enabled() {
    int locked = 0;
    for (const char* name : {"Iniciar", "ConfiguraAparelho", "Configurar", "NovaJanela", "ConfigurarJanela",
                             "FecharJanela", "Carregarambiente", "Salvarambiente", "StartToolButton",
                             "SetupDeviceToolButton", "SetupHistToolButton", "NewWindowToolButton",
                             "SetupWindowToolButton"}) {
      // The main window's own (display windows have a "Configurar" of their own).
      QObject* item = View().menuBar()->findChild<QAction*>(QString::fromLatin1(name));
      if (item == nullptr) item = Button(name);
      locked += item->property("enabled").toBool();
    }
    return {locked, Item("Parar")->isEnabled() + Button("StopToolButton")->isEnabled()};
  }

  std::vector<std::unique_ptr<sim::SimulatedInstrument>> instruments_;
};

TEST_F(MainWindowReads, StartShowsTheValuesRecordsAndStopGivesTheCommandsBack) {
  TDisplayForm* first = AddDisplay(20, 1);
  TDisplayForm* second = AddDisplay(10, 3);
  View().ConfigurarJanelaClick();  // a window exists: the window commands are on
  const QString initial = second->Element()->LedDigits()->Value();
  const QString file = dir_.filePath(QStringLiteral("ensaio"));
  std::ofstream(QFile::encodeName(file + QStringLiteral(".mpc")).toStdString()) << "old\n";

  // History on through the dialog, at a reading interval of 500 ms.
  user_.onModal = [&](QDialog* d) {
    if (auto* settings = qobject_cast<app::TReadingsConfigForm*>(d)) {
      // The values the windows show, device by device in serial order, can trigger history.
      auto* combo = d->findChild<QComboBox*>(QStringLiteral("TriggerComboBox"));
      QStringList labels;
      for (int i = 0; i < combo->count(); ++i) labels << combo->itemText(i);
      EXPECT_EQ(labels, (QStringList{"SN10 / Ambiente", "SN20 / Forno"}));
      d->findChild<QWidget*>(QStringLiteral("LogEnableCheckBox"))->setProperty("checked", true);
      d->findChild<QWidget*>(QStringLiteral("FileNameEdit"))->setProperty("text", file);
      d->findChild<QWidget*>(QStringLiteral("IntervalCSpinEdit"))->setProperty("value", 500);
      settings->findChild<QPushButton*>(QStringLiteral("ApplyBitBtn"))->click();
    } else {
      d->findChild<QPushButton*>(QStringLiteral("OverwriteButton"))->click();
    }
  };
  Button("SetupHistToolButton")->click();
  ASSERT_TRUE(View().HistoryOn());
  EXPECT_EQ(Panel(0), QStringLiteral("Histórico (parado): ") + file + QStringLiteral(".mpc"));

  Item("Iniciar")->trigger();
  ASSERT_TRUE(View().Reading());
  EXPECT_FALSE(ReadingsStopped());
  EXPECT_EQ(Panel(1), QStringLiteral("Lendo em modo lento. Taxa de leituras: 500 ms"));
  EXPECT_EQ(Panel(0), QStringLiteral("Histórico (gravando): ") + file + QStringLiteral(".mpc"));
  EXPECT_EQ(Enabled(), std::pair(0, 2));
  EXPECT_TRUE(user_.log.contains(QStringLiteral("modal|OverwriteChoiceForm")));
  EXPECT_EQ(first->windowTitle(), QStringLiteral("SN20 / Forno - °C"));
  ASSERT_TRUE(ProcessUntil([&] { return second->Element()->LedDigits()->Value() != initial; }));
  EXPECT_EQ(second->Element()->LedDigits()->Value().trimmed(), QStringLiteral("24.1"));
  EXPECT_EQ(first->Element()->LedDigits()->Value().trimmed(), QStringLiteral("23.5"));
  Item("Parar")->trigger();
  EXPECT_FALSE(View().Reading());
  EXPECT_TRUE(ReadingsStopped());
  EXPECT_EQ(Panel(1), QStringLiteral("Leituras suspensas"));
  EXPECT_EQ(Panel(0), QStringLiteral("Histórico (parado): ") + file + QStringLiteral(".mpc"));
  EXPECT_EQ(Enabled(), std::pair(13, 0));

  std::ifstream in(QFile::encodeName(file + QStringLiteral(".mpc")).toStdString());
  std::string h1;
  std::getline(in, h1);
  EXPECT_EQ(h1, " , , SN10, SN20");  // overwritten, devices in serial order
}

TEST_F(MainWindowReads, AFastStartTakesInTheStreamsEveryFiveMilliseconds) {
  TDisplayForm* display = AddDisplay(20, 1);
  View().ConfigurarJanelaClick();
  const QString initial = display->Element()->LedDigits()->Value();
  user_.onModal = [&](QDialog* d) {
    d->findChild<QWidget*>(QStringLiteral("FastRadioButton"))->setProperty("checked", true);
    d->findChild<QPushButton*>(QStringLiteral("ApplyBitBtn"))->click();
  };
  Button("SetupHistToolButton")->click();
  Item("Iniciar")->trigger();
  ASSERT_TRUE(View().Reading());
  EXPECT_EQ(Panel(1), QStringLiteral("Lendo em modo rápido."));
  EXPECT_EQ(View().UpdaterTimer()->interval(), 5);
  EXPECT_TRUE(View().UpdaterTimer()->isActive());
  EXPECT_TRUE(instruments_[0]->HoldingRegister(7) & 0x40) << "streaming";
  ASSERT_TRUE(ProcessUntil([&] { return display->Element()->LedDigits()->Value() != initial; }));
  EXPECT_EQ(display->Element()->LedDigits()->Value().trimmed(), QStringLiteral("23.5"));
  EXPECT_TRUE(View().UpdaterTimer()->isActive()) << "on again after each tick";
  Item("Parar")->trigger();
  EXPECT_FALSE(View().UpdaterTimer()->isActive());
  EXPECT_EQ(Panel(1), QStringLiteral("Leituras suspensas"));
  // The instrument is left streaming.
  const size_t sent = instruments_[0]->StreamRecordCount();
  EXPECT_TRUE(instruments_[0]->WaitForStreamRecordCount(sent + 3, std::chrono::seconds(60)));
  EXPECT_TRUE(instruments_[0]->HoldingRegister(7) & 0x40);
}

TEST_F(MainWindowReads, AStartGivenUpSaysWhichPortAndLeavesTheCommandsIdle) {
  AddDisplay(10, 1);
  AddDisplay(20, 1);
  instruments_[0]->InjectFault(sim::FaultSpec::RefuseRegister(2));  // serial 20 on COM3
  Item("Iniciar")->trigger();
  EXPECT_FALSE(View().Reading());
  EXPECT_TRUE(ReadingsStopped());
  EXPECT_EQ(user_.messages, QStringList{"COM3: PROBLEMAS NA COMUNICAÇÃO!"});
  EXPECT_EQ(Panel(1), QString());
  EXPECT_EQ(Enabled().second, 0);
}

TEST_F(MainWindowReads, AHistoryFileRemovedWhileRecordingIsToldWithoutStoppingTheRun) {
  AddDisplay(20, 1);
  const QString file = dir_.filePath(QStringLiteral("removido.mpc"));
  user_.onModal = [&](QDialog* d) {
    d->findChild<QWidget*>(QStringLiteral("LogEnableCheckBox"))->setProperty("checked", true);
    d->findChild<QWidget*>(QStringLiteral("FileNameEdit"))->setProperty("text", file);
    d->findChild<QWidget*>(QStringLiteral("IntervalCSpinEdit"))->setProperty("value", 250);
    d->findChild<QPushButton*>(QStringLiteral("ApplyBitBtn"))->click();
  };
  Button("SetupHistToolButton")->click();
  Item("Iniciar")->trigger();
  ASSERT_TRUE(View().Reading());
  ASSERT_TRUE(ProcessUntil([&] { return QFileInfo(file).size() > 0; })) << "the first flush";
  ASSERT_TRUE(QFile::remove(file));
  ASSERT_TRUE(ProcessUntil([&] { return View().ErrorTimer()->isActive(); }));
  EXPECT_EQ(View().ErrorText(), QStringLiteral("Problemas na abertura do arquivo!"));
  EXPECT_EQ(Panel(0), QStringLiteral("Histórico: Desabilitado"));
  EXPECT_FALSE(View().HistoryOn());
  EXPECT_TRUE(View().Reading());
  EXPECT_TRUE(user_.messages.isEmpty()) << "no box waits for an answer while the run goes on";
  Item("Parar")->trigger();
  EXPECT_FALSE(QFile::exists(file));
}

TEST_F(MainWindowReads, TheThirdFailedReadingBlinksThePortInTheStatusBar) {
  AddDisplay(20, 1);
  Item("Iniciar")->trigger();
  ASSERT_TRUE(View().Reading());
  instruments_[0]->InjectFault(sim::FaultSpec::Silence());
  ASSERT_TRUE(ProcessUntil([&] { return View().ErrorTimer()->isActive(); }));
  EXPECT_EQ(View().ErrorText(), QStringLiteral("COM3: PROBLEMAS NA COMUNICAÇÃO!"));
  ASSERT_TRUE(ProcessUntil([&] { return Panel(1) == View().ErrorText(); }));
  Item("Parar")->trigger();
  EXPECT_FALSE(View().ErrorTimer()->isActive());
}

}  // namespace
