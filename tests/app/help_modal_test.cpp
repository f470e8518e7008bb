// The help window while a dialog waits for an answer: real modal dialogs (the readings dialog
// run through the program's user interaction, Qt's own message box, a plain QDialog::exec),
// real key presses and clicks delivered the way the window system delivers them, so a window
// the dialog blocks would drop them.
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <functional>

#include "app/help_viewer.h"
#include "app/readings_config_form.h"
#include "app_fixture.h"
#include "ui/help_context.h"
#include "ui/user_interaction.h"

namespace {

// The middle of the link to `href` in the browser, in its window's coordinates.
std::optional<QPoint> LinkPosition(app::HelpBrowser* browser, const QString& href) {
  for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (!fragment.charFormat().isAnchor() || fragment.charFormat().anchorHref() != href) continue;
      QTextCursor cursor(browser->document());
      cursor.setPosition(fragment.position() + fragment.length() / 2);
      const QRect rect = browser->cursorRect(cursor);
      return browser->viewport()->mapTo(browser->window(), rect.center());
    }
  }
  return std::nullopt;
}

class HelpWhileDialogOpenTest : public apptest::ViewFormTest {
 protected:
  void SetUp() override {
    ViewFormTest::SetUp();
    if (QString::fromUtf8(TEST_HELP_FILE).isEmpty()) GTEST_SKIP() << "no help compiler";
    ASSERT_TRUE(QFile::copy(QString::fromUtf8(TEST_HELP_FILE), Program("Tervana.chm")));
    form_ = std::make_unique<app::TViewForm>(user_, viewer_);
    form_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get(), apptest::kExposeWaitMs));
  }
  void TearDown() override {
    viewer_.CloseAll();
    ViewFormTest::TearDown();
  }

  // Runs `open`, which shows a modal dialog and waits for it; once it waits, `inside` gets the
  // dialog, which is then closed whatever `inside` found.
  static void WhileModal(const std::function<void()>& open, const std::function<void(QWidget*)>& inside) {
    QTimer::singleShot(0, [inside] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal != nullptr && QTest::qWaitForWindowExposed(modal, apptest::kExposeWaitMs)) inside(modal);
      if (QWidget* still = QApplication::activeModalWidget()) still->close();
    });
    open();
  }

  app::HelpWindow* Help() const { return viewer_.Window(); }
  QString Shown() const { return Help() != nullptr ? Help()->Browser()->toPlainText() : QString(); }

  void Click(const QString& href) {
    const auto at = LinkPosition(Help()->Browser(), href);
    ASSERT_TRUE(at.has_value()) << href.toStdString();
    QTest::mouseClick(Help()->windowHandle(), Qt::LeftButton, Qt::NoModifier, *at);
  }

  // The readings topic is shown: scroll it, follow its link to the contents, close the window,
  // each while `modal` stays open.
  void ScrollFollowAndClose(QWidget* modal) {
    ASSERT_NE(Help(), nullptr);
    ASSERT_TRUE(Help()->isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Help(), apptest::kExposeWaitMs));
    ASSERT_TRUE(Shown().contains(QStringLiteral("Tópico do contexto 20"))) << Shown().toStdString();
    QScrollBar* bar = Help()->Browser()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0) << "the topic must be longer than the window";
    QTest::keyClick(Help()->windowHandle(), Qt::Key_PageDown);
    EXPECT_GT(bar->value(), 0);
    QTest::keyClick(Help()->windowHandle(), Qt::Key_End);  // the link is at the end
    EXPECT_EQ(bar->value(), bar->maximum());

    Click(QStringLiteral("index.htm"));
    EXPECT_TRUE(Shown().contains(QStringLiteral("Conteúdo da ajuda"))) << Shown().toStdString();

    const QPointer<app::HelpWindow> window = Help();
    QTest::keyClick(window->windowHandle(), Qt::Key_Escape);
    EXPECT_TRUE(window.isNull() || !window->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), modal);
    EXPECT_TRUE(modal->isVisible());
  }

  app::ChmHelpViewer viewer_{user_};
};

TEST_F(HelpWhileDialogOpenTest, F1InTheReadingsDialogOpensItsTopicInAWindowTheDialogDoesNotBlock) {
  ui::QtUserInteraction program;
  app::TReadingsConfigForm dialog(
      program, form_->OpenDialog(), [] { return std::vector<app::TriggerSourceEntry>{}; },
      [] { return std::vector<std::string>{}; }, form_.get());
  bool inside = false;
  WhileModal([&] { dialog.Execute(); },
             [&](QWidget* modal) {
               inside = true;
               ASSERT_EQ(modal, &dialog);
               QTest::keyClick(dialog.windowHandle(), Qt::Key_F1);
               ScrollFollowAndClose(modal);
             });
  EXPECT_TRUE(inside);
  EXPECT_TRUE(user_.log.isEmpty()) << user_.log.join(QLatin1Char('\n')).toStdString();
}

TEST_F(HelpWhileDialogOpenTest, AMessageBoxOverADialogLeavesTheHelpWindowUsable) {
  // Qt's own message box over a dialog run by QDialog::exec: both application-modal as made.
  QDialog dialog(form_.get());
  ui::SetHelpContext(&dialog, ui::kHelpContextReadingsDialog);
  bool inside = false;
  WhileModal([&] { dialog.exec(); },
             [&](QWidget*) {
               auto warn = [&] { QMessageBox::warning(&dialog, QStringLiteral("Aviso"), QStringLiteral("Valor inválido")); };
               WhileModal(warn,
                          [&](QWidget* box) {
                            inside = true;
                            ASSERT_NE(box, &dialog);
                            QTest::keyClick(box->windowHandle(), Qt::Key_F1);  // the dialog's topic
                            ScrollFollowAndClose(box);
                          });
             });
  EXPECT_TRUE(inside);
}

TEST_F(HelpWhileDialogOpenTest, AHelpWindowOpenBeforeTheDialogStaysUsable) {
  QTest::keyClick(form_->windowHandle(), Qt::Key_F1);
  ASSERT_TRUE(Shown().contains(QStringLiteral("Tópico do contexto 1"))) << Shown().toStdString();
  QDialog dialog(form_.get());
  bool inside = false;
  WhileModal([&] { dialog.exec(); },
             [&](QWidget* modal) {
               inside = true;
               Click(QStringLiteral("readings.htm"));
               ScrollFollowAndClose(modal);
             });
  EXPECT_TRUE(inside);
}

TEST_F(HelpWhileDialogOpenTest, DialogsStillBlockTheMainWindowAndItsChildWindows) {
  auto* child = Add<apptest::FakeDisplayWindow>();
  auto* edit = new QLineEdit(child);
  edit->show();
  edit->setFocus();
  QDialog dialog(form_.get());
  WhileModal([&] { dialog.exec(); },
             [&](QWidget*) {
               QTest::keyClick(form_->windowHandle(), Qt::Key_F1);
               QTest::keyClick(form_->windowHandle(), Qt::Key_A);
             });
  EXPECT_EQ(Help(), nullptr);
  EXPECT_EQ(edit->text(), QString());
  QTest::keyClick(form_->windowHandle(), Qt::Key_A);  // once the dialog has closed
  EXPECT_EQ(edit->text(), QStringLiteral("a"));
}

}  // namespace
