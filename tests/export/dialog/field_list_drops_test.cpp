// Fields dragged between the available and exported lists: the moved item keeps its column
// index and picture, and the spreadsheet's field formats follow the exported fields.
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "export/dialog/field_list_drops.h"
#include "export/dialog/form_rules.h"
#include "export/dialog/list_items.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/model_source.h"
#include "fake_dialog_services.h"
#include "tests/export/export_fixtures.h"

using namespace vantrix;
using testsupport::FakeDialogServices;

namespace {

class FieldDrops : public ::testing::Test {
 protected:
  FieldDrops() {
    dialog.SetServices(&services);
    dialog.ExportSource = esCustom;
    dialog.SetCustomSource(&source);
    for (const char* name : {"Time", "Temperature", "Humidity"}) source.Columns().Add()->SetColumnName(name);
    dialog.Columns().Clear();
    dialog.Columns().Fill(true);
    form = std::make_unique<TVantrix3DialogF>(dialog);
    form->InitializeDialog();
    available = form->Control<QTreeWidget>("lstAvailableFields");
    exported = form->Control<QTreeWidget>("lstExportedFields");
    formats = form->Control<QTreeWidget>("lstXLSFields");
  }

  static QString Names(QTreeWidget* list, bool withImages = false) {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
      QTreeWidgetItem* item = list->topLevelItem(i);
      out << (withImages ? QStringLiteral("%1:%2").arg(item->text(0)).arg(ItemImage(item)) : item->text(0));
    }
    return out.join(QLatin1Char(' '));
  }
  void Pick(QTreeWidget* list, int index) {
    list->clearSelection();
    list->setCurrentItem(list->topLevelItem(index));
  }

  FakeDialogServices services;
  TVantrix3Dialog dialog;
  TVantrixCustomSource source;
  std::unique_ptr<TVantrix3DialogF> form;
  QTreeWidget *available = nullptr, *exported = nullptr, *formats = nullptr;
};

TEST_F(FieldDrops, MovesKeepColumnIndexAndTheFormatsFollow) {
  ASSERT_EQ(Names(available), QStringLiteral("Time Temperature Humidity"));
  ASSERT_EQ(exported->topLevelItemCount(), 0);

  // Reordering inside the available list moves the item itself.
  Pick(available, 0);
  lstAvailableFieldsDragDrop(*form, available, available->topLevelItem(1));
  EXPECT_EQ(Names(available), QStringLiteral("Temperature Time Humidity"));
  EXPECT_EQ(available->topLevelItem(1)->data(0, kFieldIndexRole).toInt(), 0);
  EXPECT_EQ(available->currentItem(), available->topLevelItem(1));
  // Dropped on nothing, or on itself: nothing moves.
  lstAvailableFieldsDragDrop(*form, available, nullptr);
  lstAvailableFieldsDragDrop(*form, available, available->topLevelItem(1));
  EXPECT_EQ(Names(available), QStringLiteral("Temperature Time Humidity"));

  Pick(available, 2);
  lstExportedFieldsDragDrop(*form, available);
  Pick(available, 0);
  lstExportedFieldsDragDrop(*form, available);
  EXPECT_EQ(Names(exported, true), QStringLiteral("Humidity:1 Temperature:1"));
  EXPECT_EQ(Names(formats, true), QStringLiteral("Humidity:1 Temperature:1 Time:0"));

  // Within the exported list the dragged field goes last.
  Pick(exported, 0);
  lstExportedFieldsDragDrop(*form, exported);
  EXPECT_EQ(Names(exported), QStringLiteral("Temperature Humidity"));
  EXPECT_EQ(Names(formats, true), QStringLiteral("Temperature:1 Humidity:1 Time:0"));

  // Back to the available fields in column order; with none exported every field counts.
  Pick(exported, 1);
  lstAvailableFieldsDragDrop(*form, exported, nullptr);
  Pick(exported, 0);
  lstAvailableFieldsDragDrop(*form, exported, nullptr);
  EXPECT_EQ(Names(available, true), QStringLiteral("Time:0 Temperature:0 Humidity:0"));
  EXPECT_EQ(exported->topLevelItemCount(), 0);
  EXPECT_EQ(Names(formats, true), QStringLiteral("Temperature:1 Humidity:1 Time:1"));

  EXPECT_TRUE(FieldsListDragOver(available));
  EXPECT_FALSE(FieldsListDragOver(form.get()));
  EXPECT_FALSE(FieldsListDragOver(nullptr));
}

}  // namespace
