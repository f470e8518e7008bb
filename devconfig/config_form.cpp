// TConfigForm: creation, the instrument list, selection, filling the pages and "Aplica".
#include "devconfig/config_form.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <utility>

#include "devconfig/device_list_rules.h"
#include "devconfig/digital_input_transfer.h"
#include "devconfig/fixed_point.h"
#include "devconfig/form_building.h"
#include "devconfig/page_transfer.h"
#include "instrument/device_interface.h"
#include "instrument/device_regs_image.h"
#include "instrument/port_names.h"
#include "platform/datetime.h"
#include "ui/language_file.h"

using devconfig::HourglassScope;
using devconfig::Msg;

namespace {

constexpr int kPortRole = Qt::UserRole;

char LocaleMark() {
  const QString point = QLocale().decimalPoint();
  return point == QLatin1String(",") ? ',' : '.';
}

}  // namespace

TConfigForm::TConfigForm(ui::UserInteraction& ui, QWidget* parent)
    : QDialog(parent),
      ui_(ui),
      texts_(devconfig::BuiltInConfigTexts()),
      mark_(LocaleMark()),
      clock_(&platform::WallClock::System()) {
  BuildForm();
  if (ui::ProgramLanguage().Loaded()) Translate();
  FitPagesToTabs();
  FinishCalibrationPages();
  listView_->clear();
  loading_ = true;
  ++filling_;
  for (int number : {1, 2}) {
    QComboBox* list = ChannelPage(number).typeComboBox;
    list->clear();
    const size_t count = number == 1 ? devconfig::kInputTypeCount : devconfig::kChannel2InputTypeCount;
    for (size_t i = 0; i < count; ++i) list->addItem(platform::FromCp1252(texts_.inputTypes[i]));
    list->setCurrentIndex(0);
  }
  --filling_;
  cfgDialog_.defaultSuffix = QStringLiteral("cfg");
  cfgDialog_.filter = Message(Msg::ConfigurationFiles) + QStringLiteral(" (*.cfg) |*.cfg");
  ResetControls();
}

TConfigForm::~TConfigForm() {
  // FormDestroy: nothing may tick into a half-destroyed dialog.
  StopDiagTimer();
}

QString TConfigForm::ApplyButtonCaption() const { return applyBitBtn_->text(); }
QString TConfigForm::CloseButtonCaption() const { return closeBitBtn_->text(); }

QString TConfigForm::Message(Msg m) const { return platform::FromCp1252(texts_.Message(m)); }

void TConfigForm::ShowText(const QString& text) {
  if (holdMessages_) {
    heldMessages_ << text;
    return;
  }
  if (wait_ != nullptr) wait_->Restore();
  ui_.ShowMessage(this, text);
}

void TConfigForm::ShowHeldMessages() {
  const QStringList held = std::exchange(heldMessages_, {});
  for (const QString& text : held) ShowText(text);
}

void TConfigForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Once the dialog stands in its place: a message box over a dialog still being mapped
  // would centre on nothing.
  if (!heldMessages_.isEmpty()) QTimer::singleShot(0, this, &TConfigForm::ShowHeldMessages);
}

void TConfigForm::Execute() {
  holdMessages_ = true;
  FormShow();
  holdMessages_ = false;
  ui_.RunModal(this);
  ShowHeldMessages();  // a modal run that never showed the dialog still says what was found
  FormClose();
}

void TConfigForm::FitPagesToTabs() {
  // The pages are as wide as the widest set of tabs an instrument brings, side by side (the
  // language file may lengthen the captions), so that no caption is cut or scrolled away.
  int widest = configPageControl_->minimumWidth();
  for (const devconfig::DeviceContext& device :
       {devconfig::DeviceContext{device::kModelLogger, -1, device::kCounterFirmware},
        devconfig::DeviceContext{device::kModelProbe, 0, 0}, devconfig::DeviceContext{device::kModelProbe, 1, 0}}) {
    ShowPages(devconfig::VisiblePages(device));
    widest = std::max(widest, configPageControl_->tabBar()->sizeHint().width());
  }
  configPageControl_->setMinimumWidth(widest);
  for (int page = 0; page < kPageCount; ++page) ShowPage(static_cast<Page>(page), true);
}

