#include "export/dialog/owner_drawn_combo.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QStylePainter>

namespace vantrix {

namespace {

// Draws the open list's items with the combo's drawing function.
class TDrawItemDelegate : public QStyledItemDelegate {
 public:
  explicit TDrawItemDelegate(TOwnerDrawnCombo* combo) : QStyledItemDelegate(combo), combo_(combo) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    if (!combo_->OnDrawItem) {
      QStyledItemDelegate::paint(painter, option, index);
      return;
    }
    const bool selected = (option.state & (QStyle::State_Selected | QStyle::State_HasFocus)) != 0;
    painter->save();
    combo_->OnDrawItem(*painter, option.rect, index.row(), selected);
    painter->restore();
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(std::max(size.height(), 16));
    return size;
  }

 private:
  TOwnerDrawnCombo* combo_;
};

}  // namespace

TOwnerDrawnCombo::TOwnerDrawnCombo(QWidget* parent) : QComboBox(parent) {
  setItemDelegate(new TDrawItemDelegate(this));
}

void TOwnerDrawnCombo::paintEvent(QPaintEvent* e) {
  if (!OnDrawItem) {
    QComboBox::paintEvent(e);
    return;
  }
  QStylePainter painter(this);
  QStyleOptionComboBox option;
  initStyleOption(&option);
  option.currentText.clear();
  option.currentIcon = QIcon();
  painter.drawComplexControl(QStyle::CC_ComboBox, option);
  const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
  if (currentIndex() < 0) return;
  painter.save();
  OnDrawItem(painter, field, currentIndex(), hasFocus());
  painter.restore();
}

}  // namespace vantrix
