#include "export/dialog/xls_format_editor.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>

#include "export/dialog/dialog_services.h"
#include "export/dialog/form_widgets.h"
#include "export/dialog/list_items.h"
#include "export/dialog/owner_drawn_combo.h"
#include "export/dialog/style_editing.h"
#include "export/dialog/style_painting.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/dialog/xls_color_editor.h"
#include "export/dialog/xls_extensions_editor.h"
#include "export/xls/xls_format.h"
#include "ui/radio_group.h"

namespace vantrix {

using form::SetComboIndex;
using form::SetComboText;
using form::SetDown;

struct TXLSMixedValues {
  bool fontName = false;
  bool fontSize = false;
  bool borders[4] = {};
  bool pattern = false;
  bool aggregate = false;
};

namespace {

constexpr struct {
  const char* button;
  TxlsFontStyle style;
  TListItemCopier copy;
} kFontStyles[] = {{"btnFontBold", xfsBold, XLSUpdateItemFontBold},
                   {"btnFontItalic", xfsItalic, XLSUpdateItemFontItalic},
                   {"btnFontStrikeOut", xfsStrikeOut, XLSUpdateItemFontStrikeOut}};

constexpr struct {
  const char* button;
  TxlsFontUnderline underline;
} kUnderlines[] = {{"btnUnderlineSingle", fulSingle},
                   {"btnUnderlineSingleAccounting", fulSingleAccounting},
                   {"btnUnderlineDouble", fulDouble},
                   {"btnUnderlineDoubleAccounting", fulDoubleAccounting}};

constexpr struct {
  const char* button;
  TxlsHorizontalAlignment alignment;
} kHorizontals[] = {{"btnHorizontalLeft", halLeft},
                    {"btnHorizontalCenter", halCenter},
                    {"btnHorizontalRight", halRight},
                    {"btnHorizontalFill", halFill}};

constexpr struct {
  const char* button;
  TxlsVerticalAlignment alignment;
} kVerticals[] = {{"btnVerticalTop", valTop}, {"btnVerticalCenter", valCenter}, {"btnVerticalBottom", valBottom}};

struct BorderSide {
  const char* button;
  const char* combo;
  const char* colorButton;
  const char* box;
  TxlsBorder TxlsBorders::* border;
  TListItemCopier copyStyle;
  TListItemCopier copyColor;
};
const BorderSide kSides[] = {
    {"btnBorderTop", "cmbBorderTop", "btnBorderTopColor", "pbBorderTop", &TxlsBorders::Top, XLSUpdateItemBorderTop,
     XLSUpdateItemBorderTopColor},
    {"btnBorderBottom", "cmbBorderBottom", "btnBorderBottomColor", "pbBorderBottom", &TxlsBorders::Bottom,
     XLSUpdateItemBorderBottom, XLSUpdateItemBorderBottomColor},
    {"btnBorderLeft", "cmbBorderLeft", "btnBorderLeftColor", "pbBorderLeft", &TxlsBorders::Left,
     XLSUpdateItemBorderLeft, XLSUpdateItemBorderLeftColor},
    {"btnBorderRight", "cmbBorderRight", "btnBorderRightColor", "pbBorderRight", &TxlsBorders::Right,
     XLSUpdateItemBorderRight, XLSUpdateItemBorderRightColor},
};

constexpr const char* kPaintedControls[] = {"pbFontColor",      "pbBorderTop",      "pbBorderBottom",
                                            "pbBorderLeft",     "pbBorderRight",    "pbFillBackground",
                                            "pbFillForeground", "cmbBorderTop",     "cmbBorderBottom",
                                            "cmbBorderLeft",    "cmbBorderRight",   "cmbPattern",
                                            "pbXLSCell"};

}  // namespace

TXLSFormatEditor::TXLSFormatEditor(TVantrix3DialogF& form) : form_(form) {
  ConnectLists();
  ConnectFontSheet();
  ConnectBorderAndFillSheets();
  ConnectPainting();
}

TXLSFormatEditor::~TXLSFormatEditor() { form_.XLSExtensions().OnShowCellFormat = nullptr; }

QTreeWidget* TXLSFormatEditor::CurrXLSListView() const {
  auto* pages = form_.Control<QTabWidget>("pcXLS");
  if (pages == nullptr || pages->currentWidget() != form_.Control<QWidget>("tshXLSDataFormat")) return nullptr;
  const QWidget* sheet = form_.Control<QTabWidget>("pcXLSFormats")->currentWidget();
  if (sheet == nullptr) return nullptr;
  const char* lists[][2] = {
      {"tshXLSFields", "lstXLSFields"}, {"tshXLSOptions", "lstXLSOptions"}, {"tshXLSStyles", "lstXLSStyles"}};
  for (const auto& [tab, list] : lists)
    if (sheet->objectName() == QLatin1String(tab)) return form_.Control<QTreeWidget>(list);
  return nullptr;
}

QTreeWidgetItem* TXLSFormatEditor::CurrXLSItem() const {
  QTreeWidget* list = CurrXLSListView();
  if (list == nullptr) return nullptr;
  QTreeWidgetItem* focused = list->currentItem();
  if (focused != nullptr && focused->isSelected()) return focused;
  for (int i = 0; i < list->topLevelItemCount(); ++i)
    if (list->topLevelItem(i)->isSelected()) return list->topLevelItem(i);
  return nullptr;
}

TxlsFormat* TXLSFormatEditor::CurrXLSFormat() const {
  auto* pages = form_.Control<QTabWidget>("pcXLS");
  if (pages != nullptr && pages->currentWidget() == form_.Control<QWidget>("tshXLSExtensions"))
    return form_.XLSExtensions().SelectedCellFormat();
  return XLSItemFormat(CurrXLSItem());
}

// ---- showing --------------------------------------------------------------------------------

void TXLSFormatEditor::lstXLSFieldsChange(QTreeWidget* list) {
  if (list == nullptr || list != CurrXLSListView()) return;
  QTreeWidgetItem* current = CurrXLSItem();
  const int selected = static_cast<int>(list->selectedItems().size());
  if (selected == 1)
    ShowXLSListItem(XLSItemFormat(current));
  else if (selected > 1)
    ShowXLSListItemM(list, current);
  else
    RepaintAll();
  if (list == form_.Control<QTreeWidget>("lstXLSStyles")) XLSShowStyleButtons(form_);
}

void TXLSFormatEditor::ShowCurrent() {
  if (QTreeWidget* list = CurrXLSListView())
    lstXLSFieldsChange(list);
  else
    ShowXLSListItem(CurrXLSFormat());
}

void TXLSFormatEditor::ShowXLSListItem(const TxlsFormat* format) {
  form_.Control<QPushButton>("btnXLSResetItem")->setText(QStringLiteral("Reset item"));
  if (format != nullptr) ShowValues(*format, TXLSMixedValues());
  RepaintAll();
}

void TXLSFormatEditor::ShowXLSListItemM(QTreeWidget* list, QTreeWidgetItem* current) {
  form_.Control<QPushButton>("btnXLSResetItem")->setText(QStringLiteral("Reset selected"));
  const TxlsFormat* reference = XLSItemFormat(current);
  if (reference == nullptr) return;
  // Compared with the current item one by one; a value found mixed stays mixed.
  TXLSMixedValues mixed;
  const auto* referenceField = dynamic_cast<const TxlsFieldFormat*>(reference);
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = list->topLevelItem(i);
    const TxlsFormat* other = item == current || !item->isSelected() ? nullptr : XLSItemFormat(item);
    if (other == nullptr) continue;
    mixed.fontName |= other->Font.Name != reference->Font.Name;
    mixed.fontSize |= other->Font.Size != reference->Font.Size;
    for (int s = 0; s < 4; ++s)
      mixed.borders[s] |= (other->Borders.*kSides[s].border).Style != (reference->Borders.*kSides[s].border).Style;
    mixed.pattern |= other->Fill.Pattern != reference->Fill.Pattern;
    const auto* otherField = dynamic_cast<const TxlsFieldFormat*>(other);
    mixed.aggregate |= referenceField != nullptr &&
                       (otherField == nullptr || otherField->Aggregate != referenceField->Aggregate);
  }
  ShowValues(*reference, mixed);
  RepaintAll();
}

