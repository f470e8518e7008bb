#pragma once
// The export file dialog: the file to export the history table to (its extension picks the
// format) and what becomes of the milliseconds of the time column. One lives for the whole
// run; the viewers and the main window's export command show it.
#include <QDialog>
#include <QString>
#include <QStringList>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QFrame;

namespace ui {
class UserInteraction;
}

namespace history {

class TExportForm : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kFormatCount = 8;

  explicit TExportForm(ui::UserInteraction& ui, QWidget* parent = nullptr);

  // Shows the dialog modally (through the user-interaction seam) and tells whether it was
  // accepted with a file name. OK without a name says that one is missing, and OK on an
  // existing file asks before replacing it; both leave the dialog open.
  bool Execute();
  bool IsAccepted() const { return accepted_; }

  QString FileName() const;
  bool IncludeMilliseconds() const;
  bool MillisecondsInOwnColumn() const;
  // The separator's character; "." when the field is empty.
  QChar Separator() const;

  // The save dialog's filter: the format names and their extensions, in the dialog's order.
  QString Filter() const;
  const QStringList& FormatNames() const { return formatNames_; }

  QLabel* FileLabel() const { return fileLabel_; }
  QLineEdit* FileNameEdit() const { return fileNameEdit_; }
  QPushButton* ChangeFileButton() const { return changeFileButton_; }
  QPushButton* OkBitBtn() const { return okBitBtn_; }
  QPushButton* CancelBitBtn() const { return cancelBitBtn_; }
  QCheckBox* MilisecCheckBox() const { return milisecCheckBox_; }
  QLabel* MsecSeparator() const { return msecSeparator_; }
  QLineEdit* SeparatorEdit() const { return separatorEdit_; }
  QCheckBox* SepColCheckBox() const { return sepColCheckBox_; }

 public slots:
  void ChangeFileButtonClick();
  void OkBitBtnClick();
  void MilisecCheckBoxClick();
  void SepColCheckBoxClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ApplyLanguage();

  ui::UserInteraction& ui_;
  bool accepted_ = false;
  QStringList formatNames_;
  QLabel* fileLabel_;
  QLineEdit* fileNameEdit_;
  QPushButton* changeFileButton_;
  QPushButton* okBitBtn_;
  QPushButton* cancelBitBtn_;
  QCheckBox* milisecCheckBox_;
  QFrame* msecPanel_;
  QLabel* msecSeparator_;
  QLineEdit* separatorEdit_;
  QCheckBox* sepColCheckBox_;
};

}  // namespace history
