#pragma once
// Recording stand-ins for the user, the help viewer and the child windows of other subsystems.
#include <QDialog>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

#include "app/child_windows.h"
#include "app/help_viewer.h"
#include "app/user_interaction.h"

namespace apptest {

// Every call in order as "kind|caption|text"; answers come from queues (Yes and cancel when empty).
class FakeUser : public app::UserInteraction {
 public:
  bool AskYesNo(QWidget*, const QString& caption, const QString& text) override {
    log << QStringLiteral("ask|%1|%2").arg(caption, text);
    if (answers.empty()) return true;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void ShowMessage(QWidget*, const QString& text) override { log << QStringLiteral("message|%1").arg(text); }
  void ShowError(QWidget*, const QString& caption, const QString& text) override {
    log << QStringLiteral("error|%1|%2").arg(caption, text);
  }
  std::optional<QString> ChooseOpenFile(QWidget*, const app::FileDialogRequest& request) override {
    log << QStringLiteral("open|%1").arg(request.title);
    return NextFile();
  }
  std::optional<QString> ChooseSaveFile(QWidget*, const app::FileDialogRequest& request) override {
    log << QStringLiteral("save|%1").arg(request.title);
    return NextFile();
  }
  int RunModal(QDialog* dialog) override {
    log << QStringLiteral("modal|%1").arg(dialog->objectName());
    return QDialog::Rejected;
  }

  std::optional<QString> NextFile() {
    if (files.empty()) return std::nullopt;
    QString file = files.front();
    files.pop_front();
    return file;
  }

  QStringList log;
  std::deque<bool> answers;
  std::deque<QString> files;
};

class FakeHelp : public app::HelpViewer {
 public:
  void ShowContext(const QString& file, int context) override {
    log << QStringLiteral("context|%1|%2").arg(file).arg(context);
  }
  void ShowDefaultTopic(const QString& file) override { log << QStringLiteral("default|%1").arg(file); }
  void CloseAll() override { log << QStringLiteral("close"); }
  QStringList log;
};

class FakeDisplayWindow : public QWidget, public app::DisplayWindowCommands {
 public:
  void Configure() override { ++configured; }
  void PrintDisplay() override { ++printed; }
  int configured = 0;
  int printed = 0;
};

// OpenFile answers with `result`, or throws when `throwText` is set.
class FakeHistoryViewer : public QWidget, public app::HistoryViewerCommands {
 public:
  bool OpenFile(const QString& fileName) override {
    opened = fileName;
    if (!throwText.empty()) throw std::runtime_error(throwText);
    return result;
  }
  bool ExportTable(const QString& fileName, bool withoutMs, bool msColumn, QChar separator) override {
    exports << QStringLiteral("%1|%2|%3|%4").arg(fileName).arg(withoutMs).arg(msColumn).arg(separator);
    return exportResult;
  }
  void PrintHistory() override { ++printed; }
  void ConfigurePens() override { ++pens; }

  bool result = true;
  std::string throwText;
  bool exportResult = true;
  QString opened;
  QStringList exports;
  int printed = 0;
  int pens = 0;
};

}  // namespace apptest
