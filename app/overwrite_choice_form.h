#pragma once
// Asked when a run starts with history on and the history file already exists: append to it,
// overwrite it, or cancel the history. Left alone, it appends after a 15-second count-down
// shown on the append button.
#include <QDialog>

class QLabel;
class QPushButton;
class QTimer;

namespace app {

class TOverwriteChoiceForm : public QDialog {
  Q_OBJECT
 public:
  enum Result : int { kAppend = 0, kOverwrite = 1, kCancel = 2 };
  static constexpr int kCountDownSeconds = 15;

  explicit TOverwriteChoiceForm(QWidget* parent = nullptr);

  // Shows the dialog modally and returns the choice.
  int Execute();
  int GetResult() const { return result_; }
  int CountDown() const { return countDown_; }

  QPushButton* AppendButton() const { return appendButton_; }
  QPushButton* OverwriteButton() const { return overwriteButton_; }
  QPushButton* CancelButton() const { return cancelButton_; }
  QTimer* Timer() const { return timer_; }

 public slots:
  void TimerTimer();
  void AppendButtonClick();
  void OverwriteButtonClick();
  void CancelButtonClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int code) override;

 private:
  void UpdateAppendCaption();

  int result_ = kAppend;
  int countDown_ = kCountDownSeconds;
  QString appendCaption_;
  QLabel* label1_;
  QLabel* label2_;
  QPushButton* appendButton_;
  QPushButton* overwriteButton_;
  QPushButton* cancelButton_;
  QTimer* timer_;
};

}  // namespace app
