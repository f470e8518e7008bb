#include "export/dialog/form_widgets.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

#include "export/dialog/dialog_services.h"
#include "export/dialog/style_editing.h"
#include "ui/radio_group.h"

namespace vantrix {

void TPaintBox::paintEvent(QPaintEvent*) {
  if (!OnPaint) return;
  QPainter painter(this);
  OnPaint(painter, rect());
}

void TPaintBox::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) emit clicked();
  QWidget::mousePressEvent(e);
}

void TPanel::SetColor(uint32_t color) {
  QPalette p = palette();
  p.setColor(QPalette::Window, ToQColor(color));
  setPalette(p);
  setAutoFillBackground(true);
}

void TPanel::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) emit clicked();
  QFrame::mousePressEvent(e);
}

namespace form {

namespace {
template <class W>
W* Named(W* w, const char* name) {
  w->setObjectName(QString::fromLatin1(name));
  return w;
}
}  // namespace

QLabel* Label(QWidget* parent, const char* name) { return Named(new QLabel(parent), name); }

QLineEdit* Edit(QWidget* parent, const char* name, int width) {
  auto* edit = Named(new QLineEdit(parent), name);
  if (width > 0) edit->setFixedWidth(width);
  return edit;
}

QCheckBox* Check(QWidget* parent, const char* name) { return Named(new QCheckBox(parent), name); }
QRadioButton* Radio(QWidget* parent, const char* name) { return Named(new QRadioButton(parent), name); }

QPushButton* Button(QWidget* parent, const char* name, int width) {
  auto* b = Named(new QPushButton(parent), name);
  if (width > 0) b->setFixedWidth(width);
  return b;
}

QToolButton* SpeedButton(QWidget* parent, const char* name, const char* glyph) {
  auto* b = ToolButton(parent, name, glyph);
  b->setCheckable(true);
  return b;
}

QToolButton* ToolButton(QWidget* parent, const char* name, const char* glyph) {
  auto* b = Named(new QToolButton(parent), name);
  b->setText(QString::fromUtf8(glyph));
  b->setFixedSize(24, 22);
  b->setAutoRaise(false);
  return b;
}

QToolButton* ColorButton(QWidget* parent, const char* name, const char* boxName) {
  auto* b = Named(new QToolButton(parent), name);
  b->setFixedSize(24, 22);
  auto* box = PaintBox(b, boxName);
  box->setGeometry(5, 4, 14, 14);
  // The box is part of the button's face: presses go to the button, and while the button is
  // down the box moves with its face, a pixel lower and to the right.
  box->setAttribute(Qt::WA_TransparentForMouseEvents);
  QObject::connect(b, &QToolButton::pressed, box, [box] { IncLeftAndTop(box); });
  QObject::connect(b, &QToolButton::released, box, [box] { DecLeftAndTop(box); });
  return b;
}

QComboBox* Combo(QWidget* parent, const char* name, bool editable) {
  auto* c = Named(new QComboBox(parent), name);
  c->setEditable(editable);
  // A combo offers its choices (fonts, sizes, formats); Enter after typed text takes the text
  // without adding it to them.
  if (editable) c->setInsertPolicy(QComboBox::NoInsert);
  c->setCurrentIndex(-1);
  return c;
}

QGroupBox* Group(QWidget* parent, const char* name) { return Named(new QGroupBox(parent), name); }

ui::TRadioGroup* RadioGroup(QWidget* parent, const char* name, int columns) {
  auto* group = Named(new ui::TRadioGroup(QString(), columns, parent), name);
  // Tight margins: the groups share small pages with other controls.
  group->layout()->setContentsMargins(4, 2, 4, 2);
  group->layout()->setSpacing(2);
  return group;
}

QTreeWidget* List(QWidget* parent, const char* name, int columns, bool multiSelect) {
  auto* list = Named(new QTreeWidget(parent), name);
  list->setColumnCount(columns);
  list->setRootIsDecorated(false);
  list->setHeaderHidden(columns == 1);
  list->setUniformRowHeights(true);
  list->setSelectionMode(multiSelect ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
  if (columns > 1) list->header()->setStretchLastSection(true);
  return list;
}

QPlainTextEdit* Memo(QWidget* parent, const char* name) { return Named(new QPlainTextEdit(parent), name); }
TPaintBox* PaintBox(QWidget* parent, const char* name) { return Named(new TPaintBox(parent), name); }

TPanel* Panel(QWidget* parent, const char* name) {
  auto* p = Named(new TPanel(parent), name);
  p->setFrameStyle(QFrame::Panel | QFrame::Raised);
  return p;
}

QTabWidget* PageControl(QWidget* parent, const char* name) {
  auto* pages = Named(new QTabWidget(parent), name);
  pages->setDocumentMode(false);
  pages->setUsesScrollButtons(true);
  return pages;
}

QStringList FontSizes() {
  QStringList sizes;
  for (int s : {6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72}) sizes << QString::number(s);
  return sizes;
}

QWidget* StackPage(QWidget* stack, const char* name) { return Named(new QWidget(stack), name); }

void FontEditor(QWidget* parent, QBoxLayout* box, const FontEditorNames& names) {
  const auto name = [](const char* a, const char* b, const char* c) { return QByteArray(a) + b + c; };
  const auto speed = [&](const char* part, const char* glyph) {
    return SpeedButton(parent, name("btn", names.buttonPart, part).constData(), glyph);
  };
  QComboBox* font = Combo(parent, names.fontCombo, true);
  font->setMinimumWidth(110);
  QComboBox* size = Combo(parent, names.sizeCombo, true);
  size->addItems(FontSizes());
  size->setCurrentIndex(-1);
  size->setFixedWidth(48);
  auto* first = new QHBoxLayout;
  first->addWidget(Label(parent, name("la", names.labelPart, "Font").constData()));
  first->addWidget(font, 1);
  first->addWidget(Label(parent, name("la", names.labelPart, "FontSize").constData()));
  first->addWidget(size);
  box->addLayout(first);
  auto* second = new QHBoxLayout;
  second->addWidget(ColorButton(parent, name("btn", names.buttonPart, "FontColor").constData(), names.colorBox));
  second->addWidget(speed("FontBold", "B"));
  second->addWidget(speed("FontItalic", "I"));
  second->addWidget(speed("FontStrikeOut", "S"));
  second->addStretch();
  second->addWidget(speed("UnderlineSingle", "U"));
  second->addWidget(speed("UnderlineSingleAccounting", "Ua"));
  second->addWidget(speed("UnderlineDouble", "UU"));
  QToolButton* doubleAccounting = speed("UnderlineDoubleAccounting", "UUa");
  doubleAccounting->setFixedWidth(30);
  second->addWidget(doubleAccounting);
  box->addLayout(second);
  auto* third = new QHBoxLayout;
  third->addWidget(speed("HorizontalLeft", "\u2261L"));
  third->addWidget(speed("HorizontalCenter", "\u2261C"));
  third->addWidget(speed("HorizontalRight", "\u2261R"));
  third->addWidget(speed("HorizontalFill", "\u2261F"));
  third->addStretch();
  auto* vertical = new QButtonGroup(parent);
  vertical->setExclusive(true);
  for (auto [part, glyph] : {std::pair{"VerticalTop", "\u2912"}, std::pair{"VerticalCenter", "\u2195"},
                             std::pair{"VerticalBottom", "\u2913"}}) {
    QToolButton* b = speed(part, glyph);
    vertical->addButton(b);
    third->addWidget(b);
  }
  box->addLayout(third);
}

QWidget* Page(QTabWidget* pages, const char* name) {
  auto* page = Named(new QWidget(pages), name);
  pages->addTab(page, QString::fromLatin1(name));
  return page;
}

void SetDown(QAbstractButton* button, bool down) {
  if (button == nullptr || button->isChecked() == down) return;
  const QSignalBlocker block(button);
  QButtonGroup* group = button->group();
  const bool exclusive = group != nullptr && group->exclusive();
  if (exclusive && !down) group->setExclusive(false);
  button->setChecked(down);
  if (exclusive && !down) group->setExclusive(true);
}

void SetComboIndex(QComboBox* combo, int index) {
  if (combo == nullptr) return;
  const QSignalBlocker block(combo);
  combo->setCurrentIndex(index);
}

void SetComboText(QComboBox* combo, const QString& text) {
  if (combo == nullptr) return;
  const QSignalBlocker block(combo);
  combo->setCurrentIndex(text.isEmpty() ? -1 : combo->findText(text, Qt::MatchFixedString));
  if (combo->lineEdit() != nullptr) combo->lineEdit()->setText(text);
}

namespace {
// Watches the edit, or the combo box the edit belongs to; the edit is its parent.
class EnterKeyFilter : public QObject {
 public:
  explicit EnterKeyFilter(QLineEdit* edit) : QObject(edit), edit_(edit) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    emit edit_->editingFinished();
    return true;
  }

 private:
  QLineEdit* edit_;
};
}  // namespace

void EnterConfirms(QLineEdit* edit) {
  if (edit == nullptr) return;
  auto* filter = new EnterKeyFilter(edit);
  edit->installEventFilter(filter);
  // An editable combo box has the focus and hands its keys to its edit directly, past any
  // filter on the edit: the combo box is watched too.
  if (auto* combo = qobject_cast<QComboBox*>(edit->parentWidget()); combo != nullptr && combo->lineEdit() == edit)
    combo->installEventFilter(filter);
}

namespace {
class ClickFilter : public QObject {
 public:
  ClickFilter(QObject* owner, std::function<void()> onClick) : QObject(owner), onClick_(std::move(onClick)) {}

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() != QEvent::MouseButtonPress) return false;
    onClick_();
    return true;
  }

 private:
  std::function<void()> onClick_;
};
}  // namespace

void ClickCalls(QWidget* widget, std::function<void()> onClick) {
  if (widget != nullptr) widget->installEventFilter(new ClickFilter(widget, std::move(onClick)));
}

}  // namespace form

}  // namespace vantrix