void TConfigForm::ShowPages(const devconfig::PageVisibility& pages) {
  ShowPage(kCh2Page, pages.channel2);
  ShowPage(kCh3Page, pages.ambient);
  ShowPage(kDigInpPage, pages.digitalInput);
  ShowPage(kCalibPage, pages.factoryCalibration);
  ShowPage(kCustomCalibPage, pages.customCalibration);
}

void TConfigForm::ResetControls() {
  ShowGeneralPage(devconfig::GeneralPageState{});
  for (int number : {1, 2}) ShowChannelPage(number, devconfig::ChannelPageState{});
  ShowAmbientPage(devconfig::AmbientPageState{});
  ShowDigitalInputPage(devconfig::DigitalInputPageState{});
}

void TConfigForm::FormShow() {
  ++filling_;
  configPageControl_->setCurrentIndex(kGeneralPage);
  calibration_.customCalibPageControl->setCurrentIndex(0);
  listView_->clear();
  --filling_;
  EnableBlockButtons(false);
  blockRead_ = false;
  ResetControls();
  // The calibration pages belong to one model each: none shows before an instrument is read.
  devconfig::PageVisibility unknown;
  unknown.factoryCalibration = false;
  ShowPages(unknown);
  // Nothing of the instrument of the last opening: its period and its last values.
  general_.intValLabel->clear();
  for (QLabel* value : {diag_.ch1ValLabel, diag_.ch2ValLabel, diag_.ch3ValLabel, diag_.digInpValLabel,
                        diag_.countingValLabel})
    value->clear();
  int index = -1;
  {
    HourglassScope hourglass(wait_);
    index = SearchDevices();
  }
  if (device_ && index >= 0 && index < listView_->topLevelItemCount()) {
    listView_->setCurrentItem(listView_->topLevelItem(index));  // runs ListViewSelectItem
  } else {
    Show(Msg::NoDevice);
  }
  ShowScanInterval();
}

void TConfigForm::FormClose() {
  StopDiagTimer();
  ++filling_;
  listView_->clear();
  --filling_;
  if (device_) device_->ClosePort();
  device_.reset();
  blockRead_ = false;
  EnableBlockButtons(false);
}

int TConfigForm::SearchDevices() {
  int result = -1;
  const std::vector<TEnumeratePorts> ports = TSerialModBusDriver::ListPorts();
  std::vector<std::string> captions;
  {
    DeviceInterface scratch(1);
    for (const TEnumeratePorts& entry : ports) {
      if (!device::NamesOurProduct(entry.friendlyName)) continue;
      const std::string portText = device::PortTextOf(entry.friendlyName);
      if (devconfig::PortAlreadyListed(captions, portText)) continue;
      std::string caption = entry.friendlyName;
      scratch.SetPortNumber(entry.portNumber);
      if (scratch.OpenPort()) {
        std::string serial;
        std::string tag;
        if (scratch.ReadSerialNumber(serial) && scratch.ReadTagName(tag))
          caption = devconfig::DeviceListCaption(tag, serial, portText);
        scratch.ClosePort();
      }
      captions.push_back(caption);
      auto* item = new QTreeWidgetItem(listView_, {platform::FromCp1252(caption)});
      item->setData(0, kPortRole, entry.portNumber);
    }
  }
  const int count = listView_->topLevelItemCount();
  if (count == 0) return result;
  for (result = 0; result < count; ++result) {
    QTreeWidgetItem* item = listView_->topLevelItem(result);
    device_ = std::make_unique<DeviceInterface>(item->data(0, kPortRole).toInt());
    if (device_->OpenPort()) break;
    device_.reset();
    ShowText(Message(Msg::PortOpenError) + QStringLiteral(" ") + item->text(0));
  }
  return result;
}

