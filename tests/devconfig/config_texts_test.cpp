// The dialog's string tables and their lines in a generated language file, without widgets.
#include <gtest/gtest.h>

#include "devconfig/config_texts.h"
#include "instrument/default_channel_names.h"

namespace {

using namespace devconfig;

std::string Section(std::string_view heading, int lines, const char* prefix) {
  std::string text = "# Outra\r\nnada\r\n" + std::string(heading) + "\r\n";
  for (int i = 1; i <= lines; ++i) text += prefix + std::to_string(i) + "\r\n";
  return text;
}

TEST(ConfigTexts, BuiltInTablesInCodePage1252) {
  const ConfigTexts t = BuiltInConfigTexts();
  EXPECT_EQ(t.Message(Msg::InvalidValue), "Valor impr\xF3prio!");
  EXPECT_EQ(t.Message(Msg::PortOpenError), "Erro na abertura da porta: ");
  EXPECT_EQ(t.Message(Msg::Error), "Erro");
  EXPECT_EQ(t.inputTypes[0], "Pt100 (-200.0 a 650.0 \xB0" "C)");
  EXPECT_EQ(t.inputTypes[11], "0 a 10 V");
  EXPECT_EQ(t.resolutions[3], "M\xEDnima (aprox. 11 bits)");
  EXPECT_EQ(t.edgeNames[3], "Sele\xE7\xE3o da borda");
  EXPECT_EQ(t.levelNames[2], "Sele\xE7\xE3o do n\xEDvel");
  EXPECT_EQ(t.gridHeaders[1], "Medi\xE7\xE3o do Padr\xE3o");
}

TEST(ConfigTexts, FormSectionReplacesTheTablesLineByLine) {
  RestoreBuiltInChannelNames();
  ui::LanguageList list;
  list.LoadFromText(Section(kConfigFormHeading, 112, "L"));
  ConfigTexts t = BuiltInConfigTexts();
  const auto targets = ConfigTableTargets(t);
  ASSERT_EQ(targets.size(), kConfigFormLineCount);
  EXPECT_EQ(ui::ApplyLanguageSection(list, kConfigFormHeading, targets), 4u + 2 + 4 + 3 + 3 + 22 + 7);
  EXPECT_EQ(t.resolutions[0], "L19");
  EXPECT_EQ(t.probeResolutions[1], "L24");
  EXPECT_EQ(t.edgeNames[0], "L57");
  EXPECT_EQ(t.levelNames[2], "L63");
  EXPECT_EQ(t.gridHeaders[0], "L69");
  EXPECT_EQ(t.messages[0], "L83");
  EXPECT_EQ(t.messages[21], "L104");
  EXPECT_EQ(DefaultChannelNames()[0], "L105");
  EXPECT_EQ(DefaultChannelNames()[6], "L111");
  RestoreBuiltInChannelNames();

  // A short section: the tables past its end keep their texts.
  ConfigTexts shortened = BuiltInConfigTexts();
  list.LoadFromText(Section(kConfigFormHeading, 90, "S"));
  ui::ApplyLanguageSection(list, kConfigFormHeading, ConfigTableTargets(shortened));
  EXPECT_EQ(shortened.messages[7], "S90");
  EXPECT_EQ(shortened.messages[8], BuiltInConfigTexts().messages[8]);
  EXPECT_EQ(DefaultChannelNames()[0], "Canal 1");
}

TEST(ConfigTexts, SensorNamesSectionReplacesTheInputTypes) {
  ui::LanguageList list;
  list.LoadFromText(Section(kSensorNamesHeading, 12, "N"));
  ConfigTexts t = BuiltInConfigTexts();
  TranslateInputTypeNames(list, t);
  EXPECT_EQ(t.inputTypes[0], "N1");
  EXPECT_EQ(t.inputTypes[11], "N12");
  list.LoadFromText(Section("# Nome dos Sensores ", 12, "N"));  // a trailing blank: another heading
  ConfigTexts untouched = BuiltInConfigTexts();
  TranslateInputTypeNames(list, untouched);
  EXPECT_EQ(untouched.inputTypes[0], BuiltInConfigTexts().inputTypes[0]);
}

}  // namespace
