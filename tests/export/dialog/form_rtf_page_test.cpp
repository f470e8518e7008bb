// The dialog form's RTF page: edits reaching every selected style and none when nothing is
// selected, mixed values shown empty, the strip-style tool buttons with a style file, and the
// item and list resets with the caption style kept bold.
#include <QCheckBox>
#include <QImage>
#include <QPixmap>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <filesystem>
#include <gtest/gtest.h>

#include "export/dialog/form_widgets.h"
#include "export/dialog/list_items.h"
#include "export/dialog/style_lists.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "ui/radio_group.h"
#include "export/model_source.h"
#include "export/rtf_style.h"
#include "dialog_form_fixture.h"
#include "fake_dialog_services.h"
#include "tests/export/export_fixtures.h"

using namespace vantrix;
using testsupport::FakeDialogServices;

namespace {

class FormRTFPage : public dialogtest::DialogFormTest {
 protected:
  FormRTFPage() {
    source.Columns().Add()->SetColumnName("Station");
    dialog.Columns().Fill(true);
    form = std::make_unique<TVantrix3DialogF>(dialog);
    form->InitializeDialog();
    base = form->Control<QTreeWidget>("lstRTFBaseStyles");
    strip = form->Control<QTreeWidget>("lstRTFStripStyles");
  }

  void ShowStrip() { form->Control<QTabWidget>("pcRTFStyles")->setCurrentIndex(1); }
  void ShowBase() { form->Control<QTabWidget>("pcRTFStyles")->setCurrentIndex(0); }
  void Click(const char* name) { form->Control<QAbstractButton>(name)->click(); }
  TrtfStyle& Strip(int i) const { return *RTFItemStyle(strip->topLevelItem(i)); }
  TrtfStyle& Base(int i) const { return *RTFItemStyle(base->topLevelItem(i)); }
  void SelectAll(QTreeWidget* list) {
    for (int i = 0; i < list->topLevelItemCount(); ++i) list->topLevelItem(i)->setSelected(true);
  }
  void TypeSize(const QString& text) {
    QLineEdit* edit = form->Control<QComboBox>("cbRTFFontSize")->lineEdit();
    edit->setText(text);
    emit edit->textEdited(text);
  }

  QTreeWidget* base = nullptr;
  QTreeWidget* strip = nullptr;
  exporttest::TempFolder folder;
};

}  // namespace

