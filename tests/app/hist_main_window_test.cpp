// History files reaching the real main window: from the command line and dropped on it.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QCoreApplication>
#include <QDropEvent>
#include <QLabel>
#include <QFile>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include "app/help_viewer.h"
#include "ui/program_directory.h"
#include "app/program_forms.h"
#include "app/view_form.h"
#include "display/wizard/config_view_form.h"
#include "history/export_form.h"
#include "history/hist_config_form.h"
#include "history/hist_form.h"
#include "instrument/default_channel_names.h"
#include "ui/language_file.h"
#include "ui/print_service.h"
#include "history/history_text.h"
#include "environment_fixture.h"
#include "support/fake_user_interaction.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace {

using envtest::NoHelp;

// A history file of one reading in the folder, opened in the main window as from its
// command line.
void OpenOneReading(app::TViewForm& main, const QTemporaryDir& dir) {
  QFile file(dir.filePath(QStringLiteral("a.mpc")));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  const std::string text = history_test::Header() + history_test::Line(5, 10, 20, 30, 45, {"1", "2"});
  file.write(text.data(), static_cast<qint64>(text.size()));
  file.close();
  main.ProcessCommandLine({file.fileName()});
}

}  // namespace

// From the command line in argument order, each file that cannot be shown reported once;
// then one dropped on the window, whose popup menu carries the main window's captions and
// whose "Fechar" closes its MDI frame.
TEST(MainWindowOpensHistory, FromTheCommandLineAndDroppedOnTheWindow) {
  QTemporaryDir dir;
  testsupport::FakeUserInteraction ui;
  NoHelp help;
  ui::SetProgramDirectory(dir.path().toStdString());
  const std::unique_ptr<app::ProgramForms> forms = app::CreateProgramForms(ui, help);
  app::TViewForm& main = *forms->viewForm;
  const auto write = [&](const char* name, const std::string& text) {
    QFile file(dir.filePath(QString::fromLatin1(name)));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.data(), static_cast<qint64>(text.size()));
    return file.fileName();
  };
  const std::string good = history_test::Header() + history_test::Line(5, 8, 0, 0, 0, {"1", "2"});
  // The files of the history viewers in the MDI area, in their order.
  const auto viewers = [&] {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QStringList files;
    for (QWidget* child : main.ChildWindows())
      if (auto* viewer = qobject_cast<history::THistForm*>(child)) {
        EXPECT_EQ(viewer->SeriesPerRun(), 2u);
        files << viewer->windowTitle();
      }
    return files;
  };

  const QString a = write("a.mpc", good), b = write("B.MPC", good), broken = write("broken.mpc", " , \n , \n , \n");
  main.ProcessCommandLine({b, broken, dir.filePath(QStringLiteral("gone.mpc")), a});
  EXPECT_EQ(viewers(), (QStringList{b, a}));
  ASSERT_EQ(ui.messages.size(), 2);
  // What is wrong with the file, and where: its name and the line.
  EXPECT_TRUE(ui.messages[0].contains(broken + QStringLiteral("\nEste não é um arquivo de histórico.\nLinha 2: ")))
      << ui.messages[0].toStdString();

  const QString c = write("c.mpc", good);
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(c)});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&main, &enter);
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&main, &drop);
  ASSERT_EQ(viewers(), (QStringList{b, a, c}));
  EXPECT_EQ(ui.messages.size(), 2);
  auto* viewer = qobject_cast<history::THistForm*>(main.ChildWindows().value(2));
  ASSERT_NE(viewer, nullptr);
  EXPECT_NE(qobject_cast<QMdiSubWindow*>(viewer->parentWidget()), nullptr);
  QAction* close = viewer->PopupMenu()->findChild<QAction*>(QStringLiteral("Fechar"));
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(close->text(), main.MenuItemCaption(QStringLiteral("FecharJanela")));
  close->trigger();
  EXPECT_EQ(viewers(), (QStringList{b, a}));
}

