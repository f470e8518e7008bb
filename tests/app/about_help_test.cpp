// The program's forms, the about box, F1 and the help window on a compiled help file.
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTableView>
#include <QTest>
#include <cerrno>
#include <cstring>

#include "app/about_form.h"
#include "ui/help_context.h"
#include "app/overwrite_choice_form.h"
#include "app/program_forms.h"
#include "devconfig/config_form.h"
#include "instrument/default_channel_names.h"
#include "platform/qt_text.h"
#include "app_fixture.h"
#include "support/help_file_builder.h"
#include "display/display_form.h"
#include "history/hist_form.h"

namespace {

using apptest::TestText;
using apptest::kExposeWaitMs;
using apptest::ViewFormTest;

void PressF1(QWidget* widget) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &press);
}

TEST_F(ViewFormTest, F1FindsTheNearestHelpContext) {
  Make();
  QDialog dialog(form_.get());  // with its own context, as the readings dialog (20)
  ui::SetHelpContext(&dialog, 20);
  auto* edit = new QLineEdit(&dialog);
  auto* inner = new QLineEdit(new QWidget(&dialog));
  ui::SetHelpContext(inner, 7);
  app::TAboutForm about(form_.get());  // none of its own: the main window's
  QWidget stray;                       // outside the main window, none at all: the default topic

  for (QWidget* widget : {static_cast<QWidget*>(form_->MdiArea()), static_cast<QWidget*>(edit),
                          static_cast<QWidget*>(inner), about.findChild<QWidget*>(QStringLiteral("btnOK")), &stray}) {
    PressF1(widget);
  }
  Item("Conteudo")->trigger();
  const QString chm = Program("Tervana.chm");
  EXPECT_EQ(help_.log, (QStringList{"context|" + chm + "|1", "context|" + chm + "|20", "context|" + chm + "|7",
                                    "context|" + chm + "|1", "default|" + chm, "default|" + chm}));
}

// F1 as the window system delivers it: to the main window, which hands it to its focused
// control. A display window takes no focus itself, so its MDI frame holds it.
TEST_F(ViewFormTest, F1InAChildWindowOpensThatWindowsTopic) {
  Make();
  form_->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get(), kExposeWaitMs));
  const QString chm = Program("Tervana.chm");
  auto f1 = [&](QWidget* focus) {
    help_.log.clear();
    focus->setFocus();
    QTest::keyClick(form_->windowHandle(), Qt::Key_F1);
    return help_.log.join(QLatin1Char(' ')).toStdString();
  };
  auto context = [&](int number) { return QStringLiteral("context|%1|%2").arg(chm).arg(number).toStdString(); };
  QMdiSubWindow* display = form_->AddChildWindow(new TDisplayForm(form_.get()));
  EXPECT_EQ(f1(display), context(17));
  auto* viewer = new history::THistForm(user_);
  QMdiSubWindow* history = form_->AddChildWindow(viewer);
  EXPECT_EQ(f1(history), context(22));
  EXPECT_EQ(f1(viewer->Grid()), context(22));
  form_->MdiArea()->setActiveSubWindow(display);
  EXPECT_EQ(f1(display), context(17));
}

TEST_F(ViewFormTest, FormsAreCreatedInOrderAndTranslatedFromTheMainWindowsLanguageFile) {
  WriteLanguageFile(apptest::MakeTestLanguageFile());
  auto forms = app::CreateProgramForms(user_, help_);
  ASSERT_EQ(app::Forms(), forms.get());
  EXPECT_EQ(ui::MainWindow(), forms->viewForm.get());
  // The dialogs come after the main window, so the file it loaded is already there for them.
  EXPECT_EQ(forms->aboutForm->NomeSoftwareLabel()->text(), TestText("NOME", 1));
  EXPECT_EQ(forms->aboutForm->windowTitle(), TestText("SOBRE", 1));
  EXPECT_EQ(forms->aboutForm->VersaoSoftwareLabel()->text(), TestText("SOBRE", 2) + QStringLiteral(" 1.2.2.01"));
  app::TOverwriteChoiceForm& choice = *forms->overwriteChoiceForm;
  EXPECT_EQ(choice.windowTitle(), TestText("ESCOLHA", 1));
  EXPECT_EQ(choice.findChild<QLabel*>(QStringLiteral("Label2"))->text(), TestText("ESCOLHA", 3));
  EXPECT_EQ(choice.CancelButton()->text(), TestText("ESCOLHA", 6));
  choice.open();  // the translated append caption keeps its count-down
  choice.TimerTimer();
  EXPECT_EQ(choice.AppendButton()->text(), TestText("ESCOLHA", 4) + QStringLiteral("   [14]"));
  choice.close();

  forms->viewForm->findChild<QAction*>(QStringLiteral("Sobre"))->trigger();
  EXPECT_EQ(user_.log, QStringList{"modal|AboutForm"});
  forms.reset();
  EXPECT_EQ(app::Forms(), nullptr);
  EXPECT_EQ(ui::MainWindow(), nullptr);

  ui::ProgramLanguage().Clear();
  app::TAboutForm builtIn;
  EXPECT_EQ(builtIn.VersaoSoftwareLabel()->text(), QStringLiteral("Versão 1.2.2.01"));
}

