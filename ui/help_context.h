#pragma once
// Help context numbers of windows and controls, kept as a dynamic property so that any window
// library can set them without linking the help viewer. F1 uses the nearest one from the
// focused control up through its parents.
#include <QVariant>
#include <QWidget>

namespace ui {

inline constexpr char kHelpContextProperty[] = "helpContext";

inline void SetHelpContext(QWidget* widget, int context) {
  widget->setProperty(kHelpContextProperty, context);
}

inline int OwnHelpContext(const QWidget* widget) {
  const QVariant value = widget->property(kHelpContextProperty);
  return value.isValid() ? value.toInt() : 0;
}

// The first non-zero context from the widget up through its parents (0 when none has one).
inline int NearestHelpContext(const QWidget* widget) {
  for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
    if (const int context = OwnHelpContext(w); context != 0) return context;
  }
  return 0;
}

}  // namespace ui
