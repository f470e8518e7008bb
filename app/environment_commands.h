#pragma once
// The environment file in the program: what SaveEnvironment collects from the main window,
// the readings settings and the display windows, and what LoadEnvironment gives back to them.
// Fills in the main window's saveEnvironment and loadEnvironment hooks.
#include <QString>

#include "app/environment_file.h"
#include "app/main_window_hooks.h"

namespace ui {
class UserInteraction;
}

namespace app {

class TReadingsConfigForm;
class TViewForm;

class EnvironmentCommands {
 public:
  EnvironmentCommands(TViewForm& view, TReadingsConfigForm& settings, ui::UserInteraction& ui);
  ~EnvironmentCommands();
  EnvironmentCommands(const EnvironmentCommands&) = delete;
  EnvironmentCommands& operator=(const EnvironmentCommands&) = delete;

  // Replaces the file whole or not at all: a save that fails (message 9) leaves the file that
  // was there as it was.
  bool SaveEnvironment(const QString& fileName);
  // Adds the file's windows to those open and applies its settings. False, with nothing
  // changed, for a missing file (no message), one that cannot be opened or is no regular file
  // (message 9 with the file's name and why: "it is a named pipe"; none for the last session's
  // workspace, which is then passed over as if missing), one that cannot be read (message 12),
  // one cut inside its first records (message 12) or one of a newer version (message 13);
  // false without a message when the file ends inside a chart's entries, the windows before
  // it kept. Only a regular file is read, and nothing waits on a named pipe or a device.
  bool LoadEnvironment(const QString& fileName, EnvironmentSource source = EnvironmentSource::kNamed);

  // The workspace as it stands now: what a save writes.
  Environment CollectEnvironment() const;

 private:
  void ApplyPlacement(const EnvironmentPlacement& placement);
  void ApplyReadings(const EnvironmentReadings& readings);
  bool AddDisplayWindow(const DisplayWindowRecord& record);
  void ShowMessage(int message, const QString& detail = QString());

  TViewForm& view_;
  TReadingsConfigForm& settings_;
  ui::UserInteraction& ui_;
};

}  // namespace app
