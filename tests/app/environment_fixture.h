#pragma once
// The program's forms on a program directory of their own, an empty port folder (so display
// windows look for their instruments and find none), a scripted user and a printer that
// prints into a PDF file.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "app/help_viewer.h"
#include "app/program_forms.h"
#include "app/readings_config_form.h"
#include "app/view_form.h"
#include "display/display_form.h"
#include "display/readings_state.h"
#include "support/fake_user_interaction.h"
#include "tests/instrument/pty_pair.h"
#include "ui/language_file.h"
#include "ui/print_service.h"
#include "ui/program_directory.h"

namespace envtest {

class NoHelp : public app::HelpViewer {
 public:
  void ShowContext(const QString&, int) override {}
  void ShowDefaultTopic(const QString&) override {}
  void CloseAll() override {}
};

class ProgramTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    ui::SetProgramDirectory(dir_.path().toStdString());
    ui::ProgramLanguage().Clear();
    SetReadingsStopped(true);
    Start();
  }
  void TearDown() override { forms_.reset(); }

  // A new program: its forms, the main window shown.
  void Start() {
    forms_.reset();
    auto pdf = std::make_unique<ui::PdfFilePrintService>(File("print.pdf"), &user_);
    printer_ = pdf.get();
    forms_ = app::CreateProgramForms(user_, help_, std::move(pdf));
    View().show();
  }

  app::TViewForm& View() { return *forms_->viewForm; }
  app::TReadingsConfigForm& Settings() { return *forms_->readingsConfigForm; }
  QString File(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
  QAction* Item(const char* name) { return View().menuBar()->findChild<QAction*>(QString::fromLatin1(name)); }

  // The display windows in the MDI area's order, once closed ones are gone.
  std::vector<TDisplayForm*> Displays() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    std::vector<TDisplayForm*> forms;
    for (QWidget* child : View().ChildWindows()) {
      if (auto* form = qobject_cast<TDisplayForm*>(child)) forms.push_back(form);
    }
    return forms;
  }
  static QRect Frame(const TDisplayForm* form) { return form->parentWidget()->geometry(); }

  // A display window as the environment loader makes one.
  TDisplayForm* AddDisplay(const DisplayConfig& config, QRect frame) {
    auto* form = new TDisplayForm();
    View().AddChildWindow(form);
    DisplayWindowRecord placement;
    placement.left = frame.left();
    placement.top = frame.top();
    placement.width = frame.width();
    placement.height = frame.height();
    form->SetWindowPlacement(placement);
    form->Configure(config);
    return form;
  }

  QTemporaryDir dir_;
  testing_support::TempPortFolder ports_;
  testsupport::FakeUserInteraction user_;
  NoHelp help_;
  ui::PdfFilePrintService* printer_ = nullptr;
  std::unique_ptr<app::ProgramForms> forms_;
};

// Configurations of every kind, with something of their own set.
inline DisplayConfig Chart(std::initializer_list<const char*> channels) {
  DisplayConfig c = DisplayConfig::NewWindowDefaults();
  ChartSettings chart;
  chart.lineWidth = 2;
  chart.yMax = 150;
  c.SetChart(chart);
  uint16_t index = 1;
  for (const char* name : channels) {
    ChartChannelEntry e;
    e.name = name;
    e.color = 0x0000FFu * index;
    e.deviceSerial = 20;
    e.valueIndex = index++;
    c.chartChannels.push_back(e);
  }
  return c;
}

inline DisplayConfig OfKind(DisplayKind kind, uint32_t serial) {
  DisplayConfig c = DisplayConfig::NewWindowDefaults();
  c.kind = kind;
  c.deviceSerial = serial;
  c.valueIndex = 1;
  c.deviceTag = "Estufa";
  c.channelName = "Canal 1";
  switch (kind) {
    case DisplayKind::LcdIndicator: c.SetLcd({0x010203, 0x040506, 0x070809, 6}); break;
    case DisplayKind::LedDigits: c.SetLed({0x0000FF, 0x202020, 4, 10, 0x101010}); break;
    case DisplayKind::BarMeter: c.SetBar({}); break;
    case DisplayKind::DialGauge: c.SetDial({}); break;
    case DisplayKind::AnalogMeter: c.SetMeter({}); break;
    default: break;
  }
  return c;
}

}  // namespace envtest
