#include "ui/radio_group.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

namespace ui {

TRadioGroup::TRadioGroup(const QString& title, int columns, QWidget* parent)
    : QGroupBox(title, parent), group_(new QButtonGroup(this)), grid_(new QGridLayout(this)),
      columns_(std::max(columns, 1)) {
  group_->setExclusive(true);
  connect(group_, &QButtonGroup::idClicked, this, &TRadioGroup::Clicked);
}

void TRadioGroup::SetItems(const QStringList& items) {
  for (QRadioButton* b : buttons_) {
    group_->removeButton(b);
    delete b;
  }
  buttons_.clear();
  const int rows = (static_cast<int>(items.size()) + columns_ - 1) / columns_;
  for (int i = 0; i < items.size(); ++i) {
    auto* b = new QRadioButton(items[i], this);
    group_->addButton(b, i);
    // Filled down the first column first.
    grid_->addWidget(b, rows > 0 ? i % rows : 0, rows > 0 ? i / rows : 0);
    buttons_.append(b);
  }
}

QString TRadioGroup::ItemText(int index) const {
  return index >= 0 && index < buttons_.size() ? buttons_[index]->text() : QString();
}

int TRadioGroup::ItemIndex() const { return group_->checkedId(); }

void TRadioGroup::SetItemIndex(int index) {
  if (index >= 0 && index < buttons_.size()) {
    buttons_[index]->setChecked(true);
    return;
  }
  // An exclusive group keeps one button checked; let go of it for a moment to clear.
  group_->setExclusive(false);
  for (QRadioButton* b : buttons_) b->setChecked(false);
  group_->setExclusive(true);
}

QRadioButton* TRadioGroup::Button(int index) const {
  return index >= 0 && index < buttons_.size() ? buttons_[index] : nullptr;
}

}  // namespace ui
