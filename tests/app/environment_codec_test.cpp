// The environment file's codec against an independent encoder and decoder of the layout:
// what the program writes is read field by field by the script, what the script writes is
// read by the program, and damaged or older files read as they must.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>

#include "app/environment_file.h"
#include "environment_script.h"

namespace {

using app::DecodeEnvironment;
using app::EncodeEnvironment;
using app::Environment;
using app::EnvironmentReadStatus;
using envtest::ScriptDecode;
using envtest::ScriptEncode;

struct KindCase {
  const char* name;
  DisplayKind kind;
  std::function<void(DisplayConfig&)> set;
  QJsonObject settings;  // the same values as the script names them
};

void PrintTo(const KindCase& c, std::ostream* os) { *os << c.name; }

const KindCase kKinds[] = {
    {"chart", DisplayKind::Chart,
     [](DisplayConfig& c) {
       c.SetChart({0x112233, 0x445566, true, -5, 0x0000FF, false, 120, 0x00FF00, false, true, 250, -40, 0.25, 3});
       ChartChannelEntry a;
       a.color = 0xFF;
       a.name = "Estufa / Canal 1";
       a.deviceSerial = 20;
       a.valueIndex = 1;
       ChartChannelEntry b = a;
       b.name = "Forno / Contagens";
       b.deviceSerial = 10;
       b.valueIndex = 4;
       b.channelIndex = 9;
       c.chartChannels = {a, b};
     },
     {{"chart_color", 0x112233}, {"back_color", 0x445566}, {"ref1_on", 1}, {"ref1_value", -5},
      {"ref1_color", 0x0000FF}, {"ref2_on", 0}, {"ref2_value", 120}, {"ref2_color", 0x00FF00},
      {"channels_selected", 0}, {"auto_y", 1}, {"y_max", 250}, {"y_min", -40}, {"visible_period", 0.25},
      {"line_width", 3}}},
    {"lcd", DisplayKind::LcdIndicator, [](DisplayConfig& c) { c.SetLcd({0x010203, 0x040506, 0x070809, 9}); },
     {{"on_color", 0x010203}, {"off_color", 0x040506}, {"back_color", 0x070809}, {"digits", 9}}},
    {"led", DisplayKind::LedDigits, [](DisplayConfig& c) { c.SetLed({0x0A0B0C, 0x0D0E0F, 7, 12, 0x8000000F}); },
     {{"on_color", 0x0A0B0C}, {"off_color", 0x0D0E0F}, {"digits", 7}, {"segment_size", 12},
      {"back_color", 2147483663.0}}},
    {"bar", DisplayKind::BarMeter,
     [](DisplayConfig& c) { c.SetBar({0x111111, 0x222222, 0x333333, 0x444444, false, true, 7, 300, -50, 170}); },
     {{"bar_color", 0x111111}, {"bar_back_color", 0x222222}, {"back_color", 0x333333},
      {"marker_color", 0x444444}, {"show_marker", 0}, {"show_increments", 1}, {"increment", 7}, {"max", 300},
      {"min", -50}, {"thickness", 170}}},
    {"dial", DisplayKind::DialGauge,
     [](DisplayConfig& c) { c.SetDial({1, 2, 3, 4, 5, 6, 7, 179, 500, -100, true, 400, false, -20, true, false, 9}); },
     {{"needle_color", 1}, {"text_color", 2}, {"center_color", 3}, {"face_color", 4}, {"high_color", 5},
      {"mid_color", 6}, {"low_color", 7}, {"angle", 179}, {"max", 500}, {"min", -100}, {"high_on", 1},
      {"high_threshold", 400}, {"low_on", 0}, {"low_threshold", -20}, {"mid_on", 1}, {"center_on", 0},
      {"main_ticks", 9}}},
    {"meter", DisplayKind::AnalogMeter,
     [](DisplayConfig& c) {
       c.SetMeter({360, 1000, 1, false, 900, 10, 0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0, true, 20});
     },
     {{"angle", 360}, {"max", 1000}, {"min", 1}, {"show_zones", 0}, {"high_zone", 900}, {"low_zone", 10},
      {"back_color", 0x102030}, {"text_color", 0x405060}, {"high_color", 0x708090}, {"mid_color", 0xA0B0C0},
      {"low_color", 0xD0E0F0}, {"log_scale", 1}, {"tick_count", 20}}},
};

// One window of the kind, with every common field set, in a workspace whose readings use
// every field too.
Environment Workspace(const KindCase& c) {
  Environment env;
  env.mainWindow = {true, -8, 12, 1024, 700};
  env.readings.errorValue = -1.5f;
  env.readings.historyOn = true;
  env.readings.historyIntervalMs = 500;
  env.readings.fastMode = true;
  env.readings.historyFileName = "/dados/ensaio a\xE7\xE3o.mpc";
  env.readings.triggerOn = true;
  env.readings.triggerComparison = 0;
  env.readings.triggerLevel = -12.25;
  env.readings.triggerSourceSerial = 20;
  env.readings.triggerSourceIndex = 6;
  DisplayWindowRecord w;
  w.maximized = false;
  w.left = 10;
  w.top = 20;
  w.width = 300;
  w.height = 200;
  w.config.kind = c.kind;
  w.config.deviceSerial = 12345678;
  w.config.valueIndex = 3;
  w.config.channelIndex = kNoChannel;
  w.config.readInterval = 750;
  w.config.deviceTag = "Estufa";
  w.config.channelName = "Ambiente";
  w.config.unit = "\xB0" "C";
  w.config.decimals = 2;
  c.set(w.config);
  env.windows.push_back(w);
  return env;
}

// The same workspace as the script describes it.
QJsonObject Described(const KindCase& c) {
  const Environment env = Workspace(c);
  QJsonArray entries;
  for (const ChartChannelEntry& e : env.windows[0].config.chartChannels) {
    entries.append(QJsonObject{{"color", double(e.color)}, {"name", QString::fromLatin1(e.name.str().c_str())},
                               {"serial", double(e.deviceSerial)}, {"value_index", e.valueIndex},
                               {"channel_index", e.channelIndex}});
  }
  QJsonObject window{{"maximized", 0}, {"left", 10}, {"top", 20}, {"width", 300}, {"height", 200},
                     {"kind", int(c.kind)}, {"serial", 12345678}, {"value_index", 3}, {"channel_index", kNoChannel},
                     {"read_interval", 750}, {"tag", "Estufa"}, {"channel", "Ambiente"}, {"unit", "°C"},
                     {"decimals", 2}, {"settings", c.settings}};
  if (c.kind == DisplayKind::Chart) window["entries"] = entries;
  return {{"version", 0x67},
          {"main", QJsonObject{{"maximized", 1}, {"left", -8}, {"top", 12}, {"width", 1024}, {"height", 700}}},
          {"readings", QJsonObject{{"error", -1.5}, {"history_on", 1}, {"history_interval", 500}, {"fast", 1},
                                   {"file", "/dados/ensaio ação.mpc"}, {"trigger_on", 1}, {"comparison", 0},
                                   {"level", -12.25}, {"source_serial", 20}, {"source_index", 6}}},
          {"windows", QJsonArray{window}}};
}

class CodecTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QString File(const char* name) { return dir_.filePath(QString::fromLatin1(name)); }
  // The script's file for a description, read by the program.
  app::EnvironmentReadResult ReadScriptFile(const QJsonObject& spec) {
    const QString file = File("script.env");
    ScriptEncode(spec, file);
    const QByteArray bytes = envtest::FileBytes(file);
    return DecodeEnvironment(
        std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())));
  }
  QJsonObject ReadProgramFile(const Environment& env) {
    const std::vector<uint8_t> bytes = EncodeEnvironment(env);
    const QString file = File("program.env");
    QFile out(file);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    out.close();
    return ScriptDecode(file);
  }
  QTemporaryDir dir_;
};

