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
//
// Details of the port folder: only entries named exactly "com" + a number 1..255 in lower case
// and without leading zeros count ("com0", "com256", "com07", "COM3", "com3.bak" are ignored).
// A .name file that is valid UTF-8 is converted to code page 1252; otherwise its bytes are
// taken as code page 1252 already. An empty first line counts as no .name file.
//
// Details of the sysfs fallback: ttyS ports come first (they never come and go, so their
// numbers stay put), then ttyUSB, then ttyACM, each kind in natural number order. A ttyS entry
// needs a "device" link and is skipped when its "type" attribute reads 0 (no UART behind it).
// Devices are never opened while listing.
//
// Both the folder and sysfs are read afresh on every call: adapters come and go.
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

// The sysfs root used for device names and the fallback listing: "/sys" unless overridden
// (tests build a fake tree in a temporary folder); an empty string goes back to "/sys".
std::string SysfsRoot();
void SetSysfsRoot(const std::string& root);

// Present ports in ascending number order; empty when there are none.
std::vector<PortEntry> EnumeratePorts();

// The device path of COMn, or nothing when that port is not present (or n is outside 1..255).
std::optional<std::string> PortDevicePath(int number);

}  // namespace platform
