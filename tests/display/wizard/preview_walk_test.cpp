// The preview's random walk with a fixed random sequence.
#include <gtest/gtest.h>

#include <deque>

#include "display/wizard/preview_walk.h"

namespace {

using wizard::PreviewWalk;

// Hands out the given numbers in order, then zeros; counts what was drawn.
struct Sequence {
  std::deque<uint32_t> numbers;
  int drawn = 0;
  PreviewWalk::RandomSource Source() {
    return [this] {
      ++drawn;
      if (numbers.empty()) return 0u;
      const uint32_t n = numbers.front();
      numbers.pop_front();
      return n;
    };
  }
};

TEST(PreviewWalk, StepsAndDeltasOfTheRange) {
  Sequence seq;
  PreviewWalk walk(seq.Source());
  walk.SetRange(0, 100);
  EXPECT_EQ(walk.Step(), 8);
  seq.numbers = {0, 8, 9, 4, 13, 4};
  EXPECT_EQ(walk.NextDelta(), -4);
  EXPECT_EQ(walk.NextDelta(), 4);
  EXPECT_EQ(walk.NextDelta(), -4);  // 9 mod 9
  EXPECT_EQ(walk.NextDelta(), 1);   // a zero step: +1 first
  EXPECT_EQ(walk.NextDelta(), -1);
  EXPECT_EQ(walk.NextDelta(), 1);   // and in turn
  walk.SetRange(0, 10);
  EXPECT_EQ(walk.Step(), 5);
  seq.numbers = {0, 5};
  EXPECT_EQ(walk.NextDelta(), -2);
  EXPECT_EQ(walk.NextDelta(), 3);
}

TEST(PreviewWalk, FirstValueStartsFromHalfTheSpan) {
  Sequence seq;
  seq.numbers = {7};
  PreviewWalk walk(seq.Source());
  walk.SetRange(0, 100);
  EXPECT_EQ(walk.Tick(0), std::vector<int64_t>{53});

  Sequence other;
  PreviewWalk narrow(other.Source());
  narrow.SetRange(20, 30);
  EXPECT_EQ(narrow.Tick(0).front(), 20);  // starts at 5, limited to the range
  EXPECT_EQ(narrow.WalkValue(), 20);
}

TEST(PreviewWalk, SeriesSpreadOverTheRange) {
  Sequence seq;
  // Walk delta, then one delta after each of the three lines (the last one unused).
  seq.numbers = {4 + 1, 4 + 2, 4 - 3, 4};
  PreviewWalk walk(seq.Source());
  walk.SetRange(0, 100);
  const std::vector<int64_t> v = walk.Tick(3);
  EXPECT_EQ(v, (std::vector<int64_t>{51, 33 + 2, 66 - 3}));
  EXPECT_EQ(seq.drawn, 4);
  seq.drawn = 0;
  walk.Tick(0);
  EXPECT_EQ(seq.drawn, 1);
}

TEST(PreviewWalk, DigitRangesBeyond32Bits) {
  Sequence seq;
  PreviewWalk walk(seq.Source());
  walk.SetDigitRange(1);
  EXPECT_EQ(walk.Minimum(), 0);
  EXPECT_EQ(walk.Maximum(), 9);
  walk.SetDigitRange(5);
  EXPECT_EQ(walk.Minimum(), -9999);
  EXPECT_EQ(walk.Maximum(), 99999);
  walk.SetDigitRange(12);
  EXPECT_EQ(walk.Minimum(), 1 - 100'000'000'000LL);
  EXPECT_EQ(walk.Maximum(), 999'999'999'999LL);
  seq.numbers = {0xFFFFFFFFu};
  const int64_t v = walk.Tick(0).front();
  EXPECT_GE(v, walk.Minimum());
  EXPECT_LE(v, walk.Maximum());
  EXPECT_GT(v, INT32_MAX);  // half the span and a step on: past 32 bits, nothing wrapped
}

}  // namespace
