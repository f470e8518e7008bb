// The dialog's style lists: strip-style files written and read back, one attribute copied to
// the selected items, resets that keep the caption element bold, renumbering and the
// field-format list following the exported fields.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <utility>

#include "export/dialog/list_items.h"
#include "export/dialog/style_lists.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/rtf_style.h"
#include "export/xls/xls_format.h"
#include "fake_dialog_services.h"
#include "platform/ini_file.h"
#include "support/unattended_pipe.h"

using namespace vantrix;
using testsupport::FakeDialogServices;

namespace {

class StyleLists : public ::testing::Test {
 protected:
  StyleLists() {
    dialog.SetServices(&services);
    form = std::make_unique<TVantrix3DialogF>(dialog);
  }

  QTreeWidget* List(const char* name) { return form->Control<QTreeWidget>(name); }
  TxlsFormat& AddXLS(QTreeWidget* list, const QString& caption, int size, int image = 2) {
    auto format = std::make_unique<TxlsFormat>();
    format->Font.Size = size;
    TxlsFormat* kept = static_cast<TxlsFormat*>(form->AdoptXLSItem(std::move(format)));
    AddListItem(list, caption, image, static_cast<TxlsCustomItem*>(kept));
    return *kept;
  }
  TrtfStyle& AddRTF(QTreeWidget* list, const QString& caption, int size) {
    auto style = std::make_unique<TrtfStyle>();
    style->Font.size = size;
    TrtfStyle* kept = form->AdoptRTFStyle(std::move(style));
    AddListItem(list, caption, 2, kept);
    return *kept;
  }
  static QStringList Captions(QTreeWidget* list) {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i) out << list->topLevelItem(i)->text(0);
    return out;
  }
  std::string File(const char* name) { return (dir.path() + QLatin1Char('/') + QLatin1String(name)).toStdString(); }

  QTemporaryDir dir;
  FakeDialogServices services;
  TVantrix3Dialog dialog;
  std::unique_ptr<TVantrix3DialogF> form;
};

TEST_F(StyleLists, SpreadsheetStyleFilesNumberSectionsFromZeroAndLoadBack) {
  QTreeWidget* styles = List("lstXLSStyles");
  for (int size : {8, 12, 16}) AddXLS(styles, QStringLiteral("ITEM_%1").arg(size), size);
  ASSERT_TRUE(XLSSaveStyle(*form, File("strips.xst")));
  EXPECT_EQ(platform::IniFile(File("strips.xst")).ReadSections(),
            (std::vector<std::string>{"XLS_STYLE_0", "XLS_STYLE_1", "XLS_STYLE_2"}));

  // A section of another prefix is skipped; the prefix matches in any case; a size a font
  // record cannot hold is kept within it.
  {
    platform::IniFile ini(File("strips.xst"));
    ini.WriteString("OTHER", "FontSize", "9");
    ini.WriteInteger("xls_style_7", "FontSize", 70000);
  }
  styles->clear();
  XLSLoadStyle(*form, File("strips.xst"));
  ASSERT_EQ(Captions(styles), (QStringList{"ITEM_0", "ITEM_1", "ITEM_2", "ITEM_7"}));
  EXPECT_EQ(XLSItemFormat(styles->topLevelItem(1))->Font.Size, 12);
  EXPECT_EQ(XLSItemFormat(styles->topLevelItem(3))->Font.Size, 409);
  EXPECT_EQ(ItemImage(styles->topLevelItem(2)), 2);
  EXPECT_EQ(styles->currentItem(), styles->topLevelItem(0));

  XLSLoadStyle(*form, File("missing.xst"));
  EXPECT_EQ(styles->topLevelItemCount(), 0);
}

TEST_F(StyleLists, RTFStyleFilesRoundTrip) {
  QTreeWidget* strips = List("lstRTFStripStyles");
  AddRTF(strips, QStringLiteral("ITEM_1"), 9).AllowHighlight = true;
  AddRTF(strips, QStringLiteral("ITEM_2"), 14).Alignment = talCenter;
  ASSERT_TRUE(RTFSaveStyle(*form, File("strips.rst")));
  EXPECT_EQ(platform::IniFile(File("strips.rst")).ReadSections(),
            (std::vector<std::string>{"RTF_STRIP_STYLE_0", "RTF_STRIP_STYLE_1"}));
  strips->clear();
  RTFLoadStyle(*form, File("strips.rst"));
  ASSERT_EQ(Captions(strips), (QStringList{"ITEM_0", "ITEM_1"}));
  EXPECT_TRUE(RTFItemStyle(strips->topLevelItem(0))->AllowHighlight);
  EXPECT_EQ(RTFItemStyle(strips->topLevelItem(1))->Font.size, 14);
  EXPECT_EQ(RTFItemStyle(strips->topLevelItem(1))->Alignment, talCenter);
}

