#include "controls/tcolor.h"

#include "platform/system_colors.h"

namespace draw {

QRgb SystemColorRgb(unsigned index) { return platform::SystemColorRgb(index); }

QRgb ToRgb(TColor color) {
  if (IsSystemColor(color)) return SystemColorRgb(color & 0x00FFFFFFu);
  const unsigned r = color & 0xFF;
  const unsigned g = (color >> 8) & 0xFF;
  const unsigned b = (color >> 16) & 0xFF;
  return (r << 16) | (g << 8) | b;
}

QColor ToQColor(TColor color) { return QColor::fromRgb(ToRgb(color)); }

TColor FromQColor(const QColor& color) {
  const QColor rgb = color.toRgb();
  return static_cast<TColor>(rgb.red()) | (static_cast<TColor>(rgb.green()) << 8) |
         (static_cast<TColor>(rgb.blue()) << 16);
}

}  // namespace draw
