#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <memory>

#include "app/language_file.h"
#include "app/program_directory.h"
#include "app/view_form.h"
#include "test_language.h"
#include "view_form_fixture.h"

namespace {

using apptest::FakeDisplayWindow;
using apptest::FakeHistoryViewer;
using apptest::TestText;
using apptest::ViewFormTest;

QStringList Names(const QList<QAction*>& actions) {
  QStringList names;
  for (QAction* a : actions) names << a->objectName();
  return names;
}

TEST_F(ViewFormTest, MenusInOrderWithInitialStateAndBuiltInCaptions) {
  Make();
  EXPECT_EQ(form_->windowTitle(), QStringLiteral("Tervana - 1.2.2.01"));
  EXPECT_EQ(Names(form_->menuBar()->actions()),
            (QStringList{"Arquivo", "Configuracao", "Janela", "Opcoes", "Ajuda"}));
  EXPECT_EQ(Names(Menu("Arquivo")->actions()),
            (QStringList{"Carregarambiente", "Salvarambiente", "N4", "AbrirHistorico", "ExportarHistorico", "N5",
                         "Imprimir", "Imprimirtudo", "N6", "Fechar"}));
  EXPECT_EQ(Names(Menu("Configuracao")->actions()), (QStringList{"ConfiguraAparelho"}));
  EXPECT_EQ(Names(Menu("Janela")->actions()),
            (QStringList{"NovaJanela", "ConfigurarJanela", "FecharJanela", "N2", "Emcascata", "Ladoalado", "N3"}));
  EXPECT_EQ(Names(Menu("Opcoes")->actions()),
            (QStringList{"Configurar", "Desabilitar", "ConfigurarGraficoHistorico", "N1", "Iniciar", "Parar"}));
  EXPECT_EQ(Names(Menu("Ajuda")->actions()), (QStringList{"Conteudo", "Sobre"}));

  const struct {
    const char* name;
    const char* caption;
    bool enabled;
  } items[] = {
      {"Carregarambiente", "Carregar ambiente...", true}, {"Salvarambiente", "Salvar ambiente...", true},
      {"AbrirHistorico", "Abrir histórico...", true}, {"ExportarHistorico", "Exportar histórico para...", true},
      {"Imprimir", "Imprimir...", true}, {"Imprimirtudo", "Imprimir tudo...", true}, {"Fechar", "Fechar", true},
      {"ConfiguraAparelho", "Configurar Aparelho...", true}, {"NovaJanela", "Nova", true},
      {"ConfigurarJanela", "Configurar...", false}, {"FecharJanela", "Fechar", true},
      {"Emcascata", "Em cascata", true}, {"Ladoalado", "Lado a lado", true},
      {"Configurar", "Configurar leituras/histórico...", true}, {"Desabilitar", "Desabilitar histórico", false},
      // Hidden until a history viewer is active, and so not enabled either.
      {"ConfigurarGraficoHistorico", "Configurar gráfico do histórico...", false}, {"Iniciar", "Iniciar", true},
      {"Parar", "Parar", false}, {"Conteudo", "Conteúdo...", true}, {"Sobre", "Sobre...", true},
  };
  for (const auto& item : items) {
    SCOPED_TRACE(item.name);
    EXPECT_EQ(Item(item.name)->text(), QString::fromUtf8(item.caption));
    EXPECT_EQ(Item(item.name)->isEnabled(), item.enabled);
  }
  EXPECT_FALSE(Item("ConfigurarGraficoHistorico")->isVisible());
  EXPECT_EQ(Menu("Configuracao")->title(), QStringLiteral("Configuração"));
  EXPECT_EQ(Menu("Opcoes")->title(), QStringLiteral("Opções"));
}

TEST_F(ViewFormTest, ToolBarInOrderWithHintsCaptionsAndInitialState) {
  Make();
  const auto* bar = form_->findChild<QToolBar*>(QStringLiteral("ToolBar"));
  ASSERT_NE(bar, nullptr);
  QStringList order;
  for (QAction* action : bar->actions()) {
    QWidget* widget = bar->widgetForAction(action);
    order << (action->isSeparator() ? action->objectName() : widget->objectName());
  }
  EXPECT_EQ(order, (QStringList{"SetupDeviceToolButton", "ToolButton3", "NewWindowToolButton", "SetupWindowToolButton",
                                "ToolButton1", "SetupHistToolButton", "ToolButton4", "OpenHistToolButton",
                                "ToolButton2", "StartToolButton", "StopToolButton", "ToolButton7",
                                "DisableHistToolButton"}));
  const struct {
    const char* name;
    const char* hint;
    const char* caption;
    bool enabled;
  } buttons[] = {
      {"SetupDeviceToolButton", "Configurar aparelho...", "", true},
      {"NewWindowToolButton", "Nova janela...", "Nova", true},
      {"SetupWindowToolButton", "Configurar janela...", "Configurar...", false},
      {"SetupHistToolButton", "Configurar leituras e histórico...", "Configurar...", true},
      {"OpenHistToolButton", "Abrir histórico...", "Abrir...", true},
      {"StartToolButton", "Iniciar", "Iniciar", true},
      {"StopToolButton", "Parar", "Parar", false},
      {"DisableHistToolButton", "Desabilitar histórico", "Desabilitar", false},
  };
  for (const auto& b : buttons) {
    SCOPED_TRACE(b.name);
    EXPECT_EQ(Button(b.name)->toolTip(), QString::fromUtf8(b.hint));
    EXPECT_EQ(Button(b.name)->text(), QString::fromUtf8(b.caption));
    EXPECT_EQ(Button(b.name)->isEnabled(), b.enabled);
    EXPECT_FALSE(Button(b.name)->icon().isNull());
  }
}

TEST_F(ViewFormTest, StatusBarTimersAndDialogsAtStart) {
  Make();
  EXPECT_EQ(Panel(0), QStringLiteral("Histórico: Desabilitado"));
  EXPECT_EQ(Panel(1), QString());
  EXPECT_EQ(form_->StatusPanel(0)->width(), 520);
  EXPECT_EQ(form_->UpdaterTimer()->interval(), 25);
  EXPECT_FALSE(form_->UpdaterTimer()->isActive());
  EXPECT_EQ(form_->ErrorTimer()->interval(), 1000);
  EXPECT_FALSE(form_->ErrorTimer()->isActive());
  EXPECT_EQ(form_->OpenEnvDialog().title, QStringLiteral("Carregar ambiente..."));
  EXPECT_EQ(form_->SaveEnvDialog().title, QStringLiteral("Salvar ambiente..."));
  EXPECT_EQ(form_->OpenEnvDialog().filter, QStringLiteral("arquivos de ambiente (*.env) |*.env"));
  EXPECT_EQ(form_->OpenEnvDialog().defaultSuffix, QStringLiteral("env"));
  EXPECT_EQ(form_->OpenDialog().title, QStringLiteral("Abrir histórico..."));
  EXPECT_EQ(form_->OpenDialog().filter,
            QStringLiteral("Arquivos de histórico (*.mpc) |*.mpc|Todos arquivos (*.*) |*.*"));
  EXPECT_EQ(form_->OpenDialog().defaultSuffix, QStringLiteral("mpc"));
  EXPECT_EQ(app::ToQtFileFilter(form_->OpenDialog().filter),
            QStringLiteral("Arquivos de histórico (*.mpc);;Todos arquivos (*)"));
  EXPECT_EQ(form_->GetExportSuccessMessage(), QStringLiteral("Exportação efetuada com sucesso!"));
  EXPECT_EQ(form_->GetErrorValue(), 0.0f);
  EXPECT_EQ(app::MainWindow(), form_.get());
}

TEST_F(ViewFormTest, LanguageFileReplacesEveryTextInItsPlace) {
  MakeTranslated();
  EXPECT_EQ(form_->windowTitle(), TestText("NOME", 1) + QStringLiteral(" - 1.2.2.01"));
  const char* menus[] = {"Arquivo", "Configuracao", "Janela", "Opcoes", "Ajuda"};
  const int menuLines[] = {1, 7, 10, 16, 24};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Menu(menus[i])->title(), TestText("PRINC", menuLines[i])) << menus[i];
  const struct {
    const char* name;
    int line;
  } items[] = {{"Carregarambiente", 2}, {"Salvarambiente", 3}, {"Imprimir", 4}, {"Imprimirtudo", 5},
               {"Fechar", 6}, {"ConfiguraAparelho", 8}, {"NovaJanela", 11}, {"ConfigurarJanela", 12},
               {"FecharJanela", 13}, {"Emcascata", 14}, {"Ladoalado", 15}, {"Configurar", 17},
               {"Desabilitar", 18}, {"AbrirHistorico", 19}, {"ExportarHistorico", 20},
               {"ConfigurarGraficoHistorico", 21}, {"Iniciar", 22}, {"Parar", 23}, {"Conteudo", 25}, {"Sobre", 26}};
  for (const auto& item : items) EXPECT_EQ(Item(item.name)->text(), TestText("PRINC", item.line)) << item.name;
  for (int i = 0; i < app::kMainWindowMessageCount; ++i) {
    EXPECT_EQ(form_->Messages()[i], TestText("PRINC", 27 + i)) << "message " << i;
  }
  const char* buttons[] = {"SetupDeviceToolButton", "NewWindowToolButton", "SetupWindowToolButton",
                           "SetupHistToolButton",   "DisableHistToolButton", "OpenHistToolButton",
                           "StartToolButton",       "StopToolButton"};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(Button(buttons[i])->toolTip(), TestText("PRINC", 52 + i)) << buttons[i];
  // Tool-button captions are not in the file.
  EXPECT_EQ(Button("NewWindowToolButton")->text(), QStringLiteral("Nova"));

