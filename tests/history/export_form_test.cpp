// The export file dialog offscreen (its enabling rules, the save dialog it asks for, what it
// accepts, its language section) and the viewer's export command through it.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <sys/stat.h>

#include <functional>
#include <optional>
#include <string>

#include "hist_form_fixture.h"
#include "history/export_form.h"
#include "history/history_text.h"
#include "support/another_user.h"

namespace {

using history::TExportForm;

// The icon of the message box that `show` puts up, closed as soon as it is there.
QMessageBox::Icon IconOfTheBoxShownBy(const std::function<void()>& show) {
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QTimer look;
  QObject::connect(&look, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      icon = box->icon();
      box->close();
    }
  });
  look.start(10);
  show();
  return icon;
}

class ExportFormTest : public HistFormTest {
 protected:
  // The dialog's answer: the file name typed, then the button pressed.
  void Answer(const QString& fileName, bool ok = true) {
    ui_.onModal = [fileName, ok](QDialog* dialog) {
      auto* form = qobject_cast<TExportForm*>(dialog);
      form->FileNameEdit()->setText(fileName);
      (ok ? form->OkBitBtn() : form->CancelBitBtn())->click();
    };
  }
  TExportForm dialog_{ui_};
};

TEST_F(ExportFormTest, TheSeparatorCountsOnlyWhileTheMillisecondsStayInTheTimeColumn) {
  TExportForm& f = dialog_;
  EXPECT_EQ(f.windowTitle(), QStringLiteral("Exportar..."));
  EXPECT_TRUE(f.MilisecCheckBox()->isChecked());
  EXPECT_FALSE(f.SepColCheckBox()->isChecked());
  EXPECT_EQ(f.SeparatorEdit()->text(), QStringLiteral("."));
  EXPECT_EQ(f.SeparatorEdit()->maxLength(), 1);
  EXPECT_TRUE(f.FileNameEdit()->text().isEmpty());
  auto enabled = [&] {
    return QString("%1%2%3").arg(f.SepColCheckBox()->isEnabled()).arg(f.SeparatorEdit()->isEnabled()).arg(
        f.MsecSeparator()->isEnabled());
  };
  EXPECT_EQ(enabled(), "111");
  f.SepColCheckBox()->click();
  EXPECT_EQ(enabled(), "100");
  f.MilisecCheckBox()->click();
  EXPECT_EQ(enabled(), "000");
  f.MilisecCheckBox()->click();  // both checked: still no separator
  EXPECT_EQ(enabled(), "100");
  f.SepColCheckBox()->click();
  EXPECT_EQ(enabled(), "111");
  EXPECT_TRUE(f.IncludeMilliseconds());
  f.SeparatorEdit()->clear();
  EXPECT_EQ(f.Separator(), QChar('.'));
}

TEST_F(ExportFormTest, AcceptedOnlyWithAFileNameAndChosenThroughTheSaveDialog) {
  const QString a = dir_.filePath(QStringLiteral("a.csv"));
  Answer(QString());
  EXPECT_FALSE(dialog_.Execute());
  Answer(a);
  EXPECT_TRUE(dialog_.Execute());
  EXPECT_EQ(dialog_.FileName(), a);
  Answer(a, false);
  EXPECT_FALSE(dialog_.Execute());  // cancelled: an earlier acceptance doesn't count
  EXPECT_EQ(ui_.log.filter(QStringLiteral("modal|ExportForm")).size(), 3);

  ui_.files = {QStringLiteral("/data/run.txt")};
  dialog_.ChangeFileButton()->click();
  ASSERT_EQ(ui_.fileRequests.size(), 1u);
  EXPECT_EQ(ui_.fileRequests[0].filter,
            QStringLiteral("MS Excel (*.xls)|*.xls|Acrobat (*.pdf)|*.pdf|MS Word (*.rtf)|*.rtf|"
                           "Arquivo XML (*.xml)|*.xml|"
                           "Arquivo HTML (*.html)|*.html|Arquivo DBF (*.dbf)|*.dbf|Arquivo Texto (*.txt)|*.txt|"
                           "Arquivo CSV (*.csv)|*.csv"));
  EXPECT_EQ(ui_.fileRequests[0].defaultSuffix, QStringLiteral("xls"));
  EXPECT_EQ(ui_.fileRequests[0].filterIndex, 1);
  EXPECT_EQ(dialog_.FileName(), QStringLiteral("/data/run.txt"));
  dialog_.ChangeFileButton()->click();  // cancelled: the name stays
  EXPECT_EQ(dialog_.FileName(), QStringLiteral("/data/run.txt"));
}