TEST_F(StyleLists, CopiersTakeOneAttributeFromTheCurrentItem) {
  QTreeWidget* styles = List("lstXLSStyles");
  TxlsFormat& current = AddXLS(styles, "a", 20);
  TxlsFormat& other = AddXLS(styles, "b", 10);
  current.Font.Style.Include(xfsBold);
  current.Borders.Top.Style = bstDouble;
  QTreeWidgetItem* cur = styles->topLevelItem(0);
  QTreeWidgetItem* item = styles->topLevelItem(1);
  XLSUpdateItemFontBold(cur, item);
  XLSUpdateItemBorderTop(cur, item);
  EXPECT_TRUE(other.Font.Style.Has(xfsBold));
  EXPECT_EQ(other.Borders.Top.Style, bstDouble);
  EXPECT_EQ(other.Font.Size, 10) << "only the attributes asked for";
  XLSUpdateItemFontSize(cur, item);
  EXPECT_EQ(other.Font.Size, 20);
  // An item without a format, and the current item itself, are left alone.
  QTreeWidgetItem* bare = AddListItem(styles, "c", 2, nullptr);
  XLSUpdateItemFont(cur, bare);
  current.Font.Style.Exclude(xfsBold);
  XLSUpdateItemFontBold(cur, cur);
  EXPECT_FALSE(current.Font.Style.Has(xfsBold));

  EXPECT_EQ(XLSFontSizeFromText("x"), 10);
  EXPECT_EQ(XLSFontSizeFromText("0"), 1);
  EXPECT_EQ(XLSFontSizeFromText("410"), 409);

  QTreeWidget* strips = List("lstRTFStripStyles");
  AddRTF(strips, "a", 10).Font.styles = 0;
  EditFontStyle(RTFItemStyle(strips->topLevelItem(0))->Font, fsUnderline, true);
  AddRTF(strips, "b", 10);
  RTFUpdateItemFontUnderline(strips->topLevelItem(0), strips->topLevelItem(1));
  EXPECT_TRUE(RTFItemStyle(strips->topLevelItem(1))->Font.HasStyle(fsUnderline));
}

TEST_F(StyleLists, ResetsKeepTheCaptionElementBold) {
  QTreeWidget* options = List("lstXLSOptions");
  TxlsFormat& caption = AddXLS(options, "CAPTION", 20, 3);
  TxlsFormat& data = AddXLS(options, "DATA", 20, 3);
  int changes = 0;
  XLSResetAllItems(options, options->topLevelItem(0), [&](QTreeWidgetItem*) { ++changes; });
  EXPECT_TRUE(caption.Font.Style.Has(xfsBold)) << "the current caption element stays bold";
  EXPECT_EQ(caption.Font.Size, 10);
  EXPECT_EQ(data.Font.Size, 10);
  EXPECT_EQ(changes, 1);

  // No current item: the others are reset, nothing is selected or reported.
  caption.Font.Size = data.Font.Size = 30;
  XLSResetAllItems(options, nullptr, [&](QTreeWidgetItem*) { ++changes; });
  EXPECT_EQ(caption.Font.Size, 10);
  EXPECT_TRUE(caption.Font.Style.Has(xfsBold));
  EXPECT_EQ(changes, 1);

  caption.Font.Style.Exclude(xfsBold);
  XLSResetAllItems_A({List("lstXLSFields"), options, nullptr}, options->topLevelItem(0));
  EXPECT_TRUE(caption.Font.Style.Has(xfsBold));

  QTreeWidget* base = List("lstRTFBaseStyles");
  TrtfStyle& rtfCaption = AddRTF(base, "Caption", 20);
  RTFResetAllItems(base, base->topLevelItem(0));
  EXPECT_TRUE(rtfCaption.Font.HasStyle(fsBold));
  EXPECT_EQ(rtfCaption.Font.size, 10);
  EditFontStyle(rtfCaption.Font, fsBold, false);
  RTFResetAllItems_A({base}, base->topLevelItem(0));
  EXPECT_TRUE(rtfCaption.Font.HasStyle(fsBold));
}

