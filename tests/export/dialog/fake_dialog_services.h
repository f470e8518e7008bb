#pragma once
// Dialog services that answer from a script and remember what was asked, so the export
// dialog's windows never wait for a person in tests.
#include <QDialog>
#include <QStringList>
#include <deque>
#include <functional>

#include "export/dialog/dialog_services.h"
#include "export/shell_service.h"

namespace testsupport {

class RecordingShell : public vantrix::TVantrixShell {
 public:
  QStringList calls;
  std::string Open(const std::string& path) override {
    calls << QStringLiteral("open|%1").arg(QString::fromStdString(path));
    return {};
  }
  std::string Print(const std::string& path) override {
    calls << QStringLiteral("print|%1").arg(QString::fromStdString(path));
    return printAnswer;
  }
  std::string printAnswer;  // why printing failed; empty: it worked
  std::string SetClipboardText(const std::string&) override {
    calls << QStringLiteral("clipboard");
    return {};
  }
};

class FakeDialogServices : public vantrix::DialogServices {
 public:
  QStringList log;
  std::deque<vantrix::MessageAnswer> answers;
  vantrix::MessageAnswer defaultAnswer = vantrix::MessageAnswer::Yes;
  std::deque<QString> inputs;   // empty queue: cancel
  std::deque<QString> files;    // empty queue: cancel
  std::deque<uint32_t> colors;  // empty queue: cancel
  std::deque<vantrix::TVantrixFont> fonts;
  // Sees each modal dialog before it "closes"; the result is the dialog's own when the hook
  // accepted or rejected it, else defaultModalResult.
  std::function<void(QDialog*)> onModal;
  vantrix::FileRequest lastFileRequest;  // the last file dialog's request
  int defaultModalResult = QDialog::Rejected;
  RecordingShell shell;

  vantrix::MessageRequest lastMessage;
  std::function<void()> onMessage;  // called as each message is shown
  vantrix::MessageAnswer Message(QWidget*, const vantrix::MessageRequest& r) override {
    log << QStringLiteral("message|%1|%2").arg(r.caption, r.text);
    lastMessage = r;
    if (onMessage) onMessage();
    return Next(answers, defaultAnswer);
  }
  std::optional<QString> InputBox(QWidget*, const QString& caption, const QString&, const QString&) override {
    log << QStringLiteral("input|%1").arg(caption);
    return NextOptional(inputs);
  }
  std::optional<QString> OpenFile(QWidget*, const vantrix::FileRequest& r) override {
    log << QStringLiteral("open|%1").arg(r.filter);
    lastFileRequest = r;
    return NextOptional(files);
  }
  std::optional<QString> SaveFile(QWidget*, const vantrix::FileRequest& r) override {
    log << QStringLiteral("save|%1").arg(r.filter);
    lastFileRequest = r;
    return NextOptional(files);
  }
  std::optional<uint32_t> ChooseColor(QWidget*, uint32_t) override {
    log << QStringLiteral("color");
    return NextOptional(colors);
  }
  std::optional<vantrix::TVantrixFont> ChooseFont(QWidget*, const vantrix::TVantrixFont&) override {
    log << QStringLiteral("font");
    return NextOptional(fonts);
  }
  int RunModal(QDialog* dialog) override {
    log << QStringLiteral("modal|%1").arg(dialog->objectName());
    dialog->setResult(-1);
    if (onModal) onModal(dialog);
    return dialog->result() == -1 ? defaultModalResult : dialog->result();
  }
  vantrix::TVantrixShell& Shell() override { return shell; }

 private:
  template <class T, class D>
  static T Next(std::deque<T>& queue, D def) {
    if (queue.empty()) return def;
    T v = queue.front();
    queue.pop_front();
    return v;
  }
  template <class T>
  static std::optional<T> NextOptional(std::deque<T>& queue) {
    if (queue.empty()) return std::nullopt;
    T v = queue.front();
    queue.pop_front();
    return v;
  }
};

}  // namespace testsupport
