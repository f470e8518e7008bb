// TConfigViewForm: creation, the steps, the kind choice and the hand-over of the record.
#include "display/wizard/config_view_form.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <random>

#include "controls/analog_meter.h"
#include "controls/bar_meter.h"
#include "controls/dial_gauge.h"
#include "controls/digit_display.h"
#include "controls/segment_indicator.h"
#include "ui/radio_group.h"
#include "display/wizard/up_down.h"
#include "instrument/device_interface.h"
#include "qcustomplot.h"
#include "ui/help_context.h"
#include "ui/language_file.h"
#include "ui/user_interaction.h"

namespace {

// The first control of `area` the keyboard can reach.
QWidget* FirstFocusable(QWidget* area) {
  for (QWidget* w : area->findChildren<QWidget*>()) {
    if ((w->focusPolicy() & Qt::TabFocus) != 0 && w->isEnabled() && w->isVisibleTo(area)) return w;
  }
  return nullptr;
}

wizard::PreviewWalk::RandomSource DefaultRandom() {
  auto engine = std::make_shared<std::minstd_rand>(std::random_device{}());
  return [engine] { return static_cast<uint32_t>((*engine)() & 0x7FFFFFFF); };
}

}  // namespace

TConfigViewForm::TConfigViewForm(const WizardServices& services, QWidget* parent)
    : QDialog(parent),
      services_(services),
      config_(DisplayConfig::NewWindowDefaults()),
      walk_(services.random ? services.random : DefaultRandom()) {
  kindNames_ = {QString::fromUtf8("Gráfico"),           QStringLiteral("Display LCD"),
                QStringLiteral("Display Leds"),          QString::fromUtf8("Barra de Indicação"),
                QString::fromUtf8("VU Analógico 1"),     QString::fromUtf8("VU Analógico 2")};
  referenceText_ = QString::fromUtf8("Referência");
  rangeText_ = QString::fromUtf8("Valor mínimo deve ser menor que valor máximo!");
  BuildForm();
  ui::SetHelpContext(this, ui::kHelpContextDisplayWizard);
  // Each kind's page, its colour circles and its example start from the settings a new
  // element of that kind gets, so that what a page shows is what the window gets.
  for (DisplayKind kind : {DisplayKind::LcdIndicator, DisplayKind::LedDigits, DisplayKind::BarMeter,
                           DisplayKind::DialGauge, DisplayKind::AnalogMeter}) {
    config_ = DisplayConfig::NewElementDefaults(kind);
    LoadControls();
  }
  config_ = DisplayConfig::NewWindowDefaults();
  walk_.SetRange(0, 100);
  if (ui::ProgramLanguage().Loaded()) Translate();
  howRadioGroup_->SetItems(QStringList(kindNames_.begin(), kindNames_.end()));
  howRadioGroup_->SetItemIndex(0);
  config_.kind = DisplayKind::Chart;
  loadedKind_ = DisplayKind::Chart;
}

TConfigViewForm::~TConfigViewForm() { CloseDevice(); }

void TConfigViewForm::SetConfig(const DisplayConfig& config) {
  config_ = config;
  if (static_cast<uint32_t>(config_.kind) > 6) config_.kind = DisplayKind::None;
  if (config_.kind != DisplayKind::None) howRadioGroup_->SetItemIndex(static_cast<int>(config_.kind) - 1);
  loadedKind_ = config_.kind;
  LoadControls();
}

void TConfigViewForm::GetConfig(DisplayConfig& config) const {
  DisplayConfig out = config_;
  if (out.kind != DisplayKind::None) ReadKindControls(out);
  config = std::move(out);
}

bool TConfigViewForm::Execute(QWidget*) {
  FormShow();
  setResult(QDialog::Rejected);
  if (services_.ui != nullptr) {
    services_.ui->RunModal(this);
  } else {
    exec();
  }
  FormClose();
  return result() == QDialog::Accepted;
}