TEST_F(FormRTFPage, AnEditReachesEverySelectedStyleAndNoneWhenNothingIsSelected) {
  ShowStrip();
  for (int i = 0; i < 4; ++i) Click("tbtAddRTFStyle");
  ASSERT_EQ(strip->topLevelItemCount(), 4);
  EXPECT_EQ(strip->topLevelItem(3)->text(0), "ITEM_4");
  strip->clearSelection();
  for (int i = 0; i < 3; ++i) strip->topLevelItem(i)->setSelected(true);

  Click("bRTFFontBold");
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(Strip(i).Font.HasStyle(fsBold)) << i;
  EXPECT_FALSE(Strip(3).Font.HasStyle(fsBold));
  services.colors.push_back(0x00FF00);
  Click("bRTFFontColor");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Strip(i).Font.color, 0x00FF00u) << i;
  // The swatch paints the shown style's colour (0x00BBGGRR green).
  auto* swatch = form->Control<QWidget>("pbRTFFontColor");
  swatch->resize(12, 12);
  EXPECT_EQ(swatch->grab().toImage().pixelColor(5, 5), QColor(0, 255, 0));
  Click("bRTFFontCenter");
  EXPECT_EQ(Strip(2).Alignment, talCenter);
  Click("bRTFFontCenter");  // up again: left
  EXPECT_EQ(Strip(2).Alignment, talLeft);
  TypeSize("abc");
  EXPECT_EQ(Strip(0).Font.size, 10);
  TypeSize("0");
  EXPECT_EQ(Strip(1).Font.size, 1);
  Click("chRTFAllowHighlight");
  EXPECT_TRUE(Strip(2).AllowHighlight);
  EXPECT_FALSE(Strip(3).AllowHighlight);

  // The styles differ in boldness now: the button shows up with the fourth one in.
  strip->topLevelItem(3)->setSelected(true);
  EXPECT_FALSE(form->Control<QToolButton>("bRTFFontBold")->isChecked());
  strip->topLevelItem(3)->setSelected(false);
  EXPECT_TRUE(form->Control<QToolButton>("bRTFFontBold")->isChecked());

  // Nothing selected: every control changes nothing and asks nothing.
  strip->clearSelection();
  std::vector<TrtfStyle> before;
  for (int i = 0; i < 4; ++i) before.push_back(Strip(i));
  const TrtfStyle baseBefore = Base(0);
  services.colors.push_back(0x0000FF);
  for (const char* name : {"bRTFFontItalic", "bRTFFontRight", "bRTFFontColor", "chRTFAllowBackground", "bRTFResetItem"})
    Click(name);
  TypeSize("20");
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Strip(i), before[i]) << i;
  EXPECT_EQ(Base(0), baseBefore);
  EXPECT_EQ(services.colors.size(), 1u);  // the colour dialog never opened
  // The buttons clicked went back up: they stand for no style.
  EXPECT_FALSE(form->Control<QToolButton>("bRTFFontItalic")->isChecked());
  EXPECT_FALSE(form->Control<QToolButton>("bRTFFontRight")->isChecked());
  EXPECT_FALSE(form->Control<QCheckBox>("chRTFAllowBackground")->isChecked());
}

// Several selected styles show the current one's values; where another differs from it the
// control shows the mixed state, and a greyed box clicked gives every selected style the flag.
TEST_F(FormRTFPage, SeveralSelectedStylesShowTheCurrentOneWithMixedValuesLeftOpen) {
  ShowStrip();
  for (int i = 0; i < 3; ++i) Click("tbtAddRTFStyle");
  Strip(0).Font.name = "Courier New";
  Strip(0).Font.size = 14;
  Strip(0).AllowBackground = !Strip(1).AllowBackground;
  EditFontStyle(Strip(0).Font, fsBold, true);
  Strip(1).Font.size = 14;
  Strip(2).Font.size = 14;
  auto* font = form->Control<QComboBox>("cbRTFFont");
  auto* size = form->Control<QComboBox>("cbRTFFontSize");
  auto* background = form->Control<QCheckBox>("chRTFAllowBackground");
  auto* highlight = form->Control<QCheckBox>("chRTFAllowHighlight");
  auto* reset = form->Control<QPushButton>("bRTFResetItem");

  strip->clearSelection();
  strip->setCurrentItem(strip->topLevelItem(1));
  EXPECT_EQ(reset->text(), "Reset item");
  EXPECT_EQ(background->checkState(), Strip(1).AllowBackground ? Qt::Checked : Qt::Unchecked);
  strip->topLevelItem(0)->setSelected(true);
  strip->topLevelItem(2)->setSelected(true);
  ASSERT_EQ(strip->selectedItems().size(), 3);
  EXPECT_EQ(reset->text(), "Reset selected");
  EXPECT_EQ(font->currentIndex(), -1);
  EXPECT_EQ(font->currentText(), "");
  EXPECT_EQ(size->currentText(), "14");  // shared by all three
  EXPECT_EQ(background->checkState(), Qt::PartiallyChecked);
  EXPECT_EQ(highlight->checkState(), Qt::Unchecked);
  // The current style (not bold) decides the buttons, though the first selected one is bold.
  EXPECT_FALSE(form->Control<QToolButton>("bRTFFontBold")->isChecked());

  Click("chRTFAllowBackground");
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(Strip(i).AllowBackground) << i;
  EXPECT_EQ(background->checkState(), Qt::Checked);
  Click("chRTFAllowBackground");  // two states again: off, not greyed
  EXPECT_EQ(background->checkState(), Qt::Unchecked);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(Strip(i).AllowBackground) << i;

  // The bold first style as the current one of the three: its buttons, the font still mixed.
  strip->clearSelection();
  strip->setCurrentItem(strip->topLevelItem(0), 0, QItemSelectionModel::NoUpdate);
  SelectAll(strip);
  EXPECT_TRUE(form->Control<QToolButton>("bRTFFontBold")->isChecked());
  EXPECT_EQ(font->currentIndex(), -1);
  strip->clearSelection();
  strip->topLevelItem(0)->setSelected(true);
  EXPECT_EQ(font->currentText(), "Courier New");
  EXPECT_EQ(reset->text(), "Reset item");
}

