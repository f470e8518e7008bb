// "Salvar configuração" and "Carregar configuração" against simulated instruments: what a
// saved file holds as Python's configparser reads it, what a load changes in the dialog (and
// nothing in the instrument before "Aplica"), and what a load refuses.
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/stat.h>

#include <fstream>
#include <map>
#include <sstream>

#include "platform/ini_file.h"
#include "tests/devconfig/config_form_fixture.h"
#include "tests/devconfig/tool_output.h"
#include "tests/history/history_text.h"
#include "tests/support/scoped_locale.h"
#include "tests/support/unattended_pipe.h"

namespace {

using namespace configtest;

const QString kSaved = QString::fromUtf8("Configuração salva com sucesso!");
const QString kLoaded = QString::fromUtf8("Configuração carregada com sucesso!");
const QString kLoadFailed = QString::fromUtf8("Erro ao carregar a configuração!");

// A configuration file as configparser reads it: section -> keys in order, and every value.
struct PythonView {
  std::vector<std::pair<std::string, std::vector<std::string>>> keys;
  std::map<std::string, std::string> values;  // "Section.Key"
};

PythonView ReadWithPython(const QString& path) {
  const auto r = devconfigtest::RunTool("/usr/bin/python3 " + devconfigtest::Quoted(TERVANA_CONFIG_FILE_READER) +
                                        " " + devconfigtest::Quoted(path.toStdString()));
  EXPECT_EQ(r.exitCode, 0);
  PythonView view;
  std::istringstream in(r.out);
  for (std::string line; std::getline(in, line);) {
    if (line.size() > 2 && line.front() == '[') {
      view.keys.push_back({line.substr(1, line.size() - 2), {}});
    } else if (const size_t eq = line.find('='); eq != std::string::npos && !view.keys.empty()) {
      view.keys.back().second.push_back(line.substr(0, eq));
      view.values[view.keys.back().first + "." + line.substr(0, eq)] = line.substr(eq + 1);
    }
  }
  return view;
}

void WriteFile(const QString& path, const std::string& bytes) {
  std::ofstream(path.toStdString(), std::ios::binary) << bytes;
}

struct FileWorld : ConfigWorld {
  QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
  void Save(const QString& path) {
    user.files.push_back(path);
    Click("SaveCfgBitBtn");
  }
  void Load(const QString& path) {
    user.files.push_back(path);
    Click("LoadCfgBitBtn");
  }
  QTemporaryDir dir;
};

TEST(ConfigFileForm, ASavedFileHoldsTheFourSectionsInOrderWithTheInstrumentsValues) {
  FileWorld w;
  w.Start(4, Model0());
  w.form->FormShow();
  const QString path = w.Path("estufa.cfg");
  w.Save(path);
  EXPECT_EQ(w.user.messages, QStringList{kSaved});
  EXPECT_EQ(w.user.fileRequests.back().defaultSuffix, QStringLiteral("cfg"));
  const PythonView file = ReadWithPython(path);
  // The four sections in their order (the keys' order is the codec's, config_file_test.cpp).
  std::vector<std::string> sections;
  for (const auto& [section, keys] : file.keys) sections.push_back(section);
  EXPECT_EQ(sections, (std::vector<std::string>{"General", "Channel1", "Channel2", "Channel3SpecialFeatures"}));
  // The simulated registers: tag, serial, firmware, register 7, the channels' settings.
  const std::map<std::string, std::string> values = {
      {"General.Tag", "Estufa"},         {"General.SerialNumber", "12345"},
      {"General.FirmwareVersionNumber", "110"}, {"General.DeviceConfig", "33"},
      {"General.DigInputTag", "Porta"},  {"General.DigInputHighValue", "1"},
      {"General.Channel3Tag", "Ambiente"}, {"Channel1.Config", "128"},
      {"Channel1.Filter", "2"},          {"Channel1.LowLimit", "-2000"},
      {"Channel1.HighLimit", "8500"},    {"Channel1.Tag", "Forno"},
      {"Channel2.Config", std::to_string(10 | 0x80 | (2 << 9))}, {"Channel2.Unit", "%"},
      {"Channel2.UnderflowValue", "-100"}, {"Channel2.OverflowValue", "10100"},
      {"Channel3SpecialFeatures.Debounce", "10"}, {"Channel3SpecialFeatures.Scale", "1"},
  };
  for (const auto& [key, value] : values) EXPECT_EQ(file.values.at(key), value) << key;
}

TEST(ConfigFileForm, AFileWithoutChannel2LoadsItsDefaultsIntoThePages) {
  FileWorld w;
  w.Start(4, Model0());
  w.form->FormShow();
  const QString path = w.Path("partial.cfg");
  WriteFile(path, "[General]\r\nTag=Outro\r\n[Channel1]\r\nTag=Tubo\r\nConfig=130\r\n");
  w.Load(path);
  EXPECT_EQ(w.user.messages, QStringList{kLoaded});
  // The codec's test checks every default; here they reach the pages.
  EXPECT_EQ(w.Text("DeviceTagEdit"), QStringLiteral("Outro"));
  EXPECT_EQ(w.Text("Ch1TagEdit"), QStringLiteral("Tubo"));
  EXPECT_EQ(w.Find<QSpinBox>("Ch2OverflowCSpinEdit")->value(), 30000);
  EXPECT_TRUE(w.Text("Ch2TagEdit").isEmpty());
}

TEST(ConfigFileForm, AnotherInstrumentsFileKeepsThisOnesIdentityAndPages) {
  FileWorld w;
  sim::InstrumentOptions first = Probe(0, 20002);
  first.tag = "Alfa";
  w.Start(3, first);
  sim::SimulatedInstrument& second = w.Start(4, Probe(2, 30003));
  second.SetCalibrationRegister(18, (7 << 8) | 9);
  second.SetCalibrationRegister(19, 2023);
  w.form->FormShow();
  const QString path = w.Path("alfa.cfg");
  w.Save(path);
  w.Select(1);
  const DeviceRegs before = w.form->EditedRegs();
  w.Load(path);
  const DeviceRegs& after = w.form->EditedRegs();
  EXPECT_EQ(after.Tag, "Alfa");
  EXPECT_EQ(after.SerialNumber, 30003);
  EXPECT_EQ(after.FirmwareVersionNumber, before.FirmwareVersionNumber);
  EXPECT_EQ(after.InputTypeModel, 2);
  EXPECT_EQ(after.LastCustomCalDay, 7);
  EXPECT_EQ(after.LastCustomCalMonth, 9);
  EXPECT_EQ(after.LastCustomCalYear, 2023);
  EXPECT_EQ(w.Text("SerialNumberEdit"), QStringLiteral("00030003"));
  // The pages are this probe's: no channel 2, the ambient page, the custom calibration.
  EXPECT_FALSE(w.PageShown(TConfigForm::kCh2Page));
  EXPECT_TRUE(w.PageShown(TConfigForm::kCh3Page));
  EXPECT_TRUE(w.PageShown(TConfigForm::kCustomCalibPage));
}

TEST(ConfigFileForm, NothingReachesTheInstrumentBeforeAplica) {
  FileWorld w;
  sim::SimulatedInstrument& instrument = w.Start(4, Model0());
  w.form->FormShow();
  const QString path = w.Path("novo.cfg");
  w.Save(path);
  {
    platform::IniFile ini(path.toStdString());
    ASSERT_TRUE(ini.WriteString("Channel1", "Tag", "Novo"));
  }
  instrument.ClearLog();
  w.Load(path);
  EXPECT_EQ(w.Text("Ch1TagEdit"), QStringLiteral("Novo"));
  w.form->FormClose();
  EXPECT_TRUE(WritesIn(instrument.Log()).empty());
  EXPECT_EQ(instrument.HoldingRegister(27), 'F' | ('o' << 8));  // still "Forno"

  w.form->FormShow();
  EXPECT_EQ(w.Text("Ch1TagEdit"), QStringLiteral("Forno"));
  w.Load(path);
  w.form->ApplyBitBtnClick();
  EXPECT_EQ(w.user.messages.last(), QString::fromUtf8("Dispositivo configurado com sucesso!"));
  EXPECT_EQ(instrument.HoldingRegister(27), 'N' | ('o' << 8));
  EXPECT_EQ(instrument.HoldingRegister(28), 'v' | ('o' << 8));
}

TEST(ConfigFileForm, AFileOfAnotherKindIsRefusedAndTheLiveValuesGoOn) {
  FileWorld w;
  w.Start(4, Model0());
  w.form->FormShow();
  w.Pages()->setCurrentIndex(TConfigForm::kDiagPage);
  ASSERT_TRUE(w.form->DiagTimer()->isActive());
  const QString history = w.Path("run.mpc");
  WriteFile(history, history_test::Header() + history_test::Line(15, 10, 0, 0, 0, {"23.5", "42.50"}));
  const DeviceRegs before = w.form->EditedRegs();
  w.Load(history);
  EXPECT_EQ(w.user.messages, QStringList{kLoadFailed});
  EXPECT_EQ(w.form->EditedRegs(), before);
  EXPECT_EQ(w.Text("DeviceTagEdit"), QStringLiteral("Estufa"));
  EXPECT_TRUE(w.form->DiagTimer()->isActive());
  w.user.messages.clear();
  w.Load(w.Path("missing.cfg"));
  EXPECT_EQ(w.user.messages, QStringList{kLoadFailed});
  // A named pipe is neither waited on nor replaced, and the message says what it is.
  const testsupport::UnattendedPipe unattended(QFile::encodeName(w.Path("pipe.cfg")).toStdString());
  const QString pipe = QFile::decodeName(unattended.Path().c_str());
  w.user.messages.clear();
  w.Load(pipe);
  EXPECT_EQ(w.form->EditedRegs(), before);
  w.Save(pipe);
  EXPECT_EQ(w.user.messages,
            (QStringList{kLoadFailed + QStringLiteral("\nit is a named pipe"),
                         QString::fromUtf8("Erro ao salvar a configuração!\nit is a named pipe, and only a regular file is replaced")}));
  w.form->FormClose();
}

TEST(ConfigFileForm, ScaleWithEitherMark) {
  for (const bool brazil : {false, true}) {
    testsupport::ScopedDefaultLocale locale(brazil ? testsupport::Brazil() : testsupport::UnitedStates());
    FileWorld w;
    w.Start(4, Model0());
    w.form->FormShow();
    const QString path = w.Path("scale.cfg");
    WriteFile(path, std::string("[Channel3SpecialFeatures]\r\nDigiTalInputConfig=16\r\nScale=") +
                        (brazil ? "0.5" : "0,5") + "\r\n");
    w.Load(path);
    EXPECT_EQ(w.form->EditedRegs().Scale, 0.5);
    EXPECT_EQ(w.Text("ScaleEdit"), brazil ? QStringLiteral("0,5") : QStringLiteral("0.5"));
    const QString saved = w.Path("saved.cfg");
    w.Save(saved);
    EXPECT_EQ(ReadWithPython(saved).values.at("Channel3SpecialFeatures.Scale"), brazil ? "0,5" : "0.5");
  }
}

TEST(ConfigFileForm, TheButtonsWaitForAConfigurationAndSavingChecksThePages) {
  FileWorld w;
  w.form->FormShow();  // no instrument
  EXPECT_FALSE(w.Find<QPushButton>("SaveCfgBitBtn")->isEnabled());
  EXPECT_FALSE(w.Find<QPushButton>("LoadCfgBitBtn")->isEnabled());
  w.form->SaveCfgBitBtnClick();
  w.form->LoadCfgBitBtnClick();
  EXPECT_TRUE(w.user.fileRequests.empty());

  w.Start(4, Model0());
  w.form->FormShow();
  EXPECT_TRUE(w.Find<QPushButton>("SaveCfgBitBtn")->isEnabled());
  // Channel 2's lower limit above its upper one: nothing is saved.
  w.Type("Ch2LimInfEdit", QStringLiteral("200.00"));
  w.user.messages.clear();
  const QString path = w.Path("refused.cfg");
  w.Save(path);
  EXPECT_EQ(w.user.messages, QStringList{QString::fromUtf8("O limite superior deve ser maior que o inferior!")});
  EXPECT_EQ(w.Pages()->currentIndex(), TConfigForm::kCh2Page);
  EXPECT_FALSE(QFile::exists(path));
  // Cancelling the dialog does nothing.
  w.user.messages.clear();
  w.form->SaveCfgBitBtnClick();
  EXPECT_TRUE(w.user.messages.isEmpty());
}

}  // namespace
