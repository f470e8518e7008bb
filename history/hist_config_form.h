#pragma once
// THistConfigForm, the pen dialog of the history viewer: the chart's colour and back colour,
// the colour of each value column's line (the same for every recording run) and the width of
// the lines. One lives for the whole run; a viewer hands itself over and the dialog shows its
// rows until it is closed. Nothing changes before "Aplica".
#include <QDialog>
#include <QString>
#include <cstdint>
#include <vector>

class QLabel;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QVBoxLayout;

namespace ui {
class ColorChooser;
class TColorCircle;
class UserInteraction;
}  // namespace ui

namespace history {

class THistForm;

// Captions the dialog takes from the program's other dialogs, so that a language file
// translates them once: the display wizard's line-thickness label, colour page and chart
// colour buttons, the device configuration dialog's "Aplica" and "Fecha". An empty caption
// leaves the dialog's own.
struct PenDialogCaptions {
  QString lineThickness, colors, chartColor, backColor, apply, close;
};

class THistConfigForm : public QDialog {
  Q_OBJECT

 public:
  // Line widths the chart draws quickly and a pen can have.
  static constexpr int kMinLineWidth = 1;
  static constexpr int kMaxLineWidth = 20;
  // What a row's button changes.
  enum RowTag { kSeriesRow = 0, kChartColorRow = 1, kBackColorRow = 2 };

  // Without a colour chooser the toolkit's colour dialog is used.
  explicit THistConfigForm(ui::UserInteraction& ui, ui::ColorChooser* colors = nullptr, QWidget* parent = nullptr);
  ~THistConfigForm() override;

  void SetCaptions(const PenDialogCaptions& captions);

  // The viewer's pens in the dialog, run modally; the rows are freed when it closes.
  void Execute(THistForm& viewer);

  // The steps of a run, for tests: the rows of the viewer's chart and value columns, a
  // row's colour dialog, applying every row, and letting go of the viewer.
  void FormShow();
  void SeriesButtonClick(QPushButton* button);
  void ApplyBitBtnClick();
  void FormClose();

  const std::vector<QPushButton*>& RowButtons() const { return buttons_; }
  const std::vector<ui::TColorCircle*>& RowMarks() const { return marks_; }
  QLabel* ColorsLabel() const { return colorsLabel_; }
  QLabel* LineThicknessLabel() const { return lineThicknessLabel_; }
  QSpinBox* LineThicknessUpDown() const { return lineThicknessUpDown_; }
  QScrollArea* ColorsScrollBox() const { return colorsScrollBox_; }
  QPushButton* ApplyBitBtn() const { return applyBitBtn_; }
  QPushButton* CloseBitBtn() const { return closeBitBtn_; }

 private:
  void ApplyLanguage();
  void AddRow(RowTag tag, const QString& caption, uint32_t color);

  ui::UserInteraction& ui_;
  ui::ColorChooser* colors_;
  THistForm* viewer_ = nullptr;
  QString chartColorCaption_, backColorCaption_;

  QLabel* colorsLabel_;
  QLabel* lineThicknessLabel_;
  QSpinBox* lineThicknessUpDown_;
  QScrollArea* colorsScrollBox_;
  QWidget* rowsPanel_;
  QPushButton* applyBitBtn_;
  QPushButton* closeBitBtn_;
  std::vector<QPushButton*> buttons_;
  std::vector<ui::TColorCircle*> marks_;
};

}  // namespace history
