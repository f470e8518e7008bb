// The calibration pages' rules without widgets: typed values, the grid's order, the 40
// register values a write sends, the last calibration's date, and the factory constants'
// limits, clamps and arrows.
#include <gtest/gtest.h>

#include <vector>

#include "devconfig/custom_calibration.h"
#include "devconfig/factory_calibration.h"

namespace {

using devconfig::AddOutcome;
using devconfig::CalibrationGrid;
using devconfig::CalibrationPoint;
using devconfig::FactoryConstant;
using devconfig::FactoryRange;

constexpr int16_t kEmpty = -32768;

std::vector<int16_t> Indications(const CalibrationGrid& g) {
  std::vector<int16_t> v;
  for (const CalibrationPoint& p : g.Points()) v.push_back(p.indication);
  return v;
}

TEST(CustomCalibrationEntry, TypedValuesBecomeTheTenthsTheGridShows) {
  struct Case {
    const char* text;
    std::optional<int16_t> tenths;
  } cases[] = {
      {"25.3", 253},     {"25,3", 253},   {"25.34", 253},  {" 25.35 ", 254},  // single precision 25.3500004
      {"0.25", 3},       {"-0.25", -3},   {"0.04", 0},     {"-0.04", 0},      {"1e2", 1000},
      {"3276.7", 32767}, {"-3276.7", -32767},
      // Beyond 16 bits, or the empty marker: refused rather than wrapped or lost.
      {"3276.75", std::nullopt}, {"-3276.8", std::nullopt}, {"5000", std::nullopt}, {"1e30", std::nullopt},
      {"", std::nullopt}, {"abc", std::nullopt}, {"1.2.3", std::nullopt}, {"1,5.0", std::nullopt},
      {"nan", std::nullopt}, {"inf", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(devconfig::TypedTenths(c.text), c.tenths) << c.text;
  EXPECT_EQ(devconfig::RowTexts(0, {253, -5}, ','), (devconfig::CalibrationRowTexts{"1", "25,3", "-0,5"}));
  EXPECT_EQ(devconfig::RowTexts(9, {0, -32767}, '.'), (devconfig::CalibrationRowTexts{"10", "0.0", "-3276.7"}));
}

// Sorting, refusals, the ten-point limit and deleting are the dialog's test; these are the
// grid's own ties.
TEST(CustomCalibrationGrid, EqualIndicationsGoAfterAndAFullGridRefusesFirst) {
  CalibrationGrid g;
  EXPECT_EQ(g.Add("20", "20.1"), AddOutcome::Added);
  // Equal indications as shown: the new point goes after the one already there.
  EXPECT_EQ(g.Add("21", "20.14"), AddOutcome::Added);
  EXPECT_EQ(g.Points()[1], (CalibrationPoint{210, 201}));
  EXPECT_EQ(g.Add("0", "-5"), AddOutcome::Added);
  EXPECT_EQ(Indications(g).front(), -50);
  while (g.Points().size() < 10) ASSERT_EQ(g.Add("50", "50"), AddOutcome::Added);
  EXPECT_EQ(g.Add("bad", "bad"), AddOutcome::Full);  // the count is checked first
}

TEST(CustomCalibrationGrid, TakesAChannelsPointsWithoutItsGaps) {
  Channel c;
  c.CustomCalB.fill(Channel::kEmptyCalibrationPoint);
  c.CustomCalA.fill(Channel::kEmptyCalibrationPoint);
  EXPECT_TRUE(devconfig::PresentPoints(c).empty());
  c.CustomCalB[0] = 100;
  c.CustomCalA[0] = 101;
  c.CustomCalB[3] = 300;  // pairs 1 and 2 empty
  c.CustomCalA[3] = 298;
  c.CustomCalB[9] = -32767;
  c.CustomCalA[9] = Channel::kEmptyCalibrationPoint;  // the standard decides presence
  EXPECT_EQ(devconfig::PresentPoints(c),
            (std::vector<CalibrationPoint>{{100, 101}, {300, 298}, {-32767, kEmpty}}));
}

struct Question {
  bool humidity;
  size_t row;
  bool operator==(const Question&) const = default;
};

// Where each probe kind's points go in the image is the dialog's test against simulated probes.
TEST(CustomCalibrationImage, StandardsNotAscendingAreQuestionedInRegisterOrder) {
  // Equal standards in both grids: the humidity point of a row is asked before the
  // temperature point of the same row.
  const std::vector<CalibrationPoint> temperature{{100, 100}, {100, 110}, {90, 120}};
  const std::vector<CalibrationPoint> humidity{{500, 500}, {400, 600}};
  std::vector<Question> asked;
  auto answer = [&asked](bool yes) {
    return [&asked, yes](bool humidity, size_t row) {
      asked.push_back({humidity, row});
      return yes;
    };
  };
  const auto kept = devconfig::CustomCalibrationImage(temperature, humidity, true, answer(true));
  ASSERT_TRUE(kept);
  EXPECT_EQ(asked, (std::vector<Question>{{true, 1}, {false, 1}, {false, 2}}));
  EXPECT_EQ((*kept)[24], 90);  // a point confirmed is written as it is

  asked.clear();
  EXPECT_FALSE(devconfig::CustomCalibrationImage(temperature, humidity, true, answer(false)));
  EXPECT_EQ(asked, (std::vector<Question>{{true, 1}}));  // the first "No" ends it
}

TEST(CustomCalibrationDate, OnlyARealDateIsShown) {
  DeviceRegs r;
  r.LastCustomCalDay = 5;
  r.LastCustomCalMonth = 3;
  r.LastCustomCalYear = 2024;
  const auto date = devconfig::LastCalibrationDate(r);
  ASSERT_TRUE(date);
  EXPECT_EQ(date->day, 5);
  EXPECT_EQ(date->month, 3);
  EXPECT_EQ(date->year, 2024);
  for (auto [d, m, y] : {std::tuple{0, 0, 0}, {31, 2, 2024}, {29, 2, 2023}, {255, 255, 65535}, {1, 13, 2024}}) {
    r.LastCustomCalDay = static_cast<uint8_t>(d);
    r.LastCustomCalMonth = static_cast<uint8_t>(m);
    r.LastCustomCalYear = y;
    EXPECT_FALSE(devconfig::LastCalibrationDate(r)) << d << "/" << m << "/" << y;
  }
}

TEST(FactoryCalibration, GroupsLimitsAndClampBeforeNarrowing) {
  // A type no group names falls in the thermocouples' group.
  EXPECT_EQ(devconfig::FactoryLimits(FactoryConstant::Offset, 200), (FactoryRange{-950, 600}));
  EXPECT_EQ(devconfig::FactoryWriteValue(" +12 ", FactoryConstant::Offset, 9), 12);
  // 65286 is -250 in 16 bits: the whole number is clamped first, so it writes the maximum.
  EXPECT_EQ(devconfig::FactoryWriteValue("65286", FactoryConstant::Offset, 0), 200);
  EXPECT_EQ(devconfig::FactoryWriteValue("-65436", FactoryConstant::Gain, 10), 9300);
  EXPECT_EQ(devconfig::FactoryWriteValue("2147483647", FactoryConstant::Ambient, 0), 1300);
  for (const char* text : {"abc", "", "1.5", "12a", "2147483648", "--1", "+-1"})
    EXPECT_FALSE(devconfig::FactoryWriteValue(text, FactoryConstant::Offset, 0)) << text;

}

TEST(FactoryCalibration, ArrowsStepWithinTheirLimits) {
  const FactoryRange offset{-250, 200};
  EXPECT_EQ(devconfig::StepFactoryValue("12", 1, offset), 13);
  EXPECT_EQ(devconfig::StepFactoryValue("12", -1, offset), 11);
  EXPECT_FALSE(devconfig::StepFactoryValue("200", 1, offset));
  EXPECT_EQ(devconfig::StepFactoryValue("700", 1, offset), 200);  // a value read beyond them comes back in
  EXPECT_FALSE(devconfig::StepFactoryValue("???", 1, offset));
  // Without a device every limit is 0: the arrows hold the edit at 0.
  EXPECT_FALSE(devconfig::StepFactoryValue("0", 1, FactoryRange{}));
  EXPECT_EQ(devconfig::StepFactoryValue("5", -1, FactoryRange{}), 0);
}

}  // namespace
