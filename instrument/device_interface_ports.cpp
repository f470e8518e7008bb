// DeviceInterface: finding an instrument's port by its serial number.
#include "instrument/device_interface.h"
#include "instrument/device_regs_image.h"
#include "instrument/port_names.h"

int DeviceInterface::FindPortBySerial(int32_t serialNumber) {
  ClosePort();
  for (const TEnumeratePorts& entry : ListPorts()) {
    if (!device::NamesOurProduct(entry.friendlyName)) continue;
    SetPortNumber(entry.portNumber);
    if (!OpenPort()) continue;
    uint16_t words[2] = {};
    const bool match = ReadRegisters(device::reg::kSerialHigh, 2, words) &&
                       device::SerialFromBcd(words[0], words[1]) == serialNumber;
    ClosePort();
    if (match) return entry.portNumber;
  }
  return 0;
}
