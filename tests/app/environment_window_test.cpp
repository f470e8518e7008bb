// The main window saving and restoring its workspace: files of the independent encoder load
// into windows and settings, damaged and newer files change nothing they must not, numbers
// from a file stay within their limits, and a workspace saved at close comes back whole.
#include <QDir>
#include <QLabel>
#include <QToolButton>
#include <iterator>

#include "display/display_chart.h"
#include "display/display_object.h"
#include "environment_fixture.h"
#include "environment_script.h"
#include "support/unattended_pipe.h"

namespace {

using envtest::Chart;
using envtest::OfKind;
using envtest::ScriptDecode;
using envtest::ScriptEncode;

QJsonObject Window(int kind, int left, int readInterval) {
  return {{"kind", kind}, {"left", left}, {"top", left / 2}, {"width", 200 + kind}, {"height", 150 + kind},
          {"serial", 20}, {"value_index", 1}, {"read_interval", readInterval}, {"tag", "Estufa"},
          {"channel", "Canal 1"}};
}

QJsonObject EveryKind() {
  QJsonObject chart = Window(1, 0, 2000);
  chart["entries"] = QJsonArray{QJsonObject{{"name", "Estufa / Canal 1"}, {"serial", 20}, {"value_index", 1}},
                                QJsonObject{{"name", "Forno / Canal 2"}, {"serial", 10}, {"value_index", 2}}};
  chart["settings"] = QJsonObject{{"chart_color", 2147483663.0}, {"back_color", 0xFFFFFF}, {"channels_selected", 1},
                                  {"y_max", 100}, {"visible_period", 2.0 / 1440}, {"line_width", 2}};
  QJsonArray windows{chart};
  for (int kind = 2; kind <= 6; ++kind) windows.append(Window(kind, 40 * kind, kind == 6 ? -5 : 3000));
  return {{"reserved", 0xA5},
          {"main", QJsonObject{{"left", 30}, {"top", 40}, {"width", 900}, {"height", 650}}},
          {"readings", QJsonObject{{"error", 2.5}, {"history_on", 1}, {"history_interval", 0}, {"fast", 0},
                                   {"file", "/dados/ensaio ação.mpc"}, {"trigger_on", 1}, {"comparison", 0},
                                   {"level", 7.5}, {"source_serial", 20}, {"source_index", 6}}},
          {"windows", windows}};
}

class EnvironmentTest : public envtest::ProgramTest {
 protected:
  QString Script(const QJsonObject& spec, const char* name = "script.env") {
    const QString file = File(name);
    ScriptEncode(spec, file);
    return file;
  }
  QString Message(int index) { return View().Messages()[static_cast<size_t>(index)]; }
  bool Enabled(const char* name) {
    return Item(name) != nullptr ? Item(name)->isEnabled() : View().findChild<QToolButton*>(name)->isEnabled();
  }
};

TEST_F(EnvironmentTest, AFileOfTheScriptLoadsEveryKindWithItsPlacementAndTheSettings) {
  ASSERT_TRUE(View().LoadEnvironment(Script(EveryKind())));
  EXPECT_TRUE(user_.messages.isEmpty()) << user_.messages.join('\n').toStdString();

  const auto forms = Displays();
  ASSERT_EQ(forms.size(), 6u);
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    const int kind = i + 1;
    EXPECT_EQ(forms[i]->Config().kind, static_cast<DisplayKind>(kind));
    EXPECT_NE(forms[i]->Element(), nullptr);
    EXPECT_EQ(Frame(forms[i]), QRect(40 * kind * (kind > 1), 20 * kind * (kind > 1), 200 + kind, 150 + kind));
  }
  ASSERT_EQ(forms[0]->Config().chartChannels.size(), 2u);
  EXPECT_EQ(forms[0]->Config().chartChannels[1].name, "Forno / Canal 2");
  EXPECT_EQ(forms[0]->Config().Chart().lineWidth, 2);
  EXPECT_EQ(View().geometry(), QRect(30, 40, 900, 650));

