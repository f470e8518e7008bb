#pragma once
// Answers for the user in window tests and keeps what the windows said.
#include <QStringList>

#include "app/user_interaction.h"

namespace history_test {

class FakeUserInteraction : public app::UserInteraction {
 public:
  bool AskYesNo(QWidget*, const QString&, const QString& text) override {
    messages << text;
    return yes;
  }
  void ShowMessage(QWidget*, const QString& text) override { messages << text; }
  void ShowError(QWidget*, const QString&, const QString& text) override { messages << text; }
  std::optional<QString> ChooseOpenFile(QWidget*, const app::FileDialogRequest&) override { return openFile; }
  std::optional<QString> ChooseSaveFile(QWidget*, const app::FileDialogRequest&) override { return std::nullopt; }
  int RunModal(QDialog*) override { return 0; }

  QStringList messages;
  bool yes = true;
  std::optional<QString> openFile;
};

}  // namespace history_test
