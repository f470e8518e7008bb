#pragma once
// An edit's up/down arrows with a position of their own, as the wizard's numeric edits need
// them: the user may type anything into the edit (the window checks it when the edit is left),
// while the arrows step a whole-number position within limits and write it into the edit.
// A spin box would refuse "12.7" as it is typed; these edits take it and store 12.
#include <algorithm>

#include "ui/arrow_buttons.h"

namespace wizard {

class TUpDown : public ui::TArrowButtons {
  Q_OBJECT

 public:
  TUpDown(QLineEdit* associate, QWidget* parent);

  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  // Limits; the position is kept inside them.
  void SetRange(int min, int max);
  void SetMin(int min) { SetRange(min, std::max(min, max_)); }
  void SetMax(int max) { SetRange(std::min(min_, max), max); }
  // Clamped into the limits and written into the edit; no signal.
  void SetPosition(int position);

  // As the user's arrow (button or key) does it: one step, then Stepped when it moved.
  void StepBy(int steps);

 signals:
  // The position after a step of the user's; the edit already shows it.
  void Stepped(int position);

 private:
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
};

}  // namespace wizard
