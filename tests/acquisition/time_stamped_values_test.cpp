// The time-slot merger: where readings land, how slots are completed and taken, and that
// no reading, however odd its time or values, makes it grow without bound or stall.
#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "acquisition/time_stamped_values.h"

namespace {

using acquisition::TimeStampedValues;

constexpr double kStep = 1.0 / 86400.0;  // one second
constexpr TDateTime kStart = 46000.5;

std::array<float, 5> Five(float v) { return {v, v + 0.5f, v + 1, v + 1.5f, v + 2}; }

struct Op {
  enum Kind { kAdd, kRemove } kind = kAdd;
  uint16_t device = 0;
  double atSteps = 0;  // reading time in steps after the start; for kRemove the slot number
  float value = 0;
};
Op Add(uint16_t device, double atSteps, float value) { return {Op::kAdd, device, atSteps, value}; }
Op Remove(int64_t slot) { return {Op::kRemove, 0, static_cast<double>(slot), 0}; }

// Per slot: value 0 of each device when the slot can be taken, nothing when it can't.
using SlotValues = std::optional<std::vector<float>>;

struct MergerCase {
  const char* name;
  uint16_t devices;
  std::vector<Op> ops;
  std::vector<std::pair<int64_t, SlotValues>> slots;
  size_t slotCount;
  int64_t firstSlot = 0;
};

class MergerCases : public testing::TestWithParam<MergerCase> {};

TEST_P(MergerCases, LandAndCompleteAsExpected) {
  const MergerCase& c = GetParam();
  TimeStampedValues merger(c.devices, kStep, 0.0);
  merger.SetStart(kStart);
  for (const Op& op : c.ops) {
    if (op.kind == Op::kAdd) {
      const auto five = Five(op.value);
      merger.Add(op.device, kStart + op.atSteps * kStep, five);
    } else {
      merger.RemoveSlot(static_cast<int64_t>(op.atSteps));
    }
  }
  EXPECT_EQ(merger.SlotCount(), c.slotCount);
  EXPECT_EQ(merger.FirstSlot(), c.firstSlot);
  for (const auto& [slot, expected] : c.slots) {
    SCOPED_TRACE("slot " + std::to_string(slot));
    const std::span<const float> got = merger.TakeSlot(slot);
    ASSERT_EQ(!got.empty(), expected.has_value());
    if (!expected) continue;
    ASSERT_EQ(got.size(), expected->size() * 5);
    for (size_t d = 0; d < expected->size(); ++d) {
      EXPECT_EQ(got[d * 5], (*expected)[d]) << "device " << d;
      EXPECT_EQ(got[d * 5 + 4], (*expected)[d] + 2) << "device " << d << " keeps its five values together";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Merger, MergerCases,
    testing::Values(
        // Device 1 at T + 0.2 s makes slot T (device 0 still missing) and slot T + 1 s; device
        // 0 at T + 0.4 s completes slot T + 1 s, and slot T takes device 0 from it.
        MergerCase{"SecondDeviceCompletesAndBackFills", 2, {Add(1, 0.2, 10), Add(0, 0.4, 20)},
                   {{0, std::vector<float>{20, 10}}, {1, std::vector<float>{20, 10}}}, 2},
        MergerCase{"FirstReadingLeavesTheOtherDeviceMissing", 2, {Add(1, 0.2, 10)},
                   {{0, std::nullopt}, {1, std::nullopt}, {2, std::nullopt}}, 2},
        MergerCase{"AReadingAtASlotTimeGoesIntoThatSlot", 1, {Add(0, 0, 1), Add(0, 1, 2), Add(0, 1, 3)},
                   {{0, std::vector<float>{1}}, {1, std::vector<float>{3}}}, 2},
        // 3.5 steps after the last slot: four new slots, the three in between hold it too.
        MergerCase{"AReadingStepsAheadFillsTheSlotsOnTheWay", 2, {Add(0, 0, 1), Add(1, 0, 2), Add(0, 3.5, 5)},
                   {{0, std::vector<float>{1, 2}},
                    {1, std::vector<float>{5, 2}},
                    {3, std::vector<float>{5, 2}},
                    {4, std::vector<float>{5, 2}}},
                   5},
        // Older than the newest slot: it lands there, not in the slot of its time.
        MergerCase{"ALateReadingLandsInTheNewestSlot", 2,
                   {Add(0, 0, 1), Add(1, 0, 2), Add(0, 2, 3), Add(1, 0.5, 4)},
                   {{1, std::vector<float>{3, 2}}, {2, std::vector<float>{3, 4}}}, 3},
        MergerCase{"AnIncompleteSlotIsCompletedByALaterCompleteOne", 2,
                   {Add(0, 0.1, 1), Add(0, 1.1, 2), Add(0, 2.1, 3), Add(1, 2.5, 9)},
                   {{0, std::vector<float>{1, 9}}, {1, std::vector<float>{1, 9}}, {2, std::vector<float>{2, 9}},
                    {3, std::vector<float>{3, 9}}},
                   4},
        MergerCase{"RemovingAMissingSlotChangesNothing", 1, {Add(0, 0, 1), Remove(5)},
                   {{0, std::vector<float>{1}}}, 1, 0},
        MergerCase{"RemovingTheFirstSlotMovesTheNextStart", 1, {Add(0, 0, 1), Add(0, 0.5, 2), Remove(0)},
                   {{0, std::nullopt}, {1, std::vector<float>{2}}}, 1, 1},
        // Emptied, the list starts again at the slot after the last one removed.
        MergerCase{"AnEmptiedListGoesOnAfterTheRemovedSlot", 2,
                   {Add(0, 0, 1), Add(1, 0, 2), Remove(0), Add(0, 7, 3)},
                   {{0, std::nullopt}, {1, std::nullopt}, {7, std::nullopt}}, 7, 1},
        MergerCase{"ADeviceOutsideTheCountIsIgnored", 1, {Add(1, 0, 1), Add(7, 3, 1)}, {{0, std::nullopt}}, 0},
        // 3e9 once marked a missing device; a reading of that value fills its slot like any other.
        MergerCase{"AReadingOfThreeBillionFillsItsSlot", 2, {Add(0, 0, 3e9f), Add(1, 0.5, 3e9f)},
                   {{0, std::vector<float>{3e9f, 3e9f}}, {1, std::vector<float>{3e9f, 3e9f}}}, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Merger, SlotTimesAreExactlyTheWriterTimes) {
  // The writer's times come from the same start and the same arithmetic.
  TimeStampedValues merger(1, 10 / 86400000.0, kStart);
  const auto five = Five(1);
  for (int i = 0; i < 1000; ++i) merger.Add(0, kStart + i * 10 / 86400000.0 + 1e-9, five);
  for (int64_t k = 1; k < 1000; ++k) {
    ASSERT_EQ(merger.SlotTime(k), kStart + static_cast<double>(k) * (10 / 86400000.0));
    ASSERT_FALSE(merger.TakeSlot(k).empty());
  }
}

TEST(Merger, AHundredThousandSlotsDrainToNone) {
  TimeStampedValues merger(3, kStep, kStart);
  int64_t next = 0;
  size_t most = 0;
  for (int i = 1; i <= 100000; ++i) {
    for (uint16_t d = 0; d < 3; ++d) {
      const auto five = Five(static_cast<float>(i * 3 + d));
      merger.Add(d, kStart + (i + d * 0.3) * kStep, five);
    }
    most = std::max(most, merger.SlotCount());
    // Written as soon as a reading beyond the slot arrived, as fast mode does.
    while (merger.SlotTime(next) < kStart + i * kStep && !merger.TakeSlot(next).empty()) merger.RemoveSlot(next++);
  }
  while (!merger.TakeSlot(next).empty()) merger.RemoveSlot(next++);
  EXPECT_EQ(merger.SlotCount(), 0u);
  EXPECT_GE(next, 100000);
  EXPECT_LE(most, 4u);
}

TEST(Merger, AReadingFarAheadMakesBoundedSlots) {
  TimeStampedValues merger(2, 10 / 86400000.0, kStart);
  const auto one = Five(1);
  const auto two = Five(2);
  merger.Add(0, kStart, one);
  merger.Add(1, kStart, one);
  // A clock that jumped a year: a bounded number of slots, the reading in the last.
  merger.Add(0, kStart + 365.0, two);
  EXPECT_EQ(merger.SlotCount(), 1 + TimeStampedValues::kMaxNewSlotsPerReading);
  const auto last = static_cast<int64_t>(TimeStampedValues::kMaxNewSlotsPerReading);
  ASSERT_FALSE(merger.TakeSlot(last).empty());
  EXPECT_EQ(merger.TakeSlot(last)[0], 2);
  EXPECT_EQ(merger.TakeSlot(last)[5], 1);
  // Not a number or infinitely far: bounded all the same.
  merger.Add(1, std::numeric_limits<double>::infinity(), two);
  merger.Add(1, std::numeric_limits<double>::quiet_NaN(), two);
  EXPECT_LE(merger.SlotCount(), 1 + 3 * TimeStampedValues::kMaxNewSlotsPerReading);
}

}  // namespace
