// The configuration block against the simulated instrument, register by register: every
// register holds a value no other holds, so a field read from or written to a neighbour's
// register shows. Also where calibration values of each input type land and how they are
// limited, and that every read is tried three times.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "instrument/device_interface.h"
#include "tests/instrument/pty_pair.h"
#include "tools/sim/register_map.h"
#include "tools/sim/simulated_instrument.h"

namespace {

using namespace std::chrono_literals;

constexpr int kPort = 3;
constexpr auto kPatience = 10s;  // only ends a test that would otherwise hang
// The instruments allow 70 ms more than the line needs; the simulated one, on a busy machine,
// may take longer than that to answer, and tries are counted here.
constexpr uint16_t kExtraMs = 1000;

// Texts occupy five registers from these; every other register of the block holds a number.
constexpr uint16_t kTextStarts[] = {22, 27, 32, 37, 42, 47, 52};
bool InText(uint16_t reg) {
  for (uint16_t first : kTextStarts)
    if (reg >= first && reg < first + 5) return true;
  return false;
}

// What the instrument holds before the read, and what the write sends: negative as 16-bit
// numbers (sign extension shows), all different, and never the streaming bit (0x40).
uint16_t Held(uint16_t reg) { return static_cast<uint16_t>(0x8000 | reg << 8 | reg); }
uint16_t Sent(uint16_t reg) { return static_cast<uint16_t>(Held(reg) ^ 0x0030); }
int32_t Signed(uint16_t word) { return static_cast<int16_t>(word); }
std::string HeldText(uint16_t first) { return "R" + std::to_string(first); }
std::string SentText(uint16_t first) { return "W" + std::to_string(first); }

std::string TextOf(const sim::SimulatedInstrument& instrument, uint16_t first) {
  std::array<uint16_t, 5> words{};
  for (uint16_t i = 0; i < 5; ++i) words[i] = instrument.HoldingRegister(static_cast<uint16_t>(first + i));
  return DeviceInterface::RegTextToString(words);
}

// One request as the instrument saw it.
struct Request {
  uint8_t function; uint16_t reg;
  bool operator==(const Request&) const = default;
};

class ConfigurationOnSimulator : public ::testing::Test {
 protected:
  sim::SimulatedInstrument& Start(sim::Model model, int probeKind = 0) {
    sim::InstrumentOptions options;
    options.model = model;
    options.firmware = model == sim::Model::Probe ? 105 : 110;
    options.probeKind = probeKind;
    instrument_ = std::make_unique<sim::SimulatedInstrument>(options);
    std::string error;
    EXPECT_TRUE(instrument_->Start(folder_.path(), kPort, &error)) << error;
    EXPECT_TRUE(device_.OpenPort()) << device_.GetErrorText();
    return *instrument_;
  }
  // Every register of the block from 7 on holds its own value; texts name their first register.
  void FillBlock(sim::SimulatedInstrument& instrument) {
    for (uint16_t r = 7; r <= 72; ++r)
      if (!InText(r) && r != 62 && r != 63) instrument.SetHoldingRegister(r, Held(r));
    for (uint16_t first : kTextStarts) {
      std::array<uint16_t, 5> words{};
      DeviceInterface::StringToRegText(HeldText(first), words);
      for (uint16_t i = 0; i < 5; ++i) instrument.SetHoldingRegister(static_cast<uint16_t>(first + i), words[i]);
    }
  }
  std::vector<Request> Requests() const {
    std::vector<Request> requests;
    for (const sim::LogEntry& e : instrument_->Log())
      if (e.direction == sim::LogEntry::Direction::Request && e.bytes.size() >= 8)
        requests.push_back({e.bytes[1], static_cast<uint16_t>(e.bytes[2] << 8 | e.bytes[3])});
    return requests;
  }

