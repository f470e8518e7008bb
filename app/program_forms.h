#pragma once
// The windows that live for the whole run, created once in a fixed order: the main window
// first (it loads the language file that the others translate from), then the dialogs.
// History viewers and display windows are made on demand.
#include <memory>

namespace ui {
class UserInteraction;
}  // namespace ui

class TConfigViewForm;

namespace app {

class AcquisitionWiring;
class HelpViewer;
class TAboutForm;
class TReadingsConfigForm;
class TOverwriteChoiceForm;
class TViewForm;

struct ProgramForms {
  ~ProgramForms();
  std::unique_ptr<TViewForm> viewForm;
  // The dialogs below are owned by the main window.
  TConfigViewForm* configViewForm = nullptr;
  TReadingsConfigForm* readingsConfigForm = nullptr;
  TAboutForm* aboutForm = nullptr;
  TOverwriteChoiceForm* overwriteChoiceForm = nullptr;
  // The reading run; goes before the windows it uses.
  std::unique_ptr<AcquisitionWiring> acquisition;
};

// Creates the forms in their order and makes them the program's forms (Forms()).
std::unique_ptr<ProgramForms> CreateProgramForms(ui::UserInteraction& ui, HelpViewer& help);

// The program's forms while they exist, else null.
ProgramForms* Forms();

}  // namespace app
