#pragma once
// The dialog's list of instruments found on the serial ports: item captions and the rule that
// lists each port once although several entries of the port list may name it. Pure.
#include <string>
#include <string_view>
#include <vector>

namespace devconfig {

// An instrument that answered: its tag, ";  ", its serial text, two blanks, the port text
// ("Estufa;  00012345  (COM4)").
std::string DeviceListCaption(std::string_view tag, std::string_view serialText, std::string_view portText);

// Whether a port text (device::PortTextOf) is already among the captions. Only captions
// that name a port, "(COM" with a ")" after it, can hold it.
bool PortAlreadyListed(const std::vector<std::string>& captions, std::string_view portText);

}  // namespace devconfig