  testing_support::TempPortFolder folder_;
  std::unique_ptr<sim::SimulatedInstrument> instrument_;
  DeviceInterface device_{kPort, kExtraMs};
};

TEST_F(ConfigurationOnSimulator, Model0ReadsEachFieldFromItsOwnRegisterAndWritesItBack) {
  sim::SimulatedInstrument& instrument = Start(sim::Model::Model0);
  FillBlock(instrument);
  const double scale = -4.75e-3;  // the counter factor, most significant word first
  const auto bits = std::bit_cast<uint64_t>(scale);
  for (uint16_t i = 0; i < 4; ++i) instrument.SetHoldingRegister(66 + i, static_cast<uint16_t>(bits >> (48 - 16 * i)));
  ASSERT_TRUE(device_.ReadConfiguration());
  DeviceRegs& r = device_.regs;

  EXPECT_EQ(r.DeviceConfig, Held(7));
  EXPECT_EQ(r.Channel1.Config, Signed(Held(8)));
  EXPECT_EQ(r.Channel2.Config, Signed(Held(9)));
  EXPECT_EQ(r.Channel1.Filter, Held(10));
  EXPECT_EQ(r.Channel2.Filter, Held(11));
  EXPECT_EQ(r.Channel1.LowLimit, Signed(Held(12)));
  EXPECT_EQ(r.Channel1.HighLimit, Signed(Held(13)));
  EXPECT_EQ(r.Channel2.LowLimit, Signed(Held(14)));
  EXPECT_EQ(r.Channel2.HighLimit, Signed(Held(15)));
  EXPECT_EQ(r.DigInputLowValue, Signed(Held(16)));
  EXPECT_EQ(r.DigInputHighValue, Signed(Held(17)));
  EXPECT_EQ(r.Channel1.UnderflowValue, Signed(Held(18)));
  EXPECT_EQ(r.Channel1.OverflowValue, Signed(Held(19)));
  EXPECT_EQ(r.Channel2.UnderflowValue, Signed(Held(20)));
  EXPECT_EQ(r.Channel2.OverflowValue, Signed(Held(21)));
  EXPECT_EQ(r.Tag, "R22");
  EXPECT_EQ(r.Channel1.Tag, "R27");
  EXPECT_EQ(r.Channel2.Tag, "R32");
  EXPECT_EQ(r.DigInputTag, "R37");
  EXPECT_EQ(r.Channel1.Unit, "R42");
  EXPECT_EQ(r.Channel2.Unit, "R47");
  EXPECT_EQ(r.Channel3Tag, "R52");
  EXPECT_EQ(r.Channel1.UserOffset, Signed(Held(57)));
  EXPECT_EQ(r.Channel2.UserOffset, Signed(Held(58)));
  EXPECT_EQ(r.Channel3UserOffset, Signed(Held(59)));
  EXPECT_EQ(r.DigiTalInputConfig, Held(64));
  EXPECT_EQ(r.Debounce, Held(65));
  EXPECT_EQ(r.Scale, scale);
  EXPECT_EQ(r.ResetValue, static_cast<int32_t>(uint32_t{Held(70)} << 16 | Held(71)));
  EXPECT_EQ(r.BaseTime, Signed(Held(71)));
  EXPECT_EQ(r.DecimalNumber, Held(72));

  // Each field changed to what its own register is to receive.
  r.DeviceConfig = Sent(7);
  r.Channel1.Config = Signed(Sent(8));
  r.Channel2.Config = Signed(Sent(9));
  r.Channel1.Filter = Sent(10);
  r.Channel2.Filter = Sent(11);
  r.Channel1.LowLimit = Signed(Sent(12));
  r.Channel1.HighLimit = Signed(Sent(13));
  r.Channel2.LowLimit = Signed(Sent(14));
  r.Channel2.HighLimit = Signed(Sent(15));
  r.DigInputLowValue = Signed(Sent(16));
  r.DigInputHighValue = Signed(Sent(17));
  r.Channel1.UnderflowValue = Signed(Sent(18));
  r.Channel1.OverflowValue = Signed(Sent(19));
  r.Channel2.UnderflowValue = Signed(Sent(20));
  r.Channel2.OverflowValue = Signed(Sent(21));
  r.Tag = SentText(22);
  r.Channel1.Tag = SentText(27);
  r.Channel2.Tag = SentText(32);
  r.DigInputTag = SentText(37);
  r.Channel1.Unit = SentText(42);
  r.Channel2.Unit = SentText(47);
  r.Channel3Tag = SentText(52);
  r.Channel1.UserOffset = static_cast<int16_t>(Sent(57));
  r.Channel2.UserOffset = static_cast<int16_t>(Sent(58));
  r.Channel3UserOffset = static_cast<int16_t>(Sent(59));
  r.DigiTalInputConfig = Sent(64);
  r.Debounce = Sent(65);
  r.Scale = std::bit_cast<double>(uint64_t{Sent(66)} << 48 | uint64_t{Sent(67)} << 32 | uint64_t{Sent(68)} << 16 | Sent(69));
  r.ResetValue = static_cast<int32_t>(uint32_t{Sent(70)} << 16 | Sent(71));
  r.DecimalNumber = Sent(72);
  ASSERT_TRUE(device_.WriteConfiguration());
  for (uint16_t reg = 7; reg <= 72; ++reg) {
    if (InText(reg) || (reg >= 60 && reg <= 63)) continue;
    EXPECT_EQ(instrument.HoldingRegister(reg), Sent(reg)) << "register " << reg;
  }
  for (uint16_t first : kTextStarts) EXPECT_EQ(TextOf(instrument, first), SentText(first)) << "register " << first;
}

TEST_F(ConfigurationOnSimulator, ProbeReadsEachFieldFromItsOwnRegisterAndWritesItBack) {
  sim::SimulatedInstrument& instrument = Start(sim::Model::Probe, 0);
  FillBlock(instrument);
  instrument.SetHoldingRegister(42, Held(42));  // a number on the probe, where model 0 has a unit
  for (uint16_t reg = 18; reg <= 59; ++reg) instrument.SetCalibrationRegister(reg, static_cast<uint16_t>(0xA000 + reg));
  instrument.SetCalibrationRegister(18, 0x1F0C);  // 31 December
  ASSERT_TRUE(device_.ReadConfiguration());
  DeviceRegs& r = device_.regs;

  EXPECT_EQ(r.InputTypeModel, 0);
  EXPECT_EQ(r.DeviceConfig, Held(7));
  EXPECT_EQ(r.Channel1.Config, Held(8) & 0x3FF);
  EXPECT_EQ(r.Channel2.Config, Held(9) & 0x1FF);
  EXPECT_EQ(r.Channel1.Filter, Held(10));
  EXPECT_EQ(r.Channel2.Filter, Held(11));
  EXPECT_EQ(r.Channel1.UnderflowValue, Signed(Held(18)));
  EXPECT_EQ(r.Channel1.OverflowValue, Signed(Held(19)));
  EXPECT_EQ(r.Channel2.UnderflowValue, Signed(Held(20)));
  EXPECT_EQ(r.Channel2.OverflowValue, Signed(Held(21)));
  EXPECT_EQ(r.Tag, "R22");
  EXPECT_EQ(r.Channel1.Tag, "R27");
  EXPECT_EQ(r.Channel2.Tag, "R32");
  EXPECT_EQ(r.Channel3Tag, "R37");  // the probe keeps the internal channel's name where model 0 has the input's
  EXPECT_EQ(r.Channel3UserOffset, Signed(Held(42)));
  EXPECT_EQ(r.LastCustomCalDay, 31);
  EXPECT_EQ(r.LastCustomCalMonth, 12);
  EXPECT_EQ(r.LastCustomCalYear, 0xA000 + 19);
  for (uint16_t i = 0; i < 10; ++i) {
    EXPECT_EQ(r.Channel1.CustomCalB[i], Signed(static_cast<uint16_t>(0xA000 + 20 + 2 * i))) << i;
    EXPECT_EQ(r.Channel1.CustomCalA[i], Signed(static_cast<uint16_t>(0xA000 + 21 + 2 * i))) << i;
    EXPECT_EQ(r.Channel2.CustomCalB[i], Signed(static_cast<uint16_t>(0xA000 + 40 + 2 * i))) << i;
    EXPECT_EQ(r.Channel2.CustomCalA[i], Signed(static_cast<uint16_t>(0xA000 + 41 + 2 * i))) << i;
  }

  r.DeviceConfig = Sent(7);
  r.Channel1.Config = Sent(8) & 0x3FF;
  r.Channel2.Config = Sent(9) & 0x1FF;
  r.Channel1.Filter = Sent(10);
  r.Channel2.Filter = Sent(11);
  r.Channel1.UnderflowValue = Signed(Sent(18));
  r.Channel1.OverflowValue = Signed(Sent(19));
  r.Channel2.UnderflowValue = Signed(Sent(20));
  r.Channel2.OverflowValue = Signed(Sent(21));
  r.Tag = SentText(22);
  r.Channel1.Tag = SentText(27);
  r.Channel2.Tag = SentText(32);
  r.Channel3Tag = SentText(37);
  r.Channel3UserOffset = static_cast<int16_t>(Sent(42));
  ASSERT_TRUE(device_.WriteConfiguration());
  for (uint16_t reg : {7, 10, 11, 18, 19, 20, 21, 42}) EXPECT_EQ(instrument.HoldingRegister(reg), Sent(reg)) << reg;
  // The configuration bits above the channel's are the instrument's own and stay.
  EXPECT_EQ(instrument.HoldingRegister(8), (Held(8) & ~0x3FF) | (Sent(8) & 0x3FF));
  EXPECT_EQ(instrument.HoldingRegister(9), (Held(9) & ~0x1FF) | (Sent(9) & 0x1FF));
  for (uint16_t first : {22, 27, 32, 37}) EXPECT_EQ(TextOf(instrument, first), SentText(first)) << first;
  // Registers the probe does not have for these fields are left alone.
  for (uint16_t reg : {12, 13, 14, 15, 16, 17}) EXPECT_EQ(instrument.HoldingRegister(reg), Held(reg)) << reg;
}

// The input type chooses the calibration registers and the limits of its group: a temperature
// input of type 0 has a pair of its own on each channel; type 3 shares the general pair; the
// linear inputs have theirs, 0 to 10 V one pair for both channels.
TEST_F(ConfigurationOnSimulator, Model0CalibrationLandsInItsGroupsRegistersWithinItsLimits) {
  sim::SimulatedInstrument& instrument = Start(sim::Model::Model0);
  ASSERT_TRUE(device_.ReadConfiguration());
  struct Group { int32_t type; uint16_t offsetRegister[2]; int32_t offsetMin, offsetMax, gainMin, gainMax; };
  for (const Group& g : {Group{0, {2, 10}, -250, 200, 9500, 10500}, Group{3, {4, 12}, -950, 600, 9400, 10400},
                         Group{9, {8, 16}, -950, 600, 9400, 10400}, Group{11, {18, 18}, -350, 100, 9500, 10500}}) {
    SCOPED_TRACE(g.type);
    for (int channel = 0; channel < 2; ++channel) {
      const uint16_t offset = g.offsetRegister[channel];
      EXPECT_EQ(DeviceInterface::GetCalRegister(channel, g.type), offset);
      // The ends of the range pass unchanged; one beyond is held at the end.
      ASSERT_TRUE(device_.WriteCalOffset(channel, g.type, DeviceInterface::ClampCalOffset(g.type, g.offsetMin - 1)));
      ASSERT_TRUE(device_.WriteCalGain(channel, g.type, DeviceInterface::ClampCalGain(g.type, g.gainMax + 1)));
      EXPECT_EQ(Signed(instrument.CalibrationRegister(offset)), g.offsetMin);
      EXPECT_EQ(Signed(instrument.CalibrationRegister(offset + 1)), g.gainMax);
      ASSERT_TRUE(device_.WriteCalOffset(channel, g.type, DeviceInterface::ClampCalOffset(g.type, g.offsetMax + 1)));
      ASSERT_TRUE(device_.WriteCalGain(channel, g.type, DeviceInterface::ClampCalGain(g.type, g.gainMin - 1)));
      EXPECT_EQ(Signed(instrument.CalibrationRegister(offset)), g.offsetMax);
      EXPECT_EQ(Signed(instrument.CalibrationRegister(offset + 1)), g.gainMin);
      EXPECT_EQ(DeviceInterface::ClampCalOffset(g.type, g.offsetMin), g.offsetMin);
      EXPECT_EQ(DeviceInterface::ClampCalGain(g.type, g.gainMax), g.gainMax);
      int32_t back = 0;
      ASSERT_TRUE(device_.ReadCalGain(channel, g.type, back));
      EXPECT_EQ(back, g.gainMin);
    }
    EXPECT_EQ(DeviceInterface::GetCalibrationLimit(g.type, false, false), g.offsetMin);
    EXPECT_EQ(DeviceInterface::GetCalibrationLimit(g.type, true, false), g.offsetMax);
    EXPECT_EQ(DeviceInterface::GetCalibrationLimit(g.type, false, true), g.gainMin);
    EXPECT_EQ(DeviceInterface::GetCalibrationLimit(g.type, true, true), g.gainMax);
  }
}

// An instrument that refuses a read twice is still read: each read is tried three times, and
// a read failing a third time fails the operation.
TEST_F(ConfigurationOnSimulator, EveryReadIsTriedThreeTimes) {
  sim::SimulatedInstrument& instrument = Start(sim::Model::Probe, 2);
  instrument.InjectFault(sim::FaultSpec::RefuseRegister(2, 2));           // register 2, read alone
  instrument.InjectFault(sim::FaultSpec::RefuseRegister(40, 2));          // the second chunk
  instrument.InjectFault(sim::FaultSpec::RefuseCalibrationRegister(30, 2));
  ASSERT_TRUE(device_.ReadConfiguration());
  ASSERT_TRUE(instrument.WaitForRequestCount(3 + 1 + 3 + 1 + 40 + 2 + 2, kPatience));
  std::vector<Request> requests = Requests();
  ASSERT_GE(requests.size(), 10u);
  EXPECT_EQ(std::vector<Request>(requests.begin(), requests.begin() + 3), std::vector<Request>(3, {3, 2}));
  EXPECT_EQ(requests[3], (Request{3, 0}));
  EXPECT_EQ(std::vector<Request>(requests.begin() + 4, requests.begin() + 7), std::vector<Request>(3, {3, 29}));
  EXPECT_EQ(std::count(requests.begin(), requests.end(), Request{70, 30}), 3);

  float values[5];
  instrument.ClearLog();
  instrument.InjectFault(sim::FaultSpec::RefuseRegister(4, 2));
  EXPECT_TRUE(device_.ReadValues(values, -999.0f));
  EXPECT_EQ(Requests(), std::vector<Request>(3, {3, 3}));

  instrument.ClearLog();
  instrument.InjectFault(sim::FaultSpec::RefuseCalibrationRegister(33, 3));
  EXPECT_FALSE(device_.ReadConfiguration());
  requests = Requests();
  EXPECT_EQ(std::count(requests.begin(), requests.end(), Request{70, 33}), 3);
  EXPECT_EQ(requests.back(), (Request{70, 33}));
}

}  // namespace
