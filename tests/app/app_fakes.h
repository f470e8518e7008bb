#pragma once
// Recording stand-ins for the help viewer and the child windows of other subsystems.
#include <QString>
#include <QStringList>
#include <QWidget>
#include <stdexcept>

#include "app/child_windows.h"
#include "app/help_viewer.h"
#include "support/fake_user_interaction.h"

namespace apptest {

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
