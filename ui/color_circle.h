#pragma once
// The round colour sample beside a colour button (the display wizard's colours, the history
// viewer's pens): a colour value 0x00BBGGRR painted as a circle with a black rim.
#include <QWidget>
#include <cstdint>

namespace ui {

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

}  // namespace ui
