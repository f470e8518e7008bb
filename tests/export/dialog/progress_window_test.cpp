// The export progress window driven by posted progress events, its timer and its button, and
// how a run of the form shows it.
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "dialog_form_fixture.h"
#include "export/dialog/progress_window.h"
#include "export/vantrix3.h"
#include "tests/export/export_fixtures.h"

using namespace vantrix;

namespace {

class CountingExporter : public TVantrix3 {};

class Progress : public ::testing::Test {
 protected:
  QString Text(const char* name) const { return window.findChild<QLabel*>(name)->text(); }
  QPushButton* Button() const { return window.findChild<QPushButton*>("bButton"); }
  void Post(std::initializer_list<int> codes) {
    for (int code : codes) PostExportProgress(&window, code);
    QCoreApplication::processEvents();
  }
  CountingExporter exporter;
  TfmVantrix3Progress window{nullptr, &exporter};
};

// Services that keep a run's window off the screen, as a run without a person watching may.
class OffScreenServices : public testsupport::FakeDialogServices {
 public:
  void ShowModeless(QDialog* dialog) override { shown << dialog->objectName(); }
  QStringList shown;
};

class RunWindow : public dialogtest::DialogFormTest {
 protected:
  RunWindow() {
    dialog.ShowFile = true;  // the window closes itself at the end
    UseStationReadings(3);
  }

  // Runs a CSV export; whether the window was on screen while the rows went out.
  bool ShownDuringTheRun() {
    Open();
    Choose(aeCSV);
    form->SetFileName(folder / "run.csv");
    bool shown = false;
    dialog.OnExportedRecord = [&](TVantrix3&, int) { shown = form->ProgressWindow()->isVisible(); };
    form->bStartClick();
    EXPECT_EQ(form->ProgressWindow(), nullptr);
    QFile file(QString::fromStdString(folder / "run.csv"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().count('\n'), 4);  // the captions and the three rows
    return shown;
  }

  exporttest::TempFolder folder;
};

}  // namespace

TEST_F(Progress, EachCodeShowsItsOwnCountUnderItsOwnCaption) {
  EXPECT_EQ(window.windowTitle(), "Exporting...");
  Post({1});
  EXPECT_EQ(Text("laStatusValue"), "Preparing...");
  EXPECT_EQ(Button()->text(), "Cancel");
  Post({2, 2, 4});
  EXPECT_EQ(Text("laExported"), "Exported");
  EXPECT_EQ(Text("laExportedValue"), "1");
  EXPECT_EQ(window.FetchedRows(), 2);
  Post({3});
  EXPECT_EQ(Text("laExported"), "Skipped");
  EXPECT_EQ(Text("laStatusValue"), "Skipping...");
}

TEST_F(Progress, CodesOutsideTheRangeChangeNothing) {
  Post({1, 4});
  Post({0, 10, -1});
  EXPECT_EQ(window.Status(), estExporting);
  EXPECT_EQ(Text("laExportedValue"), "1");
  EXPECT_TRUE(window.Timer()->isActive());
  EXPECT_EQ(window.ModalResult(), 0);
}

TEST_F(Progress, SpeedIsRowsPerWholeSecond) {
  for (int i = 0; i < 150; ++i) window.ExportProgress(kProgressExported);
  EXPECT_EQ(Text("laTimeValue"), "0:00:00");
  for (int i = 0; i < 3; ++i) window.TimerTick();
  EXPECT_EQ(Text("laSpeedValue"), "50 rows/sec");
  EXPECT_EQ(Text("laTimeValue"), "0:00:03");
  window.TimerTick();
  EXPECT_EQ(Text("laSpeedValue"), "37 rows/sec");  // the fraction is dropped
}

TEST_F(Progress, PauseStopsTheTimerAndContinueRestartsIt) {
  Post({1});
  EXPECT_TRUE(window.Timer()->isActive());
  Post({5});
  EXPECT_FALSE(window.Timer()->isActive());
  EXPECT_EQ(Text("laStatusValue"), "Pause");
  Post({6});
  EXPECT_TRUE(window.Timer()->isActive());
  EXPECT_EQ(Text("laStatusValue"), "Exporting...");
  Post({8});
  EXPECT_FALSE(window.Timer()->isActive());
  EXPECT_EQ(Button()->text(), "OK");
}

TEST_F(Progress, ButtonAbortsDuringARunAndClosesAfterTheEnd) {
  Post({1, 4});
  Button()->click();
  EXPECT_TRUE(exporter.Aborted());
  EXPECT_EQ(window.ModalResult(), 0);
  Post({8});
  Button()->click();
  EXPECT_EQ(window.ModalResult(), 1);
}

TEST_F(Progress, ButtonClosesOnceTheRunHasReturnedWhateverTheState) {
  // An abort while the run prepared: no end code ever comes.
  Post({1});
  Button()->click();
  EXPECT_EQ(window.ModalResult(), 0);
  window.SetRunReturned();
  Button()->click();
  EXPECT_EQ(window.ModalResult(), 1);
}

TEST_F(Progress, CloseCodeClosesTheWindow) {
  window.show();
  Post({1, 4, 8, 9});
  EXPECT_EQ(window.ModalResult(), 1);
  EXPECT_FALSE(window.isVisible());
}

TEST_F(Progress, EscapeAndCloseActAsTheButton) {
  window.show();
  Post({1, 4});
  // During the run they ask the run to stop and the window stays.
  QTest::keyClick(&window, Qt::Key_Escape);
  EXPECT_TRUE(exporter.Aborted());
  EXPECT_FALSE(window.close());
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.ModalResult(), 0);
  // Once it has ended they close it with the button's result.
  Post({7});
  QTest::keyClick(&window, Qt::Key_Escape);
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(window.ModalResult(), 1);
}

TEST_F(RunWindow, IsShownThroughTheServicesAndTheRunEndsEitherWay) {
  EXPECT_TRUE(ShownDuringTheRun());
  OffScreenServices offScreen;
  dialog.SetServices(&offScreen);
  EXPECT_FALSE(ShownDuringTheRun());
  EXPECT_EQ(offScreen.shown, QStringList{"fmVantrix3Progress"});
  form.reset();  // before the services it was opened with
}
