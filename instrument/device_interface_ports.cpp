// DeviceInterface: finding an instrument's port by its serial number.
#include <string_view>

#include "instrument/device_interface.h"
#include "instrument/device_regs_image.h"

namespace {

// Only ports whose friendly names hold one of the product words are ever opened: anything
// else may be a modem or another program's device that a stray request could upset.
bool NamesOurProduct(const std::string& friendlyName) {
  return friendlyName.find("Tervana") != std::string::npos || friendlyName.find("Kestravon") != std::string::npos;
}

}  // namespace

int DeviceInterface::FindPortBySerial(int32_t serialNumber) {
  ClosePort();
  for (const TEnumeratePorts& entry : ListPorts()) {
    if (!NamesOurProduct(entry.friendlyName)) continue;
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
