// The export dialog form as built: every control the captions name, of the right class and
// with the library's text (or a replacement's), controls in their zero state, names unique,
// the exporters' own values, and the format sheets shared between two pages.
#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>
#include <gtest/gtest.h>

#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/library_strings.h"
#include "export/vantrix3_html.h"
#include "export/vantrix3_latex.h"
#include "export/vantrix3_pdf.h"
#include "export/vantrix3_rtf.h"
#include "export/vantrix3_sql.h"
#include "fake_dialog_services.h"
#include "form_caption_expectations.h"
#include "platform/qt_text.h"
#include "ui/radio_group.h"

using namespace vantrix;
using captionexpect::Is;
using captionexpect::Kind;

namespace {

QString Str(int id) { return platform::FromCp1252(VantrixLoadStr(id)); }

QTabWidget* TabOf(QWidget* page) {
  for (QWidget* w = page->parentWidget(); w != nullptr; w = w->parentWidget())
    if (auto* tabs = qobject_cast<QTabWidget*>(w); tabs != nullptr && tabs->indexOf(page) >= 0) return tabs;
  return nullptr;
}

// The text a control shows for an entry of the table, or why the control is not as expected.
QString CheckControl(TVantrix3DialogF& form, const captionexpect::Expected& e) {
  const QString name = QString::fromLatin1(e.name);
  QObject* object = form.findChild<QObject*>(name);
  if (object == nullptr) return "missing";
  auto* widget = qobject_cast<QWidget*>(object);
  QStringList texts;
  switch (e.is) {
    case Is::Action: {
      auto* action = qobject_cast<QAction*>(object);
      if (action == nullptr) return "not a menu item";
      texts << action->text();
      break;
    }
    case Is::Page: {
      QTabWidget* tabs = widget != nullptr ? TabOf(widget) : nullptr;
      if (tabs == nullptr) return "not a tab page";
      texts << tabs->tabText(tabs->indexOf(widget));
      break;
    }
    case Is::Label:
      if (!qobject_cast<QLabel*>(object)) return "not a label";
      texts << qobject_cast<QLabel*>(object)->text();
      break;
    case Is::Button:
    case Is::Check:
    case Is::Radio: {
      auto* button = qobject_cast<QAbstractButton*>(object);
      if (button == nullptr) return "not a button";
      if (e.is == Is::Check && !qobject_cast<QCheckBox*>(object)) return "not a check box";
      if (e.is == Is::Radio && !qobject_cast<QRadioButton*>(object)) return "not a radio button";
      texts << (e.kind == Kind::Hint ? button->toolTip() : button->text());
      break;
    }
    case Is::Group: {
      auto* group = qobject_cast<QGroupBox*>(object);
      if (group == nullptr || qobject_cast<ui::TRadioGroup*>(object)) return "not a plain group";
      texts << group->title();
      break;
    }
    case Is::RadioGroup: {
      auto* group = qobject_cast<ui::TRadioGroup*>(object);
      if (group == nullptr) return "not a radio group";
      if (e.kind == Kind::Caption) {
        texts << group->title();
      } else {
        if (e.kind == Kind::ItemsAdded && group->Count() != static_cast<int>(e.ids.size())) return "item count";
        for (size_t i = 0; i < e.ids.size(); ++i) texts << group->ItemText(static_cast<int>(i));
      }
      break;
    }
    case Is::Combo: {
      auto* combo = qobject_cast<QComboBox*>(object);
      if (combo == nullptr) return "not a combo box";
      if (combo->count() != static_cast<int>(e.ids.size())) return "item count";
      for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
      break;
    }
  }
  QStringList expected;
  for (int id : e.ids) expected << Str(id);
  if (e.is == Is::RadioGroup && e.kind == Kind::Caption) expected = QStringList{Str(e.ids[0])};
  return texts == expected ? QString() : "texts " + texts.join('|') + " instead of " + expected.join('|');
}

class Form : public ::testing::Test {
 protected:
  void TearDown() override { VantrixLocale().UnloadDll(); }
  TVantrix3Dialog dialog;
};

}  // namespace

