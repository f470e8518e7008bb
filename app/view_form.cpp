// Creation of the main window: menus, tool bar, status bar, timers, translation, dialogs.
#include "instrument/sensor_names.h"
#include "app/view_form.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "ui/program_constants.h"
#include "ui/dialog_modality.h"
#include "ui/help_context.h"
#include "app/help_viewer.h"
#include "ui/language_file.h"
#include "ui/language_qt.h"
#include "ui/program_directory.h"
#include "app/tool_icons.h"
#include "instrument/sensor_names.h"

namespace app {

// F1 anywhere in the program becomes a context request with the nearest help context of the
// focused control.
class HelpKeyFilter : public QObject {
 public:
  explicit HelpKeyFilter(TViewForm* form) : QObject(form), form_(form) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // The window system's key goes to a window first, which hands it to its focused control (or
    // to itself when none has the focus): that widget is where the search starts.
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) return false;
    const int context = ui::NearestHelpContext(static_cast<QWidget*>(watched));
    if (context != 0) {
      form_->OnAppHelp(TViewForm::kHelpContext, context);
    } else {
      form_->OnAppHelp(TViewForm::kHelpContents, 0);
    }
    return true;
  }

 private:
  TViewForm* form_;
};

namespace {

QString Utf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

TViewForm::TViewForm(ui::UserInteraction& ui, HelpViewer& help, QWidget* parent)
    : QMainWindow(parent), ui_(ui), help_(help) {
  setObjectName(QStringLiteral("ViewForm"));
  setWindowTitle(Utf8(ui::kApplicationTitle));
  ui::SetHelpContext(this, ui::kHelpContextMainWindow);
  resize(960, 680);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }

  mdiArea_ = new QMdiArea(this);
  mdiArea_->setObjectName(QStringLiteral("MdiArea"));
  setCentralWidget(mdiArea_);
  BuildMenus();
  BuildToolBar();
  BuildStatusBar();
  updaterTimer_ = new QTimer(this);
  updaterTimer_->setObjectName(QStringLiteral("UpdaterTimer"));
  updaterTimer_->setInterval(25);
  connect(updaterTimer_, &QTimer::timeout, this, &TViewForm::UpdaterTimerTimer);
  errorTimer_ = new QTimer(this);
  errorTimer_->setObjectName(QStringLiteral("ErrorTimer"));
  errorTimer_->setInterval(1000);
  connect(errorTimer_, &QTimer::timeout, this, &TViewForm::ErrorTimerTimer);

  // The help handler of the whole application, and dialogs that leave the help window usable.
  helpKeys_ = new HelpKeyFilter(this);
  qApp->installEventFilter(helpKeys_);
  dialogModality_ = new ui::DialogModalityFilter(this);
  qApp->installEventFilter(dialogModality_);

  messages_ = BuiltInMainWindowMessages();
  setWindowTitle(windowTitle() + QStringLiteral(" - ") + Utf8(ui::kVersionText));
  setAcceptDrops(true);

  ui::LanguageList& language = ui::ProgramLanguage();
  language.LoadFromFile(ui::ProgramFilePath(ui::kLanguageFileName));
  if (language.Loaded()) Translate();
  // Instruments made from now on take their sensor-kind names from the same file.
  device::InstallSensorNameProvider(
      language.Loaded() ? std::make_shared<device::LanguageLinesSensorNames>(language.Lines()) : nullptr);

  // Built after the translation, so they carry the replaced texts.
  BuildDialogSpecs();
  statusPanel0_->setText(messages_[kMsgHistory] + QStringLiteral(": ") + messages_[kMsgDisabled]);
  updaterTimer_->setInterval(25);
  ui::MainWindow() = this;
}

TViewForm::~TViewForm() {
  if (ui::MainWindow() == this) ui::MainWindow() = nullptr;
  qApp->removeEventFilter(helpKeys_);
  qApp->removeEventFilter(dialogModality_);
}

