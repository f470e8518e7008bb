#include "tools/export_table/dialog_mode.h"

#include <QApplication>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QPainter>
#include <QPixmap>
#include <QStackedWidget>
#include <QTabWidget>
#include <cstdio>
#include <memory>

#include "export/dialog/dialog_services.h"
#include "export/dialog/progress_window.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/format_settings.h"
#include "platform/cp1252.h"
#include "tools/export_table/generated_table.h"

namespace exporttable {

namespace {

// The real dialogs, except that the form is photographed page by page instead of run.
class PhotographingServices : public vantrix::DialogServices {
 public:
  explicit PhotographingServices(QString dir) : dir_(std::move(dir)) {}

  vantrix::MessageAnswer Message(QWidget* p, const vantrix::MessageRequest& r) override {
    return Real().Message(p, r);
  }
  std::optional<QString> InputBox(QWidget* p, const QString& c, const QString& t, const QString& i) override {
    return Real().InputBox(p, c, t, i);
  }
  std::optional<QString> OpenFile(QWidget* p, const vantrix::FileRequest& r) override { return Real().OpenFile(p, r); }
  std::optional<QString> SaveFile(QWidget* p, const vantrix::FileRequest& r) override { return Real().SaveFile(p, r); }
  std::optional<uint32_t> ChooseColor(QWidget* p, uint32_t c) override { return Real().ChooseColor(p, c); }
  std::optional<vantrix::TVantrixFont> ChooseFont(QWidget* p, const vantrix::TVantrixFont& f) override {
    return Real().ChooseFont(p, f);
  }
  vantrix::TVantrixShell& Shell() override { return Real().Shell(); }

  // Every page of every page control and of the extension stack, each made visible by
  // turning every page control above it to it.
  int RunModal(QDialog* dialog) override {
    dialog->show();
    auto* pages = dialog->findChild<QTabWidget*>(QStringLiteral("Pages"));
    for (int i = 0; i < pages->count(); ++i) pages->setTabVisible(i, true);
    QList<QWidget*> shown;
    for (QTabWidget* tabs : dialog->findChildren<QTabWidget*>())
      for (int k = 0; k < tabs->count(); ++k) shown << tabs->widget(k);
    if (auto* stack = dialog->findChild<QStackedWidget*>(QStringLiteral("pcXLSExtensions")))
      for (int k = 0; k < stack->count(); ++k) shown << stack->widget(k);
    for (QWidget* page : shown) {
      Reveal(page);
      Save(dialog, page->objectName());
    }
    SaveContactSheets();
    return QDialog::Rejected;
  }

  int saved = 0;

 private:
  static vantrix::DialogServices& Real() { return vantrix::DefaultDialogServices(); }

  static void Reveal(QWidget* page) {
    for (QWidget* w = page->parentWidget(); w != nullptr; w = w->parentWidget()) {
      if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
        for (int k = 0; k < tabs->count(); ++k)
          if (tabs->widget(k) == page || tabs->widget(k)->isAncestorOf(page)) tabs->setCurrentIndex(k);
      }
      auto* stack = qobject_cast<QStackedWidget*>(w);
      if (stack != nullptr && stack->objectName() == QStringLiteral("pcXLSExtensions")) {
        for (int k = 0; k < stack->count(); ++k)
          if (stack->widget(k) == page || stack->widget(k)->isAncestorOf(page)) stack->setCurrentIndex(k);
      }
    }
  }

  void Save(QDialog* dialog, const QString& name) {
    QCoreApplication::processEvents();
    const QPixmap picture = dialog->grab();
    if (picture.save(dir_ + QLatin1Char('/') + name + QStringLiteral(".png"))) ++saved;
    pictures_ << picture;
  }

  // Four pages to a picture, to look over the whole dialog at a glance.
  void SaveContactSheets() {
    for (int first = 0; first < pictures_.size(); first += 4) {
      const QSize size = pictures_[first].size();
      QPixmap sheet(size.width() * 2 + 4, size.height() * 2 + 4);
      sheet.fill(Qt::darkGray);
      QPainter painter(&sheet);
      for (int k = 0; k < 4 && first + k < pictures_.size(); ++k)
        painter.drawPixmap((k % 2) * (size.width() + 4), (k / 2) * (size.height() + 4), pictures_[first + k]);
      painter.end();
      sheet.save(QStringLiteral("%1/sheet_%2.png").arg(dir_).arg(first / 4 + 1, 2, 10, QChar('0')));
    }
  }

  QString dir_;
  QList<QPixmap> pictures_;
};

// The real dialogs, except that the form is driven: the format chosen, the file name typed,
// Start pressed, the progress window's button pressed once the run is over, and then, when
// asked, the options saved from the Tools menu. A question during the run is answered No (the
// run goes on); an error message is kept and printed; a warning (what a workbook had to leave
// out) is printed as it comes.
class DrivingServices : public vantrix::DialogServices {
 public:
  DrivingServices(vantrix::TAllowedExport format, QString output, QString saveOptions)
      : format_(format), output_(std::move(output)), saveOptions_(std::move(saveOptions)) {}

