#pragma once
// What the configuration wizard offers of one instrument: which of its five values can be
// shown, under which names, and how the devices are listed for the user to pick. No widgets,
// so the rules are tested on their own. Texts are code page 1252.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "display/display_device_info.h"

namespace wizard {

// Bits of the offered-value set, in the order the values are listed.
enum OfferedBit : uint8_t {
  kOfferChannel1 = 1 << 0,
  kOfferChannel2 = 1 << 1,
  kOfferInternal = 1 << 2,
  kOfferDigitalInput = 1 << 3,
  kOfferCounter = 1 << 4,
};

struct OfferedValue {
  uint16_t valueIndex = 0;  // 0..4 of the device's value slot
  std::string name;         // the value's own tag, or its default name
};

struct OfferedValues {
  uint8_t bits = 0;                 // OfferedBit set
  std::vector<OfferedValue> items;  // one per set bit, in bit order
};

// The values a device offers, from its configuration.
OfferedValues OffersOf(const DisplayDeviceInfo& device);

// A device that answered: its tag (or the default tag), ";  ", the serial text, two blanks,
// the port text. "Tervana;  00012345  (COM4)".
std::string DeviceItemText(std::string_view tag, std::string_view serialText, std::string_view portText);

// The serial number an 8-digit serial text stands for ("00012345" is 12345); nothing for a
// text that is not a decimal number of 32 bits.
std::optional<uint32_t> SerialFromText(std::string_view serialText);

// A chart channel's caption: device tag, "/", value name.
std::string ChartChannelCaption(std::string_view deviceTag, std::string_view valueName);

}  // namespace wizard
