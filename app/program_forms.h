#pragma once
// The windows that live for the whole run, created once in a fixed order: the main window
// first (it loads the language file that the others translate from), then the dialogs.
// History viewers and display windows are made on demand.
#include <memory>

#include "ui/print_service.h"

namespace ui {
class UserInteraction;
}  // namespace ui

class TConfigForm;
class TConfigViewForm;
class TCustomCalibReportForm;

namespace history {
class TExportForm;
class THistConfigForm;
}  // namespace history

namespace app {

class AcquisitionWiring;
class EnvironmentCommands;
class HelpViewer;
class TAboutForm;
class TReadingsConfigForm;
class TOverwriteChoiceForm;
class TViewForm;

struct ProgramForms {
  ~ProgramForms();
  // The printer and print dialog of every print command.
  std::unique_ptr<ui::PrintService> printService;
  std::unique_ptr<TViewForm> viewForm;
  // The dialogs below are owned by the main window.
  TConfigForm* configForm = nullptr;
  TConfigViewForm* configViewForm = nullptr;
  TReadingsConfigForm* readingsConfigForm = nullptr;
  TAboutForm* aboutForm = nullptr;
  history::TExportForm* exportForm = nullptr;
  history::THistConfigForm* histConfigForm = nullptr;
  TOverwriteChoiceForm* overwriteChoiceForm = nullptr;
  TCustomCalibReportForm* customCalibReportForm = nullptr;
  // The reading run and the environment file; they go before the windows they use.
  std::unique_ptr<AcquisitionWiring> acquisition;
  std::unique_ptr<EnvironmentCommands> environment;
};

// Creates the forms in their order and makes them the program's forms (Forms()). Without a
// print service the program prints through the system's print dialog.
std::unique_ptr<ProgramForms> CreateProgramForms(ui::UserInteraction& ui, HelpViewer& help,
                                                 std::unique_ptr<ui::PrintService> printService = nullptr);

// The program's forms while they exist, else null.
ProgramForms* Forms();

}  // namespace app
