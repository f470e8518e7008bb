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

#include "app/app_constants.h"
#include "app/help_context.h"
#include "app/help_viewer.h"
#include "app/language_file.h"
#include "app/language_qt.h"
#include "app/program_directory.h"
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
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) return false;
    // The key goes to the focused control first, so the receiver is where the search starts.
    const QWidget* origin = qobject_cast<QWidget*>(watched);
    if (origin == nullptr) origin = QApplication::focusWidget();
    if (origin == nullptr) origin = QApplication::activeWindow();
    const int context = NearestHelpContext(origin);
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

TViewForm::TViewForm(UserInteraction& ui, HelpViewer& help, QWidget* parent)
    : QMainWindow(parent), ui_(ui), help_(help) {
  setObjectName(QStringLiteral("ViewForm"));
  setWindowTitle(Utf8(kApplicationTitle));
  SetHelpContext(this, kHelpContextMainWindow);
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

  // The help handler of the whole application.
  helpKeys_ = new HelpKeyFilter(this);
  qApp->installEventFilter(helpKeys_);

  messages_ = BuiltInMainWindowMessages();
  setWindowTitle(windowTitle() + QStringLiteral(" - ") + Utf8(kVersionText));
  setAcceptDrops(true);

  LanguageList& language = ProgramLanguage();
  language.LoadFromFile(ProgramFilePath(kLanguageFileName));
  if (language.Loaded()) Translate();
  // Instruments made from now on take their sensor-kind names from the same file.
  device::InstallSensorNameProvider(
      language.Loaded() ? std::make_shared<device::LanguageLinesSensorNames>(language.Lines()) : nullptr);

  // Built after the translation, so they carry the replaced texts.
  BuildDialogSpecs();
  statusPanel0_->setText(messages_[kMsgHistory] + QStringLiteral(": ") + messages_[kMsgDisabled]);
  updaterTimer_->setInterval(25);
  MainWindow() = this;
}

TViewForm::~TViewForm() {
  if (MainWindow() == this) MainWindow() = nullptr;
  qApp->removeEventFilter(helpKeys_);
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
  if (ApplyLanguageTexts("# Nome Software", {Into(programName)}) == 1) {
    setWindowTitle(programName + QStringLiteral(" - ") + Utf8(kVersionText));
  }
  ApplyLanguageTexts(
      "# Form Principal",
      {TitleOf(arquivo_), TextOf(carregarambiente_), TextOf(salvarambiente_), TextOf(imprimir_), TextOf(imprimirtudo_),
       TextOf(fechar_), TitleOf(configuracao_), TextOf(configuraAparelho_), nullptr, TitleOf(janela_),
       TextOf(novaJanela_), TextOf(configurarJanela_), TextOf(fecharJanela_), TextOf(emcascata_), TextOf(ladoalado_),
       TitleOf(opcoes_), TextOf(configurar_), TextOf(desabilitar_), TextOf(abrirHistorico_),
       TextOf(exportarHistorico_), TextOf(configurarGraficoHistorico_), TextOf(iniciar_), TextOf(parar_),
       TitleOf(ajuda_), TextOf(conteudo_), TextOf(sobre_),
       Into(messages_[0]), Into(messages_[1]), Into(messages_[2]), Into(messages_[3]), Into(messages_[4]),
       Into(messages_[5]), Into(messages_[6]), Into(messages_[7]), Into(messages_[8]), Into(messages_[9]),
       Into(messages_[10]), Into(messages_[11]), Into(messages_[12]), Into(messages_[13]), Into(messages_[14]),
       Into(messages_[15]), Into(messages_[16]), Into(messages_[17]), Into(messages_[18]), Into(messages_[19]),
       Into(messages_[20]), Into(messages_[21]), Into(messages_[22]), Into(messages_[23]), Into(messages_[24]),
       ToolTipOf(setupDeviceToolButton_), ToolTipOf(newWindowToolButton_), ToolTipOf(setupWindowToolButton_),
       ToolTipOf(setupHistToolButton_), ToolTipOf(disableHistToolButton_), ToolTipOf(openHistToolButton_),
       ToolTipOf(startToolButton_), ToolTipOf(stopToolButton_)});
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
