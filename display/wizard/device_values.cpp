#include "display/wizard/device_values.h"

#include <charconv>

#include "instrument/default_channel_names.h"
#include "display/display_titles.h"
#include "platform/text_trim.h"

namespace wizard {
namespace {

using Name = DefaultChannelName;

constexpr int32_t kEnabledBit = 0x80;
constexpr int32_t kInputTypeMask = 0x7F;
constexpr int32_t kInternalChannelOn = 0x20;

std::string NameOr(const std::string& tag, Name fallback) {
  std::string trimmed = platform::TrimBlanks(tag);
  return trimmed.empty() ? DefaultChannelNameText(fallback) : trimmed;
}

// Thermocouple inputs measure against the instrument's own temperature.
bool NeedsInternalChannel(int32_t channelConfig) {
  const int32_t type = channelConfig & kInputTypeMask;
  return type >= 1 && type <= 7;
}

}  // namespace

OfferedValues OffersOf(const DisplayDeviceInfo& d) {
  OfferedValues out;
  const bool logger = d.model == DisplayDeviceInfo::kModelLogger;
  const bool probe = d.model == DisplayDeviceInfo::kModelProbe;
  auto offer = [&out](OfferedBit bit, uint16_t valueIndex, std::string name) {
    out.bits |= bit;
    out.items.push_back({valueIndex, std::move(name)});
  };
  bool internalNeeded = false;
  if (d.channel1Config & kEnabledBit) {
    offer(kOfferChannel1, 1, NameOr(d.channel1Tag, Name::Channel1));
    internalNeeded = NeedsInternalChannel(d.channel1Config);
  }
  if ((d.channel2Config & kEnabledBit) && !(probe && d.probeType != 0)) {
    offer(kOfferChannel2, 2, NameOr(d.channel2Tag, Name::Channel2));
    internalNeeded = internalNeeded || (logger && NeedsInternalChannel(d.channel2Config));
  }
  if (((d.deviceConfig & kInternalChannelOn) || internalNeeded) && (logger || d.probeType != 0)) {
    offer(kOfferInternal, 3, NameOr(d.channel3Tag, Name::Ambient));
  }
  if (logger) offer(kOfferDigitalInput, 0, NameOr(d.digInputTag, Name::DigitalInput));
  if (std::string counter = CounterName(d); !counter.empty()) offer(kOfferCounter, 4, std::move(counter));
  return out;
}

std::string DeviceItemText(std::string_view tag, std::string_view serialText, std::string_view portText) {
  std::string text = platform::TrimBlanks(tag);
  if (text.empty()) text = kDefaultDeviceTag;
  text += ";  ";
  text += serialText;
  text += "  ";
  text += portText;
  return text;
}

std::optional<uint32_t> SerialFromText(std::string_view serialText) {
  uint32_t value = 0;
  const char* first = serialText.data();
  const char* last = first + serialText.size();
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last || serialText.empty()) return std::nullopt;
  return value;
}

std::string ChartChannelCaption(std::string_view deviceTag, std::string_view valueName) {
  std::string caption(deviceTag);
  caption += '/';
  caption += valueName;
  return caption;
}

}  // namespace wizard
