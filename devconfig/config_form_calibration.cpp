// TConfigForm: the two calibration pages as a whole (the custom calibration of the probe with
// its "Umidade" and "Temperatura" sub-pages, the factory calibration of model 0) and their
// lines of the language section. Each page's work is in its own file.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "devconfig/config_form.h"
#include "devconfig/form_building.h"
#include "platform/qt_text.h"
#include "ui/help_context.h"

using devconfig::Named;
using devconfig::U;

void TConfigForm::BuildCalibrationPages() {
  calibration_.customCalibPage = Named(new QWidget, "CustomCalibTabSheet");
  auto* layout = new QVBoxLayout(calibration_.customCalibPage);
  calibration_.customCalibPageControl =
      Named(new QTabWidget(calibration_.customCalibPage), "CustomCalibPageControl");
  ui::SetHelpContext(calibration_.customCalibPageControl, ui::kHelpContextDeviceCustomCalibration);
  calibration_.customCalibPageControl->addTab(BuildCustomCalibrationSubPage(true), U("Umidade"));
  calibration_.customCalibPageControl->addTab(BuildCustomCalibrationSubPage(false), U("Temperatura"));
  layout->addWidget(calibration_.customCalibPageControl);
  connect(ch1_.dewPointCheckBox, &QCheckBox::clicked, this, &TConfigForm::DewPointCheckBoxClick);
  BuildFactoryCalibrationPage();
}

void TConfigForm::AddCalibrationLanguageTargets(std::vector<ui::LanguageTextTarget>& targets) {
  auto set = [&targets](size_t line, std::function<void(const QString&)> target) {
    targets[line - 1] = [target](const std::string& t) { target(platform::FromCp1252(t)); };
  };
  QTabWidget* sub = calibration_.customCalibPageControl;
  set(67, [sub](const QString& t) { sub->setTabText(0, t); });
  set(68, [sub](const QString& t) { sub->setTabText(1, t); });
  // Lines 72 to 77 name a control of each sub-page, 78 and 79 the three "Ler" and "Escrever".
  using Button = QPushButton* devconfig::CustomCalibrationWidgets::*;
  const std::pair<size_t, Button> subPageButtons[] = {
      {72, &devconfig::CustomCalibrationWidgets::addButton},
      {73, &devconfig::CustomCalibrationWidgets::delRowButton},
      {74, &devconfig::CustomCalibrationWidgets::delAllButton},
      {76, &devconfig::CustomCalibrationWidgets::applyButton},
      {77, &devconfig::CustomCalibrationWidgets::reportButton},
  };
  for (const auto& [line, button] : subPageButtons) {
    set(line, [this, button](const QString& t) {
      for (bool humidity : {true, false}) (SubPage(humidity).*button)->setText(t);
    });
  }
  set(75, [this](const QString& t) {
    for (bool humidity : {true, false}) SubPage(humidity).lastCalDateLabel->setText(t);
  });
  set(78, [this](const QString& t) {
    for (auto* c : {&calibration_.offset, &calibration_.gain, &calibration_.ambient}) c->readButton->setText(t);
  });
  set(79, [this](const QString& t) {
    for (auto* c : {&calibration_.offset, &calibration_.gain, &calibration_.ambient}) c->writeButton->setText(t);
  });
  set(80, [this](const QString& t) { calibration_.offsetGroupBox->setTitle(t); });
  set(81, [this](const QString& t) { calibration_.gainGroupBox->setTitle(t); });
  set(82, [this](const QString& t) { calibration_.warningMemo->setText(t); });
}

void TConfigForm::FinishCalibrationPages() {
  // Texts the pages take from others, as the language file left them.
  calibration_.ch1RadioButton->setText(configPageControl_->tabText(kCh1Page));
  calibration_.ch2RadioButton->setText(configPageControl_->tabText(kCh2Page));
  calibration_.ambientLabel->setText(configPageControl_->tabText(kCh3Page));
  const QStringList headers = CalibrationGridHeaders();
  for (bool humidity : {true, false}) {
    devconfig::CustomCalibrationWidgets& w = SubPage(humidity);
    w.grid->setHorizontalHeaderLabels(headers);
    w.realValueLabel->setText(headers[1]);
    w.measuredValueLabel->setText(headers[2]);
  }
  FillFactoryTypeList();
}

QString TConfigForm::CalibrationSubPageCaption(bool humidity) const {
  return calibration_.customCalibPageControl->tabText(humidity ? 0 : 1);
}

QStringList TConfigForm::CalibrationGridHeaders() const {
  QStringList headers;
  for (const std::string& h : texts_.gridHeaders) headers << platform::FromCp1252(h);
  return headers;
}