  // Dialogs, filters and the status text are built from the replaced texts.
  EXPECT_EQ(form_->OpenEnvDialog().title, TestText("PRINC", 27 + 15));
  EXPECT_EQ(form_->SaveEnvDialog().title, TestText("PRINC", 27 + 16));
  EXPECT_EQ(form_->OpenEnvDialog().filter, TestText("PRINC", 27 + 17) + QStringLiteral(" (*.env) |*.env"));
  EXPECT_EQ(form_->OpenDialog().title, TestText("PRINC", 57));
  EXPECT_EQ(form_->OpenDialog().filter, TestText("PRINC", 29) + QStringLiteral(" (*.mpc) |*.mpc|") +
                                            TestText("PRINC", 30) + QStringLiteral(" (*.*) |*.*"));
  EXPECT_EQ(Panel(0), TestText("PRINC", 27) + QStringLiteral(": ") + TestText("PRINC", 28));
  EXPECT_EQ(form_->GetExportSuccessMessage(), TestText("PRINC", 31));
  EXPECT_EQ(form_->MenuItemCaption(QStringLiteral("FecharJanela")), TestText("PRINC", 13));
}

TEST_F(ViewFormTest, LanguageFileWithLinefeedsReadsTheSame) {
  MakeTranslated(apptest::MakeTestLanguageFile("\n"));
  EXPECT_EQ(Item("Sobre")->text(), TestText("PRINC", 26));
  EXPECT_EQ(Button("StopToolButton")->toolTip(), TestText("PRINC", 59));
}

