#pragma once
// The small modal window in which the user picks one of the 40 named spreadsheet palette
// colours: an 8 x 5 grid of 22-pixel cells, the colour's name as the tool tip, a sunken edge
// around the chosen cell, a double click as OK.
#include <QDialog>
#include <QWidget>
#include <optional>

#include "export/xls/xls_palette.h"

class QPushButton;

namespace vantrix {

class DialogServices;

inline constexpr int kColorCellSize = 22;
inline constexpr int kColorColumns = 8;
inline constexpr int kColorRows = 5;

// The name shown for a colour index 0..39; empty for any other.
QString XLSColorName(int index);
// The grid index under a point of the colour box, or -1 outside the 8 x 5 grid.
int XLSColorIndexAt(const QPoint& point);

class TfmVantrix3XLSColorEditor;

// The colour box of the picker.
class TXLSColorBox : public QWidget {
  Q_OBJECT

 public:
  explicit TXLSColorBox(TfmVantrix3XLSColorEditor* editor);

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;

 private:
  TfmVantrix3XLSColorEditor* editor_;
  int hovered_ = -1;
};

class TfmVantrix3XLSColorEditor : public QDialog {
  Q_OBJECT

 public:
  explicit TfmVantrix3XLSColorEditor(QWidget* parent = nullptr);

  TxlsColor SelectedColor() const { return selected_; }
  void SetSelectedColor(TxlsColor color);
  // The cell of the selected colour; empty for a colour beyond the grid (clrColor1..16).
  QRect ColorIndexToRect() const;
  // A press in the box: selects the cell under the point (points outside the grid select
  // nothing); a double click also closes with OK.
  void ColorsMouseDown(const QPoint& point, bool doubleClick);

  QWidget* ColorBox() const { return pbColors_; }
  QPushButton* OkButton() const { return bOk_; }
  QPushButton* CancelButton() const { return bCancel_; }

 private:
  TXLSColorBox* pbColors_;
  QPushButton *bOk_, *bCancel_;
  TxlsColor selected_ = clrBlack;
};

// Opens the picker on the colour; the chosen colour on OK, the given one otherwise.
TxlsColor RunXLSColorEditor(TxlsColor color, DialogServices& services, QWidget* parent = nullptr);
// The same, with nothing when the picker was cancelled.
std::optional<TxlsColor> PickXLSColor(TxlsColor color, DialogServices& services, QWidget* parent = nullptr);

}  // namespace vantrix
