#include "devconfig/page_transfer.h"

#include <algorithm>
#include <limits>

#include "devconfig/config_texts.h"

namespace devconfig {
namespace {

int ResolutionCount(const DeviceContext& device) {
  return static_cast<int>(device.HumidityProbe() ? kProbeResolutionCount : kResolutionCount);
}

int TypeListCount(int number) {
  return static_cast<int>(number == 1 ? kInputTypeCount : kChannel2InputTypeCount);
}

int32_t SetBits(int32_t word, int32_t bits, bool on) { return on ? (word | bits) : (word & ~bits); }

int16_t ToInt16(int32_t value) {
  return static_cast<int16_t>(std::clamp<int32_t>(value, std::numeric_limits<int16_t>::min(),
                                                  std::numeric_limits<int16_t>::max()));
}

}  // namespace

GeneralPageState FillGeneral(const DeviceRegs& regs, const DeviceContext& device) {
  using namespace config_bit;
  GeneralPageState page;
  page.tag = regs.Tag;
  page.mainsIndex = (regs.DeviceConfig & kMains50Hz) != 0 ? 1 : 0;
  page.probeResolutions = device.HumidityProbe();
  if (device.HumidityProbe()) {
    page.resolutionIndex = (regs.DeviceConfig & kProbeResolution) != 0 ? 0 : 1;
    page.compensate = true;
    page.compensateEnabled = false;
  } else {
    page.resolutionIndex = ResolutionCount(device) - (regs.DeviceConfig & kResolution) - 1;
    page.compensate = (regs.DeviceConfig & kCompensate) != 0;
    page.compensateEnabled = true;
  }
  page.autoSend = (regs.DeviceConfig & kAutoSend) != 0;
  return page;
}

void StoreGeneral(const GeneralPageState& page, const DeviceContext& device, DeviceRegs& regs) {
  using namespace config_bit;
  regs.Tag = page.tag;
  int32_t config = regs.DeviceConfig;
  if (device.HumidityProbe()) {
    config = SetBits(config, kProbeResolution, page.resolutionIndex == 0);
  } else if (page.resolutionIndex >= 0) {
    const int code = std::clamp(ResolutionCount(device) - page.resolutionIndex - 1, 0, 3);
    config = (config & ~kResolution) | code;
  }
  config = SetBits(config, kCompensate, page.compensate);
  config = SetBits(config, kMains50Hz, page.mainsIndex == 1);
  config = SetBits(config, kAutoSend, page.autoSend);
  regs.DeviceConfig = config;
}

ChannelPageState FillChannel(const Channel& channel, const DeviceContext& device, int number, char mark) {
  using namespace channel_bit;
  ChannelPageState page;
  page.tag = channel.Tag;
  page.readTypeCode = channel.Config & kType;
  page.typeIndex = page.readTypeCode < TypeListCount(number) ? page.readTypeCode : -1;
  page.enabled = (channel.Config & kEnabled) != 0;
  page.dewPoint = number == 1 && device.HumidityProbe() && (channel.Config & kDewPoint) != 0;
  page.fahrenheit = (channel.Config & kFahrenheit) != 0;
  page.overflowSpin = channel.OverflowValue;
  page.underflowSpin = channel.UnderflowValue;
  const uint16_t d = DecimalsOf(channel.Config);
  page.fields[kUpperLimit] = FormatFixedPoint(channel.HighLimit, d, mark);
  page.fields[kLowerLimit] = FormatFixedPoint(channel.LowLimit, d, mark);
  page.fields[kOverflow] = FormatFixedPoint(channel.OverflowValue, d, mark);
  page.fields[kUnderflow] = FormatFixedPoint(channel.UnderflowValue, d, mark);
  page.fields[kOffset] = FormatFixedPoint(channel.UserOffset, IsLinearInput(page.TypeCode()) ? d : 1, mark);
  page.unit = channel.Unit;
  page.filter = channel.Filter;
  return page;
}

uint16_t OffsetDecimals(const ChannelPageState& page) {
  if (!IsLinearInput(page.TypeCode())) return 1;
  // What the limits show now: after a change of decimals the offset follows them.
  if (const auto upper = ParseFixedPoint(page.fields[kUpperLimit])) return upper->decimals;
  if (const auto lower = ParseFixedPoint(page.fields[kLowerLimit])) return lower->decimals;
  return 0;
}

bool StoreChannel(ChannelPageState& page, const DeviceContext& device, int number, Channel& channel) {
  using namespace channel_bit;
  channel.Tag = page.tag;
  int32_t config = channel.Config;
  config = SetBits(config, kFahrenheit, page.fahrenheit);
  config = SetBits(config, kEnabled, page.enabled);

  if (device.Probe()) {
    // The probe's input type is its sensor kind: the type bits stay as the block has them.
    if (number == 1 && device.HumidityProbe()) config = SetBits(config, kDewPoint, page.dewPoint);
    channel.Config = config;
    channel.OverflowValue = page.overflowSpin;
    channel.UnderflowValue = page.underflowSpin;
    channel.Unit = page.unit;
    channel.Filter = static_cast<uint16_t>(page.filter);
    return true;
  }

  // A code the list cannot show is kept as read, never written as the list's "no item".
  if (page.typeIndex >= 0) config = (config & ~kType) | page.typeIndex;
  if (ChannelControlsFor(device, number, page.TypeCode()).limits) {
    const std::optional<FixedPoint> lower = ParseFixedPoint(page.fields[kLowerLimit]);
    const std::optional<FixedPoint> upper = ParseFixedPoint(page.fields[kUpperLimit]);
    channel.LowLimit = lower ? lower->raw : 0;
    channel.HighLimit = upper ? upper->raw : 1000;
    if (!lower) page.fields[kLowerLimit] = "0";
    if (!upper) page.fields[kUpperLimit] = "1000";
    // The exit checks leave all five fields with one count, so the bits hold that count.
    const uint16_t decimals = upper ? upper->decimals : (lower ? lower->decimals : 0);
    config = (config & ~kDecimals) | ((decimals & 7) << kDecimalsShift);
    channel.Config = config;
    if (channel.LowLimit >= channel.HighLimit) return false;
  } else {
    // A temperature input shows no limits: the user can neither see nor change them, so they
    // keep what the block holds, decimal count included, and never block a write.
    channel.Config = config;
  }

  if (IsLinearInput(page.TypeCode())) {
    const std::optional<FixedPoint> over = ParseFixedPoint(page.fields[kOverflow]);
    const std::optional<FixedPoint> under = ParseFixedPoint(page.fields[kUnderflow]);
    channel.OverflowValue = over ? over->raw : channel.HighLimit + 100;
    channel.UnderflowValue = under ? under->raw : channel.LowLimit - 100;
  } else {
    channel.OverflowValue = page.overflowSpin;
    channel.UnderflowValue = page.underflowSpin;
  }
  const std::optional<FixedPoint> offset = ParseFixedPoint(page.fields[kOffset]);
  channel.UserOffset = offset ? ToInt16(offset->raw) : 0;
  channel.Unit = page.unit;
  channel.Filter = static_cast<uint16_t>(page.filter);
  return true;
}

AmbientPageState FillAmbient(const DeviceRegs& regs, char mark) {
  AmbientPageState page;
  page.tag = regs.Channel3Tag;
  page.unitIndex = (regs.DeviceConfig & config_bit::kAmbientFahrenheit) != 0 ? 1 : 0;
  page.offset = FormatFixedPoint(regs.Channel3UserOffset, 1, mark);
  page.enabled = (regs.DeviceConfig & config_bit::kAmbientOn) != 0;
  return page;
}

void StoreAmbient(const AmbientPageState& page, DeviceRegs& regs) {
  regs.Channel3Tag = page.tag;
  const std::optional<FixedPoint> offset = ParseFixedPoint(page.offset);
  regs.Channel3UserOffset = offset ? ToInt16(offset->raw) : 0;
  regs.DeviceConfig = SetBits(regs.DeviceConfig, config_bit::kAmbientFahrenheit, page.unitIndex == 1);
  regs.DeviceConfig = SetBits(regs.DeviceConfig, config_bit::kAmbientOn, page.enabled);
}

AmbientEnable AmbientEnableRule(const ChannelPageState& channel1, const ChannelPageState* channel2,
                                int32_t deviceConfig) {
  auto needsColdJunction = [](const ChannelPageState& c) { return c.enabled && IsThermocouple(c.typeIndex); };
  if (needsColdJunction(channel1) || (channel2 != nullptr && needsColdJunction(*channel2))) return {true, false};
  return {(deviceConfig & config_bit::kAmbientOn) != 0, true};
}

}  // namespace devconfig
