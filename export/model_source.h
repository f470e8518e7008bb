#pragma once
// A table model as a row source. One adapter over a QAbstractItemModel stands in for each of
// the original's four control and data-set sources; the exporter slot it is put in (data
// set, data grid, list view or string grid) decides which counting, navigation and bookmark
// rules the data-source layer applies to it.
//
// What the model gives: header texts (DisplayRole: the caption, title or display label;
// kFieldNameRole, when set, a field name apart from the caption) and cell values
// (DisplayRole). What the adapter adds: the cursor (current record of a data set, selected
// item of a list view, current row of a string grid), a string grid's fixed rows, whether a
// data set is open, and per column the field's type, size, visibility and display width.
// A null value (an invalid or null QVariant) is a null field.
#include <QAbstractItemModel>
#include <QObject>
#include <QPointer>
#include <string>
#include <vector>

#include "export/col_types.h"
#include "export/vantrix_font.h"

namespace vantrix {

struct FormatSettings;
class TextMeasure;

// A field of the model's column, as a data set describes it.
struct TVantrixModelField {
  TFieldType dataType = ftUnknown;  // ftUnknown: read from the first row's value type
  int size = 0;                     // characters of a string field; 0: 255
  bool visible = true;
  int displayWidth = 0;  // characters; 0: the size for strings, 10 for other types
};

class TVantrixModelSource : public QObject {
  Q_OBJECT

 public:
  static constexpr int kFieldNameRole = Qt::UserRole + 0x5601;

  explicit TVantrixModelSource(QAbstractItemModel* model = nullptr, QObject* parent = nullptr);

  QAbstractItemModel* Model() const { return model_.data(); }
  void SetModel(QAbstractItemModel* model) { model_ = model; }

  // Data set and data grid: open or closed (a data set without a model is closed).
  bool Active() const { return active_ && model_ != nullptr; }
  void SetActive(bool active) { active_ = active; }

  int RowCount() const;
  int ColumnCount() const;

  // String grid: rows at the top that hold no records (the caption row among them).
  int FixedRows() const { return fixedRows_; }
  void SetFixedRows(int rows) { fixedRows_ = rows < 0 ? 0 : rows; }

  // The cursor: a data set's current record, a string grid's current row (fixed rows
  // counted), a list view's selected item (-1: none).
  int CurrentRow() const { return currentRow_; }
  void SetCurrentRow(int row) { currentRow_ = row; }
  // A data set's end-of-file flag, set by a Next from its last record.
  bool Eof() const { return eof_; }
  void First();
  void Next();
  void GoToRow(int row);

  void SetField(int column, const TVantrixModelField& field);
  TFieldType FieldType(int column) const;
  int FieldSize(int column) const;
  bool FieldVisible(int column) const;
  int FieldDisplayWidth(int column) const;

  std::string FieldName(int column) const;
  std::string Caption(int column) const;
  void CellText(int row, int column, const FormatSettings& settings, std::string& out) const;
  bool CellIsNull(int row, int column) const;
  bool CellAsBool(int row, int column) const;

  // Width of a column in pixels (64 unless set), the font of the control, and whether the
  // control has a canvas to measure with (without one a character counts 8 pixels).
  int ColumnPixelWidth(int column) const;
  void SetColumnPixelWidth(int column, int pixels);
  const TVantrixFont& Font() const { return font_; }
  void SetFont(const TVantrixFont& font) { font_ = font; }
  bool HasCanvas() const { return hasCanvas_; }
  void SetHasCanvas(bool hasCanvas) { hasCanvas_ = hasCanvas; }
  // The measure of the canvas; the default measure unless set.
  void SetTextMeasure(const TextMeasure* measure) { measure_ = measure; }
  // Pixel width of the text on the control: 0 for an empty text, 8 pixels a character without
  // a canvas.
  int TextWidth(std::string_view text) const;

  // Updates of linked controls suspended while an export walks the source.
  void DisableControls() { ++controlsDisabled_; }
  void EnableControls() {
    if (controlsDisabled_ > 0) --controlsDisabled_;
  }
  int ControlsDisabled() const { return controlsDisabled_; }

 private:
  QVariant Value(int row, int column) const;
  const TVantrixModelField* DeclaredField(int column) const;

  QPointer<QAbstractItemModel> model_;
  bool active_ = true;
  int fixedRows_ = 0;
  int currentRow_ = 0;
  bool eof_ = false;
  std::vector<TVantrixModelField> fields_;
  std::vector<bool> fieldDeclared_;
  std::vector<int> pixelWidths_;
  TVantrixFont font_;
  bool hasCanvas_ = true;
  const TextMeasure* measure_ = nullptr;
  int controlsDisabled_ = 0;
};

// Pixel width of a text on a control: 0 without a control or for an empty text.
int GetTextWidth(const TVantrixModelSource* control, std::string_view text);

}  // namespace vantrix