TEST_F(Form, EveryCaptionedControlExistsWithItsClassAndText) {
  TVantrix3DialogF form(dialog);
  for (const auto& e : captionexpect::Table()) EXPECT_EQ(CheckControl(form, e), QString()) << e.name;
  EXPECT_EQ(form.Control<QPushButton>("bStart")->text(), "&Start Export");
  EXPECT_EQ(form.Control<QPushButton>("bCancel")->text(), "&Close");
  auto* sizes = form.Control<QComboBox>("cbPDFPageFormat");
  ASSERT_EQ(sizes->count(), 9);
  EXPECT_EQ(sizes->itemText(8), "User");
  EXPECT_EQ(form.Control<ui::TRadioGroup>("rgXLSStripType")->Count(), 3);
  auto* align = form.Control<QComboBox>("cbxColumnAlign");
  EXPECT_EQ(align->count(), 3);
  EXPECT_EQ(align->itemText(1), "Center");  // 34115 before 34114
  EXPECT_EQ(align->itemText(2), "Right");
}

TEST_F(Form, AReplacementStringFileChangesEveryText) {
  QTemporaryDir dir;
  const QString path = dir.filePath("strings.txt");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  for (int id : BuiltInLibraryStringIds()) file.write(QByteArray::number(id) + "=T" + QByteArray::number(id) + "\n");
  file.close();
  ASSERT_TRUE(VantrixLocale().LoadDll(path.toStdString()));
  {
    TVantrix3DialogF form(dialog);
    for (const auto& e : captionexpect::Table()) EXPECT_EQ(CheckControl(form, e), QString()) << e.name;
    EXPECT_EQ(form.Control<QCheckBox>("chShowFile")->text(), "T34047");
    EXPECT_EQ(form.Control<ui::TRadioGroup>("rgRTFStripType")->ItemText(2), "T34130");
    EXPECT_EQ(form.Control<ui::TRadioGroup>("rgExportType")->ItemText(0), "T34052");
    // The captions grid's titles, by the columns the format has.
    form.SetExportType(aeRTF);
    form.rgExportTypeClick();
    QStringList titles;
    for (int c = 0; c < 4; ++c) titles << form.CaptionsGridTitle(c);
    EXPECT_EQ(titles, (QStringList{"Field name", "T34110", "T34112", "T34111"}));
    form.SetExportType(aeXLS);
    form.rgExportTypeClick();
    EXPECT_EQ(form.CaptionsGridTitle(2), "T34111");
    EXPECT_EQ(form.CaptionsGridTitle(3), "");
  }
  VantrixLocale().UnloadDll();
}

TEST_F(Form, ControlsStartInTheirZeroStateWithUniqueNames) {
  TVantrix3DialogF form(dialog);
  EXPECT_EQ(form.size(), QSize(470, 404));
  QSet<QString> names;
  int named = 0;
  for (QObject* o : form.findChildren<QObject*>()) {
    const QString name = o->objectName();
    // Qt's own parts (a tab bar's scroll buttons) carry names of their own.
    if (name.isEmpty() || name.startsWith("qt_") || !qobject_cast<QWidget*>(o) || qobject_cast<QTabBar*>(o->parent()))
      continue;
    ++named;
    EXPECT_FALSE(names.contains(name)) << "twice: " << name.toStdString();
    names.insert(name);
  }
  EXPECT_GT(named, 450);
  for (auto* check : form.findChildren<QCheckBox*>()) EXPECT_FALSE(check->isChecked()) << check->objectName().toStdString();
  for (auto* radio : form.findChildren<QRadioButton*>()) {
    if (radio->parentWidget()->objectName() == "rgExportType") continue;
    EXPECT_FALSE(radio->isChecked()) << radio->objectName().toStdString();
  }
  for (auto* edit : form.findChildren<QLineEdit*>()) {
    if (edit->objectName().isEmpty()) continue;  // a combo box's own edit
    EXPECT_TRUE(edit->text().isEmpty()) << edit->objectName().toStdString();
  }
  for (auto* combo : form.findChildren<QComboBox*>()) EXPECT_EQ(combo->currentIndex(), -1) << combo->objectName().toStdString();
  for (auto* memo : form.findChildren<QPlainTextEdit*>()) EXPECT_TRUE(memo->toPlainText().isEmpty());
}

