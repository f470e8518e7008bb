// Entry function: the application object, the program's forms in their order, the command
// line, and the event loop.
#include <QFile>
#include <exception>

#include "app/application.h"
#include "app/help_viewer.h"
#include "ui/program_directory.h"
#include "app/program_forms.h"
#include "app/qt_translations.h"
#include "app/tool_icons.h"
#include "ui/user_interaction.h"
#include "app/view_form.h"

int main(int argc, char** argv) {
  app::TervanaApplication application(argc, argv);
  app::InstallQtTranslations(QLocale::system());
  QApplication::setWindowIcon(QIcon(app::MakeLogoPixmap(64)));
  try {
    ui::SetProgramDirectory(QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
    ui::QtUserInteraction ui;
    app::ChmHelpViewer help(ui);
    const auto forms = app::CreateProgramForms(ui, help);
    forms->viewForm->show();
    forms->viewForm->ProcessCommandLine(QCoreApplication::arguments().mid(1));
    return QApplication::exec();
  } catch (const std::exception& error) {
    app::ShowException(&error);
  } catch (...) {
    app::ShowException(nullptr);
  }
  return 0;
}