  // The settings, the main window's error value and trigger, and the history switch.
  EXPECT_EQ(View().GetErrorValue(), 2.5f);
  EXPECT_EQ(Settings().GetErrorValue(), 2.5f);
  EXPECT_TRUE(Settings().GetLogEnabled());
  EXPECT_TRUE(View().HistoryOn());
  EXPECT_TRUE(Enabled("Desabilitar"));
  EXPECT_TRUE(View().StatusPanel(0)->text().endsWith(QStringLiteral("/dados/ensaio ação.mpc")));
  EXPECT_EQ(Settings().GetLogFileName(), QStringLiteral("/dados/ensaio ação.mpc"));
  EXPECT_FALSE(Settings().GetFastMode());
  for (const app::TriggerSettings& t : {View().Trigger(), Settings().GetTrigger()}) {
    EXPECT_TRUE(t.on);
    EXPECT_EQ(t.comparison, 0);
    EXPECT_EQ(t.level, 7.5);
    EXPECT_EQ(t.sourceSerial, 20u);
    EXPECT_EQ(t.sourceIndex, 6);
  }
  // Each window hands its interval on; the last one's stays, within the limits.
  EXPECT_EQ(Settings().GetReadInterval(), 250);
  EXPECT_EQ(Settings().GetLogInterval(), 250);
  EXPECT_TRUE(Enabled("ConfigurarJanela"));
  EXPECT_TRUE(Enabled("SetupWindowToolButton"));
}

// Intervals through the settings' clamping setters; numbers that are no numbers as 0.
TEST_F(EnvironmentTest, NumbersFromTheFileStayWithinTheSettingsLimits) {
  struct Case {
    int fast, historyInterval, readInterval;
    int32_t expectedHistory, expectedRead;
  } cases[] = {{0, 0, -5, 250, 250}, {1, 0, -5, 10, 250}, {1, 99999999, 70000, 3600000, 60000}, {0, 5000, 750, 5000, 750}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.historyInterval << " " << c.readInterval);
    ASSERT_TRUE(View().LoadEnvironment(Script(
        {{"readings", QJsonObject{{"fast", c.fast}, {"history_interval", c.historyInterval}, {"error", "nan"},
                                  {"level", "-inf"}}},
         {"windows", QJsonArray{Window(3, 0, c.readInterval)}}})));
    EXPECT_EQ(Settings().GetLogInterval(), c.expectedHistory);
    EXPECT_EQ(Settings().GetReadInterval(), c.expectedRead);
    EXPECT_EQ(View().GetErrorValue(), 0.0f);
    EXPECT_EQ(View().Trigger().level, 0.0);
  }
}

TEST_F(EnvironmentTest, FilesThatCannotBeTakenChangeNothing) {
  View().SetErrorValue(4.0f);
  const QRect before = View().geometry();
  const QJsonObject workspace{{"main", QJsonObject{{"left", 1}, {"top", 2}, {"width", 500}, {"height", 400}}},
                              {"readings", QJsonObject{{"error", 9}}},
                              {"windows", QJsonArray{Window(3, 0, 500)}}};
  QJsonObject newer = workspace;
  newer["version"] = 0x68;
  QJsonObject shortRecord = workspace;
  shortRecord["truncate"] = 152 + 100;
  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("folder.env")));
  const struct {
    const char* what;
    QString file;
    QStringList messages;
  } cases[] = {
      {"a newer version", Script(newer, "newer.env"), {Message(app::kMsgEnvironmentTooNew)}},
      {"cut inside the readings record", Script(shortRecord, "short.env"), {Message(app::kMsgFileReadProblem)}},
      {"no such file", File("missing.env"), {}},
      {"a folder", File("folder.env"), {Message(app::kMsgFileOpenProblem)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    user_.messages.clear();
    EXPECT_FALSE(View().LoadEnvironment(c.file));
    ASSERT_EQ(user_.messages.size(), c.messages.size());
    for (int i = 0; i < c.messages.size(); ++i) EXPECT_TRUE(user_.messages[i].startsWith(c.messages[i]));
    EXPECT_TRUE(Displays().empty());
    EXPECT_EQ(View().GetErrorValue(), 4.0f);
    EXPECT_EQ(View().geometry(), before);
    EXPECT_FALSE(Enabled("ConfigurarJanela"));
  }
}

// A pipe or a device in a workspace's place is never waited on or read: one the user names is
// refused with its name and what it is; the last session's, and the language file, are passed
// over at start-up as if missing.
TEST_F(EnvironmentTest, APipeOrADeviceIsRefusedAndPassedOverAtStartUp) {
  const testsupport::UnattendedPipe named(File("pipe.env").toStdString()), last(File("lasttime.env").toStdString()),
      language(File("Tervana.trl").toStdString());
  ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), File("device.env")));
  View().ProcessCommandLine({File("pipe.env")});
  EXPECT_FALSE(View().LoadEnvironment(File("device.env")));
  const QString refused = Message(app::kMsgFileOpenProblem) + QStringLiteral("\n%1\nit is a %2");
  EXPECT_EQ(user_.messages, (QStringList{refused.arg(File("pipe.env"), QStringLiteral("named pipe")),
                                         refused.arg(File("device.env"), QStringLiteral("device"))}));
  Start();
  View().ProcessCommandLine({});
  EXPECT_EQ(user_.messages.size(), 2);
  EXPECT_FALSE(ui::ProgramLanguage().Loaded());
}

