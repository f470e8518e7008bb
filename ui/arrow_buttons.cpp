#include "ui/arrow_buttons.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace ui {

TArrowButtons::TArrowButtons(QLineEdit* associate, QWidget* parent) : QWidget(parent), edit_(associate) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  up_ = new QToolButton(this);
  up_->setArrowType(Qt::UpArrow);
  down_ = new QToolButton(this);
  down_->setArrowType(Qt::DownArrow);
  for (QToolButton* b : {up_, down_}) {
    b->setAutoRepeat(true);
    // The edit keeps the focus: leaving it would run its exit check at every click.
    b->setFocusPolicy(Qt::NoFocus);
    b->setFixedSize(16, 11);
    layout->addWidget(b);
  }
  connect(up_, &QToolButton::clicked, this, [this] { emit Arrow(1); });
  connect(down_, &QToolButton::clicked, this, [this] { emit Arrow(-1); });
  if (edit_ != nullptr) edit_->installEventFilter(this);
}

bool TArrowButtons::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit_ && event->type() == QEvent::KeyPress && isEnabled()) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      emit Arrow(key == Qt::Key_Up ? 1 : -1);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace ui
