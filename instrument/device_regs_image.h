#pragma once
// The configuration block between the register image and `DeviceRegs`: identification, the
// parse of the image into the fields, the compose of the fields back into the image, and the
// order in which the configuration is written. Pure functions.
#include <cstdint>
#include <string>
#include <vector>

#include "instrument/device_regs.h"

namespace device {

// Register 2's model bits (0, 0x2000, or another code of a model this program does not know).
constexpr int32_t ModelOf(uint16_t register2) { return register2 & kModelMask; }
constexpr int32_t FirmwareOf(uint16_t register2) { return register2 & kFirmwareMask; }
// Registers 0 and 1 as eight BCD digits, register 0 the four high ones.
int32_t SerialFromBcd(uint16_t high, uint16_t low);
// "%.8d".
std::string SerialText(int32_t serial);
// 110 -> "1.10", 105 -> "1.05", 1234 -> "12.34".
std::string VersionText(int32_t version);
// True when the block's model-0 layout is used; any other model code reads as the probe.
constexpr bool HasLoggerLayout(int32_t model) { return model == kModelLogger; }
// Model 0 from firmware 110 on: registers 62..73 (counter and digital-input block).
constexpr bool HasCounterBlock(int32_t model, int32_t firmware) {
  return model == kModelLogger && firmware >= kCounterFirmware;
}

// Fills `regs` from the image (model and firmware from its register 2). Fields the image does
// not hold for the model keep their values (the digital-input block below firmware 110 and on
// the probe) or take their fixed values (the probe's unused ranges, units and offsets).
void ParseRegisterImage(const RegisterImage& image, DeviceRegs& regs);

// Writes the fields of `regs` into the image, the inverse of the parse for the registers the
// configuration write sends. A field equal to what the image already parses to leaves its
// registers exactly as they are, so bits and bytes the parse does not interpret (the probe's
// upper configuration bits, text bytes after a terminating zero, a probe's second channel
// when it has none) go back to the instrument as they were read.
void ComposeRegisterImage(const DeviceRegs& regs, RegisterImage& image);

// Holding registers the configuration write sends, in order. Empty for a model that is not
// known (nothing of it is written).
std::vector<uint16_t> ConfigurationWriteOrder(int32_t model, int32_t firmware);

}  // namespace device
