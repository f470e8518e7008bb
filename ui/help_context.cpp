#include "ui/help_context.h"

#include <QMdiSubWindow>

namespace ui {

int NearestHelpContext(const QWidget* widget) {
  for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
    if (const int context = OwnHelpContext(w); context != 0) return context;
    if (const auto* frame = qobject_cast<const QMdiSubWindow*>(w); frame != nullptr && frame->widget() != nullptr) {
      if (const int context = OwnHelpContext(frame->widget()); context != 0) return context;
    }
  }
  return 0;
}

}  // namespace ui