TEST_F(ViewFormTest, ProgramNameAloneRenamesOnlyTheWindow) {
  MakeTranslated("# Nome Software\r\nOutro Nome\r\n");
  EXPECT_EQ(form_->windowTitle(), QStringLiteral("Outro Nome - 1.2.2.01"));
  EXPECT_EQ(Menu("Arquivo")->title(), QStringLiteral("Arquivo"));
  EXPECT_EQ(Panel(0), QStringLiteral("Histórico: Desabilitado"));
}

TEST_F(ViewFormTest, ShortSectionKeepsTheBuiltInTextsItDoesNotReach) {
  // 26 menu lines and the first two messages, with an empty line for message 1.
  std::string bytes = "# Form Principal\r\n";
  for (int n = 1; n <= 26; ++n) bytes += "m" + std::to_string(n) + "\r\n";
  bytes += "Hist\r\n\r\n";
  MakeTranslated(bytes);
  EXPECT_EQ(form_->windowTitle(), QStringLiteral("Tervana - 1.2.2.01"));
  EXPECT_EQ(Item("Sobre")->text(), QStringLiteral("m26"));
  EXPECT_EQ(Panel(0), QStringLiteral("Hist: "));
  EXPECT_EQ(form_->Messages()[2], QStringLiteral("Arquivos de histórico"));
  EXPECT_EQ(Button("StartToolButton")->toolTip(), QStringLiteral("Iniciar"));
}