// OK without a name says what is missing, and OK on a file that exists asks before it is
// replaced; either way the dialog stays open for the user to go on.
TEST_F(ExportFormTest, OkSaysWhatIsMissingAndAsksBeforeReplacingAFile) {
  const QString existing = Write("old"), fresh = dir_.filePath(QStringLiteral("new.csv"));
  std::vector<bool> acceptedAfterEachOk;
  auto pressOk = [&](TExportForm* form, const QString& name) {
    form->FileNameEdit()->setText(name);
    form->OkBitBtn()->click();
    acceptedAfterEachOk.push_back(form->IsAccepted());
  };
  ui_.onModal = [&](QDialog* dialog) {
    auto* form = qobject_cast<TExportForm*>(dialog);
    pressOk(form, QString());
    pressOk(form, QStringLiteral("  "));
    pressOk(form, fresh);
  };
  EXPECT_TRUE(dialog_.Execute());
  EXPECT_EQ(acceptedAfterEachOk, (std::vector<bool>{false, false, true}));
  const QString missing = QStringLiteral("warning|Exportar...|Informe o nome do arquivo para o qual exportar.");
  EXPECT_EQ(ui_.log, (QStringList{"modal|ExportForm", missing, missing}));

  // No, then Yes, to replacing the file.
  ui_.log.clear();
  acceptedAfterEachOk.clear();
  ui_.answers = {false, true};
  ui_.onModal = [&](QDialog* dialog) {
    auto* form = qobject_cast<TExportForm*>(dialog);
    pressOk(form, existing);
    pressOk(form, existing);
  };
  EXPECT_TRUE(dialog_.Execute());
  EXPECT_EQ(acceptedAfterEachOk, (std::vector<bool>{false, true}));
  const QString replace = QStringLiteral("ask|Exportar...|O arquivo \"h1.mpc\" já existe. Deseja substituí-lo?");
  EXPECT_EQ(ui_.log, (QStringList{"modal|ExportForm", replace, replace}));

  // What the export would refuse is told at once, as an error, and never offered for replacing.
  const QString pipe = dir_.filePath(QStringLiteral("pipe.csv")), folder = dir_.filePath(QStringLiteral("pasta.csv"));
  ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  ASSERT_TRUE(QDir().mkdir(folder));
  ui_.log.clear();
  acceptedAfterEachOk.clear();
  ui_.answers = {true, true};
  ui_.onModal = [&](QDialog* dialog) {
    auto* form = qobject_cast<TExportForm*>(dialog);
    pressOk(form, pipe);
    pressOk(form, folder);
    pressOk(form, fresh);
  };
  EXPECT_TRUE(dialog_.Execute());
  EXPECT_EQ(acceptedAfterEachOk, (std::vector<bool>{false, false, true}));
  const QString refused = QStringLiteral("error|Exportar...|N\u00E3o foi poss\u00EDvel exportar para \"%1\".\n"
                                         "Cannot create the file \"%1\": it is %2, and only a regular file is replaced");
  EXPECT_EQ(ui_.log, (QStringList{"modal|ExportForm", refused.arg(pipe, "a named pipe"), refused.arg(folder, "a folder")}));

  // A file its user may write, in a folder where the export cannot make the new file beside it:
  // refused at once too, since a Yes would only meet the export's failure. Root, whom the
  // folder's mode does not stop, works as nobody in root's folder.
  const QString closed = dir_.filePath(QStringLiteral("fechada")), inside = closed + QStringLiteral("/dados.csv");
  ASSERT_EQ(chmod(QFile::encodeName(dir_.path()).constData(), 0755), 0);
  ASSERT_TRUE(QDir().mkdir(closed));
  QFile(inside).open(QIODevice::WriteOnly);
  ASSERT_EQ(chmod(QFile::encodeName(inside).constData(), 0666), 0);
  if (!testsupport::WorkRunsAsAnotherUser()) {
    ASSERT_EQ(chmod(QFile::encodeName(closed).constData(), 0555), 0);
  }
  bool cannotSwitch = false;
  const std::optional<std::string> said = testsupport::RunAsAnotherUser([&] {
    ui_.log.clear();
    ui_.answers = {true};
    dialog_.FileNameEdit()->setText(inside);
    dialog_.OkBitBtn()->click();
    return ui_.log.join('|').toStdString();
  }, &cannotSwitch);
  chmod(QFile::encodeName(closed).constData(), 0755);
  if (!cannotSwitch) {
    ASSERT_TRUE(said.has_value());
    EXPECT_EQ(QString::fromStdString(*said),
              QStringLiteral("error|Exportar...|N\u00E3o foi poss\u00EDvel exportar para \"%1\".\n"
                             "Cannot create the file \"%1\": cannot create a file beside it: Permission denied")
                  .arg(inside));
  }

  // The viewer's export over a file the user keeps: nothing written, nothing said done.
  ASSERT_TRUE(Open(history_test::Header() + history_test::Line(5, 10, 20, 30, 45, {"12.5", "40"})));
  form_.SetExportDialog(&dialog_);
  const QString kept = dir_.filePath(QStringLiteral("kept.csv"));
  QFile(kept).open(QIODevice::WriteOnly);
  ui_.log.clear();
  ui_.answers = {false};
  Answer(kept);
  QMetaObject::invokeMethod(&form_, "ExportarClick");
  EXPECT_EQ(QFileInfo(kept).size(), 0);
  ASSERT_EQ(ui_.log.size(), 2);
  EXPECT_TRUE(ui_.log[1].startsWith(QStringLiteral("ask|"))) << ui_.log[1].toStdString();
}

