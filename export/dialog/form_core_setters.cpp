// The form's option setters: each stores its value and writes its control only when the
// value changed, with the control's signals blocked, so that no handler runs because a
// setter wrote and a control the user is typing in is not rewritten under the caret.
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "export/common_text.h"
#include "export/dialog/dialog_services.h"
#include "export/dialog/form_file_dialogs.h"
#include "export/dialog/form_widgets.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/vantrix3_html.h"
#include "platform/qt_text.h"
#include "ui/radio_group.h"

namespace vantrix {

namespace {

void WriteText(QLineEdit* edit, const std::string& text) {
  // The edit the user is typing in already shows the text: rewriting it would move the caret.
  if (edit == nullptr || edit->text() == platform::FromCp1252(text)) return;
  const QSignalBlocker block(edit);
  edit->setText(platform::FromCp1252(text));
}

// File names are kept as the file system spells them, which is how the exporters open them;
// only their edits show them as text.
void WriteFileName(QLineEdit* edit, const std::string& fileName) {
  const QString text = FromFileSystemName(fileName);
  if (edit == nullptr || edit->text() == text) return;
  const QSignalBlocker block(edit);
  edit->setText(text);
}

void WriteCheck(QAbstractButton* box, bool checked) {
  if (box == nullptr) return;
  const QSignalBlocker block(box);
  box->setChecked(checked);
}

void WriteChoice(ui::TRadioGroup* group, int index) {
  if (group == nullptr) return;
  const QSignalBlocker block(group);
  group->SetItemIndex(index);
}

void WriteFontColor(QLabel* label, uint32_t color) {
  if (label == nullptr) return;
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, ToQColor(color));
  label->setPalette(palette);
}

// True when the value changed (and is now stored).
template <class T>
bool Store(T& field, const T& value) {
  if (field == value) return false;
  field = value;
  return true;
}

}  // namespace

#define VANTRIX_TEXT_SETTER(name, control)                                       \
  void TVantrix3DialogF::Set##name(std::string value) {                          \
    if (Store(opt_.name, value)) WriteText(Control<QLineEdit>(control), value);  \
  }
#define VANTRIX_FILE_SETTER(name, control)                                          \
  void TVantrix3DialogF::Set##name(std::string value) {                             \
    if (Store(opt_.name, value)) WriteFileName(Control<QLineEdit>(control), value); \
  }
#define VANTRIX_FLAG_SETTER(name, control)                                            \
  void TVantrix3DialogF::Set##name(bool value) {                                      \
    if (Store(opt_.name, value)) WriteCheck(Control<QAbstractButton>(control), value); \
  }
#define VANTRIX_NUMBER_SETTER(name, control)                                                    \
  void TVantrix3DialogF::Set##name(int value) {                                                 \
    if (Store(opt_.name, value)) WriteText(Control<QLineEdit>(control), std::to_string(value)); \
  }
#define VANTRIX_CHOICE_SETTER(name, control)                                              \
  void TVantrix3DialogF::Set##name(int value) {                                           \
    if (Store(opt_.name, value)) WriteChoice(Control<ui::TRadioGroup>(control), value);   \
  }
VANTRIX_FORM_TEXT_OPTIONS(VANTRIX_TEXT_SETTER)
VANTRIX_FORM_FILE_OPTIONS(VANTRIX_FILE_SETTER)
VANTRIX_FORM_FLAG_OPTIONS(VANTRIX_FLAG_SETTER)
VANTRIX_FORM_NUMBER_OPTIONS(VANTRIX_NUMBER_SETTER)
VANTRIX_FORM_CHOICE_OPTIONS(VANTRIX_CHOICE_SETTER)
#undef VANTRIX_TEXT_SETTER
#undef VANTRIX_FILE_SETTER
#undef VANTRIX_FLAG_SETTER
#undef VANTRIX_NUMBER_SETTER
#undef VANTRIX_CHOICE_SETTER

