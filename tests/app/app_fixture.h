#pragma once
// A main window on a program directory of its own, with a scripted user, a recording help
// viewer and stand-ins for the child windows of other subsystems; and a language file that
// puts a recognisable text on every line of every section the main window and its dialogs read.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QToolButton>
#include <memory>
#include <stdexcept>
#include <string>

#include "ui/child_windows.h"
#include "app/help_viewer.h"
#include "ui/language_file.h"
#include "ui/program_directory.h"
#include "app/view_form.h"
#include "platform/qt_text.h"
#include "support/fake_user_interaction.h"

namespace apptest {

// How long a shown window may take to be exposed: the default five seconds are not always
// enough on a busy machine, and a window that is exposed ends the wait at once.
inline constexpr int kExposeWaitMs = 60000;

// Line n of a section: "<tag> <n> ação" (non-ASCII, so the code page shows).
inline QString TestText(const char* tag, int n) {
  return QStringLiteral("%1 %2 ação").arg(QString::fromLatin1(tag)).arg(n);
}

// The whole file in code page 1252 with the given line end.
inline std::string MakeTestLanguageFile(const std::string& lineEnd = "\r\n") {
  const struct {
    const char* heading;
    const char* tag;
    int lines;
  } sections[] = {{"# Nome Software", "NOME", 1}, {"# Form Principal", "PRINC", 59},
                  {"# Form About", "SOBRE", 2}, {"# Form de Escolha da Sobrescrita", "ESCOLHA", 6}};
  std::string bytes;
  for (const auto& section : sections) {
    bytes += section.heading + lineEnd;
    for (int n = 1; n <= section.lines; ++n) bytes += platform::ToCp1252(TestText(section.tag, n)) + lineEnd;
  }
  return bytes;
}

class FakeHelp : public app::HelpViewer {
 public:
  void ShowContext(const QString& file, int context) override { log << QStringLiteral("context|%1|%2").arg(file).arg(context); }
  void ShowDefaultTopic(const QString& file) override { log << QStringLiteral("default|%1").arg(file); }
  void CloseAll() override { log << QStringLiteral("close"); }
  QStringList log;
};

class FakeDisplayWindow : public QWidget, public ui::DisplayWindowCommands {
 public:
  void Configure() override { ++configured; }
  void PrintDisplay() override { ++printed; }
  int configured = 0;
  int printed = 0;
};

// Files named "bad..." fail to open; "damaged..." throw while loading.
class FakeHistoryViewer : public QWidget, public ui::HistoryViewerCommands {
 public:
  bool OpenFile(const QString& fileName) override {
    opened = fileName;
    if (fileName.startsWith(QStringLiteral("damaged"))) throw std::runtime_error("damaged line");
    return !fileName.startsWith(QStringLiteral("bad"));
  }
  bool ExportTable(const QString& fileName, bool withoutMs, bool msColumn, QChar separator) override {
    exports << QStringLiteral("%1|%2|%3|%4").arg(fileName).arg(withoutMs).arg(msColumn).arg(separator);
    return exportResult;
  }
  void PrintHistory() override { ++printed; }
  void ConfigurePens() override { ++pens; }

  bool exportResult = true;
  QString opened;
  QStringList exports;
  int printed = 0;
  int pens = 0;
};

class ViewFormTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    ui::SetProgramDirectory(dir_.path().toStdString());
    ui::ProgramLanguage().Clear();
  }
  void TearDown() override {
    form_.reset();
    ui::ProgramLanguage().Clear();
  }

  void Make() { form_ = std::make_unique<app::TViewForm>(user_, help_); }
  void WriteLanguageFile(const std::string& bytes) {
    QFile file(Program("Tervana.trl"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
  }
  void MakeTranslated(const std::string& bytes = MakeTestLanguageFile()) {
    WriteLanguageFile(bytes);
    Make();
  }

  QAction* Item(const char* name) { return form_->findChild<QAction*>(QString::fromLatin1(name)); }
  QToolButton* Button(const char* name) { return form_->findChild<QToolButton*>(QString::fromLatin1(name)); }
  QString Panel(int i) { return form_->StatusPanel(i)->text(); }
  QString Program(const char* file) { return dir_.path() + QLatin1Char('/') + QString::fromLatin1(file); }

  // The MDI children left after closing, once deferred deletions ran.
  int Children() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return static_cast<int>(form_->ChildWindows().size());
  }
  template <typename Child>
  Child* Add() {
    auto* child = new Child;
    form_->AddChildWindow(child);
    return child;
  }

  QTemporaryDir dir_;
  testsupport::FakeUserInteraction user_;
  FakeHelp help_;
  std::unique_ptr<app::TViewForm> form_;
};

}  // namespace apptest
