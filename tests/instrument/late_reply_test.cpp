// An instrument that answers after the read time-out: its late reply must never be taken for
// a later request's. The simulated instrument delays every reply; each register holds a value
// of its own, so a reply taken for the wrong request shows as a register off by a block.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "instrument/device_interface.h"
#include "tests/instrument/pty_pair.h"
#include "tools/sim/simulated_instrument.h"

namespace {

constexpr int kPort = 5;

struct Case {
  const char* name;
  sim::Model model;
  uint32_t delayMs;
  bool withinTimeouts;  // then the read must succeed
};
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class LateReplies : public ::testing::TestWithParam<Case> {};

// Every holding register the configuration block reads, and every calibration register of
// the probe, holds a value no other holds; register 2 keeps the model and firmware, register
// 3 the probe's kind.
void MakeEveryRegisterDistinct(sim::SimulatedInstrument& instrument) {
  for (uint16_t r = 0; r <= 72; ++r) {
    if (r == 2 || r == 3) continue;
    instrument.SetHoldingRegister(r, static_cast<uint16_t>(0x4000 + 0x0101 * r));
  }
  for (uint16_t r = 18; r <= 59; ++r) instrument.SetCalibrationRegister(r, static_cast<uint16_t>(0x6000 + 0x0101 * r));
}

TEST_P(LateReplies, AReadEitherFailsOrHoldsExactlyTheInstrumentsRegisters) {
  const Case& c = GetParam();
  testing_support::TempPortFolder folder;
  sim::InstrumentOptions options;
  options.model = c.model;
  options.firmware = c.model == sim::Model::Probe ? 105 : 110;
  sim::SimulatedInstrument instrument(options);
  std::string error;
  ASSERT_TRUE(instrument.Start(folder.path(), kPort, &error)) << error;
  MakeEveryRegisterDistinct(instrument);
  instrument.InjectFault(sim::FaultSpec::Delay(c.delayMs));

  DeviceInterface device(kPort);
  ASSERT_TRUE(device.OpenPort()) << device.GetErrorText();
  if (!device.ReadConfiguration()) {
    EXPECT_FALSE(c.withinTimeouts);
    EXPECT_FALSE(device.IsReady());
    return;
  }
  const RegisterImage& image = device.GetRegisterImage();
  const bool probe = c.model == sim::Model::Probe;
  const uint16_t lastLow = probe ? 58 : 60;
  for (uint16_t r = 0; r <= lastLow; ++r) EXPECT_EQ(image.Register(r), instrument.HoldingRegister(r)) << "register " << r;
  if (probe) {
    for (uint16_t r = 18; r <= 59; ++r)
      EXPECT_EQ(image.Calibration(r), instrument.CalibrationRegister(r)) << "calibration register " << r;
  } else {
    for (uint16_t r = 64; r <= 72; ++r) EXPECT_EQ(image.Register(r), instrument.HoldingRegister(r)) << "register " << r;
  }
}

// Time-outs: 86 ms for one register, 198 ms for 29. A delay within every time-out reads
// normally; beyond, replies come later than one time-out (the probe's calibration registers
// are read one by one) and later than twice the shortest one (model 0).
const Case kCases[] = {
    {"model 0, replies 30 ms late", sim::Model::Model0, 30, true},
    {"probe, replies 100 ms late", sim::Model::Probe, 100, false},
    {"model 0, replies 250 ms late", sim::Model::Model0, 250, false},
};
INSTANTIATE_TEST_SUITE_P(Delays, LateReplies, ::testing::ValuesIn(kCases));

}  // namespace
