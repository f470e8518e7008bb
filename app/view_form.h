#pragma once
// The program's main window: an MDI frame with the menus, the tool bar and the status bar,
// the table of interface messages, the command line and dropped files, help requests and
// the close sequence. Acquisition, the environment file, the dialogs of other subsystems and
// the child windows plug in through MainWindowHooks.
#include <QDialog>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include "app/main_window_hooks.h"
#include "app/main_window_messages.h"
#include "ui/main_window_services.h"
#include "ui/user_interaction.h"

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class QToolBar;
class QToolButton;

namespace app {

class HelpViewer;
class HelpKeyFilter;

class TViewForm : public QMainWindow, public ui::MainWindowServices {
  Q_OBJECT

 public:
  // Help commands of the help handler.
  static constexpr quint16 kHelpContext = 1;
  static constexpr quint16 kHelpContents = 3;
  static constexpr quint16 kHelpContextPopup = 8;

  TViewForm(ui::UserInteraction& ui, HelpViewer& help, QWidget* parent = nullptr);
  ~TViewForm() override;

  MainWindowHooks& Hooks() { return hooks_; }
  void SetAboutDialog(QDialog* about) { aboutDialog_ = about; }

  // Services for other windows.
  float GetErrorValue() const override { return errorValue_; }
  void SetErrorValue(float value) { errorValue_ = value; }
  QString GetExportSuccessMessage() const override { return messages_[kMsgExportDone]; }
  QString MenuItemCaption(const QString& objectName) const override;
  void OpenHistoryFile(const QString& fileName) override;

  const MainWindowMessages& Messages() const { return messages_; }
  const ui::FileDialogRequest& OpenEnvDialog() const { return openEnvDialog_; }
  const ui::FileDialogRequest& SaveEnvDialog() const { return saveEnvDialog_; }
  const ui::FileDialogRequest& OpenDialog() const { return openDialog_; }

  // Start-up: the environment named on the command line (or "lasttime.env"), then every
  // history file named on it.
  void ProcessCommandLine(const QStringList& arguments);
  // Files dropped on the window.
  void HandleDroppedFiles(const QStringList& fileNames);

  // Asks, then closes every display window (history viewers stay).
  void CloseAllDisplays();
  bool LoadEnvironment(const QString& fileName, EnvironmentSource source = EnvironmentSource::kNamed);
  bool SaveEnvironment(const QString& fileName);

  // The application's help handler: commands 1 and 8 show the topic of a context number,
  // any other command the default topic.
  bool OnAppHelp(quint16 command, qint32 data);

  // Reading state, switched by the acquisition.
  bool Reading() const { return reading_; }
  void StartReadings();
  void StopReadings();
  void EnterReadingState(const ReadingRunInfo& run);
  void LeaveReadingState();

  // History recording state and its status text.
  bool HistoryOn() const { return historyOn_; }
  void EnableHistory();
  void DisableHistory();
  void ShowHistoryRecording(const QString& fileName);
  void ShowHistoryWaiting(const QString& fileName);
  const TriggerSettings& Trigger() const { return trigger_; }
  // The values the display windows show that can trigger history recording.
  std::optional<std::vector<TriggerSourceEntry>> ListRecordableValues();
  void SetTrigger(const TriggerSettings& trigger) { trigger_ = trigger; }

  // Communication failure: the text that the error timer blinks in status panel 1.
  void SetErrorText(const QString& text) { errorText_ = text; }
  const QString& ErrorText() const { return errorText_; }
  void StartErrorBlink();

  QMdiArea* MdiArea() const { return mdiArea_; }
  // The active child window's widget, or null.
  QWidget* ActiveChild() const;
  // The widgets of the open child windows in the area's order.
  QList<QWidget*> ChildWindows() const;
  // Puts a child window into the MDI area, shows it and makes it active.
  QMdiSubWindow* AddChildWindow(QWidget* child);

  QLabel* StatusPanel(int index) const { return index == 0 ? statusPanel0_ : statusPanel1_; }
  QTimer* UpdaterTimer() const { return updaterTimer_; }
  QTimer* ErrorTimer() const { return errorTimer_; }

