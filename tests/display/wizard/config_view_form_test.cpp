// The wizard's window without instruments: the range rules on its controls, the digit and
// period rules, the preview, the colour list and the language file.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include "controls/analog_meter.h"
#include "controls/digit_display.h"
#include "controls/segment_indicator.h"
#include "display/wizard/color_circle.h"
#include "ui/radio_group.h"
#include "qcustomplot.h"
#include "tests/display/wizard/wizard_fixture.h"
#include "ui/help_context.h"
#include "ui/language_file.h"

namespace {

using wizardtest::WizardWorld;

DisplayConfig KindConfig(DisplayKind kind) { return DisplayConfig::NewElementDefaults(kind); }

// The wizard opened on a record and taken to its settings step (no device: step 1 is passed
// over by pressing "Próximo" through code, as the record's value stays).
void OpenAtSettings(WizardWorld& w, DisplayKind kind) {
  w.form->SetConfig(KindConfig(kind));
  w.form->FormShow();
  w.form->NextClick();
  w.form->NextClick();
  ASSERT_EQ(w.form->Step(), 2);
}

DisplayConfig Taken(const WizardWorld& w) {
  DisplayConfig c;
  w.form->GetConfig(c);
  return c;
}

TEST(WizardRangeEdits, ChartMinimumAndMaximum) {
  WizardWorld w;
  OpenAtSettings(w, DisplayKind::Chart);
  w.Type("ChartMinValEdit", "150");  // maximum 100
  EXPECT_EQ(w.UpDown("ChartMinValUpDown")->Position(), 150);
  EXPECT_EQ(w.UpDown("ChartMaxValUpDown")->Position(), 151);
  EXPECT_EQ(w.form->PreviewChart()->yAxis->range().lower, 150);
  EXPECT_EQ(w.form->Walk().Minimum(), 150);

  w.Type("ChartMinValEdit", "12.7");
  EXPECT_EQ(Taken(w).Chart().yMin, 12);
  EXPECT_EQ(w.Find<QLineEdit>("ChartMinValEdit")->text(), "12");

  // No room above the top of the range for a maximum: refused, the old minimum comes back.
  w.Type("ChartMinValEdit", "32767");
  EXPECT_EQ(w.UpDown("ChartMinValUpDown")->Position(), 12);
  EXPECT_EQ(w.Find<QLineEdit>("ChartMinValEdit")->text(), "12");
  w.Type("ChartMinValEdit", "1e20");
  EXPECT_EQ(Taken(w).Chart().yMin, 12);
  EXPECT_EQ(Taken(w).Chart().yMax, 151);
  w.Type("ChartMinValEdit", "abc");
  EXPECT_EQ(w.Find<QLineEdit>("ChartMinValEdit")->text(), "12");

  w.Type("ChartMaxValEdit", "-32767");
  EXPECT_EQ(Taken(w).Chart().yMax, 151);
  w.UpDown("ChartMaxValUpDown")->SetPosition(13);
  w.UpDown("ChartMaxValUpDown")->StepBy(-1);  // reaches the minimum: it moves down
  EXPECT_EQ(Taken(w).Chart().yMax, 12);
  EXPECT_EQ(Taken(w).Chart().yMin, 11);
}

TEST(WizardRangeEdits, GaugeZonesSwitchOffWhenTheRangePassesThem) {
  WizardWorld w;
  OpenAtSettings(w, DisplayKind::DialGauge);
  w.Find<QCheckBox>("GaugeLowCheckBox")->setChecked(true);
  w.Find<QCheckBox>("GaugeMediumCheckBox")->setChecked(true);
  w.Find<QCheckBox>("GaugeHighCheckBox")->setChecked(true);
  w.Find<QSpinBox>("GaugeHighCSpinEdit")->setValue(25);
  EXPECT_TRUE(w.Find<QPushButton>("GaugeLowColorButton")->isEnabled());
  w.Type("MinGaugeValEdit", "22");  // low threshold 20: the low zone goes
  EXPECT_FALSE(w.Find<QCheckBox>("GaugeLowCheckBox")->isChecked());
  EXPECT_TRUE(w.Find<QCheckBox>("GaugeMediumCheckBox")->isChecked());
  EXPECT_FALSE(w.Find<QPushButton>("GaugeLowColorButton")->isEnabled());
  w.Type("MinGaugeValEdit", "30");  // high threshold 25 too: the middle zone goes
  EXPECT_FALSE(w.Find<QCheckBox>("GaugeMediumCheckBox")->isChecked());
  const DialSettings s = Taken(w).Dial();
  EXPECT_EQ(s.min, 30);
  EXPECT_FALSE(s.lowOn || s.midOn);
  EXPECT_TRUE(s.highOn);
  EXPECT_EQ(s.mainTicks, 5);  // shown as 6
}

TEST(WizardRangeEdits, MeterZonesFollowAWideRange) {
  WizardWorld w;
  OpenAtSettings(w, DisplayKind::AnalogMeter);
  w.Type("MaxAMeterEdit", "500");
  w.Type("MinAMeterEdit", "200");
  EXPECT_EQ(w.UpDown("LowIndUpDown")->Min(), 200);
  EXPECT_EQ(w.UpDown("HighIndUpDown")->Max(), 500);
  w.Type("HighIndEdit", "450");
  w.Type("LowIndEdit", "250");
  w.UpDown("LowIndUpDown")->StepBy(1);
  const MeterSettings s = Taken(w).Meter();
  EXPECT_EQ(s.min, 200);
  EXPECT_EQ(s.max, 500);
  EXPECT_EQ(s.lowZone, 251);
  EXPECT_EQ(s.highZone, 450);
  EXPECT_FLOAT_EQ(w.Find<controls::TAnalogMeter>("AnalogMeter")->HighZoneValue(), 450);
  // A minimum typed above the maximum moves it, as the arrows do.
  w.Type("MinAMeterEdit", "600");
  EXPECT_EQ(Taken(w).Meter().max, 601);
  EXPECT_GE(w.UpDown("LowIndUpDown")->Position(), 600);
}

TEST(WizardRangeEdits, DigitsAndSegmentSize) {
  WizardWorld w;
  OpenAtSettings(w, DisplayKind::LedDigits);
  w.Type("LedDigNumberEdit", "0");
  EXPECT_EQ(w.Find<QLineEdit>("LedDigNumberEdit")->text(), "5");
  EXPECT_EQ(Taken(w).Led().digits, 5);
  w.Type("LedDigNumberEdit", "9");
  EXPECT_EQ(Taken(w).Led().digits, 9);
  EXPECT_EQ(w.UpDown("LedDigNumberUpDown")->Position(), 9);
  EXPECT_EQ(w.form->Walk().Maximum(), 999'999'999);
  w.UpDown("LedThickUpDown")->StepBy(2);
  EXPECT_EQ(Taken(w).Led().segmentSize, 10);
  w.Type("LedThickEdit", "23");
  EXPECT_EQ(Taken(w).Led().segmentSize, 10);

  WizardWorld lcd;
  OpenAtSettings(lcd, DisplayKind::LcdIndicator);
  lcd.UpDown("LcdDigNumberUpDown")->SetPosition(11);
  lcd.UpDown("LcdDigNumberUpDown")->StepBy(1);
  EXPECT_EQ(Taken(lcd).Lcd().digits, 12);
  EXPECT_EQ(lcd.form->Walk().Minimum(), 1 - 100'000'000'000LL);
  lcd.form->TimerTimer();
  const QString shown = lcd.Find<controls::TSegmentIndicator>("LiqCrystal")->Indicatorstring();
  EXPECT_GT(shown.toLongLong(), INT32_MAX);  // past 32 bits, within twelve digits
  EXPECT_LE(shown.size(), 12);
  lcd.Type("LcdDigNumberEdit", "2");
  EXPECT_EQ(lcd.form->Walk().Maximum(), 99);
  EXPECT_EQ(lcd.Find<QWidget>("LiqCrystal")->x(), 97);  // fewer than three digits: narrow
}

TEST(WizardRangeEdits, PeriodOfTheChart) {
  WizardWorld w;
  OpenAtSettings(w, DisplayKind::Chart);
  w.Type("TimeDisplayedMaskEdit", "00:00:00");
  EXPECT_EQ(Taken(w).Chart().visiblePeriod, 0.0);
  EXPECT_TRUE(w.user.messages.isEmpty());
  w.Type("TimeDisplayedMaskEdit", "24:00:00");
  ASSERT_EQ(w.user.messages.size(), 1);
  EXPECT_EQ(w.user.messages.front(), QString::fromUtf8("Período inválido!"));
  EXPECT_EQ(Taken(w).Chart().visiblePeriod, 0.0);
  w.Type("TimeDisplayedMaskEdit", "01:30:00");
  EXPECT_DOUBLE_EQ(Taken(w).Chart().visiblePeriod, 1.5 / 24);
}

TEST(WizardPreview, EveryElementGetsTheWalk) {
  WizardWorld w;
  OpenAtSettings(w, DisplayKind::AnalogMeter);
  w.randoms = {0, 8};  // -4, +4
  w.form->TimerTimer();
  EXPECT_FLOAT_EQ(w.Find<controls::TAnalogMeter>("AnalogMeter")->Value(), 46);
  w.form->TimerTimer();
  EXPECT_FLOAT_EQ(w.Find<controls::TAnalogMeter>("AnalogMeter")->Value(), 50);
  EXPECT_EQ(w.Find<controls::TDigitDisplay>("LedLcd")->Value(), "50");
  EXPECT_EQ(w.Find<controls::TSegmentIndicator>("LiqCrystal")->Indicatorstring(), "50");
}

TEST(WizardPreview, ReferenceLinesAloneMakeTwoColourRows) {
  WizardWorld w;
  OpenAtSettings(w, DisplayKind::Chart);
  w.Find<QCheckBox>("Ref1CheckBox")->setChecked(true);
  w.Find<QCheckBox>("Ref2CheckBox")->setChecked(true);
  ASSERT_NE(w.form->ReferenceSeries(1), nullptr);
  w.Find<QTabWidget>("ChartPageControl")->setCurrentIndex(2);
  ASSERT_EQ(w.form->ColorListButtons().size(), 2u);
  EXPECT_EQ(w.form->ColorListButtons()[0]->geometry(), QRect(50, 12, 125, 25));
  EXPECT_EQ(w.form->ColorListButtons()[1]->geometry(), QRect(50, 48, 125, 25));
  EXPECT_EQ(w.form->ColorListCircles()[1]->geometry(), QRect(30, 52, 15, 15));
  EXPECT_EQ(w.form->ColorListButtons()[1]->text(), QString::fromUtf8("Referência 2"));
  w.colors.answers = {QColor(0, 0, 255)};
  w.form->ColorListButtons()[1]->click();
  EXPECT_EQ(Taken(w).Chart().ref2Color, 0xFF0000u);
  EXPECT_EQ(w.form->ColorListCircles()[1]->Color(), 0xFF0000u);

  w.randoms = {};
  w.Find<QSpinBox>("Ref1ValCSpinEdit")->setValue(70);
  w.form->TimerTimer();
  ASSERT_EQ(w.form->ReferenceSeries(1)->data()->size(), 1);
  EXPECT_EQ(w.form->ReferenceSeries(1)->data()->constBegin()->value, 70);
  // Without a chosen channel the first page comes first again; no rows there.
  w.Find<QTabWidget>("ChartPageControl")->setCurrentIndex(0);
  EXPECT_TRUE(w.form->ColorListButtons().empty());
  w.Find<QCheckBox>("Ref2CheckBox")->setChecked(false);
  EXPECT_EQ(w.form->ReferenceSeries(2), nullptr);
}

TEST(WizardPreview, KindColoursGoToRecordAndElement) {
  WizardWorld w;
  OpenAtSettings(w, DisplayKind::LcdIndicator);
  w.colors.answers = {QColor(0x12, 0x34, 0x56)};
  w.Click("Lcd1ColorButton");
  ASSERT_EQ(w.colors.offered.size(), 1u);
  EXPECT_EQ(w.colors.offered[0], QColor(0x36, 0x36, 0x36));
  EXPECT_EQ(Taken(w).Lcd().onColor, 0x563412u);
  w.Click("Lcd2ColorButton");  // cancelled
  EXPECT_EQ(Taken(w).Lcd().offColor, 0xD3D3D3u);
}

std::string GeneratedSection() {
  std::string text = std::string(TConfigViewForm::kLanguageHeading) + "\r\n";
  for (int i = 1; i <= 77; ++i) text += "T" + std::to_string(i) + "\r\n";
  return text;
}

TEST(WizardLanguage, SeventySevenLinesLandOnTheirControls) {
  ui::ProgramLanguage().LoadFromText("# Outro\r\nx\r\n" + GeneratedSection());
  WizardWorld w;
  ui::ProgramLanguage().Clear();
  TConfigViewForm& f = *w.form;
  auto t = [](int n) { return QStringLiteral("T%1").arg(n); };
  // Lines spread over the section (a line missed would shift those after it), and the copies.
  EXPECT_EQ(f.windowTitle(), t(1));
  EXPECT_EQ(f.CaptionOf("CancelBitBtn"), t(2));
  EXPECT_EQ(f.ReferenceText(), t(6));
  EXPECT_EQ(f.RangeText(), t(7));
  EXPECT_EQ(f.KindNames()[0], t(8));
  EXPECT_EQ(f.KindNames()[5], t(13));
  EXPECT_EQ(w.Find<ui::TRadioGroup>("HowRadioGroup")->ItemText(5), t(13));
  EXPECT_EQ(f.CaptionOf("HowRadioGroup"), t(15));
  EXPECT_EQ(f.CaptionOf("GaugeLowCheckBox"), t(28));
  EXPECT_EQ(f.CaptionOf("GaugeCenterColorButton"), t(32));
  EXPECT_EQ(f.CaptionOf("GaugeLowColorButton"), t(28));  // copies its zone's check box
  EXPECT_EQ(f.CaptionOf("RefNameLabel"), t(44));
  EXPECT_EQ(f.CaptionOf("SelectedListViewHeader"), t(48));
  EXPECT_EQ(w.Find<QLineEdit>("Ref2LineTextEdit")->text(), t(51));
  EXPECT_EQ(f.CaptionOf("LedDigNumberLabel"), t(52));
  EXPECT_EQ(f.CaptionOf("LcdDigNumberLabel"), t(52));
  EXPECT_EQ(f.CaptionOf("LedColorLabel"), t(57));
  EXPECT_EQ(f.CaptionOf("Lcd3ColorButton"), t(60));
  EXPECT_EQ(f.CaptionOf("MeterMarkerButton"), t(72));
  EXPECT_EQ(f.CaptionOf("MaxZoneLabel"), t(77));
  // The analog meter takes the dial gauge's texts.
  EXPECT_EQ(f.CaptionOf("AMeterParamTabSheet"), t(17));
  EXPECT_EQ(f.CaptionOf("AMeterGroupBox"), t(20));
  EXPECT_EQ(f.CaptionOf("TextButton"), t(31));
  EXPECT_EQ(f.CaptionOf("HighZoneButton"), t(26));
  // What the history viewer's pen dialog copies.
  EXPECT_EQ(f.CaptionOf("LineThicknessLabel"), t(40));
  EXPECT_EQ(f.CaptionOf("ColorTabSheet"), t(35));
  EXPECT_EQ(f.CaptionOf("ColorButton"), t(45));
  EXPECT_EQ(f.CaptionOf("BackColorButton"), t(46));
}

TEST(WizardLanguage, ShortSectionKeepsTheRest) {
  ui::ProgramLanguage().LoadFromText(std::string(TConfigViewForm::kLanguageHeading) + "\nConfigure\nCancel\n");
  WizardWorld w;
  ui::ProgramLanguage().Clear();
  EXPECT_EQ(w.form->windowTitle(), "Configure");
  EXPECT_EQ(w.form->CaptionOf("CancelBitBtn"), "Cancel");
  EXPECT_EQ(w.form->CaptionOf("BackBitBtn"), "Voltar");
  EXPECT_EQ(w.form->CaptionOf("ColorTabSheet"), "Cores");
  EXPECT_EQ(w.form->CaptionOf("NoSuchControl"), QString());
}

}  // namespace

namespace {

TEST(WizardSteps, HelpContextsFollowTheStepAndKind) {
  WizardWorld w;
  DisplayConfig c = KindConfig(DisplayKind::BarMeter);
  w.form->SetConfig(c);
  w.form->FormShow();
  EXPECT_EQ(ui::OwnHelpContext(w.form.get()), 17);
  EXPECT_TRUE(w.Find<QPushButton>("BackBitBtn")->isHidden());
  w.form->NextClick();
  EXPECT_EQ(ui::OwnHelpContext(w.form.get()), 14);
  EXPECT_FALSE(w.Find<QPushButton>("NextBitBtn")->isEnabled());  // no device, no value
  w.form->BackClick();
  EXPECT_EQ(ui::OwnHelpContext(w.form.get()), 17);
  w.form->FormClose();
}

}  // namespace
