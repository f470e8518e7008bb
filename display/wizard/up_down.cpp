#include "display/wizard/up_down.h"

#include <QLineEdit>
#include <algorithm>
#include <cstdint>

namespace wizard {

TUpDown::TUpDown(QLineEdit* associate, QWidget* parent) : ui::TArrowButtons(associate, parent) {
  connect(this, &ui::TArrowButtons::Arrow, this, [this](int direction) { StepBy(direction); });
  if (Associate() != nullptr) Associate()->setText(QString::number(position_));
}

void TUpDown::SetRange(int min, int max) {
  min_ = min;
  max_ = std::max(min, max);
  position_ = std::clamp(position_, min_, max_);
}

void TUpDown::SetPosition(int position) {
  position_ = std::clamp(position, min_, max_);
  if (Associate() != nullptr) Associate()->setText(QString::number(position_));
}

void TUpDown::StepBy(int steps) {
  const int64_t wanted = static_cast<int64_t>(position_) + steps;
  const int next = static_cast<int>(std::clamp<int64_t>(wanted, min_, max_));
  if (next == position_) return;
  SetPosition(next);
  emit Stepped(position_);
}

}  // namespace wizard
