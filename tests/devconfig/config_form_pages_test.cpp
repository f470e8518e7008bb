// The dialog's list and pages against simulated instruments: which instruments are listed,
// which pages and fields each model shows, and what the fields' checks and arrows do.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>

#include "instrument/device_interface.h"
#include "tests/devconfig/config_form_fixture.h"
#include "ui/arrow_buttons.h"
#include "ui/radio_group.h"

namespace {

using namespace configtest;
using Page = TConfigForm::Page;

const QString kInvalid = QString::fromUtf8("Valor impróprio!");

sim::InstrumentOptions Named(sim::InstrumentOptions o, const char* friendlyName) {
  o.friendlyName = friendlyName;
  return o;
}

bool Hidden(ConfigWorld& w, const char* name) { return w.Find<QWidget>(name)->isHidden(); }

void Arrow(ConfigWorld& w, const char* arrows, int direction) {
  emit w.Find<ui::TArrowButtons>(arrows)->Arrow(direction);
}

TEST(DeviceList, OnePortOnceSilentPortsListedOtherPortsNeverOpened) {
  ConfigWorld w;
  w.Start(5, Named(Model0(110, 1), "Tervana USB A (COM5)"));
  w.Start(6, Named(Model0(110, 2), "Tervana USB B (COM5)"));  // names the same port
  sim::SimulatedInstrument& silent = w.Start(8, Model0(110, 3));
  sim::SimulatedInstrument& modem = w.Start(9, Named(Model0(110, 4), "Modem (COM9)"));
  silent.InjectFault(sim::FaultSpec::Silence());
  w.form->FormShow();
  ASSERT_EQ(w.List()->topLevelItemCount(), 2);
  EXPECT_EQ(w.List()->topLevelItem(0)->text(0), QStringLiteral("Estufa;  00000001  (COM5)"));
  EXPECT_EQ(w.List()->topLevelItem(1)->text(0), QStringLiteral("Tervana Simulado (COM8)"));
  EXPECT_EQ(modem.RequestCount(), 0u);
  EXPECT_EQ(w.form->Device()->GetPortNumber(), 5);
  EXPECT_TRUE(w.Find<QPushButton>("ApplyBitBtn")->isEnabled());

  // The silent instrument can be chosen; its read fails and "Aplica" stays off.
  w.Select(1);
  EXPECT_EQ(w.user.messages, QStringList{QString::fromUtf8("Falha na leitura dos parâmetros do aparelho!")});
  ASSERT_NE(w.form->Device(), nullptr);
  EXPECT_EQ(w.form->Device()->GetPortNumber(), 8);
  EXPECT_FALSE(w.form->Device()->IsReady());
  EXPECT_FALSE(w.Find<QPushButton>("ApplyBitBtn")->isEnabled());
  w.form->FormClose();
  EXPECT_EQ(w.form->Device(), nullptr);
  EXPECT_EQ(w.List()->topLevelItemCount(), 0);
}

TEST(DeviceList, NothingFound) {
  ConfigWorld w;
  w.form->FormShow();
  EXPECT_EQ(w.user.messages, QStringList{QStringLiteral("Nenhum aparelho encontrado!")});
  EXPECT_FALSE(w.Find<QPushButton>("ApplyBitBtn")->isEnabled());
  EXPECT_EQ(w.form->Device(), nullptr);
}

// Every tab whole: the bar has the width its captions need side by side.
void ExpectEveryTabWhole(QTabWidget* pages) {
  QTabBar* bar = pages->tabBar();
  EXPECT_GE(bar->width(), bar->sizeHint().width());
  for (int i = 0; i < bar->count(); ++i) {
    if (!bar->isTabVisible(i)) continue;
    EXPECT_GE(bar->tabRect(i).left(), 0) << bar->tabText(i).toStdString();
    EXPECT_LE(bar->tabRect(i).right(), bar->width() - 1) << bar->tabText(i).toStdString();
  }
}

// Opened without instruments, the dialog is up before it says so (over itself, not alone at
// the corner of the screen), and all eight tabs, none hidden before an instrument is read, fit
// side by side, also when the language file lengthens their captions.
TEST(DeviceList, NothingFoundIsSaidOverTheDialogWithEveryTabWhole) {
  for (bool translated : {false, true}) {
    SCOPED_TRACE(translated);
    if (translated) {
      std::string section = std::string(devconfig::kConfigFormHeading) + "\r\n";
      for (int n = 1; n <= 13; ++n)
        section += (n >= 6 ? "Uma p\xE1gina de nome comprido " + std::to_string(n) : "T" + std::to_string(n)) + "\r\n";
      ui::ProgramLanguage().LoadFromText(section);
    }
    ConfigWorld w;
    ui::ProgramLanguage().Clear();
    QStringList beforeShown;
    QStringList whileShown;
    w.user.onModal = [&](QDialog* dialog) {
      beforeShown = w.user.messages;
      dialog->show();
      QApplication::processEvents();
      whileShown = w.user.messages;
      ExpectEveryTabWhole(w.Pages());
      w.Shot(translated ? QStringLiteral("no-instruments-translated") : QStringLiteral("no-instruments"));
      dialog->hide();
    };
    w.form->Execute();
    EXPECT_TRUE(beforeShown.isEmpty());
    EXPECT_EQ(whileShown, QStringList{QStringLiteral("Nenhum aparelho encontrado!")});
    EXPECT_EQ(w.user.messages, whileShown);  // once

    // A modal run that never shows the dialog still hears it.
    w.user.messages.clear();
    w.user.onModal = nullptr;
    w.form->Execute();
    EXPECT_EQ(w.user.messages, QStringList{QStringLiteral("Nenhum aparelho encontrado!")});
  }
}

struct PagesCase {
  sim::InstrumentOptions options;
  std::vector<Page> shown;
};

TEST(Pages, ByModelProbeKindAndFirmware) {
  const std::vector<Page> logger = {TConfigForm::kGeneralPage, TConfigForm::kCh1Page,  TConfigForm::kCh2Page,
                                    TConfigForm::kDigInpPage,  TConfigForm::kCh3Page,  TConfigForm::kDiagPage,
                                    TConfigForm::kCalibPage};
  const PagesCase cases[] = {
      {Model0(110), logger},
      {Model0(109), logger},
      {Probe(0), {TConfigForm::kGeneralPage, TConfigForm::kCh1Page, TConfigForm::kCh2Page, TConfigForm::kDiagPage,
                  TConfigForm::kCustomCalibPage}},
      {Probe(2), {TConfigForm::kGeneralPage, TConfigForm::kCh1Page, TConfigForm::kCh3Page, TConfigForm::kDiagPage,
                  TConfigForm::kCustomCalibPage}},
  };
  for (const PagesCase& c : cases) {
    ConfigWorld w;
    w.Start(3, c.options);
    w.form->FormShow();
    std::vector<Page> shown;
    for (int p = 0; p < TConfigForm::kPageCount; ++p)
      if (w.PageShown(static_cast<Page>(p))) shown.push_back(static_cast<Page>(p));
    EXPECT_EQ(shown, c.shown) << c.options.firmware << "/" << c.options.probeKind;
    const bool probe = c.options.model == sim::Model::Probe;
    EXPECT_EQ(Hidden(w, "DigInputSpecialFeaturesGroupBox"), c.options.firmware < 110 || probe);
    EXPECT_EQ(Hidden(w, "DigInputLabel"), probe);
    if (probe) {
      auto* sub = w.Find<QTabWidget>("CustomCalibPageControl");
      EXPECT_EQ(sub->isTabVisible(0), c.options.probeKind == 0);  // "Umidade"
      EXPECT_TRUE(sub->isTabVisible(1));
    }
    w.form->FormClose();
  }
}

TEST(Pages, ChannelFieldsByModelAndInputType) {
  ConfigWorld w;
  w.Start(4, Model0());
  w.Start(7, Probe(0));
  w.Start(9, Probe(2, 30003));
  w.form->FormShow();
  // Channel 1 of the simulator is a Pt100, channel 2 a 4 to 20 mA input with two decimals.
  EXPECT_TRUE(Hidden(w, "Ch1LimSupEdit"));
  EXPECT_FALSE(Hidden(w, "Ch1OverflowCSpinEdit"));
  EXPECT_TRUE(w.Edit("Ch1OffsetEdit")->isReadOnly());
  EXPECT_EQ(w.Text("Ch1OffsetEdit"), QStringLiteral("0.0"));
  EXPECT_FALSE(Hidden(w, "Ch2LimSupEdit"));
  EXPECT_TRUE(Hidden(w, "Ch2OverflowCSpinEdit"));
  EXPECT_TRUE(Hidden(w, "Ch2CelsiusRadioButton"));
  EXPECT_EQ(w.Text("Ch2LimSupEdit"), QStringLiteral("100.00"));
  EXPECT_EQ(w.Text("Ch2OverflowEdit"), QStringLiteral("101.00"));
  EXPECT_EQ(w.Text("Ch2OffsetEdit"), QStringLiteral("0.00"));
  EXPECT_FALSE(w.Edit("Ch2OffsetEdit")->isReadOnly());
  EXPECT_EQ(w.Find<QComboBox>("Ch1TypeComboBox")->count(), 12);
  EXPECT_EQ(w.Find<QComboBox>("Ch2TypeComboBox")->count(), 11);
  EXPECT_EQ(w.Find<ui::TRadioGroup>("MinResRadioGroup")->Count(), 4);

  // A linear input on channel 1: its offset moves to the limits' decimals.
  w.Find<QComboBox>("Ch1TypeComboBox")->setCurrentIndex(9);
  EXPECT_FALSE(Hidden(w, "Ch1LimSupEdit"));
  EXPECT_TRUE(Hidden(w, "Ch1OverflowCSpinEdit"));
  EXPECT_EQ(w.Text("Ch1OffsetEdit"), QStringLiteral("0"));

  w.Select(1);  // the humidity probe
  EXPECT_TRUE(Hidden(w, "Ch1TypeComboBox"));
  EXPECT_EQ(w.Find<QLabel>("Ch1TypeLabel")->text(), QStringLiteral("Umidade Relativa"));
  EXPECT_FALSE(Hidden(w, "DewPointCheckBox"));
  EXPECT_TRUE(Hidden(w, "Ch1OffsetEdit"));
  EXPECT_TRUE(Hidden(w, "Ch1LimSupEdit"));
  EXPECT_EQ(w.Find<QLabel>("Ch2TypeLabel")->text(), QStringLiteral("Temperatura"));
  EXPECT_EQ(w.Find<ui::TRadioGroup>("MinResRadioGroup")->Count(), 2);
  EXPECT_TRUE(w.Find<QCheckBox>("CompFreqCheckBox")->isChecked());
  EXPECT_FALSE(w.Find<QCheckBox>("CompFreqCheckBox")->isEnabled());

  w.Select(2);  // a thermocouple probe
  EXPECT_EQ(w.Find<QLabel>("Ch1TypeLabel")->text(), QStringLiteral("Temperatura - Termopar J"));
  EXPECT_TRUE(Hidden(w, "DewPointCheckBox"));
  EXPECT_EQ(w.Find<ui::TRadioGroup>("MinResRadioGroup")->Count(), 4);
  EXPECT_TRUE(w.Find<QCheckBox>("CompFreqCheckBox")->isEnabled());
  EXPECT_TRUE(w.user.messages.isEmpty());
  w.form->FormClose();
}

TEST(Fields, ExitChecksDecimalsAndAmbientOffset) {
  ConfigWorld w;
  w.Start(4, Model0());
  w.form->FormShow();
  // A new decimal count moves the mark of all five fields of the channel.
  ASSERT_TRUE(w.TypeAndLeave("Ch2LimInfEdit", QStringLiteral("2.500")));
  EXPECT_EQ(w.Text("Ch2LimSupEdit"), QStringLiteral("10.000"));
  EXPECT_EQ(w.Text("Ch2LimInfEdit"), QStringLiteral("2.500"));
  EXPECT_EQ(w.Text("Ch2OverflowEdit"), QStringLiteral("10.100"));
  EXPECT_EQ(w.Text("Ch2UnderflowEdit"), QStringLiteral("-0.100"));
  EXPECT_EQ(w.Text("Ch2OffsetEdit"), QStringLiteral("0.000"));

  for (const char* bad : {"1.5,0", "abc", "32768", ".000001", ""}) {
    w.user.messages.clear();
    EXPECT_FALSE(w.TypeAndLeave("Ch2OverflowEdit", QString::fromLatin1(bad))) << bad;
    EXPECT_EQ(w.user.messages, QStringList{kInvalid}) << bad;
    EXPECT_EQ(w.Text("Ch2OverflowEdit"), QString::fromLatin1(bad));  // the text stays
    EXPECT_EQ(w.Pages()->currentIndex(), TConfigForm::kCh2Page);
    EXPECT_EQ(w.form->focusWidget(), w.Edit("Ch2OverflowEdit"));
  }
  EXPECT_FALSE(w.TypeAndLeave("Ch2OffsetEdit", QStringLiteral("30.01")));  // 3001 beyond 3000
  // Text the dialog set itself is not checked again.
  w.Edit("Ch2OverflowEdit")->setText(QStringLiteral("99999"));
  EXPECT_TRUE(w.form->LeaveField(w.Edit("Ch2OverflowEdit")));

  const std::pair<const char*, const char*> ambient[] = {{"1.25", "1.2"}, {"-1.25", "-1.2"}, {"3", "3.0"}, {"35", "35.0"}};
  for (const auto& [typed, shown] : ambient) {
    ASSERT_TRUE(w.TypeAndLeave("TemperOffsetEdit", QString::fromLatin1(typed))) << typed;
    EXPECT_EQ(w.Text("TemperOffsetEdit"), QString::fromLatin1(shown));
  }
  EXPECT_FALSE(w.TypeAndLeave("TemperOffsetEdit", QStringLiteral("30.1")));
  w.form->FormClose();
}

TEST(Fields, ArrowsStopAtTheRangeEnds) {
  ConfigWorld w;
  w.Start(4, Model0());
  w.form->FormShow();
  w.Edit("Ch1OffsetEdit")->setText(QStringLiteral("299.9"));
  Arrow(w, "Ch1OffsetUpDown", 1);
  EXPECT_EQ(w.Text("Ch1OffsetEdit"), QStringLiteral("300.0"));
  Arrow(w, "Ch1OffsetUpDown", 1);  // a temperature offset moves only by its arrows, within ±300.0
  EXPECT_EQ(w.Text("Ch1OffsetEdit"), QStringLiteral("300.0"));
  // Each field's own range and decimals (the ends of every range are the rules' test).
  Arrow(w, "Ch2LimSupUpDown", 1);
  EXPECT_EQ(w.Text("Ch2LimSupEdit"), QStringLiteral("100.01"));
  w.Edit("DebounceEdit")->setText(QStringLiteral("65535"));
  Arrow(w, "DebounceUpDown", 1);
  EXPECT_EQ(w.Text("DebounceEdit"), QStringLiteral("65535"));
  // A typed text the arrows moved still has its check to pass.
  w.Type("Ch2LimInfEdit", QStringLiteral("1.5"));
  Arrow(w, "Ch2LimInfUpDown", 1);
  EXPECT_TRUE(w.Edit("Ch2LimInfEdit")->isModified());
  EXPECT_TRUE(w.form->LeaveField(w.Edit("Ch2LimInfEdit")));
  EXPECT_EQ(w.Text("Ch2LimSupEdit"), QStringLiteral("1000.1"));  // 100.01 with one decimal
  w.form->FormClose();
}

TEST(Fields, AmbientChannelLockedByAnEnabledThermocouple) {
  ConfigWorld w;
  sim::SimulatedInstrument& instrument = w.Start(4, Model0());
  instrument.SetHoldingRegister(7, 0x0001);  // ambient channel off
  w.form->FormShow();
  auto* ambient = w.Find<QCheckBox>("Ch3EnableCheckBox");
  EXPECT_FALSE(ambient->isChecked());
  EXPECT_TRUE(ambient->isEnabled());
  w.Find<QComboBox>("Ch1TypeComboBox")->setCurrentIndex(2);  // a change of type alone does not lock it
  EXPECT_TRUE(ambient->isEnabled());
  w.Click("Ch1EnableCheckBox");  // off: still free
  EXPECT_TRUE(ambient->isEnabled());
  w.Click("Ch1EnableCheckBox");  // on again, a thermocouple: checked and locked
  EXPECT_TRUE(ambient->isChecked());
  EXPECT_FALSE(ambient->isEnabled());
  EXPECT_TRUE(w.Edit("TemperOffsetEdit")->isEnabled());
  w.Find<QComboBox>("Ch1TypeComboBox")->setCurrentIndex(0);
  w.Click("Ch1EnableCheckBox");
  w.Click("Ch1EnableCheckBox");  // Pt100: free again, back to the block's bit
  EXPECT_FALSE(ambient->isChecked());
  EXPECT_TRUE(ambient->isEnabled());
  EXPECT_FALSE(w.Edit("TemperOffsetEdit")->isEnabled());
  w.form->FormClose();
}

TEST(DigitalInputPage, ModesLevelsAndChecks) {
  ConfigWorld w;
  w.Start(4, Model0());
  w.form->FormShow();
  EXPECT_TRUE(Hidden(w, "DigInputSpecialFeaturesPanel"));
  w.Click("CountingCheckBox");
  EXPECT_FALSE(Hidden(w, "DigInputSpecialFeaturesPanel"));
  EXPECT_FALSE(Hidden(w, "AutoResetEdit"));
  EXPECT_TRUE(Hidden(w, "BaseTimeEdit"));
  auto* edges = w.Find<ui::TRadioGroup>("EdgeRadioGroup");
  EXPECT_EQ(edges->Count(), 3);
  EXPECT_EQ(edges->title(), QString::fromUtf8("Seleção da borda"));
  EXPECT_TRUE(w.TypeAndLeave("AutoResetEdit", QStringLiteral("4294967295")));
  EXPECT_FALSE(w.TypeAndLeave("AutoResetEdit", QStringLiteral("4294967296")));

  w.Click("TimingCheckBox");  // unchecks counting, hides the reset value, offers the levels
  EXPECT_FALSE(w.Find<QCheckBox>("CountingCheckBox")->isChecked());
  EXPECT_TRUE(Hidden(w, "AutoResetEdit"));
  EXPECT_FALSE(Hidden(w, "AutoResetCheckBox"));
  EXPECT_EQ(edges->Count(), 2);
  EXPECT_EQ(edges->ItemText(1), QStringLiteral("Alto (entrada aberta)"));
  EXPECT_EQ(edges->ItemIndex(), 0);

  w.Click("FrequencyCheckBox");
  EXPECT_FALSE(Hidden(w, "BaseTimeEdit"));
  EXPECT_TRUE(Hidden(w, "AutoResetCheckBox"));
  w.Click("FrequencyCheckBox");  // the only mode unchecked: no panel
  EXPECT_TRUE(Hidden(w, "DigInputSpecialFeaturesPanel"));

  w.user.messages.clear();
  EXPECT_FALSE(w.TypeAndLeave("DebounceEdit", QStringLiteral("0")));
  EXPECT_FALSE(w.TypeAndLeave("DecNumberEdit", QStringLiteral("9")));
  EXPECT_FALSE(w.TypeAndLeave("BaseTimeEdit", QStringLiteral("1.5")));
  EXPECT_EQ(w.user.messages.size(), 3);
  // Leaving the factor checks nothing.
  EXPECT_TRUE(w.TypeAndLeave("ScaleEdit", QStringLiteral("abc")));

  w.user.messages.clear();
  w.Find<QSpinBox>("DigInputHighValCSpinEdit")->setValue(0);  // the other level's value
  EXPECT_EQ(w.user.messages, QStringList{QString::fromUtf8("Os valores dos níveis devem ser diferentes!")});
  EXPECT_EQ(w.Find<QSpinBox>("DigInputHighValCSpinEdit")->value(), 0);
  w.form->FormClose();
}

}  // namespace