void TXLSFormatEditor::ShowValues(const TxlsFormat& format, const TXLSMixedValues& mixed) {
  SetComboText(form_.Control<QComboBox>("cbxXLSFont"),
               mixed.fontName ? QString() : QString::fromStdU16String(format.Font.Name));
  SetComboText(form_.Control<QComboBox>("cbxXLSFontSize"),
               mixed.fontSize ? QString() : QString::number(format.Font.Size));
  ShowToggles(format);
  for (int s = 0; s < 4; ++s) {
    const TxlsBorderStyle style = (format.Borders.*kSides[s].border).Style;
    SetDown(form_.Control<QToolButton>(kSides[s].button), style != bstNone);
    SetComboIndex(form_.Control<QComboBox>(kSides[s].combo), mixed.borders[s] ? -1 : static_cast<int>(style));
  }
  SetComboIndex(form_.Control<QComboBox>("cmbPattern"), mixed.pattern ? -1 : static_cast<int>(format.Fill.Pattern));
  // Only a field format has an aggregate function to show.
  auto* function = form_.Control<ui::TRadioGroup>("rgXLSFunction");
  const auto* field = dynamic_cast<const TxlsFieldFormat*>(&format);
  const QSignalBlocker block(function);
  function->setEnabled(field != nullptr);
  function->SetItemIndex(field != nullptr && !mixed.aggregate ? static_cast<int>(field->Aggregate) : -1);
}

