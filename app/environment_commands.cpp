#include "app/environment_commands.h"

#include <QFile>
#include <algorithm>
#include <exception>
#include <new>

#include "app/readings_config_form.h"
#include "app/view_form.h"
#include "display/display_form.h"
#include "platform/atomic_file.h"
#include "platform/qt_text.h"
#include "platform/regular_file.h"
#include "ui/user_interaction.h"

namespace app {
namespace {

// Far beyond any screen, and small enough that a position plus a size stays an int.
constexpr int32_t kPlacementLimit = 1 << 20;

// A placement from a file, made safe to hand to the window system.
QRect SafeRect(int32_t left, int32_t top, int32_t width, int32_t height) {
  return QRect(std::clamp(left, -kPlacementLimit, kPlacementLimit), std::clamp(top, -kPlacementLimit, kPlacementLimit),
               std::clamp(width, 1, kPlacementLimit), std::clamp(height, 1, kPlacementLimit));
}

}  // namespace

EnvironmentCommands::EnvironmentCommands(TViewForm& view, TReadingsConfigForm& settings, ui::UserInteraction& ui)
    : view_(view), settings_(settings), ui_(ui) {
  view_.Hooks().saveEnvironment = [this](const QString& fileName) { return SaveEnvironment(fileName); };
  view_.Hooks().loadEnvironment = [this](const QString& fileName, EnvironmentSource source) {
    return LoadEnvironment(fileName, source);
  };
}

EnvironmentCommands::~EnvironmentCommands() {
  view_.Hooks().saveEnvironment = nullptr;
  view_.Hooks().loadEnvironment = nullptr;
}

void EnvironmentCommands::ShowMessage(int message, const QString& detail) {
  QString text = view_.Messages()[static_cast<size_t>(message)];
  if (!detail.isEmpty()) text += QStringLiteral("\n") + detail;
  ui_.ShowMessage(&view_, text);
}

Environment EnvironmentCommands::CollectEnvironment() const {
  Environment env;
  // A maximized window keeps the place it comes back to when it is restored.
  const bool maximized = view_.isMaximized();
  const QRect g = maximized && view_.normalGeometry().isValid() ? view_.normalGeometry() : view_.geometry();
  env.mainWindow = {maximized, g.left(), g.top(), g.width(), g.height()};

  EnvironmentReadings& r = env.readings;
  r.errorValue = view_.GetErrorValue();
  r.historyOn = settings_.GetLogEnabled();
  r.historyIntervalMs = settings_.GetLogInterval();
  r.fastMode = settings_.GetFastMode();
  r.historyFileName = platform::ToCp1252(settings_.GetLogFileName());
  const TriggerSettings& t = view_.Trigger();
  r.triggerOn = t.on;
  r.triggerComparison = t.comparison != 0 ? 1 : 0;
  r.triggerLevel = t.level;
  r.triggerSourceSerial = t.sourceSerial;
  r.triggerSourceIndex = t.sourceIndex;

  // The reading interval travels only in the window records, where each window keeps the one
  // of the last run it saw (or a new window's default): every record gets the settings' own.
  const int32_t readInterval = settings_.GetReadInterval();
  for (QWidget* child : view_.ChildWindows()) {
    const auto* form = qobject_cast<const TDisplayForm*>(child);
    if (form == nullptr) continue;  // history viewers are not part of the workspace
    DisplayWindowRecord record = form->GetWindowRecord();
    record.config.readInterval = readInterval;
    env.windows.push_back(std::move(record));
  }
  return env;
}

bool EnvironmentCommands::SaveEnvironment(const QString& fileName) {
  const std::vector<uint8_t> bytes = EncodeEnvironment(CollectEnvironment());
  platform::AtomicFile file;
  const bool saved = file.Open(QFile::encodeName(fileName).toStdString()) &&
                     file.Write(reinterpret_cast<const char*>(bytes.data()), bytes.size()) && file.Commit();
  if (!saved) ShowMessage(kMsgFileOpenProblem, fileName + QStringLiteral("\n") + QString::fromLocal8Bit(file.Error()));
  return saved;
}

bool EnvironmentCommands::LoadEnvironment(const QString& fileName, EnvironmentSource source) {
  std::string bytes, reason;
  platform::FileFailure failure = platform::FileFailure::kNone;
  if (!platform::ReadRegularFile(QFile::encodeName(fileName).toStdString(), bytes, &reason, &failure)) {
    // The program starts without the last workspace when something other than a regular file
    // stands in its place, as it does without the file.
    const bool quiet = failure == platform::FileFailure::kMissing ||
                       (failure == platform::FileFailure::kNotRegular && source == EnvironmentSource::kLastSession);
    if (!quiet) {
      ShowMessage(failure == platform::FileFailure::kCannotRead ? kMsgFileReadProblem : kMsgFileOpenProblem,
                  fileName + QStringLiteral("\n") + QString::fromLocal8Bit(reason));
    }
    return false;
  }
  const EnvironmentReadResult read = DecodeEnvironment(
      std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
  switch (read.status) {
    case EnvironmentReadStatus::kRecordShort:
      ShowMessage(kMsgFileReadProblem, fileName);
      return false;
    case EnvironmentReadStatus::kNewerVersion:
      ShowMessage(kMsgEnvironmentTooNew, fileName);
      return false;
    case EnvironmentReadStatus::kOk:
    case EnvironmentReadStatus::kEntriesCut:
      break;
  }
  ApplyPlacement(read.environment.mainWindow);
  ApplyReadings(read.environment.readings);
  for (const DisplayWindowRecord& record : read.environment.windows) {
    if (!AddDisplayWindow(record)) return false;
  }
  return read.status == EnvironmentReadStatus::kOk;
}

void EnvironmentCommands::ApplyPlacement(const EnvironmentPlacement& placement) {
  if (view_.isMaximized() && !placement.maximized) view_.showNormal();
  view_.setGeometry(SafeRect(placement.left, placement.top, placement.width, placement.height));
  if (placement.maximized) view_.showMaximized();
}

void EnvironmentCommands::ApplyReadings(const EnvironmentReadings& r) {
  view_.SetErrorValue(r.errorValue);
  settings_.SetErrorValue(r.errorValue);
  settings_.SetLogEnabled(r.historyOn);
  settings_.SetFastMode(r.fastMode);
  settings_.SetLogInterval(r.historyIntervalMs);
  settings_.SetLogFileName(platform::FromCp1252(r.historyFileName));
  const TriggerSettings trigger{r.triggerOn, r.triggerComparison, r.triggerLevel, r.triggerSourceSerial,
                                r.triggerSourceIndex};
  view_.SetTrigger(trigger);
  settings_.SetTrigger(trigger);
  // Through the main window, which also shows the history state and its commands.
  if (r.historyOn) {
    view_.EnableHistory();
  } else {
    view_.DisableHistory();
  }
}

bool EnvironmentCommands::AddDisplayWindow(const DisplayWindowRecord& record) {
  TDisplayForm* form = nullptr;
  try {
    form = new TDisplayForm();
  } catch (const std::exception&) {
    return false;
  }
  view_.AddChildWindow(form);
  DisplayWindowRecord placement;
  const QRect safe = SafeRect(record.left, record.top, record.width, record.height);
  placement.maximized = record.maximized;
  placement.left = safe.left();
  placement.top = safe.top();
  placement.width = safe.width();
  placement.height = safe.height();
  form->SetWindowPlacement(placement);
  form->Configure(record.config);
  // The settings take each window's interval in turn (within their limits): the last one stays.
  settings_.SetReadInterval(record.config.readInterval);
  return true;
}

}  // namespace app
