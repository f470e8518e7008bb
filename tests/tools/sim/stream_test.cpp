// The simulated instrument's streamed records: their text, their period, and their faults.
#include <gtest/gtest.h>

#include <algorithm>

#include "tools/sim/stream_fault.h"
#include "tools/sim/stream_output.h"

namespace sim {
namespace {

InstrumentOptions Options(Model model, uint16_t firmware, int kind = 0) {
  InstrumentOptions o;
  o.model = model;
  o.firmware = firmware;
  o.probeKind = kind;
  return o;
}

TEST(SimStream, FixedPointTextKeepsSignAndLeadingZeros) {
  EXPECT_EQ(FixedPointText(-5, 1, '.'), "-0.5");
  EXPECT_EQ(FixedPointText(4250, 2, ','), "42,50");
  EXPECT_EQ(FixedPointText(7, 3, '.'), "0.007");
  EXPECT_EQ(FixedPointText(-32768, 0, '.'), "-32768");
}

TEST(SimStream, FieldsFollowWhatTheInstrumentConverts) {
  RegisterMap model0(Options(Model::Model0, 110));
  model0.SetHolding(4, static_cast<uint16_t>(-125));
  EXPECT_EQ(StreamRecordText(StreamFieldTexts(model0, '.'), 42), "#0;-12.5;42.50;24.1;1234;42\r\n");
  model0.SetHolding(7, 0x0001);  // ambient off
  model0.SetHolding(9, 0x000A);  // channel 2 not converted
  EXPECT_EQ(StreamRecordText(StreamFieldTexts(model0, '.'), 1), "#0;-12.5;;;1234;1\r\n");
  RegisterMap old(Options(Model::Model0, 109));
  EXPECT_EQ(StreamFieldTexts(old, '.')[4], "");  // no counter before firmware 1.10
  RegisterMap humidity(Options(Model::Probe, 105, 0));
  EXPECT_EQ(StreamRecordText(StreamFieldTexts(humidity, ','), 9), "#0;55,2;23,1;24,5;;9\r\n");
  RegisterMap couple(Options(Model::Probe, 105, 2));
  EXPECT_EQ(StreamRecordText(StreamFieldTexts(couple, '.'), 9), "#2;23.1;;24.5;;9\r\n");
}

TEST(SimStream, PeriodFromRateFilterAndConversions) {
  RegisterMap model0(Options(Model::Model0, 110));
  EXPECT_DOUBLE_EQ(StreamPeriodMs(model0), 125.0);  // Pt100 (2) + linear (1) + ambient, rate 1
  model0.SetHolding(7, 0x0004);                     // 50 Hz filter, rate 0, ambient off: 3 conversions
  EXPECT_DOUBLE_EQ(StreamPeriodMs(model0), double(3 * 8.3f));
  model0.SetHolding(9, 0x0000);  // only the Pt100 left: 2 conversions, even: the filter's extra
  EXPECT_DOUBLE_EQ(StreamPeriodMs(model0), double(2 * 8.3f + 8.3f));
  RegisterMap humidity(Options(Model::Probe, 105, 0));
  EXPECT_DOUBLE_EQ(StreamPeriodMs(humidity), 1000.0);
  humidity.SetHolding(7, 0x0002);
  EXPECT_DOUBLE_EQ(StreamPeriodMs(humidity), 3000.0);
  RegisterMap couple(Options(Model::Probe, 105, 3));  // couple and its cold junction
  EXPECT_DOUBLE_EQ(StreamPeriodMs(couple), 2 * 7.8125);
}

TEST(SimStream, FaultsSpoilTheirRecordsOnly) {
  const StreamFields fields = {"1", "2", "3", "4", "5"};
  StreamFaultPlan plan;
  plan.Add(StreamFault::MissingField());
  plan.Add(StreamFault::BadNumber("inf", 2, 2));
  plan.Add(StreamFault::TimeJump(500));
  RecordSpoiling first = plan.Take();
  EXPECT_EQ(first.clockJumpMs, 500u);
  EXPECT_EQ(SpoiledRecordText(fields, 7, first), "#1;2;inf;4;7\r\n");
  EXPECT_EQ(SpoiledRecordText(fields, 7, plan.Take()), "#1;2;inf;4;5;7\r\n");
  EXPECT_TRUE(plan.Empty());
  EXPECT_EQ(SpoiledRecordText(fields, 7, plan.Take()), "#1;2;3;4;5;7\r\n");

  // A step back is a jump the other way round the 32-bit clock; a pause spoils no text.
  plan.Add(StreamFault::ClockBack(700));
  plan.Add(StreamFault::Pause(3000));
  const RecordSpoiling stepped = plan.Take();
  EXPECT_EQ(static_cast<uint32_t>(5000 + stepped.clockJumpMs), 4300u);
  EXPECT_EQ(stepped.pauseMs, 3000u);
  EXPECT_TRUE(plan.Empty());

  plan.Add(StreamFault::Junk(3));
  plan.Add(StreamFault::ZeroBytes(2));
  plan.Add(StreamFault::ExtraField());
  const std::string spoiled = SpoiledRecordText(fields, 7, plan.Take());
  EXPECT_EQ(spoiled.substr(0, 4), "xq@#");
  EXPECT_EQ(std::count(spoiled.begin(), spoiled.end(), '\0'), 2);
  std::string clean = spoiled;
  std::erase(clean, '\0');
  EXPECT_EQ(clean, "xq@#1;2;3;4;5;0;7\r\n");
}

TEST(SimStream, CommandLineFormIsReadStrictly) {
  auto zero = ParseStreamFault("zero=3:5");
  ASSERT_TRUE(zero);
  EXPECT_EQ(zero->kind, StreamFaultKind::ZeroBytes);
  EXPECT_EQ(zero->bytes, 3u);
  EXPECT_EQ(zero->count, 5);
  auto jump = ParseStreamFault("jump=60000");
  ASSERT_TRUE(jump);
  EXPECT_EQ(jump->milliseconds, 60000u);
  EXPECT_EQ(jump->count, 1);
  EXPECT_EQ(ParseStreamFault("badnum=inf")->text, "inf");
  auto back = ParseStreamFault("back=500:2");
  ASSERT_TRUE(back);
  EXPECT_EQ(back->kind, StreamFaultKind::ClockBack);
  EXPECT_EQ(back->count, 2);
  auto pause = ParseStreamFault("pause=3000");
  ASSERT_TRUE(pause);
  EXPECT_EQ(pause->kind, StreamFaultKind::Pause);
  EXPECT_EQ(pause->milliseconds, 3000u);
  for (const char* bad : {"", "jump", "jump=0", "zero=0", "missing=2", "badnum=", "badnum=a;b", "junk:0", "spin",
                          "back", "back=0", "pause", "pause=0", "pause=3000:2"}) {
    SCOPED_TRACE(bad);
    std::string error;
    EXPECT_FALSE(ParseStreamFault(bad, &error));
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace sim
