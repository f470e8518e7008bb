#pragma once
// The application object: an exception that escapes an event handler is shown in a message
// box and the program goes on, instead of ending.
#include <QApplication>
#include <exception>
#include <functional>

namespace app {

class TervanaApplication : public QApplication {
 public:
  TervanaApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

// Shows an exception's message in a message box with the application title.
void ShowException(const std::exception* error);

}  // namespace app