TEST_F(EnvironmentTest, AFileCutInsideAChartKeepsTheWindowsBeforeItAndSaysNothing) {
  QJsonObject chart = Window(1, 0, 500);
  chart["entries"] = QJsonArray{QJsonObject{{"name", "a"}}, QJsonObject{{"name", "b"}}, QJsonObject{{"name", "c"}}};
  EXPECT_FALSE(View().LoadEnvironment(Script({{"readings", QJsonObject{{"error", 3}}},
                                              {"windows", QJsonArray{Window(3, 0, 500), chart, Window(4, 0, 500)}},
                                              {"truncate", 152 + 20}})));
  EXPECT_TRUE(user_.messages.isEmpty());
  ASSERT_EQ(Displays().size(), 1u);
  EXPECT_EQ(Displays()[0]->Config().kind, DisplayKind::LedDigits);
  EXPECT_EQ(View().GetErrorValue(), 3.0f);
  // The window that stays can be configured like any other.
  EXPECT_TRUE(Enabled("ConfigurarJanela"));
}

// Charts of every channel count, each window at a size of its own, from a workspace the program
// did not write; then resized as a user would, and brought back at the next start. A legend
// that wraps into a partly filled last row once ended the program here, at every start.
TEST_F(EnvironmentTest, ChartsOfEveryChannelCountLoadResizeAndComeBackAtTheNextStart) {
  constexpr int kMostChannels = 24;
  const QSize sizes[] = {{340, 250}, {200, 150}, {150, 420}, {640, 480}, {260, 250}};
  QJsonArray windows;
  for (int count = 1; count <= kMostChannels; ++count) {
    QJsonObject chart = Window(1, 10 * count, 1000);
    const QSize size = sizes[count % std::size(sizes)];
    chart["width"] = size.width();
    chart["height"] = size.height();
    QJsonArray entries;
    for (int i = 0; i < count; ++i) {
      entries.append(QJsonObject{{"name", QStringLiteral("Estufa %1/Canal %2").arg(i / 4).arg(i % 4 + 1)},
                                 {"serial", 20 + i / 4}, {"value_index", i % 4}});
    }
    chart["entries"] = entries;
    windows.append(chart);
  }
  ASSERT_TRUE(View().LoadEnvironment(Script({{"windows", windows}})));
  EXPECT_TRUE(user_.messages.isEmpty()) << user_.messages.join('\n').toStdString();
  auto forms = Displays();
  ASSERT_EQ(forms.size(), static_cast<size_t>(kMostChannels));
  for (TDisplayForm* form : forms) {
    const size_t count = form->Config().chartChannels.size();
    SCOPED_TRACE(count);
    ASSERT_NE(form->Element(), nullptr);
    ASSERT_NE(form->Element()->Chart(), nullptr);
    EXPECT_EQ(form->Element()->Chart()->Series().size(), count);
    for (const QSize& size : sizes) {
      form->parentWidget()->resize(size);
      QCoreApplication::processEvents();
    }
  }
  View().close();

  SetReadingsStopped(true);
  Start();
  View().ProcessCommandLine({});
  forms = Displays();
  ASSERT_EQ(forms.size(), static_cast<size_t>(kMostChannels));
  for (size_t i = 0; i < forms.size(); ++i) {
    EXPECT_EQ(forms[i]->Config().chartChannels.size(), i + 1);
    EXPECT_NE(forms[i]->Element(), nullptr);
  }
}

// A workspace of every kind, a chart among them, and a child that is no display window.
class SavedWorkspace : public EnvironmentTest {
 protected:
  void Build() {
    AddDisplay(Chart({"Estufa / Canal 1", "Estufa / Canal 2", "Forno / Contagens"}), {10, 10, 320, 240});
    int left = 40;
    for (DisplayKind kind : {DisplayKind::LcdIndicator, DisplayKind::LedDigits, DisplayKind::BarMeter,
                             DisplayKind::DialGauge, DisplayKind::AnalogMeter}) {
      AddDisplay(OfKind(kind, 10 + static_cast<uint32_t>(kind)), {left, left / 2, 250, 180});
      left += 30;
    }
    View().AddChildWindow(new QLabel(QStringLiteral("no display")));
    View().setGeometry(50, 60, 1000, 700);
    View().SetErrorValue(-3.25f);
    Settings().SetReadInterval(500);
    Settings().SetLogInterval(2000);
    Settings().SetFastMode(false);
    Settings().SetLogFileName(QStringLiteral("/dados/saída.mpc"));
    const app::TriggerSettings trigger{true, 1, 12.5, 20, 7};
    View().SetTrigger(trigger);
    Settings().SetTrigger(trigger);
    View().EnableHistory();
  }
};