class KindTest : public CodecTest, public testing::WithParamInterface<KindCase> {};

TEST_P(KindTest, TheScriptReadsWhatTheProgramWrites) {
  QJsonObject decoded = ReadProgramFile(Workspace(GetParam()));
  EXPECT_EQ(decoded.take("status").toString(), "complete");
  EXPECT_EQ(decoded.take("trailing").toInt(), 0);
  EXPECT_EQ(decoded, Described(GetParam())) << QJsonDocument(decoded).toJson().toStdString();
}

TEST_P(KindTest, TheProgramReadsWhatTheScriptWrites) {
  QJsonObject spec = Described(GetParam());
  spec["reserved"] = 0xA5;  // every reserved and unused byte, and the channel-list field
  const auto read = ReadScriptFile(spec);
  ASSERT_EQ(read.status, EnvironmentReadStatus::kOk);
  const Environment expected = Workspace(GetParam());
  EXPECT_EQ(read.environment.mainWindow, expected.mainWindow);
  EXPECT_EQ(read.environment.readings, expected.readings);
  ASSERT_EQ(read.environment.windows.size(), 1u);
  const DisplayWindowRecord& got = read.environment.windows[0];
  const DisplayWindowRecord& want = expected.windows[0];
  EXPECT_EQ(std::tie(got.maximized, got.left, got.top, got.width, got.height),
            std::tie(want.maximized, want.left, want.top, want.width, want.height));
  EXPECT_EQ(got.config.chartChannels, want.config.chartChannels);
  // The common fields and the kind's own, as the program decodes them, against the record
  // built directly: compared through the kind's settings, since unused bytes hold 0xA5.
  EXPECT_EQ(std::tie(got.config.kind, got.config.deviceSerial, got.config.valueIndex, got.config.readInterval,
                     got.config.decimals),
            std::tie(want.config.kind, want.config.deviceSerial, want.config.valueIndex, want.config.readInterval,
                     want.config.decimals));
  EXPECT_EQ(got.config.unit, want.config.unit);
  switch (GetParam().kind) {
    case DisplayKind::Chart: EXPECT_EQ(got.config.Chart(), want.config.Chart()); break;
    case DisplayKind::LcdIndicator: EXPECT_EQ(got.config.Lcd(), want.config.Lcd()); break;
    case DisplayKind::LedDigits: EXPECT_EQ(got.config.Led(), want.config.Led()); break;
    case DisplayKind::BarMeter: EXPECT_EQ(got.config.Bar(), want.config.Bar()); break;
    case DisplayKind::DialGauge: EXPECT_EQ(got.config.Dial(), want.config.Dial()); break;
    case DisplayKind::AnalogMeter: EXPECT_EQ(got.config.Meter(), want.config.Meter()); break;
    case DisplayKind::None: break;
  }
}

