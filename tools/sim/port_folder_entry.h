#pragma once
// The instrument's announcement in a port folder: "comN", a symlink to the serial device, and
// "comN.name", whose first line is the port's friendly name.
#include <string>

namespace sim {

// "Tervana Simulado (COM3)" from the base name and the port number; a base that already names
// its port ("... (COM...") is kept as it is.
std::string FriendlyPortName(const std::string& base, int comNumber);

class PortFolderEntry {
 public:
  PortFolderEntry() = default;
  ~PortFolderEntry();  // removes
  PortFolderEntry(const PortFolderEntry&) = delete;
  PortFolderEntry& operator=(const PortFolderEntry&) = delete;

  // Creates the folder when missing, then comN.name and comN -> target. Fails when comN exists
  // and leads somewhere present (another instrument's port); a link left dangling by a crashed
  // run is replaced.
  bool Create(const std::string& folder, int comNumber, const std::string& target,
              const std::string& friendlyName, std::string* error);
  // Removes both entries, each only while it is still ours.
  void Remove();
  const std::string& LinkPath() const { return linkPath_; }

 private:
  std::string linkPath_;
  std::string namePath_;
  std::string target_;
  std::string nameText_;
};

}  // namespace sim
