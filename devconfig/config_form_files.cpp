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

}  // namespace

bool TConfigForm::SaveConfigFile(const QString& fileName) {
  return devconfig::SaveConfigFile(LocalPath(fileName), regs_, mark_);
}

bool TConfigForm::LoadConfigFile(const QString& fileName) {
  return devconfig::LoadConfigFile(LocalPath(fileName), regs_);
}

void TConfigForm::SaveCfgBitBtnClick() {
  if (!device_ || !blockRead_) return;
  const std::optional<QString> file = ui_.ChooseSaveFile(this, cfgDialog_);
  if (!file) return;
  DeviceRegs edited;
  if (!TakePages(edited)) return;
  regs_ = edited;
  Show(SaveConfigFile(*file) ? Msg::ConfigurationSaved : Msg::ConfigurationSaveFailed);
}

void TConfigForm::LoadCfgBitBtnClick() {
  if (!device_ || !blockRead_) return;
  const std::optional<QString> file = ui_.ChooseOpenFile(this, cfgDialog_);
  if (!file) return;
  StopDiagTimer();
  const bool loaded = LoadConfigFile(*file);
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
  Show(loaded ? Msg::ConfigurationLoaded : Msg::ConfigurationLoadFailed);
}