// The speed buttons of the font sheet, down as the format has them.
void TXLSFormatEditor::ShowToggles(const TxlsFormat& format) {
  for (const auto& b : kFontStyles) SetDown(form_.Control<QToolButton>(b.button), format.Font.Style.Has(b.style));
  for (const auto& b : kUnderlines)
    SetDown(form_.Control<QToolButton>(b.button), format.Font.Underline == b.underline);
  for (const auto& b : kHorizontals)
    SetDown(form_.Control<QToolButton>(b.button), format.Alignment.Horizontal == b.alignment);
  for (const auto& b : kVerticals)
    SetDown(form_.Control<QToolButton>(b.button), format.Alignment.Vertical == b.alignment);
}

void TXLSFormatEditor::Repaint(std::initializer_list<const char*> names) {
  for (const char* name : names)
    if (auto* w = form_.Control<QWidget>(name)) w->update();
}

void TXLSFormatEditor::RepaintAll() {
  for (const char* name : kPaintedControls)
    if (auto* w = form_.Control<QWidget>(name)) w->update();
}

// ---- resets and the aggregate function ------------------------------------------------------

void TXLSFormatEditor::btnXLSResetItemClick() {
  QTreeWidget* list = CurrXLSListView();
  QTreeWidgetItem* current = CurrXLSItem();
  if (current == nullptr) return;
  if (TxlsFormat* format = XLSItemFormat(current)) {
    // The caption rule holds for the element list only: a field may be called "Caption".
    if (list == form_.Control<QTreeWidget>("lstXLSOptions"))
      ResetXLSItemFormat(current);
    else
      format->SetDefault();
  }
  if (list->selectedItems().size() > 1)
    ForAllListViewItems(list, false, false, [current](QTreeWidgetItem* item) { XLSUpdateItemSetDefault(current, item); });
  lstXLSFieldsChange(list);
  RefreshHyperlinks();
}

void TXLSFormatEditor::btnXLSResetAllClick() {
  QTreeWidget* list = CurrXLSListView();
  if (list == nullptr || list->topLevelItemCount() == 0) return;
  if (!ConfirmResetAll(form_)) return;
  XLSResetAllItems(list, CurrXLSItem(), [this, list](QTreeWidgetItem*) { lstXLSFieldsChange(list); });
  ShowCurrent();
  RefreshHyperlinks();
}

void TXLSFormatEditor::rgXLSFunctionClick(int index) {
  QTreeWidgetItem* current = CurrXLSItem();
  auto* field = dynamic_cast<TxlsFieldFormat*>(XLSItemFormat(current));
  if (field == nullptr || index < aggNone || index > aggMax) return;
  field->Aggregate = static_cast<TxlsAggregate>(index);
  CopyToSelected(XLSUpdateItemAggregate);
}

// ---- the common tail ------------------------------------------------------------------------

bool TXLSFormatEditor::Edit(const std::function<void(TxlsFormat&)>& change, TListItemCopier copy,
                            std::initializer_list<const char*> repaint) {
  TxlsFormat* format = CurrXLSFormat();
  if (format == nullptr) return false;
  change(*format);
  CopyToSelected(copy);
  RefreshHyperlinks();
  Repaint(repaint);
  Repaint({"pbXLSCell"});
  return true;
}

void TXLSFormatEditor::CopyToSelected(TListItemCopier copy) {
  QTreeWidget* list = CurrXLSListView();
  QTreeWidgetItem* current = CurrXLSItem();
  if (list == nullptr || current == nullptr || list->selectedItems().size() < 2) return;
  ForAllListViewItems(list, false, false, [current, copy](QTreeWidgetItem* item) { copy(current, item); });
}

