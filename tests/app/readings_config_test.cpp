// The readings and history settings dialog, offscreen: what "Aplica" keeps, what it refuses,
// the interval limits, the trigger list and the language file.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "app/readings_config_form.h"
#include "app_fixture.h"

namespace {

using app::TReadingsConfigForm;
using app::TriggerSourceEntry;

class ReadingsConfigTest : public apptest::ViewFormTest {
 protected:
  std::unique_ptr<TReadingsConfigForm> MakeDialog() {
    ui::FileDialogRequest history{QStringLiteral("Abrir histórico..."), QStringLiteral("h (*.mpc) |*.mpc"),
                                  QStringLiteral("mpc"), 3};
    return std::make_unique<TReadingsConfigForm>(
        user_, history, [this] { return values_; }, [this] { return devices_; });
  }
  template <typename T>
  static T* Child(QDialog* d, const char* name) {
    return d->findChild<T*>(QString::fromLatin1(name));
  }
  // Runs the dialog; `fill` sees it shown, then "Aplica" or "Cancela" is pressed (or nothing).
  bool Run(TReadingsConfigForm& dialog, std::function<void(QDialog*)> fill, const char* button = "ApplyBitBtn") {
    user_.onModal = [&](QDialog* d) {
      if (fill) fill(d);
      if (button) Child<QPushButton>(d, button)->click();
    };
    return dialog.Execute();
  }
  static void EnableHistory(QDialog* d, const QString& file) {
    auto* box = Child<QCheckBox>(d, "LogEnableCheckBox");
    if (!box->isChecked()) box->click();
    Child<QLineEdit>(d, "FileNameEdit")->setText(file);
  }