// The steps that copy the dialog's options leave a control alone where the dialog holds the
// 0 an option starts with: the edit shows that 0 (a character 0 as "#0") and the radio group
// its first item.
void TVantrix3DialogF::ShowStartValues() {
#define VANTRIX_SHOW_NUMBER(name, control) WriteText(Control<QLineEdit>(control), std::to_string(opt_.name));
#define VANTRIX_SHOW_CHOICE(name, control) WriteChoice(Control<ui::TRadioGroup>(control), opt_.name);
  VANTRIX_FORM_NUMBER_OPTIONS(VANTRIX_SHOW_NUMBER)
  VANTRIX_FORM_CHOICE_OPTIONS(VANTRIX_SHOW_CHOICE)
#undef VANTRIX_SHOW_NUMBER
#undef VANTRIX_SHOW_CHOICE
  WriteText(Control<QLineEdit>("edExportRecCount"), std::to_string(opt_.ExportRecCount));
  WriteText(Control<QLineEdit>("edCSVComma"), Char2Str(opt_.CSVComma));
  WriteText(Control<QLineEdit>("edCSVQuote"), Char2Str(opt_.CSVQuote));
}

void TVantrix3DialogF::SetFileName(const std::string& value) {
  if (!Store(opt_.FileName, value)) return;
  WriteFileName(Control<QLineEdit>("edFileName"), value);
  ShowTitle();
}

// Only remembered: the options file dialogs start from it. Compared exactly, as file names
// that differ only in case are different files here.
void TVantrix3DialogF::SetOptionsFileName(const std::string& value) { opt_.OptionsFileName = value; }

void TVantrix3DialogF::SetNullString(const std::string& value) {
  if (!Store(opt_.NullString, value)) return;
  WriteText(Control<QLineEdit>("edNullString"), value);
  WriteText(Control<QLineEdit>("edSQLNullString"), value);
}

void TVantrix3DialogF::SetHTMLFontName(const std::string& value) {
  if (!Store(opt_.HTMLFontName, value)) return;
  auto* combo = Control<QComboBox>("cbxHTMLFontName");
  const QSignalBlocker block(combo);
  combo->setCurrentText(platform::FromCp1252(value));
}

void TVantrix3DialogF::SetXMLEncoding(const std::string& value) {
  if (platform::FromCp1252(value).compare(platform::FromCp1252(opt_.XMLEncoding), Qt::CaseInsensitive) == 0) return;
  opt_.XMLEncoding = value;
  WriteText(Control<QLineEdit>("edXMLEncoding"), value);
}

void TVantrix3DialogF::SetExportRecCount(int value) {
  if (!Store(opt_.ExportRecCount, value)) return;
  WriteText(Control<QLineEdit>("edExportRecCount"), std::to_string(value));
  if (value <= 0) return;
  // As a click on the button would: the count chosen can be seen and changed.
  WriteCheck(Control<QRadioButton>("rbExportOnly"), true);
  for (const char* name : {"edExportRecCount", "laExportRecCount_02"}) Control<QWidget>(name)->setEnabled(true);
}

// The grid is written whether or not the value changed: it starts enabled, and a form whose
// options start without captions must show it disabled.
void TVantrix3DialogF::SetAllowCaptions(bool value) {
  if (Store(opt_.AllowCaptions, value)) WriteCheck(Control<QAbstractButton>("chAllowCaptions"), value);
  if (QWidget* grid = Control<QWidget>("sgrCaptions")) grid->setEnabled(value);
}

void TVantrix3DialogF::SetHTMLUsingCSS(int value) {
  const bool external = value == 1;
  if (Store(opt_.HTMLUsingCSS, value) || !Control<QRadioButton>("rbInternal")->isChecked()) {
    WriteCheck(Control<QRadioButton>(external ? "rbExternal" : "rbInternal"), true);
  }
  for (const char* name : {"edHTMLCSSFileName", "laHTMLCSSFileName", "btnHTMLCSSFileName", "chHTMLOverwriteCSSFile"})
    if (QWidget* w = Control<QWidget>(name)) w->setEnabled(external);
}

void TVantrix3DialogF::SetCSVComma(char value) {
  if (Store(opt_.CSVComma, value)) WriteText(Control<QLineEdit>("edCSVComma"), Char2Str(value));
}

