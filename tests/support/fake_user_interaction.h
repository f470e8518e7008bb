#pragma once
// A user who answers from a script and remembers everything the windows said or asked, so
// window tests never block on a message box, a file dialog or a modal dialog.
#include <QDialog>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "ui/user_interaction.h"

namespace testsupport {

class FakeUserInteraction : public ui::UserInteraction {
 public:
  // Every call in order: "ask|caption|text", "message|text", "error|caption|text",
  // "warning|caption|text", "open|title", "save|title", "modal|objectName".
  QStringList log;
  // Just the texts of the questions, messages, errors and warnings, in order.
  QStringList messages;
  // The file dialogs as the windows asked for them, open and save alike.
  std::vector<ui::FileDialogRequest> fileRequests;

  // Answers to the Yes/No questions; `defaultAnswer` once the queue is empty.
  std::deque<bool> answers;
  bool defaultAnswer = true;
  // Files chosen in the open and save dialogs, in order; cancel once the queue is empty.
  std::deque<QString> files;
  // Results of the modal dialogs; `defaultModalResult` once the queue is empty. `onModal`,
  // when set, sees each dialog before it "closes" (to fill it in or press its buttons).
  std::deque<int> modalResults;
  int defaultModalResult = QDialog::Rejected;
  std::function<void(QDialog*)> onModal;

  bool AskYesNo(QWidget*, const QString& caption, const QString& text) override {
    log << QStringLiteral("ask|%1|%2").arg(caption, text);
    messages << text;
    return Next(answers, defaultAnswer);
  }
  void ShowMessage(QWidget*, const QString& text) override {
    log << QStringLiteral("message|%1").arg(text);
    messages << text;
  }
  void ShowError(QWidget*, const QString& caption, const QString& text) override {
    log << QStringLiteral("error|%1|%2").arg(caption, text);
    messages << text;
  }
  void ShowWarning(QWidget*, const QString& caption, const QString& text) override {
    log << QStringLiteral("warning|%1|%2").arg(caption, text);
    messages << text;
  }
  std::optional<QString> ChooseOpenFile(QWidget*, const ui::FileDialogRequest& request) override {
    return ChooseFile(QStringLiteral("open"), request);
  }
  std::optional<QString> ChooseSaveFile(QWidget*, const ui::FileDialogRequest& request) override {
    return ChooseFile(QStringLiteral("save"), request);
  }
  int RunModal(QDialog* dialog) override {
    log << QStringLiteral("modal|%1").arg(dialog->objectName());
    if (onModal) onModal(dialog);
    return Next(modalResults, defaultModalResult);
  }

 private:
  template <typename T>
  static T Next(std::deque<T>& queue, T fallback) {
    if (queue.empty()) return fallback;
    T value = queue.front();
    queue.pop_front();
    return value;
  }
  std::optional<QString> ChooseFile(const QString& kind, const ui::FileDialogRequest& request) {
    log << QStringLiteral("%1|%2").arg(kind, request.title);
    fileRequests.push_back(request);
    if (files.empty()) return std::nullopt;
    return Next(files, QString());
  }
};

}  // namespace testsupport
