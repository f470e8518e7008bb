#include "instrument/port_names.h"

namespace device {

bool NamesOurProduct(std::string_view friendlyName) {
  return friendlyName.find("Tervana") != std::string_view::npos ||
         friendlyName.find("Kestravon") != std::string_view::npos;
}

std::string PortTextOf(std::string_view friendlyName) {
  const size_t open = friendlyName.find("(COM");
  if (open == std::string_view::npos) return std::string(friendlyName);
  const size_t close = friendlyName.find(')', open);
  if (close == std::string_view::npos) return std::string(friendlyName.substr(open));
  return std::string(friendlyName.substr(open, close - open + 1));
}

}  // namespace device
