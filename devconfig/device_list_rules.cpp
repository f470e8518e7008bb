#include "devconfig/device_list_rules.h"

#include "instrument/port_names.h"

namespace devconfig {

std::string DeviceListCaption(std::string_view tag, std::string_view serialText, std::string_view portText) {
  std::string caption(tag);
  caption += ";  ";
  caption += serialText;
  caption += "  ";
  caption += portText;
  return caption;
}

bool PortAlreadyListed(const std::vector<std::string>& captions, std::string_view portText) {
  for (const std::string& caption : captions) {
    const size_t open = caption.find("(COM");
    if (open == std::string::npos || caption.find(')', open) == std::string::npos) continue;
    if (device::PortTextOf(caption) == portText) return true;
  }
  return false;
}

}  // namespace devconfig