QAction* TViewForm::AddItem(QMenu* menu, const char* name, const char* caption, void (TViewForm::*handler)()) {
  QAction* action = menu->addAction(QString::fromUtf8(caption));
  action->setObjectName(QString::fromLatin1(name));
  connect(action, &QAction::triggered, this, handler);
  return action;
}

QAction* TViewForm::AddSeparator(QMenu* menu, const char* name) {
  QAction* separator = menu->addSeparator();
  separator->setObjectName(QString::fromLatin1(name));
  return separator;
}

void TViewForm::BuildMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu"));
  auto addMenu = [&](const char* name, const char* caption) {
    QMenu* menu = bar->addMenu(QString::fromUtf8(caption));
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    return menu;
  };

  arquivo_ = addMenu("Arquivo", "Arquivo");
  connect(arquivo_, &QMenu::aboutToShow, this, &TViewForm::ArquivoPopup);
  carregarambiente_ = AddItem(arquivo_, "Carregarambiente", "Carregar ambiente...", &TViewForm::CarregarambienteClick);
  salvarambiente_ = AddItem(arquivo_, "Salvarambiente", "Salvar ambiente...", &TViewForm::SalvarambienteClick);
  AddSeparator(arquivo_, "N4");
  abrirHistorico_ = AddItem(arquivo_, "AbrirHistorico", "Abrir histórico...", &TViewForm::AbrirHistoricoClick);
  exportarHistorico_ =
      AddItem(arquivo_, "ExportarHistorico", "Exportar histórico para...", &TViewForm::ExportarHistoricoClick);
  AddSeparator(arquivo_, "N5");
  imprimir_ = AddItem(arquivo_, "Imprimir", "Imprimir...", &TViewForm::ImprimirClick);
  imprimirtudo_ = AddItem(arquivo_, "Imprimirtudo", "Imprimir tudo...", &TViewForm::ImprimirtudoClick);
  AddSeparator(arquivo_, "N6");
  fechar_ = AddItem(arquivo_, "Fechar", "Fechar", &TViewForm::FecharClick);

  configuracao_ = addMenu("Configuracao", "Configuração");
  configuraAparelho_ =
      AddItem(configuracao_, "ConfiguraAparelho", "Configurar Aparelho...", &TViewForm::ConfiguraAparelhoClick);

  // No list of open windows: the menu ends with its separator.
  janela_ = addMenu("Janela", "Janela");
  novaJanela_ = AddItem(janela_, "NovaJanela", "Nova", &TViewForm::NovaJanelaClick);
  configurarJanela_ = AddItem(janela_, "ConfigurarJanela", "Configurar...", &TViewForm::ConfigurarJanelaClick);
  configurarJanela_->setEnabled(false);
  fecharJanela_ = AddItem(janela_, "FecharJanela", "Fechar", &TViewForm::FecharJanelaClick);
  AddSeparator(janela_, "N2");
  emcascata_ = AddItem(janela_, "Emcascata", "Em cascata", &TViewForm::EmcascataClick);
  ladoalado_ = AddItem(janela_, "Ladoalado", "Lado a lado", &TViewForm::LadoaladoClick);
  AddSeparator(janela_, "N3");

  opcoes_ = addMenu("Opcoes", "Opções");
  connect(opcoes_, &QMenu::aboutToShow, this, &TViewForm::OpcoesPopup);
  configurar_ = AddItem(opcoes_, "Configurar", "Configurar leituras/histórico...", &TViewForm::ConfigurarClick);
  desabilitar_ = AddItem(opcoes_, "Desabilitar", "Desabilitar histórico", &TViewForm::DesabilitarClick);
  desabilitar_->setEnabled(false);
  configurarGraficoHistorico_ = AddItem(opcoes_, "ConfigurarGraficoHistorico", "Configurar gráfico do histórico...",
                                        &TViewForm::ConfigurarGraficoHistoricoClick);
  configurarGraficoHistorico_->setVisible(false);
  AddSeparator(opcoes_, "N1");
  iniciar_ = AddItem(opcoes_, "Iniciar", "Iniciar", &TViewForm::IniciarClick);
  parar_ = AddItem(opcoes_, "Parar", "Parar", &TViewForm::PararClick);
  parar_->setEnabled(false);

  ajuda_ = addMenu("Ajuda", "Ajuda");
  conteudo_ = AddItem(ajuda_, "Conteudo", "Conteúdo...", &TViewForm::ConteudoClick);
  sobre_ = AddItem(ajuda_, "Sobre", "Sobre...", &TViewForm::SobreClick);
}

