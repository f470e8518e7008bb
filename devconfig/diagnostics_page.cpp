// TConfigForm: the diagnostic page, with the selected instrument's live values.
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <array>
#include <limits>

#include "devconfig/config_form.h"
#include "platform/qt_text.h"
#include "devconfig/diagnostics_texts.h"
#include "devconfig/form_building.h"
#include "instrument/device_interface.h"
#include "ui/help_context.h"

using devconfig::Named;
using devconfig::U;

QWidget* TConfigForm::BuildDiagnosticsPage() {
  devconfig::DiagnosticsWidgets& w = diag_;
  w.page = Named(new QWidget, "DiagTabSheet");
  ui::SetHelpContext(w.page, ui::kHelpContextDeviceDiagnosticsPage);
  QWidget* page = w.page;
  auto* grid = new QGridLayout(page);
  auto readOnly = [page](const char* name) {
    auto* edit = Named(new QLineEdit(page), name);
    edit->setReadOnly(true);
    edit->setFixedWidth(100);
    return edit;
  };
  w.serialNumberLabel = Named(new QLabel(U("Nº de Série"), page), "SerialNumberLabel");
  w.serialNumberEdit = readOnly("SerialNumberEdit");
  w.fwVersionLabel = Named(new QLabel(U("Versão de Firmware"), page), "FwVersionLabel");
  w.firmwareVersionEdit = readOnly("FirmwareVersionEdit");
  grid->addWidget(w.serialNumberLabel, 0, 0);
  grid->addWidget(w.serialNumberEdit, 0, 1, Qt::AlignLeft);
  grid->addWidget(w.fwVersionLabel, 1, 0);
  grid->addWidget(w.firmwareVersionEdit, 1, 1, Qt::AlignLeft);
  grid->setRowMinimumHeight(2, 12);
  w.valueLabel = Named(new QLabel(U("Valor"), page), "ValueLabel");
  QFont bold = w.valueLabel->font();
  bold.setBold(true);
  w.valueLabel->setFont(bold);
  grid->addWidget(w.valueLabel, 3, 1);
  const std::pair<QLabel**, QLabel**> lines[] = {{&w.ch1Label, &w.ch1ValLabel}, {&w.ch2Label, &w.ch2ValLabel},
                                                 {&w.ch3Label, &w.ch3ValLabel}, {&w.digInputLabel, &w.digInpValLabel},
                                                 {&w.countingLabel, &w.countingValLabel}};
  const char* names[][2] = {{"Ch1Label", "Ch1ValLabel"}, {"Ch2Label", "Ch2ValLabel"}, {"Ch3Label", "Ch3ValLabel"},
                            {"DigInputLabel", "DigInpValLabel"}, {"CountingLabel", "CountingValLabel"}};
  const char* captions[] = {"Canal 1", "Canal 2", "Ambiente", "Canal 3", "Contagens"};
  int row = 4;
  for (size_t i = 0; i < std::size(lines); ++i, ++row) {
    *lines[i].first = Named(new QLabel(U(captions[i]), page), names[i][0]);
    *lines[i].second = Named(new QLabel(page), names[i][1]);
    (*lines[i].second)->setMinimumWidth(220);
    grid->addWidget(*lines[i].first, row, 0);
    grid->addWidget(*lines[i].second, row, 1);
  }
  grid->setRowStretch(row, 1);
  grid->setColumnStretch(2, 1);
  return page;
}

void TConfigForm::ShowDiagnosticDigitalLines(bool shown) {
  diag_.digInputLabel->setVisible(shown);
  diag_.digInpValLabel->setVisible(shown);
}

void TConfigForm::PrepareDiagPage() {
  if (!device_) return;
  const bool read = device_->ReadConfiguration();
  const devconfig::DeviceContext device = devconfig::DeviceContext::Of(device_->GetDeviceModel(), device_->regs);
  const devconfig::DiagnosticLabels labels =
      devconfig::PrepareDiagnosticLabels(read, device_->regs, device, DefaultChannelNames());
  diag_.ch1Label->setText(platform::FromCp1252(labels.channel1));
  diag_.ch2Label->setVisible(labels.channel2Shown);
  diag_.ch2ValLabel->setVisible(labels.channel2Shown);
  if (labels.channel2Shown) diag_.ch2Label->setText(platform::FromCp1252(labels.channel2));
  diag_.ch3Label->setVisible(labels.ambientShown);
  diag_.ch3ValLabel->setVisible(labels.ambientShown);
  if (labels.ambientShown) diag_.ch3Label->setText(platform::FromCp1252(labels.ambient));
  diag_.digInputLabel->setText(platform::FromCp1252(labels.digitalInput));
  diag_.countingLabel->setVisible(labels.countingShown);
  diag_.countingValLabel->setVisible(labels.countingShown);
  if (labels.countingShown) diag_.countingLabel->setText(platform::FromCp1252(labels.counting));
}

void TConfigForm::DiagTimerTimer() {
  if (!device_) return;
  std::array<float, 5> values{};
  // A counter beyond a float comes back as NaN and is shown as a value not read.
  const bool read = device_->ReadValues(values.data(), std::numeric_limits<float>::quiet_NaN());
  const devconfig::DeviceContext device = devconfig::DeviceContext::Of(device_->GetDeviceModel(), device_->regs);
  const devconfig::DiagnosticValues texts = devconfig::DiagnosticValueTexts(
      read ? std::optional<std::array<float, 5>>(values) : std::nullopt, device_->regs, device, mark_);
  auto show = [](QLabel* label, const std::optional<std::string>& text) {
    if (text) label->setText(platform::FromCp1252(*text));
  };
  show(diag_.digInpValLabel, texts.digitalInput);
  show(diag_.countingValLabel, texts.counter);
  show(diag_.ch1ValLabel, texts.channel1);
  show(diag_.ch2ValLabel, texts.channel2);
  show(diag_.ch3ValLabel, texts.ambient);
}
