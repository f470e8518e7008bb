// Files reaching the main window: the command line, dropped files, history viewers and the
// environment file.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QToolButton>
#include <QUrl>
#include <exception>
#include <memory>
#include <new>

#include "ui/program_constants.h"
#include "ui/child_windows.h"
#include "ui/program_directory.h"
#include "app/view_form.h"

namespace app {

void TViewForm::ProcessCommandLine(const QStringList& arguments) {
  bool loaded = false;
  for (const QString& argument : arguments) {
    if (!argument.toLower().contains(QStringLiteral(".env"))) continue;
    loaded = LoadEnvironment(argument);
    // A load that failed part-way leaves windows behind; they go before the fallback loads,
    // so nothing appears twice.
    if (!loaded) CloseDisplayWindows();
    break;
  }
  if (!loaded) {
    LoadEnvironment(QFile::decodeName(QByteArray::fromStdString(ui::ProgramFilePath(ui::kLastEnvironmentFileName))),
                    EnvironmentSource::kLastSession);
  }
  for (const QString& argument : arguments) {
    if (argument.toLower().contains(QStringLiteral(".mpc"))) OpenHistoryFile(argument);
  }
}

void TViewForm::HandleDroppedFiles(const QStringList& fileNames) {
  for (const QString& name : fileNames) {
    if (name.contains(QStringLiteral(".mpc"))) OpenHistoryFile(name);
    if (name.contains(QStringLiteral(".env"))) {
      // As the menu command, which is disabled while readings run: stop them first.
      StopReadings();
      CloseAllDisplays();
      LoadEnvironment(name);
    }
  }
}

void TViewForm::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TViewForm::dropEvent(QDropEvent* event) {
  QStringList names;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) names << url.toLocalFile();
  }
  event->acceptProposedAction();
  HandleDroppedFiles(names);
}

void TViewForm::OpenHistoryFile(const QString& fileName) {
  if (!hooks_.newHistoryViewer) return;
  // The viewer joins the MDI area only once its file is loaded, so a file that fails leaves
  // no half-built window; the next file is still processed.
  std::unique_ptr<QWidget> viewer;
  QString problem;
  try {
    viewer.reset(hooks_.newHistoryViewer());
    auto* commands = dynamic_cast<ui::HistoryViewerCommands*>(viewer.get());
    if (commands == nullptr) return;
    if (commands->OpenFile(fileName)) {
      AddChildWindow(viewer.release());
      return;
    }
    problem = commands->OpenProblem();
  } catch (const std::bad_alloc&) {
    problem = QString::fromUtf8(ui::kAllocationErrorText.data(), static_cast<qsizetype>(ui::kAllocationErrorText.size()));
  } catch (const std::exception& error) {
    problem = QString::fromUtf8(error.what());
  } catch (...) {
  }
  viewer.reset();
  QString text = messages_[kMsgFileReadProblem] + QStringLiteral("\n") + fileName;
  if (!problem.isEmpty()) text += QStringLiteral("\n") + problem;
  ui_.ShowError(this, messages_[kMsgAttention], text);
}

void TViewForm::CloseDisplayWindows() {
  for (QMdiSubWindow* sub : mdiArea_->subWindowList()) {
    if (dynamic_cast<ui::DisplayWindowCommands*>(sub->widget()) != nullptr) sub->close();
  }
}

void TViewForm::CloseAllDisplays() {
  if (mdiArea_->subWindowList().isEmpty()) return;
  if (ui_.AskYesNo(this, messages_[kMsgAttention], messages_[kMsgCloseWindowsQuestion])) CloseDisplayWindows();
}

bool TViewForm::LoadEnvironment(const QString& fileName, EnvironmentSource source) {
  if (!hooks_.loadEnvironment) return false;
  const bool loaded = hooks_.loadEnvironment(fileName, source);
  // The windows a failed load made before it stopped stay, and are configured like any other.
  bool displays = loaded;
  for (QWidget* child : ChildWindows()) displays = displays || dynamic_cast<ui::DisplayWindowCommands*>(child) != nullptr;
  if (displays) {
    configurarJanela_->setEnabled(true);
    setupWindowToolButton_->setEnabled(true);
  }
  return loaded;
}

bool TViewForm::SaveEnvironment(const QString& fileName) {
  return hooks_.saveEnvironment ? hooks_.saveEnvironment(fileName) : false;
}

}  // namespace app