void TConfigForm::ListViewSelectItem(QTreeWidgetItem* item) {
  if (item == nullptr) return;
  StopDiagTimer();
  HourglassScope hourglass(wait_);
  // A fresh object for every selection: one left from another instrument would still hold
  // that instrument's block, model and scaling should this one's read fail.
  if (device_) device_->ClosePort();
  device_.reset();
  blockRead_ = false;
  EnableBlockButtons(false);
  device_ = std::make_unique<DeviceInterface>(item->data(0, kPortRole).toInt());
  if (!device_->OpenPort()) {
    device_.reset();
    ShowText(Message(Msg::PortOpenError) + QStringLiteral(" ") + item->text(0));
    return;
  }
  LoadSelectedDevice();
  if (DiagActive()) {
    PrepareDiagPage();
    StartDiagTimer();
  }
  ShowScanInterval();
}

void TConfigForm::LoadSelectedDevice() {
  EnableBlockButtons(false);
  blockRead_ = false;
  ShowPage(kCustomCalibPage, false);
  ShowPage(kCalibPage, false);
  ShowPage(kDigInpPage, true);
  if (!device_) {
    Show(Msg::NoDevice);
  } else if (!device_->ReadConfiguration()) {
    Show(Msg::ReadFailed);
  } else {
    EnableBlockButtons(true);
    blockRead_ = true;
    regs_ = device_->regs;
    context_ = devconfig::DeviceContext::Of(device_->GetDeviceModel(), regs_);
    loading_ = true;
    FillPages();
    loading_ = false;
  }
  ApplyAmbientEnableRule();
}

void TConfigForm::FillPages() {
  const devconfig::PageVisibility pages = devconfig::VisiblePages(context_);
  ++filling_;
  FillResolutionList();
  ShowGeneralPage(devconfig::FillGeneral(regs_, context_));
  diag_.serialNumberEdit->setText(QString::fromStdString(device::SerialText(regs_.SerialNumber)));
  diag_.firmwareVersionEdit->setText(platform::FromCp1252(regs_.VersionText));
  FillChannelControls(1);
  ShowPages(pages);
  if (pages.channel2) FillChannelControls(2);
  if (pages.ambient) ShowAmbientPage(devconfig::FillAmbient(regs_, mark_));
  if (pages.digitalInput) ShowDigitalInputPage(devconfig::FillDigitalInput(regs_, context_, mark_));
  ShowDiagnosticDigitalLines(pages.diagnosticDigitalLines);
  if (pages.customCalibration) FillCustomCalibPage();
  --filling_;
}

void TConfigForm::EnableBlockButtons(bool enabled) {
  applyBitBtn_->setEnabled(enabled);
  saveCfgBitBtn_->setEnabled(enabled);
  loadCfgBitBtn_->setEnabled(enabled);
}

void TConfigForm::ShowPage(Page page, bool visible) {
  ++filling_;  // hiding the active page makes another one active
  configPageControl_->setTabVisible(page, visible);
  --filling_;
}

bool TConfigForm::DiagActive() const { return configPageControl_->currentIndex() == kDiagPage; }

void TConfigForm::StartDiagTimer() {
  if (device_) diagTimer_->start();
}

void TConfigForm::StopDiagTimer() {
  if (diagTimer_ != nullptr) diagTimer_->stop();
}

void TConfigForm::ConfigPageControlChange(int index) {
  if (filling_ > 0) return;
  if (index == kDiagPage) {
    PrepareDiagPage();
    StartDiagTimer();
  } else {
    StopDiagTimer();
  }
  if (index == kCalibPage) PrepareFactoryCalibrationPage();
}

void TConfigForm::ShowScanInterval() {
  if (!device_ || !device_->IsReady()) return;
  general_.intValLabel->setText(QString::fromStdString(devconfig::FormatDecimals(device_->GetFastModePeriod(), 1, mark_)));
}

