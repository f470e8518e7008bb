// DeviceInterface: construction, register transactions, the configuration block and
// identification.
#include "instrument/device_interface.h"

#include "instrument/device_regs_image.h"
#include "instrument/register_text.h"
#include "platform/text_trim.h"

namespace {

using device::kSlaveAddress;

}  // namespace

DeviceInterface::DeviceInterface() : DeviceInterface(1) {}

DeviceInterface::DeviceInterface(int portNumber, uint16_t extraTimeoutMs)
    : TSerialModBusDriver(portNumber, device::kBaudRate, extraTimeoutMs),
      sensorNames_(device::CurrentSensorNames()) {}

bool DeviceInterface::ReadRegisters(uint16_t start, uint32_t count, uint16_t* destination) {
  if (!IsPortOpen() || destination == nullptr) return false;
  uint32_t first = start;
  while (count > 0) {
    const uint32_t chunk = count > kMaxRegistersPerRead ? kMaxRegistersPerRead : count;
    if (!WithTries([&] { return ReadRequest(kSlaveAddress, modbus::kReadHoldingRegisters, first, chunk, destination); }))
      return false;
    first += chunk;
    destination += chunk;
    count -= chunk;
  }
  return true;
}

bool DeviceInterface::WriteRegister(uint16_t reg, uint16_t value) {
  if (!IsPortOpen()) return false;
  return WithTries([&] { return WriteRequest(kSlaveAddress, modbus::kWriteSingleRegister, reg, value); });
}

bool DeviceInterface::ReadConfiguration() {
  uint16_t register2 = 0;
  if (!ReadRegisters(device::reg::kModelAndFirmware, 1, &register2)) return false;
  // Into a scratch image: a read that fails halfway must not leave the image (from which a
  // later write composes) holding half of another state.
  RegisterImage image = image_;
  const int32_t model = device::ModelOf(register2);
  if (model != device::kModelLogger) {
    if (!ReadRegisters(0, 59, image.RegisterPointer(0))) return false;
    for (uint16_t reg = device::cal::kTableFirst; reg < device::cal::kTableFirst + device::cal::kTableCount; ++reg)
      if (!ReadCalRegister(reg, image.Calibration(reg))) return false;
    if (!ReadCalRegister(device::cal::kDate, image.Calibration(device::cal::kDate))) return false;
    if (!ReadCalRegister(device::cal::kYear, image.Calibration(device::cal::kYear))) return false;
  } else {
    if (!ReadRegisters(0, RegisterImage::kLastLowHolding + 1, image.RegisterPointer(0))) return false;
    if (device::HasCounterBlock(model, device::FirmwareOf(register2)) &&
        !ReadRegisters(device::reg::kDigitalInputBlock, device::reg::kDigitalInputBlockCount,
                       image.RegisterPointer(device::reg::kDigitalInputBlock)))
      return false;
  }
  image_ = image;
  // The model as the block itself says (register 2 was read twice; the block's copy rules).
  model_ = device::ModelOf(image_.Register(device::reg::kModelAndFirmware));
  device::ParseRegisterImage(image_, regs);
  ready_ = true;
  failedReads_ = 0;
  return true;
}

bool DeviceInterface::ConfigurationWritable() const {
  return ready_ && (model_ == device::kModelLogger || model_ == device::kModelProbe);
}

bool DeviceInterface::WriteConfiguration() {
  if (!ConfigurationWritable()) return false;
  device::ComposeRegisterImage(regs, image_);
  const int32_t firmware = device::FirmwareOf(image_.Register(device::reg::kModelAndFirmware));
  for (const uint16_t reg : device::ConfigurationWriteOrder(model_, firmware)) {
    if (!WriteRegister(reg, image_.Register(reg))) return false;
  }
  return true;
}

bool DeviceInterface::ReadSerialNumber(std::string& text) {
  uint16_t words[2] = {};
  if (!ReadRegisters(device::reg::kSerialHigh, 2, words)) return false;
  text = device::SerialText(device::SerialFromBcd(words[0], words[1]));
  return true;
}

bool DeviceInterface::ReadTagName(std::string& text) {
  std::array<uint16_t, device::kRegisterTextRegisters> words{};
  if (!ReadRegisters(device::reg::kTag, device::kRegisterTextRegisters, words.data())) return false;
  text = platform::TrimBlanks(device::RegTextToString(words));
  return true;
}

std::string DeviceInterface::RegTextToString(std::span<const uint16_t, 5> registers) {
  return device::RegTextToString(registers);
}

void DeviceInterface::StringToRegText(const std::string& text, std::span<uint16_t, 5> registers) {
  device::StringToRegText(text, registers);
}
