#pragma once
// The instruments of a reading run: one DeviceInterface per serial port that the display
// windows name, sorted by serial number (a device's index in this list is the device part of
// every value's run index). Also the lists the settings dialog shows: the values that can
// trigger history recording and the instruments found on the serial ports.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "acquisition/history_format.h"
#include "acquisition/run_interfaces.h"

class DeviceInterface;

namespace acquisition {

using DeviceList = std::vector<std::unique_ptr<DeviceInterface>>;

// For each port named by the display windows (in window order, each port once): a device,
// its port opened and its configuration read (a device that does not answer stays, not
// ready; one whose port does not open is left out), inserted after every device whose serial
// number is not greater. Empty when no port opened.
DeviceList BuildDeviceList(RunDisplays& displays);

// Closes every port, in list order, and empties the list.
void ReleaseDevices(DeviceList& devices);

std::vector<DeviceInterface*> DevicePointers(const DeviceList& devices);
std::vector<uint32_t> DeviceSerials(const DeviceList& devices);

// The OR of the display windows' value masks for the device with this serial number.
uint8_t DisplayedValueMask(RunDisplays& displays, uint32_t serial);

// The program-wide default value names (translated by the language file).
DefaultValueNames ProgramDefaultValueNames();

// A value that can start and stop history recording.
struct RecordableValue {
  uint32_t serial = 0;
  uint8_t index = 0;   // device position x 5 + value index, in a run of these devices
  std::string label;   // "tag / value name"
};

// Every value the display windows show, device by device in serial order, read from a
// temporary device list; nothing when no instrument could be opened.
std::optional<std::vector<RecordableValue>> ListRecordableValues(RunDisplays& displays,
                                                                 const DefaultValueNames& defaults);

// One line per instrument found on the ports named "Tervana" or "Kestravon": tag, serial
// number, port and the time between two streamed records.
std::vector<std::string> DeviceIntervalLines();

}  // namespace acquisition