  std::optional<std::vector<TriggerSourceEntry>> values_;
  std::vector<std::string> devices_;
};

TEST_F(ReadingsConfigTest, TheFileNameGetsTheHistoryExtensionWhenItHasNone) {
  auto dialog = MakeDialog();
  const std::pair<QString, QString> names[] = {{"dados", "dados.mpc"},
                                               {"dados.txt", "dados.txt"},
                                               {"/x.y/dados", "/x.y/dados.mpc"},
                                               {"/x.y/.oculto", "/x.y/.oculto"}};
  for (const auto& [typed, kept] : names) {
    ASSERT_TRUE(Run(*dialog, [&](QDialog* d) { EnableHistory(d, typed); }));
    EXPECT_TRUE(dialog->GetLogEnabled());
    EXPECT_EQ(dialog->GetLogFileName(), kept);
  }
  // The file button offers the history dialog's filter, first entry.
  user_.files = {QStringLiteral("/tmp/escolhido.mpc")};
  ASSERT_TRUE(Run(*dialog, [&](QDialog* d) { Child<QPushButton>(d, "ChangeFileButton")->click(); }));
  EXPECT_EQ(dialog->GetLogFileName(), QStringLiteral("/tmp/escolhido.mpc"));
  ASSERT_EQ(user_.fileRequests.size(), 1u);
  EXPECT_EQ(user_.fileRequests[0].filterIndex, 1);
  EXPECT_EQ(user_.fileRequests[0].defaultSuffix, QStringLiteral("mpc"));

  // History on without a name: said, switched off, and the dialog closes.
  ASSERT_TRUE(Run(*dialog, [&](QDialog* d) { EnableHistory(d, QString()); }));
  EXPECT_FALSE(dialog->GetLogEnabled());
  EXPECT_EQ(user_.messages.last(), QStringLiteral("Nome de arquivo inválido!"));
  // Applied with history off: the file name is forgotten.
  dialog->SetLogFileName(QStringLiteral("a.mpc"));
  ASSERT_TRUE(Run(*dialog, nullptr));
  EXPECT_EQ(dialog->GetLogFileName(), QString());
  Run(*dialog, [](QDialog* d) { EXPECT_EQ(Child<QLineEdit>(d, "FileNameEdit")->text(), QString()); }, "CancelBitBtn");
}

TEST_F(ReadingsConfigTest, NumbersTakeEitherDecimalMark) {
  auto dialog = MakeDialog();
  for (const char* typed : {"1,5", "1.5", " 1.5 "}) {
    ASSERT_TRUE(Run(*dialog, [&](QDialog* d) { Child<QLineEdit>(d, "ErrorNumberEdit")->setText(typed); })) << typed;
    EXPECT_EQ(dialog->GetErrorValue(), 1.5f) << typed;
  }
  ASSERT_TRUE(Run(*dialog, [&](QDialog* d) { Child<QLineEdit>(d, "TriggerEdit")->setText("-2,25"); }));
  EXPECT_EQ(dialog->GetTrigger().level, -2.25);
  // Shown again as the shortest text of the value.
  Run(*dialog, [](QDialog* d) { EXPECT_EQ(Child<QLineEdit>(d, "ErrorNumberEdit")->text(), QStringLiteral("1.5")); },
      "CancelBitBtn");
  app::TriggerSettings t;
  t.level = 12.5;
  dialog->SetTrigger(t);
  Run(*dialog, [](QDialog* d) { EXPECT_EQ(Child<QLineEdit>(d, "TriggerEdit")->text(), QStringLiteral("12.5")); },
      "CancelBitBtn");
  EXPECT_EQ(TReadingsConfigForm::ParseDecimal(QStringLiteral("1,000.5"), true), std::nullopt);
  EXPECT_EQ(TReadingsConfigForm::ParseDecimal(QStringLiteral("1e3"), false), 1000.0);
  EXPECT_EQ(TReadingsConfigForm::ParseDecimal(QStringLiteral(""), false), std::nullopt);
}

TEST_F(ReadingsConfigTest, AFailedApplyChangesNothingSoCancelKeepsEverySetting) {
  auto dialog = MakeDialog();
  dialog->SetReadInterval(2000);
  dialog->SetLogInterval(3000);
  dialog->SetErrorValue(-9.0f);
  dialog->SetLogFileName(QStringLiteral("antigo.mpc"));
  dialog->SetLogEnabled(true);
  auto edit = [](const char* errorText, const char* levelText) {
    return [=](QDialog* d) {
      Child<QSpinBox>(d, "IntervalCSpinEdit")->setValue(700);
      Child<QRadioButton>(d, "FastRadioButton")->click();
      Child<QSpinBox>(d, "LogIntervalCSpinEdit")->setValue(50);
      Child<QCheckBox>(d, "LogEnableCheckBox")->setChecked(false);
      Child<QLineEdit>(d, "ErrorNumberEdit")->setText(errorText);
      Child<QLineEdit>(d, "TriggerEdit")->setText(levelText);
      Child<QPushButton>(d, "ApplyBitBtn")->click();
      EXPECT_FALSE(d->isHidden() && d->result() == QDialog::Accepted);
    };
  };
  for (auto [errorText, levelText, message] :
       {std::tuple{"abc", "1", true}, std::tuple{"1e99", "1", true}, std::tuple{"1", "1,2,3", false}}) {
    user_.messages.clear();
    EXPECT_FALSE(Run(*dialog, edit(errorText, levelText), "CancelBitBtn"));
    EXPECT_EQ(user_.messages, message ? QStringList{"Valor inválido!"} : QStringList{});
    EXPECT_EQ(dialog->GetReadInterval(), 2000);
    EXPECT_EQ(dialog->GetLogInterval(), 3000);
    EXPECT_FALSE(dialog->GetFastMode());
    EXPECT_TRUE(dialog->GetLogEnabled());
    EXPECT_EQ(dialog->GetErrorValue(), -9.0f);
    EXPECT_EQ(dialog->GetLogFileName(), QStringLiteral("antigo.mpc"));
    EXPECT_EQ(dialog->GetTrigger().level, 0.0);  // the level typed before stays
  }
}

TEST_F(ReadingsConfigTest, IntervalsStayWithinTheLimitsOfTheMode) {
  auto dialog = MakeDialog();
  // Nothing stored yet: the history interval shows the minimum of the mode.
  Run(*dialog, [](QDialog* d) {
    auto* log = Child<QSpinBox>(d, "LogIntervalCSpinEdit");
    EXPECT_EQ(log->value(), 250);
    EXPECT_TRUE(Child<QSpinBox>(d, "IntervalCSpinEdit")->isEnabled());
    EXPECT_FALSE(Child<QListWidget>(d, "DevIntervalListBox")->isEnabled());
    log->setValue(10);
    EXPECT_EQ(log->value(), 250);
    Child<QRadioButton>(d, "FastRadioButton")->click();
    EXPECT_FALSE(Child<QSpinBox>(d, "IntervalCSpinEdit")->isEnabled());
    EXPECT_TRUE(Child<QListWidget>(d, "DevIntervalListBox")->isEnabled());
    log->setValue(10);
    EXPECT_EQ(log->value(), 10);
    Child<QSpinBox>(d, "IntervalCSpinEdit")->setValue(100);
    EXPECT_EQ(Child<QSpinBox>(d, "IntervalCSpinEdit")->value(), 250);
  });
  EXPECT_TRUE(dialog->GetFastMode());
  EXPECT_EQ(dialog->GetLogInterval(), 10);
  // The setters, which the environment file uses, keep to the same limits.
  dialog->SetFastMode(false);
  EXPECT_EQ(dialog->GetLogInterval(), 250);
  dialog->SetLogInterval(0);
  dialog->SetReadInterval(0);
  EXPECT_EQ(dialog->GetLogInterval(), 250);
  EXPECT_EQ(dialog->GetReadInterval(), 250);
  dialog->SetLogInterval(std::numeric_limits<int32_t>::max());
  dialog->SetReadInterval(std::numeric_limits<int32_t>::max());
  EXPECT_EQ(dialog->GetLogInterval(), 3600000);
  EXPECT_EQ(dialog->GetReadInterval(), 60000);
  dialog->SetFastMode(true);
  dialog->SetLogInterval(-5);
  EXPECT_EQ(dialog->GetLogInterval(), 10);
}

TEST_F(ReadingsConfigTest, TriggerSourcesAndInstrumentList) {
  auto dialog = MakeDialog();
  devices_ = {"Forno;  00000010  (COM4):  31.3 ms"};
  values_ = std::vector<TriggerSourceEntry>{{10, 1, QStringLiteral("Forno / Canal 1")},
                                            {10, 3, QStringLiteral("Forno / Ambiente")}};
  app::TriggerSettings chosen{true, 0, 5.0, 10, 3};
  dialog->SetTrigger(chosen);
  ASSERT_TRUE(Run(*dialog, [](QDialog* d) {
    EnableHistory(d, QStringLiteral("t"));
    EXPECT_EQ(Child<QListWidget>(d, "DevIntervalListBox")->item(0)->text(), QStringLiteral("Forno;  00000010  (COM4):  31.3 ms"));
    auto* combo = Child<QComboBox>(d, "TriggerComboBox");
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_TRUE(combo->isEnabled());
    EXPECT_TRUE(Child<QRadioButton>(d, "TriggerRadioButton")->isChecked());
    EXPECT_TRUE(Child<QRadioButton>(d, "Trig2RadioButton")->isChecked());
    combo->setCurrentIndex(0);
  }));
  app::TriggerSettings t = dialog->GetTrigger();
  EXPECT_TRUE(t.on);
  EXPECT_EQ(t.comparison, 0);
  EXPECT_EQ(t.level, 5.0);
  EXPECT_EQ(std::pair(t.sourceSerial, t.sourceIndex), std::pair(10u, uint8_t{1}));

  // The chosen value is gone: the first entry, recording always.
  values_ = std::vector<TriggerSourceEntry>{{20, 2, QStringLiteral("Tanque / Canal 2")}};
  Run(*dialog, [](QDialog* d) {
    EXPECT_EQ(Child<QComboBox>(d, "TriggerComboBox")->currentIndex(), 0);
    EXPECT_TRUE(Child<QRadioButton>(d, "NoTriggerRadioButton")->isChecked());
    EXPECT_FALSE(Child<QComboBox>(d, "TriggerComboBox")->isEnabled());
  }, "CancelBitBtn");
  // No display window shows a value: an empty list, recording always.
  values_ = std::nullopt;
  dialog->SetTrigger(chosen);
  Run(*dialog, [](QDialog* d) {
    EXPECT_EQ(Child<QComboBox>(d, "TriggerComboBox")->count(), 0);
    EXPECT_TRUE(Child<QRadioButton>(d, "NoTriggerRadioButton")->isChecked());
  }, "CancelBitBtn");
}

TEST_F(ReadingsConfigTest, TheLanguageFileReplacesItsEighteenLines) {
  std::string section = "# Form de Configura\xE7\xE3o de Leituras e Hist\xF3rico\r\n";
  for (int n = 1; n <= 18; ++n) section += platform::ToCp1252(apptest::TestText("LEIT", n)) + "\r\n";
  ui::ProgramLanguage().LoadFromText(section);
  auto dialog = MakeDialog();
  auto text = [&](const char* name) { return dialog->findChild<QWidget*>(QString::fromLatin1(name))->property("text").toString(); };
  auto title = [&](const char* name) { return dialog->findChild<QWidget*>(QString::fromLatin1(name))->property("title").toString(); };
  using apptest::TestText;
  EXPECT_EQ(dialog->windowTitle(), TestText("LEIT", 1));
  EXPECT_EQ(text("FileLabel"), TestText("LEIT", 2));
  EXPECT_EQ(text("SavingRateLabel"), TestText("LEIT", 3));
  EXPECT_EQ(text("ApplyBitBtn"), TestText("LEIT", 5));
  EXPECT_EQ(text("CancelBitBtn"), TestText("LEIT", 6));
  EXPECT_EQ(text("IntervalLabel"), TestText("LEIT", 7));
  EXPECT_EQ(text("UnitLabel"), TestText("LEIT", 8));
  EXPECT_EQ(text("MsecLabel"), TestText("LEIT", 8));
  EXPECT_EQ(text("ErrorNumberLabel"), TestText("LEIT", 9));
  EXPECT_EQ(dialog->Messages()[0], TestText("LEIT", 10));
  EXPECT_EQ(dialog->Messages()[1], TestText("LEIT", 11));
  EXPECT_EQ(text("LogEnableCheckBox"), TestText("LEIT", 12));
  EXPECT_EQ(title("ModeGroupBox"), TestText("LEIT", 13));
  EXPECT_EQ(text("SlowRadioButton"), TestText("LEIT", 14));
  EXPECT_EQ(text("FastRadioButton"), TestText("LEIT", 15));
  EXPECT_EQ(title("TriggerGroupBox"), TestText("LEIT", 16));
  EXPECT_EQ(text("NoTriggerRadioButton"), TestText("LEIT", 17));
  EXPECT_EQ(text("TriggerRadioButton"), TestText("LEIT", 18));
}

}  // namespace
