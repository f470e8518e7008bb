// The HTML page's template chooser and its template files (.htf): a built-in template gives
// the preview its colours; a file holds the colours and the font family, and a loaded one
// makes the choice the custom template.
#include <QComboBox>
#include <QPushButton>
#include <exception>

#include "export/dialog/dialog_services.h"
#include "export/dialog/form_file_dialogs.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/vantrix3_html.h"
#include "platform/qt_text.h"

namespace vantrix {

namespace {

void ChooseCustomTemplate(TVantrix3DialogF& form) {
  auto* templates = form.Control<QComboBox>("cbxHTMLTemplate");
  const QSignalBlocker block(templates);
  templates->setCurrentIndex(htCustom);
}

}  // namespace

void TVantrix3DialogF::ConnectHTMLTemplates() {
  connect(Control<QComboBox>("cbxHTMLTemplate"), &QComboBox::activated, this, [this](int index) {
    if (index < htCustom || index > htSimple) return;
    // Through the custom template first, so that a template chosen again after its colours
    // were changed by hand applies again.
    HTMLExp().SetHTMLTemplate(htCustom);
    if (index == htCustom) return;
    HTMLExp().SetHTMLTemplate(static_cast<THTMLTemplate>(index));
    HTMLFillColors();
    SetHTMLFontName(HTMLExp().HTMLOptions.TextFont.name);
  });
  connect(Control<QPushButton>("bHTMLSaveTemplate"), &QPushButton::clicked, this, [this] {
    const std::optional<QString> file = dialog_.Services().SaveFile(this, FormFileDialog("sdHTMLTemplate"));
    if (!file) return;
    HTMLExp().HTMLOptions.TextFont.name = opt_.HTMLFontName;
    try {
      HTMLExp().SaveTemplateToFile(FileSystemName(*file));
    } catch (const std::exception& e) {
      ShowErrorText(platform::FromCp1252(e.what()));
    }
  });
  connect(Control<QPushButton>("bHTMLLoadTemplate"), &QPushButton::clicked, this, [this] {
    const std::optional<QString> file = dialog_.Services().OpenFile(this, FormFileDialog("odHTMLTemplate"));
    if (!file) return;
    NoteFileRead(FileSystemName(*file));
    try {
      HTMLExp().LoadTemplateFromFile(FileSystemName(*file));
    } catch (const std::exception& e) {
      ShowErrorText(platform::FromCp1252(e.what()));  // the template in use stays
      return;
    }
    HTMLFillColors();
    SetHTMLFontName(HTMLExp().HTMLOptions.TextFont.name);
    HTMLExp().SetHTMLTemplate(htCustom);
    ChooseCustomTemplate(*this);
  });
}

}  // namespace vantrix
