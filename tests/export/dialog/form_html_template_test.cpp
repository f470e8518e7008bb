// The HTML page's template chooser and template files: a built-in template gives the preview
// its colours (again after a colour was changed by hand), a template file round trips the
// colours and font and makes the choice custom, a file that cannot be written is told, and a
// template read is never written over by a run.
#include <QComboBox>
#include <QFileInfo>
#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/model_source.h"
#include "export/vantrix3_html.h"
#include "dialog_form_fixture.h"
#include "fake_dialog_services.h"
#include "tests/export/export_fixtures.h"

using namespace vantrix;
using testsupport::FakeDialogServices;

namespace {

class FormHTMLTemplate : public dialogtest::DialogFormTest {
 protected:
  FormHTMLTemplate() {
    source.Columns().Add()->SetColumnName("Station");
    dialog.Columns().Fill(true);
    form = std::make_unique<TVantrix3DialogF>(dialog);
    form->InitializeDialog();
    templates = form->Control<QComboBox>("cbxHTMLTemplate");
  }

  void Choose(THTMLTemplate t) {
    templates->setCurrentIndex(t);
    emit templates->activated(t);
  }

  QComboBox* templates = nullptr;
  exporttest::TempFolder folder;
};

}  // namespace

TEST_F(FormHTMLTemplate, ABuiltInTemplateColoursThePreviewEvenWhenChosenAgain) {
  Choose(htMurky);
  THTMLOptions expected;
  TTableOptions expectedTable;
  ApplyHTMLTemplate(htMurky, expected, expectedTable);
  EXPECT_EQ(form->Options().HTMLBackgroundColor, expected.BackgroundColor);
  EXPECT_EQ(form->Options().HTMLHeadBackgroundColor, expectedTable.HeadersRowBgColor);
  EXPECT_EQ(form->Options().HTMLFontName, expected.TextFont.name);
  // A colour picked by hand makes the choice custom; choosing the template again restores it.
  form->SetHTMLBackgroundColor(0x123456);
  Choose(htMurky);
  EXPECT_EQ(form->Options().HTMLBackgroundColor, expected.BackgroundColor);
  // The custom entry keeps the colours as they are.
  form->SetHTMLBackgroundColor(0x123456);
  Choose(htCustom);
  EXPECT_EQ(form->Options().HTMLBackgroundColor, 0x123456u);
}

TEST_F(FormHTMLTemplate, ATemplateFileRoundTripsAndMakesTheChoiceCustom) {
  Choose(htOlive);
  form->SetHTMLLinkColor(0x00AA00);
  form->SetHTMLFontName("Verdana");
  // In a folder whose name has an accented letter: the file goes into that very folder.
  const QString file = QString::fromStdString(folder / "Modelos") + QStringLiteral(" de \u00c1rea/mine.htf");
  std::filesystem::create_directories(QFileInfo(file).path().toStdString());
  services.files.push_back(file);
  form->Control<QPushButton>("bHTMLSaveTemplate")->click();
  ASSERT_TRUE(std::filesystem::exists(file.toStdString()));
  const TDialogFormOptions saved = form->Options();

  Choose(htBW);
  EXPECT_NE(form->Options().HTMLLinkColor, saved.HTMLLinkColor);
  services.files.push_back(file);
  form->Control<QPushButton>("bHTMLLoadTemplate")->click();
  EXPECT_EQ(templates->currentIndex(), htCustom);
#define VANTRIX_EXPECT_COLOR(name) EXPECT_EQ(form->Options().name, saved.name) << #name;
  VANTRIX_FORM_COLOR_OPTIONS(VANTRIX_EXPECT_COLOR)
#undef VANTRIX_EXPECT_COLOR
  EXPECT_EQ(form->Options().HTMLFontName, "Verdana");
  EXPECT_EQ(form->HTMLExp().HTMLTemplate(), htCustom);

  // Cancelled dialogs change nothing; an unwritable file is told.
  form->Control<QPushButton>("bHTMLLoadTemplate")->click();
  EXPECT_EQ(form->Options().HTMLFontName, "Verdana");
  // So is a template in UTF-16, which leaves the colours and the font as they were.
  const std::string wide = folder / "wide.htf";
  {
    std::ofstream out(wide, std::ios::binary);
    out << std::string("\xFE\xFF\0[\0H\0T\0M\0L", 12);
  }
  services.files.push_back(QString::fromStdString(wide));
  form->Control<QPushButton>("bHTMLLoadTemplate")->click();
  EXPECT_EQ(form->Options().HTMLFontName, "Verdana");
  EXPECT_EQ(form->Options().HTMLLinkColor, saved.HTMLLinkColor);
  EXPECT_NE(services.log.last().indexOf(QStringLiteral("it is UTF-16 text")), -1) << services.log.last().toStdString();
  services.files.push_back(QString::fromStdString(folder / "no/such/dir.htf"));
  form->Control<QPushButton>("bHTMLSaveTemplate")->click();
  ASSERT_FALSE(services.log.isEmpty());
  EXPECT_TRUE(services.log.last().startsWith("message|")) << services.log.last().toStdString();
}

// A run never writes over the template file the form read, by whatever name the page is
// given: the user is told why, and the template stays as it was.
TEST_F(FormHTMLTemplate, ARunNeverWritesOverTheTemplateTheFormRead) {
  const std::string file = folder / "mine.htf", page = folder / "page.html";
  services.files.push_back(QString::fromStdString(file));
  form->Control<QPushButton>("bHTMLSaveTemplate")->click();
  const std::string saved = exporttest::ReadFile(file);
  ASSERT_FALSE(saved.empty());
  services.files.push_back(QString::fromStdString(file));
  form->Control<QPushButton>("bHTMLLoadTemplate")->click();
  ASSERT_EQ(symlink(file.c_str(), page.c_str()), 0);

  // Shown when done, so that a run that went through would not wait for its window.
  form->SetShowFile(true);
  form->SetExportType(aeHTML);
  form->rgExportTypeClick();
  form->SetFileName(page);
  form->ShowButtons();
  services.log.clear();
  form->Control<QPushButton>("bStart")->click();
  ASSERT_EQ(services.log.filter("message|").size(), 1);
  EXPECT_EQ(services.lastMessage.text.toStdString(),
            "Cannot write the file \"" + page + "\": it is \"" + file + "\", a file this export reads");
  EXPECT_EQ(exporttest::ReadFile(file), saved);
}
