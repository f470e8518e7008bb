#include "ui/dialog_modality.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace ui {

bool DialogModalityFilter::eventFilter(QObject* watched, QEvent* event) {
  // The show event reaches a window before the window system is asked to show it, which is
  // when its modality still takes effect.
  if (event->type() != QEvent::Show || event->spontaneous() || !watched->isWidgetType()) return false;
  auto* window = static_cast<QWidget*>(watched);
  if (window->isWindow() && window->windowModality() == Qt::ApplicationModal && window->parentWidget() != nullptr) {
    window->setWindowModality(Qt::WindowModal);
    // A widget already marked modal does not pass a new modality on to its window.
    if (QWindow* handle = window->windowHandle()) handle->setModality(Qt::WindowModal);
  }
  return false;
}

}  // namespace ui