QToolButton* TViewForm::AddToolButton(const char* name, const char* hint, const char* caption, int icon,
                                      void (TViewForm::*handler)()) {
  auto* button = new QToolButton(toolBar_);
  button->setObjectName(QString::fromLatin1(name));
  button->setToolTip(QString::fromUtf8(hint));
  button->setText(QString::fromUtf8(caption));
  button->setIcon(MakeToolIcon(static_cast<ToolIcon>(icon)));
  button->setIconSize(QSize(24, 24));
  button->setToolButtonStyle(caption[0] == '\0' ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextUnderIcon);
  button->setMinimumSize(39, 38);
  button->setAutoRaise(true);
  connect(button, &QToolButton::clicked, this, handler);
  toolBar_->addWidget(button);
  return button;
}

void TViewForm::BuildToolBar() {
  toolBar_ = new QToolBar(this);
  toolBar_->setObjectName(QStringLiteral("ToolBar"));
  toolBar_->setMovable(false);
  toolBar_->setFloatable(false);
  toolBar_->toggleViewAction()->setEnabled(false);
  addToolBar(Qt::TopToolBarArea, toolBar_);
  auto separator = [&](const char* name) { toolBar_->addSeparator()->setObjectName(QString::fromLatin1(name)); };

  setupDeviceToolButton_ = AddToolButton("SetupDeviceToolButton", "Configurar aparelho...", "",
                                         static_cast<int>(ToolIcon::SetupDevice), &TViewForm::ConfiguraAparelhoClick);
  separator("ToolButton3");
  newWindowToolButton_ = AddToolButton("NewWindowToolButton", "Nova janela...", "Nova",
                                       static_cast<int>(ToolIcon::NewWindow), &TViewForm::NovaJanelaClick);
  setupWindowToolButton_ = AddToolButton("SetupWindowToolButton", "Configurar janela...", "Configurar...",
                                         static_cast<int>(ToolIcon::SetupWindow), &TViewForm::ConfigurarJanelaClick);
  setupWindowToolButton_->setEnabled(false);
  separator("ToolButton1");
  setupHistToolButton_ = AddToolButton("SetupHistToolButton", "Configurar leituras e histórico...", "Configurar...",
                                       static_cast<int>(ToolIcon::SetupHistory), &TViewForm::ConfigurarClick);
  separator("ToolButton4");
  openHistToolButton_ = AddToolButton("OpenHistToolButton", "Abrir histórico...", "Abrir...",
                                      static_cast<int>(ToolIcon::OpenHistory), &TViewForm::AbrirHistoricoClick);
  separator("ToolButton2");
  startToolButton_ = AddToolButton("StartToolButton", "Iniciar", "Iniciar", static_cast<int>(ToolIcon::Start),
                                   &TViewForm::IniciarClick);
  stopToolButton_ = AddToolButton("StopToolButton", "Parar", "Parar", static_cast<int>(ToolIcon::Stop),
                                  &TViewForm::PararClick);
  stopToolButton_->setEnabled(false);
  separator("ToolButton7");
  disableHistToolButton_ =
      AddToolButton("DisableHistToolButton", "Desabilitar histórico", "Desabilitar",
                    static_cast<int>(ToolIcon::DisableHistory), &TViewForm::DisableHistToolButtonClick);
  disableHistToolButton_->setEnabled(false);
}

void TViewForm::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("StatusBar"));
  bar->setSizeGripEnabled(false);
  auto makePanel = [&](const char* name) {
    auto* panel = new QLabel(bar);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    return panel;
  };
  statusPanel0_ = makePanel("StatusPanel0");
  statusPanel0_->setAlignment(Qt::AlignCenter);
  statusPanel0_->setFixedWidth(520);
  statusPanel1_ = makePanel("StatusPanel1");
  statusPanel1_->setMinimumWidth(160);
  bar->addWidget(statusPanel0_);
  bar->addWidget(statusPanel1_, 1);
}

