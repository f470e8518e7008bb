#pragma once
// What other windows need of the main window, reachable without linking it: display elements
// read the error value, history viewers take the export message and menu captions.
#include <QString>

namespace ui {

class MainWindowServices {
 public:
  virtual ~MainWindowServices() = default;
  virtual float GetErrorValue() const = 0;
  virtual QString GetExportSuccessMessage() const = 0;
  // The (translated) caption of a main-window menu item by its name, e.g. "FecharJanela".
  virtual QString MenuItemCaption(const QString& objectName) const = 0;
  virtual void OpenHistoryFile(const QString& fileName) = 0;
};

// The program's main window while it exists, else null.
inline MainWindowServices*& MainWindow() {
  static MainWindowServices* window = nullptr;
  return window;
}

}  // namespace ui
