#pragma once
// The main window's commands that belong to other subsystems. Each subsystem fills in its
// hook when it is wired up; an empty hook makes its command do nothing (or fail quietly
// where the command has a result), so the window and its state work on their own.
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace app {

// When history recording waits for a value to cross a level.
struct TriggerSettings {
  bool on = false;
  std::uint8_t comparison = 1;  // 1: record at or above the level; 0: at or below
  double level = 0.0;
  std::uint32_t sourceSerial = 0;
  std::uint8_t sourceIndex = 0;  // GlobalChannelIndex of the source value
};

// A value that can start and stop history recording.
struct TriggerSourceEntry {
  std::uint32_t serial = 0;
  std::uint8_t index = 0;  // GlobalChannelIndex in a run of the instruments listed now
  QString label;
};

// What the readings and history settings dialog hands back on OK.
struct ReadingsDialogResult {
  bool logEnabled = false;
  float errorValue = 0.0f;
  TriggerSettings trigger;
};

// What the export dialog hands back when it was accepted.
struct ExportRequest {
  QString fileName;
  bool includeMilliseconds = true;
  bool millisecondsInOwnColumn = false;
  QString separator = QStringLiteral(".");
};

// A reading run that started.
struct ReadingRunInfo {
  bool fast = false;
  int readIntervalMs = 1000;
};

// Where a workspace to load comes from: named by the user (a dialog, the command line, a
// drop), or the last session's, taken at start-up only when it is there to be read.
enum class EnvironmentSource { kNamed, kLastSession };

struct MainWindowHooks {
  // Child windows. The widgets returned implement DisplayWindowCommands or
  // HistoryViewerCommands; the main window puts them into its MDI area. May throw.
  std::function<QWidget*()> newDisplayWindow;
  std::function<QWidget*()> newHistoryViewer;

  // Environment file. Loading adds windows and applies settings; it closes none.
  std::function<bool(const QString& fileName, EnvironmentSource source)> loadEnvironment;
  std::function<bool(const QString& fileName)> saveEnvironment;

  // Readings and history settings dialog, run modally; nothing on cancel.
  std::function<std::optional<ReadingsDialogResult>()> showReadingsDialog;
  // The readings settings' history file name and history switch.
  std::function<QString()> historyFileName;
  std::function<void(bool on)> setLogEnabled;
  // The values the display windows show that can trigger history; nothing when no
  // instrument could be opened.
  std::function<std::optional<std::vector<TriggerSourceEntry>>()> listRecordableValues;

  // Export dialog, run modally; nothing unless accepted.
  std::function<std::optional<ExportRequest>()> askExport;

  // Device configuration dialog, modal.
  std::function<void()> configureDevice;

  // Acquisition: start gives the run that started, or nothing when it did not start;
  // stop releases the run (the window updates its own menus and status afterwards).
  std::function<std::optional<ReadingRunInfo>()> startReadings;
  std::function<void()> stopReadings;
  std::function<void()> updaterTick;

  // Printing the whole main window on one page.
  std::function<void()> printAll;
};

}  // namespace app