TEST_F(SavedWorkspace, SaveLoadAndSaveAgainGiveTheSameBytes) {
  Build();
  const QString first = File("first.env");
  ASSERT_TRUE(View().SaveEnvironment(first));
  View().CloseAllDisplays();
  ASSERT_TRUE(Displays().empty());
  ASSERT_TRUE(View().LoadEnvironment(first));
  const QString second = File("second.env");
  ASSERT_TRUE(View().SaveEnvironment(second));
  // Nothing the layout leaves meaningless differs either: it is written as zeros each time.
  EXPECT_EQ(envtest::FileBytes(first), envtest::FileBytes(second));
  EXPECT_EQ(Displays().size(), 6u);
}

TEST_F(SavedWorkspace, TheScriptReadsTheSavedWorkspace) {
  Build();
  const QString file = File("saved.env");
  ASSERT_TRUE(View().SaveEnvironment(file));
  const QJsonObject saved = ScriptDecode(file);
  EXPECT_EQ(saved["status"].toString(), "complete");
  EXPECT_EQ(saved["main"].toObject(),
            (QJsonObject{{"maximized", 0}, {"left", 50}, {"top", 60}, {"width", 1000}, {"height", 700}}));
  const QJsonObject readings = saved["readings"].toObject();
  EXPECT_EQ(readings["error"].toDouble(), -3.25);
  EXPECT_EQ(readings["history_on"].toInt(), 1);
  EXPECT_EQ(readings["history_interval"].toInt(), 2000);
  EXPECT_EQ(readings["file"].toString(), QStringLiteral("/dados/saída.mpc"));
  EXPECT_EQ(readings["level"].toDouble(), 12.5);
  EXPECT_EQ(readings["source_index"].toInt(), 7);
  const QJsonArray windows = saved["windows"].toArray();
  // History viewers and any other child are not part of the workspace.
  ASSERT_EQ(windows.size(), 6);
  for (int i = 0; i < windows.size(); ++i) {
    const QJsonObject w = windows[i].toObject();
    EXPECT_EQ(w["kind"].toInt(), i + 1);
    // Every window carries the settings' reading interval, not the one it was made with.
    EXPECT_EQ(w["read_interval"].toInt(), 500);
  }
  const QJsonArray entries = windows[0].toObject()["entries"].toArray();
  ASSERT_EQ(entries.size(), 3);
  EXPECT_EQ(entries[2].toObject()["name"].toString(), "Forno / Contagens");
  EXPECT_EQ(windows[0].toObject()["left"].toInt(), 10);
  EXPECT_EQ(windows[0].toObject()["width"].toInt(), 320);
}

TEST_F(SavedWorkspace, ClosingWritesLasttimeAndTheNextStartRestoresIt) {
  Build();
  View().close();
  const QString lasttime = File("lasttime.env");
  ASSERT_TRUE(QFile::exists(lasttime));

  // A new program, started without arguments.
  SetReadingsStopped(true);
  Start();
  View().ProcessCommandLine({});
  const auto forms = Displays();
  ASSERT_EQ(forms.size(), 6u);
  EXPECT_EQ(forms[0]->Config().chartChannels.size(), 3u);
  EXPECT_EQ(forms[0]->Config().chartChannels[1].name, "Estufa / Canal 2");
  EXPECT_EQ(Frame(forms[0]), QRect(10, 10, 320, 240));
  EXPECT_EQ(forms[2]->Config().kind, DisplayKind::LedDigits);
  EXPECT_EQ(forms[2]->Config().Led().segmentSize, 10);
  EXPECT_EQ(Frame(forms[5]), QRect(160, 80, 250, 180));
  EXPECT_EQ(View().geometry(), QRect(50, 60, 1000, 700));
  EXPECT_EQ(Settings().GetReadInterval(), 500);
  EXPECT_EQ(Settings().GetLogInterval(), 2000);
  EXPECT_EQ(Settings().GetLogFileName(), QStringLiteral("/dados/saída.mpc"));
  EXPECT_EQ(View().GetErrorValue(), -3.25f);
  EXPECT_TRUE(View().HistoryOn());
  EXPECT_TRUE(Settings().GetTrigger().on);
  EXPECT_EQ(View().Trigger().sourceIndex, 7);
  EXPECT_TRUE(user_.messages.isEmpty()) << user_.messages.join('\n').toStdString();
}

}  // namespace
