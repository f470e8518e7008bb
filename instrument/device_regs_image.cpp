#include "instrument/device_regs_image.h"

#include <bit>
#include <cstdio>
#include <cstring>
#include <span>

#include "instrument/register_text.h"

namespace device {
namespace {

// Probe register 8 carries the channel-1 configuration in bits 0..9, register 9 the
// channel-2 configuration in bits 0..8; the bits above belong to the instrument.
constexpr uint16_t kProbeChannel1ConfigMask = 0x03FF;
constexpr uint16_t kProbeChannel2ConfigMask = 0x01FF;

int32_t Signed(uint16_t word) { return static_cast<int16_t>(word); }

std::span<const uint16_t, kRegisterTextRegisters> TextAt(const RegisterImage& image, uint16_t first) {
  return std::span<const uint16_t, kRegisterTextRegisters>(&image.Words()[RegisterImage::IndexOfRegister(first)],
                                                           kRegisterTextRegisters);
}

// Reads the image into the fields.
class ParseVisitor {
 public:
  explicit ParseVisitor(const RegisterImage& image) : image_(image) {}
  void Signed(uint16_t reg, int32_t& field, const int32_t&) { field = device::Signed(image_.Register(reg)); }
  void Signed16(uint16_t reg, int16_t& field, const int16_t&) { field = static_cast<int16_t>(image_.Register(reg)); }
  void Unsigned(uint16_t reg, int32_t& field, const int32_t&) { field = image_.Register(reg); }
  void Unsigned16(uint16_t reg, uint16_t& field, const uint16_t&) { field = image_.Register(reg); }
  void Masked(uint16_t reg, uint16_t mask, int32_t& field, const int32_t&) { field = image_.Register(reg) & mask; }
  void Text(uint16_t first, std::string& field, const std::string&) { field = RegTextToString(TextAt(image_, first)); }
  void Double(uint16_t first, double& field, const double&) {
    uint64_t bits = 0;
    for (uint16_t i = 0; i < 4; ++i) bits = (bits << 16) | image_.Register(static_cast<uint16_t>(first + i));
    field = std::bit_cast<double>(bits);
  }
  void Unsigned32(uint16_t high, int32_t& field, const int32_t&) {
    field = static_cast<int32_t>((uint32_t{image_.Register(high)} << 16) | image_.Register(static_cast<uint16_t>(high + 1)));
  }

 private:
  const RegisterImage& image_;
};

// Writes a field into the image only when it differs from what the image parses to.
class ComposeVisitor {
 public:
  explicit ComposeVisitor(RegisterImage& image) : image_(image) {}
  void Signed(uint16_t reg, const int32_t& now, const int32_t& read) { Word(reg, now != read, now); }
  void Signed16(uint16_t reg, const int16_t& now, const int16_t& read) { Word(reg, now != read, now); }
  void Unsigned(uint16_t reg, const int32_t& now, const int32_t& read) { Word(reg, now != read, now); }
  void Unsigned16(uint16_t reg, const uint16_t& now, const uint16_t& read) { Word(reg, now != read, now); }
  void Masked(uint16_t reg, uint16_t mask, const int32_t& now, const int32_t& read) {
    if ((now & mask) == (read & mask)) return;
    uint16_t& word = image_.Register(reg);
    word = static_cast<uint16_t>((word & ~mask) | (now & mask));
  }
  void Text(uint16_t first, const std::string& now, const std::string& read) {
    if (now == read) return;
    StringToRegText(now, std::span<uint16_t, kRegisterTextRegisters>(image_.RegisterPointer(first), kRegisterTextRegisters));
  }
  void Double(uint16_t first, const double& now, const double& read) {
    const auto bits = std::bit_cast<uint64_t>(now);
    if (bits == std::bit_cast<uint64_t>(read)) return;
    for (uint16_t i = 0; i < 4; ++i)
      image_.Register(static_cast<uint16_t>(first + i)) = static_cast<uint16_t>(bits >> (48 - 16 * i));
  }
  void Unsigned32(uint16_t high, const int32_t& now, const int32_t& read) {
    if (now == read) return;
    const auto value = static_cast<uint32_t>(now);
    image_.Register(high) = static_cast<uint16_t>(value >> 16);
    image_.Register(static_cast<uint16_t>(high + 1)) = static_cast<uint16_t>(value & 0xFFFF);
  }

