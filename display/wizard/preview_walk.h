#pragma once
// The random values of the wizard's live preview: a walk that wanders inside the preview
// range by small random steps, one tick a second. Ranges are 64-bit: ten to twelve LCD or LED
// digits give bounds beyond 32 bits.
#include <cstdint>
#include <functional>
#include <vector>

namespace wizard {

class PreviewWalk {
 public:
  // A uniform source of non-negative integers.
  using RandomSource = std::function<uint32_t()>;

  explicit PreviewWalk(RandomSource random);

  void SetRange(int64_t minimum, int64_t maximum);
  void SetMinimum(int64_t minimum) { min_ = minimum; }
  void SetMaximum(int64_t maximum) { max_ = maximum; }
  // What `digits` digits can show: 1 - 10^(d-1) .. 10^d - 1 (1: 0..9; 5: -9999..99999).
  void SetDigitRange(int digits);
  int64_t Minimum() const { return min_; }
  int64_t Maximum() const { return max_; }

  // The largest step of one tick: 8 % of the range, fraction cut, at least 5.
  int64_t Step() const;
  // One random step in -step/2 .. step - step/2; a zero step becomes +1 and -1 in turn.
  int64_t NextDelta();

  // One tick for `lines` chart lines: element 0 is the walk (which every indicator shows) and
  // line k >= 1 wanders around minimum + range * k / lines. At least one value comes back.
  std::vector<int64_t> Tick(size_t lines);

  bool Started() const { return started_; }
  int64_t WalkValue() const { return walk_; }

 private:
  int64_t Limited(int64_t value) const;

  RandomSource random_;
  int64_t min_ = 0;
  int64_t max_ = 100;
  int64_t walk_ = 0;
  bool started_ = false;
  int64_t zeroSign_ = 1;
};

}  // namespace wizard
