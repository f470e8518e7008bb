#pragma once
// The pieces the export dialog form is built from: every control carries its name as its
// objectName and starts empty, unchecked and with no item chosen (the form's setters write a
// control only when a value changes, so the first value must differ from nothing).
#include <QFrame>
#include <QStringList>
#include <QWidget>
#include <functional>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QBoxLayout;
class QTabWidget;
class QToolButton;
class QTreeWidget;

namespace ui {
class TRadioGroup;
}

namespace vantrix {

// A box that others paint: its paint handler is set by whoever shows something in it.
class TPaintBox : public QWidget {
  Q_OBJECT

 public:
  explicit TPaintBox(QWidget* parent) : QWidget(parent) {}
  std::function<void(QPainter& painter, const QRect& box)> OnPaint;

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
};

// A panel that may be clicked (the colour samples of the HTML preview).
class TPanel : public QFrame {
  Q_OBJECT

 public:
  explicit TPanel(QWidget* parent) : QFrame(parent) {}
  // The panel's fill (0x00BBGGRR).
  void SetColor(uint32_t color);

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* e) override;
};

namespace form {

QLabel* Label(QWidget* parent, const char* name);
QLineEdit* Edit(QWidget* parent, const char* name, int width = 0);
QCheckBox* Check(QWidget* parent, const char* name);
QRadioButton* Radio(QWidget* parent, const char* name);
QPushButton* Button(QWidget* parent, const char* name, int width = 0);
// A checkable speed button; buttons of a group that may all be up are not grouped.
QToolButton* SpeedButton(QWidget* parent, const char* name, const char* glyph);
// A plain tool button (add, delete, move, load, save).
QToolButton* ToolButton(QWidget* parent, const char* name, const char* glyph);
// A button with a colour box inside it (the box moves a pixel when the button is pressed).
QToolButton* ColorButton(QWidget* parent, const char* name, const char* boxName);
QComboBox* Combo(QWidget* parent, const char* name, bool editable = false);
QGroupBox* Group(QWidget* parent, const char* name);
ui::TRadioGroup* RadioGroup(QWidget* parent, const char* name, int columns);
QTreeWidget* List(QWidget* parent, const char* name, int columns = 1, bool multiSelect = false);
QPlainTextEdit* Memo(QWidget* parent, const char* name);
TPaintBox* PaintBox(QWidget* parent, const char* name);
TPanel* Panel(QWidget* parent, const char* name);
QTabWidget* PageControl(QWidget* parent, const char* name);
// The point sizes a font size box offers.
QStringList FontSizes();
// A page of a stack (no tab): a plain widget with its name.
QWidget* StackPage(QWidget* stack, const char* name);

// The controls of a spreadsheet font: font name and size, colour, bold, italic, strike-out,
// four underlines, four horizontal and three vertical alignments. Names are built from the
// parts that differ: "la" + label + "Font", the combo names, and "btn" + buttonPart + "FontBold",
// "btn" + buttonPart + "UnderlineSingle", "btn" + buttonPart + "HorizontalLeft" and so on.
struct FontEditorNames {
  const char* labelPart;   // "XLS", "XLSNote"
  const char* fontCombo;   // "cbxXLSFont", "cbXLSNoteFont"
  const char* sizeCombo;   // "cbxXLSFontSize", "cbXLSNoteFontSize"
  const char* buttonPart;  // "", "XLSNote"
  const char* colorBox;    // "pbFontColor", "pbXLSNoteFontColor"
};
// The rows into the box. The vertical buttons form one group: a vertical alignment is
// always set.
void FontEditor(QWidget* parent, QBoxLayout* box, const FontEditorNames& names);
// A page added to the page control; its tab's text comes from the captions.
QWidget* Page(QTabWidget* pages, const char* name);

// Writing a control to show a value, its signals held (they stand for the user's actions).
// A button of an exclusive group may be set up too, leaving the group with none down.
void SetDown(QAbstractButton* button, bool down);
void SetComboIndex(QComboBox* combo, int index);
// An editable combo: the entry of that text chosen (any case), the text shown even when the
// list has no such entry; empty text chooses none.
void SetComboText(QComboBox* combo, const QString& text);

// Enter in an edit that takes its value when left takes it there and then (editingFinished),
// and goes no further: the dialog would take the key for its default button and export. The
// edit of an editable combo box is the combo box's lineEdit().
void EnterConfirms(QLineEdit* edit);

// A widget that is no button (a label, a panel) answering a mouse press as a click.
void ClickCalls(QWidget* widget, std::function<void()> onClick);

}  // namespace form

}  // namespace vantrix
