// The dialog form's core: copying the dialog's options into the form, the chosen format and
// the pages that follow from it, the destination file name and the title, the standard
// formats and the HTML colours.
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>

#include "export/dialog/dialog_services.h"
#include "export/dialog/vantrix3_dialog.h"
#include "export/dialog/vantrix3_dialog_form.h"
#include "export/dialog/xls_format_editor.h"
#include "export/library_strings.h"
#include "export/dialog/form_rules.h"
#include "export/vantrix3_html.h"
#include "export/vantrix3_pdf.h"
#include "platform/qt_text.h"
#include "ui/radio_group.h"

namespace vantrix {

namespace {

// No colour value (they are 0x00BBGGRR): a stored colour that any colour differs from.
inline constexpr uint32_t kNoColor = 0xFFFFFFFF;

QStringList Lines(const TStrings& lines) {
  QStringList out;
  for (const std::string& line : lines) out << platform::FromCp1252(line);
  return out;
}

void WriteMemo(QPlainTextEdit* memo, const TStrings& lines) {
  const QSignalBlocker block(memo);
  memo->setPlainText(Lines(lines).join(QLatin1Char('\n')));
}

std::string JoinLines(const TStrings& lines) {
  std::string out;
  for (size_t i = 0; i < lines.size(); ++i) out += (i > 0 ? "\n" : "") + lines[i];
  return out;
}

void FillFontList(QComboBox* combo) {
  if (combo == nullptr) return;
  const QSignalBlocker block(combo);
  combo->clear();
  combo->addItems(QFontDatabase::families());
}

// The pages of each format besides the export-type page, which every format has.
struct FormatPages {
  TAllowedExport format;
  std::initializer_list<const char*> pages;
};

const FormatPages kFormatPages[] = {
    {aeXLS, {"tshFields", "tshFormats", "tshHeaderFooter", "tshCaptions", "tshXLS"}},
    {aeWord, {"tshFields", "tshFormats", "tshHeaderFooter", "tshCaptions", "tshRTF"}},
    {aeRTF, {"tshFields", "tshFormats", "tshHeaderFooter", "tshCaptions", "tshRTF"}},
    {aeHTML, {"tshFields", "tshFormats", "tshHeaderFooter", "tshCaptions", "tshHTML"}},
    {aeXML, {"tshFields", "tshFormats", "tshXML"}},
    {aeDBF, {"tshFields"}},
    {aePDF, {"tshFields", "tshFormats", "tshHeaderFooter", "tshCaptions", "tshPDF"}},
    {aeTXT, {"tshFields", "tshFormats", "tshHeaderFooter", "tshCaptions", "tshASCII"}},
    {aeCSV, {"tshFields", "tshFormats", "tshHeaderFooter", "tshCaptions", "tshASCII"}},
    {aeDIFF, {"tshFields", "tshFormats", "tshHeaderFooter", "tshCaptions"}},
    {aeSylk, {"tshFields", "tshFormats", "tshHeaderFooter", "tshCaptions"}},
    {aeLaTeX, {"tshFields", "tshFormats", "tshHeaderFooter", "tshCaptions"}},
    {aeSQL, {"tshFields", "tshHeaderFooter", "tshSQL"}},
    {aeClipboard, {"tshFields", "tshFormats", "tshHeaderFooter", "tshCaptions"}},
};

}  // namespace

bool PageFitsFormat(const QString& page, TAllowedExport format) {
  if (page == QLatin1String("tshExportType")) return true;
  for (const FormatPages& entry : kFormatPages) {
    if (entry.format != format) continue;
    for (const char* name : entry.pages)
      if (page == QLatin1String(name)) return true;
  }
  return false;
}

std::string ReplaceFileExtension(const std::string& fileName, const std::string& extension) {
  const size_t slash = fileName.find_last_of('/');
  const size_t start = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = fileName.find_last_of('.');
  const size_t cut = dot != std::string::npos && dot >= start ? dot : fileName.size();
  return fileName.substr(0, cut) + "." + extension;
}

void TVantrix3DialogF::InitializeDialog() {
  TVantrix3Dialog& d = dialog_;
  ShowStartValues();
  // 1. The format table, the first pages, the file name edit first.
  FillExportTypeStringArray();
  FillExportTypeFilterArray();
  auto* pages = Control<QTabWidget>("Pages");
  pages->setCurrentWidget(Control<QWidget>("tshExportType"));
  auto* typePages = Control<QTabWidget>("pcExportType");
  typePages->setCurrentWidget(Control<QWidget>("tshExportFormats"));
  Control<QLineEdit>("edFileName")->setFocus();
  // 2. The constraints page only when the dialog offers it.
  typePages->setTabVisible(typePages->indexOf(Control<QWidget>("tshExportOptions")), d.CommonOptions.Has(coOptions));
  // 3. Fields, formats, header and footer, texts.
  FillFields();
  ResetStandardFormats();
  WriteMemo(Control<QPlainTextEdit>("memHeader"), d.Header);
  WriteMemo(Control<QPlainTextEdit>("memFooter"), d.Footer);
  SetCaptions();
  // 4. The common options.
  SetFileName(d.FileName);
  SetShowFile(d.ShowFile);
  SetPrintFile(d.PrintFile);
  SetOptionsFileName(d.OptionsFileName);
  SetGoToFirstRecord(d.GoToFirstRecord);
  SetCurrentRecordOnly(d.CurrentRecordOnly);
  SetExportEmpty(d.ExportEmpty);
  SetExportRecCount(d.ExportRecCount);
  SetSkipRecCount(d.SkipRecCount);
  // 5. The formats offered and the pages of the first one.
  FillAllowedExports();
  rgExportTypeClick();
  {
    const bool only = d.ExportRecCount > 0;
    const QSignalBlocker b1(Control<QRadioButton>("rbExportOnly"));
    const QSignalBlocker b2(Control<QRadioButton>("rbExportAllRecords"));
    Control<QRadioButton>(only ? "rbExportOnly" : "rbExportAllRecords")->setChecked(true);
    Control<QLineEdit>("edExportRecCount")->setEnabled(only);
    Control<QWidget>("laExportRecCount_02")->setEnabled(only);
  }
  // 6. The options file menu.
  auto* load = Control<QAction>("miLoadOptions");
  auto* save = Control<QAction>("miSaveOptions");
  for (QAction* item : {load, save}) {
    item->setEnabled(d.SaveLoadButtons);
    item->setVisible(d.SaveLoadButtons);
  }
  auto* tools = Control<QPushButton>("bTools");
  tools->setEnabled(load->isEnabled() || save->isEnabled());
  tools->setVisible(load->isVisible() || save->isVisible());
  // 7. The first field of the user formats.
  if (auto* fields = Control<QComboBox>("cbxFormatFields"); fields->count() > 0) {
    const QSignalBlocker block(fields);
    fields->setCurrentIndex(0);
  }
  cbxFormatFieldsChange();
  // 8. Captions; the caption row is written even when it equals the stored one.
  SetAllowCaptions(d.AllowCaptions);
  opt_.CaptionRow = d.CaptionRow == -1 ? 0 : -1;
  SetCaptionRow(d.CaptionRow);
  const bool stringGrid = d.StringGrid() != nullptr && d.ExportSource == esStringGrid;
  Control<QWidget>("laCaptionRow")->setVisible(stringGrid);
  Control<QWidget>("edCaptionRow")->setVisible(stringGrid);
  if (stringGrid && opt_.CaptionRow >= 0) LoadStringGridCaption();
  // 9. RTF.
  SetRTFPageOrientation(d.RTFOptions.PageOrientation);
  SetRTFStripType(d.RTFOptions.StripType);
  FillFontList(Control<QComboBox>("cbRTFFont"));
  // 10. Spreadsheet basics.
  FillFontList(Control<QComboBox>("cbxXLSFont"));
  FillFontList(Control<QComboBox>("cbXLSNoteFont"));
  const TVantrixXLSOptions& xls = d.XLSOptions;
  SetXLSPageHeader(xls.PageHeader);
  SetXLSPageFooter(xls.PageFooter);
  SetXLSSheetTitle(xls.SheetTitle());
  SetXLSStripType(xls.StripType);
  SetXLSAutoCalcColWidth(xls.AutoCalcColWidth);
  SetXLSPageBackground(xls.PageBackground);
  // 11. HTML.
  FillFontList(Control<QComboBox>("cbxHTMLFontName"));
  const TVantrixHTMLPageOptions& page = d.HTMLPageOptions;
  const TVantrixHTMLMultiFileOptions& multi = d.HTMLMultiFileOptions;
  const TVantrixHTMLTableOptions& table = d.HTMLTableOptions;
  SetHTMLTitle(page.Title);
  SetHTMLFontName(page.TextFont.name);
  SetHTMLBackground(page.BackgroundFileName);
  SetHTMLBodyAdvanced(JoinLines(page.AdvancedAttributes));
  SetHTMLUsingCSS(page.UsingCSS == usExternal ? 1 : 0);
  SetHTMLCSSFileName(page.CSSFileName);
  SetHTMLOverwriteCSSFile(page.OverwriteCSSFile);
  SetHTMLUseMultiFileExport(multi.FileRecCount > 0);
  SetHTMLFileRecCount(multi.FileRecCount);
  SetHTMLGenerateIndex(multi.GenerateIndex);
  SetHTMLIndexLinkTemplate(multi.IndexLinkTemplate);
  SetHTMLNavigationOnTop(multi.NavigationOnTop);
  SetHTMLNavigationOnBottom(multi.NavigationOnBottom);
  SetHTMLIndexLinkTitle(multi.IndexLinkTitle);
  SetHTMLFirstLinkTitle(multi.FirstLinkTitle);
  SetHTMLPriorLinkTitle(multi.PriorLinkTitle);
  SetHTMLNextLinkTitle(multi.NextLinkTitle);
  SetHTMLLastLinkTitle(multi.LastLinkTitle);
  HTMLUpdateMultifileControls();
  SetHTMLBorderWidth(table.BorderWidth);
  SetHTMLCellPadding(table.CellPadding);
  SetHTMLCellSpacing(table.CellSpacing);
  SetHTMLTableAdvanced(JoinLines(table.AdvancedAttributes));
  SetHTMLTableBackground(table.BackgroundFileName);
  // The page's and the table's colours reach the preview through the form's HTML exporter.
  HTMLExp().HTMLOptions.BackgroundColor = page.BackgroundColor;
  HTMLExp().HTMLOptions.TextFont.color = page.TextFont.color;
  HTMLExp().HTMLOptions.LinkColor = page.LinkColor;
  HTMLExp().HTMLOptions.VLinkColor = page.VLinkColor;
  HTMLExp().HTMLOptions.ALinkColor = page.ALinkColor;
  HTMLExp().TableOptions.HeadersRowBgColor = table.HeadersRowBgColor;
  HTMLExp().TableOptions.HeadersRowFontColor = table.HeadersRowFontColor;
  HTMLExp().TableOptions.TableBgColor = table.TableBgColor;
  HTMLExp().TableOptions.TableFontColor = table.TableFontColor;
  HTMLExp().TableOptions.OddRowBgColor = table.OddRowBgColor;
  // The preview is painted whatever the colours: one equal to the 0 the options start with
  // (black) would leave its panels and labels as they were made.
#define VANTRIX_UNSET_COLOR(name) opt_.name = kNoColor;
  VANTRIX_FORM_COLOR_OPTIONS(VANTRIX_UNSET_COLOR)
#undef VANTRIX_UNSET_COLOR
  HTMLFillColors();
  if (auto* templates = Control<QComboBox>("cbxHTMLTemplate"); templates != nullptr && templates->count() > 0) {
    const QSignalBlocker block(templates);
    templates->setCurrentIndex(0);
  }
  // 12. XML, SQL, text and CSV.
  SetXMLStandalone(d.XMLOptions.Standalone);
  SetXMLEncoding(d.XMLOptions.Encoding);
  SetSQLTableName(d.SQLOptions.TableName);
  SetSQLCreateTable(d.SQLOptions.CreateTable);
  SetSQLCommitRecCount(d.SQLOptions.CommitRecCount);
  SetSQLCommitAfterScript(d.SQLOptions.CommitAfterScript);
  SetSQLCommitStatement(d.SQLOptions.CommitStatement);
  SetSQLStatementTerm(d.SQLOptions.StatementTerm == 0 ? std::string() : std::string(1, d.SQLOptions.StatementTerm));
  SetTXTAutoCalcColWidth(d.TXTOptions.AutoCalcColWidth);
  SetTXTSpacing(d.TXTOptions.ColSpacing);
  SetCSVQuoteStrings(d.CSVOptions.QuoteStrings);
  SetCSVComma(d.CSVOptions.Comma);
  SetCSVQuote(d.CSVOptions.Quote);
  // 13. PDF: the page is copied whole, in dots with its unit, so that a landscape page is
  // never turned a second time and no length is read in another unit.
  TPDFOptions& pdf = PDFExp().Options();
  pdf.PageOptions.Assign(d.PDFOptions.PageOptions);
  pdf.ColSpacing = d.PDFOptions.ColSpacing;
  pdf.RowSpacing = d.PDFOptions.RowSpacing;
  pdf.GridLineWidth = d.PDFOptions.GridLineWidth;
  pdf.HeaderFont.Assign(d.PDFOptions.HeaderFont);
  pdf.CaptionFont.Assign(d.PDFOptions.CaptionFont);
  pdf.DataFont.Assign(d.PDFOptions.DataFont);
  pdf.FooterFont.Assign(d.PDFOptions.FooterFont);
  // 14. The options file the dialog names, over everything above.
  if (d.AutoLoadOptions && !opt_.OptionsFileName.empty()) LoadExportOptions(opt_.OptionsFileName);
  PDFShowOptions();
  PDFFillFontList();
  // 15. The owner may fill the header and the footer last.
  if (d.OnGetHeader || d.OnGetFooter) {
    for (const char* name : {"memHeader", "memFooter"}) {
      auto& event = name[3] == 'H' ? d.OnGetHeader : d.OnGetFooter;
      if (!event) continue;
      auto* memo = Control<QPlainTextEdit>(name);
      TStrings lines;
      for (const QString& line : memo->toPlainText().split(QLatin1Char('\n'), Qt::KeepEmptyParts))
        lines.push_back(platform::ToCp1252(line));
      if (memo->toPlainText().isEmpty()) lines.clear();
      event(*this, lines);
      WriteMemo(memo, lines);
    }
  }
  ShowTitle();
}

void TVantrix3DialogF::SetExportType(TAllowedExport format) {
  auto* group = Control<ui::TRadioGroup>("rgExportType");
  for (int i = 0; i < group->Count(); ++i) {
    if (group->Button(i)->property("allowedExport").toInt() != format) continue;
    const QSignalBlocker block(group);
    group->SetItemIndex(i);
    return;
  }
}

void TVantrix3DialogF::rgExportTypeClick() {
  const TAllowedExport t = GetExportType();
  const TCommonOptions common = dialog_.CommonOptions;
  ChangeFileExtension();
  auto* pages = Control<QTabWidget>("Pages");
  if (!IsCompatiblePage()) pages->setCurrentWidget(Control<QWidget>("tshExportType"));
  const bool file = t != aeClipboard;
  for (const char* name : {"bBrowse", "laFileName", "edFileName", "chShowFile"}) Control<QWidget>(name)->setEnabled(file);
  const struct {
    const char* page;
    bool shown;
  } visibility[] = {
      {"tshHTML", t == aeHTML},
      {"tshXLS", t == aeXLS},
      {"tshSQL", t == aeSQL},
      {"tshRTF", t == aeWord || t == aeRTF},
      {"tshXML", t == aeXML},
      {"tshASCII", t == aeTXT || t == aeCSV},
      {"tshPDF", t == aePDF},
      {"tshFormats", t != aeDBF && t != aeSQL && common.Has(coFormats)},
      {"tshFields", common.Has(coFields)},
      {"tshCaptions", t != aeXML && t != aeDBF && t != aeSQL && common.Has(coCaptions)},
      {"tshHeaderFooter", t != aeXML && t != aeDBF && common.Has(coColons)},
  };
  for (const auto& v : visibility) pages->setTabVisible(pages->indexOf(Control<QWidget>(v.page)), v.shown);
  ShowButtons();
  MakeStringGrid();
}

bool TVantrix3DialogF::IsCompatiblePage() const {
  const QWidget* page = Control<QTabWidget>("Pages")->currentWidget();
  return page != nullptr && PageFitsFormat(page->objectName(), GetExportType());
}

void TVantrix3DialogF::ChangeFileExtension() {
  const TAllowedExport t = GetExportType();
  if (!dialog_.AutoChangeFileExt || t == aeClipboard || opt_.FileName.empty()) return;
  SetFileName(ReplaceFileExtension(opt_.FileName, ExportTypeExtensions()[t]));
}

void TVantrix3DialogF::ShowTitle() {
  if (opt_.FileName.empty()) {
    setWindowTitle(platform::FromCp1252(VantrixLoadStr(34040)));
    return;
  }
  const size_t slash = opt_.FileName.find_last_of('/');
  const std::string name = slash == std::string::npos ? opt_.FileName : opt_.FileName.substr(slash + 1);
  const std::string shown = platform::ToCp1252(QFile::decodeName(QByteArray::fromStdString(name)));
  setWindowTitle(platform::FromCp1252(FormatLibraryText(VantrixLoadStr(34041), {shown})));
}

void TVantrix3DialogF::ShowButtons() {
  Control<QPushButton>("bStart")->setEnabled(!opt_.FileName.empty() || GetExportType() == aeClipboard);
}

void TVantrix3DialogF::ResetStandardFormats() {
  const TVantrixFormats& f = dialog_.Formats();
  SetIntegerFmt(f.IntegerFormat());
  SetFloatFmt(f.FloatFormat());
  SetDateFmt(f.DateFormat());
  SetTimeFmt(f.TimeFormat());
  SetDateTimeFmt(f.DateTimeFormat());
  SetCurrencyFmt(f.CurrencyFormat());
  SetBooleanTrue(f.BooleanTrue());
  SetBooleanFalse(f.BooleanFalse());
  SetNullString(f.NullString());
}

void TVantrix3DialogF::HTMLFillColors() {
  const TVantrix3HTML& html = HTMLExp();
  SetHTMLBackgroundColor(html.HTMLOptions.BackgroundColor);
  SetHTMLFontColor(html.HTMLOptions.TextFont.color);
  SetHTMLHeadBackgroundColor(html.TableOptions.HeadersRowBgColor);
  SetHTMLHeadFontColor(html.TableOptions.HeadersRowFontColor);
  SetHTMLOddRowBackgroundColor(html.TableOptions.OddRowBgColor);
  SetHTMLEvenRowBackgroundColor(html.TableOptions.TableBgColor);
  SetHTMLDataFontColor(html.TableOptions.TableFontColor);
  SetHTMLLinkColor(html.HTMLOptions.LinkColor);
  SetHTMLVLinkColor(html.HTMLOptions.VLinkColor);
  SetHTMLALinkColor(html.HTMLOptions.ALinkColor);
}

void TVantrix3DialogF::HTMLUpdateMultifileControls() {
  const bool m = opt_.HTMLUseMultiFileExport;
  const bool g = opt_.HTMLGenerateIndex;
  const bool n = opt_.HTMLNavigationOnTop || opt_.HTMLNavigationOnBottom;
  const auto enable = [this](std::initializer_list<const char*> names, bool on) {
    for (const char* name : names)
      if (QWidget* w = Control<QWidget>(name)) w->setEnabled(on);
  };
  enable({"laHTMLFileRecCount_01", "edHTMLFileRecCount", "laHTMLFileRecCount_02", "chHTMLGenerateIndex",
          "chHTMLNavigationOnTop", "chHTMLNavigationOnBottom"},
         m);
  enable({"laHTMLIndexLinkTemplate", "edHTMLIndexLinkTemplate"}, m && g);
  enable({"laHTMLIndexLinkTitle", "edHTMLIndexLinkTitle"}, m && n && g);
  enable({"laHTMLFirstLinkTitle", "edHTMLFirstLinkTitle", "laHTMLPriorLinkTitle", "edHTMLPriorLinkTitle",
          "laHTMLNextLinkTitle", "edHTMLNextLinkTitle", "laHTMLLastLinkTitle", "edHTMLLastLinkTitle"},
         m && n);
}

uint32_t TVantrix3DialogF::RunColorEditor(uint32_t color) {
  return dialog_.Services().ChooseColor(this, color).value_or(color);
}

void TVantrix3DialogF::PagesChange() {
  const QWidget* page = Control<QTabWidget>("Pages")->currentWidget();
  if (page == nullptr) return;
  const QString name = page->objectName();
  if (name == QLatin1String("tshFormats")) {
    ShowFormatButtons();
    return;
  }
  // The spreadsheet and RTF pages give their current list the focus with an item chosen.
  QTreeWidget* list = nullptr;
  if (name == QLatin1String("tshXLS")) {
    const QWidget* tab = Control<QTabWidget>("pcXLSFormats")->currentWidget();
    const QString lists[][2] = {{"tshXLSFields", "lstXLSFields"}, {"tshXLSOptions", "lstXLSOptions"},
                                {"tshXLSStyles", "lstXLSStyles"}};
    for (const auto& entry : lists)
      if (tab != nullptr && tab->objectName() == entry[0]) list = findChild<QTreeWidget*>(entry[1]);
  } else if (name == QLatin1String("tshRTF")) {
    const QWidget* tab = Control<QTabWidget>("pcRTFStyles")->currentWidget();
    const bool strip = tab != nullptr && tab->objectName() == QLatin1String("tsRTFStripStyles");
    list = Control<QTreeWidget>(strip ? "lstRTFStripStyles" : "lstRTFBaseStyles");
  }
  if (list == nullptr) return;
  if (list->focusPolicy() != Qt::NoFocus && list->isEnabled()) list->setFocus();
  const QList<QTreeWidgetItem*> selected = list->selectedItems();
  if (selected.isEmpty()) {
    // Nothing chosen: the first item is, and the list's own handlers show it.
    if (list->topLevelItemCount() > 0) list->setCurrentItem(list->topLevelItem(0));
    return;
  }
  // The user's selection stays, however many items it holds, and the page shows it again.
  if (list->currentItem() == nullptr || !list->currentItem()->isSelected())
    list->setCurrentItem(selected.first(), 0, QItemSelectionModel::NoUpdate);
  emit list->itemSelectionChanged();
}

void TVantrix3DialogF::pcXLSFormatsChange() {
  const QWidget* tab = Control<QTabWidget>("pcXLSFormats")->currentWidget();
  auto* sheets = Control<QTabWidget>("pcXLSDataFormat");
  const bool fields = tab != nullptr && tab->objectName() == QLatin1String("tshXLSFields");
  sheets->setTabVisible(sheets->indexOf(Control<QWidget>("tshXLSAggregate")), fields);
  PagesChange();
  if (xlsFormatEditor_ != nullptr) xlsFormatEditor_->ShowCurrent();
}

}  // namespace vantrix
