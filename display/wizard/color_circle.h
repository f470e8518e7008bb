#pragma once
// The round colour sample beside each colour button of the wizard.
#include <QWidget>
#include <cstdint>

namespace wizard {

class TColorCircle : public QWidget {
  Q_OBJECT

 public:
  explicit TColorCircle(QWidget* parent, uint32_t color = 0);
  uint32_t Color() const { return color_; }  // TColor
  void SetColor(uint32_t color);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  uint32_t color_;
};

}  // namespace wizard
