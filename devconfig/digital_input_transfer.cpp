#include "devconfig/digital_input_transfer.h"

#include <cmath>

namespace devconfig {
namespace {

using namespace input_bit;

// Register 71 as the base time: the field offers 1..65535 seconds, so the register is read
// unsigned (signed, a base time the dialog itself wrote above 32767 came back as 1).
uint32_t BaseTimeSeconds(int32_t baseTime) { return static_cast<uint16_t>(baseTime); }

std::string WholeNumber(int64_t value) { return std::to_string(value); }

}  // namespace

DigitalMode ModeOf(int32_t config) {
  if ((config & kCounting) != 0) return DigitalMode::Counting;
  if ((config & kTiming) != 0) return DigitalMode::Timing;
  if ((config & kFrequency) != 0) return DigitalMode::Frequency;
  return DigitalMode::None;
}

DigitalInputPageState FillDigitalInput(DeviceRegs& regs, const DeviceContext& device, char mark) {
  DigitalInputPageState page;
  page.tag = regs.DigInputTag;
  page.highValue = regs.DigInputHighValue;
  page.lowValue = regs.DigInputLowValue;
  page.featuresShown = device.DigitalFeatures();
  if (!page.featuresShown) return page;

  const int32_t config = regs.DigiTalInputConfig;
  page.mode = ModeOf(config);
  page.debounceOn = (config & kDebounce) != 0;
  if (!kDebounceRange.Holds(regs.Debounce)) regs.Debounce = 1;
  if (regs.DecimalNumber < 0 || regs.DecimalNumber > kCounterDecimalsRange.max) regs.DecimalNumber = 0;
  if (!std::isfinite(regs.Scale)) regs.Scale = 1.0;
  page.debounce = WholeNumber(regs.Debounce);
  page.decimals = WholeNumber(regs.DecimalNumber);
  page.scale = FormatScale(regs.Scale, mark);

  // Both the reset value and the base time fields are filled whatever the mode, so a mode
  // chosen on the page never starts from what another instrument left in them; only the
  // mode's own value is corrected in the block.
  const auto resetValue = static_cast<uint32_t>(regs.ResetValue);
  const uint32_t baseTime = BaseTimeSeconds(regs.BaseTime);
  switch (page.mode) {
    case DigitalMode::Counting:
      page.autoReset = (config & kCountingAutoReset) != 0;
      if (resetValue == 0) regs.ResetValue = 1;
      break;
    case DigitalMode::Timing:
      page.autoReset = (config & kTimingAutoReset) != 0;
      break;
    case DigitalMode::Frequency:
    case DigitalMode::None:
      if (baseTime == 0) regs.BaseTime = 1;
      break;
  }
  page.resetValue = FormatUnsigned(resetValue == 0 ? 1 : resetValue);
  page.baseTime = WholeNumber(baseTime == 0 ? 1 : baseTime);

  if (page.mode == DigitalMode::Timing) {
    page.edgeIndex = (config & kHighLevel) != 0 ? 1 : 0;
  } else {
    const int32_t edges = config & kEdges;
    page.edgeIndex = edges == kFallingEdge ? 1 : (edges == kBothEdges ? 2 : 0);
  }
  return page;
}

void StoreDigitalInput(const DigitalInputPageState& page, DeviceRegs& regs) {
  regs.DigInputTag = page.tag;
  regs.DigInputHighValue = page.highValue;
  regs.DigInputLowValue = page.lowValue;
  if (!page.featuresShown) return;

  int32_t config = 0;
  switch (page.mode) {
    case DigitalMode::Counting: config |= kCounting; break;
    case DigitalMode::Timing: config |= kTiming; break;
    case DigitalMode::Frequency: config |= kFrequency; break;
    case DigitalMode::None: break;
  }
  if (page.debounceOn) config |= kDebounce;
  const std::optional<FixedPoint> debounce = ParseFixedPoint(page.debounce);
  regs.Debounce = debounce ? debounce->raw : 1;

  switch (page.mode) {
    case DigitalMode::Counting: {
      if (page.autoReset) config |= kCountingAutoReset;
      const std::optional<FixedPoint64> reset = ParseFixedPoint64(page.resetValue);
      regs.ResetValue = static_cast<int32_t>(reset ? static_cast<uint32_t>(reset->raw) : 0xFFFFFFFFu);
      break;
    }
    case DigitalMode::Timing:
      // The reset value field is hidden in timing mode: the block keeps its value.
      if (page.autoReset) config |= kTimingAutoReset;
      break;
    case DigitalMode::Frequency:
    case DigitalMode::None: {
      const std::optional<FixedPoint> baseTime = ParseFixedPoint(page.baseTime);
      regs.BaseTime = baseTime ? baseTime->raw : 1;
      regs.ResetValue = regs.BaseTime;
      break;
    }
  }

  if (page.mode == DigitalMode::Timing) {
    if (page.edgeIndex != 0) config |= kHighLevel;
  } else if (page.edgeIndex == 1) {
    config |= kFallingEdge;
  } else if (page.edgeIndex == 2) {
    config |= kBothEdges;
  }
  regs.DigiTalInputConfig = config;

  // The factor keeps the block's double unless the user typed another: written back through
  // eight decimals, it would lose precision at every "Aplica".
  if (page.scaleTyped) {
    const std::optional<double> scale = ParseFloatText(page.scale);
    regs.Scale = scale ? *scale : 1.0;
  }
  const std::optional<FixedPoint> decimals = ParseFixedPoint(page.decimals);
  regs.DecimalNumber = decimals ? decimals->raw : 0;
}

DigitalInputControls DigitalInputControlsFor(DigitalMode mode) {
  DigitalInputControls c;
  c.panel = mode != DigitalMode::None;
  c.autoReset = mode == DigitalMode::Counting || mode == DigitalMode::Timing;
  c.resetValue = mode == DigitalMode::Counting;
  c.baseTime = mode == DigitalMode::Frequency;
  c.levelChoices = mode == DigitalMode::Timing;
  return c;
}

RawRange ResetValueRange(DigitalMode mode) {
  return mode == DigitalMode::Counting ? kCountingResetRange : kResetRange;
}

}  // namespace devconfig
