// The simulated instrument's framing, register map and faults, without a serial line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/sim/fault_plan.h"
#include "tools/sim/register_map.h"
#include "tools/sim/request_handler.h"
#include "tools/sim/rtu_frame.h"

namespace sim {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes WithCrc(Bytes frame) {
  AppendCrc(frame);
  return frame;
}

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(SimFrame, CrcMatchesPublishedVectors) {
  const std::string check = "123456789";
  EXPECT_EQ(Crc16(std::span(reinterpret_cast<const uint8_t*>(check.data()), check.size())), 0x4B37);
  EXPECT_EQ(WithCrc({0x01, 0x03, 0x00, 0x00, 0x00, 0x0A}),
            (Bytes{0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xC5, 0xCD}));
  EXPECT_FALSE(HasValidCrc(Bytes{0x01, 0x03, 0x00, 0x00, 0x00, 0x0A, 0xCD, 0xC5}));  // swapped
}

TEST(SimFrame, FindRequestSlidesOverNoiseAndWaitsForWholeFrames) {
  const Bytes read = WithCrc({10, 3, 0, 0, 0, 4});
  const Bytes write = WithCrc({10, 6, 0, 7, 0, 0x40});
  struct Case {
    const char* name;
    Bytes input;
    std::optional<size_t> offset;
    size_t length = 8;
  };
  const Case cases[] = {
      {"clean request", read, 0},
      {"noise before", Concat({0x00, 0xFF, 0x55}, read), 3},
      // The noise starts like a function 3 request that never completes; the real one behind it
      // must still be found.
      {"false start", Concat({10, 3, 0, 0}, read), 4},
      {"two requests: the first", Concat(read, write), 0},
      {"half a request", Bytes(read.begin(), read.begin() + 5), std::nullopt},
      {"bad CRC", Bytes{10, 3, 0, 0, 0, 4, 0x00, 0x00}, std::nullopt},
      {"noise only", Bytes{0xFF, 0xFF, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xAA}, std::nullopt},
      {"function 16 sized by its byte count", WithCrc({10, 16, 0, 7, 0, 1, 2, 0, 1}), 0, 11},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto found = FindRequest(c.input);
    ASSERT_EQ(found.has_value(), c.offset.has_value());
    if (!found) continue;
    EXPECT_EQ(found->offset, *c.offset);
    EXPECT_EQ(found->length, c.length);
  }
}

InstrumentOptions Options(Model model, uint16_t firmware, uint32_t serial = 12345678, int kind = 0) {
  InstrumentOptions o;
  o.model = model;
  o.firmware = firmware;
  o.serialNumber = serial;
  o.probeKind = kind;
  return o;
}

TEST(SimRegisters, IdentificationIsBcdSerialAndModelBits) {
  struct Case {
    InstrumentOptions options;
    uint16_t reg0, reg1, reg2;
  };
  const Case cases[] = {
      {Options(Model::Model0, 110, 12345678), 0x1234, 0x5678, 0x006E},
      {Options(Model::Model0, 109, 42), 0x0000, 0x0042, 0x006D},
      {Options(Model::Probe, 105, 99999999), 0x9999, 0x9999, 0x2069},
  };
  for (const Case& c : cases) {
    RegisterMap map(c.options);
    EXPECT_EQ(map.Holding(0), c.reg0);
    EXPECT_EQ(map.Holding(1), c.reg1);
    EXPECT_EQ(map.Holding(2), c.reg2);
  }
}

TEST(SimRegisters, RegisterTextPutsTheFirstCharacterInTheLowByte) {
  uint16_t regs[5];
  EncodeRegisterText("ABCDE", regs);
  EXPECT_EQ(regs[0], 0x4241);
  EXPECT_EQ(regs[2], 0x0045);
  EXPECT_EQ(regs[3], 0);
  EncodeRegisterText("0123456789XY", regs);  // cut to ten
  EXPECT_EQ(regs[4], 0x3938);
}

TEST(SimRegisters, ReadableRangesFollowModelAndFirmware) {
  struct Case {
    const char* name;
    InstrumentOptions options;
    uint16_t start, count;
    uint8_t expected;
  };
  const Case cases[] = {
      {"model 0 configuration block", Options(Model::Model0, 110), 0, 61, 0},
      {"model 0 counter block", Options(Model::Model0, 110), 64, 10, 0},
      {"past the counter reset", Options(Model::Model0, 110), 64, 11, kIllegalAddress},
      {"counter of old firmware", Options(Model::Model0, 109), 62, 2, kIllegalAddress},
      {"old firmware block", Options(Model::Model0, 109), 0, 61, 0},
      {"probe block", Options(Model::Probe, 105), 0, 59, 0},
      {"probe past its map", Options(Model::Probe, 105), 58, 3, kIllegalAddress},
      {"zero count", Options(Model::Model0, 110), 0, 0, kIllegalValue},
      {"count above 125", Options(Model::Model0, 110), 0, 126, kIllegalValue},
      {"range wrapping past 65535", Options(Model::Model0, 110), 65535, 2, kIllegalAddress},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RegisterMap map(c.options);
    std::vector<uint16_t> values;
    EXPECT_EQ(map.ReadHolding(c.start, c.count, values), c.expected);
    EXPECT_EQ(values.size(), c.expected == 0 ? c.count : 0u);
  }
}

TEST(SimRegisters, WritesAreRefusedOutsideTheConfigurationBlock) {
  struct Case {
    const char* name;
    InstrumentOptions options;
    uint16_t reg, value;
    uint8_t expected;
  };
  const Case cases[] = {
      {"serial", Options(Model::Model0, 110), 0, 1, kIllegalAddress},
      {"model and firmware", Options(Model::Model0, 110), 2, 0x2000, kIllegalAddress},
      {"live value", Options(Model::Model0, 110), 4, 1, kIllegalAddress},
      {"device configuration", Options(Model::Model0, 110), 7, 0x40, 0},
      {"last user offset", Options(Model::Model0, 110), 59, 5, 0},
      {"counter", Options(Model::Model0, 110), 63, 0, kIllegalAddress},
      {"decimal number", Options(Model::Model0, 110), 72, 2, 0},
      {"decimal number, old firmware", Options(Model::Model0, 109), 72, 2, kIllegalAddress},
      {"counter reset with 0", Options(Model::Model0, 110), 73, 0, kIllegalValue},
      {"probe kind", Options(Model::Probe, 105), 3, 1, kIllegalAddress},
      {"probe limits it does not have", Options(Model::Probe, 105), 12, 1, kIllegalAddress},
      {"probe internal offset", Options(Model::Probe, 105), 42, 3, 0},
      {"probe past its block", Options(Model::Probe, 105), 43, 3, kIllegalAddress},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RegisterMap map(c.options);
    const uint16_t before = map.Holding(c.reg);
    EXPECT_EQ(map.WriteHolding(c.reg, c.value), c.expected);
    EXPECT_EQ(map.Holding(c.reg), c.expected == 0 ? c.value : before);
  }
}

TEST(SimRegisters, CounterResetClearsBothWordsAndReadsZero) {
  RegisterMap map(Options(Model::Model0, 110));
  map.SetHolding(62, 0x0001);
  map.SetHolding(63, 0x8000);
  EXPECT_EQ(map.WriteHolding(73, 1), 0);
  EXPECT_EQ(map.Holding(62), 0);
  EXPECT_EQ(map.Holding(63), 0);
  EXPECT_EQ(map.Holding(73), 0);
}

TEST(SimRegisters, CalibrationSpaceDependsOnTheModel) {
  RegisterMap model0(Options(Model::Model0, 110));
  RegisterMap probe(Options(Model::Probe, 105, 1, 2));
  uint16_t value = 0;
  EXPECT_EQ(model0.ReadCalibration(2, value), 0);
  EXPECT_EQ(model0.ReadCalibration(20, value), 0);
  EXPECT_EQ(model0.ReadCalibration(21, value), kIllegalAddress);
  EXPECT_EQ(model0.WriteCalibration(1, 5), kIllegalAddress);
  EXPECT_EQ(probe.ReadCalibration(17, value), kIllegalAddress);
  EXPECT_EQ(probe.ReadCalibration(18, value), 0);
  EXPECT_EQ(value, (15 << 8) | 3);  // day in the high byte, month in the low one
  EXPECT_EQ(probe.WriteCalibration(59, 0x1234), 0);
  EXPECT_EQ(probe.Calibration(59), 0x1234);
  EXPECT_EQ(probe.ReadCalibration(60, value), kIllegalAddress);
  // A temperature-only probe has no second channel.
  EXPECT_EQ(probe.Holding(3), 2);
  EXPECT_EQ(probe.Holding(9), 0);
}

TEST(SimRequests, FunctionSeventyWantsACountOfOne) {
  RegisterMap map(Options(Model::Model0, 110));
  EXPECT_EQ(HandleRequest(map, WithCrc({10, 70, 0, 20, 0, 1})), WithCrc({10, 70, 2, 0, 35}));
  EXPECT_EQ(HandleRequest(map, WithCrc({10, 70, 0, 20, 0, 2})), WithCrc({10, 0xC6, kIllegalValue}));
  EXPECT_EQ(HandleRequest(map, WithCrc({10, 4, 0, 0, 0, 1})), WithCrc({10, 0x84, kIllegalFunction}));
}

TEST(SimFaults, EachFaultSpoilsExactlyItsCountOfRequests) {
  FaultPlan plan;
  plan.Add(FaultSpec::Silence(2));
  plan.Add(FaultSpec::RefuseRegister(5, 1));
  const RequestScope identification{0, 3, false};
  const RequestScope liveValues{3, 4, false};
  EXPECT_TRUE(plan.Take(identification, 10).silence);
  const ReplySpoiling second = plan.Take(liveValues, 10);
  EXPECT_TRUE(second.silence);
  EXPECT_EQ(second.exception, kIllegalAddress);  // the refusal is spent here
  const ReplySpoiling third = plan.Take(liveValues, 10);
  EXPECT_FALSE(third.silence);
  EXPECT_FALSE(third.exception);
  EXPECT_TRUE(plan.Empty());
  // Register 5 in the calibration space is not holding register 5.
  plan.Add(FaultSpec::RefuseCalibrationRegister(5));
  EXPECT_FALSE(plan.Take(liveValues, 10).exception);
  EXPECT_TRUE(plan.Take({5, 1, true}, 10).exception);
  EXPECT_FALSE(plan.Empty());
}

TEST(SimFaults, SpoiledRepliesAreWrongInExactlyTheIntendedWay) {
  const Bytes reply = WithCrc({10, 3, 2, 0x12, 0x34});
  ReplySpoiling wrongAddress;
  wrongAddress.address = 11;
  auto chunks = SpoilReply(reply, wrongAddress);
  ASSERT_EQ(chunks.size(), 1u);
  EXPECT_EQ(chunks[0].bytes, WithCrc({11, 3, 2, 0x12, 0x34}));  // still a valid frame

  ReplySpoiling badCrc;
  badCrc.badCrc = true;
  chunks = SpoilReply(reply, badCrc);
  EXPECT_FALSE(HasValidCrc(chunks[0].bytes));
  EXPECT_EQ(Bytes(chunks[0].bytes.begin(), chunks[0].bytes.end() - 2), Bytes(reply.begin(), reply.end() - 2));

  ReplySpoiling gapAndNoise;
  gapAndNoise.noise = {0xFF, 0x00};
  gapAndNoise.gapAfterBytes = 3;
  gapAndNoise.gapMs = 40;
  gapAndNoise.delayMs = 7;
  chunks = SpoilReply(reply, gapAndNoise);
  ASSERT_EQ(chunks.size(), 2u);
  EXPECT_EQ(chunks[0].bytes, (Bytes{0xFF, 0x00, 10, 3, 2}));
  EXPECT_EQ(chunks[0].waitMs, 7u);
  EXPECT_EQ(chunks[1].waitMs, 40u);
  EXPECT_EQ(chunks[0].logAs, Concat({0xFF, 0x00}, reply));
}

TEST(SimFaults, CommandLineFormIsReadStrictly) {
  std::string error;
  auto delay = ParseFaultSpec("delay=250:3", &error);
  ASSERT_TRUE(delay) << error;
  EXPECT_EQ(delay->kind, FaultKind::Delay);
  EXPECT_EQ(delay->milliseconds, 250u);
  EXPECT_EQ(delay->count, 3);
  auto gap = ParseFaultSpec("gap=30@5");
  ASSERT_TRUE(gap);
  EXPECT_EQ(gap->gapAfterBytes, 5u);
  EXPECT_EQ(gap->count, FaultSpec::kForever);
  auto refuse = ParseFaultSpec("refusecal=20:1");
  ASSERT_TRUE(refuse);
  EXPECT_TRUE(refuse->calibrationSpace);
  for (const char* bad : {"", "delay", "delay=x", "silence=3", "silence:0", "silence:-1",
                          "wrongaddr=256", "refuse=70000", "gap=10@", "spin"}) {
    SCOPED_TRACE(bad);
    error.clear();
    EXPECT_FALSE(ParseFaultSpec(bad, &error));
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace sim
