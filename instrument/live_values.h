#pragma once
// The five live values of one reading and the unit of each channel, from the raw registers
// and the parsed configuration. Pure functions.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "instrument/device_regs.h"

namespace device {

inline constexpr int kLiveValueCount = 5;  // digital input, channel 1, channel 2, internal, counter

// A channel's register value in its unit. On model 0 a linear input (type 9 and above) has
// `Config` bits 9..11 decimals; anything else has one. Each step of 0.1 is kept as a 32-bit
// float, as the instrument's values always were.
float ScaleChannelValue(int16_t raw, int32_t model, int32_t channelConfig);

// Registers 3..6 as values 0..3: value 0 as read (signed), channels 1 and 2 by their
// configuration, the internal channel in tenths.
void ScaleLiveRegisters(std::span<const uint16_t, 4> registers, int32_t model, const DeviceRegs& regs,
                        std::span<float, 4> values);

// The counter of registers 62 (high) and 63 times the counter's factor; nothing when the
// product is not a number a float can hold (a factor of -4.7e290 read from the instrument).
std::optional<float> CounterValue(uint16_t high, uint16_t low, double scale);

// Unit text of channel 1, 2 or 3 (the internal channel); empty for any other channel number
// and while the model is not known. Texts are code page 1252 ("\xB0" + "C").
std::string ChannelUnit(int channel, int32_t model, const DeviceRegs& regs);

}  // namespace device
