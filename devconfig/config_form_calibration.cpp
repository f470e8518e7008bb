// TConfigForm: the calibration pages and the configuration file buttons. The pages exist and
// are shown by model (custom calibration of the probe, with its humidity sub-page for the
// humidity probe; factory calibration of model 0); their contents, the file buttons' work and
// the certificate come with the calibration work, which fills in the hooks below.
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "devconfig/config_form.h"
#include "platform/qt_text.h"
#include "devconfig/device_context.h"
#include "devconfig/form_building.h"
#include "ui/help_context.h"
#include "ui/language_qt.h"

using devconfig::Named;
using devconfig::U;

void TConfigForm::BuildCalibrationPages() {
  calibration_.customCalibPage = Named(new QWidget, "CustomCalibTabSheet");
  auto* layout = new QVBoxLayout(calibration_.customCalibPage);
  calibration_.customCalibPageControl =
      Named(new QTabWidget(calibration_.customCalibPage), "CustomCalibPageControl");
  ui::SetHelpContext(calibration_.customCalibPageControl, ui::kHelpContextDeviceCustomCalibration);
  calibration_.rhPage = Named(new QWidget, "RHTabSheet");
  calibration_.temperaturePage = Named(new QWidget, "TemperatureTabSheet");
  calibration_.customCalibPageControl->addTab(calibration_.rhPage, U("Umidade"));
  calibration_.customCalibPageControl->addTab(calibration_.temperaturePage, U("Temperatura"));
  layout->addWidget(calibration_.customCalibPageControl);

  calibration_.calibPage = Named(new QWidget, "CalibTabSheet");
  ui::SetHelpContext(calibration_.calibPage, ui::kHelpContextDeviceCalibration);
  // Until the configuration files can be written and read, their buttons do nothing.
  saveCfgBitBtn_->setEnabled(false);
  loadCfgBitBtn_->setEnabled(false);
}

void TConfigForm::AddCalibrationLanguageTargets(std::vector<ui::LanguageTextTarget>& targets) {
  QTabWidget* sub = calibration_.customCalibPageControl;
  targets[67 - 1] = [sub](const std::string& t) { sub->setTabText(0, platform::FromCp1252(t)); };
  targets[68 - 1] = [sub](const std::string& t) { sub->setTabText(1, platform::FromCp1252(t)); };
  // Lines 72 to 82 belong to the calibration pages' controls.
}

void TConfigForm::FillCustomCalibPage() {
  calibration_.customCalibPageControl->setTabVisible(0, VisiblePages(context_).humidityCalibration);
}

void TConfigForm::PrepareFactoryCalibrationPage() {}

void TConfigForm::SaveCfgBitBtnClick() {}

void TConfigForm::LoadCfgBitBtnClick() {}