// The hyperlinks take the hyperlink element's format: they follow its edits at once.
void TXLSFormatEditor::RefreshHyperlinks() {
  QTreeWidget* list = CurrXLSListView();
  if (list == nullptr) return;
  const QList<QTreeWidgetItem*> selected = list->selectedItems();
  if (std::any_of(selected.begin(), selected.end(), IsHyperlinkElement))
    form_.XLSExtensions().XLSUpdateHyperlinkFormats();
}

// ---- the sheets' handlers -------------------------------------------------------------------

void TXLSFormatEditor::cbxXLSFontChange(const QString& text) {
  Edit([&](TxlsFormat& f) { f.Font.Name = text.trimmed().toStdU16String(); }, XLSUpdateItemFont);
}

void TXLSFormatEditor::cbxXLSFontSizeChange(const QString& text) {
  Edit([&](TxlsFormat& f) { f.Font.Size = XLSFontSizeFromText(text); }, XLSUpdateItemFontSize);
}

void TXLSFormatEditor::btnFontColorClick() {
  const TxlsFormat* format = CurrXLSFormat();
  if (format == nullptr) return;
  const TxlsColor chosen = RunXLSColorEditor(format->Font.Color, form_.GetDialog().Services(), &form_);
  if (chosen == format->Font.Color) return;
  Edit([chosen](TxlsFormat& f) { f.Font.Color = chosen; }, XLSUpdateItemFontColor, {"pbFontColor"});
}

void TXLSFormatEditor::FontStyleClick(int button, bool down) {
  const auto& b = kFontStyles[button];
  if (!Edit([&](TxlsFormat& f) { EditFontStyleXLS(f.Font, b.style, down); }, b.copy))
    SetDown(form_.Control<QToolButton>(b.button), !down);
}

void TXLSFormatEditor::UnderlineClick(int button, bool down) {
  const TxlsFontUnderline underline = down ? kUnderlines[button].underline : fulNone;
  if (!Edit([&](TxlsFormat& f) { f.Font.Underline = underline; }, XLSUpdateItemFontUnderline))
    SetDown(form_.Control<QToolButton>(kUnderlines[button].button), !down);
  else
    ShowToggles(*CurrXLSFormat());
}

void TXLSFormatEditor::HorizontalClick(int button, bool down) {
  const TxlsHorizontalAlignment alignment = down ? kHorizontals[button].alignment : halGeneral;
  if (!Edit([&](TxlsFormat& f) { f.Alignment.Horizontal = alignment; }, XLSUpdateItemHorAlignment))
    SetDown(form_.Control<QToolButton>(kHorizontals[button].button), !down);
  else
    ShowToggles(*CurrXLSFormat());
}

void TXLSFormatEditor::VerticalClick(int button, bool down) {
  // The three buttons are one group: one of them is always down.
  if (!down) return;
  if (!Edit([&](TxlsFormat& f) { f.Alignment.Vertical = kVerticals[button].alignment; }, XLSUpdateItemVertAlignment))
    SetDown(form_.Control<QToolButton>(kVerticals[button].button), false);
}

void TXLSFormatEditor::BorderColorClick(int side) {
  const BorderSide& s = kSides[side];
  const TxlsFormat* format = CurrXLSFormat();
  if (format == nullptr) return;
  // A cancelled picker changes nothing: the colour would otherwise still go to every other
  // selected item.
  const std::optional<TxlsColor> chosen =
      PickXLSColor((format->Borders.*s.border).Color, form_.GetDialog().Services(), &form_);
  if (!chosen) return;
  Edit([&](TxlsFormat& f) { (f.Borders.*s.border).Color = *chosen; }, s.copyColor, {s.box, s.combo});
}

void TXLSFormatEditor::BorderClick(int side, bool down) {
  const BorderSide& s = kSides[side];
  auto* combo = form_.Control<QComboBox>(s.combo);
  if (CurrXLSFormat() == nullptr) {
    SetDown(form_.Control<QToolButton>(s.button), !down);
    return;
  }
  // A combo showing no single style (several items with different borders) counts as no
  // border: pressing the button gives them all a thin one.
  SetComboIndex(combo, down && combo->currentIndex() <= 0 ? static_cast<int>(bstThin) : static_cast<int>(bstNone));
  BorderChange(side);
}

