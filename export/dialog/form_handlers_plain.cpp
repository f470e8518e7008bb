// The handlers of the pages that hold plain values (general, formats, HTML, XML, SQL, text,
// CSV, spreadsheet basics), connected from tables of control and setter. They connect to
// user-action signals only; the setters write controls with signals blocked.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QTreeWidget>

#include "export/common_text.h"
#include "export/dialog/dialog_services.h"
#include "export/dialog/form_file_dialogs.h"
#include "export/dialog/form_widgets.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/library_strings.h"
#include "platform/qt_text.h"
#include "ui/radio_group.h"

namespace vantrix {

namespace {

std::string Cp(const QString& text) { return platform::ToCp1252(text); }

// Digits only; the validator also refuses pasted text, which a key filter would let in.
void AcceptDigits(QLineEdit* edit) {
  static const QRegularExpression digits(QStringLiteral("[0-9]*"));
  edit->setValidator(new QRegularExpressionValidator(digits, edit));
}

}  // namespace

void TVantrix3DialogF::ConnectHandlers() {
  ConnectPlainHandlers();
  ConnectHTMLHandlers();
  ConnectCaptionsGrid();
  ConnectXLSStyleButtons();
  ConnectOptionsFileItems();
  ConnectPDFHandlers();
  ConnectRTFHandlers();
  ConnectHTMLTemplates();
}

void TVantrix3DialogF::ConnectPlainHandlers() {
#define VANTRIX_CONNECT_TEXT(name, control)                                                           \
  if (auto* edit = Control<QLineEdit>(control))                                                       \
    connect(edit, &QLineEdit::textEdited, this, [this](const QString& text) { Set##name(Cp(text)); });
#define VANTRIX_CONNECT_FILE(name, control)                                                           \
  if (auto* edit = Control<QLineEdit>(control))                                                       \
    connect(edit, &QLineEdit::textEdited, this, [this](const QString& text) { Set##name(FileSystemName(text)); });
#define VANTRIX_CONNECT_FLAG(name, control)                     \
  if (auto* box = Control<QAbstractButton>(control))            \
    connect(box, &QAbstractButton::clicked, this, [this](bool checked) { Set##name(checked); });
#define VANTRIX_CONNECT_CHOICE(name, control)  \
  if (auto* group = Control<ui::TRadioGroup>(control)) \
    connect(group, &ui::TRadioGroup::Clicked, this, [this](int index) { Set##name(index); });
  VANTRIX_FORM_TEXT_OPTIONS(VANTRIX_CONNECT_TEXT)
  VANTRIX_FORM_FILE_OPTIONS(VANTRIX_CONNECT_FILE)
  VANTRIX_FORM_FLAG_OPTIONS(VANTRIX_CONNECT_FLAG)
  VANTRIX_FORM_CHOICE_OPTIONS(VANTRIX_CONNECT_CHOICE)
#undef VANTRIX_CONNECT_TEXT
#undef VANTRIX_CONNECT_FILE
#undef VANTRIX_CONNECT_FLAG
#undef VANTRIX_CONNECT_CHOICE

  // Whole numbers: some keep their value on a text that is no number (an emptied edit), the
  // others count it as 0.
  const struct {
    const char* control;
    void (TVantrix3DialogF::*setter)(int);
    bool emptyIsZero;
  } numbers[] = {
      {"edSkipRecCount", &TVantrix3DialogF::SetSkipRecCount, false},
      {"edExportRecCount", &TVantrix3DialogF::SetExportRecCount, false},
      {"edSQLCommitRecCount", &TVantrix3DialogF::SetSQLCommitRecCount, false},
      {"edTXTSpacing", &TVantrix3DialogF::SetTXTSpacing, false},
      {"edHTMLFileRecCount", &TVantrix3DialogF::SetHTMLFileRecCount, true},
      {"edHTMLCellPadding", &TVantrix3DialogF::SetHTMLCellPadding, true},
      {"edHTMLCellSpacing", &TVantrix3DialogF::SetHTMLCellSpacing, true},
      {"edHTMLBorderWidth", &TVantrix3DialogF::SetHTMLBorderWidth, true},
  };
  for (const auto& n : numbers) {
    auto* edit = Control<QLineEdit>(n.control);
    connect(edit, &QLineEdit::textEdited, this, [this, n](const QString& text) {
      bool ok = false;
      const int value = text.toInt(&ok);
      if (ok)
        (this->*n.setter)(value);
      else if (n.emptyIsZero)
        (this->*n.setter)(0);
    });
  }
  for (const char* name : {"edSkipRecCount", "edExportRecCount", "edSQLCommitRecCount", "edHTMLFileRecCount",
                           "edHTMLCellPadding", "edHTMLCellSpacing", "edHTMLBorderWidth", "edPDFGridLineWidth",
                           "edPDFFontSize"})
    AcceptDigits(Control<QLineEdit>(name));

  // The Tools menu opens above its button: raised by 25 pixels for each of its items.
  connect(Control<QPushButton>("bTools"), &QPushButton::clicked, this, [this] {
    auto* tools = Control<QPushButton>("bTools");
    auto* menu = findChild<QMenu*>(QStringLiteral("pmTools"));
    if (menu == nullptr) return;
    const QPoint at = tools->mapToGlobal(QPoint(0, 0)) - QPoint(0, 25 * static_cast<int>(menu->actions().size()));
    menu->popup(at);
  });

  // The file and the format.
  connect(Control<QLineEdit>("edFileName"), &QLineEdit::textEdited, this, [this](const QString& text) {
    SetFileName(FileSystemName(text));
    ShowButtons();
  });
  connect(Control<QPushButton>("bBrowse"), &QPushButton::clicked, this, [this] {
    const TAllowedExport t = GetExportType();
    FileRequest request;
    request.filter = QtFileFilter(ExportTypeFilters()[t]);
    request.defaultSuffix = platform::FromCp1252(ExportTypeExtensions()[t]);
    request.initialFile = FromFileSystemName(opt_.FileName);
    if (const auto chosen = dialog_.Services().SaveFile(this, request)) {
      SetFileName(FileSystemName(*chosen));
      ShowButtons();
    }
  });
  connect(Control<ui::TRadioGroup>("rgExportType"), &ui::TRadioGroup::Clicked, this, [this] { rgExportTypeClick(); });
  connect(Control<QTabWidget>("Pages"), &QTabWidget::currentChanged, this, [this] { PagesChange(); });
  connect(Control<QTabWidget>("pcXLSFormats"), &QTabWidget::currentChanged, this, [this] { pcXLSFormatsChange(); });
  // A run's error (a missing source, a file that cannot be written) is told, and the form stays.
  connect(Control<QPushButton>("bStart"), &QPushButton::clicked, this, [this] {
    try {
      bStartClick();
    } catch (const std::exception& e) {
      ShowErrorText(platform::FromCp1252(e.what()));
    }
  });

  // Record constraints.
  connect(Control<QRadioButton>("rbExportAllRecords"), &QRadioButton::clicked, this, [this] {
    Control<QWidget>("edExportRecCount")->setEnabled(false);
    Control<QWidget>("laExportRecCount_02")->setEnabled(false);
    SetExportRecCount(0);
  });
  connect(Control<QRadioButton>("rbExportOnly"), &QRadioButton::clicked, this, [this] {
    Control<QWidget>("edExportRecCount")->setEnabled(true);
    Control<QWidget>("laExportRecCount_02")->setEnabled(true);
  });

  // The null string has an edit on the formats page and one on the SQL page.
  for (const char* name : {"edNullString", "edSQLNullString"})
    connect(Control<QLineEdit>(name), &QLineEdit::textEdited, this,
            [this](const QString& text) { SetNullString(Cp(text)); });
  connect(Control<QLineEdit>("edXMLEncoding"), &QLineEdit::textEdited, this,
          [this](const QString& text) { SetXMLEncoding(Cp(text)); });
  // A separator that is empty or cannot be read keeps the one before: a character 0 would
  // run every field of a line together.
  // The quote may be none (character 0). Either edit then shows the character kept.
  const struct {
    const char* control;
    char TDialogFormOptions::*field;
    void (TVantrix3DialogF::*setter)(char);
    bool noneAllowed;
  } characters[] = {
      {"edCSVComma", &TDialogFormOptions::CSVComma, &TVantrix3DialogF::SetCSVComma, false},
      {"edCSVQuote", &TDialogFormOptions::CSVQuote, &TVantrix3DialogF::SetCSVQuote, true},
  };
  for (const auto& c : characters) {
    auto* edit = Control<QLineEdit>(c.control);
    connect(edit, &QLineEdit::editingFinished, this, [this, c, edit] {
      const char value = Str2Char(Cp(edit->text()));
      if (value != 0 || c.noneAllowed) (this->*c.setter)(value);
      const QSignalBlocker block(edit);
      edit->setText(platform::FromCp1252(Char2Str(opt_.*c.field)));
    });
  }

  // Fields and user formats.
  const struct {
    const char* button;
    void (TVantrix3DialogF::*handler)();
  } buttons[] = {
      {"bAddOneExportedField", &TVantrix3DialogF::bAddOneExportedFieldClick},
      {"bAddAllExportedField", &TVantrix3DialogF::bAddAllExportedFieldClick},
      {"bDelOneExportedField", &TVantrix3DialogF::bDelOneExportedFieldClick},
      {"bDelAllExportedField", &TVantrix3DialogF::bDelAllExportedFieldClick},
      {"bAddUserFormat", &TVantrix3DialogF::bAddUserFormatClick},
      {"bEditUserFormat", &TVantrix3DialogF::bEditUserFormatClick},
      {"bDeleteUserFormat", &TVantrix3DialogF::bDeleteUserFormatClick},
      {"bClearUserFormats", &TVantrix3DialogF::bClearUserFormatsClick},
  };
  for (const auto& b : buttons) connect(Control<QPushButton>(b.button), &QPushButton::clicked, this, b.handler);
  connect(Control<QTreeWidget>("lstAvailableFields"), &QTreeWidget::itemDoubleClicked, this,
          [this] { bAddOneExportedFieldClick(); });
  connect(Control<QTreeWidget>("lstExportedFields"), &QTreeWidget::itemDoubleClicked, this,
          [this] { bDelOneExportedFieldClick(); });
  connect(Control<QComboBox>("cbxFormatFields"), &QComboBox::activated, this, [this] { cbxFormatFieldsChange(); });
}

void TVantrix3DialogF::ConnectHTMLHandlers() {
  for (const char* name : {"chHTMLUseMultiFileExport", "chHTMLGenerateIndex", "chHTMLNavigationOnTop",
                           "chHTMLNavigationOnBottom"})
    connect(Control<QCheckBox>(name), &QCheckBox::clicked, this, [this] { HTMLUpdateMultifileControls(); });
  connect(Control<QRadioButton>("rbInternal"), &QRadioButton::clicked, this, [this](bool on) {
    if (on) SetHTMLUsingCSS(0);
  });
  connect(Control<QRadioButton>("rbExternal"), &QRadioButton::clicked, this, [this](bool on) {
    if (on) SetHTMLUsingCSS(1);
  });
  auto* font = Control<QComboBox>("cbxHTMLFontName");
  connect(font, &QComboBox::textActivated, this, [this](const QString& text) { SetHTMLFontName(Cp(text)); });
  if (font->lineEdit() != nullptr)
    connect(font->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) { SetHTMLFontName(Cp(text)); });

  // File choices: the style sheet, and the pictures, which start in the current one's folder.
  connect(Control<QAbstractButton>("btnHTMLCSSFileName"), &QAbstractButton::clicked, this, [this] {
    FileRequest request = FormFileDialog("odHTMLCSS");
    request.initialFile = FromFileSystemName(opt_.HTMLCSSFileName);
    if (const auto chosen = dialog_.Services().OpenFile(this, request)) SetHTMLCSSFileName(FileSystemName(*chosen));
  });
  const struct {
    const char* button;
    const char* dialog;
    std::string TDialogFormOptions::*field;
    void (TVantrix3DialogF::*setter)(std::string);
  } pictures[] = {
      {"btnHTMLBackground", "opdHTMLBackground", &TDialogFormOptions::HTMLBackground,
       &TVantrix3DialogF::SetHTMLBackground},
      {"btnHTMLTableBackground", "opdHTMLTableBackground", &TDialogFormOptions::HTMLTableBackground,
       &TVantrix3DialogF::SetHTMLTableBackground},
  };
  for (const auto& p : pictures) {
    connect(Control<QAbstractButton>(p.button), &QAbstractButton::clicked, this, [this, p] {
      FileRequest request = FormFileDialog(p.dialog);
      if (!(opt_.*p.field).empty()) request.initialFile = FromFileSystemName(opt_.*p.field);
      if (const auto chosen = dialog_.Services().OpenFile(this, request)) (this->*p.setter)(FileSystemName(*chosen));
    });
  }

  // The colour preview: a click on an element chooses its colour.
  const struct {
    const char* prefix;
    int count;
    uint32_t TDialogFormOptions::*field;
    void (TVantrix3DialogF::*setter)(uint32_t);
  } preview[] = {
      {"paHTMLBackground", 0, &TDialogFormOptions::HTMLBackgroundColor, &TVantrix3DialogF::SetHTMLBackgroundColor},
      {"laHTMLFont", 0, &TDialogFormOptions::HTMLFontColor, &TVantrix3DialogF::SetHTMLFontColor},
      {"paHTMLColumnHead_", 3, &TDialogFormOptions::HTMLHeadBackgroundColor,
       &TVantrix3DialogF::SetHTMLHeadBackgroundColor},
      {"laHTMLHead_", 3, &TDialogFormOptions::HTMLHeadFontColor, &TVantrix3DialogF::SetHTMLHeadFontColor},
      {"paHTMLOddRowCol_", 6, &TDialogFormOptions::HTMLOddRowBackgroundColor,
       &TVantrix3DialogF::SetHTMLOddRowBackgroundColor},
      {"paHTMLEvenRowCol_", 6, &TDialogFormOptions::HTMLEvenRowBackgroundColor,
       &TVantrix3DialogF::SetHTMLEvenRowBackgroundColor},
      {"laHTMLData_", 12, &TDialogFormOptions::HTMLDataFontColor, &TVantrix3DialogF::SetHTMLDataFontColor},
      {"laHTMLLink", 0, &TDialogFormOptions::HTMLLinkColor, &TVantrix3DialogF::SetHTMLLinkColor},
      {"laHTMLVLink", 0, &TDialogFormOptions::HTMLVLinkColor, &TVantrix3DialogF::SetHTMLVLinkColor},
      {"laHTMLALink", 0, &TDialogFormOptions::HTMLALinkColor, &TVantrix3DialogF::SetHTMLALinkColor},
  };
  for (const auto& p : preview) {
    QStringList names;
    if (p.count == 0)
      names << QLatin1String(p.prefix);
    else
      for (int i = 1; i <= p.count; ++i) names << QLatin1String(p.prefix) + QString::number(i);
    for (const QString& name : names) {
      QWidget* element = findChild<QWidget*>(name);
      if (element == nullptr) continue;
      const auto choose = [this, p] { ChooseHTMLColor(p.field, p.setter); };
      if (auto* panel = qobject_cast<TPanel*>(element))
        connect(panel, &TPanel::clicked, this, choose);
      else
        form::ClickCalls(element, choose);
    }
  }
}

// Chosen colours make the template a custom one; a cancelled choice changes nothing.
void TVantrix3DialogF::ChooseHTMLColor(uint32_t TDialogFormOptions::*field, void (TVantrix3DialogF::*setter)(uint32_t)) {
  const std::optional<uint32_t> chosen = dialog_.Services().ChooseColor(this, opt_.*field);
  if (!chosen) return;
  (this->*setter)(*chosen);
  auto* templates = Control<QComboBox>("cbxHTMLTemplate");
  const QSignalBlocker block(templates);
  templates->setCurrentIndex(0);  // the custom template
}

}  // namespace vantrix
