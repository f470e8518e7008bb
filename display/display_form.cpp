#include "display/display_form.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/help_context.h"
#include "ui/language_file.h"
#include "ui/main_window_services.h"
#include "ui/user_interaction.h"
#include "ui/window_picture_print.h"
#include "display/display_channels.h"
#include "display/display_configurator.h"
#include "display/display_device_directory.h"
#include "display/display_object.h"
#include "display/instrument_devices.h"
#include "display/readings_state.h"
#include "platform/qt_text.h"

DisplayFormServices& DisplayFormServices::Program() {
  static InstrumentDeviceDirectory instruments;
  static DisplayFormServices services = [] {
    DisplayFormServices s;
    s.devices = &instruments;
    return s;
  }();
  return services;
}

TDisplayForm::TDisplayForm(QWidget* parent) : TDisplayForm(DisplayFormServices::Program(), parent) {}

TDisplayForm::TDisplayForm(const DisplayFormServices& services, QWidget* parent)
    : QWidget(parent), services_(services), config_(DisplayConfig::NewWindowDefaults()) {
  texts_ = {"Erro na cria\xE7\xE3o do objeto gr\xE1" "fico!", "Zerar contagem",
            "Zerar temporiza\xE7\xE3o", "Zerar freq\xFC\xEAncia"};
  BuildWindow();
  ApplyLanguage();
  TakeMenuCaptions();
  lastUpdateMs_ = NowMs();
}

TDisplayForm::~TDisplayForm() {
  FreeElement();
  ClearResetItems();
}

void TDisplayForm::BuildWindow() {
  setObjectName(QStringLiteral("DisplayForm"));
  setAttribute(Qt::WA_DeleteOnClose);
  ui::SetHelpContext(this, ui::kHelpContextDisplayWindow);
  resize(340, 250);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  panel_ = new QWidget(this);
  panel_->setObjectName(QStringLiteral("Panel"));
  panel_->installEventFilter(this);
  layout->addWidget(panel_);

  popupMenu_ = new QMenu(this);
  popupMenu_->setObjectName(QStringLiteral("PopupMenu"));
  configurar_ = popupMenu_->addAction(QStringLiteral("Configurar..."));
  configurar_->setObjectName(QStringLiteral("Configurar"));
  imprimir_ = popupMenu_->addAction(QStringLiteral("Imprimir..."));
  imprimir_->setObjectName(QStringLiteral("Imprimir"));
  fechar_ = popupMenu_->addAction(QStringLiteral("Fechar"));
  fechar_->setObjectName(QStringLiteral("Fechar"));
  popupMenu_->addSeparator()->setObjectName(QStringLiteral("N1"));
  connect(configurar_, &QAction::triggered, this, [this] { Configure(); });
  connect(imprimir_, &QAction::triggered, this, [this] { PrintDisplay(); });
  // Through the MDI frame when there is one: closing only this widget would leave its frame
  // standing empty in the area.
  connect(fechar_, &QAction::triggered, this, [this] {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
      frame->close();
    } else {
      close();
    }
  });
}

void TDisplayForm::ApplyLanguage() {
  auto into = [this](Text which) {
    return [this, which](const std::string& text) { texts_[which] = text; };
  };
  ui::ApplyLanguageSection(ui::ProgramLanguage(), kLanguageHeading,
                            {into(kElementError), into(kResetCounting), into(kResetTiming),
                             into(kResetFrequency)});
}

void TDisplayForm::TakeMenuCaptions() {
  const ui::MainWindowServices* main = ui::MainWindow();
  if (main == nullptr) return;
  const std::pair<QAction*, const char*> items[] = {
      {configurar_, "ConfigurarJanela"}, {imprimir_, "Imprimir"}, {fechar_, "FecharJanela"}};
  for (auto [action, name] : items) {
    const QString caption = main->MenuItemCaption(QString::fromLatin1(name));
    if (!caption.isEmpty()) action->setText(caption);
  }
}

uint64_t TDisplayForm::NowMs() const {
  const platform::MonotonicClock& clock =
      services_.clock ? *services_.clock : platform::MonotonicClock::System();
  return clock.NowMs();
}

