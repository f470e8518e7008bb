#pragma once
// The colour dialog behind an interface, so windows that let the user pick colours can be
// tested without a dialog that waits for a click.
#include <QColor>
#include <optional>

class QWidget;

namespace ui {

class ColorChooser {
 public:
  virtual ~ColorChooser() = default;
  // Opens on `initial`; the chosen colour, or nothing on cancel.
  virtual std::optional<QColor> Choose(QWidget* parent, const QColor& initial) = 0;
};

// The toolkit's colour dialog.
class QtColorChooser : public ColorChooser {
 public:
  std::optional<QColor> Choose(QWidget* parent, const QColor& initial) override;
};

}  // namespace ui
