#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QUrl>

#include "export/shell_service.h"
#include "platform/cp1252.h"

// The desktop services of the export engine: with the text measure, the only use of the GUI
// library in it.
namespace vantrix {
namespace {

constexpr int kPrintTimeoutMs = 60000;

bool HasGui() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }

std::string Shown(const std::string& path) { return platform::ExternalTextToCp1252(path); }

class DesktopShell : public TVantrixShell {
 public:
  std::string Open(const std::string& path) override {
    if (!HasGui()) return "No desktop to open \"" + Shown(path) + "\" with";
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(path.c_str()))))
      return "The desktop cannot open \"" + Shown(path) + "\"";
    return {};
  }

  std::string Print(const std::string& path) override {
    const QString suffix = QFileInfo(QFile::decodeName(path.c_str())).suffix().toLower();
    if (suffix != "pdf" && suffix != "txt" && suffix != "csv" && suffix != "sql")
      return "Only PDF and plain text files are printed here, not \"" + Shown(path) + "\"";
    QProcess lp;
    lp.start("lp", {"--", QFile::decodeName(path.c_str())});
    if (!lp.waitForStarted()) return "The print command lp is not available";
    if (!lp.waitForFinished(kPrintTimeoutMs)) {
      lp.kill();
      lp.waitForFinished();
      return "The print command lp did not answer";
    }
    if (lp.exitStatus() != QProcess::NormalExit || lp.exitCode() != 0)
      return "lp could not print \"" + Shown(path) + "\": " +
             platform::Utf8ToCp1252(QString::fromLocal8Bit(lp.readAllStandardError()).trimmed().toStdString());
    return {};
  }

  std::string SetClipboardText(const std::string& cp1252Text) override {
    if (!HasGui()) return "No clipboard without a desktop";
    QGuiApplication::clipboard()->setText(QString::fromStdString(platform::Cp1252ToUtf8(cp1252Text)));
    return {};
  }
};

}  // namespace

TVantrixShell& DefaultVantrixShell() {
  static DesktopShell shell;
  return shell;
}

}  // namespace vantrix
