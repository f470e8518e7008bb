// Qt's own dialogs speak the user's language: its translations are installed for the locale.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTranslator>

#include "app/qt_translations.h"

namespace {

// Installs Qt's translations for a locale while it lives.
class InstalledTranslations {
 public:
  explicit InstalledTranslations(const QLocale& locale) : translator_(app::InstallQtTranslations(locale)) {}
  ~InstalledTranslations() {
    if (translator_ != nullptr) {
      QCoreApplication::removeTranslator(translator_);
      delete translator_;
    }
  }
  InstalledTranslations(const InstalledTranslations&) = delete;
  InstalledTranslations& operator=(const InstalledTranslations&) = delete;
  bool Installed() const { return translator_ != nullptr; }

 private:
  QTranslator* translator_;
};

QString CancelText() {
  QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  return box.button(QDialogButtonBox::Cancel)->text();
}

// The label texts of Qt's own file dialog.
QStringList FileDialogLabels() {
  QFileDialog dialog;
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  QStringList labels;
  for (const char* name : {"lookInLabel", "fileNameLabel"}) {
    auto* label = dialog.findChild<QLabel*>(QLatin1String(name));
    labels << (label != nullptr ? label->text().remove(QLatin1Char('&')) : QString());
  }
  return labels;
}

TEST(QtTranslations, FileDialogsAndStandardButtonsInThePortugueseOfBrazil) {
  const QStringList english = FileDialogLabels();
  ASSERT_EQ(english, (QStringList{"Look in:", "File name:"}));
  ASSERT_EQ(CancelText(), QStringLiteral("Cancel"));
  {
    const InstalledTranslations portuguese(QLocale(QLocale::Portuguese, QLocale::Brazil));
    ASSERT_TRUE(portuguese.Installed());
    EXPECT_EQ(CancelText(), QStringLiteral("Cancelar"));
    const QStringList labels = FileDialogLabels();
    EXPECT_NE(labels[0], english[0]);
    EXPECT_NE(labels[1], english[1]);
    EXPECT_TRUE(labels[1].contains(QStringLiteral("arquivo"), Qt::CaseInsensitive)) << labels[1].toStdString();
  }
  EXPECT_EQ(CancelText(), QStringLiteral("Cancel"));  // taken out again: English
}

TEST(QtTranslations, ALanguageQtHasNoTextsForStaysEnglish) {
  const InstalledTranslations none(QLocale(QLocale::Zulu, QLocale::SouthAfrica));
  EXPECT_FALSE(none.Installed());
  EXPECT_EQ(CancelText(), QStringLiteral("Cancel"));
}

}  // namespace
