#include "export/dialog/vantrix3_dialog_form.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "export/dialog/dialog_captions.h"
#include "export/dialog/dialog_services.h"
#include "export/dialog/field_list_drops.h"
#include "export/dialog/form_widgets.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/xls_extensions_editor.h"
#include "export/dialog/xls_format_editor.h"
#include "export/vantrix3_ascii.h"
#include "export/vantrix3_clipboard.h"
#include "export/vantrix3_dbf.h"
#include "export/vantrix3_html.h"
#include "export/vantrix3_latex.h"
#include "export/vantrix3_pdf.h"
#include "export/vantrix3_rtf.h"
#include "export/vantrix3_sql.h"
#include "export/vantrix3_xml.h"
#include "export/xls/vantrix3_xls.h"
#include "platform/qt_text.h"
#include "ui/radio_group.h"

namespace vantrix {

namespace {

inline constexpr int kFormWidth = 470;
inline constexpr int kFormHeight = 404;

void SetArial(TVantrixFont& font, int points, uint32_t color, bool bold) {
  font.name = "Arial";
  font.size = points;
  font.color = color;
  font.styles = 0;
  EditFontStyle(font, fsBold, bold);
}

}  // namespace

TVantrix3DialogF::TVantrix3DialogF(TVantrix3Dialog& dialog, QWidget* parent) : QDialog(parent), dialog_(dialog) {
  setObjectName(QStringLiteral("Vantrix3DialogF"));
  setWindowTitle(QStringLiteral("Vantrix3DialogF"));
  setFixedSize(kFormWidth, kFormHeight);
  QFont small = font();
  small.setPointSize(8);
  setFont(small);
  MakeExporters();
  BuildFrame();
  SetCaptions();
  FillAllowedExports();
  ConnectHandlers();
  xlsExtensions_ = std::make_unique<TXLSExtensionsEditor>(*this);
  xlsFormatEditor_ = std::make_unique<TXLSFormatEditor>(*this);
  ConnectFieldListDrops(*this);
}

// The controls go with the widget part of the form, after the exporters and editors their
// handlers reach: an edit that loses the focus as it goes would run its handler on them.
TVantrix3DialogF::~TVantrix3DialogF() {
  for (QObject* control : findChildren<QObject*>()) QObject::disconnect(control, nullptr, this, nullptr);
}

// The values the form's exporters are set to where they differ from a new exporter's; the
// options the user sets are copied over them before each run.
void TVantrix3DialogF::MakeExporters() {
  clipExp_ = std::make_unique<TVantrix3Clipboard>();
  clipExp_->Separator = ',';
  clipExp_->ClipboardViewer = "Clipbrd.exe";

  htmlExp_ = std::make_unique<TVantrix3HTML>();
  htmlExp_->Header = {"<br>"};
  htmlExp_->Footer = {"<br>"};
  htmlExp_->TableOptions.HeadersRowBgColor = 0x0000FF;
  htmlExp_->TableOptions.HeadersRowFontColor = 0xFFFFFF;
  htmlExp_->TableOptions.TableBgColor = 15497728;
  htmlExp_->TableOptions.TableFontColor = 0xFFFFFF;
  htmlExp_->TableOptions.OddRowBgColor = 13527808;
  htmlExp_->HTMLOptions.BackgroundColor = 10040115;
  htmlExp_->HTMLOptions.LinkColor = 8253289;
  htmlExp_->HTMLOptions.VLinkColor = 0xFF00FF;
  htmlExp_->HTMLOptions.ALinkColor = 0x00FF00;
  SetArial(htmlExp_->HTMLOptions.TextFont, 8, 0xFFFFFF, false);  // 11 pixels high on the screen
  htmlExp_->HTMLOptions.DefaultOptions = DefaultOptionsOf({doFontSize});
  htmlExp_->Navigation.IndexLinkTitle = "Index";
  htmlExp_->Navigation.FirstLinkTitle = "First";
  htmlExp_->Navigation.PriorLinkTitle = "Prior";
  htmlExp_->Navigation.NextLinkTitle = "Next";
  htmlExp_->Navigation.LastLinkTitle = "Last";

  latexExp_ = std::make_unique<TVantrix3LaTeX>();
  latexExp_->Options().DocumentParams = "a4paper";
  // The text the exporters write is code page 1252: declaring another would turn its letters.
  latexExp_->Options().SetCodePage(1252);
  latexExp_->Options().Languages = "english";

  asciiExp_ = std::make_unique<TVantrix3ASCII>();
  asciiExp_->CSVComma = ',';

  xlsExp_ = std::make_unique<TVantrix3XLS>();
  xlsExp_->Options.PageFooter = u"Page &P of &N";
  xlsExp_->Options.SetSheetTitle("Sheet 1");
  xlsExp_->Options.CaptionsFormat.Font.Style.Include(xfsBold);
  xlsExp_->Options.HyperlinkFormat.Font.Color = clrBlue;
  xlsExp_->Options.HyperlinkFormat.Font.Underline = fulSingle;
  TxlsNoteFormat& note = xlsExp_->Options.NoteFormat;
  note.Alignment.Horizontal = halLeft;
  note.Alignment.Vertical = valTop;
  note.Font.Name = u"Tahoma";
  note.Font.Size = 8;
  note.Font.Style.Include(xfsBold);

  pdfExp_ = std::make_unique<TVantrix3PDF>();
  TVantrixPDFPageOptions& page = pdfExp_->Options().PageOptions;
  page.SetMarginLeft(1.17);
  page.SetMarginRight(0.57);
  page.SetMarginTop(0.78);
  page.SetMarginBottom(0.78);

  sqlExp_ = std::make_unique<TVantrix3SQL>();
  sqlExp_->SetNullValue("null");
  sqlExp_->CommitStatement = "COMMIT WORK;";

  xmlExp_ = std::make_unique<TVantrix3XML>();
  xmlExp_->Options().Version = "1.0";

  dbfExp_ = std::make_unique<TVantrix3DBF>();
  dbfExp_->SetNullValue("null");

  rtfExp_ = std::make_unique<TVantrix3RTF>();
  TRTFOptions& rtf = rtfExp_->Options();
  for (TrtfStyle* style : {&rtf.CaptionStyle, &rtf.DataStyle, &rtf.HeaderStyle, &rtf.FooterStyle})
    SetArial(style->Font, 10, 0x000000, false);  // 13 pixels high on the screen
  EditFontStyle(rtf.CaptionStyle.Font, fsBold, true);
  rtf.CaptionStyle.Alignment = talCenter;
}

void TVantrix3DialogF::BuildFrame() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(3);

  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(form::Label(this, "laFileName"));
  fileRow->addWidget(form::Edit(this, "edFileName"), 1);
  fileRow->addWidget(form::Button(this, "bBrowse", 70));
  layout->addLayout(fileRow);
  auto* checks = new QHBoxLayout;
  checks->addWidget(form::Check(this, "chShowFile"));
  checks->addWidget(form::Check(this, "chPrintFile"));
  checks->addStretch();
  layout->addLayout(checks);

