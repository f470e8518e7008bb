#include "ui/color_chooser.h"

#include <QColorDialog>

namespace ui {

std::optional<QColor> QtColorChooser::Choose(QWidget* parent, const QColor& initial) {
  const QColor chosen = QColorDialog::getColor(initial, parent);
  if (!chosen.isValid()) return std::nullopt;
  return chosen;
}

}  // namespace ui
