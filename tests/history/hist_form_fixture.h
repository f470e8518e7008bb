#pragma once
// A history viewer on files written to a temporary folder, for the window tests.
#include <gtest/gtest.h>

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <string>

#include "history/hist_form.h"
#include "platform/chart_time.h"
#include "support/fake_user_interaction.h"
#include "ui/language_file.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

class HistFormTest : public testing::Test {
 protected:
  void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom)); }
  void TearDown() override {
    QLocale::setDefault(QLocale::system());
    ui::ProgramLanguage().Clear();
  }

  // Writes the text to a file and returns its name.
  QString Write(const std::string& text) {
    QFile file(dir_.filePath(QStringLiteral("h%1.mpc").arg(++files_)));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.data(), static_cast<qint64>(text.size()));
    return file.fileName();
  }
  // Writes the text to a file and opens it in the form.
  bool Open(const std::string& text) { return form_.OpenFile(Write(text)); }
  // The chart key of a time on a day of December 2026.
  static double Key(int day, int h, int m, double s) {
    return chart_time::KeyFromDateTime(46356 + day + (h * 3600 + m * 60 + s) / 86400.0);  // 46357: 2026-12-01
  }

  QTemporaryDir dir_;
  int files_ = 0;
  testsupport::FakeUserInteraction ui_;
  history::THistForm form_{ui_};
};
