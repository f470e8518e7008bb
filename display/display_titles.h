#pragma once
// How a display window names itself and its values after the instruments of a reading run:
// the texts of its configuration, the window caption, the chart's legend titles and the
// counter-reset commands of its context menu. Code page 1252 throughout.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "display/display_config.h"
#include "display/display_device_info.h"

// The tag a device without one of its own goes by.
inline constexpr const char* kDefaultDeviceTag = "Tervana";

// The device's tag trimmed, or the default tag when it has none.
std::string DeviceTagOrDefault(const DisplayDeviceInfo& device);
// Decimals and unit of value `valueIndex` (0..4) of the device, from its configuration.
int16_t ValueDecimals(const DisplayDeviceInfo& device, uint16_t valueIndex);
std::string ValueUnit(const DisplayDeviceInfo& device, uint16_t valueIndex);
// The counter's name by the digital input's mode; empty when the device has no counter.
std::string CounterName(const DisplayDeviceInfo& device);

// Device tag, channel name, decimals and unit of the configuration's value index, from the
// device's configuration (tags fall back to the default channel names).
void RefreshConfigTexts(DisplayConfig& config, const DisplayDeviceInfo& device);

// The texts of the reset commands, by digital-input mode.
struct CounterResetTexts {
  std::string counting = "Zerar contagem";
  std::string timing = "Zerar temporiza\xE7\xE3o";
  std::string frequency = "Zerar freq\xFC\xEAncia";
};

struct CounterResetItem {
  std::string caption;  // e.g. "Zerar contagem: Estufa (SN=00012345)"
  uint16_t port = 0;    // the device's COM port, whole
};

// The reset command for a counter shown from this device, when the device has a counter
// with a digital-input mode enabled and `valueIndex` is the counter.
std::optional<CounterResetItem> CounterResetItemFor(const DisplayDeviceInfo& device,
                                                    uint16_t valueIndex,
                                                    const CounterResetTexts& texts);

struct WindowTitles {
  std::optional<std::string> caption;  // nothing: the window keeps its caption
  // For DisplayObject::SetSeriesTitles: a chart's titles, one per entry in order; the unit
  // alone for any other kind.
  std::vector<std::string> seriesTitles;
  std::vector<CounterResetItem> resetItems;
};

// Names the window after the run's devices (null: a run without a device list), refreshing
// the configuration's texts and, for a chart, its entries' names on the way.
WindowTitles BuildWindowTitles(DisplayConfig& config,
                               const std::vector<DisplayDeviceInfo>* runDevices,
                               const CounterResetTexts& texts);
