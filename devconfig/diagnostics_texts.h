#pragma once
// What the diagnostic page shows: the names of the value lines, and each live value with its
// unit and a mark when it equals the channel's overflow or underflow value. Pure functions
// over the block the dialog last read or wrote and the five values of one reading.
#include <array>
#include <optional>
#include <string>

#include "devconfig/device_context.h"
#include "instrument/default_channel_names.h"
#include "instrument/device_regs.h"

namespace devconfig {

struct DiagnosticLabels {
  std::string channel1;
  std::string channel2;
  std::string ambient;
  std::string digitalInput;
  std::string counting;
  bool channel2Shown = true;
  bool ambientShown = true;
  bool countingShown = false;
  bool operator==(const DiagnosticLabels&) const = default;
};

using ChannelNames = std::array<std::string, kDefaultChannelNameCount>;

// `read`: whether the configuration was read again just now; without it the tags are not
// trusted and the default names stand.
DiagnosticLabels PrepareDiagnosticLabels(bool read, const DeviceRegs& regs, const DeviceContext& device,
                                         const ChannelNames& names);

// A line left out keeps the text it had.
struct DiagnosticValues {
  std::optional<std::string> digitalInput;
  std::optional<std::string> counter;
  std::optional<std::string> channel1;
  std::optional<std::string> channel2;
  std::optional<std::string> ambient;
  bool operator==(const DiagnosticValues&) const = default;
};

inline constexpr const char* kUnreadValue = "???";
inline constexpr const char* kOverflowMark = "  (OVERFLOW)";
inline constexpr const char* kUnderflowMark = "  (UNDERFLOW)";

// `values`: digital input, channel 1, channel 2, ambient, counter as the instrument link
// scaled them; nothing when the read failed.
DiagnosticValues DiagnosticValueTexts(const std::optional<std::array<float, 5>>& values, const DeviceRegs& regs,
                                      const DeviceContext& device, char mark);

}  // namespace devconfig
