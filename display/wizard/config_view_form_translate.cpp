// TConfigViewForm: the dialog's texts from the language file.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "display/wizard/config_view_form.h"
#include "ui/radio_group.h"
#include "ui/language_qt.h"

namespace {

ui::QtTextTarget PageOf(QTabWidget* tabs, int index) {
  return [tabs, index](const QString& t) { tabs->setTabText(index, t); };
}

ui::QtTextTarget TitleOfGroup(QGroupBox* group) {
  return [group](const QString& t) { group->setTitle(t); };
}

ui::QtTextTarget TextOfEdit(QLineEdit* edit) {
  return [edit](const QString& t) { edit->setText(t); };
}

}  // namespace

void TConfigViewForm::Translate() {
  auto label = [this](const char* name) { return ui::TextOf(findChild<QLabel*>(QLatin1String(name))); };
  auto button = [this](const char* name) {
    return ui::TextOf(static_cast<QAbstractButton*>(findChild<QPushButton*>(QLatin1String(name))));
  };
  auto check = [this](const char* name) {
    return ui::TextOf(static_cast<QAbstractButton*>(findChild<QCheckBox*>(QLatin1String(name))));
  };
  auto tabs = [this](const char* name) { return findChild<QTabWidget*>(QLatin1String(name)); };
  auto kindName = [this](size_t i) { return ui::Into(kindNames_[i]); };
  QTabWidget* gauge = tabs("GaugePageControl");
  QTabWidget* chart = tabs("ChartPageControl");
  QTabWidget* bar = tabs("BarPageControl");
  QTabWidget* ameter = tabs("AMeterPageControl");

  ui::ApplyLanguageTexts(
      kLanguageHeading,
      {ui::TitleOf(this), ui::TextOf(static_cast<QAbstractButton*>(cancelBitBtn_)),
       ui::TextOf(static_cast<QAbstractButton*>(backBitBtn_)), ui::TextOf(static_cast<QAbstractButton*>(nextBitBtn_)),
       ui::TextOf(static_cast<QAbstractButton*>(closeBitBtn_)), ui::Into(referenceText_), ui::Into(rangeText_),
       kindName(0), kindName(1), kindName(2), kindName(3), kindName(4), kindName(5), ui::TextOf(previewLabel_),
       TitleOfGroup(howRadioGroup_), TitleOfGroup(whatRadioGroup_),
       PageOf(gauge, 0), PageOf(gauge, 1), PageOf(gauge, 2),
       TitleOfGroup(findChild<QGroupBox*>(QStringLiteral("GaugeGroupBox"))), label("MinGaugeValLabel"),
       label("MaxGaugeValLabel"), label("AngleLabel"), label("MainTicksLabel"), check("GaugeCenterCheckBox"),
       check("GaugeHighCheckBox"), check("GaugeMediumCheckBox"), check("GaugeLowCheckBox"),
       button("GaugeNeedleColorButton"), button("GaugeBackColorButton"), button("GaugeTextColorButton"),
       button("GaugeCenterColorButton"),
       PageOf(chart, 0), PageOf(chart, 1), PageOf(chart, 2),
       check("AutoScaleYCheckBox"), label("MinValLabel"), label("MaxValLabel"), label("TimeDisplayedLabel"),
       label("LineThicknessLabel"), check("Ref1CheckBox"), check("Ref2CheckBox"), label("RefValLabel"),
       label("RefNameLabel"), button("ColorButton"), button("BackColorButton"), label("AllListViewHeader"),
       label("SelectedListViewHeader"), button("ClearSelButton"),
       TextOfEdit(findChild<QLineEdit*>(QStringLiteral("Ref1LineTextEdit"))),
       TextOfEdit(findChild<QLineEdit*>(QStringLiteral("Ref2LineTextEdit"))), label("LedDigNumberLabel"),
       label("LedThickLabel"), button("Led1ColorButton"), button("Led2ColorButton"), button("Led3ColorButton"),
       label("LedColorLabel"), button("Lcd1ColorButton"), button("Lcd2ColorButton"), button("Lcd3ColorButton"),
       label("BarThicknessLabel"), PageOf(bar, 0), PageOf(bar, 1), label("MeterMinLabel"), label("MeterMaxLabel"),
       check("ShowIncsCheckBox"), label("IncrementLabel"), check("ShowMarkerCheckBox"), button("MeterForeButton"),
       button("MeterBackButton"), button("MeterBackBarButton"), button("MeterMarkerButton"), PageOf(ameter, 1),
       check("LogScaleCheckBox"), check("ShowZonesCheckBox"), label("MinZoneLabel"), label("MaxZoneLabel")});

  // Texts shared with a control of the same meaning elsewhere on the dialog.
  auto copy = [this](auto* to, const QString& text) {
    if (to != nullptr) to->setText(text);
  };
  auto buttonText = [this](const char* name) {
    auto* b = findChild<QAbstractButton*>(QLatin1String(name));
    return b ? b->text() : QString();
  };
  auto labelText = [this](const char* name) {
    auto* l = findChild<QLabel*>(QLatin1String(name));
    return l ? l->text() : QString();
  };
  copy(findChild<QPushButton*>(QStringLiteral("GaugeHighColorButton")), buttonText("GaugeHighCheckBox"));
  copy(findChild<QPushButton*>(QStringLiteral("GaugeMediumColorButton")), buttonText("GaugeMediumCheckBox"));
  copy(findChild<QPushButton*>(QStringLiteral("GaugeLowColorButton")), buttonText("GaugeLowCheckBox"));
  copy(findChild<QLabel*>(QStringLiteral("LcdDigNumberLabel")), labelText("LedDigNumberLabel"));
  copy(findChild<QLabel*>(QStringLiteral("LcdColorLabel")), labelText("LedColorLabel"));
  // The analog meter's pages and captions as the dial gauge's.
  ameter->setTabText(0, gauge->tabText(0));
  ameter->setTabText(2, gauge->tabText(2));
  findChild<QGroupBox*>(QStringLiteral("AMeterGroupBox"))
      ->setTitle(findChild<QGroupBox*>(QStringLiteral("GaugeGroupBox"))->title());
  copy(findChild<QLabel*>(QStringLiteral("MinAMeterLabel")), labelText("MinGaugeValLabel"));
  copy(findChild<QLabel*>(QStringLiteral("MaxAMeterLabel")), labelText("MaxGaugeValLabel"));
  copy(findChild<QLabel*>(QStringLiteral("AMeterAngleLabel")), labelText("AngleLabel"));
  copy(findChild<QLabel*>(QStringLiteral("AMeterTicksLabel")), labelText("MainTicksLabel"));
  copy(findChild<QPushButton*>(QStringLiteral("TextButton")), buttonText("GaugeTextColorButton"));
  copy(findChild<QPushButton*>(QStringLiteral("BackgroundButton")), buttonText("GaugeBackColorButton"));
  copy(findChild<QPushButton*>(QStringLiteral("LowZoneButton")), buttonText("GaugeLowColorButton"));
  copy(findChild<QPushButton*>(QStringLiteral("MidZoneButton")), buttonText("GaugeMediumColorButton"));
  copy(findChild<QPushButton*>(QStringLiteral("HighZoneButton")), buttonText("GaugeHighColorButton"));
}

QString TConfigViewForm::CaptionOf(const QString& objectName) const {
  QWidget* w = findChild<QWidget*>(objectName);
  if (w == nullptr) return {};
  if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
  if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
  if (auto* group = qobject_cast<QGroupBox*>(w)) return group->title();
  for (QWidget* p = w->parentWidget(); p != nullptr; p = p->parentWidget()) {
    if (auto* tabs = qobject_cast<QTabWidget*>(p)) {
      const int index = tabs->indexOf(w);
      if (index >= 0) return tabs->tabText(index);
    }
  }
  return {};
}