void TConfigViewForm::FormShow() {
  defaultTag_ = kDefaultTag;
  SelectKind();
  backBitBtn_->hide();
  closeBitBtn_->hide();
  nextBitBtn_->show();
  howRadioGroup_->show();
  whatPanel_->hide();
  whatRadioGroup_->hide();
  step_ = 0;
  for (QTabWidget* tabs : findChildren<QTabWidget*>()) tabs->setCurrentIndex(0);
  SetPreviewAxisRange();
  DeleteSeries();
  FillDeviceList();
  ShowStep();
  DeleteColorList();
}

void TConfigViewForm::FormClose() {
  timer_->stop();
  DeleteReferenceSeries(1);
  DeleteReferenceSeries(2);
  DeleteColorList();
  CloseDevice();
  portList_.clear();
}

void TConfigViewForm::closeEvent(QCloseEvent* event) {
  timer_->stop();
  QDialog::closeEvent(event);
}

void TConfigViewForm::reject() { QDialog::reject(); }

void TConfigViewForm::SelectKind() {
  const int item = howRadioGroup_->ItemIndex();
  config_.kind = item >= 0 ? DisplayKindFromNumber(static_cast<uint32_t>(item + 1)) : DisplayKind::None;
  // The kind's settings are what its page shows (the record's, or the last use's for another
  // kind): the handlers of the page work from them.
  if (config_.kind != DisplayKind::Chart && config_.kind != DisplayKind::None) ReadKindControls(config_);
  ShowPreviewElement();
  if (config_.kind == DisplayKind::Chart) {
    timer_->stop();
  } else {
    timer_->start();
  }
  switch (config_.kind) {
    case DisplayKind::Chart:
      walk_.SetRange(static_cast<int64_t>(chart_->yAxis->range().lower),
                     static_cast<int64_t>(chart_->yAxis->range().upper));
      break;
    case DisplayKind::LcdIndicator:
      SetPreviewRange(liqCrystal_->SignNumber());
      break;
    case DisplayKind::LedDigits:
      SetPreviewRange(ledLcd_->DigitNum());
      break;
    case DisplayKind::BarMeter:
      walk_.SetRange(static_cast<int64_t>(meter_->ValueMin()), static_cast<int64_t>(meter_->ValueMax()));
      break;
    case DisplayKind::DialGauge:
      walk_.SetRange(analogGauge_->MinValue(), analogGauge_->MaxValue());
      break;
    case DisplayKind::AnalogMeter:
      walk_.SetRange(static_cast<int64_t>(analogMeter_->Min()), static_cast<int64_t>(analogMeter_->Max()));
      break;
    case DisplayKind::None:
      break;
  }
}

