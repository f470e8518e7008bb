// History files reaching the real main window: from the command line and dropped on it.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDropEvent>
#include <QFile>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include "app/help_viewer.h"
#include "app/program_directory.h"
#include "app/program_forms.h"
#include "app/view_form.h"
#include "fake_user_interaction.h"
#include "history/hist_form.h"
#include "history_text.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace {

class NoHelp : public app::HelpViewer {
 public:
  void ShowContext(const QString&, int) override {}
  void ShowDefaultTopic(const QString&) override {}
  void CloseAll() override {}
};

class MainWindowOpensHistory : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    app::SetProgramDirectory(dir_.path().toStdString());
    forms_ = app::CreateProgramForms(ui_, help_);
  }
  void TearDown() override { forms_.reset(); }

  app::TViewForm& Main() { return *forms_->viewForm; }

  QString Write(const QString& name, const std::string& text) {
    const QString path = dir_.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.data(), static_cast<qint64>(text.size()));
    return path;
  }
  QString GoodFile(const QString& name) {
    return Write(name, history_test::Header() + history_test::DataLine(5, 12, 2026, 8, 0, 0, 0, {"1", "2"}) +
                           history_test::DataLine(5, 12, 2026, 8, 0, 1, 0, {"3", "4"}));
  }

  // The files of the history viewers in the MDI area, in their order.
  QStringList Viewers() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QStringList files;
    for (QWidget* child : Main().ChildWindows()) {
      if (auto* viewer = qobject_cast<history::THistForm*>(child)) {
        EXPECT_EQ(viewer->Series().size(), 2u);
        files << viewer->windowTitle();
      }
    }
    return files;
  }

  QTemporaryDir dir_;
  history_test::FakeUserInteraction ui_;
  NoHelp help_;
  std::unique_ptr<app::ProgramForms> forms_;
};

}  // namespace

TEST_F(MainWindowOpensHistory, FromTheCommandLineInArgumentOrder) {
  const QString a = GoodFile(QStringLiteral("a.mpc")), b = GoodFile(QStringLiteral("B.MPC"));
  const QString broken = Write(QStringLiteral("broken.mpc"), " , \n , \n , \n");
  Main().ProcessCommandLine({b, broken, dir_.filePath(QStringLiteral("gone.mpc")), a});
  EXPECT_EQ(Viewers(), (QStringList{b, a}));
  // The two files that could not be shown were each reported by the main window.
  EXPECT_EQ(ui_.messages.size(), 2);
}

TEST_F(MainWindowOpensHistory, DroppedOnTheWindow) {
  const QString a = GoodFile(QStringLiteral("a.mpc"));
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(a)});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&Main(), &enter);
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&Main(), &drop);
  ASSERT_EQ(Viewers(), QStringList{a});
  EXPECT_TRUE(ui_.messages.isEmpty());

  // Its popup menu takes the main window's captions and closes the viewer's frame.
  auto* viewer = qobject_cast<history::THistForm*>(Main().ChildWindows().value(0));
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(qobject_cast<QMdiSubWindow*>(viewer->parentWidget()) != nullptr);
  QAction* close = viewer->PopupMenu()->findChild<QAction*>(QStringLiteral("Fechar"));
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(close->text(), Main().MenuItemCaption(QStringLiteral("FecharJanela")));
  close->trigger();
  EXPECT_TRUE(Viewers().isEmpty());
}
