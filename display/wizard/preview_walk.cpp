#include "display/wizard/preview_walk.h"

#include <algorithm>
#include <utility>

namespace wizard {

PreviewWalk::PreviewWalk(RandomSource random) : random_(std::move(random)) {}

void PreviewWalk::SetRange(int64_t minimum, int64_t maximum) {
  min_ = minimum;
  max_ = maximum;
}

void PreviewWalk::SetDigitRange(int digits) {
  digits = std::clamp(digits, 1, 18);
  int64_t power = 1;  // 10^(d-1)
  for (int i = 1; i < digits; ++i) power *= 10;
  min_ = 1 - power;
  max_ = power * 10 - 1;
}

int64_t PreviewWalk::Step() const {
  const int64_t span = max_ - min_;
  return std::max<int64_t>(5, static_cast<int64_t>(static_cast<double>(span) * 0.08));
}

int64_t PreviewWalk::NextDelta() {
  const int64_t step = Step();
  const int64_t r = static_cast<int64_t>(random_());
  int64_t delta = r % (step + 1) - step / 2;
  if (delta == 0) {
    delta = zeroSign_;
    zeroSign_ = -zeroSign_;
  }
  return delta;
}

int64_t PreviewWalk::Limited(int64_t value) const {
  // A range given the wrong way round still yields a value inside both bounds' hull.
  return std::clamp(value, std::min(min_, max_), std::max(min_, max_));
}

std::vector<int64_t> PreviewWalk::Tick(size_t lines) {
  if (!started_) {
    // As the program always did: half the span, not the middle of the range.
    walk_ = (max_ - min_) / 2;
    started_ = true;
  }
  walk_ = Limited(walk_ + NextDelta());
  std::vector<int64_t> values{walk_};
  const int64_t span = max_ - min_;
  const int64_t n = static_cast<int64_t>(lines);
  for (int64_t i = 0; i < n; ++i) {
    // Drawn after each line, the last one included, so that a given random sequence gives
    // the same values as it always did.
    const int64_t next = Limited(NextDelta() + min_ + span * (i + 1) / n);
    if (i + 1 < n) values.push_back(next);
  }
  return values;
}

}  // namespace wizard