INSTANTIATE_TEST_SUITE_P(EveryKind, KindTest, testing::ValuesIn(kKinds),
                         [](const auto& info) { return std::string(info.param.name); });

QJsonObject ChartWithThree() {
  QJsonArray entries;
  for (const char* name : {"um", "dois", "tres"}) entries.append(QJsonObject{{"name", name}, {"value_index", 1}});
  return {{"kind", 1}, {"entries", entries}, {"settings", QJsonObject{{"line_width", 7}}}};
}
QJsonObject Led() {
  return {{"kind", 3}, {"settings", QJsonObject{{"off_color", 0x0D0E0F}, {"back_color", 0x999999}}}};
}

// Older versions: no line width before 0x66, no LED background before 0x67, no trigger before
// 0x67 (the readings record is 20 bytes shorter and its file name runs to its end).
TEST_F(CodecTest, OlderVersionsGetWhatTheirRecordsLack) {
  for (int version : {0x65, 0x66}) {
    SCOPED_TRACE(version);
    const QString name(502, QLatin1Char('n'));
    const auto read = ReadScriptFile({{"version", version},
                                      {"readings", QJsonObject{{"history_interval", 2000}, {"file", name}}},
                                      {"windows", QJsonArray{ChartWithThree(), Led()}}});
    ASSERT_EQ(read.status, EnvironmentReadStatus::kOk);
    const auto& r = read.environment.readings;
    EXPECT_EQ(r.historyIntervalMs, 2000);
    EXPECT_EQ(r.historyFileName, std::string(500, 'n'));
    EXPECT_FALSE(r.triggerOn);
    EXPECT_EQ(r.triggerComparison, 1);
    EXPECT_EQ(r.triggerLevel, 0.0);
    EXPECT_EQ(r.triggerSourceSerial, 0u);
    EXPECT_EQ(r.triggerSourceIndex, 1);
    ASSERT_EQ(read.environment.windows.size(), 2u);
    EXPECT_EQ(read.environment.windows[0].config.Chart().lineWidth, version < 0x66 ? 1 : 7);
    EXPECT_EQ(read.environment.windows[0].config.chartChannels.size(), 3u);
    EXPECT_EQ(read.environment.windows[1].config.Led().backColor, 0x0D0E0Fu);
  }
}

