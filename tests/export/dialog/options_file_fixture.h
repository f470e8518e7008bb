#pragma once
// The options file suites' set-up: a form over a source of three columns (a time, a real
// temperature, a whole humidity), a folder for the files, and their bytes and layout.
#include <QComboBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "export/dialog/list_items.h"
#include "export/dialog/style_lists.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/vantrix3_pdf.h"
#include "dialog_form_fixture.h"

namespace optionstest {

using namespace vantrix;

class OptionsFile : public dialogtest::DialogFormTest {
 protected:
  OptionsFile() {
    for (const char* name : {"Time", "Temperature", "Humidity"}) source.Columns().Add()->SetColumnName(name);
    source.Columns().GetItem(1)->SetColumnType(ectFloat);
    source.Columns().GetItem(2)->SetColumnType(ectInteger);
  }

  std::string Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)).toStdString(); }

  static QByteArray Bytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  static void Write(const std::string& path, const char* text) {
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
  }

  QTreeWidget* List(const char* name) const { return form->Control<QTreeWidget>(name); }

  // Options that differ from the defaults on every page, so that a round trip carries them.
  void ChangeEverything() {
    form->SetFileName("/tmp/out/report.dat");
    form->SetShowFile(false);
    form->SetExportRecCount(7);
    form->SetSkipRecCount(2);
    form->SetIntegerFmt("#,##0");
    form->SetNullString("(null)");
    form->Control<QPlainTextEdit>("memHeader")->setPlainText("first\nsecond");
    form->Control<QPlainTextEdit>("memFooter")->setPlainText("end");
    form->Control<QTableWidget>("sgrCaptions")->item(1, 1)->setText("When");
    auto* formatFields = form->Control<QComboBox>("cbxFormatFields");
    formatFields->setCurrentIndex(formatFields->findText("Temperature"));
    form->cbxFormatFieldsChange();
    form->bAddUserFormatClick();
    List("lstAvailableFields")->setCurrentItem(List("lstAvailableFields")->topLevelItem(2));
    form->bAddOneExportedFieldClick();
    CorrectXLSFieldsList(*form);
    form->SetHTMLTitle("Readings");
    form->SetHTMLUseMultiFileExport(true);
    form->SetHTMLFileRecCount(50);
    form->SetHTMLHeadBackgroundColor(0x123456);
    form->SetCSVComma(';');
    form->SetCSVQuote('\'');
    form->SetSQLTableName("READINGS");
    form->SetTXTSpacing(3);
    form->SetRTFStripType(2);
    form->SetXLSSheetTitle("Sheet A");
    form->SetXMLEncoding("ISO-8859-1");
    TPDFOptions& pdf = form->PDFExp().Options();
    pdf.ColSpacing = 2.5;
    pdf.PageOptions.SetUnits(unMillimeter);
    pdf.PageOptions.SetOrientation(poLandscape);
    pdf.DataFont.FontSize = 14;
  }

  // "SECTION:key,key,..." per section, as Python's configparser reads the file.
  static QStringList ParsedLayout(const std::string& path) {
    QProcess python;
    python.start("/usr/bin/python3",
                 {"-c",
                  "import configparser,sys\n"
                  "c=configparser.ConfigParser(delimiters=('=',),interpolation=None,strict=False)\n"
                  "c.optionxform=str\n"
                  "c.read(sys.argv[1],encoding='cp1252')\n"
                  "for s in c.sections(): print(s+':'+','.join(c[s].keys()))\n",
                  QString::fromStdString(path)});
    if (!python.waitForFinished(60000) || python.exitCode() != 0) return {"python failed: " + python.readAllStandardError()};
    return QString::fromUtf8(python.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
  }

  static QStringList Sections(const QStringList& layout) {
    QStringList out;
    for (const QString& line : layout) out << line.section(':', 0, 0);
    return out;
  }

  static QString Keys(const QStringList& layout, const QString& section) {
    for (const QString& line : layout)
      if (line.section(':', 0, 0) == section) return line.section(':', 1);
    return "(missing)";
  }

  QTemporaryDir dir;
};

}  // namespace optionstest
