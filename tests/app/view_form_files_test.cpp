// The command line, dropped files and opening history files.
#include <gtest/gtest.h>

#include <QDropEvent>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QUrl>

#include "view_form_fixture.h"

namespace {

using apptest::FakeDisplayWindow;
using apptest::FakeHistoryViewer;
using apptest::ViewFormTest;

// Records what the window asked of the environment loader and the history viewers.
class FilesTest : public ViewFormTest {
 protected:
  void SetUp() override {
    ViewFormTest::SetUp();
    Make();
    form_->Hooks().loadEnvironment = [this](const QString& file) {
      events << QStringLiteral("load %1").arg(file);
      if (windowsPerLoad > 0) {
        for (int i = 0; i < windowsPerLoad; ++i) form_->AddChildWindow(new FakeDisplayWindow);
      }
      return !failing.contains(file);
    };
    form_->Hooks().newHistoryViewer = [this]() -> QWidget* {
      auto* viewer = new FakeHistoryViewer;
      viewer->result = !failing.contains(QStringLiteral("next viewer"));
      if (throwing) viewer->throwText = "damaged line";
      QObject::connect(viewer, &QObject::destroyed, [this] { events << QStringLiteral("viewer gone"); });
      return viewer;
    };
    form_->Hooks().stopReadings = [this] { events << QStringLiteral("stop"); };
  }
  QStringList ViewerFiles() {
    QStringList files;
    for (QWidget* child : form_->ChildWindows()) {
      if (auto* viewer = dynamic_cast<FakeHistoryViewer*>(child)) files << viewer->opened;
    }
    return files;
  }
  QString LastTime() { return QStringLiteral("load ") + Program("lasttime.env"); }

  QStringList events;
  QStringList failing;
  int windowsPerLoad = 0;
  bool throwing = false;
};

struct CommandLineCase {
  const char* name;
  QStringList arguments;
  QStringList failing;
  QStringList loads;  // "lasttime" stands for the program directory's file
  QStringList viewers;
};

void PrintTo(const CommandLineCase& c, std::ostream* os) { *os << c.name; }

class CommandLineTest : public FilesTest, public testing::WithParamInterface<CommandLineCase> {};

TEST_P(CommandLineTest, LoadsTheEnvironmentThenOpensHistoryFiles) {
  const CommandLineCase& c = GetParam();
  failing = c.failing;
  form_->ProcessCommandLine(c.arguments);
  QStringList expected;
  for (const QString& load : c.loads) expected << (load == QStringLiteral("lasttime") ? LastTime() : "load " + load);
  EXPECT_EQ(events, expected);
  EXPECT_EQ(ViewerFiles(), c.viewers);
  EXPECT_TRUE(user_.log.isEmpty()) << user_.log.join(QLatin1Char('\n')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLineTest,
    testing::Values(
        CommandLineCase{"none_loads_the_last_workspace", {}, {}, {"lasttime"}, {}},
        CommandLineCase{"capital_extension_is_an_environment", {"/d/A.ENV"}, {}, {"/d/A.ENV"}, {}},
        CommandLineCase{"only_the_first_environment", {"x.txt", "b.env", "c.env"}, {}, {"b.env"}, {}},
        CommandLineCase{"failed_environment_falls_back", {"b.env"}, {"b.env"}, {"b.env", "lasttime"}, {}},
        CommandLineCase{"history_files_in_argument_order", {"2.mpc", "a.env", "1.MPC"}, {}, {"a.env"},
                        {"2.mpc", "1.MPC"}},
        CommandLineCase{"name_containing_the_extension", {"dados.mpc.bak"}, {}, {"lasttime"}, {"dados.mpc.bak"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FilesTest, EnvironmentThatFailsPartWayLeavesNoWindowsBeforeTheFallback) {
  windowsPerLoad = 2;
  failing = {QStringLiteral("broken.env")};
  form_->ProcessCommandLine({QStringLiteral("broken.env")});
  // Two windows of the broken file went; the two of "lasttime.env" stay.
  EXPECT_EQ(Children(), 2);
  EXPECT_TRUE(user_.log.isEmpty());
}

TEST_F(FilesTest, HistoryFileThatFailsShowsAMessageLeavesNoWindowAndTheNextOneOpens) {
  failing = {QStringLiteral("next viewer")};
  form_->ProcessCommandLine({QStringLiteral("bad.mpc")});
  failing.clear();
  throwing = true;
  form_->ProcessCommandLine({QStringLiteral("damaged.mpc")});
  throwing = false;
  form_->ProcessCommandLine({QStringLiteral("good.mpc")});

  EXPECT_EQ(ViewerFiles(), QStringList{"good.mpc"});
  EXPECT_EQ(events.count(QStringLiteral("viewer gone")), 2);
  ASSERT_EQ(user_.log.size(), 2);
  EXPECT_EQ(user_.log[0], QStringLiteral("error|Atenção!!!|Problemas na leitura do arquivo!\nbad.mpc"));
  EXPECT_EQ(user_.log[1], QStringLiteral("error|Atenção!!!|Problemas na leitura do arquivo!\ndamaged.mpc\ndamaged line"));
}

TEST_F(FilesTest, DroppedNamesMatchCaseSensitively) {
  form_->HandleDroppedFiles({QStringLiteral("/d/A.ENV"), QStringLiteral("/d/B.MPC"), QStringLiteral("/d/c.mpc"),
                             QStringLiteral("/d/e.env")});
  EXPECT_EQ(events, QStringList{"load /d/e.env"});
  EXPECT_EQ(ViewerFiles(), QStringList{"/d/c.mpc"});
  // An environment dropped over open windows asks before closing the display windows.
  EXPECT_EQ(user_.log, QStringList{"ask|Atenção!!!|Deseja excluir as janelas atuais?"});
}

TEST_F(FilesTest, DropEventCarriesLocalFilesOnly) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QStringLiteral("/d/café.mpc")), QUrl(QStringLiteral("https://example.org/x.mpc"))});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(form_.get(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(form_.get(), &drop);
  EXPECT_EQ(ViewerFiles(), QStringList{QStringLiteral("/d/café.mpc")});
}

TEST_F(FilesTest, DroppedEnvironmentStopsRunningReadingsFirst) {
  form_->Hooks().startReadings = [] { return app::ReadingRunInfo{}; };
  form_->AddChildWindow(new FakeDisplayWindow);
  form_->StartReadings();
  ASSERT_TRUE(form_->Reading());
  form_->HandleDroppedFiles({QStringLiteral("/d/w.env")});
  EXPECT_EQ(events, (QStringList{"stop", "load /d/w.env"}));
  EXPECT_FALSE(form_->Reading());
  EXPECT_EQ(Children(), 0);
}

TEST_F(FilesTest, OpenDialogOpensTheChosenHistoryFile) {
  user_.files = {QStringLiteral("/d/run.mpc")};
  Button("OpenHistToolButton")->click();
  EXPECT_EQ(user_.log, QStringList{"open|Abrir histórico..."});
  EXPECT_EQ(ViewerFiles(), QStringList{"/d/run.mpc"});
  user_.log.clear();
  Item("AbrirHistorico")->trigger();  // cancelled
  EXPECT_EQ(ViewerFiles().size(), 1);
}

}  // namespace
