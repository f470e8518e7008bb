// The main window: menus, tool bar, translation, reading and history state, commands, closing.
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>

#include "app_fixture.h"
#include "instrument/sensor_names.h"

namespace {

using apptest::FakeDisplayWindow;
using apptest::FakeHistoryViewer;
using apptest::TestText;
using apptest::ViewFormTest;

bool Enabled(QObject* item) { return item->property("enabled").toBool(); }

TEST_F(ViewFormTest, MenusAndToolBarInOrderWithTheirInitialState) {
  Make();
  EXPECT_EQ(form_->windowTitle(), QStringLiteral("Tervana - 1.2.2.01"));
  QStringList order, disabled;
  for (QAction* menu : form_->menuBar()->actions()) {
    order << menu->objectName() + QLatin1Char(':');
    for (QAction* item : menu->menu()->actions()) {
      order << item->objectName();
      if (!Enabled(item)) disabled << item->objectName();
    }
  }
  const auto* bar = form_->findChild<QToolBar*>(QStringLiteral("ToolBar"));
  order << QStringLiteral("ToolBar:");
  for (QAction* action : bar->actions()) {
    QWidget* button = bar->widgetForAction(action);
    order << (action->isSeparator() ? action->objectName() : button->objectName());
    if (action->isSeparator()) continue;
    if (!Enabled(button)) disabled << button->objectName();
    EXPECT_FALSE(static_cast<QToolButton*>(button)->icon().isNull()) << button->objectName().toStdString();
  }
  EXPECT_EQ(order.join(QLatin1Char(' ')),
            QStringLiteral("Arquivo: Carregarambiente Salvarambiente N4 AbrirHistorico ExportarHistorico N5 Imprimir "
                           "Imprimirtudo N6 Fechar Configuracao: ConfiguraAparelho Janela: NovaJanela ConfigurarJanela "
                           "FecharJanela N2 Emcascata Ladoalado N3 Opcoes: Configurar Desabilitar "
                           "ConfigurarGraficoHistorico N1 Iniciar Parar Ajuda: Conteudo Sobre ToolBar: "
                           "SetupDeviceToolButton ToolButton3 NewWindowToolButton SetupWindowToolButton ToolButton1 "
                           "SetupHistToolButton ToolButton4 OpenHistToolButton ToolButton2 StartToolButton "
                           "StopToolButton ToolButton7 DisableHistToolButton"));
  EXPECT_EQ(disabled, (QStringList{"ConfigurarJanela", "Desabilitar", "ConfigurarGraficoHistorico", "Parar",
                                   "SetupWindowToolButton", "StopToolButton", "DisableHistToolButton"}));
  EXPECT_FALSE(Item("ConfigurarGraficoHistorico")->isVisible());

  // Built-in texts with accents, and what is built from them.
  EXPECT_EQ(form_->MenuItemCaption(QStringLiteral("Configuracao")), QStringLiteral("Configuração"));
  EXPECT_EQ(Item("AbrirHistorico")->text(), QStringLiteral("Abrir histórico..."));
  EXPECT_EQ(Panel(0), QStringLiteral("Histórico: Desabilitado"));
  EXPECT_EQ(ui::ToQtFileFilter(form_->OpenDialog().filter),
            QStringLiteral("Arquivos de histórico (*.mpc);;Todos arquivos (*)"));
}

TEST_F(ViewFormTest, LanguageFileReplacesEveryTextInItsPlace) {
  // Lines 1 to 26 of the main window's section; line 9 only keeps its place.
  const char* captions[] = {"Arquivo", "Carregarambiente", "Salvarambiente", "Imprimir", "Imprimirtudo", "Fechar",
                            "Configuracao", "ConfiguraAparelho", nullptr, "Janela", "NovaJanela", "ConfigurarJanela",
                            "FecharJanela", "Emcascata", "Ladoalado", "Opcoes", "Configurar", "Desabilitar",
                            "AbrirHistorico", "ExportarHistorico", "ConfigurarGraficoHistorico", "Iniciar", "Parar",
                            "Ajuda", "Conteudo", "Sobre"};
  // Lines 52 to 59, after the 25 messages.
  const char* hints[] = {"SetupDeviceToolButton", "NewWindowToolButton",   "SetupWindowToolButton",
                         "SetupHistToolButton",   "DisableHistToolButton", "OpenHistToolButton",
                         "StartToolButton",       "StopToolButton"};
  for (const std::string lineEnd : {"\r\n", "\n"}) {
    SCOPED_TRACE(lineEnd == "\n" ? "LF" : "CR LF");
    MakeTranslated(apptest::MakeTestLanguageFile(lineEnd));
    EXPECT_EQ(form_->windowTitle(), TestText("NOME", 1) + QStringLiteral(" - 1.2.2.01"));
    for (int i = 0; i < 26; ++i) {
      if (captions[i] != nullptr) {
        EXPECT_EQ(form_->MenuItemCaption(QString::fromLatin1(captions[i])), TestText("PRINC", i + 1)) << captions[i];
      }
    }
    for (int i = 0; i < app::kMainWindowMessageCount; ++i) {
      EXPECT_EQ(form_->Messages()[i], TestText("PRINC", 27 + i)) << "message " << i;
    }
    for (int i = 0; i < 8; ++i) EXPECT_EQ(Button(hints[i])->toolTip(), TestText("PRINC", 52 + i)) << hints[i];
  }
  // Tool-button captions are not in the file.
  EXPECT_EQ(Button("NewWindowToolButton")->text(), QStringLiteral("Nova"));
  // Dialogs, filters and the status text are built from the replaced texts.
  EXPECT_EQ(form_->SaveEnvDialog().filter, TestText("PRINC", 27 + 17) + QStringLiteral(" (*.env) |*.env"));
  EXPECT_EQ(form_->OpenDialog().title, TestText("PRINC", 57));
  EXPECT_EQ(form_->OpenDialog().filter, TestText("PRINC", 29) + QStringLiteral(" (*.mpc) |*.mpc|") +
                                            TestText("PRINC", 30) + QStringLiteral(" (*.*) |*.*"));
  EXPECT_EQ(Panel(0), TestText("PRINC", 27) + QStringLiteral(": ") + TestText("PRINC", 28));
}

TEST_F(ViewFormTest, PartialLanguageFilesKeepTheBuiltInTextsTheyDoNotReach) {
  MakeTranslated("# Nome Software\r\nOutro Nome\r\n# Interface do Dispositivo\r\nUmidade X\r\n");
  EXPECT_EQ(form_->windowTitle(), QStringLiteral("Outro Nome - 1.2.2.01"));
  // Sensor-kind names of instruments come from the same file; the ones it lacks stay built in.
  EXPECT_EQ(device::CurrentSensorNames()[0], "Umidade X");
  EXPECT_EQ(device::CurrentSensorNames()[1], device::BuiltInSensorNames()[1]);
  EXPECT_EQ(form_->MenuItemCaption(QStringLiteral("Arquivo")), QStringLiteral("Arquivo"));

  // 26 menu lines and the first two messages, the second one empty.
  std::string bytes = "# Form Principal\r\n";
  for (int n = 1; n <= 26; ++n) bytes += "m" + std::to_string(n) + "\r\n";
  MakeTranslated(bytes + "Hist\r\n\r\n");
  EXPECT_EQ(form_->windowTitle(), QStringLiteral("Tervana - 1.2.2.01"));
  EXPECT_EQ(Item("Sobre")->text(), QStringLiteral("m26"));
  EXPECT_EQ(Panel(0), QStringLiteral("Hist: "));
  EXPECT_EQ(form_->Messages()[2], QStringLiteral("Arquivos de histórico"));
  EXPECT_EQ(Button("StartToolButton")->toolTip(), QStringLiteral("Iniciar"));
}

TEST_F(ViewFormTest, ReadingStateLocksCommandsAndShowsTheRun) {
  Make();
  std::optional<app::ReadingRunInfo> run;  // none: the start failed
  int stops = 0;
  form_->Hooks().startReadings = [&] { return run; };
  form_->Hooks().stopReadings = [&] { ++stops; };
  // How many of the commands locked while reading are enabled, and how many of the two stop commands.
  auto enabled = [&] {
    int locked = 0;
    for (const char* name : {"Iniciar", "ConfiguraAparelho", "Configurar", "NovaJanela", "ConfigurarJanela",
                             "FecharJanela", "Carregarambiente", "Salvarambiente", "StartToolButton",
                             "SetupDeviceToolButton", "SetupHistToolButton", "NewWindowToolButton",
                             "SetupWindowToolButton"}) {
      locked += Enabled(form_->findChild<QObject*>(QString::fromLatin1(name)));
    }
    return std::pair(locked, Item("Parar")->isEnabled() + Button("StopToolButton")->isEnabled());
  };

  Item("Iniciar")->trigger();
  EXPECT_FALSE(form_->Reading());
  EXPECT_EQ(enabled(), std::pair(11, 0));  // the two window commands wait for a window
  EXPECT_EQ(Panel(1), QString());

  run = app::ReadingRunInfo{false, 500};
  Button("StartToolButton")->click();
  ASSERT_TRUE(form_->Reading());
  EXPECT_EQ(enabled(), std::pair(0, 2));
  EXPECT_EQ(Panel(1), QStringLiteral("Lendo em modo lento. Taxa de leituras: 500 ms"));
  EXPECT_TRUE(form_->UpdaterTimer()->isActive());
  EXPECT_EQ(form_->UpdaterTimer()->interval(), 25);

  // A communication failure blinks its text in panel 1.
  form_->SetErrorText(QStringLiteral("PROBLEMAS NA COMUNICAÇÃO! COM3"));
  form_->StartErrorBlink();
  form_->ErrorTimerTimer();
  EXPECT_EQ(Panel(1), QStringLiteral("PROBLEMAS NA COMUNICAÇÃO! COM3"));
  EXPECT_EQ(form_->StatusPanel(1)->frameShadow(), QFrame::Raised);
  form_->ErrorTimerTimer();
  EXPECT_EQ(form_->StatusPanel(1)->frameShadow(), QFrame::Sunken);
  form_->ErrorTimerTimer();

  Item("Parar")->trigger();
  EXPECT_EQ(stops, 1);
  EXPECT_FALSE(form_->Reading());
  EXPECT_EQ(enabled(), std::pair(13, 0));
  EXPECT_EQ(Panel(1), QStringLiteral("Leituras suspensas"));
  EXPECT_EQ(form_->StatusPanel(1)->frameShadow(), QFrame::Sunken);
  EXPECT_FALSE(form_->UpdaterTimer()->isActive());
  EXPECT_FALSE(form_->ErrorTimer()->isActive());

  run = app::ReadingRunInfo{true, 1000};
  Item("Iniciar")->trigger();
  EXPECT_EQ(Panel(1), QStringLiteral("Lendo em modo rápido."));
  EXPECT_EQ(form_->UpdaterTimer()->interval(), 5);
}

TEST_F(ViewFormTest, HistorySwitchFromSettingsMenuAndToolButton) {
  Make();
  std::optional<app::ReadingsDialogResult> settings;  // cancelled
  bool logEnabled = false;
  form_->Hooks().showReadingsDialog = [&] { return settings; };
  form_->Hooks().setLogEnabled = [&](bool on) { logEnabled = on; };
  form_->Hooks().historyFileName = [] { return QStringLiteral("/dados/ensaio.mpc"); };
  form_->SetErrorValue(3.0f);
  Item("Configurar")->trigger();
  EXPECT_EQ(form_->GetErrorValue(), 3.0f);
  EXPECT_FALSE(form_->HistoryOn());

  settings.emplace();
  settings->logEnabled = true;
  settings->errorValue = -99.5f;
  settings->trigger.on = true;
  Button("SetupHistToolButton")->click();
  EXPECT_TRUE(form_->HistoryOn() && logEnabled && form_->Trigger().on);
  EXPECT_EQ(Panel(0), QStringLiteral("Histórico (parado): /dados/ensaio.mpc"));
  EXPECT_EQ(form_->GetErrorValue(), -99.5f);
  EXPECT_TRUE(Item("Desabilitar")->isEnabled() && Button("DisableHistToolButton")->isEnabled());

  // The tool button asks first; No keeps recording on. The menu item does not ask.
  user_.answers = {false};
  Button("DisableHistToolButton")->click();
  EXPECT_TRUE(form_->HistoryOn());
  EXPECT_EQ(user_.log, QStringList{"ask|Encerrar o histórico!|Isto fará com que a gravação no arquivo de "
                                   "histórico seja encerrada!\nDeseja continuar?"});
  Item("Desabilitar")->trigger();
  EXPECT_FALSE(form_->HistoryOn() || logEnabled);
  EXPECT_EQ(user_.log.size(), 1);
  EXPECT_EQ(Panel(0), QStringLiteral("Histórico: Desabilitado"));
  EXPECT_FALSE(Item("Desabilitar")->isEnabled() || Button("DisableHistToolButton")->isEnabled());

  form_->ShowHistoryRecording(QStringLiteral("a.mpc"));
  EXPECT_EQ(Panel(0), QStringLiteral("Histórico (gravando): a.mpc"));
}

TEST_F(ViewFormTest, CommandsReachTheActiveChildOfTheirKind) {
  Make();
  FakeDisplayWindow* made = nullptr;
  form_->Hooks().newDisplayWindow = [&] { return made = new FakeDisplayWindow; };
  Button("NewWindowToolButton")->click();
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(form_->ActiveChild(), made);
  EXPECT_EQ(made->configured, 1);
  Button("SetupWindowToolButton")->click();
  EXPECT_EQ(made->configured, 2);
  Item("Imprimir")->trigger();
  EXPECT_EQ(made->printed, 1);

  // A window that cannot be made is left out; the wizard opens on the active one.
  form_->Hooks().newDisplayWindow = []() -> QWidget* { throw std::runtime_error("no memory"); };
  Item("NovaJanela")->trigger();
  EXPECT_EQ(made->configured, 3);
  EXPECT_EQ(Children(), 1);

  auto popups = [&] {
    form_->ArquivoPopup();
    form_->OpcoesPopup();
    return Item("ExportarHistorico")->isVisible() + Item("ConfigurarGraficoHistorico")->isVisible();
  };
  EXPECT_EQ(popups(), 0);
  auto* viewer = Add<FakeHistoryViewer>();
  EXPECT_EQ(popups(), 2);
  Item("ConfigurarGraficoHistorico")->trigger();
  Item("Imprimir")->trigger();
  EXPECT_EQ(viewer->pens, 1);
  EXPECT_EQ(viewer->printed + made->printed, 2);

  app::ExportRequest request{QStringLiteral("/tmp/out.xls"), false, true, QString()};
  form_->Hooks().askExport = [&] { return std::optional(request); };
  Item("ExportarHistorico")->trigger();
  // Without a separator typed, the dialog's default "." is used.
  EXPECT_EQ(viewer->exports, QStringList{"/tmp/out.xls|1|1|."});
  EXPECT_EQ(user_.log, QStringList{"message|Exportação efetuada com sucesso!"});
  viewer->exportResult = false;
  request.separator = QStringLiteral(",x");
  Item("ExportarHistorico")->trigger();
  EXPECT_EQ(viewer->exports.value(1), QStringLiteral("/tmp/out.xls|1|1|,"));
  EXPECT_EQ(user_.log.size(), 1);  // a failed export is not reported as done
}

TEST_F(ViewFormTest, CloseAllDisplaysAsksAndKeepsHistoryViewers) {
  Make();
  form_->CloseAllDisplays();
  EXPECT_TRUE(user_.log.isEmpty());  // nothing to close, nothing asked
  Add<FakeDisplayWindow>();
  Add<FakeHistoryViewer>();
  Add<FakeDisplayWindow>();
  user_.answers = {false};
  form_->CloseAllDisplays();
  EXPECT_EQ(Children(), 3);
  EXPECT_EQ(user_.log, QStringList{"ask|Atenção!!!|Deseja excluir as janelas atuais?"});
  form_->CloseAllDisplays();
  ASSERT_EQ(Children(), 1);
  EXPECT_NE(dynamic_cast<FakeHistoryViewer*>(form_->ChildWindows()[0]), nullptr);
  Item("FecharJanela")->trigger();
  EXPECT_EQ(Children(), 0);
}

TEST_F(ViewFormTest, EnvironmentMenuCommands) {
  Make();
  QStringList loads, saves;
  bool loadResult = false;
  form_->Hooks().loadEnvironment = [&](const QString& f, app::EnvironmentSource) { return loads << f, loadResult; };
  form_->Hooks().saveEnvironment = [&](const QString& f) { return saves << f, true; };

  user_.files = {QStringLiteral("/x/b.env")};
  Item("Carregarambiente")->trigger();
  EXPECT_EQ(user_.log, QStringList{"open|Carregar ambiente..."});
  EXPECT_FALSE(Item("ConfigurarJanela")->isEnabled());
  loadResult = true;
  user_.files = {QStringLiteral("/x/a.env")};
  Item("Carregarambiente")->trigger();
  EXPECT_EQ(loads, (QStringList{"/x/b.env", "/x/a.env"}));
  EXPECT_EQ(user_.log.last(), QStringLiteral("message|Ambiente carregado com sucesso!"));
  EXPECT_TRUE(Item("ConfigurarJanela")->isEnabled());

  // Saving over an existing file asks first; No writes nothing.
  const QString existing = Program("saved.env");
  QFile(existing).open(QIODevice::WriteOnly);
  user_.log.clear();
  user_.files = {existing, Program("new.env")};
  user_.answers = {false};
  Item("Salvarambiente")->trigger();
  Item("Salvarambiente")->trigger();
  EXPECT_EQ(saves, QStringList{Program("new.env")});
  EXPECT_EQ(user_.log, (QStringList{"save|Salvar ambiente...",
                                    "ask|Atenção!!!|Este arquivo já existe. Deseja adicionar mais dados, "
                                    "sobrescrever o arquivo ou cancelar o histórico?",
                                    "save|Salvar ambiente...", "message|Ambiente salvo com sucesso!"}));
}

TEST_F(ViewFormTest, CloseStopsReadingThenSavesTheWorkspaceThenClosesChildrenAndHelp) {
  Make();
  QStringList order;
  form_->Hooks().startReadings = [] { return app::ReadingRunInfo{}; };
  form_->Hooks().stopReadings = [&] { order << QStringLiteral("stop"); };
  form_->Hooks().saveEnvironment = [&](const QString& f) {
    order << QStringLiteral("save %1 reading=%2 children=%3").arg(f).arg(form_->Reading()).arg(Children());
    return false;
  };
  Add<FakeDisplayWindow>();
  Add<FakeHistoryViewer>();
  Item("Iniciar")->trigger();
  Item("Fechar")->trigger();
  EXPECT_EQ(order, (QStringList{"stop", QStringLiteral("save %1 reading=0 children=2").arg(Program("lasttime.env"))}));
  EXPECT_EQ(Children(), 0);
  EXPECT_EQ(help_.log, QStringList{"close"});
  EXPECT_TRUE(user_.log.isEmpty());  // a failed save of the workspace is not reported
}

}  // namespace
