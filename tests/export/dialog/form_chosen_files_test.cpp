// Files chosen in the form's own file dialogs are read and written under the name the file
// system gives them: an options file in a folder whose name holds an accented letter is saved
// into that folder, loaded back from it, and offered again by the next dialog.
#include <QAction>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "dialog_form_fixture.h"
#include "tests/export/export_fixtures.h"

using namespace vantrix;

namespace {

class ChosenFiles : public dialogtest::DialogFormTest {
 protected:
  ChosenFiles() {
    AddColumns({"Station", "Temperature"});
    dialog.SaveLoadButtons = true;
  }

  exporttest::TempFolder folder;
};

TEST_F(ChosenFiles, AnOptionsFileInAnAccentedFolderIsThatFolder) {
  const QString where = QString::fromStdString(folder.Path()) + QStringLiteral("/Op\u00e7\u00f5es de \u00c1rea");
  ASSERT_TRUE(QDir().mkpath(where));
  const QString file = where + QStringLiteral("/export.cfg");
  Open();
  Choose(aeCSV);
  services.files.push_back(file);
  form->Control<QAction>("miSaveOptions")->trigger();
  ASSERT_TRUE(QFile::exists(file));
  EXPECT_EQ(form->Options().OptionsFileName, QFile::encodeName(file).toStdString());

  // The next dialog starts at that file; loading it brings the format back.
  Open();
  Choose(aeXLS);
  form->SetOptionsFileName(QFile::encodeName(file).toStdString());
  services.files.push_back(file);
  form->Control<QAction>("miLoadOptions")->trigger();
  EXPECT_EQ(services.lastFileRequest.initialFile, file);
  EXPECT_EQ(form->GetExportType(), aeCSV);
}

}  // namespace
