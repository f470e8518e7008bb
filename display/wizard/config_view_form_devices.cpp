// TConfigViewForm: step 1, the instruments on the serial ports and the values they offer.
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>

#include "controls/analog_meter.h"
#include "controls/dial_gauge.h"
#include "display/display_titles.h"
#include "display/instrument_devices.h"
#include "display/wizard/config_view_form.h"
#include "ui/radio_group.h"
#include "instrument/device_interface.h"
#include "instrument/port_names.h"
#include "platform/qt_text.h"
#include "qcustomplot.h"

void TConfigViewForm::CloseDevice() {
  if (device_) device_->ClosePort();
  device_.reset();
  deviceInfo_.reset();
}

std::optional<DisplayDeviceInfo> TConfigViewForm::OpenDevice(uint16_t port) {
  CloseDevice();
  device_ = std::make_unique<DeviceInterface>(port);
  selectedPort_ = port;
  if (!device_->OpenPort() || !device_->ReadConfiguration()) return std::nullopt;
  deviceInfo_ = DescribeDevice(*device_);
  return deviceInfo_;
}

void TConfigViewForm::FillDeviceList() {
  const std::vector<TEnumeratePorts> listing = TSerialModBusDriver::ListPorts();
  portList_.clear();
  whichDeviceComboBox_->clear();
  int preselected = 0;
  bool found = false;
  {
    DeviceInterface probe;
    for (const TEnumeratePorts& entry : listing) {
      if (!device::NamesOurProduct(entry.friendlyName)) continue;
      const std::string portText = device::PortTextOf(entry.friendlyName);
      std::string itemText = entry.friendlyName;
      probe.SetPortNumber(entry.portNumber);
      if (probe.OpenPort()) {
        std::string serial;
        std::string tag;
        if (probe.ReadSerialNumber(serial) && probe.ReadTagName(tag)) {
          itemText = wizard::DeviceItemText(tag, serial, portText);
          // Serial numbers compare as numbers: "00012345" is the record's 12345.
          if (wizard::SerialFromText(serial) == config_.deviceSerial) {
            preselected = whichDeviceComboBox_->count();
            found = true;
          }
        }
        probe.ClosePort();
      }
      whichDeviceComboBox_->addItem(platform::FromCp1252(itemText));
      portList_.push_back(static_cast<uint16_t>(entry.portNumber));
    }
  }
  whichDeviceComboBox_->setCurrentIndex(whichDeviceComboBox_->count() > 0 ? preselected : -1);
  if (found) {
    CloseDevice();
    const uint16_t port = portList_[static_cast<size_t>(preselected)];
    device_ = std::make_unique<DeviceInterface>(port);
    selectedPort_ = port;
    if (!device_->OpenPort()) {
      device_.reset();
      ShowMessage(QStringLiteral("Erro na abertura da porta: COM%1").arg(port));
    }
  }
}

void TConfigViewForm::FillChannelChoice() {
  whatRadioGroup_->Clear();
  lists_.Clear();
  offered_ = {};
  CloseDevice();
  if (config_.kind != DisplayKind::Chart) {
    const int item = whichDeviceComboBox_->currentIndex();
    if (item < 0 || static_cast<size_t>(item) >= portList_.size()) {
      SyncChannelListWidgets();
      return;
    }
    const std::optional<DisplayDeviceInfo> info = OpenDevice(portList_[static_cast<size_t>(item)]);
    SyncChannelListWidgets();
    if (!info) return;
    config_.deviceTag = DeviceTagOrDefault(*info);
    offered_ = wizard::OffersOf(*info);
    QStringList captions;
    for (const wizard::OfferedValue& v : offered_.items) captions << platform::FromCp1252(v.name);
    whatRadioGroup_->SetItems(captions);
    return;
  }

  for (const uint16_t port : portList_) {
    const std::optional<DisplayDeviceInfo> info = OpenDevice(port);
    if (!info) continue;
    const std::string tag = DeviceTagOrDefault(*info);
    config_.deviceTag = tag;
    for (const wizard::OfferedValue& v : wizard::OffersOf(*info).items) {
      lists_.AddAvailable({wizard::ChartChannelCaption(tag, v.name), info->serialNumber, v.valueIndex});
    }
  }
  while (!previewSeries_.empty()) RemovePreviewSeries(previewSeries_.size() - 1);
  // The stored colours come back with their channels each time the lists are rebuilt, not
  // only the first time.
  std::vector<uint32_t> stored;
  for (const ChartChannelEntry& e : config_.chartChannels) stored.push_back(e.color);
  lists_.SetPendingColors(std::move(stored));
  for (const ChartChannelEntry& e : config_.chartChannels) {
    if (lists_.ChooseStored(e.deviceSerial, e.valueIndex)) {
      const wizard::ChosenChannel& c = lists_.Chosen().back();
      previewSeries_.push_back(NewPreviewSeries(platform::FromCp1252(c.item.caption), c.color));
    }
  }
  SyncChannelListWidgets();
  chart_->replot();
}

void TConfigViewForm::WhichDeviceChange() {
  FillChannelChoice();
  nextBitBtn_->setEnabled(false);
}

bool TConfigViewForm::ApplyChosenChannel() {
  const int item = whatRadioGroup_->ItemIndex();
  if (whatRadioGroup_->Count() == 0 || item < 0) return false;
  if (static_cast<size_t>(item) >= offered_.items.size() || !deviceInfo_) return false;
  const wizard::OfferedValue& value = offered_.items[static_cast<size_t>(item)];
  chosenValueIndex_ = value.valueIndex;
  config_.channelName = platform::ToCp1252(whatRadioGroup_->ItemText(item));
  config_.decimals = ValueDecimals(*deviceInfo_, value.valueIndex);
  config_.unit = ValueUnit(*deviceInfo_, value.valueIndex);
  return true;
}

void TConfigViewForm::WhatClick(int) {
  nextBitBtn_->setEnabled(true);
  ApplyChosenChannel();
  if (config_.kind == DisplayKind::DialGauge) analogGauge_->SetFCaption(QString());
  if (config_.kind == DisplayKind::AnalogMeter) analogMeter_->SetCaption(QString());
}

void TConfigViewForm::SelectChannel(uint16_t index) {
  if (!lists_.Choose(index)) return;
  const wizard::ChosenChannel& c = lists_.Chosen().back();
  previewSeries_.push_back(NewPreviewSeries(platform::FromCp1252(c.item.caption), c.color));
  SyncChannelListWidgets();
  chart_->replot();
}

void TConfigViewForm::AllListClick(int row) {
  if (row < 0) return;
  lists_.ClickAvailable(static_cast<size_t>(row));
  SyncChannelListWidgets();
}

void TConfigViewForm::SelectedListClick(int row) {
  if (row < 0) return;
  lists_.ClickChosen(static_cast<size_t>(row));
  SyncChannelListWidgets();
}

void TConfigViewForm::SelClick() {
  const size_t index = lists_.RememberedAvailable();
  if (index <= UINT16_MAX) SelectChannel(static_cast<uint16_t>(index));
}

void TConfigViewForm::UnselClick() {
  if (const std::optional<size_t> removed = lists_.Unchoose()) RemovePreviewSeries(*removed);
  SyncChannelListWidgets();
  chart_->replot();
}

void TConfigViewForm::ClearSelClick() {
  lists_.UnchooseAll();
  while (!previewSeries_.empty()) RemovePreviewSeries(previewSeries_.size() - 1);
  SyncChannelListWidgets();
  chart_->replot();
}