TEST_F(ViewFormTest, DeviceDialogComesRightAfterTheMainWindowAndOpensFromItsCommand) {
  std::string bytes = apptest::MakeTestLanguageFile() + "# Form de Configura\xE7\xE3o do Aparelho\r\n";
  for (int n = 1; n <= 112; ++n) bytes += platform::ToCp1252(TestText("APAR", n)) + "\r\n";
  WriteLanguageFile(bytes);
  auto forms = app::CreateProgramForms(user_, help_);
  TConfigForm* dialog = forms->configForm;
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->parent(), forms->viewForm.get());
  const QList<QDialog*> dialogs = forms->viewForm->findChildren<QDialog*>(QString(), Qt::FindDirectChildrenOnly);
  ASSERT_FALSE(dialogs.isEmpty());
  EXPECT_EQ(dialogs.front(), dialog);  // the first dialog made
  // Its translated "Aplica" and "Fecha" are there for other dialogs before it was ever shown.
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->ApplyButtonCaption(), TestText("APAR", 2));
  EXPECT_EQ(dialog->CloseButtonCaption(), TestText("APAR", 3));

  forms->viewForm->findChild<QAction*>(QStringLiteral("ConfiguraAparelho"))->trigger();
  EXPECT_TRUE(user_.log.contains(QStringLiteral("modal|ConfigForm"))) << user_.log.join('|').toStdString();
  EXPECT_EQ(dialog->Device(), nullptr);
  forms.reset();
  RestoreBuiltInChannelNames();
}

TEST(HelpWindowTest, TopicsByContextLinksFollowedInsideTheFileAMissingFileAndClosing) {
  const QString file = QString::fromUtf8(TEST_HELP_FILE);
  if (file.isEmpty()) GTEST_SKIP() << "no help compiler";
  testsupport::FakeUserInteraction user;
  app::ChmHelpViewer viewer(user);
  auto shown = [&] { return viewer.Window()->Browser()->toPlainText(); };

  const QString missing = QStringLiteral("/nonexistent/Tervana.chm");
  viewer.ShowContext(missing, 1);
  EXPECT_EQ(user.log, QStringList{QStringLiteral("error|Ajuda|") +
                                  app::HelpFileProblemText(missing, QString::fromLocal8Bit(std::strerror(ENOENT)))});
  EXPECT_TRUE(user.messages.value(0).contains(missing));
  EXPECT_EQ(viewer.Window(), nullptr);

  viewer.ShowContext(file, 20);
  ASSERT_NE(viewer.Window(), nullptr);
  EXPECT_TRUE(viewer.Window()->isVisible());
  EXPECT_TRUE(shown().contains(QStringLiteral("Configuração das leituras e gravação de histórico"))) << shown().toStdString();
  EXPECT_EQ(viewer.Window()->windowTitle(), QStringLiteral("Leituras e histórico"));
  emit viewer.Window()->Browser()->anchorClicked(QUrl(QStringLiteral("index.htm")));
  EXPECT_TRUE(shown().contains(QStringLiteral("Conteúdo da ajuda")));
  viewer.Window()->Browser()->backward();
  EXPECT_TRUE(shown().contains(QStringLiteral("Tópico do contexto 20")));

  // A context the file's map lacks shows the default topic.
  viewer.ShowContext(file, 99);
  EXPECT_TRUE(shown().contains(QStringLiteral("Conteúdo da ajuda")));
  viewer.ShowContext(file, 1);
  EXPECT_TRUE(shown().contains(QStringLiteral("Tópico do contexto 1")));
  EXPECT_EQ(user.log.size(), 1);

  viewer.CloseAll();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(viewer.Window(), nullptr);
}

// Files no compiler writes: a context table whose pairs point into a name without end beside
// one sound pair, and a topic whose bytes lie past the file's end.
TEST(HelpWindowTest, ADamagedHelpFileCostsTheHelpNotTheProgram) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("Tervana.chm"));
  auto write = [&](const std::vector<testsupport::HelpObject>& objects) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    const std::string bytes = testsupport::BuildHelpFile(objects);
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
  };
  const std::string names = std::string("\0readings.htm\0", 14);
  const std::string page = "<html><body>T\xF3pico do contexto 20.</body></html>";
  testsupport::FakeUserInteraction user;
  app::ChmHelpViewer viewer(user);

  std::vector<std::pair<std::uint32_t, std::uint32_t>> pairs{{20, 1}};
  for (std::uint32_t i = 0; i < 60000; ++i) pairs.emplace_back(100 + i, 14 + i);
  write({{"/#IVB", testsupport::ContextTable(pairs)},
         {"/#STRINGS", names + std::string(1024 * 1024, 'x')},
         {"/readings.htm", page}});
  viewer.ShowContext(path, 20);
  ASSERT_NE(viewer.Window(), nullptr);
  EXPECT_TRUE(viewer.Window()->Browser()->toPlainText().contains(QStringLiteral("Tópico do contexto 20")));
  EXPECT_TRUE(user.log.isEmpty());

  write({{"/#IVB", testsupport::ContextTable({{20, 1}})}, {"/#STRINGS", names}, {"/readings.htm", "", 4096}});
  viewer.ShowContext(path, 20);
  EXPECT_EQ(user.log, QStringList{QStringLiteral("error|Ajuda|") + app::HelpFileProblemText(path)});
}

}  // namespace
