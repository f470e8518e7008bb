#pragma once
// The pages to and from the configuration block. A fill gives the page as the block says; a
// store takes a page back into the block and changes only what the page's controls own:
// every other bit and field keeps what the block held (as read, or as a file loaded it).
// Pure functions; `mark` is the decimal mark of the texts written.
#include <cstdint>

#include "devconfig/device_context.h"
#include "devconfig/page_state.h"
#include "instrument/device_regs.h"

namespace devconfig {

// Bits of DeviceConfig (register 7).
namespace config_bit {
inline constexpr int32_t kResolution = 0x03;    // "Máxima" 3 ... "Mínima" 0
inline constexpr int32_t kProbeResolution = 0x02;  // the humidity probe: set is "Máxima"
inline constexpr int32_t kCompensate = 0x04;
inline constexpr int32_t kMains50Hz = 0x08;
inline constexpr int32_t kAmbientFahrenheit = 0x10;
inline constexpr int32_t kAmbientOn = 0x20;
inline constexpr int32_t kAutoSend = 0x40;
}  // namespace config_bit

// Bits of a channel's Config.
namespace channel_bit {
inline constexpr int32_t kType = 0x7F;
inline constexpr int32_t kEnabled = 0x80;
inline constexpr int32_t kFahrenheit = 0x100;
inline constexpr int32_t kDewPoint = 0x200;  // the humidity probe's channel 1
inline constexpr int32_t kDecimals = 0xE00;  // bits 9..11
inline constexpr int kDecimalsShift = 9;
}  // namespace channel_bit

constexpr uint16_t DecimalsOf(int32_t channelConfig) {
  return static_cast<uint16_t>((channelConfig & channel_bit::kDecimals) >> channel_bit::kDecimalsShift);
}

GeneralPageState FillGeneral(const DeviceRegs& regs, const DeviceContext& device);
void StoreGeneral(const GeneralPageState& page, const DeviceContext& device, DeviceRegs& regs);

// Channel 1 or 2.
ChannelPageState FillChannel(const Channel& channel, const DeviceContext& device, int number, char mark);
// False when the limits are shown (model 0, a linear input) and not ascending; the fields
// that did not read are rewritten with what was stored in their place (lower 0, upper 1000).
// Where the page hides the limits, the channel keeps the block's limits.
bool StoreChannel(ChannelPageState& page, const DeviceContext& device, int number, Channel& channel);

// The decimals a channel's offset is shown with: one for a temperature input, the limits'
// count for a linear one.
uint16_t OffsetDecimals(const ChannelPageState& page);

AmbientPageState FillAmbient(const DeviceRegs& regs, char mark);
void StoreAmbient(const AmbientPageState& page, DeviceRegs& regs);

// Whether the ambient channel is on and whether the user may change that: an enabled
// thermocouple on a channel the page shows needs the cold junction, so it is checked and
// locked; otherwise it is free and shows the block's bit 5.
struct AmbientEnable {
  bool checked = false;
  bool enabled = true;
  bool operator==(const AmbientEnable&) const = default;
};
AmbientEnable AmbientEnableRule(const ChannelPageState& channel1, const ChannelPageState* channel2,
                                int32_t deviceConfig);

}  // namespace devconfig
