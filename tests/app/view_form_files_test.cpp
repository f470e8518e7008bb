// The command line, dropped files and opening history files.
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "app_fixture.h"

namespace {

using apptest::FakeDisplayWindow;
using apptest::FakeHistoryViewer;

// Environments named "bad..." fail to load after adding `windowsPerLoad` windows.
class FilesTest : public apptest::ViewFormTest {
 protected:
  void SetUp() override {
    ViewFormTest::SetUp();
    Make();
    form_->Hooks().loadEnvironment = [this](const QString& file, app::EnvironmentSource) {
      events << QStringLiteral("load %1").arg(file);
      for (int i = 0; i < windowsPerLoad; ++i) Add<FakeDisplayWindow>();
      return !file.startsWith(QStringLiteral("bad"));
    };
    form_->Hooks().newHistoryViewer = [this]() -> QWidget* {
      auto* viewer = new FakeHistoryViewer;
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

  QStringList events;
  int windowsPerLoad = 0;
};

struct CommandLineCase {
  const char* name;
  QStringList arguments;
  QStringList loads;  // "lasttime" stands for the program directory's file
  QStringList viewers;
};

void PrintTo(const CommandLineCase& c, std::ostream* os) { *os << c.name; }

class CommandLineTest : public FilesTest, public testing::WithParamInterface<CommandLineCase> {};

TEST_P(CommandLineTest, LoadsTheEnvironmentThenOpensHistoryFiles) {
  const CommandLineCase& c = GetParam();
  form_->ProcessCommandLine(c.arguments);
  QStringList expected;
  for (const QString& load : c.loads) expected << "load " + (load == "lasttime" ? Program("lasttime.env") : load);
  EXPECT_EQ(events, expected);
  EXPECT_EQ(ViewerFiles(), c.viewers);
  EXPECT_TRUE(user_.log.isEmpty()) << user_.log.join(QLatin1Char('\n')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLineTest,
    testing::Values(
        CommandLineCase{"none_loads_the_last_workspace", {}, {"lasttime"}, {}},
        CommandLineCase{"capital_extension_is_an_environment", {"/d/A.ENV"}, {"/d/A.ENV"}, {}},
        CommandLineCase{"only_the_first_environment", {"x.txt", "b.env", "c.env"}, {"b.env"}, {}},
        CommandLineCase{"failed_environment_falls_back", {"bad.env", "c.env"}, {"bad.env", "lasttime"}, {}},
        CommandLineCase{"history_files_in_argument_order", {"2.mpc", "a.env", "1.MPC"}, {"a.env"}, {"2.mpc", "1.MPC"}},
        CommandLineCase{"name_containing_the_extension", {"dados.mpc.bak"}, {"lasttime"}, {"dados.mpc.bak"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FilesTest, EnvironmentThatFailsPartWayLeavesNoWindowsBeforeTheFallback) {
  windowsPerLoad = 2;
  form_->ProcessCommandLine({QStringLiteral("bad.env")});
  // Two windows of the bad file went; the two of "lasttime.env" stay.
  EXPECT_EQ(Children(), 2);
}

TEST_F(FilesTest, HistoryFileThatFailsShowsAMessageLeavesNoWindowAndTheNextOneOpens) {
  form_->ProcessCommandLine({QStringLiteral("bad.mpc"), QStringLiteral("damaged.mpc"), QStringLiteral("good.mpc")});
  EXPECT_EQ(ViewerFiles(), QStringList{"good.mpc"});
  EXPECT_EQ(events.count(QStringLiteral("viewer gone")), 2);
  EXPECT_EQ(user_.log, (QStringList{"error|Atenção!!!|Problemas na leitura do arquivo!\nbad.mpc",
                                    "error|Atenção!!!|Problemas na leitura do arquivo!\ndamaged.mpc\ndamaged line"}));
}

TEST_F(FilesTest, DroppedLocalFilesMatchTheirExtensionsCaseSensitively) {
  QList<QUrl> urls{QUrl(QStringLiteral("https://example.org/x.mpc"))};
  for (const char* name : {"/d/A.ENV", "/d/B.MPC", "/d/café.mpc", "/d/e.env"}) {
    urls << QUrl::fromLocalFile(QString::fromUtf8(name));
  }
  QMimeData data;
  data.setUrls(urls);
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(form_.get(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(form_.get(), &drop);
  EXPECT_EQ(events, QStringList{"load /d/e.env"});
  EXPECT_EQ(ViewerFiles(), QStringList{QStringLiteral("/d/café.mpc")});
  // An environment dropped over open windows asks before closing the display windows.
  EXPECT_EQ(user_.log, QStringList{"ask|Atenção!!!|Deseja excluir as janelas atuais?"});
}

TEST_F(FilesTest, DroppedEnvironmentStopsRunningReadingsFirst) {
  form_->Hooks().startReadings = [] { return app::ReadingRunInfo{}; };
  Add<FakeDisplayWindow>();
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
  Item("AbrirHistorico")->trigger();  // cancelled
  EXPECT_EQ(user_.log, (QStringList{"open|Abrir histórico...", "open|Abrir histórico..."}));
  EXPECT_EQ(ViewerFiles(), QStringList{"/d/run.mpc"});
}

}  // namespace