TEST_F(ViewFormTest, ReadingStateSwitchesCommandsStatusAndTimers) {
  Make();
  form_->Hooks().startReadings = [] { return app::ReadingRunInfo{false, 500}; };
  int stops = 0;
  form_->Hooks().stopReadings = [&] { ++stops; };
  const char* runLocked[] = {"Iniciar", "ConfiguraAparelho", "Configurar", "NovaJanela", "ConfigurarJanela",
                             "FecharJanela", "Carregarambiente", "Salvarambiente"};
  const char* runLockedButtons[] = {"StartToolButton", "SetupDeviceToolButton", "SetupHistToolButton",
                                    "NewWindowToolButton", "SetupWindowToolButton"};

  Button("StartToolButton")->click();
  ASSERT_TRUE(form_->Reading());
  for (const char* name : runLocked) EXPECT_FALSE(Item(name)->isEnabled()) << name;
  for (const char* name : runLockedButtons) EXPECT_FALSE(Button(name)->isEnabled()) << name;
  EXPECT_TRUE(Item("Parar")->isEnabled());
  EXPECT_TRUE(Button("StopToolButton")->isEnabled());
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
  for (const char* name : runLocked) EXPECT_TRUE(Item(name)->isEnabled()) << name;
  for (const char* name : runLockedButtons) EXPECT_TRUE(Button(name)->isEnabled()) << name;
  EXPECT_FALSE(Item("Parar")->isEnabled());
  EXPECT_FALSE(Button("StopToolButton")->isEnabled());
  EXPECT_EQ(Panel(1), QStringLiteral("Leituras suspensas"));
  EXPECT_EQ(form_->StatusPanel(1)->frameShadow(), QFrame::Sunken);
  EXPECT_FALSE(form_->UpdaterTimer()->isActive());
  EXPECT_FALSE(form_->ErrorTimer()->isActive());

  form_->Hooks().startReadings = [] { return app::ReadingRunInfo{true, 1000}; };
  Item("Iniciar")->trigger();
  EXPECT_EQ(Panel(1), QStringLiteral("Lendo em modo rápido."));
  EXPECT_EQ(form_->UpdaterTimer()->interval(), 5);
}

TEST_F(ViewFormTest, StartThatFailsChangesNothing) {
  Make();
  form_->Hooks().startReadings = [] { return std::optional<app::ReadingRunInfo>(); };
  Item("Iniciar")->trigger();
  EXPECT_FALSE(form_->Reading());
  EXPECT_TRUE(Item("Iniciar")->isEnabled());
  EXPECT_EQ(Panel(1), QString());
}

TEST_F(ViewFormTest, HistorySwitchFromSettingsMenuAndToolButton) {
  Make();
  bool logEnabled = false;
  form_->Hooks().setLogEnabled = [&](bool on) { logEnabled = on; };
  form_->Hooks().historyFileName = [] { return QStringLiteral("/dados/ensaio.mpc"); };
  form_->Hooks().showReadingsDialog = [] {
    app::ReadingsDialogResult result;
    result.logEnabled = true;
    result.errorValue = -99.5f;
    result.trigger.on = true;
    result.trigger.level = 42.0;
    return std::optional(result);
  };
  Button("SetupHistToolButton")->click();
  EXPECT_TRUE(form_->HistoryOn());
  EXPECT_TRUE(logEnabled);
  EXPECT_EQ(Panel(0), QStringLiteral("Histórico (parado): /dados/ensaio.mpc"));
  EXPECT_EQ(form_->GetErrorValue(), -99.5f);
  EXPECT_TRUE(form_->Trigger().on);
  EXPECT_TRUE(Item("Desabilitar")->isEnabled());
  EXPECT_TRUE(Button("DisableHistToolButton")->isEnabled());

  // The tool button asks first; No keeps recording on.
  user_.answers = {false};
  Button("DisableHistToolButton")->click();
  EXPECT_TRUE(form_->HistoryOn());
  ASSERT_EQ(user_.log.size(), 1);
  EXPECT_EQ(user_.log[0], QStringLiteral("ask|Encerrar o histórico!|Isto fará com que a gravação no arquivo de "
                                         "histórico seja encerrada!\nDeseja continuar?"));
  // The menu item does not ask.
  Item("Desabilitar")->trigger();
  EXPECT_FALSE(form_->HistoryOn());
  EXPECT_FALSE(logEnabled);
  EXPECT_EQ(user_.log.size(), 1);
  EXPECT_EQ(Panel(0), QStringLiteral("Histórico: Desabilitado"));
  EXPECT_FALSE(Item("Desabilitar")->isEnabled());
  EXPECT_FALSE(Button("DisableHistToolButton")->isEnabled());

  form_->ShowHistoryRecording(QStringLiteral("a.mpc"));
  EXPECT_EQ(Panel(0), QStringLiteral("Histórico (gravando): a.mpc"));
}