TEST_F(FormRTFPage, StripStyleButtonsKeepTheStylesInOrderThroughAStyleFile) {
  ShowStrip();
  for (int i = 0; i < 3; ++i) Click("tbtAddRTFStyle");
  Strip(0).Font.size = 11;
  Strip(1).Font.size = 12;
  Strip(2).Font.size = 13;
  strip->clearSelection();
  strip->setCurrentItem(strip->topLevelItem(2));
  Click("tbtMoveRTFStyleUp");
  EXPECT_EQ(Strip(1).Font.size, 13);
  EXPECT_EQ(strip->currentItem(), strip->topLevelItem(1));
  Click("tbtDelRTFStyle");
  ASSERT_EQ(strip->topLevelItemCount(), 2);
  EXPECT_EQ(Strip(1).Font.size, 12);
  EXPECT_EQ(strip->topLevelItem(1)->text(0), "ITEM_2");

  const QString file = QString::fromStdString(folder / "s.rst");
  services.files.push_back(file);
  Click("tbtSaveRTFStyle");
  SelectAll(strip);
  Click("tbtDelRTFStyle");
  EXPECT_EQ(strip->topLevelItemCount(), 0);
  EXPECT_FALSE(form->Control<QToolButton>("tbtDelRTFStyle")->isEnabled());
  services.files.push_back(file);
  Click("tbtLoadRTFStyle");
  ASSERT_EQ(strip->topLevelItemCount(), 2);
  EXPECT_EQ(Strip(0).Font.size, 11);
  EXPECT_EQ(Strip(1).Font.size, 12);
  // A cancelled file dialog changes nothing.
  Click("tbtLoadRTFStyle");
  EXPECT_EQ(strip->topLevelItemCount(), 2);
}

TEST_F(FormRTFPage, ResetsKeepTheCaptionBoldAndResetAllAsksFirst) {
  ShowBase();
  // The page opens on the first base style, shown in the editor.
  form->Control<QTabWidget>("Pages")->setCurrentWidget(form->Control<QWidget>("tshRTF"));
  EXPECT_EQ(form->Control<QComboBox>("cbRTFFont")->currentText(), "Arial");
  EXPECT_EQ(form->Control<QComboBox>("cbRTFFontSize")->currentText(), "10");
  SelectAll(base);
  Click("bRTFFontItalic");
  Click("bRTFResetItem");
  for (int i = 0; i < base->topLevelItemCount(); ++i) {
    const bool caption = base->topLevelItem(i)->text(0).compare("caption", Qt::CaseInsensitive) == 0;
    EXPECT_FALSE(Base(i).Font.HasStyle(fsItalic)) << i;
    EXPECT_EQ(Base(i).Font.HasStyle(fsBold), caption) << i;
  }
  Click("bRTFFontUnderline");
  services.answers.push_back(MessageAnswer::No);
  Click("bRTFResetAll");
  ASSERT_FALSE(services.log.isEmpty());
  EXPECT_TRUE(services.log.last().startsWith("message|Attention!|All field formats")) << services.log.last().toStdString();
  EXPECT_TRUE(Base(0).Font.HasStyle(fsUnderline));
  services.answers.push_back(MessageAnswer::Yes);
  Click("bRTFResetAll");
  for (int i = 0; i < base->topLevelItemCount(); ++i) EXPECT_FALSE(Base(i).Font.HasStyle(fsUnderline)) << i;
  EXPECT_FALSE(form->Control<QToolButton>("bRTFFontUnderline")->isChecked());
}