TEST_F(Form, OnlyTheOfferedFormatsAreListed) {
  dialog.AllowedExports = TAllowedExports(1u << aeCSV | 1u << aeXML);
  TVantrix3DialogF form(dialog);
  auto* group = form.Control<ui::TRadioGroup>("rgExportType");
  ASSERT_EQ(group->Count(), 2);
  EXPECT_EQ(group->ItemText(0), "XML");
  EXPECT_EQ(group->ItemText(1), "CSV File");
  EXPECT_EQ(form.GetExportType(), aeXML);
  group->SetItemIndex(1);
  EXPECT_EQ(form.GetExportType(), aeCSV);
}

TEST_F(Form, ExportersCarryTheFormsOwnValues) {
  TVantrix3DialogF form(dialog);
  EXPECT_EQ(form.HTMLExp().Header, TStrings{"<br>"});
  EXPECT_EQ(form.HTMLExp().TableOptions.TableBgColor, 15497728u);
  EXPECT_EQ(form.HTMLExp().HTMLOptions.TextFont.color, 0xFFFFFFu);
  EXPECT_EQ(form.LaTeXExp().Options().CodePage(), 1252);
  EXPECT_EQ(form.SQLExp().NullValue(), "null");
  EXPECT_DOUBLE_EQ(form.PDFExp().Options().PageOptions.MarginLeft(), 1.17);
  EXPECT_DOUBLE_EQ(form.PDFExp().Options().PageOptions.MarginRight(), 0.57);
  const TRTFOptions& rtf = form.RTFExp().Options();
  EXPECT_TRUE(rtf.CaptionStyle.Font.HasStyle(fsBold));
  EXPECT_EQ(rtf.CaptionStyle.Alignment, talCenter);
  EXPECT_FALSE(rtf.DataStyle.Font.HasStyle(fsBold));
  const TxlsNoteFormat& note = form.XLSExp().Options.NoteFormat;
  EXPECT_EQ(note.Font.Name, u"Tahoma");
  EXPECT_TRUE(note.Font.Style.Has(xfsBold));
  EXPECT_EQ(note.Alignment.Vertical, valTop);
}

TEST_F(Form, FormatSheetsMoveBetweenTheDataFormatAndTheCellsPage) {
  TVantrix3DialogF form(dialog);
  auto* dataFormat = form.Control<QTabWidget>("pcXLSDataFormat");
  auto* cells = form.Control<QTabWidget>("pcXLSCells");
  ASSERT_EQ(dataFormat->count(), 4);
  ASSERT_EQ(cells->count(), 1);
  form.MoveXLSFormatSheets(cells, 1);
  EXPECT_EQ(dataFormat->count(), 1);
  ASSERT_EQ(cells->count(), 4);
  EXPECT_EQ(cells->widget(2)->objectName(), "tshXLSBorders");
  EXPECT_EQ(cells->tabText(3), "F&ill");
  form.MoveXLSFormatSheets(dataFormat, 0);
  EXPECT_EQ(dataFormat->widget(0)->objectName(), "tshXLSFont");
  EXPECT_EQ(dataFormat->tabText(1), "&Borders");
  EXPECT_EQ(dataFormat->widget(3)->objectName(), "tshXLSAggregate");
  EXPECT_EQ(cells->count(), 1);
}
