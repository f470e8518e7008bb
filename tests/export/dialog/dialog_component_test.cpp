// The export dialog component: what a new one holds, the refusals before any form exists,
// source links that clear when a source goes, the run of the form, and the format table with
// its file filters.
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "export/dialog/export_formats.h"
#include "export/dialog/form_file_dialogs.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/library_strings.h"
#include "fake_dialog_services.h"

using namespace vantrix;
using testsupport::FakeDialogServices;

namespace {

class Component : public ::testing::Test {
 protected:
  Component() { dialog.SetServices(&services); }
  void TearDown() override { VantrixLocale().SetHook({}); }

  // The message Execute raised, or empty when it ran.
  std::string ExecuteError() {
    try {
      dialog.Execute();
    } catch (const EVantrixError& e) {
      return e.what();
    }
    return {};
  }

  FakeDialogServices services;
  TVantrix3Dialog dialog;
};

}  // namespace

TEST_F(Component, StartsWithEveryFormatAndPageOffered) {
  EXPECT_EQ(dialog.AllowedExports.Bits(), 0x3FFF);
  EXPECT_EQ(dialog.CommonOptions.Bits(), 31);
  EXPECT_EQ(dialog.ExportSource, esDataSet);
  EXPECT_EQ(dialog.CaptionRow, -1);
  EXPECT_TRUE(dialog.ShowFile && dialog.ExportEmpty && dialog.GoToFirstRecord && dialog.AutoChangeFileExt);
  EXPECT_FALSE(dialog.PrintFile || dialog.SaveLoadButtons || dialog.AutoLoadOptions);
  EXPECT_EQ(dialog.XLSOptions.GetOwner(), &dialog);
  EXPECT_EQ(dialog.PDFOptions.GetOwner(), &dialog);
}

TEST_F(Component, HolderSettersCopyIntoTheOwnedHolderAndRefuseOtherClasses) {
  TVantrixSQLOptions sql(nullptr);
  sql.TableName = "ORDERS";
  const TVantrixSQLOptions* owned = &dialog.SQLOptions;
  dialog.SetSQLOptions(sql);
  EXPECT_EQ(&dialog.SQLOptions, owned);
  EXPECT_EQ(dialog.SQLOptions.TableName, "ORDERS");
  EXPECT_THROW(dialog.SetSQLOptions(TVantrixXMLOptions(nullptr)), EConvertError);
}

TEST_F(Component, EmptyFormatSetIsRefusedBeforeAnyFormEvenWithASource) {
  TVantrixCustomSource source;
  source.Columns().Add()->SetColumnName("A");
  dialog.ExportSource = esCustom;
  dialog.SetCustomSource(&source);
  dialog.AllowedExports = TAllowedExports();
  EXPECT_EQ(ExecuteError(), "Property Allowed cannot be empty");
  EXPECT_TRUE(services.log.isEmpty());
}

TEST_F(Component, MissingSourcesAreRefusedWithTheirKindsName) {
  EXPECT_EQ(ExecuteError(), "Export source (DataSet) is not assigned");
  dialog.ExportSource = esCustom;
  EXPECT_EQ(ExecuteError(), "Export source (CustomSource) is not assigned");
  dialog.ExportSource = esStringGrid;
  EXPECT_EQ(ExecuteError(), "Export source (StringGrid) is not assigned");
  EXPECT_TRUE(services.log.isEmpty());
}

TEST_F(Component, ADestroyedSourceLeavesEveryLinkToItEmpty) {
  auto source = std::make_unique<TVantrixModelSource>();
  dialog.SetDataSet(source.get());
  dialog.SetListView(source.get());
  source.reset();
  EXPECT_EQ(dialog.DataSet(), nullptr);
  EXPECT_EQ(dialog.ListView(), nullptr);
  EXPECT_EQ(ExecuteError(), "Export source (DataSet) is not assigned");
}