  vantrix::MessageAnswer Message(QWidget*, const vantrix::MessageRequest& r) override {
    if (r.icon == vantrix::MessageIcon::Error) errors << r.text;
    if (r.icon == vantrix::MessageIcon::Warning)
      for (const QString& line : r.text.split(QLatin1Char('\n')))
        std::fprintf(stderr, "export_table: %s\n", line.toUtf8().constData());
    return r.yesNo ? vantrix::MessageAnswer::No : vantrix::MessageAnswer::Ok;
  }
  std::optional<QString> InputBox(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
  std::optional<QString> OpenFile(QWidget*, const vantrix::FileRequest&) override { return {}; }
  // Only the options file is ever chosen to save to.
  std::optional<QString> SaveFile(QWidget*, const vantrix::FileRequest&) override {
    if (saveOptions_.isEmpty()) return {};
    return saveOptions_;
  }
  std::optional<uint32_t> ChooseColor(QWidget*, uint32_t) override { return {}; }
  std::optional<vantrix::TVantrixFont> ChooseFont(QWidget*, const vantrix::TVantrixFont&) override { return {}; }
  vantrix::TVantrixShell& Shell() override { return vantrix::DefaultDialogServices().Shell(); }

  int RunModal(QDialog* dialog) override {
    auto* form = static_cast<vantrix::TVantrix3DialogF*>(dialog);
    dialog->show();
    // An options file loaded as the form started may have chosen the format already: chosen
    // again, the captions grid would be built afresh and lose the file's widths and alignments.
    if (form->GetExportType() != format_) {
      form->SetExportType(format_);
      form->rgExportTypeClick();
    }
    if (format_ != vantrix::aeClipboard) {
      auto* edit = form->Control<QLineEdit>("edFileName");
      edit->selectAll();
      edit->insert(output_);  // as typed: the edit's handler takes the name
    }
    form->SetShowFile(false);
    QTimer presser;
    QObject::connect(&presser, &QTimer::timeout, [form] {
      vantrix::TfmVantrix3Progress* progress = form->ProgressWindow();
      if (progress != nullptr && (progress->Status() == vantrix::estEnd || progress->Status() == vantrix::estAbort))
        progress->ButtonClick();
    });
    presser.start(10);
    auto* start = form->Control<QPushButton>("bStart");
    if (!start->isEnabled()) errors << QStringLiteral("the Start button is disabled");
    else start->click();
    if (!saveOptions_.isEmpty()) SaveOptions(*form);
    return QDialog::Accepted;
  }

  QStringList errors;

 private:
  // The save item of the Tools button's menu is chosen (the menu itself is not popped up: a
  // platform without windows has nothing to show it on).
  void SaveOptions(vantrix::TVantrix3DialogF& form) {
    auto* tools = form.Control<QPushButton>("bTools");
    auto* save = form.Control<QAction>("miSaveOptions");
    if (!tools->isVisible() || !tools->isEnabled() || !save->isVisible() || !save->isEnabled()) {
      errors << QStringLiteral("the Tools menu offers no saving of the options");
      return;
    }
    save->trigger();
  }

  vantrix::TAllowedExport format_;
  QString output_;
  QString saveOptions_;
};

}  // namespace

int RunExportDialog(int argc, char** argv, int rows, const std::string& screenshotDir, const std::string& runFormat,
                    const std::string& output, const std::string& optionsFile, const std::string& saveOptionsFile) {
  if (!runFormat.empty() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (!screenshotDir.empty() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
      qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  GeneratedTable table(rows, vantrix::DefaultFormatSettings());
  vantrix::TVantrix3Dialog dialog;
  dialog.ExportSource = vantrix::esCustom;
  dialog.SetCustomSource(&table.Source());
  dialog.FileName = "table.xls";
  dialog.OptionsFileName = optionsFile;
  dialog.AutoLoadOptions = !optionsFile.empty();
  // The Tools menu, to save the options a person tried and open the dialog with them again.
  dialog.SaveLoadButtons = true;
  PhotographingServices photographer(QString::fromStdString(screenshotDir));
  std::unique_ptr<DrivingServices> driver;
  if (!runFormat.empty()) {
    int format = -1;
    for (int i = 0; i < vantrix::kAllowedExportCount; ++i)
      if (vantrix::ExportTypeExtensions()[i] == runFormat) format = i;
    if (runFormat == "clipboard") format = vantrix::aeClipboard;
    if (format < 0 || (format != vantrix::aeClipboard && output.empty())) {
      std::fprintf(stderr, "export_table: --dialog --format takes a file extension of the dialog's formats or "
                           "clipboard, and --output FILE\n");
      return 2;
    }
    driver = std::make_unique<DrivingServices>(static_cast<vantrix::TAllowedExport>(format),
                                               QString::fromStdString(output), QFile::decodeName(saveOptionsFile.c_str()));
    dialog.SetServices(driver.get());
  } else if (!screenshotDir.empty()) {
    QDir().mkpath(QString::fromStdString(screenshotDir));
    dialog.SetServices(&photographer);
  }
  try {
    dialog.Execute();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "export_table: %s\n", platform::Cp1252ToUtf8(e.what()).c_str());
    return 1;
  }
  if (driver != nullptr) {
    for (const QString& error : driver->errors) std::fprintf(stderr, "export_table: %s\n", error.toUtf8().constData());
    return driver->errors.isEmpty() ? 0 : 1;
  }
  if (!screenshotDir.empty()) std::fprintf(stderr, "export_table: %d pictures in %s\n", photographer.saved,
                                           screenshotDir.c_str());
  return 0;
}

}  // namespace exporttable
