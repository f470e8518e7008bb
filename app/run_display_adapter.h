#pragma once
// A display window as a reading run sees it: the window's own answers to what the run asks,
// and the run's instruments described for the window's titles. Header only, so that only
// the programs that hold both a run and windows (the program, the slow-mode benchmark) link
// the two together.
#include <span>
#include <vector>

#include "acquisition/run_interfaces.h"
#include "display/display_form.h"
#include "display/instrument_devices.h"

class DisplayFormRunAdapter : public acquisition::RunDisplay {
 public:
  explicit DisplayFormRunAdapter(TDisplayForm& form) : form_(form) {}
  std::vector<uint16_t> GetDevicePorts() override { return form_.GetDevicePorts(); }
  uint8_t GetValueMask(uint32_t serial) override { return form_.GetValueMask(serial); }
  void SetReadInterval(int32_t ms) override { form_.SetReadInterval(ms); }
  void UpdateTitles(const std::vector<DeviceInterface*>& devices) override {
    const std::vector<DisplayDeviceInfo> described = DescribeDevices(devices);
    form_.UpdateTitles(&described);
  }
  void SetChannelIndexes(std::span<const uint32_t> serials) override { form_.SetChannelIndexes(serials); }
  void UpdateReadings(std::span<const float> values, std::span<const double> times) override {
    form_.UpdateReadings(values, times);
  }

 private:
  TDisplayForm& form_;
};