float TDisplayForm::ErrorValue() const {
  if (services_.errorValue) return services_.errorValue();
  if (const ui::MainWindowServices* main = ui::MainWindow()) return main->GetErrorValue();
  return 0.0f;
}

CounterResetTexts TDisplayForm::ResetTexts() const {
  return {texts_[kResetCounting], texts_[kResetTiming], texts_[kResetFrequency]};
}

void TDisplayForm::ShowError(const QString& text) {
  if (services_.ui != nullptr) {
    services_.ui->ShowMessage(this, text);
  } else {
    QMessageBox::warning(this, QApplication::applicationName(), text);
  }
}

void TDisplayForm::CreateElement() {
  try {
    element_ = std::make_unique<DisplayObject>(config_, panel_);
  } catch (const std::exception&) {
    element_.reset();
    ShowError(platform::FromCp1252(texts_[kElementError]));
  }
}

void TDisplayForm::FreeElement() {
  config_.chartChannels.clear();
  element_.reset();
}

void TDisplayForm::Configure() {
  if (!ReadingsStopped() || services_.configurator == nullptr) return;
  DisplayConfigurator& wizard = *services_.configurator;
  wizard.SetConfig(config_);
  if (!wizard.Execute(this)) return;
  element_.reset();
  wizard.GetConfig(config_);
  port_ = wizard.GetSelectedPort();
  CreateElement();
}

void TDisplayForm::Configure(const DisplayConfig& record) {
  FreeElement();
  ClearResetItems();
  config_ = record;
  port_ = 0;
  if (!ReadingsStopped()) {
    // The run holds the ports, and the record's channel indexes belong to no run: the element
    // shows the error value until the next run names its channels.
    AssignChannelIndexes(config_, {});
  } else if (services_.devices != nullptr) {
    try {
      port_ = services_.devices->FindPortBySerial(config_.deviceSerial);
      if (port_ != 0) {
        if (auto device = services_.devices->ReadDevice(port_)) {
          RefreshConfigTexts(config_, *device);
          if (auto item = CounterResetItemFor(*device, config_.valueIndex, ResetTexts())) {
            AddResetItem(*item);
          }
        }
      }
    } catch (const std::exception&) {
      // An instrument that fails to answer leaves the texts stored in the record.
    }
  }
  CreateElement();
}

void TDisplayForm::PrintDisplay() {
  if (services_.printService != nullptr) ui::PrintWindowPicture(this, *services_.printService);
}

void TDisplayForm::UpdateReadings(std::span<const float> values, std::span<const double> times) {
  if (!element_ || values.empty() || times.empty()) return;
  const uint64_t now = NowMs();
  if (config_.kind != DisplayKind::Chart && now >= lastUpdateMs_ &&
      now - lastUpdateMs_ < kMinimumUpdatePeriodMs) {
    return;
  }
  element_->Update(values, times, config_, ErrorValue());
  lastUpdateMs_ = now;
}

std::vector<uint16_t> TDisplayForm::GetDevicePorts() {
  std::vector<uint16_t> ports;
  if (services_.devices == nullptr) return ports;
  for (uint32_t serial : DisplayedSerials(config_)) {
    const uint16_t port = services_.devices->FindPortBySerial(serial);
    if (port != 0 && std::find(ports.begin(), ports.end(), port) == ports.end()) {
      ports.push_back(port);
    }
  }
  return ports;
}

uint8_t TDisplayForm::GetValueMask(uint32_t serial) const { return DisplayedValueMask(config_, serial); }

void TDisplayForm::SetChannelIndexes(std::span<const uint32_t> runSerials) {
  AssignChannelIndexes(config_, runSerials);
}

void TDisplayForm::UpdateTitles(const std::vector<DisplayDeviceInfo>* runDevices) {
  ClearResetItems();
  WindowTitles titles = BuildWindowTitles(config_, runDevices, ResetTexts());
  for (const CounterResetItem& item : titles.resetItems) AddResetItem(item);
  if (titles.caption) setWindowTitle(platform::FromCp1252(*titles.caption));
  if (element_) element_->SetSeriesTitles(titles.seriesTitles);
}

