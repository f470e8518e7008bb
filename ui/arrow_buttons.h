#pragma once
// A pair of small up/down arrows beside an edit, as numeric edits with free text need them:
// the user may type anything into the edit, while a click on an arrow (or the Up and Down
// keys in the edit) asks the window to step the value. The arrows hold no value of their own;
// what a step does is up to whoever listens.
#include <QWidget>

class QLineEdit;
class QToolButton;

namespace ui {

class TArrowButtons : public QWidget {
  Q_OBJECT

 public:
  TArrowButtons(QLineEdit* associate, QWidget* parent);

  QLineEdit* Associate() const { return edit_; }
  QToolButton* UpButton() const { return up_; }
  QToolButton* DownButton() const { return down_; }

 signals:
  // +1 for the up arrow, -1 for the down arrow.
  void Arrow(int direction);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit* edit_;
  QToolButton* up_;
  QToolButton* down_;
};

}  // namespace ui