void TXLSFormatEditor::BorderChange(int side) {
  const BorderSide& s = kSides[side];
  const int index = form_.Control<QComboBox>(s.combo)->currentIndex();
  if (CurrXLSFormat() == nullptr) return;
  SetDown(form_.Control<QToolButton>(s.button), index >= 1);
  Edit(
      [&](TxlsFormat& f) {
        if (index >= 0) (f.Borders.*s.border).Style = static_cast<TxlsBorderStyle>(index);
      },
      s.copyStyle);
}

void TXLSFormatEditor::btnFillBackgroundClick() {
  TxlsFormat* format = CurrXLSFormat();
  if (format == nullptr) return;
  const std::optional<TxlsColor> chosen = PickXLSColor(format->Fill.Background, form_.GetDialog().Services(), &form_);
  if (!chosen) return;
  format->Fill.Background = *chosen;
  // A coloured background shows only under a pattern: none becomes solid.
  if (*chosen != clrWhite && format->Fill.Pattern == ptNone) {
    format->Fill.Pattern = ptSolid;
    CopyToSelected(XLSUpdateItemFillPattern);
    ShowCurrent();
  }
  Edit([](TxlsFormat&) {}, XLSUpdateItemFillBackground, {"pbFillBackground", "cmbPattern"});
}

void TXLSFormatEditor::btnFillForegroundClick() {
  const TxlsFormat* format = CurrXLSFormat();
  if (format == nullptr) return;
  const std::optional<TxlsColor> chosen = PickXLSColor(format->Fill.Foreground, form_.GetDialog().Services(), &form_);
  if (!chosen) return;
  Edit([c = *chosen](TxlsFormat& f) { f.Fill.Foreground = c; }, XLSUpdateItemFillForeground,
       {"pbFillForeground", "cmbPattern"});
}

void TXLSFormatEditor::cmbPatternChange() {
  TxlsFormat* format = CurrXLSFormat();
  if (format == nullptr) return;
  const int index = form_.Control<QComboBox>("cmbPattern")->currentIndex();
  if (index >= 0) format->Fill.Pattern = static_cast<TxlsPattern>(index);
  // No pattern shows no background either: the background goes back to white.
  if (index == ptNone && format->Fill.Background != clrWhite) {
    format->Fill.Background = clrWhite;
    CopyToSelected(XLSUpdateItemFillBackground);
    ShowCurrent();
  }
  Edit([](TxlsFormat&) {}, XLSUpdateItemFillPattern, {"pbFillBackground"});
}

// ---- wiring ---------------------------------------------------------------------------------

void TXLSFormatEditor::ConnectLists() {
  for (const char* name : {"lstXLSFields", "lstXLSOptions", "lstXLSStyles"}) {
    auto* list = form_.Control<QTreeWidget>(name);
    connect(list, &QTreeWidget::itemSelectionChanged, this, [this, list] { lstXLSFieldsChange(list); });
    connect(list, &QTreeWidget::currentItemChanged, this, [this, list] { lstXLSFieldsChange(list); });
  }
  connect(form_.Control<QTabWidget>("pcXLS"), &QTabWidget::currentChanged, this, [this] { ShowCurrent(); });
  connect(form_.Control<QPushButton>("btnXLSResetItem"), &QPushButton::clicked, this,
          [this] { btnXLSResetItemClick(); });
  connect(form_.Control<QPushButton>("btnXLSResetAll"), &QPushButton::clicked, this,
          [this] { btnXLSResetAllClick(); });
  connect(form_.Control<ui::TRadioGroup>("rgXLSFunction"), &ui::TRadioGroup::Clicked, this,
          [this](int index) { rgXLSFunctionClick(index); });
  form_.XLSExtensions().OnShowCellFormat = [this](TxlsFormat* format) { ShowXLSListItem(format); };
}

