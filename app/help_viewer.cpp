#include "app/help_viewer.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>
#include <new>

#include "ui/user_interaction.h"
#include "platform/qt_text.h"

namespace app {
namespace {

constexpr char kHelpScheme[] = "help";

QUrl TopicUrl(const std::string& objectPath) {
  QUrl url;
  url.setScheme(QString::fromLatin1(kHelpScheme));
  url.setPath(platform::FromCp1252(objectPath));
  return url;
}

// Pages of compiled help files are usually code page 1252; a page that declares UTF-8 is read so.
QString DecodePage(const std::string& bytes) {
  static const QRegularExpression utf8Charset(QStringLiteral("charset\\s*=\\s*[\"']?utf-8"),
                                              QRegularExpression::CaseInsensitiveOption);
  const QString head = QString::fromLatin1(bytes.data(), static_cast<qsizetype>(std::min<std::size_t>(bytes.size(), 1024)));
  if (utf8Charset.match(head).hasMatch() || bytes.rfind("\xEF\xBB\xBF", 0) == 0) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
  }
  return platform::FromCp1252(bytes);
}

}  // namespace

QString HelpFileProblemText(const QString& helpFile, const QString& reason) {
  const QString text = QStringLiteral("Não foi possível abrir o arquivo de ajuda:\n%1").arg(helpFile);
  return reason.isEmpty() ? text : text + QStringLiteral("\n") + reason;
}

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent) {
  setObjectName(QStringLiteral("HelpBrowser"));
  // The browser would hand relative links of a non-file page to the desktop; we follow them.
  setOpenLinks(false);
  connect(this, &QTextBrowser::anchorClicked, this, &HelpBrowser::FollowLink);
}

void HelpBrowser::FollowLink(const QUrl& link) {
  const QUrl target = source().resolved(link);
  if (target.scheme() == QLatin1String(kHelpScheme)) {
    setSource(target);
  } else if (!target.scheme().isEmpty()) {
    QDesktopServices::openUrl(target);
  }
}

void HelpBrowser::SetHelpFile(std::unique_ptr<HelpFile> file) {
  file_ = std::move(file);
  clearHistory();
}

void HelpBrowser::ShowTopic(const std::string& objectPath) { setSource(TopicUrl(objectPath)); }

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
  if (!file_ || name.scheme() != QLatin1String(kHelpScheme)) return QTextBrowser::loadResource(type, name);
  // Called from inside the text browser: nothing may be thrown through it. A resource that
  // does not fit in the memory left is shown as missing.
  try {
    const std::string path = NormaliseTopicPath(platform::ToCp1252(name.path()));
    const auto bytes = file_->Read(path);
    if (!bytes) return {};
    if (type == QTextDocument::HtmlResource) return DecodePage(*bytes);
    if (type == QTextDocument::StyleSheetResource) return platform::FromCp1252(*bytes);
    if (type == QTextDocument::ImageResource) {
      QImage image;
      image.loadFromData(reinterpret_cast<const uchar*>(bytes->data()), static_cast<int>(bytes->size()));
      return image;
    }
    return QByteArray(bytes->data(), static_cast<qsizetype>(bytes->size()));
  } catch (const std::bad_alloc&) {
    return {};
  }
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window), browser_(new HelpBrowser(this)) {
  setObjectName(QStringLiteral("HelpWindow"));
  setAttribute(Qt::WA_DeleteOnClose);
  // Keys pressed in the window scroll and follow links in the browser.
  setFocusProxy(browser_);
  browser_->setFocus();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  resize(720, 560);
  connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
    const QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Ajuda") : title);
  });
  setWindowTitle(QStringLiteral("Ajuda"));
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
  // The keys that close a window of its own, besides its title bar's close button.
  if ((event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) || event->matches(QKeySequence::Close)) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

ChmHelpViewer::~ChmHelpViewer() { CloseAll(); }

bool ChmHelpViewer::ShowTopic(const QString& helpFile, int context, QString& problem) {
  auto file = std::make_unique<HelpFile>();
  std::string openError;
  if (!file->Open(QFile::encodeName(helpFile).toStdString(), &openError)) {
    problem = QString::fromLocal8Bit(openError);
    return false;
  }
  auto topic = context >= 0 ? file->TopicOfContext(static_cast<std::uint32_t>(context)) : std::nullopt;
  if (!topic) topic = file->DefaultTopic();
  if (!topic || !file->Read(*topic)) return false;
  if (!window_) window_ = new HelpWindow();
  window_->Browser()->SetHelpFile(std::move(file));
  window_->Browser()->ShowTopic(*topic);
  window_->show();
  window_->raise();
  window_->activateWindow();
  return true;
}

void ChmHelpViewer::ShowContext(const QString& helpFile, int context) {
  bool shown = false;
  QString problem;
  try {
    shown = ShowTopic(helpFile, context, problem);
  } catch (const std::bad_alloc&) {
    // A damaged help file costs the help, never the program.
  }
  // The message belongs to the window the request came from.
  if (!shown) {
    ui_.ShowError(QApplication::activeWindow(), QStringLiteral("Ajuda"), HelpFileProblemText(helpFile, problem));
  }
}

void ChmHelpViewer::ShowDefaultTopic(const QString& helpFile) { ShowContext(helpFile, -1); }

void ChmHelpViewer::CloseAll() {
  if (window_) window_->close();
}

}  // namespace app