TEST_F(ExportFormTest, TheLanguageSectionRenamesControlsAndFormats) {
  std::string section = "# Form de Configura\xE7\xE3o da Exporta\xE7\xE3o\r\nExport...\r\nFile\r\nMilliseconds\r\n"
                        "Own column\r\nSeparator:\r\nOk\r\nCancel\r\n";
  for (int i = 1; i <= 8; ++i) section += "F" + std::to_string(i) + "\r\n";
  ui::ProgramLanguage().LoadFromText(section);
  TExportForm translated(ui_);
  EXPECT_EQ(translated.windowTitle(), QStringLiteral("Export..."));
  EXPECT_EQ(translated.FileLabel()->text(), QStringLiteral("File"));
  EXPECT_EQ(translated.MilisecCheckBox()->text(), QStringLiteral("Milliseconds"));
  EXPECT_EQ(translated.SepColCheckBox()->text(), QStringLiteral("Own column"));
  EXPECT_EQ(translated.MsecSeparator()->text(), QStringLiteral("Separator:"));
  EXPECT_EQ(translated.OkBitBtn()->text(), QStringLiteral("Ok"));
  EXPECT_EQ(translated.CancelBitBtn()->text(), QStringLiteral("Cancel"));
  EXPECT_TRUE(translated.Filter().startsWith(QStringLiteral("F1 (*.xls)|*.xls|F2 (*.pdf)|")));
  EXPECT_TRUE(translated.Filter().endsWith(QStringLiteral("F8 (*.csv)|*.csv")));
}

TEST_F(ExportFormTest, TheViewersExportCommandWritesTheFileAndSaysSo) {
  ASSERT_TRUE(Open(history_test::Header() + history_test::Line(5, 10, 20, 30, 45, {"12.5", "40"})));
  form_.SetExportDialog(&dialog_);
  const QString csv = dir_.filePath(QStringLiteral("out.CSV"));
  Answer(csv);
  dialog_.SepColCheckBox()->click();
  QMetaObject::invokeMethod(&form_, "ExportarClick");
  QFile file(csv);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.readAll().endsWith("\"05/12/2026\";\"10:20:30\";\"045\";\"12.5\";\"40\"\r\n"));
  EXPECT_EQ(ui_.messages, QStringList{QString::fromUtf8("Exportação efetuada com sucesso!")});

  // A format no exporter takes: told so, and no success.
  ui_.messages.clear();
  Answer(dir_.filePath(QStringLiteral("out.ods")));
  QMetaObject::invokeMethod(&form_, "ExportarClick");
  ASSERT_EQ(ui_.messages.size(), 1);
  EXPECT_TRUE(ui_.messages[0].contains(QStringLiteral("formato desconhecido"))) << ui_.messages[0].toStdString();
  EXPECT_TRUE(ui_.log.last().startsWith(QStringLiteral("error|Tervana|"))) << ui_.log.last().toStdString();
  EXPECT_FALSE(QFile::exists(dir_.filePath(QStringLiteral("out.ods"))));

  // Cancelled: nothing at all.
  ui_.messages.clear();
  Answer(dir_.filePath(QStringLiteral("other.csv")), false);
  QMetaObject::invokeMethod(&form_, "ExportarClick");
  EXPECT_TRUE(ui_.messages.isEmpty());
  EXPECT_FALSE(QFile::exists(dir_.filePath(QStringLiteral("other.csv"))));
}

// As the user sees them: a name left out is a warning, to put right in the dialog; an export
// that failed is an error. Both once showed the warning icon.
TEST_F(ExportFormTest, AFailedExportIsAnErrorAndAMissingNameAWarning) {
  ui::QtUserInteraction program;
  TExportForm dialog(program);
  EXPECT_EQ(IconOfTheBoxShownBy([&] { dialog.OkBitBtn()->click(); }), QMessageBox::Warning);
  EXPECT_FALSE(dialog.IsAccepted());

  history::THistForm viewer(program);
  ASSERT_TRUE(viewer.OpenFile(Write(history_test::Header() + history_test::Line(5, 10, 20, 30, 45, {"12.5", "40"}))));
  // A folder that cannot be made: a file holds its name.
  const QString nowhere = Write("not a folder") + QStringLiteral("/out.csv");
  bool exported = true;
  EXPECT_EQ(IconOfTheBoxShownBy([&] { exported = viewer.ExportTable(nowhere, false, false, QLatin1Char('.')); }),
            QMessageBox::Critical);
  EXPECT_FALSE(exported);
}

}  // namespace