void TXLSFormatEditor::ConnectFontSheet() {
  auto* font = form_.Control<QComboBox>("cbxXLSFont");
  connect(font, &QComboBox::textActivated, this, [this](const QString& text) { cbxXLSFontChange(text); });
  connect(font->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) { cbxXLSFontChange(text); });
  auto* size = form_.Control<QComboBox>("cbxXLSFontSize");
  connect(size, &QComboBox::textActivated, this, [this](const QString& text) { cbxXLSFontSizeChange(text); });
  connect(size->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) { cbxXLSFontSizeChange(text); });
  // What is typed is taken as it is typed; Enter, as in the other number edits of the dialog,
  // does not also start the export.
  form::EnterConfirms(font->lineEdit());
  form::EnterConfirms(size->lineEdit());
  connect(form_.Control<QToolButton>("btnFontColor"), &QToolButton::clicked, this, [this] { btnFontColorClick(); });
  const auto toggles = [this](const char* name, int i, void (TXLSFormatEditor::*handler)(int, bool)) {
    connect(form_.Control<QToolButton>(name), &QToolButton::clicked, this,
            [this, i, handler](bool down) { (this->*handler)(i, down); });
  };
  for (int i = 0; i < 3; ++i) toggles(kFontStyles[i].button, i, &TXLSFormatEditor::FontStyleClick);
  for (int i = 0; i < 4; ++i) toggles(kUnderlines[i].button, i, &TXLSFormatEditor::UnderlineClick);
  for (int i = 0; i < 4; ++i) toggles(kHorizontals[i].button, i, &TXLSFormatEditor::HorizontalClick);
  for (int i = 0; i < 3; ++i) toggles(kVerticals[i].button, i, &TXLSFormatEditor::VerticalClick);
}

void TXLSFormatEditor::ConnectBorderAndFillSheets() {
  for (int side = 0; side < 4; ++side) {
    connect(form_.Control<QToolButton>(kSides[side].button), &QToolButton::clicked, this,
            [this, side](bool down) { BorderClick(side, down); });
    connect(form_.Control<QComboBox>(kSides[side].combo), &QComboBox::activated, this,
            [this, side] { BorderChange(side); });
    connect(form_.Control<QToolButton>(kSides[side].colorButton), &QToolButton::clicked, this,
            [this, side] { BorderColorClick(side); });
  }
  connect(form_.Control<QToolButton>("btnFillBackground"), &QToolButton::clicked, this,
          [this] { btnFillBackgroundClick(); });
  connect(form_.Control<QToolButton>("btnFillForeground"), &QToolButton::clicked, this,
          [this] { btnFillForegroundClick(); });
  connect(form_.Control<QComboBox>("cmbPattern"), &QComboBox::activated, this, [this] { cmbPatternChange(); });
}

void TXLSFormatEditor::ConnectPainting() {
  using TColorOf = TxlsColor (*)(const TxlsFormat&);
  const std::pair<const char*, TColorOf> boxes[] = {
      {"pbFontColor", [](const TxlsFormat& f) { return f.Font.Color; }},
      {"pbBorderTop", [](const TxlsFormat& f) { return f.Borders.Top.Color; }},
      {"pbBorderBottom", [](const TxlsFormat& f) { return f.Borders.Bottom.Color; }},
      {"pbBorderLeft", [](const TxlsFormat& f) { return f.Borders.Left.Color; }},
      {"pbBorderRight", [](const TxlsFormat& f) { return f.Borders.Right.Color; }},
      {"pbFillBackground", [](const TxlsFormat& f) { return f.Fill.Background; }},
      {"pbFillForeground", [](const TxlsFormat& f) { return f.Fill.Foreground; }},
  };
  for (const auto& [name, colorOf] : boxes) {
    form_.Control<TPaintBox>(name)->OnPaint = [this, colorOf = colorOf](QPainter& painter, const QRect& box) {
      if (const TxlsFormat* format = CurrXLSFormat()) PaintXLSColors(painter, box, colorOf(*format));
    };
  }
  form_.Control<TPaintBox>("pbXLSCell")->OnPaint = [this](QPainter& painter, const QRect& box) {
    if (const TxlsFormat* format = CurrXLSFormat()) DrawXLSCell(painter, box, *format);
  };
  for (int side = 0; side < 4; ++side) {
    auto* combo = form_.Control<TOwnerDrawnCombo>(kSides[side].combo);
    combo->OnDrawItem = [this, side, combo](QPainter& painter, const QRect& box, int index, bool selected) {
      const TxlsFormat* format = CurrXLSFormat();
      const TxlsColor color = format != nullptr ? (format->Borders.*kSides[side].border).Color : clrBlack;
      const QColor fill = selected ? combo->palette().color(QPalette::Highlight) : QColor(Qt::white);
      DrawBorderStyleItem(painter, box, index, selected, fill, color);
    };
  }
  form_.Control<TOwnerDrawnCombo>("cmbPattern")->OnDrawItem = [this](QPainter& painter, const QRect& box, int index,
                                                                     bool) {
    const TxlsFormat* format = CurrXLSFormat();
    DrawPatternItem(painter, box, index, format != nullptr ? format->Fill.Background : clrWhite,
                    format != nullptr ? format->Fill.Foreground : clrBlack);
  };
}

}  // namespace vantrix
