#include "display/instrument_devices.h"

#include "instrument/device_interface.h"
#include "instrument/device_regs_image.h"

DisplayDeviceInfo DescribeDevice(const DeviceInterface& device) {
  const DeviceRegs& r = device.regs;
  DisplayDeviceInfo d;
  const int port = device.GetPortNumber();
  d.port = port > 0 && port <= 0xFFFF ? static_cast<uint16_t>(port) : 0;
  d.serialNumber = static_cast<uint32_t>(r.SerialNumber);
  d.serialText = device::SerialText(r.SerialNumber);
  d.model = device.GetDeviceModel();
  d.firmwareVersion = r.FirmwareVersionNumber;
  d.probeType = device.GetProbeType();
  d.deviceConfig = r.DeviceConfig;
  d.tag = r.Tag;
  d.channel1Tag = r.Channel1.Tag;
  d.channel2Tag = r.Channel2.Tag;
  d.channel3Tag = r.Channel3Tag;
  d.digInputTag = r.DigInputTag;
  d.channel1Config = r.Channel1.Config;
  d.channel2Config = r.Channel2.Config;
  d.digitalInputConfig = r.DigiTalInputConfig;
  d.decimalNumber = r.DecimalNumber;
  for (int channel = 1; channel <= 3; ++channel) {
    d.channelUnits[channel - 1] = device.GetChannelUnit(channel);
  }
  return d;
}

std::vector<DisplayDeviceInfo> DescribeDevices(const std::vector<DeviceInterface*>& devices) {
  std::vector<DisplayDeviceInfo> out;
  out.reserve(devices.size());
  for (const DeviceInterface* device : devices) {
    if (device != nullptr) out.push_back(DescribeDevice(*device));
  }
  return out;
}

uint16_t InstrumentDeviceDirectory::FindPortBySerial(uint32_t serial) {
  DeviceInterface probe;
  const int port = probe.FindPortBySerial(static_cast<int32_t>(serial));
  return port > 0 && port <= 0xFFFF ? static_cast<uint16_t>(port) : 0;
}

std::optional<DisplayDeviceInfo> InstrumentDeviceDirectory::ReadDevice(uint16_t port) {
  DeviceInterface device(port);
  if (!device.OpenPort()) return std::nullopt;
  std::optional<DisplayDeviceInfo> info;
  if (device.ReadConfiguration()) info = DescribeDevice(device);
  device.ClosePort();
  return info;
}
