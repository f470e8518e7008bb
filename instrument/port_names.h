#pragma once
// How the maker's instruments are told apart among the serial ports by their friendly names.
// Pure functions over code page 1252 texts.
#include <string>
#include <string_view>

namespace device {

// Only ports whose friendly names hold one of the product words ("Tervana", "Kestravon",
// case-sensitive, anywhere) are ever opened: anything else may be a modem or another
// program's device that a stray request could upset.
bool NamesOurProduct(std::string_view friendlyName);

// The port part of a friendly name: from the first "(COM" up to the first ")" after it
// ("Tervana USB (COM4) x" gives "(COM4)"), to the end when no ")" follows, and the whole name
// when it holds no "(COM".
std::string PortTextOf(std::string_view friendlyName);

}  // namespace device