// A colour button's swatch is part of its face: it moves a pixel right and down while the
// button is held and comes back when it is let go, on this page as on every other one.
TEST_F(FormRTFPage, ColourSwatchesMoveWithTheirPressedButtons) {
  int buttons = 0;
  for (QToolButton* button : form->findChildren<QToolButton*>()) {
    auto* swatch = button->findChild<TPaintBox*>(QString(), Qt::FindDirectChildrenOnly);
    if (swatch == nullptr || !button->isEnabled()) continue;  // a disabled one takes no press
    ++buttons;
    SCOPED_TRACE(button->objectName().toStdString());
    const QPoint at = swatch->pos();
    QTest::mousePress(button, Qt::LeftButton);
    EXPECT_EQ(swatch->pos(), at + QPoint(1, 1));
    QTest::mouseRelease(button, Qt::LeftButton);
    EXPECT_EQ(swatch->pos(), at);
  }
  // The RTF font, background and highlight buttons are among them.
  for (const char* name : {"bRTFFontColor", "bRTFBackgroundColor", "bRTFHighlightColor"})
    EXPECT_NE(form->Control<QToolButton>(name)->findChild<TPaintBox*>(), nullptr) << name;
  EXPECT_GE(buttons, 10);
}

// The page's radio groups show their option, and a click chooses another.
TEST_F(FormRTFPage, TheRadioGroupsShowAndChooseTheirOption) {
  auto* orientation = form->Control<ui::TRadioGroup>("rgRTFPageOrientation");
  auto* stripType = form->Control<ui::TRadioGroup>("rgRTFStripType");
  EXPECT_EQ(orientation->ItemIndex(), form->Options().RTFPageOrientation);
  EXPECT_EQ(stripType->ItemIndex(), form->Options().RTFStripType);
  orientation->Button(1)->click();
  EXPECT_EQ(form->Options().RTFPageOrientation, 1);
  stripType->Button(2)->click();
  EXPECT_EQ(form->Options().RTFStripType, 2);
  form->SetRTFStripType(0);
  EXPECT_EQ(stripType->ItemIndex(), 0);
}

// Enter after a typed font or size takes it for the selected style and neither adds the text
// to the box's list nor starts an export through the dialog's default button.
TEST_F(FormRTFPage, EnterInTheFontBoxesTakesTheTextOnly) {
  dialog.FileName = folder / "out.rtf";
  form = std::make_unique<TVantrix3DialogF>(dialog);
  form->InitializeDialog();
  form->SetExportType(aeRTF);
  form->rgExportTypeClick();
  base = form->Control<QTreeWidget>("lstRTFBaseStyles");
  form->resize(640, 480);
  form->show();
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  form->Control<QTabWidget>("Pages")->setCurrentWidget(form->Control<QWidget>("tshRTF"));
  ShowBase();
  base->clearSelection();
  base->setCurrentItem(base->topLevelItem(2));
  ASSERT_TRUE(form->Control<QWidget>("bStart")->isEnabled());
  for (const auto& [name, typed] : {std::pair{"cbRTFFontSize", "23"}, std::pair{"cbRTFFont", "Nowhere Sans"}}) {
    SCOPED_TRACE(name);
    auto* box = form->Control<QComboBox>(name);
    const int items = box->count();
    box->lineEdit()->setFocus();
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), typed);
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(box->count(), items);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
  }
  EXPECT_EQ(Base(2).Font.size, 23);
  EXPECT_EQ(Base(2).Font.name, "Nowhere Sans");
  EXPECT_NE(Base(1).Font.size, 23);
}
