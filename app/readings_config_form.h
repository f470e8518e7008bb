#pragma once
// The readings and history settings dialog: reading mode and interval, the value of failed
// readings, history on or off with its file, interval and trigger. The main window takes
// history on/off, the error value and the trigger when it closes with "Aplica"; the other
// settings stay here and are read through the getters when a run starts and when the
// environment file is saved, which also restores them through the setters (they keep every
// interval within the dialog's limits, whatever a file holds).
#include <QDialog>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window_hooks.h"
#include "ui/user_interaction.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QToolButton;

namespace app {

class TReadingsConfigForm : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kMaxFileNameLength = 500;
  static constexpr const char* kLanguageHeading = "# Form de Configura\xE7\xE3o de Leituras e Hist\xF3rico";
  enum Message { kInvalidValue = 0, kInvalidFileName = 1 };

  using ListValues = std::function<std::optional<std::vector<TriggerSourceEntry>>()>;
  using ListDevices = std::function<std::vector<std::string>()>;

  // `historyDialog`: the main window's history open dialog, whose filter and extension the
  // file button's save dialog takes. `listValues` gives the values that can trigger history,
  // `listDevices` a line per instrument found on the ports (code page 1252).
  TReadingsConfigForm(ui::UserInteraction& ui, const ui::FileDialogRequest& historyDialog, ListValues listValues,
                      ListDevices listDevices, QWidget* parent = nullptr);
  ~TReadingsConfigForm() override;

  // Loads the controls from the settings, runs the dialog modally; true when "Aplica" closed it.
  bool Execute();
  // What showing the dialog does first (Execute runs it).
  void FormShow();

  QString GetLogFileName() const { return logFileName_; }
  void SetLogFileName(const QString& name);
  int32_t GetLogInterval() const;
  void SetLogInterval(int32_t ms);
  int32_t GetReadInterval() const { return readInterval_; }
  void SetReadInterval(int32_t ms);
  bool GetFastMode() const { return fastMode_; }
  void SetFastMode(bool fast) { fastMode_ = fast; }
  bool GetLogEnabled() const { return logEnabled_; }
  void SetLogEnabled(bool on) { logEnabled_ = on; }
  float GetErrorValue() const { return errorValue_; }
  void SetErrorValue(float value) { errorValue_ = value; }
  // The trigger as the controls hold it: a level that does not convert reads 0.
  TriggerSettings GetTrigger() const;
  void SetTrigger(const TriggerSettings& trigger);

  const std::array<QString, 2>& Messages() const { return messages_; }

  // "1,5" and "1.5" alike; nothing when the text is not a number.
  static std::optional<double> ParseDecimal(const QString& text, bool commaOnlyWithoutPoint);

 public slots:
  void SlowRadioButtonClick();
  void FastRadioButtonClick();
  void LogEnableCheckBoxClick();
  void TriggerRadioButtonClick();
  void ChangeFileButtonClick();
  void ApplyBitBtnClick();
  void CancelBitBtnClick();

 private:
  void BuildControls();
  void Translate();
  void ModeClicked(int32_t logIntervalMinimum);
  void UpdateLogControls();
  void UpdateTriggerControls();
  void FillDeviceIntervals();
  void FillTriggerSources();
  bool ParseErrorValue(float& value);

  ui::UserInteraction& ui_;
  ui::FileDialogRequest saveDialog_;
  ListValues listValues_;
  ListDevices listDevices_;

  float errorValue_ = 0.0f;
  bool logEnabled_ = false;
  bool fastMode_ = false;
  int32_t logInterval_ = 0;
  int32_t readInterval_;
  QString logFileName_;
  std::array<QString, 2> messages_;
  std::vector<TriggerSourceEntry> triggerSources_;
  uint32_t chosenSerial_ = 0;
  uint8_t chosenIndex_ = 0;
  QString savedTriggerText_;

  QGroupBox* modeGroupBox_;
  QRadioButton* slowRadioButton_;
  QRadioButton* fastRadioButton_;
  QLabel* intervalLabel_;
  QSpinBox* intervalCSpinEdit_;
  QLabel* msecLabel_;
  QListWidget* devIntervalListBox_;
  QLabel* errorNumberLabel_;
  QLineEdit* errorNumberEdit_;
  QToolButton* errorNumberUp_;
  QToolButton* errorNumberDown_;
  QCheckBox* logEnableCheckBox_;
  QLabel* savingRateLabel_;
  QSpinBox* logIntervalCSpinEdit_;
  QLabel* unitLabel_;
  QLabel* fileLabel_;
  QLineEdit* fileNameEdit_;
  QPushButton* changeFileButton_;
  QGroupBox* triggerGroupBox_;
  QRadioButton* noTriggerRadioButton_;
  QRadioButton* triggerRadioButton_;
  QComboBox* triggerComboBox_;
  QRadioButton* trig1RadioButton_;
  QRadioButton* trig2RadioButton_;
  QLineEdit* triggerEdit_;
  QPushButton* applyBitBtn_;
  QPushButton* cancelBitBtn_;
};

}  // namespace app
