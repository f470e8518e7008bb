#pragma once
// Everything through which the export dialog and its windows wait for the user or reach the
// desktop: message boxes, the input box, file, colour and font dialogs, modal runs and the
// shell that shows or prints a result. The windows call this interface only, so tests answer
// for the user and never block.
#include <QColor>
#include <QString>
#include <cstdint>
#include <optional>

#include "export/vantrix_font.h"

class QDialog;
class QWidget;

namespace vantrix {

class TVantrixShell;

enum class MessageIcon { None, Information, Question, Warning, Error };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct MessageRequest {
  QString caption;
  QString text;
  MessageIcon icon = MessageIcon::None;
  bool yesNo = false;      // Yes and No buttons; otherwise OK alone
  bool defaultNo = false;  // No is the default button (a stray Enter keeps things as they are)
};

// A file dialog. The filter is Qt's form ("Desc (*.a *.b);;..."); see QtFileFilter.
struct FileRequest {
  QString title;
  QString filter;
  QString defaultSuffix;  // without the dot
  QString initialFile;    // a file name or a directory to start in
};

class DialogServices {
 public:
  virtual ~DialogServices() = default;
  virtual MessageAnswer Message(QWidget* parent, const MessageRequest& request) = 0;
  // The text entered, or nothing on cancel.
  virtual std::optional<QString> InputBox(QWidget* parent, const QString& caption, const QString& prompt,
                                          const QString& initial) = 0;
  virtual std::optional<QString> OpenFile(QWidget* parent, const FileRequest& request) = 0;
  virtual std::optional<QString> SaveFile(QWidget* parent, const FileRequest& request) = 0;
  // Colours are 0x00BBGGRR values; system colours are resolved before the dialog sees them.
  virtual std::optional<uint32_t> ChooseColor(QWidget* parent, uint32_t initial) = 0;
  virtual std::optional<TVantrixFont> ChooseFont(QWidget* parent, const TVantrixFont& initial) = 0;
  // Shows the dialog modally; its result code (QDialog::Accepted or Rejected).
  virtual int RunModal(QDialog* dialog) = 0;
  // Shows a window that stays beside its owner while the caller goes on (the progress window
  // of a run); shown on screen unless these services say otherwise.
  virtual void ShowModeless(QDialog* dialog);
  // Opens, prints or copies a result.
  virtual TVantrixShell& Shell() = 0;
};

// The real dialogs and the desktop's shell.
DialogServices& DefaultDialogServices();

// Colours between the engine's 0x00BBGGRR (system colours included) and Qt.
QColor ToQColor(uint32_t color);
uint32_t FromQColor(const QColor& color);

}  // namespace vantrix
