#pragma once
// The digital-input page to and from the configuration block: its name and level values, and
// from firmware 1.10 on the counting, timing and frequency features (register 64's mode word,
// debounce, counter factor, reset value or base time, counter decimals). Pure functions.
#include <cstdint>

#include "devconfig/device_context.h"
#include "devconfig/page_state.h"
#include "instrument/device_regs.h"

namespace devconfig {

// Bits of DigiTalInputConfig (register 64).
namespace input_bit {
inline constexpr int32_t kCounting = 0x10;
inline constexpr int32_t kTiming = 0x20;
inline constexpr int32_t kFrequency = 0x40;
inline constexpr int32_t kDebounce = 0x80;
inline constexpr int32_t kTimingAutoReset = 0x100;
inline constexpr int32_t kFallingEdge = 0x200;
inline constexpr int32_t kBothEdges = 0x400;
inline constexpr int32_t kEdges = kFallingEdge | kBothEdges;
inline constexpr int32_t kHighLevel = 0x800;  // timing: time the high level
inline constexpr int32_t kCountingAutoReset = 0x1000;
}  // namespace input_bit

DigitalMode ModeOf(int32_t digitalInputConfig);

// Fills the page. Values the instrument cannot mean are first corrected in the block, so that
// the page and the block agree: a debounce outside 1..65535 becomes 1, more than 8 counter
// decimals become 0, a factor that is no finite number becomes 1.0, a counting reset value of
// 0 becomes 1, and outside counting and timing a base time of 0 becomes 1.
DigitalInputPageState FillDigitalInput(DeviceRegs& regs, const DeviceContext& device, char mark);

// Takes the page back. Below firmware 1.10 only the name and the level values. The mode word
// is rebuilt from the page alone; the reset value follows the mode (counting: its own field;
// frequency or no mode: the base time, which shares register 71 with it; timing: kept).
void StoreDigitalInput(const DigitalInputPageState& page, DeviceRegs& regs);

// What the mode shows of the feature panel.
struct DigitalInputControls {
  bool panel = false;           // the feature panel (any mode)
  bool autoReset = false;       // "Reset automático"
  bool resetValue = false;      // "Valor de reset" with its edit and arrows
  bool baseTime = false;        // "Base de tempo" with its edit, unit and arrows
  bool levelChoices = false;    // the two levels instead of the three edges
  bool operator==(const DigitalInputControls&) const = default;
};
DigitalInputControls DigitalInputControlsFor(DigitalMode mode);

// The reset value's range in the mode (counting reaches 32 bits).
RawRange ResetValueRange(DigitalMode mode);

}  // namespace devconfig
