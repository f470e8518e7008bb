// The editing pages of the extensions tree: each shows the selected node's item and writes
// every change of a control straight into it. Number edits take effect when left: text that is
// no number counts as 0 (a note's font size as 8), and a value is kept within what its field
// holds instead of wrapping, so the edit shows what was stored.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <climits>
#include <functional>
#include <tuple>

#include "export/dialog/dialog_services.h"
#include "export/dialog/form_widgets.h"
#include "export/dialog/style_editing.h"
#include "export/dialog/style_painting.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/dialog/xls_color_editor.h"
#include "export/dialog/xls_extensions_editor.h"
#include "export/library_strings.h"
#include "export/variant_text.h"
#include "export/xls/xls_cell.h"
#include "export/xls/xls_chart.h"
#include "export/xls/xls_link_note.h"
#include "platform/qt_text.h"
#include "ui/radio_group.h"

namespace vantrix {

namespace {

constexpr int kMaxByte = 255;
constexpr int kMaxWord = 65535;

// The value of a number edit when it is left, within [lo, hi]; the edit shows what was kept.
int TakeNumber(QLineEdit* edit, int lo, int hi, int whenNoNumber) {
  bool ok = false;
  const qlonglong read = edit->text().trimmed().toLongLong(&ok);
  const int value = static_cast<int>(std::clamp<qlonglong>(ok ? read : whenNoNumber, lo, hi));
  if (edit->text() != QString::number(value)) edit->setText(QString::number(value));
  return value;
}

void ShowNumber(QLineEdit* edit, int value) { edit->setText(QString::number(value)); }

// Holds the change handlers still while a show writes the controls.
class Showing {
 public:
  explicit Showing(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
  ~Showing() { flag_ = was_; }

 private:
  bool& flag_;
  bool was_;
};

void SelectText(QComboBox* combo, const QString& text) { combo->setCurrentIndex(combo->findText(text)); }

// A cell's value in the forms its value edit is read back in (the cell's locale forms), so a
// shown date or number typed back unchanged stays what it was.
QString CellValueText(const TxlsCell& cell) {
  const QVariant value = cell.GetValue();
  if (cell.CellType == ctString) return value.toString();
  std::string text;
  VariantToText(value, cell.Settings(), text);
  return platform::FromCp1252(text);
}

}  // namespace

template <class T>
T* TXLSExtensionsEditor::Selected() const {
  if (showing_) return nullptr;
  return dynamic_cast<T*>(SelectedItem());
}

void TXLSExtensionsEditor::EnablePage(const char* page, bool enabled) {
  if (QWidget* w = form_.Control<QWidget>(page)) w->setEnabled(enabled);
}

// ---- hyperlinks ----------------------------------------------------------------------------

void TXLSExtensionsEditor::XLSShowHyperlink(QTreeWidgetItem* node) {
  auto* link = dynamic_cast<TxlsHyperlink*>(XLSNodeItem(node));
  EnablePage("tshXLSHyperlink", link != nullptr);
  if (link == nullptr) return;
  Showing guard(showing_);
  ShowNumber(form_.Control<QLineEdit>("edXLSHyperlinkCol"), link->Col);
  ShowNumber(form_.Control<QLineEdit>("edXLSHyperlinkRow"), link->Row);
  form_.Control<ui::TRadioGroup>("rgXLSHyperlinkStyle")->SetItemIndex(link->Style);
  form_.Control<QLineEdit>("edXLSHyperlinkTitle")->setText(QString::fromStdU16String(link->Title));
  form_.Control<QLineEdit>("edXLSHyperlinkTarget")->setText(QString::fromStdU16String(link->Target));
  form_.Control<QLineEdit>("edXLSHyperlinkScreenTip")->setText(QString::fromStdU16String(link->ScreenTip));
}

// Connects a number edit of items of class T: on leaving it (or on Enter) the value, kept
// within [lo, hi], goes into the item through store.
#define VANTRIX_NUMBER_EDIT(T, name, lo, hi, whenNoNumber, store)                                  \
  form::EnterConfirms(form_.Control<QLineEdit>(name));                                             \
  connect(form_.Control<QLineEdit>(name), &QLineEdit::editingFinished, this, [this] {              \
    auto* item = Selected<T>();                                                                     \
    if (item == nullptr) return;                                                                    \
    const int value = TakeNumber(form_.Control<QLineEdit>(name), lo, hi, whenNoNumber);             \
    store;                                                                                          \
  })

// Connects a text edit of items of class T: each change goes into the item's field.
#define VANTRIX_WIDE_EDIT(T, name, field, also)                                                     \
  connect(form_.Control<QLineEdit>(name), &QLineEdit::textEdited, this, [this](const QString& text) { \
    auto* item = Selected<T>();                                                                     \
    if (item == nullptr) return;                                                                    \
    item->field = text.toStdU16String();                                                            \
    also;                                                                                           \
  })

void TXLSExtensionsEditor::ConnectHyperlinkPage() {
  // A link's column may be the sheet's last, 256.
  VANTRIX_NUMBER_EDIT(TxlsHyperlink, "edXLSHyperlinkCol", 1, kXLSMaxCols, 0, item->Col = value);
  VANTRIX_NUMBER_EDIT(TxlsHyperlink, "edXLSHyperlinkRow", 0, kMaxWord, 0, item->Row = value);
  connect(form_.Control<ui::TRadioGroup>("rgXLSHyperlinkStyle"), &ui::TRadioGroup::Clicked, this, [this](int index) {
    if (auto* link = Selected<TxlsHyperlink>()) link->Style = index == 1 ? hlsLocalFile : hlsURL;
  });
  VANTRIX_WIDE_EDIT(TxlsHyperlink, "edXLSHyperlinkTitle", Title, tree_->currentItem()->setText(0, text));
  VANTRIX_WIDE_EDIT(TxlsHyperlink, "edXLSHyperlinkTarget", Target, (void)0);
  VANTRIX_WIDE_EDIT(TxlsHyperlink, "edXLSHyperlinkScreenTip", ScreenTip, (void)0);
}

// ---- notes ---------------------------------------------------------------------------------

void TXLSExtensionsEditor::ShowNoteFontButtons() {
  auto* note = dynamic_cast<TxlsNote*>(SelectedItem());
  if (note == nullptr) return;
  const TxlsFont& font = note->Format.Font;
  const TxlsAlignment& align = note->Format.Alignment;
  const auto set = [this](const char* name, bool down) {
    auto* b = form_.Control<QToolButton>(name);
    const QSignalBlocker block(b);
    b->setChecked(down);
  };
  set("btnXLSNoteFontBold", font.Style.Has(xfsBold));
  set("btnXLSNoteFontItalic", font.Style.Has(xfsItalic));
  set("btnXLSNoteFontStrikeOut", font.Style.Has(xfsStrikeOut));
  set("btnXLSNoteUnderlineSingle", font.Underline == fulSingle);
  set("btnXLSNoteUnderlineSingleAccounting", font.Underline == fulSingleAccounting);
  set("btnXLSNoteUnderlineDouble", font.Underline == fulDouble);
  set("btnXLSNoteUnderlineDoubleAccounting", font.Underline == fulDoubleAccounting);
  set("btnXLSNoteHorizontalLeft", align.Horizontal == halLeft);
  set("btnXLSNoteHorizontalCenter", align.Horizontal == halCenter);
  set("btnXLSNoteHorizontalRight", align.Horizontal == halRight);
  set("btnXLSNoteHorizontalFill", align.Horizontal == halFill);
  set("btnXLSNoteVerticalTop", align.Vertical == valTop);
  set("btnXLSNoteVerticalCenter", align.Vertical == valCenter);
  set("btnXLSNoteVerticalBottom", align.Vertical == valBottom);
}

void TXLSExtensionsEditor::XLSShowNote(QTreeWidgetItem* node) {
  auto* note = dynamic_cast<TxlsNote*>(XLSNodeItem(node));
  EnablePage("tshXLSNote", note != nullptr);
  if (note == nullptr) return;
  Showing guard(showing_);
  const TxlsNoteFormat& format = note->Format;
  ShowNumber(form_.Control<QLineEdit>("edXLSNoteCol"), note->Col);
  ShowNumber(form_.Control<QLineEdit>("edXLSNoteRow"), note->Row);
  QStringList lines;
  for (const std::string& line : note->Lines) lines << platform::FromCp1252(line);
  form_.Control<QPlainTextEdit>("mmXLSNoteLines")->setPlainText(lines.join(QLatin1Char('\n')));
  auto* font = form_.Control<QComboBox>("cbXLSNoteFont");
  const QString name = QString::fromStdU16String(format.Font.Name);
  SelectText(font, name);
  if (font->currentIndex() < 0) font->setEditText(name);
  form_.Control<QComboBox>("cbXLSNoteFontSize")->setEditText(QString::number(format.Font.Size));
  ShowNoteFontButtons();
  form_.Control<ui::TRadioGroup>("rgXLSNoteOrientation")->SetItemIndex(format.Orientation);
  form_.Control<QRadioButton>(format.FillType == nftGradient ? "rbXLSNoteFillGradient" : "rbXLSNoteFillSolid")
      ->setChecked(true);
  const char* gradients[] = {"rbXLSNoteGradientHorizontal", "rbXLSNoteGradientVertical",
                             "rbXLSNoteGradientDiagonalUp", "rbXLSNoteGradientDiagonalDown",
                             "rbXLSNoteGradientFromCorner", "rbXLSNoteGradientFromCenter"};
  form_.Control<QRadioButton>(gradients[std::clamp(static_cast<int>(format.Gradient), 0, 5)])->setChecked(true);
  form_.Control<QSlider>("trXLSNoteTransparency")->setValue(format.Transparency);
  form_.Control<QLabel>("laXLSNoteTransparency")
      ->setText(platform::FromCp1252(VantrixLoadStr(34348)) + QStringLiteral(" - %1%").arg(format.Transparency));
  for (const char* box : {"pbXLSNoteFontColor", "pbXLSNoteBackgroundColor", "pbXLSNoteForegroundColor"})
    form_.Control<QWidget>(box)->update();
  XLSTuneNoteFillType();
}

void TXLSExtensionsEditor::XLSTuneNoteFillType() {
  auto* note = dynamic_cast<TxlsNote*>(SelectedItem());
  const bool gradient = note != nullptr && note->Format.FillType == nftGradient;
  for (const char* name : {"rbXLSNoteGradientHorizontal", "rbXLSNoteGradientVertical", "rbXLSNoteGradientDiagonalUp",
                           "rbXLSNoteGradientDiagonalDown", "rbXLSNoteGradientFromCorner", "rbXLSNoteGradientFromCenter"})
    form_.Control<QWidget>(name)->setEnabled(gradient);
}

void TXLSExtensionsEditor::ConnectNotePage() {
  // The note's box takes the column to the right of it: the last column cannot hold a note.
  VANTRIX_NUMBER_EDIT(TxlsNote, "edXLSNoteCol", 1, kXLSMaxCols - 1, 0, item->Col = value);
  VANTRIX_NUMBER_EDIT(TxlsNote, "edXLSNoteRow", 0, kMaxWord, 0, item->Row = value);
  auto* memo = form_.Control<QPlainTextEdit>("mmXLSNoteLines");
  connect(memo, &QPlainTextEdit::textChanged, this, [this, memo] {
    auto* note = Selected<TxlsNote>();
    if (note == nullptr) return;
    note->Lines.clear();
    const QString text = memo->toPlainText();
    if (text.isEmpty()) return;
    for (const QString& line : text.split(QLatin1Char('\n'))) note->Lines.push_back(platform::ToCp1252(line));
  });
  auto* font = form_.Control<QComboBox>("cbXLSNoteFont");
  if (font->lineEdit() != nullptr) form::EnterConfirms(font->lineEdit());
  connect(font, &QComboBox::currentTextChanged, this, [this](const QString& text) {
    if (auto* note = Selected<TxlsNote>()) note->Format.Font.Name = text.toStdU16String();
  });
  auto* size = form_.Control<QComboBox>("cbXLSNoteFontSize");
  const auto takeSize = [this, size] {
    auto* note = Selected<TxlsNote>();
    if (note == nullptr || size->lineEdit() == nullptr) return;
    note->Format.Font.Size = TakeNumber(size->lineEdit(), 1, TxlsFont::kMaxSize, 8);
  };
  if (size->lineEdit() != nullptr) {
    form::EnterConfirms(size->lineEdit());
    connect(size->lineEdit(), &QLineEdit::editingFinished, this, takeSize);
  }
  connect(size, &QComboBox::activated, this, takeSize);
  connect(form_.Control<QToolButton>("btnXLSNoteFontColor"), &QToolButton::clicked, this, [this] {
    auto* note = Selected<TxlsNote>();
    if (note == nullptr) return;
    note->Format.Font.Color = RunXLSColorEditor(note->Format.Font.Color, form_.GetDialog().Services(), &form_);
    form_.Control<QWidget>("pbXLSNoteFontColor")->update();
  });
  ConnectNoteFontButtons();
  connect(form_.Control<ui::TRadioGroup>("rgXLSNoteOrientation"), &ui::TRadioGroup::Clicked, this, [this](int index) {
    if (auto* note = Selected<TxlsNote>(); note != nullptr && index >= 0 && index <= xlrClockWise)
      note->Format.Orientation = static_cast<TxlsOrientation>(index);
  });
  for (auto [name, type] : {std::pair{"rbXLSNoteFillSolid", nftSolid}, std::pair{"rbXLSNoteFillGradient", nftGradient}})
    connect(form_.Control<QRadioButton>(name), &QRadioButton::clicked, this, [this, type = type] {
      auto* note = Selected<TxlsNote>();
      if (note == nullptr) return;
      note->Format.FillType = type;
      XLSTuneNoteFillType();
    });
  const char* gradients[] = {"rbXLSNoteGradientHorizontal", "rbXLSNoteGradientVertical",
                             "rbXLSNoteGradientDiagonalUp", "rbXLSNoteGradientDiagonalDown",
                             "rbXLSNoteGradientFromCorner", "rbXLSNoteGradientFromCenter"};
  for (int i = 0; i < 6; ++i)
    connect(form_.Control<QRadioButton>(gradients[i]), &QRadioButton::clicked, this, [this, i] {
      if (auto* note = Selected<TxlsNote>()) note->Format.Gradient = static_cast<TxlsNoteGradient>(i);
    });
  for (auto [button, box, field] :
       {std::tuple{"btnXLSNoteBackgroundColor", "pbXLSNoteBackgroundColor", &TxlsNoteFormat::BackgroundColor},
        std::tuple{"btnXLSNoteForegroundColor", "pbXLSNoteForegroundColor", &TxlsNoteFormat::ForegroundColor}})
    connect(form_.Control<QToolButton>(button), &QToolButton::clicked, this, [this, box = box, field = field] {
      auto* note = Selected<TxlsNote>();
      if (note == nullptr) return;
      uint32_t& color = note->Format.*field;
      const std::optional<uint32_t> chosen = form_.GetDialog().Services().ChooseColor(&form_, color);
      if (!chosen || *chosen == color) return;
      color = *chosen;
      form_.Control<QWidget>(box)->update();
    });
  auto* transparency = form_.Control<QSlider>("trXLSNoteTransparency");
  connect(transparency, &QSlider::valueChanged, this, [this](int position) {
    auto* note = Selected<TxlsNote>();
    if (note == nullptr) return;
    note->Format.SetTransparency(position);
    form_.Control<QLabel>("laXLSNoteTransparency")
        ->setText(platform::FromCp1252(VantrixLoadStr(34348)) + QStringLiteral(" - %1%").arg(note->Format.Transparency));
  });
}

void TXLSExtensionsEditor::ConnectNoteFontButtons() {
  for (auto [name, style] : {std::pair{"btnXLSNoteFontBold", xfsBold}, std::pair{"btnXLSNoteFontItalic", xfsItalic},
                             std::pair{"btnXLSNoteFontStrikeOut", xfsStrikeOut}})
    connect(form_.Control<QToolButton>(name), &QToolButton::clicked, this, [this, style = style](bool down) {
      if (auto* note = Selected<TxlsNote>()) EditFontStyleXLS(note->Format.Font, style, down);
    });
  // Underlines and horizontal alignments: one at most is down; up again means none.
  for (auto [name, underline] : {std::pair{"btnXLSNoteUnderlineSingle", fulSingle},
                                 std::pair{"btnXLSNoteUnderlineSingleAccounting", fulSingleAccounting},
                                 std::pair{"btnXLSNoteUnderlineDouble", fulDouble},
                                 std::pair{"btnXLSNoteUnderlineDoubleAccounting", fulDoubleAccounting}})
    connect(form_.Control<QToolButton>(name), &QToolButton::clicked, this, [this, underline = underline](bool down) {
      auto* note = Selected<TxlsNote>();
      if (note == nullptr) return;
      note->Format.Font.Underline = down ? underline : fulNone;
      ShowNoteFontButtons();
    });
  for (auto [name, align] : {std::pair{"btnXLSNoteHorizontalLeft", halLeft}, std::pair{"btnXLSNoteHorizontalCenter", halCenter},
                             std::pair{"btnXLSNoteHorizontalRight", halRight}, std::pair{"btnXLSNoteHorizontalFill", halFill}})
    connect(form_.Control<QToolButton>(name), &QToolButton::clicked, this, [this, align = align](bool down) {
      auto* note = Selected<TxlsNote>();
      if (note == nullptr) return;
      note->Format.Alignment.Horizontal = down ? align : halGeneral;
      ShowNoteFontButtons();
    });
  for (auto [name, align] : {std::pair{"btnXLSNoteVerticalTop", valTop}, std::pair{"btnXLSNoteVerticalCenter", valCenter},
                             std::pair{"btnXLSNoteVerticalBottom", valBottom}})
    connect(form_.Control<QToolButton>(name), &QToolButton::clicked, this, [this, align = align](bool down) {
      if (auto* note = Selected<TxlsNote>(); note != nullptr && down) note->Format.Alignment.Vertical = align;
    });
}

// ---- charts --------------------------------------------------------------------------------

void TXLSExtensionsEditor::XLSShowChart(QTreeWidgetItem* node) {
  auto* chart = dynamic_cast<TxlsChart*>(XLSNodeItem(node));
  EnablePage("tshXLSChart", chart != nullptr);
  if (chart == nullptr) return;
  Showing guard(showing_);
  const TxlsChartAutoPosition& a = chart->Position.AutoPosition;
  const TxlsChartCustomPosition& c = chart->Position.CustomPosition;
  form_.Control<QLineEdit>("edXLSChartTitle")->setText(QString::fromStdU16String(chart->Title));
  form_.Control<QComboBox>("cbXLSChartStyle")->setCurrentIndex(chart->Style);
  form_.Control<QRadioButton>(chart->Position.PositionType == cptCustom ? "rbXLSChartCustomPosition"
                                                                        : "rbXLSChartAutoPosition")
      ->setChecked(true);
  form_.Control<ui::TRadioGroup>("rgXLSChartPlacement")->SetItemIndex(a.Placement);
  const std::pair<const char*, int> numbers[] = {
      {"edXLSChartLeft", a.Left},         {"edXLSChartTop", a.Top},           {"edXLSChartHeight", a.Height},
      {"edXLSChartWidth", a.Width},       {"edXLSChartPositionX1", c.X1},     {"edXLSChartPositionY1", c.Y1},
      {"edXLSChartPositionX2", c.X2},     {"edXLSChartPositionY2", c.Y2},
      {"edXLSChartCategoryLabelsCol1", chart->CategoryLabels.Col1},
      {"edXLSChartCategoryLabelsRow1", chart->CategoryLabels.Row1},
      {"edXLSChartCategoryLabelsCol2", chart->CategoryLabels.Col2},
      {"edXLSChartCategoryLabelsRow2", chart->CategoryLabels.Row2}};
  for (const auto& [name, value] : numbers) ShowNumber(form_.Control<QLineEdit>(name), value);
  form_.Control<QRadioButton>(chart->CategoryLabelsType == rtCustom ? "rbXLSChartCategoryLabelCustom"
                                                                     : "rbXLSChartCategoryLabelColumn")
      ->setChecked(true);
  SelectText(form_.Control<QComboBox>("cbXLSChartCategoryLabelColumn"), platform::FromCp1252(chart->CategoryLabelsColumn));
  form_.Control<ui::TRadioGroup>("rgXLSChartLegendPosition")->SetItemIndex(chart->LegendPlacement);
  form_.Control<QCheckBox>("chXLSChartShowLegend")->setChecked(chart->ShowLegend);
  form_.Control<QCheckBox>("chXLSChartAutoColor")->setChecked(chart->AutoColor);
  XLSTuneChartPosition();
  XLSTuneChartCategoryLabelType();
}

void TXLSExtensionsEditor::XLSTuneChartPosition() {
  auto* chart = dynamic_cast<TxlsChart*>(SelectedItem());
  if (chart == nullptr) return;
  const bool automatic = chart->Position.PositionType == cptAuto;
  for (const char* name : {"rgXLSChartPlacement", "gbXLSChartAutoPosition", "laXLSChartLeft", "edXLSChartLeft",
                           "laXLSChartTop", "edXLSChartTop", "laXLSChartHeight", "edXLSChartHeight", "laXLSChartWidth",
                           "edXLSChartWidth"})
    form_.Control<QWidget>(name)->setEnabled(automatic);
  for (const char* name : {"laXLSChartPositionX1", "edXLSChartPositionX1", "laXLSChartPositionY1", "edXLSChartPositionY1",
                           "laXLSChartPositionX2", "edXLSChartPositionX2", "laXLSChartPositionY2", "edXLSChartPositionY2"})
    form_.Control<QWidget>(name)->setEnabled(!automatic);
}

namespace {
// The column combo with the column choice, the four range edits with the custom one.
void TuneRange(TVantrix3DialogF& form, const char* combo, const char* prefix, bool custom) {
  form.Control<QWidget>(combo)->setEnabled(!custom);
  for (const char* part : {"Col1", "Row1", "Col2", "Row2"})
    for (const char* kind : {"la", "ed"})
      if (QWidget* w = form.Control<QWidget>((QByteArray(kind) + prefix + part).constData())) w->setEnabled(custom);
}
}  // namespace

void TXLSExtensionsEditor::XLSTuneChartCategoryLabelType() {
  auto* chart = dynamic_cast<TxlsChart*>(SelectedItem());
  if (chart == nullptr) return;
  TuneRange(form_, "cbXLSChartCategoryLabelColumn", "XLSChartCategoryLabels", chart->CategoryLabelsType == rtCustom);
}

void TXLSExtensionsEditor::ConnectChartPage() {
  VANTRIX_WIDE_EDIT(TxlsChart, "edXLSChartTitle", Title, (void)0);
  connect(form_.Control<QComboBox>("cbXLSChartStyle"), &QComboBox::activated, this, [this](int index) {
    if (auto* chart = Selected<TxlsChart>(); chart != nullptr && index >= 0 && index <= xcsRadarArea)
      chart->Style = static_cast<TxlsChartStyle>(index);
  });
  for (auto [name, type] :
       {std::pair{"rbXLSChartAutoPosition", cptAuto}, std::pair{"rbXLSChartCustomPosition", cptCustom}})
    connect(form_.Control<QRadioButton>(name), &QRadioButton::clicked, this, [this, type = type] {
      auto* chart = Selected<TxlsChart>();
      if (chart == nullptr) return;
      chart->Position.PositionType = type;
      XLSTuneChartPosition();
    });
  connect(form_.Control<ui::TRadioGroup>("rgXLSChartPlacement"), &ui::TRadioGroup::Clicked, this, [this](int index) {
    if (auto* chart = Selected<TxlsChart>()) chart->Position.AutoPosition.Placement = index == 1 ? cpRight : cpBottom;
  });
  // Automatic positions count rows and columns from the data and may be negative.
  VANTRIX_NUMBER_EDIT(TxlsChart, "edXLSChartLeft", INT_MIN, INT_MAX, 0, item->Position.AutoPosition.Left = value);
  VANTRIX_NUMBER_EDIT(TxlsChart, "edXLSChartTop", INT_MIN, INT_MAX, 0, item->Position.AutoPosition.Top = value);
  VANTRIX_NUMBER_EDIT(TxlsChart, "edXLSChartHeight", INT_MIN, INT_MAX, 0, item->Position.AutoPosition.Height = value);
  VANTRIX_NUMBER_EDIT(TxlsChart, "edXLSChartWidth", INT_MIN, INT_MAX, 0, item->Position.AutoPosition.Width = value);
  VANTRIX_NUMBER_EDIT(TxlsChart, "edXLSChartPositionX1", 0, kMaxByte, 0,
                      item->Position.CustomPosition.X1 = static_cast<uint8_t>(value));
  VANTRIX_NUMBER_EDIT(TxlsChart, "edXLSChartPositionY1", 0, kMaxWord, 0,
                      item->Position.CustomPosition.Y1 = static_cast<uint16_t>(value));
  VANTRIX_NUMBER_EDIT(TxlsChart, "edXLSChartPositionX2", 0, kMaxByte, 0,
                      item->Position.CustomPosition.X2 = static_cast<uint8_t>(value));
  VANTRIX_NUMBER_EDIT(TxlsChart, "edXLSChartPositionY2", 0, kMaxWord, 0,
                      item->Position.CustomPosition.Y2 = static_cast<uint16_t>(value));
  for (auto [name, type] :
       {std::pair{"rbXLSChartCategoryLabelColumn", rtColumn}, std::pair{"rbXLSChartCategoryLabelCustom", rtCustom}})
    connect(form_.Control<QRadioButton>(name), &QRadioButton::clicked, this, [this, type = type] {
      auto* chart = Selected<TxlsChart>();
      if (chart == nullptr) return;
      chart->CategoryLabelsType = type;
      XLSTuneChartCategoryLabelType();
    });
  connect(form_.Control<QComboBox>("cbXLSChartCategoryLabelColumn"), &QComboBox::activated, this, [this](int index) {
    auto* chart = Selected<TxlsChart>();
    if (chart == nullptr) return;
    chart->CategoryLabelsColumn =
        platform::ToCp1252(form_.Control<QComboBox>("cbXLSChartCategoryLabelColumn")->itemText(index));
  });
  VANTRIX_NUMBER_EDIT(TxlsChart, "edXLSChartCategoryLabelsCol1", 0, kMaxByte, 0,
                      item->CategoryLabels.Col1 = static_cast<uint8_t>(value));
  VANTRIX_NUMBER_EDIT(TxlsChart, "edXLSChartCategoryLabelsRow1", 0, kMaxWord, 0,
                      item->CategoryLabels.Row1 = static_cast<uint16_t>(value));
  VANTRIX_NUMBER_EDIT(TxlsChart, "edXLSChartCategoryLabelsCol2", 0, kMaxByte, 0,
                      item->CategoryLabels.Col2 = static_cast<uint8_t>(value));
  VANTRIX_NUMBER_EDIT(TxlsChart, "edXLSChartCategoryLabelsRow2", 0, kMaxWord, 0,
                      item->CategoryLabels.Row2 = static_cast<uint16_t>(value));
  connect(form_.Control<ui::TRadioGroup>("rgXLSChartLegendPosition"), &ui::TRadioGroup::Clicked, this, [this](int index) {
    if (auto* chart = Selected<TxlsChart>(); chart != nullptr && index >= 0 && index <= clpLeft)
      chart->LegendPlacement = static_cast<TxlsChartLegendPlacement>(index);
  });
  connect(form_.Control<QCheckBox>("chXLSChartShowLegend"), &QCheckBox::clicked, this, [this](bool on) {
    if (auto* chart = Selected<TxlsChart>()) chart->ShowLegend = on;
  });
  connect(form_.Control<QCheckBox>("chXLSChartAutoColor"), &QCheckBox::clicked, this, [this](bool on) {
    if (auto* chart = Selected<TxlsChart>()) chart->AutoColor = on;
  });
}

// ---- series --------------------------------------------------------------------------------

void TXLSExtensionsEditor::XLSShowSeries(QTreeWidgetItem* node) {
  auto* series = dynamic_cast<TxlsChartSeries*>(XLSNodeItem(node));
  EnablePage("tshXLSSeries", series != nullptr);
  if (series == nullptr) return;
  Showing guard(showing_);
  form_.Control<QLineEdit>("edXLSSeriesTitle")->setText(QString::fromStdU16String(series->Title));
  form_.Control<QRadioButton>(series->DataRangeType == rtCustom ? "rbXLSSeriesCustom" : "rbXLSSeriesColumn")
      ->setChecked(true);
  SelectText(form_.Control<QComboBox>("cbXLSSeriesColumn"), platform::FromCp1252(series->DataColumn));
  ShowNumber(form_.Control<QLineEdit>("edXLSSeriesDataRangeCol1"), series->DataRange.Col1);
  ShowNumber(form_.Control<QLineEdit>("edXLSSeriesDataRangeRow1"), series->DataRange.Row1);
  ShowNumber(form_.Control<QLineEdit>("edXLSSeriesDataRangeCol2"), series->DataRange.Col2);
  ShowNumber(form_.Control<QLineEdit>("edXLSSeriesDataRangeRow2"), series->DataRange.Row2);
  form_.Control<QWidget>("pbXLSSeriesColor")->update();
  XLSTuneSeriesDataRangeType();
}

void TXLSExtensionsEditor::XLSTuneSeriesDataRangeType() {
  auto* series = dynamic_cast<TxlsChartSeries*>(SelectedItem());
  if (series == nullptr) return;
  TuneRange(form_, "cbXLSSeriesColumn", "XLSSeriesDataRange", series->DataRangeType == rtCustom);
}

void TXLSExtensionsEditor::ConnectSeriesPage() {
  VANTRIX_WIDE_EDIT(TxlsChartSeries, "edXLSSeriesTitle", Title, (void)0);
  for (auto [name, type] : {std::pair{"rbXLSSeriesColumn", rtColumn}, std::pair{"rbXLSSeriesCustom", rtCustom}})
    connect(form_.Control<QRadioButton>(name), &QRadioButton::clicked, this, [this, type = type] {
      auto* series = Selected<TxlsChartSeries>();
      if (series == nullptr) return;
      series->DataRangeType = type;
      XLSTuneSeriesDataRangeType();
    });
  connect(form_.Control<QComboBox>("cbXLSSeriesColumn"), &QComboBox::activated, this, [this](int index) {
    auto* series = Selected<TxlsChartSeries>();
    if (series == nullptr) return;
    series->DataColumn = platform::ToCp1252(form_.Control<QComboBox>("cbXLSSeriesColumn")->itemText(index));
    XLSTuneSeriesDataRangeType();
  });
  VANTRIX_NUMBER_EDIT(TxlsChartSeries, "edXLSSeriesDataRangeCol1", 0, kMaxByte, 0,
                      item->DataRange.Col1 = static_cast<uint8_t>(value));
  VANTRIX_NUMBER_EDIT(TxlsChartSeries, "edXLSSeriesDataRangeRow1", 0, kMaxWord, 0,
                      item->DataRange.Row1 = static_cast<uint16_t>(value));
  VANTRIX_NUMBER_EDIT(TxlsChartSeries, "edXLSSeriesDataRangeCol2", 0, kMaxByte, 0,
                      item->DataRange.Col2 = static_cast<uint8_t>(value));
  VANTRIX_NUMBER_EDIT(TxlsChartSeries, "edXLSSeriesDataRangeRow2", 0, kMaxWord, 0,
                      item->DataRange.Row2 = static_cast<uint16_t>(value));
  connect(form_.Control<QToolButton>("btnXLSSeriesColor"), &QToolButton::clicked, this, [this] {
    auto* series = Selected<TxlsChartSeries>();
    if (series == nullptr) return;
    series->Color = RunXLSColorEditor(series->Color, form_.GetDialog().Services(), &form_);
    form_.Control<QWidget>("pbXLSSeriesColor")->update();
  });
}

// ---- extra cells and merged ranges ---------------------------------------------------------

void TXLSExtensionsEditor::XLSShowCell(QTreeWidgetItem* node) {
  auto* cell = dynamic_cast<TxlsCell*>(XLSNodeItem(node));
  EnablePage("tshXLSCell", cell != nullptr);
  form_.Control<QWidget>("pcXLSCells")->setVisible(cell != nullptr);
  if (OnShowCellFormat) OnShowCellFormat(cell != nullptr ? &cell->Format : nullptr);
  if (cell == nullptr) return;
  Showing guard(showing_);
  ShowNumber(form_.Control<QLineEdit>("edXLSCellCol"), cell->Col);
  ShowNumber(form_.Control<QLineEdit>("edXLSCellRow"), cell->Row);
  form_.Control<QComboBox>("cbXLSCellType")->setCurrentIndex(cell->CellType);
  form_.Control<QLineEdit>("edXLSCellValue")->setText(CellValueText(*cell));
  form_.Control<QLineEdit>("edXLSCellDateTimeFormat")->setText(platform::FromCp1252(cell->DateTimeFormat));
  form_.Control<QLineEdit>("edXLSCellNumericFormat")->setText(platform::FromCp1252(cell->NumericFormat));
  XLSTuneCellType();
}

void TXLSExtensionsEditor::XLSTuneCellType() {
  auto* cell = dynamic_cast<TxlsCell*>(SelectedItem());
  if (cell == nullptr) return;
  for (const char* name : {"laXLSCellDateTimeFormat", "edXLSCellDateTimeFormat"})
    form_.Control<QWidget>(name)->setEnabled(cell->CellType == ctDateTime);
  for (const char* name : {"laXLSCellNumericFormat", "edXLSCellNumericFormat"})
    form_.Control<QWidget>(name)->setEnabled(cell->CellType == ctNumeric);
}

void TXLSExtensionsEditor::ConnectCellPage() {
  VANTRIX_NUMBER_EDIT(TxlsCell, "edXLSCellCol", 0, kMaxWord, 0, (item->Col = value, RefreshCellNodeText()));
  VANTRIX_NUMBER_EDIT(TxlsCell, "edXLSCellRow", 0, kMaxWord, 0, (item->Row = value, RefreshCellNodeText()));
  connect(form_.Control<QComboBox>("cbXLSCellType"), &QComboBox::activated, this, [this](int index) {
    auto* cell = Selected<TxlsCell>();
    if (cell == nullptr || index < 0 || index > ctString) return;
    cell->CellType = static_cast<TxlsCellType>(index);
    XLSTuneCellType();
  });
  connect(form_.Control<QLineEdit>("edXLSCellValue"), &QLineEdit::textEdited, this, [this](const QString& text) {
    if (auto* cell = Selected<TxlsCell>()) cell->SetValue(QVariant(text));
  });
  connect(form_.Control<QLineEdit>("edXLSCellDateTimeFormat"), &QLineEdit::textEdited, this, [this](const QString& text) {
    if (auto* cell = Selected<TxlsCell>()) cell->DateTimeFormat = platform::ToCp1252(text);
  });
  connect(form_.Control<QLineEdit>("edXLSCellNumericFormat"), &QLineEdit::textEdited, this, [this](const QString& text) {
    if (auto* cell = Selected<TxlsCell>()) cell->NumericFormat = platform::ToCp1252(text);
  });
}

void TXLSExtensionsEditor::XLSShowMergedCell(QTreeWidgetItem* node) {
  auto* range = dynamic_cast<TxlsMergedCells*>(XLSNodeItem(node));
  EnablePage("tshXLSMergedCells", range != nullptr);
  if (range == nullptr) return;
  Showing guard(showing_);
  ShowNumber(form_.Control<QLineEdit>("edXLSMergedCellsFirstCol"), range->FirstCol);
  ShowNumber(form_.Control<QLineEdit>("edXLSMergedCellsFirstRow"), range->FirstRow);
  ShowNumber(form_.Control<QLineEdit>("edXLSMergedCellsLastCol"), range->LastCol);
  ShowNumber(form_.Control<QLineEdit>("edXLSMergedCellsLastRow"), range->LastRow);
}

void TXLSExtensionsEditor::ConnectMergedCellsPage() {
  VANTRIX_NUMBER_EDIT(TxlsMergedCells, "edXLSMergedCellsFirstCol", 0, kMaxWord, 0, item->FirstCol = value);
  VANTRIX_NUMBER_EDIT(TxlsMergedCells, "edXLSMergedCellsFirstRow", 0, kMaxWord, 0, item->FirstRow = value);
  VANTRIX_NUMBER_EDIT(TxlsMergedCells, "edXLSMergedCellsLastCol", 0, kMaxWord, 0, item->LastCol = value);
  VANTRIX_NUMBER_EDIT(TxlsMergedCells, "edXLSMergedCellsLastRow", 0, kMaxWord, 0, item->LastRow = value);
}

#undef VANTRIX_NUMBER_EDIT
#undef VANTRIX_WIDE_EDIT

// ---- colour boxes --------------------------------------------------------------------------

void TXLSExtensionsEditor::ConnectColorBoxes() {
  const auto paint = [this](const char* name, std::function<void(QPainter&, const QRect&)> draw) {
    if (auto* box = form_.Control<TPaintBox>(name)) box->OnPaint = std::move(draw);
  };
  paint("pbXLSNoteFontColor", [this](QPainter& p, const QRect& r) {
    if (auto* note = dynamic_cast<TxlsNote*>(SelectedItem())) PaintXLSColors(p, r, note->Format.Font.Color);
  });
  paint("pbXLSNoteBackgroundColor", [this](QPainter& p, const QRect& r) {
    if (auto* note = dynamic_cast<TxlsNote*>(SelectedItem())) PaintStandardColors(p, r, note->Format.BackgroundColor);
  });
  paint("pbXLSNoteForegroundColor", [this](QPainter& p, const QRect& r) {
    if (auto* note = dynamic_cast<TxlsNote*>(SelectedItem())) PaintStandardColors(p, r, note->Format.ForegroundColor);
  });
  paint("pbXLSSeriesColor", [this](QPainter& p, const QRect& r) {
    if (auto* series = dynamic_cast<TxlsChartSeries*>(SelectedItem())) PaintXLSColors(p, r, series->Color);
  });
}

}  // namespace vantrix
