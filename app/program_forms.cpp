#include "app/program_forms.h"

#include "acquisition/device_list.h"
#include "app/about_form.h"
#include "app/acquisition_wiring.h"
#include "app/environment_commands.h"
#include "app/overwrite_choice_form.h"
#include "app/readings_config_form.h"
#include "app/view_form.h"
#include "devconfig/config_form.h"
#include "devconfig/custom_calib_report_form.h"
#include "display/display_form.h"
#include "display/display_form_services.h"
#include "display/wizard/config_view_form.h"
#include "history/export_form.h"
#include "history/hist_config_form.h"
#include "history/hist_form.h"
#include "ui/print_service.h"
#include "ui/window_picture_print.h"

namespace app {
namespace {
ProgramForms* current = nullptr;
}

ProgramForms::~ProgramForms() {
  if (current == this) current = nullptr;
  environment.reset();
  acquisition.reset();
  // The program-wide display services point into these forms: nothing may reach them after.
  DisplayFormServices& services = DisplayFormServices::Program();
  if (services.printService == printService.get()) services.printService = nullptr;
  if (services.configurator == configViewForm) services.configurator = nullptr;
  viewForm.reset();
}

ProgramForms* Forms() { return current; }

std::unique_ptr<ProgramForms> CreateProgramForms(ui::UserInteraction& ui, HelpViewer& help,
                                                 std::unique_ptr<ui::PrintService> printService) {
  auto forms = std::make_unique<ProgramForms>();
  forms->printService = printService ? std::move(printService) : std::make_unique<ui::QtPrintService>(ui);
  forms->viewForm = std::make_unique<TViewForm>(ui, help);
  TViewForm* view = forms->viewForm.get();
  ui::PrintService* print = forms->printService.get();
  DisplayFormServices::Program().printService = print;
  // The whole main window, its children as they show, on one page.
  view->Hooks().printAll = [view, print] { ui::PrintWindowPicture(view, *print); };
  DisplayFormServices::Program().ui = &ui;
  view->Hooks().newDisplayWindow = []() -> QWidget* { return new TDisplayForm(); };
  forms->configForm = new TConfigForm(ui, view);
  view->Hooks().configureDevice = [form = forms->configForm] { form->Execute(); };
  WizardServices wizardServices;
  wizardServices.ui = &ui;
  forms->configViewForm = new TConfigViewForm(wizardServices, view);
  DisplayFormServices::Program().configurator = forms->configViewForm;
  forms->readingsConfigForm = new TReadingsConfigForm(
      ui, view->OpenDialog(), [view] { return view->ListRecordableValues(); }, &acquisition::DeviceIntervalLines, view);
  forms->aboutForm = new TAboutForm(view);
  view->SetAboutDialog(forms->aboutForm);
  // One export dialog for every viewer and the main window's export command.
  history::TExportForm* exportForm = new history::TExportForm(ui, view);
  forms->exportForm = exportForm;
  // One pen dialog too; its captions are the wizard's and the configuration dialog's, as
  // their language sections left them.
  auto* penForm = new history::THistConfigForm(ui, nullptr, view);
  forms->histConfigForm = penForm;
  const TConfigViewForm& wizard = *forms->configViewForm;
  penForm->SetCaptions({wizard.CaptionOf(QStringLiteral("LineThicknessLabel")),
                        wizard.CaptionOf(QStringLiteral("ColorTabSheet")), wizard.CaptionOf(QStringLiteral("ColorButton")),
                        wizard.CaptionOf(QStringLiteral("BackColorButton")), forms->configForm->ApplyButtonCaption(),
                        forms->configForm->CloseButtonCaption()});
  view->Hooks().newHistoryViewer = [&ui, exportForm, penForm, print]() -> QWidget* {
    auto* viewer = new history::THistForm(ui);
    viewer->SetExportDialog(exportForm);
    viewer->SetPenDialog(penForm);
    viewer->SetPrintService(print);
    return viewer;
  };
  view->Hooks().askExport = [exportForm]() -> std::optional<ExportRequest> {
    if (!exportForm->Execute()) return std::nullopt;
    ExportRequest request;
    request.fileName = exportForm->FileName();
    request.includeMilliseconds = exportForm->IncludeMilliseconds();
    request.millisecondsInOwnColumn = exportForm->MillisecondsInOwnColumn();
    request.separator = exportForm->Separator();
    return request;
  };
  forms->overwriteChoiceForm = new TOverwriteChoiceForm(view);
  // The certificate's dialog last: it copies captions from the configuration dialog.
  forms->customCalibReportForm = new TCustomCalibReportForm(ui, *forms->configForm, view);
  forms->configForm->SetReportForm(forms->customCalibReportForm);
  forms->acquisition =
      std::make_unique<AcquisitionWiring>(*view, *forms->readingsConfigForm, *forms->overwriteChoiceForm, ui);
  forms->environment = std::make_unique<EnvironmentCommands>(*view, *forms->readingsConfigForm, ui);
  current = forms.get();
  return forms;
}

}  // namespace app
