#include "app/acquisition_wiring.h"

#include <QFile>
#include <exception>
#include <new>

#include "acquisition/device_list.h"
#include "app/overwrite_choice_form.h"
#include "app/readings_config_form.h"
#include "app/view_form.h"
#include "display/display_form.h"
#include "app/run_display_adapter.h"
#include "display/readings_state.h"
#include "platform/qt_text.h"
#include "ui/program_constants.h"

namespace app {

AcquisitionWiring::AcquisitionWiring(TViewForm& view, TReadingsConfigForm& settings,
                                     TOverwriteChoiceForm& overwriteChoice, ui::UserInteraction& ui)
    : view_(view), settings_(settings), overwriteChoice_(overwriteChoice), ui_(ui) {
  run_ = std::make_unique<acquisition::ReadingRun>(*this, *this, *this);
  InstallHooks();
}

AcquisitionWiring::~AcquisitionWiring() {
  DisplayFormServices::Program().queueCounterReset = nullptr;
  run_.reset();
}

void AcquisitionWiring::InstallHooks() {
  MainWindowHooks& hooks = view_.Hooks();
  hooks.startReadings = [this]() -> std::optional<ReadingRunInfo> {
    const auto started = run_->StartReadings();
    if (!started) return std::nullopt;
    SetReadingsStopped(false);
    return ReadingRunInfo{started->fast, started->readIntervalMs};
  };
  hooks.stopReadings = [this] {
    run_->StopReadings();
    SetReadingsStopped(true);
  };
  hooks.updaterTick = [this] { run_->Tick(); };
  hooks.showReadingsDialog = [this]() -> std::optional<ReadingsDialogResult> {
    if (!settings_.Execute()) return std::nullopt;
    return ReadingsDialogResult{settings_.GetLogEnabled(), settings_.GetErrorValue(), settings_.GetTrigger()};
  };
  hooks.historyFileName = [this] { return settings_.GetLogFileName(); };
  hooks.setLogEnabled = [this](bool on) {
    settings_.SetLogEnabled(on);
    if (!on) run_->HistoryDisabled();
  };
  hooks.listRecordableValues = [this]() -> std::optional<std::vector<TriggerSourceEntry>> {
    const auto values = acquisition::ListRecordableValues(*this, acquisition::ProgramDefaultValueNames());
    if (!values) return std::nullopt;
    std::vector<TriggerSourceEntry> entries;
    for (const auto& v : *values) entries.push_back({v.serial, v.index, platform::FromCp1252(v.label)});
    return entries;
  };
  DisplayFormServices::Program().queueCounterReset = [this](uint16_t port) { run_->QueueCounterReset(port); };
}

size_t AcquisitionWiring::ChildWindowCount() { return static_cast<size_t>(view_.ChildWindows().size()); }

void AcquisitionWiring::ForEachDisplay(const std::function<void(acquisition::RunDisplay&)>& visit) {
  for (QWidget* child : view_.ChildWindows()) {
    if (auto* form = qobject_cast<TDisplayForm*>(child)) {
      DisplayFormRunAdapter adapter(*form);
      visit(adapter);
    }
  }
}

acquisition::RunSettings AcquisitionWiring::CurrentSettings() {
  acquisition::RunSettings s;
  s.fast = settings_.GetFastMode();
  s.readIntervalMs = settings_.GetReadInterval();
  s.logIntervalMs = settings_.GetLogInterval();
  s.logFileName = QFile::encodeName(settings_.GetLogFileName()).toStdString();
  s.historyOn = view_.HistoryOn();
  s.errorValue = view_.GetErrorValue();
  const TriggerSettings& t = view_.Trigger();
  s.trigger = {t.on, t.comparison, t.level, t.sourceSerial, t.sourceIndex};
  return s;
}

acquisition::ExistingFileChoice AcquisitionWiring::AskAppendOrOverwrite(const std::string&) {
  ui_.RunModal(&overwriteChoice_);
  switch (overwriteChoice_.GetResult()) {
    case TOverwriteChoiceForm::kOverwrite: return acquisition::ExistingFileChoice::kOverwrite;
    case TOverwriteChoiceForm::kCancel: return acquisition::ExistingFileChoice::kCancel;
    default: return acquisition::ExistingFileChoice::kAppend;
  }
}

void AcquisitionWiring::ShowHistoryRecording() { view_.ShowHistoryRecording(settings_.GetLogFileName()); }

void AcquisitionWiring::ShowHistoryWaiting() { view_.ShowHistoryWaiting(settings_.GetLogFileName()); }

void AcquisitionWiring::DisableHistory() { view_.DisableHistory(); }

void AcquisitionWiring::ReportHistoryOpenFailure(const std::string& reason) {
  ui_.ShowMessage(&view_, view_.Messages()[kMsgFileOpenProblem] + QStringLiteral("\n") + settings_.GetLogFileName() +
                              QStringLiteral("\n") + QString::fromLocal8Bit(reason));
}

void AcquisitionWiring::ReportHistoryWriteFailure() {
  // Blinking like a communication problem, not a message box: the run goes on unattended.
  view_.SetErrorText(view_.Messages()[kMsgFileOpenProblem]);
  view_.StartErrorBlink();
}

QString AcquisitionWiring::CommunicationText(int port) const {
  return QStringLiteral("COM%1: ").arg(port) + view_.Messages()[kMsgCommunicationProblem];
}

void AcquisitionWiring::ReportCommunicationProblem(int port) {
  view_.SetErrorText(CommunicationText(port));
  view_.StartErrorBlink();
}

void AcquisitionWiring::ReportStartFailure(int port) { ui_.ShowMessage(&view_, CommunicationText(port)); }

void AcquisitionWiring::ReportReadingFailure(std::exception_ptr failure) {
  // The run has stopped already; the window gives its commands back and says why.
  view_.StopReadings();
  QString text = view_.Messages()[kMsgReadingsSuspended] + QStringLiteral("!");
  try {
    std::rethrow_exception(failure);
  } catch (const std::bad_alloc&) {
    text = QString::fromUtf8(ui::kAllocationErrorText.data(), static_cast<qsizetype>(ui::kAllocationErrorText.size()));
  } catch (const std::exception& e) {
    text += QStringLiteral("\n") + QString::fromLocal8Bit(e.what());
  } catch (...) {
  }
  ui_.ShowMessage(&view_, text);
}

}  // namespace app
