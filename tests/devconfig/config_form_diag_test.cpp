// The diagnostic page against simulated instruments: names, values and units, marks, silence,
// and reads only while the page is the active one.
#include <QLabel>
#include <QTest>
#include <QTimer>

#include "tests/devconfig/config_form_fixture.h"

namespace {

using namespace configtest;

QString Label(ConfigWorld& w, const char* name) { return w.Find<QLabel>(name)->text(); }
bool Hidden(ConfigWorld& w, const char* name) { return w.Find<QWidget>(name)->isHidden(); }

const QString kDegrees = QString::fromUtf8("°C");

TEST(Diagnostics, ValuesUnitsMarksAndSilence) {
  ConfigWorld w;
  sim::SimulatedInstrument& instrument = w.Start(4, Model0());
  instrument.SetHoldingRegister(64, 0x10);  // counting
  instrument.SetHoldingRegister(72, 1);     // the counter with one decimal
  instrument.SetHoldingRegister(5, 10100);  // channel 2 at its overflow value...
  instrument.SetHoldingRegister(20, 10100);  // ...which is its underflow value too
  w.form->FormShow();
  w.Pages()->setCurrentIndex(TConfigForm::kDiagPage);
  EXPECT_TRUE(w.form->DiagTimer()->isActive());
  EXPECT_EQ(w.form->DiagTimer()->interval(), 50);
  w.form->DiagTimerTimer();
  EXPECT_EQ(w.Text("SerialNumberEdit"), QStringLiteral("00012345"));
  EXPECT_EQ(w.Text("FirmwareVersionEdit"), QStringLiteral("1.10"));
  EXPECT_EQ(Label(w, "Ch1Label"), QStringLiteral("Forno"));
  EXPECT_EQ(Label(w, "Ch1ValLabel"), QStringLiteral("23.5  ") + kDegrees);
  EXPECT_EQ(Label(w, "Ch2ValLabel"), QStringLiteral("101.00  %  (OVERFLOW)  (UNDERFLOW)"));
  EXPECT_EQ(Label(w, "Ch3ValLabel"), QStringLiteral("24.1  ") + kDegrees);
  EXPECT_EQ(Label(w, "DigInputLabel"), QStringLiteral("Porta"));
  EXPECT_EQ(Label(w, "DigInpValLabel"), QStringLiteral("0"));
  EXPECT_EQ(Label(w, "CountingLabel"), QStringLiteral("Contagens"));
  EXPECT_FALSE(Hidden(w, "CountingValLabel"));
  EXPECT_EQ(Label(w, "CountingValLabel"), QStringLiteral("1234.0"));

  instrument.InjectFault(sim::FaultSpec::Silence());
  w.form->DiagTimerTimer();
  for (const char* line : {"Ch1ValLabel", "Ch2ValLabel", "Ch3ValLabel", "DigInpValLabel"})
    EXPECT_EQ(Label(w, line), QStringLiteral("???")) << line;
  EXPECT_EQ(Label(w, "CountingValLabel"), QStringLiteral("1234.0"));  // the counter line keeps its text
  instrument.ClearFaults();
  w.form->DiagTimerTimer();
  EXPECT_EQ(Label(w, "Ch1ValLabel"), QStringLiteral("23.5  ") + kDegrees);
  EXPECT_TRUE(w.user.messages.isEmpty());
  w.form->FormClose();
  EXPECT_FALSE(w.form->DiagTimer()->isActive());
}

TEST(Diagnostics, ReadsOnlyWhileThePageIsActive) {
  ConfigWorld w;
  sim::SimulatedInstrument& instrument = w.Start(4, Model0(109));
  w.form->FormShow();
  instrument.ClearLog();
  w.Pages()->setCurrentIndex(TConfigForm::kDiagPage);
  EXPECT_TRUE(Hidden(w, "CountingLabel"));
  // The timer reads while the page is shown...
  const size_t before = instrument.RequestCount();
  EXPECT_TRUE(QTest::qWaitFor([&] { return instrument.RequestCount() >= before + 3; }, 60000));
  EXPECT_NE(Label(w, "Ch1ValLabel"), QString());
  // ...a firmware below 1.10 is never asked for its counter...
  EXPECT_EQ(RequestsIn(instrument.Log(), 3, 62), 0u);
  // ...and nothing is read on another page.
  w.Pages()->setCurrentIndex(TConfigForm::kCh1Page);
  EXPECT_FALSE(w.form->DiagTimer()->isActive());
  const size_t after = instrument.RequestCount();
  QTest::qWait(300);
  EXPECT_EQ(instrument.RequestCount(), after);
  w.form->FormClose();
}

TEST(Diagnostics, ProbeLinesAndAFailedReadShowNoOtherInstrumentsValues) {
  ConfigWorld w;
  w.Start(4, Model0());
  sim::SimulatedInstrument& silent = w.Start(5, Model0(110, 55555));
  w.Start(7, Probe(0));
  w.form->FormShow();
  w.Pages()->setCurrentIndex(TConfigForm::kDiagPage);
  w.Select(2);
  w.form->DiagTimerTimer();
  EXPECT_EQ(Label(w, "Ch1Label"), QStringLiteral("Umidade"));
  EXPECT_EQ(Label(w, "Ch1ValLabel"), QStringLiteral("55.2  %"));
  EXPECT_EQ(Label(w, "Ch2ValLabel"), QStringLiteral("23.1  ") + kDegrees);
  EXPECT_TRUE(Hidden(w, "Ch3ValLabel"));
  EXPECT_TRUE(Hidden(w, "DigInpValLabel"));
  EXPECT_TRUE(Hidden(w, "CountingValLabel"));
  EXPECT_TRUE(w.form->DiagTimer()->isActive());

  silent.InjectFault(sim::FaultSpec::Silence());
  w.Select(1);
  w.form->DiagTimerTimer();
  EXPECT_EQ(Label(w, "Ch1ValLabel"), QStringLiteral("???"));
  EXPECT_EQ(Label(w, "Ch1Label"), QStringLiteral("Canal 1"));
  w.form->FormClose();
}

}  // namespace
