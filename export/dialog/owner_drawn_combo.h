#pragma once
// A combo box whose items are pictures rather than texts (border lines, fill patterns): one
// drawing function paints the items of the open list and the chosen item on the closed box,
// so the two always look alike.
#include <QComboBox>
#include <functional>

namespace vantrix {

class TOwnerDrawnCombo : public QComboBox {
  Q_OBJECT

 public:
  explicit TOwnerDrawnCombo(QWidget* parent);

  // Paints item index into box; selected when the item is highlighted in the list or the
  // closed box has the focus. Without it the items show their texts.
  using TDrawItem = std::function<void(QPainter& painter, const QRect& box, int index, bool selected)>;
  TDrawItem OnDrawItem;

 protected:
  void paintEvent(QPaintEvent* e) override;
};

}  // namespace vantrix
