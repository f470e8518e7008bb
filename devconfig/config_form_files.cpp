// TConfigForm: "Salvar configuração" and "Carregar configuração". A file takes the settings the
// pages show; loading one fills the dialog's copy of the block and the pages, and nothing
// reaches the instrument before "Aplica".
#include <QFile>
#include <QTimer>

#include "devconfig/config_file.h"
#include "devconfig/config_form.h"
#include "devconfig/form_building.h"

using devconfig::Msg;

namespace {

std::string LocalPath(const QString& fileName) { return QFile::encodeName(fileName).toStdString(); }

// The message, and below it why the file could not be read or written, when that is known.
QString WithReason(const QString& message, const std::string& reason) {
  return reason.empty() ? message : message + QStringLiteral("\n") + QString::fromLocal8Bit(reason);
}

}  // namespace

bool TConfigForm::SaveConfigFile(const QString& fileName, std::string* error) {
  return devconfig::SaveConfigFile(LocalPath(fileName), regs_, mark_, error);
}

bool TConfigForm::LoadConfigFile(const QString& fileName, std::string* error) {
  return devconfig::LoadConfigFile(LocalPath(fileName), regs_, error);
}

void TConfigForm::SaveCfgBitBtnClick() {
  if (!device_ || !blockRead_) return;
  const std::optional<QString> file = ui_.ChooseSaveFile(this, cfgDialog_);
  if (!file) return;
  DeviceRegs edited;
  if (!TakePages(edited)) return;
  regs_ = edited;
  std::string error;
  if (SaveConfigFile(*file, &error)) Show(Msg::ConfigurationSaved);
  else ShowText(WithReason(Message(Msg::ConfigurationSaveFailed), error));
}

void TConfigForm::LoadCfgBitBtnClick() {
  if (!device_ || !blockRead_) return;
  const std::optional<QString> file = ui_.ChooseOpenFile(this, cfgDialog_);
  if (!file) return;
  StopDiagTimer();
  std::string error;
  const bool loaded = LoadConfigFile(*file, &error);
  if (loaded) {
    // The selected instrument's model and sensor kind decide the pages: a file never changes them.
    loading_ = true;
    FillPages();
    loading_ = false;
    ApplyAmbientEnableRule();
  }
  // The live values go on whatever the file held.
  if (DiagActive()) {
    PrepareDiagPage();
    StartDiagTimer();
  }
  ShowScanInterval();
  if (loaded) Show(Msg::ConfigurationLoaded);
  else ShowText(WithReason(Message(Msg::ConfigurationLoadFailed), error));
}
