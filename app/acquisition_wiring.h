#pragma once
// The reading run in the program: it reaches the display windows among the main window's
// children, takes its settings from the readings dialog and the main window, and reports
// through the main window's status bar, error blink and message boxes. Fills in the main
// window's acquisition hooks and the display windows' counter-reset service.
#include <QString>
#include <memory>

#include "acquisition/reading_run.h"
#include "acquisition/run_interfaces.h"

namespace ui {
class UserInteraction;
}

namespace app {

class TOverwriteChoiceForm;
class TReadingsConfigForm;
class TViewForm;

class AcquisitionWiring : public acquisition::RunDisplays,
                          public acquisition::RunSettingsSource,
                          public acquisition::RunUser {
 public:
  AcquisitionWiring(TViewForm& view, TReadingsConfigForm& settings, TOverwriteChoiceForm& overwriteChoice,
                    ui::UserInteraction& ui);
  ~AcquisitionWiring() override;

  acquisition::ReadingRun& Run() { return *run_; }

  // RunDisplays
  size_t ChildWindowCount() override;
  void ForEachDisplay(const std::function<void(acquisition::RunDisplay&)>& visit) override;
  // RunSettingsSource
  acquisition::RunSettings CurrentSettings() override;
  // RunUser
  acquisition::ExistingFileChoice AskAppendOrOverwrite(const std::string& fileName) override;
  void ShowHistoryRecording() override;
  void ShowHistoryWaiting() override;
  void DisableHistory() override;
  void ReportHistoryOpenFailure(const std::string& reason) override;
  void ReportHistoryWriteFailure() override;
  void ReportCommunicationProblem(int port) override;
  void ReportStartFailure(int port) override;
  void ReportReadingFailure(std::exception_ptr failure) override;

 private:
  void InstallHooks();
  QString CommunicationText(int port) const;

  TViewForm& view_;
  TReadingsConfigForm& settings_;
  TOverwriteChoiceForm& overwriteChoice_;
  ui::UserInteraction& ui_;
  std::unique_ptr<acquisition::ReadingRun> run_;
};

}  // namespace app