TEST_F(ViewFormTest, CancelledSettingsChangeNothing) {
  Make();
  form_->Hooks().showReadingsDialog = [] { return std::optional<app::ReadingsDialogResult>(); };
  form_->SetErrorValue(3.0f);
  Item("Configurar")->trigger();
  EXPECT_EQ(form_->GetErrorValue(), 3.0f);
  EXPECT_FALSE(form_->HistoryOn());
}

TEST_F(ViewFormTest, HistoryCommandsAppearOnlyForAnActiveHistoryViewer) {
  Make();
  AddDisplay();
  form_->ArquivoPopup();
  form_->OpcoesPopup();
  EXPECT_FALSE(Item("ExportarHistorico")->isVisible());
  EXPECT_FALSE(Item("ConfigurarGraficoHistorico")->isVisible());
  FakeHistoryViewer* viewer = AddViewer();
  form_->ArquivoPopup();
  form_->OpcoesPopup();
  EXPECT_TRUE(Item("ExportarHistorico")->isVisible());
  EXPECT_TRUE(Item("ConfigurarGraficoHistorico")->isVisible());
  Item("ConfigurarGraficoHistorico")->trigger();
  Item("Imprimir")->trigger();
  EXPECT_EQ(viewer->pens, 1);
  EXPECT_EQ(viewer->printed, 1);
}

TEST_F(ViewFormTest, ExportRunsOnTheActiveViewerAndReportsSuccess) {
  Make();
  FakeHistoryViewer* viewer = AddViewer();
  app::ExportRequest request;
  request.fileName = QStringLiteral("/tmp/out.xls");
  request.includeMilliseconds = false;
  request.millisecondsInOwnColumn = true;
  request.separator = QString();
  form_->Hooks().askExport = [&] { return std::optional(request); };
  Item("ExportarHistorico")->trigger();
  ASSERT_EQ(viewer->exports.size(), 1);
  // Without a separator typed, the dialog's default "." is used.
  EXPECT_EQ(viewer->exports[0], QStringLiteral("/tmp/out.xls|1|1|."));
  EXPECT_EQ(user_.log, (QStringList{"message|Exportação efetuada com sucesso!"}));

  viewer->exportResult = false;
  request.separator = QStringLiteral(",x");
  Item("ExportarHistorico")->trigger();
  EXPECT_EQ(viewer->exports[1], QStringLiteral("/tmp/out.xls|1|1|,"));
  EXPECT_EQ(user_.log.size(), 1);
}

TEST_F(ViewFormTest, NewWindowOpensTheWizardOnIt) {
  Make();
  FakeDisplayWindow* made = nullptr;
  form_->Hooks().newDisplayWindow = [&] { return made = new FakeDisplayWindow; };
  Button("NewWindowToolButton")->click();
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(form_->ActiveChild(), made);
  EXPECT_EQ(made->configured, 1);
  EXPECT_TRUE(Item("ConfigurarJanela")->isEnabled());
  EXPECT_TRUE(Button("SetupWindowToolButton")->isEnabled());
  Button("SetupWindowToolButton")->click();
  EXPECT_EQ(made->configured, 2);
  Item("Imprimir")->trigger();
  EXPECT_EQ(made->printed, 1);

  // A window that cannot be made is ignored; the wizard opens on the active one.
  form_->Hooks().newDisplayWindow = []() -> QWidget* { throw std::runtime_error("no memory"); };
  Item("NovaJanela")->trigger();
  EXPECT_EQ(made->configured, 3);
  EXPECT_EQ(Children(), 1);
}

