// The device configuration file: what a save writes (read back by Python's configparser under
// Debian's python3), what a load takes with its defaults, and what a load refuses.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "devconfig/config_file.h"
#include "tests/devconfig/tool_output.h"
#include "tests/history/history_text.h"

namespace {

namespace fs = std::filesystem;
using devconfigtest::Quoted;
using devconfigtest::RunTool;

class ConfigFile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "cfgtest.XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const char* name) const { return (dir_ / name).string(); }
  static void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // The file as configparser reads it: "[section]" and "key=value" lines in order.
  static std::vector<std::string> PythonLines(const std::string& path) {
    const auto r = RunTool("/usr/bin/python3 " + Quoted(TERVANA_CONFIG_FILE_READER) + " " + Quoted(path));
    EXPECT_EQ(r.exitCode, 0);
    std::vector<std::string> lines;
    std::istringstream in(r.out);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  fs::path dir_;
};

DeviceRegs Sample() {
  DeviceRegs r;
  r.InputTypeModel = 0;
  r.Tag = "Esta\xE7\xE3o";  // "Estação" in code page 1252
  r.SerialNumber = 12345;
  r.FirmwareVersionNumber = 110;
  r.DeviceConfig = 0x21;
  r.DigInputTag = "Porta";
  r.DigInputLowValue = -5;
  r.DigInputHighValue = 100;
  r.Channel3Tag = "Ambiente";
  r.Channel3UserOffset = -12;
  r.LastCustomCalDay = 15;
  r.LastCustomCalMonth = 3;
  r.LastCustomCalYear = 2024;
  r.Channel1 = {0x80, 2, -2000, 8500, -30000, 30000, "Forno", "", -7, {}, {}};
  r.Channel2 = {10 | 0x80 | (2 << 9), 65535, 0, 10000, -100, 10100, "Nivel", "%", 25, {}, {}};
  r.DigiTalInputConfig = 0x10 | 0x1000;
  r.Debounce = 10;
  r.ResetValue = -1;  // 4294967295
  r.BaseTime = -1;
  r.DecimalNumber = 2;
  r.Scale = 0.5;
  return r;
}

TEST_F(ConfigFile, SavedFileReadsBackInPythonInItsOrder) {
  const std::string path = Path("a.cfg");
  ASSERT_TRUE(devconfig::SaveConfigFile(path, Sample(), '.'));
  const std::vector<std::string> expected = {
      "[General]",
      "InputTypeModel=0",
      "Tag=Estação",
      "SerialNumber=12345",
      "FirmwareVersionNumber=110",
      "DeviceConfig=33",
      "DigInputTag=Porta",
      "DigInputLowValue=-5",
      "DigInputHighValue=100",
      "Channel3Tag=Ambiente",
      "Channel3UserOffset=-12",
      "LastCustomCalDay=15",
      "LastCustomCalMonth=3",
      "LastCustomCalYear=2024",
      "[Channel1]",
      "Config=128",
      "Filter=2",
      "LowLimit=-2000",
      "HighLimit=8500",
      "UnderflowValue=-30000",
      "OverflowValue=30000",
      "Tag=Forno",
      "Unit=",
      "UserOffset=-7",
      "[Channel2]",
      "Config=1162",
      "Filter=65535",
      "LowLimit=0",
      "HighLimit=10000",
      "UnderflowValue=-100",
      "OverflowValue=10100",
      "Tag=Nivel",
      "Unit=%",
      "UserOffset=25",
      "[Channel3SpecialFeatures]",
      "DigiTalInputConfig=4112",
      "Debounce=10",
      "ResetValue=-1",
      "BaseTime=-1",
      "DecimalNumber=2",
      "Scale=0.5",
  };
  EXPECT_EQ(PythonLines(path), expected);

  // Read back, every field the file carries comes home.
  DeviceRegs loaded;
  ASSERT_TRUE(devconfig::LoadConfigFile(path, loaded));
  DeviceRegs wanted = Sample();
  // Identity and calibration date are never loaded.
  wanted.SerialNumber = loaded.SerialNumber;
  wanted.FirmwareVersionNumber = loaded.FirmwareVersionNumber;
  wanted.LastCustomCalDay = loaded.LastCustomCalDay;
  wanted.LastCustomCalMonth = loaded.LastCustomCalMonth;
  wanted.LastCustomCalYear = loaded.LastCustomCalYear;
  EXPECT_EQ(loaded, wanted);
}

TEST_F(ConfigFile, SavingKeepsWhatElseTheFileHolds) {
  const std::string path = Path("kept.cfg");
  Write(path, "; notes\r\n[Other]\r\nA=1\r\n[General]\r\nExtra=x\r\nTag=old\r\n");
  ASSERT_TRUE(devconfig::SaveConfigFile(path, Sample(), '.'));
  const std::vector<std::string> lines = PythonLines(path);
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines[0], "[Other]");
  EXPECT_EQ(lines[1], "A=1");
  EXPECT_EQ(lines[2], "[General]");
  EXPECT_EQ(lines[3], "Extra=x");
  EXPECT_EQ(lines[4], "Tag=Estação");  // replaced where it stood
  EXPECT_NE(Read(path).find("; notes"), std::string::npos);
}

