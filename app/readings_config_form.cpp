#include "app/readings_config_form.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <charconv>
#include <cmath>

#include "acquisition/reading_limits.h"
#include "platform/qt_text.h"
#include "ui/help_context.h"
#include "ui/language_qt.h"

namespace app {
namespace {

using acquisition::ClampLogInterval;
using acquisition::ClampReadInterval;

// The up-down beside the error value steps whole numbers within these.
constexpr int kErrorStepMin = -32768;
constexpr int kErrorStepMax = 32767;

template <typename T>
T* Named(T* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

// "0.0####": one decimal at least, five at most.
QString LevelText(double level) {
  char text[64];
  auto [end, ec] = std::to_chars(text, text + sizeof text, level, std::chars_format::fixed, 5);
  if (ec != std::errc{}) return QStringLiteral("0.0");
  std::string s(text, end);
  while (s.size() > 2 && s.back() == '0' && s[s.size() - 2] != '.') s.pop_back();
  return QString::fromStdString(s);
}

// The shortest text that reads back as the same float.
QString ErrorValueText(float value) {
  char text[64];
  auto [end, ec] = std::to_chars(text, text + sizeof text, value);
  return ec == std::errc{} ? QString::fromLatin1(text, static_cast<int>(end - text)) : QStringLiteral("0");
}

}  // namespace

TReadingsConfigForm::TReadingsConfigForm(ui::UserInteraction& ui, const ui::FileDialogRequest& historyDialog,
                                         ListValues listValues, ListDevices listDevices, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowSystemMenuHint),
      ui_(ui),
      listValues_(std::move(listValues)),
      listDevices_(std::move(listDevices)),
      readInterval_(acquisition::kDefaultReadIntervalMs) {
  messages_ = {QStringLiteral("Valor inválido!"), QStringLiteral("Nome de arquivo inválido!")};
  saveDialog_ = historyDialog;
  saveDialog_.filterIndex = 1;
  BuildControls();
  if (ui::ProgramLanguage().Loaded()) Translate();
  logIntervalCSpinEdit_->setMinimum(acquisition::kMinLogIntervalSlowMs);
  logIntervalCSpinEdit_->setValue(acquisition::kDefaultLogIntervalMs);
  fileNameEdit_->setMaxLength(kMaxFileNameLength);
  logEnableCheckBox_->setChecked(false);
}

TReadingsConfigForm::~TReadingsConfigForm() = default;

void TReadingsConfigForm::BuildControls() {
  setObjectName(QStringLiteral("ReadingsConfigForm"));
  setWindowTitle(QStringLiteral("Configuração das leituras e gravação de histórico"));
  ui::SetHelpContext(this, ui::kHelpContextReadingsDialog);
  setModal(true);

  modeGroupBox_ = Named(new QGroupBox(QStringLiteral("Modo de leituras"), this), "ModeGroupBox");
  slowRadioButton_ = Named(new QRadioButton(QStringLiteral("Lento"), modeGroupBox_), "SlowRadioButton");
  fastRadioButton_ = Named(new QRadioButton(QStringLiteral("Rápido"), modeGroupBox_), "FastRadioButton");
  slowRadioButton_->setChecked(true);
  intervalLabel_ = Named(new QLabel(QStringLiteral("Intervalo entre leituras:"), modeGroupBox_), "IntervalLabel");
  intervalCSpinEdit_ = Named(new QSpinBox(modeGroupBox_), "IntervalCSpinEdit");
  intervalCSpinEdit_->setRange(acquisition::kMinReadIntervalMs, acquisition::kMaxReadIntervalMs);
  intervalCSpinEdit_->setValue(acquisition::kDefaultReadIntervalMs);
  msecLabel_ = Named(new QLabel(QStringLiteral("milissegundos"), modeGroupBox_), "MsecLabel");
  devIntervalListBox_ = Named(new QListWidget(modeGroupBox_), "DevIntervalListBox");
  devIntervalListBox_->setEnabled(false);
  auto* mode = new QGridLayout(modeGroupBox_);
  mode->addWidget(slowRadioButton_, 0, 0);
  mode->addWidget(intervalLabel_, 0, 1);
  mode->addWidget(intervalCSpinEdit_, 0, 2);
  mode->addWidget(msecLabel_, 0, 3);
  mode->addWidget(fastRadioButton_, 1, 0);
  mode->addWidget(devIntervalListBox_, 1, 1, 1, 3);

  errorNumberLabel_ = Named(new QLabel(QStringLiteral("Valor associado a erros:"), this), "ErrorNumberLabel");
  errorNumberEdit_ = Named(new QLineEdit(QStringLiteral("0"), this), "ErrorNumberEdit");
  auto* upDown = Named(new QWidget(this), "ErrorNumberUpDown");
  errorNumberUp_ = Named(new QToolButton(upDown), "ErrorNumberUp");
  errorNumberUp_->setArrowType(Qt::UpArrow);
  errorNumberDown_ = Named(new QToolButton(upDown), "ErrorNumberDown");
  errorNumberDown_->setArrowType(Qt::DownArrow);
  auto* upDownLayout = new QVBoxLayout(upDown);
  upDownLayout->setContentsMargins(0, 0, 0, 0);
  upDownLayout->setSpacing(0);
  upDownLayout->addWidget(errorNumberUp_);
  upDownLayout->addWidget(errorNumberDown_);
  auto step = [this](int by) {
    const auto value = ParseDecimal(errorNumberEdit_->text(), true);
    const long current = value ? std::lround(*value) : 0;
    errorNumberEdit_->setText(QString::number(std::clamp<long>(current + by, kErrorStepMin, kErrorStepMax)));
  };
  connect(errorNumberUp_, &QToolButton::clicked, this, [step] { step(1); });
  connect(errorNumberDown_, &QToolButton::clicked, this, [step] { step(-1); });

  auto* logPanel = Named(new QWidget(this), "LogPanel");
  logEnableCheckBox_ = Named(new QCheckBox(QStringLiteral("Habilita histórico"), logPanel), "LogEnableCheckBox");
  savingRateLabel_ = Named(new QLabel(QStringLiteral("Intervalo de gravação:"), logPanel), "SavingRateLabel");
  logIntervalCSpinEdit_ = Named(new QSpinBox(logPanel), "LogIntervalCSpinEdit");
  logIntervalCSpinEdit_->setRange(acquisition::kMinLogIntervalSlowMs, acquisition::kMaxLogIntervalMs);
  unitLabel_ = Named(new QLabel(QStringLiteral("milissegundos"), logPanel), "UnitLabel");
  fileLabel_ = Named(new QLabel(QStringLiteral("Arquivo"), logPanel), "FileLabel");
  fileNameEdit_ = Named(new QLineEdit(logPanel), "FileNameEdit");
  changeFileButton_ = Named(new QPushButton(QStringLiteral("..."), logPanel), "ChangeFileButton");
  changeFileButton_->setAutoDefault(false);
  triggerGroupBox_ = Named(new QGroupBox(QStringLiteral("Trigger do histórico"), logPanel), "TriggerGroupBox");
  noTriggerRadioButton_ =
      Named(new QRadioButton(QStringLiteral("Sempre registra"), triggerGroupBox_), "NoTriggerRadioButton");
  triggerRadioButton_ =
      Named(new QRadioButton(QStringLiteral("Registra com trigger"), triggerGroupBox_), "TriggerRadioButton");
  noTriggerRadioButton_->setChecked(true);
  triggerComboBox_ = Named(new QComboBox(triggerGroupBox_), "TriggerComboBox");
  // The comparison buttons are a group of their own, apart from the two trigger buttons.
  auto* comparison = new QWidget(triggerGroupBox_);
  trig1RadioButton_ = Named(new QRadioButton(QStringLiteral(">="), comparison), "Trig1RadioButton");
  trig2RadioButton_ = Named(new QRadioButton(QStringLiteral("<="), comparison), "Trig2RadioButton");
  trig1RadioButton_->setChecked(true);
  auto* comparisonLayout = new QHBoxLayout(comparison);
  comparisonLayout->setContentsMargins(0, 0, 0, 0);
  comparisonLayout->addWidget(trig1RadioButton_);
  comparisonLayout->addWidget(trig2RadioButton_);
  triggerEdit_ = Named(new QLineEdit(QStringLiteral("0"), triggerGroupBox_), "TriggerEdit");
  auto* trigger = new QGridLayout(triggerGroupBox_);
  trigger->addWidget(noTriggerRadioButton_, 0, 0, 1, 3);
  trigger->addWidget(triggerRadioButton_, 1, 0, 1, 3);
  trigger->addWidget(triggerComboBox_, 2, 0, 1, 3);
  trigger->addWidget(comparison, 3, 0);
  trigger->addWidget(triggerEdit_, 3, 1);

  auto* log = new QGridLayout(logPanel);
  log->addWidget(logEnableCheckBox_, 0, 0, 1, 4);
  log->addWidget(savingRateLabel_, 1, 0);
  log->addWidget(logIntervalCSpinEdit_, 1, 1);
  log->addWidget(unitLabel_, 1, 2);
  log->addWidget(fileLabel_, 2, 0);
  log->addWidget(fileNameEdit_, 2, 1, 1, 2);
  log->addWidget(changeFileButton_, 2, 3);
  log->addWidget(triggerGroupBox_, 3, 0, 1, 4);

  applyBitBtn_ = Named(new QPushButton(QStringLiteral("Aplica"), this), "ApplyBitBtn");
  cancelBitBtn_ = Named(new QPushButton(QStringLiteral("Cancela"), this), "CancelBitBtn");
  applyBitBtn_->setDefault(true);
  cancelBitBtn_->setAutoDefault(false);

  auto* errorRow = new QHBoxLayout;
  errorRow->addWidget(errorNumberLabel_);
  errorRow->addWidget(errorNumberEdit_);
  errorRow->addWidget(upDown);
  errorRow->addStretch();
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(applyBitBtn_);
  buttons->addWidget(cancelBitBtn_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(modeGroupBox_);
  layout->addLayout(errorRow);
  layout->addWidget(logPanel);
  layout->addLayout(buttons);

  connect(slowRadioButton_, &QRadioButton::clicked, this, &TReadingsConfigForm::SlowRadioButtonClick);
  connect(fastRadioButton_, &QRadioButton::clicked, this, &TReadingsConfigForm::FastRadioButtonClick);
  connect(logEnableCheckBox_, &QCheckBox::clicked, this, &TReadingsConfigForm::LogEnableCheckBoxClick);
  connect(noTriggerRadioButton_, &QRadioButton::clicked, this, &TReadingsConfigForm::TriggerRadioButtonClick);
  connect(triggerRadioButton_, &QRadioButton::clicked, this, &TReadingsConfigForm::TriggerRadioButtonClick);
  connect(changeFileButton_, &QPushButton::clicked, this, &TReadingsConfigForm::ChangeFileButtonClick);
  connect(applyBitBtn_, &QPushButton::clicked, this, &TReadingsConfigForm::ApplyBitBtnClick);
  connect(cancelBitBtn_, &QPushButton::clicked, this, &TReadingsConfigForm::CancelBitBtnClick);
}

void TReadingsConfigForm::Translate() {
  auto title = [](QGroupBox* box) { return [box](const QString& t) { box->setTitle(t); }; };
  ui::ApplyLanguageTexts(
      kLanguageHeading,
      {ui::TitleOf(this), ui::TextOf(fileLabel_), ui::TextOf(savingRateLabel_), nullptr, ui::TextOf(applyBitBtn_),
       ui::TextOf(cancelBitBtn_), ui::TextOf(intervalLabel_),
       [this](const QString& t) {
         unitLabel_->setText(t);
         msecLabel_->setText(t);
       },
       ui::TextOf(errorNumberLabel_), ui::Into(messages_[kInvalidValue]), ui::Into(messages_[kInvalidFileName]),
       ui::TextOf(logEnableCheckBox_), title(modeGroupBox_), ui::TextOf(slowRadioButton_),
       ui::TextOf(fastRadioButton_), title(triggerGroupBox_), ui::TextOf(noTriggerRadioButton_),
       ui::TextOf(triggerRadioButton_)});
}

void TReadingsConfigForm::SetLogFileName(const QString& name) {
  logFileName_ = name.left(kMaxFileNameLength);
  fileNameEdit_->setText(logFileName_);
}

int32_t TReadingsConfigForm::GetLogInterval() const { return ClampLogInterval(logInterval_, fastMode_); }

void TReadingsConfigForm::SetLogInterval(int32_t ms) {
  // Kept within the limits of either mode; the getter applies the current mode's minimum.
  logInterval_ = ClampLogInterval(ms, true);
}

void TReadingsConfigForm::SetReadInterval(int32_t ms) { readInterval_ = ClampReadInterval(ms); }

TriggerSettings TReadingsConfigForm::GetTrigger() const {
  TriggerSettings t;
  t.level = ParseDecimal(triggerEdit_->text(), false).value_or(0.0);
  t.comparison = trig1RadioButton_->isChecked() ? 1 : 0;
  t.sourceSerial = chosenSerial_;
  t.sourceIndex = chosenIndex_;
  t.on = triggerRadioButton_->isChecked();
  return t;
}

void TReadingsConfigForm::SetTrigger(const TriggerSettings& trigger) {
  (trigger.on ? triggerRadioButton_ : noTriggerRadioButton_)->setChecked(true);
  (trigger.comparison ? trig1RadioButton_ : trig2RadioButton_)->setChecked(true);
  chosenSerial_ = trigger.sourceSerial;
  chosenIndex_ = trigger.sourceIndex;
  triggerEdit_->setText(LevelText(trigger.level));
}

std::optional<double> TReadingsConfigForm::ParseDecimal(const QString& text, bool commaOnlyWithoutPoint) {
  std::string s = text.trimmed().toStdString();
  // Either mark is taken: the first "." stays a point; the first "," becomes one (for the
  // error value only when there is no point).
  const size_t comma = s.find(',');
  if (comma != std::string::npos && (!commaOnlyWithoutPoint || s.find('.') == std::string::npos)) s[comma] = '.';
  if (s.empty()) return std::nullopt;
  const char* first = s.data() + (s[0] == '+' ? 1 : 0);
  double value = 0;
  auto [end, ec] = std::from_chars(first, s.data() + s.size(), value);
  if (ec != std::errc{} || end != s.data() + s.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

bool TReadingsConfigForm::ParseErrorValue(float& value) {
  const auto parsed = ParseDecimal(errorNumberEdit_->text(), true);
  // The value is kept as a float: one beyond its range is no value at all.
  if (!parsed || !std::isfinite(static_cast<float>(*parsed))) {
    errorNumberEdit_->setFocus();
    ui_.ShowMessage(this, messages_[kInvalidValue]);
    return false;
  }
  value = static_cast<float>(*parsed);
  return true;
}

bool TReadingsConfigForm::Execute() {
  FormShow();
  setResult(QDialog::Rejected);
  ui_.RunModal(this);
  return result() == QDialog::Accepted;
}

void TReadingsConfigForm::FormShow() {
  QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  intervalCSpinEdit_->setValue(readInterval_);
  // Each button's handler runs, the chosen one's last.
  fastRadioButton_->setChecked(true);
  FastRadioButtonClick();
  slowRadioButton_->setChecked(true);
  SlowRadioButtonClick();
  if (fastMode_) {
    fastRadioButton_->setChecked(true);
    FastRadioButtonClick();
  }
  logEnableCheckBox_->setChecked(logEnabled_);
  logIntervalCSpinEdit_->setValue(logInterval_);
  errorNumberEdit_->setText(ErrorValueText(errorValue_));
  fileNameEdit_->setText(logFileName_);
  savedTriggerText_ = triggerEdit_->text();
  UpdateLogControls();
  FillDeviceIntervals();
  FillTriggerSources();
  QApplication::restoreOverrideCursor();
}

void TReadingsConfigForm::FillDeviceIntervals() {
  devIntervalListBox_->clear();
  if (!listDevices_) return;
  for (const std::string& line : listDevices_()) devIntervalListBox_->addItem(platform::FromCp1252(line));
}

void TReadingsConfigForm::FillTriggerSources() {
  triggerComboBox_->clear();
  triggerSources_.clear();
  if (listValues_) {
    if (auto values = listValues_()) triggerSources_ = std::move(*values);
  }
  int selected = -1;
  for (size_t i = 0; i < triggerSources_.size(); ++i) {
    const TriggerSourceEntry& e = triggerSources_[i];
    triggerComboBox_->addItem(e.label);
    if (selected < 0 && e.serial == chosenSerial_ && e.index == chosenIndex_) selected = static_cast<int>(i);
  }
  if (selected < 0) {
    // The chosen value is not shown any more: recording always, until another is chosen.
    noTriggerRadioButton_->setChecked(true);
    selected = triggerSources_.empty() ? -1 : 0;
  }
  triggerComboBox_->setCurrentIndex(selected);
  UpdateTriggerControls();
}

void TReadingsConfigForm::ModeClicked(int32_t logIntervalMinimum) {
  logIntervalCSpinEdit_->setMinimum(logIntervalMinimum);
  intervalCSpinEdit_->setEnabled(slowRadioButton_->isChecked());
  devIntervalListBox_->setEnabled(!intervalCSpinEdit_->isEnabled());
}

void TReadingsConfigForm::SlowRadioButtonClick() { ModeClicked(acquisition::kMinLogIntervalSlowMs); }

void TReadingsConfigForm::FastRadioButtonClick() { ModeClicked(acquisition::kMinLogIntervalFastMs); }

void TReadingsConfigForm::LogEnableCheckBoxClick() { UpdateLogControls(); }

void TReadingsConfigForm::UpdateLogControls() {
  const bool on = logEnableCheckBox_->isChecked();
  fileNameEdit_->setEnabled(on);
  logIntervalCSpinEdit_->setEnabled(on);
  changeFileButton_->setEnabled(on);
  UpdateTriggerControls();
}

void TReadingsConfigForm::TriggerRadioButtonClick() { UpdateTriggerControls(); }

void TReadingsConfigForm::UpdateTriggerControls() {
  const bool on = logEnableCheckBox_->isChecked();
  noTriggerRadioButton_->setEnabled(on);
  triggerRadioButton_->setEnabled(on);
  const bool trigger = on && triggerRadioButton_->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{triggerComboBox_, trig1RadioButton_, trig2RadioButton_, triggerEdit_}) {
    w->setEnabled(trigger);
  }
}

void TReadingsConfigForm::ChangeFileButtonClick() {
  if (const auto name = ui_.ChooseSaveFile(this, saveDialog_)) fileNameEdit_->setText(*name);
}

void TReadingsConfigForm::CancelBitBtnClick() {
  triggerEdit_->setText(savedTriggerText_);
  reject();
}

void TReadingsConfigForm::ApplyBitBtnClick() {
  // Both numbers are checked before anything changes: a dialog that stays open keeps every
  // setting as it was, so "Cancela" after it changes nothing.
  float errorValue = 0;
  if (!ParseErrorValue(errorValue)) return;
  if (!ParseDecimal(triggerEdit_->text(), false)) {
    triggerEdit_->setFocus();
    return;
  }
  errorValue_ = errorValue;
  readInterval_ = ClampReadInterval(intervalCSpinEdit_->value());
  logEnabled_ = logEnableCheckBox_->isChecked();
  logFileName_.clear();
  if (logEnabled_) {
    const int selected = triggerComboBox_->currentIndex();
    if (selected >= 0 && static_cast<size_t>(selected) < triggerSources_.size()) {
      chosenSerial_ = triggerSources_[static_cast<size_t>(selected)].serial;
      chosenIndex_ = triggerSources_[static_cast<size_t>(selected)].index;
    }
    const QString name = fileNameEdit_->text();
    if (!name.isEmpty()) {
      logFileName_ = name;
      if (!name.mid(name.lastIndexOf(QLatin1Char('/')) + 1).contains(QLatin1Char('.'))) {
        logFileName_ += QStringLiteral(".") + saveDialog_.defaultSuffix;
      }
    } else {
      ui_.ShowMessage(this, messages_[kInvalidFileName]);
      logEnabled_ = false;
    }
  }
  fastMode_ = fastRadioButton_->isChecked();
  logInterval_ = ClampLogInterval(logIntervalCSpinEdit_->value(), fastMode_);
  accept();
}

}  // namespace app
