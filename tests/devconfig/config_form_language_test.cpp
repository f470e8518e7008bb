// The dialog's texts from a generated language file, and the captions other dialogs copy.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>

#include "instrument/default_channel_names.h"
#include "platform/qt_text.h"
#include "tests/devconfig/config_form_fixture.h"
#include "ui/language_file.h"
#include "ui/radio_group.h"

namespace {

using namespace configtest;

QString T(int n) { return QStringLiteral("T%1 ação").arg(n); }
QString N(int n) { return QStringLiteral("N%1").arg(n); }

std::string Section(std::string_view heading, int lines, QString (*text)(int)) {
  std::string bytes = std::string(heading) + "\r\n";
  for (int n = 1; n <= lines; ++n) bytes += platform::ToCp1252(text(n)) + "\r\n";
  return bytes;
}

class ConfigLanguage : public ::testing::Test {
 protected:
  void TearDown() override {
    ui::ProgramLanguage().Clear();
    RestoreBuiltInChannelNames();
  }
};

TEST_F(ConfigLanguage, EveryLineLandsOnItsControl) {
  ui::ProgramLanguage().LoadFromText("# Nome Software\r\nX\r\n" +
                                     Section(devconfig::kConfigFormHeading, 112, T) +
                                     Section(devconfig::kSensorNamesHeading, 12, N));
  ConfigWorld w;
  TConfigForm& f = *w.form;
  auto text = [&w](const char* name) {
    QWidget* widget = w.Find<QWidget>(name);
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
    if (auto* group = qobject_cast<QGroupBox*>(widget)) return group->title();
    return QString();
  };
  // The captions another dialog copies, read without showing this one.
  EXPECT_FALSE(f.isVisible());
  EXPECT_EQ(f.ApplyButtonCaption(), T(2));
  EXPECT_EQ(f.CloseButtonCaption(), T(3));
  EXPECT_EQ(f.windowTitle(), T(1));
  EXPECT_EQ(text("SaveCfgBitBtn"), T(4));
  EXPECT_EQ(text("LoadCfgBitBtn"), T(5));
  QTabWidget* pages = w.Pages();
  EXPECT_EQ(pages->tabText(TConfigForm::kGeneralPage), T(6));
  EXPECT_EQ(pages->tabText(TConfigForm::kCh2Page), T(8));
  EXPECT_EQ(pages->tabText(TConfigForm::kCh3Page), T(9));     // "Temperatura Ambiente"
  EXPECT_EQ(pages->tabText(TConfigForm::kDigInpPage), T(10));  // "Canal 3"
  EXPECT_EQ(pages->tabText(TConfigForm::kCalibPage), T(13));
  EXPECT_EQ(text("DeviceTagLabel"), T(14));
  EXPECT_EQ(text("FreqSelRadioGroup"), T(16));
  EXPECT_EQ(text("MinResRadioGroup"), T(18));
  EXPECT_EQ(text("MinIntervalLabel"), T(25) + QStringLiteral(":"));
  // Both channel pages take the same lines.
  for (const char* prefix : {"Ch1", "Ch2"}) {
    EXPECT_EQ(text((QByteArray(prefix) + "TagLabel").constData()), T(26));
    EXPECT_EQ(text((QByteArray(prefix) + "OffsetLabel").constData()), T(38));
  }
  EXPECT_EQ(text("DewPointCheckBox"), T(39));
  EXPECT_EQ(text("TemperOffsetLabel"), T(43));
  EXPECT_EQ(text("DigInputSpecialFeaturesGroupBox"), T(47));
  EXPECT_EQ(text("DecNumberLabel"), T(56));
  EXPECT_EQ(text("FwVersionLabel"), T(66));
  EXPECT_EQ(w.Find<QTabWidget>("CustomCalibPageControl")->tabText(1), T(68));
  // The calibration pages: a line for both sub-pages, or for the three constants; texts the
  // pages take from the translated pages and grid headers.
  const std::pair<const char*, int> calibrationLines[] = {
      {"AddButton", 72},         {"AddButtonRH", 72},     {"ReportRHBitBtn", 77}, {"AmbientReadButton", 78},
      {"OffsetWriteButton", 79}, {"WarningMemo", 82},     {"Ch2RadioButton", 8},  {"AmbientLabel", 9},
      {"MeasuredValueRHLabel", 71},
  };
  for (const auto& [name, line] : calibrationLines) EXPECT_EQ(text(name), T(line)) << name;
  EXPECT_EQ(w.Find<QTableWidget>("CustomCalStringGrid")->horizontalHeaderItem(0)->text(), T(69));
  EXPECT_EQ(f.CalibrationGridHeaders().value(2), T(71));
  EXPECT_EQ(f.CalibrationSubPageCaption(true), T(67));
  EXPECT_EQ(w.List()->headerItem()->text(0), T(112));

  const devconfig::ConfigTexts& texts = f.Texts();
  EXPECT_EQ(f.Message(devconfig::Msg::ReadFailed), T(83));
  EXPECT_EQ(f.Message(devconfig::Msg::Error), T(104));
  EXPECT_EQ(platform::FromCp1252(texts.resolutions[0]), T(19));
  EXPECT_EQ(platform::FromCp1252(DefaultChannelNames()[6]), T(111));
  EXPECT_EQ(f.ConfigFileDialog().filter, T(102) + QStringLiteral(" (*.cfg) |*.cfg"));
  EXPECT_EQ(w.Find<ui::TRadioGroup>("EdgeRadioGroup")->title(), T(60));
  auto* types = w.Find<QComboBox>("Ch2TypeComboBox");
  ASSERT_EQ(types->count(), 11);
  EXPECT_EQ(types->itemText(0), N(1));
  EXPECT_EQ(types->itemText(10), N(11));
  EXPECT_EQ(w.Find<QComboBox>("Ch1TypeComboBox")->itemText(11), N(12));

  // Translated names reach what the dialog shows of an instrument.
  w.Start(4, Model0());
  w.form->FormShow();
  EXPECT_EQ(w.Find<ui::TRadioGroup>("MinResRadioGroup")->ItemText(3), T(22));
  w.Click("TimingCheckBox");
  EXPECT_EQ(w.Find<ui::TRadioGroup>("EdgeRadioGroup")->ItemText(1), T(62));
  w.form->FormClose();
}

TEST_F(ConfigLanguage, AShortSectionLeavesTheRestBuiltIn) {
  ui::ProgramLanguage().LoadFromText(Section(devconfig::kConfigFormHeading, 3, T));
  ConfigWorld w;
  EXPECT_EQ(w.form->ApplyButtonCaption(), T(2));
  EXPECT_EQ(w.form->CloseButtonCaption(), T(3));
  EXPECT_EQ(w.Pages()->tabText(TConfigForm::kGeneralPage), QStringLiteral("Geral"));
  EXPECT_EQ(w.form->ConfigFileDialog().filter, QString::fromUtf8("Arquivos de configuração (*.cfg) |*.cfg"));
  EXPECT_EQ(w.form->Message(devconfig::Msg::InvalidValue), QString::fromUtf8("Valor impróprio!"));
  EXPECT_EQ(DefaultChannelNames()[0], "Canal 1");
}

}  // namespace