  QTabWidget* pages = form::PageControl(this, "Pages");
  BuildExportTypePage(pages);
  BuildFieldsPage(pages);
  BuildFormatsPage(pages);
  BuildHeaderFooterPage(pages);
  BuildCaptionsPage(pages);
  BuildRTFPage(pages);
  BuildXMLPage(pages);
  BuildSQLPage(pages);
  BuildHTMLPage(pages);
  BuildXLSPage(pages);
  BuildASCIIPage(pages);
  BuildPDFPage(pages);
  // Each format's own page comes right after the export type page, where the format is
  // chosen (one of them shows at a time): at the form's width the tabs after the fifth sit
  // behind the tab bar's arrows, and the page the chosen format added would go unseen there.
  int at = 1;
  for (const char* name : {"tshRTF", "tshXML", "tshSQL", "tshHTML", "tshXLS", "tshASCII", "tshPDF"})
    pages->tabBar()->moveTab(pages->indexOf(findChild<QWidget*>(QString::fromLatin1(name))), at++);
  layout->addWidget(pages, 1);

  auto* buttons = new QHBoxLayout;
  QPushButton* tools = form::Button(this, "bTools", 70);
  auto* menu = new QMenu(tools);
  menu->setObjectName(QStringLiteral("pmTools"));
  menu->addAction(QString())->setObjectName(QStringLiteral("miLoadOptions"));
  menu->addAction(QString())->setObjectName(QStringLiteral("miSaveOptions"));
  tools->setEnabled(false);
  tools->setVisible(false);
  buttons->addWidget(tools);
  buttons->addStretch();
  QPushButton* start = form::Button(this, "bStart", 100);
  start->setDefault(true);
  start->setEnabled(false);
  buttons->addWidget(start);
  QPushButton* cancel = form::Button(this, "bCancel", 80);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
}

void TVantrix3DialogF::SetCaptions() { ApplyCaptions(this, DialogCaptionTable()); }

void TVantrix3DialogF::FillAllowedExports() {
  auto* group = Control<ui::TRadioGroup>("rgExportType");
  FillExportTypeStringArray();
  FillExportTypeFilterArray();
  QStringList names;
  QList<int> formats;
  for (int i = 0; i < kAllowedExportCount; ++i) {
    if (!dialog_.AllowedExports.Has(static_cast<TAllowedExport>(i))) continue;
    names << platform::FromCp1252(ExportTypeNames()[i]);
    formats << i;
  }
  group->SetItems(names);
  for (int i = 0; i < formats.size(); ++i) group->Button(i)->setProperty("allowedExport", formats[i]);
  group->SetItemIndex(0);
}

TAllowedExport TVantrix3DialogF::GetExportType() const {
  auto* group = Control<ui::TRadioGroup>("rgExportType");
  const int index = group->ItemIndex();
  if (index < 0) return aeXLS;
  return static_cast<TAllowedExport>(group->Button(index)->property("allowedExport").toInt());
}

void TVantrix3DialogF::MoveXLSFormatSheets(QTabWidget* target, int firstIndex) {
  const char* names[] = {"tshXLSFont", "tshXLSBorders", "tshXLSFill"};
  for (int i = 0; i < 3; ++i) {
    QWidget* sheet = Control<QWidget>(names[i]);
    QString text;
    for (QTabWidget* owner : {Control<QTabWidget>("pcXLSDataFormat"), Control<QTabWidget>("pcXLSCells")}) {
      const int at = owner->indexOf(sheet);
      if (at < 0) continue;
      text = owner->tabText(at);
      owner->removeTab(at);
    }
    target->insertTab(firstIndex + i, sheet, text);
  }
}

void TVantrix3DialogF::ShowErrorText(const QString& text) {
  MessageRequest error;
  error.caption = windowTitle();
  error.text = text;
  error.icon = MessageIcon::Error;
  dialog_.Services().Message(this, error);
}

}  // namespace vantrix