void TDisplayForm::SetReadInterval(int32_t milliseconds) {
  config_.readInterval = milliseconds;
  if (element_) element_->AdjustTimeSpan(milliseconds, config_);
}

DisplayWindowRecord TDisplayForm::GetWindowRecord() const {
  const QWidget* frame = qobject_cast<const QMdiSubWindow*>(parentWidget());
  if (frame == nullptr) frame = this;
  DisplayWindowRecord r;
  r.maximized = frame->isMaximized();
  // A minimised window (as a run leaves one the user closed) comes back at its own size, and a
  // maximised one at the size it had before: the record keeps the normal placement and the flag.
  const bool notNormal = frame->isMinimized() || frame->isMaximized();
  const QRect g = notNormal && normalFrameGeometry_.isValid() ? normalFrameGeometry_ : frame->geometry();
  r.left = g.left();
  r.top = g.top();
  r.width = g.width();
  r.height = g.height();
  r.config = config_;
  return r;
}

void TDisplayForm::SetWindowPlacement(const DisplayWindowRecord& record) {
  QWidget* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
  if (frame == nullptr) frame = this;
  frame->setGeometry(record.left, record.top, std::max(record.width, 1), std::max(record.height, 1));
  // A hidden frame gets its move and resize events only when shown, by then maximised.
  normalFrameGeometry_ = frame->geometry();
  if (record.maximized) frame->showMaximized();
}

void TDisplayForm::AddResetItem(const CounterResetItem& item) {
  QAction* action = popupMenu_->addAction(platform::FromCp1252(item.caption));
  action->setData(QVariant::fromValue<quint16>(item.port));
  const uint16_t port = item.port;
  connect(action, &QAction::triggered, this, [this, port] { ResetarContagensClick(port); });
  resetItems_.append(action);
}

void TDisplayForm::ClearResetItems() {
  for (QAction* action : resetItems_) {
    popupMenu_->removeAction(action);
    delete action;
  }
  resetItems_.clear();
}

void TDisplayForm::ResetarContagensClick(uint16_t port) {
  if (services_.queueCounterReset) services_.queueCounterReset(port);
}

bool TDisplayForm::ShowContextMenu(QPoint globalPos) {
  if (element_ && element_->Widget() &&
      element_->IsInChartArea(element_->Widget()->mapFromGlobal(globalPos))) {
    return false;
  }
  const bool stopped = ReadingsStopped();
  for (QAction* action : resetItems_) action->setEnabled(!stopped);
  fechar_->setEnabled(stopped);
  configurar_->setEnabled(stopped);
  popupMenu_->popup(globalPos);
  return true;
}

void TDisplayForm::contextMenuEvent(QContextMenuEvent* event) {
  ShowContextMenu(event->globalPos());
  event->accept();
}

void TDisplayForm::closeEvent(QCloseEvent* event) {
  if (ReadingsStopped()) {
    event->accept();
    return;
  }
  // A window that a reading run feeds stays; it only gets out of the way.
  event->ignore();
  if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
    frame->showMinimized();
  } else {
    showMinimized();
  }
}

void TDisplayForm::PanelResize() {
  if (element_ && element_->FitToPanel(panel_)) panel_->update();
}

bool TDisplayForm::event(QEvent* event) {
  if (event->type() == QEvent::ParentChange) {
    normalFrameGeometry_ = QRect();
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
      frame->installEventFilter(this);
      // The frame offers the system menu (with its close box) and maximise, not minimise.
      frame->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    }
  }
  return QWidget::event(event);
}

bool TDisplayForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parentWidget() && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
    const auto* frame = static_cast<const QWidget*>(watched);
    if (!(frame->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))) {
      normalFrameGeometry_ = frame->geometry();
    }
  }
  if (watched == panel_) {
    if (event->type() == QEvent::Resize) {
      PanelResize();
    } else if (event->type() == QEvent::MouseButtonDblClick) {
      Configure();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}