TEST_F(Component, ExecuteFillsTheColumnsAndRunsTheFormOnce) {
  TVantrixCustomSource source;
  for (const char* name : {"Time", "Temperature"}) source.Columns().Add()->SetColumnName(name);
  dialog.ExportSource = esCustom;
  dialog.SetCustomSource(&source);
  QString title;
  services.onModal = [&](QDialog* form) {
    EXPECT_EQ(form->objectName(), "Vantrix3DialogF");
    EXPECT_EQ(&static_cast<TVantrix3DialogF*>(form)->GetDialog(), &dialog);
    form->accept();
  };
  EXPECT_EQ(ExecuteError(), "");
  EXPECT_EQ(services.log, QStringList{"modal|Vantrix3DialogF"});
  ASSERT_EQ(dialog.Columns().Count(), 2);
  EXPECT_EQ(dialog.Columns()[1].Name, "Temperature");
  EXPECT_TRUE(dialog.findChildren<QDialog*>().isEmpty());
  // A second run starts from the source again.
  source.Columns().Add()->SetColumnName("Humidity");
  EXPECT_EQ(ExecuteError(), "");
  EXPECT_EQ(dialog.Columns().Count(), 3);
}

TEST(FormatTable, NamesFiltersAndExtensionsByFormat) {
  FillExportTypeStringArray();
  FillExportTypeFilterArray();
  EXPECT_EQ(ExportTypeNames()[aeXLS], "MS Excel");
  EXPECT_EQ(ExportTypeNames()[aeClipboard], "Windows Clipboard");
  EXPECT_EQ(ExportTypeFilters()[aeSQL], "SQL files (*.sql)|*.sql");
  EXPECT_EQ(ExportTypeExtensions()[aeSylk], "slk");
  EXPECT_EQ(ExportTypeExtensions()[aeWord], "doc");
  EXPECT_EQ(ExportTypeFilters()[aeClipboard], "");
  EXPECT_EQ(ExportTypeExtensions()[aeClipboard], "");
}

TEST(FormatTable, AChangedStringTableShowsAtTheNextFill) {
  VantrixLocale().SetHook([](int id, std::string& text) {
    if (id == 34061) text = "Valores separados";
  });
  FillExportTypeStringArray();
  EXPECT_EQ(ExportTypeNames()[aeCSV], "Valores separados");
  VantrixLocale().SetHook({});
  FillExportTypeStringArray();
  EXPECT_EQ(ExportTypeNames()[aeCSV], "CSV File");
}

TEST(FormatTable, FiltersBecomeQtFiltersWithEveryPattern) {
  FillExportTypeFilterArray();
  EXPECT_EQ(QtFileFilter(ExportTypeFilters()[aeXLS]), "Microsoft Excel files (*.xls)");
  // The library's HTML filter runs its two patterns together; both must reach the dialog.
  EXPECT_EQ(QtFileFilter(ExportTypeFilters()[aeHTML]), "HTML files (*.html *.htm)");
  EXPECT_EQ(QtFileFilter(ExportTypeFilters()[aePDF]), "PDF Documents (*.pdf)");
  EXPECT_EQ(QtFileFilter("Configuration files (*.cfg)|*.cfg|All files (*.*)|*.*"),
            "Configuration files (*.cfg);;All files (*.*)");
  EXPECT_EQ(QtFileFilter("Mixed|*.a; *.b,*.c*.d"), "Mixed (*.a *.b *.c *.d)");
  EXPECT_EQ(QtFileFilter(""), "");
  EXPECT_EQ(QtFileFilter("No pattern|"), "");
}

TEST(FormFileDialogs, StyleOptionAndTemplateFilesKeepTheirExtensions) {
  const FileRequest options = FormFileDialog("sdOptions");
  EXPECT_EQ(options.filter, "Configuration files (*.cfg);;All files (*.*)");
  EXPECT_EQ(options.defaultSuffix, "cfg");
  EXPECT_EQ(FormFileDialog("odRTFStyle").filter, "RTF style file (*.rst);;All files (*.*)");
  const FileRequest templ = FormFileDialog("odHTMLTemplate");
  EXPECT_EQ(templ.filter, "HTML template file (*.htf)");
  EXPECT_EQ(templ.title, "Load HTML template");
  EXPECT_EQ(FormFileDialog("opdHTMLBackground").filter, "Pictures (*.gif *.jpg *.jpeg *.png *.bmp);;All files (*.*)");
  EXPECT_EQ(FormFileDialog("noSuchDialog").filter, "All files (*.*)");
}
