// Fixed-point texts, the exit checks and arrow steps of the dialog's fields, without widgets.
#include <gtest/gtest.h>

#include <limits>

#include "devconfig/field_rules.h"
#include "devconfig/fixed_point.h"

namespace {

using namespace devconfig;

TEST(FixedPoint, Format) {
  struct Case {
    int64_t value;
    uint16_t decimals;
    const char* text;
  };
  const Case cases[] = {
      {1000, 1, "100.0"}, {5, 2, "0.05"},     {-5, 2, "-0.05"}, {-5, 1, "-0.5"},     {0, 0, "0"},
      {0, 3, "0.000"},    {-30000, 0, "-30000"}, {12345, 5, "0.12345"},
      // Six and seven decimals: a channel's register may hold them, and its fields must show them.
      {1234567, 6, "1.234567"}, {-1, 7, "-0.0000001"}, {32767, 7, "0.0032767"},
      {std::numeric_limits<int64_t>::min(), 0, "-9223372036854775808"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatFixedPoint(c.value, c.decimals), c.text) << c.value << "/" << c.decimals;
  EXPECT_EQ(FormatFixedPoint(-5, 2, ','), "-0,05");
}

TEST(FixedPoint, Parse) {
  struct Case {
    const char* text;
    std::optional<FixedPoint> value;
  };
  const Case cases[] = {
      {"100.0", FixedPoint{1000, 1}}, {"2,50", FixedPoint{250, 2}}, {".5", FixedPoint{5, 1}},
      {"7.", FixedPoint{7, 0}},       {"-0.05", FixedPoint{-5, 2}}, {"-.5", FixedPoint{-5, 1}},
      {" 12 ", FixedPoint{12, 0}},    {"+3", FixedPoint{3, 0}},     {"2147483647", FixedPoint{2147483647, 0}},
      {"-214748364.8", FixedPoint{-2147483648, 1}},
      {"1.2.3", std::nullopt},  {"1.2,3", std::nullopt}, {"", std::nullopt},     {".", std::nullopt},
      {"-", std::nullopt},      {"+-5", std::nullopt},   {".-5", std::nullopt},  {"1e3", std::nullopt},
      {"0x10", std::nullopt},   {"2147483648", std::nullopt}, {"12a", std::nullopt}, {"1 2", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseFixedPoint(c.text), c.value) << c.text;

  EXPECT_EQ(ParseFixedPoint64("4294967295"), (FixedPoint64{4294967295LL, 0}));
  EXPECT_EQ(ParseFixedPoint64("-9223372036854775808"), (FixedPoint64{std::numeric_limits<int64_t>::min(), 0}));
  EXPECT_FALSE(ParseFixedPoint64("9223372036854775808"));
}

TEST(FixedPoint, RealNumbersAndFactorText) {
  EXPECT_EQ(ParseFloatText("1,5"), 1.5);
  EXPECT_EQ(ParseFloatText("-2.5e3"), -2500.0);
  EXPECT_EQ(ParseFloatText("+.25"), 0.25);
  EXPECT_EQ(ParseFloatText("3."), 3.0);
  for (const char* bad : {"inf", "-INF", "nan", "NaN", "1e999", "", "1,2.3", "1.2.3", "0x1p3", "e5", "1e", "1 5", "."})
    EXPECT_FALSE(ParseFloatText(bad)) << bad;

  EXPECT_EQ(FormatScale(1.0), "1.0");
  EXPECT_EQ(FormatScale(0.125, ','), "0,125");
  EXPECT_EQ(FormatScale(1.0 / 3), "0.33333333");
  EXPECT_EQ(FormatScale(-2.5), "-2.5");
  EXPECT_EQ(FormatScale(123456.0), "123456.0");

  EXPECT_EQ(FormatDecimals(12.34f, 2), "12.34");
  EXPECT_EQ(FormatDecimals(-0.04, 1), "0.0");  // no "-0.0"
  EXPECT_EQ(FormatDecimals(7.6, 0), "8");
  EXPECT_EQ(FormatDecimals(2.5, 1, ','), "2,5");
}

TEST(FieldChecks, RangesApplyToTheRawValueAsTyped) {
  EXPECT_EQ(CheckFixedPointField("3276.7", kLimitRange), (FixedPoint{32767, 1}));
  EXPECT_FALSE(CheckFixedPointField("32768", kLimitRange));
  EXPECT_FALSE(CheckFixedPointField("-32768", kLimitRange));
  EXPECT_FALSE(CheckFixedPointField("99999", kLimitRange));
  EXPECT_EQ(CheckFixedPointField("0.00001", kLimitRange), (FixedPoint{1, 5}));
  EXPECT_FALSE(CheckFixedPointField("0.000001", kLimitRange));  // six decimals are not typed
  EXPECT_FALSE(CheckFixedPointField("1.5,0", kLimitRange));
  EXPECT_EQ(CheckFixedPointField("-300.0", kChannelOffsetRange), (FixedPoint{-3000, 1}));
  EXPECT_FALSE(CheckFixedPointField("300.1", kChannelOffsetRange));
  EXPECT_EQ(CheckFixedPointField("35", kAmbientOffsetRange), (FixedPoint{35, 0}));
  EXPECT_FALSE(CheckFixedPointField("30.1", kAmbientOffsetRange));
}

TEST(FieldChecks, NewDecimalCountMovesTheMarkOfAllFive) {
  const ChannelFieldTexts fields{"100.0", "0.0", "110.0", "-10.0", "0.5"};
  const auto moved = WithDecimalCount(fields, 2, '.');
  ASSERT_TRUE(moved);
  EXPECT_EQ(*moved, (ChannelFieldTexts{"10.00", "0.00", "11.00", "-1.00", "0.05"}));
  EXPECT_EQ(*WithDecimalCount(fields, 0, ','), (ChannelFieldTexts{"1000", "0", "1100", "-100", "5"}));
  ChannelFieldTexts broken = fields;
  broken[kUnderflow] = "abc";
  EXPECT_FALSE(WithDecimalCount(broken, 2, '.'));
}

TEST(FieldChecks, AmbientOffsetKeepsOneDecimal) {
  struct Case {
    const char* typed;
    int32_t tenths;
  };
  const Case cases[] = {{"1.25", 12}, {"-1.25", -12}, {"3", 30}, {"35", 350}, {"0.5", 5}, {"-0.099", 0}, {"2.99", 29}};
  for (const Case& c : cases) {
    const auto value = CheckFixedPointField(c.typed, kAmbientOffsetRange);
    ASSERT_TRUE(value) << c.typed;
    EXPECT_EQ(AmbientOffsetTenths(*value), c.tenths) << c.typed;
  }
  EXPECT_FALSE(CheckFixedPointField("29.99", kAmbientOffsetRange));  // the range holds the digits as typed
  EXPECT_EQ(FormatFixedPoint(AmbientOffsetTenths({-125, 2}), 1), "-1.2");
  EXPECT_EQ(FormatFixedPoint(AmbientOffsetTenths({3, 0}), 1), "3.0");
}

TEST(FieldChecks, ArrowsStepTheRawValueWithinTheRange) {
  EXPECT_EQ(StepFixedPointField("0.5", 1, kChannelOffsetRange, '.'), "0.6");
  EXPECT_EQ(StepFixedPointField("-0.1", 1, kChannelOffsetRange, '.'), "0.0");
  EXPECT_EQ(StepFixedPointField("10.00", -1, kLimitRange, ','), "9,99");
  EXPECT_FALSE(StepFixedPointField("300.0", 1, kChannelOffsetRange, '.'));  // at the end: left alone
  EXPECT_EQ(StepFixedPointField("300.0", -1, kChannelOffsetRange, '.'), "299.9");
  EXPECT_FALSE(StepFixedPointField("-3276.7", -1, kLimitRange, '.'));
  EXPECT_FALSE(StepFixedPointField("abc", 1, kLimitRange, '.'));
  EXPECT_FALSE(StepFixedPointField("30.0", 1, kAmbientOffsetRange, '.'));

  EXPECT_EQ(StepWholeNumberField("65534", 1, kDebounceRange), "65535");
  EXPECT_FALSE(StepWholeNumberField("65535", 1, kDebounceRange));
  EXPECT_FALSE(StepWholeNumberField("0", -1, kCounterDecimalsRange));
  EXPECT_EQ(StepWholeNumberField("4294967294", 1, kCountingResetRange), "4294967295");
  EXPECT_FALSE(StepWholeNumberField("4294967295", 1, kCountingResetRange));
  EXPECT_FALSE(StepWholeNumberField("9223372036854775807", 1, kCountingResetRange));
  EXPECT_EQ(StepWholeNumberField("2.5", 1, kDebounceRange), "26");  // the raw digits step

  EXPECT_EQ(CheckWholeNumberField("4294967295", kCountingResetRange), 4294967295LL);
  EXPECT_FALSE(CheckWholeNumberField("4294967296", kCountingResetRange));
  EXPECT_FALSE(CheckWholeNumberField("70000", kResetRange));
  EXPECT_FALSE(CheckWholeNumberField("0", kDebounceRange));
  EXPECT_FALSE(CheckWholeNumberField("1.0", kDebounceRange));
  EXPECT_EQ(CheckWholeNumberField("8", kCounterDecimalsRange), 8);
  EXPECT_FALSE(CheckWholeNumberField("9", kCounterDecimalsRange));
}

}  // namespace