TEST_F(CodecTest, ShapesOfTheFileAroundTheWindows) {
  struct Case {
    const char* what;
    QJsonObject spec;
    EnvironmentReadStatus status;
    size_t windows;
  } cases[] = {
      {"only the version and the two records", {}, EnvironmentReadStatus::kOk, 0},
      {"trailing bytes shorter than a record", {{"windows", QJsonArray{Led()}}, {"trailing", 151}},
       EnvironmentReadStatus::kOk, 1},
      {"a count of 0xFFFFFFFF with no entries",
       {{"windows", QJsonArray{Led(), QJsonObject{{"kind", 1}, {"count", 4294967295.0}}}}},
       EnvironmentReadStatus::kEntriesCut, 1},
      {"a newer version", {{"version", 0x68}, {"windows", QJsonArray{Led()}}}, EnvironmentReadStatus::kNewerVersion, 0},
      {"cut inside the readings record", {{"truncate", 100}}, EnvironmentReadStatus::kRecordShort, 0},
      {"only the version", {{"truncate", 556}}, EnvironmentReadStatus::kRecordShort, 0},
      {"not even the version", {{"truncate", 558}}, EnvironmentReadStatus::kRecordShort, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto read = ReadScriptFile(c.spec);
    EXPECT_EQ(read.status, c.status);
    EXPECT_EQ(read.environment.windows.size(), c.windows);
  }
}

TEST_F(CodecTest, AChartOfThreeChannelsIsFollowedByExactly120Bytes) {
  Environment env;
  DisplayWindowRecord chart;
  chart.config = DisplayConfig::NewWindowDefaults();
  chart.config.chartChannels.resize(3);
  chart.config.chartChannels[2].name = "terceiro";
  DisplayWindowRecord led;
  led.config.kind = DisplayKind::LedDigits;
  led.config.SetLed({});
  led.config.deviceTag = "depois";
  env.windows = {chart, led};
  const std::vector<uint8_t> bytes = EncodeEnvironment(env);
  EXPECT_EQ(bytes.size(), 4u + 20 + 536 + 152 + 3 * 40 + 152);
  const QJsonObject decoded = ReadProgramFile(env);
  const QJsonArray windows = decoded["windows"].toArray();
  ASSERT_EQ(windows.size(), 2);
  EXPECT_EQ(windows[0].toObject()["entries"].toArray()[2].toObject()["name"].toString(), "terceiro");
  EXPECT_EQ(windows[1].toObject()["tag"].toString(), "depois");
  EXPECT_EQ(decoded["trailing"].toInt(), 0);
}

TEST_F(CodecTest, TheHistoryFileNameEndsAtItsFirstZeroAndNeverLeavesItsField) {
  auto name = [&](const QString& hex) {
    return ReadScriptFile({{"readings", QJsonObject{{"file_raw_hex", hex}, {"trigger_on", 1}}}})
        .environment.readings.historyFileName;
  };
  EXPECT_EQ(name(QStringLiteral("61626300646566")), "abc");
  // A field full to its last byte, with no zero: the name stops at its 500 characters and the
  // trigger byte after the field stays the trigger.
  EXPECT_EQ(name(QString::fromLatin1(QByteArray(501, 'a').toHex())), std::string(500, 'a'));

  // Written: at most 500 characters, and the field ends with a zero byte.
  Environment env;
  env.readings.historyFileName = std::string(600, 'b');
  const std::vector<uint8_t> bytes = EncodeEnvironment(env);
  EXPECT_EQ(bytes[4 + 20 + 13 + 499], 'b');
  EXPECT_EQ(bytes[4 + 20 + 13 + 500], 0);
  EXPECT_EQ(ReadProgramFile(env)["readings"].toObject()["file"].toString(), QString(500, QLatin1Char('b')));
}

}  // namespace
