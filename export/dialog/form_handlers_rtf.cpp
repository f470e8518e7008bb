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

// The list on the style tab now shown; null when the RTF page has none.
QTreeWidget* ShownRTFList(const TVantrix3DialogF& form) {
  auto* tabs = form.Control<QTabWidget>("pcRTFStyles");
  if (tabs == nullptr || tabs->currentWidget() == nullptr) return nullptr;
  return tabs->currentWidget()->findChild<QTreeWidget*>();
}

// The style the editor shows: the list's current item when selected, else its first selected.
QTreeWidgetItem* ShownRTFItem(const TVantrix3DialogF& form) {
  QTreeWidget* list = ShownRTFList(form);
  if (list == nullptr) return nullptr;
  QTreeWidgetItem* current = list->currentItem();
  if (current != nullptr && current->isSelected()) return current;
  const QList<QTreeWidgetItem*> selected = list->selectedItems();
  return selected.isEmpty() ? nullptr : selected.first();
}

const TrtfStyle* ShownRTFStyle(const TVantrix3DialogF& form) {
  QTreeWidgetItem* item = ShownRTFItem(form);
  return item != nullptr ? RTFItemStyle(item) : nullptr;
}

void SetChecked(QAbstractButton* button, bool on) {
  if (button == nullptr) return;
  const QSignalBlocker block(button);
  button->setChecked(on);
}

void SetComboText(QComboBox* combo, const QString& text) {
  if (combo == nullptr) return;
  const QSignalBlocker block(combo);
  const int i = combo->findText(text);
  combo->setCurrentIndex(i);
  if (combo->lineEdit() != nullptr) combo->lineEdit()->setText(text);
}

void Repaint(const TVantrix3DialogF& form) {
  for (const char* box : {"pbRTFFontColor", "pbRTFBackgroundColor", "pbRTFHighlightColor", "pbRTFSample"})
    if (auto* w = form.Control<QWidget>(box)) w->update();
}

// The selected styles' values in the controls: a value the styles do not share shows empty
// (text cleared, button up).
void ShowRTFStyles(TVantrix3DialogF& form) {
  QTreeWidget* list = ShownRTFList(form);
  std::vector<const TrtfStyle*> styles;
  if (list != nullptr)
    for (QTreeWidgetItem* item : list->selectedItems())
      if (const TrtfStyle* style = RTFItemStyle(item)) styles.push_back(style);
  const auto all = [&](const std::function<bool(const TrtfStyle&)>& test) {
    return !styles.empty() && std::all_of(styles.begin(), styles.end(), [&](const TrtfStyle* s) { return test(*s); });
  };
  const TrtfStyle* first = styles.empty() ? nullptr : styles.front();
  const bool sameName = first && all([&](const TrtfStyle& s) { return s.Font.name == first->Font.name; });
  const bool sameSize = first && all([&](const TrtfStyle& s) { return s.Font.size == first->Font.size; });
  SetComboText(form.Control<QComboBox>("cbRTFFont"), sameName ? platform::FromCp1252(first->Font.name) : QString());
  SetComboText(form.Control<QComboBox>("cbRTFFontSize"), sameSize ? QString::number(first->Font.size) : QString());
  for (int i = 0; i < 4; ++i) {
    const auto style = static_cast<TFontStyle>(i);
    SetChecked(form.Control<QToolButton>(kFontStyleButtons[i]),
               all([style](const TrtfStyle& s) { return s.Font.HasStyle(style); }));
  }
  for (const auto& a : kAlignmentButtons)
    SetChecked(form.Control<QToolButton>(a.button), all([&a](const TrtfStyle& s) { return s.Alignment == a.alignment; }));
  SetChecked(form.Control<QCheckBox>("chRTFAllowBackground"), all([](const TrtfStyle& s) { return s.AllowBackground; }));
  SetChecked(form.Control<QCheckBox>("chRTFAllowHighlight"), all([](const TrtfStyle& s) { return s.AllowHighlight; }));
  Repaint(form);
}

// The change on every selected style of the shown list, then the editor shown again.
void EditSelectedRTFStyles(TVantrix3DialogF& form, const std::function<void(TrtfStyle&, QTreeWidgetItem*)>& change) {
  QTreeWidget* list = ShownRTFList(form);
  if (list == nullptr || list->selectedItems().isEmpty()) return;
  ForAllListViewItems(list, false, false, [&](QTreeWidgetItem* item) {
    if (TrtfStyle* style = RTFItemStyle(item)) change(*style, item);
  });
  ShowRTFStyles(form);
}

// A colour picked for the shown style, and given to every selected one when it differs.
using TRTFColorOf = uint32_t& (*)(TrtfStyle&);
void ChooseRTFColor(TVantrix3DialogF& form, TRTFColorOf colorOf) {
  QTreeWidgetItem* item = ShownRTFItem(form);
  TrtfStyle* shown = item != nullptr ? RTFItemStyle(item) : nullptr;
  if (shown == nullptr) return;
  const std::optional<uint32_t> chosen = form.GetDialog().Services().ChooseColor(&form, colorOf(*shown));
  if (!chosen || *chosen == colorOf(*shown)) return;
  EditSelectedRTFStyles(form, [&](TrtfStyle& s, QTreeWidgetItem*) { colorOf(s) = *chosen; });
}

bool IsCaptionItem(const QTreeWidgetItem* item) {
  return item->text(0).compare(QStringLiteral("CAPTION"), Qt::CaseInsensitive) == 0;
}

}  // namespace

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
    const bool baseList = ShownRTFList(*this) == base;
    EditSelectedRTFStyles(*this, [baseList](TrtfStyle& s, QTreeWidgetItem* item) {
      if (baseList && IsCaptionItem(item))
        SetDefaultRTFCaption(s);
      else
        s.SetDefault();
    });
  });
  connect(Control<QPushButton>("bRTFResetAll"), &QPushButton::clicked, this, [this] {
    QTreeWidget* list = ShownRTFList(*this);
    if (list == nullptr || list->topLevelItemCount() == 0) return;
    MessageRequest ask;
    ask.caption = QStringLiteral("Attention!");
    ask.text = QStringLiteral("All field formats will be reset the default values.\n\rAre you sure?");
    ask.icon = MessageIcon::Warning;
    ask.yesNo = true;
    ask.defaultNo = true;
    if (GetDialog().Services().Message(this, ask) == MessageAnswer::No) return;
    RTFResetAllItems(list, ShownRTFItem(*this), [this](QTreeWidgetItem*) { ShowRTFStyles(*this); });
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
      QTreeWidgetItem* item = ShownRTFItem(*this);
      if (TrtfStyle* style = item != nullptr ? RTFItemStyle(item) : nullptr)
        PaintStandardColors(painter, rect, colorOf(*style));
    };
  }
  if (auto* sample = Control<TPaintBox>("pbRTFSample"))
    sample->OnPaint = [this](QPainter& painter, const QRect& rect) {
      if (const TrtfStyle* style = ShownRTFStyle(*this)) DrawRTFSample(painter, rect, *style);
    };
}

}  // namespace vantrix
