#pragma once
// What the main window asks of its MDI children. Display windows and history viewers live in
// their own libraries; they implement these interfaces, and the main window tells them apart
// by which one a child implements.
#include <QString>

namespace ui {

class DisplayWindowCommands {
 public:
  virtual ~DisplayWindowCommands() = default;
  // Opens the configuration wizard on this window (no record: the user's command).
  virtual void Configure() = 0;
  virtual void PrintDisplay() = 0;
};

class HistoryViewerCommands {
 public:
  virtual ~HistoryViewerCommands() = default;
  // Reads the whole file; false when it can't be opened or read. May throw.
  virtual bool OpenFile(const QString& fileName) = 0;
  // After OpenFile returned false: what is wrong with the file and where, for the user;
  // empty when there is nothing to add to the file's name.
  virtual QString OpenProblem() const { return {}; }
  // Exports the loaded table, the format chosen by the file name's extension.
  virtual bool ExportTable(const QString& fileName, bool withoutMilliseconds, bool millisecondsInOwnColumn,
                           QChar millisecondSeparator) = 0;
  virtual void PrintHistory() = 0;
  virtual void ConfigurePens() = 0;
};

}  // namespace ui
