#pragma once
// The help viewer: shows topics of the compiled HTML help file by context number or its
// default topic. The main window talks to the interface; the real one opens a window of ours.
#include <QPointer>
#include <QString>
#include <QTextBrowser>
#include <memory>

#include "app/help_file.h"

namespace ui {
class UserInteraction;
}  // namespace ui

namespace app {


class HelpViewer {
 public:
  virtual ~HelpViewer() = default;
  // The topic of a context number (the default topic when the file's map lacks it).
  virtual void ShowContext(const QString& helpFile, int context) = 0;
  virtual void ShowDefaultTopic(const QString& helpFile) = 0;
  // Closes every help window.
  virtual void CloseAll() = 0;
};

// A text browser that takes its pages, pictures and style sheets from a help file, so the
// file's links are followed inside it.
class HelpBrowser : public QTextBrowser {
  Q_OBJECT
 public:
  explicit HelpBrowser(QWidget* parent = nullptr);
  // Takes over an opened file; topics are then shown with ShowTopic.
  void SetHelpFile(std::unique_ptr<HelpFile> file);
  const HelpFile* File() const { return file_.get(); }
  void ShowTopic(const std::string& objectPath);
  // A clicked link: pages of the file open here, web and mail links in the desktop's programs.
  void FollowLink(const QUrl& link);
  QVariant loadResource(int type, const QUrl& name) override;

 private:
  std::unique_ptr<HelpFile> file_;
};

// The help window: one top-level window with a browser, reused for every request. It belongs
// to no other window, so it stays usable while a dialog waits for an answer.
class HelpWindow : public QWidget {
  Q_OBJECT
 public:
  explicit HelpWindow(QWidget* parent = nullptr);
  HelpBrowser* Browser() const { return browser_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  HelpBrowser* browser_;
};

// Opens the file at each request (it may have been replaced meanwhile); a missing, unreadable or
// damaged file, even one that exhausts the memory, is reported through the user interaction.
class ChmHelpViewer : public HelpViewer {
 public:
  explicit ChmHelpViewer(ui::UserInteraction& ui) : ui_(ui) {}
  ~ChmHelpViewer() override;
  void ShowContext(const QString& helpFile, int context) override;
  void ShowDefaultTopic(const QString& helpFile) override;
  void CloseAll() override;
  HelpWindow* Window() const { return window_; }

 private:
  // False when neither the context's topic nor the default topic can be shown; problem then
  // says why the file could not be opened, when that was the reason.
  bool ShowTopic(const QString& helpFile, int context, QString& problem);

  ui::UserInteraction& ui_;
  QPointer<HelpWindow> window_;
};

// The message shown when the help file can't be opened, with the reason when one is known
// ("it is a named pipe").
QString HelpFileProblemText(const QString& helpFile, const QString& reason = QString());

}  // namespace app
