#include "devconfig/diagnostics_texts.h"

#include <cmath>

#include "devconfig/digital_input_transfer.h"
#include "devconfig/fixed_point.h"
#include "devconfig/page_transfer.h"
#include "instrument/live_values.h"
#include "platform/text_trim.h"

namespace devconfig {
namespace {

const std::string kCelsius = "\xB0" "C";
const std::string kFahrenheit = "\xB0" "F";

std::string TagOr(bool read, const std::string& tag, const std::string& fallback) {
  if (!read) return fallback;
  std::string trimmed = platform::TrimBlanks(tag);
  return trimmed.empty() ? fallback : trimmed;
}

const std::string& Degrees(int32_t config) {
  return (config & channel_bit::kFahrenheit) != 0 ? kFahrenheit : kCelsius;
}

// The overflow and underflow values are compared as the instrument link scales the channel's
// readings: the stored integers themselves never equal a value shown in tenths.
std::string WithMarks(std::string text, float value, const Channel& channel, int32_t model) {
  auto scaled = [&](int32_t stored) {
    return device::ScaleChannelValue(static_cast<int16_t>(stored), model, channel.Config);
  };
  if (scaled(channel.OverflowValue) == value) text += kOverflowMark;
  if (scaled(channel.UnderflowValue) == value) text += kUnderflowMark;
  return text;
}

std::string AmbientText(float value, const DeviceRegs& regs, char mark) {
  const bool fahrenheit = (regs.DeviceConfig & config_bit::kAmbientFahrenheit) != 0;
  return FormatDecimals(value, 1, mark) + "  " + (fahrenheit ? kFahrenheit : kCelsius);
}

std::string LoggerChannelText(float value, const Channel& channel, char mark) {
  const int type = channel.Config & channel_bit::kType;
  if (!IsLinearInput(type)) return FormatDecimals(value, 1, mark) + "  " + Degrees(channel.Config);
  return FormatDecimals(value, DecimalsOf(channel.Config), mark) + "  " + platform::TrimBlanks(channel.Unit);
}

}  // namespace

DiagnosticLabels PrepareDiagnosticLabels(bool read, const DeviceRegs& regs, const DeviceContext& device,
                                         const ChannelNames& names) {
  using N = DefaultChannelName;
  auto name = [&names](N n) { return names[static_cast<size_t>(n)]; };
  DiagnosticLabels labels;
  labels.channel1 = TagOr(read, regs.Channel1.Tag, name(N::Channel1));
  labels.channel2Shown = !(device.Probe() && device.probeType != 0);
  if (labels.channel2Shown) labels.channel2 = TagOr(read, regs.Channel2.Tag, name(N::Channel2));
  labels.ambientShown = !device.HumidityProbe();
  if (labels.ambientShown) labels.ambient = TagOr(read, regs.Channel3Tag, name(N::Ambient));
  labels.digitalInput = TagOr(read, regs.DigInputTag, name(N::DigitalInput));
  labels.countingShown = read && device.model == device::kModelLogger && device.firmware >= device::kCounterFirmware;
  if (labels.countingShown) {
    const DigitalMode mode = ModeOf(regs.DigiTalInputConfig);
    labels.counting = name(mode == DigitalMode::Counting ? N::Counting
                           : mode == DigitalMode::Timing ? N::Timing
                                                         : N::Frequency);
  }
  return labels;
}

DiagnosticValues DiagnosticValueTexts(const std::optional<std::array<float, 5>>& values, const DeviceRegs& regs,
                                      const DeviceContext& device, char mark) {
  DiagnosticValues out;
  if (!values) {
    out.digitalInput = out.channel1 = out.channel2 = out.ambient = kUnreadValue;
    return out;
  }
  const std::array<float, 5>& v = *values;
  if (device.Probe()) {
    const int32_t c1 = regs.Channel1.Config;
    const bool humidity = device.probeType == 0 && (c1 & channel_bit::kDewPoint) == 0;
    out.channel1 = FormatDecimals(v[1], 1, mark) + "  " + (humidity ? std::string("%") : Degrees(c1));
    const int32_t c2 = regs.Channel2.Config;
    out.channel2 = FormatDecimals(v[2], 1, mark) + "  " +
                   (!IsLinearInput(c2 & channel_bit::kType) ? Degrees(c2) : platform::TrimBlanks(regs.Channel2.Unit));
  } else {
    out.digitalInput = std::to_string(static_cast<long long>(std::trunc(v[0])));
    if (regs.FirmwareVersionNumber >= device::kCounterFirmware) {
      const int decimals = regs.DecimalNumber >= 0 && regs.DecimalNumber <= 8 ? regs.DecimalNumber : 0;
      out.counter = std::isfinite(v[4]) ? FormatDecimals(v[4], decimals, mark) : std::string(kUnreadValue);
    }
    out.channel1 = LoggerChannelText(v[1], regs.Channel1, mark);
    out.channel2 = LoggerChannelText(v[2], regs.Channel2, mark);
  }
  out.channel1 = WithMarks(*out.channel1, v[1], regs.Channel1, device.model);
  out.channel2 = WithMarks(*out.channel2, v[2], regs.Channel2, device.model);
  out.ambient = AmbientText(v[3], regs, mark);
  return out;
}

}  // namespace devconfig