TEST_F(StyleLists, RenumberingAndStyleButtons) {
  QTreeWidget* styles = List("lstXLSStyles");
  for (int i = 0; i < 3; ++i) AddXLS(styles, QStringLiteral("x"), 10);
  XLSRenumStyles(*form);
  EXPECT_EQ(Captions(styles), (QStringList{"ITEM_1", "ITEM_2", "ITEM_3"}));
  styles->clearSelection();
  styles->setCurrentItem(nullptr);
  XLSShowStyleButtons(*form);
  EXPECT_FALSE(form->Control<QToolButton>("tbtDelXLSStyle")->isEnabled());
  EXPECT_TRUE(form->Control<QToolButton>("tbtSaveXLSStyle")->isEnabled());
  styles->setCurrentItem(styles->topLevelItem(2));
  XLSShowStyleButtons(*form);
  EXPECT_TRUE(form->Control<QToolButton>("tbtUpXLSStyle")->isEnabled());
  EXPECT_FALSE(form->Control<QToolButton>("tbtDownXLSStyle")->isEnabled());
}

// The buttons go through the file dialogs: a folder with an accented name is that folder,
// and a file without styles empties the list and the buttons that need a style.
TEST_F(StyleLists, StyleButtonsReadAndWriteTheChosenFile) {
  const QString folder = dir.filePath(QStringLiteral("Estilos de \u00c1rea"));
  ASSERT_TRUE(QDir().mkpath(folder));
  const auto button = [this](const char* name) { return form->Control<QToolButton>(name); };
  QTreeWidget* styles = List("lstXLSStyles");
  AddXLS(styles, QStringLiteral("ITEM_1"), 11);
  AddXLS(styles, QStringLiteral("ITEM_2"), 12);
  const QString xst = folder + QStringLiteral("/faixas.xst");
  services.files.push_back(xst);
  button("tbtSaveXLSStyle")->click();
  ASSERT_TRUE(QFile::exists(xst));
  services.files.push_back(xst);
  button("tbtLoadXLSStyle")->click();
  ASSERT_EQ(Captions(styles), (QStringList{"ITEM_0", "ITEM_1"}));
  EXPECT_EQ(XLSItemFormat(styles->topLevelItem(1))->Font.Size, 12);
  EXPECT_TRUE(button("tbtDelXLSStyle")->isEnabled());

  const QString none = folder + QStringLiteral("/outro.xst");
  platform::IniFile(QFile::encodeName(none).toStdString()).WriteString("OTHER", "FontSize", "9");
  services.files.push_back(none);
  button("tbtLoadXLSStyle")->click();
  EXPECT_EQ(styles->topLevelItemCount(), 0);
  for (const char* name : {"tbtDelXLSStyle", "tbtUpXLSStyle", "tbtDownXLSStyle", "tbtSaveXLSStyle"})
    EXPECT_FALSE(button(name)->isEnabled()) << name;

  QTreeWidget* strips = List("lstRTFStripStyles");
  AddRTF(strips, QStringLiteral("ITEM_1"), 15);
  const QString rst = folder + QStringLiteral("/faixas.rst");
  services.files.push_back(rst);
  button("tbtSaveRTFStyle")->click();
  ASSERT_TRUE(QFile::exists(rst));
  strips->clear();
  services.files.push_back(rst);
  button("tbtLoadRTFStyle")->click();
  ASSERT_EQ(Captions(strips), (QStringList{"ITEM_0"}));
  EXPECT_EQ(RTFItemStyle(strips->topLevelItem(0))->Font.size, 15);

  // A style file in UTF-16 cannot be read: it is told, and both lists keep their styles.
  const QString wide = folder + QStringLiteral("/largo.rst");
  {
    QFile file(wide);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("\xFF\xFE[\0R\0T\0F\0_\0S\0T\0Y\0L\0E\0_\0""0\0]\0\r\0\n\0", 26));
  }
  services.log.clear();
  for (const char* load : {"tbtLoadRTFStyle", "tbtLoadXLSStyle"}) {
    services.files.push_back(wide);
    button(load)->click();
  }
  ASSERT_EQ(Captions(strips), (QStringList{"ITEM_0"}));
  EXPECT_EQ(RTFItemStyle(strips->topLevelItem(0))->Font.size, 15);
  EXPECT_EQ(services.log.filter(QStringLiteral("it is UTF-16 text")).size(), 2) << services.log.join('\n').toStdString();

  // A file that cannot be written is told by its name and why, and is left as it was: UTF-16
  // with or without its mark, a named pipe (never waited on), a missing folder.
  const QString unmarked = folder + QStringLiteral("/estreito.rst");
  const testsupport::UnattendedPipe unattended(QFile::encodeName(folder + QStringLiteral("/tubo.rst")).toStdString());
  const QString pipe = QFile::decodeName(unattended.Path().c_str());
  {
    QFile file(unmarked);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("[\0X\0]\0\r\0\n\0k\0=\0\xAC\x20\r\0\n\0", 20));
  }
  const QString nowhere = folder + QStringLiteral("/no/such/faixas.rst");
  const QString utf16 = QStringLiteral("it is UTF-16 text, which is not written over");
  const auto readAll = [](const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  };
  for (const auto& [file, reason] :
       {std::pair{wide, utf16}, std::pair{unmarked, utf16},
        std::pair{pipe, QStringLiteral("it is a named pipe, and only a regular file is replaced")},
        std::pair{nowhere, QStringLiteral("cannot create a file beside it: No such file or directory")}}) {
    const QByteArray before = QFileInfo(file).isFile() ? readAll(file) : QByteArray();
    services.files.push_back(file);
    button("tbtSaveRTFStyle")->click();
    ASSERT_FALSE(services.log.isEmpty());
    EXPECT_TRUE(services.log.last().endsWith(QStringLiteral("|Cannot write the file \"%1\": %2").arg(file, reason)))
        << services.log.last().toStdString();
    if (QFileInfo(file).isFile()) {
      EXPECT_EQ(readAll(file), before) << file.toStdString();
    }
  }
}