bool TConfigForm::PageOfWidgetShown(const QWidget* widget) const {
  for (int i = 0; i < configPageControl_->count(); ++i) {
    const QWidget* page = configPageControl_->widget(i);
    if (page->isAncestorOf(widget)) return configPageControl_->isTabVisible(i) && widget->isVisibleTo(page);
  }
  return false;
}

void TConfigForm::RefuseField(QLineEdit* edit) {
  for (int i = 0; i < configPageControl_->count(); ++i) {
    if (configPageControl_->widget(i)->isAncestorOf(edit)) configPageControl_->setCurrentIndex(i);
  }
  edit->setFocus(Qt::OtherFocusReason);
  checking_ = true;
  Show(Msg::InvalidValue);
  checking_ = false;
  edit->setFocus(Qt::OtherFocusReason);
}

void TConfigForm::WatchField(QLineEdit* edit, std::function<bool()> check) {
  fieldChecks_[edit] = std::move(check);
  checkedFields_.push_back(edit);
  edit->installEventFilter(this);
}

bool TConfigForm::LeaveField(QLineEdit* edit) {
  const auto it = fieldChecks_.find(edit);
  if (it == fieldChecks_.end() || !edit->isModified()) return true;
  if (!it->second()) {
    RefuseField(edit);
    return false;
  }
  edit->setModified(false);
  return true;
}

bool TConfigForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut && !checking_ && fieldChecks_.count(watched) != 0) {
    // Only a move to another control of the dialog leaves the field: a message box or
    // another window taking the focus does not.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
      LeaveField(static_cast<QLineEdit*>(watched));
  }
  return QDialog::eventFilter(watched, event);
}

bool TConfigForm::ValidateVisibleFields() {
  for (QLineEdit* edit : checkedFields_) {
    if (!edit->isModified() || !PageOfWidgetShown(edit)) continue;
    if (!LeaveField(edit)) return false;
  }
  // The counter factor has no check of its own when left, but a text that is no finite number
  // must not reach the instrument.
  QLineEdit* scale = digital_.scaleEdit;
  if (scale->isModified() && PageOfWidgetShown(scale) && !CheckScale()) {
    RefuseField(scale);
    return false;
  }
  return true;
}

bool TConfigForm::TakePages(DeviceRegs& edited) {
  // "Aplica" is the default button: Enter reaches it without leaving the field being edited,
  // so every field the user changed is checked here before anything is taken.
  if (!ValidateVisibleFields()) return false;
  const devconfig::PageVisibility pages = devconfig::VisiblePages(context_);
  edited = regs_;
  devconfig::StoreGeneral(ReadGeneralPage(), context_, edited);
  for (int number : {1, 2}) {
    if (number == 2 && !pages.channel2) continue;  // a page not shown keeps the block's values
    if (!StoreChannelControls(number, edited)) {
      configPageControl_->setCurrentIndex(number == 1 ? kCh1Page : kCh2Page);
      ChannelPage(number).limSup.edit->setFocus(Qt::OtherFocusReason);
      Show(Msg::LimitsNotAscending);
      return false;
    }
  }
  if (pages.ambient) devconfig::StoreAmbient(ReadAmbientPage(), edited);
  if (pages.digitalInput) devconfig::StoreDigitalInput(ReadDigitalInputPage(), edited);
  return true;
}

void TConfigForm::ApplyBitBtnClick() {
  HourglassScope hourglass(wait_);
  if (DiagActive()) StopDiagTimer();
  if (!device_ || !blockRead_) {
    Show(Msg::WriteFailed);
    return;
  }
  DeviceRegs edited;
  if (!TakePages(edited)) return;
  regs_ = edited;
  device_->regs = edited;
  const bool written = device_->WriteConfiguration();
  if (DiagActive()) StartDiagTimer();
  if (written) {
    ShowScanInterval();
    ApplyAmbientEnableRule();
    Show(Msg::WriteSucceeded);
  } else {
    Show(Msg::WriteFailed);
  }
}
