// The about box, F1 and the help window on a compiled help file.
#include <gtest/gtest.h>

#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QVBoxLayout>

#include "app/about_form.h"
#include "app/help_context.h"
#include "app/help_viewer.h"
#include "app/overwrite_choice_form.h"
#include "app/program_forms.h"
#include "view_form_fixture.h"

namespace {

using apptest::TestText;
using apptest::ViewFormTest;

void PressF1(QWidget* widget) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &press);
}

TEST_F(ViewFormTest, F1FindsTheNearestHelpContext) {
  Make();
  const QString chm = Program("Tervana.chm");
  PressF1(form_->MdiArea());
  EXPECT_EQ(help_.log.value(0), QStringLiteral("context|%1|1").arg(chm));

  // A dialog with its own context (the readings dialog has 20) and a control inside it.
  QDialog dialog(form_.get());
  app::SetHelpContext(&dialog, 20);
  auto* edit = new QLineEdit(&dialog);
  auto* group = new QWidget(&dialog);
  auto* inner = new QLineEdit(group);
  app::SetHelpContext(inner, 7);
  PressF1(edit);
  PressF1(inner);
  EXPECT_EQ(help_.log.value(1), QStringLiteral("context|%1|20").arg(chm));
  EXPECT_EQ(help_.log.value(2), QStringLiteral("context|%1|7").arg(chm));

  // The about box has none of its own: the main window's topic.
  app::TAboutForm about(form_.get());
  PressF1(about.findChild<QWidget*>(QStringLiteral("btnOK")));
  EXPECT_EQ(help_.log.value(3), QStringLiteral("context|%1|1").arg(chm));

  // A window outside the main window with no context: the default topic.
  QWidget stray;
  PressF1(&stray);
  EXPECT_EQ(help_.log.value(4), QStringLiteral("default|%1").arg(chm));

  Item("Conteudo")->trigger();
  EXPECT_EQ(help_.log.value(5), QStringLiteral("default|%1").arg(chm));
  EXPECT_EQ(help_.log.size(), 6);
}

TEST_F(ViewFormTest, FormsAreCreatedInOrderAndTranslatedFromTheMainWindowsLanguageFile) {
  apptest::WriteLanguageFile(dir_.path(), apptest::MakeTestLanguageFile());
  auto forms = app::CreateProgramForms(user_, help_);
  ASSERT_EQ(app::Forms(), forms.get());
  EXPECT_EQ(forms->viewForm->windowTitle(), TestText("NOME", 1) + QStringLiteral(" - 1.2.2.01"));
  // The dialogs come after the main window, so the file it loaded is already there for them.
  EXPECT_EQ(forms->aboutForm->NomeSoftwareLabel()->text(), TestText("NOME", 1));
  EXPECT_EQ(forms->aboutForm->windowTitle(), TestText("SOBRE", 1));
  EXPECT_EQ(forms->aboutForm->VersaoSoftwareLabel()->text(), TestText("SOBRE", 2) + QStringLiteral(" 1.2.2.01"));
  EXPECT_EQ(forms->overwriteChoiceForm->windowTitle(), TestText("ESCOLHA", 1));

  forms->viewForm->findChild<QAction*>(QStringLiteral("Sobre"))->trigger();
  EXPECT_EQ(user_.log, QStringList{"modal|AboutForm"});
  forms.reset();
  EXPECT_EQ(app::Forms(), nullptr);
  EXPECT_EQ(app::MainWindow(), nullptr);
}

TEST(AboutFormTest, BuiltInTexts) {
  app::ProgramLanguage().Clear();
  app::TAboutForm about;
  EXPECT_EQ(about.windowTitle(), QStringLiteral("Sobre"));
  EXPECT_EQ(about.NomeSoftwareLabel()->text(), QStringLiteral("Tervana"));
  EXPECT_EQ(about.VersaoSoftwareLabel()->text(), QStringLiteral("Versão 1.2.2.01"));
  EXPECT_EQ(about.size(), QSize(345, 164));
}

class HelpWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    if (QString::fromUtf8(TEST_HELP_FILE).isEmpty()) GTEST_SKIP() << "no help compiler";
  }
  void TearDown() override { viewer_.CloseAll(); }
  QString Shown() { return viewer_.Window()->Browser()->toPlainText(); }

  testsupport::FakeUserInteraction user_;
  app::ChmHelpViewer viewer_{user_};
  const QString file_ = QString::fromUtf8(TEST_HELP_FILE);
};

TEST_F(HelpWindowTest, ContextTopicShownAndLinksFollowedInsideTheFile) {
  viewer_.ShowContext(file_, 20);
  ASSERT_NE(viewer_.Window(), nullptr);
  EXPECT_TRUE(viewer_.Window()->isVisible());
  EXPECT_TRUE(Shown().contains(QStringLiteral("Configuração das leituras e gravação de histórico"))) << Shown().toStdString();
  EXPECT_EQ(viewer_.Window()->windowTitle(), QStringLiteral("Leituras e histórico"));

  app::HelpBrowser* browser = viewer_.Window()->Browser();
  emit browser->anchorClicked(QUrl(QStringLiteral("index.htm")));
  EXPECT_TRUE(Shown().contains(QStringLiteral("Conteúdo da ajuda")));
  browser->backward();
  EXPECT_TRUE(Shown().contains(QStringLiteral("Tópico do contexto 20")));
  EXPECT_TRUE(user_.log.isEmpty());
}

TEST_F(HelpWindowTest, UnknownContextAndContentsShowTheDefaultTopic) {
  viewer_.ShowContext(file_, 99);
  EXPECT_TRUE(Shown().contains(QStringLiteral("Conteúdo da ajuda")));
  viewer_.ShowContext(file_, 1);
  EXPECT_TRUE(Shown().contains(QStringLiteral("Tópico do contexto 1")));
  viewer_.ShowDefaultTopic(file_);
  EXPECT_TRUE(Shown().contains(QStringLiteral("Conteúdo da ajuda")));
}

TEST_F(HelpWindowTest, MissingFileIsReportedClearly) {
  const QString missing = QStringLiteral("/nonexistent/Tervana.chm");
  viewer_.ShowContext(missing, 1);
  EXPECT_EQ(user_.log, QStringList{QStringLiteral("error|Ajuda|") + app::HelpFileProblemText(missing)});
  EXPECT_EQ(viewer_.Window(), nullptr);
  EXPECT_TRUE(app::HelpFileProblemText(missing).contains(missing));
}

TEST_F(HelpWindowTest, ClosingTheMainWindowClosesTheHelpWindow) {
  viewer_.ShowContext(file_, 1);
  ASSERT_TRUE(viewer_.Window()->isVisible());
  viewer_.CloseAll();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(viewer_.Window(), nullptr);
}

}  // namespace
