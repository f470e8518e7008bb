#pragma once
// The display windows' view of the instrument model: what a window reads of a DeviceInterface,
// and the directory through which it finds instruments outside a reading run.
#include <vector>

#include "display/display_device_directory.h"
#include "display/display_device_info.h"

class DeviceInterface;

// An instrument whose configuration was read.
DisplayDeviceInfo DescribeDevice(const DeviceInterface& device);

// A reading run's devices in device-list order, for TDisplayForm::UpdateTitles.
std::vector<DisplayDeviceInfo> DescribeDevices(const std::vector<DeviceInterface*>& devices);

// Talks to the instruments on the serial ports, each time through a temporary DeviceInterface.
class InstrumentDeviceDirectory : public DisplayDeviceDirectory {
 public:
  uint16_t FindPortBySerial(uint32_t serial) override;
  std::optional<DisplayDeviceInfo> ReadDevice(uint16_t port) override;
};
