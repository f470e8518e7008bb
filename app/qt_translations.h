#pragma once
// Qt's own texts (file dialogs, standard buttons, context menus of edits) in the user's
// language, from the translations Qt installs beside itself.
#include <QLocale>

class QTranslator;

namespace app {

// Loads Qt's translations for `locale` and installs them in the application, which owns
// them. Null when Qt has none for that language: its texts then stay English.
QTranslator* InstallQtTranslations(const QLocale& locale);

}  // namespace app