void TConfigViewForm::ShowStep() {
  const int kind = static_cast<int>(config_.kind);
  auto hidePages = [this] {
    for (QWidget* page : kindPages_) page->hide();
  };
  switch (step_) {
    case 0:
      howRadioGroup_->show();
      whatPanel_->hide();
      hidePages();
      nextBitBtn_->show();
      nextBitBtn_->setEnabled(true);
      nextBitBtn_->setDefault(true);
      closeBitBtn_->hide();
      backBitBtn_->hide();
      if (config_.kind == DisplayKind::Chart) {
        timer_->stop();
      } else {
        timer_->start();
      }
      ui::SetHelpContext(this, ui::kHelpContextDisplayWizard);
      break;
    case 1:
      ui::SetHelpContext(this, ui::DisplayWizardDeviceStepHelpContext(kind));
      timer_->start();
      howRadioGroup_->hide();
      hidePages();
      whatPanel_->show();
      nextBitBtn_->show();
      backBitBtn_->show();
      nextBitBtn_->setEnabled(false);
      nextBitBtn_->setDefault(true);
      closeBitBtn_->hide();
      if (config_.kind != loadedKind_) {
        if (config_.kind == DisplayKind::Chart) {
          ResetChartForNewKind();
        } else {
          config_.chartChannels.clear();
        }
      }
      {
        const bool chart = config_.kind == DisplayKind::Chart;
        whichDeviceComboBox_->setVisible(!chart);
        whatRadioGroup_->setVisible(!chart);
        chartListsPanel_->setVisible(chart);
      }
      FillChannelChoice();
      if (config_.kind != DisplayKind::Chart) {
        for (size_t i = 0; i < offered_.items.size(); ++i) {
          if (offered_.items[i].valueIndex == config_.valueIndex) {
            whatRadioGroup_->SetItemIndex(static_cast<int>(i));
            chosenValueIndex_ = config_.valueIndex;
            nextBitBtn_->setEnabled(true);
            break;
          }
        }
      } else {
        nextBitBtn_->setEnabled(lists_.NextEnabled());
      }
      break;
    default:
      howRadioGroup_->hide();
      whatPanel_->hide();
      nextBitBtn_->hide();
      closeBitBtn_->show();
      // Enter at the last step keeps the user's work.
      closeBitBtn_->setDefault(true);
      backBitBtn_->show();
      hidePages();
      if (kind >= 1 && kind <= 6) kindPages_[static_cast<size_t>(kind - 1)]->show();
      EnterSettingsStep();
      break;
  }
  FocusStep();
}

void TConfigViewForm::FocusStep() {
  // The focus goes to what the step asks of the user, never left on a button the step hid.
  QWidget* target = nullptr;
  const int kind = static_cast<int>(config_.kind);
  switch (step_) {
    case 0:
      target = howRadioGroup_->ItemIndex() >= 0 ? howRadioGroup_->Button(howRadioGroup_->ItemIndex())
                                                : FirstFocusable(howRadioGroup_);
      break;
    case 1:
      target = config_.kind == DisplayKind::Chart ? static_cast<QWidget*>(allListView_) : whichDeviceComboBox_;
      break;
    default:
      if (kind >= 1 && kind <= 6) target = FirstFocusable(kindPages_[static_cast<size_t>(kind - 1)]);
      break;
  }
  if (target == nullptr) target = nextBitBtn_->isVisible() ? nextBitBtn_ : closeBitBtn_;
  target->setFocus(Qt::OtherFocusReason);
}

void TConfigViewForm::NoteRefusedInput() {
  // Cleared once the event that brought the text is handled: an Enter that left an edit
  // whose text was refused stays in the step, with the user's eyes on the edit.
  refusedInput_ = true;
  QTimer::singleShot(0, this, [this] { refusedInput_ = false; });
}

void TConfigViewForm::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && refusedInput_) {
    refusedInput_ = false;
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TConfigViewForm::NextClick() {
  KeepChosenChannels();
  if (step_ < 2) ++step_;
  ShowStep();
}

void TConfigViewForm::BackClick() {
  KeepChosenChannels();
  if (step_ > 0) --step_;
  ShowStep();
}

void TConfigViewForm::KeepChosenChannels() {
  // Every entry into step 1 rebuilds the chart's lists from the record: the channels chosen so
  // far, with the colours given them, go into it first, so that going back a step loses none.
  if (config_.kind == DisplayKind::Chart && step_ >= 1) ReadKindControls(config_);
}

void TConfigViewForm::FinishClick() {
  config_.valueIndex = chosenValueIndex_;
  if (device_ && device_->IsPortOpen()) config_.deviceSerial = static_cast<uint32_t>(device_->regs.SerialNumber);
  done(QDialog::Accepted);
}

void TConfigViewForm::CancelClick() { done(QDialog::Rejected); }

void TConfigViewForm::ShowMessage(const QString& text) {
  if (services_.ui != nullptr) {
    services_.ui->ShowMessage(this, text);
  } else {
    QMessageBox::information(this, windowTitle(), text);
  }
}