// The main window's export command for the active viewer: the program's one export dialog,
// then the viewer's export and the main window's success message.
TEST(MainWindowExportsHistory, ThroughTheProgramsExportDialog) {
  QTemporaryDir dir;
  testsupport::FakeUserInteraction ui;
  NoHelp help;
  ui::SetProgramDirectory(dir.path().toStdString());
  const std::unique_ptr<app::ProgramForms> forms = app::CreateProgramForms(ui, help);
  app::TViewForm& main = *forms->viewForm;
  ASSERT_NE(forms->exportForm, nullptr);
  OpenOneReading(main, dir);
  ASSERT_EQ(main.ChildWindows().size(), 1);

  const QString out = dir.filePath(QStringLiteral("a.xml"));
  ui.onModal = [&](QDialog* dialog) {
    ASSERT_EQ(dialog, forms->exportForm);
    forms->exportForm->FileNameEdit()->setText(out);
    forms->exportForm->MilisecCheckBox()->click();  // no milliseconds
    forms->exportForm->OkBitBtn()->click();
  };
  main.findChild<QAction*>(QStringLiteral("ExportarHistorico"))->trigger();
  QFile xml(out);
  ASSERT_TRUE(xml.open(QIODevice::ReadOnly));
  const QByteArray written = xml.readAll();
  // The date in the locale's short form; the time without its milliseconds.
  EXPECT_TRUE(written.contains("Column1=\"10:20:30\" Column2=\"1\" Column3=\"2\"/>")) << written.toStdString();
  EXPECT_EQ(ui.messages.last(), main.GetExportSuccessMessage());

  // The viewer's own command shows the same dialog.
  auto* viewer = qobject_cast<history::THistForm*>(main.ChildWindows().value(0));
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(viewer->ExportDialog(), forms->exportForm);
}

// The main window's chart command for the active viewer runs the program's one pen dialog,
// whose captions are the wizard's and the device dialog's as the language file left them;
// its print command prints the viewer through the program's printer.
TEST(MainWindowConfiguresHistoryPens, ThroughTheProgramsPenDialogWithCopiedCaptionsAndPrints) {
  QTemporaryDir dir;
  testsupport::FakeUserInteraction ui;
  NoHelp help;
  ui::SetProgramDirectory(dir.path().toStdString());
  std::string language = std::string(TConfigViewForm::kLanguageHeading) + "\r\n";
  for (int n = 1; n <= 77; ++n) language += "Assistente " + std::to_string(n) + "\r\n";
  language += "# Form de Configura\xE7\xE3o do Aparelho\r\n";
  for (int n = 1; n <= 112; ++n) language += "Aparelho " + std::to_string(n) + "\r\n";
  language += "# Form de Configura\xE7\xE3o das Penas do Hist\xF3rico\r\nPenas\r\n";
  QFile trl(QString::fromStdString(ui::ProgramFilePath(ui::kLanguageFileName)));
  ASSERT_TRUE(trl.open(QIODevice::WriteOnly));
  trl.write(language.data(), static_cast<qint64>(language.size()));
  trl.close();
  auto pdf = std::make_unique<ui::PdfFilePrintService>(dir.filePath(QStringLiteral("printed.pdf")));
  ui::PdfFilePrintService* printer = pdf.get();
  const std::unique_ptr<app::ProgramForms> forms = app::CreateProgramForms(ui, help, std::move(pdf));
  app::TViewForm& main = *forms->viewForm;
  history::THistConfigForm* pens = forms->histConfigForm;
  ASSERT_NE(pens, nullptr);
  const TConfigViewForm& wizard = *forms->configViewForm;
  for (const char* name : {"LineThicknessLabel", "ColorTabSheet", "ColorButton", "BackColorButton"})
    EXPECT_TRUE(wizard.CaptionOf(QString::fromLatin1(name)).startsWith(QStringLiteral("Assistente "))) << name;
  EXPECT_EQ(pens->windowTitle(), QStringLiteral("Penas"));
  EXPECT_EQ(pens->LineThicknessLabel()->text(), wizard.CaptionOf(QStringLiteral("LineThicknessLabel")));
  EXPECT_EQ(pens->ColorsLabel()->text(), wizard.CaptionOf(QStringLiteral("ColorTabSheet")));
  EXPECT_EQ(pens->ApplyBitBtn()->text(), QStringLiteral("Aparelho 2"));
  EXPECT_EQ(pens->CloseBitBtn()->text(), QStringLiteral("Aparelho 3"));

  OpenOneReading(main, dir);
  ASSERT_EQ(main.ChildWindows().size(), 1);
  QStringList rows;
  ui.onModal = [&](QDialog* dialog) {
    ASSERT_EQ(dialog, pens);
    for (QPushButton* button : pens->RowButtons()) rows << button->text();
  };
  main.findChild<QAction*>(QStringLiteral("ConfigurarGraficoHistorico"))->trigger();
  ASSERT_EQ(rows.size(), 4);
  // Its print command prints through the program's printer.
  ASSERT_NE(printer, nullptr);
  main.findChild<QAction*>(QStringLiteral("Imprimir"))->trigger();
  EXPECT_EQ(printer->DialogCount(), 1);
  EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("printed.pdf"))));
  EXPECT_EQ(rows[0], wizard.CaptionOf(QStringLiteral("ColorButton")));
  EXPECT_EQ(rows[1], wizard.CaptionOf(QStringLiteral("BackColorButton")));
  ui::ProgramLanguage().Clear();
  RestoreBuiltInChannelNames();
}