void TViewForm::Translate() {
  QString programName;
  if (ui::ApplyLanguageTexts("# Nome Software", {ui::Into(programName)}) == 1) {
    setWindowTitle(programName + QStringLiteral(" - ") + Utf8(ui::kVersionText));
  }
  ui::ApplyLanguageTexts(
      "# Form Principal",
      {ui::TitleOf(arquivo_), ui::TextOf(carregarambiente_), ui::TextOf(salvarambiente_), ui::TextOf(imprimir_), ui::TextOf(imprimirtudo_),
       ui::TextOf(fechar_), ui::TitleOf(configuracao_), ui::TextOf(configuraAparelho_), nullptr, ui::TitleOf(janela_),
       ui::TextOf(novaJanela_), ui::TextOf(configurarJanela_), ui::TextOf(fecharJanela_), ui::TextOf(emcascata_), ui::TextOf(ladoalado_),
       ui::TitleOf(opcoes_), ui::TextOf(configurar_), ui::TextOf(desabilitar_), ui::TextOf(abrirHistorico_),
       ui::TextOf(exportarHistorico_), ui::TextOf(configurarGraficoHistorico_), ui::TextOf(iniciar_), ui::TextOf(parar_),
       ui::TitleOf(ajuda_), ui::TextOf(conteudo_), ui::TextOf(sobre_),
       ui::Into(messages_[0]), ui::Into(messages_[1]), ui::Into(messages_[2]), ui::Into(messages_[3]), ui::Into(messages_[4]),
       ui::Into(messages_[5]), ui::Into(messages_[6]), ui::Into(messages_[7]), ui::Into(messages_[8]), ui::Into(messages_[9]),
       ui::Into(messages_[10]), ui::Into(messages_[11]), ui::Into(messages_[12]), ui::Into(messages_[13]), ui::Into(messages_[14]),
       ui::Into(messages_[15]), ui::Into(messages_[16]), ui::Into(messages_[17]), ui::Into(messages_[18]), ui::Into(messages_[19]),
       ui::Into(messages_[20]), ui::Into(messages_[21]), ui::Into(messages_[22]), ui::Into(messages_[23]), ui::Into(messages_[24]),
       ui::ToolTipOf(setupDeviceToolButton_), ui::ToolTipOf(newWindowToolButton_), ui::ToolTipOf(setupWindowToolButton_),
       ui::ToolTipOf(setupHistToolButton_), ui::ToolTipOf(disableHistToolButton_), ui::ToolTipOf(openHistToolButton_),
       ui::ToolTipOf(startToolButton_), ui::ToolTipOf(stopToolButton_)});
}

void TViewForm::BuildDialogSpecs() {
  const QString envExtension = QStringLiteral("env");
  const QString envFilter =
      messages_[kMsgEnvironmentFiles] + QStringLiteral(" (*.") + envExtension + QStringLiteral(") |*.") + envExtension;
  openEnvDialog_ = {messages_[kMsgLoadEnvironmentTitle], envFilter, envExtension, 1};
  saveEnvDialog_ = {messages_[kMsgSaveEnvironmentTitle], envFilter, envExtension, 1};
  const QString historyExtension = QStringLiteral("mpc");
  openDialog_ = {openHistToolButton_->toolTip(),
                 messages_[kMsgHistoryFiles] + QStringLiteral(" (*.") + historyExtension + QStringLiteral(") |*.") +
                     historyExtension + QStringLiteral("|") + messages_[kMsgAllFiles] + QStringLiteral(" (*.*) |*.*"),
                 historyExtension, 1};
}

QString TViewForm::MenuItemCaption(const QString& objectName) const {
  if (const auto* menu = findChild<QMenu*>(objectName)) return menu->title();
  if (const auto* action = findChild<QAction*>(objectName)) return action->text();
  return {};
}

}  // namespace app
