// tervana-acquire's command line: what it takes, and what it refuses rather than run with
// something else than it was given.
#include <gtest/gtest.h>

#include "tools/acquire/acquire_options.h"

namespace {

using acquire::ParseAcquireOptions;

std::optional<acquire::AcquireOptions> Parse(std::vector<std::string> args, std::string* error = nullptr) {
  return ParseAcquireOptions(args, error);
}

TEST(AcquireOptions, IntervalsAreTakenAsGivenAtTheirLimits) {
  auto o = Parse({"--read-interval", "250", "--log-interval", "250"});
  ASSERT_TRUE(o);
  EXPECT_EQ(o->settings.readIntervalMs, 250);
  EXPECT_EQ(o->settings.logIntervalMs, 250);
  o = Parse({"--read-interval", "60000", "--log-interval", "3600000"});
  ASSERT_TRUE(o);
  EXPECT_EQ(o->settings.readIntervalMs, 60000);
  EXPECT_EQ(o->settings.logIntervalMs, 3600000);
  // Fast mode records down to 10 ms, whichever of the two options comes first.
  for (const auto& args : {std::vector<std::string>{"--log-interval", "10", "--fast"},
                           std::vector<std::string>{"--fast", "--log-interval", "10"}}) {
    o = Parse(args);
    ASSERT_TRUE(o) << args[0];
    EXPECT_EQ(o->settings.logIntervalMs, 10);
  }
  o = Parse({});
  ASSERT_TRUE(o);
  EXPECT_EQ(o->settings.readIntervalMs, 1000);
  EXPECT_EQ(o->settings.logIntervalMs, 1000);
}

struct Refusal {
  std::vector<std::string> args;
  std::string error;
};

TEST(AcquireOptions, WhatCannotBeRunAsGivenIsRefusedWithTheLimits) {
  const std::string read = "--read-interval takes 250 to 60000 ms";
  const std::string log = "--log-interval takes 250 (with --fast 10) to 3600000 ms";
  const Refusal refusals[] = {
      {{"--read-interval", "100"}, read},
      {{"--read-interval", "249"}, read},
      {{"--read-interval", "60001"}, read},
      {{"--read-interval", "-250"}, read},
      {{"--read-interval", "1e3"}, read},
      {{"--log-interval", "100"}, log},  // slow mode
      {{"--log-interval", "249"}, log},
      {{"--fast", "--log-interval", "9"}, log},
      {{"--log-interval", "0", "--fast"}, log},
      {{"--log-interval", "3600001", "--fast"}, log},
      {{"--log-interval", "99999999999999999999"}, log},
      // Only the instruments that windows show are read.
      {{"--show", "10:0x02", "--history", "h.mpc", "--trigger", ">=5@20:1"},
       "--trigger names instrument 20, which no --show shows"},
      {{"--history", "h.mpc", "--trigger", "<=5@10:1"}, "--trigger names instrument 10, which no --show shows"},
  };
  for (const Refusal& r : refusals) {
    std::string error;
    EXPECT_FALSE(Parse(r.args, &error)) << r.args.back();
    EXPECT_EQ(error, r.error) << r.args.back();
  }
}

TEST(AcquireOptions, ATriggerOnAShownInstrumentIsTaken) {
  const auto o = Parse({"--show", "10:0x02+20:0x01", "--history", "h.mpc", "--trigger", "<=-2.5@20:0"});
  ASSERT_TRUE(o);
  EXPECT_TRUE(o->settings.trigger.on);
  EXPECT_EQ(o->settings.trigger.comparison, 0);
  EXPECT_EQ(o->settings.trigger.level, -2.5);
  EXPECT_EQ(o->settings.trigger.sourceSerial, 20u);
  EXPECT_EQ(o->settings.trigger.sourceIndex, 0);
}

}  // namespace
