#pragma once
// Serial ports as the program knows them: by the number n of "COMn" (1..255) with a friendly
// name, as the original read them from the operating system's device list.
//
// On Linux a port folder gives both. The folder named by TERVANA_PORT_DIR (default: "ports"
// beside the executable) holds entries "comN" (N = 1..255): symlinks to a device such as
// /dev/ttyUSB0, /dev/serial/by-id/..., or a pseudo-terminal; and optional files "comN.name"
// whose first line is the friendly name. Without a .name file the name is built from the USB
// parent's manufacturer and product in sysfs plus " (COMN)", else "Porta serial (COMN)".
// Without a port folder, real serial devices in /sys/class/tty (ttyUSB*, ttyACM*, and ttyS*
// that have a device) take the lowest numbers in a stable order, named the same way.
// A link whose target is gone is not listed.
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct PortEntry {
  int number = 0;            // n of COMn, 1..255
  std::string friendlyName;  // cp1252 bytes
  std::string devicePath;    // what to open
};

// The folder in use: TERVANA_PORT_DIR, else "ports" beside the executable.
std::string PortFolder();
// Overrides the folder for this process (tests); an empty string goes back to the default rule.
void SetPortFolder(const std::string& folder);

// Present ports in ascending number order; empty when there are none.
std::vector<PortEntry> EnumeratePorts();

// The device path of COMn, or nothing when that port is not present (or n is outside 1..255).
std::optional<std::string> PortDevicePath(int number);

}  // namespace platform
