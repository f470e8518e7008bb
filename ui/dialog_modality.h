#pragma once
// Dialogs wait for an answer over the window they belong to, not over the whole program: a
// window that no dialog belongs to (the help window) stays usable while a dialog is open, as
// help is on the desktops the program's users know. Qt's own dialogs, message boxes and
// dialogs run with QDialog::exec are all application-modal; installed on the application, this
// filter makes each one that has a parent window modal to that window just before it shows.
// A dialog without a parent stays application-modal: there is no window it could belong to.
#include <QObject>

namespace ui {

class DialogModalityFilter : public QObject {
 public:
  explicit DialogModalityFilter(QObject* parent = nullptr) : QObject(parent) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace ui
