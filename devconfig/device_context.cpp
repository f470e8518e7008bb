#include "devconfig/device_context.h"

namespace devconfig {

PageVisibility VisiblePages(const DeviceContext& device) {
  PageVisibility v;
  const bool probe = device.Probe();
  v.channel2 = !probe || device.probeType == 0;
  v.digitalInput = !probe;
  v.ambient = !probe || device.probeType != 0;
  v.customCalibration = probe;
  v.humidityCalibration = device.HumidityProbe();
  v.factoryCalibration = !probe;
  v.diagnosticDigitalLines = !probe;
  v.digitalFeatures = device.DigitalFeatures();
  return v;
}

ChannelControls ChannelControlsFor(const DeviceContext& device, int channel, int typeCode) {
  ChannelControls c;
  if (device.Probe()) {
    c.typeList = false;
    c.offset = false;
    c.dewPoint = channel == 1 && device.probeType == 0;
    return c;
  }
  const bool linear = IsLinearInput(typeCode);
  c.degrees = !linear;
  c.limits = linear;
  c.unit = linear;
  c.overflowFields = linear;
  c.overflowSpins = !linear;
  c.offsetWritable = linear;
  return c;
}

}  // namespace devconfig
