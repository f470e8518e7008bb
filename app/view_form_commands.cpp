// The main window's menu and tool-button commands, its reading and history state, and closing.
#include <QAction>
#include <QCloseEvent>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTimer>
#include <QToolButton>

#include "ui/program_constants.h"
#include "ui/child_windows.h"
#include "app/help_file.h"
#include "app/help_viewer.h"
#include "ui/program_directory.h"
#include "app/view_form.h"

namespace app {
namespace {

template <typename Commands>
Commands* CommandsOf(QWidget* widget) {
  return widget == nullptr ? nullptr : dynamic_cast<Commands*>(widget);
}

}  // namespace

QWidget* TViewForm::ActiveChild() const {
  QMdiSubWindow* sub = mdiArea_->currentSubWindow();
  return sub == nullptr ? nullptr : sub->widget();
}

QList<QWidget*> TViewForm::ChildWindows() const {
  QList<QWidget*> children;
  for (QMdiSubWindow* sub : mdiArea_->subWindowList()) {
    if (sub->widget() != nullptr) children << sub->widget();
  }
  return children;
}

QMdiSubWindow* TViewForm::AddChildWindow(QWidget* child) {
  QMdiSubWindow* sub = mdiArea_->addSubWindow(child);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  child->show();
  mdiArea_->setActiveSubWindow(sub);
  return sub;
}

void TViewForm::ArquivoPopup() {
  exportarHistorico_->setVisible(CommandsOf<ui::HistoryViewerCommands>(ActiveChild()) != nullptr);
}

void TViewForm::OpcoesPopup() {
  configurarGraficoHistorico_->setVisible(CommandsOf<ui::HistoryViewerCommands>(ActiveChild()) != nullptr);
}

void TViewForm::CarregarambienteClick() {
  const auto fileName = ui_.ChooseOpenFile(this, openEnvDialog_);
  if (!fileName) return;
  CloseAllDisplays();
  if (LoadEnvironment(*fileName)) ui_.ShowMessage(this, messages_[kMsgEnvironmentLoaded]);
}

void TViewForm::SalvarambienteClick() {
  const auto fileName = ui_.ChooseSaveFile(this, saveEnvDialog_);
  if (!fileName) return;
  if (QFile::exists(*fileName) && !ui_.AskYesNo(this, messages_[kMsgAttention], messages_[kMsgFileExistsChoice])) {
    return;
  }
  if (SaveEnvironment(*fileName)) ui_.ShowMessage(this, messages_[kMsgEnvironmentSaved]);
}

void TViewForm::AbrirHistoricoClick() {
  if (const auto fileName = ui_.ChooseOpenFile(this, openDialog_)) OpenHistoryFile(*fileName);
}

void TViewForm::ExportarHistoricoClick() {
  auto* viewer = CommandsOf<ui::HistoryViewerCommands>(ActiveChild());
  if (viewer == nullptr || !hooks_.askExport) return;
  const auto request = hooks_.askExport();
  if (!request) return;
  // An empty separator would leave the millisecond separator undefined; "." is the dialog's default.
  const QChar separator = request->separator.isEmpty() ? QLatin1Char('.') : request->separator.front();
  if (viewer->ExportTable(request->fileName, !request->includeMilliseconds, request->millisecondsInOwnColumn,
                          separator)) {
    ui_.ShowMessage(this, messages_[kMsgExportDone]);
  }
}

void TViewForm::ImprimirClick() {
  QWidget* child = ActiveChild();
  if (auto* display = CommandsOf<ui::DisplayWindowCommands>(child)) {
    display->PrintDisplay();
  } else if (auto* viewer = CommandsOf<ui::HistoryViewerCommands>(child)) {
    viewer->PrintHistory();
  }
}

void TViewForm::ImprimirtudoClick() {
  if (hooks_.printAll) hooks_.printAll();
}

void TViewForm::FecharClick() { close(); }

void TViewForm::ConfiguraAparelhoClick() {
  if (hooks_.configureDevice) hooks_.configureDevice();
}

void TViewForm::NovaJanelaClick() {
  if (!hooks_.newDisplayWindow) return;
  try {
    if (QWidget* window = hooks_.newDisplayWindow()) AddChildWindow(window);
  } catch (...) {
    // A window that could not be made is simply not there; the wizard opens on the active one.
  }
  configurarJanela_->setEnabled(true);
  setupWindowToolButton_->setEnabled(true);
  ConfigurarJanelaClick();
}

void TViewForm::ConfigurarJanelaClick() {
  if (auto* display = CommandsOf<ui::DisplayWindowCommands>(ActiveChild())) display->Configure();
}

void TViewForm::FecharJanelaClick() {
  if (QMdiSubWindow* sub = mdiArea_->currentSubWindow()) sub->close();
}

void TViewForm::EmcascataClick() { mdiArea_->cascadeSubWindows(); }

void TViewForm::LadoaladoClick() { mdiArea_->tileSubWindows(); }

void TViewForm::ConfigurarClick() { ShowReadingsConfig(); }

void TViewForm::ShowReadingsConfig() {
  if (!hooks_.showReadingsDialog) return;
  const auto result = hooks_.showReadingsDialog();
  if (!result) return;
  if (result->logEnabled) {
    EnableHistory();
  } else {
    DisableHistory();
  }
  errorValue_ = result->errorValue;
  trigger_ = result->trigger;
}

std::optional<std::vector<TriggerSourceEntry>> TViewForm::ListRecordableValues() {
  if (!hooks_.listRecordableValues) return std::nullopt;
  return hooks_.listRecordableValues();
}

void TViewForm::DesabilitarClick() { DisableHistory(); }

void TViewForm::DisableHistToolButtonClick() {
  if (ui_.AskYesNo(this, messages_[kMsgStopHistoryCaption], messages_[kMsgStopHistoryQuestion])) DisableHistory();
}

void TViewForm::ConfigurarGraficoHistoricoClick() {
  if (auto* viewer = CommandsOf<ui::HistoryViewerCommands>(ActiveChild())) viewer->ConfigurePens();
}

void TViewForm::IniciarClick() { StartReadings(); }

void TViewForm::PararClick() { StopReadings(); }

void TViewForm::ConteudoClick() { OnAppHelp(kHelpContents, 0); }

void TViewForm::SobreClick() {
  if (aboutDialog_) ui_.RunModal(aboutDialog_);
}

void TViewForm::UpdaterTimerTimer() {
  if (!hooks_.updaterTick) return;
  if (!fastReading_) {
    hooks_.updaterTick();
    return;
  }
  // A fast tick may open a message box, whose event loop would run this timer again: it is
  // off for the tick and on again afterwards, however the tick ends, unless the run stopped.
  updaterTimer_->stop();
  struct Restart {
    TViewForm& view;
    ~Restart() {
      if (view.reading_) view.updaterTimer_->start();
    }
  } restart{*this};
  hooks_.updaterTick();
}

void TViewForm::ErrorTimerTimer() {
  statusPanel1_->setText(errorText_);
  statusPanel1_->setFrameShadow(statusPanel1_->frameShadow() != QFrame::Sunken ? QFrame::Sunken : QFrame::Raised);
}

void TViewForm::StartErrorBlink() { errorTimer_->start(); }

bool TViewForm::OnAppHelp(quint16 command, qint32 data) {
  const QString path = QFile::decodeName(QByteArray::fromStdString(ui::ProgramFilePath(kHelpFileName)));
  if (command == kHelpContext || command == kHelpContextPopup) {
    help_.ShowContext(path, data);
  } else {
    help_.ShowDefaultTopic(path);
  }
  return true;
}

void TViewForm::StartReadings() {
  if (reading_ || !hooks_.startReadings) return;
  const auto run = hooks_.startReadings();
  if (run) EnterReadingState(*run);
}

void TViewForm::StopReadings() {
  if (!reading_) return;
  if (hooks_.stopReadings) hooks_.stopReadings();
  LeaveReadingState();
}

void TViewForm::SetWindowCommandsEnabled() {
  const bool idle = !reading_;
  for (QAction* action : {iniciar_, configuraAparelho_, configurar_, novaJanela_, configurarJanela_, fecharJanela_,
                          carregarambiente_, salvarambiente_}) {
    action->setEnabled(idle);
  }
  for (QToolButton* button :
       {startToolButton_, setupDeviceToolButton_, setupHistToolButton_, newWindowToolButton_, setupWindowToolButton_}) {
    button->setEnabled(idle);
  }
  parar_->setEnabled(!idle);
  stopToolButton_->setEnabled(!idle);
}

void TViewForm::EnterReadingState(const ReadingRunInfo& run) {
  reading_ = true;
  fastReading_ = run.fast;
  SetWindowCommandsEnabled();
  if (run.fast) {
    statusPanel1_->setText(messages_[kMsgReadingFast] + QStringLiteral("."));
    updaterTimer_->setInterval(5);
  } else {
    statusPanel1_->setText(messages_[kMsgReadingSlow] + QStringLiteral(". ") + messages_[kMsgReadingRate] +
                           QStringLiteral(": ") + QString::number(run.readIntervalMs) + QStringLiteral(" ms"));
    updaterTimer_->setInterval(25);
  }
  updaterTimer_->start();
}

void TViewForm::LeaveReadingState() {
  updaterTimer_->stop();
  errorTimer_->stop();
  reading_ = false;
  fastReading_ = false;
  statusPanel1_->setText(messages_[kMsgReadingsSuspended]);
  statusPanel1_->setFrameShadow(QFrame::Sunken);
  SetWindowCommandsEnabled();
}

QString TViewForm::HistoryFileName() const { return hooks_.historyFileName ? hooks_.historyFileName() : QString(); }

void TViewForm::EnableHistory() {
  historyOn_ = true;
  if (hooks_.setLogEnabled) hooks_.setLogEnabled(true);
  ShowHistoryWaiting(HistoryFileName());
  desabilitar_->setEnabled(true);
  disableHistToolButton_->setEnabled(true);
}

void TViewForm::DisableHistory() {
  historyOn_ = false;
  if (hooks_.setLogEnabled) hooks_.setLogEnabled(false);
  statusPanel0_->setText(messages_[kMsgHistory] + QStringLiteral(": ") + messages_[kMsgDisabled]);
  desabilitar_->setEnabled(false);
  disableHistToolButton_->setEnabled(false);
}

void TViewForm::ShowHistoryRecording(const QString& fileName) {
  statusPanel0_->setText(messages_[kMsgHistory] + QStringLiteral(" (") + messages_[kMsgRecording] +
                         QStringLiteral("): ") + fileName);
}

void TViewForm::ShowHistoryWaiting(const QString& fileName) {
  statusPanel0_->setText(messages_[kMsgHistory] + QStringLiteral(" (") + messages_[kMsgWaiting] +
                         QStringLiteral("): ") + fileName);
}

void TViewForm::closeEvent(QCloseEvent* event) {
  if (!closed_) {
    closed_ = true;
    // Stopped first, so the saved workspace is that of a stopped run.
    StopReadings();
    SaveEnvironment(QFile::decodeName(QByteArray::fromStdString(ui::ProgramFilePath(ui::kLastEnvironmentFileName))));
    mdiArea_->closeAllSubWindows();
    help_.CloseAll();
  }
  event->accept();
}

}  // namespace app