TEST_F(ViewFormTest, CloseWindowCascadeAndTile) {
  Make();
  form_->resize(900, 700);
  form_->show();
  AddDisplay();
  AddDisplay();
  FakeDisplayWindow* third = AddDisplay();
  Item("Ladoalado")->trigger();
  const QList<QMdiSubWindow*> subs = form_->MdiArea()->subWindowList();
  for (int i = 0; i < subs.size(); ++i) {
    for (int j = i + 1; j < subs.size(); ++j) EXPECT_FALSE(subs[i]->geometry().intersects(subs[j]->geometry()));
  }
  Item("Emcascata")->trigger();
  EXPECT_LT(subs[0]->geometry().topLeft().y(), subs[1]->geometry().topLeft().y());
  EXPECT_TRUE(subs[0]->geometry().intersects(subs[1]->geometry()));

  EXPECT_EQ(form_->ActiveChild(), third);
  Item("FecharJanela")->trigger();
  EXPECT_EQ(Children(), 2);
  form_->hide();
}

TEST_F(ViewFormTest, CloseAllDisplaysAsksAndKeepsHistoryViewers) {
  Make();
  form_->CloseAllDisplays();
  EXPECT_TRUE(user_.log.isEmpty());  // nothing to close, nothing asked

  AddDisplay();
  AddViewer();
  AddDisplay();
  user_.answers = {false};
  form_->CloseAllDisplays();
  EXPECT_EQ(Children(), 3);
  EXPECT_EQ(user_.log, (QStringList{"ask|Atenção!!!|Deseja excluir as janelas atuais?"}));
  form_->CloseAllDisplays();
  ASSERT_EQ(Children(), 1);
  EXPECT_NE(dynamic_cast<FakeHistoryViewer*>(form_->ChildWindows()[0]), nullptr);
}

TEST_F(ViewFormTest, EnvironmentMenuCommands) {
  Make();
  QStringList loads, saves;
  bool loadResult = true;
  form_->Hooks().loadEnvironment = [&](const QString& f) { return loads << f, loadResult; };
  form_->Hooks().saveEnvironment = [&](const QString& f) { return saves << f, true; };

  user_.files = {QStringLiteral("/x/a.env")};
  Item("Carregarambiente")->trigger();
  EXPECT_EQ(loads, QStringList{"/x/a.env"});
  EXPECT_EQ(user_.log, (QStringList{"open|Carregar ambiente...", "message|Ambiente carregado com sucesso!"}));
  EXPECT_TRUE(Item("ConfigurarJanela")->isEnabled());

  user_.log.clear();
  loadResult = false;
  user_.files = {QStringLiteral("/x/b.env")};
  Item("Carregarambiente")->trigger();
  EXPECT_EQ(user_.log, QStringList{"open|Carregar ambiente..."});

  // Saving over an existing file asks first; No writes nothing.
  const QString existing = Program("saved.env");
  QFile(existing).open(QIODevice::WriteOnly);
  user_.log.clear();
  user_.files = {existing};
  user_.answers = {false};
  Item("Salvarambiente")->trigger();
  EXPECT_TRUE(saves.isEmpty());
  EXPECT_EQ(user_.log[1], QStringLiteral("ask|Atenção!!!|Este arquivo já existe. Deseja adicionar mais dados, "
                                         "sobrescrever o arquivo ou cancelar o histórico?"));
  user_.log.clear();
  user_.files = {Program("new.env")};
  Item("Salvarambiente")->trigger();
  EXPECT_EQ(saves, QStringList{Program("new.env")});
  EXPECT_EQ(user_.log, (QStringList{"save|Salvar ambiente...", "message|Ambiente salvo com sucesso!"}));
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
  AddDisplay();
  AddViewer();
  Item("Iniciar")->trigger();
  Item("Fechar")->trigger();
  EXPECT_EQ(order, (QStringList{"stop", QStringLiteral("save %1 reading=0 children=2").arg(Program("lasttime.env"))}));
  EXPECT_EQ(Children(), 0);
  EXPECT_EQ(help_.log, QStringList{"close"});
  EXPECT_TRUE(user_.log.isEmpty());  // a failed save of the workspace is not reported
}

}  // namespace