 private:
  template <typename T>
  void Word(uint16_t reg, bool changed, T value) {
    if (changed) image_.Register(reg) = static_cast<uint16_t>(value);
  }
  RegisterImage& image_;
};

// The one listing of which field lives in which holding registers, for the image's model,
// firmware and probe kind. `a` is what the visitor reads into (parse) or writes from
// (compose); `b` is the same block as the image holds it (the compose's reference).
template <typename Regs, typename ReadRegs, typename Visitor>
void VisitHoldingFields(const RegisterImage& image, Regs& a, ReadRegs& b, Visitor& v) {
  const uint16_t register2 = image.Register(reg::kModelAndFirmware);
  const int32_t model = ModelOf(register2);
  v.Unsigned(reg::kDeviceConfig, a.DeviceConfig, b.DeviceConfig);
  v.Text(reg::kTag, a.Tag, b.Tag);
  v.Signed(18, a.Channel1.UnderflowValue, b.Channel1.UnderflowValue);
  v.Signed(19, a.Channel1.OverflowValue, b.Channel1.OverflowValue);
  v.Unsigned16(10, a.Channel1.Filter, b.Channel1.Filter);
  v.Text(27, a.Channel1.Tag, b.Channel1.Tag);

  if (HasLoggerLayout(model)) {
    v.Signed(8, a.Channel1.Config, b.Channel1.Config);
    v.Signed(9, a.Channel2.Config, b.Channel2.Config);
    v.Unsigned16(11, a.Channel2.Filter, b.Channel2.Filter);
    v.Signed(12, a.Channel1.LowLimit, b.Channel1.LowLimit);
    v.Signed(13, a.Channel1.HighLimit, b.Channel1.HighLimit);
    v.Signed(14, a.Channel2.LowLimit, b.Channel2.LowLimit);
    v.Signed(15, a.Channel2.HighLimit, b.Channel2.HighLimit);
    v.Signed(16, a.DigInputLowValue, b.DigInputLowValue);
    v.Signed(17, a.DigInputHighValue, b.DigInputHighValue);
    v.Signed(20, a.Channel2.UnderflowValue, b.Channel2.UnderflowValue);
    v.Signed(21, a.Channel2.OverflowValue, b.Channel2.OverflowValue);
    v.Text(32, a.Channel2.Tag, b.Channel2.Tag);
    v.Text(37, a.DigInputTag, b.DigInputTag);
    v.Text(42, a.Channel1.Unit, b.Channel1.Unit);
    v.Text(47, a.Channel2.Unit, b.Channel2.Unit);
    v.Text(52, a.Channel3Tag, b.Channel3Tag);
    v.Signed16(57, a.Channel1.UserOffset, b.Channel1.UserOffset);
    v.Signed16(58, a.Channel2.UserOffset, b.Channel2.UserOffset);
    v.Signed16(59, a.Channel3UserOffset, b.Channel3UserOffset);
    if (HasCounterBlock(model, FirmwareOf(register2))) {
      v.Unsigned(64, a.DigiTalInputConfig, b.DigiTalInputConfig);
      v.Unsigned(65, a.Debounce, b.Debounce);
      v.Double(66, a.Scale, b.Scale);
      v.Unsigned32(70, a.ResetValue, b.ResetValue);
      v.Unsigned(72, a.DecimalNumber, b.DecimalNumber);
    }
    return;
  }

  v.Masked(8, kProbeChannel1ConfigMask, a.Channel1.Config, b.Channel1.Config);
  v.Text(37, a.Channel3Tag, b.Channel3Tag);
  v.Signed16(42, a.Channel3UserOffset, b.Channel3UserOffset);
  if (image.Register(reg::kLiveValues) == 0) {  // a probe of kind 0 has its second channel
    v.Masked(9, kProbeChannel2ConfigMask, a.Channel2.Config, b.Channel2.Config);
    v.Unsigned16(11, a.Channel2.Filter, b.Channel2.Filter);
    v.Signed(20, a.Channel2.UnderflowValue, b.Channel2.UnderflowValue);
    v.Signed(21, a.Channel2.OverflowValue, b.Channel2.OverflowValue);
    v.Text(32, a.Channel2.Tag, b.Channel2.Tag);
  }
}

// A channel that holds no input on this model.
void SetEmptyRange(Channel& channel) {
  channel.LowLimit = 0;
  channel.HighLimit = 1;
  channel.Unit.clear();
  channel.UserOffset = 0;
}

}  // namespace

int32_t SerialFromBcd(uint16_t high, uint16_t low) {
  const uint32_t bcd = (uint32_t{high} << 16) | low;
  int32_t serial = 0;
  for (int digit = 7; digit >= 0; --digit) serial = serial * 10 + static_cast<int32_t>((bcd >> (4 * digit)) & 0xF);
  return serial;
}

std::string SerialText(int32_t serial) {
  char text[16];
  std::snprintf(text, sizeof text, "%.8d", serial);
  return text;
}

std::string VersionText(int32_t version) {
  char text[24];
  std::snprintf(text, sizeof text, "%d.%.2d", version / 100, version % 100);
  return text;
}

void ParseRegisterImage(const RegisterImage& image, DeviceRegs& regs) {
  const uint16_t register2 = image.Register(reg::kModelAndFirmware);
  const int32_t model = ModelOf(register2);
  regs.SerialNumber = SerialFromBcd(image.Register(reg::kSerialHigh), image.Register(reg::kSerialLow));
  regs.FirmwareVersionNumber = FirmwareOf(register2);
  regs.VersionText = VersionText(regs.FirmwareVersionNumber);
  ParseVisitor visitor(image);
  VisitHoldingFields(image, regs, regs, visitor);

  if (HasLoggerLayout(model)) {
    regs.InputTypeModel = 0;
    if (HasCounterBlock(model, regs.FirmwareVersionNumber)) regs.BaseTime = Signed(image.Register(71));
    return;
  }

  regs.InputTypeModel = image.Register(reg::kLiveValues);
  SetEmptyRange(regs.Channel1);
  SetEmptyRange(regs.Channel2);
  regs.DigInputTag.clear();
  regs.DigInputLowValue = 0;
  regs.DigInputHighValue = 1;
  if (regs.InputTypeModel != 0) {
    regs.Channel2.Config = 0;
    regs.Channel2.Filter = 0;
    regs.Channel2.UnderflowValue = 0;
    regs.Channel2.OverflowValue = 1;
    regs.Channel2.Tag.clear();
  }
  const uint16_t date = image.Calibration(cal::kDate);
  regs.LastCustomCalDay = static_cast<uint8_t>(date >> 8);
  regs.LastCustomCalMonth = static_cast<uint8_t>(date & 0xFF);
  regs.LastCustomCalYear = image.Calibration(cal::kYear);
  for (uint16_t i = 0; i < Channel::kCalibrationPoints; ++i) {
    regs.Channel1.CustomCalB[i] = Signed(image.Calibration(static_cast<uint16_t>(20 + 2 * i)));
    regs.Channel1.CustomCalA[i] = Signed(image.Calibration(static_cast<uint16_t>(21 + 2 * i)));
    regs.Channel2.CustomCalB[i] = Signed(image.Calibration(static_cast<uint16_t>(40 + 2 * i)));
    regs.Channel2.CustomCalA[i] = Signed(image.Calibration(static_cast<uint16_t>(41 + 2 * i)));
  }
}

void ComposeRegisterImage(const DeviceRegs& regs, RegisterImage& image) {
  DeviceRegs asRead = regs;
  ParseRegisterImage(image, asRead);
  ComposeVisitor visitor(image);
  VisitHoldingFields(image, regs, asRead, visitor);
}

std::vector<uint16_t> ConfigurationWriteOrder(int32_t model, int32_t firmware) {
  std::vector<uint16_t> order;
  auto add = [&](uint16_t first, uint16_t last) {
    for (uint16_t r = first; r <= last; ++r) order.push_back(r);
  };
  if (model == kModelLogger) {
    add(7, 59);
    if (HasCounterBlock(model, firmware)) add(64, 72);
  } else if (model == kModelProbe) {
    add(7, 11);
    add(18, 42);
  }
  return order;
}

}  // namespace device
