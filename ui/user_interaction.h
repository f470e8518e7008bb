#pragma once
// Everything through which the windows wait for the user: message boxes, file dialogs and
// modal dialogs. The windows call this interface, so tests answer for the user and never block.
#include <QString>
#include <optional>

class QDialog;
class QWidget;

namespace ui {

// A file dialog as the windows describe it. The filter keeps the classic form
// "name (*.ext) |*.ext|name (*.*) |*.*"; the real dialog converts it.
struct FileDialogRequest {
  QString title;
  QString filter;
  QString defaultSuffix;  // without the dot
  int filterIndex = 1;    // 1-based
};

class UserInteraction {
 public:
  virtual ~UserInteraction() = default;
  // A Yes/No question; true for Yes.
  virtual bool AskYesNo(QWidget* parent, const QString& caption, const QString& text) = 0;
  // A plain message with the application title as caption.
  virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
  // Something failed (a file not read or not written): an error message with its own caption.
  virtual void ShowError(QWidget* parent, const QString& caption, const QString& text) = 0;
  // Something the user left out or can put right (a file name not given): a warning with its
  // own caption.
  virtual void ShowWarning(QWidget* parent, const QString& caption, const QString& text) = 0;
  // The chosen file, or nothing on cancel.
  virtual std::optional<QString> ChooseOpenFile(QWidget* parent, const FileDialogRequest& request) = 0;
  virtual std::optional<QString> ChooseSaveFile(QWidget* parent, const FileDialogRequest& request) = 0;
  // Shows a dialog modally and returns its result code (QDialog::Accepted or Rejected).
  virtual int RunModal(QDialog* dialog) = 0;
};

// Converts "name (*.ext) |*.ext|..." into Qt's "name (*.ext);;..." ("*.*" matches every file).
QString ToQtFileFilter(const QString& classicFilter);

// The real message boxes and dialogs.
class QtUserInteraction : public UserInteraction {
 public:
  bool AskYesNo(QWidget* parent, const QString& caption, const QString& text) override;
  void ShowMessage(QWidget* parent, const QString& text) override;
  void ShowError(QWidget* parent, const QString& caption, const QString& text) override;
  void ShowWarning(QWidget* parent, const QString& caption, const QString& text) override;
  std::optional<QString> ChooseOpenFile(QWidget* parent, const FileDialogRequest& request) override;
  std::optional<QString> ChooseSaveFile(QWidget* parent, const FileDialogRequest& request) override;
  int RunModal(QDialog* dialog) override;
};

}  // namespace ui
