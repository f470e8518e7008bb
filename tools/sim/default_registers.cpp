// Plausible contents of a freshly delivered instrument of either model, so the program has
// something sensible to show and configure.
#include <algorithm>
#include <bit>
#include <cstring>

#include "tools/sim/register_map.h"

namespace sim {
namespace {

uint16_t Word(int value) { return static_cast<uint16_t>(static_cast<int16_t>(value)); }

// Channel configuration word: input type, enabled (counted by the streaming period),
// degrees Fahrenheit, number of decimals of a linear input.
uint16_t ChannelConfig(int inputType, bool enabled, int decimals = 0) {
  return static_cast<uint16_t>((inputType & 0x7F) | (enabled ? 0x80 : 0) | ((decimals & 7) << 9));
}

class Filler {
 public:
  Filler(std::span<uint16_t, RegisterMap::kHoldingSize> holding) : holding_(holding) {}
  void Set(uint16_t reg, int value) { holding_[reg] = Word(value); }
  void Text(uint16_t first, const std::string& text) {
    EncodeRegisterText(text, std::span<uint16_t, 5>(holding_.subspan(first, 5)));
  }

 private:
  std::span<uint16_t, RegisterMap::kHoldingSize> holding_;
};

void FillModel0(const InstrumentOptions& options, Filler& h,
                std::span<uint16_t, RegisterMap::kCalibrationSize> calibration) {
  h.Set(3, 0);       // digital input off
  h.Set(4, 235);     // channel 1, Pt100: 23.5 degrees
  h.Set(5, 4250);    // channel 2, 4 to 20 mA scaled to 0.00..100.00: 42.50
  h.Set(6, 241);     // ambient: 24.1 degrees
  h.Set(7, 0x0021);  // ambient channel on, rate code 1, streaming off
  h.Set(8, ChannelConfig(0, true));
  h.Set(9, ChannelConfig(10, true, 2));
  h.Set(10, 2);
  h.Set(11, 1);
  h.Set(12, -2000);  // channel 1 range (tenths)
  h.Set(13, 8500);
  h.Set(14, 0);      // channel 2 range (hundredths)
  h.Set(15, 10000);
  h.Set(16, 0);      // digital input levels
  h.Set(17, 1);
  h.Set(18, -30000);  // channel 1 underflow / overflow values
  h.Set(19, 30000);
  h.Set(20, -100);    // channel 2 underflow / overflow values
  h.Set(21, 10100);
  h.Text(22, options.tag);
  h.Text(27, "Forno");
  h.Text(32, "Nivel");
  h.Text(37, "Porta");  // digital input
  h.Text(42, "");       // channel 1 unit: a temperature input needs none
  h.Text(47, "%");
  h.Text(52, "Ambiente");
  h.Set(57, 0);  // user offsets
  h.Set(58, 0);
  h.Set(59, 0);
  if (options.firmware >= reg::kCounterFirmware) {
    h.Set(reg::kCounterHigh, 0);
    h.Set(reg::kCounterLow, 1234);
    h.Set(64, 0);   // digital input counts pulses
    h.Set(65, 10);  // debounce
    uint64_t scaleBits = std::bit_cast<uint64_t>(1.0);  // counter factor, most significant first
    for (int i = 0; i < 4; ++i) h.Set(66 + i, static_cast<uint16_t>(scaleBits >> (48 - 16 * i)));
    h.Set(70, 0);  // reset value
    h.Set(71, 0);
    h.Set(72, 0);  // decimals of the counter
  }

  // Offset and gain pairs of the input-type groups, channel 1 at 2..9, channel 2 at 10..17,
  // the shared group at 18..19, ambient at 20: each a little off the ideal (0, 10000).
  const int factory[] = {12, 10012, -35, 9987, 20, 10021, -8, 9995,
                         7, 10008, -41, 9979, 15, 10030, -3, 10001,
                         5, 10000, 35};
  for (size_t i = 0; i < std::size(factory); ++i) calibration[2 + i] = Word(factory[i]);
}

void FillProbe(const InstrumentOptions& options, Filler& h,
               std::span<uint16_t, RegisterMap::kCalibrationSize> calibration) {
  const bool humidity = options.probeKind == 0;
  h.Set(3, options.probeKind);
  h.Set(4, humidity ? 552 : 231);  // 55.2 %RH, or 23.1 degrees
  h.Set(5, humidity ? 231 : 0);    // temperature beside the humidity
  h.Set(6, 245);                   // internal temperature
  h.Set(7, 0x0000);                // one record a second when streaming, streaming off
  h.Set(8, ChannelConfig(0, true));
  h.Set(9, humidity ? ChannelConfig(0, true) : 0);
  h.Set(10, 1);
  h.Set(11, humidity ? 1 : 0);
  for (uint16_t r = 12; r <= 17; r += 2) {  // unused on the probe: range 0..1
    h.Set(r, 0);
    h.Set(r + 1, 1);
  }
  h.Set(18, -30000);
  h.Set(19, 30000);
  h.Set(20, humidity ? -30000 : 0);
  h.Set(21, humidity ? 30000 : 1);
  h.Text(22, options.tag);
  h.Text(27, humidity ? "Umidade" : "Temp");
  h.Text(32, humidity ? "Temp" : "");
  h.Text(37, "Interna");
  h.Set(42, 0);  // internal channel user offset

  // Last custom calibration on 15 March 2024, every point of both tables empty.
  calibration[18] = (15 << 8) | 3;
  calibration[19] = 2024;
  for (uint16_t r = 20; r <= 59; ++r) calibration[r] = 0x8000;
}

}  // namespace

void EncodeRegisterText(const std::string& text, std::span<uint16_t, 5> registers) {
  uint8_t bytes[10] = {};
  std::memcpy(bytes, text.data(), std::min(text.size(), sizeof bytes));
  for (size_t i = 0; i < 5; ++i)
    registers[i] = static_cast<uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
}

std::array<uint16_t, 2> EncodeBcdSerial(uint32_t serial) {
  uint32_t bcd = 0;
  for (int digit = 0; digit < 8; ++digit) {
    bcd |= (serial % 10) << (4 * digit);
    serial /= 10;
  }
  return {static_cast<uint16_t>(bcd >> 16), static_cast<uint16_t>(bcd & 0xFFFF)};
}

void FillDefaultRegisters(const InstrumentOptions& options,
                          std::span<uint16_t, RegisterMap::kHoldingSize> holding,
                          std::span<uint16_t, RegisterMap::kCalibrationSize> calibration) {
  std::fill(holding.begin(), holding.end(), 0);
  std::fill(calibration.begin(), calibration.end(), 0);
  const auto serial = EncodeBcdSerial(options.serialNumber);
  holding[reg::kSerialHigh] = serial[0];
  holding[reg::kSerialLow] = serial[1];
  const uint16_t modelBits = options.model == Model::Probe ? 0x2000 : 0x0000;
  holding[reg::kModelAndFirmware] = static_cast<uint16_t>(modelBits | (options.firmware & 0x1FFF));

  Filler filler(holding);
  if (options.model == Model::Probe)
    FillProbe(options, filler, calibration);
  else
    FillModel0(options, filler, calibration);
}

}  // namespace sim
