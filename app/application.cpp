#include "app/application.h"

#include <QMessageBox>

#include "ui/program_constants.h"

namespace app {

TervanaApplication::TervanaApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QString::fromUtf8(ui::kApplicationTitle.data(), static_cast<qsizetype>(ui::kApplicationTitle.size())));
}

bool TervanaApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    ShowException(&error);
  } catch (...) {
    ShowException(nullptr);
  }
  return false;
}

void ShowException(const std::exception* error) {
  const QString text = error != nullptr ? QString::fromUtf8(error->what()) : QStringLiteral("Erro desconhecido.");
  QMessageBox::critical(nullptr, QString::fromUtf8(ui::kApplicationTitle.data(), static_cast<qsizetype>(ui::kApplicationTitle.size())),
                        text);
}

}  // namespace app
