#pragma once
// A main window on a program directory of its own, with a recording user and help viewer.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QToolButton>
#include <memory>

#include "app/language_file.h"
#include "app/program_directory.h"
#include "app/view_form.h"
#include "app_fakes.h"
#include "test_language.h"

namespace apptest {

class ViewFormTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    app::SetProgramDirectory(dir_.path().toStdString());
    app::ProgramLanguage().Clear();
  }
  void TearDown() override {
    form_.reset();
    app::ProgramLanguage().Clear();
  }

  app::TViewForm& Make() {
    form_ = std::make_unique<app::TViewForm>(user_, help_);
    return *form_;
  }
  app::TViewForm& MakeTranslated(const std::string& bytes = apptest::MakeTestLanguageFile()) {
    apptest::WriteLanguageFile(dir_.path(), bytes);
    return Make();
  }

  QAction* Item(const char* name) { return form_->findChild<QAction*>(QString::fromLatin1(name)); }
  QMenu* Menu(const char* name) { return form_->findChild<QMenu*>(QString::fromLatin1(name)); }
  QToolButton* Button(const char* name) { return form_->findChild<QToolButton*>(QString::fromLatin1(name)); }
  QString Panel(int i) { return form_->StatusPanel(i)->text(); }
  QString Program(const char* file) { return dir_.path() + QLatin1Char('/') + QString::fromLatin1(file); }

  // The MDI children left after closing, once deferred deletions ran.
  int Children() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return static_cast<int>(form_->ChildWindows().size());
  }
  FakeDisplayWindow* AddDisplay() {
    auto* display = new FakeDisplayWindow;
    form_->AddChildWindow(display);
    return display;
  }
  FakeHistoryViewer* AddViewer() {
    auto* viewer = new FakeHistoryViewer;
    form_->AddChildWindow(viewer);
    return viewer;
  }

  QTemporaryDir dir_;
  testsupport::FakeUserInteraction user_;
  apptest::FakeHelp help_;
  std::unique_ptr<app::TViewForm> form_;
};

}  // namespace apptest
