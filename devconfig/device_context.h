#pragma once
// What the dialog needs to know of the selected instrument to decide which pages and controls
// it shows, and those decisions. Pure.
#include <cstdint>

#include "instrument/device_regs.h"

namespace devconfig {

struct DeviceContext {
  int32_t model = device::kModelUnknown;
  int32_t probeType = -1;  // the probe's sensor kind; -1 on any other model
  int32_t firmware = 0;    // version x 100

  static DeviceContext Of(int32_t model, const DeviceRegs& regs) {
    return {model, model == device::kModelProbe ? regs.InputTypeModel : -1, regs.FirmwareVersionNumber};
  }
  bool Probe() const { return model == device::kModelProbe; }
  // The relative-humidity probe (sensor kind 0): humidity on channel 1, temperature on 2.
  bool HumidityProbe() const { return Probe() && probeType == 0; }
  // Counting, timing and frequency of the digital input.
  bool DigitalFeatures() const { return !Probe() && firmware >= device::kCounterFirmware; }
};

// Pages shown after a configuration was read. "Geral", "Canal 1" and "Diagnóstico" always are.
struct PageVisibility {
  bool channel2 = true;
  bool digitalInput = true;
  bool ambient = true;
  bool customCalibration = false;
  bool humidityCalibration = false;  // the custom-calibration page's "Umidade" sub-page
  bool factoryCalibration = true;
  bool diagnosticDigitalLines = true;  // the diagnostic page's digital-input line
  bool digitalFeatures = true;         // "Características especiais" of the digital input
  bool operator==(const PageVisibility&) const = default;
};

PageVisibility VisiblePages(const DeviceContext& device);

// An input type code (Config bits 0..6): below 9 a temperature input, from 9 on linear.
constexpr bool IsLinearInput(int typeCode) { return typeCode >= 9; }
constexpr bool IsThermocouple(int typeCode) { return typeCode >= 1 && typeCode <= 8; }

// Which controls of a channel page are shown for the model and the input type the page has.
struct ChannelControls {
  bool typeList = true;       // the input-type list (else the sensor's name in a label)
  bool degrees = true;        // °C / °F
  bool limits = false;        // upper and lower limit with their arrows
  bool unit = false;
  bool overflowFields = false;  // overflow and underflow as fixed-point fields with arrows
  bool overflowSpins = true;    // overflow and underflow as spin edits
  bool offset = true;
  bool offsetWritable = false;  // a temperature input's offset moves only by its arrows
  bool dewPoint = false;
  bool operator==(const ChannelControls&) const = default;
};

// `channel` 1 or 2; `typeCode` the input type the page shows.
ChannelControls ChannelControlsFor(const DeviceContext& device, int channel, int typeCode);

}  // namespace devconfig