TEST_F(ConfigFile, ScaleTakesTheUsersMarkAndLoadsWithEither) {
  EXPECT_EQ(devconfig::ScaleText(0.5, '.'), "0.5");
  EXPECT_EQ(devconfig::ScaleText(0.5, ','), "0,5");
  EXPECT_EQ(devconfig::ScaleText(1.0, ','), "1");
  EXPECT_EQ(devconfig::ScaleText(1.0 / 3.0, '.'), "0.333333333333333");
  EXPECT_EQ(devconfig::ScaleText(1e20, '.'), "1e+20");

  DeviceRegs r = Sample();
  const std::string comma = Path("comma.cfg");
  ASSERT_TRUE(devconfig::SaveConfigFile(comma, r, ','));
  EXPECT_NE(Read(comma).find("Scale=0,5\r\n"), std::string::npos);
  for (const char* text : {"0,5", "0.5", " 5e-1 "}) {
    Write(comma, std::string("[Channel3SpecialFeatures]\r\nScale=") + text + "\r\n");
    DeviceRegs loaded;
    ASSERT_TRUE(devconfig::LoadConfigFile(comma, loaded));
    EXPECT_EQ(loaded.Scale, 0.5) << text;
  }
  for (const char* text : {"nan", "inf", "0,5.1", "x"}) {
    Write(comma, std::string("[Channel3SpecialFeatures]\r\nScale=") + text + "\r\n");
    DeviceRegs loaded;
    ASSERT_TRUE(devconfig::LoadConfigFile(comma, loaded));
    EXPECT_EQ(loaded.Scale, 1.0) << text;
  }
}

TEST_F(ConfigFile, MissingKeysTakeTheirDefaultsAndSixteenBitFieldsTheirLowBits) {
  const std::string path = Path("partial.cfg");
  Write(path,
        "[general]\nTAG=abc\nDeviceConfig=zz\nSerialNumber=1\nLastCustomCalYear=1999\nInputTypeModel=4\n"
        "[Channel1]\nFilter=70000\nUserOffset=40000\nHighLimit=$10\n"
        "[Channel3SpecialFeatures]\nResetValue=4294967295\n");
  DeviceRegs r = Sample();
  ASSERT_TRUE(devconfig::LoadConfigFile(path, r));
  EXPECT_EQ(r.Tag, "abc");           // names compare without case
  EXPECT_EQ(r.DeviceConfig, 0);      // not a number
  EXPECT_EQ(r.SerialNumber, 12345);  // never loaded
  EXPECT_EQ(r.LastCustomCalYear, 2024);
  EXPECT_EQ(r.InputTypeModel, 0);
  EXPECT_EQ(r.Channel1.Filter, 70000 & 0xFFFF);
  EXPECT_EQ(r.Channel1.UserOffset, static_cast<int16_t>(40000 & 0xFFFF));
  EXPECT_EQ(r.Channel1.HighLimit, 16);
  EXPECT_EQ(r.ResetValue, -1);
  // No Channel2 section: its defaults.
  Channel defaults;
  defaults.HighLimit = 1000;
  defaults.UnderflowValue = -30000;
  defaults.OverflowValue = 30000;
  defaults.CustomCalA = r.Channel2.CustomCalA;  // the tables are not in the file
  defaults.CustomCalB = r.Channel2.CustomCalB;
  EXPECT_EQ(r.Channel2, defaults);
  EXPECT_EQ(r.DigInputHighValue, 1);
  EXPECT_EQ(r.Debounce, 1);
  EXPECT_EQ(r.BaseTime, 1);
  EXPECT_EQ(r.Scale, 1.0);
}

TEST_F(ConfigFile, AFileOfAnotherKindIsRefusedAndChangesNothing) {
  const std::string history = Path("run.mpc");
  Write(history, history_test::Header() + history_test::Line(15, 10, 0, 0, 0, {"23.5", "42.50"}) +
                     history_test::kNewStart + history_test::Line(15, 10, 0, 1, 0, {"23.6", "42.51"}));
  const std::string other = Path("other.ini");
  Write(other, "[Other]\r\nTag=x\r\n[General]\r\n");  // a bare header holds nothing of ours
  const DeviceRegs before = Sample();
  for (const std::string& path : {history, other, Path("missing.cfg"), Path("")}) {
    DeviceRegs r = before;
    EXPECT_FALSE(devconfig::LoadConfigFile(path, r)) << path;
    EXPECT_EQ(r, before) << path;
  }
}

TEST_F(ConfigFile, AFileThatCannotBeWrittenFailsTheSave) {
  EXPECT_FALSE(devconfig::SaveConfigFile(Path("no/such/folder/a.cfg"), Sample(), '.'));
  // A text that would not read back as written.
  DeviceRegs r = Sample();
  r.Channel1.Tag = "a\nb";
  EXPECT_FALSE(devconfig::SaveConfigFile(Path("b.cfg"), r, '.'));
}

}  // namespace
