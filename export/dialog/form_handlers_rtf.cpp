// The RTF page: the base and strip style lists with their tool buttons, and the style editor
// (font, size, colour, font styles, alignment, background and highlight, resets) with its
// swatches and sample. An edit goes to every selected style of the list now shown; with none
// selected it changes nothing.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <functional>

#include "export/dialog/dialog_services.h"
#include "export/dialog/form_widgets.h"
#include "export/dialog/list_items.h"
#include "export/dialog/strip_style_buttons.h"
#include "export/dialog/style_editing.h"
#include "export/dialog/style_lists.h"
#include "export/dialog/style_painting.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/library_strings.h"
#include "export/rtf_style.h"
#include "platform/qt_text.h"

namespace vantrix {

namespace {

constexpr const char* kFontStyleButtons[] = {"bRTFFontBold", "bRTFFontItalic", "bRTFFontUnderline",
                                             "bRTFFontStrikeOut"};  // in TFontStyle order
constexpr struct {
  const char* button;
  TrtfTextAlignment alignment;
} kAlignmentButtons[] = {
    {"bRTFFontLeft", talLeft}, {"bRTFFontCenter", talCenter}, {"bRTFFontRight", talRight}, {"bRTFFontFill", talFill}};

// The style the editor shows and changes: the list's current item while it is selected,
// else its first selected item; null when nothing is selected.
QTreeWidgetItem* RTFCurrItem(const TVantrix3DialogF& form) {
  QTreeWidget* list = form.RTFCurrListView();
  if (list == nullptr) return nullptr;
  QTreeWidgetItem* current = list->currentItem();
  if (current != nullptr && current->isSelected()) return current;
  const QList<QTreeWidgetItem*> selected = list->selectedItems();
  return selected.isEmpty() ? nullptr : selected.first();
}

const TrtfStyle* RTFCurrStyle(const TVantrix3DialogF& form) {
  QTreeWidgetItem* item = RTFCurrItem(form);
  return item != nullptr ? RTFItemStyle(item) : nullptr;
}

// A box greyed when the selected styles differ; otherwise two-state, so that a click on a
// box the user unchecked checks it rather than greying it.
void SetCheckState(QCheckBox* box, bool on, bool mixed) {
  if (box == nullptr) return;
  const QSignalBlocker block(box);
  box->setTristate(mixed);
  box->setCheckState(mixed ? Qt::PartiallyChecked : on ? Qt::Checked : Qt::Unchecked);
}

// A combo the user is typing in keeps what is typed: rewriting it would undo the keystroke.
void ShowComboText(QComboBox* combo, const QString& text) {
  if (combo == nullptr || (combo->lineEdit() != nullptr && combo->lineEdit()->hasFocus())) return;
  form::SetComboText(combo, text);
}

void Repaint(const TVantrix3DialogF& form) {
  for (const char* box : {"pbRTFFontColor", "pbRTFBackgroundColor", "pbRTFHighlightColor", "pbRTFSample"})
    if (auto* w = form.Control<QWidget>(box)) w->update();
}

// Which values the selected styles do not share with the shown one.
struct RTFMixed {
  bool name = false, size = false, background = false, highlight = false;
};

void ShowRTFValues(TVantrix3DialogF& form, const TrtfStyle& s, const RTFMixed& mixed, const char* resetCaption) {
  form.Control<QPushButton>("bRTFResetItem")->setText(QString::fromLatin1(resetCaption));
  ShowComboText(form.Control<QComboBox>("cbRTFFont"), mixed.name ? QString() : platform::FromCp1252(s.Font.name));
  ShowComboText(form.Control<QComboBox>("cbRTFFontSize"), mixed.size ? QString() : QString::number(s.Font.size));
  for (int i = 0; i < 4; ++i)
    form::SetDown(form.Control<QToolButton>(kFontStyleButtons[i]), s.Font.HasStyle(static_cast<TFontStyle>(i)));
  for (const auto& a : kAlignmentButtons) form::SetDown(form.Control<QToolButton>(a.button), s.Alignment == a.alignment);
  SetCheckState(form.Control<QCheckBox>("chRTFAllowBackground"), s.AllowBackground, mixed.background);
  SetCheckState(form.Control<QCheckBox>("chRTFAllowHighlight"), s.AllowHighlight, mixed.highlight);
  Repaint(form);
}

// Nothing selected: the editor shows no style.
void ClearRTFEditor(TVantrix3DialogF& form) {
  ShowComboText(form.Control<QComboBox>("cbRTFFont"), QString());
  ShowComboText(form.Control<QComboBox>("cbRTFFontSize"), QString());
  for (const char* button : kFontStyleButtons) form::SetDown(form.Control<QToolButton>(button), false);
  for (const auto& a : kAlignmentButtons) form::SetDown(form.Control<QToolButton>(a.button), false);
  SetCheckState(form.Control<QCheckBox>("chRTFAllowBackground"), false, false);
  SetCheckState(form.Control<QCheckBox>("chRTFAllowHighlight"), false, false);
  Repaint(form);
}

// The selection of the list now shown in the editor: one style, several, or none.
void ShowRTFStyles(TVantrix3DialogF& form) {
  QTreeWidget* list = form.RTFCurrListView();
  QTreeWidgetItem* current = RTFCurrItem(form);
  if (list == nullptr || current == nullptr || RTFItemStyle(current) == nullptr) {
    ClearRTFEditor(form);
    return;
  }
  if (list->selectedItems().size() > 1)
    form.ShowRTFListItemM(current);
  else
    form.ShowRTFListItem(current);
}

// The change on every selected style of the shown list, then the editor shown again (with
// nothing selected too: a button clicked then goes back up, as it changed nothing).
void EditSelectedRTFStyles(TVantrix3DialogF& form, const std::function<void(TrtfStyle&, QTreeWidgetItem*)>& change) {
  QTreeWidget* list = form.RTFCurrListView();
  if (list == nullptr || list->selectedItems().isEmpty()) {
    ShowRTFStyles(form);
    return;
  }
  ForAllListViewItems(list, false, false, [&](QTreeWidgetItem* item) {
    if (TrtfStyle* style = RTFItemStyle(item)) change(*style, item);
  });
  ShowRTFStyles(form);
}

// A colour picked for the shown style, and given to every selected one when it differs.
using TRTFColorOf = uint32_t& (*)(TrtfStyle&);
void ChooseRTFColor(TVantrix3DialogF& form, TRTFColorOf colorOf) {
  QTreeWidgetItem* item = RTFCurrItem(form);
  TrtfStyle* shown = item != nullptr ? RTFItemStyle(item) : nullptr;
  if (shown == nullptr) return;
  const std::optional<uint32_t> chosen = form.GetDialog().Services().ChooseColor(&form, colorOf(*shown));
  if (!chosen || *chosen == colorOf(*shown)) return;
  EditSelectedRTFStyles(form, [&](TrtfStyle& s, QTreeWidgetItem*) { colorOf(s) = *chosen; });
}


}  // namespace

QTreeWidget* TVantrix3DialogF::RTFCurrListView() const {
  auto* tabs = Control<QTabWidget>("pcRTFStyles");
  if (tabs == nullptr || tabs->currentWidget() == nullptr) return nullptr;
  return tabs->currentWidget()->findChild<QTreeWidget*>();
}

void TVantrix3DialogF::ShowRTFSelection() { ShowRTFStyles(*this); }

void TVantrix3DialogF::ShowRTFListItem(QTreeWidgetItem* item) {
  if (const TrtfStyle* style = item != nullptr ? RTFItemStyle(item) : nullptr)
    ShowRTFValues(*this, *style, {}, "Reset item");
}

// The current style is the reference: a value in which another selected style differs from
// it shows mixed (font not chosen, size empty, box greyed); the rest show the current style.
void TVantrix3DialogF::ShowRTFListItemM(QTreeWidgetItem* current) {
  const TrtfStyle* shown = current != nullptr ? RTFItemStyle(current) : nullptr;
  QTreeWidget* list = RTFCurrListView();
  if (shown == nullptr || list == nullptr) return;
  RTFMixed mixed;
  for (QTreeWidgetItem* item : list->selectedItems()) {
    const TrtfStyle* other = item != current ? RTFItemStyle(item) : nullptr;
    if (other == nullptr) continue;
    mixed.name |= other->Font.name != shown->Font.name;
    mixed.size |= other->Font.size != shown->Font.size;
    mixed.background |= other->AllowBackground != shown->AllowBackground;
    mixed.highlight |= other->AllowHighlight != shown->AllowHighlight;
  }
  ShowRTFValues(*this, *shown, mixed, "Reset selected");
}

void TVantrix3DialogF::ConnectRTFHandlers() {
  auto* base = Control<QTreeWidget>("lstRTFBaseStyles");
  auto* strip = Control<QTreeWidget>("lstRTFStripStyles");
  for (QTreeWidget* list : {base, strip})
    connect(list, &QTreeWidget::itemSelectionChanged, this, [this] {
      ShowRTFStyles(*this);
      RTFShowStyleButtons(*this);
    });
  connect(Control<QTabWidget>("pcRTFStyles"), &QTabWidget::currentChanged, this, [this] { ShowRTFStyles(*this); });

  // The strip-style tool buttons.
  connect(Control<QToolButton>("tbtAddRTFStyle"), &QToolButton::clicked, this, [this, strip] {
    const QString caption =
        platform::FromCp1252(VantrixLoadStr(34252)) + QString::number(strip->topLevelItemCount() + 1);
    SelectOnly(strip, AddListItem(strip, caption, 2, AdoptRTFStyle(std::make_unique<TrtfStyle>())));
    strip->setFocus();
    RTFShowStyleButtons(*this);
  });
  connect(Control<QToolButton>("tbtDelRTFStyle"), &QToolButton::clicked, this,
          [this, strip] { DeleteSelectedStripStyles(*this, strip, RTFRenumStyles, RTFShowStyleButtons); });
  connect(Control<QToolButton>("tbtMoveRTFStyleUp"), &QToolButton::clicked, this,
          [this, strip] { MoveStripStyle(*this, strip, -1, RTFShowStyleButtons); });
  connect(Control<QToolButton>("tbtMoveRTFStyleDown"), &QToolButton::clicked, this,
          [this, strip] { MoveStripStyle(*this, strip, 1, RTFShowStyleButtons); });
  connect(Control<QToolButton>("tbtSaveRTFStyle"), &QToolButton::clicked, this,
          [this] { SaveStripStyles(*this, "sdRTFStyle", RTFSaveStyle); });
  connect(Control<QToolButton>("tbtLoadRTFStyle"), &QToolButton::clicked, this, [this] {
    LoadStripStyles(*this, "odRTFStyle", RTFLoadStyle);
    RTFShowStyleButtons(*this);
  });

  // The style editor.
  auto* font = Control<QComboBox>("cbRTFFont");
  const auto setFont = [this](const QString& text) {
    EditSelectedRTFStyles(*this, [&](TrtfStyle& s, QTreeWidgetItem*) { s.Font.name = platform::ToCp1252(text); });
  };
  connect(font, &QComboBox::textActivated, this, setFont);
  if (font->lineEdit() != nullptr) connect(font->lineEdit(), &QLineEdit::textEdited, this, setFont);
  auto* size = Control<QComboBox>("cbRTFFontSize");
  const auto setSize = [this](const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    // A size the rich-text reader can take: 1 to 1638 points (half-points in 16 bits).
    const int points = ok ? std::clamp(value, 1, 1638) : 10;
    EditSelectedRTFStyles(*this, [points](TrtfStyle& s, QTreeWidgetItem*) { s.Font.size = points; });
  };
  connect(size, &QComboBox::textActivated, this, setSize);
  if (size->lineEdit() != nullptr) connect(size->lineEdit(), &QLineEdit::textEdited, this, setSize);

  const struct {
    const char* button;
    TRTFColorOf colorOf;
  } colors[] = {
      {"bRTFFontColor", [](TrtfStyle& s) -> uint32_t& { return s.Font.color; }},
      {"bRTFBackgroundColor", [](TrtfStyle& s) -> uint32_t& { return s.BackgroundColor; }},
      {"bRTFHighlightColor", [](TrtfStyle& s) -> uint32_t& { return s.HighlightColor; }},
  };
  for (const auto& c : colors)
    connect(Control<QToolButton>(c.button), &QToolButton::clicked, this,
            [this, colorOf = c.colorOf] { ChooseRTFColor(*this, colorOf); });
  for (int i = 0; i < 4; ++i) {
    const auto style = static_cast<TFontStyle>(i);
    connect(Control<QToolButton>(kFontStyleButtons[i]), &QToolButton::clicked, this, [this, style](bool on) {
      EditSelectedRTFStyles(*this, [&](TrtfStyle&, QTreeWidgetItem* item) { RTFItemEditFontStyle(item, style, on); });
    });
  }
  for (const auto& a : kAlignmentButtons) {
    const TrtfTextAlignment alignment = a.alignment;
    connect(Control<QToolButton>(a.button), &QToolButton::clicked, this, [this, alignment](bool down) {
      EditSelectedRTFStyles(*this, [&](TrtfStyle&, QTreeWidgetItem* item) {
        RTFItemSetAlignment(item, down ? alignment : talLeft);
      });
    });
  }
  connect(Control<QCheckBox>("chRTFAllowBackground"), &QCheckBox::clicked, this, [this](bool on) {
    EditSelectedRTFStyles(*this, [on](TrtfStyle& s, QTreeWidgetItem*) { s.AllowBackground = on; });
  });
  connect(Control<QCheckBox>("chRTFAllowHighlight"), &QCheckBox::clicked, this, [this](bool on) {
    EditSelectedRTFStyles(*this, [on](TrtfStyle& s, QTreeWidgetItem*) { s.AllowHighlight = on; });
  });

  // Resets: the caption element of the base styles keeps its bold, centred look.
  connect(Control<QPushButton>("bRTFResetItem"), &QPushButton::clicked, this, [this, base] {
    const bool baseList = RTFCurrListView() == base;
    EditSelectedRTFStyles(*this, [baseList](TrtfStyle& s, QTreeWidgetItem* item) {
      if (baseList && IsCaptionElement(item))
        SetDefaultRTFCaption(s);
      else
        s.SetDefault();
    });
  });
  connect(Control<QPushButton>("bRTFResetAll"), &QPushButton::clicked, this, [this] {
    QTreeWidget* list = RTFCurrListView();
    if (list == nullptr || list->topLevelItemCount() == 0) return;
    if (!ConfirmResetAll(*this)) return;
    RTFResetAllItems(list, RTFCurrItem(*this), [this](QTreeWidgetItem*) { ShowRTFStyles(*this); });
    ShowRTFStyles(*this);
  });

  // Swatches and the sample paint the shown style.
  const std::pair<const char*, TRTFColorOf> swatches[] = {{"pbRTFFontColor", colors[0].colorOf},
                                                          {"pbRTFBackgroundColor", colors[1].colorOf},
                                                          {"pbRTFHighlightColor", colors[2].colorOf}};
  for (const auto& [name, colorOf] : swatches) {
    auto* box = Control<TPaintBox>(name);
    if (box == nullptr) continue;
    box->OnPaint = [this, colorOf = colorOf](QPainter& painter, const QRect& rect) {
      QTreeWidgetItem* item = RTFCurrItem(*this);
      if (TrtfStyle* style = item != nullptr ? RTFItemStyle(item) : nullptr)
        PaintStandardColors(painter, rect, colorOf(*style));
    };
  }
  if (auto* sample = Control<TPaintBox>("pbRTFSample"))
    sample->OnPaint = [this](QPainter& painter, const QRect& rect) {
      if (const TrtfStyle* style = RTFCurrStyle(*this)) DrawRTFSample(painter, rect, *style);
    };
}

}  // namespace vantrix
