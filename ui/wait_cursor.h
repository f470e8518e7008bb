#pragma once
// The hourglass while the window talks to an instrument or reads a file; back to the cursor
// before it when the scope ends, however it ends.
#include <QCursor>
#include <QGuiApplication>

namespace ui {

class WaitCursor {
 public:
  WaitCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
  ~WaitCursor() { Restore(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

  // Back to the previous cursor before a message is shown; the destructor then does nothing.
  void Restore() {
    if (active_) QGuiApplication::restoreOverrideCursor();
    active_ = false;
  }

 private:
  bool active_ = true;
};

}  // namespace ui
