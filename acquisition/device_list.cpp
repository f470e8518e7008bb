#include "acquisition/device_list.h"

#include <algorithm>

#include "instrument/default_channel_names.h"
#include "instrument/device_regs_image.h"
#include "instrument/device_interface.h"
#include "platform/text_trim.h"

namespace acquisition {

DeviceList BuildDeviceList(RunDisplays& displays) {
  std::vector<uint16_t> ports;
  displays.ForEachDisplay([&](RunDisplay& display) {
    for (uint16_t port : display.GetDevicePorts()) {
      if (std::find(ports.begin(), ports.end(), port) == ports.end()) ports.push_back(port);
    }
  });
  DeviceList devices;
  for (uint16_t port : ports) {
    auto device = std::make_unique<DeviceInterface>(port);
    if (!device->OpenPort()) continue;
    // A device that does not answer stays in the list, not ready: the start judges it.
    device->ReadConfiguration();
    const int32_t serial = device->regs.SerialNumber;
    const auto at = std::upper_bound(devices.begin(), devices.end(), serial,
                                     [](int32_t s, const auto& d) { return s < d->regs.SerialNumber; });
    devices.insert(at, std::move(device));
  }
  return devices;
}

void ReleaseDevices(DeviceList& devices) {
  for (auto& device : devices) device->ClosePort();
  devices.clear();
}

std::vector<DeviceInterface*> DevicePointers(const DeviceList& devices) {
  std::vector<DeviceInterface*> out;
  out.reserve(devices.size());
  for (const auto& d : devices) out.push_back(d.get());
  return out;
}

std::vector<uint32_t> DeviceSerials(const DeviceList& devices) {
  std::vector<uint32_t> out;
  out.reserve(devices.size());
  for (const auto& d : devices) out.push_back(static_cast<uint32_t>(d->regs.SerialNumber));
  return out;
}

uint8_t DisplayedValueMask(RunDisplays& displays, uint32_t serial) {
  uint8_t mask = 0;
  displays.ForEachDisplay([&](RunDisplay& display) { mask |= display.GetValueMask(serial); });
  return static_cast<uint8_t>(mask & 0x1F);
}

DefaultValueNames ProgramDefaultValueNames() {
  DefaultValueNames names;
  std::copy(DefaultChannelNames().begin(), DefaultChannelNames().end(), names.begin());
  return names;
}

std::optional<std::vector<RecordableValue>> ListRecordableValues(RunDisplays& displays,
                                                                 const DefaultValueNames& defaults) {
  DeviceList devices = BuildDeviceList(displays);
  if (devices.empty()) return std::nullopt;
  std::vector<RecordableValue> values;
  for (size_t i = 0; i < devices.size(); ++i) {
    const DeviceInterface& device = *devices[i];
    const uint8_t mask = DisplayedValueMask(displays, static_cast<uint32_t>(device.regs.SerialNumber));
    if (mask == 0) continue;
    const std::string prefix = HistoryDeviceName(device.regs) + " / ";
    for (int j = 0; j < kValuesPerDevice; ++j) {
      if (!(mask & (1u << j))) continue;
      if (j == 4 && !HasCounterValue(device.regs, device.GetDeviceModel())) continue;
      values.push_back({static_cast<uint32_t>(device.regs.SerialNumber),
                        static_cast<uint8_t>(std::min<size_t>(i * kValuesPerDevice + static_cast<size_t>(j), 255)),
                        prefix + HistoryValueName(device.regs, device.GetDeviceModel(), j, defaults)});
    }
  }
  ReleaseDevices(devices);
  return values;
}

namespace {

bool IsInstrumentPort(const std::string& friendlyName) {
  return friendlyName.find("Tervana") != std::string::npos || friendlyName.find("Kestravon") != std::string::npos;
}

// "(COM3)" out of "Tervana USB (COM3)"; the whole name when it names no port.
std::string PortPart(const std::string& friendlyName) {
  const size_t open = friendlyName.find("(COM");
  if (open == std::string::npos) return friendlyName;
  const size_t close = friendlyName.find(')', open);
  return friendlyName.substr(open, close == std::string::npos ? std::string::npos : close - open + 1);
}

}  // namespace

std::vector<std::string> DeviceIntervalLines() {
  std::vector<std::string> lines;
  for (const TEnumeratePorts& port : TSerialModBusDriver::ListPorts()) {
    if (!IsInstrumentPort(port.friendlyName)) continue;
    DeviceInterface device(port.portNumber);
    if (!device.OpenPort()) continue;
    if (device.ReadConfiguration()) {
      const std::string tag = platform::TrimBlanks(device.regs.Tag);
      std::string line = tag.empty() ? std::string() : tag + ";  ";
      line += device::SerialText(device.regs.SerialNumber);
      line += "  " + PortPart(port.friendlyName) + ":  " + FormatFixed(device.GetFastModePeriod(), 1) + " ms";
      lines.push_back(std::move(line));
    }
    device.ClosePort();
  }
  return lines;
}

}  // namespace acquisition