void TVantrix3DialogF::SetCSVQuote(char value) {
  if (Store(opt_.CSVQuote, value)) WriteText(Control<QLineEdit>("edCSVQuote"), Char2Str(value));
}

// --- the HTML colours: the option, the form's HTML exporter and the preview ----------------

void TVantrix3DialogF::SetHTMLBackgroundColor(uint32_t value) {
  if (!Store(opt_.HTMLBackgroundColor, value)) return;
  HTMLExp().HTMLOptions.BackgroundColor = value;
  if (auto* panel = Control<TPanel>("paHTMLBackground")) panel->SetColor(value);
}

void TVantrix3DialogF::SetHTMLFontColor(uint32_t value) {
  if (!Store(opt_.HTMLFontColor, value)) return;
  HTMLExp().HTMLOptions.TextFont.color = value;
  WriteFontColor(Control<QLabel>("laHTMLFont"), value);
}

namespace {

template <class T>
void ForNumbered(const TVantrix3DialogF& form, const char* prefix, int count, const std::function<void(T*)>& proc) {
  for (int i = 1; i <= count; ++i)
    if (T* w = form.Control<T>(QStringLiteral("%1%2").arg(QLatin1String(prefix)).arg(i).toLatin1().constData()))
      proc(w);
}

}  // namespace

void TVantrix3DialogF::SetHTMLHeadBackgroundColor(uint32_t value) {
  if (!Store(opt_.HTMLHeadBackgroundColor, value)) return;
  HTMLExp().TableOptions.HeadersRowBgColor = value;
  ForNumbered<TPanel>(*this, "paHTMLColumnHead_", 3, [value](TPanel* p) { p->SetColor(value); });
}

void TVantrix3DialogF::SetHTMLHeadFontColor(uint32_t value) {
  if (!Store(opt_.HTMLHeadFontColor, value)) return;
  HTMLExp().TableOptions.HeadersRowFontColor = value;
  ForNumbered<QLabel>(*this, "laHTMLHead_", 3, [value](QLabel* l) { WriteFontColor(l, value); });
}

void TVantrix3DialogF::SetHTMLOddRowBackgroundColor(uint32_t value) {
  if (!Store(opt_.HTMLOddRowBackgroundColor, value)) return;
  HTMLExp().TableOptions.OddRowBgColor = value;
  ForNumbered<TPanel>(*this, "paHTMLOddRowCol_", 6, [value](TPanel* p) { p->SetColor(value); });
}

void TVantrix3DialogF::SetHTMLEvenRowBackgroundColor(uint32_t value) {
  if (!Store(opt_.HTMLEvenRowBackgroundColor, value)) return;
  HTMLExp().TableOptions.TableBgColor = value;
  ForNumbered<TPanel>(*this, "paHTMLEvenRowCol_", 6, [value](TPanel* p) { p->SetColor(value); });
}

void TVantrix3DialogF::SetHTMLDataFontColor(uint32_t value) {
  if (!Store(opt_.HTMLDataFontColor, value)) return;
  HTMLExp().TableOptions.TableFontColor = value;
  ForNumbered<QLabel>(*this, "laHTMLData_", 12, [value](QLabel* l) { WriteFontColor(l, value); });
}

void TVantrix3DialogF::SetHTMLLinkColor(uint32_t value) {
  if (!Store(opt_.HTMLLinkColor, value)) return;
  HTMLExp().HTMLOptions.LinkColor = value;
  WriteFontColor(Control<QLabel>("laHTMLLink"), value);
}

void TVantrix3DialogF::SetHTMLVLinkColor(uint32_t value) {
  if (!Store(opt_.HTMLVLinkColor, value)) return;
  HTMLExp().HTMLOptions.VLinkColor = value;
  WriteFontColor(Control<QLabel>("laHTMLVLink"), value);
}

void TVantrix3DialogF::SetHTMLALinkColor(uint32_t value) {
  if (!Store(opt_.HTMLALinkColor, value)) return;
  HTMLExp().HTMLOptions.ALinkColor = value;
  WriteFontColor(Control<QLabel>("laHTMLALink"), value);
}

}  // namespace vantrix