TEST_F(StyleLists, FieldFormatsFollowTheExportedFields) {
  QTreeWidget* fields = List("lstXLSFields");
  TxlsFormat& a = AddXLS(fields, "A", 11, 1);
  AddXLS(fields, "B", 12, 1);
  AddXLS(fields, "Photo", 13, 1);
  QTreeWidget* exported = List("lstExportedFields");
  AddListItem(exported, "b", 1, nullptr);
  AddListItem(exported, "A", 1, nullptr);
  CorrectXLSFieldsList(*form);
  ASSERT_EQ(Captions(fields), (QStringList{"B", "A", "Photo"}));
  EXPECT_EQ(XLSItemFormat(fields->topLevelItem(1)), &a) << "formats move with their field";
  EXPECT_EQ(ItemImage(fields->topLevelItem(0)), 1);
  EXPECT_EQ(ItemImage(fields->topLevelItem(2)), 0);

  exported->clear();
  dialog.Columns().Add().Name = "Photo";
  dialog.Columns()[0].IsBlob = true;
  CorrectXLSFieldsList(*form);
  EXPECT_EQ(ItemImage(fields->topLevelItem(0)), 1);
  EXPECT_EQ(ItemImage(fields->topLevelItem(2)), 0) << "a blob column is not exported by default";

  // A name exported twice, or one without a format: each exported field's format in turn to
  // its place, as the list has always been put in order.
  exported->clear();
  for (const char* name : {"photo", "A", "PHOTO"}) AddListItem(exported, name, 1, nullptr);
  CorrectXLSFieldsList(*form);
  ASSERT_EQ(Captions(fields), (QStringList{"A", "B", "Photo"}));
  EXPECT_EQ(ItemImage(fields->topLevelItem(1)), 0);
  EXPECT_EQ(ItemImage(fields->topLevelItem(2)), 1);
  exported->clear();
  for (const char* name : {"Missing", "photo"}) AddListItem(exported, name, 1, nullptr);
  CorrectXLSFieldsList(*form);
  ASSERT_EQ(Captions(fields), (QStringList{"A", "Photo", "B"}));
  EXPECT_EQ(ItemImage(fields->topLevelItem(1)), 1);
  EXPECT_EQ(ItemImage(fields->topLevelItem(0)), 0);
  EXPECT_EQ(XLSItemFormat(fields->topLevelItem(0)), &a);
}

}  // namespace
