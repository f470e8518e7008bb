#include "display/display_titles.h"

#include <algorithm>

#include "instrument/default_channel_names.h"
#include "platform/text_trim.h"

namespace {

using Name = DefaultChannelName;

std::string TagOr(const std::string& tag, Name fallback) {
  return platform::TrimBlanks(tag).empty() ? DefaultChannelNameText(fallback) : tag;
}

int16_t DecimalsOfInput(const DisplayDeviceInfo& d, int32_t channelConfig) {
  const int inputType = channelConfig & 0x7F;
  if (d.model == DisplayDeviceInfo::kModelLogger && inputType >= 9) {
    return static_cast<int16_t>((channelConfig >> 9) & 0x7);
  }
  return 1;
}

}  // namespace

std::string CounterName(const DisplayDeviceInfo& d) {
  if (!d.HasCounter()) return {};
  if (d.digitalInputConfig & 0x10) return DefaultChannelNameText(Name::Counting);
  if (d.digitalInputConfig & 0x20) return DefaultChannelNameText(Name::Timing);
  return DefaultChannelNameText(Name::Frequency);
}

std::string DeviceTagOrDefault(const DisplayDeviceInfo& d) {
  std::string tag = platform::TrimBlanks(d.tag);
  return tag.empty() ? std::string(kDefaultDeviceTag) : tag;
}

int16_t ValueDecimals(const DisplayDeviceInfo& d, uint16_t valueIndex) {
  switch (valueIndex) {
    case 1:
      return DecimalsOfInput(d, d.channel1Config);
    case 2:
      return DecimalsOfInput(d, d.channel2Config);
    case 3:
      return 1;
    case 4:
      return static_cast<int16_t>(d.decimalNumber);
    default:
      return 0;
  }
}

std::string ValueUnit(const DisplayDeviceInfo& d, uint16_t valueIndex) {
  return valueIndex >= 1 && valueIndex <= 3 ? d.channelUnits[valueIndex - 1] : std::string();
}

void RefreshConfigTexts(DisplayConfig& config, const DisplayDeviceInfo& d) {
  config.deviceTag = platform::TrimBlanks(d.tag).empty() ? std::string(kDefaultDeviceTag) : d.tag;
  switch (config.valueIndex) {
    case 0:
      config.channelName =
          d.model == DisplayDeviceInfo::kModelLogger ? TagOr(d.digInputTag, Name::DigitalInput) : "";
      break;
    case 1:
      config.channelName = TagOr(d.channel1Tag, Name::Channel1);
      break;
    case 2:
      config.channelName = TagOr(d.channel2Tag, Name::Channel2);
      break;
    case 3:
      config.channelName = TagOr(d.channel3Tag, Name::Ambient);
      break;
    case 4:
      config.channelName = CounterName(d);
      break;
    default:
      break;  // names no value: the stored texts stay
  }
  if (config.valueIndex <= kMaxValueIndex) config.decimals = ValueDecimals(d, config.valueIndex);
  config.unit = ValueUnit(d, config.valueIndex);
}

std::optional<CounterResetItem> CounterResetItemFor(const DisplayDeviceInfo& d, uint16_t valueIndex,
                                                    const CounterResetTexts& texts) {
  if (valueIndex != kCounterValueIndex || !d.HasCounter() || (d.digitalInputConfig & 0x70) == 0) {
    return std::nullopt;
  }
  const std::string& action = (d.digitalInputConfig & 0x10)   ? texts.counting
                              : (d.digitalInputConfig & 0x20) ? texts.timing
                                                              : texts.frequency;
  return CounterResetItem{action + ": " + d.tag + " (SN=" + d.serialText + ")", d.port};
}

WindowTitles BuildWindowTitles(DisplayConfig& config,
                               const std::vector<DisplayDeviceInfo>* runDevices,
                               const CounterResetTexts& texts) {
  WindowTitles out;
  if (runDevices == nullptr) return out;
  const bool severalDevices = runDevices->size() > 1;
  auto findDevice = [&](uint32_t serial) -> const DisplayDeviceInfo* {
    for (const DisplayDeviceInfo& d : *runDevices) {
      if (d.serialNumber == serial) return &d;
    }
    return nullptr;
  };
  auto addResetItem = [&](const DisplayDeviceInfo& d) {
    if (auto item = CounterResetItemFor(d, config.valueIndex, texts)) {
      out.resetItems.push_back(std::move(*item));
    }
  };

  if (config.kind == DisplayKind::None) return out;
  if (config.kind != DisplayKind::Chart) {
    if (const DisplayDeviceInfo* d = findDevice(config.deviceSerial)) {
      RefreshConfigTexts(config, *d);
      addResetItem(*d);
    }
    std::string caption = severalDevices ? platform::TrimBlanks(config.deviceTag.str()) + " / " : "";
    caption += platform::TrimBlanks(config.channelName.str());
    const std::string unit = platform::TrimBlanks(config.unit.str());
    const bool digits =
        config.kind == DisplayKind::LcdIndicator || config.kind == DisplayKind::LedDigits;
    if (digits && !unit.empty()) caption += " - " + unit;
    out.caption = std::move(caption);
    out.seriesTitles = {unit};
    return out;
  }

  std::string caption;
  std::vector<uint32_t> named;
  for (ChartChannelEntry& entry : config.chartChannels) {
    const DisplayDeviceInfo* d = findDevice(entry.deviceSerial);
    if (d == nullptr) {
      // Not in this run: the series keeps its title, and the titles of the series after it
      // stay in their places.
      out.seriesTitles.push_back(platform::TrimBlanks(entry.name.str()));
      continue;
    }
    if (std::find(named.begin(), named.end(), d->serialNumber) == named.end()) {
      if (!named.empty()) caption += ",  ";
      caption += DeviceTagOrDefault(*d);
      named.push_back(d->serialNumber);
    }
    config.valueIndex = entry.valueIndex;
    RefreshConfigTexts(config, *d);
    addResetItem(*d);
    std::string name = severalDevices ? platform::TrimBlanks(config.deviceTag.str()) + " / " : "";
    name += platform::TrimBlanks(config.channelName.str());
    entry.name = name;
    std::string title = name;
    const std::string unit = platform::TrimBlanks(config.unit.str());
    if (!unit.empty()) title += " / " + unit;
    out.seriesTitles.push_back(std::move(title));
  }
  out.caption = std::move(caption);
  return out;
}
