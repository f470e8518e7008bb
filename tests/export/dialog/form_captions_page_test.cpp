// The dialog form's captions page: the grid enabled exactly with captions allowed, the caption
// row confirmed by leaving its edit or by Enter (which must not start an export), and the
// title row painted, never held as data.
#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QPixmap>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

#include "dialog_form_fixture.h"
#include "export/model_source.h"
#include "tests/export/export_fixtures.h"

using namespace vantrix;

namespace {

class CaptionsPage : public dialogtest::DialogFormTest {
 protected:
  CaptionsPage() : model({"a", "b"}, exporttest::GridRows(3, 2)), grid(&model) {
    dialog.ExportSource = esStringGrid;
    dialog.SetStringGrid(&grid);
    dialog.CaptionRow = 0;
  }

  // The form on screen with the captions page in front and the keyboard in it.
  void ShowCaptionsPage() {
    form->resize(640, 480);
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->Control<QTabWidget>("Pages")->setCurrentWidget(form->Control<QWidget>("tshCaptions"));
  }

  QTableWidget* Captions() const { return form->Control<QTableWidget>("sgrCaptions"); }
  QLineEdit* RowEdit() const { return form->Control<QLineEdit>("edCaptionRow"); }

  // Types into the caption-row edit as a user does, then presses the key.
  void TypeRow(const QString& text, Qt::Key key) {
    RowEdit()->setFocus();
    RowEdit()->selectAll();
    QTest::keyClicks(RowEdit(), text);
    QTest::keyClick(RowEdit(), key);
  }

  exporttest::TableModel model;
  TVantrixModelSource grid;
  exporttest::TempFolder folder;
};

}  // namespace

TEST_F(CaptionsPage, TheGridIsEnabledExactlyWhenCaptionsAreAllowed) {
  dialog.AllowCaptions = false;
  Open();
  EXPECT_FALSE(Captions()->isEnabled());  // the form starts without captions
  auto* box = form->Control<QCheckBox>("chAllowCaptions");
  box->click();
  EXPECT_TRUE(form->Options().AllowCaptions);
  EXPECT_TRUE(Captions()->isEnabled());
  box->click();
  EXPECT_FALSE(Captions()->isEnabled());
  form->SetAllowCaptions(true);  // as an options file does
  EXPECT_TRUE(box->isChecked());
  EXPECT_TRUE(Captions()->isEnabled());
}

TEST_F(CaptionsPage, TheCaptionRowIsTakenOnEnterOrLeavingAndKeptForTextThatIsNoNumber) {
  // A file to export to: the start button is enabled and would take a stray Enter.
  dialog.FileName = folder / "out.xls";
  Open();
  ShowCaptionsPage();
  ASSERT_EQ(Captions()->item(1, 1)->text(), "r0c0");
  ASSERT_TRUE(form->Control<QWidget>("bStart")->isEnabled());
  const qsizetype asked = services.log.size();

  TypeRow("2", Qt::Key_Return);
  EXPECT_EQ(form->Options().CaptionRow, 2);
  EXPECT_EQ(Captions()->item(1, 1)->text(), "r2c0");
  EXPECT_TRUE(form->isVisible());
  EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));  // no export started
  EXPECT_EQ(services.log.size(), asked);

  TypeRow("x", Qt::Key_Enter);
  EXPECT_EQ(form->Options().CaptionRow, 2);
  EXPECT_EQ(RowEdit()->text(), "2");

  // Typing alone changes nothing; leaving the edit takes the row.
  RowEdit()->selectAll();
  QTest::keyClicks(RowEdit(), "1");
  EXPECT_EQ(form->Options().CaptionRow, 2);
  form->Control<QCheckBox>("chAllowCaptions")->setFocus();
  EXPECT_EQ(form->Options().CaptionRow, 1);
  EXPECT_EQ(Captions()->item(2, 1)->text(), "r1c1");

  RowEdit()->setText("-7");
  form->edCaptionRowExit();
  EXPECT_EQ(form->Options().CaptionRow, -1);
  EXPECT_EQ(RowEdit()->text(), "-1");
  form->hide();
}

// Row 0's titles are painted bold and centred; the row holds no text, so that the options file
// and the run never meet a "Field name" field.
TEST_F(CaptionsPage, TheTitleRowIsPaintedCentredAndHoldsNoData) {
  Open();
  Choose(aeRTF);
  ShowCaptionsPage();
  for (int c = 0; c < Captions()->columnCount(); ++c) {
    const QTableWidgetItem* cell = Captions()->item(0, c);
    EXPECT_TRUE(cell == nullptr || cell->text().isEmpty()) << c;
  }
  const QImage shot = Captions()->viewport()->grab().toImage();
  // TERVANA_SHOT_DIR keeps a picture of the page for a person to look at.
  if (const char* out = std::getenv("TERVANA_SHOT_DIR")) form->grab().save(QString::fromLocal8Bit(out) + "/captions.png");
  const QRect cell = Captions()->visualRect(Captions()->model()->index(0, 1));
  // The text's dark pixels lie in the middle of the cell, within a couple of pixels.
  int left = cell.right(), right = cell.left(), top = cell.bottom(), bottom = cell.top();
  for (int y = cell.top(); y < cell.bottom(); ++y)
    for (int x = cell.left(); x < cell.right(); ++x)
      if (qGray(shot.pixel(x, y)) < 100) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
  ASSERT_LT(left, right) << "no title painted";
  EXPECT_NEAR((left + right) / 2.0, cell.center().x(), 3.0);
  EXPECT_NEAR((top + bottom) / 2.0, cell.center().y(), 4.0);
  // The first data row is no title: its caption is the column's own, drawn by the grid.
  EXPECT_EQ(Captions()->item(1, 0)->text(), "0");
  form->hide();
}
