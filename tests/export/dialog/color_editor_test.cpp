// The spreadsheet colour picker: selection by the grid, the answer on OK and Cancel.
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "export/dialog/xls_color_editor.h"
#include "fake_dialog_services.h"

using namespace vantrix;
using testsupport::FakeDialogServices;

TEST(ColorPicker, CancelGivesBackTheColourItWasOpenedWith) {
  FakeDialogServices services;
  services.onModal = [](QDialog* d) {
    auto* editor = static_cast<TfmVantrix3XLSColorEditor*>(d);
    EXPECT_EQ(editor->SelectedColor(), clrRed);
    editor->ColorsMouseDown(QPoint(5, 5), false);
    editor->CancelButton()->click();
  };
  EXPECT_EQ(RunXLSColorEditor(clrRed, services), clrRed);
}

TEST(ColorPicker, DoubleClickOnACellChoosesItAndCloses) {
  FakeDialogServices services;
  services.onModal = [](QDialog* d) {
    auto* editor = static_cast<TfmVantrix3XLSColorEditor*>(d);
    // The third cell of the second row.
    QTest::mouseDClick(editor->ColorBox(), Qt::LeftButton, {}, QPoint(2 * 22 + 10, 22 + 10));
  };
  EXPECT_EQ(RunXLSColorEditor(clrBlack, services), static_cast<TxlsColor>(10));
  EXPECT_EQ(XLSColorName(10), "Dark Yellow");
}

TEST(ColorPicker, PointsOutsideTheGridSelectNothing) {
  TfmVantrix3XLSColorEditor editor;
  editor.SetSelectedColor(clrGreen);
  editor.ColorsMouseDown(QPoint(176, 5), false);  // a ninth column
  editor.ColorsMouseDown(QPoint(5, 110), false);  // a sixth row
  editor.ColorsMouseDown(QPoint(-1, 5), false);
  EXPECT_EQ(editor.SelectedColor(), clrGreen);
  editor.ColorsMouseDown(QPoint(175, 109), false);
  EXPECT_EQ(editor.SelectedColor(), clrWhite);
  EXPECT_EQ(editor.ColorIndexToRect(), QRect(154, 88, 22, 22));
}

TEST(ColorPicker, AColourBeyondTheGridComesBackUnchangedOnOk) {
  FakeDialogServices services;
  services.onModal = [](QDialog* d) {
    auto* editor = static_cast<TfmVantrix3XLSColorEditor*>(d);
    EXPECT_TRUE(editor->ColorIndexToRect().isEmpty());
    editor->OkButton()->click();
  };
  EXPECT_EQ(RunXLSColorEditor(clrColor5, services), clrColor5);
}