 public slots:
  // Menu and tool-button handlers.
  void ArquivoPopup();
  void OpcoesPopup();
  void CarregarambienteClick();
  void SalvarambienteClick();
  void AbrirHistoricoClick();
  void ExportarHistoricoClick();
  void ImprimirClick();
  void ImprimirtudoClick();
  void FecharClick();
  void ConfiguraAparelhoClick();
  void NovaJanelaClick();
  void ConfigurarJanelaClick();
  void FecharJanelaClick();
  void EmcascataClick();
  void LadoaladoClick();
  void ConfigurarClick();
  void DesabilitarClick();
  void ConfigurarGraficoHistoricoClick();
  void IniciarClick();
  void PararClick();
  void ConteudoClick();
  void SobreClick();
  void DisableHistToolButtonClick();
  void UpdaterTimerTimer();
  void ErrorTimerTimer();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildMenus();
  void BuildToolBar();
  void BuildStatusBar();
  void Translate();
  void BuildDialogSpecs();
  void ShowReadingsConfig();
  void SetWindowCommandsEnabled();
  void CloseDisplayWindows();
  void RunHistoryOpen(const QString& fileName);
  QString HistoryFileName() const;
  QAction* AddItem(QMenu* menu, const char* name, const char* caption, void (TViewForm::*handler)());
  QAction* AddSeparator(QMenu* menu, const char* name);
  QToolButton* AddToolButton(const char* name, const char* hint, const char* caption, int icon,
                             void (TViewForm::*handler)());

  ui::UserInteraction& ui_;
  HelpViewer& help_;
  MainWindowHooks hooks_;
  QPointer<QDialog> aboutDialog_;
  HelpKeyFilter* helpKeys_ = nullptr;
  QObject* dialogModality_ = nullptr;

  MainWindowMessages messages_;
  QString errorText_;
  float errorValue_ = 0.0f;
  bool reading_ = false;
  bool fastReading_ = false;
  bool historyOn_ = false;
  TriggerSettings trigger_;
  bool closed_ = false;

  ui::FileDialogRequest openEnvDialog_;
  ui::FileDialogRequest saveEnvDialog_;
  ui::FileDialogRequest openDialog_;

  QMdiArea* mdiArea_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QLabel* statusPanel0_ = nullptr;
  QLabel* statusPanel1_ = nullptr;
  QTimer* updaterTimer_ = nullptr;
  QTimer* errorTimer_ = nullptr;

  QMenu* arquivo_ = nullptr;
  QMenu* configuracao_ = nullptr;
  QMenu* janela_ = nullptr;
  QMenu* opcoes_ = nullptr;
  QMenu* ajuda_ = nullptr;
  QAction* carregarambiente_ = nullptr;
  QAction* salvarambiente_ = nullptr;
  QAction* abrirHistorico_ = nullptr;
  QAction* exportarHistorico_ = nullptr;
  QAction* imprimir_ = nullptr;
  QAction* imprimirtudo_ = nullptr;
  QAction* fechar_ = nullptr;
  QAction* configuraAparelho_ = nullptr;
  QAction* novaJanela_ = nullptr;
  QAction* configurarJanela_ = nullptr;
  QAction* fecharJanela_ = nullptr;
  QAction* emcascata_ = nullptr;
  QAction* ladoalado_ = nullptr;
  QAction* configurar_ = nullptr;
  QAction* desabilitar_ = nullptr;
  QAction* configurarGraficoHistorico_ = nullptr;
  QAction* iniciar_ = nullptr;
  QAction* parar_ = nullptr;
  QAction* conteudo_ = nullptr;
  QAction* sobre_ = nullptr;

  QToolButton* setupDeviceToolButton_ = nullptr;
  QToolButton* newWindowToolButton_ = nullptr;
  QToolButton* setupWindowToolButton_ = nullptr;
  QToolButton* setupHistToolButton_ = nullptr;
  QToolButton* openHistToolButton_ = nullptr;
  QToolButton* startToolButton_ = nullptr;
  QToolButton* stopToolButton_ = nullptr;
  QToolButton* disableHistToolButton_ = nullptr;
};

}  // namespace app
